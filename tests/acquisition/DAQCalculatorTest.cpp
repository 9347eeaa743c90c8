// The recalculation: progress and results of data sets read from their files, the error report
// with its banners and the files it names, the sensor update of the files, and the local-point
// averaging of outside data.
#include "MeasuredFixture.h"

#include "acquisition/DAQCalculator.h"
#include "acquisition/DAQIO.h"
#include "platform/base/RecordingFeedback.h"
#include "experiments/CalcOptions.h"
#include "experiments/ExpData.h"
#include "experiments/ExpInfo.h"
#include "experiments/Excitation.h"
#include "experiments/Sensor.h"
#include "experiments/SensorProject.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <vector>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DAQCalculatorTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(LoadLanguageStrings(9)); }

    // A run-up of the fixture's data set from 1000 RPM up by 500 RPM/s, one pulse per revolution.
    std::unique_ptr<CExpProject> RunUp(CDAQExperiment* set)
    {
        const float fs = CMeasuredFixture::kFs;
        const int n = static_cast<int>(10.2 * fs);
        auto exp = f.MakeMeasurement(set, 2, n);
        auto revolutions = [](double t) { return (1000.0 * t + 250.0 * t * t) / 60.0; };
        CMElementList channels;
        exp->Find(RUNTIME_CLASS(CExpData), channels);
        for (CMElement* e : channels) {
            auto* data = DynamicDowncast<CExpData>(e);
            float* x = data->GetData();
            const bool pulse = data->GetType() == ElementType::RpmSignal;
            for (int i = 0; i < n; ++i) {
                const double phase = 2.0 * std::numbers::pi * revolutions(i / double(fs));
                x[i] = static_cast<float>(pulse ? std::sin(phase) : std::sin(2.0 * phase));
            }
        }
        return exp;
    }

    CMeasuredFixture f;
};

} // namespace

TEST_F(DAQCalculatorTest, EmptyListSucceedsWithoutProgress)
{
    CRecordingMessageTarget window;
    CMainWindowTargetScope scope(&window);
    CDAQCalculator calculator(f.daq);
    EXPECT_EQ(calculator.Calculate(), 1);
    EXPECT_TRUE(window.Records().empty());
}

