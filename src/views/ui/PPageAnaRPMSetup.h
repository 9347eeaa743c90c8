#pragma once
// The RPM axis of an analysis: a range (minimum, maximum, step) or a list of RPM values with its
// step. The page edits a copy of the bound options and writes the copy back on Apply; the page
// mode decides what may be edited (3: view only, never written).
#include "platform/ui/ZuPropertyPage.h"
#include "spectral/RPMOptions.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class CPPageAnaRPMSetup : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4039;

    CPPageAnaRPMSetup();

    void SetRPMOptions(CRPMOptions* options) { m_pOptions = options; }
    // 0-4; see the table in the .cpp.
    void SetMode(int mode) { m_nMode = mode; }
    int GetMode() const { return m_nMode; }
    const CRPMOptions& GetEditedOptions() const { return m_options; }

    // The user's actions, as the buttons and radios run them (tests drive them directly).
    void OnAdd();
    void OnDelete();
    void OnModeRadio(int rpmMode);

    QRadioButton* RangeRadio() const { return m_rangeRadio; }
    QRadioButton* ListRadio() const { return m_listRadio; }
    QLineEdit* MinEdit() const { return m_minEdit; }
    QLineEdit* MaxEdit() const { return m_maxEdit; }
    QLineEdit* StepEdit() const { return m_stepEdit; }
    QLineEdit* ListStepEdit() const { return m_listStepEdit; }
    QListWidget* RpmList() const { return m_list; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* DeleteButton() const { return m_delete; }

    bool OnApply() override;

protected:
    bool OnInitDialog() override;

private:
    void ShowCopy();
    void ApplyPageMode();
    void OnEditChanged(QLineEdit* edit);

    CRPMOptions* m_pOptions = nullptr;
    CRPMOptions m_options;
    int m_nMode = 0;
    bool m_filling = false;
    bool m_badStep = false; // the range step typed last was not above 0
    QRadioButton* m_rangeRadio;
    QRadioButton* m_listRadio;
    QLineEdit* m_minEdit;
    QLineEdit* m_maxEdit;
    QLineEdit* m_stepEdit;
    QLineEdit* m_listStepEdit;
    QListWidget* m_list;
    QPushButton* m_add;
    QPushButton* m_delete;
};
