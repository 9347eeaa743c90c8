// No window outlives what it shows. Every kind of window the program opens over a document, an
// element or a run is opened on the sample project and then closed in each order a user can close
// things: the window first, File > Close, the element it shows deleted, its project removed, another
// document opened, and for the measurement window each of these while it measures. Afterwards the
// window is gone and nothing of it is reached any more (the address sanitizer build runs this too).
// Windows that run an operation under a progress window (the band solve, the copy into the measured
// data) are tried in each order while the operation runs as well: the close is refused or waits
// for the operation, and the progress window goes with it.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../../experiments/ui/SimUnits.h"
#include "SampleProject.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgDaqDataManagement.h"
#include "acquisition/ui/FormProgress.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "experiments/ui/ExpDataComparison.h"
#include "app/ModelProject.h"
#include "app/ResultCommands.h"
#include "app/ui/DlgCalcProgress.h"
#include "app/ui/DlgInputPowerData.h"
#include "platform/ui/DlgProgress.h"
#include "app/ui/MainFrame.h"
#include "experiments/DAQConfig.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"
#include "experiments/ui/SensorFrame.h"
#include "models/ASEAModelData.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "planning/ui/DlgWizDAQPPMenu.h"
#include "planning/ui/ZuDlgWizard.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuTableData.h"
#include "platform/ui/ZuTableDataFrame.h"
#include "platform/elements/ElementType.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/ZuRpmFunc.h"
#include "support/RoadSteps.h"
#include "uff/ExtUFDaqProject.h"
#include "acquisition/ui/DlgExpDataComp.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "views/ui/DlgSrcTrgDefinition.h"

namespace {
namespace fs = std::filesystem;

constexpr int ID_DAQ_DATA_MANAGEMENT = 1091;
constexpr int kChannels = 32;
constexpr int kRpmChannel = 15;

enum class Close
{
    WindowFirst,
    FileClose,
    ElementDeleted,
    ProjectRemoved,
    OtherDocument,
};

const char* Name(Close how)
{
    switch (how) {
    case Close::WindowFirst:
        return "the window first";
    case Close::FileClose:
        return "File > Close";
    case Close::ElementDeleted:
        return "the element deleted";
    case Close::ProjectRemoved:
        return "the project removed";
    case Close::OtherDocument:
        return "another document opened";
    }
    return "";
}

// The sample project (model 0, DAQ 1, analysis 2) in a shown main frame; every message box is
// answered No (no save, no measuring on), every dialog run modally is cancelled.
struct CSampleFrame
{
    CSampleFrame()
    {
        road::StartProgram();
        prompts.responder = [](const PromptRecord&) {
            PromptAnswer answer;
            answer.result = IDNO;
            return answer;
        };
        auto built = std::make_unique<CTALVODoc>();
        std::string error;
        path = dir.filePath("Sample.orv").toStdString();
        EXPECT_TRUE(sample::Build(*built, fs::path(ORVEX_SOURCE_DIR) / "samples", path, &error)) << error;
        doc = built.get();
        road::ShowFrame(frame);
        frame.AttachDocument(std::move(built));
        doc->SetModifiedFlag(0);
    }

    CTALVOProject& Container() { return doc->GetTALVOProject(); }
    CDaqProject* Daq() { return DynamicDowncast<CDaqProject>(Container().GetProject(1)); }
    CTALVOExp* Experiment()
    {
        CDaqProject* daq = Daq();
        for (int i = 0; daq && i < daq->GetChildCount(); ++i)
            if (auto* experiment = DynamicDowncast<CTALVOExp>(daq->GetChild(i)))
                return experiment;
        return nullptr;
    }
    // Selects an element in its project's tree.
    void Select(CMElement* element)
    {
        for (int i = 0; i < Container().GetProjectCount(); ++i)
            for (CMElement* e = element; e; e = e->GetParent())
                if (e == Container().GetProject(i)) {
                    road::Select(frame, i, element);
                    return;
                }
    }

