// A project file holding a universal-file DAQ project loads and stores back unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "app/TALVOProject.h"
#include "platform/archive/Archive.h"
#include "platform/win/PromptService.h"
#include "platform/win/ZuRegOptions.h"
#include "uff/ExtUFDaqProject.h"

TEST(ExtUFDaqProject, ContainerRoundTrip)
{
    CScriptedPrompts prompts;
    CTALVOProject project;
    project.AddDaqProject();
    CDaqProject* added = project.AddExtDaqProject(std::make_unique<CExtUFDaqProject>());
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->GetName(), "DAQ1");
    auto* uf = DynamicDowncast<CExtUFDaqProject>(added);
    ASSERT_NE(uf, nullptr);
    uf->GetSourceFiles().push_back("/data/run1.unv");
    uf->GetNodeMap().SetAt(CUFNode(4, "Roof-F", 0));
    uf->GetExpPlans().AddPlan(8, "")->SetSensor(2, "A1");
    uf->SetPlanMaxChannel(64);

    CDaqProject* templ = nullptr;
    project.AddExtDaqProject(std::make_unique<CExtUFDaqProject>(), &templ);
    EXPECT_EQ(templ, uf);

    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        project.Serialize(ar);
    }
    CTALVOProject loaded;
    {
        CArchive ar(bytes.data(), bytes.size());
        loaded.Serialize(ar);
    }
    auto* back = DynamicDowncast<CExtUFDaqProject>(loaded.GetProject(1));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetSourceFiles(), uf->GetSourceFiles());
    EXPECT_EQ(back->GetNodeMap().Nodes(), uf->GetNodeMap().Nodes());
    EXPECT_EQ(back->GetPlanMaxChannel(), 64);
    EXPECT_EQ(back->GetExpPlans().GetPlanCount(), 1);
    EXPECT_EQ(back->IsUFData(), 1);
    std::vector<uint8_t> again;
    {
        CArchive ar(&again, CArchive::store);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(again, bytes);
}

TEST(ExtUFDaqProject, ReverseSensitivitySavedAsDefaultReachesNewProjects)
{
    CExtUFDaqProject first;
    EXPECT_EQ(first.GetRevSensMode(), 0);
    first.SetRevSensMode(1, 0);
    EXPECT_EQ(CExtUFDaqProject().GetRevSensMode(), 0);
    first.SetRevSensMode(1, 1);
    EXPECT_EQ(CExtUFDaqProject().GetRevSensMode(), 1);
    first.SetRevSensMode(0, 1);
}
