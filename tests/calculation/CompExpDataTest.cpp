// Calculated levels next to the measured ones, by RPM and by order.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "CalcTestSupport.h"
#include "calculation/AnalysisProjectAccess.h"
#include "calculation/CompExpData.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/win/PromptService.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

namespace {
// A DAQ project whose one experiment measured every subsystem.
class CMeasuredDaq : public CStubDaqProject
{
public:
    CStubExperiment experiment;
    int FindDAQExperimentsBySubsystem(const std::string& name, CMElementList& list) override
    {
        list.Clear();
        experiment.info.SetName(0, name);
        list.Add(&experiment);
        return 1;
    }
};

class CFakeAnalysis : public CMElement, public IAnalysisProjectAccess
{
public:
    CMeasuredDaq daq;
    CRPMOptions rpm;
    COrderList orders;
    std::vector<int32_t> map;
    float margin = 0.0f;

    CMElement* GetProjectElement() override { return this; }
    int HasOwner() const override { return 1; }
    CRPMOptions& GetRPMOptions() override { return rpm; }
    COctaveManagerEx* GetOctaveManager() override { return &daq.bands; }
    std::vector<int32_t>& GetFreqIndexArray() override { return map; }
    void GetModelDataParams(int* kind, double* start, double* end) const override
    {
        *kind = -1;
        *start = *end = 0.0;
    }
    int GetProjectType() const override { return 0; }
    std::string GetProjectName() const override { return "Analysis"; }
    COrderList& GetOrderList() override { return orders; }
    float GetOTSetting() const override { return 50.0f; }
    double GetDaqConfigValue() const override { return 1.0; }
    int CompleteSubsystemName(std::string& name) const override
    {
        const bool cavity = name.find("Cavity") != std::string::npos;
        name += cavity ? "-" : "-F";
        return cavity ? 6 : 1;
    }
    bool GetSubsystemParam(const std::string&, double&, double&) const override { return false; }
    const COctaveManager* GetModelOctaveManager() const override { return nullptr; }
    IDaqProjectAccess* GetDaqProjectAccess() const override { return const_cast<CMeasuredDaq*>(&daq); }
    float GetInputEnergyRpmMargin() const override { return margin; }
};

// A measured map of the subsystem over the project's bands: value(row) in every band.
void AddMeasured(CFakeAnalysis& project, const std::string& name, const std::vector<double>& rpms,
                 const std::function<double(int)>& value)
{
    const std::vector<double> f = project.daq.bands.GetFreqArray();
    auto map = CZuRpmFunc::NewRpmFunc(name, 66, nullptr, name, f.data(), static_cast<int>(f.size()), rpms.data(),
                                      static_cast<int>(rpms.size()));
    for (int r = 0; r < map->GetRpmCount(); ++r)
        for (int b = 0; b < map->GetFreqCount(); ++b)
            map->DataValue(r, b) = value(r);
    project.daq.experiment.AddChild(std::move(map));
}

std::vector<double> Steps(double from, double to, double step)
{
    std::vector<double> v;
    for (double r = from; r <= to; r += step)
        v.push_back(r);
    return v;
}

struct CompFixture : ::testing::Test
{
    CScriptedPrompts prompts;
    CFakeAnalysis project;
    std::vector<double> freqs = project.daq.bands.GetFreqArray();
};
} // namespace

