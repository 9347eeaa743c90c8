// Generates one second of 8 simulated systems x 16 channels at 51200 Hz (orders, noise and a pulse
// channel) through the driver's data call, as fast as the samples can be made, and times it
// against copying the same number of floats out of ready buffers (what a data transfer costs
// anyway). The ratio of the two throughputs tells whether the simulator could ever limit a run:
// generation must keep well ahead of real time (it does when one second takes far under a second).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/qmx/QmxSimSystem.h"

namespace {
constexpr int kSystems = 8;
constexpr int kChannels = 16;
constexpr int kSamples = 51200;

struct Rig
{
    Rig()
    {
        CQmxSimLayout layout; // 16 channels, pulse on channel 15
        for (int s = 0; s < kSystems; ++s) {
            layout.firstSerial = 1 + s * 100;
            auto sim = CQmxSimSystem::Create(layout);
            sim->Open(1, 1);
            sim->SetClock({}); // every started acquisition is complete at once
            for (int ch = 0; ch < kChannels; ++ch) {
                int board = 0, device = 0;
                sim->ChannelAddress(ch, board, device);
                sim->SetRateCode(board, device, 1);
                sim->SetSampleCount(board, device, kSamples);
            }
            systems.push_back(sim);
        }
        buffer.resize(kSamples);
    }

    std::vector<std::shared_ptr<CQmxSimSystem>> systems;
    std::vector<float> buffer;
};

void BM_GenerateRun(benchmark::State& state)
{
    Rig rig;
    for (auto _ : state) {
        for (auto& sim : rig.systems) {
            sim->StartAcquisition();
            for (int ch = 0; ch < kChannels; ++ch) {
                int board = 0, device = 0;
                sim->ChannelAddress(ch, board, device);
                sim->ReadSamples(board, device, rig.buffer.data(), kSamples);
                benchmark::DoNotOptimize(rig.buffer.data());
            }
            sim->ClearAcquisition();
        }
    }
    state.SetItemsProcessed(state.iterations() * kSystems * kChannels * kSamples);
    // Seconds of measurement generated per second of wall time: must stay far above 1.
    state.counters["times_real_time"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The baseline: the same samples copied from buffers that already hold them.
void BM_CopyRun(benchmark::State& state)
{
    std::vector<std::vector<float>> source(kSystems * kChannels, std::vector<float>(kSamples, 0.5f));
    std::vector<float> buffer(kSamples);
    for (auto _ : state) {
        for (const auto& channel : source) {
            std::copy(channel.begin(), channel.end(), buffer.begin());
            benchmark::DoNotOptimize(buffer.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kSystems * kChannels * kSamples);
}
} // namespace

BENCHMARK(BM_GenerateRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyRun)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
