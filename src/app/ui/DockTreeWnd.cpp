#include "app/ui/DockTreeWnd.h"

#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "app/ui/ProjectTreeModel.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTabWidget>

#include <algorithm>

CDockTreeWnd::CDockTreeWnd(QWidget* parent) : QDockWidget(QStringLiteral("Project Window"), parent)
{
    setObjectName(QStringLiteral("ProjectWindow"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    m_tabs = new QTabWidget(this);
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    setWidget(m_tabs);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { emit SelectionChanged(); });
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
    connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
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
    for (CMTreeCtrlEx* tree : m_trees) {
        tree->Model()->Refresh();
        tree->expand(tree->Model()->index(0, 0));
    }
}

void CDockTreeWnd::SetTreeLabel(int index, const std::string& label)
{
    if (index >= 0 && index < GetTreeCount()) {
        m_tabs->setTabText(index, QString::fromStdString(label));
        m_trees[static_cast<size_t>(index)]->Model()->ElementChanged(
            m_trees[static_cast<size_t>(index)]->Model()->RootAt(0));
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
