#include "planning/ui/DlgDAQPPMaxCh.h"

#include "platform/ui/DialogButtons.h"

#include "app/TALVOProject.h"
#include "models/HSEARegOptions.h"
#include "planning/ui/PlanDialogServices.h"
#include "uff/ExtUFDaqProject.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

CDlgDAQPPMaxCh::CDlgDAQPPMaxCh(CExtUFDaqProject* project, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgDAQPPMaxCh"));
    setWindowTitle(QStringLiteral("Channels of New Plans"));
    m_count = new QSpinBox(this);
    m_count->setObjectName(QStringLiteral("Edit%1").arg(IDC_COUNT));
    // A plan needs a channel; the spin box refuses anything else.
    m_count->setRange(1, kMaxChannels);
    m_count->setMinimumWidth(100);
    m_default = new QCheckBox(QStringLiteral("Save as default"), this);
    m_default->setObjectName(QStringLiteral("Check%1").arg(IDC_DEFAULT));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Maximum channels:"), m_count);
    form->addRow(QString(), m_default);
    auto* box = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
}

bool CDlgDAQPPMaxCh::OnInitDialog()
{
    m_count->setValue(m_project ? m_project->GetPlanMaxChannel() : 1);
    return CZuDialog::OnInitDialog();
}

void CDlgDAQPPMaxCh::OnOK()
{
    if (m_project) {
        m_project->SetPlanMaxChannel(m_count->value());
        if (CTALVOProject* owner = m_project->GetOwner())
            MarkProjectModified(*owner);
        if (m_default->isChecked())
            CHSEARegOptions::SaveMaxChannel(static_cast<uint32_t>(m_count->value()));
    }
    CZuDialog::OnOK();
}
