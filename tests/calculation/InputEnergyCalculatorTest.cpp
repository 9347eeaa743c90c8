// Input energies from measured responses: conversion with mass or volume, averaging over the data
// sets of a subsystem, smoothing over RPM, the experiment check and the by-order form.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "CalcTestSupport.h"
#include "calculation/InputEnergyCalculator.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

namespace {
// A DAQ project whose subsystems' data sets each carry one measured response over RPM.
struct CMeasured
{
    CStubDaqProject daq;
    std::vector<std::unique_ptr<CStubExperiment>> sets;
    COctaveManagerEx bands{OCTAVE_BAND_THIRD, 100.0, 200.0}; // 100, 125, 160, 200 Hz
    CRPMOptions rpm;
    CZuSubsystemTable subsystems;

    CMeasured() { rpm.SetRange(1000.0f, 1100.0f, 50.0f); }

    // A data set of the subsystem whose response at (row, band) is value(row, band) over the RPMs.
    void AddSet(const std::string& subsystem, const std::vector<double>& rpms,
                const std::function<double(int, int)>& value)
    {
        auto set = std::make_unique<CStubExperiment>();
        set->info.SetName(0, subsystem);
        const std::vector<double> freqs = bands.GetFreqArray();
        auto response =
            CZuRpmFunc::NewRpmFunc(subsystem, 103, set.get(), subsystem, freqs.data(), static_cast<int>(freqs.size()),
                                   rpms.data(), static_cast<int>(rpms.size()));
        for (int r = 0; r < response->GetRpmCount(); ++r)
            for (int b = 0; b < response->GetFreqCount(); ++b)
                response->DataValue(r, b) = value(r, b);
        set->AddChild(std::move(response));
        daq.used[subsystem].Add(set.get());
        sets.push_back(std::move(set));
    }

    void Configure(CInputEnergyCalculator& calc)
    {
        calc.m_daqProject = &daq;
        calc.m_rpmOptions = &rpm;
        calc.m_subsystems = &subsystems;
        calc.m_bands = &bands;
    }
};

std::unique_ptr<CZuRpmFunc> TakeOne(CInputEnergyCalculator& calc)
{
    CMElementList out;
    EXPECT_EQ(calc.TakeResults(out), 1);
    return std::unique_ptr<CZuRpmFunc>(ElementCast<CZuRpmFunc>(out[0]));
}

const std::vector<double> kRpms = {1000.0, 1050.0, 1100.0};
} // namespace

TEST(InputEnergyCalculator, StructureEnergyIsMassTimesVelocitySquared)
{
    CMeasured m;
    m.subsystems.Add("Roof-F");
    m.daq.factors["Roof-F"] = 2.0;
    m.AddSet("Roof-F", kRpms, [](int, int) { return 0.1; });
    CInputEnergyCalculator calc;
    m.Configure(calc);
    ASSERT_EQ(calc.Calculate(), 1);
    auto energy = TakeOne(calc);
    ASSERT_NE(energy, nullptr);
    EXPECT_EQ(energy->GetName(), "Roof-F");
    EXPECT_EQ(energy->GetLabel(), "Roof-F");
    EXPECT_EQ(energy->GetType(), 5);
    EXPECT_EQ(energy->GetAxisFlag(), 0);
    ASSERT_EQ(energy->GetRpmCount(), 3);
    ASSERT_EQ(energy->GetFreqCount(), 4);
    EXPECT_NEAR(energy->DataValue(1, 2), 0.02, 1e-12);
    EXPECT_EQ(energy->GetRowFunc(1)->GetName(), "1050");
}

