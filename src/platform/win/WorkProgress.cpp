#include "platform/win/WorkProgress.h"

#include <algorithm>

#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"

namespace {
constexpr int kSteps = 100;
}

void CStatusBarProgress::Begin(const std::string& text, int total)
{
    m_total = std::max(total, 0);
    m_shown = 0;
    SendToMainWindow(WM_ZU_PROGRESS_SHOW);
    SendToMainWindow(WM_ZU_PROGRESS_RANGE, static_cast<uintptr_t>(kSteps) << 16, 1);
    SendToMainWindow(WM_ZU_PROGRESS_TEXT, reinterpret_cast<uintptr_t>(text.c_str()), 0);
}

void CStatusBarProgress::Step(int done)
{
    if (m_total <= 0)
        return;
    const int step =
        static_cast<int>(std::clamp<long long>(static_cast<long long>(done) * kSteps / m_total, 0, kSteps));
    for (; m_shown < step; ++m_shown)
        SendToMainWindow(WM_ZU_PROGRESS_STEP);
}

void CStatusBarProgress::End()
{
    SendToMainWindow(WM_ZU_PROGRESS_HIDE);
}
