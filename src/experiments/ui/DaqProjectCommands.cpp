#include "experiments/ui/DaqProjectCommands.h"

#include "acquisition/ui/DlgDaqDbCheck.h"
#include "acquisition/ui/DlgEngineRotationSetup.h"
#include "app/DaqProject.h"
#include "experiments/ui/DlgExpProperty2.h"
#include "experiments/ui/ExpDAQAccess.h"
#include "platform/win/WinTypes.h"

#include <memory>

namespace {
CDaqProject* AsDaqProject(const CBaseProject* project)
{
    return dynamic_cast<CDaqProject*>(const_cast<CBaseProject*>(project));
}
} // namespace

bool CDaqProjectCommands::IsMeasuredHere(const CBaseProject* selected)
{
    const CDaqProject* daq = AsDaqProject(selected);
    return daq && daq->IsUFData() == 0;
}

bool CDaqProjectCommands::IsDaqProject(const CBaseProject* selected)
{
    return AsDaqProject(selected) != nullptr;
}

bool CDaqProjectCommands::MeasureBySubsystem(CBaseProject* selected, QWidget* frame)
{
    if (!IsMeasuredHere(selected))
        return false;
    auto data = std::make_unique<CDlgExpProperty2::CDlgData>(CExpDAQAccess().Inventory());
    data->target->daqProject = AsDaqProject(selected);
    // One per frame: an open one is restored instead.
    CDlgExpProperty2* dialog = CDlgExpProperty2::CreateInstance(frame, frame, std::move(data));
    if (!dialog)
        return false;
    dialog->Create();
    return true;
}

bool CDaqProjectCommands::ShowEngineRotation(CBaseProject* selected, QWidget* frame)
{
    // The settings of an existing project are shown, not changed: its data were measured with them.
    return IsMeasuredHere(selected) && EditEngineRotationSetup(AsDaqProject(selected), false, frame);
}

bool CDaqProjectCommands::CheckDatabase(CBaseProject* selected, QWidget* frame)
{
    if (!IsDaqProject(selected))
        return false;
    CDlgDaqDbCheck dialog(AsDaqProject(selected), frame);
    return dialog.DoModal() == IDOK;
}
