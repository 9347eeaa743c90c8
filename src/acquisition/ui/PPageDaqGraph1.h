#pragma once
// The value ranges of the experiment graphs' three axes, each automatic or manual with an upper
// and a lower value. Leaving the page puts each axis's values in order (upper >= lower).
#include "platform/ui/ZuPropertyPage.h"

#include <array>

class CExpOptions;
class CZuPropertySheet;
class QButtonGroup;
class QLineEdit;
class QRadioButton;

class CPPageDaqGraph1 : public CZuPropertyPage
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4045;
    // Edits: axis 1 upper and lower, axis 2 upper, axis 3 upper, axis 2 lower, axis 3 lower.
    static constexpr std::array<int, 3> kUpperIds = {3130, 3132, 3133};
    static constexpr std::array<int, 3> kLowerIds = {3131, 3134, 3135};
    // Radios per axis: automatic, manual.
    static constexpr std::array<int, 3> kAutoIds = {3200, 3202, 3203};
    static constexpr std::array<int, 3> kManualIds = {3201, 3204, 3205};

    CPPageDaqGraph1();

    // Fields from the options; the page keeps them as the options it writes back.
    void LoadFromExpOptions(CExpOptions* options);
    // Writes the page's fields into the options and returns them (null when none were loaded).
    CExpOptions* SaveToExpOptions();

    // axis 0 to 2.
    double m_dUpper[3] = {0.0, 0.0, 0.0};
    double m_dLower[3] = {0.0, 0.0, 0.0};
    int m_nMode[3] = {-1, -1, -1};
    CZuPropertySheet* m_pSheet = nullptr;

    QLineEdit* UpperEdit(int axis) const { return m_upper[static_cast<size_t>(axis)]; }
    QLineEdit* LowerEdit(int axis) const { return m_lower[static_cast<size_t>(axis)]; }
    QRadioButton* ModeRadio(int axis, int mode) const;
    // A radio of an axis pressed: the axis's edits follow its mode.
    void OnModeChosen(int axis, int mode);

    bool OnSetActive() override;
    bool OnKillActive() override;

protected:
    bool DoDataExchange(bool saveAndValidate) override;

private:
    void EnableAxis(int axis);

    CExpOptions* m_pOptions = nullptr;
    std::array<QLineEdit*, 3> m_upper{};
    std::array<QLineEdit*, 3> m_lower{};
    std::array<QButtonGroup*, 3> m_modes{};
};
