// The run windows over simulated systems: the real-time monitor, the gain setting with its trial
// run, the engine rotation set-up with its check run, and the run-up diagnosis window.
#include <gtest/gtest.h>

#include "../MeasuredFixture.h"

#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgAccelRpm.h"
#include "acquisition/ui/DlgEngineRotationSetup.h"
#include "acquisition/ui/DlgQmxGainSetting.h"
#include "acquisition/ui/DlgRealTimeMonitor.h"
#include "acquisition/ui/FormProgress.h"
#include "acquisition/ui/Meter.h"
#include "experiments/CalcOptions.h"
#include "experiments/DAQConfig.h"
#include "experiments/ExpData.h"
#include "experiments/RPMSignalData.h"
#include "experiments/ExpInfo.h"
#include "experiments/Sensor.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "models/HSEARegOptions.h"
#include "platform/base/Format.h"
#include "platform/base/MsClock.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/qmx/QmxSimSignal.h"
#include "platform/qmx/QmxSimSystem.h"
#include "platform/ui/UiTextTranslator.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "GrabWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

namespace {

constexpr const char* kRamp = "boards=4+4; serial=1; address=10.0.0.1; rpm=1000-6000; ramp=4; pulse=15; pulses=2";

class RunWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLanguageStrings(9));
        CDAQ::Destroy();
        WriteProfileString("QMX", "IP", "10.0.0.1");
        ASSERT_TRUE(m_pictures.isValid());
    }
    void TearDown() override
    {
        CDlgRealTimeMonitor::DestroyInstance();
        CDlgAccelRpm::DestroyInstance();
        CDAQ::Destroy();
        QApplication::processEvents();
    }

    // The program's interface with one simulated system of this layout, settled, its sample
    // clock driven by simUs (null: every acquisition completes at once).
    CMultiQMXInterface& Connect(const std::string& layout, std::atomic<int64_t>* simUs = nullptr)
    {
        WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.1", layout);
        CMultiQMXInterface& units = *CDAQ::GetMultiInterface();
        EXPECT_EQ(units.AddUnit(), 1);
        m_sim = dynamic_cast<CQmxSimSystem*>(units.GetUnit(0)->GetSystemInterface());
        EXPECT_NE(m_sim, nullptr);
        if (m_sim) {
            if (simUs)
                m_sim->SetClock([simUs] { return simUs->load(); });
            else
                m_sim->SetClock({});
        }
        for (int c = 0; c < units.GetMaxChannels(); ++c)
            units.EnableChannel(c);
        units.MergeUnitInfo();
        m_ms.Advance(30000);
        return units;
    }

    void Grab(QWidget& w, const char* name) { GrabWindow(w, m_pictures, name); }

    CManualMsClock m_ms{1000};
    QTemporaryDir m_pictures;
    CQmxSimSystem* m_sim = nullptr;
};

// A data set whose excited structure has sensors S1 on channel 0 and S2 on channel 7, and whose
// response has S3 on channel 3.
std::unique_ptr<CExpProject> GainProject(CMeasuredFixture& f)
{
    CExpInfo info;
    info.SetName(0, f.structure);
    info.SetName(1, f.response);
    CSensorGroup excited;
    excited.SetMember({"S1", 1, 0, 0, 0});
    excited.SetMember({"S2", 1, 1, 7, 0});
    info.SetSensorGroup(0, excited);
    CSensorGroup responding;
    responding.SetMember({"S3", 2, 0, 3, 0});
    info.SetSensorGroup(1, responding);
    CDAQExperiment* set = f.daq->AddDataSet(info);
    EXPECT_NE(set, nullptr);
    return f.MakeMeasurement(set, 2, 16);
}

CSensor* SensorOf(CMeasuredFixture& f, const char* id)
{
    return ElementCast<CSensor>(f.container.GetSensorProject()->FindOne(id, -1, 1));
}

std::vector<std::string> Column(QTableWidget* list, int column)
{
    std::vector<std::string> out;
    for (int r = 0; r < list->rowCount(); ++r)
        out.push_back(list->item(r, column) ? list->item(r, column)->text().toStdString() : std::string());
    return out;
}

} // namespace

