// Saves and reopens experiment projects of about 105 MB and 1.05 GB (channels of 60 s at 16384 Hz),
// like with like in one run:
// - the save (durable: synced and renamed) against a durable write of the same bytes through the
//   same atomic file, at both sizes, with the growth of each from the small to the large size;
// - the reopen in the same process after the project was closed against the open in a fresh
//   process (this executable started again to open the file once, with the heap set as the
//   program sets it at start), both warm (the file read once before, into the page cache).
// Prints the ratios (targets: save within 1.1x of the write with a growth as linear as the write's,
// same-process reopen within 1.1x of the fresh-process open). The repetitions run interleaved in a
// shuffled order; each ratio is of the fastest runs of its two sides, and the spread (slowest over
// fastest) of each side is printed with it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "BenchSupport.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "experiments/Excitation.h"
#include "platform/archive/Archive.h"
#include "platform/base/HeapReuse.h"

namespace {

constexpr int kSamples = 60 * 16384; // 4 MB per channel
constexpr int kSmallMB = 105;
constexpr int kLargeMB = 1050;

int ChannelsFor(int megabytes)
{
    return static_cast<int>(std::lround(megabytes * 1e6 / (kSamples * sizeof(float))));
}

std::filesystem::path Folder()
{
    static const std::filesystem::path dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("orvex_bench_large_" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}

std::string ProjectPath(int megabytes)
{
    return (Folder() / ("project" + std::to_string(megabytes) + ".bin")).string();
}

std::unique_ptr<CExpProject> MakeProject(int channels)
{
    auto project = std::make_unique<CExpProject>("Measurement", nullptr, -1);
    auto* excitation = project->AddChild(std::make_unique<CExcitation>("S-Engine", project.get(), 9));
    CExpDataSet* set = excitation->AddDataSet();
    std::vector<float> samples(kSamples);
    for (int c = 0; c < channels; ++c) {
        for (int i = 0; i < kSamples; ++i)
            samples[static_cast<size_t>(i)] = static_cast<float>((i * 2654435761u + c) % 65536) / 65536.0f;
        auto* data = set->AddChild(std::make_unique<CExpData>("ch" + std::to_string(c), set, 11));
        data->SetSamplingFrequency(16384.0f);
        data->SetSamples(samples.data(), kSamples);
    }
    return project;
}

// The projects being saved, kept for the life of the program as an open document is.
const CExpProject& Project(int megabytes)
{
    static std::map<int, std::unique_ptr<CExpProject>> projects;
    auto& p = projects[megabytes];
    if (!p)
        p = MakeProject(ChannelsFor(megabytes));
    return *p;
}

void Save(int megabytes)
{
    CArchive ar(ProjectPath(megabytes), CArchive::store);
    ar.WriteObject(&Project(megabytes));
    ar.Close();
}

std::unique_ptr<CExpProject> Open(const std::string& path)
{
    CArchive ar(path, CArchive::load);
    auto read = ar.ReadOwned<CExpProject>();
    ar.Close();
    return read;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_Save(benchmark::State& state)
{
    const int mb = static_cast<int>(state.range(0));
    for (auto _ : state)
        Save(mb);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(ProjectPath(mb))));
}

// The same bytes written through the same atomic file without the archive.
void BM_DurableWrite(benchmark::State& state)
{
    const int mb = static_cast<int>(state.range(0));
    benchsupport::DurableWriteOf(state, ProjectPath(mb), Folder());
}

// Reads the file once so that its pages are in the page cache: a save gives its pages back as
// they reach the disk.
void WarmUp(const std::string& path)
{
    std::vector<char> block(size_t(4) << 20);
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        while (std::fread(block.data(), 1, block.size(), f) == block.size()) {
        }
        std::fclose(f);
    }
}

// Opens the project again in this process after the previous one was closed: the user closes a
// document and opens one of the same size. Only the open is timed.
void BM_ReopenSameProcess(benchmark::State& state)
{
    const std::string path = ProjectPath(static_cast<int>(state.range(0)));
    WarmUp(path);
    auto previous = Open(path);
    for (auto _ : state) {
        previous.reset(); // the close
        const auto start = std::chrono::steady_clock::now();
        previous = Open(path);
        state.SetIterationTime(Seconds(start));
        benchmark::DoNotOptimize(previous.get());
    }
    previous.reset();
}

