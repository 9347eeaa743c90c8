// The import of universal files into a universal-file DAQ project, driven whole through a scripted
// import UI: files made here, the data check, the runs and the functions of the experiments.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <new>
#include <optional>

#include "UFImportFixture.h"
#include "UFTestFiles.h"
#include "app/DAQExperiment.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "experiments/CalcOptions.h"
#include "experiments/DAQConfig.h"
#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "uff/DAQPPFreqData.h"
#include "uff/ExtUFDaqProject.h"
#include "uff/MkExtDaqProject.h"
#include "uff/UFDaqData.h"
#include "uff/UFExpInfo.h"
#include "uff/UFScanner.h"
#include "uff/UFImportUI.h"
#include "uff/UFLineReader.h"
#include "uff/UFRpmInfo.h"

namespace fs = std::filesystem;

namespace {

template <class T>
T* Child(const CMElement* parent, const std::string& name)
{
    for (int i = 0; i < parent->GetChildCount(); ++i)
        if (auto* t = DynamicDowncast<T>(parent->GetChild(i)); t && t->GetName() == name)
            return t;
    return nullptr;
}

// |X / (j 2 pi f)|^2 of line k.
double VelocityPower(int lp, int k, double rpm)
{
    const double f = k * kDf;
    const double v = LineValue(lp, k, rpm) / (kTwoPi * f);
    return v * v;
}

} // namespace

TEST(MkExtDaqProject, ImportsRunsIntoExperimentsWithTheirFunctions)
{
    Fixture f("whole");
    const std::string first = f.Write("runA.unv", f.RunUp(0));
    const std::string second = f.Write("runB.unv", f.RunUp(60)); // 60 s later: a run of its own
    f.ui.dialogs = {Fixture::Files({first, second})};
    std::vector<std::string> checked;
    f.ui.dataCheck = [&](CUFDataCheckInput& input) {
        for (CUFDaqData* g : input.groups)
            checked.push_back(g->GetName());
        return true;
    };
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder(f.container, f.uf);
    ASSERT_EQ(builder.ImportUFData(&f.boxes), 1);
    EXPECT_EQ(checked.size(), 6u); // three subsystems in each of two runs
    EXPECT_EQ(f.prompts.Last().stringId, 6168u);

    // One experiment per subsystem, one data set per run.
    const std::vector<CDAQExperiment*> sets = f.DataSets();
    ASSERT_EQ(sets.size(), 4u);
    EXPECT_EQ(f.uf->GetChildCount(), 2);
    // The bands are the spectral lines inside the model's range (100 to 1500 Hz).
    const COctaveManagerEx* bands = f.uf->GetOctaveManager();
    ASSERT_EQ(bands->GetFreqCount(), kLines - 1);
    EXPECT_DOUBLE_EQ(bands->GetFreq(0), 100.0);
    EXPECT_EQ(f.uf->GetDAQConfig()->GetRpmLow(), 1000);
    EXPECT_EQ(f.uf->GetDAQConfig()->GetRpmHigh(), 6000);
    EXPECT_EQ(f.uf->GetDAQConfig()->GetRpmMargin(), 100);

    const double factor = std::sqrt(0.3321125);
    for (CDAQExperiment* set : sets) {
        EXPECT_EQ(set->GetUseFlag(), 1);
        const std::string s = set->GetFirstInfoName();
        EXPECT_EQ(set->GetSecondInfoName(), f.target);
        auto* levels = Child<CZuRpmMultiVecFunc>(set, FormatString(IDS_CHANNEL_LEVELS, s.c_str()));
        ASSERT_NE(levels, nullptr) << s;
        EXPECT_EQ(levels->GetType(), 103);
        ASSERT_EQ(levels->GetRpmCount(), 51);
        const auto* at3000 = DynamicDowncast<CMultiVectorFunction>(levels->GetRpmData(20));
        ASSERT_NE(at3000, nullptr);
        EXPECT_EQ(at3000->GetName(), "3000.00");
        ASSERT_EQ(at3000->GetSubsystemCount(), 3);
        for (int lp = 0; lp < 3; ++lp)
            for (int band = 0; band < kLines - 1; ++band) {
                const double expected = std::sqrt(2.0 * VelocityPower(lp, band + 1, 3000.0)) * factor;
                EXPECT_NEAR(at3000->DataValue(band, lp), expected, expected * 1e-5) << lp << " " << band;
            }
        // The combined spectrum: the mean of the three points.
        auto* spectrum = Child<CZuRpmFunc>(set, s);
        ASSERT_NE(spectrum, nullptr);
        EXPECT_EQ(spectrum->GetType(), 87);
        ASSERT_EQ(spectrum->GetRpmCount(), 51);
        const double mean = (at3000->DataValue(4, 0) + at3000->DataValue(4, 1) + at3000->DataValue(4, 2)) / 3.0;
        EXPECT_NEAR(spectrum->DataValue(20, 4), mean, mean * 1e-12);
        // Order 2 at 3000 RPM is 100 Hz: the line at 100 Hz alone lies in [75, 125).
        auto* orderData = Child<CZuRpmMultiVecFunc>(set, FormatString(IDS_ORDER_DATA, s.c_str()));
        ASSERT_NE(orderData, nullptr);
        ASSERT_EQ(orderData->GetRpmCount(), 1);
        const auto* order2 = DynamicDowncast<CMultiVectorFunction>(orderData->GetRpmData(0));
        const double level = std::sqrt(2.0 * VelocityPower(1, 1, 3000.0)) * factor;
        EXPECT_NEAR(order2->DataValue(20, 1), level, level * 1e-5);
        // The order levels averaged over the points.
        auto* orderLevels = Child<COTMultiVecFunc>(set, FormatString(IDS_ORDER_LEVELS, s.c_str()));
        ASSERT_NE(orderLevels, nullptr);
        EXPECT_EQ(orderLevels->GetType(), 93);
        EXPECT_EQ((*orderLevels->GetSubsystemTable())[0], "Order#2");
        const double averaged = (order2->DataValue(20, 0) + order2->DataValue(20, 1) + order2->DataValue(20, 2)) / 3.0;
        EXPECT_NEAR(orderLevels->DataValue(20, 0), averaged, averaged * 1e-12);
        // The target's functions come with every data set.
        EXPECT_NE(Child<CZuRpmFunc>(set, f.target), nullptr);
        ASSERT_EQ(set->GetCalcOptions()->GetSubsystemLPInfoList().GetSize(), 2);
        EXPECT_EQ(set->GetCalcOptions()->GetSubsystemLPInfoList()[0].GetSize(), 3);
    }
    EXPECT_TRUE(fs::exists(f.dir / "UFNodeTable.txt"));

    // Again with clear flag 0: the experiments of these files are made anew, a data set of a
    // listed file that brought no data this time stays.
    const std::string quiet = f.Write("quiet.unv", "no datasets here\n");
    CUFExpInfo info;
    info.SetName(0, f.a);
    info.SetName(1, f.target);
    info.SetUFFile(quiet);
    CDAQExperiment* kept = f.uf->AddUFExperiment(info);
    ASSERT_NE(kept, nullptr);
    CScriptedImportUI again;
    again.dialogs = {Fixture::Files({first, second, quiet})};
    again.dataCheck = [](CUFDataCheckInput& input) {
        input.clearFlag = 0;
        return true;
    };
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder2(f.container, f.uf);
    ASSERT_EQ(builder2.ImportUFData(&f.boxes), 1);
    const std::vector<CDAQExperiment*> after = f.DataSets();
    EXPECT_EQ(after.size(), 5u);
    EXPECT_NE(std::find(after.begin(), after.end(), kept), after.end());
}

