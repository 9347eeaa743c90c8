#include "experiments/ui/ExpAnalysisOptions.h"

#include "app/DaqProject.h"
#include "experiments/CalcOptions.h"
#include "experiments/DAQConfig.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpProject.h"
#include "platform/elements/MElement.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/ZuRegOptions.h"
#include "calculation/ui/PPageBandAve.h"
#include "calculation/ui/PPageCalcOptions.h"
#include "calculation/ui/PPageLocalPoint.h"
#include "calculation/ui/PPageOctave.h"
#include "calculation/ui/PPageOrderTracking.h"
#include "calculation/ui/PSheetAnaOptions.h"

#include <initializer_list>
#include <vector>

namespace {

// The values the calculation, order-tracking and band-average pages edit.
void CopyEditedValues(const CCalcOptions& from, CCalcOptions& to)
{
    to.SetHighPassFreq(from.GetHighPassFreq());
    to.SetWindowType(from.GetWindowType());
    to.SetOrderList(from.GetOrderList());
    to.SetOrderBandWidth(from.GetOrderBandWidth());
    to.SetResolution(from.GetResolution());
    to.SetLineCount(from.GetLineCount());
}
} // namespace

int ExpBandAveMask(int mode, int blockMode)
{
    return 2 | (mode == 0 ? 0x100 : 0x200) | (blockMode == 0 ? 0x10 : 0x20);
}

bool RunExpAnalysisOptions(CExpProject& project, QWidget* parent)
{
    const bool extended = GetRegOptionByStringId(IDS_OPT_EXTENDED_PAGES) == 1;
    const bool orderTracking = GetRegOptionByStringId(IDS_OPT_ORDER_TRACKING) != 0 && project.GetMode() == 0;

    std::vector<CCalcOptions*> collected;
    for (CMElement* experiment : project.GetExperimentList())
        if (auto* data = dynamic_cast<IDaqExperimentData*>(experiment))
            if (CCalcOptions* options = data->GetCalcOptions())
                collected.push_back(options);
    // Without an experiment there is nothing the pages could edit.
    if (collected.empty())
        return false;
    CCalcOptions* edited = collected.front();
    IDaqProjectAccess* daq = project.GetDAQProject();
    auto* daqProject = dynamic_cast<CDaqProject*>(daq);

    CPSheetAnaOptions sheet(IDS_CALC_OPTIONS, parent);
    sheet.setMinimumWidth(520); // every tab in sight
    CPPageCalcOptions calc;
    calc.SetCalcOptions(edited);
    CPPageLocalPoint localPoints;
    localPoints.SetLocalPointOptions(&collected);
    CPPageBandAve band;
    if (const CDAQConfig* config = project.GetDAQConfig())
        band.SetFreqRange(config->GetMaxFreq());
    band.SetAverageParam(project.GetSamplingFrequency());
    band.SetCalcOptions(edited);
    band.SetEnableMask(ExpBandAveMask(project.GetMode(), project.GetBlockMode()));
    CPPageOrderTracking orders;
    orders.SetCalcOptions(edited);
    CPPageOctave octave;
    if (daqProject)
        octave.SetOctaveManagers(daqProject->GetModelOctaveManager(), daqProject->GetOctaveManager());

    if (extended)
        sheet.AddPage(&calc);
    sheet.AddPage(&localPoints);
    if (extended && project.GetMode() == 0)
        sheet.AddPage(&band);
    if (extended && orderTracking)
        sheet.AddPage(&orders);
    sheet.AddPage(&octave);

    const bool ok = sheet.DoModal() == IDOK;
    if (ok) {
        if (CCalcOptions* target = daq ? daq->GetCalcOptions() : nullptr)
            CopyEditedValues(*edited, *target);
        for (CCalcOptions* options : collected)
            if (options != edited)
                CopyEditedValues(*edited, *options);
        if (daq)
            daq->SetModified();
    }
    // The pages live on this stack; they leave the sheet before it goes.
    for (CZuPropertyPage* page : std::initializer_list<CZuPropertyPage*>{&octave, &orders, &band, &localPoints, &calc})
        if (sheet.GetPageIndex(page) >= 0)
            sheet.RemovePage(page);
    return ok;
}
