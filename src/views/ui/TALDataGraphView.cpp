#include "views/ui/TALDataGraphView.h"

#include "platform/ui/ZuCurveEnvelope.h"
#include "platform/ui/ZuTableSelectView.h"
#include "spectral/ZuRpmFunc.h"
#include "views/ui/TALDataDoc.h"

#include <QMenu>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

// A stretch of the rows of a long curve, read on a thread of its own: the extremes of the chart's
// stretches in it and the bounds of its values so far.
struct CTALDataGraphView::Piece
{
    Piece(int points, int first, int last) : row(first), end(last), envelope(points, kMaxDrawnPoints / 2, first) {}
    int row; // the next row
    int end;
    CZuCurveEnvelope envelope;
    std::vector<double> step;               // the values of one step
    double minY = FLT_MAX, maxY = -FLT_MAX; // over the positive values
    double minX = FLT_MAX, maxX = -FLT_MAX;
};

// A chart being read in steps: the curves so far and where the next step goes on. A curve longer
// than the chart draws is reduced as it is read (the extremes of each stretch), so a long column
// is never held whole: only a step's values per piece and the points to draw.
struct CTALDataGraphView::Pending
{
    CZuRpmFunc* function = nullptr;
    int axis = 0;
    int subset = -1;
    int points = 0;
    std::vector<int> subsets; // the subset of each curve
    std::vector<Series> curves;
    std::vector<double> step;               // the values of one step of a curve drawn whole
    std::vector<Piece> pieces;              // the current curve's, when it is reduced
    double minX = FLT_MAX, maxX = -FLT_MAX; // over every point (the curves share their X)
    size_t curve = 0;                       // the curve being read
    int row = 0;                            // its next row, when it is drawn whole
    std::shared_ptr<Turn> turn;             // the pieces being read, when the window's thread is not waiting for them

    Pending() = default;
    Pending(const Pending&) = delete;
    Pending& operator=(const Pending&) = delete;
    // A chart given up while its pieces are read: the pieces no thread took yet are left, and
    // the ones being read end before the pieces go.
    ~Pending();
};

namespace {
using Clock = std::chrono::steady_clock;

// Reads a piece of a band on, a step at a time, until its end or the deadline (one step at
// least, so that every turn gets on).
void ReadPiece(const CZuRpmFunc* f, const CZuRpmFunc::ColumnOptions& options, int band, bool withX,
               CTALDataGraphView::Piece& piece, Clock::time_point deadline)
{
    // The bounds are kept in locals over the piece: kept in the piece, each would be stored for
    // every value.
    double minY = piece.minY, maxY = piece.maxY, minX = piece.minX, maxX = piece.maxX;
    do {
        const int count = std::min(CTALDataGraphView::kStepValues, piece.end - piece.row);
        if (count <= 0)
            break;
        piece.step.resize(static_cast<size_t>(count));
        f->GetTableColumnValues(1, band, piece.row, count, piece.step.data(), options);
        piece.envelope.Add(piece.step.data(), count);
        for (double y : piece.step)
            if (y > 0.0 && std::isfinite(y)) {
                maxY = std::max(maxY, y);
                minY = std::min(minY, y);
            }
        if (withX) {
            const double* x = f->GetAxisValuePtr(piece.row);
            const double* xEnd = f->GetAxisValuePtr(piece.row + count - 1) + 1;
            for (; x != xEnd; ++x) {
                maxX = std::max(maxX, *x);
                minX = std::min(minX, *x);
            }
        }
        piece.row += count;
    } while (piece.row < piece.end && Clock::now() < deadline);
    piece.minY = minY;
    piece.maxY = maxY;
    piece.minX = minX;
    piece.maxX = maxX;
}

} // namespace

