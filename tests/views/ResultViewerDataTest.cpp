// The numbers of the result viewers on a solved plate-to-cabin pair and on small hand-made tables.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "ModelTestSupport.h"
#include "models/HSEAModelData.h"
#include "models/HSEAPowerContribution.h"
#include "models/HSEAResultData.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelShell.h"
#include "platform/win/PromptService.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "views/CavPcViewData.h"
#include "views/DaqERCompData.h"
#include "views/SplBySingleIPData.h"
#include "views/StAcSplBySingleIPData.h"

namespace {
constexpr double kRhoC2 = 1.21 * 343.0 * 343.0;
constexpr double kP0Sq = 4e-10;

// A plate (12 kg) feeding a cabin (3 m^3) over three bands, solved with the plate's input power
// scaled per RPM; the power contributions into the cabin per RPM form the viewer's result.
struct PairFixture : ::testing::Test
{
    static constexpr double kVolume = 3.0;
    PairFixture()
    {
        project.types = {{"Plate", 1}, {"Cabin", 6}};
        project.subsystems["Plate"] =
            std::make_unique<CModelShell>("Plate", CModelSubsystem::TYPE_FLAT_PANEL, 2.0, 6.0, 12.0);
        project.subsystems["Cabin"] =
            std::make_unique<CModelCavity>("Cabin", CModelSubsystem::TYPE_CAVITY, 10.0, kVolume);
        CSEAModelData source("SEA", nullptr, 5, OCTAVE_BAND_THIRD, 500.0, 800.0);
        layout.keys = {"Plate-F", "Cabin-"};
        layout.density = {{0.5, 4.0}, {0.6, 5.0}, {0.7, 6.0}};
        layout.dlf = {{0.01, 0.002}, {0.012, 0.003}, {0.014, 0.004}};
        layout.clf[{0, 1}] = {0.003, 0.004, 0.005};
        for (int b = 0; b < 3; ++b)
            layout.clf[{1, 0}].push_back(layout.density[b][0] * layout.clf[{0, 1}][b] / layout.density[b][1]);
        FillSmallModel(source, layout);
        model = project.AddChild(std::make_unique<CHSEAModelData>(&source, nullptr, 1, 1, 0, 0));
        pc = std::make_unique<CZuRpmPcFunc>("PC", nullptr, ElementType::PowerContribution);
        for (double rpm : {1000.0, 2000.0}) {
            auto* r = project.AddChild(std::make_unique<CHSEAResultData>(
                model, std::make_unique<COctaveManagerEx>(*model->GetOctaveManager()), "R", nullptr, nullptr));
            r->SetUnitInputPower("Plate-F");
            for (int b = 0; b < 3; ++b)
                r->GetInputPowerVector(0)->DataValue(b, 0) = rpm / 1000.0 * (b + 1);
            EXPECT_EQ(r->UpdateAllData(nullptr, 0, nullptr), 1);
            results.push_back(r);
            pc->AddRpmData(rpm, r->CreatePowerContribution("Cabin-", -1));
        }
    }

    CCavPcViewData Data()
    {
        CCavPcViewData data(pc.get());
        data.SetTargetSpl([this](int rpm, int band) {
            return results[static_cast<size_t>(rpm)]->CreateSPLFunc("Cabin-")->DataValue(band);
        });
        data.SetDamping(
            [this](int rpm, int band, double& eta, double& freq) {
                eta = results[static_cast<size_t>(rpm)]->ExtractIntrinsicDlf("Cabin-", static_cast<unsigned>(band));
                freq = model->GetFreq(band);
                return true;
            },
            kVolume);
        data.SetStructureTest([](const std::string& name) { return name.ends_with("-F"); });
        return data;
    }

    CTestModelProject project;
    SmallModelLayout layout;
    CHSEAModelData* model = nullptr;
    std::vector<CHSEAResultData*> results;
    std::unique_ptr<CZuRpmPcFunc> pc;
    CScriptedPrompts prompts;
};

double Spl(CHSEAResultData& r, int band)
{
    return r.CreateSPLFunc("Cabin-")->DataValue(band);
}
} // namespace