// A run of many RPMs is read on several threads, far ahead of where its functions are made: every
// RPM still gets its own values, in the grid's order.
TEST(MkExtDaqProject, EveryRpmOfALongRunGetsItsOwnValues)
{
    Fixture f("long");
    std::string text;
    for (int rpm = 1000; rpm <= 6000; rpm += 10)
        for (int lp = 0; lp < 3; ++lp)
            text += f.Spectrum(f.a, lp, rpm, 0);
    f.ui.dialogs = {Fixture::Files({f.Write("long.unv", text)})};
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder(f.container, f.uf);
    ASSERT_EQ(builder.ImportUFData(&f.boxes), 1);
    const std::vector<CDAQExperiment*> sets = f.DataSets();
    ASSERT_EQ(sets.size(), 1u);
    CDAQExperiment* set = sets[0];
    auto* levels = Child<CZuRpmMultiVecFunc>(set, FormatString(IDS_CHANNEL_LEVELS, f.a.c_str()));
    auto* spectrum = Child<CZuRpmFunc>(set, f.a);
    auto* orderData = Child<CZuRpmMultiVecFunc>(set, FormatString(IDS_ORDER_DATA, f.a.c_str()));
    ASSERT_TRUE(levels && spectrum && orderData);
    ASSERT_EQ(levels->GetRpmCount(), 501);
    ASSERT_EQ(spectrum->GetRpmCount(), 501);
    const auto* order2 = DynamicDowncast<CMultiVectorFunction>(orderData->GetRpmData(0));
    ASSERT_NE(order2, nullptr);
    ASSERT_EQ(order2->GetDataCount(), 501);
    const double factor = std::sqrt(0.3321125);
    for (int r = 0; r < 501; ++r) {
        const double rpm = 1000.0 + 10.0 * r;
        EXPECT_DOUBLE_EQ(levels->GetRpm(r), rpm);
        const auto* vec = DynamicDowncast<CMultiVectorFunction>(levels->GetRpmData(r));
        ASSERT_NE(vec, nullptr);
        EXPECT_EQ(vec->GetName(), Format("%.2f", rpm));
        for (int band = 0; band < kLines - 1; ++band) {
            double sum = 0.0;
            for (int lp = 0; lp < 3; ++lp) {
                const double expected = std::sqrt(2.0 * VelocityPower(lp, band + 1, rpm)) * factor;
                ASSERT_NEAR(vec->DataValue(band, lp), expected, expected * 1e-5) << rpm << " " << lp << " " << band;
                sum += vec->DataValue(band, lp);
            }
            EXPECT_EQ(spectrum->DataValue(r, band), sum / 3.0) << rpm << " " << band;
        }
        // Order 2 over the lines in [f - 25, f + 25) Hz, f = rpm / 30.
        const double centre = rpm * 2.0 / 60.0;
        for (int lp = 0; lp < 3; ++lp) {
            double power = 0.0;
            for (int k = 1; k < kLines; ++k)
                if (k * kDf >= centre - 25.0 && k * kDf < centre + 25.0)
                    power += VelocityPower(lp, k, rpm);
            const double level = std::sqrt(2.0 * power) * factor;
            ASSERT_NEAR(order2->DataValue(r, lp), level, level * 1e-5 + 1e-300) << rpm << " " << lp;
        }
    }
}

