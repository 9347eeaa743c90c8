#pragma once
// How a DAQ project measures over engine speed: the RPM range, margin and sweep time of a run-up,
// or the constant RPM and measurement time of a constant-speed measurement. The dialog edits a
// working copy of the project's acquisition configuration, derives the least sweep time (or the
// least margin) that the RPM detection can follow, and can run a live RPM check that the run-up
// diagnosis window shows. Modes: 0 editable, 1 editable with the RPM mode fixed, 2 read-only.
#include "acquisition/DAQExeManager.h"
#include "acquisition/DAQExeSupport.h"
#include "experiments/DAQConfig.h"
#include "platform/ui/ZuDialog.h"

#include <map>
#include <memory>

class CDaqProject;
class COctaveManager;
class IMessageTarget;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

class CDlgEngineRotationSetup : public CZuDialog, public IDAQExeSupport
{
    Q_OBJECT

public:
    explicit CDlgEngineRotationSetup(int mode, QWidget* parent = nullptr);
    ~CDlgEngineRotationSetup() override;

    void SetDAQProject(CDaqProject* project) { m_project = project; }
    int GetMode() const { return m_mode; }
    // The opener's part: the fields from a configuration, and back after OK (the configuration
    // rounds the measurement time to its blocks).
    void LoadFrom(const CDAQConfig& config);
    void StoreTo(CDAQConfig& config) const;

    int m_nRpmLow = 0;
    int m_nRpmHigh = 0;
    int m_nRpmMargin = 0;
    int m_nChoice = 1; // 0: margin given, 1: time span given
    int m_nTimeSpan = 0;
    int m_nRpmMode = -1; // 0 run-up, 1 constant RPM
    float m_fMeasureTime = 0.0f;
    int m_nConstRpm = 0;
    float m_fFactor = 0.0f;

    int GetMinTimeSpan() const { return m_minTimeSpan; }
    int GetMinMargin() const { return m_minMargin; }
    CDAQConfig& WorkingCopy() { return m_work; }

    // Controls by their numbers (edits 3090-3125, radios 3206/3207/3215/3222, labels 2071/2072,
    // buttons 3028 check, 1 OK, 2 Cancel).
    QLineEdit* Edit(int id) const;
    QRadioButton* Radio(int id) const;
    QLabel* Label(int id) const;
    QPushButton* Button(int id) const;

    // The minima from the fields; with warnings the user hears of a raised margin or time span.
    void RecomputeMinima(bool warn);
    // The measurement time rounded up to whole analysis blocks of the block mode.
    void SnapMeasureTime();
    void OnRunUp();
    void OnConstantRpm();
    // Command 3028: the live RPM check.
    void OnCheck();
    // Timer 1: the check's hold-off is over.
    void OnTimer();
    bool IsHoldOffActive() const;

    IMessageTarget* Target() const { return m_target.get(); }
    intptr_t OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    CDAQExeManager& RunManager() { return m_manager; }

    // ---- IDAQExeSupport: the check run's speeds go to the diagnosis window ----
    int CanStart() override { return 1; }
    int OnRpm(float rpm) override;
    int OnUpdate(uintptr_t wParam, intptr_t lParam) override;
    int OnRecordStart() override;
    int OnRecordEnd() override;
    int OnStop() override { return 1; }
    int OnComplete() override { return 1; }
    int OnDataReady() override { return 1; }

    static constexpr int kHoldOffMs = 3000;

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    void EnableByMode();
    void ApplyControlSet(bool runUp);
    const COctaveManager* ModelBands() const;
    float BandFactor() const;
    // Reads the RPM and time-span edits without validation messages; false when one is no number.
    bool ReadRpmFields();
    void SendToDiagnosis(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0);
    // Ends what the check run set up: the hold-off flags and the notification window.
    void ReleaseRun();

    int m_mode;
    CDaqProject* m_project = nullptr;
    CDAQExeManager m_manager;
    CDAQConfig m_work;
    int m_minTimeSpan = 0;
    int m_minMargin = 0;
    bool m_notifying = false;
    bool m_holdOff = false;
    std::unique_ptr<IMessageTarget> m_target;
    QTimer* m_timer;
    std::map<int, QLineEdit*> m_edits;
    std::map<int, QRadioButton*> m_radios;
    QLabel* m_minMarginLabel;
    QLabel* m_minSpanLabel;
    QPushButton* m_checkButton;
    QPushButton* m_okButton;
    QPushButton* m_cancelButton;
};

// The main frame's engine rotation set-up of a DAQ project: editable (mode 0) or read-only
// (mode 2). On OK an editable dialog's fields are written back; true when OK was pressed.
bool EditEngineRotationSetup(CDaqProject* project, bool editable, QWidget* parent = nullptr);
