// The calculation chain of an analysis project on the sample project, without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "ProjectTestEnv.h"
#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
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
#include "platform/base/RecordingFeedback.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/ZuOTDpFunc.h"
#include "spectral/ZuOTPcFunc.h"
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
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
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
    auto* set = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(roof, 1));
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

// The file keeps no mark of the narrowing: a reopened project tells it from its input energies,
// so a forced run still narrows once from the range the energies were calculated over.
TEST_F(ChainFixture, TheNarrowingIsFoundAgainAfterTheProjectIsReopened)
{
    rpmProject->GetRPMOptions().SetRange(1000.0f, 4000.0f, 50.0f);
    rpmProject->GetCalcIEOptions().SetRpmMargin(100.0f);
    ASSERT_EQ(rpmProject->CalcInputEnergy(roof, 0), 1);
    std::string error;
    ASSERT_TRUE(doc.OnSaveDocument(file.string(), &error)) << error;
    struct Case
    {
        const char* what;
        float margin; // set after reopening, before the forced run
        float min, max;
    };
    const Case cases[] = {
        {"same margin", 100.0f, 1100.0f, 3900.0f},
        // A wider margin narrows the range the energies were calculated over by its own steps.
        {"wider margin", 150.0f, 1150.0f, 3850.0f},
    };
    for (const Case& c : cases) {
        CTALVODoc reopened;
        CAnalysisProject* again = Reopen(reopened, file, 2);
        ASSERT_NE(again, nullptr) << c.what;
        EXPECT_EQ(again->GetRPMOptions().GetRpmMin(), 1100.0f) << c.what;
        again->GetCalcIEOptions().SetRpmMargin(c.margin);
        ASSERT_EQ(again->CalcInputEnergy(roof, 1), 1) << c.what;
        EXPECT_EQ(again->GetRPMOptions().GetRpmMin(), c.min) << c.what;
        EXPECT_EQ(again->GetRPMOptions().GetRpmMax(), c.max) << c.what;
        reopened.OnCloseDocument();
    }

    // A range set by the user that the energies do not span is the user's: it is narrowed as it is.
    CTALVODoc reopened;
    CAnalysisProject* again = Reopen(reopened, file, 2);
    ASSERT_NE(again, nullptr);
    again->GetRPMOptions().SetRange(1500.0f, 3000.0f, 50.0f);
    ASSERT_EQ(again->CalcInputEnergy(roof, 1), 1);
    EXPECT_EQ(again->GetRPMOptions().GetRpmMin(), 1600.0f);
    EXPECT_EQ(again->GetRPMOptions().GetRpmMax(), 2900.0f);
    reopened.OnCloseDocument();
}

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

    auto* set = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(roof, 1));
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->GetResultCount(), power->GetRpmCount());
    // The solved energy of the excited roof is its measured energy.
    auto* key = DynamicDowncast<CHSEAResultData>(set->GetResult(row));
    ASSERT_NE(key, nullptr);
    EXPECT_NEAR(key->GetSubsystemValue("Roof-F", band, 0) / energy->DataValue(row, band), 1.0, 1e-6);
    EXPECT_GT(key->GetSubsystemValue("Front Cabin-R-", band, 0), 0.0);

    CZuRpmFunc* vibration = rpmProject->AddResult(set, rpmProject->CalcVibrationLevel(set, "Floor"));
    CZuRpmMultiVecFunc* spl = rpmProject->AddResult(set, rpmProject->CalcSPL(set, "Front Cabin-R"));
    CZuRpmDpFunc* paths = rpmProject->AddResult(set, rpmProject->SearchDominantPath(set, "Front Cabin-R", 0.0));
    CZuRpmPcFunc* contributions =
        rpmProject->AddResult(set, rpmProject->CalcPowerContribution(set, "Front Cabin-R", 0.0));
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
    for (const CMElement* e :
         {static_cast<CMElement*>(spl), static_cast<CMElement*>(paths), static_cast<CMElement*>(contributions)})
        EXPECT_NE(setAgain->FindOne(e->GetName(), 1, 1), nullptr) << e->GetName();
    reopened.OnCloseDocument();
}

