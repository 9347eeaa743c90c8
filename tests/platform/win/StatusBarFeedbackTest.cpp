#include <gtest/gtest.h>

#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

#include <algorithm>

namespace {
int Count(const std::vector<uint32_t>& numbers, uint32_t msg)
{
    return static_cast<int>(std::count(numbers.begin(), numbers.end(), msg));
}
} // namespace

// The status bar shows the work's text, one step per item up to a thousand (a thousandth of the
// work beyond), whatever parts the work hands out, and hides at the end.
TEST(StatusBarFeedback, DrivesTheMainWindowsProgress)
{
    struct Case
    {
        int64_t total;
        int expectedRange;
    };
    for (const Case c : {Case{5, 5}, Case{5000, 1000}, Case{0, 1000}}) {
        CRecordingMessageTarget target;
        CMainWindowTargetScope scope(&target);
        CStatusBarFeedback feedback;
        feedback.Begin("Calculating...", c.total);
        for (int64_t i = 0; i < c.total; ++i) {
            feedback.BeginPart(1);
            feedback.Begin("", 3);
            feedback.Step(3);
            feedback.EndPart();
        }
        feedback.End();

        const auto records = target.Records();
        const auto numbers = target.MessageNumbers();
        ASSERT_GE(records.size(), 4u);
        EXPECT_EQ(records[0].msg, WM_ZU_PROGRESS_SHOW);
        EXPECT_EQ(records[1].msg, WM_ZU_PROGRESS_RANGE);
        EXPECT_EQ(records[1].wParam >> 16, static_cast<uintptr_t>(c.expectedRange)) << c.total;
        EXPECT_EQ(records[2].text, "Calculating...");
        EXPECT_EQ(Count(numbers, WM_ZU_PROGRESS_STEP), c.total > 0 ? c.expectedRange : 0) << c.total;
        EXPECT_EQ(Count(numbers, WM_ZU_PROGRESS_TEXT), 1) << "an empty part text leaves the work's";
        EXPECT_EQ(numbers.back(), WM_ZU_PROGRESS_HIDE);
    }
}

TEST(StatusBarFeedback, ReportsShowTheBoxOfTheirSeverity)
{
    CScriptedPrompts prompts;
    CStatusBarFeedback feedback;
    feedback.Information("done");
    feedback.Warning("careful");
    feedback.Error("failed", 4321);
    const auto shown = prompts.Records();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "done");
    EXPECT_EQ(shown[0].style & MB_ICONMASK, MB_ICONINFORMATION);
    EXPECT_EQ(shown[1].style & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_EQ(shown[2].style & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_EQ(shown[2].stringId, 4321u);
    EXPECT_EQ(shown[2].text, "failed");
}
