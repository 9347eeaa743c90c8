#pragma once
// A push button drawn in its own colours: face and text colour are the owner's, the frame the
// platform's 3-D colours. A disabled button shows its text embossed in grey; a text with line
// feeds is drawn line below line.
#include "platform/win/WinTypes.h"

#include <QPushButton>

class CColorButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CColorButton(QWidget* parent = nullptr);
    explicit CColorButton(const QString& text, QWidget* parent = nullptr);

    void SetColors(COLORREF text, COLORREF face);
    COLORREF GetTextColor() const { return m_text; }
    COLORREF GetFaceColor() const { return m_face; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void TakeSystemColors();

    COLORREF m_text;
    COLORREF m_face;
    QColor m_light, m_highlight, m_shadow, m_darkShadow;
};

// Colour helpers between the program's RGB values and Qt's.
QColor ToQColor(COLORREF c);
COLORREF FromQColor(const QColor& c);
