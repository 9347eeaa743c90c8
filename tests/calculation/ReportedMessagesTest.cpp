// Messages of the model, calculation and sensor code reach the caller's feedback as reports, with
// the text and string id the box showed, and show no box of their own; without a feedback they
// show the same box on the main window's status bar.
#include <gtest/gtest.h>

#include "CalcTestSupport.h"
#include "calculation/InputEnergyCalculator.h"
#include "experiments/SensorProject.h"
#include "models/HSEAResultData.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringTable.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

namespace {
using ESeverity = CFeedback::ESeverity;

// The one report a feedback holds.
void ExpectOneReport(const CRecordingFeedback& feedback, ESeverity severity, uint32_t id, const std::string& text)
{
    ASSERT_EQ(feedback.reports.size(), 1u);
    EXPECT_EQ(feedback.reports[0].severity, severity);
    EXPECT_EQ(feedback.reports[0].stringId, id);
    EXPECT_EQ(feedback.reports[0].text, text);
}
} // namespace

TEST(ReportedMessages, ModelCalculationAndSensorMessagesArriveAsReports)
{
    CScriptedPrompts prompts;
    {
        SCOPED_TRACE("a hybrid SEA result whose model data cannot be found");
        CHSEAResultData result;
        result.SetModelSerial(42);
        CRecordingFeedback feedback;
        EXPECT_EQ(result.SolveBands(nullptr, &feedback), 0);
        ExpectOneReport(feedback, ESeverity::Warning, 7100, FormatString(7100, 42));
        EXPECT_NE(feedback.reports[0].text.find("42"), std::string::npos) << feedback.reports[0].text;

        CRecordingFeedback levels;
        EXPECT_EQ(result.CreateSPLFunc("Nowhere-", &levels), nullptr);
        ExpectOneReport(levels, ESeverity::Warning, 11611, FormatString(11611, "Nowhere-"));
    }
    {
        SCOPED_TRACE("an input-energy calculation whose subsystem has no measured response");
        CStubDaqProject daq;
        CStubExperiment set;
        set.info.SetName(0, "Other"); // the set's response is looked up by this name: none
        daq.factors["Roof-F"] = 1.0;
        daq.used["Roof-F"].Add(&set);
        CRPMOptions rpm;
        rpm.SetRange(1000.0f, 1100.0f, 50.0f);
        COctaveManagerEx bands(OCTAVE_BAND_THIRD, 100.0, 200.0);
        CZuSubsystemTable subsystems;
        subsystems.Add("Roof-F");
        CInputEnergyCalculator calc;
        calc.m_daqProject = &daq;
        calc.m_rpmOptions = &rpm;
        calc.m_bands = &bands;
        calc.m_subsystems = &subsystems;
        CRecordingFeedback feedback;
        calc.m_progress = &feedback;
        EXPECT_EQ(calc.Calculate(), 0);
        ExpectOneReport(feedback, ESeverity::Warning, 6066, MessageTextOf(6066));

        // A subsystem without experiments, named when the report is asked for.
        subsystems.Add("Lone-F");
        calc.m_report = 1;
        feedback.reports.clear();
        EXPECT_EQ(calc.Calculate(), 0);
        ExpectOneReport(feedback, ESeverity::Warning, 7082, FormatString(7082, "Lone-F\n"));
    }
    {
        SCOPED_TRACE("a sensor whose ID is taken, and a group with no channel left");
        CSensorProject project;
        tagSENSORINFO info;
        info.ID = "A1";
        info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
        ASSERT_NE(project.AddSensor(info), nullptr);
        CRecordingFeedback feedback;
        EXPECT_EQ(project.AddSensor(info, &feedback), nullptr);
        ExpectOneReport(feedback, ESeverity::Warning, 6201, MessageTextOf(6201));

        CSensorGroup group;
        ASSERT_EQ(group.SetMember({"A1", 1, 0, 0, 0}, 1), 1);
        CRecordingFeedback full;
        EXPECT_EQ(group.SetMember({"A2", 1, 1, 1, 0}, 1, &full), 0);
        ExpectOneReport(full, ESeverity::Warning, 7081, FormatString(7081, 1));
    }
    EXPECT_EQ(prompts.Count(), 0u) << "a report given to the caller's feedback shows no box";

    // The window's status-bar feedback shows the same message as a box with the report's icon (a
    // box that had none before now has the warning's).
    CSensorGroup group;
    ASSERT_EQ(group.SetMember({"A1", 1, 0, 0, 0}, 1), 1);
    prompts.Answer(IDOK);
    CStatusBarFeedback boxes;
    EXPECT_EQ(group.SetMember({"A2", 1, 1, 1, 0}, 1, &boxes), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7081u);
    EXPECT_EQ(prompts.Last().text, FormatString(7081, 1));
    EXPECT_EQ(prompts.Last().style, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
}
