// Calls into another application that never answers: a sibling on the bus takes every call and
// sits on it. Each call ends within its time-out (or at once when its feedback is cancelled), on
// the thread that runs the windows and on any other, and comes back as an error, never as a value.
#include "platform/automation/Dispatch.h"
#include "platform/automation/DispatchException.h"
#include "platform/base/Feedback.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusVirtualObject>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

namespace {
constexpr const char* kSilentName = "ORVEX.Silent";

// Takes every call at every path and never answers it.
class CNeverAnswers : public QDBusVirtualObject
{
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override
    {
        if (message.type() == QDBusMessage::MethodCallMessage)
            ++calls;
        return true; // taken; no reply is ever sent
    }
    QString introspect(const QString&) const override { return {}; }
    std::atomic<int> calls{0};
};

class SiblingThatNeverAnswers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString address = QString::fromUtf8(qgetenv("DBUS_SESSION_BUS_ADDRESS"));
        m_server = QDBusConnection::connectToBus(address, QStringLiteral("silent-server"));
        ASSERT_TRUE(m_server.isConnected());
        ASSERT_TRUE(m_server.registerVirtualObject(QStringLiteral("/"), &m_silent, QDBusConnection::SubPath));
        ASSERT_TRUE(m_server.registerService(QLatin1String(kSilentName)));
        m_client = QDBusConnection::connectToBus(address, QStringLiteral("silent-client"));
        ASSERT_TRUE(m_client.isConnected());
    }
    void TearDown() override
    {
        m_server.unregisterService(QLatin1String(kSilentName));
        m_server.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(QStringLiteral("silent-client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("silent-server"));
    }

    CDispatch Sibling(int timeout, CFeedback* feedback = nullptr) const
    {
        CDispatch d(m_client, kSilentName, "/Application");
        d.SetTimeout(timeout);
        d.SetFeedback(feedback);
        return d;
    }

    CNeverAnswers m_silent;
    QDBusConnection m_server{QStringLiteral("none")};
    QDBusConnection m_client{QStringLiteral("none")};
};

// What one call did: how long it took and the bus error it failed with ("" when it did not fail).
struct Outcome
{
    qint64 ms = 0;
    std::string error;
    bool threw = false;
};

Outcome TimedCall(const std::function<void()>& call)
{
    Outcome out;
    QElapsedTimer clock;
    clock.start();
    try {
        call();
    } catch (const COleException& e) {
        out.threw = true;
        out.error = e.GetBusError();
    }
    out.ms = clock.elapsed();
    return out;
}
} // namespace

TEST_F(SiblingThatNeverAnswers, EveryCallEndsInItsTimeAsAnError)
{
    constexpr int kTimeout = 300;
    struct Case
    {
        const char* what;
        std::function<void(const CDispatch&)> call;
    };
    const Case cases[] = {
        {"looking a name up", [](const CDispatch& d) { d.GetIDOfName("SearchCommonNameIndex"); }},
        {"a method by id", [](const CDispatch& d) { d.CallMethod(3, AutoType::Long); }},
        {"a method by name", [](const CDispatch& d) { d.CallLong("FirstItem"); }},
        {"a property by name", [](const CDispatch& d) { d.GetPropertyString("Version"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = m_silent.calls;
        const CDispatch sibling = Sibling(kTimeout);
        const Outcome out = TimedCall([&] { c.call(sibling); });
        EXPECT_TRUE(out.threw) << "no answer is no value";
        EXPECT_EQ(out.error, "org.freedesktop.DBus.Error.NoReply");
        EXPECT_GE(out.ms, kTimeout - 50);
        EXPECT_LT(out.ms, kTimeout + 5000);
        EXPECT_GT(m_silent.calls, before) << "the sibling got the call and sat on it";
    }
}

TEST_F(SiblingThatNeverAnswers, ACancelledCallEndsBeforeItsTime)
{
    CSilentFeedback feedback;
    feedback.Cancel();
    const CDispatch sibling = Sibling(60000, &feedback);
    const Outcome byName = TimedCall([&] { sibling.CallLong("SearchCommonNameIndex"); });
    EXPECT_TRUE(byName.threw);
    EXPECT_EQ(byName.error, "ORVEX.Error.Cancelled");
    EXPECT_LT(byName.ms, 10000);
    // Objects got from a cancelled one wait no longer than it does.
    const CDispatch copy = sibling;
    const Outcome byCopy = TimedCall([&] { copy.CallMethod(1, AutoType::Empty); });
    EXPECT_EQ(byCopy.error, "ORVEX.Error.Cancelled");
    EXPECT_LT(byCopy.ms, 10000);
}

TEST_F(SiblingThatNeverAnswers, ACallFromAnotherThreadEndsInItsTime)
{
    constexpr int kTimeout = 300;
    const CDispatch sibling = Sibling(kTimeout);
    Outcome out;
    QThread* worker = QThread::create([&] { out = TimedCall([&] { sibling.CallLong("FirstItem"); }); });
    worker->start();
    // The silent sibling lives on this thread: its events run while the worker waits.
    QElapsedTimer clock;
    clock.start();
    while (!worker->wait(QDeadlineTimer(20)) && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(worker->isFinished());
    delete worker;
    EXPECT_TRUE(out.threw);
    EXPECT_EQ(out.error, "org.freedesktop.DBus.Error.NoReply");
    EXPECT_LT(out.ms, kTimeout + 5000);
}