    QTemporaryDir dir;
    std::string path;
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    CMainFrame frame;
    CTALVODoc* doc = nullptr;
};

// What a row opened: its windows, the element they show and the project that holds it.
struct COpened
{
    std::vector<QPointer<QWidget>> windows;
    CMElement* element = nullptr;
    CMElement* project = nullptr;
    bool measures = false; // a run was started
    // An operation the window runs under a progress window, handling the window events itself
    // until it returns; the order is tried once while it runs.
    std::function<void()> operation;
};

CZuRpmFunc* FirstMap(CMElement* e)
{
    if (auto* map = DynamicDowncast<CZuRpmFunc>(e))
        return map;
    for (int i = 0; e && i < e->GetChildCount(); ++i)
        if (CZuRpmFunc* hit = FirstMap(e->GetChild(i)))
            return hit;
    return nullptr;
}

QWidget* Framed(QWidget* w)
{
    if (w && qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        return w->parentWidget();
    return w;
}

// The sample's DAQ project set up to measure a run-up on two simulated units: 32 channels with
// sensors S1..S32, the pulse on channel 15, the roof excited on the second unit's channels and the
// cabin responding on the first unit's.
CExpInfo PrepareRunUp(CSampleFrame& f)
{
    CTALVOProject& container = f.Container();
    container.SetSystemChannelCount(kChannels);
    CDAQConfig* config = f.Daq()->GetDAQConfig();
    config->SetSamplingFreq(25600.0f);
    config->SetRpmChannel(kRpmChannel);
    config->SetOption60(0);
    config->SetTimeSpan(0.5f);
    CSensorProject* sensors = container.GetSensorProject();
    for (int i = 1; i <= kChannels; ++i) {
        tagSENSORINFO info;
        info.ID = Format("LT%d", i);
        info.ChannelInfo.Channel = i - 1;
        info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
        info.ChannelInfo.Sensitivity = 10.0f;
        info.ChannelInfo.Scale = 10.0f;
        info.ChannelInfo.Coupling = 2;
        EXPECT_NE(sensors->AddSensor(info), nullptr);
    }
    CSensorGroup* reference = sensors->InsertGroup(0);
    CSensorGroup* excited = sensors->InsertGroup(1);
    for (int c = 0; c < 8; ++c)
        reference->SetMember({Format("LT%d", c + 1), 1, c, c, 0}, kChannels);
    for (int c = 16; c < kChannels; ++c)
        excited->SetMember({Format("LT%d", c + 1), 2, c - 16, c, 0}, kChannels);
    CExpInfo info;
    info.SetName(0, sample::kExcited);
    info.SetName(1, sample::kResponse);
    info.SetInt(0, 1);
    info.SetInt(1, 0);
    info.SetSensorGroup(0, *excited);
    info.SetSensorGroup(1, *reference);
    info.SetLabel("Run-up");
    return info;
}

// A measurement window of the main frame over the sample's DAQ project, on the simulated units;
// measuring: a run started and a few blocks of it measured, its sampling window open.
COpened OpenMeasurementWindow(CSampleFrame& f, CSimUnits& units, bool measuring)
{
    COpened opened;
    CExpInfo info = PrepareRunUp(f);
    auto* doc = dynamic_cast<CExpDoc*>(f.frame.OpenDAQSystemView(0));
    if (!doc || !doc->GetFrame())
        return opened;
    doc->SetDAQInterface(units.Daq());
    EXPECT_EQ(f.Daq()->OpenDAQSystemDoc(doc, {&info}), 1);
    EXPECT_EQ(doc->SetupChannels(), 1);
    opened.windows.push_back(Framed(doc->GetFrame()));
    opened.measures = measuring;
    opened.project = f.Daq();
    opened.element = doc->GetProject() && !doc->GetProject()->GetExperimentList().IsEmpty()
                         ? doc->GetProject()->GetExperimentList()[0]->GetParent()
                         : nullptr;
    if (!measuring)
        return opened;
    CExpFrame* window = doc->GetFrame();
    int blocks = 0;
    QObject::connect(window->TreeView(), &CExpTreeView::MessageHandled, window,
                     [&blocks](quint32 m) { blocks += m == WM_ZU_DAQ_DATA ? 1 : 0; });
    EXPECT_TRUE(window->OnCommand(CExpTreeView::ID_START_RUN));
    EXPECT_TRUE(QTest::qWaitFor([] { return CFormProgress::GetInstance() != nullptr; }, 5000));
    // The units wait armed until the user presses the sampling window's Start.
    units.Settle();
    EXPECT_TRUE(QTest::qWaitFor(
        [] {
            const CFormProgress* form = CFormProgress::GetInstance();
            return form && form->StartButton()->isEnabled() && form->StatusText() == "<< Start >>";
        },
        5000));
    if (CFormProgress* form = CFormProgress::GetInstance())
        QTest::mouseClick(form->StartButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            units.AdvanceUs(2000);
            return blocks >= 3;
        },
        10000));
    QObject::disconnect(window->TreeView(), &CExpTreeView::MessageHandled, window, nullptr);
    EXPECT_TRUE(doc->IsRunActive());
    opened.windows.push_back(CFormProgress::GetInstance());
    return opened;
}

