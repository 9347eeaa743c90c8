// Messages of the project model that used to be message boxes reach the feedback the caller gives:
// with the severity of the box's icon and the string id that lets a window show the same box, and
// no box pops up on the way.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "NewerProjectFile.h"
#include "ProjectTestEnv.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/InputPowerExport.h"
#include "app/ModelDataText.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/PromptService.h"

TEST(CoreReports, MessagesReachTheCallersFeedbackWithTheirSeverityAndId)
{
    CScriptedPrompts prompts;
    CTALVOProject container;
    CAnalysisProject* analysis = container.AddAnalysisProject(nullptr, nullptr);
    ASSERT_NE(analysis, nullptr);
    CModelProject model("Model");
    CTALVODoc doc;
    const std::string absent = (AppTestTempDir() / "absent.dmd").string();
    const std::string workbook = (AppTestTempDir() / "old.xls").string();

    using S = CFeedback::ESeverity;
    const struct
    {
        const char* label;
        std::function<void(CFeedback&)> run;
        S severity;
        uint32_t stringId;
        std::string text; // how the report's text begins
    } cases[] = {
        {"model data without a model",
         [&](CFeedback& f) { EXPECT_EQ(container.CheckModelCompatibility(nullptr, 1, &f), 0); }, S::Warning, 6014,
         "The project has no model."},
        {"a model data file that cannot be read",
         [&](CFeedback& f) { EXPECT_EQ(ReadModelDataText(&model, absent, 0, &f), nullptr); }, S::Error, 7052,
         "The model data file " + absent},
        {"a project file of a newer program",
         [&](CFeedback& f) {
             const std::vector<uint8_t> bytes = NewerProjectFile();
             CTALVOProject read;
             read.SetFeedback(&f);
             CArchive ar(bytes.data(), bytes.size());
             EXPECT_THROW(read.Serialize(ar), CArchiveException);
         },
         S::Error, 6450, kNewerProjectFileText},
        // What an object read from a file reports goes to the archive's feedback.
        {"an analysis project of an old program",
         [&](CFeedback& f) {
             const uint8_t nothing = 0;
             CArchive ar(&nothing, 0);
             ar.SetObjectSchema(7);
             ar.SetFeedback(&f);
             CAnalysisProject old;
             EXPECT_THROW(old.Serialize(ar), CArchiveException);
         },
         S::Error, 6099, "This analysis project was written by a version that can no longer be read."},
        {"the model project is kept", [&](CFeedback& f) { EXPECT_FALSE(doc.RemoveProjectAt(0, &f)); }, S::Warning, 6021,
         "The model project cannot be removed."},
        {"a binary workbook",
         [&](CFeedback& f) {
             EXPECT_EQ(CInputPowerExport(analysis).Export(workbook, 0, "1100", &f), CInputPowerExport::resultRefused);
         },
         S::Warning, 0, "Binary .xls workbooks are not supported"},
        // Finished and failed calculations were always shown with the information icon.
        {"a calculation without a hybrid model",
         [&](CFeedback& f) {
             EXPECT_EQ(
                 CCalcCommands::OnCalcEnergyResult(CZuSubsystemTable(std::vector<std::string>{"Roof"}), analysis, &f),
                 0);
         },
         S::Information, 6076, "The calculation failed.\n\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CRecordingFeedback feedback;
        c.run(feedback);
        ASSERT_EQ(feedback.reports.size(), 1u);
        const CFeedback::SReport& report = feedback.reports.front();
        EXPECT_EQ(report.severity, c.severity);
        EXPECT_EQ(report.stringId, c.stringId);
        EXPECT_EQ(report.text.substr(0, c.text.size()), c.text) << report.text;
    }
    EXPECT_EQ(prompts.Count(), 0u) << prompts.Last().text;
}