// Each band of line bands is its line's velocity level, computed as |X|^2 / w^2, to the bit, whatever
// the processor computes it with; lines past a multiple of four included.
TEST(MkExtDaqProject, LineBandsAreTheirLinesToTheBit)
{
    Fixture f("bits");
    constexpr int kOddLines = 19;
    constexpr double kStep = 50.0; // lines 2 to 18 lie in the model's range
    auto number = [](double v) { return std::strtod(Format("%13.5E", v).c_str(), nullptr); };
    auto re = [](int lp, int k, int rpm) { return (lp + 1) * (1.0 + k) * 0.013 * rpm / 1000.0; };
    auto im = [](int lp, int k, int rpm) { return -(3.0 - lp) * (2.0 + k * k) * 0.0007 * rpm / 1000.0; };
    std::string text;
    for (int rpm = 1000; rpm <= 1400; rpm += 100)
        for (int lp = 0; lp < 3; ++lp) {
            UF58Fields ds;
            ds.id1 = "name dir point";
            ds.funcType = 12;
            ds.respNode = f.NodeOf(f.a, lp);
            ds.absInc = kStep;
            ds.zValue = rpm;
            for (int k = 0; k < kOddLines; ++k) {
                ds.numbers.push_back(re(lp, k, rpm));
                ds.numbers.push_back(im(lp, k, rpm));
            }
            text += Dataset58(ds);
        }
    f.ui.dialogs = {Fixture::Files({f.Write("bits.unv", text)})};
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder(f.container, f.uf);
    ASSERT_EQ(builder.ImportUFData(&f.boxes), 1);
    ASSERT_EQ(f.DataSets().size(), 1u);
    auto* levels = Child<CZuRpmMultiVecFunc>(f.DataSets()[0], FormatString(IDS_CHANNEL_LEVELS, f.a.c_str()));
    ASSERT_NE(levels, nullptr);
    ASSERT_EQ(levels->GetRpmCount(), 5);
    const COctaveManagerEx* bands = f.uf->GetOctaveManager();
    ASSERT_EQ(bands->GetFreq(bands->GetFreqCount() - 1), (kOddLines - 1) * kStep);
    const double factor = std::sqrt(0.3321125);
    for (int r = 0; r < 5; ++r) {
        const int rpm = 1000 + 100 * r;
        const auto* vec = DynamicDowncast<CMultiVectorFunction>(levels->GetRpmData(r));
        ASSERT_NE(vec, nullptr);
        for (int band = 0; band < bands->GetFreqCount(); ++band) {
            const int k = static_cast<int>(std::lround(bands->GetFreq(band) / kStep));
            ASSERT_LT(k, kOddLines);
            for (int lp = 0; lp < 3; ++lp) {
                const double x = number(re(lp, k, rpm));
                const double y = number(im(lp, k, rpm));
                const double w = kTwoPi * (0.0 + k * kStep);
                double p = x * x + y * y;
                p /= w * w;
                EXPECT_EQ(vec->DataValue(band, lp), std::sqrt(2.0 * p) * factor) << rpm << " " << lp << " " << k;
            }
        }
    }
}

TEST(MkExtDaqProject, SelectingUniversalFilesMakesAProjectAndOpensThePlanningMenu)
{
    Fixture f("select");
    CRecordingMessageTarget frame;
    CMainWindowTargetScope scope(&frame);
    const int before = f.container.GetProjectCount();
    CMkExtDaqProject builder(f.container);
    EXPECT_EQ(builder.SelectDAQSystem(), 1);
    ASSERT_NE(builder.GetProject(), nullptr);
    EXPECT_EQ(f.container.GetProjectCount(), before + 1);
    bool sent = false;
    for (const auto& r : frame.Records())
        sent = sent || (r.msg == WM_COMMAND && r.wParam == 1231);
    EXPECT_TRUE(sent);
    // The earlier universal-file project's node map is carried over.
    EXPECT_EQ(builder.GetProject()->GetNodeMap().GetCount(), 9);

    f.ui.selectChoice = 0;
    CMkExtDaqProject hardware(f.container);
    EXPECT_EQ(hardware.SelectDAQSystem(), 0);
    f.ui.selectChoice = -1;
    EXPECT_EQ(hardware.SelectDAQSystem(), -1);
    EXPECT_EQ(f.container.GetProjectCount(), before + 1);
}

TEST(MkExtDaqProject, RunsSplitAtTheToleranceAndBadRpmsChangeNothing)
{
    struct Case
    {
        int seconds; // between the two datasets
        double rpm2;
        size_t groups;
        int result;
    };
    // 59 s: one run; 60 s: two. 1000 and 1000.4 RPM give a step of 0.
    for (const Case c : {Case{59, 1100.0, 1, 1}, Case{60, 1100.0, 2, 0}, Case{10, 1000.4, 1, 0}}) {
        Fixture f("tol");
        const std::string file =
            f.Write("t.unv", f.Spectrum(f.a, 0, 1000.0, 0) + f.Spectrum(f.a, 1, c.rpm2, c.seconds));
        f.ui.dialogs = {Fixture::Files({file})};
        size_t groups = 0;
        f.ui.dataCheck = [&](CUFDataCheckInput& input) {
            groups = input.groups.size();
            return true;
        };
        f.prompts.Answer(IDOK);
        const COctaveManagerEx before = *f.uf->GetOctaveManager();
        CMkExtDaqProject builder(f.container, f.uf);
        EXPECT_EQ(builder.ImportUFData(&f.boxes), c.result) << c.seconds;
        EXPECT_EQ(groups, c.groups) << c.seconds;
        if (c.result == 0) {
            // Two runs of one value each cannot make an RPM grid either; the message says why.
            const std::string shown = f.prompts.Last().text;
            EXPECT_EQ(shown.rfind("Failed to detect valid RPM values!\n", 0), 0u) << shown;
            EXPECT_NE(shown.find(c.seconds == 60 ? "is at 1000 RPM" : "between 1000 and 1000.4 RPM"), std::string::npos)
                << shown;
            EXPECT_EQ(f.uf->GetChildCount(), 0);
            EXPECT_TRUE(*f.uf->GetOctaveManager() == before);
        }
    }
}

