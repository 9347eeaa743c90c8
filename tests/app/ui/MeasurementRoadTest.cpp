// The measurement road walked as a new user walks it, from an empty main frame: a new project, the
// sensor catalogue and the channel assignment of the simulated units imported, a DAQ project with
// the units connected, the channels found by the measurement by subsystem, a run-up measured in the
// measurement window with its monitor and progress, the measurement file saved and the DAQ project
// filled, and the measured data opened again from the project tree and from data management.
#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QAbstractItemView>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "../../experiments/ui/SimUnits.h"
#include "SampleProject.h"
#include "acquisition/BlixChDB.h"
#include "acquisition/DAQ.h"
#include "acquisition/DAQIO.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgDaqDataManagement.h"
#include "acquisition/ui/DlgDaqDataCheck.h"
#include "acquisition/ui/DlgRealTimeMonitor.h"
#include "acquisition/ui/FormProgress.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/FrameCommands.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "experiments/ui/DaqProjectCommands.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "platform/ui/ProjectTreeModel.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "support/WidgetShot.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/DlgExpProperty2.h"
#include "experiments/ui/ExpDataView.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"
#include "experiments/ui/SensorCommands.h"
#include "experiments/ui/SensorFrame.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/ui/ZuChart.h"
#include "spectral/ZuRpmFunc.h"
#include "platform/win/ZuRegOptions.h"
#include "support/RoadSteps.h"
#include "wiring/WindowServices.h"

namespace {
namespace fs = std::filesystem;
using road::Click;
using road::Shown;

constexpr int ID_DAQ_DATA_MANAGEMENT = 1091;

std::string DialogsShown(const CScriptedDialogs& dialogs)
{
    std::string text;
    for (const CScriptedDialogs::Shown& d : dialogs.Records())
        text += d.className + " " + std::to_string(d.templateId) + "\n";
    return text;
}

// Every message box answered with OK.
std::optional<PromptAnswer> AnswerOK(const PromptRecord&)
{
    PromptAnswer answer;
    answer.result = IDOK;
    return answer;
}

CTALVOExp* FirstExperiment(CDaqProject& daq)
{
    for (int i = 0; i < daq.GetChildCount(); ++i)
        if (auto* experiment = DynamicDowncast<CTALVOExp>(daq.GetChild(i)))
            return experiment;
    return nullptr;
}

// The functions a run-up's data set holds after its calculation with order tracking on.
std::vector<std::string> MeasuredFunctionNames()
{
    std::vector<std::string> names;
    for (const char* subsystem : {sample::kExcited, sample::kResponse}) {
        names.push_back(subsystem);
        names.push_back(FormatString(IDS_CHANNEL_LEVELS, subsystem));
        names.push_back(FormatString(IDS_ORDER_LEVELS, subsystem));
    }
    return names;
}

std::string ChildNames(const CMElement& element)
{
    std::string text;
    for (int i = 0; i < element.GetChildCount(); ++i)
        text += "[" + element.GetChild(i)->GetName() + "]";
    return text;
}

// The largest number a table of the window shows outside its RPM, band and order headings.
double LargestShown(QWidget* window)
{
    double largest = 0.0;
    for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* model = view->model();
        for (int c = 0; model && c < model->columnCount(); ++c) {
            const QString header = model->headerData(c, Qt::Horizontal).toString();
            if (header.startsWith(QStringLiteral("RPM")) || header.startsWith(QStringLiteral("Band")))
                continue;
            for (int r = 0; r < model->rowCount(); ++r) {
                bool number = false;
                const double v = model->data(model->index(r, c)).toString().toDouble(&number);
                if (number)
                    largest = std::max(largest, std::fabs(v));
            }
        }
    }
    return largest;
}

CDAQExperiment* FirstDataSet(CTALVOExp& experiment)
{
    for (int i = 0; i < experiment.GetChildCount(); ++i)
        if (auto* set = DynamicDowncast<CDAQExperiment>(experiment.GetChild(i)))
            return set;
    return nullptr;
}
} // namespace

