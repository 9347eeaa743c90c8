#include "platform/base/RecordingFeedback.h"

std::vector<std::string> CRecordingFeedback::ReportTexts(ESeverity severity) const
{
    std::vector<std::string> out;
    for (const SReport& report : reports)
        if (report.severity == severity)
            out.push_back(report.text);
    return out;
}

void CRecordingFeedback::OnBegin(int level)
{
    const SRange& range = Ranges()[static_cast<size_t>(level)];
    begins.push_back(SBegin{level, range.text, range.total});
    if (!range.text.empty())
        texts.push_back(range.text);
    fractions.push_back(Fraction());
}

void CRecordingFeedback::OnText(int level)
{
    texts.push_back(Ranges()[static_cast<size_t>(level)].text);
}

void CRecordingFeedback::OnProgress(int /*level*/)
{
    fractions.push_back(Fraction());
}

void CRecordingFeedback::Poll()
{
    ++questions;
    if (m_cancelAt > 0 && questions >= m_cancelAt)
        Cancel();
}
