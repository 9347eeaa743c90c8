#include "app/ui/MainFrameAutomationHost.h"

#include "app/TALVODoc.h"
#include "app/ui/MainFrame.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"

#include <unistd.h>

CMainFrameAutomationHost::CMainFrameAutomationHost(CMainFrame& frame) : m_frame(frame)
{
    m_frame.SetCloseInterceptor([this] { return HideForClient(); });
}

CMainFrameAutomationHost::~CMainFrameAutomationHost()
{
    m_frame.SetCloseInterceptor({});
}

bool CMainFrameAutomationHost::HideForClient()
{
    // Only when the client has really been told: otherwise the window closes as usual.
    if (m_clientWindow == 0 || !m_poster || !m_poster(m_clientWindow, WM_USER, ZU_CLIENT_NOTIFY_HIDDEN, GetProcessID()))
        return false;
    HideApplication();
    return true;
}

bool CMainFrameAutomationHost::IsMainWindowVisible() const
{
    return m_frame.isVisible();
}

void CMainFrameAutomationHost::ShowMainWindow(int showCommand)
{
    if (showCommand == 9 && m_frame.isMinimized())
        m_frame.showNormal();
    else
        m_frame.show();
    m_frame.raise();
    m_frame.activateWindow();
    m_frame.repaint();
}

void CMainFrameAutomationHost::HideApplication()
{
    m_frame.hide();
}

int64_t CMainFrameAutomationHost::GetWindowHandle() const
{
    return static_cast<int64_t>(m_frame.winId());
}

int64_t CMainFrameAutomationHost::GetProcessID() const
{
    return static_cast<int64_t>(::getpid());
}

void CMainFrameAutomationHost::CloseWindows()
{
    m_frame.SendMessage(WM_ZU_CLOSE_WINDOWS, 0, 0);
}

std::string CMainFrameAutomationHost::GetOpenFileName(const std::string& initialFolder, const std::string& filter,
                                                      const std::string& title)
{
    FileChooserOptions options;
    options.title = title;
    options.initialFolder = initialFolder;
    options.filter = filter;
    std::string path;
    return PromptOpenFile(options, path) ? path : std::string();
}

CTALVODoc* CMainFrameAutomationHost::GetDocument() const
{
    return m_frame.GetDocument();
}

bool CMainFrameAutomationHost::OpenDocument(const std::string& path, std::string* error)
{
    return m_frame.OpenDocumentFile(path, error) && m_frame.GetDocument();
}

void CMainFrameAutomationHost::CloseAllDocuments()
{
    if (CTALVODoc* doc = m_frame.GetDocument())
        doc->SetModifiedFlag(0);
    m_frame.CloseMainDocument();
}
