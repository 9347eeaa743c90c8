// The data windows of spectra over engine speed (TAL and RMV data): opened offscreen over the
// sample project's own maps, checked cell by cell and curve by curve against the elements, and
// driven through their grids (clipboard, undo) and their display bar.
#include "SampleProject.h"
#include "TableGridCheck.h"
#include "app/AnalysisProject.h"
#include "app/BaseProject.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "experiments/ExpProject.h"
#include "models/ASEAModelData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAOptions.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/elements/ZuTableData.h"
#include "platform/win/Messages.h"
#include "platform/ui/ZuChart.h"
#include "platform/ui/ZuTableModel.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "support/WidgetShot.h"
#include "views/ui/DataViewOpeners.h"
#include "views/ui/QMXDataFrame.h"
#include "views/ui/RMVDataDoc.h"
#include "views/ui/RMVDataFrame.h"
#include "views/ui/RMVDataGraphView.h"
#include "views/ui/RMVDataSelectView.h"
#include "views/ui/RMVDataTableView.h"
#include "views/ui/TALDataDoc.h"
#include "views/ui/TALDataFrame.h"
#include "views/ui/TALDataGraphView.h"
#include "views/ui/TALDataSelectView.h"
#include "views/ui/TALDataTableView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// The cabin's SPL over RPM by input power, computed from the sample's run-up.
CZuRpmMultiVecFunc* g_spl = nullptr;

CTALVODoc& Sample()
{
    static CTALVODoc* doc = [] {
        CScriptedPrompts prompts;
        prompts.responder = [](const PromptRecord&) { return PromptAnswer{}; };
        auto* d = new CTALVODoc;
        const fs::path file = fs::path(::testing::TempDir()) / "orvex_views_ui_data" /
                              ("sample-" + std::to_string(::getpid())) / "sample.orv";
        std::string error;
        EXPECT_TRUE(sample::Build(*d, fs::path(ORVEX_SOURCE_DIR) / "samples", file.string(), &error)) << error;
        // The SPL of the cabin over RPM by input power, as a user computes it from the measured
        // run-up: the multi-vector result the RMV window shows.
        auto* analysis = DynamicDowncast<CAnalysisProject>(d->GetTALVOProject().GetProject(2));
        CModelProject* model = d->GetTALVOProject().GetModelProject();
        if (analysis && model && model->GetASEAModelData() &&
            model->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0))) {
            CZuSubsystemTable roof;
            roof.Add(sample::kExcited);
            EXPECT_EQ(analysis->CalcInputPowerChain(roof, 0, 0), 1);
            g_spl = DynamicDowncast<CZuRpmMultiVecFunc>(analysis->BuildSPLByInputPowers(sample::kResponse, roof, 0));
        }
        return d;
    }();
    return *doc;
}

template <class T>
T* FindFirst(CMElement* root, const std::string& name)
{
    if (!root)
        return nullptr;
    if (auto* hit = dynamic_cast<T*>(root); hit && (name.empty() || root->GetName() == name))
        return hit;
    for (int i = 0; i < root->GetChildCount(); ++i)
        if (T* hit = FindFirst<T>(root->GetChild(i), name))
            return hit;
    return nullptr;
}

template <class T>
T* SampleElement(const std::string& name = {})
{
    CTALVOProject& container = Sample().GetTALVOProject();
    for (int p = 0; p < container.GetProjectCount(); ++p)
        if (T* hit = FindFirst<T>(container.GetProject(p), name))
            return hit;
    return nullptr;
}

// The measured map of the excited roof (the cabin's own map holds no measured values).
CZuRpmFunc* SampleMap()
{
    return SampleElement<CZuRpmFunc>(sample::kExcited);
}

CZuStdDataList& Items()
{
    return *Sample().GetTALVOProject().GetZuStdDataList();
}

// Every window starts from the same stored settings: frequency across, single bands, no smoothing.
void ResetItems()
{
    for (int id = 356; id <= 361; ++id)
        while (Items().FindIndex(id) >= 0)
            Items().RemoveAt(Items().FindIndex(id));
    CHSEAOptions& options = Sample().GetTALVOProject().GetHSEAOptions();
    options.HSS_PlotAllData = 0;
    options.HSS_ShowDataInDB = 1;
    options.HSS_DecimalPlaces = 2;
}

void ExpectLayout(QWidget& w, const char* name)
{
    const QStringList faults = GrabAndCheckLayout(w, "orvex_views_ui", name);
    EXPECT_TRUE(faults.isEmpty()) << name << ": " << faults.join("; ").toStdString();
}

// A curve holds the table's numbers of one column, unrounded.
void ExpectCurveMatches(CZuChart& chart, int curve, CZuTableData& data, int index, int col)
{
    QCPGraph* g = chart.Curve(curve);
    ASSERT_NE(g, nullptr);
    const int points = data.GetTableRowCount(index) - 1;
    ASSERT_EQ(g->dataCount(), points);
    for (int p : {0, points - 1}) {
        double value = 0.0;
        // A cell without a number is a gap in the curve.
        if (data.GetTableCellValue(p + 1, col, index, value))
            EXPECT_DOUBLE_EQ(g->data()->at(p)->value, value) << p;
        else
            EXPECT_TRUE(std::isnan(g->data()->at(p)->value)) << p;
    }
}

