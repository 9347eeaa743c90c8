// Stores and loads an experiment project of 64 channels of 60 s at 16384 Hz (252 MB of samples)
// and times it against a plain `cp` of a file of the same size in the same run. Prints the
// throughput of store + load as a ratio of the copy's (target: at least 0.5).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "experiments/Excitation.h"
#include "platform/archive/Archive.h"

namespace {

constexpr int kChannels = 64;
constexpr int kSamples = 60 * 16384;

std::filesystem::path Folder()
{
    static const std::filesystem::path dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("orvex_bench_daq_" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}

std::unique_ptr<CExpProject> MakeProject()
{
    auto project = std::make_unique<CExpProject>("Measurement", nullptr, -1);
    auto* excitation = project->AddChild(std::make_unique<CExcitation>("S-Engine", project.get(), 9));
    CExpDataSet* set = excitation->AddDataSet();
    std::vector<float> samples(kSamples);
    for (int c = 0; c < kChannels; ++c) {
        for (int i = 0; i < kSamples; ++i)
            samples[static_cast<size_t>(i)] = static_cast<float>((i * 2654435761u + c) % 65536) / 65536.0f;
        auto* data = set->AddChild(std::make_unique<CExpData>("ch" + std::to_string(c), set, 11));
        data->SetSamplingFrequency(16384.0f);
        data->SetSamples(samples.data(), kSamples);
    }
    return project;
}

double g_storeLoad = 0.0;
double g_copy = 0.0;
uintmax_t g_bytes = 0;

void BM_StoreLoad(benchmark::State& state)
{
    auto project = MakeProject();
    const std::string path = (Folder() / "project.bin").string();
    for (auto _ : state) {
        {
            CArchive ar(path, CArchive::store);
            ar.WriteObject(project.get());
            ar.Close();
        }
        CArchive ar(path, CArchive::load);
        auto read = ar.ReadOwned<CExpProject>();
        benchmark::DoNotOptimize(read.get());
    }
    g_bytes = std::filesystem::file_size(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(g_bytes));
}

void BM_PlainCopy(benchmark::State& state)
{
    const std::string src = (Folder() / "project.bin").string();
    const std::string dst = (Folder() / "copy.bin").string();
    // The file to copy is the one the store benchmark wrote (absent when that one was filtered out).
    if (!std::filesystem::exists(src)) {
        state.SkipWithError("run BM_StoreLoad first: it writes the file to copy");
        return;
    }
    const std::string command = "cp '" + src + "' '" + dst + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cp failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(src)));
}

// Keeps the mean time per iteration of each benchmark.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const double t = run.GetAdjustedRealTime();
            if (run.benchmark_name().find("StoreLoad") != std::string::npos)
                g_storeLoad = t;
            else if (run.benchmark_name().find("PlainCopy") != std::string::npos)
                g_copy = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(BM_StoreLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (g_storeLoad > 0.0 && g_copy > 0.0)
        std::printf("\nstore + load of %.0f MB: throughput %.2f of a plain cp (target >= 0.5)\n",
                    static_cast<double>(g_bytes) / 1e6, g_copy / g_storeLoad);
    std::filesystem::remove_all(Folder());
    return 0;
}
