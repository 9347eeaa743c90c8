#include "views/ui/TALDataFrame.h"

#include "app/TALVOProject.h"
#include "spectral/ZuRpmFunc.h"
#include "views/ui/DataViewOpeners.h"
#include "views/ui/TALDataDoc.h"
#include "views/ui/TALDataGraphView.h"
#include "views/ui/TALDataSelectView.h"
#include "views/ui/TALDataTableView.h"

CTALDataFrame::CTALDataFrame(std::unique_ptr<CTALDataDoc> doc, QWidget* parent) : CQMXDataFrame(std::move(doc), parent)
{
    CTALDataDoc* d = GetTALDocument();
    m_select = new CTALDataSelectView(d, this);
    // The chart is told of the map before the table: the pool reads a long map's curve while the
    // table is set up.
    m_graph = new CTALDataGraphView(d, this);
    m_table = new CTALDataTableView(d, this);
    SetPanes(m_select, m_table, m_graph, 100, 150);
    CreateDialogBar();
    connect(m_graph, &CZuChart::PointClicked, this, [this](int curve, int point, double, double) {
        CTALDataDoc* d = GetTALDocument();
        if (m_graph->IsPlotAll() && curve != d->GetCurrentSubset())
            m_select->SelectSubset(curve);
        m_table->SelectCell(point + 1, 1);
    });
    d->UpdateAllViews(nullptr, -1);
}

CTALDataFrame::~CTALDataFrame() = default;

CTALDataDoc* CTALDataFrame::GetTALDocument() const
{
    return static_cast<CTALDataDoc*>(GetDocument());
}

CTALDataFrame* CTALDataFrame::Open(QMdiArea* area, CZuRpmFunc* function, CTALVOProject* project)
{
    if (!function)
        return nullptr;
    if (auto* open = dynamic_cast<CTALDataFrame*>(FindFrame(function))) {
        open->Activate();
        return open;
    }
    if (!project)
        project = FindProjectContainer(function);
    auto doc = std::make_unique<CTALDataDoc>(project);
    doc->ShowFunction(function, project);
    auto* frame = new CTALDataFrame(std::move(doc));
    Show(frame, area);
    return frame;
}
