#include "platform/automation/AutoServer.h"

#include "platform/automation/AutoObjectRegistry.h"
#include "platform/automation/BusValue.h"
#include "platform/automation/DispatchException.h"

#include <QtDBus/QDBusConnectionInterface>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusServiceWatcher>
#include <QtDBus/QDBusVirtualObject>

namespace {
QString MethodXml(const std::string& name, const std::vector<AutoType>& params, AutoType result, bool putValue,
                  AutoType valueType)
{
    QString xml = QStringLiteral("    <method name=\"%1\">\n").arg(QString::fromStdString(name));
    int n = 0;
    for (AutoType t : params)
        xml += QStringLiteral("      <arg name=\"arg%1\" type=\"%2\" direction=\"in\"/>\n")
                   .arg(++n)
                   .arg(QString::fromStdString(AutoTypeSignature(t)));
    if (putValue)
        xml += QStringLiteral("      <arg name=\"value\" type=\"%1\" direction=\"in\"/>\n")
                   .arg(QString::fromStdString(AutoTypeSignature(valueType)));
    else if (result != AutoType::Empty)
        xml += QStringLiteral("      <arg name=\"result\" type=\"%1\" direction=\"out\"/>\n")
                   .arg(QString::fromStdString(AutoTypeSignature(result)));
    xml += QStringLiteral("    </method>\n");
    return xml;
}

QDBusMessage ErrorReply(const QDBusMessage& message, const std::string& name, const std::string& text)
{
    return message.createErrorReply(QString::fromStdString(name), QString::fromStdString(text));
}
} // namespace

// The bus side of the server: every object path at "/" and below.
class CAutoBusObject : public QDBusVirtualObject
{
public:
    explicit CAutoBusObject(CAutoServer& server) : m_server(server) {}

    QString introspect(const QString& path) const override
    {
        CAutoObject* object = CAutoObjectRegistry::Instance().Find(path.toStdString());
        if (!object)
            return {};
        QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(QLatin1String(kAutomationInterface));
        QString put = QStringLiteral("  <interface name=\"%1\">\n").arg(QLatin1String(kAutomationPutInterface));
        for (const CDispMember* m : object->GetDispatchTable().AllMembers()) {
            xml += MethodXml(m->name, m->params, m->result, false, AutoType::Empty);
            if (m->kind == DispKind::PropertyRW)
                put += MethodXml(m->name, m->params, AutoType::Empty, true, m->result);
        }
        xml += QStringLiteral("  </interface>\n");
        put += QStringLiteral("  </interface>\n");
        const QString dispatch = QStringLiteral("  <interface name=\"%1\">\n"
                                                "    <method name=\"GetIDsOfNames\">\n"
                                                "      <arg name=\"name\" type=\"s\" direction=\"in\"/>\n"
                                                "      <arg name=\"dispid\" type=\"i\" direction=\"out\"/>\n"
                                                "    </method>\n"
                                                "    <method name=\"Invoke\">\n"
                                                "      <arg name=\"dispid\" type=\"i\" direction=\"in\"/>\n"
                                                "      <arg name=\"flags\" type=\"i\" direction=\"in\"/>\n"
                                                "      <arg name=\"arguments\" type=\"av\" direction=\"in\"/>\n"
                                                "      <arg name=\"result\" type=\"av\" direction=\"out\"/>\n"
                                                "    </method>\n"
                                                "  </interface>\n")
                                     .arg(QLatin1String(kDispatchInterface));
        return xml + put + dispatch;
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.type() != QDBusMessage::MethodCallMessage)
            return false;
        m_server.NoteClient(message.service());
        const QDBusMessage reply = Answer(message);
        QDBusConnection(connection).send(reply);
        return true;
    }

