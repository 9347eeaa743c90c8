#pragma once
// A table of commands, one entry per command id: its text and icon, where a user finds it, when it
// is enabled and checked, and what it runs. The main frame's registry and every window that
// answers commands of its own hold entries of this one type.
//
// State is what the enable and checked rules look at: a value a test can build without a window.
// Context is what the action works on (the frame's context, or the window itself).
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

template <class State, class Context>
struct TCommandEntry
{
    using EnableRule = std::function<bool(const State&)>;
    using Action = std::function<bool(Context&, const State&)>;

    int id = 0;
    const char* text = "";      // English menu text
    const char* icon = nullptr; // name in the icon set (AppIcon)

    // Placement. Positions order the items of one place; a new hundred starts a group behind a
    // separator. A window's own table leaves what it has no place for at its default.
    std::string menu; // menu key ("File", "View/Language", ...); empty: in no menu
    int menuPos = 0;
    bool resultPopup = false; // in its menu as a sub-menu of the selected project's result sets
    int toolBarPos = -1;      // -1: not on the toolbar
    int shortcutItem = -1;    // the shortcut-bar button whose menu offers it (-1: none)
    int shortcutPos = 0;
    unsigned contextMenus = 0; // the context menus it stands in (a bit per menu), 0: none
    int contextPos = 0;
    bool picker = false; // a row of the project window's subsystem pickers
    int standardKey = 0; // QKeySequence::StandardKey, 0 for none
    int aliasOf = 0;     // an alias: the id it sends (its rule is that id's rule)
    bool aliasToExperimentWindow = false;

    EnableRule enabled; // empty: always enabled
    EnableRule checked; // empty: not checkable
    Action run;         // false when the command did not run
};

template <class State, class Context>
class TCommandTable
{
public:
    using Entry = TCommandEntry<State, Context>;

    void Add(Entry entry)
    {
        // Two owners claiming one id is a programming error that must not pass silently.
        if (m_entries.count(entry.id))
            throw std::logic_error("command registered twice: " + std::to_string(entry.id));
        const int id = entry.id;
        m_entries.emplace(id, std::move(entry));
    }

    const Entry* Find(int id) const
    {
        auto it = m_entries.find(id);
        return it == m_entries.end() ? nullptr : &it->second;
    }
    bool Has(int id) const { return m_entries.count(id) != 0; }
    const std::map<int, Entry>& Entries() const { return m_entries; }

    // The entry's own rules; false for an id the table does not hold.
    bool IsEnabled(int id, const State& state) const
    {
        const Entry* e = Find(id);
        return e && (!e->enabled || e->enabled(state));
    }
    bool IsChecked(int id, const State& state) const
    {
        const Entry* e = Find(id);
        return e && e->checked && e->checked(state);
    }

    // Runs the entry when the table holds it and its rule allows it; false otherwise or when the
    // action did not run.
    bool Run(int id, Context& context, const State& state) const
    {
        const Entry* e = Find(id);
        if (!e || !e->run || (e->enabled && !e->enabled(state)))
            return false;
        return e->run(context, state);
    }

protected:
    std::map<int, Entry> m_entries;
};
