#include "platform/ui/ZuChart.h"

#include "platform/ui/UiTextTranslator.h"
#include "platform/ui/ZuCurveEnvelope.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace {
// A title line wider than the chart goes onto two lines, broken where the text allows a break
// (between words, or between characters in Japanese), so that its start (the element and the
// quantity) stays whole; only what still does not fit on the second line is cut short.
QStringList WrapTitleLine(const QString& line, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(line) <= width)
        return {line};
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, line);
    qsizetype cut = -1;
    for (qsizetype at = breaks.toNextBoundary(); at > 0 && at < line.size(); at = breaks.toNextBoundary()) {
        if (metrics.horizontalAdvance(line.left(at).trimmed()) > width)
            break;
        cut = at;
    }
    if (cut <= 0)
        return {metrics.elidedText(line, Qt::ElideRight, width)};
    return {line.left(cut).trimmed(), metrics.elidedText(line.mid(cut).trimmed(), Qt::ElideRight, width)};
}

// The least width at which a title line shows whole on at most two lines (as WrapTitleLine breaks
// it): the narrower of its halves' wider side, over every place the text allows a break.
int TwoLineWidth(const QString& line, const QFontMetrics& metrics)
{
    int least = metrics.horizontalAdvance(line);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, line);
    for (qsizetype at = breaks.toNextBoundary(); at > 0 && at < line.size(); at = breaks.toNextBoundary())
        least = std::min(least, std::max(metrics.horizontalAdvance(line.left(at).trimmed()),
                                         metrics.horizontalAdvance(line.mid(at).trimmed())));
    return least;
}
// An axis range whose ticks, labelled to six significant digits, would not read apart: one
// value, or values that differ only in their last digits (rounding in a ratio of two energies).
bool TooNarrowForTicks(const QCPRange& r)
{
    const double magnitude = std::max(std::abs(r.lower), std::abs(r.upper));
    return !(r.size() > magnitude * 1e-5);
}
} // namespace

CZuChart::CZuChart(QWidget* parent) : QCustomPlot(parent)
{
    CUiTextTranslator::Translate(this);
    setBackground(QBrush(Qt::white));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setInteractions(QCP::iSelectPlottables);
    // Fewer ticks along a narrow chart, so that the labels of the horizontal axis never overlap.
    connect(this, &QCustomPlot::beforeReplot, this, [this] {
        const int ticks = std::clamp((width() - 80) / 70, 2, 5);
        if (xAxis->ticker() && xAxis->ticker()->tickCount() != ticks)
            xAxis->ticker()->setTickCount(ticks);
        FitLegend();
    });
    connect(this, &QCustomPlot::afterReplot, this, [this] {
        // What the plot's surroundings took in this layout; a new title, legend or axis label may
        // need more room, and then the layouts around are told.
        // Measured against the size the plot was laid out at, which trails the widget's own
        // while a resize of the hidden widget is still to be delivered.
        m_decoration = viewport().height() - axisRect()->height();
        m_sideDecoration = viewport().width() - axisRect()->width();
        if (const QSize fit = minimumSizeHint(); fit != m_fitSize) {
            m_fitSize = fit;
            updateGeometry();
        }
    });
    connect(this, &QCustomPlot::plottableClick, this,
            [this](QCPAbstractPlottable* plottable, int dataIndex, QMouseEvent*) {
                auto* curve = qobject_cast<QCPGraph*>(plottable);
                if (!curve || dataIndex < 0 || dataIndex >= curve->dataCount())
                    return;
                for (int i = 0; i < graphCount(); ++i)
                    if (graph(i) == curve) {
                        const auto point = curve->data()->at(dataIndex);
                        emit PointClicked(i, SourcePoint(i, dataIndex), point->key, point->value);
                        return;
                    }
            });
}

bool CZuChart::DecadeRange(double smallest, double largest, double& low, double& high)
{
    if (!(smallest > 0.0) || !(smallest < largest) || !std::isfinite(smallest) || !std::isfinite(largest))
        return false;
    low = std::pow(10.0, std::floor(std::log10(smallest)));
    high = std::pow(10.0, std::ceil(std::log10(largest)));
    return true;
}

void CZuChart::SetLogAxisOver(QCPAxis* axis, double smallest, double largest)
{
    double low = 0.0, high = 0.0;
    if (DecadeRange(smallest, largest, low, high)) {
        SetLogAxis(axis, low, high);
        return;
    }
    SetLogAxis(axis, 0.1, 10.0);
    axis->rescale(true);
    const QCPRange r = axis->range();
    if (r.lower > 0.0 && TooNarrowForTicks(r)) {
        const double exponent = std::log10(r.center());
        low = std::pow(10.0, std::floor(exponent));
        high = std::pow(10.0, std::ceil(exponent));
        if (!(low < high)) {
            low /= 10.0;
            high *= 10.0;
        }
        axis->setRange(low, high);
    }
}