TEST_F(CompFixture, MeasuredVelocityAndPressureBecomeLevelsBesideTheCalculation)
{
    AddMeasured(project, "Roof", {1000.0, 1050.0, 1100.0}, [](int) { return 1.0; });
    // The calculated vibration level has an RPM the measurement lacks.
    const std::vector<double> rpms = {1000.0, 1050.0, 1100.0, 1150.0};
    auto calc = CZuRpmFunc::NewRpmFunc("Vibration Level [Roof]", 53, nullptr, "Roof", freqs.data(),
                                       static_cast<int>(freqs.size()), rpms.data(), 4);
    for (int r = 0; r < 4; ++r)
        for (int b = 0; b < calc->GetFreqCount(); ++b)
            calc->DataValue(r, b) = 60.0 + r + 0.5 * b;
    CCompExpData comp;
    comp.SetResultFunc(calc.get());
    comp.SetAnalysisProject(&project);
    std::unique_ptr<CZuRpmMultiVecFunc> table = comp.CreateRpmComparison();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetType(), ElementType::VibrationComparison);
    EXPECT_EQ(table->GetName(), "Vibration Level Comparison [Roof]");
    EXPECT_EQ(table->GetLabel(), "Roof");
    ASSERT_EQ(table->GetRpmCount(), 4);
    for (int r = 0; r < 4; ++r) {
        CZuVecFunc* pair = table->GetVecFunc(r);
        ASSERT_EQ(pair->GetSubsystemCount(), 2);
        EXPECT_EQ(pair->GetSubsystem(0), "Exp");
        EXPECT_EQ(pair->GetSubsystem(1), "Calc");
        EXPECT_EQ(pair->GetType(), 53);
        ASSERT_EQ(pair->GetDataCount(), calc->GetFreqCount());
        for (int b = 0; b < pair->GetDataCount(); ++b) {
            EXPECT_EQ(pair->DataIndex(b), freqs[static_cast<size_t>(b)]);
            EXPECT_EQ(pair->DataValue(b, 1), calc->DataValue(r, b));
            // 1 m/s is 0 dB; an RPM without measurement has no value, never 0 dB.
            if (r < 3)
                EXPECT_NEAR(pair->DataValue(b, 0), 0.0, 1e-12);
            else
                EXPECT_EQ(pair->DataValue(b, 0), HUGE_VAL);
        }
    }

    // A cavity: 2e-4 Pa is 20 dB; the SPL comes as a table of one function per RPM. A measured
    // zero (nothing measured) has no level.
    AddMeasured(project, "Front Cavity", {1000.0, 1050.0}, [](int r) { return r == 0 ? 2.0e-4 : 0.0; });
    auto spl = std::make_unique<CZuRpmMultiVecFunc>("SPL [Front Cavity-]", nullptr, 54);
    spl->SetLabel("Front Cavity-");
    for (double rpm : {1000.0, 1050.0}) {
        auto row = std::make_unique<CZuFunc>("SPL", static_cast<int>(freqs.size()), nullptr, 54);
        for (size_t b = 0; b < freqs.size(); ++b) {
            row->DataIndex(static_cast<int>(b)) = freqs[b];
            row->DataValue(static_cast<int>(b)) = 80.0;
        }
        spl->AddRpmData(rpm, std::move(row));
    }
    comp.SetResultFunc(spl.get());
    table = comp.CreateRpmComparison();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetType(), ElementType::SplComparison);
    EXPECT_EQ(table->GetName(), "SPL Comparison [Front Cavity]");
    ASSERT_EQ(table->GetRpmCount(), 2);
    EXPECT_NEAR(table->GetVecFunc(0)->DataValue(3, 0), 20.0, 1e-9);
    EXPECT_EQ(table->GetVecFunc(0)->DataValue(3, 1), 80.0);
    EXPECT_EQ(table->GetVecFunc(1)->DataValue(3, 0), HUGE_VAL);

    // Without a calculated function, or without measurements of the subsystem: nothing.
    comp.SetResultFunc(nullptr);
    EXPECT_EQ(comp.CreateRpmComparison(), nullptr);
    auto unmeasured = CZuRpmFunc::NewRpmFunc("x", 53, nullptr, "Floor", freqs.data(), 1, rpms.data(), 1);
    comp.SetResultFunc(unmeasured.get());
    EXPECT_EQ(comp.CreateRpmComparison(), nullptr);
}

TEST_F(CompFixture, TheRpmMarginSmoothsTheMeasurementOverItsRows)
{
    // Rows 1000 .. 1400 RPM: 1 m/s, except 1000 m/s at both ends.
    const std::vector<double> rpms = Steps(1000.0, 1400.0, 50.0);
    AddMeasured(project, "Roof", rpms, [](int r) { return r == 0 || r == 8 ? 1000.0 : 1.0; });
    auto calc = CZuRpmFunc::NewRpmFunc("Vibration Level [Roof]", 53, nullptr, "Roof", freqs.data(), 1, rpms.data(),
                                       static_cast<int>(rpms.size()));
    CCompExpData comp;
    comp.SetResultFunc(calc.get());
    comp.SetAnalysisProject(&project);

    auto exp = [&](const CZuRpmMultiVecFunc& t, int row) { return t.GetVecFunc(row)->DataValue(0, 0); };
    std::unique_ptr<CZuRpmMultiVecFunc> plain = comp.CreateRpmComparison();
    ASSERT_NE(plain, nullptr);
    EXPECT_NEAR(exp(*plain, 0), 60.0, 1e-9);
    EXPECT_NEAR(exp(*plain, 2), 0.0, 1e-12);

    // 100 RPM of margin over acquisition steps of 50 RPM: two rows on each side.
    project.margin = 100.0f;
    project.daq.config.SetRpmMargin(50);
    std::unique_ptr<CZuRpmMultiVecFunc> smoothed = comp.CreateRpmComparison();
    ASSERT_NE(smoothed, nullptr);
    EXPECT_GT(exp(*smoothed, 2), 1.0);          // 1000 RPM lies two rows away
    EXPECT_NEAR(exp(*smoothed, 3), 0.0, 1e-12); // 1000 RPM lies three rows away
    EXPECT_NEAR(exp(*smoothed, 5), 0.0, 1e-12);
    EXPECT_GT(exp(*smoothed, 6), 1.0);
    for (int edge : {0, 1, 7, 8})
        EXPECT_EQ(exp(*smoothed, edge), HUGE_VAL) << edge; // the window leaves the measurement

    // An acquisition configuration without an RPM step does not smooth (and does not divide by 0).
    project.daq.config.SetRpmMargin(0);
    std::unique_ptr<CZuRpmMultiVecFunc> unsmoothed = comp.CreateRpmComparison();
    ASSERT_NE(unsmoothed, nullptr);
    EXPECT_NEAR(exp(*unsmoothed, 0), 60.0, 1e-9);
}