// A comparison of the experiment's measured data (1080, or 1081 with its option).
COpened OpenComparison(CSampleFrame& f, bool localPoints)
{
    COpened opened;
    opened.element = f.Experiment();
    opened.project = f.Daq();
    f.Select(opened.element);
    CZuRegOptions options(GetOptionsKeyPath().c_str());
    if (localPoints && options.Open())
        options.SetDWORD(LoadString(IDS_OPT_EXP_COMMANDS).c_str(), 1);
    using Road = CExpDataComparison;
    EXPECT_TRUE(road::Click(f.frame, localPoints ? Road::ID_COMPARE_EXP_LP_DATA : Road::ID_COMPARE_EXP_DATA));
    if (localPoints)
        options.DeleteValue(LoadString(IDS_OPT_EXP_COMMANDS).c_str());
    if (localPoints)
        opened.windows.push_back(CDlgExpLPDataComp::GetInstance(&f.frame));
    else
        opened.windows.push_back(CDlgExpDataComp::GetInstance(&f.frame));
    return opened;
}

// The first element of a type in the sample's projects, with the project that holds it.
CMElement* FirstOfType(CSampleFrame& f, int type, CMElement*& project)
{
    const std::function<CMElement*(CMElement*)> find = [&find, type](CMElement* e) -> CMElement* {
        if (e->GetType() == type)
            return e;
        for (int i = 0; i < e->GetChildCount(); ++i)
            if (CMElement* found = find(e->GetChild(i)))
                return found;
        return nullptr;
    };
    for (int i = 0; i < f.Container().GetProjectCount(); ++i)
        if (CMElement* found = find(f.Container().GetProject(i))) {
            project = f.Container().GetProject(i);
            return found;
        }
    return nullptr;
}

struct CRow
{
    const char* kind;
    std::function<COpened(CSampleFrame&, CSimUnits&)> open;
    std::vector<Close> orders;
};

const std::vector<Close> kEveryOrder = {Close::WindowFirst, Close::FileClose, Close::ElementDeleted,
                                        Close::ProjectRemoved, Close::OtherDocument};
const std::vector<Close> kDocumentOrders = {Close::WindowFirst, Close::FileClose, Close::ProjectRemoved,
                                            Close::OtherDocument};

const std::vector<Close> kOperationOrders = {Close::WindowFirst, Close::FileClose, Close::OtherDocument};

