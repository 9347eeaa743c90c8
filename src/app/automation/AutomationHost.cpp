#include "app/automation/AutomationHost.h"

#include "app/TALVODoc.h"

#include <filesystem>

CWindowlessAutomationHost::CWindowlessAutomationHost() = default;

CWindowlessAutomationHost::~CWindowlessAutomationHost()
{
    CloseAllDocuments();
}

void CWindowlessAutomationHost::CloseWindows()
{
    CloseAllDocuments();
}

bool CWindowlessAutomationHost::OpenDocument(const std::string& path, std::string* error)
{
    CloseAllDocuments();
    auto doc = std::make_unique<CTALVODoc>();
    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (!doc->OnOpenDocument(absolute, error)) {
        doc->OnCloseDocument();
        return false;
    }
    m_doc = std::move(doc);
    return true;
}

void CWindowlessAutomationHost::CloseAllDocuments()
{
    if (!m_doc)
        return;
    m_doc->OnCloseDocument();
    m_doc.reset();
}
