#pragma once
// The feedback of a run shown in the sampling window: the run's texts (the transfer) replace the
// window's status line, its samples acquired move the window's bar, and reports show as the same
// message boxes as on the status bar. The window comes with the run's start and goes with its end,
// so it is looked up at every change; without it only the reports show.
#include "platform/base/Feedback.h"

class CFormProgressFeedback : public CFeedback
{
protected:
    void OnText(int level) override;
    void OnProgress(int level) override;
    void OnReport(const SReport& report) override;
};