struct Frame
{
    template <class F>
    explicit Frame(F* f) : frame(f)
    {}
    ~Frame()
    {
        if (frame)
            delete frame.data();
    }
    QPointer<QWidget> frame;
};
} // namespace

TEST(QMXDataCore, ItemsHaveDefaultsAndAreStoredInTheProject)
{
    ResetItems();
    CTALDataDoc doc(&Sample().GetTALVOProject());
    const int bands = doc.GetBandCount();
    ASSERT_GT(bands, 2);
    struct Case
    {
        int id;
        int fallback;
    };
    for (const Case& c : {Case{356, 0}, Case{357, 0}, Case{358, 0}, Case{359, 500}, Case{360, 0}, Case{361, bands - 1}})
        EXPECT_EQ(doc.GetItem(c.id), c.fallback) << c.id;

    // Reversed band choices are kept in order; any non-zero axis flag stores 1.
    doc.SetBandRange(bands - 1, 1);
    EXPECT_EQ(doc.GetItem(360), 1);
    EXPECT_EQ(doc.GetItem(361), bands - 1);
    doc.SetBoolItem356(7);
    doc.SetItem(357, 1);
    doc.SetItem(358, 1);
    doc.SetItem(359, 750);
    EXPECT_EQ(Items().GetInt(356), 1);

    // The project file keeps them.
    const fs::path file =
        fs::path(::testing::TempDir()) / "orvex_views_ui_data" / ("items-" + std::to_string(::getpid())) / "items.orv";
    fs::create_directories(file.parent_path());
    std::string error;
    ASSERT_TRUE(Sample().OnSaveDocument(file.string(), &error)) << error;
    CTALVODoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(file.string(), &error)) << error;
    CTALDataDoc back(&reread.GetTALVOProject());
    const int expected[] = {1, 1, 1, 750, 1, bands - 1};
    for (int id = 356; id <= 361; ++id)
        EXPECT_EQ(back.GetItem(id), expected[id - 356]) << id;
    reread.OnCloseDocument();
    ResetItems();
}

TEST(QMXDataCore, SmoothingWidthFollowsTheOwnerProjectsRpmStep)
{
    ResetItems();
    auto* map = SampleMap();
    ASSERT_NE(map, nullptr);
    CTALDataDoc doc(&Sample().GetTALVOProject());
    doc.SetData(map);
    const double step = doc.GetRpmStep();
    ASSERT_GT(step, 0.0) << "the sample's maps lie in a project with an RPM step";
    doc.SetSmoothingLength(500);
    EXPECT_EQ(doc.GetSmoothingWidth(), 0) << "smoothing is off";
    doc.SetItem(CQMXDataCore::ITEM_SMOOTHING, 1);
    doc.SetSmoothingLength(500);
    EXPECT_EQ(doc.GetSmoothingWidth(), static_cast<int>(500 / step));
    EXPECT_EQ(doc.GetItem(359), 500);
    ResetItems();
}

TEST(TALDataWindow, ShowsTheSampleMapInGridAndChart)
{
    ResetItems();
    auto* map = SampleMap();
    ASSERT_NE(map, nullptr);
    Frame holder(CTALDataFrame::Open(nullptr, map));
    auto* frame = qobject_cast<CTALDataFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    CTALDataDoc* doc = frame->GetTALDocument();
    EXPECT_EQ(doc->GetHSEAOptions(), &Sample().GetTALVOProject().GetHSEAOptions());

    // Frequency across: one subset per RPM, the table of the first.
    doc->SetItem(CQMXDataCore::ITEM_AXIS, 0);
    frame->OnCommand(CQMXDataFrame::IDC_AXIS_FREQ);
    EXPECT_EQ(frame->GetSelectView()->ListModel()->rowCount(), map->GetRpmCount());
    frame->GetSelectView()->SelectSubset(2);
    EXPECT_EQ(doc->GetCurrentSubset(), 2);
    ExpectTableGrid(*frame->GetTableView(), *map, 2, 2);
    ExpectCurveMatches(*frame->GetGraphView(), 0, *map, 2, 1);
    EXPECT_EQ(frame->GetGraphView()->xAxis->scaleType(), QCPAxis::stLogarithmic);

    // The numbers, not the texts: in dB with 2 decimals the texts round what the curve keeps.
    int compared = 0, differs = 0;
    for (int p = 0; p < frame->GetGraphView()->Curve(0)->dataCount(); ++p) {
        const double y = frame->GetGraphView()->Curve(0)->data()->at(p)->value;
        double shown = 0.0;
        if (std::sscanf(map->GetTableCellData(p + 1, 1, 2, 2).c_str(), "%lf", &shown) != 1)
            continue;
        ++compared;
        differs += shown != y;
        EXPECT_NEAR(shown, y, 0.005 + 1e-9);
    }
    EXPECT_GT(compared, 0);
    EXPECT_GT(differs, 0);

    // RPM across with every subset plotted: one curve per band over RPM, the chosen one bold.
    Sample().GetTALVOProject().GetHSEAOptions().HSS_PlotAllData = 1;
    frame->OnCommand(CQMXDataFrame::IDC_AXIS_RPM);
    EXPECT_EQ(frame->GetSelectView()->ListModel()->headerData(0, Qt::Horizontal).toString(), "Freq. [Hz]");
    EXPECT_EQ(frame->GetGraphView()->CurveCount(), map->GetFreqCount());
    EXPECT_EQ(frame->GetGraphView()->xAxis->label(), "RPM");
    ExpectCurveMatches(*frame->GetGraphView(), map->GetFreqCount() - 1, *map, map->GetFreqCount() - 1, 1);
    frame->GetSelectView()->SelectSubset(3);
    EXPECT_EQ(frame->GetGraphView()->HighlightedCurve(), 3);
    EXPECT_EQ(frame->GetGraphView()->CurveCount(), map->GetFreqCount());

    // A click on a point shows its subset and row.
    emit frame->GetGraphView()->PointClicked(5, 4, 0.0, 0.0);
    EXPECT_EQ(doc->GetCurrentSubset(), 5);
    EXPECT_EQ(frame->GetTableView()->CurrentCell().y, 5);

    frame->resize(1000, 560);
    ExpectLayout(*frame, "tal-data-window");
    ResetItems();
}