TEST_F(ChainFixture, ByOrderFromOrderEnergiesToEveryResultAndBackFromTheFile)
{
    // The measured energies by RPM, read at the band of each order's frequency: the energies by
    // order that the input-energy folder of an order analysis receives.
    ASSERT_EQ(rpmProject->CalcInputEnergy(roof, 0), 1);
    auto* measured = DynamicDowncast<CZuRpmFunc>(rpmProject->GetInputEnergyFolder()->FindRpmItem(sample::kExcited));
    ASSERT_NE(measured, nullptr);
    COrderList orders;
    for (double o : sample::kOrders)
        orders.Add(o);
    CDaqProject* daq = doc.GetTALVOProject().GetDaqProject(0);
    CAnalysisProject* project = doc.AddOrderAnalysisProject(daq, &rpmProject->GetRPMOptions(), &orders, 50.0f);
    ASSERT_NE(project, nullptr);
    const int index = doc.GetTALVOProject().GetProjectIndex(project);
    ASSERT_EQ(project->AddInputEnergyData(roof), 1);
    auto* energies = DynamicDowncast<COTMultiVecFunc>(project->GetInputEnergyFolder()->FindRpmItem(sample::kExcited));
    ASSERT_NE(energies, nullptr);
    ASSERT_EQ(energies->GetDataCount(), measured->GetRpmCount());
    COctaveManagerEx* bands = project->GetOctaveManager();
    ASSERT_NE(bands, nullptr);
    for (int r = 0; r < energies->GetDataCount(); ++r)
        for (int o = 0; o < orders.GetSize(); ++o) {
            const int b = GetOrderBandIndexInt(energies->DataIndex(r), orders[o], project->GetDaqConfigValue(), bands);
            energies->DataValue(r, o) = b >= 0 ? measured->DataValue(r, b) : 0.0;
        }

    ASSERT_EQ(project->CalcInputPower(&roof, 0, 0), 1);
    auto* powers = DynamicDowncast<CZuOTFunc>(project->GetInputPowerFolder()->FindRpmItem(sample::kExcited));
    ASSERT_NE(powers, nullptr);
    ASSERT_EQ(powers->GetOrderCount(), 2);
    auto* set = DynamicDowncast<CZuOTResultData>(project->CalcEnergyResult(roof, 1));
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->GetResultCount(), 2);
    // Order 2 at the middle RPM: the solved roof energy is the order's measured energy.
    const int row = energies->GetDataCount() / 2;
    const int band = GetOrderBandIndexInt(energies->DataIndex(row), orders[0], project->GetDaqConfigValue(), bands);
    ASSERT_GE(band, 0);
    auto* key = DynamicDowncast<CHSEAResultData>(set->GetResult(0)->GetResult(row));
    ASSERT_NE(key, nullptr);
    EXPECT_NEAR(key->GetSubsystemValue("Roof-F", band, 0) / energies->DataValue(row, 0), 1.0, 1e-6);

    // The four drivers by order, as the result commands run them.
    using C = CCalcCommands;
    CRecordingFeedback progress;
    CMElement* vibration = C::kVibrationLevel.run(*project, set, "Floor", &progress);
    CMElement* spl = C::kSpl.run(*project, set, "Front Cabin-R", &progress);
    auto* paths = DynamicDowncast<CZuOTDpFunc>(C::kDominantPaths.run(*project, set, "Front Cabin-R", &progress));
    auto* contributions =
        DynamicDowncast<CZuOTPcFunc>(C::kPowerContributions.run(*project, set, "Front Cabin-R", &progress));
    // Each order driver runs its RPM drivers inside its own range and ends it: the bar is left
    // empty after each command, and the whole work only ever moves forward.
    EXPECT_FALSE(progress.IsActive());
    EXPECT_EQ(progress.ends, 4);
    for (size_t i = 1; i < progress.fractions.size(); ++i) {
        if (progress.fractions[i] != 0.0) {
            EXPECT_GE(progress.fractions[i], progress.fractions[i - 1]) << i;
        }
    }
    EXPECT_TRUE(progress.reports.empty());
    ASSERT_NE(vibration, nullptr);
    ASSERT_NE(spl, nullptr);
    ASSERT_NE(paths, nullptr);
    ASSERT_NE(contributions, nullptr);
    // Dominant paths keep the set's order keys, power contributions the project's orders.
    EXPECT_EQ(paths->GetOrderArray(), std::vector<double>({2.0, 4.0}));
    EXPECT_EQ(contributions->GetOrderArray(), std::vector<double>({2.0, 4.0}));
    EXPECT_EQ(contributions->GetSubsystem(), "Front Cabin-R-");
    ASSERT_NE(contributions->GetOrderFunc(0), nullptr);
    EXPECT_EQ(contributions->GetOrderFunc(0)->GetRpmCount(), energies->GetDataCount());
    // A result command does nothing with a result of the other kind.
    auto* rpmSet = DynamicDowncast<CZuRpmResultData>(set->GetResult(0));
    EXPECT_EQ(C::kSpl.run(*project, rpmSet, "Front Cabin-R", &progress), nullptr);

    std::string error;
    ASSERT_TRUE(doc.OnSaveDocument(file.string(), &error)) << error;
    const std::vector<uint8_t> before = Stored(*project);
    CTALVODoc reopened;
    CAnalysisProject* again = Reopen(reopened, file, index);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Stored(*again), before);
    auto* setAgain = DynamicDowncast<CZuOTResultData>(again->FindEnergyResult(roof));
    ASSERT_NE(setAgain, nullptr);
    for (const CMElement* e : {vibration, spl, static_cast<CMElement*>(paths), static_cast<CMElement*>(contributions)})
        EXPECT_NE(setAgain->FindOne(e->GetName(), 1, 1), nullptr) << e->GetName();
    reopened.OnCloseDocument();
}