TEST_F(PairFixture, RatesSharesAndSplPerContributorOfThePair)
{
    CCavPcViewData data = Data();
    for (int axis : {0, 1}) {
        data.Compute(CCavPcViewData::kViewRate, axis, 1);
        ASSERT_EQ(data.GetContributorCount(), 1) << axis;
        EXPECT_EQ(data.GetNames()[0], "Plate-F");
        for (int k = 0; k < data.GetPointCount(); ++k)
            EXPECT_NEAR(data.GetCell(0, k), 100.0, 1e-9); // the only inflow has all of it
    }
    // View 0 over frequency at 2000 RPM: the shares stack to the cabin's SPL of each band.
    data.Compute(CCavPcViewData::kViewShare, 0, 1);
    ASSERT_EQ(data.GetPointCount(), 3);
    for (int b = 0; b < 3; ++b) {
        EXPECT_NEAR(data.GetCell(0, b), Spl(*results[1], b), 1e-9);
        EXPECT_NEAR(data.GetTotal()[b], Spl(*results[1], b), 1e-12);
    }
    // View 2 over RPM at band 2: p^2 = P / (w eta) * rho c^2 / V by hand, which for the only
    // feeder is the cabin's own SPL of the band solve.
    data.Compute(CCavPcViewData::kViewSpl, 1, 2);
    ASSERT_EQ(data.GetPointCount(), 2);
    for (int r = 0; r < 2; ++r) {
        const double P = results[r]->CreatePowerContribution("Cabin-", -1)->CellValue(2, 0, 0);
        const double p2 = P / (2 * M_PI * model->GetFreq(2) * layout.dlf[2][1]) * kRhoC2 / kVolume;
        EXPECT_NEAR(data.GetCell(0, r), 10 * std::log10(p2 / kP0Sq), 1e-6);
        EXPECT_NEAR(data.GetCell(0, r), Spl(*results[r], 2), 1e-6);
        EXPECT_NEAR(data.GetTotal()[r], data.GetCell(0, r), 1e-9);
        EXPECT_EQ(data.GetDifference()[r], 0.0);
    }
    // A-weighting adds its correction to every level of the view.
    data.SetAWeighting({-3.2, -1.9, -0.8});
    data.SetWeighting(1);
    const double plain = data.GetCell(0, 0);
    data.Compute(CCavPcViewData::kViewSpl, 1, 2);
    EXPECT_NEAR(data.GetCell(0, 0), plain - 0.8, 1e-9);
}

