#include "platform/elements/MElement.h"

#include <algorithm>

#include "platform/archive/Archive.h"
#include "platform/base/Feedback.h"
#include "platform/base/Format.h"
#include "platform/elements/ElementTreeObserver.h"
#include "platform/elements/SchemaGuard.h"
#include "platform/elements/MElementList.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/win/ObjectLifetime.h"

IMPLEMENT_SERIAL(CMElement, CObject, 1)

namespace {
constexpr uint8_t kElementVersion = 1;
// Duplicate stores into memory: that is no save the user waits for, so it sends no progress.
thread_local int t_quietStore = 0;
// Trees built or read in bulk on this thread tell their observers nothing.
thread_local int t_silentTree = 0;

bool SameName(const std::string& a, const std::string& b, int matchCase)
{
    if (matchCase)
        return a == b;
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}
} // namespace

CMElement::CMElement() = default;

CMElement::CMElement(const std::string& name, CMElement* parent, int type)
    : m_name(name), m_type(type), m_parent(parent)
{}

CMElement::~CMElement()
{
    // Windows and modeless dialogs that show this element close before it goes.
    NotifyObjectGoing(this);
    // Children go first, last to first, while this element is still whole for any of them that
    // looks at its parent on the way out.
    while (!m_children.empty())
        m_children.pop_back();
}

void CMElement::SetName(const std::string& name)
{
    m_name = name;
    if (m_holder != nullptr)
        if (IElementTreeObserver* observer = FindTreeObserver())
            observer->OnElementRenamed(this);
}

CMElement* CMElement::AddChild(CMElement* child)
{
    if (child == nullptr || child == this || child->IsAncestorOf(this))
        return nullptr;
    // Constant time however many children there are: the child knows whose list holds it.
    if (child->m_holder == this)
        return child;
    std::unique_ptr<CMElement> owned;
    if (child->m_holder != nullptr)
        owned = child->m_holder->ReleaseChild(child);
    if (!owned)
        owned.reset(child);
    owned->m_parent = this;
    owned->m_holder = this;
    m_children.push_back(std::move(owned));
    TellAdded(child);
    return child;
}

void CMElement::TakeChildrenOf(CMElement& source)
{
    if (&source == this || source.IsAncestorOf(this))
        return;
    if (IElementTreeObserver* observer = source.FindTreeObserver())
        for (auto& child : source.m_children)
            observer->OnElementRemoving(child.get());
    const size_t first = m_children.size();
    for (auto& child : source.m_children) {
        child->m_parent = this;
        child->m_holder = this;
        m_children.push_back(std::move(child));
    }
    source.m_children.clear();
    if (IElementTreeObserver* observer = FindTreeObserver())
        for (size_t i = first; i < m_children.size(); ++i)
            observer->OnElementAdded(m_children[i].get());
}

CMElement* CMElement::GetChild(int i) const
{
    if (i < 0 || i >= GetChildCount())
        return nullptr;
    return m_children[static_cast<size_t>(i)].get();
}

int CMElement::GetAllChildCount() const
{
    int count = 0;
    for (const auto& child : m_children)
        count += 1 + child->GetAllChildCount();
    return count;
}

int CMElement::GetChildIndex(const CMElement* child) const
{
    if (child == nullptr || child->m_holder != this)
        return -1;
    // Elements are mostly added at the end and asked for soon after: look there first.
    if (!m_children.empty() && m_children.back().get() == child)
        return static_cast<int>(m_children.size() - 1);
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i].get() == child)
            return static_cast<int>(i);
    return -1;
}

std::unique_ptr<CMElement> CMElement::ReleaseChild(CMElement* child)
{
    int i = GetChildIndex(child);
    if (i < 0)
        return nullptr;
    TellRemoving(child);
    std::unique_ptr<CMElement> owned = std::move(m_children[static_cast<size_t>(i)]);
    m_children.erase(m_children.begin() + i);
    owned->m_parent = nullptr;
    owned->m_holder = nullptr;
    return owned;
}

bool CMElement::IsAncestorOf(const CMElement* element) const
{
    for (const CMElement* p = element ? element->m_parent : nullptr; p != nullptr; p = p->m_parent)
        if (p == this)
            return true;
    return false;
}

