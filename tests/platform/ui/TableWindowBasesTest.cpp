// The bases of the table windows: the grid over a table element (only the cells in sight are read,
// clipboard and undo), the chart's curves and ranges, the frame's one-window-per-element record,
// and the cell search dialogs.
#include "platform/archive/Archive.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuTableData.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/ui/SearchDataInMatrixDlg.h"
#include "platform/ui/SearchDataInVectorDlg.h"
#include "platform/ui/ZuChart.h"
#include "platform/ui/ZuCurveEnvelope.h"
#include "platform/ui/ZuTableDataDoc.h"
#include "platform/ui/ZuTableDataFrame.h"
#include "platform/ui/ZuTableGrid.h"
#include "platform/ui/ZuTableModel.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "support/WidgetShot.h"

#include <QApplication>
#include <QDir>
#include <QVBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {
// A table of rows x cols numbers (row r, column c holds r * 1000 + c), one index.
class CNumberTable : public CZuTableData
{
public:
    CNumberTable(int rows, int cols) : CZuTableData("Numbers", nullptr, 0), m_rows(rows), m_cols(cols)
    {
        m_values.assign(static_cast<size_t>(rows) * static_cast<size_t>(cols), 0.0);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                At(r, c) = r * 1000.0 + c;
    }
    double& At(int r, int c) { return m_values[static_cast<size_t>(r) * static_cast<size_t>(m_cols) + c]; }
    int GetTableRowCount(int) override { return m_rows + 1; }
    int GetTableColCount(int) override { return m_cols + 1; }
    int GetTableFreqCount() override { return 1; }
    std::string GetTableCellData(int row, int col, int, int decimals) override
    {
        if (row == 0)
            return col == 0 ? "Row" : "C" + std::to_string(col);
        if (col == 0)
            return std::to_string(row);
        char text[64];
        std::snprintf(text, sizeof(text), "%.*f", decimals, At(row - 1, col - 1));
        return text;
    }
    bool GetTableCellValue(int row, int col, int, double& value) override
    {
        value = At(row - 1, col - 1);
        return true;
    }
    void ChangeDataValue(int row, int col, int index, double value, int flag) override
    {
        if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
            return;
        if (flag)
            PushUndo(row, col, index, At(row, col));
        At(row, col) = value;
    }

private:
    int m_rows;
    int m_cols;
    std::vector<double> m_values;
};
} // namespace

TEST(ZuTableGrid, AsksOnlyForTheCellsInSight)
{
    CNumberTable table(10000, 100);
    CZuTableGrid grid;
    grid.SetTable(&table, 0);
    grid.resize(640, 400);
    grid.show();
    QApplication::processEvents();
    grid.grab();
    EXPECT_EQ(grid.TableModel()->rowCount(), 10000);
    EXPECT_EQ(grid.TableModel()->columnCount(), 100);
    const long long first = grid.TableModel()->CellRequests();
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 2000) << "a screen holds a few hundred cells, not a million";
    grid.TableModel()->ResetCellRequests();
    grid.scrollToBottom();
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    QApplication::processEvents();
    grid.grab();
    EXPECT_LT(grid.TableModel()->CellRequests(), 2000);
    EXPECT_EQ(grid.TableModel()->index(9999, 99).data().toString(), "9999099.00");
}

