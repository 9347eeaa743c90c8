#pragma once
// Progress of the long calculations of this library (the pipeline over every RPM, the energies of
// every subsystem): a range, a text, steps and a cancel check between items. Core code reports
// here and never to a window; the program's implementation drives the status-bar progress of the
// main window, and a user interface may add a cancel button through IsCancelled.
#include <string>

class ICalcProgress
{
public:
    virtual ~ICalcProgress() = default;
    // Shows the progress over count steps.
    virtual void Begin(int count) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void Step() = 0;
    virtual void End() = 0;
    // Asked between items; true stops the calculation, which then keeps no partial result.
    virtual bool IsCancelled() { return false; }

    // The progress of the main window's status bar (the progress messages); never cancelled.
    static ICalcProgress& MainWindow();
};
