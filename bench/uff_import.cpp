// The universal-file import on the file of the universal-file reader's benchmark (UF58BenchFile.h):
// the file step's scan alone as a fraction of a plain read of the file (target: at least 0.3), and
// the whole import into a DAQ project (scan, data check, run set-up, every block read and turned
// into band, line and order functions) as a multiple of the reader's index and read of the same
// file (target: at most 3).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "BenchSupport.h"
#include "UF58BenchFile.h"
#include "app/TALVOProject.h"
#include "planning/SensorAssignment.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/OrderList.h"
#include "experiments/CalcOptions.h"
#include "uff/DAQPPFreqData.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/MkExtDaqProject.h"
#include "uff/UFImportScan.h"
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
class CBenchImportUI : public IUFImportUI, public IUFImportProgress
{
public:
    int SelectDAQSystem() override { return 1; }
    bool RunImportDialog(CUFImportSettings& s) override
    {
        *s.files = {File()};
        s.choice = 1;
        return true;
    }
    bool RunDataCheck(CUFDataCheckInput&) override { return true; }
    IUFImportProgress* ShowProgress() override { return this; }
    void CloseProgress() override {}
    void SetTitle(const std::string&) override {}
    void SetMessage(const std::string&) override {}
    void SetOuterRange(int) override {}
    void StepTotal() override {}
    void SetSubRange(int) override {}
    void SetSubPos(int) override {}
    void StepSub() override {}
    bool PumpMessages() override { return false; }
};

double g_plain = 0.0, g_scan = 0.0, g_reader = 0.0, g_import = 0.0;

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
        CUFImportScan scan;
        int spectra = 0;
        scan.dataset = [&](CDAQPPUFIndex&, CUFLineReader&, bool) { ++spectra; };
        scan.Scan(file);
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

} // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_Reader)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchsupport::CSlotReporter reporter(
        {{"PlainRead", &g_plain}, {"Scan", &g_scan}, {"Reader", &g_reader}, {"Import", &g_import}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (g_scan > 0.0 && g_plain > 0.0)
        std::printf("\nscan: speed %.2f of a plain read of the file (target >= 0.3)\n", g_plain / g_scan);
    if (g_import > 0.0 && g_reader > 0.0)
        std::printf("whole import: %.2fx the reader's index and read (target <= 3)\n", g_import / g_reader);
    std::filesystem::remove_all(Folder());
    return 0;
}
