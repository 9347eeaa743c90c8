#pragma once
// How the plan windows of a universal-file DAQ project reach the channel-plan editor: the editor's
// library installs its opener here, so the plan list and the planning wizard need not know it.
// Without an opener the commands that open the editor are disabled.
#include <functional>

class CDAQPPExpPlan;
class CExtUFDaqProject;
class QWidget;

// Editor modes: a new plan holding the project's own subsystem, a new plan made from a source
// plan, editing a plan, viewing a plan.
enum DAQPPEditorMode
{
    kDAQPPEditNewOwn = 0,
    kDAQPPEditNewFrom = 1,
    kDAQPPEditPlan = 2,
    kDAQPPViewPlan = 3,
};

// Opens (or brings forward) the editor for the project in the mode, with the plan (null: none).
using DAQPPPlanEditorOpener =
    std::function<void(CExtUFDaqProject& project, int mode, CDAQPPExpPlan* plan, QWidget* parent)>;

void SetDAQPPPlanEditorOpener(DAQPPPlanEditorOpener opener);
bool HasDAQPPPlanEditorOpener();
// False (nothing opened) without an installed opener.
bool OpenDAQPPPlanEditor(CExtUFDaqProject& project, int mode, CDAQPPExpPlan* plan, QWidget* parent);
