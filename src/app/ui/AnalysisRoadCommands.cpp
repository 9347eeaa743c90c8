#include "app/ui/AnalysisRoadCommands.h"

#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "app/ui/ModelImporter.h"
#include "views/ui/ResultSetCommands.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/WinTypes.h"

bool CAnalysisRoadCommands::CanImportModelData(const CFrameSelection& s)
{
    return s.doc && s.doc->GetTALVOProject().GetModelProject() != nullptr;
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
        ok = container.RecalcInputPowers(CResultSetCommands::AskRevisePowers(), &failed, &*CStatusBarFallback(nullptr));
    }
    if (ok) {
        AfxMessageBox(IDS_FINISHED, MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    AfxMessageBoxWithReason(IDS_OPERATION_FAILED, failed, MB_OK | MB_ICONEXCLAMATION);
    return 0;
}
