#include "app/ui/ModelInformationDlg.h"

#include "platform/ui/SXButton.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CModelInformationDlg::CModelInformationDlg(CASEAModelData* model, QWidget* parent)
    : CZuDialog(parent, 4036), m_model(model)
{
    setObjectName(QStringLiteral("ModelInformationDlg"));
    setWindowTitle(QStringLiteral("Model Information"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Path3173"));
    m_edit->setMinimumWidth(360);
    m_browse = new CSXButton(this);
    m_browse->setObjectName(QStringLiteral("Browse3172"));
    m_browse->setToolTip(QStringLiteral("Browse"));
    if (!m_browse->SetIcon(QStringLiteral(":/icons/open.svg"), 16, 16))
        m_browse->setText(QStringLiteral("..."));
    auto* buttons = CDialogButtons::OkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(m_edit, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
    connect(m_browse, &QPushButton::clicked, this, [this] { Browse(); });

    auto* row = new QHBoxLayout;
    row->addWidget(m_edit, 1);
    row->addWidget(m_browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Vehicle model file:"), this));
    layout->addLayout(row);
    layout->addStretch(1);
    layout->addWidget(buttons);
}

bool CModelInformationDlg::OnInitDialog()
{
    CZuDialog::OnInitDialog();
    UpdateOk();
    return true;
}

bool CModelInformationDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_path = m_edit->text().trimmed().toStdString();
        return !m_path.empty();
    }
    m_edit->setText(QString::fromStdString(m_path));
    return true;
}

bool CModelInformationDlg::IsOkEnabled() const
{
    return m_ok->isEnabled();
}

void CModelInformationDlg::UpdateOk()
{
    m_ok->setEnabled(!m_edit->text().trimmed().isEmpty());
}

void CModelInformationDlg::Browse()
{
    FileChooserOptions options;
    options.filter = LoadString(IDS_MODEL_FILE_FILTER);
    options.title = LoadString(IDS_MODEL_FILE_TITLE);
    options.initialName = m_edit->text().toStdString();
    std::string path;
    if (PromptOpenFile(options, path))
        m_edit->setText(QString::fromStdString(path));
    UpdateOk();
}
