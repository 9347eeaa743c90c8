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
        // The run-up's spectra and levels, as the acquisition leaves them with its data set.
        CDaqProject* daq = doc.GetTALVOProject().GetDaqProject(0);
        auto* exp = ElementCast<CTALVOExp>(daq->FindExp(sample::kExcited, sample::kResponse));
        ASSERT_NE(exp, nullptr);
        CDAQExperiment* set = exp->FindDataSetBySerial(1);
        ASSERT_NE(set, nullptr);
        auto* measurement = ElementCast<CExpProject>(set->FindOneChild(sample::kMeasurementName));
        ASSERT_NE(measurement, nullptr);
        CMElementList functions;
        ASSERT_EQ(CCalcProjectManager::BuildCalcDataList(*measurement, functions), 1);
        set->AddFuncs(functions);
        functions.Clear(1);
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
