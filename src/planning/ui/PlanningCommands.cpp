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
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/WinTypes.h"

namespace {
// The plan list in the given mode; an open one takes the mode.
bool OpenList(const CFrameSelection& selection, QWidget* parent, CDlgExpPlanList::Mode mode)
{
    CDlgExpPlanList* list = CDlgExpPlanList::ShowInstance(&selection.doc->GetTALVOProject(), parent);
    if (!list)
        return false;
    list->SetMode(mode);
    return true;
}

// The whole planning state written to or read from a workbook the user names.
bool ExchangeWorkbook(const CFrameSelection& selection, bool exporting)
{
    CTALVODoc& doc = *selection.doc;
    CTALVOProject& container = doc.GetTALVOProject();
    FileChooserOptions options;
    options.filter = CPlanningCommands::kWorkbookFilter;
    options.defaultExt = "xlsx";
    std::string path;
    if (!(exporting ? PromptSaveFile(options, path) : PromptOpenFile(options, path)))
        return false;
    int ok = 0;
    {
        CWaitCursor wait;
        CStatusBarFeedback statusBar;
        CExpPlanIO io(&container);
        io.SetFeedback(&statusBar);
        ok = exporting ? io.ExportToExcel(path) : io.ImportFromExcel(path);
    }
    if (ok && !exporting) {
        doc.SetModifiedFlag(1);
        // The plans and unit groups an open editor or cable map worked on are gone; an open
        // list shows the plans that were read.
        CDlgExpPlanCableMap::DestroyInstance();
        CDlgExpPlanMap::DestroyInstance();
        if (CDlgExpPlanList* list = CDlgExpPlanList::GetInstance())
            list->Refill();
    }
    return ok != 0;
}
} // namespace

bool CPlanningCommands::HasDocument(const CFrameSelection& selection)
{
    return selection.doc != nullptr;
}

bool CPlanningCommands::CanChoosePlan(const CFrameSelection& selection)
{
    const auto* daq = dynamic_cast<const CDaqProject*>(selection.project);
    return selection.doc && daq && daq->IsUFData() == 0;
}

bool CPlanningCommands::OpenPlanList(const CFrameSelection& selection, QWidget* parent)
{
    return HasDocument(selection) && OpenList(selection, parent, CDlgExpPlanList::modeManage);
}

bool CPlanningCommands::ChoosePlan(const CFrameSelection& selection, QWidget* parent)
{
    return CanChoosePlan(selection) && OpenList(selection, parent, CDlgExpPlanList::modeChoose);
}

bool CPlanningCommands::RegisterUnits(const CFrameSelection& selection, QWidget* parent)
{
    if (!HasDocument(selection))
        return false;
    CDlgRegQMXBlix dialog(&selection.doc->GetTALVOProject(), parent);
    return dialog.DoModal() == IDOK;
}

bool CPlanningCommands::AssignSensors(const CFrameSelection& selection, QWidget* parent)
{
    if (!HasDocument(selection))
        return false;
    CDlgAssignSensors dialog(&selection.doc->GetTALVOProject(), parent);
    return dialog.DoModal() == IDOK;
}

bool CPlanningCommands::ExportPlans(const CFrameSelection& selection, QWidget*)
{
    return HasDocument(selection) && ExchangeWorkbook(selection, true);
}

bool CPlanningCommands::ImportPlans(const CFrameSelection& selection, QWidget*)
{
    return HasDocument(selection) && ExchangeWorkbook(selection, false);
}

void CPlanningCommands::CloseWindows()
{
    CDlgExpPlanCableMap::DestroyInstance();
    CDlgExpPlanMap::DestroyInstance();
    CDlgExpPlanList::DestroyInstance();
}