// Hand-made tables: three subsystems and the target's own input row, over three bands.
TEST(CavPcViewData, ContributorsTicksColoursAndHitTest)
{
    CZuSubsystemTable names(std::vector<std::string>{"A-F", "B-F", "C-"});
    CZuRpmPcFunc pc("PC", nullptr, ElementType::PowerContribution);
    for (double rpm : {1000.0, 2000.0}) {
        auto t = std::make_unique<CHSEAPowerContribution>("C-", &names, 3);
        for (int b = 0; b < 3; ++b)
            t->DataIndex(b) = 500.0 * (b + 1);
        t->CellValue(0, 0, 0) = 2.0;  // A feeds band 0
        t->CellValue(2, 1, 0) = 1.0;  // B feeds only band 2
        t->CellValue(1, 0, 0) = -0.5; // A takes from band 1
        t->CellValue(0, 3, 0) = 0.0;  // no own input anywhere
        t->RecomputeRates(-1);
        pc.AddRpmData(rpm, std::move(t));
    }
    CCavPcViewData data(&pc);
    data.SetDamping(
        [](int, int, double& eta, double& freq) {
            eta = 0.01;
            freq = 1000.0;
            return true;
        },
        2.0);
    data.SetStructureTest([](const std::string& n) { return n.ends_with("-F"); });
    data.Compute(CCavPcViewData::kViewRate, 0, 0);
    // B has no power in band 0 but stays: it feeds band 2 of the axis.
    ASSERT_EQ(data.GetNames(), (std::vector<std::string>{"A-F", "B-F"}));
    EXPECT_EQ(data.GetCell(0, 1), CCavPcViewData::kFloor); // an outflow has no rate to show
    EXPECT_EQ(data.GetCell(1, 0), CCavPcViewData::kFloor);
    EXPECT_NEAR(data.GetCell(1, 2), 100.0, 1e-9);
    // Over RPM at band 1 only A's outflow is there.
    data.Compute(CCavPcViewData::kViewRate, 1, 1);
    EXPECT_EQ(data.GetNames(), (std::vector<std::string>{"A-F"}));

    // Ticks: an unticked contributor leaves the selected sum and the difference shows it.
    data.Compute(CCavPcViewData::kViewSpl, 0, 0);
    ASSERT_EQ(data.GetContributorCount(), 2);
    data.SetSelected(1, 0);
    data.Compute(CCavPcViewData::kViewSpl, 0, 0);
    EXPECT_EQ(data.GetSelected(1), 0); // kept through the recomputation
    EXPECT_EQ(data.GetCell(1, 0), CCavPcViewData::kNoLevel);
    EXPECT_EQ(data.GetDifference()[0], 0.0); // B adds nothing in band 0
    EXPECT_EQ(data.GetSelectedSum()[2], CCavPcViewData::kNoLevel);
    EXPECT_EQ(data.GetDifference()[2], CCavPcViewData::kNoLevel);
    EXPECT_GT(data.GetTotal()[2], 0.0);

    // Both are structures: one group, every curve saturated; colours the same every time.
    EXPECT_EQ(data.GetGroupEnd(), 2);
    EXPECT_EQ(data.GetColors(false), data.GetColors(false));
    const auto mixed = CCavPcViewData::MakeColors(3, 0, false);
    EXPECT_EQ(mixed[0], CCavPcViewData::MakeColors(1, 1, false)[0]);
    EXPECT_NE(mixed[1], CCavPcViewData::MakeColors(3, 3, false)[1]); // paler after the group end
    CCavPcViewData::CRand15 rand(1);
    EXPECT_EQ(rand.Next(), 41);
    EXPECT_EQ(rand.Next(), 18467);

    // Hit test between two points of stacked cells.
    const std::vector<std::vector<double>> cells{{1.0, 3.0}, {2.0, 2.0}};
    EXPECT_EQ(CCavPcViewData::HitTest(cells, 0.5, 1.9), 0);
    EXPECT_EQ(CCavPcViewData::HitTest(cells, 0.5, 2.1), 1);
    EXPECT_EQ(CCavPcViewData::HitTest(cells, 0.5, 4.1), -1);
    EXPECT_EQ(CCavPcViewData::HitTest(cells, 1.2, 0.5), -1);
}

TEST(CavPcViewData, CumulativeRunningSumsOverContributors)
{
    // A contributor with fewer points than the others adds nothing where it has none.
    const std::vector<std::vector<double>> cells{{1.0, 3.0, 0.5}, {2.0, 2.0, 0.25}, {4.0, 1e-10}};
    const auto sums = CCavPcViewData::RunningSums(cells);
    ASSERT_EQ(sums.size(), 3u);
    EXPECT_EQ(sums[0], (std::vector<double>{1.0, 3.0, 0.5}));
    EXPECT_EQ(sums[1], (std::vector<double>{3.0, 5.0, 0.75}));
    EXPECT_EQ(sums[2], (std::vector<double>{7.0, 5.0 + 1e-10, 0.75}));
    EXPECT_TRUE(CCavPcViewData::RunningSums({}).empty());
}

