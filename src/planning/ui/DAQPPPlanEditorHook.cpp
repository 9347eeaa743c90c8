#include "planning/ui/DAQPPPlanEditorHook.h"

#include <utility>

namespace {
DAQPPPlanEditorOpener& Opener()
{
    static DAQPPPlanEditorOpener opener;
    return opener;
}
} // namespace

void SetDAQPPPlanEditorOpener(DAQPPPlanEditorOpener opener)
{
    Opener() = std::move(opener);
}

bool HasDAQPPPlanEditorOpener()
{
    return static_cast<bool>(Opener());
}

bool OpenDAQPPPlanEditor(CExtUFDaqProject& project, int mode, CDAQPPExpPlan* plan, QWidget* parent)
{
    if (!Opener())
        return false;
    Opener()(project, mode, plan, parent);
    return true;
}
