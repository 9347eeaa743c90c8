#include "views/ui/TALDataGraphView.h"

#include "platform/ui/ZuCurveEnvelope.h"
#include "platform/ui/ZuTableSelectView.h"
#include "spectral/ZuRpmFunc.h"
#include "views/ui/TALDataDoc.h"

#include <QMenu>

#include <algorithm>
#include <chrono>
#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

// A chart being read in steps: the curves so far and where the next step goes on. A curve longer
// than the chart draws is reduced as it is read (the extremes of each stretch), so a long column
// is never held whole: only a step's values and the points to draw.
struct CTALDataGraphView::Pending
{
    CZuRpmFunc* function = nullptr;
    int axis = 0;
    int subset = -1;
    int points = 0;
    std::vector<int> subsets; // the subset of each curve
    std::vector<Series> curves;
    std::vector<double> step;                   // the values of one step
    std::unique_ptr<CZuCurveEnvelope> envelope; // the current curve's, when it is reduced
    double minX = FLT_MAX, maxX = -FLT_MAX;     // over every point (the curves share their X)
    size_t curve = 0;                           // the curve being read
    int row = 0;                                // its next row
};

CTALDataGraphView::CTALDataGraphView(CTALDataDoc* doc, QWidget* parent) : CQMXGraphView(doc, doc, parent), m_tal(doc) {}

CTALDataGraphView::~CTALDataGraphView() = default;

void CTALDataGraphView::OnUpdate(IZuTableDataView* sender, int hint)
{
    CZuRpmFunc* f = m_tal->GetFunction();
    if (!f) {
        ++m_generation;
        m_pending.reset();
        ClearChart();
        replot();
        return;
    }
    m_plotAll = m_tal->IsPlotAll();
    if (hint >= 0 && m_plotAll && dynamic_cast<CZuTableSelectView*>(sender) && hint < CurveCount()) {
        HighlightCurve(hint);
        return;
    }
    if (sender && hint < 0)
        return;
    BuildChart(hint >= 0 ? hint : m_tal->GetCurrentSubset());
}

void CTALDataGraphView::BuildChart(int subset)
{
    ++m_generation;
    m_pending.reset();
    CZuRpmFunc* f = m_tal->GetFunction();
    if (!f)
        return;
    const int axis = m_tal->GetItem(CQMXDataCore::ITEM_AXIS);
    m_tal->ApplyDisplaySettings(axis);
    const int subsets = f->GetTableFreqCount();
    const int points = std::max(0, f->GetTableRowCount(0) - 1);
    auto pending = std::make_unique<Pending>();
    pending->function = f;
    pending->axis = axis;
    pending->subset = subset;
    pending->points = points;
    const int first = m_plotAll ? 0 : subset;
    const int end = m_plotAll ? subsets : std::min(subset + 1, subsets);
    for (int s = std::max(first, 0); s < end; ++s) {
        Series c;
        c.name = QString::fromStdString(f->GetFreqIndicator(s));
        pending->curves.push_back(std::move(c));
        pending->subsets.push_back(s);
    }
    if (static_cast<long long>(points) * static_cast<long long>(pending->curves.size()) <= kImmediateValues) {
        // Short: read and drawn now.
        for (size_t i = 0; i < pending->curves.size(); ++i) {
            Series& c = pending->curves[i];
            c.x.reserve(points);
            for (int p = 0; p < points; ++p)
                c.x.push_back(f->GetAxisValue(p));
            // A cell without a number is NaN: a gap in the curve.
            std::vector<double> values;
            f->GetTableColumnValues(1, pending->subsets[i], values);
            values.resize(static_cast<size_t>(points), std::numeric_limits<double>::quiet_NaN());
            c.y = QVector<double>(values.begin(), values.end());
        }
        Plot(pending->curves, f, axis, subset);
        return;
    }
    // Long: the chart stays empty until every value is read.
    ClearChart();
    replot(QCustomPlot::rpQueuedReplot);
    m_pending = std::move(pending);
    const int generation = m_generation;
    QMetaObject::invokeMethod(
        this, [this, generation] { BuildStep(generation); }, Qt::QueuedConnection);
}

