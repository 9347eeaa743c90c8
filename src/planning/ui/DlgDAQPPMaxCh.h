#pragma once
// The channel count of new channel plans of a universal-file DAQ project, optionally kept as the
// default of the settings.
#include "platform/ui/ZuDialog.h"

class CExtUFDaqProject;
class QCheckBox;
class QSpinBox;

class CDlgDAQPPMaxCh : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4211;
    static constexpr int kMaxChannels = 9999;
    enum
    {
        IDC_COUNT = 3137,
        IDC_DEFAULT = 3049,
    };

    explicit CDlgDAQPPMaxCh(CExtUFDaqProject* project, QWidget* parent = nullptr);

    QSpinBox* CountEdit() const { return m_count; }
    QCheckBox* DefaultCheck() const { return m_default; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CExtUFDaqProject* m_project;
    QSpinBox* m_count;
    QCheckBox* m_default;
};
