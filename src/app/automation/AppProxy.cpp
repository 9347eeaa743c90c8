#include "app/automation/AppProxy.h"

#include "app/TALVODoc.h"
#include "app/VerRes.h"
#include "app/automation/AutomationHost.h"
#include "app/automation/AutomationService.h"
#include "app/automation/ObjectModel.h"
#include "platform/automation/DispatchException.h"
#include "platform/base/Format.h"
#include "platform/base/RegularFile.h"

#include <filesystem>

std::string AutomationVersionText()
{
    CVerRes version;
    return version.Read() ? version.GetVersionText() : std::string();
}

AppProxy::AppProxy(IAutomationHost& host) : CAutoObject(&host), m_host(host) {}

CAutoValue AppProxy::SetVisible(bool show)
{
    if (!m_host.HasMainWindow() || m_host.IsMainWindowVisible() == show)
        return {};
    if (!show) {
        m_host.HideApplication();
        return {};
    }
    m_host.ShowMainWindow(m_firstShow ? 5 : 9);
    m_firstShow = false;
    return {};
}

std::vector<CAutoObject::Signal> AppProxy::GetSignals() const
{
    // Sent while a client window is set and the user closes the main window (see ClientHWnd).
    return {{kClientMessageSignal, {{"window", "x"}, {"message", "u"}, {"wParam", "x"}, {"lParam", "x"}}}};
}

const CDispatchTable& AppProxy::GetDispatchTable() const
{
    static const CDispatchTable table(
        nullptr,
        {
            {"ProjectFile",
             DispKind::Property,
             AutoType::Object,
             {},
             AUTO_MEMBER(AppProxy, return CAutoValue::Object(ExposeDocument(self.m_host.GetDocument()));)},
            {"IsVisible",
             DispKind::Property,
             AutoType::Bool,
             {},
             AUTO_MEMBER(AppProxy,
                         return CAutoValue::Bool(self.m_host.HasMainWindow() && self.m_host.IsMainWindowVisible());)},
            {"SetVisible",
             DispKind::Method,
             AutoType::Empty,
             {{AutoType::Bool, "show"}},
             AUTO_MEMBER(AppProxy, return self.SetVisible(args.Bool(0));)},
            {"GetOpenFilename",
             DispKind::Method,
             AutoType::String,
             {{AutoType::String, "initialFolder"}, {AutoType::String, "filter"}, {AutoType::String, "title"}},
             AUTO_MEMBER(AppProxy,
                         {
                             std::string filter = args.String(1);
                             if (filter.empty())
                                 filter = "All Files (*.*)|*.*||";
                             return CAutoValue::String(
                                 self.m_host.GetOpenFileName(args.String(0), filter, args.String(2)));
                         })},
            {"OpenProjectFile",
             DispKind::Method,
             AutoType::Bool,
             {{AutoType::String, "path"}},
             AUTO_MEMBER(AppProxy,
                         {
                             const std::string path = args.String(0);
                             std::error_code ec;
                             if (path.empty() || !std::filesystem::exists(path, ec))
                                 return CAutoValue::Bool(false);
                             // A pipe or a device would hold the program until something writes
                             // to it, and a failed open must not wait on a message box that the
                             // caller cannot answer: both come back to the caller as errors.
                             std::string why;
                             if (!IsRegularFile(path, &why))
                                 throw CDispatchException(
                                     kAutoErrTypeMismatch,
                                     Format("The project file %s cannot be opened: %s.", path.c_str(), why.c_str()), 1);
                             why.clear();
                             if (self.m_host.OpenDocument(path, &why) && self.m_host.GetDocument())
                                 return CAutoValue::Bool(true);
                             if (why.empty())
                                 return CAutoValue::Bool(false); // the open project was kept
                             throw CDispatchException(kAutoErrTypeMismatch, why, 1);
                         })},
            {"CloseProjectFile",
             DispKind::Method,
             AutoType::Empty,
             {},
             AUTO_MEMBER(AppProxy, self.m_host.CloseAllDocuments(); return CAutoValue();)},
            {"GetHwnd",
             DispKind::Method,
             AutoType::Long,
             {},
             AUTO_MEMBER(AppProxy, return CAutoValue::Long(static_cast<int32_t>(self.m_host.GetWindowHandle()));)},
            {"GetProcessID",
             DispKind::Method,
             AutoType::Long,
             {},
             AUTO_MEMBER(AppProxy, return CAutoValue::Long(static_cast<int32_t>(self.m_host.GetProcessID()));)},
            {"CloseWindows",
             DispKind::Method,
             AutoType::Empty,
             {},
             AUTO_MEMBER(AppProxy, self.m_host.CloseWindows(); return CAutoValue();)},
            {"Version",
             DispKind::Property,
             AutoType::String,
             {},
             AUTO_MEMBER(AppProxy, return CAutoValue::String(AutomationVersionText());)},
            {"ClientHWnd",
             DispKind::PropertyRW,
             AutoType::Long,
             {},
             AUTO_MEMBER(AppProxy, return CAutoValue::Long(static_cast<int32_t>(self.m_host.GetClientWindow()));),
             [](CAutoObject& o, const CDispArgs&, const CAutoValue& v) {
                 static_cast<AppProxy&>(o).m_host.SetClientWindow(v.RawLong());
             }},
        });
    return table;
}
