#pragma once
// The two ratios of the data check, in percent (0 to 100): input range and overload. OK stores
// them in the application's options and closes only when both were written.
#include "platform/ui/ZuDialog.h"

class QDoubleSpinBox;

class CDlgExpDataCheckOption : public CZuDialog
{
    Q_OBJECT

public:
    explicit CDlgExpDataCheckOption(QWidget* parent = nullptr);

    double m_dInputRange = 75.0;
    double m_dOverload = 95.0;

    QDoubleSpinBox* InputRangeBox() const { return m_inputRange; }
    QDoubleSpinBox* OverloadBox() const { return m_overload; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    QDoubleSpinBox* m_inputRange;
    QDoubleSpinBox* m_overload;
};
