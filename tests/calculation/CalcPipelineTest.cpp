// From measured time data to band and order levels: the channel steps, the averages over data sets
// and channels, the calculation projects per RPM and the result functions.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "CalcTestSupport.h"
#include "calculation/CalcData.h"
#include "calculation/CalcDataSet.h"
#include "calculation/CalcExcit.h"
#include "calculation/CalcProject.h"
#include "calculation/CalcProjectManager.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/Excitation.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringIds.h"
#include "spectral/FFT.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kPressure = 15;
constexpr int kAcceleration = 7;

double Db(double ratio)
{
    return 20.0 * std::log10(ratio);
}

// 1000 RPM rising by 500 RPM per second, one pulse per revolution.
double RevolutionsAt(double t)
{
    return (1000.0 * t + 250.0 * t * t) / 60.0;
}
constexpr double kRunUpSeconds = 10.2;
constexpr double kOrder1 = 2.0, kAmp1 = 3.0;
constexpr double kOrder2 = 4.0, kAmp2 = 0.5;

// Panel-A measured by two channels whose order content is the same but for a factor 1 and 2.
void AddRunUp(CMeasurement& m)
{
    m.daq.calc.SetWindowType(CFFT::windowHanning);
    COrderList orders;
    for (double o : {kOrder1, 3.0, kOrder2})
        orders.Add(o);
    m.daq.calc.SetOrderList(orders);
    m.AddPulse(RevolutionsAt, kRunUpSeconds);
    CExpDataSet* set = nullptr;
    for (int c = 0; c < 2; ++c) {
        const double scale = c + 1;
        CExpData* data = m.AddChannel(
            "Panel-A", set, c == 0 ? "A1" : "A2", c, kPressure, 0,
            [scale](double t) {
                const double phase = kTwoPi * RevolutionsAt(t);
                return scale * (kAmp1 * std::sin(kOrder1 * phase) + kAmp2 * std::sin(kOrder2 * phase));
            },
            kRunUpSeconds);
        set = data->GetDataSet();
    }
}

int ExcitationIndexOf(const CCalcProjectManager& manager, const std::string& name)
{
    const CCalcProject* project = manager.GetCalcProject(0);
    for (int i = 0; project && i < project->GetChildCount(); ++i)
        if (project->GetExcit(i)->GetName() == name)
            return i;
    return -1;
}

std::vector<std::string> RowNames(const CCalcProjectManager& manager)
{
    std::vector<std::string> names;
    for (int i = 0; i < manager.GetChildCount(); ++i)
        names.push_back(manager.GetChild(i)->GetName());
    return names;
}
} // namespace