// A map too long to chart at once: the window shows with an empty chart, and the curve follows
// from the event loop, all of it (its extremes are the column's), also when the subset changes
// part way.
TEST(TALDataWindow, LongMapIsChartedAfterTheWindowShows)
{
    ResetItems();
    constexpr int kRows = 3 * CTALDataGraphView::kImmediateValues / 2;
    const std::vector<double> freqs{500.0, 1000.0};
    std::vector<double> rpms(static_cast<size_t>(kRows));
    for (int r = 0; r < kRows; ++r)
        rpms[static_cast<size_t>(r)] = 800.0 + 0.05 * r;
    auto map = CZuRpmFunc::NewRpmFunc("Long", 64, nullptr, "Roof", freqs.data(), 2, rpms.data(), kRows);
    for (int r = 0; r < kRows; ++r)
        for (int b = 0; b < 2; ++b)
            map->DataValue(r, b) = 1e-3 * (1.0 + ((r * 7 + b * 13) % 101) / 10.0) * (r == kRows - 3 ? 50.0 : 1.0);
    // The map belongs to no project: the window is given the container whose items it keeps.
    Frame holder(CTALDataFrame::Open(nullptr, map.get(), &Sample().GetTALVOProject()));
    auto* frame = qobject_cast<CTALDataFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    CTALDataDoc* doc = frame->GetTALDocument();
    doc->SetItem(CQMXDataCore::ITEM_AXIS, 1);
    frame->OnCommand(CQMXDataFrame::IDC_AXIS_RPM);
    CTALDataGraphView* graph = frame->GetGraphView();
    ASSERT_TRUE(graph->IsBuilding());
    EXPECT_EQ(graph->CurveCount(), 0);
    QCoreApplication::processEvents();
    frame->GetSelectView()->SelectSubset(1); // starts over with the other band
    for (int turn = 0; turn < 1000 && graph->IsBuilding(); ++turn)
        QCoreApplication::processEvents();
    ASSERT_FALSE(graph->IsBuilding());
    ASSERT_EQ(graph->CurveCount(), 1);
    std::vector<double> column;
    map->GetTableColumnValues(1, 1, column);
    double largest = 0.0;
    for (double v : column)
        largest = std::max(largest, v);
    EXPECT_DOUBLE_EQ(graph->GetMaxY(), largest);
    EXPECT_DOUBLE_EQ(graph->GetMaxX(), rpms.back());
    EXPECT_DOUBLE_EQ(graph->GetMinX(), rpms.front());
    // Read a step at a time, the curve is drawn through the very points the chart keeps of the
    // whole column, and a click names the row of the map.
    CZuChart whole;
    QCPGraph* reference = whole.AddCurve("whole", QVector<double>(rpms.begin(), rpms.end()),
                                         QVector<double>(column.begin(), column.end()));
    QCPGraph* drawn = graph->Curve(0);
    ASSERT_EQ(drawn->dataCount(), reference->dataCount());
    ASSERT_LT(drawn->dataCount(), kRows);
    for (int i = 0; i < drawn->dataCount(); ++i) {
        ASSERT_EQ(drawn->data()->at(i)->key, reference->data()->at(i)->key) << i;
        ASSERT_EQ(drawn->data()->at(i)->value, reference->data()->at(i)->value) << i;
        ASSERT_EQ(graph->SourcePoint(0, i), whole.SourcePoint(0, i)) << i;
    }
    // No project owns the map, so its table holds linear values, whatever the window's project
    // shows: the axis says so too.
    EXPECT_EQ(frame->GetTableView()->TableModel()->headerData(0, Qt::Horizontal).toString(), "Pressure [Pa]");
    EXPECT_EQ(graph->yAxis->label(), "Pressure [Pa]");
    EXPECT_EQ(graph->yAxis->scaleType(), QCPAxis::stLogarithmic);
    frame->resize(1000, 560);
    ExpectLayout(*frame, "tal-data-window-long-map");
    ResetItems();
}

