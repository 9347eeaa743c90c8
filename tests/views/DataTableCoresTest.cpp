// What the HSEA data-table and switchable-axis windows show and do, on small tables built here:
// panes, band lists, chart curves from the numbers (not the rounded cell texts), clipboard round
// trips, pastes anchored at the current cell with empty fields holding their places, and undo.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "calculation/AnalysisProjectAccess.h"
#include "platform/archive/Archive.h"
#include "models/HSEAOptions.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "views/HSEADataTableCore.h"
#include "views/SwAxisTableCore.h"

namespace {
const CZuSubsystemTable kSubsystems(std::vector<std::string>{"Roof-F", "Floor-F", "Cabin-"});
const std::vector<double> kBands = {250.0, 500.0, 1000.0, 2000.0};

// Loss factors whose mantissas vanish in a two-decimal cell.
std::unique_ptr<CZuVecFunc> LossFactors(const std::string& name = "Total DLF")
{
    auto v = std::make_unique<CZuVecFunc>(name, &kSubsystems, 4, nullptr, 4);
    for (int i = 0; i < 4; ++i) {
        v->DataIndex(i) = kBands[static_cast<size_t>(i)];
        for (int k = 0; k < 3; ++k)
            v->DataValue(i, k) = 1.2345e-3 * (i + 1) + 1e-5 * k;
    }
    return v;
}

// An analysis project stand-in: by RPM or by order, values in dB or linear.
class CFakeAnalysis : public CMElement, public IAnalysisProjectAccess, public ISpectrumDisplayOptions
{
public:
    CFakeAnalysis(int type, int inDb) : CMElement("Analysis", nullptr, 0), m_type(type), m_inDb(inDb) {}
    int GetProjectType() const override { return m_type; }
    std::string GetProjectName() const override { return GetName(); }
    COrderList& GetOrderList() override { return m_orders; }
    float GetOTSetting() const override { return 50.0f; }
    double GetDaqConfigValue() const override { return 0.0; }
    int CompleteSubsystemName(std::string&) const override { return -1; }
    bool GetSubsystemParam(const std::string&, double&, double&) const override { return false; }
    const COctaveManager* GetModelOctaveManager() const override { return nullptr; }
    CMElement* GetProjectElement() override { return this; }
    int HasOwner() const override { return 0; }
    CRPMOptions& GetRPMOptions() override { return m_rpm; }
    COctaveManagerEx* GetOctaveManager() override { return nullptr; }
    std::vector<int32_t>& GetFreqIndexArray() override { return m_index; }
    void GetModelDataParams(int* kind, double* start, double* end) const override
    {
        *kind = 0;
        *start = *end = 0.0;
    }
    int ShowDataInDB() const override { return m_inDb; }
    int IsAWeighting() const override { return 0; }
    int IsStructure(const std::string& name) const override { return name.back() == 'F'; }

private:
    int m_type;
    int m_inDb;
    COrderList m_orders;
    CRPMOptions m_rpm;
    std::vector<int32_t> m_index;
};

// Sound pressures of a cavity per RPM (rows: bands) below an analysis project.
CZuRpmSelFunc* AddSplByRpm(CMElement& project, const std::vector<double>& rpms)
{
    auto* sel = project.AddChild(std::make_unique<CZuRpmSelFunc>("SPL", nullptr, 55));
    for (size_t r = 0; r < rpms.size(); ++r) {
        auto f = std::make_unique<CMultiVectorFunction>("SPL", &kSubsystems, 4, nullptr, 64);
        f->SetLabel("Cabin-");
        for (int i = 0; i < 4; ++i) {
            f->DataIndex(i) = kBands[static_cast<size_t>(i)];
            for (int k = 0; k < 3; ++k)
                f->DataValue(i, k) = 0.01 * (r + 1) * (i + 1) + 0.001 * k;
        }
        sel->AddRpmData(rpms[r], std::move(f));
    }
    return sel;
}

// The clipboard commands of the grid, on the table core.
std::string Copy(CSwAxisTableCore& core, CZuCellRect cells, int withHeaders)
{
    std::vector<uint8_t> buffer;
    CArchive ar(&buffer, CArchive::store);
    core.CopyToClipboard(ar, withHeaders, core.GetCurSel1stIndex(), &cells);
    return std::string(buffer.begin(), buffer.end());
}

void Paste(CSwAxisTableCore& core, const std::string& text, int row, int col)
{
    std::vector<uint8_t> buffer(text.begin(), text.end());
    CArchive ar(&buffer, CArchive::load);
    const CZuCellPoint at{col, row};
    core.PasteFromClipboard(ar, core.GetCurSel1stIndex(), &at);
}

void UndoAll(CSwAxisTableCore& core)
{
    while (core.UndoData() >= 0) {
    }
}

double Raw(CZuRpmSelFunc& sel, int rpm, int point, int k)
{
    return static_cast<CZuVecFunc*>(sel.GetRpmData(rpm))->DataValue(point, k);
}
} // namespace

