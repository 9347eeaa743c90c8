#include "app/ui/StartupWarmUp.h"

#include <QCoreApplication>
#include <QDBusConnection>

#include <fontconfig/fontconfig.h>

CStartupWarmUp::CStartupWarmUp() : m_fonts([] { FcInit(); }) {}

CStartupWarmUp::~CStartupWarmUp()
{
    Wait();
}

void CStartupWarmUp::ConnectSessionBus()
{
    if (!m_bus.joinable() && QCoreApplication::instance())
        m_bus = std::thread([] { QDBusConnection::sessionBus(); });
}

void CStartupWarmUp::Wait()
{
    for (std::thread* t : {&m_fonts, &m_bus})
        if (t->joinable())
            t->join();
}
