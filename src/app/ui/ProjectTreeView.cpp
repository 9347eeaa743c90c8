#include "app/ui/ProjectTreeView.h"

#include "app/ProjectDoc.h"
#include "app/TALVOApp.h"
#include "app/ui/ProjectTreeModel.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTabWidget>

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
    for (CMElement* e : elements)
    {
        const QModelIndex idx = m_model->IndexOf(e);
        if (idx.isValid())
            selection.select(idx, idx);
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!elements.empty())
    {
        const QModelIndex first = m_model->IndexOf(elements.front());
        if (first.isValid())
            selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    }
}

CDockTreeWnd::CDockTreeWnd(QWidget* parent) : QDockWidget(QStringLiteral("Project Window"), parent)
{
    setObjectName(QStringLiteral("ProjectWindow"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    m_tabs = new QTabWidget(this);
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    setWidget(m_tabs);
}

CDockTreeWnd::~CDockTreeWnd() = default;

void CDockTreeWnd::AddTree(CMElement* project, const std::string& label)
{
    auto* tree = new CMTreeCtrlEx(m_tabs);
    tree->setObjectName(QStringLiteral("ProjectTree%1").arg(200 + GetTreeCount()));
    tree->Model()->AddRootElement(project);
    tree->expand(tree->Model()->index(0, 0));
    connect(tree, &QTreeView::doubleClicked, this, [this] { emit OpenSelectionRequested(); });
    connect(tree, &QWidget::customContextMenuRequested, this, [this] { emit ContextMenuRequested(); });
    m_trees.push_back(tree);
    m_tabs->addTab(tree, QString::fromStdString(label));
}

void CDockTreeWnd::RemoveTree(int index)
{
    if (index < 0 || index >= GetTreeCount())
        return;
    CMTreeCtrlEx* tree = m_trees[static_cast<size_t>(index)];
    m_tabs->removeTab(index);
    m_trees.erase(m_trees.begin() + index);
    delete tree;
}

void CDockTreeWnd::RemoveAllTrees()
{
    for (int i = GetTreeCount() - 1; i >= 0; --i)
        RemoveTree(i);
    update();
}

void CDockTreeWnd::RefreshItems()
{
    for (CMTreeCtrlEx* tree : m_trees)
    {
        tree->Model()->Refresh();
        tree->expand(tree->Model()->index(0, 0));
    }
}

void CDockTreeWnd::SetTreeLabel(int index, const std::string& label)
{
    if (index >= 0 && index < GetTreeCount())
    {
        m_tabs->setTabText(index, QString::fromStdString(label));
        m_trees[static_cast<size_t>(index)]->Model()->ElementChanged(m_trees[static_cast<size_t>(index)]->Model()->RootAt(0));
    }
}

int CDockTreeWnd::GetActiveIndex() const
{
    return m_trees.empty() ? -1 : m_tabs->currentIndex();
}

void CDockTreeWnd::SetActiveIndex(int index)
{
    if (index >= 0 && index < GetTreeCount())
        m_tabs->setCurrentIndex(index);
}

CMTreeCtrlEx* CDockTreeWnd::GetTree(int index) const
{
    if (index == -1)
        index = GetActiveIndex();
    return (index >= 0 && index < GetTreeCount()) ? m_trees[static_cast<size_t>(index)] : nullptr;
}

int CDockTreeWnd::GetSelection(CMElementList& list) const
{
    list.Clear();
    if (CMTreeCtrlEx* tree = GetActiveTree())
        tree->GetSelection(list);
    return list.GetSize();
}

bool CDockTreeWnd::AddElement(int projectIndex, CMElement* element)
{
    CMTreeCtrlEx* tree = GetTree(projectIndex);
    if (!tree || !element)
        return false;
    tree->Model()->AddElement(element);
    const QModelIndex idx = tree->Model()->IndexOf(element);
    if (idx.isValid())
        tree->expand(idx.parent());
    if (CTALVODoc* doc = GetTALVOApp().GetMainDocument())
        doc->SetModifiedFlag(1);
    return true;
}

bool CDockTreeWnd::RemoveElement(int projectIndex, CMElement* element)
{
    CMTreeCtrlEx* tree = GetTree(projectIndex);
    if (!tree || !element)
        return false;
    tree->Model()->RemoveElement(element);
    if (CTALVODoc* doc = GetTALVOApp().GetMainDocument())
        doc->SetModifiedFlag(1);
    return true;
}
