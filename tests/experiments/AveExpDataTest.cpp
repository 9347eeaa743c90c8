// Averaging over experiments into order maps and band energies, and the RPM rows of a result.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "MeasuredDataTestSupport.h"
#include "common/LevelUtil.h"
#include "experiments/AveExpData.h"
#include "experiments/ExpInfo.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderBand.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"

namespace {

const std::string kSubsystem = "A-Cabin";

// A data set of one experiment with, optionally, a map over RPM and an order function of the
// subsystem.
class CAveData : public CMElement, public IDaqExperimentData
{
public:
    CExpInfo info;
    CCalcOptions calc;
    std::unique_ptr<CZuRpmFunc> map;
    std::unique_ptr<CMultiVectorFunction> orders;

    CAveData()
    {
        info.SetName(0, "S-Engine");
        info.SetName(1, kSubsystem);
    }
    CExpInfo* GetExpInfo() override { return &info; }
    CCalcOptions* GetCalcOptions() override { return &calc; }
    CZuRpmFunc* FindRpmFuncByName(const std::string& name) const override
    {
        return map && map->GetName() == name ? map.get() : nullptr;
    }
    CMultiVectorFunction* FindMultiVecFuncByName(const std::string& name) const override
    {
        return orders && orders->GetName() == name ? orders.get() : nullptr;
    }
};

// The stand-in project lists the given data sets as those of the subsystem.
class CAveProject : public CStubDaqProject
{
public:
    std::vector<CAveData*> data;
    double factor = 1.0;

    int FindDAQExperimentsBySubsystem(const std::string&, CMElementList& list) override
    {
        list.Clear();
        for (CAveData* d : data)
            list.Add(d);
        return list.GetSize();
    }
    double GetSubsystemEnergyFactor(const std::string& name) const override
    {
        return name == kSubsystem ? factor : 0.0;
    }
    int GetAveragingMode() const override { return mode; }
    int mode = 0;
};

std::unique_ptr<CMultiVectorFunction> MakeOrders(const std::vector<double>& rpms, const std::vector<double>& orders)
{
    CZuSubsystemTable columns;
    for (double o : orders)
        columns.Add(std::to_string(o));
    auto f = std::make_unique<COTMultiVecFunc>(kSubsystem, &columns, static_cast<int>(rpms.size()), nullptr, 5);
    f->SetDataIndexArray(rpms);
    COrderList list;
    for (double o : orders)
        list.Add(o);
    f->SetOrderList(list);
    return f;
}

TEST(AveExpData, TheRpmRowsOfAResult)
{
    struct Case
    {
        int mode;
        float min, max, step;
        std::vector<float> list;
        std::vector<double> rows;
    } cases[] = {
        {CRPMOptions::modeRange, 1000.0f, 2000.0f, 500.0f, {}, {1000.0, 1500.0, 2000.0}},
        {CRPMOptions::modeRange, 3000.0f, 2000.0f, 500.0f, {}, {}},
        {CRPMOptions::modeList, 0.0f, 0.0f, 0.0f, {1200.0f, 800.0f}, {1200.0, 800.0}},
    };
    for (const Case& c : cases) {
        CRPMOptions options;
        if (c.mode == CRPMOptions::modeRange) {
            options.SetRange(c.min, c.max, c.step);
        } else {
            options.SetMode(CRPMOptions::modeList);
            *options.GetRpmList() = c.list;
        }
        EXPECT_EQ(CAveExpData::ResultRpms(options), c.rows) << c.min << ".." << c.max << " by " << c.step;
    }
}

TEST(AveExpData, OrderMapsAverageTheNonZeroValuesInTheBandOfEachOrder)
{
    CAveProject project;
    project.config.SetFactor3(1.0f);
    const std::vector<double> rpms = {1000.0, 1500.0, 2000.0};
    const std::vector<double> orders = {2.0, 4.0};
    CAveData a, b;
    a.orders = MakeOrders(rpms, orders);
    b.orders = MakeOrders(rpms, orders);
    a.orders->DataValue(1, 0) = 1.0; // order 2 at 1500 RPM: only the first has a value
    a.orders->DataValue(2, 1) = 1.0; // order 4 at 2000 RPM: both have one
    b.orders->DataValue(2, 1) = 3.0;
    project.data = {&a, &b};

    CAveExpData average(&project);
    auto result = average.AverageRpmVecFuncs(kSubsystem, nullptr, 0);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetType(), ElementType::SpectrumMap);
    ASSERT_EQ(result->GetOrderCount(), 2);
    const CZuRpmFunc* order2 = result->GetOrderFunc(0);
    const CZuRpmFunc* order4 = result->GetOrderFunc(1);
    ASSERT_EQ(order2->GetRpmArray(), rpms);
    const int band2 = GetOrderBandIndex(1500.0, 2.0, 1.0, &project.bands);
    const int band4 = GetOrderBandIndex(2000.0, 4.0, 1.0, &project.bands);
    ASSERT_GE(band2, 0);
    ASSERT_GE(band4, 0);
    EXPECT_DOUBLE_EQ(order2->DataValue(1, band2), 1.0) << "the zero of the second experiment is left out";
    EXPECT_DOUBLE_EQ(order4->DataValue(2, band4), std::sqrt((1.0 + 9.0) / 2.0)) << "summed in linear power";
    EXPECT_DOUBLE_EQ(order2->DataValue(0, GetOrderBandIndex(1000.0, 2.0, 1.0, &project.bands)), 0.0);

