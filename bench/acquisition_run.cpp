// A whole acquisition run of 8 simulated systems x 16 channels at 51200 Hz as one interface, 10 s of
// signal generated as fast as the simulation can: from Start to the last ReadData of every channel.
// The result is signal seconds per wall second (it must stay at 20 or more, so a run never waits
// on the program). Channel 14 of every system counts its samples; the run fails when any count
// is lost or repeated. The baseline copies the same number of floats once, what any transfer
// costs, so the ratio of the two rates shows the run's own overhead.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "acquisition/MultiQMXInterface.h"
#include "platform/base/MsClock.h"
#include "platform/qmx/QmxSimSystem.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/ZuRegOptions.h"

#include <filesystem>
#include <unistd.h>

namespace {
constexpr int kSystems = 8;
constexpr int kChannels = 16;
constexpr float kRate = 51200.0f;
constexpr float kSeconds = 10.0f;
constexpr int kSamples = 512000;
constexpr int kCounterChannel = 14;

// Tells the bench when a run has ended.
class CStopTarget : public IMessageTarget
{
public:
    intptr_t SendMessage(uint32_t, uintptr_t, intptr_t) override { return 0; }
    void PostMessage(uint32_t msg, uintptr_t, intptr_t) override
    {
        if (msg != WM_ZU_DAQ_STOPPED)
            return;
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_stops;
        m_cv.notify_all();
    }
    void WaitStops(int n)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [&] { return m_stops >= n; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_stops = 0;
};

// The units write the address they connect to into the profile: a folder of the bench's own.
struct SettingsFolder
{
    SettingsFolder()
    {
        path = std::filesystem::temp_directory_path() / ("orvex_bench_acquisition_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        CZuRegOptions::SetSettingsFolder(path.string());
    }
    ~SettingsFolder()
    {
        CZuRegOptions::SetSettingsFolder({});
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

struct Rig
{
    Rig()
    {
        CQmxSimLayout layout;
        layout.counterChannel = kCounterChannel;
        for (int s = 0; s < kSystems; ++s) {
            layout.firstSerial = 1 + s * 100;
            auto sim = CQmxSimSystem::Create(layout);
            sim->SetClock({}); // every started acquisition is complete at once
            sims.push_back(sim);
        }
        size_t next = 0;
        CQmxDriverFactoryScope factory([&] { return sims[next++]; });
        for (int s = 0; s < kSystems; ++s)
            daq.AddUnit();
        clock.Advance(CQMXDAQInterface::kSettleMs);
        daq.SetSampleRate(kRate);
        daq.SetDuration(kSeconds);
        daq.SetNotifyWindow(&window, WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
        data.resize(kSamples);
    }

    SettingsFolder settings;
    CManualMsClock clock{1};
    std::vector<std::shared_ptr<CQmxSimSystem>> sims;
    CStopTarget window;
    CMultiQMXInterface daq;
    std::vector<float> data;
};

void BM_AcquisitionRun(benchmark::State& state)
{
    Rig rig;
    if (rig.daq.GetMaxChannels() != kSystems * kChannels || rig.daq.GetSampleCount() != kSamples) {
        state.SkipWithError("the simulated systems are not as expected");
        return;
    }
    int runs = 0;
    int64_t lost = 0;
    for (auto _ : state) {
        rig.daq.Start();
        rig.window.WaitStops(++runs);
        for (int ch = 0; ch < kSystems * kChannels; ++ch) {
            if (!rig.daq.ReadData(ch, rig.data.data(), kSamples, 0)) {
                state.SkipWithError("a channel could not be read");
                return;
            }
            if (ch % kChannels == kCounterChannel) {
                for (int i = 0; i < kSamples; ++i)
                    lost += rig.data[static_cast<size_t>(i)] != static_cast<float>(i % 8192) * (1000.0f / 1024.0f);
            }
            benchmark::DoNotOptimize(rig.data.data());
        }
    }
    if (lost != 0)
        state.SkipWithError("the counter channels lost or repeated samples");
    state.counters["signal_s_per_wall_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSeconds, benchmark::Counter::kIsRate);
    state.counters["lost_samples"] = static_cast<double>(lost);
}
BENCHMARK(BM_AcquisitionRun)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The same amount of samples copied once from ready buffers.
void BM_CopyBaseline(benchmark::State& state)
{
    std::vector<float> source(kSamples, 1.0f);
    std::vector<float> target(kSamples);
    for (auto _ : state) {
        for (int ch = 0; ch < kSystems * kChannels; ++ch) {
            std::memcpy(target.data(), source.data(), sizeof(float) * kSamples);
            benchmark::DoNotOptimize(target.data());
        }
    }
    state.counters["signal_s_per_wall_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSeconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CopyBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

BENCHMARK_MAIN();
