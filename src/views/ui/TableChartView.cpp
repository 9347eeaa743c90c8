#include "views/ui/TableChartView.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

CTableChartView::CTableChartView(CZuTableDataDoc* doc, QWidget* parent) : CZuChart(parent), m_doc(doc)
{
    // No fixed least size: the chart asks for what its title, labels and legend need
    // (minimumSizeHint), which a fixed one would override.
    m_doc->AddView(this);
    connect(this, &CZuChart::PointClicked, this, [this](int curve, int, double, double) {
        HighlightCurve(curve);
        replot();
        m_doc->UpdateAllViews(this, curve);
    });
}

CTableChartView::~CTableChartView()
{
    m_doc->RemoveView(this);
}

void CTableChartView::changeEvent(QEvent* event)
{
    // Told by nobody in particular, the views build their charts anew.
    if (event->type() == QEvent::LanguageChange)
        OnUpdate(nullptr, -1);
    CZuChart::changeEvent(event);
}

void CTableChartView::Plot(const CTableChartData& data)
{
    m_data = data;
    ClearChart();
    for (const CTableChartSubset& s : data.subsets)
        AddCurve(QString::fromStdString(s.name), QVector<double>(s.x.begin(), s.x.end()),
                 QVector<double>(s.y.begin(), s.y.end()));
    SetTitle(QString::fromStdString(data.title), QString::fromStdString(data.subtitle));
    xAxis->setLabel(QString::fromStdString(data.xLabel));
    yAxis->setLabel(QString::fromStdString(data.yLabel));
    if (data.xLog && data.xManual)
        SetLogAxis(xAxis, data.xMin, data.xMax);
    else if (data.xLog)
        SetLogAxisOver(xAxis, 0.0, 0.0);
    else
        xAxis->rescale(true);
    if (data.yLog && data.yManual) {
        SetLogAxis(yAxis, data.yMin, data.yMax);
    } else if (data.yLog) {
        SetLogAxisOver(yAxis, 0.0, 0.0);
    } else {
        FitLinearAxis(yAxis);
    }
    PlaceLegend(data);
    replot();
}

void CTableChartView::PlaceLegend(const CTableChartData& data)
{
    PlaceLegendBelow(*this);
    legend->setVisible(!data.subsets.empty() && !data.noLegend);
}
