#include "PrivateSessionBus.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusConnectionInterface>
#include <QtDBus/QDBusServiceWatcher>

#include <csignal>
#include <sys/prctl.h>

CPrivateSessionBus::CPrivateSessionBus() = default;

CPrivateSessionBus::~CPrivateSessionBus()
{
    if (m_daemon) {
        m_daemon->kill();
        m_daemon->waitForFinished(5000);
    }
}

bool CPrivateSessionBus::Start(QString* error)
{
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) {
        if (error)
            *error = QStringLiteral("no temporary folder");
        return false;
    }
    QDir(m_dir->path()).mkpath(QStringLiteral("services"));
    const QString config = m_dir->filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                              " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                              "<busconfig>\n"
                              "  <type>session</type>\n"
                              "  <listen>unix:dir=%1</listen>\n"
                              "  <servicedir>%2</servicedir>\n"
                              "  <policy context=\"default\">\n"
                              "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                              "    <allow eavesdrop=\"true\"/>\n"
                              "    <allow own=\"*\"/>\n"
                              "  </policy>\n"
                              "</busconfig>\n")
                   .arg(m_dir->path(), m_dir->filePath(QStringLiteral("services")))
                   .toUtf8());
    file.close();

    m_daemon = std::make_unique<QProcess>();
    // The daemon must not outlive a test process that dies.
    m_daemon->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_daemon->start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config,
                                                    QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!m_daemon->waitForStarted(10000)) {
        if (error)
            *error = QStringLiteral("dbus-daemon does not start");
        return false;
    }
    // The address is the first line the daemon prints.
    while (!m_daemon->canReadLine())
        if (!m_daemon->waitForReadyRead(10000)) {
            if (error)
                *error = QStringLiteral("dbus-daemon printed no address: ") +
                         QString::fromUtf8(m_daemon->readAllStandardError());
            return false;
        }
    m_address = QString::fromUtf8(m_daemon->readLine()).trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
    return !m_address.isEmpty();
}

bool CPrivateSessionBus::AddService(const QString& name, const QString& program, const QStringList& arguments)
{
    QFile file(m_dir->filePath(QStringLiteral("services/") + name + QStringLiteral(".service")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString exec = program;
    for (const QString& a : arguments)
        exec += QStringLiteral(" \"") + a + QStringLiteral("\"");
    file.write(QStringLiteral("[D-BUS Service]\nName=%1\nExec=%2\n").arg(name, exec).toUtf8());
    return true;
}

bool WaitForBusName(const QString& name, bool registered, int timeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.interface())
        return false;
    QDBusServiceWatcher watcher(name, bus,
                                registered ? QDBusServiceWatcher::WatchForRegistration
                                           : QDBusServiceWatcher::WatchForUnregistration);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop, &QEventLoop::quit);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (bus.interface()->isServiceRegistered(name).value() != registered)
        loop.exec();
    return bus.interface()->isServiceRegistered(name).value() == registered;
}
