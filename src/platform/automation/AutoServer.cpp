#include "platform/automation/AutoServer.h"

#include "platform/automation/AutoObjectRegistry.h"
#include "platform/automation/BusValue.h"
#include "platform/automation/DispatchException.h"
#include "platform/win/StringIds.h"

#include <QtDBus/QDBusConnectionInterface>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusServiceWatcher>
#include <QtDBus/QDBusVariant>
#include <QtDBus/QDBusVirtualObject>

namespace {
constexpr const char* kIntrospectableInterface = "org.freedesktop.DBus.Introspectable";
constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";

QString Arg(const std::string& name, const std::string& type, const char* direction)
{
    return QStringLiteral("      <arg name=\"%1\" type=\"%2\" direction=\"%3\"/>\n")
        .arg(QString::fromStdString(name), QString::fromStdString(type), QLatin1String(direction));
}

// A member as a method: its parameters by name, then its result ("result") or, for a put, the new
// value ("value").
QString MethodXml(const CDispMember& m, bool put)
{
    QString xml = QStringLiteral("    <method name=\"%1\">\n").arg(QString::fromStdString(m.name));
    for (size_t i = 0; i < m.params.size(); ++i)
        xml += Arg(m.ParamName(i), AutoTypeSignature(m.params[i].type), "in");
    if (put)
        xml += Arg("value", AutoTypeSignature(m.result), "in");
    else if (m.result != AutoType::Empty)
        xml += Arg("result", AutoTypeSignature(m.result), "out");
    xml += QStringLiteral("    </method>\n");
    return xml;
}

QString InterfaceXml(const char* name, const QString& body)
{
    return QStringLiteral("  <interface name=\"%1\">\n").arg(QLatin1String(name)) + body +
           QStringLiteral("  </interface>\n");
}

// The interfaces of an object: the standard ones, its members (methods, and the members without
// parameters as properties too), its settable members and the dispatch interface.
QString ObjectInterfacesXml(const CAutoObject& object)
{
    QString members, puts, properties;
    for (const CDispMember* m : object.GetDispatchTable().AllMembers()) {
        members += MethodXml(*m, false);
        if (m->kind == DispKind::PropertyRW)
            puts += MethodXml(*m, true);
        if (m->IsPlainProperty())
            properties +=
                QStringLiteral("    <property name=\"%1\" type=\"%2\" access=\"%3\"/>\n")
                    .arg(QString::fromStdString(m->name), QString::fromStdString(AutoTypeSignature(m->result)),
                         m->kind == DispKind::PropertyRW ? QStringLiteral("readwrite") : QStringLiteral("read"));
    }
    const QString standardProperties =
        QStringLiteral("    <method name=\"Get\">\n") + Arg("interface_name", "s", "in") +
        Arg("property_name", "s", "in") + Arg("value", "v", "out") + QStringLiteral("    </method>\n") +
        QStringLiteral("    <method name=\"GetAll\">\n") + Arg("interface_name", "s", "in") +
        Arg("properties", "a{sv}", "out") + QStringLiteral("    </method>\n") +
        QStringLiteral("    <method name=\"Set\">\n") + Arg("interface_name", "s", "in") +
        Arg("property_name", "s", "in") + Arg("value", "v", "in") + QStringLiteral("    </method>\n");
    const QString dispatch = QStringLiteral("    <method name=\"GetIDsOfNames\">\n") + Arg("name", "s", "in") +
                             Arg("dispid", "i", "out") + QStringLiteral("    </method>\n") +
                             QStringLiteral("    <method name=\"Invoke\">\n") + Arg("dispid", "i", "in") +
                             Arg("flags", "i", "in") + Arg("arguments", "av", "in") + Arg("result", "av", "out") +
                             QStringLiteral("    </method>\n");
    QString signalXml;
    for (const CAutoObject::Signal& signal : object.GetSignals()) {
        signalXml += QStringLiteral("    <signal name=\"%1\">\n").arg(QString::fromStdString(signal.name));
        for (const auto& [name, type] : signal.args)
            signalXml += QStringLiteral("      <arg name=\"%1\" type=\"%2\"/>\n")
                             .arg(QString::fromStdString(name), QString::fromStdString(type));
        signalXml += QStringLiteral("    </signal>\n");
    }
    return InterfaceXml(kPropertiesInterface, standardProperties) +
           InterfaceXml(kAutomationInterface, members + properties + signalXml) +
           InterfaceXml(kAutomationPutInterface, puts) + InterfaceXml(kDispatchInterface, dispatch);
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

    // The whole introspection document of a path; empty when nothing is there.
    QString introspect(const QString& path) const override
    {
        const std::string p = path.toStdString();
        const CAutoObject* object = CAutoObjectRegistry::Instance().Find(p);
        const std::vector<std::string> children = CAutoObjectRegistry::Instance().ChildNodes(p);
        if (!object && children.empty() && p != "/")
            return {};
        QString xml =
            QStringLiteral("<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
                           " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n");
        xml +=
            InterfaceXml(kIntrospectableInterface, QStringLiteral("    <method name=\"Introspect\">\n") +
                                                       Arg("xml_data", "s", "out") + QStringLiteral("    </method>\n"));
        if (object)
            xml += ObjectInterfacesXml(*object);
        for (const std::string& child : children)
            xml += QStringLiteral("  <node name=\"%1\"/>\n").arg(QString::fromStdString(child));
        return xml + QStringLiteral("</node>\n");
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.type() != QDBusMessage::MethodCallMessage)
            return false;
        QDBusMessage reply;
        if (IsIntrospection(message)) {
            // Looking at the objects does not make a client.
            const QString xml = introspect(message.path());
            reply = xml.isEmpty() ? ErrorReply(message, "org.freedesktop.DBus.Error.UnknownObject",
                                               "No object at " + message.path().toStdString())
                                  : message.createReply(xml);
        } else {
            m_server.NoteClient(message.service());
            reply = Answer(message);
        }
        QDBusConnection(connection).send(reply);
        return true;
    }

private:
    static bool IsIntrospection(const QDBusMessage& message)
    {
        const QString iface = message.interface();
        return (iface.isEmpty() || iface == QLatin1String(kIntrospectableInterface)) &&
               message.member() == QLatin1String("Introspect") && message.arguments().isEmpty();
    }