    // A single RPM gives a single row; without order functions there is nothing to average.
    a.orders = MakeOrders({3000.0}, orders);
    b.orders = MakeOrders({3000.0}, orders);
    result = average.AverageRpmVecFuncs(kSubsystem, nullptr, 0);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetOrderFunc(0)->GetRpmCount(), 1);
    a.orders.reset();
    b.orders.reset();
    EXPECT_EQ(average.AverageRpmVecFuncs(kSubsystem, nullptr, 0), nullptr);
    EXPECT_EQ(average.AverageRpmVecFuncs("Unknown", nullptr, 0), nullptr);
}

TEST(AveExpData, BandEnergiesAtOneRpmTakeEveryMapAndTheSubsystemsFactor)
{
    CAveProject project;
    project.factor = 2.0;
    const std::vector<double> freqs = {100.0, 200.0};
    const std::vector<double> rpms = {1000.0, 2000.0};
    const double other = 1500.0;
    CAveData a, b, c;
    a.map = CZuRpmFunc::NewRpmFunc(kSubsystem, 5, nullptr, kSubsystem, freqs.data(), 2, rpms.data(), 2);
    b.map = CZuRpmFunc::NewRpmFunc(kSubsystem, 5, nullptr, kSubsystem, freqs.data(), 2, rpms.data(), 2);
    c.map = CZuRpmFunc::NewRpmFunc(kSubsystem, 5, nullptr, kSubsystem, freqs.data(), 2, &other, 1);
    a.map->DataValue(1, 0) = 1.0;
    b.map->DataValue(1, 0) = 3.0;
    b.map->DataValue(1, 1) = 0.5;
    project.data = {&a, &b, &c};

    CAveExpData average(&project);
    std::vector<double> out;
    ASSERT_EQ(average.AverageSubsystemData(kSubsystem, 2000.0, out), 1);
    ASSERT_EQ(out.size(), 2u);
    // The map without a row at 2000 RPM takes part with zeros.
    std::vector<double> band0 = {2.0 * 1.0, 2.0 * 9.0, 0.0};
    std::vector<double> band1 = {0.0, 2.0 * 0.25, 0.0};
    EXPECT_DOUBLE_EQ(out[0], GetLevelAverage(band0.data(), 3, 0));
    EXPECT_DOUBLE_EQ(out[1], GetLevelAverage(band1.data(), 3, 0));

    // A band that no experiment measured has no energy in any mode, not the floor level of the
    // mean in decibels; a band measured once keeps its energy.
    c.map.reset();
    project.data = {&b};
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        project.mode = mode;
        b.map->DataValue(1, 1) = 0.0;
        ASSERT_EQ(average.AverageSubsystemData(kSubsystem, 2000.0, out), 1);
        EXPECT_NEAR(out[0], 2.0 * 9.0, 1e-12);
        EXPECT_EQ(out[1], 0.0);
        ASSERT_EQ(average.AverageSubsystemData(kSubsystem, 1000.0, out), 1);
        EXPECT_EQ(out, std::vector<double>(2, 0.0));
    }

    project.data.clear();
    EXPECT_EQ(average.AverageSubsystemData(kSubsystem, 2000.0, out), 0);
    CAveExpData detached;
    EXPECT_EQ(detached.AverageSubsystemData(kSubsystem, 2000.0, out), 0);
}

} // namespace