TEST(CalcPipeline, RunUpGivesTheOrderAmplitudesPerChannelAndOverall)
{
    SetStringOption(IDS_OPT_ORDER_TRACKING, 1);
    CMeasurement m;
    AddRunUp(m);
    CCalcProjectManager manager(m.project.get());

    // The acquisition's range: 1000 to 6000 by 50.
    ASSERT_EQ(manager.CalculateAll("", nullptr, 1), 101);
    ASSERT_TRUE(manager.HasOrderResults());
    const int a = ExcitationIndexOf(manager, "Panel-A");
    ASSERT_GE(a, 0);
    const size_t row = (3600 - 1000) / 50;
    ASSERT_EQ(manager.GetRpmList()[row], 3600);

    // Order levels are RMS values: amplitude / sqrt(2), per channel and averaged over the channels.
    const auto& channels = manager.GetChannelOrderTable()[row][static_cast<size_t>(a)];
    ASSERT_EQ(channels.size(), 2u);
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        const double scale = c + 1;
        EXPECT_NEAR(channels[c][0], scale * kAmp1 / std::sqrt(2.0), 0.05 * scale * kAmp1);
        EXPECT_NEAR(channels[c][2], scale * kAmp2 / std::sqrt(2.0), 0.05 * scale * kAmp2);
        EXPECT_LT(channels[c][1], 0.05 * kAmp2) << "nothing at order 3";
    }
    const std::vector<float> overall = manager.GetOrderTable()[row][static_cast<size_t>(a)];
    EXPECT_NEAR(overall[0], 1.5 * kAmp1 / std::sqrt(2.0), 0.05 * 1.5 * kAmp1);
    const auto& freqs = manager.GetOrderFreqTable()[row][static_cast<size_t>(a)];
    EXPECT_FLOAT_EQ(freqs[0], 120.0f);
    EXPECT_FLOAT_EQ(freqs[2], 240.0f);
    // The released projects keep no spectra.
    EXPECT_TRUE(manager.GetCalcProject(0)->GetExcit(a)->GetDataSet(0)->GetData(0)->GetRawData().empty());

    // The result functions: spectrum and channel levels per excitation name, then the order group.
    CMElementList results;
    ASSERT_EQ(manager.GetResultElements(results), 1);
    std::vector<std::pair<std::string, int>> got;
    for (CMElement* e : results)
        got.emplace_back(e->GetName(), e->GetType());
    const std::vector<std::pair<std::string, int>> expected = {{"Panel-B", 103},
                                                               {"Panel-A", 103},
                                                               {"Channel Levels [Panel-B]", 106},
                                                               {"Channel Levels [Panel-A]", 106},
                                                               {"Order Levels [Panel-B]", 93},
                                                               {"Order Data [Panel-B]", 110},
                                                               {"Order Levels [Panel-A]", 93},
                                                               {"Order Data [Panel-A]", 110},
                                                               {"N [Panel-B]", 94}};
    EXPECT_EQ(got, expected);
    auto* spectrum = ElementCast<CZuRpmFunc>(results[1]);
    ASSERT_NE(spectrum, nullptr);
    EXPECT_EQ(spectrum->GetLabel(), "Panel-A");
    EXPECT_EQ(spectrum->GetRpmCount(), 101);
    // Order 2 at 3600 RPM is 120 Hz, in the 125 Hz band, which the averaged band levels hold.
    const int band = m.daq.bands.FindBand(120.0);
    const float bandLevel = manager.GetBandTable()[row][static_cast<size_t>(a)][static_cast<size_t>(band)];
    EXPECT_GT(bandLevel, 0.5 * 1.5 * kAmp1 / std::sqrt(2.0));
    EXPECT_FLOAT_EQ(static_cast<float>(spectrum->DataValue(static_cast<int>(row), band)), bandLevel);
    auto* levels = ElementCast<COTMultiVecFunc>(results[6]);
    ASSERT_NE(levels, nullptr);
    EXPECT_EQ(levels->GetSubsystem(0), "Order#2");
    EXPECT_DOUBLE_EQ(levels->DataIndex(static_cast<int>(row)), 3600.0);
    EXPECT_FLOAT_EQ(static_cast<float>(levels->DataValue(static_cast<int>(row), 0)), overall[0]);
    auto* perChannel = ElementCast<CZuRpmMultiVecFunc>(results[3]);
    ASSERT_NE(perChannel, nullptr);
    EXPECT_EQ(perChannel->GetSubsystemName(1), "LP#2");
    results.Clear(1);

    // A filter that names no excitation runs every excitation.
    CRPMOptions one;
    one.SetMode(CRPMOptions::modeList);
    one.GetRpmList()->assign({3600.0f});
    ASSERT_EQ(manager.CalculateAll("No such excitation", &one, 1), 1);
    EXPECT_EQ(manager.GetOrderTable()[0][static_cast<size_t>(a)], overall);
}