TEST(ZuTableGrid, CopyPasteUndoAndHeaderPaste)
{
    CNumberTable table(20, 5);
    CZuTableGrid grid;
    grid.SetTable(&table, 0);
    grid.resize(400, 300);
    grid.show();
    QApplication::processEvents();
    CScriptedPrompts prompts;

    // A block of 2 x 2 copied without labels is its tab-separated numbers.
    grid.SelectCell(2, 2);
    grid.selectionModel()->select(QItemSelection(grid.TableModel()->IndexOf(2, 2), grid.TableModel()->IndexOf(3, 3)),
                                  QItemSelectionModel::Select);
    const CZuCellRect rect = grid.SelectionRect();
    EXPECT_EQ(rect.left, 2);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.right, 3);
    EXPECT_EQ(rect.bottom, 3);
    ASSERT_TRUE(grid.CopySelection(0, 0));
    std::string text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, "1001.000000000000000\t1002.000000000000000\r\n2001.000000000000000\t2002.000000000000000\r\n");

    // Pasted at (5, 1): the block lands there; undo takes the whole paste back.
    grid.SelectCell(5, 1);
    ASSERT_TRUE(grid.OnPaste());
    EXPECT_EQ(table.At(4, 0), 1001.0);
    EXPECT_EQ(table.At(5, 1), 2002.0);
    ASSERT_TRUE(grid.OnUndo());
    EXPECT_EQ(table.At(4, 0), 4000.0);
    EXPECT_EQ(table.At(5, 1), 5001.0);
    EXPECT_EQ(table.GetUndoBufferSize(), 0);
    EXPECT_FALSE(grid.OnUndo());

    // Header cells refuse the paste.
    for (auto [row, col] : {std::pair{0, 2}, std::pair{3, 0}, std::pair{0, 0}}) {
        grid.SelectCell(row, col);
        EXPECT_EQ(grid.CurrentCell().y, row);
        EXPECT_EQ(grid.CurrentCell().x, col);
        EXPECT_FALSE(grid.OnPaste());
        EXPECT_EQ(prompts.Last().stringId, 6111u);
    }
    EXPECT_EQ(table.At(2, 1), 2001.0);
}

TEST(ZuChart, CurvesHighlightAndDecadeRanges)
{
    double low = 0.0, high = 0.0;
    EXPECT_TRUE(CZuChart::DecadeRange(0.05, 250.0, low, high));
    EXPECT_DOUBLE_EQ(low, 0.01);
    EXPECT_DOUBLE_EQ(high, 1000.0);
    EXPECT_FALSE(CZuChart::DecadeRange(0.0, 1.0, low, high));
    EXPECT_FALSE(CZuChart::DecadeRange(5.0, 5.0, low, high));

    CZuChart chart;
    chart.AddCurve("a", {1, 10, 100}, {1, 2, 3});
    chart.AddCurve("b", {1, 10, 100}, {3, 2, 1});
    chart.SetLogAxisOver(chart.xAxis, 1, 100);
    EXPECT_EQ(chart.xAxis->scaleType(), QCPAxis::stLogarithmic);
    EXPECT_EQ(chart.CurveCount(), 2);
    chart.HighlightCurve(1);
    EXPECT_EQ(chart.HighlightedCurve(), 1);
    EXPECT_GT(chart.Curve(1)->pen().widthF(), chart.Curve(0)->pen().widthF());
    chart.HighlightCurve(-1);
    EXPECT_EQ(chart.Curve(1)->pen().widthF(), chart.Curve(0)->pen().widthF());

    // A long curve is drawn through fewer points that keep its peaks and dips, and clicks still
    // name the points by their own index.
    QVector<double> x(100000), y(100000);
    for (int i = 0; i < x.size(); ++i) {
        x[i] = i;
        y[i] = 1.0 + (i % 7);
    }
    y[54321] = 100.0;
    y[777] = -5.0;
    QCPGraph* longCurve = chart.AddCurve("long", x, y);
    EXPECT_LE(longCurve->dataCount(), CZuChart::kMaxDrawnPoints);
    double top = -1e300, bottom = 1e300;
    int peak = -1;
    for (int i = 0; i < longCurve->dataCount(); ++i) {
        const double v = longCurve->data()->at(i)->value;
        if (v > top) {
            top = v;
            peak = i;
        }
        bottom = std::min(bottom, v);
    }
    EXPECT_EQ(top, 100.0);
    EXPECT_EQ(bottom, -5.0);
    EXPECT_EQ(chart.SourcePoint(2, peak), 54321);
    EXPECT_EQ(chart.SourcePoint(0, 1), 1) << "short curves are drawn point for point";
}