namespace {
// Energies (J) per RPM and band of sources; columns named.
std::unique_ptr<CZuRpmMultiVecFunc> EnergyTable(const std::vector<std::string>& names,
                                                const std::vector<std::vector<std::vector<double>>>& e)
{
    auto table = std::make_unique<CZuRpmMultiVecFunc>("E", nullptr, 96);
    CZuSubsystemTable columns(names);
    for (size_t r = 0; r < e.size(); ++r) {
        auto entry = std::make_unique<CMultiVectorFunction>("r", &columns, 2, table.get(), 96);
        entry->DataIndex(0) = 500.0;
        entry->DataIndex(1) = 1000.0;
        for (int b = 0; b < 2; ++b)
            for (size_t s = 0; s < names.size(); ++s)
                entry->DataValue(b, static_cast<int>(s)) = e[r][s][static_cast<size_t>(b)];
        table->AddRpmData(1000.0 * (r + 1), std::move(entry));
    }
    return table;
}
} // namespace

TEST(SplBySingleIPData, SumsSelectionLevelsAndShares)
{
    auto table = EnergyTable({"Roof", "Floor", "Air"},
                             {{{1e-6, 2e-6}, {3e-6, -1e-6}, {4e-6, 0.0}}, {{2e-6, 0.0}, {1e-6, 0.0}, {0.0, 0.0}}});
    CSplBySingleIPData data;
    data.SetTable(table.get(), [](const std::string& n) { return n != "Air"; });
    data.SetVolume(2.0);
    ASSERT_EQ(data.GetSourceCount(), 3);
    ASSERT_EQ(data.Rows().size(), 5u);
    data.Compute(0, 0);
    const auto& oa = data.Rows()[3].values;
    EXPECT_NEAR(oa[0], 8e-6, 1e-18);
    EXPECT_EQ(data.Rows()[4].shown, 0);
    // Level: p^2 = E rho c^2 / V.
    EXPECT_NEAR(data.Level(1e-6), 10 * std::log10(1e-6 * kRhoC2 / 2.0 / kP0Sq), 1e-9);
    EXPECT_EQ(data.Level(0.0), CSplBySingleIPData::kNoLevel);

    data.Select(1);
    EXPECT_EQ(data.Rows()[4].shown, 1);
    EXPECT_NEAR(data.Rows()[4].values[0], 5e-6, 1e-18);
    EXPECT_EQ(data.Rows()[0].drawnColor, RGB(128, 128, 128));
    data.Select(3); // an overall row changes no sum
    EXPECT_NEAR(data.Rows()[4].values[0], 5e-6, 1e-18);
    data.ClearSelection();
    EXPECT_EQ(data.Rows()[4].shown, 0);

    // Shares: the negative floor energy lowers the structures' net factor of band 1.
    EXPECT_NEAR(data.NetFactor(true, 1), 0.5, 1e-12);
    auto percent = data.StackedCells(1);
    EXPECT_NEAR(percent[0][1], 0.5 * 2e-6 / 1e-6 * 100.0, 1e-9);
    EXPECT_EQ(percent[1][1], CSplBySingleIPData::kFloor);
    // Shares of band 0 stack to the overall level.
    auto share = data.StackedCells(0);
    EXPECT_NEAR(share[0][0] + share[1][0] + share[2][0], data.Level(oa[0]), 1e-9);
    // At 2000 RPM band 1 nothing is there: every share is the floor, nothing is divided by 0.
    data.Compute(0, 1);
    for (const auto& row : data.StackedCells(0))
        EXPECT_EQ(row[1], CSplBySingleIPData::kFloor);
    // Over RPM at band 0.
    data.Compute(1, 0);
    EXPECT_NEAR(data.Rows()[0].values[1], 2e-6, 1e-18);

    // The energies behind a table of levels come back as those levels.
    auto spl = EnergyTable({"Roof"}, {{{60.0, HUGE_VAL}}});
    auto energies = CSplBySingleIPData::EnergiesFromSpl(*spl, 2.0);
    CSplBySingleIPData back;
    back.SetTable(energies.get());
    back.SetVolume(2.0);
    back.Compute(0, 0);
    EXPECT_NEAR(back.Level(back.Rows()[0].values[0]), 60.0, 1e-9);
    EXPECT_EQ(back.Level(back.Rows()[0].values[1]), CSplBySingleIPData::kNoLevel);
}

