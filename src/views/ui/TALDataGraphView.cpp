#include "views/ui/TALDataGraphView.h"

#include "platform/ui/ZuTableSelectView.h"
#include "spectral/ZuRpmFunc.h"
#include "views/ui/TALDataDoc.h"

#include <QMenu>

#include <limits>

CTALDataGraphView::CTALDataGraphView(CTALDataDoc* doc, QWidget* parent) : CQMXGraphView(doc, doc, parent), m_tal(doc) {}

void CTALDataGraphView::OnUpdate(IZuTableDataView* sender, int hint)
{
    CZuRpmFunc* f = m_tal->GetFunction();
    if (!f) {
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
    CZuRpmFunc* f = m_tal->GetFunction();
    if (!f)
        return;
    const int axis = m_tal->GetItem(CQMXDataCore::ITEM_AXIS);
    m_tal->ApplyDisplaySettings(axis);
    const int subsets = f->GetTableFreqCount();
    const int points = std::max(0, f->GetTableRowCount(0) - 1);
    std::vector<Series> curves;
    const int first = m_plotAll ? 0 : subset;
    const int end = m_plotAll ? subsets : std::min(subset + 1, subsets);
    for (int s = std::max(first, 0); s < end; ++s) {
        Series c;
        c.name = QString::fromStdString(f->GetFreqIndicator(s));
        c.x.reserve(points);
        for (int p = 0; p < points; ++p)
            c.x.push_back(f->GetAxisValue(p));
        // A cell without a number is NaN: a gap in the curve.
        std::vector<double> values;
        f->GetTableColumnValues(1, s, values);
        values.resize(static_cast<size_t>(points), std::numeric_limits<double>::quiet_NaN());
        c.y = QVector<double>(values.begin(), values.end());
        curves.push_back(std::move(c));
    }
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
