#include "planning/ui/PlanningCommands.h"

#include "app/DaqProject.h"
#include "app/FrameCommands.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "planning/ExpPlanIO.h"
#include "planning/ui/DlgAssignSensors.h"
#include "planning/ui/DlgExpPlanCableMap.h"
#include "planning/ui/DlgExpPlanList.h"
#include "planning/ui/DlgExpPlanMap.h"
#include "planning/ui/DlgRegQMXBlix.h"
#include "platform/win/PromptService.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/WinTypes.h"

const char* CPlanningCommands::MenuText(int id)
{
    switch (id) {
    case ID_PLAN_LIST:
        return "Experiment &Plans...";
    case ID_CHOOSE_PLAN:
        return "&Choose Experiment Plan...";
    case ID_REGISTER_UNITS:
        return "Register Acquisition &Units...";
    case ID_ASSIGN_SENSORS:
        return "&Sensor Assignment...";
    case ID_EXPORT_PLANS:
        return "&Export Experiment Plans...";
    case ID_IMPORT_PLANS:
        return "&Import Experiment Plans...";
    default:
        return nullptr;
    }
}

bool CPlanningCommands::IsEnabled(int id, const CFrameSelection& selection)
{
    if (!selection.doc)
        return false;
    switch (id) {
    case ID_PLAN_LIST:
    case ID_REGISTER_UNITS:
    case ID_ASSIGN_SENSORS:
    case ID_EXPORT_PLANS:
    case ID_IMPORT_PLANS:
        return true;
    case ID_CHOOSE_PLAN: {
        // The chosen plan goes to the measurement of a DAQ project measured here.
        const auto* daq = dynamic_cast<const CDaqProject*>(selection.project);
        return daq && daq->IsUFData() == 0;
    }
    default:
        return false;
    }
}

bool CPlanningCommands::Run(int id, const CFrameSelection& selection, QWidget* parent)
{
    if (!IsEnabled(id, selection))
        return false;
    CTALVODoc& doc = *selection.doc;
    CTALVOProject& container = doc.GetTALVOProject();
    switch (id) {
    case ID_PLAN_LIST:
    case ID_CHOOSE_PLAN: {
        CDlgExpPlanList* list = CDlgExpPlanList::Open(&container, parent);
        if (!list)
            return false;
        list->SetMode(id == ID_PLAN_LIST ? CDlgExpPlanList::modeManage : CDlgExpPlanList::modeChoose);
        return true;
    }
    case ID_REGISTER_UNITS: {
        CDlgRegQMXBlix dialog(&container, parent);
        return dialog.DoModal() == IDOK;
    }
    case ID_ASSIGN_SENSORS: {
        CDlgAssignSensors dialog(&container, parent);
        return dialog.DoModal() == IDOK;
    }
    case ID_EXPORT_PLANS:
    case ID_IMPORT_PLANS: {
        const bool exporting = id == ID_EXPORT_PLANS;
        FileChooserOptions options;
        options.filter = kWorkbookFilter;
        options.defaultExt = "xlsx";
        std::string path;
        if (!(exporting ? PromptSaveFile(options, path) : PromptOpenFile(options, path)))
            return false;
        int ok = 0;
        {
            CWaitCursor wait;
            CExpPlanIO io(&container);
            ok = exporting ? io.ExportToExcel(path) : io.ImportFromExcel(path);
        }
        if (ok && !exporting) {
            doc.SetModifiedFlag(1);
            // The plans and unit groups an open editor or cable map worked on are gone; an open
            // list shows the plans that were read.
            CDlgExpPlanCableMap::Close();
            CDlgExpPlanMap::Close();
            if (CDlgExpPlanList* list = CDlgExpPlanList::GetList())
                list->Refill();
        }
        return ok != 0;
    }
    default:
        return false;
    }
}

void CPlanningCommands::CloseWindows()
{
    CDlgExpPlanCableMap::Close();
    CDlgExpPlanMap::Close();
    CDlgExpPlanList::Close();
}
