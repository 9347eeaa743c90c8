#pragma once
// The input-energy page of the analysis-project properties: whether a subsystem without
// experiments borrows those of its mirror-side subsystem, and the RPM margin of the smoothing.
// The options are written only on Apply or OK.
#include "platform/ui/ZuPropertyPage.h"

class CCalcIEOptions;
class QCheckBox;
class QLineEdit;

class CPPageCalcIEOptions : public CZuPropertyPage
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4041,
        IDC_USE_SYMMETRIC = 3045,
        IDC_RPM_MARGIN = 3115
    };

    CPPageCalcIEOptions();
    ~CPPageCalcIEOptions() override;

    // The options to edit (not owned); set before the sheet runs.
    void SetOptions(CCalcIEOptions* options) { m_options = options; }

    QCheckBox* SymmetricBox() const { return m_symmetricBox; }
    QLineEdit* MarginEdit() const { return m_marginEdit; }

    bool OnApply() override;

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    int m_useSymmetric = 0;
    float m_rpmMargin = 0.0f;
    CCalcIEOptions* m_options = nullptr;
    QCheckBox* m_symmetricBox;
    QLineEdit* m_marginEdit;
};
