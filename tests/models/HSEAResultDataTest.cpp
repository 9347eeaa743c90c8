#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "ModelTestSupport.h"
#include "models/GClfData.h"
#include "models/GClfGroup.h"
#include "models/HSEADominantPathData.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAPath.h"
#include "models/HSEAPowerContribution.h"
#include "models/HSEAResultData.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelShell.h"
#include "platform/win/PromptService.h"

namespace {
constexpr double kRhoC2 = 1.21 * 343.0 * 343.0;
constexpr double kP0 = 2e-5;

// A plate (12 kg) coupled to a cabin (3 m^3) over three bands, and the closed forms of its power
// balance: with only the plate fed, E1 (plate) and E2 (cabin) satisfy
//   w (eta1 + eta12) E1 - w eta21 E2 = P,   -w eta12 E1 + w (eta2 + eta21) E2 = 0.
struct PairFixture : ::testing::Test
{
    static constexpr double kMass = 12.0, kVolume = 3.0;

    PairFixture()
    {
        project.types = {{"Plate", 1}, {"Cabin", 6}};
        project.subsystems["Plate"] =
            std::make_unique<CModelShell>("Plate", CModelSubsystem::TYPE_FLAT_PANEL, 2.0, 6.0, kMass);
        project.subsystems["Cabin"] =
            std::make_unique<CModelCavity>("Cabin", CModelSubsystem::TYPE_CAVITY, 10.0, kVolume);
        CSEAModelData source("SEA", nullptr, 5, OCTAVE_BAND_THIRD, 500.0, 800.0);
        layout.keys = {"Plate-F", "Cabin-"};
        layout.density = {{0.5, 4.0}, {0.6, 5.0}, {0.7, 6.0}};
        layout.dlf = {{0.01, 0.002}, {0.012, 0.003}, {0.014, 0.004}};
        layout.clf[{0, 1}] = {0.003, 0.004, 0.005};
        for (int b = 0; b < 3; ++b) // reciprocity: n1 eta12 = n2 eta21
            layout.clf[{1, 0}].push_back(layout.density[b][0] * layout.clf[{0, 1}][b] / layout.density[b][1]);
        FillSmallModel(source, layout);
        model = project.AddChild(std::make_unique<CHSEAModelData>(&source, nullptr, 1, 1, 0, 0));
    }

    CHSEAResultData* MakeResult(const std::vector<int32_t>* map = nullptr)
    {
        auto r = std::make_unique<CHSEAResultData>(
            model, std::make_unique<COctaveManagerEx>(*model->GetOctaveManager()), "Result", nullptr, map);
        return project.AddChild(std::move(r));
    }

    double Omega(int b) const { return 2 * M_PI * model->GetFreq(b); }
    double Eta(int b, int s) const { return layout.dlf[b][s]; }
    double Clf(int b, int s, int t) const { return layout.clf.at({s, t})[b]; }
    // Energies of plate and cabin for P at the plate.
    std::pair<double, double> Expected(int b, double P) const
    {
        const double w = Omega(b), e12 = Clf(b, 0, 1), e21 = Clf(b, 1, 0);
        const double ratio = e12 / (Eta(b, 1) + e21);
        const double E1 = P / (w * (Eta(b, 0) + e12 - e21 * ratio));
        return {E1, E1 * ratio};
    }
    double Energy(CHSEAResultData& r, int b, int s) const
    {
        return r.GetModalEnergyVector(0)->DataValue(b, s) * layout.density[b][s];
    }

    CTestModelProject project;
    SmallModelLayout layout;
    CHSEAModelData* model = nullptr;
    CScriptedPrompts prompts;
};
} // namespace

