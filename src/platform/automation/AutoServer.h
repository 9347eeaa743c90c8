#pragma once
// Serves the process's exposed objects (CAutoObjectRegistry) on a bus under a well-known name.
//
// Every path answers "org.freedesktop.DBus.Introspectable" with its interfaces (members with their
// argument names and types, properties) and the nodes below it: "/" lists "Application" and, once
// objects were handed out, "Objects". Introspection does not make the caller a client.
//
// On the bus every object answers four more interfaces:
// - "org.freedesktop.DBus.Properties": the members without parameters, as properties of
//   "ORVEX.Automation" (Get, GetAll; Set for read/write ones);
// - "ORVEX.Automation": each member of its dispatch table is a method of the same name (any case);
//   property gets and methods alike take the member's parameters and return its result.
// - "ORVEX.AutomationPut": each read/write property, called with its parameters and the new value.
// - "ORVEX.Dispatch": GetIDsOfNames(s name) -> i dispid (-1 unknown) and
//   Invoke(i dispid, i flags, av arguments in call order) -> av (the result, or nothing).
// Types: short n, long i, real and date d, BOOL b, string s, object o ("/" is nothing), VARIANT v,
// array of reals ad. Errors of the object model arrive as bus errors
// "ORVEX.Automation.Error.<kind>" with the text "Error <code> (argument <n>): <description>".
//
// The server tells its clients things with signals of "ORVEX.Automation" from an object's path.
//
// Every peer that calls the server is a client until it leaves the bus; when the last one leaves,
// the clients-gone handler runs.
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtDBus/QDBusConnection>

#include <functional>
#include <memory>
#include <set>
#include <string>

class QDBusServiceWatcher;
class CAutoBusObject;

inline constexpr const char* kAutomationInterface = "ORVEX.Automation";
inline constexpr const char* kAutomationPutInterface = "ORVEX.AutomationPut";
inline constexpr const char* kDispatchInterface = "ORVEX.Dispatch";
inline constexpr const char* kApplicationPath = "/Application";

class CAutoServer : public QObject
{
    Q_OBJECT
public:
    explicit CAutoServer(const QDBusConnection& connection = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~CAutoServer() override;

    // Serves the objects at "/" and below on the connection; false when the bus refused.
    bool Start();
    // Takes the well-known name. False, quietly, when another process holds it (that one stays the
    // one found by name) or the bus cannot be reached.
    bool RegisterName(const std::string& name);
    // Gives the name back; true when there was none or it was released.
    bool RevokeName();
    const std::string& GetName() const { return m_name; }
    QDBusConnection& Connection() { return m_connection; }

    int GetClientCount() const { return static_cast<int>(m_clients.size()); }
    void SetClientsGoneHandler(std::function<void()> handler) { m_clientsGone = std::move(handler); }

    // Sends a signal of "ORVEX.Automation" from path; false when the bus did not take it.
    bool EmitSignal(const std::string& path, const QString& name, const QVariantList& arguments);

    // Called for every incoming call (the server's own bus object).
    void NoteClient(const QString& peer);

private:
    void OnClientGone(const QString& peer);

    QDBusConnection m_connection;
    std::unique_ptr<CAutoBusObject> m_busObject;
    QDBusServiceWatcher* m_watcher = nullptr;
    std::set<QString> m_clients;
    std::function<void()> m_clientsGone;
    std::string m_name;
    bool m_started = false;
};