// The pieces of one turn, read side by side: each is taken by the first thread to ask, the
// window's own included, so a busy pool delays nothing beyond the turn. While any is read, the map
// knows it is read.
struct CTALDataGraphView::Turn
{
    Turn(Pending& p, Clock::time_point end)
        : map(p.function), options(p.function->GetColumnOptions()), band(p.subsets[p.curve]), withX(p.curve == 0),
          pieces(p.pieces.data()), count(p.pieces.size()), deadline(end)
    {}

    // Takes pieces and reads them, until none is left. Only a piece taken is touched, and nothing
    // of the turn's once the last is done: a helper that starts late finds none left.
    void Take()
    {
        for (size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            if (!cancelled.load(std::memory_order_relaxed) && pieces[i].row < pieces[i].end)
                ReadPiece(map, options, band, withX, pieces[i], deadline);
            const std::lock_guard<std::mutex> lock(mutex);
            if (++done == count) {
                map->EndSharedRead();
                finished.notify_all();
            }
        }
    }
    void Wait()
    {
        std::unique_lock<std::mutex> lock(mutex);
        finished.wait(lock, [this] { return done == count; });
    }

    // The helpers read nothing but the map: the owner's display options are asked when the turn
    // is made, on the window's thread.
    const CZuRpmFunc* const map;
    const CZuRpmFunc::ColumnOptions options;
    const int band;
    const bool withX;
    Piece* const pieces;
    const size_t count;
    const Clock::time_point deadline;
    std::atomic<size_t> next{0};
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    std::condition_variable finished;
    size_t done = 0;
};

CTALDataGraphView::Pending::~Pending()
{
    if (turn) {
        turn->cancelled = true;
        turn->Take();
        turn->Wait();
    }
}

namespace {
// The threads that read long curves, for charts only: a change to a map waits for its readers,
// which must therefore never queue behind other work.
Q_GLOBAL_STATIC(QThreadPool, ChartReaders)

QThreadPool& Readers()
{
    QThreadPool& pool = *ChartReaders();
    static const bool sized = [&pool] {
        pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        return true;
    }();
    (void)sized;
    return pool;
}
} // namespace

void CTALDataGraphView::MakePieces(Pending& p)
{
    const int threads = std::max(1, QThread::idealThreadCount());
    const int n = std::clamp(p.points / kPieceRows, 1, 4 * threads);
    p.pieces.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        p.pieces.emplace_back(p.points, static_cast<int>(static_cast<long long>(p.points) * i / n),
                              static_cast<int>(static_cast<long long>(p.points) * (i + 1) / n));
}

void CTALDataGraphView::StartPieces(Pending& p, Clock::time_point deadline, bool withThisThread)
{
    p.turn = std::make_shared<Turn>(p, deadline);
    p.function->BeginSharedRead();
    const long left = std::count_if(p.pieces.begin(), p.pieces.end(), [](const Piece& x) { return x.row < x.end; });
    const long helpers = std::min<long>(left - (withThisThread ? 1 : 0), Readers().maxThreadCount());
    for (long i = 0; i < helpers; ++i)
        Readers().start([turn = p.turn] { turn->Take(); });
}

void CTALDataGraphView::FinishPieces(Pending& p)
{
    p.turn->Take();
    p.turn->Wait();
    p.turn.reset();
}

// Reads every piece of the current curve on until the deadline, side by side.
void CTALDataGraphView::ReadPieces(Pending& p, Clock::time_point deadline)
{
    StartPieces(p, deadline, true);
    FinishPieces(p);
}

CTALDataGraphView::CTALDataGraphView(CTALDataDoc* doc, QWidget* parent) : CQMXGraphView(doc, doc, parent), m_tal(doc) {}

CTALDataGraphView::~CTALDataGraphView() = default;

