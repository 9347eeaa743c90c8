// The universal-file import on the file of the universal-file reader's benchmark (UF58BenchFile.h):
// the file step's scan alone as a fraction of a plain read of the file (target: at least 0.3), and
// the whole import into a DAQ project (scan, data check, run set-up, every block read and turned
// into band, line and order functions) as a multiple of the reader's index and read of the same
// file (target: at most 2). The import also runs over files of 10k, 100k and 1M small datasets
// (one run of two points at as many distinct RPMs, and as many runs of one dataset each): ten
// times the datasets may take at most about fifteen times as long. The heap is set as the program
// sets it at start, which keeps freed blocks for reuse instead of clearing fresh pages for each.
#include <benchmark/benchmark.h>

#include "platform/base/Feedback.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "BenchSupport.h"
#include "UF58BenchFile.h"
#include "app/TALVOProject.h"
#include "planning/SensorAssignment.h"
#include "platform/base/Format.h"
#include "platform/base/HeapReuse.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/OrderList.h"
#include "experiments/CalcOptions.h"
#include "uff/DAQPPFreqData.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/MkExtDaqProject.h"
#include "uff/UFImportUI.h"
#include "uff/UFLineReader.h"
#include "uff/UFScanner.h"

namespace {

std::filesystem::path Folder()
{
    static const std::filesystem::path dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("orvex_bench_uff_import_" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}

const std::string& File()
{
    static const std::string path = [] {
        const std::string p = (Folder() / "spectra.unv").string();
        ufbench::WriteSpectraFile(p);
        return p;
    }();
    return path;
}

// Answers the import's questions: the one file, RPM from the data; no progress display.
class CBenchImportUI : public IUFImportUI
{
public:
    int SelectDAQSystem() override { return 1; }
    std::string file;
    int choice = 1;
    bool RunImportDialog(CUFImportSettings& s) override
    {
        *s.files = {file.empty() ? File() : file};
        s.choice = choice;
        s.fixedRpm = 3000;
        return true;
    }
    bool RunDataCheck(CUFDataCheckInput&) override { return true; }
    CFeedback* ShowProgress() override { return &silent; }
    void CloseProgress() override {}
    CSilentFeedback silent;
};

// A file of n datasets of four lines each: shape 0 one run of two points of the roof at n / 2
// distinct RPMs, shape 1 n runs (a minute apart) of one dataset each, imported at a fixed RPM.
const std::string& ScalingFile(int n, int shape)
{
    static std::map<std::pair<int, int>, std::string> files;
    auto [it, added] = files.emplace(std::make_pair(n, shape), std::string());
    if (!added)
        return it->second;
    it->second = (Folder() / Format("scale_%d_%d.unv", shape, n)).string();
    std::FILE* f = std::fopen(it->second.c_str(), "wb");
    for (int d = 0; d < n; ++d) {
        const int point = shape == 0 ? d % 2 : 0;
        const double rpm = shape == 0 ? 1000.0 + d / 2 : 3000.0;
        const time_t when = 946684800 + (shape == 0 ? 0 : 60 * static_cast<time_t>(d)); // from 2000-01-01
        std::tm tm{};
        gmtime_r(&when, &tm);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
        std::fprintf(f, "    -1\n    58\nname dir Roof_%d\n[UID=S%d]\n%s\nNONE\nNONE\n", point + 1, d, stamp);
        std::fprintf(f, "%5d%10d%5d%10d %-10s%10d%4d %-10s%10d%4d\n", 12, 1, 0, 0, "Roof", point + 1, 3, "Floor", 1, 3);
        std::fprintf(f, "%10d%10d%10d%13.5E%13.5E%13.5E\n", 5, 4, 1, 100.0, 100.0, rpm);
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 18, 0, 0, 0, "Frequency", "Hz");
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 12, 0, 0, 0, "Response", "m/s2");
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 0, 0, 0, 0, "NONE", "NONE");
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 0, 0, 0, 0, "NONE", "NONE");
        std::fprintf(f, "%13.5E%13.5E%13.5E%13.5E%13.5E%13.5E\n%13.5E%13.5E\n    -1\n", 1.0, 0.5, 2.0, 0.5, 3.0, 0.5,
                     4.0, 0.5);
    }
    std::fclose(f);
    return it->second;
}

void BM_PlainRead(benchmark::State& state)
{
    const std::string path = File();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        size_t total = 0, got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), f)) > 0)
            total += got;
        std::fclose(f);
        benchmark::DoNotOptimize(total);
    }
}

void BM_Scan(benchmark::State& state)
{
    const std::string path = File();
    for (auto _ : state) {
        CUFLineReader file;
        file.Open(path);
        CUFScanner scan;
        int spectra = 0;
        scan.dataset = [&](std::unique_ptr<CDAQPPUFIndex>&, CUFLineReader&) { ++spectra; };
        scan.Scan(file, nullptr);
        benchmark::DoNotOptimize(spectra);
    }
}

// The universal-file reader: index, then every value on every core.
void BM_Reader(benchmark::State& state)
{
    const std::string path = File();
    for (auto _ : state) {
        std::vector<std::unique_ptr<CDAQPPUFIndex>> index;
        CUFScanner::Scan(path, index, nullptr);
        std::vector<std::unique_ptr<CDAQPPFreqData>> data;
        std::vector<CDAQPPUFData*> items;
        for (const auto& x : index) {
            data.push_back(std::make_unique<CDAQPPFreqData>());
            data.back()->SetIndex(*x);
            items.push_back(data.back().get());
        }
        benchmark::DoNotOptimize(CDAQPPUFData::LoadAll(items, Folder().string(), {}, 0));
    }
}