TEST_F(RunWindows, MonitorRunsThePulseChannelAndLeavesNoHoldOffFlag)
{
    CMultiQMXInterface& units = Connect("boards=4+4; serial=1; address=10.0.0.1");
    CMeasuredFixture f;
    f.daq->GetDAQConfig()->SetSamplingFreq(12800.0f);
    auto exp = GainProject(f);
    CScriptedDialogs dialogs;
    CScriptedPrompts prompts;

    CDlgRealTimeMonitor* monitor = CDlgRealTimeMonitor::Open(exp.get());
    ASSERT_NE(monitor, nullptr);
    EXPECT_TRUE(monitor->isVisible());
    EXPECT_EQ(monitor->GetChannel(), 15);
    monitor->SetChannel(-1);
    EXPECT_EQ(monitor->GetChannel(), 15) << "-1 keeps the channel";
    monitor->showMinimized();
    EXPECT_EQ(CDlgRealTimeMonitor::Open(exp.get()), monitor) << "reopening restores the open one";
    EXPECT_FALSE(monitor->isMinimized());

    units.DisableChannel(15);
    dialogs.PressCancel(); // no re-initialisation
    monitor->StartButton()->click();
    EXPECT_EQ(dialogs.Records().back().templateId, 4007);
    EXPECT_TRUE(monitor->RunManager().IsRunning());
    EXPECT_TRUE(units.IsChannelEnabled(15));
    EXPECT_EQ(units.IsAnyUnitFlagSet(), 1) << "the measured-data window holds off meanwhile";
    // The monitor's own data blocks reach its run manager; a stop request ends the run.
    EXPECT_NE(monitor->OnMessage(WM_ZU_DAQ_DATA, 0, 0), -1);
    EXPECT_EQ(monitor->OnMessage(WM_ZU_DAQ_STARTED, 0, 0), 0);
    monitor->Target()->SendMessage(WM_ZU_DAQ_STOP);
    EXPECT_FALSE(monitor->RunManager().IsRunning());
    EXPECT_EQ(units.IsAnyUnitFlagSet(), 0);

    // The RPM channel the units do not have: 7053 with the 1-based number, nothing started.
    f.daq->GetDAQConfig()->SetRpmChannel(40);
    dialogs.PressCancel();
    prompts.Answer(IDOK);
    monitor->StartButton()->click();
    EXPECT_EQ(prompts.Last().stringId, 7053u);
    EXPECT_EQ(prompts.Last().text, "Channel 41 is not available.");
    EXPECT_FALSE(monitor->RunManager().IsRunning());
    f.daq->GetDAQConfig()->SetRpmChannel(15);

    dialogs.PressCancel();
    monitor->StartButton()->click();
    ASSERT_TRUE(monitor->RunManager().IsRunning());
    EXPECT_EQ(monitor->Chart()->xAxis->label(), "Time [s]");
    Grab(*monitor, "DlgRealTimeMonitor");
    // Closing stops the run before the window goes, and clears the flags.
    QPointer<CDlgRealTimeMonitor> alive(monitor);
    monitor->close();
    EXPECT_EQ(CDlgRealTimeMonitor::GetInstance(), nullptr);
    EXPECT_EQ(units.IsAnyUnitFlagSet(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000));
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST_F(RunWindows, GainTrialRunPicksGainsAndOkStoresWhatTheHardwareConfirms)
{
    // Orders of 150 mV and pulses of 5 V: the trial runs at 0.1, the widest range (+-10 V), so
    // nothing clips; channel 7, which the simulated path weakens to 73 mV, gets the narrowest
    // range 10 (+-0.1 V), the others 1 (+-1 V), and the loud pulse channel 0.1.
    CMultiQMXInterface& units = Connect("boards=4+4; serial=1; address=10.0.0.1; orders=1:0.15; noise=0");
    CMeasuredFixture f;
    f.daq->GetDAQConfig()->SetSamplingFreq(12800.0f);
    auto exp = GainProject(f);
    CScriptedDialogs dialogs;
    CScriptedPrompts prompts;

    dialogs.Then([&](CZuDialog& d) {
        auto& dlg = static_cast<CDlgQmxGainSetting&>(d);
        QTableWidget* list = dlg.List();
        EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"4", "1", "8", "16"}));
        EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"00002-2", "00001-1", "00004-2", "00008-2"}));
        EXPECT_EQ(Column(list, 2), (std::vector<std::string>{f.response + " - LP#1", f.structure + " - LP#1",
                                                             f.structure + " - LP#2", "** Pulse Signal **"}));
        EXPECT_EQ(Column(list, 3), (std::vector<std::string>{"10", "10", "10", "10"}));
        EXPECT_EQ(dlg.LevelEdit()->text(), "95");
        EXPECT_EQ(dlg.DurationEdit()->text(), "5");

        // With no row selected the combo changes nothing; with rows selected it sets them.
        dlg.GainCombo()->setCurrentIndex(1);
        emit dlg.GainCombo()->activated(1);
        EXPECT_EQ(Column(list, 3), (std::vector<std::string>{"10", "10", "10", "10"}));
        list->selectRow(1);
        emit dlg.GainCombo()->activated(0);
        EXPECT_EQ(list->item(1, 3)->text(), "0.1");
        list->selectRow(0);
        EXPECT_EQ(dlg.GainCombo()->currentIndex(), 2) << "the combo follows the clicked row";

        // Durations outside 1 to 30 s are refused before anything runs.
        for (const char* bad : {"0", "31"}) {
            dlg.DurationEdit()->setText(QString::fromLatin1(bad));
            prompts.Answer(IDOK);
            dlg.AdjustButton()->click();
            EXPECT_EQ(prompts.Last().text, "Please enter an integer between 1 and 30.") << bad;
            EXPECT_FALSE(dlg.RunManager().IsRunning());
        }
        dlg.DurationEdit()->setText("1");
        dlg.AdjustButton()->click();
        EXPECT_TRUE(dlg.RunManager().IsRunning());
        // The units settle after the trial's gains, then measure at once.
        m_ms.Advance(30001);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.RunManager().IsRunning(); }, 5000));
        EXPECT_EQ(CFormProgress::GetInstance(), nullptr) << "the progress window goes with the choice";
        EXPECT_EQ(Column(list, 3), (std::vector<std::string>{"1", "1", "10", "0.1"}));
        EXPECT_EQ(units.GetChannelInputRange(7), 0.1) << "the choice leaves the hardware at the trial's gain";
        Grab(dlg, "DlgQmxGainSetting");
        return dlg.PressOK();
    });
    CDlgQmxGainSetting dialog(exp.get());
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(units.GetChannelInputRange(7), 10.0);
    EXPECT_EQ(units.GetChannelInputRange(0), 1.0);
    EXPECT_EQ(exp->GetChannelRange(0), 1.0f);
    EXPECT_EQ(exp->GetChannelRange(7), 10.0f);
    EXPECT_EQ(exp->GetChannelRange(15), 0.1f);
    EXPECT_EQ(SensorOf(f, "S2")->GetChannelInfo().Scale, 10.0f);
    EXPECT_EQ(SensorOf(f, "S2")->GetChannelInfo().AutoRange, 1);
    EXPECT_EQ(SensorOf(f, "S1")->GetChannelInfo().Scale, 1.0f);

    // A hardware that cannot say what it holds: project and sensors stay as they were.
    dialogs.Then([&](CZuDialog& d) {
        auto& dlg = static_cast<CDlgQmxGainSetting&>(d);
        // Read back: the list shows what the hardware holds now.
        EXPECT_TRUE(units.SetChannelInputRange(0, 0.1));
        dlg.ReadBackButton()->click();
        EXPECT_EQ(Column(dlg.List(), 3), (std::vector<std::string>{"1", "0.1", "10", "0.1"}));
        dlg.List()->selectAll();
        emit dlg.GainCombo()->activated(0);
        m_sim->FailCall(QmxCall::GetRangeCode, 100);
        return dlg.PressOK();
    });
    CDlgQmxGainSetting again(exp.get());
    EXPECT_EQ(again.DoModal(), IDOK);
    m_sim->FailCall(QmxCall::GetRangeCode, 0);
    EXPECT_EQ(exp->GetChannelRange(7), 10.0f);
    EXPECT_EQ(exp->GetChannelRange(15), 0.1f);
    EXPECT_EQ(SensorOf(f, "S2")->GetChannelInfo().Scale, 10.0f);
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST_F(RunWindows, EngineRotationChecksSnapsAndKeepsReadOnlyValues)
{
    CMeasuredFixture f;
    CDAQConfig& config = *f.daq->GetDAQConfig();
    config.SetSamplingFreq(16000.0f);
    config.SetMaxFreq(5000.0f);
    config.SetVersion5Field(0);
    f.daq->GetCalcOptions()->SetLineCount(800.0f);
    config.SetRpmLow(1000);
    config.SetRpmHigh(6000);
    config.SetRpmMargin(100);
    config.SetTimeSpan(60.0f);
    config.SetFactor3(1.0f);
    config.SetOption60(0);
    CScriptedDialogs dialogs;
    CScriptedPrompts prompts;

    // OK checks: the message of the first failed one, and the dialog stays open.
    struct Case
    {
        const char* low;
        const char* high;
        const char* margin;
        uint32_t message;
    };
    const Case cases[] = {{"3000", "3000", "100", 6118u},
                          {"4000", "3000", "100", 6118u},
                          {"1000", "6000", "5001", 6211u},
                          {"1000", "6000", "5000", 0u}};
    for (const Case& c : cases) {
        dialogs.Then([&](CZuDialog& d) {
            auto& dlg = static_cast<CDlgEngineRotationSetup&>(d);
            dlg.Edit(3125)->setText(QString::fromLatin1(c.low));
            dlg.Edit(3090)->setText(QString::fromLatin1(c.high));
            dlg.Edit(3117)->setText(QString::fromLatin1(c.margin));
            if (c.message)
                prompts.Answer(IDOK);
            const int r = dlg.PressOK();
            if (c.message) {
                EXPECT_EQ(prompts.Last().stringId, c.message) << c.low << "-" << c.high << " " << c.margin;
                EXPECT_EQ(r, 0);
            }
            return r;
        });
        CDlgEngineRotationSetup dialog(0);
        dialog.SetDAQProject(f.daq);
        dialog.LoadFrom(config);
        EXPECT_EQ(dialog.DoModal(), c.message ? IDCANCEL : IDOK);
    }

    // Whole blocks of 2048 samples at 16 kHz (0.128 s): 0.64 s stays, 0.65 s goes up to 0.768 s.
    dialogs.Then([&](CZuDialog& d) {
        auto& dlg = static_cast<CDlgEngineRotationSetup&>(d);
        EXPECT_FALSE(dlg.Button(3028)->isVisible());
        dlg.Radio(3215)->click();
        EXPECT_TRUE(dlg.Edit(3125)->isReadOnly());
        EXPECT_FALSE(dlg.Edit(3096)->isReadOnly());
        for (auto [entered, snapped] : {std::pair{"0.64", "0.64"}, std::pair{"0.65", "0.768"}}) {
            dlg.Edit(3096)->setText(QString::fromLatin1(entered));
            dlg.SnapMeasureTime();
            EXPECT_EQ(dlg.Edit(3096)->text().toStdString(), snapped) << entered;
        }
        // The minima: the margin given, the time span is raised with a warning.
        dlg.Radio(3222)->click();
        EXPECT_FALSE(dlg.Edit(3125)->isReadOnly());
        dlg.Radio(3206)->click();
        dlg.Edit(3107)->setText("1");
        prompts.Answer(IDOK);
        dlg.RecomputeMinima(true);
        EXPECT_EQ(prompts.Last().stringId, 7135u);
        EXPECT_GT(dlg.GetMinTimeSpan(), 1);
        EXPECT_EQ(dlg.Edit(3107)->text().toInt(), dlg.GetMinTimeSpan());
        EXPECT_EQ(dlg.Label(2072)->text().toStdString(),
                  Format(MessageTextOf(IDS_MIN_SPAN).c_str(), static_cast<double>(dlg.GetMinTimeSpan())));
        // A margin of 0 derives nothing and divides by nothing.
        dlg.Edit(3117)->setText("0");
        dlg.RecomputeMinima(false);
        EXPECT_EQ(dlg.GetMinTimeSpan(), 0);
        Grab(dlg, "DlgEngineRotationSetup");
        return IDCANCEL;
    });
    {
        CDlgEngineRotationSetup dialog(0);
        dialog.SetDAQProject(f.daq);
        dialog.LoadFrom(config);
        dialog.DoModal();
    }

    // Mode 1 keeps the RPM mode; the constant-RPM controls follow the fixed-mode option.
    for (uint32_t allowed : {0u, 1u}) {
        ASSERT_EQ(CHSEARegOptions::WriteDWORD(MessageTextOf(IDS_FIXED_MODE_OPTION).c_str(), allowed), 1);
        dialogs.Then([&](CZuDialog& d) {
            auto& dlg = static_cast<CDlgEngineRotationSetup&>(d);
            EXPECT_FALSE(dlg.Radio(3222)->isEnabled());
            EXPECT_EQ(dlg.Radio(3215)->isEnabled(), allowed != 0);
            EXPECT_EQ(dlg.Edit(3096)->isEnabled(), allowed != 0);
            EXPECT_FALSE(dlg.Edit(3125)->isReadOnly()) << "run-up fields follow the run-up mode";
            return IDCANCEL;
        });
        CDlgEngineRotationSetup dialog(1);
        dialog.SetDAQProject(f.daq);
        dialog.LoadFrom(config);
        dialog.DoModal();
    }

    // Read-only: nothing can be changed, Cancel is off, and OK leaves the project as it was.
    config.SetTimeSpan(10.5f);
    const CDAQConfig before = config;
    dialogs.Then([&](CZuDialog& d) {
        auto& dlg = static_cast<CDlgEngineRotationSetup&>(d);
        EXPECT_EQ(dlg.GetMode(), 2);
        for (int id : {3125, 3090, 3117, 3107, 3095, 3096, 3100})
            EXPECT_TRUE(dlg.Edit(id)->isReadOnly()) << id;
        for (int id : {3206, 3207, 3215, 3222})
            EXPECT_FALSE(dlg.Radio(id)->isEnabled()) << id;
        EXPECT_FALSE(dlg.Button(IDCANCEL)->isEnabled());
        return dlg.PressOK();
    });
    EXPECT_TRUE(EditEngineRotationSetup(f.daq, false));
    EXPECT_TRUE(config == before);
    // Editable: OK writes the fields back.
    dialogs.Then([&](CZuDialog& d) {
        auto& dlg = static_cast<CDlgEngineRotationSetup&>(d);
        dlg.Edit(3125)->setText("1500");
        return dlg.PressOK();
    });
    EXPECT_TRUE(EditEngineRotationSetup(f.daq, true));
    EXPECT_EQ(config.GetRpmLow(), 1500);
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST_F(RunWindows, EngineRotationCheckRunFeedsTheDiagnosisWindow)
{
    std::atomic<int64_t> simUs{0};
    CMultiQMXInterface& units = Connect(kRamp, &simUs);
    CMeasuredFixture f;
    CDAQConfig& config = *f.daq->GetDAQConfig();
    config.SetSamplingFreq(12800.0f);
    config.SetPulsesPerRev(2.0f);
    config.SetRpmRatio(1.0f);
    config.SetRpmChannel(15);
    config.SetRpmLow(1500);
    config.SetRpmHigh(5500);
    config.SetRpmMargin(400);
    config.SetTimeSpan(4.0f);
    config.SetFactor3(1.0f);
    config.SetOption60(0);
    CScriptedDialogs dialogs;
    CScriptedPrompts prompts;

    dialogs.Then([&](CZuDialog& d) {
        auto& dlg = static_cast<CDlgEngineRotationSetup&>(d);
        dialogs.PressCancel(); // no re-initialisation
        dlg.OnCheck();
        CDlgAccelRpm* diagnosis = CDlgAccelRpm::GetInstance();
        EXPECT_NE(diagnosis, nullptr);
        if (!diagnosis)
            return IDCANCEL;
        EXPECT_TRUE(dlg.RunManager().IsRunning());
        EXPECT_FALSE(dlg.RunManager().GetFreeRun()) << "a run-up check triggers on the RPM";
        EXPECT_TRUE(dlg.IsHoldOffActive());
        EXPECT_EQ(units.IsAnyUnitFlagSet(), 1);
        EXPECT_EQ(dlg.OnMessage(WM_ZU_DAQ_DATA, 0, 0), -1) << "data waits for the hold-off";
        EXPECT_FALSE(diagnosis->StopButton()->isEnabled());
        dlg.OnTimer();
        EXPECT_EQ(units.IsAnyUnitFlagSet(), 0);
        EXPECT_TRUE(diagnosis->StopButton()->isEnabled());
        EXPECT_EQ(diagnosis->ElapsedText(), "0.0 s");

        // 100 ms of samples per block: the speeds that reach the meter rise with the ramp.
        // The new sampling rate lets the unit settle first; then it starts sampling.
        m_ms.Advance(30001);
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_sim->CallCount(QmxCall::StartAcquisition) > 0; }, 3000));
        std::vector<float> seen;
        for (int block = 1; block <= 30; ++block) {
            simUs = block * 100000;
            dlg.Target()->SendMessage(WM_ZU_DAQ_DATA);
            if (seen.empty() || diagnosis->CurrentRpm() != seen.back())
                seen.push_back(diagnosis->CurrentRpm());
        }
        EXPECT_GT(seen.size(), 20u);
        for (size_t i = 1; i < seen.size(); ++i)
            EXPECT_GT(seen[i], seen[i - 1] * 0.98f) << i;
        // 3 s into a ramp of 1250 RPM/s from 1000 RPM; each speed is that of its block's start.
        EXPECT_GT(seen.back(), 4000.0f);
        EXPECT_LT(seen.back(), 4800.0f);
        EXPECT_EQ(diagnosis->RpmText(), Format("%4.1f RPM", static_cast<double>(seen.back())));
        EXPECT_NEAR(diagnosis->Meter()->Value(), seen.back() * 0.001, 1e-6);
        EXPECT_TRUE(diagnosis->IsTimerActive()) << "recording began at RPM low - margin";

        // Two and a half blocks of the stored ramp give two values; the chart runs to 1.1 x margin.
        CQmxSimLayout layout;
        EXPECT_TRUE(layout.Parse(kRamp));
        CQmxSimSignal signal(layout, 15, 12800.0);
        const int block = diagnosis->Analysis().GetBlockSize();
        EXPECT_GT(block, 0);
        std::vector<float> pulse(static_cast<size_t>(block * 5 / 2));
        signal.Generate(pulse.data(), static_cast<int>(pulse.size()), 10.0f);
        diagnosis->Target()->SendMessage(WM_ZU_RUNUP_SAMPLES, reinterpret_cast<uintptr_t>(pulse.data()),
                                         static_cast<intptr_t>(pulse.size()));
        EXPECT_EQ(diagnosis->Analysis().Values().size(), 2u);
        QCPGraph* measured = diagnosis->Chart()->graph(0);
        EXPECT_EQ(measured->dataCount(), diagnosis->Analysis().GetPointCount());
        EXPECT_EQ(measured->data()->at(1)->value, diagnosis->Analysis().Values()[1]);
        EXPECT_GT(measured->data()->at(1)->value, 0.0);
        EXPECT_EQ(measured->data()->at(2)->value, 0.0);
        EXPECT_EQ(diagnosis->Chart()->graph(1)->data()->at(0)->value, 400.0);
        EXPECT_DOUBLE_EQ(diagnosis->Chart()->yAxis->range().upper, 440.0);
        EXPECT_EQ(diagnosis->Chart()->yAxis->label(), "Delta RPM / Delta T [RPM]");
        Grab(*diagnosis, "DlgAccelRpm");

        // The diagnosis window's stop button stops the check run and closes the window.
        QPointer<CDlgAccelRpm> alive(diagnosis);
        diagnosis->StopButton()->click();
        EXPECT_FALSE(dlg.RunManager().IsRunning());
        EXPECT_EQ(CDlgAccelRpm::GetInstance(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000));

        // A margin of 0 is refused before anything runs.
        dlg.Edit(3117)->setText("0");
        dialogs.PressCancel();
        prompts.Answer(IDOK);
        dlg.OnCheck();
        EXPECT_EQ(prompts.Last().text, "Please enter an integer between 1 and 10000.");
        EXPECT_FALSE(dlg.RunManager().IsRunning());
        dlg.Edit(3117)->setText("400");
        // A constant-speed check has nothing to trigger on: it runs free for the measurement time.
        dlg.Radio(3215)->click();
        dialogs.PressCancel();
        dlg.OnCheck();
        EXPECT_TRUE(dlg.RunManager().IsRunning());
        EXPECT_EQ(dlg.RunManager().GetFreeRun(), 1);
        EXPECT_EQ(dlg.RunManager().GetDuration(), dlg.m_fMeasureTime);
        EXPECT_NE(CDlgAccelRpm::GetInstance(), nullptr);
        return IDCANCEL;
    });
    EXPECT_FALSE(EditEngineRotationSetup(f.daq, true));
    EXPECT_EQ(CDlgAccelRpm::GetInstance(), nullptr) << "the set-up takes its diagnosis window along";
    EXPECT_EQ(units.IsAnyUnitFlagSet(), 0);
    EXPECT_EQ(dialogs.Unexpected(), 0u);
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST_F(RunWindows, DiagnosisWindowAnalysesAStoredPulseSignal)
{
    CMeasuredFixture f;
    CDAQExperiment* set = f.AddDataSet("stored", 1);
    ASSERT_NE(set, nullptr);
    auto exp = f.MakeMeasurement(set, 1, 8192);
    f.daq->GetDAQConfig()->SetRpmMargin(300);
    CMElement* rpmSet = exp->GetRPMSignalData() ? exp->GetRPMSignalData()->GetChild(0) : nullptr;
    auto* pulse = rpmSet ? ElementCast<CExpData>(rpmSet->GetChild(0)) : nullptr;
    ASSERT_NE(pulse, nullptr);
    CDlgAccelRpm* diagnosis = CDlgAccelRpm::ShowStoredPulse(*pulse, 0);
    ASSERT_NE(diagnosis, nullptr);
    EXPECT_TRUE(diagnosis->isVisible());
    EXPECT_EQ(diagnosis->StopButton()->text(), "Close");
    const int block = diagnosis->Analysis().GetBlockSize();
    ASSERT_GT(block, 0);
    EXPECT_EQ(diagnosis->Analysis().Values().size(), static_cast<size_t>(8192 / block));
    EXPECT_EQ(diagnosis->Analysis().GetMargin(), 300.0);
    // Shown again: the same window, analysed afresh.
    EXPECT_EQ(CDlgAccelRpm::ShowStoredPulse(*pulse, 0), diagnosis);
    EXPECT_EQ(diagnosis->Analysis().Values().size(), static_cast<size_t>(8192 / block));
    // Its close button closes it (there is no run to stop).
    QPointer<CDlgAccelRpm> alive(diagnosis);
    diagnosis->StopButton()->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000));
}

