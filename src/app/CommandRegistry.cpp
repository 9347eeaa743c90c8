#include "app/CommandRegistry.h"

#include <algorithm>
#include <stdexcept>

namespace {
template <class Pred>
std::vector<const CCommandEntry*> Collect(const std::map<int, CCommandEntry>& entries, Pred pred,
                                          int CCommandEntry::*pos)
{
    std::vector<const CCommandEntry*> out;
    for (const auto& [id, e] : entries)
        if (pred(e))
            out.push_back(&e);
    std::stable_sort(out.begin(), out.end(),
                     [pos](const CCommandEntry* a, const CCommandEntry* b) { return a->*pos < b->*pos; });
    return out;
}
} // namespace

namespace {
CCommandRegistry& FrameRegistry()
{
    static CCommandRegistry registry;
    return registry;
}
} // namespace

const CCommandRegistry& CCommandRegistry::Frame()
{
    return FrameRegistry();
}

void CCommandRegistry::FillFrame(const std::vector<Registration>& registrations)
{
    static bool filled = false;
    if (filled)
        return;
    filled = true;
    CCommandRegistry& r = FrameRegistry();
    for (Registration registration : registrations)
        registration(r);
    // The commands that the project window's pickers run are rows of their table.
    for (const CFrameCommands::PickerCommand& row : CFrameCommands::PickerCommands())
        if (auto it = r.m_entries.find(row.id); it != r.m_entries.end())
            it->second.picker = true;
}

void CCommandRegistry::AddMenu(CCommandMenu menu)
{
    if (FindMenu(menu.key))
        throw std::logic_error("menu registered twice: " + menu.key);
    m_menus.push_back(std::move(menu));
}

const CCommandMenu* CCommandRegistry::FindMenu(const std::string& key) const
{
    for (const CCommandMenu& m : m_menus)
        if (m.key == key)
            return &m;
    return nullptr;
}

std::vector<const CCommandEntry*> CCommandRegistry::InMenu(const std::string& key) const
{
    return Collect(
        m_entries, [&key](const CCommandEntry& e) { return e.menu == key; }, &CCommandEntry::menuPos);
}

std::vector<const CCommandEntry*> CCommandRegistry::OnToolBar() const
{
    return Collect(
        m_entries, [](const CCommandEntry& e) { return e.toolBarPos >= 0; }, &CCommandEntry::toolBarPos);
}

std::vector<const CCommandEntry*> CCommandRegistry::InShortcut(int item) const
{
    return Collect(
        m_entries, [item](const CCommandEntry& e) { return e.shortcutItem == item; }, &CCommandEntry::shortcutPos);
}

std::vector<const CCommandEntry*> CCommandRegistry::InContextMenu(ECommandContextMenu menu) const
{
    return Collect(
        m_entries, [menu](const CCommandEntry& e) { return (e.contextMenus & menu) != 0; }, &CCommandEntry::contextPos);
}

std::vector<const CCommandMenu*> CCommandRegistry::SubMenus(const std::string& parentKey) const
{
    std::vector<const CCommandMenu*> out;
    for (const CCommandMenu& m : m_menus) {
        const size_t slash = m.key.rfind('/');
        const std::string parent = slash == std::string::npos ? std::string() : m.key.substr(0, slash);
        if (parent == parentKey)
            out.push_back(&m);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const CCommandMenu* a, const CCommandMenu* b) { return a->pos < b->pos; });
    return out;
}

bool CCommandRegistry::IsEnabled(int id, const CCommandState& state) const
{
    const CCommandEntry* e = Find(id);
    if (!e)
        return false;
    if (e->aliasOf) {
        if (e->aliasToExperimentWindow)
            return state.experimentWindowEnabled && state.experimentWindowEnabled(e->aliasOf);
        if (!e->enabled)
            return IsEnabled(e->aliasOf, state);
    }
    return !e->enabled || e->enabled(state);
}

bool CCommandRegistry::IsChecked(int id, const CCommandState& state) const
{
    const CCommandEntry* e = Find(id);
    return e && e->checked && e->checked(state);
}

bool CCommandRegistry::IsPlaced(int id) const
{
    const CCommandEntry* e = Find(id);
    if (!e)
        return false;
    if (!e->menu.empty()) {
        // Its menu must exist, and so must every menu above it.
        for (std::string key = e->menu;;) {
            if (!FindMenu(key))
                return false;
            const size_t slash = key.rfind('/');
            if (slash == std::string::npos)
                break;
            key.resize(slash);
        }
        return true;
    }
    return e->toolBarPos >= 0 || e->shortcutItem >= 0 || e->contextMenus != kContextNone || e->picker;
}
