#include "planning/ui/DlgWizExpPlan.h"

#include "planning/ui/DlgDAQPPExpPlanEdit.h"
#include "planning/ui/DlgDAQPPExpPlanList.h"
#include "planning/ui/DlgDAQPPMaxCh.h"
#include "platform/ui/ColorButton.h"

#include <QVBoxLayout>

CDlgWizExpPlan::CDlgWizExpPlan(CExtUFDaqProject* project, QWidget* parent)
    : CZuDlgWizard(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgWizExpPlan"));
    setWindowTitle(QStringLiteral("Channel Plans"));
    UseBackground();
    SetFirstStepId(2001);
    auto* layout = new QVBoxLayout(this);
    const std::pair<int, const char*> steps[] = {
        {2001, "Channels of new plans..."}, {2002, "New channel plan..."}, {2003, "Channel plan list..."}};
    for (const auto& [id, text] : steps) {
        CColorButton* b = AddStepButton(id, QString::fromLatin1(text), kCurrentColor);
        connect(b, &QPushButton::clicked, this, [this, id = id] { OnStep(id); });
        layout->addWidget(b);
    }
    auto* close = new CColorButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->SetColors(RGB(0, 0, 0), kCurrentColor);
    connect(close, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
    layout->addWidget(close);
    resize(300, sizeHint().height());
}

void CDlgWizExpPlan::OnStep(int id)
{
    if (m_project) {
        if (id == 2001) {
            CDlgDAQPPMaxCh dialog(m_project, this);
            dialog.DoModal();
        } else if (id == 2002) {
            OpenDAQPPPlanEditor(m_project, CDlgDAQPPExpPlan::modeNewOwn, nullptr, nullptr);
        } else if (id == 2003) {
            CDlgDAQPPExpPlanList::ShowInstance(m_project, nullptr);
        }
    }
    EndDialog(IDOK);
}
