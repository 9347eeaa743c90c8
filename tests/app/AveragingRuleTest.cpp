// Which mean the measured levels take at each step, checked on the sample as it is shipped: the
// local points of a data set are averaged by their amplitudes (the roof's map over RPM is the
// arithmetic mean of its accelerometers' levels, not the energetic mean, which differs where one
// accelerometer carries its order; -64.16 dB at 1000 RPM and 100 Hz); experiments are averaged as
// the project's averaging mode says.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "SampleProject.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "experiments/AveExpData.h"
#include "models/HSEAOptions.h"
#include "platform/elements/ZuVecFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

TEST(AveragingRule, TheSamplesMapIsTheArithmeticMeanOfItsLocalPointsAmplitudes)
{
    const std::filesystem::path file = std::filesystem::path(ORVEX_BINARY_DIR) / "samples" / "sample.orv";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << "no sample project was built";
    CTALVODoc doc;
    std::string error;
    ASSERT_TRUE(doc.OnOpenDocument(file.string(), &error)) << error;
    CDaqProject* daq = doc.GetTALVOProject().GetDaqProject(0);
    ASSERT_NE(daq, nullptr);
    CMElementList sets;
    ASSERT_EQ(daq->FindDAQExperimentsBySubsystem(sample::kExcited, sets), 1);
    auto* set = static_cast<CDAQExperiment*>(sets[0]);
    const CZuRpmFunc* map = set->FindRpmFuncByName(sample::kExcited);
    ASSERT_NE(map, nullptr);
    auto* points = DynamicDowncast<CZuRpmMultiVecFunc>(set->FindFuncByNameAndType(
        std::string("Channel Levels [") + sample::kExcited + "]", ElementType::MeasuredChannelLevels));
    ASSERT_NE(points, nullptr);
    ASSERT_EQ(points->GetSubsystemCount(), 2) << "the roof's two accelerometers";

    int compared = 0;
    for (int r = 0; r < map->GetRpmCount(); ++r) {
        const CZuVecFunc* levels = points->GetVecFunc(points->FindRpmIndex(map->GetRpm(r)));
        ASSERT_NE(levels, nullptr) << map->GetRpm(r);
        for (int b = 0; b < map->GetFreqCount() && b < levels->GetDataCount(); ++b) {
            const double a = levels->DataValue(b, 0), c = levels->DataValue(b, 1);
            if (!(a > 0.0 && c > 0.0))
                continue;
            ++compared;
            EXPECT_NEAR(map->DataValue(r, b), (a + c) / 2.0, 1e-6 * (a + c)) << map->GetRpm(r) << " RPM, band " << b;
        }
    }
    EXPECT_GT(compared, 100);
    // The figure the user reads: 1000 RPM, 100 Hz.
    const int first = map->FindRpmIndex(1000.0);
    ASSERT_GE(first, 0);
    EXPECT_NEAR(20.0 * std::log10(map->DataValue(first, 0)), -64.16, 0.005);

    // One experiment: its averaged energy is its own energy, in every averaging mode.
    const double own =
        map->DataValue(first, 0) * map->DataValue(first, 0) * daq->GetSubsystemEnergyFactor(sample::kExcited);
    for (int mode : {0, 1, 2}) {
        doc.GetTALVOProject().GetHSEAOptions().m_nMeanMethod = mode;
        std::vector<double> out;
        CAveExpData average(daq);
        ASSERT_EQ(average.AverageSubsystemData(sample::kExcited, 1000.0, out), 1);
        EXPECT_NEAR(out[0], own, 1e-9 * own) << mode;
    }
}
