#include "app/ui/StartupWarmUp.h"

#include "platform/base/ThreadPlacement.h"
#include "platform/ui/ProgramStyle.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>

#include <fontconfig/fontconfig.h>

CStartupWarmUp::CStartupWarmUp()
{
    m_fonts = std::thread([this] { ReadAhead(); });
    KeepOffCallingProcessor(m_fonts);
}

CStartupWarmUp::~CStartupWarmUp()
{
    Wait();
}

void CStartupWarmUp::ReadAhead()
{
    FcInit();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_application != EApplication::Pending; });
    if (m_application != EApplication::Windowed)
        return;
    lock.unlock();
    // The font database and the fallback lists of a family are shared by all threads: the main
    // thread's first measured text finds them made. Measuring a text here also makes the text
    // shaper ready. The font engines themselves are each thread's own.
    QFontDatabase::families();
    const QFontMetrics metrics(QGuiApplication::font());
    metrics.horizontalAdvance(QStringLiteral("File"));
    CProgramStyle::ReadFirstPaintImagesAhead();
}

void CStartupWarmUp::ApplicationMade()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    {
        const std::lock_guard lock(m_mutex);
        if (m_application == EApplication::Pending)
            m_application = qobject_cast<QGuiApplication*>(app) ? EApplication::Windowed : EApplication::Gone;
    }
    m_changed.notify_all();
    if (!m_bus.joinable()) {
        m_bus = std::thread([] { QDBusConnection::sessionBus(); });
        KeepOffCallingProcessor(m_bus);
    }
}

void CStartupWarmUp::Wait()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_application == EApplication::Pending)
            m_application = EApplication::Gone;
    }
    m_changed.notify_all();
    for (std::thread* t : {&m_fonts, &m_bus})
        if (t->joinable())
            t->join();
}
