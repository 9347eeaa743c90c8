#include "platform/ui/SXButton.h"

#include <QIcon>
#include <QPixmap>

CSXButton::CSXButton(QWidget* parent) : QPushButton(parent) {}

CSXButton::CSXButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

bool CSXButton::SetIcon(const QString& resource, int width, int height)
{
    const QIcon icon(resource);
    if (icon.isNull() || width <= 0 || height <= 0 || icon.pixmap(width, height).isNull())
        return false;
    setIcon(icon);
    setIconSize(QSize(width, height));
    m_iconWidth = width;
    m_iconHeight = height;
    return true;
}
