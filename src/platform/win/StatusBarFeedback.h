#pragma once
// Feedback on the main window's status bar: the progress text and control that the main frame
// drives from the progress messages, at most 1000 visible steps over the whole work (one step per
// item when the work has fewer). Reports are shown as message boxes, as the work showed them
// before it reported them. Nothing shows when there is no main window. Work whose caller gives no
// feedback makes one of its own: work nested in other work then drives the same bar, as it did.
#include "platform/base/Feedback.h"

class CStatusBarFeedback : public CFeedback
{
public:
    // A message box for a report: the string-table message when it came from one, else its text;
    // the icon by its severity.
    static void ShowReportBox(const SReport& report);

protected:
    void OnBegin(int level) override;
    void OnText(int level) override;
    void OnProgress(int level) override;
    void OnEnd() override;
    void OnReport(const SReport& report) override { ShowReportBox(report); }

private:
    int m_steps = 0;
    int m_shown = 0;
};
