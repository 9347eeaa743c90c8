#include "app/ProjectReadAhead.h"

#include "app/TALVODoc.h"
#include "platform/base/ThreadPlacement.h"
#include "platform/win/ObjectLifetime.h"

#include <filesystem>
#include <system_error>

CProjectReadAhead::CProjectReadAhead(const std::string& path)
    : m_path(std::filesystem::absolute(path).lexically_normal().string())
{
    try {
        m_thread = std::thread([this] { Read(); });
        KeepOffCallingProcessor(m_thread);
    } catch (const std::system_error&) {
        // No thread to be had: Take reads on its own thread.
    }
}

CProjectReadAhead::~CProjectReadAhead()
{
    if (m_thread.joinable())
        m_thread.join();
}

void CProjectReadAhead::Read()
{
    // Objects the read makes and drops again were never shown; windows hear of objects going
    // only on their own thread.
    CUnseenObjectsScope unseen;
    m_doc = std::make_unique<CTALVODoc>();
    m_doc->SetFeedback(&m_reports);
    m_read = m_doc->ReadDocumentFile(m_path, &m_error);
    m_doc->SetFeedback(SilentFeedback());
    m_ended = true;
}

bool CProjectReadAhead::WaitReadWithoutReports()
{
    if (m_thread.joinable())
        m_thread.join();
    return !m_taken && m_ended && m_read && m_reports.reports.empty();
}

bool CProjectReadAhead::Take(std::unique_ptr<CTALVODoc>& doc, std::string& error, CFeedback& feedback)
{
    if (m_thread.joinable())
        m_thread.join();
    else if (!m_taken && !m_ended)
        Read();
    if (m_taken) {
        doc.reset();
        return false;
    }
    m_taken = true;
    for (const CFeedback::SReport& report : m_reports.reports)
        feedback.Report(report.severity, report.text, report.stringId);
    m_reports.reports.clear();
    doc = std::move(m_doc);
    error = m_error;
    return m_read;
}
