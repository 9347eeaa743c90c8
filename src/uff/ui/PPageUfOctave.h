#pragma once
// The octave-band page of the universal-file import: the shared band page with a fourth band kind
// (bands made from the data), the band value that scales the imported spectra (the default or one
// typed in), whether band sums are doubled, and whether the band value is used at all.
#include "calculation/ui/PPageOctave.h"

#include <string>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

class CPPageUfOctave : public CPPageOctave
{
    Q_OBJECT
public:
    enum
    {
        IDD = 20532,
        IDC_DATA_BANDS = 3209,
        IDC_DEFAULT_VALUE = 3210,
        IDC_TYPED_VALUE = 3291,
        IDC_VALUE = 3137,
        IDC_DOUBLING = 3049,
        IDC_NO_VALUE = 3292,
        IDC_USE_VALUE = 3293,
    };
    static constexpr int kDataBands = 3;
    static constexpr double kDefaultValue = 0.3321125;

    CPPageUfOctave();

    // Binds the band value; one within 1 % of the default opens as the default choice.
    void SetBandValue(double* value);
    void SetCheckTarget(int* target);
    void SetOptionTarget(int* target);
    // The value may be chosen only where the import reads spectra at one fixed RPM.
    void SetValueChoiceAllowed(bool allowed) { m_valueChoiceAllowed = allowed; }

    int GetValueChoice() const { return m_valueChoice; }
    const std::string& GetValueText() const { return m_valueText; }
    QRadioButton* DataBandsButton() const { return m_dataBands; }
    QButtonGroup* ValueChoices() const { return m_values; }
    QButtonGroup* OptionChoices() const { return m_options; }
    QLineEdit* ValueEdit() const { return m_valueEdit; }
    QCheckBox* DoublingBox() const { return m_doublingBox; }

    bool OnApply() override;
    void OnOK() override;

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void UpdateControls() override;
    void ApplyBands() override;

private:
    void OnKindClicked(int kind);
    void OnOption(int option);

    double* m_pBandValue = nullptr;
    int* m_pCheck = nullptr;
    int* m_pOption = nullptr;
    int m_valueChoice = 0;
    std::string m_valueText = "1.0";
    int m_check = 1;
    int m_option = 1;
    bool m_valueChoiceAllowed = false;

    QRadioButton* m_dataBands;
    QButtonGroup* m_values;
    QButtonGroup* m_options;
    QLineEdit* m_valueEdit;
    QCheckBox* m_doublingBox;
    QRadioButton* m_defaultValue;
    QRadioButton* m_typedValue;
};