// A long curve is read in pieces side by side and the pieces' extremes merged: the chart shows the
// very points, bounds and source rows of the column reduced in one go, wherever the pieces are cut
// (ties on both sides of a cut keep the first, gaps stay gaps), one band or all of them.
TEST(TALDataWindow, LongMapReadInPiecesIsDrawnAsReadWhole)
{
    constexpr int kPiece = CTALDataGraphView::kPieceRows;
    const struct
    {
        int rows;
        bool plotAll;
    } cases[] = {{2 * kPiece, false}, {3 * kPiece + 7, true}, {9 * kPiece + 1001, false}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.rows);
        ResetItems();
        const std::vector<double> freqs{500.0, 1000.0, 2000.0};
        std::vector<double> rpms(static_cast<size_t>(k.rows));
        for (int r = 0; r < k.rows; ++r)
            rpms[static_cast<size_t>(r)] = 800.0 + 0.05 * r;
        auto map = CZuRpmFunc::NewRpmFunc("Pieces", 64, nullptr, "Roof", freqs.data(), 3, rpms.data(), k.rows);
        for (int r = 0; r < k.rows; ++r)
            for (int b = 0; b < 3; ++b)
                map->DataValue(r, b) = 1e-3 * (1.0 + ((r * 7 + b * 13) % 101) / 10.0);
        // The same peak and dip just before and after every cut between two pieces of a few
        // threads' worth, and a stretch without numbers across one.
        for (int cut = kPiece; cut < k.rows; cut += kPiece)
            for (int r : {cut - 1, cut}) {
                map->DataValue(r, 0) = 5.0;
                map->DataValue(r, 1) = 1e-9;
            }
        for (int r = kPiece - 300; r < kPiece + 300; ++r)
            map->DataValue(r, 2) = 0.0; // no level: a gap
        Frame holder(CTALDataFrame::Open(nullptr, map.get(), &Sample().GetTALVOProject()));
        auto* frame = qobject_cast<CTALDataFrame*>(holder.frame.data());
        ASSERT_NE(frame, nullptr);
        CTALDataDoc* doc = frame->GetTALDocument();
        doc->SetItem(CQMXDataCore::ITEM_AXIS, 1);
        if (k.plotAll)
            doc->TogglePlotAll();
        else
            frame->OnCommand(CQMXDataFrame::IDC_AXIS_RPM);
        CTALDataGraphView* graph = frame->GetGraphView();
        for (int turn = 0; turn < 10000 && graph->IsBuilding(); ++turn)
            QCoreApplication::processEvents();
        ASSERT_FALSE(graph->IsBuilding());
        const int bands = k.plotAll ? 3 : 1;
        ASSERT_EQ(graph->CurveCount(), bands);
        double largest = 0.0, smallest = 1e300;
        for (int b = 0; b < bands; ++b) {
            std::vector<double> column;
            map->GetTableColumnValues(1, k.plotAll ? b : doc->GetCurrentSubset(), column);
            for (double v : column)
                if (v > 0.0) {
                    largest = std::max(largest, v);
                    smallest = std::min(smallest, v);
                }
            CZuChart whole;
            QCPGraph* reference = whole.AddCurve("whole", QVector<double>(rpms.begin(), rpms.end()),
                                                 QVector<double>(column.begin(), column.end()));
            QCPGraph* drawn = graph->Curve(b);
            ASSERT_EQ(drawn->dataCount(), reference->dataCount()) << b;
            for (int i = 0; i < drawn->dataCount(); ++i) {
                const double y = drawn->data()->at(i)->value, wholeY = reference->data()->at(i)->value;
                ASSERT_EQ(drawn->data()->at(i)->key, reference->data()->at(i)->key) << b << " " << i;
                ASSERT_TRUE(y == wholeY || (std::isnan(y) && std::isnan(wholeY))) << b << " " << i;
                ASSERT_EQ(graph->SourcePoint(b, i), whole.SourcePoint(0, i)) << b << " " << i;
            }
        }
        EXPECT_DOUBLE_EQ(graph->GetMaxY(), largest);
        EXPECT_DOUBLE_EQ(graph->GetMinY(), smallest);
        EXPECT_DOUBLE_EQ(graph->GetMinX(), rpms.front());
        EXPECT_DOUBLE_EQ(graph->GetMaxX(), rpms.back());
        if (k.plotAll)
            doc->TogglePlotAll();
    }
    ResetItems();
}