TEST_F(PairFixture, BandSolveMatchesThePowerBalanceAndTheLevels)
{
    CHSEAResultData* r = MakeResult();
    ASSERT_TRUE(r->SetUnitInputPower("Plate-F"));
    r->GetInputPowerVector(0)->DataValue(1, 0) = 2.5; // powers differ per band
    ASSERT_EQ(r->UpdateAllData(nullptr, 0, nullptr), 1);
    auto spl = r->CreateSPLFunc("Cabin-");
    auto vib = r->CreateVibrationLevelFunc("Plate-F");
    ASSERT_TRUE(spl && vib);
    EXPECT_EQ(spl->GetType(), 54);
    EXPECT_EQ(vib->GetType(), 53);
    for (int b = 0; b < 3; ++b) {
        const double P = b == 1 ? 2.5 : 1.0;
        const auto [E1, E2] = Expected(b, P);
        EXPECT_NEAR(Energy(*r, b, 0) / E1, 1.0, 1e-6) << b;
        EXPECT_NEAR(Energy(*r, b, 1) / E2, 1.0, 1e-6) << b;
        // Energy ratio of the pair: eta12 / (eta2 + eta21).
        EXPECT_NEAR(Energy(*r, b, 1) / Energy(*r, b, 0) / (Clf(b, 0, 1) / (Eta(b, 1) + Clf(b, 1, 0))), 1.0, 1e-9);
        const double p2 = E2 * kRhoC2 / kVolume;
        EXPECT_NEAR(spl->DataValue(b), 10 * std::log10(p2 / (kP0 * kP0)), 1e-6 * 100);
        EXPECT_NEAR(std::pow(10.0, spl->DataValue(b) / 10) / (p2 / (kP0 * kP0)), 1.0, 1e-6);
        EXPECT_NEAR(std::pow(10.0, vib->DataValue(b) / 10) / (E1 / kMass), 1.0, 1e-6);
        EXPECT_NEAR(r->GetSubsystemValue("Cabin-", b, 0) / E2, 1.0, 1e-6);
    }
    CZuSubsystemTable inputs;
    EXPECT_EQ(r->CollectInputSubsystems(inputs, 1), 1);
    EXPECT_EQ(inputs[0], "Plate");
    CZuFunc* ratio = r->CreateEnergyRatioFunc("Cabin-", "Plate-F");
    ASSERT_TRUE(ratio);
    EXPECT_EQ(r->CreateEnergyRatioFunc("Cabin-", "Plate-F"), ratio); // reused by name
    EXPECT_NEAR(ratio->DataValue(0), Energy(*r, 0, 1) / Energy(*r, 0, 0), 1e-12);
}

TEST(HSEAResult, OneCavityHasTheTextbookEnergyAndSpl)
{
    CTestModelProject project;
    CScriptedPrompts prompts;
    project.types = {{"Room", 6}};
    project.subsystems["Room"] = std::make_unique<CModelCavity>("Room", CModelSubsystem::TYPE_CAVITY, 20.0, 8.0);
    CSEAModelData source("SEA", nullptr, 5, OCTAVE_BAND_FULL, 1000.0, 1000.0);
    SmallModelLayout layout;
    layout.keys = {"Room-"};
    layout.density = {{3.0}};
    layout.dlf = {{0.01}};
    FillSmallModel(source, layout);
    auto* model = project.AddChild(std::make_unique<CHSEAModelData>(&source, nullptr, 1, 1, 0, 0));
    auto* r = project.AddChild(std::make_unique<CHSEAResultData>(
        model, std::make_unique<COctaveManagerEx>(*model->GetOctaveManager()), "R", nullptr, nullptr));
    r->GetInputPowerVector(0)->DataValue(0, 0) = 0.2;
    ASSERT_EQ(r->UpdateAllData(model, 0, nullptr), 1);
    const double E = 0.2 / (2 * M_PI * 1000.0 * 0.01); // P / (w eta)
    EXPECT_NEAR(r->GetSubsystemValue("Room-", 0, 0) / E, 1.0, 1e-6);
    auto spl = r->CreateSPLFunc("Room-");
    ASSERT_TRUE(spl);
    EXPECT_NEAR(std::pow(10.0, spl->DataValue(0) / 10) / (E * kRhoC2 / 8.0 / (kP0 * kP0)), 1.0, 1e-6);

    // No power: no energy, and the level is HUGE_VAL rather than a very small number.
    r->GetInputPowerVector(0)->DataValue(0, 0) = 0.0;
    ASSERT_EQ(r->UpdateAllData(model, 0, nullptr), 1);
    EXPECT_EQ(r->CreateSPLFunc("Room-")->DataValue(0), HUGE_VAL);
}

