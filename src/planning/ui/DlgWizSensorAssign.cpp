#include "planning/ui/DlgWizSensorAssign.h"

#include "planning/ui/DlgAssignSensors.h"
#include "platform/ui/ColorButton.h"

#include <QVBoxLayout>

CDlgWizSensorAssign::CDlgWizSensorAssign(CTALVOProject* container, QWidget* parent)
    : CZuDlgWizard(parent, kTemplateId), m_container(container)
{
    setObjectName(QStringLiteral("DlgWizSensorAssign"));
    setWindowTitle(QStringLiteral("Sensor Assignment"));
    UseBackground();
    SetFirstStepId(2001);
    auto* layout = new QVBoxLayout(this);
    const std::pair<int, const char*> steps[] = {{2001, "Load local-point file..."}, {2002, "Assign sensors..."}};
    for (const auto& [id, text] : steps) {
        CColorButton* b = AddStepButton(id, QString::fromLatin1(text), kAvailableColor);
        connect(b, &QPushButton::clicked, this, [this, id = id] { OnStep(id); });
        layout->addWidget(b);
    }
    auto* close = new CColorButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->SetColors(RGB(0, 0, 0), kAvailableColor);
    connect(close, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
    layout->addWidget(close);
    resize(300, sizeHint().height());
}

void CDlgWizSensorAssign::OnStep(int id)
{
    CDlgAssignSensors dialog(m_container, this);
    if (id != 2001 || dialog.LoadFile())
        dialog.DoModal();
    EndDialog(IDOK);
}
