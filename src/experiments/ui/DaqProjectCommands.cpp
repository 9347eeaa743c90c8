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

const char* CDaqProjectCommands::MenuText(int id)
{
    switch (id) {
    case ID_MEASURE_BY_SUBSYSTEM:
        return "&Measurement by Subsystem...";
    case ID_ENGINE_ROTATION:
        return "&Engine Rotation Setup...";
    case ID_DATABASE_CHECK:
        return "Experimental &Database Check...";
    default:
        return nullptr;
    }
}

bool CDaqProjectCommands::IsEnabled(int id, const CBaseProject* selected)
{
    const CDaqProject* daq = AsDaqProject(selected);
    switch (id) {
    case ID_MEASURE_BY_SUBSYSTEM:
    case ID_ENGINE_ROTATION:
        // Imported universal-file data were not measured here: there is nothing to set up.
        return daq && daq->IsUFData() == 0;
    case ID_DATABASE_CHECK:
        return daq != nullptr;
    default:
        return false;
    }
}

bool CDaqProjectCommands::Run(int id, CBaseProject* selected, QWidget* frame)
{
    if (!IsEnabled(id, selected))
        return false;
    CDaqProject* daq = AsDaqProject(selected);
    switch (id) {
    case ID_MEASURE_BY_SUBSYSTEM: {
        auto data = std::make_unique<CDlgExpProperty2::CDlgData>(CExpDAQAccess().Inventory());
        data->target->daqProject = daq;
        // One per frame: an open one is restored instead.
        CDlgExpProperty2* dialog = CDlgExpProperty2::Open(frame, frame, std::move(data));
        if (!dialog)
            return false;
        dialog->Create();
        return true;
    }
    case ID_ENGINE_ROTATION:
        // The settings of an existing project are shown, not changed: its data were measured with them.
        return EditEngineRotationSetup(daq, false, frame);
    case ID_DATABASE_CHECK: {
        CDlgDaqDbCheck dialog(daq, frame);
        return dialog.DoModal() == IDOK;
    }
    default:
        return false;
    }
}
