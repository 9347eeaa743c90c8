#include "app/automation/AutomationService.h"

#include "app/TALVODoc.h"
#include "app/automation/AppProxy.h"
#include "app/automation/AutomationHost.h"
#include "platform/automation/AutoObjectRegistry.h"

CAutomationService::CAutomationService(IAutomationHost& host, bool startedByAutomation,
                                       const QDBusConnection& connection)
    : m_host(host), m_byAutomation(startedByAutomation), m_server(std::make_unique<CAutoServer>(connection))
{
    CAutoObjectRegistry::Instance().Add(kApplicationPath, std::make_unique<AppProxy>(host));
    m_server->SetClientsGoneHandler([this] { OnClientsGone(); });
    m_host.SetClientPoster([this](int64_t window, uint32_t message, int64_t wParam, int64_t lParam) {
        return m_server->EmitSignal(kApplicationPath, QLatin1String(kClientMessageSignal),
                                    {QVariant::fromValue(static_cast<qlonglong>(window)), QVariant::fromValue(message),
                                     QVariant::fromValue(static_cast<qlonglong>(wParam)),
                                     QVariant::fromValue(static_cast<qlonglong>(lParam))});
    });
}

CAutomationService::~CAutomationService()
{
    m_host.SetClientPoster({});
    m_server.reset();
    CAutoObjectRegistry::Instance().Clear();
}

bool CAutomationService::RegisterAppActiveObject()
{
    return m_server->RegisterName(kAutomationName);
}

bool CAutomationService::RevokeAppActiveObject(CFeedback* feedback)
{
    if (m_server->GetName().empty())
        return true;
    if (!m_server->RevokeName()) {
        feedback->Error("Failed to RevokeActiveObejct()");
        return false;
    }
    return true;
}

void CAutomationService::OnClientsGone()
{
    // The program's own application object outlives its clients.
    if (!m_byAutomation)
        return;
    if (m_host.HasMainWindow() && m_host.IsMainWindowVisible()) {
        // The user has the window: unsaved work is not thrown away behind their back.
        CTALVODoc* doc = m_host.GetDocument();
        if (!doc || !doc->IsModified())
            m_host.CloseAllDocuments();
        return;
    }
    m_host.CloseAllDocuments();
    CAutoObjectRegistry::Instance().PruneGone();
    if (m_quit)
        m_quit();
}
