// Named input-power sets of the model project solved into their results.
#include <gtest/gtest.h>

#include <filesystem>

#include "ProjectTestEnv.h"
#include "SampleProject.h"
#include "app/InputPowerSets.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "models/ASEAModelData.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAResultData.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"

namespace {
namespace fs = std::filesystem;

struct SetsFixture : ::testing::Test
{
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sample::Build(doc, fs::path(ORVEX_SOURCE_DIR) / "samples",
                                  (AppTestTempDir() / "sets" / "S.orv").string(), &error))
            << error;
        model = doc.GetTALVOProject().GetModelProject();
        ASSERT_NE(model, nullptr);
    }
    void TearDown() override
    {
        if (site.next)
            doc.GetTALVOProject().SetSite(site.next);
        doc.OnCloseDocument();
    }

    void AddHSEAModel()
    {
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
            nullptr);
    }
    // Counts what the projects' trees tell the document, and passes it on.
    struct CountingSite : IProjectContainerSite
    {
        IProjectContainerSite* next = nullptr;
        int added = 0;
        int removed = 0;
        void OnElementAdded(int project, CMElement* element) override
        {
            ++added;
            next->OnElementAdded(project, element);
        }
        void OnElementRemoved(int project, CMElement* element) override
        {
            ++removed;
            next->OnElementRemoved(project, element);
        }
        void OnElementRenamed(int project, CMElement* element) override { next->OnElementRenamed(project, element); }
        void OnContainerModified() override { next->OnContainerModified(); }
    };
    void CountTreeNotices()
    {
        site.next = doc.GetTALVOProject().GetSite();
        doc.GetTALVOProject().SetSite(&site);
    }

    CScriptedPrompts prompts;
    CRecordingMessageTarget window;
    CMainWindowTargetScope scope{&window};
    CTALVODoc doc;
    CountingSite site;
    CModelProject* model = nullptr;
};
} // namespace

TEST_F(SetsFixture, SolvingASetTwiceKeepsOneResultAndAFailureKeepsTheEarlierOne)
{
    AddHSEAModel();
    CountTreeNotices();
    CHSEAGeneralData* set = CInputPowerSets::CreateSet(*model);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->GetType(), ElementType::InputPowerData);
    EXPECT_EQ(set->GetParent(), model);
    EXPECT_EQ(site.added, 1);
    ASSERT_NE(set->AddPowerFunc("Roof-F", 0), nullptr);

    CHSEAResultData* first = CInputPowerSets::Solve(model, set, StatusBarBoxes());
    ASSERT_NE(first, nullptr) << (prompts.Count() ? prompts.Last().text : std::string());
    EXPECT_EQ(first->GetName(), "Result [" + set->GetName() + "]");
    CZuVecFunc* energies = first->GetModalEnergyVector(0);
    ASSERT_NE(energies, nullptr);
    const int roof = energies->GetIndex("Roof-F");
    ASSERT_GE(roof, 0);
    EXPECT_GT(energies->DataValue(5, roof), 0.0);
    const int index = model->GetChildIndex(first);

    CHSEAResultData* second = CInputPowerSets::Solve(model, set, StatusBarBoxes());
    ASSERT_NE(second, nullptr);
    int named = 0;
    for (int i = 0; i < model->GetChildCount(); ++i)
        named += model->GetChild(i)->GetName() == second->GetName();
    EXPECT_EQ(named, 1);
    EXPECT_EQ(model->GetChildIndex(second), index);
    EXPECT_EQ(site.removed, 1);

    // A set that has lost its powers cannot be solved: the result that was there stays.
    while (set->GetChildCount() > 0)
        set->DeleteChild(set->GetChild(0), 1);
    const int removedBefore = site.removed;
    prompts.Clear();
    EXPECT_EQ(CInputPowerSets::Solve(model, set, StatusBarBoxes()), nullptr);
    EXPECT_EQ(prompts.Last().stringId, 6076u);
    EXPECT_EQ(model->GetChildIndex(second), index);
    EXPECT_EQ(site.removed, removedBefore);
}

TEST_F(SetsFixture, WhatIsMissingIsTold)
{
    EXPECT_EQ(CInputPowerSets::Solve(nullptr, nullptr, StatusBarBoxes()), nullptr);
    EXPECT_EQ(prompts.Count(), 0u) << "no model project: silently";
    if (!model->GetHSEAModelData()) {
        EXPECT_EQ(CInputPowerSets::Solve(model, nullptr, StatusBarBoxes()), nullptr);
        EXPECT_EQ(prompts.Last().stringId, 6088u);
    }
    AddHSEAModel();
    EXPECT_EQ(CInputPowerSets::Solve(model, nullptr, StatusBarBoxes()), nullptr);
    EXPECT_EQ(prompts.Last().stringId, 6097u);
}
