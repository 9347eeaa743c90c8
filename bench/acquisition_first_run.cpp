// The first acquisition run of a fresh process: 8 simulated systems x 16 channels at 51200 Hz for
// 60 s as one interface, signal generated as fast as the simulation can, from Start to the last
// ReadData of every channel, one run only (the program's buffers and the units' pages are all
// new). Prints signal seconds per wall second (target: at least 50), lost counter samples
// (target: 0) and the process's peak memory over the signal's size (target: at most 1.2). Run the
// program several times for the spread: each run is one fresh process. Also prints the page
// faults the run took: the rate depends on what a fault costs on the machine, the count does not.
// With --no_huge_pages the process is refused transparent huge pages, as on a machine where they
// are off: every 4 KB of fresh memory then costs a fault. --prefault_helpers=N gives each unit's
// run block N helpers that fault its pages in ahead of the transfer (0: none, the writers fault
// every page themselves); without it the program's default.
//
// What a first run costs depends on how dear fresh memory is, and that changes with the machine
// and its state: a virtual machine whose host takes freed memory back (free page reporting) backs
// every page of a fresh block again on its first touch. So the program also prints the floor
// measured right after the run, in the same process: a block of the signal's size, fresh from the
// system like the run's, filled on one thread per unit; and the run's time over it. Where fresh
// memory is dear, a ratio near 1 says the run costs what storing its samples anywhere would; where
// it is cheap, the floor is small and the ratio shows the run's own work.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <sys/prctl.h>
#include <sys/resource.h>

#include "SimAcquisitionRig.h"
#include "platform/base/BlockPrefault.h"
#include "platform/base/ZeroedBlock.h"

namespace {
using namespace simrig;
constexpr float kSeconds = 60.0f;
constexpr int kSamples = 51200 * 60;

double PeakBytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0; // kilobytes on Linux
}

long MinorFaults()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Seconds to fill a fresh block of the signal's size, one thread per unit: what storing the
// samples costs with nothing else done. Taken while the run's own block is still held, so it finds
// none of the run's pages.
double FreshFillSeconds(size_t bytes)
{
    const auto start = std::chrono::steady_clock::now();
    CZeroedBlock block(bytes);
    const size_t part = bytes / sizeof(float) / kSystems;
    std::vector<std::thread> threads;
    for (int s = 0; s < kSystems; ++s)
        threads.emplace_back([&block, part, s] {
            float* at = static_cast<float*>(block.data()) + static_cast<size_t>(s) * part;
            std::fill(at, at + part, 1.0f);
        });
    for (std::thread& t : threads)
        t.join();
    benchmark::DoNotOptimize(block.data());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double g_rate = 0.0, g_memory = 0.0, g_fillSeconds = 0.0;
long g_faults = -1;
int64_t g_lost = -1;

void BM_FirstAcquisitionRun(benchmark::State& state)
{
    Rig rig("orvex_bench_first_run_", kSeconds, kSamples);
    if (!rig.IsAsExpected(kSamples)) {
        state.SkipWithError("the simulated systems are not as expected");
        return;
    }
    const double before = PeakBytes();
    const long faultsBefore = MinorFaults();
    int64_t lost = 0;
    for (auto _ : state) {
        rig.daq.Start();
        rig.window.WaitStops(1);
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
    const double signal = double(kSystems) * kChannels * kSamples * sizeof(float);
    g_memory = (PeakBytes() - before) / signal;
    g_lost = lost;
    g_faults = MinorFaults() - faultsBefore;
    g_fillSeconds = FreshFillSeconds(static_cast<size_t>(signal));
    state.counters["page_faults"] = static_cast<double>(g_faults);
    state.counters["lost_samples"] = static_cast<double>(lost);
    state.counters["peak_over_signal"] = g_memory;
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
    bool noHugePages = false;
    for (int i = 1; i < argc;) {
        constexpr const char* kHelpers = "--prefault_helpers=";
        if (std::strcmp(argv[i], "--no_huge_pages") == 0) {
            noHugePages = true;
        } else if (std::strncmp(argv[i], kHelpers, std::strlen(kHelpers)) == 0) {
            CBlockPrefault::SetHelpersPerBlock(std::atoi(argv[i] + std::strlen(kHelpers)));
        } else {
            ++i;
            continue;
        }
        for (int j = i; j + 1 < argc; ++j)
            argv[j] = argv[j + 1];
        --argc;
    }
    if (noHugePages && ::prctl(PR_SET_THP_DISABLE, 1, 0, 0, 0) != 0) {
        std::perror("PR_SET_THP_DISABLE");
        return 1;
    }
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
    std::printf("  %ld page faults during the run%s\n", g_faults, noHugePages ? " (huge pages refused)" : "");
    std::printf("  %d prefault helpers per unit\n", CBlockPrefault::HelpersPerBlock());
    if (g_rate > 0.0 && g_fillSeconds > 0.0) {
        std::printf("  floor: a fresh block of the signal's size filled on %d threads, %.3f s (%.1f signal seconds "
                    "per second)\n",
                    kSystems, g_fillSeconds, double(kSeconds) / g_fillSeconds);
        std::printf("  the run over the floor: %.2f\n", (double(kSeconds) / g_rate) / g_fillSeconds);
    }
    return 0;
}