TEST(MkExtDaqProject, CancelledScanAndAbandonedDataCheck)
{
    Fixture f("cancel");
    const std::string file = f.Write("c.unv", f.RunUp(0));
    // Cancel during the scan: message 6169, nothing changed.
    f.ui.dialogs = {Fixture::Files({file})};
    f.ui.cancelAtPump = 3;
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder(f.container, f.uf);
    EXPECT_EQ(builder.ImportUFData(&f.boxes), 0);
    EXPECT_EQ(f.prompts.Last().stringId, 6169u);
    EXPECT_EQ(f.uf->GetChildCount(), 0);

    // Cancel in the data check returns to the import dialog, which is then cancelled.
    CScriptedImportUI ui;
    ui.dialogs = {Fixture::Files({file})};
    ui.dataCheck = [](CUFDataCheckInput&) { return false; };
    CMkExtDaqProject again(f.container, f.uf);
    EXPECT_EQ(again.ImportUFData(&f.boxes), 0);
    EXPECT_EQ(ui.dialogsShown, 2);
    EXPECT_EQ(f.uf->GetChildCount(), 0);
}

TEST(MkExtDaqProject, PointsBeyondTheAssignmentAndSameNamedFilesAreReported)
{
    Fixture f("report");
    // Node 50 names local point 5 of a, which has 3 local points.
    f.uf->GetNodeMap().SetAt(CUFNode(50, f.a, 5));
    std::string text;
    for (int rpm = 1000; rpm <= 1200; rpm += 100) {
        text += f.Spectrum(f.a, 0, rpm, 0);
        text += f.Spectrum(f.a, 5, rpm, 0, 50);
    }
    const std::string file = f.Write("p.unv", text);
    fs::create_directories(f.dir / "other");
    const std::string twin = (f.dir / "other" / "p.unv").string();
    WriteFile(twin, text);
    f.ui.dialogs = {Fixture::Files({file, twin})};
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder(f.container, f.uf);
    ASSERT_EQ(builder.ImportUFData(&f.boxes), 1);
    const std::string& shown = f.prompts.Last().text;
    EXPECT_NE(shown.find("local point 6"), std::string::npos) << shown;
    EXPECT_NE(shown.find(twin + " was not imported"), std::string::npos) << shown;
    const std::vector<CDAQExperiment*> sets = f.DataSets();
    ASSERT_EQ(sets.size(), 1u);
    auto* levels = Child<CZuRpmMultiVecFunc>(sets[0], FormatString(IDS_CHANNEL_LEVELS, f.a.c_str()));
    ASSERT_NE(levels, nullptr);
    EXPECT_EQ(DynamicDowncast<CMultiVectorFunction>(levels->GetRpmData(0))->GetSubsystemCount(), 3);
}

// The blocks of one engine speed are read together; a file cut short after the scan still has
// every block that no longer reads reported, the one the cut runs through too.
TEST(MkExtDaqProject, BlocksThatNoLongerReadAreEachReported)
{
    Fixture f("unreadable");
    const std::string text = f.RunUp(0);
    const std::string file = f.Write("runA.unv", text);
    const size_t cut = text.find('\n', text.size() * 3 / 5) + 1; // a line in the middle of a dataset
    f.ui.dialogs = {Fixture::Files({file})};
    f.ui.dataCheck = [&](CUFDataCheckInput&) {
        fs::resize_file(file, cut);
        return true;
    };
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder(f.container, f.uf);
    ASSERT_EQ(builder.ImportUFData(&f.boxes), 1);

    // A dataset reads when the cut leaves all its values: it lies before its closing delimiter.
    const std::string opening = "    -1\n    58\n";
    size_t unreadable = 0;
    for (size_t at = text.find(opening); at != std::string::npos; at = text.find(opening, at + 1)) {
        const size_t closing = text.find("    -1\n", at + opening.size());
        unreadable += cut < closing;
    }
    ASSERT_GT(unreadable, 0u);
    const std::string& shown = f.prompts.Last().text;
    size_t notes = 0;
    for (size_t at = shown.find("runA.unv: "); at != std::string::npos; at = shown.find("runA.unv: ", at + 1))
        ++notes;
    EXPECT_EQ(notes, unreadable) << shown;
}

TEST(MkExtDaqProject, OrderDataSkipRpmZero)
{
    Fixture f("order");
    UF58Fields ds;
    ds.id1 = "name dir point";
    ds.funcType = 27;
    ds.spacing = 0;
    ds.abscType = 19;
    ds.respNode = f.NodeOf(f.a, 1);
    // (RPM, real, imaginary): 0 RPM has no order frequency.
    ds.numbers = {0.0, 1.0, 0.0, 1200.0, 3.0, 4.0, 1800.0, 6.0, 8.0};
    const std::string file = f.Write("o.unv", Dataset58(ds));
    f.ui.dialogs = {Fixture::Files({file}, 2, [](CUFImportSettings& s) { s.orderText = "2"; })};
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder(f.container, f.uf);
    ASSERT_EQ(builder.ImportUFData(&f.boxes), 1);
    const std::vector<CDAQExperiment*> sets = f.DataSets();
    ASSERT_EQ(sets.size(), 1u);
    auto* data = Child<CZuRpmMultiVecFunc>(sets[0], FormatString(IDS_ORDER_DATA, f.a.c_str()));
    ASSERT_NE(data, nullptr);
    const auto* vec = DynamicDowncast<CMultiVectorFunction>(data->GetRpmData(0));
    ASSERT_EQ(vec->GetDataCount(), 2);
    EXPECT_DOUBLE_EQ(vec->DataIndex(0), 1200.0);
    // An acceleration of 5 at order 2 of 1200 RPM (40 Hz).
    const double expected = 5.0 / (kTwoPi * 40.0) * std::sqrt(0.3321125);
    EXPECT_NEAR(vec->DataValue(0, 1), expected, expected * 1e-5);
    EXPECT_EQ(f.uf->GetCalcOptions()->GetOrderList().GetSize(), 1);
}