// A long curve is read by the pool from the moment the window opens. The map changed, the window
// closed or the map deleted while that read goes on: the change waits for the read, the window's
// end stops it, and nothing is read from rows that went.
TEST(TALDataWindow, LongMapChangedOrClosedWhileThePoolReadsIt)
{
    constexpr int kRows = 8 * CTALDataGraphView::kPieceRows;
    const std::vector<double> freqs{500.0, 1000.0};
    std::vector<double> rpms(static_cast<size_t>(kRows));
    for (int r = 0; r < kRows; ++r)
        rpms[static_cast<size_t>(r)] = 800.0 + 0.05 * r;
    for (int what = 0; what < 3; ++what) {
        SCOPED_TRACE(what);
        ResetItems();
        Sample().GetTALVOProject().GetZuStdDataList()->SetInt(CQMXDataCore::ITEM_AXIS, 1); // a row per RPM
        auto map = CZuRpmFunc::NewRpmFunc("Long", 64, nullptr, "Roof", freqs.data(), 2, rpms.data(), kRows);
        for (int r = 0; r < kRows; ++r)
            map->DataValue(r, 0) = 1e-3 * (1.0 + r % 101);
        Frame holder(CTALDataFrame::Open(nullptr, map.get(), &Sample().GetTALVOProject()));
        auto* frame = qobject_cast<CTALDataFrame*>(holder.frame.data());
        ASSERT_NE(frame, nullptr);
        CTALDataGraphView* graph = frame->GetGraphView();
        ASSERT_TRUE(graph->IsBuilding());
        if (what == 0) {
            map->RemoveRows(kRows / 2, kRows / 2); // the window is told nothing of it
            map->DataValue(0, 0) = 5.0;
            for (int turn = 0; turn < 10000 && graph->IsBuilding(); ++turn)
                QCoreApplication::processEvents();
            ASSERT_FALSE(graph->IsBuilding());
            EXPECT_EQ(graph->CurveCount(), 1);
        } else if (what == 1) {
            delete frame;
            EXPECT_TRUE(holder.frame.isNull());
        } else {
            map.reset(); // closes the window
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
    }
    ResetItems();
}

TEST(TALDataWindow, CopyPasteUndoThroughTheGrid)
{
    ResetItems();
    auto* map = SampleMap();
    ASSERT_NE(map, nullptr);
    Frame holder(CTALDataFrame::Open(nullptr, map));
    auto* frame = qobject_cast<CTALDataFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    frame->GetSelectView()->SelectSubset(1);
    CTALDataTableView* grid = frame->GetTableView();
    const int index = grid->GetSubset();
    ASSERT_EQ(index, 1);
    auto value = [&](int row) {
        double v = 0.0;
        map->GetTableCellValue(row, 1, index, v);
        return v;
    };
    const int rows = map->GetTableRowCount(index) - 1;
    ASSERT_GT(rows, 4);
    std::vector<double> before;
    for (int r = 1; r <= rows; ++r)
        before.push_back(value(r));

    // Copy rows 2..4 (values only), paste them at row 1: rows 1..3 take them.
    grid->SelectCell(2, 1);
    grid->selectionModel()->select(QItemSelection(grid->TableModel()->IndexOf(2, 1), grid->TableModel()->IndexOf(4, 1)),
                                   QItemSelectionModel::Select);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_COPY_VALUES));
    grid->SelectCell(1, 1);
    CScriptedPrompts prompts;
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    EXPECT_EQ(prompts.Count(), 0u);
    for (int r = 1; r <= 3; ++r)
        EXPECT_NEAR(value(r), before[static_cast<size_t>(r)],
                    1e-9 * std::max(1.0, std::fabs(before[static_cast<size_t>(r)])))
            << r;
    EXPECT_NEAR(value(4), before[3], 1e-12);
    // The chart follows the pasted values.
    EXPECT_DOUBLE_EQ(frame->GetGraphView()->Curve(0)->data()->at(0)->value, value(1));

    // Undo takes the whole paste back.
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_UNDO));
    for (int r = 1; r <= rows; ++r)
        EXPECT_DOUBLE_EQ(value(r), before[static_cast<size_t>(r - 1)]) << r;

    // A paste on a header is refused with 6111 and changes nothing.
    grid->SelectCell(0, 1);
    EXPECT_FALSE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6111u);
    for (int r = 1; r <= rows; ++r)
        EXPECT_DOUBLE_EQ(value(r), before[static_cast<size_t>(r - 1)]) << r;
    // An empty clipboard: 6018.
    SetClipboardText(std::string());
    grid->SelectCell(1, 1);
    EXPECT_FALSE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    EXPECT_EQ(prompts.Last().stringId, 6018u);
    ResetItems();
}

