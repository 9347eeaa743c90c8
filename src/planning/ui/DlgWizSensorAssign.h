#pragma once
// Wizard step: which sensor measures which local point, from a local-point file or edited.
#include "planning/ui/ZuDlgWizard.h"

class CTALVOProject;

class CDlgWizSensorAssign : public CZuDlgWizard
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4203;

    explicit CDlgWizSensorAssign(CTALVOProject* container, QWidget* parent = nullptr);

    // 2001: a local-point file first, the assignment dialog when it was read; 2002: the dialog.
    void OnStep(int id);

private:
    CTALVOProject* m_container;
};
