#include "platform/win/QueuedMessageTarget.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

CQueuedMessageTarget::CQueuedMessageTarget(Handler handler)
    : m_handler(std::move(handler))
    , m_receiver(new QObject)
{
}

CQueuedMessageTarget::~CQueuedMessageTarget()
{
    delete m_receiver;
}

intptr_t CQueuedMessageTarget::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (!m_handler)
        return 0;
    if (QThread::currentThread() == m_receiver->thread())
        return m_handler(msg, wParam, lParam);
    intptr_t result = 0;
    QMetaObject::invokeMethod(
        m_receiver, [this, msg, wParam, lParam, &result] { result = m_handler(msg, wParam, lParam); },
        Qt::BlockingQueuedConnection);
    return result;
}

void CQueuedMessageTarget::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (!m_handler)
        return;
    QMetaObject::invokeMethod(
        m_receiver, [this, msg, wParam, lParam] { m_handler(msg, wParam, lParam); }, Qt::QueuedConnection);
}
