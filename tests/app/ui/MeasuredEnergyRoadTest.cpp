// What an automation client reads of new measured data is what the windows show, without the
// project being closed and opened again: a run-up measured in a new project as a user measures it
// (the measurement window still open), the same data after a recalculation with changed options,
// and the sample's universal file imported into a new DAQ project through the dialogs. Each ends
// on the cabin's energy over the session bus against the level its map window shows.
#include <QAbstractItemView>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QtDBus/QDBusConnection>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "../../experiments/ui/SimUnits.h"
#include "SampleProject.h"
#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
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
#include "app/automation/AutomationService.h"
#include "app/ui/MainFrameAutomationHost.h"
#include "calculation/ui/PPageCalcOptions.h"
#include "experiments/CalcOptions.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/DaqProjectCommands.h"
#include "experiments/ui/DlgExpProperty2.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"
#include "experiments/ui/SensorCommands.h"
#include "experiments/ui/SensorFrame.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/StringIds.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/ZuRpmFunc.h"
#include "support/GdbusCall.h"
#include "support/PrivateSessionBus.h"
#include "support/RoadSteps.h"
#include "uff/ui/DlgImportUFDaqData.h"
#include "uff/ui/DlgUFDataCheck.h"
#include "views/ui/QMXDataFrame.h"
#include "views/ui/TALDataFrame.h"
#include "views/ui/TALDataSelectView.h"
#include "views/ui/TALDataTableView.h"