TEST(StAcSplBySingleIPData, EnergeticGroupSumsAndEmptyGroup)
{
    auto spl = EnergyTable({"Roof", "Floor", "Engine"}, {{{60.0, HUGE_VAL}, {60.0, 50.0}, {70.0, 40.0}}});
    auto isStructure = [](const std::string& n) { return n == "Roof" || n == "Floor"; };
    CStAcSplBySingleIPData data;
    data.SetTable(spl.get(), isStructure, [](const std::string&) { return false; });
    data.Compute(0, 0);
    ASSERT_EQ(data.Rows().size(), 3u);
    EXPECT_NEAR(data.Rows()[0].values[0], 60.0 + 10 * std::log10(2.0), 1e-9);
    EXPECT_NEAR(data.Rows()[0].values[1], 50.0, 1e-9);
    // No acoustic input: the row stays with no value; "Engine" (neither kind) only in O.A.
    EXPECT_EQ(data.Rows()[1].values[0], HUGE_VAL);
    EXPECT_NEAR(data.Rows()[2].values[0], 10 * std::log10(2e6 + 1e7), 1e-9);
    data.SelectRow(2);
    EXPECT_EQ(data.Rows()[0].drawnColor, RGB(128, 128, 128));
    EXPECT_EQ(data.Rows()[2].drawnColor, RGB(0, 128, 0));
    data.SelectRow(-1);
    EXPECT_EQ(data.Rows()[0].drawnColor, RGB(0, 0, 128));
}

// Two cavities: the model ratio from coupling and total damping predicts the target energy that
// the band solve gives when only the source is fed: E_t / E_s = eta_st / (eta_t + eta_ts).
TEST(DaqERCompData, ModelRatioOfTwoCavitiesPredictsTheSolvedTargetEnergy)
{
    CTestModelProject project;
    CScriptedPrompts prompts;
    project.types = {{"Front", 6}, {"Rear", 6}};
    SmallModelLayout layout;
    layout.keys = {"Front-", "Rear-"};
    layout.density = {{4.0, 3.0}, {5.0, 4.0}};
    layout.dlf = {{0.002, 0.004}, {0.003, 0.005}};
    layout.clf[{0, 1}] = {0.003, 0.002};
    layout.clf[{1, 0}] = {0.004, 0.0025};
    CSEAModelData source("SEA", nullptr, 5, OCTAVE_BAND_THIRD, 500.0, 630.0);
    FillSmallModel(source, layout);
    auto* model = project.AddChild(std::make_unique<CHSEAModelData>(&source, nullptr, 1, 1, 0, 0));
    auto* r = project.AddChild(std::make_unique<CHSEAResultData>(
        model, std::make_unique<COctaveManagerEx>(*model->GetOctaveManager()), "R", nullptr, nullptr));
    r->SetUnitInputPower("Front-");
    ASSERT_EQ(r->UpdateAllData(nullptr, 0, nullptr), 1);

    constexpr double kVolume = 5.0;
    CDaqERCompData data;
    data.SetBands({500.0, 630.0}, {0, 1});
    data.SetRpms({1500.0});
    auto pressures = [&](const char* key) {
        std::vector<double> p;
        for (int b = 0; b < 2; ++b)
            p.push_back(std::sqrt(r->GetSubsystemValue(key, b, 0) * kRhoC2 / kVolume));
        return std::vector<std::vector<double>>{p};
    };
    data.AddSource({"Front", pressures("Front-"), kVolume / kRhoC2});
    data.SetTarget({"Rear", pressures("Rear-"), kVolume / kRhoC2});
    data.SetModelRatio([&](const std::string&, const std::string&, std::vector<double>& er) {
        std::vector<double> clf, dlf;
        for (unsigned b = 0; b < 2; ++b) {
            clf.push_back(model->ExtractClf("Front-", "Rear-", b));
            dlf.push_back(model->ExtractTotalDlf("Rear-", b));
        }
        er = CDaqERCompData::CouplingRatio(clf, dlf);
        return true;
    });
    ASSERT_TRUE(data.Compute(0, 0));
    for (int b = 0; b < 2; ++b) {
        const double closed = layout.clf[{0, 1}][b] / (layout.dlf[b][1] + layout.clf[{1, 0}][b]);
        EXPECT_NEAR(data.ByModel()[b] / (closed * r->GetSubsystemValue("Front-", b, 0)), 1.0, 1e-9);
        EXPECT_NEAR(data.ByModel()[b] / data.ByExp()[b], 1.0, 1e-6);
    }
    EXPECT_NEAR(data.Difference(data.ByModel())[0], 0.0, 1e-6);
    // No speaker/tapping ratio: its prediction is 0 (difference 0 dB) and the pair is named once.
    EXPECT_EQ(data.BySpeaker()[0], 0.0);
    EXPECT_EQ(data.Difference(data.BySpeaker())[0], 0.0);
    ASSERT_EQ(data.GetMissingSpeaker().size(), 1u);
    EXPECT_EQ(data.GetMissingSpeaker()[0], (std::pair<std::string, std::string>{"Front", "Rear"}));
    EXPECT_TRUE(data.GetMissingModel().empty());
    EXPECT_EQ(data.CopyText().substr(0, 32), "Target Energy [Rear]\tRPM: 1500\nF");
    // Over RPM at band 1; a target without energy leaves a gap in the differences.
    ASSERT_TRUE(data.Compute(1, 1));
    ASSERT_EQ(data.ByExp().size(), 1u);
    data.SetTarget({"Rear", {{0.0, 0.0}}, kVolume / kRhoC2});
    data.Compute(1, 1);
    EXPECT_TRUE(std::isnan(data.Difference(data.ByModel())[0]));
    EXPECT_FALSE(data.Compute(1, 2));
}

