#pragma once
// The real-time monitor: a continuous acquisition of an experiment project's RPM pulse channel
// while the engineer watches the hardware. The window offers start and stop and a chart; the run
// itself belongs to its run manager. While the monitor runs, every unit's hold-off flag is set,
// so that the measured-data window ignores the run's data blocks; stopping, the run's end and
// closing clear them. Modeless, at most one.
#include "platform/win/CommandIds.h"
#include "acquisition/DAQExeManager.h"
#include "acquisition/DAQExeSupport.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <memory>

class CExpProject;
class CMultiQMXInterface;
class CZuChart;
class IMessageTarget;
class QPushButton;

class CDlgRealTimeMonitor : public CZuDialog, public IDAQExeSupport, public CSingleInstance<CDlgRealTimeMonitor>
{
    Q_OBJECT

public:
    // Null when one exists; otherwise a new, not yet shown, window.
    static CDlgRealTimeMonitor* CreateInstance(QWidget* parent);
    // Stops a run of the window, closes it and deletes it.
    static void DestroyInstance();
    // The measured-data window's command: restores the open monitor, or opens one on the
    // project's RPM pulse channel.
    static CDlgRealTimeMonitor* Open(CExpProject* project, QWidget* parent = nullptr);

    ~CDlgRealTimeMonitor() override;
    using CZuDialog::Create;

    void SetDAQProject(CExpProject* project) { m_project = project; }
    CExpProject* GetDAQProject() const { return m_project; }
    // A negative channel keeps the current one.
    void SetChannel(int channel);
    int GetChannel() const { return m_channel; }

    // Commands 1169 and 1170.
    void OnStartRun();
    void OnStopRun();

    IMessageTarget* Target() const { return m_target.get(); }
    intptr_t OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    CDAQExeManager& RunManager() { return m_manager; }
    CZuChart* Chart() const { return m_chart; }
    QPushButton* StartButton() const { return m_startButton; }
    QPushButton* StopButton() const { return m_stopButton; }

    // The engine speed of a run's latest block, drawn over the run's time (its samples acquired
    // so far over its sampling rate; daq null: the program's interface). A run that starts again
    // starts a new curve. The monitor's own run and a measurement beside it both draw here.
    void ShowRpm(float rpm, CMultiQMXInterface* daq = nullptr);

    // ---- IDAQExeSupport: the monitor only watches ----
    int CanStart() override { return 1; }
    int OnRpm(float rpm) override
    {
        ShowRpm(rpm);
        return 1;
    }
    int OnUpdate(uintptr_t, intptr_t) override { return 1; }
    int OnRecordStart() override { return 1; }
    int OnRecordEnd() override { return 1; }
    int OnStop() override { return 1; }
    int OnComplete() override { return 1; }
    int OnDataReady() override { return 1; }

    static constexpr int ID_START = CommandId::ID_START;
    static constexpr int ID_STOP = CommandId::ID_STOP;

protected:
    bool OnInitDialog() override;
    void closeEvent(QCloseEvent* event) override;
    void OnCancel() override;

private:
    explicit CDlgRealTimeMonitor(QWidget* parent);
    // The run stopped or ended: the units' hold-off flags and the notification window go.
    void EndRun();

    CExpProject* m_project = nullptr;
    int m_channel = -1;
    CDAQExeManager m_manager;
    std::unique_ptr<IMessageTarget> m_target;
    bool m_notifying = false;
    bool m_holdOff = false; // this window set the units' hold-off flags
    CZuChart* m_chart;
    QPushButton* m_startButton;
    QPushButton* m_stopButton;
};
