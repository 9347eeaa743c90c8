#include "views/ui/RMVDataGraphView.h"

#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/ui/RMVDataDoc.h"
#include "views/ui/RMVDataTableView.h"

#include <QMenu>

#include <limits>

CRMVDataGraphView::CRMVDataGraphView(CRMVDataDoc* doc, QWidget* parent) : CQMXGraphView(doc, doc, parent), m_rmv(doc)
{
    connect(this, &CZuChart::PointClicked, this, [this](int curve, int, double, double) {
        HighlightCurve(curve);
        m_rmv->UpdateAllViews(this, curve);
    });
}

void CRMVDataGraphView::OnUpdate(IZuTableDataView* sender, int hint)
{
    if (!m_rmv->GetFunction()) {
        ClearChart();
        replot();
        return;
    }
    if (dynamic_cast<CRMVDataTableView*>(sender)) {
        if (hint >= 0)
            HighlightCurve(hint);
        return;
    }
    BuildChart();
}

void CRMVDataGraphView::BuildChart()
{
    CZuRpmMultiVecFunc* f = m_rmv->GetFunction();
    if (!f)
        return;
    const int axis = m_rmv->GetItem(CQMXDataCore::ITEM_AXIS);
    m_rmv->ApplyDisplaySettings(axis);
    const int subset = m_rmv->GetCurrentSubset();
    const int curves = std::max(0, f->GetTableColCount(0) - 1);
    const int points = std::max(0, f->GetTableRowCount(0) - 1);
    std::vector<Series> list;
    for (int s = 0; s < curves; ++s) {
        Series c;
        c.name = QString::fromStdString(f->GetTableCellData(0, s + 1, subset, 0));
        c.x.reserve(points);
        for (int p = 0; p < points; ++p)
            c.x.push_back(f->GetAxisValue(p));
        std::vector<double> values;
        f->GetTableColumnValues(s + 1, subset, values);
        values.resize(static_cast<size_t>(points), std::numeric_limits<double>::quiet_NaN());
        c.y = QVector<double>(values.begin(), values.end());
        list.push_back(std::move(c));
    }
    PlotCurves(list, f, axis == 1, f->GetLabel());
}

QMenu* CRMVDataGraphView::CreateContextMenu()
{
    QMenu* menu = CQMXGraphView::CreateContextMenu();
    menu->addSeparator();
    menu->addAction(tr("&Options..."), this, [this] { m_rmv->OnOptions(); });
    return menu;
}
