#pragma once
// What the benchmark programs share: shuffled repetitions, reporters that keep the fastest time of
// each benchmark, and the plain file operations the program's own reads and writes are held against.
#include <benchmark/benchmark.h>

#include "platform/base/AtomicFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace benchsupport {

// benchmark::Initialize with the repetitions of all benchmarks run in a shuffled order unless the
// command line says otherwise, so that each side of a ratio sees the same spread of machine load.
inline void InitializeInterleaved(int& argc, char**& argv)
{
    static std::string interleave = "--benchmark_enable_random_interleaving=true";
    static std::vector<char*> args;
    args.assign(argv, argv + argc);
    args.insert(args.begin() + 1, interleave.data());
    argc = int(args.size());
    args.push_back(nullptr);
    argv = args.data();
    benchmark::Initialize(&argc, argv);
}

// Keeps the fastest time per iteration of each benchmark over its repetitions: per function, or
// per function and arguments ("BM_Read/1000") when perArgument is set. The CPU time of the
// benchmark's thread is kept beside the wall time, its fastest and slowest too: on a loaded
// machine the wall time says more about the neighbours than about the program.
class CFastestReporter : public benchmark::ConsoleReporter
{
public:
    explicit CFastestReporter(bool perArgument = false) : m_perArgument(perArgument) {}
    std::map<std::string, double> fastest, fastestCpu, slowestCpu;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            const double t = run.GetAdjustedRealTime();
            const double cpu = run.GetAdjustedCPUTime();
            std::string key = run.run_name.function_name;
            if (m_perArgument && !run.run_name.args.empty())
                key += "/" + run.run_name.args;
            auto [c, cpuAdded] = fastestCpu.emplace(key, cpu);
            if (!cpuAdded && cpu < c->second)
                c->second = cpu;
            double& slow = slowestCpu[key];
            slow = std::max(slow, cpu);
            auto [it, added] = fastest.emplace(std::move(key), t);
            if (!added && t < it->second)
                it->second = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Ratio(const char* a, const char* b) const { return RatioOf(fastest, a, b); }
    double CpuRatio(const char* a, const char* b) const { return RatioOf(fastestCpu, a, b); }
    // Slowest over fastest CPU time of one benchmark.
    double CpuSpread(const char* a) const
    {
        auto slow = slowestCpu.find(a), fast = fastestCpu.find(a);
        return slow == slowestCpu.end() || fast == fastestCpu.end() || fast->second <= 0.0
                   ? NAN
                   : slow->second / fast->second;
    }

private:
    static double RatioOf(const std::map<std::string, double>& times, const char* a, const char* b)
    {
        auto x = times.find(a), y = times.find(b);
        return x == times.end() || y == times.end() || y->second <= 0.0 ? NAN : x->second / y->second;
    }
    bool m_perArgument;
};

// Hands the time of each run to the first slot whose text its benchmark's name contains.
class CSlotReporter : public benchmark::ConsoleReporter
{
public:
    explicit CSlotReporter(std::vector<std::pair<const char*, double*>> slots) : m_slots(std::move(slots)) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const double t = run.GetAdjustedRealTime();
            const std::string name = run.benchmark_name();
            for (const auto& [text, slot] : m_slots)
                if (name.find(text) != std::string::npos) {
                    *slot = t;
                    break;
                }
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    std::vector<std::pair<const char*, double*>> m_slots;
};

// The bytes of file, read once with a plain read and kept for the life of the program, as the
// project that the store writes is.
inline const std::vector<char>& KeptBytesOf(const std::string& file)
{
    static std::map<std::string, std::vector<char>> kept;
    auto [it, added] = kept.try_emplace(file);
    if (added && std::filesystem::exists(file)) {
        it->second.resize(static_cast<size_t>(std::filesystem::file_size(file)));
        FILE* f = std::fopen(file.c_str(), "rb");
        const size_t got = f ? std::fread(it->second.data(), 1, it->second.size(), f) : 0;
        if (f)
            std::fclose(f);
        if (got != it->second.size())
            it->second.clear();
    }
    return it->second;
}

// The bytes of file written as the program writes its files, without the archive: through the
// same atomic file (a temporary file, written in blocks of the size the archive hands over for a
// channel's samples, synced, renamed over the target, the folder synced). The bytes are read once
// and kept: a buffer read afresh before every run (a read of the whole file into a growing buffer,
// hundreds of MB allocated and touched just before the clock starts) left the machine's memory
// in another state for this side than for the store's, and was then written in one call of the
// whole file's size; the store's own time never included either.
inline void DurableWriteOf(benchmark::State& state, const std::string& file, const std::filesystem::path& folder)
{
    const std::vector<char>& bytes = KeptBytesOf(file);
    if (bytes.empty()) {
        state.SkipWithError("BM_Store writes the file first");
        return;
    }
    constexpr size_t kBlock = size_t(4) << 20;
    // A target of each file's own, there before the first timed write: like the store, every
    // write replaces a file of the same size, and the release of the replaced file's blocks (a
    // third of the wait at 1 GB on some disks) is paid alike. One target for every size let the
    // write of the large file replace a small one and the other way round, and the first write
    // replaced nothing.
    const std::string target = (folder / ("durable-" + std::filesystem::path(file).filename().string())).string();
    const auto write = [&] {
        CAtomicFile out(target);
        bool ok = out.Open();
        for (size_t at = 0; ok && at < bytes.size(); at += kBlock)
            ok = out.Write(bytes.data() + at, std::min(kBlock, bytes.size() - at));
        return ok && out.Commit();
    };
    if (!std::filesystem::exists(target) && !write()) {
        state.SkipWithError("the durable write failed");
        return;
    }
    for (auto _ : state) {
        if (!write()) {
            state.SkipWithError("the durable write failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

// A plain read of file into memory.
inline void PlainReadOf(benchmark::State& state, const std::string& file)
{
    if (!std::filesystem::exists(file)) {
        state.SkipWithError("BM_Store writes the file first");
        return;
    }
    const size_t size = std::filesystem::file_size(file);
    std::vector<char> buffer(size);
    for (auto _ : state) {
        FILE* f = std::fopen(file.c_str(), "rb");
        const size_t got = f ? std::fread(buffer.data(), 1, size, f) : 0;
        if (f)
            std::fclose(f);
        if (got != size)
            state.SkipWithError("the read failed");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

} // namespace benchsupport
