#include "app/ui/AnalysisRoadCommands.h"

#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "app/ui/ModelImporter.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmResultData.h"
#include "views/ui/DlgExpDataComp.h"
#include "views/ui/DlgSelectResultType.h"
#include "views/ui/PPageIPSrcList.h"
#include "views/ui/PSheetAnaOptions.h"

namespace {

CAnalysisProject* Analysis(const CFrameSelection& s)
{
    return s.doc ? DynamicDowncast<CAnalysisProject>(s.project) : nullptr;
}

bool IsResultSet(CMElement* e)
{
    return DynamicDowncast<CZuRpmResultData>(e) || DynamicDowncast<CZuOTResultData>(e);
}

CTALVOExp* Experiment(const CFrameSelection& s)
{
    return s.doc ? DynamicDowncast<CTALVOExp>(s.First()) : nullptr;
}

// Brings an open comparison to the front; true when there was one.
bool Raise(QWidget* open)
{
    if (!open)
        return false;
    open->showNormal();
    open->raise();
    open->activateWindow();
    return true;
}

template <class Dialog>
bool OpenComparison(CTALVOExp* experiment, const void* key, QWidget* parent)
{
    if (!experiment)
        return false;
    // One comparison per frame: another experiment takes the place of the one shown.
    if (Dialog* open = Dialog::FindForKey(key)) {
        if (open->Groups().empty() || open->Groups().back().experiment != experiment)
            Dialog::CloseForKey(key);
        else
            return Raise(open);
    }
    Dialog* dialog = Dialog::CreateForKey(key, parent);
    if (!dialog)
        return false;
    dialog->SetOwnerID(CAnalysisRoadCommands::OwnerOfExperiment(experiment));
    CMElementList experiments;
    experiments.Add(experiment);
    dialog->SetDataList(experiments);
    dialog->Create();
    return true;
}
} // namespace

bool CAnalysisRoadCommands::CanImportModelData(const CFrameSelection& s)
{
    return s.doc && s.doc->GetTALVOProject().GetModelProject() != nullptr;
}

bool CAnalysisRoadCommands::CanShowInputPowerSources(const CFrameSelection& s)
{
    return Analysis(s) && IsResultSet(s.First());
}

bool CAnalysisRoadCommands::CanSelectResultType(const CFrameSelection& s)
{
    return CCalcCommands::IsEnabled(CCalcCommands::ID_CALC_VIBRATION_LEVEL, Analysis(s), s.First());
}

bool CAnalysisRoadCommands::CanCompareExpData(const CFrameSelection& s)
{
    return Experiment(s) != nullptr;
}

bool CAnalysisRoadCommands::CanCompareExpLPData(const CFrameSelection& s)
{
    return GetRegOptionByStringId(IDS_OPT_EXP_COMMANDS) != 0 && Experiment(s) != nullptr;
}

bool CAnalysisRoadCommands::ImportModelData(CTALVODoc& doc, QWidget* parent)
{
    CModelImporter importer(doc, parent);
    // A cancelled choice, or a file whose fault the reader reported, ends here.
    if (!importer.ImportModelData())
        return false;
    doc.SetModifiedFlag(1);
    // The model data shown in the project window say enough of an import alone; the message
    // reports the recalculation that follows it.
    RecalcInputPowersAfterImport(doc);
    return true;
}

int CAnalysisRoadCommands::RecalcInputPowersAfterImport(CTALVODoc& doc)
{
    CTALVOProject& container = doc.GetTALVOProject();
    CMElementList analyses;
    if (container.GetAnalysisProjects(analyses) == 0)
        return 1;
    AfxMessageBox(IDS_RECALC_INPUT_POWERS, MB_OK | MB_ICONINFORMATION);
    std::string failed;
    int ok = 0;
    {
        CWaitCursor wait;
        ok = container.RecalcInputPowers(AskRevisePowers(), &failed, &*CStatusBarFallback(nullptr));
    }
    if (ok) {
        AfxMessageBox(IDS_FINISHED, MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    AfxMessageBoxWithReason(IDS_OPERATION_FAILED, failed, MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

int CAnalysisRoadCommands::AskRevisePowers()
{
    if (GetRegOptionByStringId(IDS_OPT_ASK_RECALC_IE) == 0)
        return 0;
    return AfxMessageBox(IDS_ASK_REVISE_POWERS, MB_YESNO | MB_ICONQUESTION) == IDYES ? 1 : 0;
}

bool CAnalysisRoadCommands::ShowInputPowerSources(const CFrameSelection& s, QWidget* parent)
{
    if (!CanShowInputPowerSources(s))
        return false;
    CPSheetAnaOptions sheet(IDS_INPUT_POWER_SOURCES, parent);
    CPPageIPSrcList page;
    page.SetResultData(s.First());
    sheet.AddPage(&page);
    sheet.DoModal();
    sheet.RemovePage(&page);
    return true;
}

bool CAnalysisRoadCommands::SelectResultType(const std::function<bool(int)>& isEnabled,
                                             const std::function<void(int)>& send, QWidget* parent)
{
    CDlgSelectResultType dialog(isEnabled, parent);
    if (dialog.DoModal() != IDOK)
        return true;
    const int kind = dialog.GetSelection();
    if (kind >= 0 && kind < 5 && send)
        send(CDlgSelectResultType::kCommands[kind]);
    return true;
}

bool CAnalysisRoadCommands::CompareExpData(const CFrameSelection& s, const void* key, QWidget* parent)
{
    return CanCompareExpData(s) && OpenComparison<CDlgExpDataComp>(Experiment(s), key, parent);
}

bool CAnalysisRoadCommands::CompareExpLPData(const CFrameSelection& s, const void* key, QWidget* parent)
{
    return CanCompareExpLPData(s) && OpenComparison<CDlgExpLPDataComp>(Experiment(s), key, parent);
}

CDaqProject* CAnalysisRoadCommands::OwnerOfExperiment(CMElement* element)
{
    for (CMElement* e = DynamicDowncast<CTALVOExp>(element) ? element->GetParent() : nullptr; e; e = e->GetParent())
        if (auto* daq = DynamicDowncast<CDaqProject>(e))
            return daq;
    return nullptr;
}
