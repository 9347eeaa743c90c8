// Opening a project of 10,000 elements with the project window: the time to read the file and
// fill the trees, against reading the same file with no window as the baseline of the same run.
// The window's share must stay a small part of the whole; the whole must stay under a second.
//
// Adding elements one by one to one folder shown in the project window (as a calculation adds its
// results): 10,000 and 100,000 additions, and the ratio of the two times printed at the end. Each
// addition costs constant time, so the ratio stays near 10 (target: at most 15).
#include "app/BaseProject.h"
#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "platform/ui/ProjectTreeModel.h"
#include "app/ui/DockTreeWnd.h"
#include "platform/elements/MElement.h"
#include "platform/win/ZuRegOptions.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {
constexpr int kElements = 10000;

struct Fixture
{
    QTemporaryDir dir;
    std::string file;

    Fixture()
    {
        CZuRegOptions::SetSettingsFolder(dir.path().toStdString());
        GetTALVOApp().InitLanguageAndName();
        file = dir.filePath(QStringLiteral("big.orv")).toStdString();
        CTALVODoc doc;
        // Four DAQ projects; each holds 50 folders of 49 results (2,500 elements a project).
        for (int p = 0; p < 4; ++p) {
            CDaqProject* daq = doc.GetTALVOProject().AddDaqProject();
            for (int f = 0; f < 50; ++f) {
                CMElement* folder = daq->AddChild(std::make_unique<CMElement>("Folder " + std::to_string(f), daq, 100));
                for (int r = 0; r < 49; ++r)
                    folder->AddChild(std::make_unique<CMElement>("Result " + std::to_string(r), folder, 51));
            }
        }
        doc.OnSaveDocument(file);
    }
};

Fixture& GetFixture()
{
    static Fixture fixture;
    return fixture;
}

void BM_OpenWithoutWindow(benchmark::State& state)
{
    Fixture& f = GetFixture();
    GetTALVOApp().SetProjectTreeWindow(nullptr);
    for (auto _ : state) {
        CTALVODoc doc;
        if (!doc.OnOpenDocument(f.file))
            state.SkipWithError("the project file could not be read");
        doc.OnCloseDocument();
    }
    state.counters["elements"] = kElements;
}

void BM_OpenIntoProjectWindow(benchmark::State& state)
{
    Fixture& f = GetFixture();
    CDockTreeWnd window;
    window.resize(300, 800);
    window.show();
    GetTALVOApp().SetProjectTreeWindow(&window);
    for (auto _ : state) {
        CTALVODoc doc;
        if (!doc.OnOpenDocument(f.file))
            state.SkipWithError("the project file could not be read");
        int shown = 0;
        for (int t = 0; t < window.GetTreeCount(); ++t)
            shown += window.GetTree(t)->Model()->rowCount(window.GetTree(t)->Model()->index(0, 0));
        state.counters["folders_shown"] = shown;
        QCoreApplication::processEvents(); // lay out and paint what the window shows
        benchmark::DoNotOptimize(window.GetActiveTree());
        doc.OnCloseDocument();
    }
    GetTALVOApp().SetProjectTreeWindow(nullptr);
    state.counters["elements"] = kElements;
}

void BM_AddOneByOneToAShownFolder(benchmark::State& state)
{
    Fixture& f = GetFixture();
    (void)f; // settings and language
    const int count = static_cast<int>(state.range(0));
    CDockTreeWnd window;
    window.resize(300, 800);
    window.show();
    GetTALVOApp().SetProjectTreeWindow(&window);
    for (auto _ : state) {
        CTALVODoc doc;
        GetTALVOApp().SetMainDocument(&doc);
        CDaqProject* daq = doc.NewDaqProject();
        CMElement* folder = daq->AddChild(std::make_unique<CMElement>("Results", daq, 100));
        QCoreApplication::processEvents();
        for (int i = 0; i < count; ++i)
            folder->AddChild(std::make_unique<CMElement>("Result", folder, 51));
        QCoreApplication::processEvents(); // lay out and paint what the window shows
        if (window.GetTree(0)->Model()->rowCount(window.GetTree(0)->Model()->IndexOf(folder)) != count)
            state.SkipWithError("the folder does not show every element");
        doc.OnCloseDocument();
        GetTALVOApp().SetMainDocument(nullptr);
    }
    GetTALVOApp().SetProjectTreeWindow(nullptr);
    state.counters["elements"] = count;
}

BENCHMARK(BM_OpenWithoutWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenIntoProjectWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddOneByOneToAShownFolder)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Keeps the time per iteration of the additions for the ratio printed at the end.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<long, double> additions; // count -> seconds per iteration
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            const std::string name = run.benchmark_name();
            if (name.rfind("BM_AddOneByOneToAShownFolder/", 0) == 0)
                additions[std::stol(name.substr(name.find('/') + 1))] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.additions.count(10000) && reporter.additions.count(100000))
        std::printf("\nadditions to one shown folder, time of 100,000 / time of 10,000: %.1f (target: at most 15)\n",
                    reporter.additions[100000] / reporter.additions[10000]);
    benchmark::Shutdown();
    return 0;
}
