#pragma once
// The calculation-progress dialog of the band solve: the progress dialog with one bar over the
// bands, the frequency of the band being solved ("%g Hz") and a Cancel that the solve reads
// between bands. While it exists it is the solve's progress display (SetCalcProgressDlg).
#include "app/ui/DlgProgress.h"
#include "platform/win/CalcBandProgress.h"

class CDlgCalcProgress : public CDlgProgress, public ICalcBandProgress
{
    Q_OBJECT
public:
    // Restores the dialog when it exists, otherwise creates, registers and shows it.
    static CDlgCalcProgress* ShowInstance(QWidget* parent = nullptr);
    static CDlgCalcProgress* GetInstance();
    // Unregisters and destroys the dialog; nothing when there is none.
    static void DestroyInstance();

    // Processes waiting events, then returns the cancel request (1) and clears it.
    int CheckCancel() override;
    // Bar range 0 .. n - 1, position 0.
    void SetBandCount(int n) override;
    // Processes waiting events, shows "<frequency> Hz", moves the bar, processes events again. A
    // cancel pressed meanwhile stays latched for the next CheckCancel.
    void ShowBand(int position, double frequency) override;

    QProgressBar* BandBar() const { return OuterBar(); }
    QLabel* FrequencyLabel() const { return MessageLabel(); }

private:
    explicit CDlgCalcProgress(QWidget* parent);
    ~CDlgCalcProgress() override;
};