// A curve handed over a stretch at a time, in pieces of any length, is reduced to the same points
// as when handed over whole; a stretch of nothing but gaps keeps one gap.
// A flat curve, or one that differs only in the last digits of its values (a ratio of two
// energies that rounds differently from band to band), gets an axis whose ticks read apart, on
// either scale; a curve that varies keeps the range that fits it.
TEST(ZuChart, AFlatCurveGetsTicksThatReadApart)
{
    struct Case
    {
        const char* what;
        QVector<double> y;
        bool log;
    };
    const double ratio = 0.524416;
    const Case cases[] = {
        {"ratio rounding apart, linear", {ratio, ratio + 1e-16, ratio - 1e-16, ratio}, false},
        {"one value, linear", {ratio, ratio, ratio, ratio}, false},
        {"a level, linear", {80.0, 80.0, 80.0, 80.0}, false},
        {"zero, linear", {0.0, 0.0, 0.0, 0.0}, false},
        {"ratio rounding apart, logarithmic", {ratio, ratio + 1e-16, ratio - 1e-16, ratio}, true},
        {"a power of ten, logarithmic", {1.0, 1.0, 1.0, 1.0}, true},
        {"a varying curve, linear", {1.0, 2.0, 4.0, 3.0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZuChart chart;
        chart.resize(500, 400);
        chart.AddCurve("curve", {100.0, 200.0, 400.0, 800.0}, c.y);
        if (c.log)
            chart.SetLogAxisOver(chart.yAxis, 0.0, 0.0);
        else
            CZuChart::FitLinearAxis(chart.yAxis);
        chart.replot();
        const QCPRange r = chart.yAxis->range();
        const auto [low, high] = std::minmax_element(c.y.begin(), c.y.end());
        EXPECT_LE(r.lower, *low);
        EXPECT_GE(r.upper, *high);
        const QVector<QString> ticks = chart.yAxis->tickVectorLabels();
        EXPECT_GE(ticks.size(), 2);
        EXPECT_EQ(QSet<QString>(ticks.begin(), ticks.end()).size(), ticks.size())
            << QStringList(ticks.begin(), ticks.end()).join(" | ").toStdString();
        if (*high - *low > 1.0) {
            EXPECT_DOUBLE_EQ(r.lower, *low) << "a curve that varies fills its axis";
            EXPECT_DOUBLE_EQ(r.upper, *high);
        }
    }
}

TEST(ZuCurveEnvelope, PiecesGiveThePointsOfTheWhole)
{
    constexpr int kPoints = 10007;
    std::vector<double> y(kPoints);
    for (int i = 0; i < kPoints; ++i)
        y[static_cast<size_t>(i)] = std::sin(i * 0.37) * (1.0 + i % 13);
    for (int i = 5000; i < 5200; ++i)
        y[static_cast<size_t>(i)] = NAN;
    y[3] = 1e6;
    CZuCurveEnvelope whole(kPoints, 100);
    whole.Add(y.data(), kPoints);
    ASSERT_TRUE(whole.IsComplete());
    std::vector<int> wholeIndex;
    std::vector<double> wholeY;
    whole.GetPoints(wholeIndex, wholeY);
    ASSERT_LE(wholeIndex.size(), 200u);
    EXPECT_EQ(wholeIndex[0], 3) << "the peak is kept";
    EXPECT_EQ(wholeY[0], 1e6);
    EXPECT_TRUE(std::is_sorted(wholeIndex.begin(), wholeIndex.end()));
    const auto gap = std::find(wholeIndex.begin(), wholeIndex.end(), 5003); // stretch 50: 5003 .. 5102
    ASSERT_NE(gap, wholeIndex.end());
    EXPECT_TRUE(std::isnan(wholeY[static_cast<size_t>(gap - wholeIndex.begin())]));

    for (int piece : {1, 7, 100, 4096}) {
        CZuCurveEnvelope pieces(kPoints, 100);
        for (int first = 0; first < kPoints; first += piece) {
            EXPECT_FALSE(pieces.IsComplete());
            pieces.Add(y.data() + first, std::min(piece, kPoints - first));
        }
        std::vector<int> index;
        std::vector<double> values;
        pieces.GetPoints(index, values);
        EXPECT_EQ(index, wholeIndex) << piece;
        for (size_t k = 0; k < index.size(); ++k)
            EXPECT_TRUE(values[k] == wholeY[k] || (std::isnan(values[k]) && std::isnan(wholeY[k]))) << piece;
    }
}

// A curve cut into pieces, each reduced on its own from its first point and merged in order, gives
// the points of the whole, wherever the cuts fall: inside a stretch with equal extremes on both
// sides (the first is kept), on a stretch's first point, inside a gap.
TEST(ZuCurveEnvelope, MergedPiecesGiveThePointsOfTheWhole)
{
    constexpr int kPoints = 10007;
    std::vector<double> y(kPoints);
    for (int i = 0; i < kPoints; ++i)
        y[static_cast<size_t>(i)] = std::sin(i * 0.37) * (1.0 + i % 13);
    for (int i : {2049, 2050, 4999, 5000})
        y[static_cast<size_t>(i)] = i < 3000 ? 1e6 : -1e6;
    for (int i = 7000; i < 7300; ++i)
        y[static_cast<size_t>(i)] = NAN;
    CZuCurveEnvelope whole(kPoints, 100);
    whole.Add(y.data(), kPoints);
    std::vector<int> wholeIndex;
    std::vector<double> wholeY;
    whole.GetPoints(wholeIndex, wholeY);
    ASSERT_NE(std::find(wholeIndex.begin(), wholeIndex.end(), 2049), wholeIndex.end());

    const std::vector<std::vector<int>> cutsOfCases{{2050, 5000}, {1, 2050, 2051, 5000, 7100}, {4903, 9999}, {}};
    for (const std::vector<int>& cuts : cutsOfCases) {
        std::vector<int> bounds{0};
        bounds.insert(bounds.end(), cuts.begin(), cuts.end());
        bounds.push_back(kPoints);
        CZuCurveEnvelope merged(kPoints, 100, 0);
        for (size_t p = 0; p + 1 < bounds.size(); ++p) {
            CZuCurveEnvelope piece(kPoints, 100, bounds[p]);
            piece.Add(y.data() + bounds[p], bounds[p + 1] - bounds[p]);
            if (p == 0)
                merged = piece;
            else
                merged.Merge(piece);
        }
        EXPECT_TRUE(merged.IsComplete());
        std::vector<int> index;
        std::vector<double> values;
        merged.GetPoints(index, values);
        EXPECT_EQ(index, wholeIndex) << cuts.size();
        ASSERT_EQ(values.size(), wholeY.size());
        for (size_t k = 0; k < index.size(); ++k)
            EXPECT_TRUE(values[k] == wholeY[k] || (std::isnan(values[k]) && std::isnan(wholeY[k]))) << k;
    }
}

namespace {
// The text the chart shows above the plot.
QString ShownTitle(CZuChart& chart)
{
    for (int i = 0; i < chart.plotLayout()->elementCount(); ++i)
        if (auto* text = qobject_cast<QCPTextElement*>(chart.plotLayout()->elementAt(i)))
            return text->text();
    return QString();
}
} // namespace

// A chart of several curves says which is which: a legend below the plot while it stays small
// enough to read, else the highlighted curve named in the title.
TEST(ZuChart, SeveralCurvesAreNamedByALegendOrTheTitle)
{
    CZuChart chart;
    chart.resize(600, 400);
    chart.SetTitle("Input Power", "Roof");
    const auto addCurves = [&chart](int n) {
        for (int i = chart.CurveCount(); i < n; ++i)
            chart.AddCurve(QString("%1 RPM").arg(1000 * (i + 1)), {1, 10, 100}, {1.0 + i, 2, 3});
        chart.UpdateLegend();
    };
    addCurves(1);
    EXPECT_FALSE(chart.legend->visible()) << "one curve is named by the title";
    addCurves(3);
    EXPECT_TRUE(chart.legend->visible());
    EXPECT_EQ(chart.legend->itemCount(), 3);
    EXPECT_EQ(chart.legend->layout(), chart.plotLayout()) << "below the plot, not over the curves";
    chart.HighlightCurve(1);
    EXPECT_EQ(ShownTitle(chart), "Input Power\nRoof");

    addCurves(CZuChart::kLegendCurves + 1);
    EXPECT_FALSE(chart.legend->visible());
    chart.HighlightCurve(4);
    EXPECT_EQ(ShownTitle(chart), "Input Power\nRoof\n5000 RPM");
    EXPECT_EQ(chart.Title(), "Input Power\nRoof");
    chart.HighlightCurve(-1);
    EXPECT_EQ(ShownTitle(chart), "Input Power\nRoof");
}

// A title too wide for a narrow chart goes onto two lines broken between words (or between
// characters where the text has no spaces), so its start stays whole; only what the second line
// cannot hold is cut short.
TEST(ZuChart, ANarrowChartWrapsItsTitle)
{
    struct Case
    {
        QString title;
        int width;
        bool whole; // every character shown
    };
    const Case cases[] = {
        {"Input Power [dB (ref=1W)] of the front roof panel", 300, true},
        {"Input Power [dB (ref=1W)] of the front roof panel", 1000, true},
        {QString::fromUtf8("\u5c4b\u6839\u524d\u90e8\u30d1\u30cd\u30eb\u306e\u5165\u529b\u30d1\u30ef\u30fc"), 160,
         true},
        {"Sound Pressure Level [dB (ref=2E-5Pa)] of the cabin microphone at the driver's right ear", 170, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString() + " at " + std::to_string(c.width));
        CZuChart chart;
        chart.resize(c.width, 300);
        chart.SetTitle(c.title);
        const QStringList lines = ShownTitle(chart).split('\n');
        ASSERT_LE(lines.size(), 2);
        EXPECT_EQ(lines.size() == 1, c.width == 1000);
        const QFontMetrics metrics(QFont(chart.font().family(), 10, QFont::Bold));
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line), c.width - 8) << line.toStdString();
        const QString joined = lines.join(c.title.contains(' ') ? " " : "");
        if (c.whole) {
            EXPECT_EQ(joined, c.title);
        } else {
            EXPECT_TRUE(c.title.startsWith(lines[0])) << "the first line is the title's start, whole";
            EXPECT_TRUE(lines[1].endsWith(QChar(0x2026)));
        }
        EXPECT_EQ(chart.Title(), c.title);
    }
}

