#include "platform/automation/PLOVAWrapper.h"

#include <QtDBus/QDBusConnectionInterface>

#include <csignal>
#include <sys/types.h>

CPLOVAWrapper::CPLOVAWrapper(const QDBusConnection& connection) : m_connection(connection) {}

bool CPLOVAWrapper::Create()
{
    if (HasApplication())
        return true;
    return m_application.CreateDispatch(kPlovaProgId, m_connection);
}

void CPLOVAWrapper::SetVisible(bool show)
{
    CDispParams args(1);
    args.SetBool(0, show);
    Application().Call("SetVisible", &args);
}

bool CPLOVAWrapper::IsVisible()
{
    return Application().GetBool("IsVisisble");
}

bool CPLOVAWrapper::OpenDatabaseFile(const std::string& path)
{
    CDispParams args(1);
    args.SetString(0, path.c_str());
    m_project = Application().InvokeDispatch("OpenDatabaseFile", &args);
    return HasProject();
}

std::string CPLOVAWrapper::Version()
{
    return Application().GetPropertyString("Version");
}

int32_t CPLOVAWrapper::GetProcessID()
{
    return Application().CallLong("GetProcessID");
}

void CPLOVAWrapper::Quit()
{
    if (!HasApplication())
        return;
    const pid_t pid = static_cast<pid_t>(GetProcessID());
    // Only the process that really holds PLOVA's name is ever signalled, whatever id it reports.
    const auto owner = m_connection.interface()
                           ? m_connection.interface()->servicePid(QString::fromStdString(m_application.GetService()))
                           : QDBusReply<uint>();
    if (pid > 0 && owner.isValid() && static_cast<pid_t>(owner.value()) == pid && ::kill(pid, 0) == 0) {
        m_application.Call("CloseAllDatabaseFiles");
        m_application.Call("QuitApplication");
        // A process that did not go after being asked to is ended.
        if (::kill(pid, 0) == 0)
            ::kill(pid, SIGTERM);
    }
    ReleaseAll();
}

int32_t CPLOVAWrapper::CommonNameCount()
{
    return Project().GetPropertyLong("CommonNameCount");
}

std::string CPLOVAWrapper::CommonName(int32_t index)
{
    CDispParams args(1);
    args.SetLong(0, index);
    return Project().GetPropertyString("CommonName", &args);
}

int32_t CPLOVAWrapper::SearchCommonNameIndex(const std::string& name)
{
    CDispParams args(1);
    args.SetString(0, name.c_str());
    return Project().CallLong("SearchCommonNameIndex", &args);
}

double CPLOVAWrapper::GetMaxPvValue(int32_t entry, double axisValue, bool flag)
{
    CDispParams args(3);
    args.SetLong(0, entry);
    args.SetDouble(1, axisValue);
    args.SetBool(2, flag);
    return Project().CallDouble("GetMaxPvValue", &args);
}

double CPLOVAWrapper::GetMinPvValue(int32_t entry, double axisValue, bool flag)
{
    CDispParams args(3);
    args.SetLong(0, entry);
    args.SetDouble(1, axisValue);
    args.SetBool(2, flag);
    return Project().CallDouble("GetMinPvValue", &args);
}
