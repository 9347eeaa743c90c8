#pragma once
// A session bus of the test's own: a dbus-daemon started for the test executable, its address made
// the session bus of the process (set before the first use of the session bus). Services placed in
// its service folder are started by the bus when asked for. The daemon ends with the test process.
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;
class QTemporaryDir;

class CPrivateSessionBus
{
public:
    CPrivateSessionBus();
    ~CPrivateSessionBus();

    // Starts the daemon (bounded wait); false with the reason in error when it cannot.
    bool Start(QString* error = nullptr);
    const QString& Address() const { return m_address; }
    // Writes a service file so that the bus starts program (with arguments) for the name.
    bool AddService(const QString& name, const QString& program, const QStringList& arguments = {});

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_daemon;
    QString m_address;
};

// Waits, pumping events, until the bus name is held (registered true) or free (false); bounded.
bool WaitForBusName(const QString& name, bool registered, int timeoutMs = 10000);
