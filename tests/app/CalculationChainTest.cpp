// The calculation chain of an analysis project on the sample project, without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "ProjectTestEnv.h"
#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/DAQExperiment.h"
#include "app/TALVOExp.h"
#include "calculation/CalcProjectManager.h"
#include "experiments/ExpProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/InputEnergyFolder.h"
#include "calculation/InputPowerFolder.h"
#include "models/HSEAResultData.h"
#include "platform/archive/Archive.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmDpFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"

namespace {
namespace fs = std::filesystem;
const fs::path kSamples = fs::path(ORVEX_SOURCE_DIR) / "samples";

struct ChainFixture : ::testing::Test
{
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sample::Build(doc, kSamples, file.string(), &error)) << error;
        rpmProject = DynamicDowncast<CAnalysisProject>(doc.GetTALVOProject().GetProject(2));
        ASSERT_NE(rpmProject, nullptr);
        // The hybrid model of the analytical model.
        CModelProject* model = doc.GetTALVOProject().GetModelProject();
        ASSERT_NE(model, nullptr);
        ASSERT_NE(model->GetASEAModelData(), nullptr);
        ASSERT_NE(model->ReplaceHSEAModel(
                      std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
                  nullptr);
        roof.Add(sample::kExcited);
    }
    void TearDown() override { doc.OnCloseDocument(); }

    CScriptedPrompts prompts;
    CRecordingMessageTarget window;
    CMainWindowTargetScope scope{&window};
    fs::path file = AppTestTempDir() / "chain" / "Chain.orv";
    CTALVODoc doc;
    CAnalysisProject* rpmProject = nullptr;
    CZuSubsystemTable roof;
};
} // namespace

TEST_F(ChainFixture, TheRpmRangeIsNarrowedOnceByTheMargin)
{
    CRPMOptions& rpm = rpmProject->GetRPMOptions();
    rpm.SetRange(1000.0f, 4000.0f, 50.0f);
    rpmProject->GetCalcIEOptions().SetRpmMargin(100.0f);
    ASSERT_EQ(rpmProject->CalcInputEnergy(roof, 0), 1);
    EXPECT_EQ(rpm.GetRpmMin(), 1100.0f);
    EXPECT_EQ(rpm.GetRpmMax(), 3900.0f);
    // Forced again: narrowed from the range the energies were calculated over, not again.
    ASSERT_EQ(rpmProject->CalcInputEnergy(roof, 1), 1);
    EXPECT_EQ(rpm.GetRpmMin(), 1100.0f);
    EXPECT_EQ(rpm.GetRpmMax(), 3900.0f);
    auto* energy = DynamicDowncast<CZuRpmFunc>(rpmProject->GetInputEnergyFolder()->FindRpmItem(sample::kExcited));
    ASSERT_NE(energy, nullptr);
    EXPECT_EQ(energy->GetRpm(0), 1100.0);
    // The energy result is made over the narrowed range.
    ASSERT_EQ(rpmProject->CalcInputPower(&roof, 0, 0), 1);
    auto* set = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(roof, 1, 1));
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->GetKey(0), 1100.0);
    // A margin that covers half the range or more leaves the range alone.
    rpm.SetRange(1000.0f, 1200.0f, 50.0f);
    rpmProject->GetCalcIEOptions().SetRpmMargin(150.0f);
    ASSERT_EQ(rpmProject->CalcInputEnergy(roof, 1), 1);
    EXPECT_EQ(rpm.GetRpmMin(), 1000.0f);
    EXPECT_EQ(rpm.GetRpmMax(), 1200.0f);
}

namespace {
std::vector<uint8_t> Stored(const CObject& object)
{
    std::vector<uint8_t> bytes;
    CArchive ar(&bytes, CArchive::store);
    ar.WriteObject(&object);
    return bytes;
}

CAnalysisProject* Reopen(CTALVODoc& doc, const fs::path& file, int index)
{
    std::string error;
    EXPECT_TRUE(doc.OnOpenDocument(file.string(), &error)) << error;
    return DynamicDowncast<CAnalysisProject>(doc.GetTALVOProject().GetProject(index));
}
} // namespace

