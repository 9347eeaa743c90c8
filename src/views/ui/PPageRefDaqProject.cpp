#include "views/ui/PPageRefDaqProject.h"

#include <QFormLayout>
#include <QLineEdit>

CPPageRefDaqProject::CPPageRefDaqProject() : CZuPropertyPage(kTemplateId, "DAQ Project")
{
    setObjectName(QStringLiteral("PPageRefDaqProject"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("c3229"));
    m_edit->setReadOnly(true);
    m_edit->setMinimumWidth(240);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Reference DAQ project:"), m_edit);
}

bool CPPageRefDaqProject::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate)
        m_edit->setText(QString::fromStdString(m_strText));
    return true;
}