TEST_F(DAQCalculatorTest, RecalculationFilesResultsAndReportsEveryFailureByFile)
{
    CDAQExperiment* good = f.AddDataSet("Good");
    CDAQExperiment* missing = f.AddDataSet("Missing");
    auto runUp = RunUp(good);
    ASSERT_EQ(CDAQIO(good).SaveAll(runUp.get()), 1);
    // A file that is no measurement file.
    CDAQExperiment* foreign = f.AddDataSet("Foreign");
    std::ofstream(CDAQIO::GetDaqFilePath(foreign), std::ios::binary) << std::string(40, 'x');

    CRecordingMessageTarget window;
    CMainWindowTargetScope scope(&window);
    CDAQCalculator calculator(f.daq);
    calculator.AddElement(good);
    calculator.AddElement(missing);
    calculator.AddElement(foreign);
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    CStatusBarFeedback statusBar; // the recalculation command's
    EXPECT_EQ(calculator.Calculate(&statusBar), 0);

    // The good data set has its spectra over RPM again, the others did not stop it.
    EXPECT_NE(good->FindRpmFuncOfFirstName(), nullptr);
    const auto numbers = window.MessageNumbers();
    ASSERT_GE(numbers.size(), 2u);
    EXPECT_EQ(numbers.front(), WM_ZU_PROGRESS_SHOW);
    EXPECT_EQ(numbers[1], WM_ZU_PROGRESS_RANGE);
    EXPECT_EQ(window.Records()[1].wParam, uintptr_t(3) << 16);
    EXPECT_EQ(numbers.back(), WM_ZU_PROGRESS_HIDE);
    int texts = 0;
    for (const auto& record : window.Records())
        texts += record.msg == WM_ZU_PROGRESS_TEXT &&
                 record.text == Format("Calculating %s...", good->GetParent()->GetName().c_str());
    EXPECT_EQ(texts, 3);

    ASSERT_EQ(calculator.GetErrors().size(), 2u);
    EXPECT_EQ(calculator.GetErrors()[0].code, CDAQIO::errNotFound);
    EXPECT_EQ(calculator.GetErrors()[0].text, CDAQIO::GetDaqFileName(missing));
    EXPECT_EQ(calculator.GetErrors()[1].code, CDAQIO::errInvalid);
    // What the user is told: each failed file's reason in words, a line each, naming the file.
    const std::string reasons = calculator.DescribeErrors();
    EXPECT_EQ(
        reasons.find(FormatString(CDAQIO::MessageIdOf(CDAQIO::errNotFound), CDAQIO::GetDaqFileName(missing).c_str())),
        0u)
        << reasons;
    EXPECT_NE(reasons.find("\n"), std::string::npos) << reasons;
    EXPECT_NE(reasons.find(CDAQIO::GetDaqFileName(foreign)), std::string::npos) << reasons;

    const std::string path = (f.dir / "report.err").string();
    ASSERT_TRUE(calculator.ReportErrors(path));
    const std::string report = ReadAll(path);
    // Eight banners in code order; each file under the banner of its meaning.
    const char* banners[] = {"FAILED TO READ",   "FILE NOT FOUND", "FAILED TO OPEN", "FILE LENGTH ZERO",
                             "INVALID DAQ FILE", "FAILED TO OPEN", "FAILED TO READ", "FAILED TO CALC"};
    size_t at = 0;
    for (const char* banner : banners) {
        at = report.find(Format("\n##### %s #####\n", banner), at);
        ASSERT_NE(at, std::string::npos) << banner;
        ++at;
    }
    const size_t notFound = report.find("FILE NOT FOUND");
    const size_t open = report.find("FAILED TO OPEN");
    const size_t named = report.find(CDAQIO::GetDaqFileName(missing) + "\n");
    EXPECT_GT(named, notFound);
    EXPECT_LT(named, open);
    const size_t invalid = report.find(CDAQIO::GetDaqFileName(foreign) + "\n");
    EXPECT_GT(invalid, report.find("INVALID DAQ FILE"));
    EXPECT_LT(invalid, report.find("FAILED TO CALC"));
    EXPECT_FALSE(calculator.ReportErrors(""));
}

TEST_F(DAQCalculatorTest, SensorUpdateRewritesChangedFilesHonoursCancelAndReportsFailures)
{
    CDAQExperiment* a = f.AddDataSet("A");
    CDAQExperiment* b = f.AddDataSet("B");
    auto baseA = f.MakeMeasurement(a, 2, 256, 1);
    auto baseB = f.MakeMeasurement(b, 2, 256, 2);
    ASSERT_EQ(CDAQIO(a).SaveAll(baseA.get()), 1);
    ASSERT_EQ(CDAQIO(b).SaveAll(baseB.get()), 1);
    const std::string savedB = ReadAll(CDAQIO::GetDaqFilePath(b));

    // Cancel at the first data set: nothing is written.
    CSensor* sensor = f.container.GetSensorProject()->FindSensor("S2");
    ASSERT_NE(sensor, nullptr);
    tagSENSORINFO info = sensor->GetSensorInfo();
    info.ChannelInfo.Sensitivity = 20.0f;
    info.Model = "Recalibrated";
    sensor->SetSensorInfo(info);
    {
        CDAQCalculator calculator(f.daq);
        calculator.AddElement(a);
        calculator.AddElement(b);
        CRecordingFeedback progress;
        progress.CancelAtQuestion(1);
        EXPECT_EQ(calculator.SaveDaqFiles(&progress), 0);
        EXPECT_EQ(progress.texts.front(), a->GetParent()->GetName() + "-" + a->GetName());
    }
    EXPECT_EQ(ReadAll(CDAQIO::GetDaqFilePath(b)), savedB);

    // B read-only: A is written, B's failure is listed in one message and the result is 0.
    std::filesystem::permissions(CDAQIO::GetDaqFilePath(b), std::filesystem::perms::owner_read);
    CScriptedPrompts prompts;
    CDAQCalculator calculator(f.daq);
    calculator.AddElement(a);
    calculator.AddElement(b);
    CRecordingFeedback progress;
    EXPECT_EQ(calculator.SaveDaqFiles(&progress), 0);
    EXPECT_EQ(prompts.Count(), 0u) << "the caller shows the failure";
    ASSERT_EQ(progress.reports.size(), 1u);
    EXPECT_EQ(progress.reports[0].severity, CFeedback::ESeverity::Warning);
    const std::string& shown = progress.reports[0].text;
    EXPECT_EQ(shown.rfind("#### FAILED TO SAVE DAQ FILE ###\n[5]", 0), 0u) << shown;
    EXPECT_EQ(ReadAll(CDAQIO::GetDaqFilePath(b)), savedB);

    CDAQIO reader(a);
    auto read = reader.MergeProjects();
    ASSERT_NE(read, nullptr);
    CMElementList channels;
    read->Find(RUNTIME_CLASS(CExpData), channels);
    int updated = 0;
    for (CMElement* e : channels) {
        tagSENSORINFO stored;
        if (DynamicDowncast<CExpData>(e)->GetSensorInfo(stored) && stored.ID == "S2") {
            EXPECT_FLOAT_EQ(stored.ChannelInfo.Sensitivity, 20.0f);
            EXPECT_EQ(stored.Model, "Recalibrated");
            ++updated;
        }
    }
    EXPECT_GE(updated, 1);
}

