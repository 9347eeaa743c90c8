#include "platform/ui/ZuEnterNotifyEdit.h"

#include <QKeyEvent>

CZuEnterNotifyEdit::CZuEnterNotifyEdit(int id, QWidget* parent) : QLineEdit(parent), m_id(id) {}

void CZuEnterNotifyEdit::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_notify)
        m_notify(m_id, kNotifyEnter);
    QLineEdit::keyPressEvent(event);
}

void CZuEnterNotifyEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (m_notify)
        m_notify(m_id, kNotifyKillFocus);
}
