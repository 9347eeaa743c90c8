#include "views/ui/HSEADataGraphView.h"

#include "views/ui/HSEADataTableDoc.h"
#include "views/ui/HSEADataTableView.h"

CHSEADataGraphView::CHSEADataGraphView(CHSEADataTableDoc* doc, QWidget* parent)
    : CTableChartView(doc, parent), m_hsea(doc)
{}

void CHSEADataGraphView::OnUpdate(IZuTableDataView* sender, int hint)
{
    if (!m_hsea->Core().ShowsChart())
        return;
    if (dynamic_cast<CHSEADataTableView*>(sender) && hint >= 0) {
        HighlightCurve(hint);
        replot();
        return;
    }
    BuildChart();
}

void CHSEADataGraphView::BuildChart()
{
    Plot(m_hsea->Core().BuildChart());
}
