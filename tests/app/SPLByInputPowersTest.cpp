// SPL of a target by single input powers, the SPL folder and the calculated-against-calculated
// tables on the sample project, with input powers given for two structures.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "ProjectTestEnv.h"
#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/ResultCompTable.h"
#include "calculation/SPLsFolder.h"
#include "experiments/DAQConfig.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTMultiVecFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmResultData.h"

namespace {
namespace fs = std::filesystem;
const char* const kTarget = "Front Cabin-R";
// The structures the sample model solves a unit input power for, and one without input power.
const char* const kFloor = "Floor";
const char* const kDoorL = "Front Door Panel-L";

double EnergeticSum(const std::vector<double>& levels)
{
    double sum = 0.0;
    for (double l : levels)
        sum += std::pow(10.0, l / 10.0);
    return 10.0 * std::log10(sum);
}

CZuSubsystemTable Table(std::initializer_list<const char*> names)
{
    CZuSubsystemTable t;
    for (const char* n : names)
        t.Add(n);
    return t;
}

struct SplFixture : ::testing::Test
{
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sample::Build(doc, fs::path(ORVEX_SOURCE_DIR) / "samples", file.string(), &error)) << error;
        CModelProject* model = doc.GetTALVOProject().GetModelProject();
        ASSERT_NE(
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0)),
            nullptr);
        rpmProject = DynamicDowncast<CAnalysisProject>(doc.GetTALVOProject().GetProject(2));
        ASSERT_NE(rpmProject, nullptr);
        rpmProject->GetRPMOptions().SetRange(1000.0f, 1200.0f, 100.0f);
        bands = rpmProject->GetOctaveManager();
        ASSERT_NE(bands, nullptr);
    }
    void TearDown() override { doc.OnCloseDocument(); }

    std::vector<double> Freqs() const { return bands->GetFreqArray(); }

    // An input power over RPM, scale W per band at 1000 RPM growing with the band and the RPM.
    std::unique_ptr<CZuRpmFunc> RpmPower(const std::string& subsystem, double scale, const std::vector<double>& rpms)
    {
        const std::vector<double> f = Freqs();
        auto map = CZuRpmFunc::NewRpmFunc("IP " + subsystem, 3, nullptr, subsystem, f.data(),
                                          static_cast<int>(f.size()), rpms.data(), static_cast<int>(rpms.size()));
        for (int r = 0; r < map->GetRpmCount(); ++r)
            for (int b = 0; b < map->GetFreqCount(); ++b)
                map->DataValue(r, b) = scale * (1.0 + 0.1 * b) * rpms[static_cast<size_t>(r)] / 1000.0;
        return map;
    }

    CInputPowerFolder* Powers(CAnalysisProject* project, CMElementList& list)
    {
        CInputPowerFolder* folder = project->GetInputPowerFolder();
        if (!folder)
            folder = project->AddChild(std::make_unique<CInputPowerFolder>(project));
        folder->AddItems(list);
        return folder;
    }

    void AddRpmPowers(std::initializer_list<std::pair<const char*, double>> powers)
    {
        CMElementList list;
        for (auto [name, scale] : powers)
            list.Add(RpmPower(name, scale, {1000.0, 1100.0, 1200.0}).release());
        Powers(rpmProject, list);
    }

    CScriptedPrompts prompts;
    CRecordingMessageTarget window;
    CMainWindowTargetScope scope{&window};
    fs::path file = AppTestTempDir() / "splbyinput" / "Spl.orv";
    CTALVODoc doc;
    CAnalysisProject* rpmProject = nullptr;
    COctaveManagerEx* bands = nullptr;
};
} // namespace