// ---- HSEA data tables ----

TEST(HSEADataTableCore, PanesFollowTheKindOfTable)
{
    auto vec = LossFactors();
    auto matrix = std::make_unique<CZuMatFunc>("Eta", &kSubsystems, nullptr, 4, nullptr, 1);
    auto report = std::make_unique<CZuVecFunc>("Error Report", &kSubsystems, 4, nullptr, 4);
    auto comparison =
        std::make_unique<CZuMatFunc>("Normalized Modal Energy Comparison", &kSubsystems, nullptr, 4, nullptr, 1);
    struct Case
    {
        CZuTableData* table;
        bool bandList;
        bool chart;
    } cases[] = {
        {vec.get(), false, true},
        {matrix.get(), true, false},
        {report.get(), true, true},
        {comparison.get(), true, false},
    };
    for (const Case& c : cases) {
        CHSEADataTableCore core;
        core.SetElement(c.table);
        EXPECT_EQ(core.ShowsBandList(), c.bandList) << c.table->GetName();
        EXPECT_EQ(core.ShowsChart(), c.chart) << c.table->GetName();
    }
    CHSEADataTableCore core;
    core.SetElement(matrix.get());
    EXPECT_EQ(core.GetBandLabels().size(), 4u);
    EXPECT_EQ(core.GetSearchKind(), CHSEADataTableCore::SEARCH_MATRIX);
    int row = -1, col = -1;
    EXPECT_TRUE(core.FindMatrixCell("Floor-F", "Cabin-", row, col));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 2);
    EXPECT_FALSE(core.FindMatrixCell("Floor-F", "Nowhere", row, col));
    core.SetElement(vec.get());
    EXPECT_EQ(core.GetSearchKind(), CHSEADataTableCore::SEARCH_VECTOR);
    EXPECT_EQ(core.FindVectorColumn("Cabin-"), 2);
}

TEST(HSEADataTableCore, ChartPlotsTheNumbersNotTheCellTexts)
{
    auto vec = LossFactors();
    CHSEAOptions options;
    options.HSS_DecimalPlaces = 2;
    options.HSS_ShowDataInDB = 0;
    CHSEADataTableCore core;
    core.SetElement(vec.get());
    core.SetHSEAOptions(&options);
    EXPECT_EQ(core.GetCellText(1, 1), "1.23e-03"); // the grid rounds
    const CTableChartData chart = core.BuildChart();
    ASSERT_EQ(chart.subsets.size(), 3u);
    EXPECT_EQ(chart.subsets[2].name, "Cabin-");
    const CTableChartSubset& s = chart.subsets[1];
    ASSERT_EQ(s.x.size(), 4u);
    EXPECT_DOUBLE_EQ(s.x.front(), 250.0);
    EXPECT_DOUBLE_EQ(s.x.back(), 2000.0);
    EXPECT_DOUBLE_EQ(s.y.front(), vec->DataValue(0, 1));
    EXPECT_DOUBLE_EQ(s.y.back(), vec->DataValue(3, 1));
    EXPECT_EQ(chart.xLabel, "Freq. [Hz]");
    EXPECT_TRUE(chart.xLog);
    EXPECT_TRUE(chart.yLog);
    EXPECT_DOUBLE_EQ(chart.xMin, 100.0);
    EXPECT_DOUBLE_EQ(chart.xMax, 10000.0);
    EXPECT_DOUBLE_EQ(chart.yMin, 1e-3);
    EXPECT_DOUBLE_EQ(chart.yMax, 1e-2);
    EXPECT_FALSE(chart.noLegend);

    // No value above 0: no manual Y range; more than eight columns: the compact legend.
    CZuSubsystemTable many;
    for (int k = 0; k < 9; ++k)
        many.Add("S" + std::to_string(k));
    CZuVecFunc zeros("Zeros", &many, 2, nullptr, 4);
    zeros.DataIndex(0) = 100.0;
    zeros.DataIndex(1) = 200.0;
    core.SetElement(&zeros);
    const CTableChartData flat = core.BuildChart();
    EXPECT_FALSE(flat.yManual);
    EXPECT_TRUE(flat.noLegend);
}

