#include "platform/win/CalcBandProgress.h"

namespace {
// Only the user-interface thread solves and opens the dialog.
ICalcBandProgress* g_calcProgress = nullptr;
} // namespace

ICalcBandProgress* GetCalcProgressDlg()
{
    return g_calcProgress;
}

void SetCalcProgressDlg(ICalcBandProgress* progress)
{
    g_calcProgress = progress;
}