private:
    QDBusMessage Answer(const QDBusMessage& message)
    {
        CAutoObject* object = CAutoObjectRegistry::Instance().Find(message.path().toStdString());
        if (!object)
            return ErrorReply(message, "org.freedesktop.DBus.Error.UnknownObject",
                              "No object at " + message.path().toStdString());
        const QString iface = message.interface();
        const std::string member = message.member().toStdString();
        const QList<QVariant> args = message.arguments();
        try {
            if (iface == QLatin1String(kDispatchInterface)) {
                if (member == "GetIDsOfNames" && args.size() == 1)
                    return message.createReply(
                        QVariant::fromValue(object->GetDispatchTable().GetIDOfName(args[0].toString().toStdString())));
                if (member == "Invoke" && args.size() == 3) {
                    std::vector<CAutoValue> values;
                    if (!FromBusVariantList(args[2], values))
                        return ErrorReply(message, "org.freedesktop.DBus.Error.InvalidArgs",
                                          "The arguments are not a list of variants.");
                    const CAutoValue result = object->Invoke(args[0].toInt(), args[1].toInt(), values);
                    std::vector<CAutoValue> out;
                    if (!result.IsEmpty())
                        out.push_back(result);
                    return message.createReply(ToBusVariantList(out));
                }
                return ErrorReply(message, "org.freedesktop.DBus.Error.UnknownMethod", "Unknown method " + member);
            }
            const bool put = iface == QLatin1String(kAutomationPutInterface);
            if (!put && !iface.isEmpty() && iface != QLatin1String(kAutomationInterface))
                return ErrorReply(message, "org.freedesktop.DBus.Error.UnknownInterface",
                                  "Unknown interface " + iface.toStdString());
            const int32_t dispid = object->GetDispatchTable().GetIDOfName(member);
            if (dispid == DISPID_UNKNOWN)
                return ErrorReply(message, "org.freedesktop.DBus.Error.UnknownMethod", "Unknown member " + member);
            std::vector<CAutoValue> values;
            for (const QVariant& a : args) {
                bool ok = false;
                values.push_back(FromBusValue(a, &ok));
                if (!ok)
                    ZfxThrowOleDispatchException(kAutoErrTypeMismatch, IDS_AUTO_TYPE_MISMATCH,
                                                 static_cast<int>(values.size()));
            }
            const CDispMember* m = object->GetDispatchTable().Member(dispid);
            const CAutoValue result =
                object->Invoke(dispid, put ? DISPATCH_PROPERTYPUT : DISPATCH_METHOD | DISPATCH_PROPERTYGET, values);
            if (put || m->result == AutoType::Empty)
                return message.createReply();
            return message.createReply(ToBusValue(result, m->result == AutoType::Variant));
        } catch (const CDispatchException& e) {
            return ErrorReply(message, e.BusErrorName(), e.BusErrorText());
        } catch (const COleException& e) {
            return ErrorReply(message, e.GetBusError().empty() ? "org.freedesktop.DBus.Error.Failed" : e.GetBusError(),
                              e.what());
        } catch (const std::exception& e) {
            return ErrorReply(message, "org.freedesktop.DBus.Error.Failed", e.what());
        }
    }

    CAutoServer& m_server;
};

CAutoServer::CAutoServer(const QDBusConnection& connection, QObject* parent)
    : QObject(parent), m_connection(connection), m_busObject(std::make_unique<CAutoBusObject>(*this))
{
    RegisterBusValueTypes();
    m_watcher = new QDBusServiceWatcher(this);
    m_watcher->setConnection(m_connection);
    m_watcher->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, &CAutoServer::OnClientGone);
}

CAutoServer::~CAutoServer()
{
    RevokeName();
    if (m_started)
        m_connection.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
}

bool CAutoServer::Start()
{
    if (m_started)
        return true;
    if (!m_connection.isConnected())
        return false;
    m_started = m_connection.registerVirtualObject(QStringLiteral("/"), m_busObject.get(), QDBusConnection::SubPath);
    return m_started;
}

bool CAutoServer::RegisterName(const std::string& name)
{
    if (!Start() || !m_connection.interface())
        return false;
    const auto reply = m_connection.interface()->registerService(QString::fromStdString(name),
                                                                 QDBusConnectionInterface::DontQueueService,
                                                                 QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered)
        return false;
    m_name = name;
    return true;
}

bool CAutoServer::RevokeName()
{
    if (m_name.empty())
        return true;
    const bool ok = m_connection.unregisterService(QString::fromStdString(m_name));
    m_name.clear();
    return ok;
}

bool CAutoServer::EmitSignal(const std::string& path, const QString& name, const QVariantList& arguments)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromStdString(path), QLatin1String(kAutomationInterface), name);
    signal.setArguments(arguments);
    return m_connection.isConnected() && m_connection.send(signal);
}

void CAutoServer::NoteClient(const QString& peer)
{
    if (peer.isEmpty() || peer == m_connection.baseService() || m_clients.count(peer))
        return;
    m_clients.insert(peer);
    m_watcher->addWatchedService(peer);
    // The peer may have left between its call and the watch.
    if (m_connection.interface() && !m_connection.interface()->isServiceRegistered(peer).value())
        OnClientGone(peer);
}

void CAutoServer::OnClientGone(const QString& peer)
{
    if (!m_clients.erase(peer))
        return;
    m_watcher->removeWatchedService(peer);
    if (m_clients.empty() && m_clientsGone)
        m_clientsGone();
}