namespace {
namespace fs = std::filesystem;
using road::Click;
using road::FirstChild;
using road::Shown;

constexpr double kRpm = 1000.0;
const QString kConnection = QStringLiteral("measured-energy-server");

std::optional<PromptAnswer> AnswerOK(const PromptRecord&)
{
    PromptAnswer answer;
    answer.result = IDOK;
    return answer;
}

// The text of the grid cell in the row headed by the RPM (the grid with RPM down).
QString CellAt(QAbstractItemView& grid, double rpm)
{
    const QAbstractItemModel* model = grid.model();
    for (int r = 0; model && r < model->rowCount(); ++r) {
        bool number = false;
        if (model->headerData(r, Qt::Vertical).toString().toDouble(&number) == rpm && number)
            return model->data(model->index(r, 0)).toString();
    }
    return {};
}

class MeasuredEnergyRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        built = fs::path(ORVEX_BINARY_DIR) / "samples";
        if (!fs::exists(built / sample::kChannelFile) || !fs::exists(built / sample::kSensorFile))
            GTEST_SKIP() << "no sample files were built";
        road::StartProgram();
        frame = std::make_unique<CMainFrame>();
        road::ShowFrame(*frame);
        // The client's bus, which gdbus finds through the environment; the next tests get theirs back.
        QString error;
        ASSERT_TRUE(bus.Start(&error)) << error.toStdString();
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.Address().toUtf8());
        host = std::make_unique<CMainFrameAutomationHost>(*frame);
        service = std::make_unique<CAutomationService>(*host, false,
                                                       QDBusConnection::connectToBus(bus.Address(), kConnection));
        ASSERT_TRUE(service->RegisterAppActiveObject());
    }
    void TearDown() override
    {
        CDlgDaqDataCheck::DestroyInstance();
        CDlgRealTimeMonitor::DestroyInstance();
        CFormProgress::DestroyInstance();
        GetTALVOApp().SetDAQSystemViewOpener({});
        service.reset();
        // Each test's bus is its own: the next one connects anew.
        QDBusConnection::disconnectFromBus(kConnection);
        host.reset();
        frame.reset();
        CSimUnits::DisconnectProgramUnits();
        qputenv("DBUS_SESSION_BUS_ADDRESS", previousBus);
    }

    // View > Target and Sources: the cabin is the target, the roof feeds it.
    void SetTarget() { road::SetTargetAndSource(*frame, sample::kResponse, sample::kExcited); }

    // A new project from the sample model, the sensors and the channels of the simulated units, a
    // DAQ project measuring the roof into the cabin, one run-up measured and saved. The
    // measurement window stays open, as it does after a run.
    void MeasureRunUp()
    {
        road::NewProjectFromSample(*frame, dir.path(), QStringLiteral("EnergyCar"));
        ASSERT_NE(frame->GetDocument(), nullptr);
        CTALVOProject& container = frame->GetDocument()->GetTALVOProject();
        CSimUnits::DisconnectProgramUnits();
        WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.1", "boards=4+4; serial=1; address=10.0.0.1");
        WriteProfileString("QMX", "IP", "10.0.0.1");
        {
            CScriptedPrompts prompts;
            prompts.Answer(IDYES).ChooseFile((built / sample::kSensorFile).string());
            ASSERT_TRUE(Click(*frame, ID_SENSOR_VIEW));
            ASSERT_NE(CSensorFrame::GetInstance(), nullptr);
            ASSERT_TRUE(CSensorFrame::GetInstance()->OnCommand(ID_SENSOR_IMPORT));
            ASSERT_NE(container.GetSensorProject()->FindSensor(sample::kMicrophoneId), nullptr) << Shown(prompts);
        }
        {
            CScriptedPrompts prompts;
            prompts.responder = AnswerOK;
            CScriptedDialogs dialogs;
            road::AnswerNewMeasuredDaqProject(dialogs);
            ASSERT_TRUE(Click(*frame, CFrameCommands::ID_NEW_DAQ_PROJECT));
        }
        daq = road::FirstDaqProject(container, daqIndex);
        ASSERT_NE(daq, nullptr);
        ASSERT_NE(CDAQ::GetMultiInterface(), nullptr);
        ASSERT_GT(CDAQ::GetMultiInterface()->GetUnitCount(), 0) << "connected";
        {
            CScriptedPrompts prompts;
            prompts.ChooseFile((built / sample::kChannelFile).string()).Answer(IDOK);
            ASSERT_TRUE(Click(*frame, CFrameCommands::ID_BLIX_CHANNEL_EXCHANGE));
        }
        ASSERT_NO_FATAL_FAILURE(SetTarget());

        units = std::make_unique<CSimUnits>(1);
        CExpFrame* measuring = nullptr;
        road::MeasureOn(*frame, units->Daq(), measuring);
        road::Select(*frame, daqIndex, daq);
        {
            CScriptedPrompts prompts;
            CScriptedDialogs dialogs;
            dialogs.PressCancel(); // the units are not initialised again
            ASSERT_TRUE(Click(*frame, CDaqProjectCommands::ID_MEASURE_BY_SUBSYSTEM));
            CDlgExpProperty2* dialog = CDlgExpProperty2::GetInstance(frame.get());
            ASSERT_NE(dialog, nullptr) << Shown(prompts);
            dialog->Data().target->noPictureCheck = 1;
            dialog->PressOK();
        }
        ASSERT_NE(measuring, nullptr) << "the measurement window opened";
        CExpDoc* doc = measuring->GetDocument();
        {
            CScriptedPrompts prompts;
            prompts.responder = AnswerOK;
            ASSERT_TRUE(measuring->OnCommand(CExpTreeView::ID_START_RUN));
            ASSERT_TRUE(QTest::qWaitFor([] { return CFormProgress::GetInstance() != nullptr; }, 5000));
            QPointer<CFormProgress> form(CFormProgress::GetInstance());
            units->Settle();
            ASSERT_TRUE(QTest::qWaitFor([&] { return form && form->StartButton()->isEnabled(); }, 5000));
            QTest::mouseClick(form->StartButton(), Qt::LeftButton);
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    units->AdvanceUs(20000);
                    return !doc->IsRunActive();
                },
                30000));
        }
        ASSERT_FALSE(doc->IsModified()) << "the run is saved";
        CDlgDaqDataCheck::DestroyInstance();
        experiment = FirstChild<CTALVOExp>(*daq);
        ASSERT_NE(experiment, nullptr);
        dataSet = FirstChild<CDAQExperiment>(*experiment);
        ASSERT_NE(dataSet, nullptr);
        ASSERT_NE(dataSet->FindRpmFuncByName(sample::kResponse), nullptr) << "the run has its cabin map";
    }

    // The cabin's energy at the RPM in the first band, as the automation client reads it.
    double BusEnergy()
    {
        const auto call = [](const QString& path, const QString& member, const QStringList& args = {}) {
            const GdbusResult r = GdbusCall(QStringLiteral("ORVEX.Application"), path,
                                            QStringLiteral("ORVEX.Automation.") + member, args);
            EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
            return r.out;
        };
        const auto pathOf = [](const QString& answer) {
            return QRegularExpression(QStringLiteral("objectpath '([^']*)'")).match(answer).captured(1);
        };
        const QString doc = pathOf(call(QStringLiteral("/Application"), QStringLiteral("ProjectFile")));
        const QString project = pathOf(call(doc, QStringLiteral("Project"), {QString::number(daqIndex)}));
        const QString answer = call(project, QStringLiteral("GetAveragedEnergy"),
                                    {QStringLiteral("'%1'").arg(QString::fromUtf8(sample::kResponse)),
                                     QStringLiteral("1000"), QStringLiteral("<0>")});
        const auto m = QRegularExpression(QStringLiteral("<([-+.0-9eE]+)>")).match(answer);
        EXPECT_TRUE(m.hasMatch()) << answer.toStdString();
        return m.captured(1).toDouble();
    }

    // The level the cabin map of the data set shows at the RPM in the first band, opened from the
    // project window, in dB without weighting. The band is the map's first frequency, as the bus
    // reads it.
    QString ShownLevel()
    {
        // The map window of an earlier look goes; the measurement window stays.
        for (QMdiSubWindow* open : frame->MdiArea()->subWindowList())
            if (qobject_cast<CQMXDataFrame*>(open->widget()))
                delete open;
        CZuRpmFunc* map = dataSet->FindRpmFuncByName(sample::kResponse);
        if (!map)
            return {};
        road::Select(*frame, daqIndex, map);
        EXPECT_TRUE(Click(*frame, ID_OPEN_SELECTION));
        QMdiSubWindow* window = frame->MdiArea()->activeSubWindow();
        auto* shown = window ? qobject_cast<CTALDataFrame*>(window->widget()) : nullptr;
        if (!shown)
            return {};
        window->resize(900, 600);
        // RPM across, the first of the map's frequencies chosen, no weighting: the column of
        // levels over RPM at the first band.
        EXPECT_TRUE(shown->OnCommand(CQMXDataFrame::IDC_AXIS_RPM));
        EXPECT_TRUE(shown->OnCommand(CQMXDataFrame::IDC_NO_WEIGHTING));
        shown->GetSelectView()->SelectSubset(0);
        QCoreApplication::processEvents();
        return CellAt(*shown->GetTableView(), kRpm);
    }

    // The energy over the bus against the level in the window: p² = E / factor, in dB re 20 µPa.
    // shownLevel: what the window showed.
    void ExpectTheBusReadsTheWindow(const char* grab, double& shownLevel)
    {
        const double energy = BusEnergy();
        const QString shown = ShownLevel();
        ASSERT_FALSE(shown.isEmpty()) << "a level at " << kRpm << " RPM in the window";
        const double factor = daq->GetSubsystemEnergyFactor(sample::kResponse);
        ASSERT_GT(factor, 0.0);
        ASSERT_GT(energy, 0.0) << "the window shows " << shown.toStdString();
        shownLevel = shown.toDouble();
        EXPECT_NEAR(10.0 * std::log10(energy / factor / 4e-10), shownLevel, 0.006) << shown.toStdString();
        road::GrabResult(*frame->MdiArea()->activeSubWindow(), grab);
    }

    QByteArray previousBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    CPrivateSessionBus bus;
    QTemporaryDir dir;
    fs::path built;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CMainFrameAutomationHost> host;
    std::unique_ptr<CAutomationService> service;
    std::unique_ptr<CSimUnits> units;
    CDaqProject* daq = nullptr;
    int daqIndex = -1;
    CTALVOExp* experiment = nullptr;
    CDAQExperiment* dataSet = nullptr;
};
} // namespace