TEST(HSEADataTableCore, RpmSelectorSwitchesTheShownTable)
{
    CFakeAnalysis project(0, 1);
    CZuRpmSelFunc* sel = AddSplByRpm(project, {1000.0, 1500.0, 2000.0});
    CHSEADataTableCore core;
    core.SetElement(sel);
    EXPECT_EQ(core.GetTableData(), sel->GetRpmData(0));
    ASSERT_EQ(core.GetRpmChoices().size(), 3u);
    EXPECT_EQ(core.GetRpmChoices()[1].first, "1500");
    EXPECT_TRUE(core.SelectRpm(2));
    EXPECT_EQ(core.GetTableData(), sel->GetRpmData(2));
    EXPECT_EQ(core.GetSelectedRpm(), 2);
    EXPECT_FALSE(core.SelectRpm(3));
    EXPECT_EQ(core.GetSelectedRpm(), 2);
    EXPECT_EQ(core.GetSelectorLabel(), "RPM :");
    core.SetOrderTracking(1);
    EXPECT_EQ(core.GetSelectorLabel(), "Order :");

    // An entry opened on its own still offers its siblings.
    CHSEADataTableCore entry;
    entry.SetElement(sel->GetRpmData(1));
    EXPECT_EQ(entry.GetRpmChoices().size(), 3u);
    EXPECT_EQ(entry.GetSelectedRpm(), 1);
    // A table outside any selector offers none.
    auto vec = LossFactors();
    entry.SetElement(vec.get());
    EXPECT_TRUE(entry.GetRpmChoices().empty());
    EXPECT_FALSE(entry.SelectRpm(0));
}

// ---- switchable-axis tables ----

TEST(SwAxisTableCore, AxesSwapBetweenTheRpmTableAndTheFrequencyTable)
{
    CFakeAnalysis project(0, 1);
    CZuRpmSelFunc* sel = AddSplByRpm(project, {1000.0, 1500.0, 2000.0});
    CSwAxisTableCore core;
    core.SetRpmSelFunc(sel);
    EXPECT_EQ(core.GetAxisChoices(), (std::vector<std::string>{"Freq. [Hz]", "RPM"}));
    EXPECT_EQ(core.GetFirstIndexLabel(), "RPM :");
    EXPECT_EQ(core.Get1stIndexCount(), 3);
    EXPECT_EQ(core.GetRowCount(), 5);
    EXPECT_EQ(core.GetColCount(), 4);
    core.SetCurSel1stIndex(1);
    EXPECT_EQ(core.GetCellText(0, 2), "Floor-F");
    EXPECT_EQ(core.GetCellText(4, 0), "2000");
    EXPECT_EQ(core.GetCellText(2, 3), sel->GetRpmData(1)->GetTableCellData(2, 3, 0, 2));

    core.SetViewType(CSwAxisTableCore::VIEW_BY_POINT);
    EXPECT_EQ(core.GetCurSel1stIndex(), 0); // a new axis starts at its first value
    EXPECT_EQ(core.GetFirstIndexLabel(), "Freq :");
    EXPECT_EQ(core.GetFirstIndexChoices().back().first, "2000");
    core.SetCurSel1stIndex(3); // 2000 Hz
    EXPECT_EQ(core.GetRowCount(), 4);
    EXPECT_EQ(core.GetCellText(3, 0), "2000");
    const CTableChartData chart = core.BuildChart();
    EXPECT_EQ(chart.xLabel, "RPM");
    EXPECT_FALSE(chart.xLog);
    ASSERT_EQ(chart.subsets.size(), 3u);
    ASSERT_EQ(chart.subsets[0].x.size(), 3u);
    EXPECT_DOUBLE_EQ(chart.subsets[0].x.front(), 1000.0);
    EXPECT_DOUBLE_EQ(chart.subsets[0].x.back(), 2000.0);
    // The pressures in dB re 20 uPa, at full precision.
    EXPECT_NEAR(chart.subsets[2].y.back(), 20.0 * std::log10(Raw(*sel, 2, 3, 2) / 2e-5), 1e-9);

    CFakeAnalysis byOrder(1, 1);
    CZuRpmSelFunc* orders = AddSplByRpm(byOrder, {2.0, 4.0});
    core.SetRpmSelFunc(orders, CSwAxisTableCore::VIEW_BY_POINT);
    EXPECT_EQ(core.GetViewType(), CSwAxisTableCore::VIEW_BY_FIRST);
    EXPECT_EQ(core.GetAxisChoices(), std::vector<std::string>{"RPM"});
    EXPECT_EQ(core.GetFirstIndexLabel(), "Order :");
    EXPECT_EQ(core.GetAxisLabel(), "RPM");
}

