#include "platform/ui/ColorStaticST.h"

#include "platform/ui/ColorButton.h"

#include <QApplication>

CColorStaticST::CColorStaticST(QWidget* parent) : CColorStaticST(QString(), parent) {}

CColorStaticST::CColorStaticST(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    const QPalette p = QApplication::palette(this);
    m_text = FromQColor(p.color(QPalette::ButtonText));
    m_back = FromQColor(p.color(QPalette::Button));
    setAutoFillBackground(true);
    Apply();
}

void CColorStaticST::SetTextColor(COLORREF color)
{
    m_text = color;
    Apply();
}

void CColorStaticST::SetBkColor(COLORREF color)
{
    m_back = color == kSystemFace ? FromQColor(QApplication::palette(this).color(QPalette::Button)) : color;
    Apply();
}

void CColorStaticST::Apply()
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ToQColor(m_text));
    p.setColor(QPalette::Window, ToQColor(m_back));
    setPalette(p);
    update();
}
