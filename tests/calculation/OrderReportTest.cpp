#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "calculation/AnalysisProjectAccess.h"
#include "calculation/OTCavPcCreator.h"
#include "calculation/OTInPcCreator.h"
#include "models/HSEAPowerContribution.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTMultiVecFunc.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmPcFunc.h"
#include "spectral/ZuRpmResultData.h"

namespace {
// Bands at 100, 200 and 400 Hz with gaps between them. Order 2 (factor 1) lies at 50 Hz at
// 1500 RPM (below the first centre: band 0), at 150 Hz at 4500 RPM (in a gap: no band), at 200 Hz
// at 6000 RPM (band 1) and at 400 Hz at 12000 RPM (band 2).
const double kRpms[] = {1500.0, 4500.0, 6000.0, 12000.0};
const double kBandFreqs[] = {100.0, 200.0, 400.0};

class CReportProject : public CMElement, public IAnalysisProjectAccess
{
public:
    CReportProject() : CMElement("Analysis", nullptr, 0), bands(OCTAVE_BAND_USER)
    {
        orders.Add(2.0);
        for (double f : kBandFreqs)
            bands.AddFreqInfo(f, 0.9 * f, 1.1 * f, OCTAVE_BAND_USER);
    }
    int GetProjectType() const override { return 1; }
    std::string GetProjectName() const override { return GetName(); }
    COctaveManagerEx* GetOctaveManager() override { return &bands; }
    CRPMOptions& GetRPMOptions() override { return rpm; }
    float GetOTSetting() const override { return 50.0f; }
    double GetDaqConfigValue() const override { return 1.0; }
    int CompleteSubsystemName(std::string& name) const override
    {
        if (name != "A" && name != "B" && name != "C")
            return -1;
        const int kind = name == "C" ? 6 : 1;
        name += kind < 5 ? "-F" : "-";
        return kind;
    }
    bool GetSubsystemParam(const std::string& name, double& mass, double& v) const override
    {
        mass = 0.0;
        v = volume;
        return name == "C-";
    }
    const COctaveManager* GetModelOctaveManager() const override { return &bands; }
    COrderList& GetOrderList() override { return orders; }
    CMElement* GetProjectElement() override { return this; }
    int HasOwner() const override { return 0; }
    std::vector<int32_t>& GetFreqIndexArray() override { return freqIndex; }
    void GetModelDataParams(int* kind, double* start, double* end) const override
    {
        *kind = OCTAVE_BAND_USER;
        *start = *end = 0.0;
    }

