#include "planning/ui/DlgWizSensorAssign.h"

#include "planning/ui/DlgAssignSensors.h"

CDlgWizSensorAssign::CDlgWizSensorAssign(CTALVOProject* container, QWidget* parent)
    : CZuDlgWizard(parent, kTemplateId), m_container(container)
{
    setObjectName(QStringLiteral("DlgWizSensorAssign"));
    setWindowTitle(QStringLiteral("Sensor Assignment"));
    UseBackground();
    SetFirstStepId(2001);
    BuildStepColumn({{2001, "Load local-point file..."}, {2002, "Assign sensors..."}}, [this](int id) { OnStep(id); });
}

void CDlgWizSensorAssign::OnStep(int id)
{
    CDlgAssignSensors dialog(m_container, this);
    if (id != 2001 || dialog.LoadFile())
        dialog.DoModal();
    EndDialog(IDOK);
}
