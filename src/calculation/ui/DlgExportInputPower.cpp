#include "calculation/ui/DlgExportInputPower.h"

#include "platform/ui/UiTextTranslator.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AnalysisProject.h"
#include "app/InputPowerExport.h"
#include "calculation/ui/DlgExportInputPowerForOT.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"

namespace {
const char* const kExportFilter = "Export Input Power (*.xlsx;*.txt)|*.xlsx;*.txt||";
const char* const kExportFailed = "Faild to export the Input power data.";

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}
} // namespace

CDlgExportInputPower::CDlgExportInputPower(CAnalysisProject* project, QWidget* parent)
    : CDlgExportInputPower(project, parent, IDD, false)
{}

CDlgExportInputPower::CDlgExportInputPower(CAnalysisProject* project, QWidget* parent, int templateId, bool byOrder)
    : CZuDialog(parent, templateId), m_project(project)
{
    setWindowTitle(tr("Export Input Power Data"));
    auto* layout = new QVBoxLayout(this);

    auto* form = new QFormLayout;
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName("name");
    m_nameEdit->setMinimumWidth(280);
    form->addRow(tr("Name:"), m_nameEdit);
    m_keyCombo = new QComboBox(this);
    m_keyCombo->setProperty(CUiTextTranslator::kDataTexts, true); // RPMs or orders as the data name them
    m_keyCombo->setObjectName("key");
    m_keyCombo->setMinimumWidth(120);
    form->addRow(byOrder ? tr("Order:") : tr("RPM:"), m_keyCombo);
    auto* pathRow = new QHBoxLayout;
    m_pathEdit = new QLineEdit(this);
    m_pathEdit->setObjectName("path");
    m_pathEdit->setMinimumWidth(280);
    pathRow->addWidget(m_pathEdit, 1);
    m_browse = new QToolButton(this);
    m_browse->setObjectName("browse");
    m_browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_browse->setIconSize(QSize(16, 16));
    m_browse->setToolTip(tr("Browse"));
    pathRow->addWidget(m_browse);
    form->addRow(tr("File:"), pathRow);
    layout->addLayout(form);

    auto* kindBox = new QGroupBox(tr("Data"), this);
    auto* kindLayout = new QVBoxLayout(kindBox);
    m_kinds = new QButtonGroup(this);
    const QString kindNames[] = {tr("Input powers"), tr("Input energies"),
                                 tr("Input-power values (velocity, pressure)")};
    for (int k = 0; k < 3; ++k) {
        auto* radio = new QRadioButton(kindNames[k], kindBox);
        radio->setObjectName(QString("kind%1").arg(k));
        m_kinds->addButton(radio, k);
        kindLayout->addWidget(radio);
    }
    layout->addWidget(kindBox);
    m_extra = new QVBoxLayout;
    layout->addLayout(m_extra);
    layout->addStretch(1);

    auto* buttons = CDialogButtons::OkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(m_browse, &QToolButton::clicked, this, [this] { OnBrowse(); });

    if (m_project)
        m_name = m_project->GetName();
}

CDlgExportInputPower::~CDlgExportInputPower() = default;

int CDlgExportInputPower::RunFor(CAnalysisProject* project, QWidget* parent)
{
    if (!project)
        return IDCANCEL;
    if (project->GetProjectType() == CAnalysisProject::typeOrder) {
        CDlgExportInputPowerForOT dialog(project, parent);
        return dialog.DoModal();
    }
    CDlgExportInputPower dialog(project, parent);
    return dialog.DoModal();
}

QRadioButton* CDlgExportInputPower::KindButton(int kind) const
{
    return qobject_cast<QRadioButton*>(m_kinds->button(kind));
}

bool CDlgExportInputPower::OnInitDialog()
{
    m_keyCombo->clear();
    if (m_project)
        for (const std::string& key : CInputPowerExport::KeyTexts(*m_project))
            m_keyCombo->addItem(Q(key));
    if (m_keyCombo->count() > 0) {
        m_keyCombo->setCurrentIndex(0);
        m_keyText = m_keyCombo->currentText().toStdString();
    }
    const bool hasKey = m_keyCombo->count() > 0;
    m_ok->setEnabled(hasKey);
    m_pathEdit->setEnabled(hasKey);
    m_browse->setEnabled(hasKey);
    const CInputPowerExport exporter(m_project);
    for (int k = 0; k < 3; ++k)
        KindButton(k)->setEnabled(exporter.HasDataOf(k));
    return CZuDialog::OnInitDialog();
}

bool CDlgExportInputPower::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_path = m_pathEdit->text().toStdString();
        m_name = m_nameEdit->text().toStdString();
        m_keyText = m_keyCombo->currentText().toStdString();
        m_kind = m_kinds->checkedId();
        return true;
    }
    m_pathEdit->setText(Q(m_path));
    m_nameEdit->setText(Q(m_name));
    if (const int i = m_keyCombo->findText(Q(m_keyText)); i >= 0)
        m_keyCombo->setCurrentIndex(i);
    if (QAbstractButton* radio = m_kinds->button(m_kind)) {
        radio->setChecked(true);
    } else if (QAbstractButton* checked = m_kinds->checkedButton()) {
        // No kind: every radio off.
        m_kinds->setExclusive(false);
        checked->setChecked(false);
        m_kinds->setExclusive(true);
    }
    return true;
}

void CDlgExportInputPower::OnBrowse()
{
    if (!UpdateData(true))
        return;
    const int type = m_project ? m_project->GetProjectType() : 0;
    FileChooserOptions options;
    options.title = LoadString(IDS_EXPORT_INPUT_POWER_TITLE);
    options.filter = kExportFilter;
    options.defaultExt = "xlsx";
    options.initialName = CInputPowerExport::DefaultFileName(type, m_kind, m_name, m_keyText);
    std::string path;
    if (!PromptSaveFile(options, path))
        return;
    m_path = path;
    UpdateData(false);
}

void CDlgExportInputPower::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_path.empty() || m_keyText.empty())
        return;
    CInputPowerExport exporter(m_project);
    ApplyBandList(exporter);
    const int result = exporter.Export(m_path, m_kind, m_keyText, &*CStatusBarFallback(nullptr));
    if (result == CInputPowerExport::resultDone) {
        EndDialog(IDOK);
        return;
    }
    if (result == CInputPowerExport::resultFailed)
        AfxMessageBox(kExportFailed, MB_OK | MB_ICONEXCLAMATION);
}