TEST_F(MeasuredEnergyRoad, TheBusReadsWhatTheWindowShowsAfterARunAndAfterARecalculation)
{
    ASSERT_NO_FATAL_FAILURE(MeasureRunUp());
    double measured = 0.0;
    {
        SCOPED_TRACE("after the run");
        ASSERT_EQ(CExpFrame::OpenFrames().size(), 1u) << "the measurement window is open";
        ASSERT_NO_FATAL_FAILURE(ExpectTheBusReadsTheWindow("measured-energy-run", measured));
    }

    // Calculation Options and Recalculation... with another time window chosen on its first page:
    // the maps are made anew from the measurement file.
    road::Select(*frame, daqIndex, daq);
    {
        const int before = daq->GetCalcOptions()->GetWindowType();
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.Then([&](CZuDialog& d) {
            auto* sheet = dynamic_cast<CZuPropertySheet*>(&d);
            CPPageCalcOptions* page = nullptr;
            for (int i = 0; sheet && i < sheet->GetPageCount() && !page; ++i)
                page = dynamic_cast<CPPageCalcOptions*>(sheet->GetPage(i));
            if (!page || !sheet->SetActivePage(page) || !page->WindowRadio(before == 0 ? 1 : 0))
                return d.PressCancel();
            page->WindowRadio(before == 0 ? 1 : 0)->click();
            return d.PressOK();
        });
        ASSERT_TRUE(Click(*frame, CFrameCommands::ID_DAQ_CALC_OPTIONS_RECALC));
        EXPECT_NE(daq->GetCalcOptions()->GetWindowType(), before);
        ASSERT_FALSE(prompts.Records().empty());
        EXPECT_EQ(prompts.Last().stringId, IDS_CALCULATION_FINISHED) << Shown(prompts);
    }
    {
        SCOPED_TRACE("after the recalculation");
        double recalculated = 0.0;
        ASSERT_NO_FATAL_FAILURE(ExpectTheBusReadsTheWindow("measured-energy-recalculated", recalculated));
        // The other window gives other levels: the bus followed the new maps.
        EXPECT_GT(std::abs(recalculated - measured), 0.1);
    }
}