// A chart squeezed by its window keeps what names the curves whole: the window cannot make it
// lower than its title, legend, horizontal axis and the whole upright label of the level need,
// also when these come after the window was laid out.
TEST(ZuChart, ASqueezedChartKeepsTitleLegendAndAxisLabelsWhole)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* chart = new CZuChart(&window);
    layout->addWidget(chart);
    window.resize(420, 60);
    window.show();
    QApplication::processEvents();

    chart->SetTitle("SPL by Input Power [Front Cabin-R]", "Freq : 10000");
    chart->xAxis->setLabel("RPM");
    chart->yAxis->setLabel("SPL [dB] (ref=2E-5Pa) (A-Weight)");
    for (int i = 0; i < 3; ++i)
        chart->AddCurve(QString("Subsystem %1").arg(i + 1), {1000, 1100, 1200}, {90.0 + i, 91, 92});
    chart->UpdateLegend();
    chart->replot();
    for (int round = 0; round < 3; ++round) // the layouts pass the new least size up in turns
        QApplication::processEvents();
    chart->replot();

    const QFontMetrics label(chart->yAxis->labelFont());
    EXPECT_GE(chart->axisRect()->height(), label.horizontalAdvance(chart->yAxis->label()))
        << "the level's label runs along the plot whole";
    EXPECT_TRUE(chart->rect().contains(chart->axisRect()->outerRect())) << "the axes' labels lie inside";
    EXPECT_FALSE(ShownTitle(*chart).contains(QChar(0x2026))) << "the title is not cut short";
    EXPECT_TRUE(window.grab().save(QDir(ShotFolder("orvex_platform_ui")).filePath("squeezed-chart.png")));
}

