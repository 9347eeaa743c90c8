#include "experiments/ui/UFDaqProjectCommands.h"

#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/FrameCommands.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "experiments/CalcOptions.h"
#include "platform/elements/MElementList.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/WinTypes.h"
#include "calculation/ui/PPageLocalPoint.h"
#include "calculation/ui/PSheetAnaOptions.h"

#include <vector>

namespace {

CTALVOExp* SelectedExperiment(const CFrameSelection& selection)
{
    const auto* daq = dynamic_cast<const CDaqProject*>(selection.project);
    if (!selection.doc || !daq || daq->IsUFData() == 0 || selection.elements.size() != 1)
        return nullptr;
    return ElementCast<CTALVOExp>(selection.First());
}
} // namespace

bool CUFDaqProjectCommands::CanEditLocalPoints(const CFrameSelection& selection)
{
    return SelectedExperiment(selection) != nullptr;
}

bool CUFDaqProjectCommands::EditLocalPoints(const CFrameSelection& selection, QWidget* parent)
{
    if (!CanEditLocalPoints(selection))
        return false;
    CTALVOExp* experiment = SelectedExperiment(selection);
    auto* daq = dynamic_cast<CDaqProject*>(selection.project);
    CMElementList used;
    experiment->GetUsedChildren(used);
    std::vector<CCalcOptions*> options;
    for (CMElement* e : used)
        if (auto* set = ElementCast<CDAQExperiment>(e))
            options.push_back(set->GetCalcOptions());
    CPSheetAnaOptions sheet(IDS_CALC_OPTIONS, parent);
    CPPageLocalPoint page;
    page.SetLocalPointOptions(&options);
    sheet.AddPage(&page);
    const bool ok = sheet.DoModal() == IDOK;
    // The page lives on this stack; it leaves the sheet before it goes.
    sheet.RemovePage(&page);
    if (!ok)
        return false;
    {
        CWaitCursor wait;
        daq->Recalculate(used, &*CStatusBarFallback(nullptr));
    }
    selection.doc->SetModifiedFlag(1);
    return true;
}