TEST_F(CompFixture, ByOrderEachOrderPairsTheLevelsInTheBandOfItsFrequency)
{
    project.orders.Add(2.0);
    project.orders.Add(4.0);
    // Measured: order 2 at 1 m/s, order 4 at 2 m/s except nothing at 3500 RPM; RPMs 3000 and 3500.
    CZuSubsystemTable columns;
    columns.Add("2");
    columns.Add("4");
    auto measured = std::make_unique<COTMultiVecFunc>("Roof", &columns, 2, nullptr, 66);
    COrderList measuredOrders;
    measuredOrders.Add(2.0);
    measuredOrders.Add(4.0);
    measured->SetOrderList(measuredOrders);
    measured->DataIndex(0) = 3000.0;
    measured->DataIndex(1) = 3500.0;
    measured->DataValue(0, 0) = measured->DataValue(1, 0) = 1.0;
    measured->DataValue(0, 1) = 2.0;
    project.daq.experiment.AddChild(std::move(measured));

    // Calculated at 3000, 3500 and 4000 RPM: 70 dB in the band of the order, 0 elsewhere.
    const std::vector<double> rpms = {3000.0, 3500.0, 4000.0};
    auto calc = CZuOTFunc::BuildOTFunc("Vibration Level [Roof]", 53, nullptr, "Roof", freqs.data(),
                                       static_cast<int>(freqs.size()), rpms.data(), 3, {2.0, 4.0}, 1.0f);
    calc->SetLabel("Roof");
    for (int o = 0; o < 2; ++o)
        for (int r = 0; r < 3; ++r) {
            const int band =
                GetOrderBandIndex(rpms[static_cast<size_t>(r)], calc->GetOrder(o), 1.0, &project.daq.bands);
            ASSERT_GE(band, 0);
            calc->GetOrderFunc(o)->DataValue(r, band) = 70.0 + o;
        }
    CCompExpData comp;
    comp.SetResultFunc(calc.get());
    comp.SetAnalysisProject(&project);
    std::unique_ptr<CZuRpmMultiVecFunc> table = comp.CreateOrderComparison();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetType(), ElementType::VibrationComparison);
    ASSERT_EQ(table->GetRpmCount(), 2);
    EXPECT_EQ(table->GetRpm(0), 2.0);
    EXPECT_EQ(table->GetRpm(1), 4.0);
    const double noValue = HUGE_VAL;
    const double expected[2][3][2] = {{{0.0, 70.0}, {0.0, 70.0}, {noValue, 70.0}},
                                      {{20.0 * std::log10(2.0), 71.0}, {noValue, 71.0}, {noValue, 71.0}}};
    for (int o = 0; o < 2; ++o) {
        CZuVecFunc* pair = table->GetVecFunc(o);
        ASSERT_EQ(pair->GetDataCount(), 3);
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(pair->DataIndex(c), rpms[static_cast<size_t>(c)]);
            for (int k = 0; k < 2; ++k) {
                if (expected[o][c][k] == noValue)
                    EXPECT_EQ(pair->DataValue(c, k), noValue) << o << " " << c << " " << k;
                else
                    EXPECT_NEAR(pair->DataValue(c, k), expected[o][c][k], 1e-9) << o << " " << c << " " << k;
            }
        }
    }
    // A project with more orders than the calculation pairs only the calculated ones.
    project.orders.Add(6.0);
    table = comp.CreateOrderComparison();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetRpmCount(), 2);
}