// Loading: a mirrored subsystem's data stands in under its name, a subsystem the model lacks is
// left out and named, a subsystem without any data stops the load and is named.
TEST(DaqERCompData, LoadTakesMirrorsSkipsUnknownSubsystemsAndStopsWithoutData)
{
    const std::map<std::string, double> rows{{"Door-L", 2.0}, {"Roof", 3.0}, {"Cabin", 4.0}, {"Ghost", 5.0}};
    auto measured = [&](const std::string& name, std::vector<std::vector<double>>& values, std::vector<double>& rpms) {
        auto it = rows.find(name);
        if (it == rows.end())
            return false;
        values = {{it->second}};
        rpms = {1000.0};
        return true;
    };
    auto factor = [](const std::string& name, double& f) {
        f = 1.5;
        return name != "Ghost";
    };
    auto mirror = [](const std::string& name, std::string& m) {
        if (name.ends_with("-R")) {
            m = name.substr(0, name.size() - 2) + "-L";
            return true;
        }
        return false;
    };
    CDaqERCompData data;
    std::string missing;
    std::vector<std::string> skipped;
    ASSERT_TRUE(data.Load({"Door-R", "Roof", "Ghost"}, "Cabin", measured, factor, mirror, missing, skipped));
    ASSERT_EQ(data.GetSources().size(), 2u);
    EXPECT_EQ(data.GetSources()[0].name, "Door-L");
    EXPECT_EQ(data.GetSources()[0].factor, 1.5);
    EXPECT_EQ(skipped, std::vector<std::string>{"Ghost"});
    EXPECT_EQ(data.GetRpms(), std::vector<double>{1000.0});
    EXPECT_FALSE(data.Load({"Hood-R"}, "Cabin", measured, factor, mirror, missing, skipped));
    EXPECT_EQ(missing, "Hood-L"); // the name last tried
    EXPECT_FALSE(data.Load({"Roof"}, "Nobody", measured, factor, mirror, missing, skipped));
    EXPECT_EQ(missing, "Nobody");
}
