#pragma once
// Asks for one subsystem of the model, optionally with its wave type ("-E", "-S", or the suffix
// of its kind). Modal, it ends with OK; modeless, OK and Cancel tell the owner with message 4069
// (wParam 1 for OK, 2 for Cancel; lParam the notification parameter), synchronously, and the
// picker stays open for the owner to close. The subsystem chosen is shown in the open model
// windows.
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/Messages.h"

#include <cstdint>
#include <string>
#include <vector>

class CModelProject;
class IMessageTarget;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QPushButton;

inline constexpr uintptr_t kPickerOK = 1;
inline constexpr uintptr_t kPickerCancel = 2;

class CDlgSelectSubsystem : public CZuDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4069;
    enum Kind
    {
        kShells = 5,
        kCavities = 8, // the model's subsystems of type 6
        kAll = 9,
    };

    explicit CDlgSelectSubsystem(CModelProject* model = nullptr, QWidget* parent = nullptr);

    // The name the user picks from a list of names that are not the model's (rows of a table,
    // headers of a comparison); its index, -1 when cancelled.
    static int PickName(QWidget* parent, const std::vector<std::string>& names);

    void SetModelProject(CModelProject* model) { m_pModelProject = model; }
    void SetSubsystemKind(int kind);
    // Names enter once, in the given order; removeWaveSign 1 strips each name's wave sign.
    void SetSubsystemTable(const CZuSubsystemTable& table, int removeWaveSign);
    void SetCaption(const std::string& caption);
    void EnableWaveType(bool enable);
    void SetModeless(bool modeless, IMessageTarget* owner, intptr_t param);

    std::string m_strName; // in: the name shown first; out: the name with its wave suffix
    int m_nWaveType = -1;

    const CZuSubsystemTable& GetTable() const { return m_table; }
    QComboBox* Combo() const { return m_combo; }
    QButtonGroup* WaveGroup() const { return m_wave; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // Appends the wave suffix of a choice (0 "-E", 1 "-S", 2 the model's suffix for the kind).
    static std::string WithWaveSuffix(const std::string& name, int choice, CModelProject* model);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void FillCombo();
    void UpdateWaveControls();
    void OnNameChosen();

    CModelProject* m_pModelProject;
    CZuSubsystemTable m_table;
    bool m_bWaveType = true;
    bool m_bModeless = false;
    IMessageTarget* m_owner = nullptr;
    intptr_t m_nParam = 0;
    QComboBox* m_combo;
    QGroupBox* m_waveBox;
    QButtonGroup* m_wave;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

// The subsystems of a model project by kind (5 shells, 8 subsystems of type 6, 9 all; any other
// kind gives an empty table).
CZuSubsystemTable SubsystemsOfKind(CModelProject* model, int kind);
