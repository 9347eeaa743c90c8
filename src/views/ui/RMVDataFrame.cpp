#include "views/ui/RMVDataFrame.h"

#include "app/TALVOProject.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "views/ui/DataViewOpeners.h"
#include "views/ui/RMVDataDoc.h"
#include "views/ui/RMVDataGraphView.h"
#include "views/ui/RMVDataSelectView.h"
#include "views/ui/RMVDataTableView.h"

CRMVDataFrame::CRMVDataFrame(std::unique_ptr<CRMVDataDoc> doc, QWidget* parent) : CQMXDataFrame(std::move(doc), parent)
{
    CRMVDataDoc* d = GetRMVDocument();
    m_select = new CRMVDataSelectView(d, this);
    m_table = new CRMVDataTableView(d, this);
    m_graph = new CRMVDataGraphView(d, this);
    SetPanes(m_select, m_table, m_graph, 100, 150);
    CreateDialogBar();
    connect(m_graph, &CZuChart::PointClicked, this,
            [this](int, int point, double, double) { m_table->SelectCell(point + 1, -1); });
    d->UpdateAllViews(nullptr, -1);
}

CRMVDataFrame::~CRMVDataFrame() = default;

CRMVDataDoc* CRMVDataFrame::GetRMVDocument() const
{
    return static_cast<CRMVDataDoc*>(GetDocument());
}

CRMVDataFrame* CRMVDataFrame::Open(QMdiArea* area, CZuRpmMultiVecFunc* function, CTALVOProject* project)
{
    if (!function)
        return nullptr;
    if (auto* open = dynamic_cast<CRMVDataFrame*>(FindFrame(function))) {
        open->Activate();
        return open;
    }
    if (!project)
        project = FindProjectContainer(function);
    auto doc = std::make_unique<CRMVDataDoc>(project);
    doc->ShowFunction(function, project);
    auto* frame = new CRMVDataFrame(std::move(doc));
    Show(frame, area);
    return frame;
}