TEST(InputEnergyCalculator, AveragingModesOverThePositiveEnergies)
{
    // Energies 1 and 4 (velocities 1 and 2 at factor 1): arithmetic mean, geometric mean, and the
    // mean of their levels (0 and 6.02 dB) turned back into energy.
    const std::map<int, double> expected = {{0, 2.5}, {1, 2.0}, {2, 2.0}};
    for (const auto& [mode, mean] : expected) {
        SCOPED_TRACE(mode);
        CMeasured m;
        m.subsystems.Add("Roof-F");
        m.daq.factors["Roof-F"] = 1.0;
        // Band 1 only in the first set, band 3 never positive; the second set's last row lies off
        // the analysis RPMs by one float step and adds nothing.
        m.AddSet("Roof-F", kRpms, [](int, int b) { return b == 3 ? 0.0 : 1.0; });
        const float off = std::nextafter(1100.0f, 2000.0f);
        m.AddSet("Roof-F", {1000.0, 1050.0, double(off)}, [](int, int b) { return b == 1 || b == 3 ? 0.0 : 2.0; });
        CInputEnergyCalculator calc;
        m.Configure(calc);
        calc.m_averaging = mode;
        ASSERT_EQ(calc.Calculate(), 1);
        auto energy = TakeOne(calc);
        EXPECT_NEAR(energy->DataValue(0, 0), mean, 1e-9);
        EXPECT_NEAR(energy->DataValue(0, 1), 1.0, 1e-9) << "zero does not enter the average";
        EXPECT_EQ(energy->DataValue(0, 3), 0.0) << "a cell without positive values";
        EXPECT_NEAR(energy->DataValue(2, 0), 1.0, 1e-9) << "the row off the analysis RPMs";
    }
}

TEST(InputEnergyCalculator, SmoothingOverTheRpmMarginCutsTheEdgeRows)
{
    struct Case
    {
        float width;
        int option;
        int rows;
    };
    // Margin 100 at step 50: two rows each side; below one step or switched off: nothing.
    const Case cases[] = {{100.0f, 0, 5}, {40.0f, 0, 9}, {100.0f, 1, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        CMeasured m;
        m.rpm.SetRange(1000.0f, 1400.0f, 50.0f);
        m.subsystems.Add("Roof-F");
        m.daq.factors["Roof-F"] = 1.0;
        m.daq.config.SetOption60(c.option);
        std::vector<double> rpms;
        for (int r = 0; r < 9; ++r)
            rpms.push_back(1000.0 + 50.0 * r);
        m.AddSet("Roof-F", rpms, [](int r, int) { return std::sqrt(double(r + 1)); }); // energy r + 1
        CInputEnergyCalculator calc;
        m.Configure(calc);
        calc.m_smoothingWidth = c.width;
        ASSERT_EQ(calc.Calculate(), 1);
        auto energy = TakeOne(calc);
        ASSERT_EQ(energy->GetRpmCount(), c.rows);
        if (c.rows == 5) {
            EXPECT_EQ(energy->GetRpm(0), 1100.0);
            EXPECT_NEAR(energy->DataValue(0, 0), 3.0, 1e-9); // mean of energies 1 .. 5
            EXPECT_NEAR(energy->DataValue(4, 0), 7.0, 1e-9);
        } else {
            EXPECT_NEAR(energy->DataValue(0, 0), 1.0, 1e-9);
        }
    }
}

TEST(InputEnergyCalculator, SubsystemsWithoutExperimentsAreReportedAndFailTheCalculation)
{
    CMeasured m;
    m.daq.factors["Roof-F"] = 1.0;
    m.AddSet("Roof-F", kRpms, [](int, int) { return 1.0; });
    m.subsystems.Add("Roof-F");
    for (int i = 0; i < 11; ++i)
        m.subsystems.Add("Lone" + std::to_string(i));
    CInputEnergyCalculator calc;
    m.Configure(calc);
    calc.m_report = 1;
    CStatusBarFeedback boxes;
    calc.m_progress = &boxes;
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    EXPECT_EQ(calc.Calculate(), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7082u);
    EXPECT_EQ(prompts.Last().text,
              "These subsystems have no experiments:\nLone0\nLone1\nLone2\nLone3\nLone4\nLone5\nLone6\nLone7\nLone8\n"
              "Lone9\n...");
    CMElementList out;
    EXPECT_EQ(calc.TakeResults(out), 0);

    // Without the report the check fails silently.
    calc.m_report = 0;
    EXPECT_EQ(calc.Calculate(), 0);
    EXPECT_EQ(prompts.Count(), 1u);
}

TEST(InputEnergyCalculator, MirrorSideExperimentsServeWithUseSymmetric)
{
    CMeasured m;
    m.daq.factors["Door-L"] = 3.0;
    m.daq.factors["Door-R"] = 1.0;
    m.AddSet("Door-R", kRpms, [](int, int) { return 1.0; });
    m.subsystems.Add("Door-L");
    CInputEnergyCalculator calc;
    m.Configure(calc);
    calc.m_useSymmetric = 1;
    ASSERT_EQ(calc.Calculate(), 1);
    auto energy = TakeOne(calc);
    EXPECT_EQ(energy->GetLabel(), "Door-L");
    EXPECT_NEAR(energy->DataValue(0, 0), 3.0, 1e-12) << "the mass of the subsystem itself";

    calc.m_useSymmetric = 0;
    EXPECT_EQ(calc.Calculate(), 0);
}

TEST(InputEnergyCalculator, MissingModelSubsystemOrResponseFailsWithAMessage)
{
    {
        CMeasured m;
        m.AddSet("Ghost-F", kRpms, [](int, int) { return 1.0; });
        m.subsystems.Add("Ghost-F");
        CInputEnergyCalculator calc;
        m.Configure(calc);
        CStatusBarFeedback boxes;
        calc.m_progress = &boxes;
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        EXPECT_EQ(calc.Calculate(), 0);
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().text, "The model has no subsystem Ghost-F.");
    }
    {
        CMeasured m;
        m.daq.factors["Roof-F"] = 1.0;
        m.AddSet("Roof-F", kRpms, [](int, int) { return 1.0; });
        m.sets.back()->info.SetName(0, "Other"); // its response is not found by the set's first name
        m.subsystems.Add("Roof-F");
        CInputEnergyCalculator calc;
        m.Configure(calc);
        CStatusBarFeedback boxes;
        calc.m_progress = &boxes;
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        EXPECT_EQ(calc.Calculate(), 0);
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 6066u);
    }
}

