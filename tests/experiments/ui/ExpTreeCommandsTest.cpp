// The measurement window's commands that open the acquisition windows: when each is enabled, and
// each one opening its window over a measured project and simulated units.
#include <gtest/gtest.h>

#include "SimUnits.h"
#include "acquisition/ui/DlgAccelRpm.h"
#include "acquisition/ui/DlgQmxGainSetting.h"
#include "acquisition/ui/DlgRealTimeMonitor.h"
#include "app/DaqProject.h"
#include "app/TALVOProject.h"
#include "experiments/CalcOptions.h"
#include "experiments/DAQConfig.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/RPMSignalData.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/ExpAnalysisOptions.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpTreeView.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "support/WidgetShot.h"

#include <QTabWidget>

#include <filesystem>
#include <memory>
#include <vector>

namespace {
constexpr int kChannels = 32;
constexpr int kRpmChannel = 15;

// A measured project of one experiment (sensor groups on the simulated units' channels) opened in
// a document with its tree view; the pulse data set is added by the tests that need it.
struct CMeasuredWindow
{
    CMeasuredWindow()
    {
        dir = std::filesystem::temp_directory_path() / ("orvex_exptreecmd_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        container.SetDocumentPath((dir / "project.orv").string());
        const auto model = std::filesystem::path(ORVEX_SOURCE_DIR) / "samples" / "sample-model.dmd";
        EXPECT_NE(container.CreateModelProjectFromFile(0, model.string()), nullptr);
        const CZuSubsystemTable* table = container.GetModelSubsystemTable();
        std::string structure, response;
        for (int i = 0; table && i < table->GetCount(); ++i) {
            if (structure.empty() && container.IsStructure((*table)[i]))
                structure = (*table)[i];
            else if (response.empty() && container.IsStructure((*table)[i]))
                response = (*table)[i];
        }
        container.SetTargetSubsystem(response);
        container.SetSystemChannelCount(kChannels);
        daq = container.AddDaqProject();
        CDAQConfig* config = daq->GetDAQConfig();
        config->SetSamplingFreq(25600.0f);
        config->SetRpmChannel(kRpmChannel);
        config->SetOption60(0);
        CSensorProject* sensors = container.GetSensorProject();
        for (int i = 1; i <= kChannels; ++i) {
            tagSENSORINFO info;
            info.ID = Format("S%d", i);
            info.ChannelInfo.Channel = i - 1;
            info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
            info.ChannelInfo.Sensitivity = 10.0f;
            EXPECT_NE(sensors->AddSensor(info), nullptr);
        }
        CSensorGroup* reference = sensors->InsertGroup(0);
        CSensorGroup* excited = sensors->InsertGroup(1);
        for (int c = 0; c < 4; ++c)
            reference->SetMember({Format("S%d", c + 1), 1, c, c, 0}, kChannels);
        for (int c = 4; c < 8; ++c)
            excited->SetMember({Format("S%d", c + 1), 2, c - 4, c, 0}, kChannels);
        CExpInfo info;
        info.SetName(0, structure);
        info.SetName(1, response);
        info.SetInt(0, 1);
        info.SetSensorGroup(0, *excited);
        info.SetSensorGroup(1, *reference);
        info.SetLabel("Run-up");
        EXPECT_EQ(daq->OpenDAQSystemDoc(&doc, {&info}), 1);
        view = std::make_unique<CExpTreeView>(&doc);
        view->OnInitialUpdate();
    }
    ~CMeasuredWindow()
    {
        view.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    CExpProject* Project() const { return doc.GetProject(); }
    // A pulse data set whose channel holds a steady ramp of pulses.
    CExpData* AddPulse()
    {
        CExpDataSet* set = Project()->AddRpmSignalDataSet();
        EXPECT_NE(set, nullptr);
        auto* pulse = set ? ElementCast<CExpData>(set->GetChild(0)) : nullptr;
        if (pulse) {
            std::vector<float> samples(25600);
            for (size_t i = 0; i < samples.size(); ++i)
                samples[i] = (i % 64) < 8 ? 5.0f : 0.0f;
            pulse->SetSamples(samples.data(), static_cast<int>(samples.size()));
        }
        view->OnUpdate(nullptr, CExpDoc::kHintNone, nullptr);
        return pulse;
    }

    std::filesystem::path dir;
    CTALVOProject container;
    CDaqProject* daq = nullptr;
    CExpDoc doc;
    std::unique_ptr<CExpTreeView> view;
};

TEST(ExpTreeCommands, EnabledByUnitsMeasuredDataAndSelection)
{
    CMeasuredWindow w;
    CExpTreeView& v = *w.view;
    ASSERT_NE(w.Project(), nullptr);
    // The program's own interface has no unit: nothing to set gains on or to monitor.
    EXPECT_FALSE(v.IsCommandEnabled(CExpTreeView::ID_GAIN_SETTING));
    EXPECT_FALSE(v.IsCommandEnabled(CExpTreeView::ID_REAL_TIME_MONITOR));
    CSimUnits rig(2);
    w.doc.SetDAQInterface(rig.Daq());
    EXPECT_TRUE(v.IsCommandEnabled(CExpTreeView::ID_GAIN_SETTING));
    EXPECT_TRUE(v.IsCommandEnabled(CExpTreeView::ID_REAL_TIME_MONITOR));

    EXPECT_FALSE(v.IsCommandEnabled(CExpTreeView::ID_EXP_ANALYSIS_OPTIONS)) << "no pulse data set yet";
    CExpData* pulse = w.AddPulse();
    ASSERT_NE(pulse, nullptr);
    EXPECT_TRUE(v.IsCommandEnabled(CExpTreeView::ID_EXP_ANALYSIS_OPTIONS));
    CExpDataSet* excitationSet = w.Project()->AddExcitationDataSet(1);
    ASSERT_NE(excitationSet, nullptr);
    v.OnUpdate(nullptr, CExpDoc::kHintNone, nullptr);

    struct Case
    {
        const char* what;
        CMElement* selected;
        int mode;
        bool enabled;
    };
    const Case cases[] = {
        {"the project", w.Project(), 0, false},
        {"the pulse data set", pulse->GetDataSet(), 0, true},
        {"the pulse channel", pulse, 0, true},
        {"the pulse channel at constant RPM", pulse, 1, false},
        {"the pulse channel in mode 2", pulse, 2, true},
        {"an excitation's data set", excitationSet, 0, false},
        {"an excitation's channel", excitationSet->GetChild(0), 0, false},
    };
    for (const Case& c : cases) {
        w.Project()->SetMode(c.mode);
        v.SelectElement(c.selected);
        EXPECT_EQ(v.IsCommandEnabled(CExpTreeView::ID_ACCEL_RPM), c.enabled) << c.what;
        EXPECT_EQ(v.SelectedPulseChannel() != nullptr, c.enabled || c.mode == 1) << c.what;
    }
    w.Project()->SetMode(0);
    v.SelectElement(w.Project());
    EXPECT_FALSE(v.OnCommand(CExpTreeView::ID_ACCEL_RPM)) << "disabled: nothing opens";
    EXPECT_EQ(CDlgAccelRpm::GetInstance(), nullptr);

    // The band-average page of the analysis options: full layout for free-length blocks.
    EXPECT_EQ(ExpBandAveMask(0, 0), 2 | 0x100 | 0x10);
    EXPECT_EQ(ExpBandAveMask(1, 1), 2 | 0x200 | 0x20);
}

TEST(ExpTreeCommands, EachCommandOpensItsWindow)
{
    CMeasuredWindow w;
    CExpTreeView& v = *w.view;
    CSimUnits rig(2);
    w.doc.SetDAQInterface(rig.Daq());
    CExpData* pulse = w.AddPulse();
    ASSERT_NE(pulse, nullptr);
    const QString shots = ShotFolder("ExpTreeCommands");

    // The real-time monitor: one window, restored when asked again, told of every data block and
    // gone with the measurement window.
    ASSERT_TRUE(v.OnCommand(CExpTreeView::ID_REAL_TIME_MONITOR));
    CDlgRealTimeMonitor* monitor = CDlgRealTimeMonitor::GetInstance();
    ASSERT_NE(monitor, nullptr);
    EXPECT_TRUE(monitor->isVisible());
    EXPECT_EQ(monitor->GetDAQProject(), w.Project());
    EXPECT_EQ(monitor->GetChannel(), w.Project()->GetRpmSignalChannel());
    EXPECT_EQ(GrabAndCheckLayout(*monitor, shots, "RealTimeMonitor").join(QLatin1Char('\n')).toStdString(), "");
    monitor->showMinimized();
    ASSERT_TRUE(v.OnCommand(CExpTreeView::ID_REAL_TIME_MONITOR));
    EXPECT_EQ(CDlgRealTimeMonitor::GetInstance(), monitor);
    EXPECT_FALSE(monitor->isMinimized());
    v.OnMessage(WM_ZU_DAQ_DATA, 0, 0);
    EXPECT_EQ(monitor->GetChannel(), w.Project()->GetRpmSignalChannel()) << "a data block keeps the channel";

    // The gain setting over the project, modal.
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.Then([&](CZuDialog& dialog) {
            auto* gains = dynamic_cast<CDlgQmxGainSetting*>(&dialog);
            EXPECT_NE(gains, nullptr);
            if (gains) {
                EXPECT_GT(gains->Table().GetCount(), 0);
            }
            EXPECT_EQ(GrabAndCheckLayout(dialog, shots, "QmxGainSetting").join(QLatin1Char('\n')).toStdString(), "");
            return dialog.PressCancel();
        });
        EXPECT_TRUE(v.OnCommand(CExpTreeView::ID_GAIN_SETTING));
        ASSERT_EQ(dialogs.Records().size(), 1u);
        EXPECT_EQ(dialogs.Records()[0].templateId, 4090);
    }

    // The run-up diagnosis of the stored pulse signal, modeless.
    v.SelectElement(pulse->GetDataSet());
    ASSERT_TRUE(v.OnCommand(CExpTreeView::ID_ACCEL_RPM));
    CDlgAccelRpm* diagnosis = CDlgAccelRpm::GetInstance();
    ASSERT_NE(diagnosis, nullptr);
    EXPECT_TRUE(diagnosis->isVisible());
    EXPECT_EQ(GrabAndCheckLayout(*diagnosis, shots, "AccelRpmStored").join(QLatin1Char('\n')).toStdString(), "");
    ASSERT_TRUE(v.OnCommand(CExpTreeView::ID_ACCEL_RPM));
    EXPECT_EQ(CDlgAccelRpm::GetInstance(), diagnosis) << "one window";
    CDlgAccelRpm::DestroyInstance();

    // The analysis options: OK hands the edited values to the DAQ project and every experiment.
    CCalcOptions* daqOptions = w.daq->GetCalcOptions();
    std::vector<CCalcOptions*> experiments;
    for (CMElement* e : w.Project()->GetExperimentList())
        if (auto* data = dynamic_cast<IDaqExperimentData*>(e))
            experiments.push_back(data->GetCalcOptions());
    ASSERT_FALSE(experiments.empty());
    experiments.front()->SetHighPassFreq(33.0f);
    experiments.front()->SetLineCount(1600.0f);
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.Then([&](CZuDialog& dialog) {
            EXPECT_EQ(GrabAndCheckLayout(dialog, shots, "AnalysisOptions").join(QLatin1Char('\n')).toStdString(), "");
            return dialog.PressOK();
        });
        EXPECT_TRUE(v.OnCommand(CExpTreeView::ID_EXP_ANALYSIS_OPTIONS));
        EXPECT_EQ(dialogs.Records().size(), 1u);
    }
    EXPECT_EQ(daqOptions->GetHighPassFreq(), 33.0f);
    EXPECT_EQ(daqOptions->GetLineCount(), 1600.0f);
    {
        // Cancel leaves the DAQ project's options alone.
        experiments.front()->SetHighPassFreq(44.0f);
        CScriptedDialogs dialogs;
        dialogs.PressCancel();
        EXPECT_TRUE(v.OnCommand(CExpTreeView::ID_EXP_ANALYSIS_OPTIONS));
        EXPECT_EQ(daqOptions->GetHighPassFreq(), 33.0f);
    }

    w.view.reset();
    EXPECT_EQ(CDlgRealTimeMonitor::GetInstance(), nullptr) << "the monitor goes with the window";
}
} // namespace
