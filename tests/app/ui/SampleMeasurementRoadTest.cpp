// The sample's stored measurement opened as a user opens it, from a copy of the built sample: Open
// on its experiment in the project tree (the stored-data window, and beside it the experiment's
// map of the subsystem picked in the picker), Open on its data set, and Open Data in Measured Data
// Management, whose Properties is enabled for the row it selects. Each ends on what the window
// shows: the roof's measured samples, the averaged roof map. A cut measurement file is refused
// with the reader's reason below the message.
#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "SampleProject.h"
#include "acquisition/DAQIO.h"
#include "acquisition/ui/DlgDaqDataManagement.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "experiments/ui/DlgExpProperty.h"
#include "experiments/ui/ExpDataView.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/ZuRpmFunc.h"
#include "support/RoadSteps.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/TALDataDoc.h"
#include "views/ui/TALDataFrame.h"
#include "views/ui/TALDataGraphView.h"
#include "views/ui/TALDataSelectView.h"
#include "views/ui/TALDataTableView.h"

namespace {
namespace fs = std::filesystem;
using road::Click;
using road::FirstChild;

constexpr int ID_DAQ_DATA_MANAGEMENT = 1091;

// The largest magnitude of the roof's first channel in a measurement window.
float RoofPeak(CExpFrame& window)
{
    CExpProject* project = window.GetDocument()->GetProject();
    CExcitation* roof = project ? project->FindExcitation(sample::kExcited) : nullptr;
    auto* set = roof && roof->GetChildCount() > 0 ? ElementCast<CExpDataSet>(roof->GetChild(0)) : nullptr;
    CExpData* channel = set ? set->FindByLocalPoint(0) : nullptr;
    float peak = 0.0f;
    if (channel)
        for (float v : channel->GetSamples())
            peak = std::max(peak, std::fabs(v));
    return peak;
}

class SampleMeasurementRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const fs::path built = fs::path(ORVEX_BINARY_DIR) / "samples";
        if (!fs::exists(built / "sample.orv"))
            GTEST_SKIP() << "no sample project was built";
        road::StartProgram();
        root = fs::path(dir.path().toStdString());
        fs::copy(built, root, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        frame = std::make_unique<CMainFrame>();
        road::ShowFrame(*frame);
        GetTALVOApp().SetDAQSystemViewOpener(
            [this](int checkUnsaved) { return frame->OpenDAQSystemView(checkUnsaved); });
        // File > Open with the sample chosen in the file chooser.
        CScriptedPrompts prompts;
        prompts.ChooseFile((root / "sample.orv").string());
        ASSERT_TRUE(Click(*frame, ID_FILE_OPEN));
        ASSERT_NE(frame->GetDocument(), nullptr) << road::Shown(prompts);
        CTALVOProject& container = frame->GetDocument()->GetTALVOProject();
        daq = road::FirstDaqProject(container, daqIndex);
        ASSERT_NE(daq, nullptr);
        experiment = FirstChild<CTALVOExp>(*daq);
        ASSERT_NE(experiment, nullptr);
        dataSet = FirstChild<CDAQExperiment>(*experiment);
        ASSERT_NE(dataSet, nullptr);
    }
    void TearDown() override
    {
        CDlgDaqDataManagement::DestroyInstance();
        GetTALVOApp().SetDAQSystemViewOpener({});
        frame.reset();
    }

    QTemporaryDir dir;
    fs::path root;
    std::unique_ptr<CMainFrame> frame;
    CDaqProject* daq = nullptr;
    int daqIndex = -1;
    CTALVOExp* experiment = nullptr;
    CDAQExperiment* dataSet = nullptr;
};
} // namespace

