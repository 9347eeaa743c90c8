#pragma once
// The element tree: every project, folder, data set and result is a named, typed element that owns
// its children in insertion order. Children are re-created by class when a tree is read back, so a
// tree of mixed element kinds travels through one archive.
//
// Ownership: a parent owns its children (AddChild takes ownership; DeleteChild with flag 1 and
// RemoveAll destroy them). The parent pointer given at construction only names the parent; the
// element becomes a child (and owned) when it is added with AddChild.
//
// Depth arguments of the look-ups: 1 searches the direct children only, n searches n levels down,
// a negative depth searches the whole subtree. Searches run depth first, children in order, so the
// first match is the one met first in the order the tree shows. Name comparisons are byte-wise;
// with matchCase 0 ASCII letters compare without case.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/Object.h"
#include "platform/elements/ElementType.h"

class CArchive;
class CFeedback;
class CMElementList;
class IElementTreeObserver;

class CMElement : public CObject
{
    DECLARE_SERIAL(CMElement)
public:
    // While one lives, the elements stored on this thread send no progress: for the parts of an
    // element that are elements themselves but no nodes of the tree (the rows of a map), which the
    // progress range does not count.
    class CQuietStore
    {
    public:
        CQuietStore();
        ~CQuietStore();
        CQuietStore(const CQuietStore&) = delete;
        CQuietStore& operator=(const CQuietStore&) = delete;
    };

    // While one lives, the trees changed on this thread tell their observers nothing: for building
    // or reading a tree in bulk, whose window is built whole afterwards.
    class CSilentTree
    {
    public:
        CSilentTree();
        ~CSilentTree();
        CSilentTree(const CSilentTree&) = delete;
        CSilentTree& operator=(const CSilentTree&) = delete;
    };

    CMElement(); // empty name, no parent, type -1 (the class factory)
    CMElement(const std::string& name, CMElement* parent, int type);
    ~CMElement() override; // destroys the children
    CMElement(const CMElement&) = delete;
    CMElement& operator=(const CMElement&) = delete;

    const std::string& GetName() const { return m_name; }
    // An element held in a tree tells the tree's observer of its new name.
    void SetName(const std::string& name);
    // The element type code (one numbering across the system).
    int GetType() const { return m_type; }
    void SetType(int type) { m_type = type; }
    CMElement* GetParent() const { return m_parent; }
    void SetParent(CMElement* parent) { m_parent = parent; }

    // ---- children ----
    // Appends an owned child and makes this its parent; returns the child. A child owned by another
    // element is taken out of that element first. Adding null, this element or one of its ancestors
    // does nothing and returns null (the caller keeps what it had); adding a child twice keeps it once.
    CMElement* AddChild(CMElement* child);
    // Makes room for count more children, for readers that know how many follow.
    void ReserveChildren(size_t count) { m_children.reserve(m_children.size() + count); }
    template <class T>
    T* AddChild(std::unique_ptr<T> child)
    {
        T* raw = child.get();
        if (AddChild(static_cast<CMElement*>(raw)) == nullptr)
            return nullptr; // refused: child is destroyed with the unique_ptr
        child.release();
        return raw;
    }
    // Moves every child of source, in order, to the end of this element's children (linear time).
    void TakeChildrenOf(CMElement& source);
    // Child i in insertion order; null for an index outside the list.
    CMElement* GetChild(int i) const;
    int GetChildCount() const { return static_cast<int>(m_children.size()); }
    // Number of all descendants (children, their children, ...).
    int GetAllChildCount() const;
    // Position of a direct child; -1 when it is not one.
    int GetChildIndex(const CMElement* child) const;
    // Takes a direct child out of the list without destroying it; null when it is not a child.
    std::unique_ptr<CMElement> ReleaseChild(CMElement* child);
    // True when this element is ancestor below (its parent, its parent's parent, ...).
    bool IsAncestorOf(const CMElement* element) const;

    // ---- change notices ----
    // The observer a root element keeps for its tree; none by default. Every addition and removal
    // of an element anywhere below the root reaches it (AddChild, ReleaseChild, DeleteChild,
    // RemoveAll, TakeChildrenOf; a moved or sorted child leaves and comes back), and every SetName of
    // an element held below it, except while a CSilentTree
    // lives. Reading a tree from an archive tells nothing.
    virtual IElementTreeObserver* GetTreeObserver() const { return nullptr; }
    // The observer of the tree that holds this element (asked of its root); null when there is none
    // or the tree is silent.
    IElementTreeObserver* FindTreeObserver() const;