// The input power data dialog of the sample's model, opened by its command in the solving mode, with
// a set of one power function; the operation is its Solve pressed.
COpened OpenInputPowerSolve(CSampleFrame& f)
{
    COpened opened;
    CModelProject* model = f.Container().GetModelProject();
    EXPECT_NE(model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
              nullptr);
    f.Select(model);
    EXPECT_TRUE(road::Click(f.frame, CResultCommands::ID_INPUT_POWER_DATA));
    CDlgInputPowerData* dialog = f.frame.TreeWindow()->InputPowerDialog();
    if (!dialog)
        return opened;
    dialog->OnNewSet();
    f.dialogs.Then([](CZuDialog& dlg) {
        auto* picker = dynamic_cast<CDlgSelectSubsystem*>(&dlg);
        const int at = picker ? picker->Combo()->findText("Roof") : -1;
        if (at < 0)
            return dlg.PressCancel();
        picker->Combo()->setCurrentIndex(at);
        return dlg.PressOK();
    });
    dialog->Button(CDlgInputPowerData::IDC_ADD_FUNCTION)->click();
    EXPECT_EQ(dialog->FunctionList()->count(), 1);
    opened.windows.push_back(dialog);
    opened.project = model;
    opened.operation = [dialog] { dialog->Button(IDOK)->click(); };
    return opened;
}

const std::vector<CRow>& Rows()
{
    static const std::vector<CRow> rows = {
        {"data window",
         [](CSampleFrame& f, CSimUnits&) {
             COpened opened;
             opened.element = FirstMap(f.Daq());
             opened.project = f.Daq();
             EXPECT_TRUE(GetTALVOApp().OpenDataView(opened.element));
             QMdiSubWindow* sub = f.frame.MdiArea()->activeSubWindow();
             opened.windows.push_back(sub);
             return opened;
         },
         kEveryOrder},
        // The experiment's averaged map belongs to the experiment without being one of its children:
        // it goes with the experiment, the project or the document.
        {"experiment's averaged map",
         [](CSampleFrame& f, CSimUnits&) {
             COpened opened;
             opened.element = f.Experiment();
             opened.project = f.Daq();
             CScriptedDialogs dialogs;
             dialogs.Then(road::PickSubsystem(sample::kExcited));
             EXPECT_TRUE(GetTALVOApp().OpenExpDataView(f.Experiment()));
             opened.windows.push_back(f.frame.MdiArea()->activeSubWindow());
             return opened;
         },
         kEveryOrder},
        {"result window (power contribution)",
         [](CSampleFrame& f, CSimUnits&) {
             COpened opened;
             std::string error;
             EXPECT_TRUE(sample::AddResults(*f.doc, &error)) << error;
             f.doc->AddProjectsToViews();
             opened.element = FirstOfType(f, ElementType::PowerContribution, opened.project);
             EXPECT_NE(opened.element, nullptr);
             EXPECT_TRUE(opened.element && GetTALVOApp().OpenDataView(opened.element));
             opened.windows.push_back(f.frame.MdiArea()->activeSubWindow());
             return opened;
         },
         kEveryOrder},
        {"experiment-data comparison (1080)", [](CSampleFrame& f, CSimUnits&) { return OpenComparison(f, false); },
         kEveryOrder},
        {"local-point data comparison (1081)", [](CSampleFrame& f, CSimUnits&) { return OpenComparison(f, true); },
         kEveryOrder},
        {"measured data management",
         [](CSampleFrame& f, CSimUnits&) {
             COpened opened;
             opened.element = f.Experiment();
             opened.project = f.Daq();
             f.Select(opened.element);
             EXPECT_TRUE(road::Click(f.frame, ID_DAQ_DATA_MANAGEMENT));
             opened.windows.push_back(CDlgDaqDataManagement::GetInstance());
             return opened;
         },
         kEveryOrder},
        {"sensor window",
         [](CSampleFrame& f, CSimUnits&) {
             COpened opened;
             EXPECT_TRUE(road::Click(f.frame, ID_SENSOR_VIEW));
             opened.windows.push_back(Framed(CSensorFrame::GetInstance()));
             return opened;
         },
         {Close::WindowFirst, Close::FileClose, Close::OtherDocument}},
        {"target and sources",
         [](CSampleFrame& f, CSimUnits&) {
             COpened opened;
             EXPECT_TRUE(road::Click(f.frame, ID_SRC_TRG_DEFINITION));
             opened.windows.push_back(CDlgSrcTrgDefinition::GetInstance());
             return opened;
         },
         {Close::WindowFirst, Close::FileClose, Close::OtherDocument}},
        {"planning menu",
         [](CSampleFrame& f, CSimUnits&) {
             COpened opened;
             CBaseProject* uf = f.Container().AddExtDaqProject(std::make_unique<CExtUFDaqProject>());
             f.doc->AddProjectsToViews();
             opened.project = uf;
             f.Select(uf);
             EXPECT_TRUE(road::Click(f.frame, ID_PLANNING_WIZARD));
             opened.windows.push_back(CDlgWizDAQPPMenu::GetInstance());
             return opened;
         },
         kDocumentOrders},
        {"input power data solving, with the calculation-progress window",
         [](CSampleFrame& f, CSimUnits&) { return OpenInputPowerSolve(f); }, kOperationOrders},
        {"table data window (an input power)",
         [](CSampleFrame& f, CSimUnits&) {
             COpened opened = OpenInputPowerSolve(f);
             opened.windows.clear();
             opened.operation = nullptr;
             CDlgInputPowerData* dialog = f.frame.TreeWindow()->InputPowerDialog();
             if (!dialog || dialog->FunctionList()->count() == 0)
                 return opened;
             dialog->FunctionList()->setCurrentRow(0);
             CZuPowerFunc* power =
                 dialog->SelectedSet()->FindFuncByKind(dialog->FunctionList()->item(0)->text().toStdString(), 0);
             EXPECT_TRUE(dialog->OnOpenFunction());
             QCoreApplication::processEvents();
             opened.element = power;
             opened.windows.push_back(Framed(CZuTableDataFrame::FindFrame(dynamic_cast<CZuTableData*>(power))));
             return opened;
         },
         {Close::WindowFirst, Close::FileClose, Close::ElementDeleted, Close::OtherDocument}},
        {"sensor window copying into the measured data, with the progress window",
         [](CSampleFrame& f, CSimUnits&) {
             COpened opened;
             EXPECT_TRUE(road::Click(f.frame, ID_SENSOR_VIEW));
             CSensorFrame* window = CSensorFrame::GetInstance();
             opened.windows.push_back(Framed(window));
             opened.operation = [&f, window] {
                 const auto no = f.prompts.responder;
                 f.prompts.responder = [](const PromptRecord& prompt) {
                     PromptAnswer answer;
                     answer.result = prompt.stringId == IDS_PUSH_QUESTION ? IDYES : IDOK;
                     return answer;
                 };
                 // The copy goes through the measured data of DAQ projects of type 0 only.
                 f.Daq()->SetType(0);
                 QAction* push = window ? window->Action(CommandId::ID_SENSOR_PUSH) : nullptr;
                 EXPECT_TRUE(push && push->isEnabled());
                 if (push)
                     push->trigger();
                 f.prompts.responder = no;
             };
             return opened;
         },
         kOperationOrders},
        {"measurement window", [](CSampleFrame& f, CSimUnits& units) { return OpenMeasurementWindow(f, units, false); },
         kEveryOrder},
        {"measurement window measuring, with its sampling window",
         [](CSampleFrame& f, CSimUnits& units) { return OpenMeasurementWindow(f, units, true); }, kEveryOrder},
    };
    return rows;
}

