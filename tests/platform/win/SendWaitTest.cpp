// Sends from worker threads to a thread that is itself waiting for the worker.
#include <gtest/gtest.h>

#include "platform/win/Messages.h"
#include "platform/win/QueuedMessageTarget.h"
#include "platform/win/SendWait.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <chrono>
#include <thread>

using namespace std::chrono_literals;

namespace {

TEST(SendWait, AWaitForTheWorkerRunsTheWorkersSendsToTheWaitingThread)
{
    QThread* owner = QThread::currentThread();
    std::atomic<int> handledOnOwner{0};
    CQueuedMessageTarget target([&](uint32_t msg, uintptr_t, intptr_t) -> intptr_t {
        if (QThread::currentThread() == owner)
            ++handledOnOwner;
        return msg + 1;
    });
    std::atomic<bool> finished{false};
    intptr_t first = 0;
    intptr_t second = 0;
    std::thread worker([&] {
        first = target.SendMessage(WM_ZU_DAQ_TRANSFER_BEGIN);
        second = target.SendMessage(WM_ZU_DAQ_TRANSFER_DONE);
        finished = true;
        CSendWait::Wake();
    });
    // No event loop runs here: only the wait can answer the worker.
    EXPECT_TRUE(CSendWait::WaitServing([&] { return finished.load(); }, 100ms, 5000ms));
    worker.join();
    EXPECT_EQ(handledOnOwner, 2);
    EXPECT_EQ(first, WM_ZU_DAQ_TRANSFER_DONE);
    EXPECT_EQ(second, 0xA306);
    // Nothing is left for the event loop to run a second time.
    QCoreApplication::processEvents();
    EXPECT_EQ(handledOnOwner, 2);
}

TEST(SendWait, WaitsEndAtTheirLimitOrWhenWoken)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CSendWait::WaitServing([] { return false; }, 10ms, 50ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);

    // A wake makes the wait look at once, not at the end of its (long) period.
    std::atomic<bool> done{false};
    std::thread waker([&] {
        done = true;
        CSendWait::Wake();
    });
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(CSendWait::WaitServing([&] { return done.load(); }, 10000ms, 5000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5000ms);
    waker.join();
}

} // namespace
