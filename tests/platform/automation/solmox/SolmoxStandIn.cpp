// A stand-in for the modelling application SOLMOX, for the tests: it holds "SOLMOX.Application" on
// the bus that started it (or the session bus) and hands models over as files. A project file is
// text, one entry per line, tab-separated, paths relative to the project file:
//   ASEA <name> <vehicle model file>   (its companion ".dat" lies beside it)
//   HSEA <name> <model data text file>
//   EXP  <name> <data set file>
//   TYPE <model file type>             (default: 1 for an ".xml" model, else 0)
//   HISTORY <version> <model name>
// "ExportData" copies an entry's file(s) to the path given: an analytical model writes the
// companion data to the path and the model file beside it, with the extension of its type.
#include "platform/automation/AutoObjectRegistry.h"
#include "platform/automation/AutoServer.h"
#include "platform/automation/DispatchException.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDBus/QDBusConnection>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
struct Entry
{
    std::string kind;
    std::string name;
    QString path;
};

struct Project
{
    QString file;
    std::vector<Entry> entries;
    int type = 0;
    std::string version;
    std::string modelName;
};

CAutoValue Text(const std::string& s)
{
    return CAutoValue::String(s);
}

class CItem : public CAutoObject
{
public:
    explicit CItem(std::string name) : CAutoObject(this), m_name(std::move(name)) {}
    const CDispatchTable& GetDispatchTable() const override
    {
        static const CDispatchTable table(
            nullptr, {{"Name", DispKind::Property, AutoType::String, {}, [](CAutoObject& o, const CDispArgs&) {
                           return Text(static_cast<CItem&>(o).m_name);
                       }}});
        return table;
    }

private:
    std::string m_name;
};

class CCollection : public CAutoObject
{
public:
    explicit CCollection(std::vector<std::string> items) : CAutoObject(this), m_items(std::move(items)) {}
    const CDispatchTable& GetDispatchTable() const override
    {
        static const CDispatchTable table(
            nullptr,
            {
                {"Count",
                 DispKind::Property,
                 AutoType::Long,
                 {},
                 [](CAutoObject& o, const CDispArgs&) {
                     return CAutoValue::Long(static_cast<int32_t>(static_cast<CCollection&>(o).m_items.size()));
                 }},
                {"Item",
                 DispKind::Property,
                 AutoType::Object,
                 {AutoType::Long},
                 [](CAutoObject& o, const CDispArgs& a) {
                     const auto& items = static_cast<CCollection&>(o).m_items;
                     const int32_t i = a.Long(0);
                     if (i < 0 || i >= static_cast<int32_t>(items.size()))
                         throw CDispatchException(kAutoErrIndexOutOfRange, "No such item.", 1);
                     return CAutoValue::Object(items[static_cast<size_t>(i)]);
                 }},
            });
        return table;
    }

private:
    std::vector<std::string> m_items;
};

class CHistory : public CAutoObject
{
public:
    explicit CHistory(const Project& p) : CAutoObject(this), m_p(p) {}
    const CDispatchTable& GetDispatchTable() const override
    {
        auto self = [](CAutoObject& o) -> const Project& { return static_cast<CHistory&>(o).m_p; };
        static const CDispatchTable table(
            nullptr, {
                         {"ID",
                          DispKind::Property,
                          AutoType::Long,
                          {},
                          [](CAutoObject&, const CDispArgs&) { return CAutoValue::Long(3); }},
                         {"AppName",
                          DispKind::Property,
                          AutoType::String,
                          {},
                          [](CAutoObject&, const CDispArgs&) { return Text("SOLMOX"); }},
                         {"AppVersion",
                          DispKind::Property,
                          AutoType::String,
                          {},
                          [self](CAutoObject& o, const CDispArgs&) { return Text(self(o).version); }},
                         {"PathName",
                          DispKind::Property,
                          AutoType::String,
                          {},
                          [self](CAutoObject& o, const CDispArgs&) { return Text(self(o).file.toStdString()); }},
                         {"MOXModelName",
                          DispKind::Property,
                          AutoType::String,
                          {},
                          [self](CAutoObject& o, const CDispArgs&) { return Text(self(o).modelName); }},
                         {"ChildCount",
                          DispKind::Property,
                          AutoType::Long,
                          {},
                          [](CAutoObject&, const CDispArgs&) { return CAutoValue::Long(0); }},
                     });
        return table;
    }

private:
    const Project& m_p;
};

