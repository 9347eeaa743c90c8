// The target's response to each source's input power over RPM.
#include <gtest/gtest.h>

#include "app/AnalysisProject.h"
#include "app/TALVOProject.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "uff/InputPowerMultiVecFunc.h"

TEST(InputPowerMultiVecFunc, AnInputPowerThatCannotBeHadGivesNothing)
{
    LoadLanguageStrings(LANG_ENGLISH);
    CTALVOProject container;
    ASSERT_NE(container.CreateModelProjectFromFile(0, std::string(ORVEX_SOURCE_DIR) + "/samples/sample-model.dmd"),
              nullptr);
    CRPMOptions rpm;
    CAnalysisProject* project = container.AddAnalysisProject(&rpm, nullptr);
    ASSERT_NE(project, nullptr);
    const CZuSubsystemTable& model = *container.GetModelSubsystemTable();
    CZuSubsystemTable sources;
    sources.Add(model[0]);
    sources.Add(model[1]);
    CScriptedPrompts prompts;
    prompts.responder = [](const PromptRecord&) { return std::optional<PromptAnswer>(PromptAnswer{IDOK, {}, 0}); };
    const int children = project->GetChildCount();
    // The main window's status bar shows the report as its box.
    CStatusBarFeedback boxes;
    EXPECT_EQ(MakeInputPowerMultiVecFunc(*project, model[2], sources, &boxes), nullptr);
    bool told = false;
    for (const PromptRecord& r : prompts.Records())
        told = told || (r.stringId == 7054 && r.text.find(model[0]) != std::string::npos);
    EXPECT_TRUE(told);
    EXPECT_EQ(project->GetChildCount(), children);
}
