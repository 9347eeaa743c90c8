// A stand-in for the experimental-database application PLOVA, for the tests: it holds the name
// "PLOVA.Application" on the session bus (or the bus that started it) and answers the members the
// program calls. A database file is text, one common name per line:
//   <common name> TAB <min> TAB <max> [TAB <slope>]
// and the limits of an entry at an axis value x are min + slope * x and max + slope * x.
// Arguments: --version <text> (default "1.1.1 build(0040)").
// AnswerNoSearches(true) makes it a PLOVA that stalls on every search for a common name.
#include "platform/automation/AutoObjectRegistry.h"
#include "platform/automation/AutoServer.h"
#include "platform/automation/DispatchException.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QtDBus/QDBusConnection>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
// While set, a search for a common name gets no answer: the stand-in sits in its event loop as a
// stalled PLOVA does, answering everything else, until the searches are switched back on.
bool g_searchesUnanswered = false;
QEventLoop* g_stalledSearch = nullptr;

struct Entry
{
    std::string name;
    double min = 0.0;
    double max = 0.0;
    double slope = 0.0;
};

class CStandInDatabase : public CAutoObject
{
public:
    explicit CStandInDatabase(std::vector<Entry> entries) : CAutoObject(this), m_entries(std::move(entries)) {}

    const CDispatchTable& GetDispatchTable() const override
    {
        static const CDispatchTable table(
            nullptr,
            {
                {"CommonNameCount",
                 DispKind::Property,
                 AutoType::Long,
                 {},
                 [](CAutoObject& o, const CDispArgs&) {
                     return CAutoValue::Long(static_cast<int32_t>(Self(o).m_entries.size()));
                 },
                 {}},
                {"CommonName",
                 DispKind::Property,
                 AutoType::String,
                 {AutoType::Long},
                 [](CAutoObject& o, const CDispArgs& a) { return CAutoValue::String(Self(o).At(a.Long(0)).name); },
                 {}},
                {"SearchCommonNameIndex",
                 DispKind::Method,
                 AutoType::Long,
                 {AutoType::String},
                 [](CAutoObject& o, const CDispArgs& a) {
                     if (g_searchesUnanswered && !g_stalledSearch) {
                         QEventLoop stalled;
                         g_stalledSearch = &stalled;
                         stalled.exec();
                         g_stalledSearch = nullptr;
                     }
                     const auto& e = Self(o).m_entries;
                     for (size_t i = 0; i < e.size(); ++i)
                         if (e[i].name == a.String(0))
                             return CAutoValue::Long(static_cast<int32_t>(i));
                     return CAutoValue::Long(-1);
                 },
                 {}},
                {"GetMaxPvValue",
                 DispKind::Method,
                 AutoType::Real,
                 {AutoType::Long, AutoType::Real, AutoType::Bool},
                 [](CAutoObject& o, const CDispArgs& a) {
                     const Entry& e = Self(o).At(a.Long(0));
                     return CAutoValue::Real(e.max + e.slope * a.Real(1));
                 },
                 {}},
                {"GetMinPvValue",
                 DispKind::Method,
                 AutoType::Real,
                 {AutoType::Long, AutoType::Real, AutoType::Bool},
                 [](CAutoObject& o, const CDispArgs& a) {
                     const Entry& e = Self(o).At(a.Long(0));
                     return CAutoValue::Real(e.min + e.slope * a.Real(1));
                 },
                 {}},
            });
        return table;
    }

private:
    static CStandInDatabase& Self(CAutoObject& o) { return static_cast<CStandInDatabase&>(o); }
    const Entry& At(int32_t i) const
    {
        if (i < 0 || i >= static_cast<int32_t>(m_entries.size()))
            throw CDispatchException(kAutoErrIndexOutOfRange, "No such common name.", 1);
        return m_entries[static_cast<size_t>(i)];
    }
    std::vector<Entry> m_entries;
};

class CStandInApp : public CAutoObject
{
public:
    explicit CStandInApp(std::string version) : CAutoObject(this), m_version(std::move(version)) {}

