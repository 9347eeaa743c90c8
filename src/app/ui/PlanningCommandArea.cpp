// The experiment-planning commands of the main frame.
#include "app/ui/CommandRegistry.h"

#include "app/ui/MainFrame.h"
#include "planning/ui/DlgWizDAQPPMenu.h"
#include "uff/ExtUFDaqProject.h"

void RegisterPlanningCommands(CCommandRegistry& r)
{
    r.AddMenu({"Planning", 7, "P&lanning", 45, "PlanningMenu"});

    {
        // The wizard plans the measurements of a project made from universal files.
        CCommandEntry e;
        e.id = ID_PLANNING_WIZARD;
        e.text = "Planning &Wizard...";
        e.menu = "Planning";
        e.menuPos = 0;
        e.enabled = [](const CCommandState& s) {
            return s.Doc() && dynamic_cast<CExtUFDaqProject*>(s.selection.project) != nullptr;
        };
        e.run = [](CMainFrame&, const CCommandState& s) { return OpenPlanningWizard(s.selection.project) != nullptr; };
        r.Add(e);
    }
}
