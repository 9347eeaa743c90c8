#pragma once
// The main window's status bar: the message pane, a progress text and a progress control that long
// operations drive through the progress messages, and the caps, num and scroll lock indicators.
#include <QStatusBar>

#include <chrono>

class QLabel;
class QProgressBar;

class CProgressStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit CProgressStatusBar(QWidget* parent = nullptr);

    // Range first..last with the position at first and the given step.
    void SetProgressRange(int first, int last, int step = 1);
    void SetProgressText(const QString& text);
    void ShowProgress();
    void HideProgress();
    // Shows (true) or hides (false) the progress text and control.
    void ShowProgress(bool show) { show ? ShowProgress() : HideProgress(); }
    void StepProgress();

    bool IsProgressVisible() const;
    QProgressBar* ProgressCtrl() const { return m_progress; }
    QLabel* ProgressTextPane() const { return m_text; }
    int Step() const { return m_step; }

private:
    // Long operations run on the user-interface thread and do not return to the event loop, so the
    // progress is painted at once (at most every few tens of milliseconds).
    void PaintNow(bool force = false);

    QLabel* m_text;
    QProgressBar* m_progress;
    QLabel* m_caps;
    QLabel* m_num;
    QLabel* m_scroll;
    int m_step = 1;
    std::chrono::steady_clock::time_point m_lastPaint{};
};
