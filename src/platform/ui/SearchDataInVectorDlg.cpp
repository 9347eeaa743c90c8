#include "platform/ui/SearchDataInVectorDlg.h"

#include "platform/ui/UiTextTranslator.h"

#include "platform/elements/ZuVecFunc.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace {}

CSearchDataInVectorDlg::CSearchDataInVectorDlg(CZuVecFunc* vector, QWidget* parent)
    : CZuDialog(parent, IDD), m_vector(vector), m_combo(new QComboBox(this))
{
    setWindowTitle(tr("Find Cell"));
    m_combo->setProperty(CUiTextTranslator::kDataTexts, true); // subsystem names
    m_combo->setMinimumContentsLength(24);
    auto* form = new QFormLayout;
    form->addRow(tr("Subsystem:"), m_combo);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

bool CSearchDataInVectorDlg::OnInitDialog()
{
    m_combo->clear();
    for (int i = 0; m_vector && i < m_vector->GetSubsystemCount(); ++i)
        m_combo->addItem(QString::fromStdString(m_vector->GetSubsystem(i)));
    m_combo->setCurrentIndex(-1);
    return CZuDialog::OnInitDialog();
}

bool CSearchDataInVectorDlg::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate)
        return true;
    if (m_combo->currentIndex() < 0) {
        AfxMessageBox(IDS_CHOOSE_SUBSYSTEM, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_name = m_combo->currentText().toStdString();
    return true;
}
