#include "platform/win/QueuedMessageTarget.h"

#include "platform/win/SendWait.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

CQueuedMessageTarget::CQueuedMessageTarget(Handler handler) : m_handler(std::move(handler)), m_receiver(new QObject) {}

CQueuedMessageTarget::~CQueuedMessageTarget()
{
    CSendWait::CancelOwner(this);
    delete m_receiver;
}

intptr_t CQueuedMessageTarget::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (!m_handler)
        return 0;
    if (QThread::currentThread() == m_receiver->thread())
        return m_handler(msg, wParam, lParam);
    // Queued both to the receiver's event loop and to CSendWait, so a receiver thread that is
    // waiting for this sender runs it from its wait.
    intptr_t result = 0;
    CSendWait::SendAndWait(
        m_receiver->thread(), this, [this, msg, wParam, lParam, &result] { result = m_handler(msg, wParam, lParam); },
        [this](std::function<void()> runner) {
            QMetaObject::invokeMethod(m_receiver, std::move(runner), Qt::QueuedConnection);
        });
    return result;
}

void CQueuedMessageTarget::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (!m_handler)
        return;
    QMetaObject::invokeMethod(
        m_receiver, [this, msg, wParam, lParam] { m_handler(msg, wParam, lParam); }, Qt::QueuedConnection);
}
