#pragma once
// An ordered list of element pointers: children collected by a search, the current selection of the
// project tree, the inputs of a calculation. The list does not own its elements unless its holder
// says so and empties it with Clear(1).
#include <vector>

class CMElement;

class CMElementList
{
public:
    CMElementList() = default;
    CMElementList(const CMElementList&) = default;
    CMElementList& operator=(const CMElementList&) = default;

    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    // Element i; null for an index outside the list.
    CMElement* operator[](int i) const { return At(i); }
    CMElement* At(int i) const;
    // Appends an element; returns its index.
    int Add(CMElement* element);
    // Appends every element of other; returns the new size.
    int Append(const CMElementList& other);
    // Index of the first occurrence; -1 when absent.
    int Index(const CMElement* element) const;
    // Removes the first occurrence (1) or nothing (0); the element is not destroyed.
    int Remove(const CMElement* element);
    // Removes the entry at index (1) or nothing for an index outside the list (0).
    int RemoveAt(int index);
    // Empties the list. With flag 1 every listed element is destroyed too (once, however often it
    // is listed); an element that is a child of another element is taken out of its parent first.
    void Clear(int destroy = 0);

    std::vector<CMElement*>::const_iterator begin() const { return m_items.begin(); }
    std::vector<CMElement*>::const_iterator end() const { return m_items.end(); }

private:
    std::vector<CMElement*> m_items;
};