TEST_F(PairFixture, PowerContributionAndDominantPathOfThePair)
{
    CHSEAResultData* r = MakeResult();
    r->SetUnitInputPower("Plate-F");
    ASSERT_EQ(r->UpdateAllData(nullptr, 0, nullptr), 1);
    auto pc = r->CreatePowerContribution("Cabin-", -1);
    ASSERT_TRUE(pc);
    for (int b = 0; b < 3; ++b) {
        const auto [E1, E2] = Expected(b, 1.0);
        const double net = Omega(b) * (Clf(b, 0, 1) * E1 - Clf(b, 1, 0) * E2);
        // The net flow into the cabin is what the cabin dissipates.
        EXPECT_NEAR(net / (Omega(b) * Eta(b, 1) * E2), 1.0, 1e-6);
        EXPECT_NEAR(pc->CellValue(b, 0, CHSEAPowerContribution::COL_POWER) / net, 1.0, 1e-6);
        EXPECT_EQ(pc->CellValue(b, 1, CHSEAPowerContribution::COL_POWER), 0.0); // the cabin itself
        EXPECT_EQ(pc->CellValue(b, 2, CHSEAPowerContribution::COL_POWER), 0.0); // no input at the cabin
        EXPECT_NEAR(pc->CellValue(b, 0, CHSEAPowerContribution::COL_RATE), 100.0, 1e-9);
        EXPECT_EQ(pc->GetInflowCount(b), 1);
        EXPECT_EQ(pc->GetOutflowCount(b), 0);
        EXPECT_EQ(pc->GetIndexAt(b, 0), 0);
        EXPECT_EQ(pc->GetIndexAt(b, 1), -1);
        EXPECT_EQ(pc->GetTableRowCount(b), 3);
    }
    EXPECT_EQ(pc->GetTableCellData(1, 1, 0, 2), "Plate-F");
    EXPECT_EQ(pc->GetTableCellData(2, 1, 0, 2), "<<Inflow>>");

    auto paths = r->CreateDominantPathData("Cabin-", 1);
    ASSERT_TRUE(paths);
    ASSERT_EQ(paths->GetPathCount(), 1u);        // a cavity target: one path per connected subsystem
    EXPECT_EQ(paths->GetPathStepCount(0, 0), 0); // only band 1 was searched
    ASSERT_EQ(paths->GetPathStepCount(1, 0), 2);
    EXPECT_EQ(paths->GetPathStepName(1, 0, 0), "Plate-F");
    EXPECT_NEAR(paths->GetPathStepValue(1, 0, 0) / pc->CellValue(1, 0, 0), 1.0, 1e-9);
    // The plate receives nothing from another subsystem: its strongest entry is its input power.
    EXPECT_EQ(paths->GetPathStepName(1, 0, 1), "(balance)");
    EXPECT_NEAR(paths->GetPathStepValue(1, 0, 1), 1.0, 1e-6);
    // Look-ups past the end are empty, never out of bounds.
    EXPECT_EQ(paths->GetPathStepName(1, 0, 2), "");
    EXPECT_EQ(paths->GetPathStepName(7, 0, 0), "");
    EXPECT_EQ(paths->GetPath(1, 5), nullptr);
    EXPECT_EQ(r->CreatePowerContribution("Nowhere-", -1), nullptr); // message 11611
}

// Nothing solved yet, every energy is 0: the ratio has no value rather than a division by zero.
TEST_F(PairFixture, EnergyRatioWithoutEnergyHasNoValue)
{
    CHSEAResultData* r = MakeResult();
    CZuFunc* ratio = r->CreateEnergyRatioFunc("Cabin-", "Plate-F");
    ASSERT_TRUE(ratio);
    for (int b = 0; b < 3; ++b)
        EXPECT_EQ(ratio->DataValue(b), CZuData::kNoValue) << b;
}