TEST(CalcPipeline, BandLevelOfAPureToneIsItsRmsForEveryWindow)
{
    SetStringOption(IDS_OPT_ORDER_TRACKING, 0);
    for (int window = CFFT::windowRectangular; window <= CFFT::windowHamming; ++window) {
        SCOPED_TRACE(window);
        CMeasurement m;
        m.project->SetMode(1); // constant RPM: the leading block of 2048 samples
        m.daq.calc.SetWindowType(window);
        // 512 Hz lies on line 64 (df = 8 Hz) in the middle of the 500 Hz band.
        m.AddChannel(
            "Panel-A", nullptr, "A1", 0, kPressure, 0, [](double t) { return 2.0 * std::sin(kTwoPi * 512.0 * t); },
            0.5);
        CCalcProjectManager manager(m.project.get());
        ASSERT_EQ(manager.CalculateAll("", nullptr, 1), 1);
        EXPECT_EQ(RowNames(manager), std::vector<std::string>{"3000 RPM"});
        const auto& levels = manager.GetBandTable()[0][static_cast<size_t>(ExcitationIndexOf(manager, "Panel-A"))];
        const double level = levels[static_cast<size_t>(m.daq.bands.FindBand(512.0))];
        EXPECT_NEAR(Db(level / std::sqrt(2.0)), 0.0, 0.1);
        EXPECT_EQ(manager.GetOrderTable()[0].size(), 0u) << "no order features at constant RPM";
    }
}

TEST(CalcPipeline, AccelerationIsIntegratedOnceIntoVelocity)
{
    SetStringOption(IDS_OPT_ORDER_TRACKING, 0);
    CMeasurement m;
    m.project->SetMode(1);
    m.daq.calc.SetWindowType(CFFT::windowHanning);
    const double amplitude = 10.0;
    m.AddChannel(
        "Panel-A", nullptr, "A1", 0, kAcceleration, 0,
        [&](double t) { return amplitude * std::sin(kTwoPi * 512.0 * t); }, 0.5);
    // The same samples taken at half the rate: a 256 Hz tone in as many lines, each block the whole
    // measurement, integrated with its own line spacing.
    m.daq.config.SetVersion5Field(1);
    m.AddChannel(
         "Panel-B", nullptr, "B1", 0, kAcceleration, 0,
         [&](double t) { return amplitude * std::sin(kTwoPi * 512.0 * t); }, 0.5)
        ->SetSamplingFrequency(CMeasurement::kFs / 2);
    CCalcProjectManager manager(m.project.get());
    ASSERT_EQ(manager.CalculateAll("", nullptr, 0), 1);
    const int band = m.daq.bands.FindBand(512.0);
    const double velocityRms = amplitude / (kTwoPi * 512.0) / std::sqrt(2.0);
    CCalcData* data =
        manager.GetCalcProject(0)->GetExcit(ExcitationIndexOf(manager, "Panel-A"))->GetDataSet(0)->GetData(0);
    EXPECT_NEAR(Db(data->GetBandLevels()[static_cast<size_t>(band)] / velocityRms), 0.0, 0.1);
    const CCalcData* halfRate =
        manager.GetCalcProject(0)->GetExcit(ExcitationIndexOf(manager, "Panel-B"))->GetDataSet(0)->GetData(0);
    ASSERT_FALSE(halfRate->GetBandLevels().empty());
    EXPECT_NEAR(Db(halfRate->GetBandLevels()[static_cast<size_t>(m.daq.bands.FindBand(256.0))] /
                   (amplitude / (kTwoPi * 256.0) / std::sqrt(2.0))),
                0.0, 0.1);

    // The cleared flag makes a new FFT request give the plain acceleration spectrum again.
    EXPECT_EQ(data->IsFFTDone(), 0);
    ASSERT_EQ(data->ComputeFFT(), 1);
    ASSERT_EQ(data->ComputeBandLevels(), 1);
    EXPECT_NEAR(Db(data->GetBandLevels()[static_cast<size_t>(band)] / (amplitude / std::sqrt(2.0))), 0.0, 0.1);

    // Other units are not integrated.
    CMeasurement g;
    g.project->SetMode(1);
    g.AddChannel(
        "Panel-A", nullptr, "A1", 0, kAcceleration, 1,
        [&](double t) { return amplitude * std::sin(kTwoPi * 512.0 * t); }, 0.5);
    CCalcProjectManager plain(g.project.get());
    ASSERT_EQ(plain.CalculateAll("", nullptr, 1), 1);
    const double level =
        plain.GetBandTable()[0][static_cast<size_t>(ExcitationIndexOf(plain, "Panel-A"))][static_cast<size_t>(band)];
    EXPECT_NEAR(Db(level / (amplitude / std::sqrt(2.0))), 0.0, 0.1);
}