TEST(QMXDataFrame, BarEditsTheStoredSettings)
{
    ResetItems();
    auto* map = SampleMap();
    ASSERT_NE(map, nullptr);
    Frame holder(CTALDataFrame::Open(nullptr, map));
    auto* frame = qobject_cast<CTALDataFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    frame->show();
    CTALDataDoc* doc = frame->GetTALDocument();
    CHSEAOptions& options = Sample().GetTALVOProject().GetHSEAOptions();
    auto button = [&](int id) { return qobject_cast<QAbstractButton*>(frame->Control(id)); };
    auto combo = [&](int id) { return qobject_cast<QComboBox*>(frame->Control(id)); };

    // Frequency across: the band-range controls are off and the map gets no range.
    frame->OnCommand(CQMXDataFrame::IDC_AXIS_FREQ);
    EXPECT_FALSE(button(CQMXDataFrame::IDC_BAND_RANGE)->isEnabled());
    EXPECT_FALSE(combo(CQMXDataFrame::IDC_FIRST_BAND)->isEnabled());
    EXPECT_EQ(map->GetOverallFirst(), -1);
    EXPECT_EQ(map->GetOverallLast(), -1);

    // RPM across, band-range mode: dB display is forced, the list pane collapses.
    options.HSS_ShowDataInDB = 0;
    frame->OnCommand(CQMXDataFrame::IDC_AXIS_RPM);
    frame->OnCommand(CQMXDataFrame::IDC_BAND_RANGE);
    EXPECT_EQ(options.HSS_ShowDataInDB, 1);
    EXPECT_EQ(doc->GetItem(357), 1);
    EXPECT_FALSE(frame->IsListPaneShown());
    EXPECT_TRUE(combo(CQMXDataFrame::IDC_LAST_BAND)->isEnabled());

    // Band combos chosen last-before-first are stored in order and reach the map.
    combo(CQMXDataFrame::IDC_FIRST_BAND)->setCurrentIndex(5);
    combo(CQMXDataFrame::IDC_LAST_BAND)->setCurrentIndex(2);
    frame->OnCommand(CQMXDataFrame::IDC_LAST_BAND);
    EXPECT_EQ(doc->GetItem(360), 2);
    EXPECT_EQ(doc->GetItem(361), 5);
    EXPECT_EQ(combo(CQMXDataFrame::IDC_FIRST_BAND)->currentIndex(), 2);
    EXPECT_EQ(map->GetOverallFirst(), 2);
    EXPECT_EQ(map->GetOverallLast(), 5);

    // Back to single bands: the list returns, dB display stays on.
    frame->OnCommand(CQMXDataFrame::IDC_SINGLE_BANDS);
    EXPECT_TRUE(frame->IsListPaneShown());
    EXPECT_EQ(options.HSS_ShowDataInDB, 1);
    EXPECT_EQ(map->GetOverallFirst(), -1);

    // Smoothing: the edit follows the check box; a non-number is length 0.
    EXPECT_FALSE(frame->Control(CQMXDataFrame::IDC_SMOOTHING_LENGTH)->isEnabled());
    button(CQMXDataFrame::IDC_SMOOTHING)->setChecked(true);
    frame->OnCommand(CQMXDataFrame::IDC_SMOOTHING);
    EXPECT_EQ(doc->GetItem(358), 1);
    EXPECT_TRUE(frame->Control(CQMXDataFrame::IDC_SMOOTHING_LENGTH)->isEnabled());
    auto* edit = qobject_cast<QLineEdit*>(frame->Control(CQMXDataFrame::IDC_SMOOTHING_LENGTH));
    edit->setText("abc");
    frame->OnCommand(CQMXDataFrame::IDC_SMOOTHING_LENGTH, 0x700);
    EXPECT_EQ(doc->GetItem(359), 0);
    EXPECT_EQ(map->GetSmoothingWidth(), 0);

    // Options changed elsewhere: no dB display means no band-range mode.
    frame->OnCommand(CQMXDataFrame::IDC_BAND_RANGE);
    options.HSS_ShowDataInDB = 0;
    options.WeightingFilter = 0;
    frame->SendMessage(WM_ZU_OPTIONS_CHANGED);
    EXPECT_TRUE(button(CQMXDataFrame::IDC_SINGLE_BANDS)->isChecked());
    EXPECT_TRUE(button(CQMXDataFrame::IDC_NO_WEIGHTING)->isChecked());
    options.WeightingFilter = 1;
    ResetItems();
}

// At a tiled window's width the bar wraps: every control stays whole inside the window, none
// hidden behind a scroll arrow, and the grid keeps the rest of the height.
TEST(QMXDataFrame, BarShowsEveryControlInANarrowWindow)
{
    ResetItems();
    auto* map = SampleMap();
    ASSERT_NE(map, nullptr);
    Frame holder(CTALDataFrame::Open(nullptr, map));
    auto* frame = qobject_cast<CTALDataFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    for (int width : {1200, 540, 380}) {
        SCOPED_TRACE(width);
        frame->resize(width, 540);
        frame->show();
        QApplication::processEvents();
        for (int id : {CQMXDataFrame::IDC_AXIS_FREQ, CQMXDataFrame::IDC_AXIS_RPM, CQMXDataFrame::IDC_SINGLE_BANDS,
                       CQMXDataFrame::IDC_BAND_RANGE, CQMXDataFrame::IDC_FIRST_BAND, CQMXDataFrame::IDC_LAST_BAND,
                       CQMXDataFrame::IDC_SMOOTHING, CQMXDataFrame::IDC_SMOOTHING_LENGTH,
                       CQMXDataFrame::IDC_A_WEIGHTING, CQMXDataFrame::IDC_NO_WEIGHTING, CQMXDataFrame::IDC_COPY_ALL}) {
            QWidget* control = frame->Control(id);
            ASSERT_NE(control, nullptr) << id;
            const QRect at(control->mapTo(frame, QPoint(0, 0)), control->size());
            EXPECT_TRUE(frame->rect().contains(at)) << id << " at " << at.x() << "," << at.y() << " " << at.width();
            EXPECT_GE(control->width(), control->minimumSizeHint().width()) << id;
        }
        for (QWidget* w : frame->findChildren<QWidget*>())
            EXPECT_FALSE(w->objectName().endsWith("Scroller") && w->isVisible()) << "the bar needs no scrolling";
    }
    ExpectLayout(*frame, "tal-data-window-narrow");
    ResetItems();
}