TEST_F(SplFixture, SingleInputSplsAddUpToTheSplOfAllInputsAndAreStoredOnce)
{
    AddRpmPowers({{"Roof", 1e-3}, {kFloor, 4e-3}});
    const CZuSubsystemTable inputs = Table({"Roof", kFloor});
    auto* table = DynamicDowncast<CZuRpmMultiVecFunc>(rpmProject->BuildSPLByInputPowers(kTarget, inputs, 0));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(prompts.Count(), 0u);
    EXPECT_EQ(table->GetType(), 96);
    EXPECT_EQ(table->GetLabel(), kTarget);
    EXPECT_EQ(table->GetName(), "SPL by Input Power [Front Cabin-R]");
    CSPLsFolder* folder = rpmProject->GetSPLsFolder();
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->GetType(), 97);
    EXPECT_EQ(folder->GetName(), "SPL");
    EXPECT_EQ(table->GetParent(), folder);
    ASSERT_EQ(table->GetRpmCount(), 3);
    ASSERT_EQ(table->GetSubsystemCount(), 2);
    for (int k = 0; k < 2; ++k)
        EXPECT_EQ(table->GetSubsystemName(k), inputs[k]);
    // The single-input energy results stay in the project.
    for (int k = 0; k < 2; ++k)
        EXPECT_NE(rpmProject->FindEnergyResult(Table({inputs[k].c_str()})), nullptr) << inputs[k];

    auto* all = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(inputs, 0));
    ASSERT_NE(all, nullptr);
    std::unique_ptr<CZuRpmMultiVecFunc> together = rpmProject->CalcSPL(all, kTarget);
    ASSERT_NE(together, nullptr);
    int compared = 0;
    for (int r = 0; r < table->GetRpmCount(); ++r) {
        CZuVecFunc* perInput = table->GetVecFunc(r);
        auto* whole = DynamicDowncast<CZuFunc>(together->GetRpmData(r));
        ASSERT_NE(whole, nullptr);
        EXPECT_EQ(table->GetRpm(r), together->GetRpm(r));
        for (int b = 0; b < perInput->GetDataCount(); ++b) {
            if (!std::isfinite(whole->DataValue(b)))
                continue;
            EXPECT_NEAR(EnergeticSum({perInput->DataValue(b, 0), perInput->DataValue(b, 1)}), whole->DataValue(b), 0.01)
                << "rpm " << table->GetRpm(r) << " band " << b;
            ++compared;
        }
    }
    EXPECT_GT(compared, 30);

    // Asked again, forced, or for a subset: the stored table, nothing recalculated.
    const int children = rpmProject->GetChildCount();
    EXPECT_EQ(rpmProject->BuildSPLByInputPowers(kTarget, inputs, 1), table);
    EXPECT_EQ(rpmProject->BuildSPLByInputPowers2(kTarget, Table({kFloor}), 0), table);
    EXPECT_EQ(rpmProject->GetChildCount(), children);
    EXPECT_EQ(folder->GetChildCount(), 1);
    // Another target is another table.
    CSPLsFolder* same = rpmProject->GetSPLsFolder();
    EXPECT_EQ(same, folder);
    EXPECT_EQ(folder->FindSPL("Front Cabin-L", inputs), nullptr);
}

TEST_F(SplFixture, PerInputSplsLeaveTheStoredSplOfAResultAlone)
{
    AddRpmPowers({{"Roof", 1e-3}, {kFloor, 0.0}});
    auto* roof = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(Table({"Roof"}), 0));
    ASSERT_NE(roof, nullptr);
    CZuRpmMultiVecFunc* stored = rpmProject->AddResult(roof, rpmProject->CalcSPL(roof, kTarget));
    ASSERT_NE(stored, nullptr);
    auto* row = DynamicDowncast<CZuFunc>(stored->GetRpmData(0));
    ASSERT_NE(row, nullptr);
    row->DataValue(0) = 123.0; // a value the user edited
    const int children = roof->GetChildCount();

    // Recalculated without adding: a new function; the stored one is untouched.
    std::unique_ptr<CZuRpmMultiVecFunc> fresh = rpmProject->CalcSPL(roof, kTarget);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh.get(), stored);

    // The floor's input power is zero everywhere: its result has no input and gives no column.
    auto* table =
        DynamicDowncast<CZuRpmMultiVecFunc>(rpmProject->BuildSPLByInputPowers(kTarget, Table({"Roof", kFloor}), 0));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->GetSubsystemCount(), 1);
    EXPECT_EQ(table->GetSubsystemName(0), "Roof");
    EXPECT_EQ(roof->GetChildCount(), children);
    EXPECT_GE(roof->GetChildIndex(stored), 0);
    EXPECT_EQ(row->DataValue(0), 123.0);
    EXPECT_NE(table->GetVecFunc(0)->DataValue(0, 0), 123.0);
}