TEST_F(DAQCalculatorTest, LocalPointsAreAveragedOverTheSelectedPositiveValues)
{
    CDAQExperiment* set = f.AddDataSet("UF");
    const std::string name = set->GetFirstInfoName();
    // Three local points, the middle one not selected.
    CSubsystemLPInfoList& lps = set->GetCalcOptions()->GetSubsystemLPInfoList();
    lps.RemoveAll();
    CSubsystemLPInfo selection(3);
    selection.SetName(name);
    selection.SetAt(1, 0);
    lps.Add(selection);

    CZuSubsystemTable columns;
    for (int k = 1; k <= 3; ++k)
        columns.Add(Format("LP#%d", k));
    // Channel levels: rows are bands, one entry per RPM.
    auto levels = std::make_unique<CZuRpmMultiVecFunc>(FormatString(IDS_CHANNEL_LEVELS, name.c_str()), nullptr, 103);
    levels->SetLabel(name);
    const double values[2][2][3] = {{{2.0, 100.0, 4.0}, {-1.0, 5.0, 0.0}}, {{1.0, 1.0, -3.0}, {6.0, 6.0, 8.0}}};
    for (int r = 0; r < 2; ++r) {
        auto vec = std::make_unique<CMultiVectorFunction>(Format("%.2f", 1000.0 + 500.0 * r), &columns, 2, nullptr, 5);
        vec->SetDataIndexArray({100.0, 200.0});
        for (int b = 0; b < 2; ++b)
            for (int k = 0; k < 3; ++k)
                vec->DataValue(b, k) = values[r][b][k];
        levels->AddRpmData(1000.0 + 500.0 * r, std::move(vec));
    }
    set->AddChild(std::move(levels));
    // Order data: rows are RPMs, one entry per order.
    auto orders = std::make_unique<CZuRpmMultiVecFunc>(FormatString(IDS_ORDER_DATA, name.c_str()), nullptr, 106);
    for (double order : {2.0, 4.0}) {
        auto vec = std::make_unique<CMultiVectorFunction>(Format("%g", order), &columns, 2, nullptr, 5);
        vec->SetDataIndexArray({1000.0, 1500.0});
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 3; ++k)
                vec->DataValue(r, k) = order * (r + 1) + k;
        orders->AddRpmData(order, std::move(vec));
    }
    set->AddChild(std::move(orders));

    EXPECT_EQ(CDAQCalculator::CombineLocalPoints(set), 1);
    CZuRpmFunc* rpm = set->FindRpmFuncOfFirstName();
    ASSERT_NE(rpm, nullptr);
    ASSERT_EQ(rpm->GetRpmCount(), 2);
    EXPECT_DOUBLE_EQ(rpm->GetRpm(1), 1500.0);
    EXPECT_DOUBLE_EQ(rpm->DataValue(0, 0), 3.0); // (2 + 4) / 2: LP 2 is not selected
    EXPECT_DOUBLE_EQ(rpm->DataValue(0, 1), 0.0); // nothing above 0
    EXPECT_DOUBLE_EQ(rpm->DataValue(1, 0), 1.0); // -3 does not count
    EXPECT_DOUBLE_EQ(rpm->DataValue(1, 1), 7.0);
    // Built again, it replaces the map.
    EXPECT_EQ(CDAQCalculator::CombineLocalPoints(set), 1);
    CMElementList maps;
    set->Find(RUNTIME_CLASS(CZuRpmFunc), maps, 1);
    EXPECT_EQ(maps.GetSize(), 1);

    EXPECT_EQ(CDAQCalculator::AverageLocalPoints(set), 1);
    CMultiVectorFunction* average = set->FindMultiVecFuncOfFirstName();
    ASSERT_NE(average, nullptr);
    ASSERT_EQ(average->GetSubsystemCount(), 2);
    EXPECT_EQ(average->GetSubsystem(1), "Order#4");
    EXPECT_DOUBLE_EQ(average->DataValue(0, 0), (2.0 + 4.0) / 2.0);
    EXPECT_DOUBLE_EQ(average->DataValue(1, 1), (8.0 + 10.0) / 2.0);
}

