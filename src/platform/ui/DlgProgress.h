#pragma once
// The single modeless progress dialog of long operations that pump the message queue themselves:
// an outer (total) and an inner (per item) bar, a message, and a Cancel that only latches a flag
// the operation reads at its next pump.
#include <QDialog>

class QLabel;
class QProgressBar;

class CDlgProgress : public QDialog
{
    Q_OBJECT
public:
    // Restores the dialog when it exists, otherwise creates and shows it.
    static CDlgProgress* ShowInstance(QWidget* parent = nullptr);
    static CDlgProgress* GetInstance();
    static void DestroyInstance();
    // A progress window of this kind (or one built on it) is open: an operation runs that handles
    // the window events itself. What the operation works on must stay until it ends, so meanwhile
    // the windows refuse to close (the progress window and modal boxes excepted) and the main
    // window refuses its commands. Null when none is open, else the latest.
    static CDlgProgress* Running();

    void SetTitle(const QString& text);
    void SetMessage(const QString& text);
    // A range call takes (upper, position): the range runs from the position to upper.
    void SetOuterRange(int upper, int position);
    void SetOuterPos(int position);
    void StepTotal();
    void SetSubRange(int upper, int position);
    void SetSubPos(int position);
    void StepSub();
    // Dispatches waiting events, then returns the cancel flag and clears it.
    bool PumpMessages();

    // What Cancel does: sets the flag, the dialog stays.
    void OnCancel() { m_cancel = true; }
    QProgressBar* OuterBar() const { return m_outer; }
    QProgressBar* SubBar() const { return m_sub; }
    QLabel* MessageLabel() const { return m_message; }

protected:
    void reject() override { OnCancel(); }

    // For dialogs built on this one (the calculation-progress dialog), each a single instance of
    // its own.
    explicit CDlgProgress(QWidget* parent);
    ~CDlgProgress() override;

private:
    QProgressBar* m_outer;
    QProgressBar* m_sub;
    QLabel* m_message;
    bool m_cancel = false;
};