// In a window made as small as it lets it be, a chart asks for enough width for its
// title (on two lines at most), its axes' labels and its legend's names: none of them is cut, also
// in a chart that was emptied and drawn again.
TEST(ZuChart, ItsLeastWidthKeepsTitleLabelsAndLegendWhole)
{
    struct Case
    {
        const char* title;
        const char* xLabel;
        const char* yLabel;
        int curves;
        const char* curveName;
    };
    const Case cases[] = {
        {"SPL by Input Power [Front Cabin-R]", "RPM", "Level [dB]", 1, "Roof"},
        {"Velocity [Roof]", "Freq. [Hz]", "dB (ref=1m/s)", 3, "Windshield-Front-Left-%1"},
        {"Modal Density", "Engine speed over the whole run-up [RPM]", "Modes/(rad/s)", 2, "Floor-%1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* chart = new CZuChart(&window);
        layout->addWidget(chart);
        window.show();
        QApplication::processEvents();
        for (int pass = 0; pass < 2; ++pass) { // drawn, emptied, drawn again
            chart->ClearChart();
            chart->replot();
            chart->SetTitle(c.title);
            chart->xAxis->setLabel(c.xLabel);
            chart->yAxis->setLabel(c.yLabel);
            for (int i = 0; i < c.curves; ++i)
                chart->AddCurve(QString(c.curveName).arg(i + 1), {1000, 2000, 3000}, {-90.0 - i, -80, -100});
            chart->UpdateLegend();
            chart->replot();
            for (int turn = 0; turn < 4; ++turn) // the layouts pass the new least size up in turns
                QApplication::processEvents();
            window.resize(1, 1); // as small as the chart lets it be
            QApplication::processEvents();
            EXPECT_LT(chart->width(), 450) << "no wider than it needs";
            const QStringList cut = CutChartTexts(window);
            EXPECT_TRUE(cut.isEmpty()) << pass << ": " << cut.join("; ").toStdString();
            EXPECT_GE(chart->axisRect()->width(), 100) << pass << ": the plot keeps a width worth reading";
        }
    }
}

TEST(ZuTableDataFrame, RecordsItselfInTheElementAndClosesWithIt)
{
    auto* table = new CNumberTable(3, 2);
    auto doc = std::make_unique<CZuTableDataDoc>();
    doc->SetData(table);
    QPointer<CZuTableDataFrame> frame = new CZuTableDataFrame(std::move(doc));
    EXPECT_EQ(CZuTableDataFrame::FindFrame(table), frame.data());
    delete table;
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull());

    CNumberTable kept(3, 2);
    auto doc2 = std::make_unique<CZuTableDataDoc>();
    doc2->SetData(&kept);
    delete new CZuTableDataFrame(std::move(doc2));
    EXPECT_EQ(kept.GetThisFrameWnd(), nullptr);
}