TEST_F(SplFixture, AnInputWithoutInputPowerIsNamedOnceAndNothingIsBuilt)
{
    AddRpmPowers({{"Roof", 1e-3}});
    CStatusBarFeedback boxes; // the command's
    EXPECT_EQ(rpmProject->BuildSPLByInputPowers(kTarget, Table({"Roof", kDoorL}), 0, &boxes), nullptr);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().text, "The input power of Front Door Panel-L cannot be calculated.");
    // The result calculated before the failure stays; the folder holds no table.
    EXPECT_NE(rpmProject->FindEnergyResult(Table({"Roof"})), nullptr);
    ASSERT_NE(rpmProject->GetSPLsFolder(), nullptr);
    EXPECT_EQ(rpmProject->GetSPLsFolder()->GetChildCount(), 0);
}

TEST_F(SplFixture, ByOrderOnlyTheBandOfTheOrderFrequencyCarriesTheSpl)
{
    CDaqProject* daq = doc.GetTALVOProject().GetDaqProject(0);
    CRPMOptions rpm;
    rpm.SetRange(3000.0f, 6000.0f, 1500.0f);
    COrderList orders;
    orders.Add(2.0);
    orders.Add(4.0);
    CAnalysisProject* ot = doc.AddOrderAnalysisProject(daq, &rpm, &orders, 50.0f);
    ASSERT_NE(ot, nullptr);
    ASSERT_NE(ot->GetOctaveManager(), nullptr);
    const std::vector<double> f = ot->GetOctaveManager()->GetFreqArray();
    const std::vector<double> rpms = {3000.0, 4500.0, 6000.0};
    CMElementList list;
    for (auto [name, scale] : {std::pair{"Roof", 1e-3}, std::pair{kFloor, 3e-3}}) {
        auto map = CZuOTFunc::BuildOTFunc(std::string("IP ") + name, 3, nullptr, name, f.data(),
                                          static_cast<int>(f.size()), rpms.data(), 3, {2.0, 4.0}, 1.0f);
        map->SetLabel(name);
        for (int o = 0; o < 2; ++o)
            for (int r = 0; r < 3; ++r)
                for (int b = 0; b < static_cast<int>(f.size()); ++b)
                    map->GetOrderFunc(o)->DataValue(r, b) = scale * (1 + o + r);
        list.Add(map.release());
    }
    Powers(ot, list);

    auto* table = DynamicDowncast<CZuOTMultiVecFunc>(ot->BuildSPLByInputPowers2(kTarget, Table({"Roof", kFloor}), 0));
    ASSERT_NE(table, nullptr) << (prompts.Count() ? prompts.Last().text : std::string());
    EXPECT_EQ(table->GetType(), 96);
    EXPECT_EQ(table->GetLabel(), kTarget);
    EXPECT_FLOAT_EQ(table->GetOrderFactor(), static_cast<float>(ot->GetDaqConfigValue()));
    ASSERT_EQ(table->GetOrderCount(), 2);
    int finite = 0;
    for (int o = 0; o < 2; ++o) {
        auto* perOrder = dynamic_cast<CZuRpmMultiVecFunc*>(table->GetOrderEntry(o));
        ASSERT_NE(perOrder, nullptr);
        ASSERT_EQ(perOrder->GetRpmCount(), 3);
        for (int r = 0; r < 3; ++r) {
            const int band = GetOrderBandIndexInt(rpms[static_cast<size_t>(r)], table->GetOrder(o),
                                                  ot->GetDaqConfigValue(), ot->GetOctaveManager());
            CZuVecFunc* entry = perOrder->GetVecFunc(r);
            ASSERT_EQ(entry->GetSubsystemCount(), 2);
            for (int b = 0; b < entry->GetDataCount(); ++b)
                for (int k = 0; k < 2; ++k) {
                    if (b == band) {
                        EXPECT_TRUE(std::isfinite(entry->DataValue(b, k)));
                        ++finite;
                    } else {
                        EXPECT_EQ(entry->DataValue(b, k), HUGE_VAL) << o << " " << r << " " << b;
                    }
                }
        }
    }
    EXPECT_EQ(finite, 12);
    // Asked again, or for one of its inputs: the stored table by order serves, nothing is added.
    EXPECT_EQ(ot->BuildSPLByInputPowers2(kTarget, Table({kFloor}), 0), table);
    EXPECT_EQ(ot->GetSPLsFolder()->GetChildCount(), 1);
}

