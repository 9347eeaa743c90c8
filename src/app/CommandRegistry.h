#pragma once
// The main frame's commands, one entry per command id: its text, icon, where a user finds it
// (menu, toolbar, shortcut-bar button, the project tree's context menu, the project window's
// picker table), when it is enabled and checked, and what it runs on the frame's context
// (ICommandContext). The frame builds its menus, toolbar, shortcut menus, context menu and alias
// commands from here and routes OnCommand and IsCommandEnabled through it.
//
// Adding a menu command: add one CCommandEntry to the registration function of the window library
// whose dialogs the command opens: RegisterAppCommands (app/ui: documents, views, language, help,
// the developer menu, projects and the model), RegisterCalcMenuCommands (views/ui: calculations
// and results), RegisterDaqMenuCommands (experiments/ui: acquisition and measured data) or
// RegisterPlanningMenuCommands (planning/ui). The entry holds the id (platform/win/CommandIds.h),
// the English text (the language tables may hold kMenuTextBase + id), the placement, an enable
// rule over CCommandState (no window needed, so a test can call it) and the action over
// ICommandContext (app/CommandContext.h), which is all a command sees of the frame. A new menu is
// declared there too with AddMenu. A library that registers for the first time adds its function
// to the list in InstallWindowServices (wiring/WindowServices.cpp), before the aliases. The frame
// needs no change; CommandRegistryTest lists the ids with the selection each is tried on.
#include "app/FrameCommands.h"
#include "platform/win/CommandTable.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class ICommandContext;

// Menu captions live in the string table under this base plus the command id (menus: base plus
// their own number); the English text stands in while a table lacks one.
inline constexpr uint32_t kMenuTextBase = 0x20000;

// What the enable and checked rules see: the selection and the state of the frame's bars.
struct CCommandState
{
    CFrameSelection selection;
    bool treeVisible = false;
    bool shortcutBarVisible = false;
    int recentFileCount = 0;
    // The enable rule of the experiment window in front for one of its tree's commands; empty
    // while no experiment window is in front.
    std::function<bool(int)> experimentWindowEnabled;

    CTALVODoc* Doc() const { return selection.doc; }
};

// The project tree's context menus that an entry can stand in.
enum ECommandContextMenu : unsigned
{
    kContextNone = 0,
    kContextResultSet = 1, // over an RPM or order result set
    kContextElement = 2,   // over any other element: those of its entries that are enabled
};

// The frame's entries act on the frame's context; the rules look at the selection and the bars.
using CCommandEntry = TCommandEntry<CCommandState, ICommandContext>;

// An entry at pos of a menu with its enable rule; the registration adds the action and the rest.
inline CCommandEntry MenuEntry(int id, const char* text, const char* menu, int pos, CCommandEntry::EnableRule rule)
{
    CCommandEntry e;
    e.id = id;
    e.text = text;
    e.menu = menu;
    e.menuPos = pos;
    e.enabled = std::move(rule);
    return e;
}

// A menu of the main menu bar or a sub-menu of one.
struct CCommandMenu
{
    std::string key;    // "File", "View/Language": the parent's key before the last '/'
    int textNumber = 0; // the caption's number in the string table (kMenuTextBase + number)
    const char* text = "";
    int pos = 0; // order among the parent's items (top level: along the menu bar)
    std::string objectName;
    bool developerOnly = false; // only with the marker file beside the program
};

class CCommandRegistry : public TCommandTable<CCommandState, ICommandContext>
{
public:
    using Registration = void (*)(CCommandRegistry&);

    // The frame's registry: empty until FillFrame has run.
    static const CCommandRegistry& Frame();
    // Fills the frame's registry with the window libraries' registrations in their order (an
    // alias copies the text of what it sends, so aliases come last) and marks the rows of the
    // project window's picker table. Only the first call fills it; later calls change nothing.
    static void FillFrame(const std::vector<Registration>& registrations);

    void AddMenu(CCommandMenu menu);

    const std::vector<CCommandMenu>& Menus() const { return m_menus; }
    const CCommandMenu* FindMenu(const std::string& key) const;

    // The entries of a place in their order.
    std::vector<const CCommandEntry*> InMenu(const std::string& key) const;
    std::vector<const CCommandEntry*> OnToolBar() const;
    std::vector<const CCommandEntry*> InShortcut(int item) const;
    std::vector<const CCommandEntry*> InContextMenu(ECommandContextMenu menu) const;
    // The sub-menus of a menu key (top level: empty key) in their order.
    std::vector<const CCommandMenu*> SubMenus(const std::string& parentKey) const;

    // The entry's rule over the state (an alias follows its target); false for an unknown id.
    bool IsEnabled(int id, const CCommandState& state) const;
    bool IsChecked(int id, const CCommandState& state) const;

    // Whether a user can reach the entry: a menu, the toolbar, a shortcut button, a context menu,
    // the picker table, or the alias of a reachable command in a shortcut or tree menu.
    bool IsPlaced(int id) const;

private:
    std::vector<CCommandMenu> m_menus;
};
