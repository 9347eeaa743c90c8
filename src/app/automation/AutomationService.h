#pragma once
// The program as an automation server: the bus name "ORVEX.Application", the application object
// at "/Application" and the objects of the model below "/Objects".
//
// Started normally, the program publishes its own application object and keeps it while it runs;
// clients coming and going change nothing. Started by automation (/Automation, /Embedding) the
// session belongs to its clients: when the last one leaves, the documents are closed without a
// prompt and the program ends, unless the user has been shown the window and the document has
// unsaved changes, which then stays open in the user's hands.
//
// A client that has handed over its window (ClientHWnd) is sent what the program posts to it as
// the signal "ClientMessage" (x window, u message, x wParam, x lParam) of "/Application".
#include "platform/automation/AutoServer.h"
#include "platform/base/Feedback.h"

#include <functional>
#include <memory>

class IAutomationHost;

inline constexpr const char* kAutomationName = "ORVEX.Application";
inline constexpr const char* kClientMessageSignal = "ClientMessage";

class CAutomationService
{
public:
    CAutomationService(IAutomationHost& host, bool startedByAutomation,
                       const QDBusConnection& connection = QDBusConnection::sessionBus());
    ~CAutomationService();

    // Publishes the application object under "ORVEX.Application". False, quietly, when another
    // running instance holds the name (it stays the one clients find) or there is no bus.
    bool RegisterAppActiveObject();
    // Withdraws the name; true when there was none. A failure is reported as an error (to the
    // feedback) and gives false.
    bool RevokeAppActiveObject(CFeedback* feedback = SilentFeedback());
    bool IsRegistered() const { return !m_server->GetName().empty(); }

    // Runs when an automation session ends with no window for the user (the program should end).
    void SetQuitHandler(std::function<void()> handler) { m_quit = std::move(handler); }
    // The last client has left (called by the server; tests call it directly).
    void OnClientsGone();

    CAutoServer& Server() { return *m_server; }

private:
    IAutomationHost& m_host;
    bool m_byAutomation;
    std::unique_ptr<CAutoServer> m_server;
    std::function<void()> m_quit;
};
