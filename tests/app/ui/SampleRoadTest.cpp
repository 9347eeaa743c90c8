// The sample project walked as a new user walks it, from an empty main frame: the project opened
// through File > Open, then every calculation of the analysis through its command (input energies
// and powers, the energy result, vibration level, sound pressure level, dominant paths and power
// contributions), each result opened in its window with non-zero numbers and grabbed to an image
// in the build folder; the commands around the results (the result-type choice, the input-power
// sources, the analysis options, the comparisons of the measured data and the model data import
// with its recalculation) on the way.
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QRadioButton>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

#include "support/PromptsShown.h"
#include "support/RoadSteps.h"
#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "views/ui/ResultSetCommands.h"
#include "experiments/ui/ExpDataComparison.h"
#include "app/ui/DlgNewModel.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/ProjectTreeModel.h"
#include "calculation/InputEnergyFolder.h"
#include "experiments/ExpData.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "calculation/ui/PPageCalcIEOptions.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/UiTextTranslator.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"
#include "platform/win/StringTable.h"
#include "spectral/ZuRpmDpFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "acquisition/ui/DlgExpDataComp.h"
#include "views/ui/HSEADataTableDoc.h"
#include "views/ui/HSEADataGraphView.h"
#include "views/ui/HSEADataTableFrame.h"
#include "views/ui/HSEADataTableView.h"
#include "views/ui/DlgSelectResultType.h"
#include "views/ui/PPageIPSrcList.h"

namespace {
namespace fs = std::filesystem;
using Calc = CCalcCommands;

// Where the images of the road go: the build folder, beside the tests.
QString GrabFolder()
{
    const QString folder = QStringLiteral(ORVEX_BINARY_DIR) + QStringLiteral("/road-grabs");
    QDir().mkpath(folder);
    return folder;
}

// Whether a table of the window shows a result: a cell of a value column (not the RPM or band
// axis) that holds a number other than 0 ("----" marks a missing value) or, for paths, a subsystem.
bool ShowsValues(QWidget* window)
{
    for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* model = view->model();
        for (int c = 0; model && c < model->columnCount(); ++c) {
            const QString header = model->headerData(c, Qt::Horizontal).toString();
            if (header.startsWith(QStringLiteral("RPM")) || header.startsWith(QStringLiteral("Band")))
                continue;
            for (int r = 0; r < model->rowCount(); ++r) {
                const QString text = model->data(model->index(r, c)).toString();
                bool number = false;
                const double v = text.toDouble(&number);
                if ((number && v != 0.0) || text.contains(QStringLiteral("Roof")))
                    return true;
            }
        }
    }
    return false;
}

// The largest value of a map over RPM; 0 for anything else.
double Largest(const CMElement* e)
{
    double most = 0.0;
    if (auto* f = DynamicDowncast<CZuRpmFunc>(const_cast<CMElement*>(e)))
        for (int r = 0; r < f->GetRpmCount(); ++r)
            for (int b = 0; b < f->GetFreqCount(); ++b)
                most = std::max(most, f->DataValue(r, b));
    return most;
}

class SampleRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
        if (GetTALVOApp().GetTemplateCount() == 0)
            GetTALVOApp().RegisterDocTemplates();
        root = fs::path(dir.path().toStdString());
        if (!road::CopyBuiltSample(root))
            GTEST_SKIP() << "no sample project was built";
        frame = std::make_unique<CMainFrame>();
        road::ShowFrame(*frame);
    }
    void TearDown() override { frame.reset(); }

    // Runs a command as its menu item does: only when it is enabled.
    bool Click(int id)
    {
        frame->UpdateCommandUI();
        if (!frame->IsCommandEnabled(id))
            return false;
        return frame->OnCommand(id);
    }

    // File > Open of the sample project, chosen as a user chooses it.
    void OpenSample()
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile((root / "sample.orv").string());
        ASSERT_TRUE(Click(ID_FILE_OPEN));
        ASSERT_NE(frame->GetDocument(), nullptr) << Shown(prompts);
    }

    void Select(CBaseProject* project, CMElement* element = nullptr)
    {
        const int index = frame->GetDocument()->GetProjectIndex(project);
        frame->TreeWindow()->SetActiveIndex(index);
        CMTreeCtrlEx* tree = frame->TreeWindow()->GetActiveTree();
        ASSERT_NE(tree, nullptr);
        tree->setCurrentIndex(tree->Model()->IndexOf(element ? element : static_cast<CMElement*>(project)));
        frame->UpdateCommandUI();
    }

    // Confirms the modeless selection of the calculation's subsystems; the message that ends it.
    uint32_t ConfirmCalcSubsystems()
    {
        CScriptedPrompts prompts;
        CDlgSelectCalcSubsystem* dialog = CDlgSelectCalcSubsystem::GetInstance();
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return 0;
        dialog->PressOK();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CDlgSelectCalcSubsystem::DestroyInstance();
        EXPECT_GE(prompts.Count(), 1u);
        return prompts.Count() ? prompts.Last().stringId : 0;
    }

    // A result command on the selected result set with the subsystem picked; the new child.
    CMElement* RunOnResult(int id, CMElement* set, const char* subsystem)
    {
        std::set<CMElement*> before;
        for (int i = 0; i < set->GetChildCount(); ++i)
            before.insert(set->GetChild(i));
        CScriptedDialogs dialogs;
        dialogs.Then(road::PickSubsystem(subsystem));
        EXPECT_TRUE(Click(id)) << id;
        for (int i = 0; i < set->GetChildCount(); ++i)
            if (!before.count(set->GetChild(i)))
                return set->GetChild(i);
        return nullptr;
    }

    // Opens an element's window from the tree and grabs it; the window.
    QMdiSubWindow* OpenAndGrab(CBaseProject* project, CMElement* element, const QString& name)
    {
        Select(project, element);
        EXPECT_TRUE(Click(ID_OPEN_SELECTION)) << name.toStdString();
        QMdiSubWindow* window = frame->MdiArea()->activeSubWindow();
        EXPECT_NE(window, nullptr) << name.toStdString();
        if (!window)
            return nullptr;
        window->resize(760, 520);
        QCoreApplication::processEvents();
        EXPECT_TRUE(window->grab().save(GrabFolder() + QStringLiteral("/%1.png").arg(name)));
        EXPECT_GT(window->widget()->width(), 300) << name.toStdString();
        EXPECT_GT(window->widget()->height(), 200) << name.toStdString();
        return window;
    }

    QTemporaryDir dir;
    fs::path root;
    std::unique_ptr<CMainFrame> frame;
};
} // namespace