void CZuChart::FitLinearAxis(QCPAxis* axis)
{
    axis->rescale(true);
    const QCPRange r = axis->range();
    if (!TooNarrowForTicks(r))
        return;
    const double centre = r.center();
    const double room = centre != 0.0 ? std::abs(centre) / 10.0 : 1.0;
    axis->setRange(centre - room, centre + room);
}

QColor CZuChart::CurveColor(int i)
{
    static const QColor kColors[] = {
        QColor(31, 119, 180), QColor(214, 39, 40),   QColor(44, 160, 44),   QColor(255, 127, 14), QColor(148, 103, 189),
        QColor(140, 86, 75),  QColor(227, 119, 194), QColor(127, 127, 127), QColor(188, 189, 34), QColor(23, 190, 207),
    };
    constexpr int n = static_cast<int>(sizeof(kColors) / sizeof(kColors[0]));
    return kColors[((i % n) + n) % n];
}

QPen CZuChart::CurvePen(const QColor& color, bool bold)
{
    // Thin curves are drawn as cosmetic lines, which stay quick over many points; only the one
    // bold curve goes through the wide-line outline, with round joins so spikes stay spikes.
    QPen pen(color, bold ? 2.5 : 1.0);
    pen.setCosmetic(!bold);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QCPGraph* CZuChart::AddCurve(const QString& name, const QVector<double>& x, const QVector<double>& y)
{
    QCPGraph* curve = addGraph();
    curve->setName(name);
    curve->setPen(CurvePen(CurveColor(graphCount() - 1), false));
    curve->setSelectable(QCP::stSingleData);
    const int n = static_cast<int>(std::min(x.size(), y.size()));
    if (n <= kMaxDrawnPoints) {
        curve->setData(x.mid(0, n), y.mid(0, n), true);
        m_pointIndex.emplace_back();
        return curve;
    }
    // A long curve is drawn through the lowest and highest point of each of a fixed number of
    // stretches (in their order), so peaks and dips stay and the drawing costs the same for any
    // length. Its points are still reported by their own index.
    CZuCurveEnvelope envelope(n, kMaxDrawnPoints / 2);
    envelope.Add(y.constData(), n);
    std::vector<int> kept;
    std::vector<double> values;
    envelope.GetPoints(kept, values);
    QVector<double> dx;
    dx.reserve(static_cast<int>(kept.size()));
    for (int i : kept)
        dx.push_back(x[i]);
    SetReducedData(curve, dx, QVector<double>(values.begin(), values.end()), std::move(kept));
    return curve;
}

QCPGraph* CZuChart::AddReducedCurve(const QString& name, const QVector<double>& x, const QVector<double>& y,
                                    std::vector<int> source)
{
    QCPGraph* curve = addGraph();
    curve->setName(name);
    curve->setPen(CurvePen(CurveColor(graphCount() - 1), false));
    curve->setSelectable(QCP::stSingleData);
    SetReducedData(curve, x, y, std::move(source));
    return curve;
}

void CZuChart::SetReducedData(QCPGraph* curve, const QVector<double>& x, const QVector<double>& y,
                              std::vector<int> source)
{
    const int n = static_cast<int>(std::min({x.size(), y.size(), static_cast<qsizetype>(source.size())}));
    source.resize(static_cast<size_t>(n));
    curve->setData(x.mid(0, n), y.mid(0, n), true);
    // Drawn through the extremes, a long curve is a dense band of strokes: smoothing their edges
    // costs most of the drawing and shows nothing at that density.
    curve->setAntialiased(false);
    m_pointIndex.push_back(std::move(source));
}

int CZuChart::SourcePoint(int curve, int drawnPoint) const
{
    if (curve < 0 || curve >= static_cast<int>(m_pointIndex.size()))
        return drawnPoint;
    const std::vector<int>& kept = m_pointIndex[static_cast<size_t>(curve)];
    if (kept.empty())
        return drawnPoint;
    return drawnPoint >= 0 && drawnPoint < static_cast<int>(kept.size()) ? kept[static_cast<size_t>(drawnPoint)] : -1;
}

void CZuChart::HighlightCurve(int i)
{
    m_highlighted = (i >= 0 && i < graphCount()) ? i : -1;
    for (int g = 0; g < graphCount(); ++g) {
        QColor color = CurveColor(g);
        if (m_highlighted >= 0 && g != m_highlighted)
            color.setAlpha(80);
        graph(g)->setPen(CurvePen(color, g == m_highlighted));
    }
    const QString name =
        m_highlighted >= 0 && !(legend && legend->visible()) ? graph(m_highlighted)->name() : QString();
    if (name != m_curveName) {
        m_curveName = name;
        SetTitle(m_titleText);
    }
    replot(QCustomPlot::rpQueuedReplot);
}

void CZuChart::PlaceLegendBelow(QCustomPlot& plot)
{
    QCPLegend* legend = plot.legend;
    if (!legend || legend->layout() == plot.plotLayout())
        return;
    if (auto* inset = qobject_cast<QCPLayoutInset*>(legend->layout()))
        inset->take(legend);
    plot.plotLayout()->addElement(plot.plotLayout()->rowCount(), 0, legend);
    plot.plotLayout()->setRowStretchFactor(plot.plotLayout()->rowCount() - 1, 0.001);
    legend->setBorderPen(Qt::NoPen);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setWrap(kLegendColumns);
}

void CZuChart::UpdateLegend()
{
    PlaceLegendBelow(*this);
    legend->setVisible(graphCount() >= 2 && graphCount() <= kLegendCurves);
    FitLegend();
}

void CZuChart::FitLegend()
{
    if (!legend || !legend->visible() || legend->layout() != plotLayout() || legend->itemCount() == 0)
        return;
    // As many names to a row as the chart's width holds whole (at least one): a narrow chart
    // gives its legend more rows rather than cutting the names.
    int widest = 1;
    for (int i = 0; i < legend->itemCount(); ++i)
        if (QCPAbstractLegendItem* item = legend->item(i))
            widest = std::max(widest, static_cast<QCPLayoutElement*>(item)->minimumOuterSizeHint().width());
    const int room = width() - legend->margins().left() - legend->margins().right();
    const int columns =
        std::clamp((room + legend->columnSpacing()) / (widest + legend->columnSpacing()), 1, kLegendColumns);
    if (legend->wrap() != columns) {
        legend->setWrap(columns);
        legend->setFillOrder(QCPLayoutGrid::foColumnsFirst, true);
    }
}

void CZuChart::SetTitle(const QString& title, const QString& subtitle)
{
    m_titleText = subtitle.isEmpty() ? title : title + "\n" + subtitle;
    const QString text =
        m_curveName.isEmpty() ? m_titleText : (m_titleText.isEmpty() ? m_curveName : m_titleText + "\n" + m_curveName);
    if (text.isEmpty()) {
        if (m_title) {
            plotLayout()->remove(m_title);
            plotLayout()->simplify();
            m_title = nullptr;
        }
        return;
    }
    if (!m_title) {
        plotLayout()->insertRow(0);
        m_title = new QCPTextElement(this, text, QFont(font().family(), 10, QFont::Bold));
        plotLayout()->addElement(0, 0, m_title);
    }
    FitTitle();
}

QString CZuChart::Title() const
{
    return m_titleText;
}

void CZuChart::FitTitle()
{
    if (!m_title)
        return;
    const QFontMetrics metrics(m_title->font());
    // The title's own lines are shown in the language loaded; the curve's name is data.
    QStringList lines;
    for (const QString& line : m_titleText.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << QString::fromStdString(TranslateText(line.toStdString()));
    if (!m_curveName.isEmpty())
        lines << m_curveName;
    QStringList shownLines;
    for (const QString& line : lines)
        shownLines << WrapTitleLine(line, metrics, std::max(0, width() - 8));
    const QString shown = shownLines.join(QLatin1Char('\n'));
    if (shown != m_title->text())
        m_title->setText(shown);
}

int CZuChart::TitleLeastWidth() const
{
    if (!m_title || !m_title->visible())
        return 0;
    const QFontMetrics metrics(m_title->font());
    QStringList lines = m_titleText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!m_curveName.isEmpty())
        lines << m_curveName;
    int least = 0;
    for (const QString& line : lines)
        least = std::max(least, TwoLineWidth(line, metrics));
    return least + 8; // the margin FitTitle keeps
}

QSize CZuChart::minimumSizeHint() const
{
    constexpr int kPlotLeast = 60; // the plot itself, between its axes
    constexpr int kPlotLeastWidth = 100;
    // A title longer than this is cut short on its second line rather than widen the chart beyond
    // what a tiled window can give it.
    constexpr int kTitleMost = 320;
    // Beside the plot: as the last layout measured it (tick labels, the upright label, margins),
    // or before any as the parts need it.
    int side = m_sideDecoration;
    if (side <= 0) {
        const QFontMetrics ticks(yAxis->tickLabelFont());
        side = yAxis->tickLengthOut() + yAxis->padding() + ticks.horizontalAdvance(QStringLiteral("-000.0")) + 6 + 12;
        if (!yAxis->label().isEmpty())
            side += QFontMetrics(yAxis->labelFont()).height() + yAxis->labelPadding();
    }
    int width = side + kPlotLeastWidth;
    if (!xAxis->label().isEmpty())
        width = std::max(width, side + QFontMetrics(xAxis->labelFont()).horizontalAdvance(xAxis->label()) + 8);
    width = std::max(width, std::min(TitleLeastWidth(), kTitleMost));
    // The legend's widest name, on a row of its own (FitLegend wraps the others below it).
    if (legend && legend->visible() && legend->layout() == plotLayout())
        for (int i = 0; i < legend->itemCount(); ++i)
            if (QCPAbstractLegendItem* item = legend->item(i))
                width = std::max(width, static_cast<QCPLayoutElement*>(item)->minimumOuterSizeHint().width() +
                                            legend->margins().left() + legend->margins().right());
    // Around the plot: as the last layout measured it, or before any as the parts need it.
    int around = m_decoration;
    if (around <= 0) {
        around = 8; // above the plot: half a tick label and the border
        if (m_title && m_title->visible())
            around += QFontMetrics(m_title->font()).lineSpacing() *
                          static_cast<int>(m_title->text().count(QLatin1Char('\n')) + 1) +
                      8;
        if (legend && legend->visible() && legend->layout() == plotLayout())
            around += legend->minimumOuterSizeHint().height();
        around += xAxis->tickLengthOut() + xAxis->padding() + QFontMetrics(xAxis->tickLabelFont()).height() + 6;
        if (!xAxis->label().isEmpty())
            around += QFontMetrics(xAxis->labelFont()).height() + xAxis->labelPadding();
    }
    const int yLabel =
        yAxis->label().isEmpty() ? 0 : QFontMetrics(yAxis->labelFont()).horizontalAdvance(yAxis->label()) + 8;
    return {std::max(160, width), std::max(120, around + std::max(kPlotLeast, yLabel))};
}

QSize CZuChart::sizeHint() const
{
    return QCustomPlot::sizeHint().expandedTo(minimumSizeHint());
}

void CZuChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        FitTitle();
        replot(rpQueuedReplot);
    }
    QCustomPlot::changeEvent(event);
}

