#pragma once
// The calculation-progress dialog of the band solve: the progress dialog with one bar over the
// bands, the frequency of the band being solved ("%g Hz") and a Cancel that the solve reads
// between bands. It is the feedback the solve is given: the range begun is the bar over the
// bands, the texts set show as the frequency, and asking for cancel handles the window's events.
#include "platform/ui/DlgProgress.h"
#include "platform/base/Feedback.h"

class CDlgCalcProgress : public CDlgProgress, public CFeedback
{
    Q_OBJECT
public:
    // Restores the dialog when it exists, otherwise creates and shows it.
    static CDlgCalcProgress* ShowInstance(QWidget* parent = nullptr);
    static CDlgCalcProgress* GetInstance();
    // Destroys the dialog; nothing when there is none.
    static void DestroyInstance();

    QProgressBar* BandBar() const { return OuterBar(); }
    QLabel* FrequencyLabel() const { return MessageLabel(); }

protected:
    // A range of n bands is the bar 0 .. n - 1 at 0; the band solved is the bar's position.
    void OnBegin(int level) override;
    void OnText(int level) override;
    void OnProgress(int level) override;
    void OnReport(const SReport& report) override;
    // Handles the window's events; a Cancel pressed meanwhile cancels the solve.
    void Poll() override;

private:
    explicit CDlgCalcProgress(QWidget* parent);
    ~CDlgCalcProgress() override;
};