TEST_F(SampleRoad, FromOpeningTheSampleToEveryResultInItsWindow)
{
    // File > Open from an empty frame.
    ASSERT_EQ(frame->GetDocument(), nullptr);
    ASSERT_NO_FATAL_FAILURE(OpenSample());
    CTALVODoc* doc = frame->GetDocument();
    CTALVOProject& container = doc->GetTALVOProject();
    ASSERT_NE(container.GetModelProject()->GetHSEAModelData(), nullptr);
    auto* project = DynamicDowncast<CAnalysisProject>(container.GetProject(2));
    ASSERT_NE(project, nullptr);
    CZuSubsystemTable roof;
    roof.Add(sample::kExcited);

    // The analysis options: the input-energy page is there for a project over measured data; a
    // margin set on it reaches the project.
    Select(project);
    {
        CScriptedDialogs dialogs;
        bool seen = false;
        dialogs.Then([&](CZuDialog& d) {
            auto* sheet = dynamic_cast<CZuPropertySheet*>(&d);
            CPPageCalcIEOptions* page = nullptr;
            for (int i = 0; sheet && i < sheet->GetPageCount() && !page; ++i)
                page = dynamic_cast<CPPageCalcIEOptions*>(sheet->GetPage(i));
            if (!page || !sheet->SetActivePage(page))
                return d.PressCancel();
            seen = true;
            page->MarginEdit()->setText(QStringLiteral("50"));
            EXPECT_TRUE(d.grab().save(GrabFolder() + QStringLiteral("/analysis-options.png")));
            EXPECT_GE(page->MarginEdit()->width(), 40);
            return d.PressOK();
        });
        ASSERT_TRUE(Click(ID_ANALYSIS_OPTIONS));
        ASSERT_TRUE(seen);
        EXPECT_FLOAT_EQ(project->GetCalcIEOptions().GetRpmMargin(), 50.0f);
        project->GetCalcIEOptions().SetRpmMargin(0.0f);
    }

    // Input energies and input powers of the roof, then the energy result.
    ASSERT_TRUE(Click(Calc::ID_CALC_INPUT_POWER));
    EXPECT_EQ(ConfirmCalcSubsystems(), 6170u);
    CMElement* energy = project->GetInputEnergyFolder()->FindRpmItem(sample::kExcited);
    CMElement* power = project->GetInputPowerFolder()->FindRpmItem(sample::kExcited);
    ASSERT_NE(energy, nullptr);
    ASSERT_NE(power, nullptr);
    Select(project);
    ASSERT_TRUE(Click(Calc::ID_CALC_ENERGY_RESULT));
    EXPECT_EQ(ConfirmCalcSubsystems(), 6170u);
    CMElement* set = project->FindEnergyResult(roof);
    ASSERT_NE(set, nullptr);

    // What the result set was solved from.
    Select(project, set);
    {
        CScriptedDialogs dialogs;
        QStringList sources;
        dialogs.Then([&](CZuDialog& d) {
            auto* sheet = dynamic_cast<CZuPropertySheet*>(&d);
            auto* page =
                sheet && sheet->GetPageCount() == 1 ? dynamic_cast<CPPageIPSrcList*>(sheet->GetPage(0)) : nullptr;
            if (!page)
                return d.PressCancel();
            sheet->SetActivePage(page);
            for (int i = 0; i < page->List()->count(); ++i)
                sources << page->List()->item(i)->text();
            EXPECT_TRUE(d.grab().save(GrabFolder() + QStringLiteral("/input-power-sources.png")));
            return d.PressOK();
        });
        ASSERT_TRUE(Click(CResultSetCommands::ID_INPUT_POWER_SOURCES));
        EXPECT_EQ(sources, QStringList{QString::fromUtf8(sample::kExcited)});
    }

    // The vibration level through the result-type choice (its first kind), the others directly.
    CMElement* vibration = nullptr;
    {
        std::set<CMElement*> before;
        for (int i = 0; i < set->GetChildCount(); ++i)
            before.insert(set->GetChild(i));
        CScriptedDialogs dialogs;
        dialogs
            .Then([](CZuDialog& d) {
                auto& choice = dynamic_cast<CDlgSelectResultType&>(d);
                choice.Choose(0);
                return d.PressOK();
            })
            .Then(road::PickSubsystem("Floor"));
        ASSERT_TRUE(Click(CResultSetCommands::ID_SELECT_RESULT_TYPE));
        EXPECT_EQ(dialogs.Records().size(), 2u);
        for (int i = 0; i < set->GetChildCount(); ++i)
            if (!before.count(set->GetChild(i)))
                vibration = set->GetChild(i);
    }
    ASSERT_NE(vibration, nullptr);
    Select(project, set);
    CMElement* spl = RunOnResult(Calc::ID_CALC_SPL, set, sample::kResponse);
    Select(project, set);
    CMElement* paths = RunOnResult(Calc::ID_SEARCH_DOMINANT_PATH, set, sample::kResponse);
    Select(project, set);
    CMElement* contributions = RunOnResult(Calc::ID_CALC_POWER_CONTRIBUTION, set, sample::kResponse);
    ASSERT_NE(spl, nullptr);
    ASSERT_NE(paths, nullptr);
    ASSERT_NE(contributions, nullptr);

    // Every result in its window, with numbers above zero.
    struct Shown
    {
        CMElement* element;
        const char* name;
    };
    const Shown results[] = {{energy, "input-energy"},       {power, "input-power"},
                             {vibration, "vibration-level"}, {spl, "sound-pressure-level"},
                             {paths, "dominant-paths"},      {contributions, "power-contributions"}};
    for (const Shown& r : results) {
        SCOPED_TRACE(r.name);
        if (DynamicDowncast<CZuRpmFunc>(r.element)) {
            EXPECT_GT(Largest(r.element), 0.0);
        }
        QMdiSubWindow* window = OpenAndGrab(project, r.element, QString::fromUtf8(r.name));
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(ShowsValues(window->widget()));
    }
    frame->MdiArea()->tileSubWindows();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->grab().save(GrabFolder() + QStringLiteral("/sample-road.png")));
}