    // A member that is also a property (no parameters) by its name; null when there is none.
    static const CDispMember* PlainProperty(const CAutoObject& object, const QString& name, int32_t& dispid)
    {
        dispid = object.GetDispatchTable().GetIDOfName(name.toStdString());
        const CDispMember* m = object.GetDispatchTable().Member(dispid);
        return m && m->IsPlainProperty() ? m : nullptr;
    }

    static QVariant PropertyValue(CAutoObject& object, int32_t dispid, const CDispMember& m)
    {
        return ToBusValue(object.Invoke(dispid, DISPATCH_PROPERTYGET, {}), m.result == AutoType::Variant);
    }

    // The standard property interface over the members without parameters of "ORVEX.Automation".
    QDBusMessage AnswerProperties(const QDBusMessage& message, CAutoObject& object)
    {
        const QString member = message.member();
        const QList<QVariant> args = message.arguments();
        const QString signature = message.signature();
        if (!args.isEmpty() && !args[0].toString().isEmpty() &&
            args[0].toString() != QLatin1String(kAutomationInterface))
            return ErrorReply(message, "org.freedesktop.DBus.Error.UnknownInterface",
                              "No properties in interface " + args[0].toString().toStdString());
        if (member == QLatin1String("GetAll") && signature == QLatin1String("s")) {
            QVariantMap all;
            for (const CDispMember* m : object.GetDispatchTable().AllMembers()) {
                if (!m->IsPlainProperty())
                    continue;
                const int32_t dispid = object.GetDispatchTable().GetIDOfName(m->name);
                all.insert(QString::fromStdString(m->name), PropertyValue(object, dispid, *m));
            }
            return message.createReply(QVariant::fromValue(all));
        }
        if ((member == QLatin1String("Get") && signature == QLatin1String("ss")) ||
            (member == QLatin1String("Set") && signature == QLatin1String("ssv"))) {
            int32_t dispid = DISPID_UNKNOWN;
            const CDispMember* m = PlainProperty(object, args[1].toString(), dispid);
            if (!m)
                return ErrorReply(message, "org.freedesktop.DBus.Error.UnknownProperty",
                                  "No property " + args[1].toString().toStdString());
            if (member == QLatin1String("Get"))
                return message.createReply(QVariant::fromValue(QDBusVariant(PropertyValue(object, dispid, *m))));
            if (m->kind != DispKind::PropertyRW)
                return ErrorReply(message, "org.freedesktop.DBus.Error.PropertyReadOnly",
                                  "The property " + m->name + " cannot be set.");
            bool ok = false;
            const CAutoValue value = FromBusValue(args[2].value<QDBusVariant>().variant(), &ok);
            if (!ok)
                return ErrorReply(message, "org.freedesktop.DBus.Error.InvalidArgs",
                                  "The value has no automation type.");
            object.Invoke(dispid, DISPATCH_PROPERTYPUT, {value});
            return message.createReply();
        }
        return ErrorReply(message, "org.freedesktop.DBus.Error.UnknownMethod",
                          "Unknown method " + member.toStdString() + " (" + signature.toStdString() + ")");
    }

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
            if (iface == QLatin1String(kPropertiesInterface))
                return AnswerProperties(message, *object);
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
