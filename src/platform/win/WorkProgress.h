#pragma once
// Progress of long file work (imports and exports of workbooks and exchange files), reported
// through this small interface so the readers and writers never call the user interface. The
// status-bar form drives the main window's progress bar with the progress messages.
#include <string>

class IWorkProgress
{
public:
    virtual ~IWorkProgress() = default;
    // Shows the text and a bar over total steps (0: a bar without steps).
    virtual void Begin(const std::string& text, int total) = 0;
    // Moves the bar to done of total.
    virtual void Step(int done) = 0;
    virtual void End() = 0;
};

// The main window's progress bar, in at most 100 visible steps; nothing when there is no main
// window.
class CStatusBarProgress : public IWorkProgress
{
public:
    void Begin(const std::string& text, int total) override;
    void Step(int done) override;
    void End() override;

private:
    int m_total = 0;
    int m_shown = 0;
};
