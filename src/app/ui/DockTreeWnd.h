#pragma once
// The project window: a docked window with one tab per project of the open document, each tab a
// tree of that project's elements (multi-selection). The commands act on its selection.
#include "app/ProjectTreeWindow.h"

#include "app/ui/MTreeCtrlEx.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"

#include <QDockWidget>
#include <QPointer>

#include <memory>
#include <vector>

class CDlgInputPowerData;
class CTreePickers;
class CProjectTreeModel;
class QTabWidget;
class QToolButton;

// WM_ZU_INPUT_POWER_DATA asks the project window for the input-power dialog: wParam 1034 (close
// mode) or 1056 (solving mode) with the project to solve as lParam; wParam 2 closes the dialog.

class CDockTreeWnd : public QDockWidget, public IProjectTreeWindow, public IMessageTarget
{
    Q_OBJECT
public:
    explicit CDockTreeWnd(QWidget* parent = nullptr);
    ~CDockTreeWnd() override;

    // IProjectTreeWindow
    void AddTree(CMElement* project, const std::string& label) override;
    void InsertTree(int index, CMElement* project, const std::string& label) override;
    CMElement* GetTreeProject(int index) const override;
    void RemoveTree(int index) override;
    void RemoveAllTrees() override;
    void RefreshItems() override;
    void SetTreeLabel(int index, const std::string& label) override;
    // The subsystem pickers of messages 4069 and 4070 (null before the first).
    CTreePickers* Pickers() const { return m_pickers.get(); }
    int GetTreeCount() const override { return static_cast<int>(m_tabTrees.size()); }
    int GetActiveIndex() const override;
    int GetSelection(CMElementList& list) const override;
    bool AddElement(int projectIndex, CMElement* element) override;
    bool RemoveElement(int projectIndex, CMElement* element) override;
    bool RenameElement(int projectIndex, CMElement* element) override;

    // The tree at index (-1: the active one); null outside the trees. A tree is made when its tab
    // is first shown or it is first asked for.
    CMTreeCtrlEx* GetTree(int index) const;
    CMTreeCtrlEx* GetActiveTree() const { return GetTree(-1); }
    void SetActiveIndex(int index) override;
    QTabWidget* Tabs() const { return m_tabs; }

    // The four buttons in the tab row: to the first, the previous, the next and the last tab.
    enum ETabButton
    {
        kTabFirst = 0,
        kTabPrevious = 1,
        kTabNext = 2,
        kTabLast = 3,
    };
    QToolButton* TabButton(int k) const;
    // Bit k shows button k (all four at start); the shown ones line up from the left.
    void SetTabButtonMask(int mask);
    int GetTabButtonMask() const { return m_tabButtonMask; }

    // IMessageTarget: elements added (1224) and removed (1225) by the project window's dialogs,
    // and the input-power dialog (4033).
    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    // The input-power dialog while it is open; null otherwise.
    CDlgInputPowerData* InputPowerDialog() const;
    // Whether the first selected element of the active tree is a result; false with no selection.
    bool IsResultSelected() const;
    // Asks for each selected element of the active tree (question 7017 with its name) and on yes
    // removes it from the tree and deletes it from its parent; the document is then modified. An
    // element below another selected one goes with that one. Returns how many were deleted.
    int DeleteSelectedElements();

signals:
    // A double-click on an element: open the selection (command 1191 of the main frame).
    void OpenSelectionRequested();
    // Right button over a tree: the main frame's tree context menu.
    void ContextMenuRequested();
    // The selection the commands act on changed (another element or another tab).
    void SelectionChanged();

private:
    // The tree that shows the project holding element (looked for at projectIndex first); null when none does.
    CMTreeCtrlEx* TreeShowing(int projectIndex, const CMElement* element) const;
    // Opens the input-power dialog once (over project 0, the model project) and reuses it.
    void OpenInputPowerData(uintptr_t command, CMElement* project);
    void CloseInputPowerData();
    void UpdateTabButtons();

    QTabWidget* m_tabs;
    QToolButton* m_tabButtons[4] = {};
    int m_tabButtonMask = 15;
    QPointer<CDlgInputPowerData> m_inputPowerDialog;
    // One per tab: the tab's page, the project it shows and its tree once made (in the page).
    struct STabTree
    {
        QWidget* page;
        CMElement* project;
        QString name;
        CMTreeCtrlEx* tree = nullptr;
    };
    // The tree of tab index, made now if it was not yet.
    CMTreeCtrlEx* EnsureTree(int index) const;
    mutable std::vector<STabTree> m_tabTrees;
    std::unique_ptr<CTreePickers> m_pickers; // made on first use
};
