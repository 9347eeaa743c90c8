#pragma once
// Feedback in the program's progress dialog: the work's first text is the dialog's title, the
// texts set later its message; the whole work's range is the outer bar and a part's range the
// inner one. Asking for cancel handles the window's events, so the dialog repaints and its Cancel
// button is read. Reports are shown as the same message boxes the status bar shows.
#include "platform/base/Feedback.h"

class QWidget;

class CDlgFeedback : public CFeedback
{
public:
    // Shows the progress dialog (made when needed); the dialog is destroyed with this object.
    explicit CDlgFeedback(QWidget* parent = nullptr);
    ~CDlgFeedback() override;

    // Closes the dialog now; the feedback then shows nothing more (reports still show).
    void Close();

protected:
    void OnBegin(int level) override;
    void OnEnd() override { m_titled = false; }
    void OnText(int level) override;
    void OnProgress(int level) override;
    void OnReport(const SReport& report) override;
    void Poll() override;

private:
    // The title is the text the work began with: restarting the whole range keeps it.
    bool m_titled = false;
};
