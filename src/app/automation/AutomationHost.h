#pragma once
// What the automation object model needs of the program's window side: the main window, the open
// document and the file chooser. The main window implements it in the program; without a window
// (tests, a program that has none yet) a host keeps the document itself.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/base/Feedback.h"

class CTALVODoc;

class IAutomationHost
{
public:
    virtual ~IAutomationHost() = default;

    virtual bool HasMainWindow() const = 0;
    virtual bool IsMainWindowVisible() const = 0;
    // showCommand 5 shows, 9 restores; then the window comes to the top and is repainted.
    virtual void ShowMainWindow(int showCommand) = 0;
    virtual void HideApplication() = 0;
    // The main window's handle and the id of the process that owns it; 0 without a window.
    virtual int64_t GetWindowHandle() const = 0;
    virtual int64_t GetProcessID() const = 0;
    // The window an automation client registered (0 until set).
    virtual int64_t GetClientWindow() const = 0;
    virtual void SetClientWindow(int64_t handle) = 0;
    // How a message reaches the client window (window, message, wParam, lParam): true when it was
    // sent. Set by the automation service; a host without a window has no use for it.
    using ClientPoster = std::function<bool(int64_t, uint32_t, int64_t, int64_t)>;
    virtual void SetClientPoster(ClientPoster) {}
    // Sends the main window the request to close the application (both parameters 0).
    virtual void CloseWindows() = 0;

    // The file-open dialog; empty when cancelled. filter: "text|pattern|...||".
    virtual std::string GetOpenFileName(const std::string& initialFolder, const std::string& filter,
                                        const std::string& title) = 0;

    virtual CTALVODoc* GetDocument() const = 0;
    // Closes the open project (asking to save it when modified), then opens path; true when a
    // document is open afterwards. Why it failed goes to error, never into a message box.
    virtual bool OpenDocument(const std::string& path, std::string* error) = 0;
    // Closes every document without asking.
    virtual void CloseAllDocuments() = 0;
};

// Reads a project file into doc for an automation caller, who cannot answer a message box: what the
// read reports (a file too old or too new, say) goes into error, a paragraph each, ahead of why the
// read failed. reading shows the bytes read (CTALVODoc::OnOpenDocument). The document keeps the
// feedback it had for its later writes.
bool OpenDocumentForAutomation(CTALVODoc& doc, const std::string& path, std::string* error,
                               CFeedback* reading = SilentFeedback());

// A host without a window: it keeps the document, asks nothing and never shows anything.
class CWindowlessAutomationHost : public IAutomationHost
{
public:
    CWindowlessAutomationHost();
    ~CWindowlessAutomationHost() override;

    bool HasMainWindow() const override { return false; }
    bool IsMainWindowVisible() const override { return false; }
    void ShowMainWindow(int) override {}
    void HideApplication() override {}
    int64_t GetWindowHandle() const override { return 0; }
    int64_t GetProcessID() const override { return 0; }
    int64_t GetClientWindow() const override { return 0; }
    void SetClientWindow(int64_t) override {}
    void CloseWindows() override;
    std::string GetOpenFileName(const std::string&, const std::string&, const std::string&) override { return {}; }

    CTALVODoc* GetDocument() const override { return m_doc.get(); }
    bool OpenDocument(const std::string& path, std::string* error) override;
    void CloseAllDocuments() override;

private:
    std::unique_ptr<CTALVODoc> m_doc;
};