    const CDispatchTable& GetDispatchTable() const override
    {
        static const CDispatchTable table(
            nullptr,
            {
                {"SetVisible",
                 DispKind::Method,
                 AutoType::Empty,
                 {AutoType::Bool},
                 [](CAutoObject& o, const CDispArgs& a) {
                     Self(o).m_visible = a.Bool(0);
                     return CAutoValue();
                 },
                 {}},
                // The name as the real application spells it.
                {"IsVisisble",
                 DispKind::Property,
                 AutoType::Bool,
                 {},
                 [](CAutoObject& o, const CDispArgs&) { return CAutoValue::Bool(Self(o).m_visible); },
                 {}},
                {"OpenDatabaseFile",
                 DispKind::Method,
                 AutoType::Object,
                 {AutoType::String},
                 [](CAutoObject& o, const CDispArgs& a) { return Self(o).Open(a.String(0)); },
                 {}},
                {"Version",
                 DispKind::Property,
                 AutoType::String,
                 {},
                 [](CAutoObject& o, const CDispArgs&) { return CAutoValue::String(Self(o).m_version); },
                 {}},
                {"GetProcessID",
                 DispKind::Method,
                 AutoType::Long,
                 {},
                 [](CAutoObject&, const CDispArgs&) { return CAutoValue::Long(static_cast<int32_t>(::getpid())); },
                 {}},
                {"CloseAllDatabaseFiles",
                 DispKind::Method,
                 AutoType::Empty,
                 {},
                 [](CAutoObject& o, const CDispArgs&) {
                     for (const std::string& path : Self(o).m_open)
                         CAutoObjectRegistry::Instance().Remove(path);
                     Self(o).m_open.clear();
                     return CAutoValue();
                 },
                 {}},
                // For the tests: searches for common names go unanswered (true) or are answered
                // again (false), the one left waiting with them.
                {"AnswerNoSearches",
                 DispKind::Method,
                 AutoType::Empty,
                 {AutoType::Bool},
                 [](CAutoObject&, const CDispArgs& a) {
                     g_searchesUnanswered = a.Bool(0);
                     if (!g_searchesUnanswered && g_stalledSearch)
                         g_stalledSearch->quit();
                     return CAutoValue();
                 },
                 {}},
                {"QuitApplication",
                 DispKind::Method,
                 AutoType::Empty,
                 {},
                 [](CAutoObject&, const CDispArgs&) {
                     // After the answer has gone out.
                     QTimer::singleShot(0, qApp, &QCoreApplication::quit);
                     return CAutoValue();
                 },
                 {}},
            });
        return table;
    }

private:
    static CStandInApp& Self(CAutoObject& o) { return static_cast<CStandInApp&>(o); }

    CAutoValue Open(const std::string& path)
    {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return CAutoValue::Object({});
        std::vector<Entry> entries;
        while (!file.atEnd()) {
            const QStringList f = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
            if (f.size() < 3)
                continue;
            Entry e;
            e.name = f[0].toStdString();
            e.min = f[1].toDouble();
            e.max = f[2].toDouble();
            e.slope = f.size() > 3 ? f[3].toDouble() : 0.0;
            entries.push_back(e);
        }
        auto db = std::make_unique<CStandInDatabase>(std::move(entries));
        const std::string objectPath = "/Database" + std::to_string(++m_count);
        CAutoObjectRegistry::Instance().Add(objectPath, std::move(db));
        m_open.push_back(objectPath);
        return CAutoValue::Object(objectPath);
    }

    std::string m_version;
    bool m_visible = false;
    int m_count = 0;
    std::vector<std::string> m_open;
};
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::string version = "1.1.1 build(0040)";
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--version"))
            version = args[i + 1].toStdString();

    // A bus that started us names itself; otherwise the session bus.
    const QByteArray starter = qgetenv("DBUS_STARTER_ADDRESS");
    QDBusConnection bus = starter.isEmpty()
                              ? QDBusConnection::sessionBus()
                              : QDBusConnection::connectToBus(QString::fromUtf8(starter), QStringLiteral("starter"));
    // The stand-in ends with its bus (the test bus goes at the end of every test program).
    bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"), QStringLiteral("org.freedesktop.DBus.Local"),
                QStringLiteral("Disconnected"), &app, SLOT(quit()));
    CAutoObjectRegistry::Instance().Add(kApplicationPath, std::make_unique<CStandInApp>(version));
    CAutoServer server(bus);
    if (!server.RegisterName("PLOVA.Application")) {
        std::fprintf(stderr, "PLOVA stand-in: the name is taken or the bus is unreachable\n");
        return 1;
    }
    const int code = app.exec();
    CAutoObjectRegistry::Instance().Clear();
    return code;
}