TEST_F(SampleMeasurementRoad, OpensFromTheTreeAndFromDataManagement)
{
    const size_t before = CExpFrame::OpenFrames().size();

    // Open on the experiment: its stored data, and the roof's map picked in the subsystem picker.
    road::Select(*frame, daqIndex, experiment);
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        QStringList offered;
        dialogs.Then([&](CZuDialog& d) {
            auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&d);
            if (!picker)
                return d.PressCancel();
            for (int i = 0; i < picker->Combo()->count(); ++i)
                offered << picker->Combo()->itemText(i);
            picker->Combo()->setCurrentIndex(picker->Combo()->findText(QString::fromUtf8(sample::kExcited)));
            return d.PressOK();
        });
        ASSERT_TRUE(Click(*frame, ID_OPEN_SELECTION));
        EXPECT_EQ(prompts.Count(), 0u) << road::Shown(prompts);
        // The experiment's two subsystems, nothing else.
        EXPECT_EQ(offered.size(), 2) << offered.join(", ").toStdString();
        EXPECT_TRUE(offered.contains(QString::fromUtf8(sample::kExcited)));
        EXPECT_TRUE(offered.contains(QString::fromUtf8(sample::kResponse)));
        EXPECT_EQ(dialogs.Pending(), 0u);
    }
    ASSERT_EQ(CExpFrame::OpenFrames().size(), before + 1);
    CExpFrame* stored = CExpFrame::OpenFrames().back();
    EXPECT_GT(RoofPeak(*stored), 0.0f);
    // The table-data window of the experiment's roof map, in front.
    QMdiSubWindow* mapWindow = frame->MdiArea()->activeSubWindow();
    ASSERT_NE(mapWindow, nullptr);
    auto* map = qobject_cast<CTALDataFrame*>(mapWindow->widget());
    ASSERT_NE(map, nullptr);
    CZuRpmFunc* roofMap = map->GetTALDocument()->GetFunction();
    ASSERT_NE(roofMap, nullptr);
    EXPECT_EQ(roofMap->GetName(), sample::kExcited);
    EXPECT_EQ(roofMap, experiment->GetAveragedData());
    double largest = 0.0;
    for (int r = 0; r < roofMap->GetRpmCount(); ++r)
        for (int b = 0; b < roofMap->GetFreqCount(); ++b)
            largest = std::max(largest, roofMap->DataValue(r, b));
    EXPECT_GT(largest, 0.0);
    frame->MdiArea()->tileSubWindows();
    road::GrabResult(*frame, "sample-measurement-experiment");

    // Open on the data set: its measurement file in a measurement window.
    road::Select(*frame, daqIndex, dataSet);
    {
        CScriptedPrompts prompts;
        ASSERT_TRUE(Click(*frame, ID_OPEN_SELECTION));
        EXPECT_EQ(prompts.Count(), 0u) << road::Shown(prompts);
    }
    ASSERT_EQ(CExpFrame::OpenFrames().size(), before + 2);
    EXPECT_GT(RoofPeak(*CExpFrame::OpenFrames().back()), 0.0f);
    // With the measurement window in front, the tree's aliases of its commands read as those.
    frame->UpdateCommandUI();
    for (const auto& [alias, text] : {std::pair{1214, "Gain Setting"}, std::pair{1215, "Start Measurement"},
                                      std::pair{1216, "Acceleration RPM"}, std::pair{1217, "Data Check"}}) {
        QAction* action = frame->Action(alias);
        ASSERT_NE(action, nullptr) << alias;
        EXPECT_EQ(action->text().remove(QLatin1Char('&')).toStdString(), text) << alias;
    }

    // Measured Data Management over the experiment: the first row selected, Properties enabled
    // for it, Open Data opens the row's measured data.
    road::Select(*frame, daqIndex, experiment);
    ASSERT_TRUE(Click(*frame, ID_DAQ_DATA_MANAGEMENT));
    CDlgDaqDataManagement* management = CDlgDaqDataManagement::GetInstance();
    ASSERT_NE(management, nullptr);
    ASSERT_EQ(management->GetSelectedDataSet(), dataSet);
    EXPECT_TRUE(management->CommandButton(CDlgDaqDataManagement::ID_DATA_SET_PROPERTIES)->isEnabled());
    QPushButton* open = management->CommandButton(CDlgDaqDataManagement::ID_OPEN_DATA);
    ASSERT_TRUE(open->isEnabled());
    {
        CScriptedPrompts prompts;
        open->click();
        EXPECT_EQ(prompts.Count(), 0u) << road::Shown(prompts);
    }
    ASSERT_EQ(CExpFrame::OpenFrames().size(), before + 3);
    CExpFrame* fromManagement = CExpFrame::OpenFrames().back();
    EXPECT_GT(RoofPeak(*fromManagement), 0.0f);
    // Properties of the selected row: the experiment property dialog over that data set.
    management->CommandButton(CDlgDaqDataManagement::ID_DATA_SET_PROPERTIES)->click();
    CDlgExpProperty* properties = CDlgExpProperty::GetInstance(dataSet);
    ASSERT_NE(properties, nullptr);
    road::GrabResult(*properties, "sample-measurement-properties");
    CDlgExpProperty::DestroyInstance(dataSet);
    road::GrabResult(*management, "sample-measurement-data-management");
    CDlgDaqDataManagement::DestroyInstance();

    // The roof's first channel drawn in the window opened last.
    CExcitation* roof = fromManagement->GetDocument()->GetProject()->FindExcitation(sample::kExcited);
    CExpData* first = ElementCast<CExpDataSet>(roof->GetChild(0))->FindByLocalPoint(0);
    fromManagement->TreeView()->SelectElement(first);
    fromManagement->GetDocument()->UpdateAllViews(fromManagement->TreeView(), CExpDoc::kHintSelect, first);
    EXPECT_TRUE(fromManagement->DataView()->HasChart());
    if (QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(fromManagement->parentWidget()))
        sub->showMaximized();
    road::GrabResult(*frame, "sample-measurement-stored");
    frame->MdiArea()->tileSubWindows();
    // The opened windows in Japanese, and back.
    EXPECT_EQ(road::SwitchLanguageThroughTheMenu(*frame, "sample-measurement").join(QLatin1Char('\n')).toStdString(),
              "");
}