TEST(UFRpmInfo, GridAndMerging)
{
    struct Case
    {
        std::vector<double> rpms;
        bool ok;
        int start, step, count;
        std::vector<int> indexes;
    };
    const Case cases[] = {
        {{1000, 1010, 1020}, true, 1000, 10, 3, {0, 1, 2}},
        {{1000, 1100, 1150, 1300}, true, 1000, 100, 4, {0, 1, 2, 3}},
        {{1000, 1000.4}, false, 0, 0, 0, {}},
        {{1000}, false, 0, 0, 0, {}},
        // The grid's last RPM, 1000 + 4 * 536870662, lies past the 32-bit range.
        {{1000, 1001, 1002, 1003, 2147483647}, false, 0, 0, 0, {}},
        {{1000, 1001, 1002, 1003, 2147482000}, true, 1000, 536870250, 5, {0, 3, 3, 4, 4}},
    };
    for (const Case& c : cases) {
        TAG_UFRPMINFO run;
        run.rpms = c.rpms;
        TAG_UFRPMINFO::Grid grid;
        EXPECT_EQ(run.BuildGrid(grid), c.ok);
        EXPECT_EQ(grid.start, c.start);
        EXPECT_EQ(grid.step, c.step);
        EXPECT_EQ(grid.count, c.count);
        EXPECT_EQ(run.gridIndexes, c.indexes);
    }
    TAG_UFRPMINFO run;
    EXPECT_EQ(run.FindOrInsertRpm(2000), 0);
    EXPECT_EQ(run.FindOrInsertRpm(1000), 0);
    EXPECT_EQ(run.FindOrInsertRpm(2000), 1); // equal: merged
    EXPECT_EQ(run.FindOrInsertRpm(3000), 2);
    EXPECT_EQ(run.rpms, (std::vector<double>{1000, 2000, 3000}));
    EXPECT_EQ(run.FindNearestRpm(2490), 1);
    EXPECT_EQ(run.FindNearestRpm(2500), 1); // the first of equals
}

TEST(UFScanner, DelimitersBinaryDatasetsAndOtherTypes)
{
    Fixture f("scan");
    const std::string spectrum = f.Spectrum(f.a, 0, 1000.0, 0);
    UF58Fields other;
    other.funcType = 4; // a frequency response: passed over
    other.numbers = {1.0, 2.0};
    const std::string binary = "    -1\n    58b     2         2          11          16\n" + std::string(11, '\n') +
                               std::string("    -1\n\0\n\n\n\n\n\n\n\n\n\n\n\n\n\n", 16) + "\n    -1\n";
    struct Case
    {
        std::string text;
        std::vector<int> types; // function types of the datasets indexed
        int binaries;
    };
    for (const Case& c : {Case{"no delimiters at all\n    58\n", {}, 0}, Case{spectrum + Dataset58(other), {12, 4}, 0},
                          Case{binary + spectrum, {12}, 1}, Case{"    -1\n    -1\n" + spectrum, {12}, 0}}) {
        CUFLineReader reader;
        reader.OpenMemory(c.text, "mem.unv");
        CUFScanner scan;
        std::vector<int> types;
        scan.dataset = [&](std::unique_ptr<CDAQPPUFIndex>& index, CUFLineReader&) {
            types.push_back(index->GetFuncType());
        };
        EXPECT_EQ(scan.Scan(reader, nullptr), 1);
        EXPECT_EQ(types, c.types);
        EXPECT_EQ(scan.GetBinaryCount(), c.binaries);
    }
}

TEST(UFDaqData, ScaleFactorTimeKeyAndPoints)
{
    CUFDaqData group;
    group.SetCoefficient(0.3321125);
    EXPECT_DOUBLE_EQ(group.GetScaleFactor(), std::sqrt(0.3321125));
    group.SetCoefficientSwitch(0);
    EXPECT_DOUBLE_EQ(group.GetScaleFactor(), std::sqrt(0.5));

    Fixture f("group");
    std::vector<CDAQPPUFIndex> indexes;
    const std::string text = f.Spectrum(f.a, 0, 1000, 0) + f.Spectrum(f.a, 0, 1100, 20) + f.Spectrum(f.a, 1, 1000, 40) +
                             f.Spectrum(f.a, 2, 1000, 120);
    CUFLineReader reader;
    reader.OpenMemory(text, "g.unv");
    CUFScanner scan;
    scan.dataset = [&](std::unique_ptr<CDAQPPUFIndex>& index, CUFLineReader&) { indexes.push_back(*index); };
    ASSERT_EQ(scan.Scan(reader, nullptr), 1);
    ASSERT_EQ(indexes.size(), 4u);
    const double rpms[] = {1000, 1100, 1000, 1000};
    const int points[] = {0, 0, 1, 2};
    for (size_t i = 0; i < indexes.size(); ++i) {
        indexes[i].SetPoint(f.a, points[i]);
        std::unique_ptr<CDAQPPUFData> block = std::make_unique<CDAQPPFreqData>();
        block->SetIndex(indexes[i]);
        // The last one lies 80 s after the group's time key: refused.
        EXPECT_EQ(group.AddBlock(block, rpms[i], 0, 59), i < 3) << i;
    }
    // A second RPM of a point fills another row of the same point; a new point adds a column.
    EXPECT_EQ(group.GetPointCount(), 2);
    EXPECT_EQ(group.GetBlockCount(), 3);
    EXPECT_NE(group.FindBlock(1100, 0), nullptr);
    EXPECT_EQ(group.FindBlock(1100, 1), nullptr);
    EXPECT_EQ(group.GetPointIndex(1), 1);
    EXPECT_EQ(group.GetPointIndex(2), -1);
}

