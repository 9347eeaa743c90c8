#pragma once
// One project's tree in the project window: a tree view over its own model, multi-selection.
#include <QTreeView>

#include <vector>

class CMElement;
class CMElementList;
class CProjectTreeModel;

class CMTreeCtrlEx : public QTreeView
{
    Q_OBJECT
public:
    explicit CMTreeCtrlEx(QWidget* parent = nullptr);
    CProjectTreeModel* Model() const { return m_model; }
    // The selected elements in the order the tree shows them.
    int GetSelection(CMElementList& list) const;
    // Selects exactly these elements (tests, and after a command that made a new element).
    void SelectElements(const std::vector<CMElement*>& elements);

private:
    CProjectTreeModel* m_model;
};