IElementTreeObserver* CMElement::FindTreeObserver() const
{
    if (t_silentTree != 0)
        return nullptr;
    // Up the lists that hold the elements: a parent only named at construction is no tree yet.
    const CMElement* root = this;
    while (root->m_holder != nullptr)
        root = root->m_holder;
    return root->GetTreeObserver();
}

void CMElement::TellAdded(CMElement* child) const
{
    if (IElementTreeObserver* observer = FindTreeObserver())
        observer->OnElementAdded(child);
}

void CMElement::TellRemoving(CMElement* child) const
{
    if (IElementTreeObserver* observer = FindTreeObserver())
        observer->OnElementRemoving(child);
}

CMElement::CSilentTree::CSilentTree()
{
    ++t_silentTree;
}
CMElement::CSilentTree::~CSilentTree()
{
    --t_silentTree;
}

CMElement::CQuietStore::CQuietStore()
{
    ++t_quietStore;
}
CMElement::CQuietStore::~CQuietStore()
{
    --t_quietStore;
}

void CMElement::SendStoreProgress(CArchive& ar)
{
    // The feedback travels with the archive, so a save run on a worker steps the feedback its
    // caller gave, and a store into memory without one (a duplicate) steps nothing.
    CFeedback* progress = ar.GetFeedback();
    if (progress && t_quietStore == 0)
        progress->Step();
}

void CMElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        SendStoreProgress(ar);
        ar << kElementVersion;
        ar << m_name;
        ar << static_cast<int32_t>(m_type);
        ar.WriteCount(static_cast<uint32_t>(m_children.size()));
        for (const auto& child : m_children)
            ar.WriteObject(child.get());
        return;
    }

    // Children come through the archive's object records, whose nesting depth the archive bounds.
    CSchemaGuard schema(ar);
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kElementVersion)
        CArchive::ThrowBadSchema(Format("element version %u", static_cast<unsigned>(version)));
    std::string name;
    int32_t type = 0;
    ar >> name >> type;
    // Each child record takes at least its 2-byte tag.
    uint32_t count = ar.ReadCount(2);
    std::vector<std::unique_ptr<CMElement>> children;
    children.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<CMElement> child = ar.ReadOwned<CMElement>();
        if (child)
            children.push_back(std::move(child));
    }
    RemoveAll();
    m_name = std::move(name);
    m_type = type;
    for (auto& child : children) {
        child->m_parent = this;
        child->m_holder = this;
        m_children.push_back(std::move(child));
    }
    // An element read again in place, inside a tree someone shows, shows its new children.
    if (IElementTreeObserver* observer = FindTreeObserver())
        for (auto& child : m_children)
            observer->OnElementAdded(child.get());
}

int CMElement::MoveChild(int from, int to)
{
    int n = GetChildCount();
    if (from < 0 || from >= n || to < 0 || to >= n)
        return 0;
    if (from == to)
        return 1;
    // The moved child leaves and comes back at its new place for whoever shows the tree.
    CMElement* moved = m_children[static_cast<size_t>(from)].get();
    TellRemoving(moved);
    auto first = m_children.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    TellAdded(moved);
    return 1;
}

std::unique_ptr<CMElement> CMElement::Duplicate() const
{
    std::unique_ptr<CMElement> copy;
    {
        CQuietStore quiet;
        CSilentTree silent;
        copy = CGfxUtil::Duplicate<CMElement>(this);
    }
    if (copy)
        copy->m_parent = m_parent;
    return copy;
}

void CMElement::SortByID(int ascending)
{
    CResortNotice notice(*this);
    std::stable_sort(m_children.begin(), m_children.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a->m_type < b->m_type : b->m_type < a->m_type;
    });
}

void CMElement::SortByName(int ascending)
{
    CResortNotice notice(*this);
    std::stable_sort(m_children.begin(), m_children.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a->m_name < b->m_name : b->m_name < a->m_name;
    });
}

int CMElement::InquireName(const std::string& name, int matchCase) const
{
    return FindOneChild(name, matchCase) != nullptr ? 1 : 0;
}

