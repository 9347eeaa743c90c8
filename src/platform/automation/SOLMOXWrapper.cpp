#include "platform/automation/SOLMOXWrapper.h"

#include "platform/automation/DispatchException.h"

#include <QDir>
#include <QtDBus/QDBusConnectionInterface>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {
constexpr auto kPoliteWait = std::chrono::seconds(3);

// A process that has ended but is not yet reaped by its parent (the bus that started it) counts as
// gone: it holds nothing any more.
bool ProcessAlive(pid_t pid)
{
    if (::kill(pid, 0) != 0 && errno != EPERM)
        return false;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const size_t close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'Z';
}
} // namespace

CSOLMOXWrapper::CSOLMOXWrapper(const QDBusConnection& connection) : m_connection(connection) {}

CSOLMOXWrapper::~CSOLMOXWrapper()
{
    try {
        Quit();
    } catch (...) {
        // The process may already be gone; the files go regardless.
    }
    RemoveTemporaryFiles();
}

bool CSOLMOXWrapper::Create()
{
    if (HasApplication())
        return true;
    QDBusConnectionInterface* bus = m_connection.interface();
    const QString name = QString::fromLatin1(kSolmoxProgId);
    const bool running = bus && bus->isServiceRegistered(name).value();
    if (!m_application.CreateDispatch(kSolmoxProgId, m_connection))
        return false;
    // Only a SOLMOX that we brought up is ours to end.
    if (!running && bus) {
        const QDBusReply<uint> pid = bus->servicePid(name);
        if (pid.isValid() && pid.value() > 0)
            m_startedPid = pid.value();
    }
    return true;
}

bool CSOLMOXWrapper::OpenDatabaseFile(const std::string& path)
{
    CDispParams args(1);
    args.SetString(0, path.c_str());
    m_project = Application().InvokeDispatch("OpenProjectFile", &args);
    if (m_project.IsNull())
        return false;
    m_modelProject = m_project.GetPropertyDispatch("Project");
    return !m_modelProject.IsNull();
}

bool CSOLMOXWrapper::Connect(const std::string& projectFile)
{
    if (projectFile.empty())
        return false;
    try {
        if (!Create() || !OpenDatabaseFile(projectFile))
            return false;
        m_history = m_modelProject.GetPropertyDispatch("ProjectHistory");
        if (m_history.IsNull()) {
            m_modelProject.ReleaseDispatch();
            return false;
        }
        return true;
    } catch (const std::exception&) {
        m_modelProject.ReleaseDispatch();
        m_history.ReleaseDispatch();
        return false;
    }
}

std::vector<std::string> CSOLMOXWrapper::GetHSEAModelNames()
{
    std::vector<std::string> names;
    if (!IsConnected())
        return names;
    try {
        const CDispatch models = m_modelProject.GetPropertyDispatch("HSEAModelData");
        const int32_t count = models.IsNull() ? 0 : models.GetPropertyLong("Count");
        for (int32_t i = 0; i < count; ++i) {
            CDispParams index(1);
            index.SetLong(0, i);
            const CDispatch item = models.GetPropertyDispatch("Item", &index);
            names.push_back(item.IsNull() ? std::string() : item.GetPropertyString("Name"));
        }
    } catch (const std::exception&) {
        names.clear();
    }
    return names;
}

std::string CSOLMOXWrapper::NewTemporaryStem()
{
    std::string pattern = QDir::toNativeSeparators(QDir::tempPath()).toStdString() + "/orvex-solmox-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return {};
    ::close(fd);
    m_temporaryFiles.push_back(pattern);
    return pattern;
}

CDispatch CSOLMOXWrapper::FirstItem(const char* collection)
{
    const CDispatch items = m_modelProject.GetPropertyDispatch(collection);
    if (items.IsNull() || items.GetPropertyLong("Count") <= 0)
        return {};
    CDispParams index(1);
    index.SetLong(0, 0);
    return items.GetPropertyDispatch("Item", &index);
}

bool CSOLMOXWrapper::Export(const std::string& path, const CDispatch& item)
{
    CDispParams args(3);
    args.SetString(0, path.c_str());
    args.SetDispatch(1, item.GetPath());
    args.SetLong(2, 0);
    bool written = false;
    return m_modelProject.InvokeVariant("ExportData", &args).ToBool(written) && written;
}

bool CSOLMOXWrapper::ExportToText(const CDispatch& item, std::string& file)
{
    const std::string stem = item.IsNull() ? std::string() : NewTemporaryStem();
    if (stem.empty())
        return false;
    const std::string path = stem + ".txt";
    m_temporaryFiles.push_back(path);
    if (!Export(path, item))
        return false;
    file = path;
    return true;
}

bool CSOLMOXWrapper::ExportAnalyticalModel()
{
    m_analyticalFile.clear();
    if (!IsConnected())
        return false;
    try {
        const CDispatch item = FirstItem("ASEAModelData");
        if (item.IsNull())
            return false;
        const int32_t type = m_modelProject.GetPropertyLong("ModelFileType");
        if (type < 0)
            return false;
        const std::string stem = NewTemporaryStem();
        if (stem.empty())
            return false;
        const std::string model = stem + (type == 1 ? ".xml" : ".ntf");
        const std::string data = stem + ".dat";
        m_temporaryFiles.push_back(model);
        m_temporaryFiles.push_back(data);
        if (!Export(data, item))
            return false;
        m_analyticalFile = model;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool CSOLMOXWrapper::ExportHSEAModel(int index)
{
    m_hseaFile.clear();
    if (!IsConnected() || index < 0)
        return false;
    try {
        const CDispatch models = m_modelProject.GetPropertyDispatch("HSEAModelData");
        if (models.IsNull() || index >= models.GetPropertyLong("Count"))
            return false;
        CDispParams at(1);
        at.SetLong(0, index);
        return ExportToText(models.GetPropertyDispatch("Item", &at), m_hseaFile);
    } catch (const std::exception&) {
        return false;
    }
}

bool CSOLMOXWrapper::ExportDataSet()
{
    m_dataSetFile.clear();
    if (!IsConnected())
        return false;
    try {
        return ExportToText(FirstItem("ExpSEAData"), m_dataSetFile);
    } catch (const std::exception&) {
        return false;
    }
}

void CSOLMOXWrapper::RemoveTemporaryFiles()
{
    for (const std::string& path : m_temporaryFiles)
        std::remove(path.c_str());
    m_temporaryFiles.clear();
    m_analyticalFile.clear();
    m_hseaFile.clear();
    m_dataSetFile.clear();
}

void CSOLMOXWrapper::Quit()
{
    if (!HasApplication())
        return;
    const pid_t pid = static_cast<pid_t>(m_startedPid);
    m_startedPid = 0;
    m_history.ReleaseDispatch();
    m_modelProject.ReleaseDispatch();
    if (!m_project.IsNull()) {
        try {
            m_project.Call("Close");
        } catch (const std::exception&) {
            // Ending the process below closes it as well.
        }
    }
    if (pid > 0) {
        // Still the process that holds the name we started? Never signal a stranger that took its id.
        QDBusConnectionInterface* bus = m_connection.interface();
        const QDBusReply<uint> owner = bus ? bus->servicePid(QString::fromLatin1(kSolmoxProgId)) : QDBusReply<uint>();
        if (owner.isValid() && static_cast<pid_t>(owner.value()) == pid && ::kill(pid, SIGTERM) == 0) {
            const auto until = std::chrono::steady_clock::now() + kPoliteWait;
            while (ProcessAlive(pid) && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (ProcessAlive(pid))
                ::kill(pid, SIGKILL);
        }
    }
    ReleaseAll();
}
