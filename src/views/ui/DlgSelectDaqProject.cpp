#include "views/ui/DlgSelectDaqProject.h"

#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

CDlgSelectDaqProject::CDlgSelectDaqProject(QWidget* parent) : CZuDialog(parent, kTemplateId)
{
    setObjectName(QStringLiteral("DlgSelectDaqProject"));
    setWindowTitle(tr("DAQ Project"));
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("c3063"));
    m_combo->setMinimumWidth(240);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* form = new QFormLayout;
    form->addRow(tr("DAQ project:"), m_combo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

bool CDlgSelectDaqProject::OnInitDialog()
{
    m_combo->clear();
    if (m_pCandidates)
        for (int i = 0; i < m_pCandidates->GetSize(); ++i)
            if (CMElement* e = (*m_pCandidates)[i])
                m_combo->addItem(QString::fromStdString(e->GetName()), QVariant::fromValue(static_cast<void*>(e)));
    m_combo->addItem(QString::fromStdString(LoadString(IDS_NONE)), QVariant::fromValue(static_cast<void*>(nullptr)));
    m_combo->setCurrentIndex(0);
    return CZuDialog::OnInitDialog();
}

void CDlgSelectDaqProject::OnOK()
{
    const int i = m_combo->currentIndex();
    m_pSelected = i >= 0 ? static_cast<CMElement*>(m_combo->itemData(i).value<void*>()) : nullptr;
    CZuDialog::OnOK();
}

void CDlgSelectDaqProject::OnCancel()
{
    m_pSelected = nullptr;
    CZuDialog::OnCancel();
}
