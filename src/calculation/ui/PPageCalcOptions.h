#pragma once
// The FFT's high-pass corner frequency and time window of a set of calculation options.
#include "experiments/CalcOptions.h"
#include "platform/ui/ZuPropertyPage.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CPPageCalcOptions : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4042;

    CPPageCalcOptions();

    void SetCalcOptions(CCalcOptions* options) { m_pOptions = options; }
    void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }
    const CCalcOptions& GetEditedOptions() const { return m_options; }

    // Stores the chosen window as the default of new options (button 3030).
    void OnSaveDefaultWindow();
    void OnWindowChosen(int windowType);

    QLineEdit* CornerEdit() const { return m_corner; }
    QRadioButton* WindowRadio(int type) const;
    QPushButton* SaveDefaultButton() const { return m_saveDefault; }

    void OnOK() override;

protected:
    bool OnInitDialog() override;

private:
    CCalcOptions* m_pOptions = nullptr;
    CCalcOptions m_options;
    bool m_bReadOnly = false;
    bool m_filling = false;
    QLineEdit* m_corner;
    QButtonGroup* m_windows;
    QPushButton* m_saveDefault;
};
