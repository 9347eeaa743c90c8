// The first acquisition run of a fresh process: 8 simulated systems x 16 channels at 51200 Hz for
// 60 s as one interface, signal generated as fast as the simulation can, from Start to the last
// ReadData of every channel, one run only (the program's buffers and the units' pages are all
// new). Prints signal seconds per wall second (target: at least 50), lost counter samples
// (target: 0) and the process's peak memory over the signal's size (target: at most 1.2). Run the
// program several times for the spread: each run is one fresh process.
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "acquisition/MultiQMXInterface.h"
#include "platform/base/MsClock.h"
#include "platform/qmx/QmxSimSystem.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/ZuRegOptions.h"

namespace {
constexpr int kSystems = 8;
constexpr int kChannels = 16;
constexpr float kRate = 51200.0f;
constexpr float kSeconds = 60.0f;
constexpr int kSamples = 51200 * 60;
constexpr int kCounterChannel = 14;

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

double PeakBytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0; // kilobytes on Linux
}

double g_rate = 0.0, g_memory = 0.0;
int64_t g_lost = -1;

void BM_FirstAcquisitionRun(benchmark::State& state)
{
    const std::filesystem::path settings =
        std::filesystem::temp_directory_path() / ("orvex_bench_first_run_" + std::to_string(::getpid()));
    std::filesystem::create_directories(settings);
    CZuRegOptions::SetSettingsFolder(settings.string());
    {
        CManualMsClock clock{1};
        std::vector<std::shared_ptr<CQmxSimSystem>> sims;
        CQmxSimLayout layout;
        layout.counterChannel = kCounterChannel;
        for (int s = 0; s < kSystems; ++s) {
            layout.firstSerial = 1 + s * 100;
            auto sim = CQmxSimSystem::Create(layout);
            sim->SetClock({}); // every started acquisition is complete at once
            sims.push_back(sim);
        }
        CStopTarget window;
        CMultiQMXInterface daq;
        size_t next = 0;
        {
            CQmxDriverFactoryScope factory([&] { return sims[next++]; });
            for (int s = 0; s < kSystems; ++s)
                daq.AddUnit();
        }
        clock.Advance(CQMXDAQInterface::kSettleMs);
        daq.SetSampleRate(kRate);
        daq.SetDuration(kSeconds);
        daq.SetNotifyWindow(&window, WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
        if (daq.GetMaxChannels() != kSystems * kChannels || daq.GetSampleCount() != kSamples) {
            state.SkipWithError("the simulated systems are not as expected");
            return;
        }
        std::vector<float> data(static_cast<size_t>(kSamples));
        const double before = PeakBytes();
        int64_t lost = 0;
        for (auto _ : state) {
            daq.Start();
            window.WaitStops(1);
            for (int ch = 0; ch < kSystems * kChannels; ++ch) {
                if (!daq.ReadData(ch, data.data(), kSamples, 0)) {
                    state.SkipWithError("a channel could not be read");
                    return;
                }
                if (ch % kChannels == kCounterChannel)
                    for (int i = 0; i < kSamples; ++i)
                        lost += data[static_cast<size_t>(i)] != static_cast<float>(i % 8192) * (1000.0f / 1024.0f);
                benchmark::DoNotOptimize(data.data());
            }
        }
        const double signal = double(kSystems) * kChannels * kSamples * sizeof(float);
        g_memory = (PeakBytes() - before) / signal;
        g_lost = lost;
        state.counters["lost_samples"] = static_cast<double>(lost);
        state.counters["peak_over_signal"] = g_memory;
    }
    CZuRegOptions::SetSettingsFolder({});
    std::error_code ec;
    std::filesystem::remove_all(settings, ec);
}
BENCHMARK(BM_FirstAcquisitionRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

class CRateReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                g_rate = kSeconds / (run.GetAdjustedRealTime() / 1e3); // milliseconds
        ConsoleReporter::ReportRuns(runs);
    }
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nfirst run, %d systems x %d channels x %.0f Hz x %.0f s:\n", kSystems, kChannels, double(kRate),
                double(kSeconds));
    std::printf("  %.1f signal seconds per second (target: at least 50)\n", g_rate);
    std::printf("  %lld counter samples lost (target: 0)\n", static_cast<long long>(g_lost));
    std::printf("  peak memory over the signal: %.2f (target: at most 1.2)\n", g_memory);
    return 0;
}
