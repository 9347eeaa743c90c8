#include "views/ui/SwAxisGraphView.h"

#include "views/ui/SwAxisTableDoc.h"
#include "views/ui/SwAxisTableView.h"

CSwAxisGraphView::CSwAxisGraphView(CSwAxisTableDoc* doc, QWidget* parent) : CTableChartView(doc, parent), m_sw(doc) {}

void CSwAxisGraphView::OnUpdate(IZuTableDataView* sender, int hint)
{
    if (!m_sw->Core().IsCharted())
        return;
    if (dynamic_cast<CSwAxisTableView*>(sender) && hint >= 0) {
        HighlightCurve(hint);
        replot();
        return;
    }
    BuildChart();
}

void CSwAxisGraphView::BuildChart()
{
    Plot(m_sw->Core().BuildChart());
}
