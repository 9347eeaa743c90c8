// The experiment-planning commands of the main frame.
#include "planning/ui/PlanningMenuCommands.h"

#include "app/CommandContext.h"
#include "app/CommandRegistry.h"
#include "planning/ui/PlanningCommands.h"
#include "platform/win/CommandIds.h"
#include "planning/ui/DlgWizDAQPPMenu.h"
#include "uff/ExtUFDaqProject.h"

#include <tuple>

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
        e.run = [](ICommandContext&, const CCommandState& s) {
            return OpenPlanningWizard(s.selection.project) != nullptr;
        };
        r.Add(e);
    }

    // The plans of the acquisition units: the list, the units, the sensors of the local points,
    // then the whole planning state to and from a workbook.
    using P = CPlanningCommands;
    for (const auto& [id, pos, text, rule, action] :
         {std::tuple{P::ID_PLAN_LIST, 100, "Experiment &Plans...", &P::HasDocument, &P::OpenPlanList},
          std::tuple{P::ID_CHOOSE_PLAN, 101, "&Choose Experiment Plan...", &P::CanChoosePlan, &P::ChoosePlan},
          std::tuple{P::ID_REGISTER_UNITS, 102, "Register Acquisition &Units...", &P::HasDocument, &P::RegisterUnits},
          std::tuple{P::ID_ASSIGN_SENSORS, 103, "&Sensor Assignment...", &P::HasDocument, &P::AssignSensors},
          std::tuple{P::ID_EXPORT_PLANS, 200, "&Export Experiment Plans...", &P::HasDocument, &P::ExportPlans},
          std::tuple{P::ID_IMPORT_PLANS, 201, "&Import Experiment Plans...", &P::HasDocument, &P::ImportPlans}}) {
        CCommandEntry e;
        e.id = id;
        e.text = text;
        e.menu = "Planning";
        e.menuPos = pos;
        const auto applies = rule;
        const auto open = action;
        e.enabled = [applies](const CCommandState& s) { return applies(s.selection); };
        e.run = [open](ICommandContext& f, const CCommandState& s) { return open(s.selection, f.ParentWidget()); };
        r.Add(e);
    }
}
