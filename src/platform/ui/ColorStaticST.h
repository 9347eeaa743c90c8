#pragma once
// A static text in colours of its own: text and background (the platform's button text and face
// at first).
#include "platform/win/WinTypes.h"

#include <QLabel>

class CColorStaticST : public QLabel
{
    Q_OBJECT
public:
    static constexpr COLORREF kSystemFace = COLORREF(0xFFFFFFFF); // -1: the button face colour

    explicit CColorStaticST(QWidget* parent = nullptr);
    explicit CColorStaticST(const QString& text, QWidget* parent = nullptr);

    void SetTextColor(COLORREF color);
    // kSystemFace (-1) takes the platform's button face colour.
    void SetBkColor(COLORREF color);
    COLORREF GetTextColor() const { return m_text; }
    COLORREF GetBkColor() const { return m_back; }

private:
    void Apply();

    COLORREF m_text;
    COLORREF m_back;
};
