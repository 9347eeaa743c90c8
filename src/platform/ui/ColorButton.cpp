#include "platform/ui/ColorButton.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromQColor(const QColor& c)
{
    return RGB(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent)
{
    TakeSystemColors();
}

CColorButton::CColorButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    TakeSystemColors();
}

void CColorButton::TakeSystemColors()
{
    const QPalette p = palette();
    m_text = FromQColor(p.color(QPalette::ButtonText));
    m_face = FromQColor(p.color(QPalette::Button));
    m_light = p.color(QPalette::Midlight);
    m_highlight = p.color(QPalette::Light);
    m_shadow = p.color(QPalette::Mid);
    m_darkShadow = p.color(QPalette::Shadow);
}

void CColorButton::SetColors(COLORREF text, COLORREF face)
{
    m_text = text;
    m_face = face;
    update();
}

void CColorButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QRect r = rect();
    p.fillRect(r, ToQColor(m_face));
    const bool pressed = isDown() || isChecked();
    auto frame = [&p](QRect rc, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(rc.topLeft(), rc.topRight());
        p.drawLine(rc.topLeft(), rc.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(rc.bottomLeft(), rc.bottomRight());
        p.drawLine(rc.topRight(), rc.bottomRight());
    };
    if (hasFocus()) {
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if (pressed) {
        frame(r, m_darkShadow, m_darkShadow);
        frame(r.adjusted(1, 1, -1, -1), m_shadow, m_shadow);
    } else {
        frame(r, m_highlight, m_darkShadow);
        frame(r.adjusted(1, 1, -1, -1), m_light, m_shadow);
    }
    const QStringList lines = text().split(QLatin1Char('\n'));
    const int lineHeight = fontMetrics().height();
    QRect textBox(0, (height() - lineHeight * int(lines.size())) / 2, width(), lineHeight);
    if (pressed)
        textBox.translate(1, 1);
    p.setFont(font());
    for (const QString& line : lines) {
        if (isEnabled()) {
            p.setPen(ToQColor(m_text));
            p.drawText(textBox, Qt::AlignCenter, line);
        } else {
            p.setPen(QColor(255, 255, 255));
            p.drawText(textBox.translated(1, 1), Qt::AlignCenter, line);
            p.setPen(QColor(128, 128, 128));
            p.drawText(textBox, Qt::AlignCenter, line);
        }
        textBox.translate(0, lineHeight);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = rect().adjusted(4, 4, -4, -4);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }
}
