#include "platform/win/Messages.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/QueuedMessageTarget.h"

#include "platform/win/SendWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <thread>

namespace {

TEST(MessageTarget, PrivateMessageNumbers)
{
    struct Case
    {
        uint32_t constant;
        uint32_t number;
    };
    const Case cases[] = {
        {WM_ZU_PROGRESS_RANGE, 1324},
        {WM_ZU_PROGRESS_SHOW, 1325},
        {WM_ZU_PROGRESS_HIDE, 1326},
        {WM_ZU_PROGRESS_STEP, 1327},
        {WM_ZU_PROGRESS_TEXT, 1328},
        {WM_ZU_CLOSE_WINDOWS, 0x1400},
        {WM_ZU_DAQ_STARTED, 0x240B},
        {WM_ZU_DAQ_DATA, 0x240F},
        {WM_ZU_DAQ_RECORD_START, 0x241A},
        {WM_ZU_DAQ_RECORD_END, 0x241B},
        {WM_ZU_RUNUP_RPM, 0x2500},
        {WM_ZU_RUNUP_SAMPLES, 0x250A},
        {WM_USER, 1024},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.constant, c.number);
}

TEST(MessageTarget, EachPrivateMessageNumberHasOneName)
{
    // A second name for a number would let a sender and a receiver believe they speak of two
    // messages when the window cannot tell them apart.
    std::map<uint32_t, int> seen;
    for (uint32_t number : kPrivateMessageNumbers)
        EXPECT_EQ(++seen[number], 1) << "message " << number << " is listed twice";
    // Nor may a private number be taken for one of the standard messages the program sends.
    for (uint32_t standard : {WM_CLOSE, WM_USER, WM_COMMAND, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        EXPECT_EQ(seen.count(standard), 0u) << standard;
}

TEST(MessageTarget, MainWindowRoutingAndRecording)
{
    EXPECT_EQ(SendToMainWindow(WM_ZU_PROGRESS_SHOW), 0); // no main window: nothing happens
    PostToMainWindow(WM_ZU_PROGRESS_STEP);

    CRecordingMessageTarget target;
    target.handler = [](uint32_t msg, uintptr_t, intptr_t) -> intptr_t { return msg == WM_ZU_CLOSE_WINDOWS ? 7 : 0; };
    {
        CMainWindowTargetScope scope(&target);
        EXPECT_EQ(GetMainWindowTarget(), &target);
        SendToMainWindow(WM_ZU_PROGRESS_SHOW);
        SendToMainWindow(WM_ZU_PROGRESS_RANGE, (uintptr_t(10) << 16) | 0, 1);
        {
            std::string text = "Storing [a]...";
            SendToMainWindow(WM_ZU_PROGRESS_TEXT, reinterpret_cast<uintptr_t>(text.c_str()));
            text = "overwritten";
        }
        EXPECT_EQ(SendToMainWindow(WM_ZU_CLOSE_WINDOWS, 1), 7);
        PostToMainWindow(WM_ZU_DAQ_COMPLETE, 5);
    }
    EXPECT_EQ(GetMainWindowTarget(), nullptr);

    auto r = target.Records();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(target.MessageNumbers(), (std::vector<uint32_t>{1325, 1324, 1328, 0x1400, 0x240E}));
    EXPECT_EQ(r[1].wParam >> 16, 10u);
    EXPECT_EQ(r[1].lParam, 1);
    EXPECT_EQ(r[2].text, "Storing [a]...");
    EXPECT_FALSE(r[3].posted);
    EXPECT_TRUE(r[4].posted);

    // Posted messages reach the handler only when dispatched.
    std::vector<uint32_t> handled;
    target.handler = [&](uint32_t msg, uintptr_t, intptr_t) -> intptr_t {
        handled.push_back(msg);
        return 0;
    };
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(target.Dispatch(), 1);
    EXPECT_EQ(handled, (std::vector<uint32_t>{0x240E}));
    EXPECT_EQ(target.Dispatch(), 0);
}

TEST(QueuedMessageTarget, PostedMessagesRunInOrderOnTheEventLoop)
{
    std::vector<std::pair<uint32_t, uintptr_t>> handled;
    CQueuedMessageTarget target([&](uint32_t msg, uintptr_t w, intptr_t) -> intptr_t {
        handled.emplace_back(msg, w);
        return intptr_t(w) * 2;
    });
    EXPECT_EQ(target.SendMessage(1, 21), 42); // sent: at once
    target.PostMessage(2, 1);
    target.PostMessage(3, 2);
    EXPECT_EQ(handled.size(), 1u);
    QCoreApplication::processEvents();
    ASSERT_EQ(handled.size(), 3u);
    EXPECT_EQ(handled[1].first, 2u);
    EXPECT_EQ(handled[2].first, 3u);
}

TEST(QueuedMessageTarget, PostFromWorkerAndSendFromWorkerRunOnTheOwnerThread)
{
    QThread* owner = QThread::currentThread();
    std::vector<uint32_t> handled;
    std::vector<bool> onOwner;
    CQueuedMessageTarget target([&](uint32_t msg, uintptr_t, intptr_t) -> intptr_t {
        handled.push_back(msg);
        onOwner.push_back(QThread::currentThread() == owner);
        return 99;
    });
    intptr_t sent = 0;
    std::thread worker([&] {
        target.PostMessage(WM_ZU_DAQ_STARTED);
        sent = target.SendMessage(WM_ZU_DAQ_COMPLETE); // waits for the owner's loop
    });
    // Run the owner's loop until the worker's send has been answered, bounded by time: the
    // worker may start late on a loaded machine. A tick keeps the waiting loop from sleeping
    // past the bound, and a send still unanswered at the end is cancelled so join() returns.
    QEventLoop loop;
    QTimer tick;
    tick.start(10);
    QElapsedTimer elapsed;
    elapsed.start();
    while (handled.size() < 2 && elapsed.elapsed() < 20000)
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    if (handled.size() < 2)
        CSendWait::CancelOwner(&target);
    worker.join();
    ASSERT_EQ(handled, (std::vector<uint32_t>{WM_ZU_DAQ_STARTED, WM_ZU_DAQ_COMPLETE}));
    EXPECT_EQ(onOwner, (std::vector<bool>{true, true}));
    EXPECT_EQ(sent, 99);
}

TEST(QueuedMessageTarget, QueuedMessagesOfADestroyedTargetAreDropped)
{
    int calls = 0;
    {
        CQueuedMessageTarget target([&](uint32_t, uintptr_t, intptr_t) -> intptr_t {
            ++calls;
            return 0;
        });
        target.PostMessage(1);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
}

} // namespace
