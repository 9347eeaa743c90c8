// A whole acquisition run of 8 simulated systems x 16 channels at 51200 Hz as one interface, 10 s of
// signal generated as fast as the simulation can: from Start to the last ReadData of every channel.
// The result is signal seconds per wall second (it must stay at 20 or more, so a run never waits
// on the program). Channel 14 of every system counts its samples; the run fails when any count
// is lost or repeated. The baseline copies the same number of floats once, what any transfer
// costs, so the ratio of the two rates shows the run's own overhead.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "SimAcquisitionRig.h"

namespace {
using namespace simrig;
constexpr float kSeconds = 10.0f;
constexpr int kSamples = 512000;

void BM_AcquisitionRun(benchmark::State& state)
{
    Rig rig("orvex_bench_acquisition_", kSeconds, kSamples);
    if (!rig.IsAsExpected(kSamples)) {
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
            if (ch % kChannels == kCounterChannel)
                lost += rig.LostCounts(kSamples);
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