std::string CMElement::GetUniqueName(const std::string& name) const
{
    if (!InquireName(name))
        return name;
    std::string base = name;
    size_t tilde = base.rfind('~');
    if (tilde != std::string::npos)
        base.erase(tilde);
    // There are at most GetChildCount() names taken, so one of the first count+1 numbers is free.
    for (int counter = 0;; ++counter) {
        std::string candidate = Format("%s~%1d", base.c_str(), counter);
        if (!InquireName(candidate))
            return candidate;
    }
}

int CMElement::ReplaceName(const std::string& oldName, const std::string& newName, int depth)
{
    if (depth == 0)
        return 0;
    int count = 0;
    for (auto& child : m_children) {
        if (child->m_name == oldName) {
            child->m_name = newName;
            ++count;
        }
        count += child->ReplaceName(oldName, newName, depth < 0 ? -1 : depth - 1);
    }
    return count;
}

template <class Pred>
CMElement* CMElement::FindFirst(const Pred& pred, int depth) const
{
    if (depth == 0)
        return nullptr;
    for (const auto& child : m_children) {
        if (pred(*child))
            return child.get();
        if (CMElement* found = child->FindFirst(pred, depth < 0 ? -1 : depth - 1))
            return found;
    }
    return nullptr;
}

template <class Pred>
int CMElement::FindAll(const Pred& pred, CMElementList& list, int depth) const
{
    if (depth == 0)
        return 0;
    int count = 0;
    for (const auto& child : m_children) {
        if (pred(*child)) {
            list.Add(child.get());
            ++count;
        }
        count += child->FindAll(pred, list, depth < 0 ? -1 : depth - 1);
    }
    return count;
}

CMElement* CMElement::FindOne(int type, int depth) const
{
    return FindFirst([type](const CMElement& e) { return e.m_type == type; }, depth);
}

CMElement* CMElement::FindOne(const std::string& name, int depth, int matchCase) const
{
    return FindFirst([&](const CMElement& e) { return SameName(e.m_name, name, matchCase); }, depth);
}

CMElement* CMElement::FindOne(const CRuntimeClass* cls, int depth) const
{
    if (cls == nullptr)
        return nullptr;
    return FindFirst([cls](const CMElement& e) { return e.IsKindOf(cls); }, depth);
}

CMElement* CMElement::FindOneChild(int type) const
{
    return FindOne(type, 1);
}

CMElement* CMElement::FindOneChild(const std::string& name, int matchCase) const
{
    return FindOne(name, 1, matchCase);
}

CMElement* CMElement::FindOneChild(const CRuntimeClass* cls) const
{
    return FindOne(cls, 1);
}

int CMElement::Find(int type, CMElementList& list, int depth) const
{
    return FindAll([type](const CMElement& e) { return e.m_type == type; }, list, depth);
}

int CMElement::Find(const std::string& name, CMElementList& list, int depth, int matchCase) const
{
    return FindAll([&](const CMElement& e) { return SameName(e.m_name, name, matchCase); }, list, depth);
}

int CMElement::Find(const CRuntimeClass* cls, CMElementList& list, int depth) const
{
    if (cls == nullptr)
        return 0;
    return FindAll([cls](const CMElement& e) { return e.IsKindOf(cls); }, list, depth);
}

int CMElement::DeleteChild(CMElement* child, int destroy)
{
    std::unique_ptr<CMElement> owned = ReleaseChild(child);
    if (!owned)
        return 0;
    if (!destroy)
        owned.release(); // the caller owns it now
    return 1;
}

int CMElement::DeleteChild(int index, int destroy)
{
    return DeleteChild(GetChild(index), destroy);
}

void CMElement::RemoveAll()
{
    IElementTreeObserver* observer = FindTreeObserver();
    while (!m_children.empty()) {
        if (observer)
            observer->OnElementRemoving(m_children.back().get());
        m_children.pop_back();
    }
}

// Sorted children leave before the sort and come back after it, in their new order, for whoever
// shows the tree.
CMElement::CResortNotice::CResortNotice(CMElement& element) : m_element(element), m_observer(element.FindTreeObserver())
{
    if (m_observer)
        for (auto& child : m_element.m_children)
            m_observer->OnElementRemoving(child.get());
}

CMElement::CResortNotice::~CResortNotice()
{
    if (m_observer)
        for (auto& child : m_element.m_children)
            m_observer->OnElementAdded(child.get());
}
