// Closing the main window while an automation client has handed over its window: the client is
// told (seen by an independent client, gdbus monitor) and the program hides instead of closing.
#include "support/GdbusCall.h"
#include "support/PrivateSessionBus.h"

#include "app/TALVODoc.h"
#include "app/automation/AutomationService.h"
#include "app/ui/MainFrame.h"
#include "app/ui/MainFrameAutomationHost.h"
#include "platform/win/Messages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QtDBus/QDBusConnection>

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

namespace {
// Waits, pumping events, until the monitor has printed text; bounded.
bool WaitForOutput(QProcess& monitor, QString& seen, const QString& text)
{
    const QDeadlineTimer deadline(10000);
    while (!seen.contains(text) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        monitor.waitForReadyRead(20);
        seen += QString::fromUtf8(monitor.readAllStandardOutput());
    }
    return seen.contains(text);
}
} // namespace

TEST(ClientWindowClose, TheClientIsToldAndTheWindowHidesInsteadOfClosing)
{
    // gdbus finds the test's bus through the environment; the next tests get theirs back (taken
    // before the test's bus takes its place there).
    const QByteArray previousBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    CPrivateSessionBus bus;
    QString error;
    ASSERT_TRUE(bus.Start(&error)) << error.toStdString();

    enum class Close
    {
        User,
        Program,
        ServiceGone
    };
    const struct
    {
        const char* what;
        bool clientSet;
        Close how;
        bool hides;
    } cases[] = {
        {"no client window: closes", false, Close::User, false},
        {"client window: hides and tells the client", true, Close::User, true},
        {"the program's own close goes ahead", true, Close::Program, false},
        {"no server to tell the client: closes", true, Close::ServiceGone, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMainFrame frame;
        frame.AttachDocument(std::make_unique<CTALVODoc>());
        frame.show();
        CMainFrameAutomationHost host(frame);
        const QString connectionName = QStringLiteral("client-window-server");
        auto service = std::make_unique<CAutomationService>(
            host, false, QDBusConnection::connectToBus(bus.Address(), connectionName));
        ASSERT_TRUE(service->RegisterAppActiveObject());

        QProcess monitor;
        QString seen;
        monitor.start(QStringLiteral("gdbus"), {QStringLiteral("monitor"), QStringLiteral("--session"),
                                                QStringLiteral("--dest"), QString::fromLatin1(kAutomationName),
                                                QStringLiteral("--object-path"), QStringLiteral("/Application")});
        ASSERT_TRUE(monitor.waitForStarted(5000));
        ASSERT_TRUE(WaitForOutput(monitor, seen, QStringLiteral("Monitoring signals")));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        if (c.clientSet) {
            // The client hands over its window the way clients do: through the property.
            const GdbusResult put = GdbusCall(QString::fromLatin1(kAutomationName), QStringLiteral("/Application"),
                                              QStringLiteral("ORVEX.AutomationPut.ClientHWnd"), {QStringLiteral("77")});
            ASSERT_EQ(put.exitCode, 0) << put.err.toStdString();
            EXPECT_EQ(host.GetClientWindow(), 77);
        }
        if (c.how == Close::ServiceGone)
            service.reset();

        if (c.how == Close::Program)
            frame.SendMessage(WM_ZU_CLOSE_WINDOWS, 0);
        else
            EXPECT_EQ(frame.close(), !c.hides);
        EXPECT_EQ(frame.isVisible(), false);
        EXPECT_EQ(frame.IsClosing(), !c.hides);
        EXPECT_EQ(frame.GetDocument() != nullptr, c.hides) << "a hidden program keeps its document";
        const QString told =
            QStringLiteral("ClientMessage (int64 77, uint32 1024, int64 16, int64 %1)").arg(::getpid());
        if (c.hides) {
            EXPECT_TRUE(WaitForOutput(monitor, seen, told)) << seen.toStdString();
        } else {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
            seen += QString::fromUtf8(monitor.readAllStandardOutput());
            EXPECT_FALSE(seen.contains(QStringLiteral("ClientMessage"))) << seen.toStdString();
        }
        monitor.kill();
        monitor.waitForFinished(2000);
        service.reset();
        QDBusConnection::disconnectFromBus(connectionName);
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", previousBus);
}
