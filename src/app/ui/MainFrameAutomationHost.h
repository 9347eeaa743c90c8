#pragma once
// The main window as the automation object model sees it: visibility, the open document, the file
// chooser and the close request.
#include "app/automation/AutomationHost.h"

class CMainFrame;

class CMainFrameAutomationHost : public IAutomationHost
{
public:
    // Closing the frame while a client has handed over its window tells the client (1024, wParam 16,
    // lParam the process id) and hides the program instead.
    explicit CMainFrameAutomationHost(CMainFrame& frame);
    ~CMainFrameAutomationHost() override;

    bool HasMainWindow() const override { return true; }
    bool IsMainWindowVisible() const override;
    void ShowMainWindow(int showCommand) override;
    void HideApplication() override;
    int64_t GetWindowHandle() const override;
    int64_t GetProcessID() const override;
    int64_t GetClientWindow() const override { return m_clientWindow; }
    void SetClientWindow(int64_t handle) override { m_clientWindow = handle; }
    void SetClientPoster(ClientPoster poster) override { m_poster = std::move(poster); }
    void CloseWindows() override;
    std::string GetOpenFileName(const std::string& initialFolder, const std::string& filter,
                                const std::string& title) override;
    CTALVODoc* GetDocument() const override;
    bool OpenDocument(const std::string& path, std::string* error) override;
    void CloseAllDocuments() override;

private:
    bool HideForClient();

    CMainFrame& m_frame;
    ClientPoster m_poster;
    int64_t m_clientWindow = 0;
};
