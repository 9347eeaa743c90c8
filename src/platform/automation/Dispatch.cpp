#include "platform/automation/Dispatch.h"

#include "platform/automation/AutoServer.h"
#include "platform/automation/BusValue.h"
#include "platform/automation/DispatchException.h"
#include "platform/automation/DispatchTable.h"

#include "platform/base/Feedback.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QtDBus/QDBusConnectionInterface>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusPendingCall>
#include <QtDBus/QDBusPendingCallWatcher>

namespace {
constexpr int kStartTimeout = 20000;

QDBusConnection NoConnection()
{
    return QDBusConnection(QStringLiteral("orvex-no-connection"));
}

// How often a wait looks at its call, its deadline and its feedback's cancel.
constexpr int kPollInterval = 50;

// The error of a call that got no answer in time, or that the user gave up on.
const char* const kNoReplyError = "org.freedesktop.DBus.Error.NoReply";
const char* const kCancelledError = "ORVEX.Error.Cancelled";

// Sends the call and waits for its answer, at most timeout milliseconds, and only as long as the
// feedback (if any) is not cancelled; a call that gets no answer comes back as an error message.
//
// The library's own blocking call leaves the end of the wait to the bus thread: the wait ends only
// when that thread delivers the reply or its time-out as an event to the waiting loop. When that
// delivery does not come (the connection's time-out is never armed while nothing else moves on the
// connection, or the event goes to a loop that is not the one waiting), the caller waits for good
// however short its time-out. Here the waiting loop keeps its own deadline and looks at the call
// itself, so nothing has to be delivered for the wait to end.
//
// On the thread that runs the windows the loop leaves out user input, so the windows repaint and
// the program can answer calls made back into it, but nothing the user does runs in the middle of
// the call. On another thread it runs that thread's events.
QDBusMessage CallAndWait(const QDBusConnection& connection, const QDBusMessage& call, int timeout, CFeedback* feedback)
{
    QDBusPendingCall pending = QDBusConnection(connection).asyncCall(call, timeout);
    if (pending.isFinished())
        return pending.reply();
    const QDeadlineTimer deadline(timeout < 0 ? 25000 : timeout);
    bool cancelled = false;
    QEventLoop loop;
    QDBusPendingCallWatcher watcher(pending);
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(kPollInterval);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (feedback && feedback->IsCancelled())
            cancelled = true;
        if (cancelled || pending.isFinished() || deadline.hasExpired())
            loop.quit();
    });
    poll.start();
    const QCoreApplication* app = QCoreApplication::instance();
    const bool windowThread = app && QThread::currentThread() == app->thread();
    // A quit that comes while an inner loop runs ends this loop only after it: go round again
    // until the call is done, over time or given up.
    while (!cancelled && !pending.isFinished() && !deadline.hasExpired())
        loop.exec(windowThread ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents);
    if (pending.isFinished())
        return pending.reply();
    if (cancelled)
        return QDBusMessage::createError(QLatin1String(kCancelledError), QStringLiteral("The call was cancelled."));
    return QDBusMessage::createError(QLatin1String(kNoReplyError),
                                     QStringLiteral("%1 got no answer within %2 ms.").arg(call.service()).arg(timeout));
}

// A call that got no answer at all (not in time, cancelled, or the connection went).
bool IsNoAnswer(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return false;
    const QString name = reply.errorName();
    return name == QLatin1String(kNoReplyError) || name == QLatin1String(kCancelledError) ||
           name == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
           name == QLatin1String("org.freedesktop.DBus.Error.TimedOut") ||
           name == QLatin1String("org.freedesktop.DBus.Error.Disconnected");
}
} // namespace

CDispatch::CDispatch() : m_connection(NoConnection()) {}

CDispatch::CDispatch(const QDBusConnection& connection, std::string service, std::string path, bool autoRelease)
    : m_connection(connection), m_service(std::move(service)), m_path(std::move(path)), m_autoRelease(autoRelease)
{
    if (m_path == kNoObjectPath)
        m_path.clear();
    RegisterBusValueTypes();
}

