#include "views/ui/ResultSetCommands.h"

#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/ZuRegOptions.h"
#include "platform/win/WinTypes.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmResultData.h"
#include "views/ui/DlgSelectResultType.h"
#include "views/ui/PPageIPSrcList.h"
#include "calculation/ui/PSheetAnaOptions.h"

namespace {

CAnalysisProject* Analysis(const CFrameSelection& s)
{
    return s.doc ? DynamicDowncast<CAnalysisProject>(s.project) : nullptr;
}

bool IsResultSet(CMElement* e)
{
    return DynamicDowncast<CZuRpmResultData>(e) || DynamicDowncast<CZuOTResultData>(e);
}

} // namespace

bool CResultSetCommands::CanShowInputPowerSources(const CFrameSelection& s)
{
    return Analysis(s) && IsResultSet(s.First());
}

bool CResultSetCommands::CanSelectResultType(const CFrameSelection& s)
{
    return CCalcCommands::AppliesToResultSet(Analysis(s), s.First());
}

bool CResultSetCommands::ShowInputPowerSources(const CFrameSelection& s, QWidget* parent)
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

bool CResultSetCommands::SelectResultType(const std::function<bool(int)>& isEnabled,
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

int CResultSetCommands::AskRevisePowers()
{
    if (GetRegOptionByStringId(IDS_OPT_ASK_RECALC_IE) == 0)
        return 0;
    return AfxMessageBox(IDS_ASK_REVISE_POWERS, MB_YESNO | MB_ICONQUESTION) == IDYES ? 1 : 0;
}