TEST_F(ChainFixture, CalculationCommandsFollowTheProjectAndAnswerTheirNotifications)
{
    using C = CCalcCommands;
    const C::SubsystemSelection& inputPowers = C::kInputPowerSelection;
    const C::SubsystemSelection& energyResult = C::kEnergyResultSelection;
    EXPECT_FALSE(inputPowers.applies(nullptr));
    // Before any input power: the input powers can be calculated, for the roof the run-up excited.
    EXPECT_TRUE(inputPowers.applies(rpmProject));
    EXPECT_FALSE(energyResult.applies(rpmProject));
    CZuSubsystemTable offered;
    ASSERT_EQ(inputPowers.offer(*rpmProject, offered), 1);
    EXPECT_EQ(offered[0], sample::kExcited);
    EXPECT_EQ(inputPowers.notifyMessage, 0x2410u);
    EXPECT_EQ(energyResult.notifyMessage, 0x2411u);

    // 0x2410: "finished".
    const int done = C::OnCalcInputEnergy(offered, rpmProject, 0, StatusBarBoxes());
    ASSERT_EQ(done, 1);
    std::vector<uint32_t> shown;
    for (const PromptRecord& r : prompts.Records())
        shown.push_back(r.stringId);
    EXPECT_EQ(shown, std::vector<uint32_t>({6170u}));
    EXPECT_NE(rpmProject->GetInputPowerFolder()->FindRpmItem(sample::kExcited), nullptr);
    EXPECT_FALSE(inputPowers.applies(rpmProject));
    EXPECT_TRUE(energyResult.applies(rpmProject));
    ASSERT_EQ(energyResult.offer(*rpmProject, offered), 1);

    // 0x2411: the energy result, "finished"; a subsystem without input power: named, then "failed".
    prompts.Clear();
    ASSERT_EQ(C::OnCalcEnergyResult(offered, rpmProject, StatusBarBoxes()), 1);
    EXPECT_EQ(prompts.Last().stringId, 6170u);
    CMElement* set = rpmProject->FindEnergyResult(offered);
    ASSERT_NE(set, nullptr);
    CZuSubsystemTable floor;
    floor.Add("Floor");
    prompts.Clear();
    EXPECT_EQ(C::OnCalcEnergyResult(floor, rpmProject, StatusBarBoxes()), 0);
    shown.clear();
    for (const PromptRecord& r : prompts.Records())
        shown.push_back(r.stringId);
    EXPECT_EQ(shown, std::vector<uint32_t>({7054u, 6076u}));

    // The result commands wait for the model's subsystem picker.
    EXPECT_EQ(C::AppliesToResultSet(rpmProject, set), C::kResultPickerBuilt);
    EXPECT_FALSE(C::AppliesToResultSet(rpmProject, rpmProject->GetInputPowerFolder()));
}

TEST_F(ChainFixture, AFailedCalculationSaysWhyBelowItsMessage)
{
    using C = CCalcCommands;
    // Without a hybrid model the input energies come, the input powers cannot: the box says so
    // and how to get one.
    CModelProject* model = doc.GetTALVOProject().GetModelProject();
    model->DeleteChild(model->GetHSEAModelData(), 1);
    ASSERT_EQ(model->GetHSEAModelData(), nullptr);
    prompts.Clear();
    EXPECT_EQ(C::OnCalcInputEnergy(roof, rpmProject, 0, StatusBarBoxes()), 0);
    ASSERT_GE(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6076u);
    EXPECT_EQ(prompts.Last().text.rfind("The calculation failed.", 0), 0u) << prompts.Last().text;
    EXPECT_NE(prompts.Last().text.find("no hybrid SEA model"), std::string::npos) << prompts.Last().text;
    EXPECT_NE(prompts.Last().text.find("Import Model Data"), std::string::npos) << prompts.Last().text;
    EXPECT_NE(rpmProject->GetInputEnergyFolder()->FindRpmItem(sample::kExcited), nullptr);

    // The energy result of inputs that were never calculated names the input, then fails.
    prompts.Clear();
    EXPECT_EQ(C::OnCalcEnergyResult(roof, rpmProject, StatusBarBoxes()), 0);
    EXPECT_EQ(prompts.Last().stringId, 6076u);

    // Without the DAQ project's data the energies are missing: that is the reason given.
    ASSERT_NE(model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
              nullptr);
    CDaqProject* daq = doc.GetTALVOProject().GetDaqProject(0);
    CMElementList used;
    daq->GetUsedDAQExperiments(used);
    for (CMElement* e : used)
        static_cast<CDAQExperiment*>(e)->SetUseFlag(0);
    CZuSubsystemTable floor;
    floor.Add("Floor");
    prompts.Clear();
    EXPECT_EQ(C::OnCalcInputEnergy(floor, rpmProject, 0, StatusBarBoxes()), 0);
    EXPECT_EQ(prompts.Last().stringId, 6076u);
    EXPECT_NE(prompts.Last().text.find("measured data"), std::string::npos) << prompts.Last().text;
}