void CloseWindow(QWidget* window)
{
    if (window)
        window->close();
}

// Waits, bounded, until every window the row opened is gone (windows close on the next turn of
// the event loop when what they show goes).
bool AllGone(const COpened& opened)
{
    return QTest::qWaitFor(
        [&] {
            for (const QPointer<QWidget>& w : opened.windows)
                if (!w.isNull())
                    return false;
            return true;
        },
        5000);
}

// The order tried by the user while the row's operation runs. The windows' own closes (the close
// box, and Esc for a dialog) wait for the operation; what would close or replace the document is
// refused.
void TryWhileOperating(Close how, CSampleFrame& f, const COpened& opened)
{
    switch (how) {
    case Close::WindowFirst:
        for (const QPointer<QWidget>& w : opened.windows) {
            CloseWindow(w);
            if (auto* dialog = qobject_cast<QDialog*>(w.data()))
                dialog->reject();
        }
        break;
    case Close::FileClose:
        EXPECT_FALSE(road::Click(f.frame, ID_FILE_CLOSE));
        break;
    case Close::OtherDocument:
        EXPECT_FALSE(road::Click(f.frame, ID_FILE_OPEN));
        break;
    default:
        ADD_FAILURE() << "no such order while an operation runs";
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<QWidget>& w : opened.windows)
        EXPECT_FALSE(w.isNull()) << "the window waits for the operation";
    EXPECT_NE(f.frame.GetDocument(), nullptr);
}

