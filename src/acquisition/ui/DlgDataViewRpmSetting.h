#pragma once
// The RPM range and step over which measured experiments are averaged for a data view. OK writes
// the start RPM, the end RPM and the range step into the options it was given; Cancel changes
// nothing. A step of 0 or less, or a minimum above the maximum, is refused with a message, since
// the averaging would otherwise run an empty or endless RPM axis.
#include "platform/ui/ZuDialog.h"

class CRPMOptions;
class QLineEdit;

class CDlgDataViewRpmSetting : public CZuDialog
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4215,
        IDC_STEP = 3117,
        IDC_MAX = 3090,
        IDC_MIN = 3125
    };

    // options: edited, not owned.
    explicit CDlgDataViewRpmSetting(CRPMOptions* options, QWidget* parent = nullptr);

    float m_fRpmStep = 0.0f;
    float m_fRpmMax = 6000.0f;
    float m_fRpmMin = 1000.0f;

    QLineEdit* Edit(int id) const;

protected:
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    CRPMOptions* m_pOptions;
    QLineEdit* m_step;
    QLineEdit* m_max;
    QLineEdit* m_min;
};