TEST_F(SampleRoad, MeasuredDataAreComparedAndNewModelDataRecalculateTheInputPowers)
{
    ASSERT_NO_FATAL_FAILURE(OpenSample());
    CTALVODoc* doc = frame->GetDocument();
    CTALVOProject& container = doc->GetTALVOProject();
    CDaqProject* daq = container.GetDaqProject(0);
    ASSERT_NE(daq, nullptr);
    auto* experiment = DynamicDowncast<CTALVOExp>(daq->GetChild(0));
    ASSERT_NE(experiment, nullptr);

    // The data set holds the run-up's maps over RPM and over order, both with sound in them.
    {
        auto* set = DynamicDowncast<CDAQExperiment>(experiment->GetChild(0));
        ASSERT_NE(set, nullptr);
        EXPECT_GT(Largest(set->FindRpmFuncByName(sample::kExcited)), 0.0);
        auto* orders =
            DynamicDowncast<CZuVecFunc>(set->FindFuncByNameAndType(FormatString(7088, sample::kExcited), 93));
        ASSERT_NE(orders, nullptr) << "no map over order";
        double loudest = 0.0;
        for (int r = 0; r < orders->GetDataCount(); ++r)
            for (int o = 0; o < orders->GetSubsystemCount(); ++o)
                loudest = std::max(loudest, orders->DataValue(r, o));
        EXPECT_GT(loudest, 0.0);
    }

    // The comparison of the experiment's measured maps: both subsystems, the cabin's too.
    Select(daq, experiment);
    ASSERT_TRUE(Click(CExpDataComparison::ID_COMPARE_EXP_DATA));
    CDlgExpDataComp* comparison = CDlgExpDataComp::GetInstance(frame.get());
    ASSERT_NE(comparison, nullptr);
    ASSERT_FALSE(comparison->Groups().empty());
    EXPECT_FALSE(comparison->CurrentSeries().empty());
    comparison->resize(900, 640);
    QCoreApplication::processEvents();
    EXPECT_TRUE(comparison->grab().save(GrabFolder() + QStringLiteral("/experiment-data-comparison.png")));
    // Opened again it comes to the front; no second one.
    ASSERT_TRUE(Click(CExpDataComparison::ID_COMPARE_EXP_DATA));
    EXPECT_EQ(CDlgExpDataComp::GetInstance(frame.get()), comparison);
    CDlgExpDataComp::DestroyInstance(frame.get());

    // The local-point comparison waits for its option.
    EXPECT_FALSE(Click(CExpDataComparison::ID_COMPARE_EXP_LP_DATA));
    CZuRegOptions options(GetOptionsKeyPath().c_str());
    ASSERT_TRUE(options.Open());
    ASSERT_TRUE(options.SetDWORD(LoadString(IDS_OPT_EXP_COMMANDS).c_str(), 1));
    Select(daq, experiment);
    EXPECT_TRUE(Click(CExpDataComparison::ID_COMPARE_EXP_LP_DATA));
    options.DeleteValue(LoadString(IDS_OPT_EXP_COMMANDS).c_str());
    CDlgExpLPDataComp* points = CDlgExpLPDataComp::GetInstance(frame.get());
    ASSERT_NE(points, nullptr);
    // The measured data sets keep their local-point levels: there is something to compare.
    ASSERT_FALSE(points->CurrentSeries().empty());
    double loudest = 0.0;
    for (const auto& row : points->CurrentSeries().front().values)
        for (double v : row)
            loudest = std::max(loudest, v);
    EXPECT_GT(loudest, 0.0);
    EXPECT_TRUE(points->grab().save(GrabFolder() + QStringLiteral("/local-point-comparison.png")));
    CDlgExpLPDataComp::DestroyInstance(frame.get());
    // Modal for one experiment, as the data management runs it.
    {
        CScriptedDialogs dialogs;
        bool groups = false;
        dialogs.Then([&](CZuDialog& d) {
            groups = !dynamic_cast<CDlgExpDataComp&>(d).Groups().empty();
            return d.PressCancel();
        });
        EXPECT_EQ(CDlgExpDataComp::DoModalFor(daq, experiment, frame.get()), IDCANCEL);
        EXPECT_TRUE(groups);
    }

    // New model data from the hybrid model's file: the analysis projects' input powers are
    // recalculated (6254), then "Finished." (6168); the results project has its powers again.
    auto* results = DynamicDowncast<CAnalysisProject>(container.GetProject(3));
    ASSERT_NE(results, nullptr);
    ASSERT_NE(results->GetInputPowerFolder(), nullptr);
    ASSERT_GT(results->GetInputPowerFolder()->GetChildCount(), 0);
    Select(container.GetModelProject());
    {
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& d) {
            // The model data come from a file.
            dynamic_cast<CDlgNewModel&>(d).SourceButton(CDlgNewModel::kFromFile)->setChecked(true);
            return d.PressOK();
        });
        CScriptedPrompts prompts;
        prompts.ChooseFiles({(root / sample::kHybridModelFile).string()});
        ASSERT_TRUE(Click(ID_IMPORT_MODEL_DATA));
        std::vector<uint32_t> ids;
        for (const PromptRecord& r : prompts.Records())
            if (r.kind == PromptKind::MessageBox)
                ids.push_back(r.stringId);
        ASSERT_GE(ids.size(), 2u) << Shown(prompts);
        EXPECT_EQ(ids.front(), 6254u) << Shown(prompts);
        EXPECT_EQ(ids.back(), 6168u) << Shown(prompts);
    }
    EXPECT_TRUE(doc->IsModified());
    ASSERT_NE(results->GetInputPowerFolder(), nullptr);
    CMElement* power = results->GetInputPowerFolder()->FindRpmItem(sample::kExcited);
    ASSERT_NE(power, nullptr);
    EXPECT_GT(Largest(power), 0.0);
}

