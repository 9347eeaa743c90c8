// Work of the planning, universal-file and acquisition libraries that is refused tells why through
// its caller's feedback: the message arrives as a report with its severity (and its string-table
// id where it has one), and the work itself shows no box.
#include "../uff/UFImportFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

#include "acquisition/BaseDAQInterface.h"
#include "app/AnalysisProject.h"
#include "planning/ExpPlanIO.h"
#include "platform/audio/WaveOut.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "support/fuzz/MemoryPlanOwner.h"
#include "uff/InputPowerMultiVecFunc.h"
#include "uff/MkExtDaqProject.h"

namespace {
using ESeverity = CFeedback::ESeverity;

struct SReportCase
{
    const char* what;
    // Runs the work with the feedback; true when it ended as the case expects (and showed no box
    // of its own).
    std::function<bool(CFeedback&)> run;
    ESeverity severity;
    uint32_t stringId;
    const char* text; // a part of the reported text
};
} // namespace

TEST(MessageReports, RefusedWorkReportsThroughTheCallersFeedback)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    const fs::path dir = fs::temp_directory_path() / ("orvex_message_reports_" + std::to_string(::getpid()));
    fs::create_directories(dir);

    // A workbook without the planning sheets.
    const std::string noSheets = (dir / "other.xlsx").string();
    {
        CExcelWrapper x;
        ASSERT_TRUE(x.Create(false));
        ASSERT_TRUE(x.Open());
        x.AddSheet("Other", 1);
        ASSERT_TRUE(x.SaveAs(noSheets)) << x.ErrorText();
    }
    CMemoryPlanOwner owner;
    CQMXBlixList group(1);
    group.SetUnitName(0, 0, "U1");
    CQMXSensorMapList plans({&group});
    CQMXSensorMap* front = plans.AddPlan(1, "Front");
    CSensorAssignment assignment;
    assignment.AddRow("A", {"a1"});
    ASSERT_EQ(front->AssignSubsystem(assignment, 0), 1);

    // A universal-file import of two datasets of one run, whose RPMs make a grid or not; the
    // fixture's own prompts and the progress display stay silent.
    const auto import = [](CFeedback& feedback, double secondRpm) {
        Fixture f("reports");
        const std::string file = f.Write("t.unv", f.Spectrum(f.a, 0, 1000.0, 0) + f.Spectrum(f.a, 1, secondRpm, 10));
        f.ui.dialogs = {Fixture::Files({file})};
        CMkExtDaqProject builder(f.container, f.uf);
        const int result = builder.ImportUFData(&feedback);
        return f.prompts.Count() == 0 && f.ui.reports.empty() && result == (secondRpm > 1001.0 ? 1 : 0);
    };

    const SReportCase cases[] = {
        {"plan workbook without its sheets",
         [&](CFeedback& feedback) {
             CExpPlanIO io(&owner);
             io.SetFeedback(&feedback);
             return io.ImportFromExcel(noSheets) == 0;
         },
         ESeverity::Warning, 0, "The excel worksheet is not found.\n[BLIXs]"},
        {"plan workbook in the binary format",
         [&](CFeedback& feedback) {
             CExpPlanIO io(&owner);
             io.SetFeedback(&feedback);
             return io.ExportToExcel((dir / "plans.xls").string()) == 0;
         },
         ESeverity::Warning, 0, ".xlsx"},
        {"more sensors than a plan's units wire",
         [&](CFeedback& feedback) {
             return plans.ReplaceSubsystemSensorsInAll("A", {"1", "2", "3"}, &feedback) == 0;
         },
         ESeverity::Warning, IDS_PLAN_SENSORS_DO_NOT_FIT, "Front"},
        {"universal files whose RPMs make no grid", [&](CFeedback& feedback) { return import(feedback, 1000.4); },
         ESeverity::Warning, 0, "Failed to detect valid RPM values!"},
        {"universal files imported", [&](CFeedback& feedback) { return import(feedback, 1100.0); },
         ESeverity::Information, IDS_FINISHED, "Finished"},
        {"an input power that cannot be had",
         [](CFeedback& feedback) {
             CTALVOProject container;
             if (!container.CreateModelProjectFromFile(0, kModel))
                 return false;
             CRPMOptions rpm;
             CAnalysisProject* project = container.AddAnalysisProject(&rpm, nullptr);
             const CZuSubsystemTable& model = *container.GetModelSubsystemTable();
             CZuSubsystemTable sources;
             sources.Add(model[0]);
             return project && !MakeInputPowerMultiVecFunc(*project, model[2], sources, &feedback);
         },
         ESeverity::Warning, IDS_INPUT_POWER_NOT_CALCULATED, "cannot be calculated"},
        {"noise without a sound device",
         [](CFeedback& feedback) {
             CWaveOut::SetMode(WaveOutMode::None);
             CBaseDAQInterface daq;
             daq.SetFeedback(&feedback);
             const bool refused = !daq.SetNoiseType(1);
             CWaveOut::SetMode(WaveOutMode::Auto);
             return refused;
         },
         ESeverity::Warning, 0, "No Sound Output Device"},
    };
    for (const SReportCase& c : cases) {
        SCOPED_TRACE(c.what);
        CScriptedPrompts prompts;
        CRecordingFeedback feedback;
        EXPECT_TRUE(c.run(feedback));
        EXPECT_EQ(prompts.Count(), 0u) << prompts.Last().text;
        EXPECT_EQ(feedback.reports.size(), 1u);
        if (feedback.reports.empty())
            continue;
        const CFeedback::SReport& report = feedback.reports[0];
        EXPECT_EQ(report.severity, c.severity);
        EXPECT_EQ(report.stringId, c.stringId);
        EXPECT_NE(report.text.find(c.text), std::string::npos) << report.text;
    }
    fs::remove_all(dir);
}
