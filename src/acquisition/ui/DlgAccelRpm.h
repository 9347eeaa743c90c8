#pragma once
// The run-up diagnosis window: whether the engine sweeps its speed slowly enough for the
// acquisition. A meter and a text show the current RPM, a text the elapsed recording time, and a
// chart the RPM spread of every analysis block against the allowed RPM margin. Live, the engine
// rotation set-up forwards its run's call-backs to it (0x2500-0x2509); offline, the measured-data
// window sends it a stored pulse signal (0x250A). Modeless, at most one.
#include "acquisition/AccelRpmAnalysis.h"
#include "experiments/DAQConfig.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <cstdint>
#include <memory>
#include <string>

class CExpData;
class CExpProject;
class CMeter;
class CMultiQMXInterface;
class COctaveManager;
class CZuChart;
class IMessageTarget;
class QLabel;
class QPushButton;
class QTimer;

class CDlgAccelRpm : public CZuDialog, public CSingleInstance<CDlgAccelRpm>
{
    Q_OBJECT

public:
    // Null when one exists; otherwise a new window (not yet shown: Create shows it). owner hears
    // 0x240D (stop or close) and 0x241A (record now); null for none.
    static CDlgAccelRpm* CreateInstance(QWidget* parent, IMessageTarget* owner = nullptr);
    // Closes and deletes the window (later, when it is handling a message of its own).
    static void DestroyInstance();

    // The offline use: the open window (restored) or a new one, in mode 1, with the stored pulse
    // signal of the data's project analysed (0x250A). compact: the project's use flag.
    static CDlgAccelRpm* ShowStoredPulse(CExpData& pulse, int compact, QWidget* parent = nullptr);

    ~CDlgAccelRpm() override;
    using CZuDialog::Create;

    // Set-up before Create (the configuration is copied).
    void SetDAQConfig(const CDAQConfig& config);
    void SetBands(const COctaveManager* bands);
    void SetInterface(CMultiQMXInterface* daq) { m_daq = daq; }
    void SetEngineCount(int count);
    void SetPulseCount(int count);
    void SetCompact(int compact) { m_compact = compact; }
    // The caption of the stop button: mode 0 (live) "Stop", mode 1 (offline) "Close".
    void SetMode(int mode);

    // Where the window's private messages go.
    IMessageTarget* Target() const { return m_target.get(); }
    intptr_t OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    void OnTimer();
    void OnStopButton();
    void OnRecordButton();

    float CurrentRpm() const { return m_rpm; }
    const std::string& RpmText() const { return m_rpmText; }
    const std::string& ElapsedText() const { return m_elapsedText; }
    CMeter* Meter() const { return m_meter; }
    CZuChart* Chart() const { return m_chart; }
    QPushButton* StopButton() const { return m_stopButton; }
    QPushButton* RecordButton() const { return m_recordButton; }
    QLabel* RpmLabel() const { return m_rpmLabel; }
    QLabel* ElapsedLabel() const { return m_elapsedLabel; }
    const CAccelRpmAnalysis& Analysis() const { return m_analysis; }
    bool IsTimerActive() const;

protected:
    bool OnInitDialog() override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A new language formats the elapsed time anew: the timer may be stopped and never do it.
    void changeEvent(QEvent* event) override;

private:
    CDlgAccelRpm(QWidget* parent, IMessageTarget* owner);
    void Reset();
    void SetUpChart();
    void Redraw();
    void ShowTexts();
    void SetElapsed(double seconds);

    IMessageTarget* m_owner;
    std::unique_ptr<IMessageTarget> m_target;
    CMeter* m_meter;
    QLabel* m_rpmLabel;
    QLabel* m_elapsedLabel;
    CZuChart* m_chart;
    QPushButton* m_recordButton;
    QPushButton* m_stopButton;
    QWidget* m_chartArea;
    QTimer* m_timer;
    std::string m_rpmText;
    std::string m_elapsedText;
    // The seconds the elapsed text shows; below 0 when it shows none or a text given by the run.
    double m_elapsedSeconds = -1.0;
    int m_compact = 0;
    float m_rpm = 0.0f;
    uint32_t m_startTime = 0;
    CDAQConfig m_config;
    const COctaveManager* m_bands = nullptr;
    CMultiQMXInterface* m_daq = nullptr;
    CAccelRpmAnalysis m_analysis;
};