// A global CLF from plate to cabin in the common group: every prepared matrix holds it, so the
// power contribution counts its flow too, and the plate's contribution is still exactly what the
// cabin dissipates.
TEST_F(PairFixture, CommonGroupGlobalClfFlowsCountInThePowerContribution)
{
    CGClfData* store = model->GetGClfData();
    ASSERT_TRUE(store);
    CZuClfFunc* g = store->AddGlobalClf("Plate-F", "Cabin-", 1, nullptr);
    ASSERT_TRUE(g);
    ASSERT_EQ(g->GetParent(), static_cast<CMElement*>(store->FindCommonGroup()));
    const int plate = g->GetIndex("Plate-F");
    for (int b = 0; b < 3; ++b) {
        g->DataValue(b, plate) = 0.002;
        g->DataValue(b, plate ^ 1) = 0.0;
    }
    CHSEAResultData* r = MakeResult();
    r->SetUnitInputPower("Plate-F");
    ASSERT_EQ(r->UpdateAllData(nullptr, 0, nullptr), 1);
    auto pc = r->CreatePowerContribution("Cabin-", -1);
    ASSERT_TRUE(pc);
    for (int b = 0; b < 3; ++b) {
        const double E1 = Energy(*r, b, 0), E2 = Energy(*r, b, 1);
        std::vector<double> flows;
        ASSERT_TRUE(r->ComputeGClfFlows(1, b, flows));
        EXPECT_NEAR(flows[0] / (Omega(b) * 0.002 * E1), 1.0, 1e-9) << b;
        EXPECT_NEAR(pc->CellValue(b, 0, CHSEAPowerContribution::COL_POWER) / (Omega(b) * Eta(b, 1) * E2), 1.0, 1e-6)
            << b;
    }
}

TEST_F(PairFixture, FailedOrCancelledBandsKeepTheirEnergies)
{
    CHSEAResultData* r = MakeResult();
    r->SetUnitInputPower("Plate-F");
    CZuVecFunc* E = r->GetModalEnergyVector(0);
    for (int b = 0; b < 3; ++b)
        E->DataValue(b, 0) = E->DataValue(b, 1) = 7.0;

    // A deselected band keeps its energies; afterwards every band is selected again.
    r->SetBandEnabled(0, 0);
    ASSERT_EQ(r->UpdateAllData(nullptr, 0, nullptr), 1);
    EXPECT_EQ(E->DataValue(0, 0), 7.0);
    EXPECT_NEAR(Energy(*r, 2, 0) / Expected(2, 1.0).first, 1.0, 1e-6);
    EXPECT_EQ(r->GetBandSelection(), (std::vector<int>{1, 1, 1}));

    // A singular band fails the solve and keeps what it had; later bands are not solved.
    E->DataValue(1, 0) = E->DataValue(2, 0) = 7.0;
    CZuMatFunc* eta = model->GetEtaMatrix(0);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            eta->DataValue(1, row, col) = 0.0;
    EXPECT_EQ(r->UpdateAllData(nullptr, 0, nullptr), 0);
    EXPECT_NEAR(Energy(*r, 0, 0) / Expected(0, 1.0).first, 1.0, 1e-6);
    EXPECT_EQ(E->DataValue(1, 0), 7.0);
    EXPECT_EQ(E->DataValue(2, 0), 7.0);
}

TEST_F(PairFixture, ProgressShowsEachBandAndCancelStopsBetweenBands)
{
    CHSEAResultData* r = MakeResult();
    r->SetUnitInputPower("Plate-F");
    CRecordingFeedback progress;
    progress.CancelAtQuestion(2);
    const int result = r->SolveBands(nullptr, &progress);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(progress.begins.size(), 1u);
    EXPECT_EQ(progress.begins[0].total, 3);
    ASSERT_EQ(progress.texts.size(), 1u) << "one band shown before the cancel";
    EXPECT_EQ(progress.texts[0], Format("%g Hz", model->GetFreq(0)));
    EXPECT_DOUBLE_EQ(progress.fractions.back(), 0.0) << "at the first band";
    EXPECT_GT(Energy(*r, 0, 0), 0.0); // solved before the cancel
    EXPECT_EQ(Energy(*r, 1, 0), 0.0); // not reached
}

