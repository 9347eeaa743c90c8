#include "app/ui/SplashWnd.h"

#include "app/VerRes.h"

#include <QEvent>
#include <QPainter>
#include <QPointer>

namespace {
bool g_enabled = false;
QPointer<CSplashWnd> g_splash;
} // namespace

void CSplashWnd::EnableSplashScreen(bool enable)
{
    g_enabled = enable;
}

bool CSplashWnd::IsSplashScreenEnabled()
{
    return g_enabled;
}

CSplashWnd* CSplashWnd::Instance()
{
    return g_splash;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent)
{
    if (!g_enabled || g_splash)
        return;
    g_splash = new CSplashWnd(parent);
    g_splash->show();
    g_splash->repaint();
}

bool CSplashWnd::PreTranslateAppMessage(const QEvent* event)
{
    if (!g_splash || !event)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        HideSplashScreen();
        return true;
    default:
        return false;
    }
}

void CSplashWnd::HideSplashScreen()
{
    if (!g_splash)
        return;
    QWidget* owner = g_splash->parentWidget();
    delete g_splash.data();
    if (owner)
        owner->update();
}

CSplashWnd::CSplashWnd(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashWnd"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(420, 240);
    move(0, 0);
    setCursor(Qt::ArrowCursor);
}

CSplashWnd::~CSplashWnd() = default;

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 64, 112));
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(28);
    f.setBold(true);
    p.setFont(f);
    p.drawText(rect().adjusted(0, -30, 0, 0), Qt::AlignCenter, QStringLiteral("ORVEX"));
    f.setPointSize(12);
    f.setBold(false);
    p.setFont(f);
    p.drawText(rect().adjusted(0, 60, 0, 0), Qt::AlignCenter, QString::fromStdString(GetCaptionVersionText()));
}

void CSplashWnd::timerEvent(QTimerEvent*)
{
    HideSplashScreen();
}
