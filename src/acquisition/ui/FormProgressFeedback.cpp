#include "acquisition/ui/FormProgressFeedback.h"

#include "acquisition/ui/FormProgress.h"
#include "platform/win/StatusBarFeedback.h"

void CFormProgressFeedback::OnText(int)
{
    if (CFormProgress* form = CFormProgress::GetInstance())
        form->ShowRunText(CurrentText());
}

void CFormProgressFeedback::OnProgress(int)
{
    if (CFormProgress* form = CFormProgress::GetInstance())
        form->SetProgress(Fraction());
}

void CFormProgressFeedback::OnReport(const SReport& report)
{
    CStatusBarFeedback::ShowReportBox(report);
}