TEST_F(SampleRoad, AChannelOpensFromTheTreeInATableWithAChart)
{
    ASSERT_NO_FATAL_FAILURE(OpenSample());
    CDaqProject* daq = frame->GetDocument()->GetTALVOProject().GetDaqProject(0);
    ASSERT_NE(daq, nullptr);
    CMElementList channels;
    daq->Find(RUNTIME_CLASS(CExpData), channels, -1);
    CExpData* channel = nullptr;
    for (CMElement* e : channels) {
        auto* data = static_cast<CExpData*>(e);
        if (data->GetName() == std::string(sample::kExcited) + ":01")
            channel = data;
    }
    ASSERT_NE(channel, nullptr) << "the roof's accelerometer";
    ASSERT_GT(channel->GetSampleCount(), 100);

    // Double-click on the channel: its samples over time in the table, drawn in the chart.
    QMdiSubWindow* window = OpenAndGrab(daq, channel, QStringLiteral("channel-table"));
    ASSERT_NE(window, nullptr);
    auto* table = qobject_cast<CHSEADataTableFrame*>(window->widget());
    ASSERT_NE(table, nullptr);
    auto* data = dynamic_cast<CZuVecFunc*>(table->GetHSEADocument()->GetData());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetTableRowCount(0), channel->GetSampleCount() + 1);
    EXPECT_EQ(data->GetTableCellData(0, 0, 0, 0), "Time [ms]");
    const double ms = 1000.0 / channel->GetSamplingFrequency();
    for (int row : {1, 2, channel->GetSampleCount()}) {
        EXPECT_NEAR(std::stod(data->GetTableCellData(row, 0, 0, 0)), (row - 1) * ms, 1e-3) << row;
        EXPECT_FLOAT_EQ(static_cast<float>(data->DataValue(row - 1, 0)),
                        channel->GetSamples()[static_cast<size_t>(row - 1)])
            << row;
    }
    // The chart draws the samples over time on linear axes.
    CHSEADataGraphView* chart = table->GetGraphView();
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_EQ(chart->xAxis->label(), "Time [ms]");
    EXPECT_EQ(chart->xAxis->scaleType(), QCPAxis::stLinear);
    EXPECT_EQ(chart->yAxis->scaleType(), QCPAxis::stLinear);
    ASSERT_GE(chart->graphCount(), 1);
    EXPECT_GT(chart->graph(0)->dataCount(), 100);

    // Opened again it comes forward; the channel deleted, its window closes.
    const int windows = frame->MdiArea()->subWindowList().size();
    Select(daq, channel);
    ASSERT_TRUE(Click(ID_OPEN_SELECTION));
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), windows);
    QPointer<QMdiSubWindow> alive(window);
    ASSERT_EQ(channel->GetParent()->DeleteChild(channel), 1);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull() || !alive->isVisible());
}