    COctaveManagerEx bands;
    CRPMOptions rpm;
    COrderList orders;
    std::vector<int32_t> freqIndex;
    double volume = 3.0;
};

// A solved result as the report sees it: the cavity's intrinsic loss factor per band (0 in the
// last band, where no line level can be had).
class CLossFactors : public CZuData
{
public:
    CLossFactors() : CZuData("solved", nullptr, 51, OCTAVE_BAND_USER, 0.0, 0.0) {}
    double ExtractIntrinsicDlf(const std::string& name, unsigned band, CFeedback*) override
    {
        const double eta[] = {0.01, 0.02, 0.0};
        return name == "C-" && band < 3 ? eta[band] : kNoValue;
    }
    using CZuData::ExtractIntrinsicDlf;
};

const CZuSubsystemTable& Subsystems()
{
    static const CZuSubsystemTable table(std::vector<std::string>{"A-F", "B-F", "C-"});
    return table;
}

// A folder of its own for each test, removed with it.
struct CTempDir
{
    CTempDir()
        : path(std::filesystem::temp_directory_path() /
               ("orvex_order_report_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::create_directories(path);
    }
    ~CTempDir() { std::filesystem::remove_all(path); }
    std::string Folder() const { return path.string(); }
    std::filesystem::path path;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Order 2 of a cavity's contributions under an order result set with the cavity's SPL map.
struct CavityReport : ::testing::Test
{
    CavityReport()
    {
        data = project.AddChild(std::make_unique<CZuOTResultData>("", nullptr, ElementType::OTResultSet,
                                                                  OCTAVE_BAND_USER, 0.0, 0.0, &Subsystems()));
        auto byRpm =
            std::make_unique<CZuRpmResultData>("", nullptr, ElementType::RpmResultSet, OCTAVE_BAND_USER, 0.0, 0.0);
        for (double rpm : kRpms)
            byRpm->AddResult(rpm, std::make_unique<CLossFactors>());
        data->AddResult(2.0, std::move(byRpm));

        // Powers into C per RPM row in the band of the order: (A, B).
        const double powers[4][2] = {{3.0, 1.0}, {5.0, 5.0}, {1.0, 0.0}, {2.0, 2.0}};
        const int bandOf[4] = {0, 1, 1, 2}; // row 1 has powers in a band, but the order has none there
        auto perRpm = std::make_unique<CZuRpmPcFunc>("o", nullptr, 56);
        for (int r = 0; r < 4; ++r) {
            auto pc = std::make_unique<CHSEAPowerContribution>("C-", data->GetSubsystemTable(), 3);
            for (int b = 0; b < 3; ++b)
                pc->DataIndex(b) = kBandFreqs[b];
            for (int s = 0; s < 2; ++s)
                pc->CellValue(bandOf[r], s, CHSEAPowerContribution::COL_POWER) = powers[r][s];
            pc->RecomputeRates(-1);
            perRpm->AddRpmData(kRpms[r], std::move(pc));
        }
        source = data->AddChild(data->CreatePowerContributionFunc("C-"));
        source->AddOrder(2.0, std::move(perRpm));

        CZuOTFunc* spl = data->AddChild(data->CreateSplFunc("C-"));
        auto levels = CZuRpmFunc::NewRpmFunc("SPL", 54, spl, "C-", kBandFreqs, 3, kRpms, 4);
        levels->DataValue(0, 0) = 80.0;
        levels->DataValue(2, 1) = 70.0;
        levels->DataValue(3, 2) = 60.0;
        spl->AddOrder(2.0, std::move(levels));
    }

    std::vector<std::string> Values(const COTData& row) const
    {
        std::vector<std::string> out;
        for (int r = 0; r < row.GetSize(); ++r)
            out.push_back(Format("%.2f", row.GetValue(r)));
        return out;
    }

    CReportProject project;
    CZuOTResultData* data = nullptr;
    CZuOTPcFunc* source = nullptr;
    CTempDir settings;
    CScriptedPrompts prompts;
};
} // namespace

TEST_F(CavityReport, RowsOfEachTypeMatchTheHandComputedTable)
{
    COTCavPcCreator creator(source);
    ASSERT_EQ(creator.Build(COTCavPcCreator::TYPE_AREA_DB, 0), 1);
    EXPECT_EQ(creator.GetName(), "C-");
    const COTDataList& rows = creator.GetDataList();
    ASSERT_EQ(rows.GetSize(), 2);
    EXPECT_EQ(rows.GetAt(0)->GetName(), "A-F");
    EXPECT_EQ(rows.GetAt(1)->GetName(), "B-F");
    // SPL x rate / 100; the gap row stays 0, a subsystem without contribution shows 1e-10.
    EXPECT_EQ(Values(*rows.GetAt(0)), (std::vector<std::string>{"60.00", "0.00", "70.00", "30.00"}));
    EXPECT_EQ(Values(*rows.GetAt(1)), (std::vector<std::string>{"20.00", "0.00", "0.00", "30.00"}));
    EXPECT_EQ(rows.GetAt(1)->GetValue(2), COTCavPcCreator::kNoContribution);

    ASSERT_EQ(creator.Build(COTCavPcCreator::TYPE_AREA_PERCENT, 0), 1);
    EXPECT_EQ(Values(*rows.GetAt(0)), (std::vector<std::string>{"75.00", "0.00", "100.00", "50.00"}));
    EXPECT_EQ(rows.GetAt(0)->GetType(), 2);

    // E = P / (2 pi f eta), p^2 = rho c^2 E / V in dB re 20 uPa; the last band has eta = 0 and
    // gives no level (never a division by zero), nor does the gap.
    ASSERT_EQ(creator.Build(COTCavPcCreator::TYPE_LINE_DB, 0), 1);
    ASSERT_EQ(rows.GetSize(), 3);
    EXPECT_EQ(rows.GetAt(2)->GetType(), 3);
    EXPECT_EQ(Values(*rows.GetAt(0)), (std::vector<std::string>{"137.53", "0.00", "126.74", "0.00"}));
    EXPECT_EQ(Values(*rows.GetAt(1)), (std::vector<std::string>{"132.76", "0.00", "0.00", "0.00"}));
    EXPECT_EQ(Values(*rows.GetAt(2)), (std::vector<std::string>{"138.78", "0.00", "126.74", "0.00"}));
    for (int i = 0; i < 3; ++i)
        for (int r = 0; r < 4; ++r)
            EXPECT_TRUE(std::isfinite(rows.GetAt(i)->GetValue(r)));

    // Without the cavity's volume there is no line level at all.
    project.volume = 0.0;
    ASSERT_EQ(creator.Build(COTCavPcCreator::TYPE_LINE_DB, 0), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Values(*rows.GetAt(i)), (std::vector<std::string>{"0.00", "0.00", "0.00", "0.00"}));

    EXPECT_EQ(creator.Build(4, 0), 0);
    EXPECT_EQ(creator.Build(COTCavPcCreator::TYPE_AREA_DB, 1), 0); // no such order
    EXPECT_EQ(rows.GetSize(), 0);
}

TEST_F(CavityReport, ReportFileAndWhatIsMissing)
{
    const std::string path = settings.Folder() + "/cavity.txt";
    COTCavPcCreator creator(source);
    project.orders.Add(4.0); // an order of the project that the map does not hold: no block
    ASSERT_EQ(creator.WriteReport(path.c_str()), 1);
    EXPECT_EQ(ReadFile(path), "##### AREA [dB] #####\n"
                              "TYPE:1, ORDER:0\tA-F\tB-F\n"
                              "1500\t60.00\t20.00\n4500\t0.00\t0.00\n6000\t70.00\t0.00\n12000\t30.00\t30.00\n\n"
                              "##### AREA [%] #####\n"
                              "TYPE:2, ORDER:0\tA-F\tB-F\n"
                              "1500\t75.00\t25.00\n4500\t0.00\t0.00\n6000\t100.00\t0.00\n12000\t50.00\t50.00\n\n"
                              "##### LINE [dB] #####\n"
                              "TYPE:3, ORDER:0\tA-F\tB-F\tTotal\n"
                              "1500\t137.53\t132.76\t138.78\n4500\t0.00\t0.00\t0.00\n"
                              "6000\t126.74\t0.00\t126.74\n12000\t0.00\t0.00\t0.00\n\n");

    // A folder that does not exist: the message, nothing written.
    prompts.Answer(IDOK);
    CStatusBarFeedback boxes;
    EXPECT_EQ(creator.WriteReport((settings.Folder() + "/missing/cavity.txt").c_str(), &boxes), 0);
    ASSERT_EQ(prompts.Records().size(), 1u);
    EXPECT_EQ(prompts.Records()[0].text, "Faile to open file.");

    // Without the SPL map the cavity builds nothing unless the SPL calculation makes it.
    data->DeleteChild(data->FindOneChild(54), 1);
    COTCavPcCreator noSpl(source);
    EXPECT_EQ(noSpl.Build(COTCavPcCreator::TYPE_AREA_PERCENT, 0), 0);
    COTCavPcCreator computed(source);
    int calls = 0;
    computed.SetSplCalculation([&](CZuOTResultData& set, const std::string& cavity) -> CZuOTFunc* {
        ++calls;
        EXPECT_EQ(&set, data);
        EXPECT_EQ(cavity, "C-");
        return set.AddChild(set.CreateSplFunc(cavity));
    });
    EXPECT_EQ(computed.Build(COTCavPcCreator::TYPE_AREA_PERCENT, 0), 1);
    EXPECT_EQ(computed.Build(COTCavPcCreator::TYPE_AREA_DB, 0), 1);
    EXPECT_EQ(calls, 1);

    // A map outside any order result data has nothing to report.
    CZuOTPcFunc loose("loose", nullptr, 56);
    EXPECT_EQ(COTCavPcCreator(&loose, "C-").Build(COTCavPcCreator::TYPE_AREA_DB, 0), 0);
}

// Input levels of order 2 over the same RPM rows: 0 dB and HUGE_VAL are no value.
TEST(OrderInputReport, SubsystemAndStructureAcousticRows)
{
    CTempDir settings;
    CScriptedPrompts prompts;
    CReportProject project;
    const CZuSubsystemTable table(std::vector<std::string>{"A-F", "C-", "B-F"});
    const double levels[4][3][3] = {// [row][band][subsystem A, C, B]
                                    {{90.0, 0.0, HUGE_VAL}, {1, 1, 1}, {1, 1, 1}},
                                    {{50, 50, 50}, {50, 50, 50}, {50, 50, 50}},
                                    {{1, 1, 1}, {80.0, 80.0, 80.0}, {1, 1, 1}},
                                    {{1, 1, 1}, {1, 1, 1}, {70.0, 73.0, 0.0}}};
    auto entry = std::make_unique<CZuRpmSelFunc>("o", nullptr, 3);
    for (int r = 0; r < 4; ++r) {
        auto v = std::make_unique<CZuVecFunc>("IP", &table, 3, nullptr, 3);
        for (int b = 0; b < 3; ++b) {
            v->DataIndex(b) = kBandFreqs[b];
            for (int k = 0; k < 3; ++k)
                v->DataValue(b, k) = levels[r][b][k];
        }
        entry->AddRpmData(kRpms[r], std::move(v));
    }
    CZuOTMultiVecFunc* source = project.AddChild(std::make_unique<CZuOTMultiVecFunc>("Input Power", nullptr, 3));
    source->SetLabel("IP");
    source->AddOrder(2.0, std::move(entry));

    COTInPcCreator creator(source);
    const std::string path = settings.Folder() + "/input.txt";
    ASSERT_EQ(creator.WriteReport(COTInPcCreator::TYPE_SUBSYSTEMS, path.c_str()), 1);
    EXPECT_EQ(creator.GetName(), "IP");
    EXPECT_EQ(ReadFile(path), "##### LINE [dB] #####\n"
                              "TYPE:1, ORDER:0\tA-F\tC-\tB-F\tTotal\n"
                              "1500\t90.00\t0.00\t0.00\t90.00\n"
                              "4500\t0.00\t0.00\t0.00\t0.00\n"
                              "6000\t80.00\t80.00\t80.00\t84.77\n"
                              "12000\t70.00\t73.00\t0.00\t74.76\n\n");
    ASSERT_EQ(creator.WriteReport(COTInPcCreator::TYPE_STRUCTURE_ACOUSTIC, path.c_str()), 1);
    EXPECT_EQ(ReadFile(path), "##### LINE [dB] #####\n"
                              "TYPE:2, ORDER:0\tST\tAC\tTotal\n"
                              "1500\t90.00\t0.00\t90.00\n"
                              "4500\t0.00\t0.00\t0.00\n"
                              "6000\t83.01\t80.00\t84.77\n"
                              "12000\t70.00\t73.00\t74.76\n\n");
    EXPECT_EQ(creator.GetDataList().GetAt(2)->GetType(), 1);
    EXPECT_EQ(creator.Build(3, 0), 0);

    // Outside an analysis project there is no band set, and nothing is built.
    CZuOTMultiVecFunc alone("Input Power", nullptr, 3);
    alone.SetLabel("IP");
    alone.AddOrder(2.0, std::make_unique<CZuRpmSelFunc>("o", nullptr, 3));
    EXPECT_EQ(COTInPcCreator(&alone).Build(COTInPcCreator::TYPE_SUBSYSTEMS, 0), 0);
}
