#include "platform/ui/DlgFeedback.h"

#include <QString>

#include <algorithm>
#include <climits>

#include "platform/ui/DlgProgress.h"
#include "platform/win/StatusBarFeedback.h"

namespace {
int BarValue(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, 0, INT_MAX));
}
} // namespace

CDlgFeedback::CDlgFeedback(QWidget* parent)
{
    CDlgProgress::ShowInstance(parent);
}

CDlgFeedback::~CDlgFeedback()
{
    Close();
}

void CDlgFeedback::Close()
{
    CDlgProgress::DestroyInstance();
}

// The dialog is asked for afresh each time: the user may have closed it meanwhile.
void CDlgFeedback::OnBegin(int level)
{
    CDlgProgress* dialog = CDlgProgress::GetInstance();
    if (!dialog)
        return;
    const SRange& range = Ranges()[static_cast<size_t>(level)];
    if (level == 0) {
        if (!m_titled)
            dialog->SetTitle(QString::fromStdString(range.text));
        m_titled = true;
        dialog->SetOuterRange(BarValue(range.total), 0);
        return;
    }
    if (!range.text.empty())
        dialog->SetMessage(QString::fromStdString(range.text));
    if (level == 1)
        dialog->SetSubRange(BarValue(range.total), 0);
}

void CDlgFeedback::OnText(int level)
{
    if (CDlgProgress* dialog = CDlgProgress::GetInstance())
        dialog->SetMessage(QString::fromStdString(Ranges()[static_cast<size_t>(level)].text));
}

void CDlgFeedback::OnProgress(int level)
{
    CDlgProgress* dialog = CDlgProgress::GetInstance();
    if (!dialog)
        return;
    const int64_t done = Ranges()[static_cast<size_t>(level)].done;
    if (level == 0)
        dialog->SetOuterPos(BarValue(done));
    else if (level == 1)
        dialog->SetSubPos(BarValue(done));
}

void CDlgFeedback::OnReport(const SReport& report)
{
    CStatusBarFeedback::ShowReportBox(report);
}

void CDlgFeedback::Poll()
{
    CDlgProgress* dialog = CDlgProgress::GetInstance();
    if (dialog && dialog->PumpMessages())
        Cancel();
}