CDispatch::CDispatch(const CDispatch& other)
    : m_connection(other.m_connection), m_service(other.m_service), m_path(other.m_path), m_autoRelease(true),
      m_timeout(other.m_timeout), m_feedback(other.m_feedback)
{}

CDispatch& CDispatch::operator=(const CDispatch& other)
{
    if (this != &other) {
        m_connection = other.m_connection;
        m_service = other.m_service;
        m_path = other.m_path;
        m_timeout = other.m_timeout;
        m_feedback = other.m_feedback;
        m_autoRelease = true;
    }
    return *this;
}

CDispatch::~CDispatch() = default;

bool CDispatch::CreateDispatch(const std::string& progId, const QDBusConnection& connection)
{
    ReleaseDispatch();
    RegisterBusValueTypes();
    if (!connection.isConnected() || !connection.interface())
        return false;
    const QString name = QString::fromStdString(progId);
    if (!connection.interface()->isServiceRegistered(name).value()) {
        // Nobody holds the name: the bus starts the application that provides it, if it knows one.
        QDBusMessage start = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("StartServiceByName"));
        start << name << 0u;
        const QDBusMessage reply = CallAndWait(connection, start, kStartTimeout, nullptr);
        if (reply.type() != QDBusMessage::ReplyMessage || !connection.interface()->isServiceRegistered(name).value())
            return false;
    }
    m_connection = connection;
    m_service = progId;
    m_path = kApplicationPath;
    m_autoRelease = true;
    return true;
}

void CDispatch::ReleaseDispatch()
{
    m_service.clear();
    m_path.clear();
    m_autoRelease = false;
}

int32_t CDispatch::GetIDOfName(const std::string& name) const
{
    if (IsNull())
        return DISPID_UNKNOWN;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromStdString(m_service), QString::fromStdString(m_path),
                                       QLatin1String(kDispatchInterface), QStringLiteral("GetIDsOfNames"));
    call << QString::fromStdString(name);
    const QDBusMessage reply = CallAndWait(m_connection, call, m_timeout, m_feedback);
    // A name the object does not know is no error; an object that does not answer is.
    if (IsNoAnswer(reply))
        throw COleException(reply.errorMessage().toStdString(), reply.errorName().toStdString());
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return DISPID_UNKNOWN;
    return reply.arguments().at(0).toInt();
}

void CDispatch::InvokeHelper(int32_t dispid, int flags, CDispParams* params, AutoType resultType,
                             CAutoValue* result) const
{
    if (IsNull() || dispid == DISPID_UNKNOWN)
        return;
    static CDispParams noArguments;
    CDispParams& args = params ? *params : noArguments;
    args.PrepareNamedArgs(flags);

    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromStdString(m_service), QString::fromStdString(m_path),
                                       QLatin1String(kDispatchInterface), QStringLiteral("Invoke"));
    call << dispid << flags << ToBusVariantList(args.CallOrder());
    const QDBusMessage reply = CallAndWait(m_connection, call, m_timeout, m_feedback);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        CDispatchException e(0, {});
        if (CDispatchException::FromBusError(reply.errorName().toStdString(), reply.errorMessage().toStdString(), e))
            throw e;
        throw COleException(reply.errorMessage().toStdString(), reply.errorName().toStdString());
    }
    std::vector<CAutoValue> out;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1 ||
        !FromBusVariantList(reply.arguments().at(0), out))
        throw COleException("The object's answer cannot be read.");
    if (resultType == AutoType::Empty || !result)
        return;
    const CAutoValue value = out.empty() ? CAutoValue() : out.front();
    if (!value.ChangeType(resultType, *result)) {
        *result = CAutoValue();
        throw COleException("The result does not convert to the type asked for.", "DISP_E_TYPEMISMATCH");
    }
}

