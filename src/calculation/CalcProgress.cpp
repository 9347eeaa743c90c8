#include "calculation/CalcProgress.h"

#include <algorithm>
#include <cstdint>

#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"

namespace {
class CMainWindowProgress : public ICalcProgress
{
public:
    void Begin(int count) override
    {
        const uintptr_t upper = static_cast<uintptr_t>(std::clamp(count, 0, 0xFFFF));
        SendToMainWindow(WM_ZU_PROGRESS_RANGE, upper << 16, 1);
        SendToMainWindow(WM_ZU_PROGRESS_SHOW);
    }
    void SetText(const std::string& text) override
    {
        SendToMainWindow(WM_ZU_PROGRESS_TEXT, reinterpret_cast<uintptr_t>(text.c_str()), 0);
    }
    void Step() override { SendToMainWindow(WM_ZU_PROGRESS_STEP); }
    void End() override { SendToMainWindow(WM_ZU_PROGRESS_HIDE); }
};
} // namespace

ICalcProgress& ICalcProgress::MainWindow()
{
    static CMainWindowProgress progress;
    return progress;
}
