#pragma once
// The splash window: a borderless picture with the program's version, shown only when start-up has
// enabled it before the main window asks for it. Start-up enables it only after the main window
// exists, so it is not shown at start; a key or mouse press hides it.
#include "platform/ui/SingleInstance.h"

#include <QWidget>

class QEvent;

class CSplashWnd : public QWidget, public CSingleInstance<CSplashWnd>
{
    Q_OBJECT
public:
    static void EnableSplashScreen(bool enable);
    static bool IsSplashScreenEnabled();
    // Shows the splash over parent when it is enabled and none is shown.
    static void ShowSplashScreen(QWidget* parent);
    // Hides the splash on a key or mouse press; true when the event was consumed.
    static bool PreTranslateAppMessage(const QEvent* event);
    static void HideSplashScreen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    explicit CSplashWnd(QWidget* parent);
    ~CSplashWnd() override;
};
