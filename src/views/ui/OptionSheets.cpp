#include "views/ui/OptionSheets.h"

#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/TALVOProject.h"
#include "calculation/ui/PPageCalcIEOptions.h"
#include "experiments/CalcOptions.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "views/ui/PPageAnaRPMSetup.h"
#include "calculation/ui/PPageOrderTracking.h"
#include "views/ui/PPageRefDaqProject.h"
#include "calculation/ui/PSheetAnaOptions.h"
#include "views/ui/PSheetOptions.h"

bool RunOptionsSheet(CTALVOProject& project, QWidget* parent)
{
    CPSheetOptions sheet(LoadString(IDS_DAQ_OPTIONS), &project.GetHSEAOptions(), &project);
    if (parent)
        sheet.setWindowModality(Qt::ApplicationModal);
    if (sheet.DoModal() != IDOK)
        return false;
    sheet.SaveOptions();
    return true;
}

bool RunAnalysisOptionsSheet(CAnalysisProject& project, int rpmPageMode, QWidget* parent)
{
    CPSheetAnaOptions sheet(IDS_ANALYSIS_OPTIONS_CAPTION, parent);
    CPPageAnaRPMSetup rpm;
    rpm.SetRPMOptions(&project.GetRPMOptions());
    rpm.SetMode(rpmPageMode);
    sheet.AddPage(&rpm);

    // The input-energy options matter only where the energies come from measured data.
    CDaqProject* daqProject = project.GetDaqProject();
    CPPageCalcIEOptions energies;
    if (daqProject) {
        energies.SetOptions(&project.GetCalcIEOptions());
        sheet.AddPage(&energies);
    }

    CPPageRefDaqProject daq;
    daq.m_strText = daqProject ? daqProject->GetName() : LoadString(IDS_NONE);
    sheet.AddPage(&daq);

    // The orders are shown through a calculation-options page, read-only.
    CCalcOptions orders;
    orders.SetOrderList(project.GetOrderList());
    orders.SetOrderBandWidth(project.GetOTSetting());
    CPPageOrderTracking ot;
    if (project.GetProjectType() == CAnalysisProject::typeOrder &&
        GetRegOptionByStringId(IDS_OPT_ORDER_TRACKING) == 1) {
        ot.SetCalcOptions(&orders);
        ot.SetReadOnly(true);
        sheet.AddPage(&ot);
    }
    const bool ok = sheet.DoModal() == IDOK;
    // The pages live on this stack; they leave the sheet before it goes.
    sheet.RemovePage(&ot);
    sheet.RemovePage(&daq);
    if (sheet.GetPageIndex(&energies) >= 0)
        sheet.RemovePage(&energies);
    sheet.RemovePage(&rpm);
    return ok;
}
