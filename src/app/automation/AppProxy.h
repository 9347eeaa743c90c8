#pragma once
// The application object of the automation server, "/Application" on the bus under the name
// "ORVEX.Application". From it a client reaches the open project document.
#include "platform/automation/AutoObject.h"

class IAutomationHost;

class AppProxy : public CAutoObject
{
public:
    explicit AppProxy(IAutomationHost& host);
    const CDispatchTable& GetDispatchTable() const override;
    std::vector<Signal> GetSignals() const override;
    IAutomationHost& Host() const { return m_host; }

    // SetVisible(TRUE) shows the window with "show" the first time and "restore" afterwards.
    bool IsFirstShow() const { return m_firstShow; }

private:
    CAutoValue SetVisible(bool show);

    IAutomationHost& m_host;
    bool m_firstShow = true;
};

// The program file's version as "%d.%d.%d build(%d)"; empty when it has none.
std::string AutomationVersionText();