TEST_F(ChainFixture, FromMeasuredEnergiesToEveryResultByRpmAndBackFromTheFile)
{
    // The sample's run-up excites the roof: its measured energies give positive input powers.
    ASSERT_EQ(rpmProject->CalcInputPowerChain(roof, 0, 0), 1);
    auto* energy = DynamicDowncast<CZuRpmFunc>(rpmProject->GetInputEnergyFolder()->FindRpmItem(sample::kExcited));
    auto* power = DynamicDowncast<CZuRpmFunc>(rpmProject->GetInputPowerFolder()->FindRpmItem(sample::kExcited));
    ASSERT_NE(energy, nullptr);
    ASSERT_NE(power, nullptr);
    ASSERT_EQ(power->GetRpmCount(), energy->GetRpmCount());
    const int row = power->GetRpmCount() / 2;
    const int band = 1; // 125 Hz: order 4 passes through it in the middle of the run-up
    EXPECT_GT(energy->DataValue(row, band), 0.0);
    EXPECT_GT(power->DataValue(row, band), 0.0);

    auto* set = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(roof, 1, 1));
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->GetResultCount(), power->GetRpmCount());
    // The solved energy of the excited roof is its measured energy.
    auto* key = DynamicDowncast<CHSEAResultData>(set->GetResult(row));
    ASSERT_NE(key, nullptr);
    EXPECT_NEAR(key->GetSubsystemValue("Roof-F", band, 0) / energy->DataValue(row, band), 1.0, 1e-6);
    EXPECT_GT(key->GetSubsystemValue("Front Cabin-R-", band, 0), 0.0);

    CZuRpmFunc* vibration = rpmProject->CalcVibrationLevel(set, "Floor", 1);
    CZuRpmMultiVecFunc* spl = rpmProject->CalcSPL(set, "Front Cabin-R", 1, 1);
    CZuRpmDpFunc* paths = rpmProject->SearchDominantPath(set, "Front Cabin-R", 0.0, 1);
    CZuRpmPcFunc* contributions = rpmProject->CalcPowerContribution(set, "Front Cabin-R", 0.0, 1);
    ASSERT_NE(vibration, nullptr);
    ASSERT_NE(spl, nullptr);
    ASSERT_NE(paths, nullptr);
    ASSERT_NE(contributions, nullptr);
    EXPECT_EQ(vibration->GetRpmCount(), set->GetResultCount());
    EXPECT_EQ(spl->GetRpmCount(), set->GetResultCount());
    EXPECT_EQ(paths->GetRpmCount(), set->GetResultCount());
    EXPECT_EQ(contributions->GetRpmCount(), set->GetResultCount());
    EXPECT_TRUE(std::isfinite(vibration->DataValue(row, band)));
    for (CMElement* e : {static_cast<CMElement*>(vibration), static_cast<CMElement*>(spl),
                         static_cast<CMElement*>(paths), static_cast<CMElement*>(contributions)})
        EXPECT_EQ(e->GetParent(), set) << e->GetName();

    // Saved and opened again, the project holds the same results.
    std::string error;
    ASSERT_TRUE(doc.OnSaveDocument(file.string(), &error)) << error;
    const std::vector<uint8_t> before = Stored(*rpmProject);
    CTALVODoc reopened;
    CAnalysisProject* again = Reopen(reopened, file, 2);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Stored(*again), before);
    auto* setAgain = DynamicDowncast<CZuRpmResultData>(again->FindEnergyResult(roof));
    ASSERT_NE(setAgain, nullptr);
    auto* vibrationAgain = DynamicDowncast<CZuRpmFunc>(setAgain->FindOne(vibration->GetName(), 1, 1));
    ASSERT_NE(vibrationAgain, nullptr);
    EXPECT_EQ(vibrationAgain->DataValue(row, band), vibration->DataValue(row, band));
    for (const CMElement* e : {static_cast<CMElement*>(spl), static_cast<CMElement*>(paths),
                               static_cast<CMElement*>(contributions)})
        EXPECT_NE(setAgain->FindOne(e->GetName(), 1, 1), nullptr) << e->GetName();
    reopened.OnCloseDocument();
}
