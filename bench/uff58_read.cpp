// Indexes the dataset-58 universal files of UF58BenchFile.h (about 110 MB each: 1,000 complex spectra
// of 4,096 values, and 250 time histories of 32,768 real values, all in E13.5 fields) and reads every
// value, timed against a plain read of the file and against the reference reader
// (../shared/perf/uff58_reference.py, through uff58_reference_timed.py) run by /usr/bin/python3 in the same
// run, timed inside the Python process. Prints, per file, the reader's speed as a multiple of the
// reference reader's on every core (target: at least 50) and on one (at least 25), and as a fraction
// of the plain read.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "BenchSupport.h"
#include "UF58BenchFile.h"
#include "uff/DAQPPFreqData.h"
#include "uff/UFLineReader.h"
#include "uff/UFScanner.h"

namespace {

// The files, by the benchmarks' first argument.
constexpr int kSpectra = 0;
constexpr int kTimeHistories = 1;
constexpr const char* kKindNames[] = {"spectra", "time histories"};

int DatasetsOf(int kind)
{
    return kind == kSpectra ? ufbench::kDatasets : ufbench::kTimeDatasets;
}

std::filesystem::path Folder()
{
    static const std::filesystem::path dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("orvex_bench_uff58_" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}

const std::string& File(int kind)
{
    static const std::string spectra = [] {
        const std::string p = (Folder() / "spectra.unv").string();
        ufbench::WriteSpectraFile(p);
        return p;
    }();
    static const std::string times = [] {
        const std::string p = (Folder() / "times.unv").string();
        ufbench::WriteTimeHistoryFile(p);
        return p;
    }();
    return kind == kSpectra ? spectra : times;
}

void BM_IndexAndReadAll(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    const std::string path = File(kind);
    size_t values = 0;
    const int threads = static_cast<int>(state.range(1));
    for (auto _ : state) {
        // The file is opened once, indexed, and its values read from the same mapping, as the import does.
        CUFLineReader file;
        if (!file.Open(path, true, threads)) {
            state.SkipWithError(file.GetOpenError().c_str());
            return;
        }
        std::vector<std::unique_ptr<CDAQPPUFIndex>> index;
        std::string error;
        if (!CUFScanner::Scan(file, index, &error, SilentFeedback(), threads)) {
            state.SkipWithError(error.c_str());
            return;
        }
        std::vector<std::unique_ptr<CDAQPPFreqData>> data;
        std::vector<CDAQPPUFData*> items;
        for (const auto& x : index) {
            data.push_back(std::make_unique<CDAQPPFreqData>());
            data.back()->SetIndex(*x);
            items.push_back(data.back().get());
        }
        if (CDAQPPUFData::LoadAll(items, Folder().string(), {}, threads, nullptr, &file) != DatasetsOf(kind)) {
            state.SkipWithError("not every dataset read");
            return;
        }
        values = 0;
        for (const auto& d : data)
            values += d->GetValues().size();
        benchmark::DoNotOptimize(values);
    }
    state.counters["values"] = static_cast<double>(values);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}

// The index alone, on every core (0) and on one.
void BM_IndexOnly(benchmark::State& state)
{
    const std::string path = File(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::unique_ptr<CDAQPPUFIndex>> index;
        CUFScanner::Scan(path, index, nullptr, SilentFeedback(), static_cast<int>(state.range(1)));
        benchmark::DoNotOptimize(index.size());
    }
}

void BM_PlainRead(benchmark::State& state)
{
    const std::string path = File(static_cast<int>(state.range(0)));
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        size_t total = 0, got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), f)) > 0)
            total += got;
        std::fclose(f);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}

// The reference reader run by the system's interpreter; the time is the reading's own, measured
// inside the Python process, so the interpreter's start does not count.
void BM_ReferenceReader(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    const std::string path = File(kind);
    const std::string command =
        std::string("/usr/bin/python3 '") + ORVEX_BENCH_DIR + "/uff58_reference_timed.py' '" + path + "'";
    for (auto _ : state) {
        std::FILE* out = ::popen(command.c_str(), "r");
        long long datasets = 0, values = 0;
        double seconds = 0.0;
        const int fields = out ? std::fscanf(out, "%lld %lld %lf", &datasets, &values, &seconds) : 0;
        if (!out || ::pclose(out) != 0 || fields != 3 || datasets != DatasetsOf(kind)) {
            state.SkipWithError("/usr/bin/python3 failed");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

} // namespace

// Per file (spectra 0, time histories 1): datasets read on every core (0), and on one.
BENCHMARK(BM_IndexAndReadAll)
    ->ArgsProduct({{kSpectra, kTimeHistories}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0)
    ->Repetitions(3);
BENCHMARK(BM_IndexOnly)
    ->ArgsProduct({{kSpectra, kTimeHistories}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(3);
BENCHMARK(BM_PlainRead)
    ->Arg(kSpectra)
    ->Arg(kTimeHistories)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(3);
BENCHMARK(BM_ReferenceReader)
    ->Arg(kSpectra)
    ->Arg(kTimeHistories)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3);

int main(int argc, char** argv)
{
    benchsupport::InitializeInterleaved(argc, argv);
    benchsupport::CFastestReporter reporter(true);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (int kind : {kSpectra, kTimeHistories}) {
        const std::string k = std::to_string(kind);
        const std::string reference = "BM_ReferenceReader/" + k;
        const std::string every = "BM_IndexAndReadAll/" + k + "/0", one = "BM_IndexAndReadAll/" + k + "/1";
        const double everyRatio = reporter.Ratio(reference.c_str(), every.c_str());
        const double oneRatio = reporter.Ratio(reference.c_str(), one.c_str());
        const double plain = reporter.Ratio(("BM_PlainRead/" + k).c_str(), every.c_str());
        if (std::isnan(everyRatio))
            continue;
        std::printf("\n%s, index + read of %.0f MB: %.1fx the reference reader on every core (target >= 50), "
                    "%.1fx on one (target >= 25); speed %.2f of a plain read of the file\n",
                    kKindNames[kind], static_cast<double>(std::filesystem::file_size(File(kind))) / 1e6, everyRatio,
                    oneRatio, plain);
    }
    std::filesystem::remove_all(Folder());
    return 0;
}