TEST_F(DAQCalculatorTest, ManyBandsAreAveragedAsOneBandAtATime)
{
    // Enough bands that they are summed several side by side, with some left over, and values of
    // every kind: unselected, negative, zero, NaN, and sums whose order of addition shows.
    CDAQExperiment* set = f.AddDataSet("UF");
    const std::string name = set->GetFirstInfoName();
    constexpr int kColumns = 5;
    constexpr int kBands = 19;
    CSubsystemLPInfoList& lps = set->GetCalcOptions()->GetSubsystemLPInfoList();
    lps.RemoveAll();
    CSubsystemLPInfo selection(kColumns);
    selection.SetName(name);
    selection.SetAt(3, 0);
    lps.Add(selection);
    CZuSubsystemTable columns;
    for (int k = 1; k <= kColumns; ++k)
        columns.Add(Format("LP#%d", k));
    auto levels = std::make_unique<CZuRpmMultiVecFunc>(FormatString(IDS_CHANNEL_LEVELS, name.c_str()), nullptr, 103);
    levels->SetLabel(name);
    auto vec = std::make_unique<CMultiVectorFunction>("1000.00", &columns, kBands, nullptr, 5);
    std::vector<double> freqs;
    for (int b = 0; b < kBands; ++b)
        freqs.push_back(100.0 * (b + 1));
    vec->SetDataIndexArray(freqs);
    const double kinds[] = {1e16, -2.0, 0.0, std::nan(""), 1.0, 0.1, 3.0};
    std::vector<double> expected;
    for (int b = 0; b < kBands; ++b) {
        double sum = 0.0;
        int n = 0;
        for (int k = 0; k < kColumns; ++k) {
            const double v = kinds[(b * 3 + k) % std::size(kinds)] * (k + 1);
            vec->DataValue(b, k) = v;
            if (k != 3 && v > 0.0) {
                sum += v;
                ++n;
            }
        }
        expected.push_back(n > 0 ? sum / n : 0.0);
    }
    levels->AddRpmData(1000.0, std::move(vec));
    set->AddChild(std::move(levels));

    ASSERT_EQ(CDAQCalculator::CombineLocalPoints(set), 1);
    CZuRpmFunc* rpm = set->FindRpmFuncOfFirstName();
    ASSERT_NE(rpm, nullptr);
    for (int b = 0; b < kBands; ++b)
        EXPECT_EQ(rpm->DataValue(0, b), expected[static_cast<size_t>(b)]) << "band " << b;
}
