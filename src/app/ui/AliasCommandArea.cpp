// The alias commands of the shortcut bar and the project tree: each sends another command, to
// the main frame or to the experiment window in front, and follows that command's rule.
#include "app/CommandRegistry.h"
#include "app/ui/AppCommands.h"

#include "app/CommandContext.h"
#include "app/ui/MainFrame.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"

namespace {
struct Alias
{
    int id;
    int target;
    bool experimentWindow; // to the tree of the experiment window in front
    // The text of a command of the experiment window, which the frame's registry does not hold:
    // the one that window's tool bar shows.
    const char* text = nullptr;
};

constexpr Alias kAliases[] = {
    {1208, 1100, false},
    {1209, 1100, false},
    {1210, 1172, false},
    {1211, 1126, false},
    {1212, 1136, false},
    {1213, 1110, false},
    {1214, CExpTreeView::ID_GAIN_SETTING, true, "Gain Setting"},
    {1215, CExpTreeView::ID_START_RUN, true, "Start Measurement"},
    {1216, CExpTreeView::ID_ACCEL_RPM, true, "Acceleration RPM"},
    {1217, CExpTreeView::ID_DATA_CHECK, true, "Data Check"},
    {1218, 1033, false},
    {1221, 1177, false},
};
} // namespace

void RegisterAliasCommands(CCommandRegistry& r)
{
    for (const Alias& alias : kAliases) {
        const int id = alias.id;
        CCommandEntry e;
        e.id = id;
        e.aliasOf = alias.target;
        e.aliasToExperimentWindow = alias.experimentWindow;
        // The text of what it sends, where that is a frame command; the language tables may
        // still give the alias its own.
        if (const CCommandEntry* target = r.Find(e.aliasOf))
            e.text = target->text;
        else if (alias.text)
            e.text = alias.text;
        // In the tree's menu, grouped by what they send: the project list and sensors, the
        // acquisition set-up, the experiment window's tree, the calculations.
        e.contextMenus = kContextElement;
        e.contextPos = (id <= 1210 ? 100 : id <= 1213 ? 200 : id <= 1217 ? 300 : 400) + id % 100;
        const int target = e.aliasOf;
        if (e.aliasToExperimentWindow)
            e.run = [target](ICommandContext& f, const CCommandState&) {
                CExpFrame* exp = qobject_cast<CExpFrame*>(f.ActiveClientWindow());
                return exp && exp->OnCommand(target);
            };
        else
            e.run = [target](ICommandContext& f, const CCommandState&) { return f.OnCommand(target); };
        r.Add(e);
    }
    // File new and open as the shortcut bar's first two buttons offer them.
    for (const auto& [id, target] :
         {std::pair{ID_FILE_NEW_ALIAS, ID_FILE_NEW}, std::pair{ID_FILE_OPEN_ALIAS, ID_FILE_OPEN}}) {
        CCommandEntry e;
        e.id = id;
        e.aliasOf = target;
        e.text = r.Find(target)->text;
        e.icon = r.Find(target)->icon;
        e.shortcutItem = id == ID_FILE_NEW_ALIAS ? 0 : 1;
        const int sent = target;
        e.run = [sent](ICommandContext& f, const CCommandState&) { return f.OnCommand(sent); };
        r.Add(e);
    }
}
