#include "app/ui/MTreeCtrlEx.h"

#include "app/ui/ProjectTreeModel.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"

#include <QItemSelectionModel>

#include <algorithm>

CMTreeCtrlEx::CMTreeCtrlEx(QWidget* parent) : QTreeView(parent), m_model(new CProjectTreeModel(this))
{
    setModel(m_model);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setUniformRowHeights(true); // keeps trees of many thousands of rows quick
    setContextMenuPolicy(Qt::CustomContextMenu);
    setRootIsDecorated(true);
}

int CMTreeCtrlEx::GetSelection(CMElementList& list) const
{
    list.Clear();
    QModelIndexList rows = selectionModel()->selectedRows();
    // Tree order: by the path of rows from the top.
    auto pathOf = [](QModelIndex idx) {
        std::vector<int> path;
        for (; idx.isValid(); idx = idx.parent())
            path.push_back(idx.row());
        std::reverse(path.begin(), path.end());
        return path;
    };
    std::vector<std::pair<std::vector<int>, CMElement*>> items;
    items.reserve(static_cast<size_t>(rows.size()));
    for (const QModelIndex& idx : rows)
        if (CMElement* e = m_model->ElementOf(idx))
            items.emplace_back(pathOf(idx), e);
    std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& item : items)
        list.Add(item.second);
    return list.GetSize();
}

void CMTreeCtrlEx::SelectElements(const std::vector<CMElement*>& elements)
{
    QItemSelection selection;
    for (CMElement* e : elements) {
        const QModelIndex idx = m_model->IndexOf(e);
        if (idx.isValid())
            selection.select(idx, idx);
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!elements.empty()) {
        const QModelIndex first = m_model->IndexOf(elements.front());
        if (first.isValid())
            selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    }
}
