#pragma once
// The experiment graphs' colour scheme and band type. Button 3030 keeps the page's choice as the
// user's defaults for the next experiment window.
#include "platform/ui/ZuPropertyPage.h"

class CExpOptions;
class CZuPropertySheet;
class QButtonGroup;
class QPushButton;
class QRadioButton;

class CPPageDaqGraph2 : public CZuPropertyPage
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4046;
    static constexpr int IDC_COLOR_FIRST = 3185; // radios 3185, 3186
    static constexpr int IDC_BAND_FIRST = 3195;  // radios 3195, 3196
    static constexpr int IDC_KEEP_DEFAULT = 3030;

    CPPageDaqGraph2();

    void LoadFromExpOptions(CExpOptions* options);
    // Writes the page's fields into the options and returns them (null when none were loaded).
    CExpOptions* SaveToExpOptions();

    // Radio indexes (0 or 1); -1 for none.
    int m_nGraphColor = -1;
    int m_nGraphBandType = -1;
    CZuPropertySheet* m_pSheet = nullptr;

    QRadioButton* ColorRadio(int index) const;
    QRadioButton* BandRadio(int index) const;
    QPushButton* KeepDefaultButton() const { return m_keep; }
    // Button 3030.
    void OnKeepDefault();

protected:
    bool DoDataExchange(bool saveAndValidate) override;

private:
    CExpOptions* m_pOptions = nullptr;
    QButtonGroup* m_color;
    QButtonGroup* m_band;
    QPushButton* m_keep;
};