void CTALDataGraphView::BuildStep(int generation)
{
    if (generation != m_generation || !m_pending)
        return;
    Pending& p = *m_pending;
    CZuRpmFunc* f = m_tal->GetFunction();
    if (f != p.function) { // an update that would have rebuilt the chart did not come: start over
        BuildChart(m_tal->GetCurrentSubset());
        return;
    }
    const bool reduced = p.points > kMaxDrawnPoints;
    // As many steps as a few milliseconds allow: the window keeps answering, and a long curve
    // is not drawn late for the sake of a hundred idle turns of the event loop.
    const auto start = std::chrono::steady_clock::now();
    int budget = kStepValues;
    while (p.curve < p.curves.size()) {
        if (budget <= 0) {
            if (std::chrono::steady_clock::now() - start >= kTurnTime)
                break;
            budget = kStepValues;
        }
        Series& c = p.curves[p.curve];
        if (p.row == 0 && reduced)
            p.envelope = std::make_unique<CZuCurveEnvelope>(p.points, kMaxDrawnPoints / 2);
        const int count = std::min(budget, p.points - p.row);
        p.step.resize(static_cast<size_t>(std::max(count, 0)));
        f->GetTableColumnValues(1, p.subsets[p.curve], p.row, count, p.step.data());
        if (reduced) {
            p.envelope->Add(p.step.data(), count);
            // The extremes are kept in locals over a step: kept in the curve, each would be
            // stored for every value.
            double minY = c.minY, maxY = c.maxY;
            for (double y : p.step)
                if (y > 0.0 && std::isfinite(y)) {
                    maxY = std::max(maxY, y);
                    minY = std::min(minY, y);
                }
            c.minY = minY;
            c.maxY = maxY;
            if (p.curve == 0 && count > 0) {
                const double* x = f->GetAxisValuePtr(p.row);
                const double* xEnd = f->GetAxisValuePtr(p.row + count - 1) + 1;
                double minX = p.minX, maxX = p.maxX;
                for (; x != xEnd; ++x) {
                    maxX = std::max(maxX, *x);
                    minX = std::min(minX, *x);
                }
                p.minX = minX;
                p.maxX = maxX;
            }
        } else {
            // A cell without a number is NaN: a gap in the curve.
            for (int i = 0; i < count; ++i) {
                c.x.push_back(f->GetAxisValue(p.row + i));
                c.y.push_back(p.step[static_cast<size_t>(i)]);
            }
        }
        p.row += count;
        budget -= std::max(count, 1);
        if (p.row >= p.points) {
            if (reduced) {
                std::vector<double> y;
                p.envelope->GetPoints(c.source, y);
                p.envelope.reset();
                c.x.reserve(static_cast<int>(c.source.size()));
                for (int i : c.source)
                    c.x.push_back(f->GetAxisValue(i));
                c.y = QVector<double>(y.begin(), y.end());
                c.minX = p.minX;
                c.maxX = p.maxX;
            }
            ++p.curve;
            p.row = 0;
        }
    }
    if (p.curve < p.curves.size()) {
        QMetaObject::invokeMethod(
            this, [this, generation] { BuildStep(generation); }, Qt::QueuedConnection);
        return;
    }
    std::unique_ptr<Pending> done = std::move(m_pending);
    Plot(done->curves, f, done->axis, done->subset);
}

void CTALDataGraphView::Plot(std::vector<Series>& curves, CZuRpmFunc* f, int axis, int subset)
{
    PlotCurves(curves, f, axis == 1, f->GetLabel());
    if (m_plotAll && subset >= 0 && subset < CurveCount())
        HighlightCurve(subset);
}

QMenu* CTALDataGraphView::CreateContextMenu()
{
    QMenu* menu = CQMXGraphView::CreateContextMenu();
    menu->addSeparator();
    QAction* all = menu->addAction(tr("Plot &All Subsets"), this, [this] { m_tal->TogglePlotAll(); });
    all->setCheckable(true);
    all->setChecked(m_tal->IsPlotAll());
    menu->addAction(tr("&Options..."), this, [this] { m_tal->OnOptions(); });
    return menu;
}
