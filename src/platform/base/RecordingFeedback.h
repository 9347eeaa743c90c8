#pragma once
// Feedback that keeps everything it is told, for the tests and for callers that show the messages
// afterwards: the texts begun, the whole work's fraction after every change, the reports, and how
// often the work asked for cancel. It can cancel by itself once the work has asked a given number
// of times, as a user pressing Cancel midway would.
#include <string>
#include <vector>

#include "platform/base/Feedback.h"

class CRecordingFeedback : public CFeedback
{
public:
    struct SBegin
    {
        int level = 0;
        std::string text;
        int64_t total = 0;
    };

    // Cancels when the work asks for the count-th time (0: never by itself).
    void CancelAtQuestion(int count) { m_cancelAt = count; }

    std::vector<SBegin> begins;
    std::vector<std::string> texts; // every text shown: begun (when not empty) or set
    std::vector<double> fractions;  // the whole work's fraction after every move
    std::vector<SReport> reports;
    int questions = 0;
    int ends = 0;

    // The texts of the reports of one severity.
    std::vector<std::string> ReportTexts(ESeverity severity) const;

protected:
    void OnBegin(int level) override;
    void OnText(int level) override;
    void OnProgress(int level) override;
    void OnEnd() override { ++ends; }
    void OnReport(const SReport& report) override { reports.push_back(report); }
    void Poll() override;

private:
    int m_cancelAt = 0;
};