TEST(QMXDataFrame, AWeightingIsOfferedForSoundQuantities)
{
    struct Case
    {
        int type;
        bool acoustic;
        bool allowed;
    };
    const Case cases[] = {{54, false, true},  {92, false, true},   {96, false, true}, {105, false, true},
                          {64, true, true},   {87, true, true},    {103, true, true}, {64, false, false},
                          {87, false, false}, {103, false, false}, {53, true, false}, {0, true, false}};
    for (const Case& c : cases)
        EXPECT_EQ(CQMXDataFrame::IsAWeightingAllowed(c.type, c.acoustic), c.allowed) << c.type << " " << c.acoustic;
}

TEST(RMVDataWindow, ShowsTheSampleFunctionAndPastesIntoTheSubsetShown)
{
    ResetItems();
    Sample();
    CZuRpmMultiVecFunc* func = g_spl;
    ASSERT_NE(func, nullptr);
    Frame holder(CRMVDataFrame::Open(nullptr, func));
    auto* frame = qobject_cast<CRMVDataFrame*>(holder.frame.data());
    ASSERT_NE(frame, nullptr);
    ASSERT_GT(func->GetTableFreqCount(), 2);
    frame->GetSelectView()->SelectSubset(2);
    CRMVDataTableView* grid = frame->GetTableView();
    EXPECT_EQ(grid->GetSubset(), 2);
    ExpectTableGrid(*grid, *func, 2, 2);
    const int columns = func->GetTableColCount(2) - 1;
    ASSERT_GT(columns, 0);
    EXPECT_EQ(frame->GetGraphView()->CurveCount(), columns);
    ExpectCurveMatches(*frame->GetGraphView(), columns - 1, *func, 2, columns);

    // A clicked cell draws its subsystem's curve bold.
    emit grid->CellClicked(1, columns);
    EXPECT_EQ(frame->GetGraphView()->HighlightedCurve(), columns - 1);

    // Copy a cell of subset 2 and paste it over its neighbour: subset 2 changes, subset 0 not.
    auto cell = [&](int row, int col, int index) {
        double v = 0.0;
        func->GetTableCellValue(row, col, index, v);
        return v;
    };
    const double subset0 = cell(1, 1, 0);
    const double source = cell(2, 1, 2);
    grid->SelectCell(2, 1);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_COPY_VALUES));
    grid->SelectCell(1, 1);
    CScriptedPrompts prompts;
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    EXPECT_NEAR(cell(1, 1, 2), source, 1e-9 * std::max(1.0, std::fabs(source)));
    EXPECT_DOUBLE_EQ(cell(1, 1, 0), subset0);
    ASSERT_TRUE(grid->OnCommand(CZuTableGrid::ID_EDIT_UNDO));
    grid->SelectCell(1, 0);
    EXPECT_FALSE(grid->OnCommand(CZuTableGrid::ID_EDIT_PASTE));
    EXPECT_EQ(prompts.Last().stringId, 6111u);

    frame->resize(1000, 560);
    ExpectLayout(*frame, "rmv-data-window");
    ResetItems();
}