TEST(SwAxisTableCore, PasteIsAnchoredAtTheCellAndEmptyFieldsHoldTheirPlaces)
{
    for (int view : {CSwAxisTableCore::VIEW_BY_FIRST, CSwAxisTableCore::VIEW_BY_POINT}) {
        CFakeAnalysis project(0, 0); // linear values: the pasted numbers are stored as they are
        CZuRpmSelFunc* sel = AddSplByRpm(project, {1000.0, 1500.0, 2000.0});
        CSwAxisTableCore core;
        core.SetRpmSelFunc(sel, view);
        core.SetCurSel1stIndex(1);
        auto cell = [&](int i, int j) {
            int rpm = view == 0 ? 1 : i, point = view == 0 ? i : 1;
            return Raw(*sel, rpm, point, j);
        };
        const double kept01 = cell(1, 1), kept02 = cell(1, 2), kept20 = cell(2, 0), kept21 = cell(2, 1);
        Paste(core, "7\t\t9\r\n\t8\r\n5\t6\t4\t3\r\n", 2, 1);
        EXPECT_EQ(cell(1, 0), 7.0);
        EXPECT_EQ(cell(1, 1), kept01); // empty field: unchanged
        EXPECT_EQ(cell(1, 2), 9.0);    // and the next field still in its own column
        EXPECT_EQ(cell(2, 0), kept20);
        EXPECT_EQ(cell(2, 1), 8.0);
        // The third line runs past the last row of the RPM axis (3 rows) but not of the bands.
        if (view == 0) {
            EXPECT_EQ(cell(3, 0), 5.0);
            EXPECT_EQ(cell(3, 2), 4.0); // the fourth field has no column: dropped
        }
        UndoAll(core);
        EXPECT_EQ(cell(1, 0), 0.01 * 2 * 2);
        EXPECT_EQ(cell(1, 2), kept02);
        EXPECT_EQ(cell(2, 1), kept21);
        // A header cell takes nothing; a new axis forgets what there was to undo.
        Paste(core, "1", 0, 1);
        EXPECT_EQ(core.GetUndoBufferSize(), 0);
        Paste(core, "1", 1, 1);
        EXPECT_EQ(core.GetUndoBufferSize(), 1);
        core.SetViewType(view);
        EXPECT_EQ(core.GetUndoBufferSize(), 0);
    }
}

TEST(SwAxisTableCore, CopyThenPasteGivesTheSameValuesInDecibels)
{
    CFakeAnalysis project(0, 1);
    CZuRpmSelFunc* sel = AddSplByRpm(project, {1000.0, 1500.0});
    CSwAxisTableCore core;
    core.SetRpmSelFunc(sel);
    const CZuCellRect block{1, 1, 3, 2}; // two bands, all subsystems of 1000 RPM
    const std::string text = Copy(core, block, 1);
    core.SetCurSel1stIndex(1);
    Paste(core, text, 3, 1); // into bands 3 and 4 of 1500 RPM
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(Raw(*sel, 1, i + 2, k), Raw(*sel, 0, i, k), 1e-12 * Raw(*sel, 0, i, k)) << i << k;
    UndoAll(core);
    EXPECT_DOUBLE_EQ(Raw(*sel, 1, 2, 0), 0.02 * 3);
}

TEST(HSEADataTableCore, RowsOverRpmOnlyForAnAnalysisByOrder)
{
    for (int byOrder : {0, 1}) {
        CFakeAnalysis project(byOrder, 1);
        CZuRpmSelFunc* sel = AddSplByRpm(project, {2.0, 4.0});
        CHSEADataTableCore core;
        core.SetElement(sel);
        const CTableChartData chart = core.BuildChart();
        EXPECT_EQ(chart.xLabel, byOrder ? "RPM" : "Freq. [Hz]");
        EXPECT_EQ(chart.xLog, !byOrder);
        EXPECT_FALSE(chart.yLog) << "levels in dB";
        EXPECT_EQ(chart.yLabel, "Pressure [dB (ref=2E-5Pa)]") << "quantity and unit";
    }
}

// The window's options may say dB while the project shows its tables linear: the chart is drawn
// from the linear cells, so its axis says the linear unit on a log scale, never a dB reference.
TEST(HSEADataTableCore, AxisLabelFollowsWhatTheCellsShow)
{
    for (int inDb : {0, 1}) {
        SCOPED_TRACE(inDb);
        CFakeAnalysis project(1, inDb);
        CZuRpmSelFunc* sel = AddSplByRpm(project, {2.0, 4.0});
        CHSEAOptions options;
        options.HSS_ShowDataInDB = 1 - inDb;
        CHSEADataTableCore core;
        core.SetHSEAOptions(&options);
        core.SetElement(sel);
        CSwAxisTableCore swapped;
        swapped.SetHSEAOptions(&options);
        swapped.SetRpmSelFunc(sel);
        for (const CTableChartData& chart : {core.BuildChart(), swapped.BuildChart()}) {
            EXPECT_EQ(chart.yLabel, inDb ? "Pressure [dB (ref=2E-5Pa)]" : "Pressure [Pa]");
            EXPECT_EQ(chart.yLog, !inDb);
        }
    }
}