// A project of the sample model with the file's 40 points assigned to the roof, ready to import.
std::unique_ptr<CTALVOProject> MakeImportTarget(CExtUFDaqProject*& project)
{
    auto container = std::make_unique<CTALVOProject>();
    container->CreateModelProjectFromFile(0, std::string(ORVEX_BENCH_DIR) + "/../samples/sample-model.dmd");
    const CZuSubsystemTable& table = *container->GetModelSubsystemTable();
    std::string roof, cabin;
    for (int i = 0; i < table.GetCount(); ++i) {
        std::string n = table[i];
        const int type = container->GetSubsystemType(n, 0);
        if (type < 5 && roof.empty())
            roof = table[i];
        if (type >= 5 && cabin.empty())
            cabin = table[i];
    }
    container->SetTargetSubsystem(cabin);
    container->GetSensorAssignment()->SetSubsystems(&table);
    project = static_cast<CExtUFDaqProject*>(container->AddExtDaqProject(std::make_unique<CExtUFDaqProject>()));
    const int row = container->GetSensorAssignment()->FindRow(roof);
    for (int lp = 0; lp < ufbench::kPoints; ++lp) {
        container->GetSensorAssignment()->AddItem(row, Format("S%d", lp));
        project->GetNodeMap().SetAt(CUFNode(lp + 1, roof, lp));
    }
    COrderList orders;
    for (double o : {2.0, 4.0, 6.0})
        orders.Add(o);
    project->GetCalcOptions()->SetOrderList(orders);
    return container;
}

void BM_Import(benchmark::State& state)
{
    LoadLanguageStrings(LANG_ENGLISH);
    CScriptedPrompts prompts;
    prompts.responder = [](const PromptRecord&) { return std::optional<PromptAnswer>(PromptAnswer()); };
    CBenchImportUI ui;
    SetUFImportUI(&ui);
    // One import before the timed ones, as the reader's first reads go before its timed ones: the
    // heap and the file's pages are then as warm for both.
    {
        CExtUFDaqProject* project = nullptr;
        auto container = MakeImportTarget(project);
        CMkExtDaqProject(*container, project).ImportUFData();
    }
    for (auto _ : state) {
        state.PauseTiming();
        CExtUFDaqProject* project = nullptr;
        auto container = MakeImportTarget(project);
        state.ResumeTiming();
        CMkExtDaqProject builder(*container, project);
        if (!builder.ImportUFData()) {
            state.SkipWithError("the import failed");
            break;
        }
        state.PauseTiming();
        container.reset();
        state.ResumeTiming();
    }
    SetUFImportUI(nullptr);
}

// The import over n datasets of the given shape.
void BM_ImportScaling(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const int shape = static_cast<int>(state.range(1));
    LoadLanguageStrings(LANG_ENGLISH);
    CScriptedPrompts prompts;
    prompts.responder = [](const PromptRecord&) { return std::optional<PromptAnswer>(PromptAnswer()); };
    CBenchImportUI ui;
    ui.file = ScalingFile(n, shape);
    ui.choice = shape == 0 ? 1 : 0;
    SetUFImportUI(&ui);
    for (auto _ : state) {
        state.PauseTiming();
        CExtUFDaqProject* project = nullptr;
        auto container = MakeImportTarget(project);
        state.ResumeTiming();
        CMkExtDaqProject builder(*container, project);
        if (!builder.ImportUFData()) {
            state.SkipWithError(("the import failed: " + prompts.Last().text).c_str());
            break;
        }
        state.PauseTiming();
        container.reset();
        state.ResumeTiming();
    }
    SetUFImportUI(nullptr);
    state.counters["datasets"] = n;
}

} // namespace

BENCHMARK(BM_ImportScaling)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_Reader)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv)
{
    // The heap as the program sets it at start (before any thread).
    KeepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    benchsupport::CFastestReporter reporter(true);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double scan = reporter.Ratio("BM_PlainRead", "BM_Scan");
    const double import = reporter.Ratio("BM_Import", "BM_Reader");
    if (!std::isnan(scan))
        std::printf("\nscan: speed %.2f of a plain read of the file (target >= 0.3)\n", scan);
    if (!std::isnan(import))
        std::printf("whole import: %.2fx the reader's index and read (target <= 2)\n", import);
    for (const char* shape : {"0", "1"}) {
        auto key = [&](const char* n) { return Format("BM_ImportScaling/%s/%s", n, shape); };
        const double tenth = reporter.Ratio(key("100000").c_str(), key("10000").c_str());
        const double hundredth = reporter.Ratio(key("1000000").c_str(), key("100000").c_str());
        if (!std::isnan(tenth) || !std::isnan(hundredth))
            std::printf("import of %s: 100k / 10k datasets %.2fx, 1M / 100k %.2fx (target <= 15)\n",
                        shape[0] == '0' ? "distinct RPMs" : "runs", tenth, hundredth);
    }
    std::filesystem::remove_all(Folder());
    return 0;
}
