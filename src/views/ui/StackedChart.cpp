#include "views/ui/StackedChart.h"

#include "platform/base/Format.h"

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
    QVector<double> running(points, 0.0);
    QCPGraph* below = nullptr;
    double top = 0.0;
    for (size_t c = 0; c < cells.size(); ++c) {
        for (int k = 0; k < points && k < static_cast<int>(cells[c].size()); ++k) {
            running[k] += cells[c][static_cast<size_t>(k)];
            top = std::max(top, running[k]);
        }
        const COLORREF rgb = c < colors.size() ? colors[c] : RGB(128, 128, 128);
        const QColor color(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
        QCPGraph* g = addGraph();
        g->setName(c < names.size() ? QString::fromStdString(names[c]) : QString());
        g->setData(keys, running, true);
        const bool marked = cumulative && static_cast<int>(c) == markedCurve;
        g->setPen(QPen(marked ? QColor(Qt::black) : color.darker(140), marked ? 2.5 : 1.0));
        g->setBrush(QBrush(color));
        // The first band reaches down to the axis, the others to the band below.
        if (below)
            g->setChannelFillGraph(below);
        below = g;
    }
    xAxis->setRange(0.5, std::max(1, points) + 0.5);
    yAxis->setRange(0.0, top > 0.0 ? top * 1.05 : 1.0);
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
        ticker->addTick(k + 1, QString::fromStdString(Format("%g", m_x[static_cast<size_t>(k)])));
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