TEST(MeasurementRoad, NewProjectChannelsRunUpSavedAndOpenedAgain)
{
    const fs::path built = fs::path(ORVEX_BINARY_DIR) / "samples";
    if (!fs::exists(built / sample::kChannelFile) || !fs::exists(built / sample::kSensorFile))
        GTEST_SKIP() << "no sample files were built";
    road::StartProgram();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CMainFrame frame;
    road::ShowFrame(frame);
    road::NewProjectFromSample(frame, dir.path(), QStringLiteral("MeasuredCar"));
    ASSERT_NE(frame.GetDocument(), nullptr);
    CTALVOProject& container = frame.GetDocument()->GetTALVOProject();

    // A new user's program has no unit connected yet (an earlier test may have left some).
    CSimUnits::DisconnectProgramUnits();
    // The simulated system the connection dialog finds: units 00001-00008 on one address.
    WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.1", "boards=4+4; serial=1; address=10.0.0.1");
    WriteProfileString("QMX", "IP", "10.0.0.1");
    struct Disconnect
    {
        ~Disconnect() { CSimUnits::DisconnectProgramUnits(); }
    } disconnect;

    // View > Sensors, then the sensor window's import: the catalogue the channels name.
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDYES).ChooseFile((built / sample::kSensorFile).string());
        ASSERT_TRUE(Click(frame, ID_SENSOR_VIEW));
        CSensorFrame* sensors = CSensorFrame::GetInstance();
        ASSERT_NE(sensors, nullptr);
        ASSERT_TRUE(sensors->OnCommand(ID_SENSOR_IMPORT));
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
        EXPECT_NE(container.GetSensorProject()->FindSensor(sample::kMicrophoneId), nullptr);
    }

    // Project > New DAQ project, measured here: the units connected, the settings confirmed.
    {
        CScriptedPrompts prompts;
        prompts.responder = AnswerOK;
        CScriptedDialogs dialogs;
        road::AnswerNewMeasuredDaqProject(dialogs);
        ASSERT_TRUE(Click(frame, CFrameCommands::ID_NEW_DAQ_PROJECT));
        EXPECT_EQ(dialogs.Unexpected(), 0u) << DialogsShown(dialogs);
    }
    int daqIndex = -1;
    CDaqProject* daq = road::FirstDaqProject(container, daqIndex);
    ASSERT_NE(daq, nullptr);
    ASSERT_NE(CDAQ::GetMultiInterface(), nullptr);
    ASSERT_GT(CDAQ::GetMultiInterface()->GetUnitCount(), 0) << "connected";

    // Project > Acquisition unit channels: the assignment of the units the connection reported.
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile((built / sample::kChannelFile).string()).Answer(IDOK);
        ASSERT_TRUE(Click(frame, CFrameCommands::ID_BLIX_CHANNEL_EXCHANGE));
        ASSERT_FALSE(prompts.Records().empty());
        EXPECT_EQ(prompts.Last().text.find("fail"), std::string::npos) << Shown(prompts);
    }
    EXPECT_EQ(container.GetBlixChDB()->GetItemList()->GetSize(), 3);

    // View > Target and sources: the cabin is the target, the roof feeds it; the target is the
    // reference of every measurement.
    ASSERT_NO_FATAL_FAILURE(road::SetTargetAndSource(frame, sample::kResponse, sample::kExcited));

    // Order tracking is on, as for an engineer who analyses orders: the run gets maps over order.
    CZuRegOptions options(GetOptionsKeyPath().c_str());
    ASSERT_TRUE(options.Open());
    ASSERT_TRUE(options.SetDWORD(LoadString(IDS_OPT_ORDER_TRACKING).c_str(), 1));

    // The measurement window runs on units whose time the test moves on.
    CSimUnits units(1);
    CExpFrame* measuring = nullptr;
    road::MeasureOn(frame, units.Daq(), measuring);

    // View > Measurement by subsystem over the DAQ project: the channels of both subsystems found.
    road::Select(frame, daqIndex, daq);
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.PressCancel(); // the units are not initialised again
        ASSERT_TRUE(Click(frame, CDaqProjectCommands::ID_MEASURE_BY_SUBSYSTEM));
        CDlgExpProperty2* dialog = CDlgExpProperty2::GetInstance(&frame);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(prompts.Count(), 0u) << "no search report: " << Shown(prompts);
        ASSERT_EQ(dialog->List()->rowCount(), 2);
        for (int row = 0; row < 2; ++row)
            EXPECT_GT(dialog->List()->item(row, 2)->text().toInt(), 0) << "channels of row " << row;
        dialog->Data().target->noPictureCheck = 1;
        dialog->PressOK();
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
        EXPECT_EQ(dialogs.Unexpected(), 0u) << DialogsShown(dialogs);
    }
    ASSERT_NE(measuring, nullptr) << "the measurement window opened";
    CExpDoc* doc = measuring->GetDocument();
    ASSERT_NE(doc->GetProject(), nullptr);

    // The run-up: the monitor from the window's menu, then Start Measurement. The sampling window
    // waits with the units armed; nothing is sampled until the user presses its Start.
    ASSERT_TRUE(measuring->OnCommand(CExpTreeView::ID_REAL_TIME_MONITOR));
    CDlgRealTimeMonitor* monitor = CDlgRealTimeMonitor::GetInstance();
    ASSERT_NE(monitor, nullptr);
    {
        CScriptedPrompts prompts;
        prompts.responder = AnswerOK;
        ASSERT_TRUE(measuring->IsCommandEnabled(CExpTreeView::ID_START_RUN));
        ASSERT_TRUE(measuring->OnCommand(CExpTreeView::ID_START_RUN));
        ASSERT_TRUE(QTest::qWaitFor([] { return CFormProgress::GetInstance() != nullptr; }, 5000)) << "progress shown";
        QPointer<CFormProgress> form(CFormProgress::GetInstance());
        units.Settle();
        // Start is there at once; the window says "<< Start >>" when its poll finds every unit ready.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return form && form->StartButton()->isEnabled() && form->StatusText() == "<< Start >>"; }, 5000))
            << "ready";
        units.AdvanceUs(3000000);
        QTest::qWait(0);
        EXPECT_EQ(units.Daq()->GetLiveSampleCount(), 0) << "sampled before Start";
        EXPECT_TRUE(doc->IsRunActive());
        EXPECT_FALSE(form->StopButton()->isEnabled());
        EXPECT_EQ(form->TimeText(), "Sampling Time: 0.0 sec");
        EXPECT_EQ(form->StatusText(), "<< Start >>");

        QTest::mouseClick(form->StartButton(), Qt::LeftButton);
        EXPECT_TRUE(form->StopButton()->isEnabled()) << "Stop during the run";
        EXPECT_FALSE(form->StartButton()->isEnabled());
        // The sampling time counts, the bar and the monitor's engine speed follow the run.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                units.AdvanceClocksUs(20000);
                const QCPGraph* rpm = monitor->Chart()->Curve(0);
                return form && form->TimeText() != "Sampling Time: 0.0 sec" && form->ProgressBar()->value() > 100 &&
                       rpm && rpm->dataCount() > 3;
            },
            10000))
            << (form ? form->TimeText() + " " + std::to_string(form->ProgressBar()->value()) : std::string("no form"))
            << " curve points " << (monitor->Chart()->Curve(0) ? monitor->Chart()->Curve(0)->dataCount() : -1)
            << " live " << units.Daq()->GetLiveSampleCount();
        road::GrabResult(*form, "measurement-sampling");
        road::GrabResult(*monitor, "measurement-monitor");
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                units.AdvanceUs(20000);
                return !doc->IsRunActive();
            },
            20000));
        EXPECT_EQ(form, nullptr) << "the sampling window goes with the data";
        EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);
    }
    EXPECT_FALSE(doc->IsModified()) << "saved";
    // The monitor drew the run-up: its engine speed rose over the run.
    const QCPGraph* rpm = monitor->Chart()->Curve(0);
    ASSERT_NE(rpm, nullptr);
    EXPECT_GT((rpm->data()->constEnd() - 1)->value, rpm->data()->constBegin()->value + 1000.0);
    // The first measurement with the project's gains clips; the data check says what to do.
    {
        CDlgDaqDataCheck* check = CDlgDaqDataCheck::GetInstance();
        ASSERT_NE(check, nullptr) << "the data check follows the run";
        EXPECT_TRUE(check->Advice()->isVisible());
        EXPECT_NE(check->Advice()->text().indexOf(QStringLiteral("Run Gain Setting")), -1)
            << check->Advice()->text().toStdString();
        EXPECT_EQ(GrabAndCheckLayout(*check, QStringLiteral("roads"), QStringLiteral("measurement-data-check"))
                      .join(QLatin1Char('\n'))
                      .toStdString(),
                  "");
    }
    CDlgDaqDataCheck::DestroyInstance();
    CDlgRealTimeMonitor::DestroyInstance();

    // The DAQ project holds the experiment, its data set has its measurement file.
    CTALVOExp* experiment = FirstExperiment(*daq);
    ASSERT_NE(experiment, nullptr);
    CDAQExperiment* dataSet = FirstDataSet(*experiment);
    ASSERT_NE(dataSet, nullptr);
    const std::string file = CDAQIO::GetDaqFilePath(dataSet);
    EXPECT_TRUE(fs::exists(file)) << file;
    GetTALVOApp().SetDAQSystemViewOpener([&](int checkUnsaved) { return frame.OpenDAQSystemView(checkUnsaved); });
    const size_t before = CExpFrame::OpenFrames().size();

    // Double-click on the experiment in the tree: its stored data in a measurement window.
    road::Select(frame, daqIndex, experiment);
    {
        // The picker of the experiment's map beside the stored data: this road looks at the data.
        CScriptedDialogs picker;
        picker.PressCancel();
        ASSERT_TRUE(Click(frame, ID_OPEN_SELECTION));
    }
    ASSERT_EQ(CExpFrame::OpenFrames().size(), before + 1);
    CExpFrame* stored = CExpFrame::OpenFrames().back();
    EXPECT_EQ(stored->GetDocument()->GetSavedFlag(), 1) << "stored data";

    // Project > Measured data management over the experiment: open measured data (3027).
    ASSERT_TRUE(Click(frame, ID_DAQ_DATA_MANAGEMENT));
    CDlgDaqDataManagement* management = CDlgDaqDataManagement::GetInstance();
    ASSERT_NE(management, nullptr);
    ASSERT_GE(management->List()->rowCount(), 1);
    management->SelectRow(0);
    ASSERT_TRUE(management->OnCommand(CDlgDaqDataManagement::ID_OPEN_DATA));
    EXPECT_EQ(CExpFrame::OpenFrames().size(), before + 2);
    CDlgDaqDataManagement::DestroyInstance();

    // The roof's first channel in the window opened last: what the units measured, drawn.
    CExpFrame* shown = CExpFrame::OpenFrames().back();
    CExpProject* measured = shown->GetDocument()->GetProject();
    ASSERT_NE(measured, nullptr);
    CExcitation* roof = measured->FindExcitation(sample::kExcited);
    ASSERT_NE(roof, nullptr);
    ASSERT_GE(roof->GetChildCount(), 1);
    auto* set = ElementCast<CExpDataSet>(roof->GetChild(0));
    ASSERT_NE(set, nullptr);
    CExpData* first = set->FindByLocalPoint(0);
    ASSERT_NE(first, nullptr);
    ASSERT_GT(first->GetSampleCount(), 0);
    float peak = 0.0f;
    for (float v : first->GetSamples())
        peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.0f);
    shown->TreeView()->SelectElement(first);
    shown->GetDocument()->UpdateAllViews(shown->TreeView(), CExpDoc::kHintSelect, first);
    EXPECT_TRUE(shown->DataView()->HasChart());
    if (QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(shown->parentWidget()))
        sub->showMaximized();
    road::GrabResult(frame, "measurement-road");
    // With the measurement's windows open, the language changes through the menu and back.
    EXPECT_EQ(road::SwitchLanguageThroughTheMenu(frame, "measurement-road").join(QLatin1Char('\n')).toStdString(), "");
    CFormProgress::DestroyInstance();
    GetTALVOApp().SetDAQSystemViewOpener({});

    // The run's data set holds what the calculation makes of it.
    for (const std::string& name : MeasuredFunctionNames())
        EXPECT_NE(dataSet->FindOneChild(name), nullptr) << name << " in " << ChildNames(*dataSet);

    // The measurement windows closed as a user closes them: the measuring one asks whether to
    // measure on (No) and then offers the comparison of the data, closed unused.
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDNO);
        CScriptedDialogs dialogs;
        dialogs.PressCancel();
        const std::vector<CExpFrame*> open = CExpFrame::OpenFrames();
        for (CExpFrame* window : open) {
            if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
                sub->close();
            else
                window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
    }
    EXPECT_TRUE(CExpFrame::OpenFrames().empty());
    EXPECT_EQ(dataSet->GetUseFlag(), 1) << "measured data are used";

    // File > Save, then File > Open of the same file.
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile((fs::path(dir.path().toStdString()) / "MeasuredCar.orv").string());
        ASSERT_TRUE(Click(frame, ID_SAVE_PROJECT));
        ASSERT_FALSE(frame.GetDocument()->IsModified()) << Shown(prompts);
    }
    const std::string saved = frame.GetDocument()->GetPathName();
    ASSERT_FALSE(saved.empty());
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile(saved);
        ASSERT_TRUE(Click(frame, ID_FILE_OPEN));
        ASSERT_NE(frame.GetDocument(), nullptr) << Shown(prompts);
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
    }
    CTALVOProject& reopened = frame.GetDocument()->GetTALVOProject();
    daq = nullptr;
    for (int i = 0; i < reopened.GetProjectCount() && !daq; ++i)
        if ((daq = DynamicDowncast<CDaqProject>(reopened.GetProject(i))))
            daqIndex = i;
    ASSERT_NE(daq, nullptr);
    experiment = FirstExperiment(*daq);
    ASSERT_NE(experiment, nullptr);
    dataSet = FirstDataSet(*experiment);
    ASSERT_NE(dataSet, nullptr);

    // In the project window below the data set: the maps over RPM and over order and the channel
    // levels; each opens in its window, which shows the measured levels.
    frame.TreeWindow()->SetActiveIndex(daqIndex);
    CMTreeCtrlEx* tree = frame.TreeWindow()->GetActiveTree();
    ASSERT_NE(tree, nullptr);
    const std::vector<std::string> names = MeasuredFunctionNames();
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        CMElement* function = dataSet->FindOneChild(names[i]);
        ASSERT_NE(function, nullptr) << ChildNames(*dataSet);
        ASSERT_TRUE(tree->Model()->IndexOf(function).isValid()) << "in the tree";
        road::Select(frame, daqIndex, function);
        ASSERT_TRUE(Click(frame, ID_OPEN_SELECTION));
        QMdiSubWindow* window = frame.MdiArea()->activeSubWindow();
        ASSERT_NE(window, nullptr);
        window->resize(900, 600);
        QCoreApplication::processEvents();
        const double shown = LargestShown(window->widget());
        EXPECT_GT(shown, 0.0) << "values in the window";
        const std::string grab = "measured-" + std::to_string(i);
        road::GrabResult(*window, grab.c_str());
    }
    frame.MdiArea()->tileSubWindows();
    QCoreApplication::processEvents();
    road::GrabResult(frame, "measured-maps");
    EXPECT_EQ(road::SwitchLanguageThroughTheMenu(frame, "measured-maps").join(QLatin1Char('\n')).toStdString(), "");

    // Calculation Options and Recalculation... with the dialog's defaults: a data set without its
    // maps gets them again; one whose measurement file is gone says why it has none.
    ASSERT_TRUE(dataSet->FindRpmFuncOfFirstName());
    frame.MdiArea()->closeAllSubWindows();
    dataSet->DeleteChild(dataSet->FindRpmFuncOfFirstName(), 1);
    road::Select(frame, daqIndex, daq);
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.PressOK();
        ASSERT_TRUE(Click(frame, CFrameCommands::ID_DAQ_CALC_OPTIONS_RECALC));
        EXPECT_EQ(dialogs.Unexpected(), 0u) << DialogsShown(dialogs);
        ASSERT_FALSE(prompts.Records().empty());
        EXPECT_EQ(prompts.Last().stringId, IDS_CALCULATION_FINISHED) << Shown(prompts);
    }
    EXPECT_NE(dataSet->FindRpmFuncOfFirstName(), nullptr) << "calculated again";
    dataSet->DeleteChild(dataSet->FindRpmFuncOfFirstName(), 1);
    const std::string measurementFile = CDAQIO::GetDaqFilePath(dataSet);
    ASSERT_TRUE(fs::remove(measurementFile));
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.PressOK();
        ASSERT_TRUE(Click(frame, CFrameCommands::ID_DAQ_CALC_OPTIONS_RECALC));
        ASSERT_FALSE(prompts.Records().empty());
        EXPECT_EQ(prompts.Last().stringId, IDS_RECALC_ERRORS);
        EXPECT_NE(prompts.Last().text.find(CDAQIO::GetDaqFileName(dataSet)), std::string::npos) << Shown(prompts);
    }
    options.DeleteValue(LoadString(IDS_OPT_ORDER_TRACKING).c_str());
}