TEST_F(PairFixture, BandMapPicksTheModelBandAndBadMapsFallBackToIdentity)
{
    const std::vector<int32_t> map{2, 2, 2};
    CHSEAResultData* r = MakeResult(&map);
    r->SetUnitInputPower("Plate-F");
    ASSERT_EQ(r->UpdateAllData(nullptr, 0, nullptr), 1);
    for (int b = 0; b < 3; ++b) // every band solved with model band 2's matrix and frequency
        EXPECT_NEAR(Energy(*r, b, 0) / (Expected(2, 1.0).first * layout.density[b][0] / layout.density[2][0]), 1.0,
                    1e-6);

    for (const std::vector<int32_t>& bad :
         {std::vector<int32_t>{0, 1}, std::vector<int32_t>{0, 1, 3}, std::vector<int32_t>{0, -1, 2}}) {
        EXPECT_EQ(r->SetModelBandMap(&bad), 0);
        EXPECT_EQ(r->GetModelBandMap(), (std::vector<int32_t>{0, 1, 2}));
    }
    EXPECT_EQ(r->SetModelBandMap(nullptr), 1);
    EXPECT_EQ(r->GetModelBand(3), -1);
}

TEST_F(PairFixture, SetInputPowersFromGeneralData)
{
    CHSEAResultData* r = MakeResult();
    CHSEAGeneralData g("Powers", nullptr, 60, OCTAVE_BAND_THIRD, 500.0, 800.0);
    g.SetKind(CHSEAGeneralData::KIND_INPUT_POWER);
    EXPECT_EQ(r->SetInputPowers(&g, 0), 0); // no functions: message 7058
    CZuPowerFunc* f = g.AddPowerFunc("Cabin-", 0);
    ASSERT_TRUE(f);
    f->DataValue(1, 0) = 0.25;
    r->GetInputPowerVector(0)->DataValue(0, 0) = 3.0;
    ASSERT_EQ(r->SetInputPowers(&g, 1), 1);
    EXPECT_EQ(r->GetInputPowerVector(0)->DataValue(0, 0), 3.0); // kept
    EXPECT_EQ(r->GetInputPowerVector(0)->DataValue(1, 1), 0.25);
    ASSERT_EQ(r->SetInputPowers(&g, 0), 1);
    EXPECT_EQ(r->GetInputPowerVector(0)->DataValue(0, 0), 0.0); // cleared
}

TEST_F(PairFixture, StoredAndReadBackIncludingTheLegacySchema)
{
    const std::vector<int32_t> map{0, 2, 1};
    CHSEAResultData* r = MakeResult(&map);
    r->SetUnitInputPower("Plate-F");
    ASSERT_EQ(r->UpdateAllData(nullptr, 0, nullptr), 1);
    r->AddChild(r->CreatePowerContribution("Cabin-", -1));
    const std::vector<uint8_t> buf = Store(*r);
    {
        CArchive in(buf.data(), buf.size());
        auto back = in.ReadOwned<CHSEAResultData>();
        ASSERT_TRUE(back);
        EXPECT_EQ(back->GetModelSerial(), model->GetSerialNumber());
        EXPECT_EQ(back->GetModelBandMap(), map);
        EXPECT_EQ(back->GetModalEnergyVector(0)->DataValue(2, 1), r->GetModalEnergyVector(0)->DataValue(2, 1));
        auto* pc = DynamicDowncast<CHSEAPowerContribution>(back->FindOneChild(ElementType::PowerContribution));
        ASSERT_TRUE(pc);
        EXPECT_EQ(pc->GetRowName(0), "Plate-F"); // bound to the read result's table
        EXPECT_EQ(
            pc->ClipboardText(),
            DynamicDowncast<CHSEAPowerContribution>(r->FindOneChild(ElementType::PowerContribution))->ClipboardText());
    }
    // Schema 14 carries its own band set after the stored flag; 13 is refused.
    std::vector<uint8_t> legacyBands;
    {
        COctaveManagerEx bands(OCTAVE_BAND_FULL, 125.0, 1000.0);
        CArchive ar(&legacyBands, CArchive::store);
        bands.Serialize(ar);
    }
    const std::string name = "CHSEAResultData";
    const size_t schemaAt =
        static_cast<size_t>(std::search(buf.begin(), buf.end(), name.begin(), name.end()) - buf.begin()) - 4;
    ASSERT_EQ(buf[schemaAt], 15);
    const size_t mapBytes = 4 + 4 * map.size();
    for (uint8_t schema : {14, 13}) {
        std::vector<uint8_t> old(buf.begin(), buf.end() - static_cast<long>(mapBytes));
        old[schemaAt] = schema;
        old.insert(old.end(), legacyBands.begin(), legacyBands.end());
        old.insert(old.end(), buf.end() - static_cast<long>(mapBytes), buf.end());
        CArchive in(old.data(), old.size());
        if (schema == 13) {
            EXPECT_THROW(in.ReadOwned<CHSEAResultData>(), CArchiveException);
            continue;
        }
        auto back = in.ReadOwned<CHSEAResultData>();
        ASSERT_TRUE(back);
        EXPECT_EQ(back->GetFreqCount(), 4); // the legacy band set replaced the stored one
        EXPECT_EQ(back->GetModelBandMap(), map);
    }
}