bool CopyOver(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

class CModelProject : public CAutoObject
{
public:
    CModelProject(const Project& p, std::vector<std::string> itemPaths)
        : CAutoObject(this), m_p(p), m_itemPaths(std::move(itemPaths))
    {}
    const CDispatchTable& GetDispatchTable() const override
    {
        auto self = [](CAutoObject& o) -> CModelProject& { return static_cast<CModelProject&>(o); };
        auto object = [self](const char* suffix) {
            return [self, suffix](CAutoObject& o, const CDispArgs&) {
                return CAutoValue::Object(self(o).GetPath() + suffix);
            };
        };
        static const CDispatchTable table(
            nullptr,
            {
                {"ProjectHistory", DispKind::Property, AutoType::Object, {}, object("/History")},
                {"HSEAModelData", DispKind::Property, AutoType::Object, {}, object("/HSEA")},
                {"ASEAModelData", DispKind::Property, AutoType::Object, {}, object("/ASEA")},
                {"ExpSEAData", DispKind::Property, AutoType::Object, {}, object("/EXP")},
                {"ModelFileType",
                 DispKind::Property,
                 AutoType::Long,
                 {},
                 [self](CAutoObject& o, const CDispArgs&) { return CAutoValue::Long(self(o).m_p.type); }},
                {"ExportData",
                 DispKind::Method,
                 AutoType::Bool,
                 {AutoType::String, AutoType::Object, AutoType::Long},
                 [self](CAutoObject& o, const CDispArgs& a) {
                     return CAutoValue::Bool(self(o).Export(QString::fromStdString(a.String(0)), a.Value(1).RawText()));
                 }},
            });
        return table;
    }

private:
    bool Export(const QString& to, const std::string& item) const
    {
        for (size_t i = 0; i < m_itemPaths.size(); ++i) {
            if (m_itemPaths[i] != item)
                continue;
            const Entry& e = m_p.entries[i];
            if (e.kind != "ASEA")
                return CopyOver(e.path, to);
            const QFileInfo model(e.path);
            const QString companion =
                model.path() + QLatin1Char('/') + model.completeBaseName() + QStringLiteral(".dat");
            const QFileInfo target(to);
            const QString modelTo = target.path() + QLatin1Char('/') + target.completeBaseName() +
                                    (m_p.type == 1 ? QStringLiteral(".xml") : QStringLiteral(".ntf"));
            return CopyOver(companion, to) && CopyOver(e.path, modelTo);
        }
        return false;
    }

    const Project& m_p;
    std::vector<std::string> m_itemPaths;
};

class COpenedFile : public CAutoObject
{
public:
    COpenedFile() : CAutoObject(this) {}
    const CDispatchTable& GetDispatchTable() const override
    {
        static const CDispatchTable table(nullptr, {
                                                       {"Project",
                                                        DispKind::Property,
                                                        AutoType::Object,
                                                        {},
                                                        [](CAutoObject& o, const CDispArgs&) {
                                                            return CAutoValue::Object(o.GetPath() + "/Project");
                                                        }},
                                                       {"Close",
                                                        DispKind::Method,
                                                        AutoType::Empty,
                                                        {},
                                                        [](CAutoObject&, const CDispArgs&) { return CAutoValue(); }},
                                                   });
        return table;
    }
};

class CStandInApp : public CAutoObject
{
public:
    CStandInApp() : CAutoObject(this) {}
    const CDispatchTable& GetDispatchTable() const override
    {
        static const CDispatchTable table(
            nullptr,
            {
                {"OpenProjectFile",
                 DispKind::Method,
                 AutoType::Object,
                 {AutoType::String},
                 [](CAutoObject& o, const CDispArgs& a) { return static_cast<CStandInApp&>(o).Open(a.String(0)); }},
                {"Hwnd",
                 DispKind::Property,
                 AutoType::Long,
                 {},
                 [](CAutoObject&, const CDispArgs&) { return CAutoValue::Long(0); }},
            });
        return table;
    }

private:
    CAutoValue Open(const std::string& path)
    {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return CAutoValue::Object({});
        auto project = std::make_unique<Project>();
        project->file = QString::fromStdString(path);
        const QDir dir = QFileInfo(file).absoluteDir();
        bool typeGiven = false;
        while (!file.atEnd()) {
            const QStringList f = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
            if (f.size() >= 2 && f[0] == QLatin1String("TYPE")) {
                project->type = f[1].toInt();
                typeGiven = true;
            } else if (f.size() >= 3 && f[0] == QLatin1String("HISTORY")) {
                project->version = f[1].toStdString();
                project->modelName = f[2].toStdString();
            } else if (f.size() >= 3) {
                project->entries.push_back({f[0].toStdString(), f[1].toStdString(), dir.absoluteFilePath(f[2])});
            }
        }
        if (!typeGiven)
            for (const Entry& e : project->entries)
                if (e.kind == "ASEA")
                    project->type = e.path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive) ? 1 : 0;

        const std::string base = "/File" + std::to_string(++m_count);
        auto& registry = CAutoObjectRegistry::Instance();
        std::vector<std::string> itemPaths;
        std::vector<std::string> byKind[3];
        const char* kinds[3] = {"HSEA", "ASEA", "EXP"};
        for (size_t i = 0; i < project->entries.size(); ++i) {
            const std::string itemPath = base + "/Item" + std::to_string(i);
            registry.Add(itemPath, std::make_unique<CItem>(project->entries[i].name));
            itemPaths.push_back(itemPath);
            for (int k = 0; k < 3; ++k)
                if (project->entries[i].kind == kinds[k])
                    byKind[k].push_back(itemPath);
        }
        for (int k = 0; k < 3; ++k)
            registry.Add(base + "/Project/" + kinds[k], std::make_unique<CCollection>(byKind[k]));
        registry.Add(base + "/Project/History", std::make_unique<CHistory>(*project));
        registry.Add(base + "/Project", std::make_unique<CModelProject>(*project, itemPaths));
        registry.Add(base, std::make_unique<COpenedFile>());
        m_projects.push_back(std::move(project));
        return CAutoValue::Object(base);
    }

    int m_count = 0;
    std::vector<std::unique_ptr<Project>> m_projects;
};
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray starter = qgetenv("DBUS_STARTER_ADDRESS");
    QDBusConnection bus = starter.isEmpty()
                              ? QDBusConnection::sessionBus()
                              : QDBusConnection::connectToBus(QString::fromUtf8(starter), QStringLiteral("starter"));
    bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"), QStringLiteral("org.freedesktop.DBus.Local"),
                QStringLiteral("Disconnected"), &app, SLOT(quit()));
    CAutoObjectRegistry::Instance().Add(kApplicationPath, std::make_unique<CStandInApp>());
    CAutoServer server(bus);
    if (!server.RegisterName("SOLMOX.Application")) {
        std::fprintf(stderr, "SOLMOX stand-in: the name is taken or the bus is unreachable\n");
        return 1;
    }
    const int code = app.exec();
    CAutoObjectRegistry::Instance().Clear();
    return code;
}