TEST(CalcPipeline, RefinedBandStandsForItsWholeReferenceBand)
{
    SetStringOption(IDS_OPT_ORDER_TRACKING, 0);
    CMeasurement m;
    m.project->SetMode(1);
    m.daq.calc.SetWindowType(CFFT::windowRectangular);
    m.daq.calc.SetHighPassFreq(0.0f); // tones on lines: each all in its line
    // A refined band of 3 lines (504, 512, 520 Hz) inside the 500 Hz third octave (447 to 562 Hz:
    // the 15 lines 448 .. 560 Hz), and a plain user band elsewhere.
    COctaveManager user(OCTAVE_BAND_USER);
    user.AddFreqInfo(512.0, 500.0, 524.0, 3);
    user.AddFreqInfo(1024.0, 1000.0, 1100.0, 0);
    m.project->SetOctaveManager(&user);
    m.AddChannel(
        "Panel-A", nullptr, "A1", 0, kPressure, 0,
        [](double t) { return 2.0 * (std::sin(kTwoPi * 512.0 * t) + std::sin(kTwoPi * 1024.0 * t)); }, 0.5);
    CCalcProjectManager manager(m.project.get());
    ASSERT_EQ(manager.CalculateAll("", nullptr, 1), 1);
    const auto& levels = manager.GetBandTable()[0][static_cast<size_t>(ExcitationIndexOf(manager, "Panel-A"))];
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_NEAR(levels[0], std::sqrt(2.0) * std::sqrt(15.0 / 3.0), 1e-3);
    EXPECT_NEAR(levels[1], std::sqrt(2.0), 1e-3);

    // The same blocks again after the band set changed (same edges, the first band no longer
    // refined, a third band added): the levels follow the new set, not the tables of the last run.
    COctaveManager changed(OCTAVE_BAND_USER);
    changed.AddFreqInfo(512.0, 500.0, 524.0, 0);
    changed.AddFreqInfo(1024.0, 1000.0, 1100.0, 0);
    changed.AddFreqInfo(2000.0, 1900.0, 2100.0, 0);
    m.project->SetOctaveManager(&changed);
    ASSERT_EQ(manager.CalculateAll("", nullptr, 1), 1);
    const auto& again = manager.GetBandTable()[0][static_cast<size_t>(ExcitationIndexOf(manager, "Panel-A"))];
    ASSERT_EQ(again.size(), 3u);
    EXPECT_NEAR(again[0], std::sqrt(2.0), 1e-3);
    EXPECT_NEAR(again[1], std::sqrt(2.0), 1e-3);
    EXPECT_LT(again[2], 1e-3);
}

TEST(CalcPipeline, BandLevelNeedsTheWholeBandInsideTheSpectrum)
{
    const std::vector<float> re(8, 1.0f), im(8, 0.0f);
    struct Case
    {
        int first, count;
        bool valid;
    };
    const Case cases[] = {
        {1, 3, true},   {0, 7, true},  {5, 3, true},  {6, 3, false}, // starts inside, ends past the last line
        {-1, 2, false}, {8, 1, false}, {2, 0, false}, {0, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << "+" << c.count);
        const float level = CCalcData::BandLevel(re, im, 8, c.first, c.count);
        if (c.valid)
            EXPECT_FLOAT_EQ(level, std::sqrt(2.0f * c.count));
        else
            EXPECT_EQ(level, CCalcData::kInvalidLevel);
    }
}

