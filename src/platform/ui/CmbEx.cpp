#include "platform/ui/CmbEx.h"

#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <QFocusEvent>
#include <QKeyEvent>

CCmbEx::CCmbEx(QWidget* parent) : QComboBox(parent)
{
    setObjectName(QStringLiteral("CmbEx"));
    setEditable(false);
    setMaxVisibleItems(12);
    QFont f = font();
    const std::string face = LoadString(IDS_GRID_COMBO_FONT);
    if (!face.empty())
        f.setFamily(QString::fromStdString(face));
    f.setPixelSize(13);
    setFont(f);
}

int CCmbEx::FindStringExact(const QString& text) const
{
    for (int i = 0; i < count(); ++i)
        if (itemText(i) == text)
            return i;
    return -1;
}

void CCmbEx::keyReleaseEvent(QKeyEvent* event)
{
    QComboBox::keyReleaseEvent(event);
    if (event->isAutoRepeat() || !m_notify)
        return;
    int key = event->key();
    if (key == Qt::Key_Escape)
        key = kKeyEscape;
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        key = kKeyReturn;
    m_notify(key);
}

void CCmbEx::focusInEvent(QFocusEvent* event)
{
    m_hadFocus = true;
    QComboBox::focusInEvent(event);
}

void CCmbEx::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Opening its own list takes the focus for a moment; that is not leaving the combo.
    if (event->reason() == Qt::PopupFocusReason || !isVisible())
        return;
    if (m_notify)
        m_notify(0);
    hide();
}