// Hostile universal files: each is refused with the dataset and the field at fault before the
// project changes, or imported; either way the project saves and opens again.
TEST(MkExtDaqProject, HostileFilesAreRefusedOrImportedAndTheProjectStillOpens)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Spectra
    {
        double min = 0.0, step = kDf;
        std::vector<double> rpms{1000.0, 1100.0, 1200.0};
        std::optional<int> declared; // the count record 7 declares, when not the values' own
    };
    auto axis = [](double min, double step, std::vector<double> rpms = {1000.0, 1100.0, 1200.0},
                   std::optional<int> declared = std::nullopt) {
        return Spectra{min, step, rpms, declared};
    };
    struct Case
    {
        const char* name;
        int choice; // 1 RPM from the data, 0 fixed, 2 order data
        std::optional<Spectra> spectra;
        std::vector<double> orderRpms; // the RPM column of an order dataset
        int orderDeclared = -1;
        const char* reason; // null: imported
        int orderType = 5;  // the order dataset's ordinate type (5 complex; 2 real, a form not read)
    };
    const Case cases[] = {
        {"NaN step", 1, axis(0.0, nan), {}, -1, "frequency step nan Hz"},
        {"infinite step", 1, axis(0.0, inf), {}, -1, "frequency step inf Hz"},
        // Downwards from 0 Hz no line lies inside the model's bands: no band is made of them.
        {"negative step", 1, axis(0.0, -kDf), {}, -1, nullptr},
        {"high to low", 1, axis(1500.0, -kDf), {}, -1, "invalid edges"},
        {"high to low at a fixed RPM", 0, axis(1500.0, -kDf), {}, -1, "invalid edges"},
        {"NaN first line", 1, axis(nan, kDf), {}, -1, "first frequency nan Hz"},
        {"infinite RPM", 1, axis(0.0, kDf, {1000.0, inf}), {}, -1, "RPM (record 7)"},
        {"NaN RPM", 1, axis(0.0, kDf, {nan, 1000.0, 1100.0}), {}, -1, "RPM (record 7)"},
        {"RPM beyond 2^31", 1, axis(0.0, kDf, {2147483000.0, 2147484000.0}), {}, -1, "RPM (record 7)"},
        {"RPM grid beyond 2^31", 1, axis(0.0, kDf, {1000.0, 1001.0, 1002.0, 1003.0, 2147483647.0}), {}, -1, "RPM grid"},
        {"RPMs just below 2^31", 1, axis(0.0, kDf, {2147480000.0, 2147483000.0}), {}, -1, nullptr},
        {"forged count", 1, axis(0.0, kDf, {1000.0, 1100.0}, 999999999), {}, -1, "number of values"},
        {"negative count", 1, axis(0.0, kDf, {1000.0, 1100.0}, -5), {}, -1, "number of values"},
        {"order data with an infinite RPM", 2, std::nullopt, {1200.0, inf}, -1, "RPM of value 2"},
        {"order data beyond 2^31", 2, std::nullopt, {1200.0, 3e9}, -1, "RPM of value 2"},
        {"order data just below 2^31", 2, std::nullopt, {1200.0, 2147483000.0}, -1, nullptr},
        {"order data of a forged count", 2, std::nullopt, {1200.0}, 999999999, "number of values"},
        {"order data of real values", 2, std::nullopt, {1200.0, 1300.0}, -1, "Unsupported data form", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f("hostile");
        std::string text;
        if (c.spectra) {
            UF58Fields ds;
            ds.id1 = "name dir point";
            ds.funcType = 12;
            ds.respNode = f.NodeOf(f.a, 0);
            ds.absMin = c.spectra->min;
            ds.absInc = c.spectra->step;
            for (int k = 0; k < kLines; ++k)
                ds.numbers.insert(ds.numbers.end(), {1.0 + k, 0.0});
            for (double rpm : c.spectra->rpms) {
                ds.zValue = rpm;
                std::string one = Dataset58(ds);
                // Record 7 with the count and the RPM written in full (E13.5 keeps six digits).
                const std::string record7 = Format("%10d%10d%10d%13.5E%13.5E%13.5E", ds.ordType, ValuesOf(ds),
                                                   ds.spacing, ds.absMin, ds.absInc, ds.zValue);
                const int declared = c.spectra->declared.value_or(ValuesOf(ds));
                one.replace(one.find(record7), record7.size(),
                            Format("%10d%10d%10d%13.5E%13.5E %.1f", ds.ordType, declared, ds.spacing, ds.absMin,
                                   ds.absInc, ds.zValue));
                text += one;
            }
        } else {
            UF58Fields ds;
            ds.id1 = "name dir point";
            ds.funcType = 27;
            ds.spacing = 0;
            ds.abscType = 19;
            ds.respNode = f.NodeOf(f.a, 0);
            ds.declared = c.orderDeclared;
            ds.ordType = c.orderType;
            for (double rpm : c.orderRpms)
                ds.numbers.insert(ds.numbers.end(), {rpm, 3.0, 4.0});
            text = Dataset58(ds);
        }
        const std::string file = f.Write("hostile.unv", text);
        f.ui.dialogs = {Fixture::Files({file}, c.choice, [](CUFImportSettings& s) { s.orderText = "2"; })};
        f.prompts.Answer(IDOK);
        const COctaveManagerEx bands = *f.uf->GetOctaveManager();
        const CDAQConfig config = *f.uf->GetDAQConfig();
        CMkExtDaqProject builder(f.container, f.uf);
        const int result = builder.ImportUFData(&f.boxes);
        if (c.reason) {
            EXPECT_EQ(result, 0);
            // A file the scan refuses is reported as a warning; later refusals show a box.
            const std::string shown = !f.ui.reports.empty()         ? f.ui.reports.back().text
                                      : f.prompts.Records().empty() ? std::string()
                                                                    : f.prompts.Last().text;
            EXPECT_NE(shown.find(c.reason), std::string::npos) << shown;
            EXPECT_NE(shown.find("hostile.unv"), std::string::npos) << shown;
            // The refusal is told once, and no empty box follows it.
            for (const CFeedback::SReport& report : f.ui.reports)
                EXPECT_FALSE(report.text.empty());
            for (const PromptRecord& prompt : f.prompts.Records())
                EXPECT_FALSE(prompt.text.empty());
            EXPECT_EQ(f.uf->GetChildCount(), 0);
            EXPECT_TRUE(*f.uf->GetOctaveManager() == bands);
            EXPECT_TRUE(*f.uf->GetDAQConfig() == config);
        } else {
            EXPECT_EQ(result, 1) << (f.prompts.Records().empty() ? std::string() : f.prompts.Last().text);
            EXPECT_EQ(f.DataSets().size(), 1u);
        }
        std::vector<uint8_t> bytes;
        {
            CArchive ar(&bytes, CArchive::store);
            f.container.Serialize(ar);
        }
        CTALVOProject loaded;
        try {
            CArchive ar(bytes.data(), bytes.size());
            loaded.Serialize(ar);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "the saved project does not open: " << e.what();
        }
    }
}

