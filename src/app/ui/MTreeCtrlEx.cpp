#include "app/ui/MTreeCtrlEx.h"

#include "app/ui/AppIcons.h"
#include "platform/ui/ProjectTreeModel.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "spectral/ZuRpmResultData.h"

#include <QItemSelectionModel>

#include <algorithm>

CMTreeCtrlEx::CMTreeCtrlEx(QWidget* parent) : QTreeView(parent), m_model(new CProjectTreeModel(this))
{
    setModel(m_model);
    m_model->SetIconProvider(&ElementIcon);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A double-click opens the element, so labels are edited by F2 or a click on the selected one.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    // Result sets over RPM take a new name; the main window decides whether it is free.
    m_model->SetLabelEditor(
        [](const CMElement* element) {
            return DynamicDowncast<CZuRpmResultData>(const_cast<CMElement*>(element)) != nullptr;
        },
        [this](CMElement* element, const std::string& text) {
            IMessageTarget* main = GetMainWindowTarget();
            if (!main)
                return false;
            SelectElements({element});
            int renamed = 0;
            main->SendMessage(WM_ZU_TREE_LABEL_EDITED, reinterpret_cast<uintptr_t>(text.c_str()),
                              reinterpret_cast<intptr_t>(&renamed));
            return renamed != 0;
        });
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
