#pragma once
// A message target for windows and other receivers that live on a thread with a Qt event loop.
// The receiver gives a handler; SendMessage calls it at once on the receiver's own thread (from
// another thread it waits until the receiver's thread has run it, from its event loop or from a
// CSendWait::WaitServing), PostMessage queues the call to the receiver's event loop. Messages
// still queued when the target is destroyed are dropped (a waiting sender gets 0).
#include "platform/win/MessageTarget.h"

#include <functional>
#include <memory>

class QObject;

class CQueuedMessageTarget : public IMessageTarget
{
public:
    using Handler = std::function<intptr_t(uint32_t msg, uintptr_t wParam, intptr_t lParam)>;

    // Lives on the thread that constructs it.
    explicit CQueuedMessageTarget(Handler handler);
    ~CQueuedMessageTarget() override;
    CQueuedMessageTarget(const CQueuedMessageTarget&) = delete;
    CQueuedMessageTarget& operator=(const CQueuedMessageTarget&) = delete;

    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;

private:
    Handler m_handler;
    QObject* m_receiver; // owned; its deletion drops what is still queued
};