TEST(CalcPipeline, RpmListsOfTheCalculationProjects)
{
    CMeasurement m;
    CCalcProjectManager manager(m.project.get());
    CRPMOptions range;
    ASSERT_TRUE(range.SetRange(1000.0f, 1200.0f, 100.0f));
    EXPECT_EQ(manager.CalculateAll("", &range, 1), 3);
    EXPECT_EQ(RowNames(manager), (std::vector<std::string>{"1000 RPM", "1100 RPM", "1200 RPM"}));
    EXPECT_EQ(manager.GetBandTable().size(), 3u);

    CRPMOptions list;
    list.SetMode(CRPMOptions::modeList);
    list.GetRpmList()->assign({1500.9f, 2000.2f});
    EXPECT_EQ(manager.CalculateAll("", &list, 1), 2);
    EXPECT_EQ(manager.GetRpmList(), (std::vector<int>{1500, 2000}));

    // Order results only with the order-tracking option.
    for (uint32_t option : {0u, 1u}) {
        SetStringOption(IDS_OPT_ORDER_TRACKING, option);
        manager.CalculateAll("", &list, 1);
        CMElementList results;
        manager.GetResultElements(results);
        bool orders = false;
        for (CMElement* e : results)
            orders = orders || e->GetType() == 93;
        EXPECT_EQ(orders, option == 1);
        results.Clear(1);
    }

    // A step of 0 in the acquisition's range is refused with a message instead of never ending.
    m.daq.config.SetRpmMargin(0);
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    CStatusBarFeedback boxes;
    manager.SetFeedback(&boxes);
    EXPECT_EQ(manager.CalculateAll("", nullptr, 1), 0);
    EXPECT_EQ(manager.GetChildCount(), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7190u);
}

TEST(CalcPipeline, ExperimentProjectCalculationDataWithoutTheMarkerFile)
{
    SetStringOption(IDS_OPT_ORDER_TRACKING, 0);
    CMeasurement m;
    m.project->SetMode(1);
    m.AddChannel(
        "Panel-A", nullptr, "A1", 0, kPressure, 0, [](double t) { return std::sin(kTwoPi * 512.0 * t); }, 0.5);
    const int children = m.project->GetChildCount();
    CMElementList list;
    ASSERT_EQ(CCalcProjectManager::BuildCalcDataList(*m.project, list), 1);
    EXPECT_EQ(list.GetSize(), 4); // spectrum and channel levels of both excitation names
    EXPECT_EQ(m.project->GetChildCount(), children) << "the manager is not kept";
    list.Clear(1);
}

TEST(CalcPipeline, DumpsOfAChannelAndAnExcitation)
{
    SetStringOption(IDS_OPT_ORDER_TRACKING, 0);
    CMeasurement m;
    m.project->SetMode(1);
    m.AddChannel(
        "Panel-A", nullptr, "A1", 0, kPressure, 0, [](double t) { return std::sin(kTwoPi * 512.0 * t); }, 0.5);
    CCalcProjectManager manager(m.project.get());
    ASSERT_EQ(manager.CalculateAll("", nullptr, 0), 1);
    CCalcExcit* excit = manager.GetCalcProject(0)->GetExcit(ExcitationIndexOf(manager, "Panel-A"));
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    ASSERT_EQ(excit->GetDataSet(0)->GetData(0)->WriteDump(file, ""), 1);
    ASSERT_EQ(excit->WriteDump(file, ""), 1);
    const std::string text = file.GetMemoryText();
    EXPECT_EQ(text.rfind("[Panel-A]-[", 0), 0u);
    EXPECT_NE(text.find("]-[A1]\n\n##### Raw Data #####\n\n0\t0.000000e+00\n"), std::string::npos);
    EXPECT_NE(text.find("\n##### FFT Data #####\n\nDeltaF:8.000000e+00\nFFT Lines:1024\n"), std::string::npos);
    EXPECT_NE(text.find("\n##### BAND AVE AMP #####\n\n0\t"), std::string::npos);
    EXPECT_NE(text.find("[3000 RPM]-[Panel-A]\n0\t0\t"), std::string::npos);
}