void CZuChart::resizeEvent(QResizeEvent* event)
{
    FitTitle(); // before the chart lays itself out again at the new size
    QCustomPlot::resizeEvent(event);
}

void CZuChart::ClearChart()
{
    m_highlighted = -1;
    m_curveName.clear();
    m_pointIndex.clear();
    clearPlottables();
    clearItems();
    // An empty legend left below the plot would hold the plot's column to its own few pixels: it
    // goes back over the plot, hidden, until UpdateLegend brings it out again.
    legend->setVisible(false);
    if (legend->layout() == plotLayout()) {
        plotLayout()->take(legend);
        plotLayout()->simplify();
        axisRect()->insetLayout()->addElement(legend, Qt::AlignRight | Qt::AlignTop);
    }
    SetTitle(QString());
    for (QCPAxis* axis : {xAxis, yAxis}) {
        axis->setScaleType(QCPAxis::stLinear);
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
        axis->setNumberFormat("gb");
        axis->setNumberPrecision(6);
        axis->setLabel(QString());
    }
    xAxis->setTickLabels(true);
}

void CZuChart::SetLogAxis(QCPAxis* axis, double low, double high)
{
    axis->setScaleType(QCPAxis::stLogarithmic);
    axis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
    axis->setNumberFormat("eb");
    axis->setNumberPrecision(0);
    axis->setRange(low, high);
}

bool CZuChart::SaveAs(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    if (file.endsWith(".pdf", Qt::CaseInsensitive))
        return savePdf(file, width(), height());
    return savePng(file, width(), height());
}

bool CZuChart::ExportWithPrompt(int filterIndex)
{
    FileChooserOptions options;
    options.filter = kExportFilter;
    options.filterIndex = filterIndex;
    options.defaultExt = filterIndex == 2 ? "pdf" : "png";
    std::string path;
    int chosen = filterIndex;
    if (!PromptSaveFile(options, path, &chosen))
        return false;
    if (!SaveAs(path)) {
        AfxMessageBox("The chart could not be saved.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

QMenu* CZuChart::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    menu->addAction(tr("Save as PNG..."), this, [this] { ExportWithPrompt(1); });
    menu->addAction(tr("Save as PDF..."), this, [this] { ExportWithPrompt(2); });
    return menu;
}

void CZuChart::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
