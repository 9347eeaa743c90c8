#include "app/automation/AutomationHost.h"

#include "app/TALVODoc.h"
#include "platform/base/RecordingFeedback.h"

#include <filesystem>

bool OpenDocumentForAutomation(CTALVODoc& doc, const std::string& path, std::string* error, CFeedback* reading)
{
    CRecordingFeedback reports;
    CFeedback* const kept = doc.GetFeedback();
    doc.SetFeedback(&reports);
    const bool opened = doc.OnOpenDocument(path, error, reading);
    doc.SetFeedback(kept);
    if (!opened && error) {
        std::string said;
        for (const CFeedback::SReport& report : reports.reports)
            said += report.text + "\n\n";
        *error = said + *error;
    }
    return opened;
}

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
    if (!OpenDocumentForAutomation(*doc, absolute, error)) {
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