// Opens the project in a fresh process: this executable started to open the file once; it
// reports the time of the open alone (the process start is not the user's wait for the file).
void BM_OpenFreshProcess(benchmark::State& state)
{
    const std::string path = ProjectPath(static_cast<int>(state.range(0)));
    WarmUp(path);
    const std::string command =
        "'" + std::string(std::filesystem::canonical("/proc/self/exe")) + "' --open-once '" + path + "'";
    for (auto _ : state) {
        std::FILE* out = ::popen(command.c_str(), "r");
        double seconds = -1.0;
        if (!out || std::fscanf(out, "%lf", &seconds) != 1)
            seconds = -1.0;
        if (out && ::pclose(out) != 0)
            seconds = -1.0;
        if (seconds < 0.0) {
            state.SkipWithError("the fresh process did not open the project");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// The slowest and fastest run of each benchmark (per argument) for the spread.
class CSpreadReporter : public benchsupport::CFastestReporter
{
public:
    CSpreadReporter() : CFastestReporter(true) {}
    std::map<std::string, double> slowest;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            std::string key = run.run_name.function_name + "/" + run.run_name.args;
            double& s = slowest[key];
            s = std::max(s, run.GetAdjustedRealTime());
        }
        CFastestReporter::ReportRuns(runs);
    }
    double Spread(const std::string& key) const
    {
        auto f = fastest.find(key);
        auto s = slowest.find(key);
        return f == fastest.end() || s == slowest.end() || f->second <= 0.0 ? NAN : s->second / f->second;
    }
};

} // namespace

#define ORVEX_LARGE_RUNS Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->Arg(kSmallMB)->Arg(kLargeMB)
BENCHMARK(BM_Save)->ORVEX_LARGE_RUNS->UseRealTime();
BENCHMARK(BM_DurableWrite)->ORVEX_LARGE_RUNS->UseRealTime();
BENCHMARK(BM_ReopenSameProcess)->ORVEX_LARGE_RUNS->UseManualTime();
BENCHMARK(BM_OpenFreshProcess)->ORVEX_LARGE_RUNS->UseManualTime();

int main(int argc, char** argv)
{
    // As the program runs (main.cpp), in this process and in the fresh one.
    KeepFreedMemoryForReuse();
    if (argc == 3 && std::strcmp(argv[1], "--open-once") == 0) {
        const auto start = std::chrono::steady_clock::now();
        auto project = Open(argv[2]);
        std::printf("%.6f\n", Seconds(start));
        return project ? 0 : 1;
    }
    benchsupport::InitializeInterleaved(argc, argv);
    for (int mb : {kSmallMB, kLargeMB})
        Save(mb);
    CSpreadReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double small = static_cast<double>(std::filesystem::file_size(ProjectPath(kSmallMB)));
    const double large = static_cast<double>(std::filesystem::file_size(ProjectPath(kLargeMB)));
    auto key = [](const char* name, int mb) { return std::string(name) + "/" + std::to_string(mb); };
    auto ratio = [&](const char* a, const char* b, int mb) {
        return reporter.Ratio(key(a, mb).c_str(), key(b, mb).c_str());
    };
    auto growth = [&](const char* name) {
        return std::log(reporter.Ratio(key(name, kLargeMB).c_str(), key(name, kSmallMB).c_str())) /
               std::log(large / small);
    };
    auto spreads = [&](const char* a, const char* b, int mb) {
        std::printf("    (spread slowest/fastest: %.2f and %.2f)\n", reporter.Spread(key(a, mb)),
                    reporter.Spread(key(b, mb)));
    };
    std::printf("\nprojects of %.0f MB and %.0f MB:\n", small / 1e6, large / 1e6);
    for (int mb : {kSmallMB, kLargeMB}) {
        std::printf("  %d MB save / durable write of the same bytes: %.2f (target: at most 1.1)\n", mb,
                    ratio("BM_Save", "BM_DurableWrite", mb));
        spreads("BM_Save", "BM_DurableWrite", mb);
        // The CPU time of the writing thread: the copy into the file's pages, without the wait for
        // the disk, which depends on the machine's other writers.
        std::printf("    CPU time: %.2f (spread %.2f and %.2f)\n",
                    reporter.CpuRatio(key("BM_Save", mb).c_str(), key("BM_DurableWrite", mb).c_str()),
                    reporter.CpuSpread(key("BM_Save", mb).c_str()),
                    reporter.CpuSpread(key("BM_DurableWrite", mb).c_str()));
    }
    std::printf("  growth exponent from %d MB to %d MB: save %.2f, durable write %.2f (target: save as linear as "
                "the write)\n",
                kSmallMB, kLargeMB, growth("BM_Save"), growth("BM_DurableWrite"));
    for (int mb : {kSmallMB, kLargeMB}) {
        std::printf("  %d MB reopen in the same process / open in a fresh process: %.2f (target: at most 1.1)\n", mb,
                    ratio("BM_ReopenSameProcess", "BM_OpenFreshProcess", mb));
        spreads("BM_ReopenSameProcess", "BM_OpenFreshProcess", mb);
    }
    std::filesystem::remove_all(Folder());
    return 0;
}
