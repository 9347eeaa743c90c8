#include "views/ui/StackedChart.h"

#include "platform/gfx/GfxUtil.h"
#include "views/CavPcViewData.h"

#include <algorithm>

CStackedChart::CStackedChart(QWidget* parent) : CZuChart(parent) {}

void CStackedChart::Draw(const std::vector<double>& x, const std::vector<std::vector<double>>& cells,
                         const std::vector<std::string>& names, const std::vector<COLORREF>& colors, bool cumulative,
                         int markedCurve)
{
    clearPlottables();
    clearItems();
    const int points = static_cast<int>(x.size());
    QVector<double> keys;
    for (int k = 0; k < points; ++k)
        keys << k + 1;
    m_x = x;
    xAxis->setScaleType(QCPAxis::stLinear);
    UpdateTicks();
    const std::vector<std::vector<double>> sums = CCavPcViewData::RunningSums(cells);
    const int n = static_cast<int>(cells.size());
    auto curveColor = [&](int c) {
        const COLORREF rgb = c < static_cast<int>(colors.size()) ? colors[static_cast<size_t>(c)] : RGB(128, 128, 128);
        return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    };
    auto values = [&](int c) {
        QVector<double> v(points, 0.0);
        const auto& sum = sums[static_cast<size_t>(c)];
        for (int k = 0; k < points && k < static_cast<int>(sum.size()); ++k)
            v[k] = sum[static_cast<size_t>(k)];
        return v;
    };
    QCPGraph* below = nullptr;
    double top = 0.0;
    for (int c = 0; c < n; ++c) {
        const QVector<double> running = values(c);
        for (double v : running)
            top = std::max(top, v);
        const QColor color = curveColor(c);
        QCPGraph* g = addGraph();
        g->setName(c < static_cast<int>(names.size()) ? QString::fromStdString(names[static_cast<size_t>(c)])
                                                      : QString());
        g->setData(keys, running, true);
        g->setPen(QPen(color.darker(140), 1.0));
        g->setBrush(QBrush(color));
        // The first band reaches down to the axis, the others to the band below.
        if (below)
            g->setChannelFillGraph(below);
        below = g;
    }
    // Cumulative mode: curves n + c draw the running sums over contributors 0..c as lines over the
    // paled bands, the one at the group end marked, so the share of the first group can be read.
    for (int c = 0; cumulative && c < n; ++c) {
        QCPGraph* g = addGraph();
        g->setName(QString());
        g->setData(keys, values(c), true);
        const bool marked = c == markedCurve;
        g->setPen(QPen(marked ? QColor(Qt::black) : curveColor(c).darker(160), marked ? 2.5 : 1.0));
        g->removeFromLegend();
    }
    xAxis->setRange(0.5, std::max(1, points) + 0.5);
    yAxis->setRange(0.0, top > 0.0 ? top * 1.05 : 1.0);
    PlaceLegendBelow(*this);
    legend->setVisible(!cells.empty());
    legend->setFont(QFont(font().family(), 8));
    replot();
}

void CStackedChart::UpdateTicks()
{
    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    // About 70 pixels a label; the others are left out.
    const int points = static_cast<int>(m_x.size());
    const int fit = std::max(2, width() / 70);
    const int step = std::max(1, (points + fit - 1) / fit);
    for (int k = 0; k < points; k += step)
        // A band is labelled by its nominal centre frequency (158.489 reads 160), as the grids
        // label it.
        ticker->addTick(k + 1,
                        QString::fromStdString(CGfxUtil::GetManipulatedFrequencyString(m_x[static_cast<size_t>(k)])));
    xAxis->setTicker(ticker);
}

void CStackedChart::resizeEvent(QResizeEvent* event)
{
    if (!m_x.empty())
        UpdateTicks();
    CZuChart::resizeEvent(event);
}

bool CStackedChart::DataPosition(const QPoint& pixel, double& x, double& y) const
{
    if (!axisRect()->rect().contains(pixel))
        return false;
    x = xAxis->pixelToCoord(pixel.x()) - 1.0;
    y = yAxis->pixelToCoord(pixel.y());
    return true;
}
