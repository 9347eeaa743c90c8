#pragma once
// Asks for one of the candidate DAQ projects, or none (the last entry).
#include "platform/ui/ZuDialog.h"

class CMElement;
class CMElementList;
class QComboBox;

class CDlgSelectDaqProject : public CZuDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4066;

    explicit CDlgSelectDaqProject(QWidget* parent = nullptr);

    void SetCandidates(const CMElementList* candidates) { m_pCandidates = candidates; }
    // The chosen project; null for "none" and after Cancel.
    CMElement* GetSelected() const { return m_pSelected; }
    QComboBox* Combo() const { return m_combo; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    const CMElementList* m_pCandidates = nullptr;
    CMElement* m_pSelected = nullptr;
    QComboBox* m_combo;
};