void CTALDataGraphView::OnUpdate(IZuTableDataView* sender, int hint)
{
    CZuRpmFunc* f = m_tal->GetFunction();
    if (!f) {
        ++m_generation;
        m_pending.reset();
        ClearChart();
        // Not painted here: the other panes may still show what went.
        replot(QCustomPlot::rpQueuedReplot);
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
    // Long: the chart stays empty until every value is read. A curve reduced for drawing is
    // read by the pool from now on, while the window opens and shows; the window's thread joins
    // in on its next turn.
    m_pending = std::move(pending);
    if (m_pending->points > kMaxDrawnPoints) {
        MakePieces(*m_pending);
        StartPieces(*m_pending, Clock::now() + kFirstTurnTime, false);
    }
    ClearChart();
    replot(QCustomPlot::rpQueuedReplot);
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
    // An update that would have rebuilt the chart did not come (another map, or rows added or
    // removed): start over.
    if (f != p.function || std::max(0, f->GetTableRowCount(0) - 1) != p.points) {
        BuildChart(m_tal->GetCurrentSubset());
        return;
    }
    // As many steps as a few milliseconds allow: the window keeps answering, and a long curve
    // is not drawn late for the sake of a hundred idle turns of the event loop.
    if (!ReadOn(p, Clock::now() + kTurnTime)) {
        QMetaObject::invokeMethod(
            this, [this, generation] { BuildStep(generation); }, Qt::QueuedConnection);
        return;
    }
    std::unique_ptr<Pending> done = std::move(m_pending);
    Plot(done->curves, f, done->axis, done->subset);
    // The window shows already: drawn now, the chart's next paint shows the curve.
    if (isVisible())
        replot(QCustomPlot::rpQueuedRefresh);
}

bool CTALDataGraphView::ReadOn(Pending& p, std::chrono::steady_clock::time_point deadline)
{
    CZuRpmFunc* f = p.function;
    const bool reduced = p.points > kMaxDrawnPoints;
    int budget = kStepValues;
    while (p.curve < p.curves.size()) {
        Series& c = p.curves[p.curve];
        if (reduced) {
            // A long curve is read in pieces side by side: reading a band over many rows is a
            // wait on memory per row, and the waits of several threads overlap.
            if (p.pieces.empty())
                MakePieces(p);
            if (p.turn)
                FinishPieces(p);
            else
                ReadPieces(p, deadline);
            if (std::any_of(p.pieces.begin(), p.pieces.end(), [](const Piece& x) { return x.row < x.end; }))
                break;
            CZuCurveEnvelope& envelope = p.pieces.front().envelope;
            for (const Piece& piece : p.pieces) {
                if (&piece.envelope != &envelope)
                    envelope.Merge(piece.envelope);
                c.minY = std::min(c.minY, piece.minY);
                c.maxY = std::max(c.maxY, piece.maxY);
                if (p.curve == 0) {
                    p.minX = std::min(p.minX, piece.minX);
                    p.maxX = std::max(p.maxX, piece.maxX);
                }
            }
            std::vector<double> y;
            envelope.GetPoints(c.source, y);
            p.pieces.clear();
            c.x.reserve(static_cast<int>(c.source.size()));
            for (int i : c.source)
                c.x.push_back(f->GetAxisValue(i));
            c.y = QVector<double>(y.begin(), y.end());
            c.minX = p.minX;
            c.maxX = p.maxX;
            ++p.curve;
            if (Clock::now() >= deadline)
                break;
            continue;
        }
        if (budget <= 0) {
            if (Clock::now() >= deadline)
                break;
            budget = kStepValues;
        }
        const int count = std::min(budget, p.points - p.row);
        p.step.resize(static_cast<size_t>(std::max(count, 0)));
        f->GetTableColumnValues(1, p.subsets[p.curve], p.row, count, p.step.data());
        // A cell without a number is NaN: a gap in the curve.
        for (int i = 0; i < count; ++i) {
            c.x.push_back(f->GetAxisValue(p.row + i));
            c.y.push_back(p.step[static_cast<size_t>(i)]);
        }
        p.row += count;
        budget -= std::max(count, 1);
        if (p.row >= p.points) {
            ++p.curve;
            p.row = 0;
        }
    }
    return p.curve >= p.curves.size();
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
