#pragma once
// Messages sent across threads, and waits that keep serving them.
//
// A worker that sends a message to a window on the user-interface thread blocks until that thread
// has run the handler. If the user-interface thread is itself blocked waiting for the worker (a
// stop that waits until the worker has finished), neither would move. So a cross-thread send is
// queued here as well as on the receiver's event loop, whichever runs it first; and a thread that
// waits for a worker waits through WaitServing, which runs the sends queued for its own thread
// while it waits.
//
// Threads are identified by an opaque key (the receiving thread's object); CurrentThreadKey
// names the calling thread the same way.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class CSendWait
{
public:
    // Key of the calling thread.
    static const void* CurrentThreadKey();

    // One queued send: run once, by whoever claims it first.
    class CPending;

    // Queues call for the thread of receiverKey on behalf of owner; post hands the returned
    // runner to the receiver's event loop. Blocks until the call has run (on the receiver's
    // thread) or has been cancelled with its owner.
    static void SendAndWait(const void* receiverKey, const void* owner, std::function<void()> call,
                            const std::function<void(std::function<void()> runner)>& post);

    // Runs the sends queued for the calling thread; returns how many ran.
    static int ServePending();

    // Drops the queued sends of an owner that is going away; their senders go on as if answered.
    static void CancelOwner(const void* owner);

    // Blocks until done() holds, checking it at least every period and whenever Wake is called,
    // and running the sends queued for the calling thread meanwhile. A limit below zero waits as
    // long as it takes; otherwise the result is false when the limit passed first.
    static bool WaitServing(const std::function<bool()>& done, std::chrono::milliseconds period,
                            std::chrono::milliseconds limit = std::chrono::milliseconds(-1));

    // Wakes every WaitServing so that it checks its condition now.
    static void Wake();
};
