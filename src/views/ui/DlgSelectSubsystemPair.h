#pragma once
// Asks for two subsystems of the model (a path or a coupling), each optionally with its wave type.
// The second list offers only the subsystems connected to the first (when the connection check is
// on). Modal it ends with OK; modeless it tells the owner with message 4070 (1 OK, 2 Cancel;
// lParam the notification parameter).
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"

#include <cstdint>
#include <string>

class CMElement;
class CModelProject;
class IMessageTarget;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QPushButton;

class CDlgSelectSubsystemPair : public CZuDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4070;

    explicit CDlgSelectSubsystemPair(CModelProject* model = nullptr, QWidget* parent = nullptr);

    void SetSubsystemKind(int kind);
    void SetSubsystemTable(const CZuSubsystemTable& table) { m_table = table; }
    void SetCaption(const std::string& caption);
    void EnableWaveType(bool enable);
    void SetModeless(bool modeless, IMessageTarget* owner, intptr_t param);
    void SetAllowSameName(bool allow) { m_bSameName = allow; }
    void SetConnectionCheck(bool check) { m_bConnectionCheck = check; }
    // The element whose connections count (an HSEA result); otherwise the model's shell's.
    void SetModelElement(CMElement* element) { m_pElement = element; }

    std::string m_strName1;
    std::string m_strName2;
    int m_nWaveType1 = -1;
    int m_nWaveType2 = -1;

    // Chooses the first subsystem as the first list does.
    void ChooseFirst(const QString& name);
    void ChooseSecond(const QString& name);

    QComboBox* FirstCombo() const { return m_first; }
    QComboBox* SecondCombo() const { return m_second; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    bool IsConnected(const std::string& a, const std::string& b) const;
    void UpdateWaveControls();

    CModelProject* m_pModelProject;
    CMElement* m_pElement = nullptr;
    CZuSubsystemTable m_table;
    bool m_bModeless = false;
    bool m_bWaveType = true;
    bool m_bSameName = true;
    bool m_bConnectionCheck = true;
    IMessageTarget* m_owner = nullptr;
    intptr_t m_nParam = 0;
    QComboBox* m_first;
    QComboBox* m_second;
    QGroupBox* m_waveBox1;
    QGroupBox* m_waveBox2;
    QButtonGroup* m_wave1;
    QButtonGroup* m_wave2;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