TEST_F(SplFixture, CalculatedAgainstCalculatedTablesPutTwoResultsSideBySide)
{
    AddRpmPowers({{"Roof", 1e-3}, {kFloor, 4e-3}});
    auto* both = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(Table({"Roof", kFloor}), 0));
    ASSERT_NE(both, nullptr);
    // The second result lacks the last RPM.
    rpmProject->GetRPMOptions().SetRange(1000.0f, 1100.0f, 100.0f);
    auto* roof = DynamicDowncast<CZuRpmResultData>(rpmProject->CalcEnergyResult(Table({"Roof"}), 0));
    ASSERT_NE(roof, nullptr);
    ASSERT_EQ(roof->GetResultCount(), 2);
    CZuRpmMultiVecFunc* selected = rpmProject->AddResult(both, rpmProject->CalcSPL(both, kTarget));
    ASSERT_NE(selected, nullptr);

    // The comparison with the measurement needs measured data of the cavity, which the sample lacks.
    EXPECT_TRUE(rpmProject->CanCompareWithMeasured(selected));
    EXPECT_FALSE(rpmProject->CanCompareWithMeasured(both));
    EXPECT_EQ(rpmProject->CompareWithMeasured(both), nullptr);

    CZuRpmMultiVecFunc* table = rpmProject->CompareWithResult(selected, roof);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetType(), ElementType::SplResultComparison);
    EXPECT_EQ(table->GetParent(), both);
    EXPECT_EQ(table->GetName(), "SPL Comparison [Front Cabin-R-]");
    ASSERT_EQ(table->GetRpmCount(), 3);
    EXPECT_EQ(table->GetSubsystemName(0), CResultCompTable::ColumnName(roof->GetName(), rpmProject->GetName()));
    EXPECT_EQ(table->GetSubsystemName(1), CResultCompTable::ColumnName(both->GetName(), rpmProject->GetName()));
    // The second calculation stays in the second set.
    auto* second = DynamicDowncast<CZuRpmMultiVecFunc>(roof->FindOne(selected->GetName(), 1, 1));
    ASSERT_NE(second, nullptr);
    const int band = 10;
    for (int r = 0; r < 3; ++r) {
        CZuVecFunc* entry = table->GetVecFunc(r);
        EXPECT_EQ(entry->DataValue(band, 1), DynamicDowncast<CZuFunc>(selected->GetRpmData(r))->DataValue(band));
        if (r < 2)
            EXPECT_EQ(entry->DataValue(band, 0), DynamicDowncast<CZuFunc>(second->GetRpmData(r))->DataValue(band));
        else
            EXPECT_EQ(entry->DataValue(band, 0), HUGE_VAL); // no value, never 0 dB
    }
    // Repeated: the earlier table is replaced.
    const int children = both->GetChildCount();
    CZuRpmMultiVecFunc* again = rpmProject->AddResultTable(selected, roof);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(both->GetChildCount(), children);
    // A set compared with itself gives nothing (its calculation would replace the selection).
    EXPECT_EQ(rpmProject->AddResultTable(selected, both), nullptr);
    EXPECT_GE(both->GetChildIndex(selected), 0);
}