// A two-band table filled by hand: rates, lists, colours and the clipboard text follow the powers,
// and the target's own row counts in the totals but is not copied.
TEST(HSEAPowerContribution, RatesListsColoursAndClipboardText)
{
    CZuSubsystemTable table(std::vector<std::string>{"A-F", "B-F", "C-"});
    CHSEAPowerContribution pc("C-", &table, 2);
    pc.DataIndex(0) = 31.5;
    pc.DataIndex(1) = 100.0;
    const double powers[4] = {3.0, -1.0, 0.0, 1.0}; // row 3 is C's own input power
    for (int r = 0; r < 4; ++r)
        pc.CellValue(0, r, CHSEAPowerContribution::COL_POWER) = powers[r];
    pc.CellValue(0, 0, CHSEAPowerContribution::COL_LEAK) = 0.5;
    pc.RecomputeRates(0);
    EXPECT_EQ(pc.GetInflowTotal(0), 4.0);
    EXPECT_EQ(pc.GetOutflowTotal(0), 1.0);
    EXPECT_EQ(pc.GetIndexAt(0, 0), 0);
    EXPECT_EQ(pc.GetIndexAt(0, 1), 3);
    EXPECT_EQ(pc.GetIndexAt(0, 2), -1);
    EXPECT_EQ(pc.GetIndexAt(5, 0), -1);
    EXPECT_DOUBLE_EQ(pc.CellValue(0, 0, CHSEAPowerContribution::COL_RATE), 75.0);
    EXPECT_EQ(pc.GetTableRowCount(0), 4);
    EXPECT_EQ(pc.GetTableRowCount(1), 2); // a band not computed shows header and totals only
    EXPECT_EQ(pc.GetTableCellData(2, 1, 0, 2), "(balance)");
    EXPECT_EQ(pc.GetTableCellData(1, 4, 0, 2), "B-F");
    EXPECT_EQ(pc.GetTableCellData(2, 4, 0, 2), ""); // past the outflow list
    EXPECT_EQ(pc.ColorIndex(0, 0, true), 15);
    EXPECT_EQ(pc.ColorIndex(0, 1, true), 5); // 25 / 75 of 15
    EXPECT_EQ(pc.GetTableCellColor(1, 3, 0), RGB(255, 0, 0));
    EXPECT_EQ(pc.ClipboardText(), "31.5\tPower(W)\tLeak(W)\tRate(%)"
                                  "\nA-F\t2.500000e+00\t5.000000e-01\t7.500000e+01"
                                  "\nB-F\t-1.000000e+00\t\t-2.500000e+01"
                                  "\n\n100\tPower(W)\tLeak(W)\tRate(%)\n");
    pc.BindSubsystemTable(nullptr);
    EXPECT_EQ(pc.GetRowName(0), ""); // unbound: empty names, never a null dereference
    EXPECT_EQ(pc.GetRowName(9), "");
}

