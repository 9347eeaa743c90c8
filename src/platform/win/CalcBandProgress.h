#pragma once
// The calculation-progress display of a band-by-band solve, as the solve sees it: a bar over the
// bands, the band being solved ("%g Hz") and a Cancel the solve polls between bands. The modeless
// progress dialog of the program implements it and registers itself while it is open; tests
// register a recording one. The solve runs on the user-interface thread, so CheckCancel and
// ShowBand let the implementation process its pending events (repaint, the Cancel button).
// (The progress of whole calculations, over RPMs or subsystems, is the calculation library's
// ICalcProgress.)
class ICalcBandProgress
{
public:
    virtual ~ICalcBandProgress() = default;
    // Processes pending events, then returns the cancel request (non-zero: cancel) and clears it.
    virtual int CheckCancel() = 0;
    // Bar range 0 .. n - 1, position 0.
    virtual void SetBandCount(int n) = 0;
    // Processes pending events, shows the band's frequency as "%g Hz", moves the bar to position,
    // and processes pending events again.
    virtual void ShowBand(int position, double frequency) = 0;
};

// The open calculation-progress display; null when none is open.
ICalcBandProgress* GetCalcProgressDlg();
// Registers the display (not owned); null unregisters it.
void SetCalcProgressDlg(ICalcBandProgress* progress);
