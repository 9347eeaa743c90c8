#include "platform/win/StatusBarFeedback.h"

#include <algorithm>
#include <cmath>

#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"

namespace {
constexpr int64_t kMaxSteps = 1000;

void SendText(const std::string& text)
{
    SendToMainWindow(WM_ZU_PROGRESS_TEXT, reinterpret_cast<uintptr_t>(text.c_str()), 0);
}
} // namespace

void CStatusBarFeedback::ShowReportBox(const SReport& report)
{
    unsigned style = MB_OK;
    switch (report.severity) {
    case ESeverity::Information:
        style |= MB_ICONINFORMATION;
        break;
    case ESeverity::Warning:
        style |= MB_ICONEXCLAMATION;
        break;
    case ESeverity::Error:
        style |= MB_ICONSTOP;
        break;
    }
    PromptMessageBox(report.stringId, report.text, std::string(), style);
}

void CStatusBarFeedback::OnBegin(int level)
{
    const SRange& range = Ranges()[static_cast<size_t>(level)];
    if (level == 0) {
        m_steps = static_cast<int>(range.total > 0 ? std::min(range.total, kMaxSteps) : kMaxSteps);
        m_shown = 0;
        SendToMainWindow(WM_ZU_PROGRESS_SHOW);
        SendToMainWindow(WM_ZU_PROGRESS_RANGE, static_cast<uintptr_t>(m_steps) << 16, 1);
    }
    if (level == 0 || !range.text.empty())
        SendText(range.text);
}

void CStatusBarFeedback::OnText(int level)
{
    SendText(Ranges()[static_cast<size_t>(level)].text);
}

void CStatusBarFeedback::OnProgress(int /*level*/)
{
    const int visible = static_cast<int>(std::floor(Fraction() * m_steps + 1e-9));
    for (; m_shown < visible; ++m_shown)
        SendToMainWindow(WM_ZU_PROGRESS_STEP);
}

void CStatusBarFeedback::OnEnd()
{
    SendToMainWindow(WM_ZU_PROGRESS_HIDE);
}
