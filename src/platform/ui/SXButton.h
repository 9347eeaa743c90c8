#pragma once
// A push button with an icon beside its text, greyed with the button when disabled.
#include <QPushButton>

class CSXButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CSXButton(QWidget* parent = nullptr);
    explicit CSXButton(const QString& text, QWidget* parent = nullptr);

    // Loads the icon (a file or ":/" resource) at the given size; false, and the button unchanged,
    // when it cannot be loaded.
    bool SetIcon(const QString& resource, int width, int height);
    int IconWidth() const { return m_iconWidth; }
    int IconHeight() const { return m_iconHeight; }

private:
    int m_iconWidth = 0;
    int m_iconHeight = 0;
};
