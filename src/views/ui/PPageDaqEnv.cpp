#include "views/ui/PPageDaqEnv.h"

#include "app/TALVOProject.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

#include <QFormLayout>
#include <QSpinBox>

CPPageDaqEnv::CPPageDaqEnv(CTALVOProject* project) : CZuPropertyPage(kTemplateId, "DAQ"), m_project(project)
{
    setObjectName(QStringLiteral("PPageDaqEnv"));
    m_edit = new QSpinBox(this);
    m_edit->setObjectName(QStringLiteral("c3106"));
    m_edit->setRange(0, kMaxChannels);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Maximum channel number:"), m_edit);
    if (m_project)
        m_nMaxChannel = m_project->GetSystemChannelCount();
}

bool CPPageDaqEnv::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_nMaxChannel = m_edit->value();
    else
        m_edit->setValue(m_nMaxChannel);
    return true;
}

bool CPPageDaqEnv::OnApply()
{
    UpdateData(true);
    const int current = m_project ? m_project->GetSystemChannelCount() : 0;
    if (m_nMaxChannel < current) {
        AfxMessageBox(IDS_MAX_CHANNEL_TOO_SMALL);
        m_nMaxChannel = current;
        UpdateData(false);
        return false;
    }
    return CZuPropertyPage::OnApply();
}

void CPPageDaqEnv::StoreOptions()
{
    if (m_project)
        m_project->SetMaxChannel(m_nMaxChannel);
}