    // Version byte, name, type code and the children as objects (docs/file-formats.md). The whole
    // subtree travels here: a derived class stores only its own fields after this part, never its
    // children again. The archive's object schema of the object being read is kept across the
    // children, so a derived class may ask GetObjectSchema before or after this part.
    void Serialize(CArchive& ar) override;

    // ---- tree operations (overridable, in this order) ----
    // Moves child from position `from` to position `to` (positions after the move); 1, or 0 when an
    // index is outside the list.
    virtual int MoveChild(int from, int to);
    // A deep copy of this element and its subtree (same class, name, type, values), made through an
    // in-memory archive. The copy names the same parent but is not added to it. Null when the class
    // cannot be stored.
    virtual std::unique_ptr<CMElement> Duplicate() const;
    // Stable sorts of the direct children by type code or by name (byte order); ascending 0 sorts
    // descending.
    virtual void SortByID(int ascending = 1);
    virtual void SortByName(int ascending = 1);
    // 1 when a direct child has the name, else 0.
    virtual int InquireName(const std::string& name, int matchCase = 1) const;
    // A name no direct child has: the name itself when free; otherwise the part from its last "~" on
    // is cut and "%s~%1d" is tried with 0, 1, 2, ... until a name is free.
    virtual std::string GetUniqueName(const std::string& name) const;
    // Renames every element named oldName down to depth levels; returns how many were renamed.
    virtual int ReplaceName(const std::string& oldName, const std::string& newName, int depth = -1);

    // First descendant by type code, by name, or by class (kind of).
    virtual CMElement* FindOne(int type, int depth = -1) const;
    virtual CMElement* FindOne(const std::string& name, int depth = -1, int matchCase = 1) const;
    virtual CMElement* FindOne(const CRuntimeClass* cls, int depth = -1) const;
    // The same among the direct children.
    virtual CMElement* FindOneChild(int type) const;
    virtual CMElement* FindOneChild(const std::string& name, int matchCase = 1) const;
    virtual CMElement* FindOneChild(const CRuntimeClass* cls) const;
    // Appends every matching descendant to list (in search order); returns the number appended.
    virtual int Find(int type, CMElementList& list, int depth = -1) const;
    virtual int Find(const std::string& name, CMElementList& list, int depth = -1, int matchCase = 1) const;
    virtual int Find(const CRuntimeClass* cls, CMElementList& list, int depth = -1) const;
    // Removes a direct child (by pointer or position). Flag 1 destroys it; flag 0 only takes it out
    // of the list (parent cleared) and the caller owns it. 1 when removed, 0 when it is not a child.
    virtual int DeleteChild(CMElement* child, int destroy = 1);
    virtual int DeleteChild(int index, int destroy = 1);
    // Destroys every child.
    virtual void RemoveAll();

protected:
    // Steps the feedback of the archive the element is stored to (when it has one); called as an
    // element is stored.
    static void SendStoreProgress(CArchive& ar);

private:
    class CResortNotice
    {
    public:
        explicit CResortNotice(CMElement& element);
        ~CResortNotice();
        CResortNotice(const CResortNotice&) = delete;
        CResortNotice& operator=(const CResortNotice&) = delete;

    private:
        CMElement& m_element;
        IElementTreeObserver* m_observer;
    };
    void TellAdded(CMElement* child) const;
    void TellRemoving(CMElement* child) const;
    template <class Pred>
    CMElement* FindFirst(const Pred& pred, int depth) const;
    template <class Pred>
    int FindAll(const Pred& pred, CMElementList& list, int depth) const;

    std::string m_name;
    int m_type = -1;
    CMElement* m_parent = nullptr;
    // The element whose child list holds this one (the parent once added; null before and after):
    // the parent pointer alone only names a parent.
    CMElement* m_holder = nullptr;
    std::vector<std::unique_ptr<CMElement>> m_children;
};

// Typed cast of an element (null when it is null or of another class).
template <class T>
T* ElementCast(CMElement* element)
{
    return DynamicDowncast<T>(element);
}
