#include "uff/UFProgress.h"

#include <algorithm>

#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"

namespace {
constexpr uint64_t kSteps = 1000;
}

void CUFMainWindowProgress::Begin(const std::string& text, uint64_t total)
{
    m_total = total;
    m_shown = 0;
    SendToMainWindow(WM_ZU_PROGRESS_SHOW);
    SendToMainWindow(WM_ZU_PROGRESS_RANGE, static_cast<uintptr_t>(kSteps) << 16, 1);
    SendToMainWindow(WM_ZU_PROGRESS_TEXT, reinterpret_cast<uintptr_t>(text.c_str()), 0);
}

void CUFMainWindowProgress::Step(uint64_t done)
{
    if (m_total == 0)
        return;
    const uint64_t step = std::min<uint64_t>(kSteps, done * kSteps / m_total);
    for (; m_shown < step; ++m_shown)
        SendToMainWindow(WM_ZU_PROGRESS_STEP);
}

void CUFMainWindowProgress::End()
{
    SendToMainWindow(WM_ZU_PROGRESS_HIDE);
}
