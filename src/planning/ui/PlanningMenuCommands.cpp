// The experiment-planning commands of the main frame.
#include "planning/ui/PlanningMenuCommands.h"

#include "app/CommandContext.h"
#include "app/CommandRegistry.h"
#include "planning/ui/PlanningCommands.h"
#include "platform/win/CommandIds.h"
#include "planning/ui/DlgWizDAQPPMenu.h"
#include "uff/ExtUFDaqProject.h"

#include <utility>

void RegisterPlanningMenuCommands(CCommandRegistry& r)
{
    r.AddMenu({"Planning", 7, "P&lanning", 45, "PlanningMenu"});

    {
        // The wizard plans the measurements of a project made from universal files.
        CCommandEntry e;
        e.id = CommandId::ID_PLANNING_WIZARD;
        e.text = "Planning &Wizard...";
        e.menu = "Planning";
        e.menuPos = 0;
        e.enabled = [](const CCommandState& s) {
            return s.Doc() && dynamic_cast<CExtUFDaqProject*>(s.selection.project) != nullptr;
        };
        e.run = [](ICommandContext&, const CCommandState& s) { return OpenPlanningWizard(s.selection.project) != nullptr; };
        r.Add(e);
    }

    // The plans of the acquisition units: the list, the units, the sensors of the local points,
    // then the whole planning state to and from a workbook.
    using P = CPlanningCommands;
    for (const auto& [command, pos] : {std::pair{P::ID_PLAN_LIST, 100}, std::pair{P::ID_CHOOSE_PLAN, 101},
                                       std::pair{P::ID_REGISTER_UNITS, 102}, std::pair{P::ID_ASSIGN_SENSORS, 103},
                                       std::pair{P::ID_EXPORT_PLANS, 200}, std::pair{P::ID_IMPORT_PLANS, 201}}) {
        // A copy the rules can capture: a structured binding cannot be captured everywhere.
        const int id = command;
        CCommandEntry e;
        e.id = id;
        e.text = P::MenuText(id);
        e.menu = "Planning";
        e.menuPos = pos;
        e.enabled = [id](const CCommandState& s) { return P::IsEnabled(id, s.selection); };
        e.run = [id](ICommandContext& f, const CCommandState& s) { return P::Run(id, s.selection, f.ParentWidget()); };
        r.Add(e);
    }
}
