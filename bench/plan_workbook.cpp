// A planning workbook whose plan list names as many plans as its sheet has rows while it holds the
// sheet of none: the import must refuse it in time and memory that follow what the file holds, not
// what the list claims. Held against the import of an ordinary workbook of ten plans in the same
// run; the program prints the file's size, the time, its ratio to the ordinary import and the growth of
// the process's peak memory over the refused import (at most 64 MB).
#include "BenchSupport.h"
#include "planning/ExpPlanIO.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/win/PromptService.h"
#include "support/fuzz/MemoryPlanOwner.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

std::string Folder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/orvex_bench_plans_XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

// A project of 96 channels and ten plans, written by the program's own export.
std::string Ordinary()
{
    const std::string path = Folder() + "/ordinary.xlsx";
    if (::access(path.c_str(), R_OK) == 0)
        return path;
    CMemoryPlanOwner owner;
    owner.channels = 96;
    owner.groups.Add(std::make_unique<CQMXBlixList>(1));
    owner.plans.SetUnitGroups(owner.groups.Pointers());
    for (int p = 0; p < 10; ++p)
        owner.plans.AddPlan(1, "Plan " + std::to_string(p));
    CExpPlanIO io(&owner);
    io.SetFeedback(nullptr);
    io.ExportToExcel(path);
    return path;
}

// The ordinary workbook with its plan list run down to the last row read.
std::string Hostile()
{
    const std::string path = Folder() + "/hostile.xlsx";
    if (::access(path.c_str(), R_OK) == 0)
        return path;
    CExcelWrapper x;
    x.Create(false);
    x.Open(Ordinary());
    x.SelectSheet(CExpPlanIO::kPlanListSheet);
    int row = CExpPlanIO::kPlanFirstRow;
    while (!x.GetCellText(row, 2).empty())
        ++row;
    for (int n = 0; row <= CExpPlanIO::kLastReadRow; ++row, ++n)
        x.SetCellString(row, 2, "Extra " + std::to_string(n));
    x.SaveAs(path);
    return path;
}

long PeakKilobytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double g_peakGrowthMB = NAN;

void Import(benchmark::State& state, const std::string& path, int expected)
{
    for (auto _ : state) {
        CMemoryPlanOwner owner;
        CExpPlanIO io(&owner);
        io.SetFeedback(nullptr);
        if (io.ImportFromExcel(path) != expected) {
            state.SkipWithError("the import did not end as expected");
            return;
        }
    }
}

void BM_OrdinaryWorkbook(benchmark::State& state)
{
    Import(state, Ordinary(), 1);
}

void BM_PlanListWithoutSheets(benchmark::State& state)
{
    const std::string path = Hostile();
    const long before = PeakKilobytes();
    Import(state, path, 0);
    g_peakGrowthMB = static_cast<double>(PeakKilobytes() - before) / 1024.0;
    state.counters["file_KB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
}
} // namespace

int main(int argc, char** argv)
{
    CDefaultPromptService quiet;
    SetPromptService(&quiet);
    // The workbooks are made before anything is timed, so the peak memory measured is the import's.
    Hostile();
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("BM_PlanListWithoutSheets", BM_PlanListWithoutSheets)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5);
    benchmark::RegisterBenchmark("BM_OrdinaryWorkbook", BM_OrdinaryWorkbook)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5);
    benchsupport::CFastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ratio = reporter.Ratio("BM_PlanListWithoutSheets", "BM_OrdinaryWorkbook");
    int slow = 0;
    if (!std::isnan(ratio)) {
        std::printf("Plan list of %d rows without sheets (%ju KB): refused in %.1f ms, %.1f times an ordinary "
                    "workbook; peak memory grew by %.1f MB (at most 64)\n",
                    CExpPlanIO::kLastReadRow - CExpPlanIO::kPlanFirstRow + 1,
                    static_cast<uintmax_t>(std::filesystem::file_size(Hostile()) / 1024),
                    reporter.fastest["BM_PlanListWithoutSheets"], ratio, g_peakGrowthMB);
        slow = !(g_peakGrowthMB <= 64.0);
    }
    benchmark::Shutdown();
    return slow;
}