// Started in Japanese, the sample's channel window (a table with its chart) is made in Japanese;
// the language menu then turns it and the main window English and back with the window left open.
TEST_F(SampleRoad, WindowsMadeInJapaneseFollowTheLanguageMenu)
{
    // As the program does, every window is put into the language loaded when it shows.
    CUiTextTranslator::Install();
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_JAPANESE));
    ASSERT_NO_FATAL_FAILURE(OpenSample());
    CDaqProject* daq = frame->GetDocument()->GetTALVOProject().GetDaqProject(0);
    ASSERT_NE(daq, nullptr);
    CMElementList channels;
    daq->Find(RUNTIME_CLASS(CExpData), channels, -1);
    CMElement* channel = nullptr;
    for (CMElement* e : channels)
        if (!channel)
            channel = e;
    ASSERT_NE(channel, nullptr);
    QMdiSubWindow* window = OpenAndGrab(daq, channel, QStringLiteral("channel-table-jpn-start"));
    ASSERT_NE(window, nullptr);
    auto* table = qobject_cast<CHSEADataTableFrame*>(window->widget());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetGraphView()->xAxis->label().toStdString(), TranslateText("Time [ms]"));

    EXPECT_EQ(
        road::SwitchLanguageThroughTheMenu(*frame, "sample-road-japanese-start").join(QLatin1Char('\n')).toStdString(),
        "");
    EXPECT_EQ(table->GetGraphView()->xAxis->label(), QStringLiteral("Time [ms]"));
}

// The dominant paths of the sample's "Run-up Results" opened from the tree: every column as wide
// as its heading and its cells (subsystem names with their powers), each power with its unit.
TEST_F(SampleRoad, TheDominantPathsAndPowerContributionsShowWholeTextsWithTheirUnit)
{
    ASSERT_NO_FATAL_FAILURE(OpenSample());
    CTALVOProject& container = frame->GetDocument()->GetTALVOProject();
    CAnalysisProject* results = nullptr;
    for (int i = 0; i < container.GetProjectCount() && !results; ++i)
        if (container.GetProject(i)->GetName() == sample::kResultsProjectName)
            results = DynamicDowncast<CAnalysisProject>(container.GetProject(i));
    ASSERT_NE(results, nullptr);
    struct Case
    {
        const CRuntimeClass* kind;
        const char* image;
        bool powersInCells; // the dominant paths give each step's power with its unit in the cell
    };
    const Case cases[] = {{RUNTIME_CLASS(CZuRpmDpFunc), "run-up-dominant-paths", true},
                          {RUNTIME_CLASS(CZuRpmPcFunc), "run-up-power-contributions", false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.image);
        CMElementList found;
        results->Find(k.kind, found, -1);
        ASSERT_GE(found.GetSize(), 1);
        QMdiSubWindow* window = OpenAndGrab(results, found[0], QString::fromLatin1(k.image));
        ASSERT_NE(window, nullptr);
        auto* frameWindow = qobject_cast<CHSEADataTableFrame*>(window->widget());
        ASSERT_NE(frameWindow, nullptr);
        CHSEADataTableView* grid = frameWindow->GetTableView();
        const QAbstractItemModel* model = grid->model();
        ASSERT_GE(model->columnCount(), 2);
        ASSERT_GE(model->rowCount(), 1);
        int powers = 0;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QString heading = model->headerData(c, Qt::Horizontal).toString();
            EXPECT_GE(grid->columnWidth(c), grid->horizontalHeader()->fontMetrics().horizontalAdvance(heading) + 12)
                << heading.toStdString();
            for (int r = 0; r < model->rowCount(); ++r) {
                const QString text = model->data(model->index(r, c)).toString();
                EXPECT_GE(grid->columnWidth(c), grid->fontMetrics().horizontalAdvance(text) + 8) << text.toStdString();
                if (!k.powersInCells)
                    continue;
                if (text.endsWith(QStringLiteral(" W)")))
                    ++powers;
                else
                    EXPECT_TRUE(text.isEmpty()) << text.toStdString();
            }
        }
        EXPECT_EQ(powers > 0, k.powersInCells);
        // The grid shows its first columns whole in the window.
        EXPECT_GE(grid->viewport()->width(), grid->columnViewportPosition(1) + grid->columnWidth(1));
        // In Japanese too, and back.
        EXPECT_EQ(road::SwitchLanguageThroughTheMenu(*frame, k.image).join(QLatin1Char('\n')).toStdString(), "");
    }
}
