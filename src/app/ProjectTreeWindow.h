#pragma once
// The project window as the document and the application see it: one tree per project of the open
// document, in project order, and the selection the commands act on. The main frame's tree window
// implements it; the application holds it while the main frame exists.
#include <string>

class CMElement;
class CMElementList;

class IProjectTreeWindow
{
public:
    virtual ~IProjectTreeWindow() = default;
    // Appends a tree (tab) with the project as its root element.
    virtual void AddTree(CMElement* project, const std::string& label) = 0;
    // Inserts a tree with the project as its root element before the tree at index (at the end
    // for an index past the trees).
    virtual void InsertTree(int index, CMElement* project, const std::string& label) = 0;
    // The root element of the tree at index; null outside the trees.
    virtual CMElement* GetTreeProject(int index) const = 0;
    // Removes the tree at index; nothing for an index outside the trees.
    virtual void RemoveTree(int index) = 0;
    virtual void RemoveAllTrees() = 0;
    // Rebuilds every tree's items from the elements.
    virtual void RefreshItems() = 0;
    virtual void SetTreeLabel(int index, const std::string& label) = 0;
    virtual int GetTreeCount() const = 0;
    // The active tree's index; -1 when there is none.
    virtual int GetActiveIndex() const = 0;
    // Makes the tree at index the active one: its project is the one the next commands act on.
    virtual void SetActiveIndex(int /*index*/) {}
    // Empties list and fills it with the active tree's selected elements; returns the count.
    virtual int GetSelection(CMElementList& list) const = 0;
    // A project's tree gained, is about to lose, or renamed an element: the tree of the project at
    // index (-1: the active one) follows. False when there is no such tree.
    virtual bool AddElement(int projectIndex, CMElement* element) = 0;
    virtual bool RemoveElement(int projectIndex, CMElement* element) = 0;
    virtual bool RenameElement(int projectIndex, CMElement* element) = 0;
};