CAutoValue CDispatch::GetProperty(int32_t dispid, AutoType type, CDispParams* params) const
{
    CAutoValue result;
    InvokeHelper(dispid, DISPATCH_PROPERTYGET, params, type, &result);
    return result;
}

void CDispatch::SetProperty(int32_t dispid, const CAutoValue& value, CDispParams* params) const
{
    CDispParams own;
    CDispParams& args = params ? *params : own;
    // The new value is the last argument in call order (the named one).
    const int n = args.GetCount();
    CDispParams withValue(n + 1);
    for (int i = 0; i < n; ++i)
        withValue.SetValue(i, args.Arg(i));
    withValue.SetValue(n, value);
    InvokeHelper(dispid, DISPATCH_PROPERTYPUT, &withValue, AutoType::Empty, nullptr);
}

CAutoValue CDispatch::CallMethod(int32_t dispid, AutoType type, CDispParams* params) const
{
    CAutoValue result;
    InvokeHelper(dispid, DISPATCH_METHOD, params, type, &result);
    return result;
}

CAutoValue CDispatch::ByName(const std::string& name, int flags, AutoType type, CDispParams* params) const
{
    CAutoValue result;
    const int32_t id = GetIDOfName(name);
    InvokeHelper(id, flags, params, type, &result);
    if (id == DISPID_UNKNOWN && type != AutoType::Empty) {
        CAutoValue zero;
        CAutoValue().ChangeType(type, zero);
        return zero;
    }
    return result;
}

int32_t CDispatch::GetPropertyLong(const std::string& name, CDispParams* params) const
{
    return ByName(name, DISPATCH_PROPERTYGET, AutoType::Long, params).RawLong();
}

double CDispatch::GetDate(const std::string& name, CDispParams* params) const
{
    return ByName(name, DISPATCH_PROPERTYGET, AutoType::Date, params).RawReal();
}

std::string CDispatch::GetPropertyString(const std::string& name, CDispParams* params) const
{
    return ByName(name, DISPATCH_PROPERTYGET, AutoType::String, params).RawText();
}

CDispatch CDispatch::GetPropertyDispatch(const std::string& name, CDispParams* params) const
{
    return ObjectOf(ByName(name, DISPATCH_PROPERTYGET, AutoType::Object, params));
}

bool CDispatch::GetBool(const std::string& name, CDispParams* params) const
{
    return ByName(name, DISPATCH_PROPERTYGET, AutoType::Bool, params).RawLong() != 0;
}

void CDispatch::PutProperty(const std::string& name, const CAutoValue& value, CDispParams* params) const
{
    SetProperty(GetIDOfName(name), value, params);
}

void CDispatch::Call(const std::string& name, CDispParams* params) const
{
    ByName(name, DISPATCH_METHOD, AutoType::Empty, params);
}

int32_t CDispatch::CallLong(const std::string& name, CDispParams* params) const
{
    return ByName(name, DISPATCH_METHOD, AutoType::Long, params).RawLong();
}

double CDispatch::CallDouble(const std::string& name, CDispParams* params) const
{
    return ByName(name, DISPATCH_METHOD, AutoType::Real, params).RawReal();
}

CDispatch CDispatch::InvokeDispatch(const std::string& name, CDispParams* params) const
{
    return ObjectOf(ByName(name, DISPATCH_METHOD, AutoType::Object, params));
}

CAutoValue CDispatch::InvokeVariant(const std::string& name, CDispParams* params) const
{
    return ByName(name, DISPATCH_METHOD, AutoType::Variant, params);
}

CDispatch CDispatch::ObjectOf(const CAutoValue& value) const
{
    if (value.GetType() != AutoType::Object || value.IsNothing() || IsNull())
        return {};
    CDispatch d(m_connection, m_service, value.RawText());
    d.m_timeout = m_timeout;
    d.m_feedback = m_feedback;
    return d;
}