TEST_F(RunWindows, DiagnosisWindowMessages)
{
    CDAQConfig config;
    config.SetSamplingFreq(12800.0f);
    config.SetRpmMargin(200);
    CRecordingMessageTarget owner;
    CDlgAccelRpm* diagnosis = CDlgAccelRpm::CreateInstance(nullptr, &owner);
    ASSERT_NE(diagnosis, nullptr);
    EXPECT_EQ(CDlgAccelRpm::CreateInstance(nullptr, &owner), nullptr) << "at most one";
    diagnosis->SetDAQConfig(config);
    diagnosis->Create();
    EXPECT_TRUE(diagnosis->RecordButton()->isEnabled());
    IMessageTarget* t = diagnosis->Target();
    EXPECT_EQ(t->SendMessage(WM_ZU_RUNUP_RPM, 0, 0), 1) << "no RPM, nothing done";
    const float rpm = 2345.67f;
    EXPECT_EQ(t->SendMessage(WM_ZU_RUNUP_RPM, reinterpret_cast<uintptr_t>(&rpm)), 0);
    EXPECT_EQ(diagnosis->RpmText(), "2345.7 RPM");
    EXPECT_EQ(diagnosis->RpmLabel()->text(), "2345.7 RPM");
    t->SendMessage(WM_ZU_RUNUP_ELAPSED_TEXT, 0, reinterpret_cast<intptr_t>("waiting"));
    EXPECT_EQ(diagnosis->ElapsedLabel()->text(), "waiting");
    t->SendMessage(WM_ZU_RUNUP_RECORDING_STARTED);
    m_ms.Advance(2500);
    diagnosis->OnTimer();
    EXPECT_EQ(diagnosis->ElapsedText(), "2.5 s");
    t->SendMessage(WM_ZU_RUNUP_RECORDING_ENDED);
    EXPECT_FALSE(diagnosis->IsTimerActive());
    // The timer is stopped: the change of language itself shows the time in the new language.
    {
        const uint32_t before = GetLoadedLanguage();
        const std::string tables = GetStringTableFolder();
        SetStringTableFolder({});
        ASSERT_TRUE(LoadLanguageStrings(LANG_JAPANESE));
        CUiTextTranslator::TranslateAll();
        EXPECT_EQ(diagnosis->ElapsedLabel()->text(), QStringLiteral("2.5 \u79d2"));
        SetStringTableFolder(tables);
        ASSERT_TRUE(LoadLanguageStrings(before ? before : LANG_ENGLISH));
        CUiTextTranslator::TranslateAll();
        EXPECT_EQ(diagnosis->ElapsedLabel()->text(), QStringLiteral("2.5 s"));
    }
    t->SendMessage(WM_ZU_RUNUP_ENABLE, 0, 0);
    EXPECT_FALSE(diagnosis->StopButton()->isEnabled());
    EXPECT_EQ(diagnosis->ElapsedText(), "");
    t->SendMessage(WM_ZU_RUNUP_ENABLE, 0, 1);
    EXPECT_FALSE(diagnosis->RecordButton()->isEnabled()) << "recording by hand only in the compact window";
    diagnosis->SetMode(1);
    EXPECT_EQ(diagnosis->StopButton()->text(), "Close");
    diagnosis->SetMode(0);
    EXPECT_EQ(diagnosis->StopButton()->text(), "Stop");
    // No band set, no blocks: samples add nothing, the chart stays empty.
    std::vector<float> x(4096, 0.0f);
    t->SendMessage(WM_ZU_RUNUP_SAMPLES, reinterpret_cast<uintptr_t>(x.data()), 4096);
    EXPECT_TRUE(diagnosis->Analysis().Values().empty());
    EXPECT_EQ(diagnosis->Chart()->graph(0)->dataCount(), 0);
    // Recording by hand tells the owner once.
    diagnosis->RecordButton()->setEnabled(true);
    diagnosis->RecordButton()->click();
    EXPECT_FALSE(diagnosis->RecordButton()->isEnabled());
    EXPECT_EQ(owner.MessageNumbers(), (std::vector<uint32_t>{WM_ZU_DAQ_RECORD_START}));
    // Enter and Escape leave it open; 0x2504 closes it.
    QTest::keyClick(diagnosis, Qt::Key_Escape);
    EXPECT_EQ(CDlgAccelRpm::GetInstance(), diagnosis);
    QPointer<CDlgAccelRpm> alive(diagnosis);
    t->SendMessage(WM_ZU_RUNUP_DESTROY);
    EXPECT_EQ(CDlgAccelRpm::GetInstance(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000));
    EXPECT_EQ(owner.MessageNumbers().size(), 1u) << "closing by message sends no stop";
}