// A measurement file cut short: the box says which file is not valid, and below it what the
// reader found; no window opens.
TEST_F(SampleMeasurementRoad, ACutFileIsRefusedWithTheReadersReason)
{
    const std::string path = CDAQIO::GetDaqFilePath(dataSet);
    ASSERT_TRUE(fs::exists(path)) << path;
    {
        std::ifstream in(path, std::ios::binary);
        const std::string whole((std::istreambuf_iterator<char>(in)), {});
        in.close();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << whole.substr(0, whole.size() / 2);
    }
    const size_t before = CExpFrame::OpenFrames().size();
    road::Select(*frame, daqIndex, dataSet);
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    ASSERT_TRUE(Click(*frame, ID_OPEN_SELECTION));
    // The window made for the data closes again once the refusal is told.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CExpFrame::OpenFrames().size(), before);
    ASSERT_EQ(prompts.Count(), 1u);
    const std::string head = FormatString(IDS_FILE_NOT_VALID, CDAQIO::GetDaqFileName(dataSet).c_str()) + "\n";
    EXPECT_EQ(prompts.Last().text.rfind(head, 0), 0u) << prompts.Last().text;
    EXPECT_GT(prompts.Last().text.size(), head.size()) << prompts.Last().text;
}

namespace {
// The experiment's averaged map of one of its subsystems, opened as a user opens it: Open on the
// experiment in the tree, the subsystem picked in the picker. The map window in front.
CTALDataFrame* OpenExperimentMap(CMainFrame& frame, int daqIndex, CTALVOExp* experiment, const char* subsystem)
{
    road::Select(frame, daqIndex, experiment);
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    dialogs.Then(road::PickSubsystem(subsystem));
    EXPECT_TRUE(Click(frame, ID_OPEN_SELECTION));
    EXPECT_EQ(prompts.Count(), 0u) << road::Shown(prompts);
    QMdiSubWindow* window = frame.MdiArea()->activeSubWindow();
    return window ? qobject_cast<CTALDataFrame*>(window->widget()) : nullptr;
}

// The number a table or list shows in a cell.
double CellNumber(const QAbstractItemModel& model, int row, int col)
{
    bool number = false;
    const double v = model.data(model.index(row, col)).toString().toDouble(&number);
    EXPECT_TRUE(number) << model.data(model.index(row, col)).toString().toStdString();
    return v;
}

int RowOf(const std::vector<double>& axis, double value)
{
    for (size_t i = 0; i < axis.size(); ++i)
        if (std::fabs(axis[i] - value) < 1e-6 * std::max(1.0, value))
            return static_cast<int>(i);
    return -1;
}
} // namespace

