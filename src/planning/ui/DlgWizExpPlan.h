#pragma once
// Wizard step: the channel plans: channels of new plans, a new plan, the list of plans.
#include "planning/ui/ZuDlgWizard.h"

class CExtUFDaqProject;

class CDlgWizExpPlan : public CZuDlgWizard
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4205;

    explicit CDlgWizExpPlan(CExtUFDaqProject* project, QWidget* parent = nullptr);

    void OnStep(int id);

private:
    CExtUFDaqProject* m_project;
};