TEST_F(MeasuredEnergyRoad, TheBusReadsWhatTheWindowShowsAfterAnImport)
{
    if (!fs::exists(built / sample::kUniversalFile))
        GTEST_SKIP() << "no universal file was built";
    const fs::path root = fs::path(dir.path().toStdString()) / "samples";
    fs::copy(built, root, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    road::NewProjectFromSample(*frame, dir.filePath(QStringLiteral("car")), QStringLiteral("ImportedCar"));
    ASSERT_NE(frame->GetDocument(), nullptr);
    ASSERT_NO_FATAL_FAILURE(SetTarget());
    CTALVOProject& container = frame->GetDocument()->GetTALVOProject();
    const int before = container.GetProjectCount();

    // Project > New DAQ project of universal files: the sample's file added, the data check
    // confirmed.
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile((root / sample::kUniversalFile).string());
        prompts.responder = AnswerOK;
        CScriptedDialogs dialogs;
        dialogs.Then(road::ChooseDaqSystem(1))
            .Then([](CZuDialog& d) {
                auto& import = dynamic_cast<CDlgImportUFDaqData&>(d);
                import.findChild<QPushButton*>(QStringLiteral("c3005"))->click(); // Add...
                return import.PressOK();
            })
            .Then([](CZuDialog& d) { return dynamic_cast<CDlgUFDataCheck&>(d).PressOK(); });
        ASSERT_TRUE(Click(*frame, CFrameCommands::ID_NEW_DAQ_PROJECT));
        ASSERT_EQ(container.GetProjectCount(), before + 1) << Shown(prompts);
    }
    daqIndex = before;
    daq = DynamicDowncast<CDaqProject>(container.GetProject(before));
    ASSERT_NE(daq, nullptr);
    for (int i = 0; i < daq->GetChildCount() && !dataSet; ++i)
        if (auto* pair = DynamicDowncast<CTALVOExp>(daq->GetChild(i)))
            if (auto* set = FirstChild<CDAQExperiment>(*pair); set && set->FindRpmFuncByName(sample::kResponse))
                dataSet = set;
    ASSERT_NE(dataSet, nullptr) << "an imported data set with the cabin's map";

    double imported = 0.0;
    ASSERT_NO_FATAL_FAILURE(ExpectTheBusReadsTheWindow("measured-energy-imported", imported));
}
