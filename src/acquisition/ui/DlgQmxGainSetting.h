#pragma once
// The gain of every acquisition channel of an experiment project, set by hand or by a short trial
// run that picks each channel's gain from the peak it measured. One row per sensor of every
// excitation's sensor group plus the RPM pulse channel; rows of channels the hardware inventory
// does not know stay in the table but are not listed. OK writes the gains to the hardware, reads
// them back and stores them in the project and its sensors.
#include "acquisition/DAQExeManager.h"
#include "acquisition/DAQExeSupport.h"
#include "acquisition/GainTable.h"
#include "acquisition/ui/FormProgressFeedback.h"
#include "platform/ui/ZuDialog.h"

#include <memory>

class CExpProject;
class CMultiQMXInterface;
class IMessageTarget;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

class CDlgQmxGainSetting : public CZuDialog, public IDAQExeSupport
{
    Q_OBJECT

public:
    explicit CDlgQmxGainSetting(CExpProject* project, QWidget* parent = nullptr);
    ~CDlgQmxGainSetting() override;

    float m_fLevel = 95.0f; // percent
    int m_nDuration = 5;    // seconds, 1 to 30

    CGainTable& Table() { return m_table; }
    // Command 3012: every row's gain as the hardware has it now.
    void OnReadBack();
    // Combo 3099: the chosen gain on every selected row.
    void OnSelectGain(int index);
    // A click on the list: the combo shows the first selected row's gain.
    void OnListClick();
    // Command 3009: the trial run.
    void OnAdjust();

    IMessageTarget* Target() const { return m_target.get(); }
    intptr_t OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    CDAQExeManager& RunManager() { return m_manager; }

    QTableWidget* List() const { return m_list; }
    QComboBox* GainCombo() const { return m_gainCombo; }
    QLineEdit* LevelEdit() const { return m_levelEdit; }
    QLineEdit* DurationEdit() const { return m_durationEdit; }
    QPushButton* AdjustButton() const { return m_adjustButton; }
    QPushButton* ReadBackButton() const { return m_readBackButton; }

    // ---- IDAQExeSupport ----
    int CanStart() override;
    int OnRpm(float) override { return 1; }
    int OnUpdate(uintptr_t, intptr_t) override { return 1; }
    int OnDataReady() override;
    int OnRecordStart() override { return 1; }
    int OnRecordEnd() override { return 1; }
    int OnStop() override { return 1; }
    int OnComplete() override { return 1; }

    static constexpr int kMinDuration = 1;
    static constexpr int kMaxDuration = 30;

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    void FillList();
    CMultiQMXInterface* Units() const;
    // Stops listening to the interface (the window must not outlive its registration).
    void ReleaseNotifyWindow();

    CExpProject* m_project;
    CDAQExeManager m_manager;
    // The trial run's progress in the sampling window.
    CFormProgressFeedback m_runFeedback;
    CGainTable m_table;
    std::unique_ptr<IMessageTarget> m_target;
    bool m_notifying = false;
    QTableWidget* m_list;
    QComboBox* m_gainCombo;
    QLineEdit* m_levelEdit;
    QLineEdit* m_durationEdit;
    QPushButton* m_adjustButton;
    QPushButton* m_readBackButton;
};
