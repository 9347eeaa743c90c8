#include "platform/ui/ZuTableDataDoc.h"

#include "platform/elements/ZuTableData.h"

#include <algorithm>

CZuTableDataDoc::CZuTableDataDoc() = default;

CZuTableDataDoc::~CZuTableDataDoc()
{
    if (m_data)
        m_data->SetThisFrameWnd(nullptr);
}

void CZuTableDataDoc::SetData(CZuTableData* data)
{
    m_data = data;
    m_subset = 0;
}

void CZuTableDataDoc::AddView(IZuTableDataView* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CZuTableDataDoc::RemoveView(IZuTableDataView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CZuTableDataDoc::UpdateAllViews(IZuTableDataView* sender, int hint)
{
    // A view may add or remove views while it updates: walk a copy.
    const std::vector<IZuTableDataView*> views = m_views;
    for (IZuTableDataView* view : views)
        if (view != sender && std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(sender, hint);
}

void CZuTableDataDoc::DataGoing()
{
    m_data = nullptr;
    UpdateAllViews(nullptr, -1);
}