namespace {
// One column under a heading far longer than its numbers, as a quantity with its reference has.
class CLongHeadingTable : public CNumberTable
{
public:
    static constexpr const char* kHeading = "Input Power [dB (ref=1W)] of the front roof panel";
    CLongHeadingTable() : CNumberTable(30, 1) {}
    std::string GetTableCellData(int row, int col, int index, int decimals) override
    {
        return row == 0 && col == 1 ? kHeading : CNumberTable::GetTableCellData(row, col, index, decimals);
    }
};

class CThreePaneFrame : public CZuTableDataFrame
{
public:
    CThreePaneFrame(std::unique_ptr<CZuTableDataDoc> doc, CZuTableData* table)
        : CZuTableDataFrame(std::move(doc)), m_grid(new CZuTableGrid), m_chart(new CZuChart)
    {
        m_grid->SetTable(table, 0);
        m_chart->setMinimumWidth(160);
        m_chart->SetTitle(QString::fromLatin1(CLongHeadingTable::kHeading));
        SetPanes(new QWidget, m_grid, m_chart, 70, 150);
    }
    CZuTableGrid* m_grid;
    CZuChart* m_chart;
};
} // namespace

// Tiled side by side, a table window stays readable: the grid keeps its first column's numbers in
// sight (the chart gives up width down to its readable minimum) and long headings and titles are
// cut short with their whole text kept.
TEST(ZuTableDataFrame, ANarrowWindowKeepsTheNumbersInSight)
{
    CLongHeadingTable table;
    auto doc = std::make_unique<CZuTableDataDoc>();
    doc->SetData(&table);
    auto* frame = new CThreePaneFrame(std::move(doc), &table);
    frame->resize(480, 500);
    frame->show(); // opened narrow, then tiled
    QApplication::processEvents();
    frame->resize(470, 500);
    QApplication::processEvents();
    const QStringList problems = GrabAndCheckLayout(*frame, "table-window-bases", "narrow-table-window");
    EXPECT_TRUE(problems.isEmpty()) << problems.join("\n").toStdString();

    CZuTableGrid* grid = frame->m_grid;
    const int heading = grid->horizontalHeader()->fontMetrics().horizontalAdvance(CLongHeadingTable::kHeading);
    EXPECT_LT(grid->columnWidth(0), heading) << "the heading does not set the column's width";
    EXPECT_GE(grid->viewport()->width(), grid->columnWidth(0)) << "the first column is in sight whole";
    EXPECT_GE(frame->m_chart->width(), 160);
    EXPECT_EQ(grid->TableModel()->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(),
              CLongHeadingTable::kHeading);
    EXPECT_EQ(frame->m_chart->Title(), CLongHeadingTable::kHeading);
    delete frame;
}

