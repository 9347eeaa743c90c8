#include "platform/elements/MElementList.h"

#include <algorithm>
#include <unordered_set>

#include "platform/elements/MElement.h"

CMElement* CMElementList::At(int i) const
{
    if (i < 0 || i >= GetSize())
        return nullptr;
    return m_items[static_cast<size_t>(i)];
}

int CMElementList::Add(CMElement* element)
{
    m_items.push_back(element);
    return GetSize() - 1;
}

int CMElementList::Append(const CMElementList& other)
{
    if (&other == this) {
        std::vector<CMElement*> copy = m_items;
        m_items.insert(m_items.end(), copy.begin(), copy.end());
    } else {
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    }
    return GetSize();
}

int CMElementList::Index(const CMElement* element) const
{
    auto it = std::find(m_items.begin(), m_items.end(), element);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

int CMElementList::Remove(const CMElement* element)
{
    return RemoveAt(Index(element));
}

int CMElementList::RemoveAt(int index)
{
    if (index < 0 || index >= GetSize())
        return 0;
    m_items.erase(m_items.begin() + index);
    return 1;
}

void CMElementList::Clear(int destroy)
{
    std::vector<CMElement*> items;
    items.swap(m_items);
    if (!destroy)
        return;
    // An element listed together with an ancestor that owns it goes with that ancestor; deleting it
    // on its own as well could free it twice. So elements owned below another listed one are skipped.
    std::unordered_set<CMElement*> listed(items.begin(), items.end());
    std::unordered_set<CMElement*> seen;
    std::vector<CMElement*> roots;
    // Decide everything before destroying anything: a destroyed element's parent links are gone.
    for (CMElement* element : items) {
        if (element == nullptr || !seen.insert(element).second)
            continue;
        bool underListed = false;
        // Walk the owning parents only: a parent named at construction owns nothing yet.
        for (CMElement* c = element; c->GetParent() != nullptr && c->GetParent()->GetChildIndex(c) >= 0;
             c = c->GetParent())
            if (listed.count(c->GetParent()) != 0) {
                underListed = true;
                break;
            }
        if (!underListed)
            roots.push_back(element);
    }
    for (CMElement* element : roots) {
        CMElement* parent = element->GetParent();
        if (parent != nullptr && parent->GetChildIndex(element) >= 0)
            parent->DeleteChild(element, 1);
        else
            delete element;
    }
}