TEST(DataViewOpeners, OneWindowPerElementClosedWithIt)
{
    ResetItems();
    if (GetTALVOApp().GetTemplateCount() == 0)
        GetTALVOApp().RegisterDocTemplates();
    InstallDataViewOpeners(nullptr);
    auto* map = SampleMap();
    ASSERT_NE(map, nullptr);
    // A copy of the sample's map in the same folder, so deleting it leaves the sample whole.
    auto copy = CZuRpmFunc::NewRpmFunc("Copy", map->GetType(), nullptr, map->GetLabel(), map->GetFreqArray().data(),
                                       map->GetFreqCount(), map->GetRpmArray().data(), map->GetRpmCount());
    CZuRpmFunc* own = map->GetParent()->AddChild(std::move(copy));
    ASSERT_NE(own, nullptr);

    ASSERT_TRUE(GetTALVOApp().OpenDataView(own));
    QPointer<CZuTableDataFrame> frame = CZuTableDataFrame::FindFrame(own);
    ASSERT_FALSE(frame.isNull());
    EXPECT_TRUE(GetTALVOApp().OpenDataView(own));
    EXPECT_EQ(CZuTableDataFrame::FindFrame(own), frame.data());
    EXPECT_EQ(QApplication::topLevelWidgets().count(frame.data()), 1);

    // An opener refuses an element of another class.
    EXPECT_FALSE(GetTALVOApp().OpenElementFrame("SwAxisView", own));
    EXPECT_FALSE(GetTALVOApp().OpenDataView(nullptr));

    // The element goes: the window closes without touching it.
    own->GetParent()->DeleteChild(own);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull());

    // A map elsewhere in the tree opens through its template as well.
    Sample();
    CZuRpmMultiVecFunc* rmv = g_spl;
    ASSERT_TRUE(GetTALVOApp().OpenElementFrame("RMVView", rmv));
    QPointer<CZuTableDataFrame> second = CZuTableDataFrame::FindFrame(rmv);
    ASSERT_FALSE(second.isNull());
    delete second.data();
    EXPECT_EQ(rmv->GetThisFrameWnd(), nullptr);
    RemoveDataViewOpeners();
    ResetItems();
}

// Windows over elements that share a name never share a title: each names its element, the
// quantity it holds and its project, and a same-named twin gets a number.
TEST(DataViewOpeners, TitlesTellSameNamedWindowsApart)
{
    ResetItems();
    if (GetTALVOApp().GetTemplateCount() == 0)
        GetTALVOApp().RegisterDocTemplates();
    QMdiArea area;
    InstallDataViewOpeners(&area);
    auto* map = SampleMap();
    ASSERT_NE(map, nullptr);
    const CBaseProject* project = nullptr;
    for (const CMElement* e = map->GetParent(); e && !project; e = e->GetParent())
        project = dynamic_cast<const CBaseProject*>(e);
    ASSERT_NE(project, nullptr);
    CMElement* folder = map->GetParent();
    std::vector<CZuRpmFunc*> added;
    for (int kind : {3, 5, 3}) {
        auto roof = CZuRpmFunc::NewRpmFunc("Roof", kind, nullptr, map->GetLabel(), map->GetFreqArray().data(),
                                           map->GetFreqCount(), map->GetRpmArray().data(), map->GetRpmCount());
        added.push_back(folder->AddChild(std::move(roof)));
    }
    QStringList titles;
    for (CZuRpmFunc* roof : added) {
        ASSERT_TRUE(GetTALVOApp().OpenDataView(roof));
        titles << CZuTableDataFrame::FindFrame(roof)->windowTitle();
    }
    const QString projectName = QString::fromStdString(project->GetName());
    EXPECT_EQ(titles[0], "Roof - Input Power - " + projectName);
    EXPECT_EQ(titles[1], "Roof - Energy - " + projectName);
    EXPECT_EQ(titles[2], "Roof - Input Power - " + projectName + " (2)");
    for (QMdiSubWindow* sub : area.subWindowList())
        EXPECT_TRUE(titles.contains(sub->windowTitle())) << sub->windowTitle().toStdString();
    // Opening a window again keeps its title.
    ASSERT_TRUE(GetTALVOApp().OpenDataView(added[0]));
    EXPECT_EQ(CZuTableDataFrame::FindFrame(added[0])->windowTitle(), titles[0]);

    for (CZuRpmFunc* roof : added)
        folder->DeleteChild(roof);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    RemoveDataViewOpeners();
    ResetItems();
}

// A window over an element keeps its items in the container the element belongs to, found through
// its owners: a project's, the DAQ project's for measured data, none for an element of no project
// even while a document is open.
TEST(DataViewOpeners, AnElementNamesItsOwnContainer)
{
    // The sample is the open document here, whichever documents the tests before this one opened
    // and closed; theirs is put back afterwards.
    struct SMainDocument
    {
        CTALVODoc* before = GetTALVOApp().GetMainDocument();
        ~SMainDocument() { GetTALVOApp().SetMainDocument(before); }
    } restore;
    GetTALVOApp().SetMainDocument(&Sample());
    ASSERT_EQ(GetTALVOApp().GetMainDocument(), &Sample());
    CTALVOProject container;
    CDaqProject* daq = container.AddDaqProject();
    ASSERT_NE(daq, nullptr);
    CMElement* inProject = daq->AddChild(std::make_unique<CMElement>("Folder", daq, 100));
    CExpProject measured("DAQ System", nullptr, -1);
    measured.SetDAQProject(daq);
    CMElement* channel = measured.AddChild(std::make_unique<CMElement>("Roof:01", &measured, 11));
    CMElement stray("Stray", nullptr, 1);
    EXPECT_EQ(FindProjectContainer(inProject), &container);
    EXPECT_EQ(FindProjectContainer(channel), &container);
    EXPECT_EQ(FindProjectContainer(&stray), nullptr);
    measured.SetDAQProject(nullptr);
    EXPECT_EQ(FindProjectContainer(channel), nullptr);
}
