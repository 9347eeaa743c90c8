// The project's channel-assignment commands: a failed import or export leaves its report beside the
// file and says where, or says that not even the report could be written.
#include <gtest/gtest.h>

#include <fstream>

#include "ProjectTestEnv.h"
#include "acquisition/BlixChDB.h"
#include "app/TALVOProject.h"
#include "platform/win/PromptService.h"

TEST(TALVOProjectBlix, FailedRunsReportBesideTheFile)
{
    const auto dir = AppTestTempDir() / "blix";
    std::filesystem::create_directories(dir);
    CTALVOProject project;
    CScriptedPrompts prompts;

    // No model: no subsystem is known, so the one row fails and the report says so.
    const std::string path = (dir / "channels.txt").string();
    std::ofstream(path) << "Door\t12\t1\tS1\n";
    EXPECT_EQ(project.ImportBlixChannelFile(path, StatusBarBoxes()), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7090u);
    EXPECT_NE(prompts.Last().text.find(path + ".err.txt"), std::string::npos);
    std::ifstream report(path + ".err.txt");
    std::string first;
    std::getline(report, first);
    EXPECT_EQ(first, "### SUBSYSTEM NOT FOUND ###");

    // An export into a folder that does not exist cannot leave a report there either.
    const std::string nowhere = (dir / "missing" / "out.txt").string();
    EXPECT_EQ(project.ExportBlixChannelFile(nowhere, StatusBarBoxes()), 0);
    ASSERT_EQ(prompts.Count(), 2u);
    EXPECT_EQ(prompts.Last().stringId, 7056u);

    EXPECT_EQ(project.ExportBlixChannelFile((dir / "out.txt").string(), StatusBarBoxes()), 1);
    EXPECT_EQ(prompts.Count(), 2u);
}
