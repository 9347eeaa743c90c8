#pragma once
// The project window: a docked window with one tab per project of the open document, each tab a
// tree of that project's elements (multi-selection). The commands act on its selection.
#include "app/ProjectTreeWindow.h"

#include "app/ui/MTreeCtrlEx.h"

#include <QDockWidget>

#include <vector>

class CProjectTreeModel;
class QTabWidget;

class CDockTreeWnd : public QDockWidget, public IProjectTreeWindow
{
    Q_OBJECT
public:
    explicit CDockTreeWnd(QWidget* parent = nullptr);
    ~CDockTreeWnd() override;

    // IProjectTreeWindow
    void AddTree(CMElement* project, const std::string& label) override;
    void RemoveTree(int index) override;
    void RemoveAllTrees() override;
    void RefreshItems() override;
    void SetTreeLabel(int index, const std::string& label) override;
    int GetTreeCount() const override { return static_cast<int>(m_trees.size()); }
    int GetActiveIndex() const override;
    int GetSelection(CMElementList& list) const override;
    bool AddElement(int projectIndex, CMElement* element) override;
    bool RemoveElement(int projectIndex, CMElement* element) override;

    // The tree at index (-1: the active one); null outside the trees.
    CMTreeCtrlEx* GetTree(int index) const;
    CMTreeCtrlEx* GetActiveTree() const { return GetTree(-1); }
    void SetActiveIndex(int index);
    QTabWidget* Tabs() const { return m_tabs; }

signals:
    // A double-click on an element: open the selection (command 1191 of the main frame).
    void OpenSelectionRequested();
    // Right button over a tree: the main frame's tree context menu.
    void ContextMenuRequested();
    // The selection the commands act on changed (another element or another tab).
    void SelectionChanged();

private:
    QTabWidget* m_tabs;
    std::vector<CMTreeCtrlEx*> m_trees;
};
