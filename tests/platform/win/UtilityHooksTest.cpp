#include "platform/win/Clipboard.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/win/WaitCursor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(WaitCursor, NestedCursorsShowOnceAndUnbalancedEndIsHarmless)
{
    std::vector<std::string> calls;
    CWaitCursor::SetHooks([&] { calls.push_back("begin"); }, [&] { calls.push_back("end"); },
                          [&] { calls.push_back("restore"); });
    {
        CWaitCursor outer;
        {
            CWaitCursor inner;
            EXPECT_EQ(CWaitCursor::Depth(), 2);
            inner.Restore();
        }
        EXPECT_EQ(CWaitCursor::Depth(), 1);
    }
    EXPECT_EQ(CWaitCursor::Depth(), 0);
    EndWaitCursor(); // one too many
    EXPECT_EQ(CWaitCursor::Depth(), 0);
    BeginWaitCursor();
    EndWaitCursor();
    EXPECT_EQ(calls, (std::vector<std::string>{"begin", "restore", "end", "begin", "end"}));
    CWaitCursor::SetHooks({}, {});
    CWaitCursor quiet; // no hooks: nothing to call
}

class FakeClipboard : public IClipboard
{
public:
    bool SetText(const std::string& text) override
    {
        if (busy)
            return false;
        stored = text;
        return true;
    }
    bool GetText(std::string& text) override
    {
        if (busy || stored.empty())
            return false;
        text = stored;
        return true;
    }
    bool busy = false;
    std::string stored;
};

TEST(Clipboard, InMemoryAndInstalledClipboards)
{
    ASSERT_TRUE(SetClipboardText("1000 [RPM]\t12.5\n"));
    std::string text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, "1000 [RPM]\t12.5\n");
    EXPECT_TRUE(IsClipboardTextAvailable());

    FakeClipboard fake;
    SetClipboard(&fake);
    EXPECT_FALSE(IsClipboardTextAvailable());
    fake.busy = true;
    EXPECT_FALSE(SetClipboardText("x"));
    fake.busy = false;
    EXPECT_TRUE(SetClipboardText("y"));
    EXPECT_EQ(fake.stored, "y");
    SetClipboard(nullptr);
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, "1000 [RPM]\t12.5\n"); // the in-memory one kept its text
}

TEST(ObjectLifetime, ListenersHearAndMayRemoveThemselves)
{
    int object = 0;
    std::vector<const void*> heard;
    int second = 0;
    int first = AddObjectGoingListener([&](const void* o) {
        heard.push_back(o);
        RemoveObjectGoingListener(second); // removal during notification
    });
    second = AddObjectGoingListener([&](const void*) { heard.push_back(nullptr); });
    NotifyObjectGoing(&object);
    EXPECT_EQ(heard, (std::vector<const void*>{&object}));
    RemoveObjectGoingListener(first);
    NotifyObjectGoing(&object);
    EXPECT_EQ(heard.size(), 1u);
}

} // namespace