// A table read back answers every question as the table it was stored from, whichever it is asked
// first, and an edit of one band after the read lands on the rates of every band.
TEST(HSEAPowerContribution, ReadBackAnswersAsTheStoredTable)
{
    CZuSubsystemTable table(std::vector<std::string>{"A-F", "B-F", "C-"});
    CHSEAPowerContribution pc("C-", &table, 2);
    const double powers[2][4] = {{3.0, -1.0, 0.0, 1.0}, {-2.0, 0.5, 4.0, 0.0}};
    for (int b = 0; b < 2; ++b)
        for (int r = 0; r < 4; ++r)
            pc.CellValue(b, r, CHSEAPowerContribution::COL_POWER) = powers[b][r];
    pc.RecomputeRates(-1);
    const std::vector<uint8_t> buf = Store(pc);
    const auto readBack = [&] {
        CArchive in(buf.data(), buf.size());
        auto back = in.ReadOwned<CHSEAPowerContribution>();
        if (back)
            back->BindSubsystemTable(&table);
        return back;
    };
    using Ask = std::function<std::string(const CHSEAPowerContribution&)>;
    const std::vector<std::pair<const char*, Ask>> firstQuestions = {
        {"rate", [](const auto& t) { return std::to_string(t.CellValue(1, 2, CHSEAPowerContribution::COL_RATE)); }},
        {"inflow list", [](const auto& t) { return std::to_string(t.GetIndexAt(1, 0)); }},
        {"outflow list", [](const auto& t) { return std::to_string(t.GetOutflowIndexAt(0, 0)); }},
        {"inflow total", [](const auto& t) { return std::to_string(t.GetInflowTotal(1)); }},
        {"outflow total", [](const auto& t) { return std::to_string(t.GetOutflowTotal(0)); }},
        {"inflow count", [](const auto& t) { return std::to_string(t.GetInflowCount(0)); }},
        {"outflow count", [](const auto& t) { return std::to_string(t.GetOutflowCount(1)); }},
        {"colour", [](const auto& t) { return std::to_string(t.ColorIndex(1, 1, true)); }},
        {"clipboard", [](const auto& t) { return t.ClipboardText(); }},
    };
    for (const auto& [what, ask] : firstQuestions) {
        auto back = readBack();
        ASSERT_TRUE(back) << what;
        EXPECT_EQ(ask(*back), ask(pc)) << what;
        EXPECT_EQ(back->ClipboardText(), pc.ClipboardText()) << what;
    }

    auto back = readBack();
    ASSERT_TRUE(back);
    for (CHSEAPowerContribution* t : {&pc, back.get()}) {
        t->CellValue(1, 3, CHSEAPowerContribution::COL_POWER) = 6.0;
        t->RecomputeRates(1);
    }
    EXPECT_EQ(back->ClipboardText(), pc.ClipboardText());
    EXPECT_EQ(back->CellValue(0, 0, CHSEAPowerContribution::COL_RATE),
              pc.CellValue(0, 0, CHSEAPowerContribution::COL_RATE));
    EXPECT_EQ(back->GetIndexAt(1, 0), 3);
}

TEST(HSEADominantPathData, StoredAndReadBackEqual)
{
    CHSEADominantPathData data("C-", 2, 2);
    data.AddPathStep(1, 0, "A-F", 2.5);
    data.AddPathStep(1, 0, "(balance)", 1.0);
    data.AddPathStep(1, 1, "B-F", 0.5);
    data.AddPathStep(4, 0, "ignored", 1.0); // outside: nothing happens
    const std::vector<uint8_t> buf = Store(data);
    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CHSEADominantPathData>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetTarget(), "C-");
    EXPECT_EQ(back->GetPathCount(), 2u);
    EXPECT_EQ(back->GetPathStepCount(0, 0), 0);
    EXPECT_EQ(back->GetPathStepCount(1, 0), 2);
    EXPECT_EQ(back->GetPathStepName(1, 0, 1), "(balance)");
    EXPECT_EQ(back->GetPathStepValue(1, 1, 0), 0.5);
    EXPECT_EQ(back->GetTableCellData(1, 1, 1, 2), data.GetTableCellData(1, 1, 1, 2));

    // A damaged stream fails with an archive error, never a crash.
    for (size_t cut = 1; cut < buf.size(); cut += 7) {
        std::vector<uint8_t> shortBuf(buf.begin(), buf.begin() + static_cast<long>(cut));
        CArchive damaged(shortBuf.data(), shortBuf.size());
        EXPECT_THROW(damaged.ReadOwned<CHSEADominantPathData>(), CArchiveException) << cut;
    }
}
