#pragma once
// The small window that accompanies a run: it tells whether the units are ready, lets the user
// start and stop sampling, shows the sampling time and the data transfer, and tells its owner
// what the user chose (0xA201 start, 0xA202 stop, 0xA203 closed). There is at most one. The run's
// progress reaches it through the run's feedback (CFormProgressFeedback); the owner passes on
// 0xA302 and 0xA307 through Target().
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <cstdint>
#include <memory>
#include <string>

class CMultiQMXInterface;
class IMessageTarget;
class QProgressBar;
class QPushButton;
class QTimer;

class CFormProgress : public CZuDialog, public CSingleInstance<CFormProgress>
{
    Q_OBJECT

public:
    // Null when a window exists already. The window watches units for readiness and reports to
    // owner; the caller shows it (CZuDialog::Create).
    static CFormProgress* CreateInstance(QWidget* parent, IMessageTarget* owner, CMultiQMXInterface* units);
    // Destroys the window; false when there was none.
    static bool DestroyInstance();

    ~CFormProgress() override;
    // Shows the window modeless (the dialog's own Create).
    using CZuDialog::Create;

    // Who is told what the user chose.
    IMessageTarget* Owner() const { return m_owner; }
    // Where the owner sends the window's own messages.
    IMessageTarget* Target() const { return m_target.get(); }
    intptr_t OnMessage(uint32_t msg);
    void OnTimer(int id);
    void OnStart();
    void OnStop();

    const std::string& StatusText() const { return m_status; }
    // Replaces the status line (an owner's own stage, e.g. the gain adjustment after the run).
    void SetStatusText(const std::string& text);
    // A text of the run after its sampling (the transfer): the sampling clock stops.
    void ShowRunText(const std::string& text);
    const std::string& TimeText() const { return m_time; }
    // The part of the run's samples acquired, 0 to 1, shown in the bar below the texts.
    void SetProgress(double fraction);
    QProgressBar* ProgressBar() const { return m_progress; }
    QPushButton* StartButton() const { return m_startButton; }
    QPushButton* StopButton() const { return m_stopButton; }
    bool IsTimerActive(int id) const;
    // The font the texts are drawn with (the bold fallback when the face is missing).
    QFont TextFont() const;

    static constexpr int kStartButton = 3066;
    static constexpr int kStopButton = 3065;

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CFormProgress(QWidget* parent, IMessageTarget* owner, CMultiQMXInterface* units);
    void SetTimeText(double seconds);
    void SendToOwner(uint32_t msg);

    std::string m_status;
    std::string m_time;
    std::string m_third;
    uint32_t m_startTime = 0;
    IMessageTarget* m_owner;
    CMultiQMXInterface* m_units;
    std::unique_ptr<IMessageTarget> m_target;
    QPushButton* m_startButton;
    QPushButton* m_stopButton;
    QProgressBar* m_progress;
    QTimer* m_pollTimer;  // id 2, 10 ms: units ready?
    QTimer* m_clockTimer; // id 1, 100 ms: sampling time
};