// Whichever window starts the import, running out of memory ends it with a message.
TEST(MkExtDaqProject, RunningOutOfMemoryEndsTheImportWithAMessage)
{
    Fixture f("memory");
    f.ui.dialogs = {Fixture::Files({f.Write("m.unv", f.RunUp(0))})};
    f.ui.dataCheck = [](CUFDataCheckInput&) -> bool { throw std::bad_alloc(); };
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder(f.container, f.uf);
    EXPECT_EQ(builder.ImportUFData(&f.boxes), 0);
    EXPECT_NE(f.prompts.Last().text.find("not enough memory"), std::string::npos) << f.prompts.Last().text;
    EXPECT_EQ(f.uf->GetChildCount(), 0);
}

// Files of which nothing can be imported say why, and the import dialog opens again: neither an
// empty "Finished." nor a changed project.
TEST(MkExtDaqProject, FilesOfNothingToImportSayWhy)
{
    struct Case
    {
        const char* name;
        std::function<std::string(Fixture&)> text;
        int choice;
        int names; // subsystems from the datasets' point names
        const char* reason;
    };
    auto one = [](std::function<void(UF58Fields&)> edit) {
        return [edit](Fixture& f) {
            std::string text;
            for (double rpm : {1000.0, 1100.0}) {
                UF58Fields ds;
                ds.id1 = "name dir point";
                ds.funcType = 12;
                ds.respNode = f.NodeOf(f.a, 0);
                ds.zValue = rpm;
                ds.numbers = {1.0, 0.0, 2.0, 0.0};
                edit(ds);
                text += Dataset58(ds);
            }
            return text;
        };
    };
    const Case cases[] = {
        {"no dataset", [](Fixture&) { return std::string("    -1\n    15\n    -1\n"); }, 1, 0, "no dataset 58"},
        {"frequency responses", one([](UF58Fields& ds) { ds.funcType = 4; }), 1, 0, "function types are 4"},
        {"time data", one([](UF58Fields& ds) { ds.abscType = 17; }), 1, 0, "not over frequency"},
        {"order functions read as spectra", one([](UF58Fields& ds) {
             ds.funcType = 27;
             ds.abscType = 19;
         }),
         1, 0, "Order functions of order"},
        {"nodes of no table", one([](UF58Fields& ds) { ds.respNode = 901; }), 1, 0, "(901) is in the node table"},
        {"point names of no subsystem", one([](UF58Fields& ds) { ds.id1 = "name dir Bonnet_1"; }), 1, 1,
         "(Bonnet) names a subsystem"},
        // A public file of one engine speed: no run-up to read the RPM from.
        {"one engine speed", one([](UF58Fields& ds) { ds.zValue = 0.0; }), 1, 0, "is at 0 RPM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f("nothing");
        const std::string file = f.Write("public.unv", c.text(f));
        f.ui.dialogs = {Fixture::Files({file}, c.choice, [&c](CUFImportSettings& s) { s.namesFromDataset = c.names; })};
        f.prompts.Answer(IDOK);
        bool checked = false;
        f.ui.dataCheck = [&](CUFDataCheckInput&) { return checked = true; };
        CMkExtDaqProject builder(f.container, f.uf);
        EXPECT_EQ(builder.ImportUFData(&f.boxes), 0);
        std::string shown;
        for (const CFeedback::SReport& report : f.ui.reports)
            shown += report.text + "\n";
        for (const PromptRecord& prompt : f.prompts.Records()) {
            shown += prompt.text + "\n";
            EXPECT_NE(prompt.stringId, IDS_FINISHED);
        }
        EXPECT_NE(shown.find(c.reason), std::string::npos) << shown;
        EXPECT_EQ(f.uf->GetChildCount(), 0);
        // Before the data check, the scan finds nothing; the RPM is looked at after it.
        EXPECT_EQ(checked, std::string(c.name) == "one engine speed");
        EXPECT_EQ(f.ui.dialogsShown, checked ? 1 : 2);
    }
    {
        // The target alone measured: no data set can be made, and the message says why.
        Fixture f("onlytarget");
        std::string text;
        for (int rpm = 1000; rpm <= 1200; rpm += 100)
            text += f.Spectrum(f.target, 0, rpm, 0);
        f.ui.dialogs = {Fixture::Files({f.Write("cabin.unv", text)})};
        f.prompts.Answer(IDOK);
        CMkExtDaqProject builder(f.container, f.uf);
        EXPECT_EQ(builder.ImportUFData(&f.boxes), 0);
        ASSERT_GE(f.prompts.Count(), 1u);
        EXPECT_EQ(f.prompts.Last().stringId, IDS_UF_NOTHING_TO_IMPORT);
        EXPECT_NE(f.prompts.Last().text.find(f.target + " is the target"), std::string::npos) << f.prompts.Last().text;
        EXPECT_TRUE(f.DataSets().empty());
    }
    // Without a target no experiment can be filed: the import says so before any file is chosen.
    Fixture f("notarget");
    f.container.SetTargetSubsystem("");
    f.ui.dialogs = {Fixture::Files({f.Write("r.unv", f.RunUp(0))})};
    CMkExtDaqProject builder(f.container, f.uf);
    EXPECT_EQ(builder.ImportUFData(&f.boxes), 0);
    ASSERT_EQ(f.prompts.Count(), 1u);
    EXPECT_EQ(f.prompts.Last().stringId, IDS_NO_TARGET_SUBSYSTEM);
    EXPECT_EQ(f.ui.dialogsShown, 0);
}

// The node table that comes with universal files is found beside them and read; a project made in
// that folder does not wipe it; and without sensors assigned, the points of the node table are the
// subsystem's local points.
TEST(MkExtDaqProject, NodeTableBesideTheFilesNamesThePoints)
{
    Fixture f("beside");
    const fs::path data = f.dir / "measured";
    fs::create_directories(data);
    const std::string file = f.Write("measured/run.unv", f.RunUp(0));
    EXPECT_EQ(CMkExtDaqProject::FindNodeTable({file}), "");
    const CUFNodeMap nodes = f.uf->GetNodeMap();
    nodes.WriteTextFile((data / CUFNodeMap::kTableFileName).string(), "run");
    EXPECT_EQ(fs::path(CMkExtDaqProject::FindNodeTable({(f.dir / "elsewhere.unv").string(), file})),
              data / CUFNodeMap::kTableFileName);
    CUFNodeMap read;
    std::string why;
    ASSERT_TRUE(CMkExtDaqProject::LoadNodeTable(CMkExtDaqProject::FindNodeTable({file}), read, why)) << why;
    EXPECT_EQ(read.Nodes(), nodes.Nodes());
    // A table that names no node is no table: the map stays as it was.
    WriteFile(f.dir / "empty.txt", "#@t\n# p\n#\n");
    EXPECT_FALSE(CMkExtDaqProject::LoadNodeTable((f.dir / "empty.txt").string(), read, why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(CMkExtDaqProject::LoadNodeTable((f.dir / "missing.txt").string(), read, why));
    EXPECT_EQ(read.Nodes(), nodes.Nodes());

    // A new project in the folder of the files leaves their table as it is.
    f.container.SetDocumentPath((data / "project.orv").string());
    const std::string before = ReadFile(data / CUFNodeMap::kTableFileName);
    CExtUFDaqProject* fresh =
        static_cast<CExtUFDaqProject*>(f.container.AddExtDaqProject(std::make_unique<CExtUFDaqProject>()));
    CMkExtDaqProject::SaveNodeTable(*fresh);
    EXPECT_EQ(ReadFile(data / CUFNodeMap::kTableFileName), before);

    // No sensors assigned: the node table's three points of each subsystem are its local points.
    f.container.GetSensorAssignment()->SetSubsystems(nullptr);
    fresh->GetNodeMap() = read;
    f.ui.dialogs = {Fixture::Files({file})};
    f.prompts.Answer(IDOK);
    CMkExtDaqProject builder(f.container, fresh);
    ASSERT_EQ(builder.ImportUFData(&f.boxes), 1);
    int sets = 0;
    for (int e = 0; e < fresh->GetChildCount(); ++e)
        for (int i = 0; i < fresh->GetChild(e)->GetChildCount(); ++i)
            if (auto* set = ElementCast<CDAQExperiment>(fresh->GetChild(e)->GetChild(i))) {
                ++sets;
                auto* levels =
                    Child<CZuRpmMultiVecFunc>(set, FormatString(IDS_CHANNEL_LEVELS, set->GetFirstInfoName().c_str()));
                ASSERT_NE(levels, nullptr);
                const auto* at1000 = DynamicDowncast<CMultiVectorFunction>(levels->GetRpmData(0));
                ASSERT_NE(at1000, nullptr);
                ASSERT_EQ(at1000->GetSubsystemCount(), 3);
                EXPECT_GT(at1000->DataValue(3, 2), 0.0);
                auto* spectrum = set->FindRpmFuncOfFirstName();
                ASSERT_NE(spectrum, nullptr);
                EXPECT_GT(spectrum->DataValue(0, 3), 0.0);
            }
    EXPECT_EQ(sets, 2);
}