TEST(InputEnergyCalculator, ByOrderEnergiesPerRpmAndOrder)
{
    CMeasured m;
    m.daq.factors["Roof-F"] = 2.0;
    m.subsystems.Add("Roof-F");
    auto set = std::make_unique<CStubExperiment>();
    set->info.SetName(0, "Roof-F");
    CZuSubsystemTable orderColumns;
    orderColumns.Add("Order#2");
    orderColumns.Add("Order#4");
    auto measured = std::make_unique<COTMultiVecFunc>("Roof-F", &orderColumns, 3, set.get(), 93);
    measured->SetLabel("Roof-F");
    measured->SetDataIndexArray(kRpms);
    for (int i = 0; i < 3; ++i) {
        measured->DataValue(i, 0) = 0.1;
        measured->DataValue(i, 1) = 0.2;
    }
    set->AddChild(std::move(measured));
    m.daq.used["Roof-F"].Add(set.get());

    CInputEnergyCalculator calc;
    m.Configure(calc);
    calc.m_inputKind = 1;
    calc.m_orders.Add(2.0);
    calc.m_orders.Add(4.0);
    ASSERT_EQ(calc.Calculate(), 1);
    CMElementList out;
    ASSERT_EQ(calc.TakeResults(out), 1);
    std::unique_ptr<COTMultiVecFunc> energy(ElementCast<COTMultiVecFunc>(out[0]));
    ASSERT_NE(energy, nullptr);
    EXPECT_EQ(energy->GetLabel(), "Roof-F");
    EXPECT_EQ(energy->GetSubsystem(1), "Order 4");
    EXPECT_EQ(energy->GetOrderList().GetSize(), 2);
    EXPECT_DOUBLE_EQ(energy->DataIndex(2), 1100.0);
    EXPECT_NEAR(energy->DataValue(1, 0), 0.02, 1e-12);
    EXPECT_NEAR(energy->DataValue(1, 1), 0.08, 1e-12);
}

TEST(InputEnergyCalculator, AddDataMakesOneEmptyFunctionPerSubsystem)
{
    CMeasured m;
    m.subsystems.Add("Roof-F");
    m.subsystems.Add("Cabin");
    CInputEnergyCalculator calc;
    m.Configure(calc);
    EXPECT_EQ(calc.AddData(), 2);
    CMElementList out;
    calc.TakeResults(out);
    auto* second = ElementCast<CZuRpmFunc>(out[1]);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetLabel(), "Cabin");
    EXPECT_EQ(second->GetRpmCount(), 3);
    EXPECT_EQ(second->DataValue(2, 3), 0.0);
    out.Clear(1);
}