// Runs the row's operation and tries the order once while its progress window is up.
void Operate(Close how, CSampleFrame& f, const COpened& opened)
{
    bool tried = false;
    QPointer<CDlgProgress> progress;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (tried || !CDlgProgress::Running())
            return;
        tried = true;
        progress = CDlgProgress::Running();
        TryWhileOperating(how, f, opened);
    });
    timer.start(0);
    opened.operation();
    timer.stop();
    EXPECT_TRUE(tried) << "the order was tried while the progress window was up";
    EXPECT_TRUE(progress.isNull()) << "the progress window went with its operation";
    EXPECT_EQ(CDlgProgress::Running(), nullptr);
    EXPECT_EQ(CDlgProgress::GetInstance(), nullptr);
    EXPECT_EQ(CDlgCalcProgress::GetInstance(), nullptr);
}

// Closes what the row opened in the given order; the document goes last in every order.
void CloseIn(Close how, CSampleFrame& f, const COpened& opened)
{
    switch (how) {
    case Close::WindowFirst:
        for (const QPointer<QWidget>& w : opened.windows)
            CloseWindow(w);
        break;
    case Close::FileClose:
        EXPECT_TRUE(road::Click(f.frame, ID_FILE_CLOSE));
        break;
    case Close::ElementDeleted:
        ASSERT_NE(opened.element, nullptr);
        ASSERT_NE(opened.element->GetParent(), nullptr);
        opened.element->GetParent()->DeleteChild(opened.element);
        break;
    case Close::ProjectRemoved:
        ASSERT_NE(opened.project, nullptr);
        ASSERT_GE(f.doc->RemoveProject(static_cast<CBaseProject*>(opened.project)), 0);
        break;
    case Close::OtherDocument: {
        std::string error;
        ASSERT_TRUE(f.frame.OpenDocumentFile(f.path, &error)) << error;
        f.doc = f.frame.GetDocument();
        break;
    }
    }
    EXPECT_TRUE(AllGone(opened)) << "the windows are gone after " << Name(how);
    // The document goes as well: nothing left of the window may be reached on its way.
    EXPECT_TRUE(road::Click(f.frame, ID_FILE_CLOSE) || !f.frame.GetDocument());
    EXPECT_TRUE(AllGone(opened));
}
} // namespace

TEST(WindowLifetime, EveryWindowGoesWithWhatItShowsInEveryOrder)
{
    for (const CRow& row : Rows()) {
        for (Close how : row.orders) {
            SCOPED_TRACE(std::string(row.kind) + ", " + Name(how));
            CSimUnits units(2);
            CSampleFrame f;
            ASSERT_NE(f.Daq(), nullptr);
            ASSERT_NE(f.Experiment(), nullptr);
            COpened opened = row.open(f, units);
            ASSERT_FALSE(opened.windows.empty());
            for (const QPointer<QWidget>& w : opened.windows)
                ASSERT_FALSE(w.isNull()) << "the window opened";
            if (opened.operation)
                Operate(how, f, opened);
            CloseIn(how, f, opened);
            if (opened.measures) {
                EXPECT_TRUE(units.Daq()->IsNotifyWindow(nullptr)) << "no window is told about runs any more";
                EXPECT_EQ(units.Daq()->AreAllUnitsIdle(), 1) << "no run goes on";
            }
            EXPECT_EQ(CFormProgress::GetInstance(), nullptr);
            EXPECT_TRUE(CExpFrame::OpenFrames().empty());
        }
    }
}