TEST(SearchDataDialogs, RequireAChoiceAndReturnTheNames)
{
    CZuSubsystemTable subsystems;
    for (const char* name : {"Roof", "Floor", "Cabin"})
        subsystems.Add(name);
    CZuMatFunc matrix("M", &subsystems, &subsystems, 1, nullptr, 0);
    CZuVecFunc vector("V", &subsystems, 1, nullptr, 0);

    CScriptedPrompts prompts;
    CSearchDataInMatrixDlg m(&matrix);
    m.EnsureInitialized();
    EXPECT_EQ(m.RowCombo()->count(), 3);
    m.RowCombo()->setCurrentIndex(1);
    EXPECT_EQ(m.PressOK(), 0);
    EXPECT_EQ(prompts.Last().stringId, 6200u);
    m.ColCombo()->setCurrentIndex(2);
    EXPECT_EQ(m.PressOK(), IDOK);
    EXPECT_EQ(m.GetRowName(), "Floor");
    EXPECT_EQ(m.GetColName(), "Cabin");
    EXPECT_EQ(matrix.GetColIndex(m.GetColName()), 2);
    const QStringList faults = GrabAndCheckLayout(m, "orvex_platform_ui", "search-matrix");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();

    CSearchDataInVectorDlg v(&vector);
    v.EnsureInitialized();
    EXPECT_EQ(v.PressOK(), 0);
    EXPECT_EQ(prompts.Last().stringId, 6200u);
    v.Combo()->setCurrentIndex(0);
    EXPECT_EQ(v.PressOK(), IDOK);
    EXPECT_EQ(v.GetName(), "Roof");
    const QStringList vfaults = GrabAndCheckLayout(v, "orvex_platform_ui", "search-vector");
    EXPECT_TRUE(vfaults.isEmpty()) << vfaults.join("; ").toStdString();
}
