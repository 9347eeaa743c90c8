#include "platform/win/CalcProgress.h"

namespace
{
// Only the user-interface thread solves and opens the dialog.
ICalcProgress* g_calcProgress = nullptr;
} // namespace

ICalcProgress* GetCalcProgressDlg()
{
    return g_calcProgress;
}

void SetCalcProgressDlg(ICalcProgress* progress)
{
    g_calcProgress = progress;
}
