#pragma once
// The feedback of a piece of work: the caller's when it gave one, else one on the main window's
// status bar that lives as long as this object and is ended with it. A caller's feedback is the
// caller's to end.
#include <optional>

#include "platform/win/StatusBarFeedback.h"

class CStatusBarFallback
{
public:
    explicit CStatusBarFallback(CFeedback* given) : m_feedback(given)
    {
        if (!m_feedback)
            m_feedback = &m_statusBar.emplace();
    }
    ~CStatusBarFallback()
    {
        if (m_statusBar)
            m_statusBar->End();
    }
    CStatusBarFallback(const CStatusBarFallback&) = delete;
    CStatusBarFallback& operator=(const CStatusBarFallback&) = delete;

    CFeedback& operator*() const { return *m_feedback; }
    CFeedback* operator->() const { return m_feedback; }

private:
    std::optional<CStatusBarFeedback> m_statusBar;
    CFeedback* m_feedback;
};