// The experiment's averaged map names the quantity of its subsystem, as the map of a data set
// does: the roof (a structure) a velocity, the cabin (a cavity) a pressure, in the title, the grid
// heading, the chart's title and axes, with the values in the dB of that quantity; the cabin's
// sound is offered flat or A-weighted. The choice of RPM across turns table and chart over RPM.
TEST_F(SampleMeasurementRoad, TheExperimentsMapIsLabelledByItsQuantityAndTurnsOverRpm)
{
    struct Case
    {
        const char* subsystem;
        const char* quantity;
        const char* unit;
        double reference; // of the level in dB
        bool sound;       // offered A-weighted
        const char* image;
    };
    const Case cases[] = {
        {sample::kExcited, "Velocity", "dB (ref=1m/s)", 1.0, false, "experiment-map-roof-rpm-across"},
        {sample::kResponse, "Pressure", "dB (ref=2E-5Pa)", 2e-5, true, "experiment-map-cabin-rpm-across"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subsystem);
        CTALDataFrame* window = OpenExperimentMap(*frame, daqIndex, experiment, c.subsystem);
        ASSERT_NE(window, nullptr);
        CZuRpmFunc* map = window->GetTALDocument()->GetFunction();
        ASSERT_NE(map, nullptr);
        ASSERT_EQ(map, experiment->GetAveragedData());
        const CZuRpmFunc* measured = dataSet->FindRpmFuncByName(c.subsystem);
        ASSERT_NE(measured, nullptr);
        auto button = [window](int id) { return qobject_cast<QAbstractButton*>(window->Control(id)); };
        ASSERT_NE(button(CQMXDataFrame::IDC_NO_WEIGHTING), nullptr);
        EXPECT_EQ(button(CQMXDataFrame::IDC_NO_WEIGHTING)->isEnabled(), c.sound);
        if (c.sound)
            button(CQMXDataFrame::IDC_NO_WEIGHTING)->click();
        const std::string heading = std::string(c.quantity) + " [" + c.unit + "]";

        EXPECT_EQ(window->windowTitle().toStdString().rfind(std::string(c.subsystem) + " - " + c.quantity, 0), 0u)
            << window->windowTitle().toStdString();
        const QAbstractItemModel& grid = *window->GetTableView()->model();
        EXPECT_EQ(grid.headerData(0, Qt::Horizontal).toString().toStdString(), heading);
        CTALDataGraphView* chart = window->GetGraphView();
        EXPECT_EQ(chart->Title().toStdString(), std::string(c.quantity) + " [" + c.subsystem + "]");
        EXPECT_EQ(chart->yAxis->label().toStdString(), heading);
        EXPECT_EQ(chart->xAxis->label().toStdString(), "Freq. [Hz]");
        EXPECT_EQ(window->GetSelectView()->model()->headerData(0, Qt::Horizontal).toString().toStdString(), "RPM");

        // 1000 RPM, the 100 Hz band: the measured value in dB of the quantity (one data set: the
        // average is its value).
        const int r = RowOf(map->GetRpmArray(), 1000.0);
        const int k = RowOf(map->GetFreqArray(), 100.0);
        ASSERT_GE(r, 0);
        ASSERT_GE(k, 0);
        const double value = measured->DataValue(RowOf(measured->GetRpmArray(), 1000.0), k);
        ASSERT_GT(value, 0.0);
        const double level = 20.0 * std::log10(value / c.reference);
        window->GetSelectView()->SelectSubset(r);
        EXPECT_NEAR(CellNumber(grid, k, 0), level, 0.006);

        // RPM across: the list holds the bands, the table and the chart run over RPM.
        ASSERT_NE(button(CQMXDataFrame::IDC_AXIS_RPM), nullptr);
        button(CQMXDataFrame::IDC_AXIS_RPM)->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(window->GetSelectView()->model()->headerData(0, Qt::Horizontal).toString().toStdString(),
                  "Freq. [Hz]");
        EXPECT_EQ(window->GetSelectView()->model()->rowCount(), map->GetFreqCount());
        EXPECT_EQ(grid.rowCount(), map->GetRpmCount());
        EXPECT_EQ(grid.headerData(0, Qt::Horizontal).toString().toStdString(), heading);
        EXPECT_EQ(chart->xAxis->label().toStdString(), "RPM");
        window->GetSelectView()->SelectSubset(k);
        EXPECT_EQ(grid.headerData(r, Qt::Vertical).toString().toDouble(), 1000.0);
        EXPECT_NEAR(CellNumber(grid, r, 0), level, 0.006);

        // Sound A-weighted: at 100 Hz 19.1 dB below the flat level.
        if (c.sound) {
            button(CQMXDataFrame::IDC_A_WEIGHTING)->click();
            const std::string weighted = std::string(c.quantity) + " [" + c.unit + " (A-Weight)]";
            EXPECT_EQ(grid.headerData(0, Qt::Horizontal).toString().toStdString(), weighted);
            EXPECT_EQ(chart->yAxis->label().toStdString(), weighted);
            EXPECT_NEAR(CellNumber(grid, r, 0), level - 19.1, 0.06);
        }
        if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
            sub->resize(900, 560);
        road::GrabResult(*window, c.image);
        EXPECT_EQ(road::SwitchLanguageThroughTheMenu(*frame, c.image).join(QLatin1Char('\n')).toStdString(), "");

        // Back to frequency across, as the next window starts.
        button(CQMXDataFrame::IDC_AXIS_FREQ)->click();
    }
}
