#include "platform/ui/SearchDataInMatrixDlg.h"

#include "platform/ui/UiTextTranslator.h"

#include "platform/elements/ZuMatFunc.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace {}

CSearchDataInMatrixDlg::CSearchDataInMatrixDlg(CZuMatFunc* matrix, QWidget* parent)
    : CZuDialog(parent, IDD), m_matrix(matrix), m_row(new QComboBox(this)), m_col(new QComboBox(this))
{
    setWindowTitle(tr("Find Cell"));
    // Subsystem names, as the user gave them.
    for (QComboBox* names : {m_row, m_col})
        names->setProperty(CUiTextTranslator::kDataTexts, true);
    m_row->setMinimumContentsLength(24);
    m_col->setMinimumContentsLength(24);
    auto* form = new QFormLayout;
    form->addRow(tr("Row subsystem:"), m_row);
    form->addRow(tr("Column subsystem:"), m_col);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

bool CSearchDataInMatrixDlg::OnInitDialog()
{
    m_row->clear();
    m_col->clear();
    // Square matrices: the row and column subsystems are listed side by side.
    for (int i = 0; m_matrix && i < m_matrix->GetRowSubsystemCount(); ++i) {
        m_row->addItem(QString::fromStdString(m_matrix->GetRowSubsystem(i)));
        m_col->addItem(QString::fromStdString(m_matrix->GetColSubsystem(i)));
    }
    m_row->setCurrentIndex(-1);
    m_col->setCurrentIndex(-1);
    return CZuDialog::OnInitDialog();
}

bool CSearchDataInMatrixDlg::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate)
        return true;
    if (m_row->currentIndex() < 0 || m_col->currentIndex() < 0) {
        AfxMessageBox(IDS_CHOOSE_SUBSYSTEM, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_rowName = m_row->currentText().toStdString();
    m_colName = m_col->currentText().toStdString();
    return true;
}
