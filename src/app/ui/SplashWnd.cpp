#include "app/ui/SplashWnd.h"

#include "app/VerRes.h"

#include <QEvent>
#include <QPainter>
namespace {
bool g_enabled = false;
} // namespace

void CSplashWnd::EnableSplashScreen(bool enable)
{
    g_enabled = enable;
}

bool CSplashWnd::IsSplashScreenEnabled()
{
    return g_enabled;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent)
{
    if (!g_enabled || GetInstance())
        return;
    auto* splash = new CSplashWnd(parent);
    Instances().Register(ProgramKey(), splash);
    splash->show();
    splash->repaint();
}

bool CSplashWnd::PreTranslateAppMessage(const QEvent* event)
{
    if (!GetInstance() || !event)
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
    // Gone at once, not on the next loop turn.
    QWidget* splash = Instances().Release(ProgramKey());
    if (!splash)
        return;
    QWidget* owner = splash->parentWidget();
    delete splash;
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
