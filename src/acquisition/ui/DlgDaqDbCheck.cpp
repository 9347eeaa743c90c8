#include "acquisition/ui/DlgDaqDbCheck.h"

#include "acquisition/DaqDbCheckRpms.h"
#include "app/DaqProject.h"
#include "app/ExpDataChecker.h"
#include "app/TALVOApp.h"
#include "app/TALVOProject.h"
#include "platform/automation/PLOVAWrapper.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/SXButton.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringIds.h"
#include "platform/win/WaitCursor.h"
#include "platform/ui/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>
#include <filesystem>

namespace {

CDlgDaqDbCheck::MappingEditor& EditorSlot()
{
    static CDlgDaqDbCheck::MappingEditor editor;
    return editor;
}

double Number(const std::string& text)
{
    return std::strtod(text.c_str(), nullptr);
}

} // namespace

void CDlgDaqDbCheck::SetMappingEditor(MappingEditor editor)
{
    EditorSlot() = std::move(editor);
}

bool CDlgDaqDbCheck::HasMappingEditor()
{
    return static_cast<bool>(EditorSlot());
}

CDlgDaqDbCheck::CDlgDaqDbCheck(CDaqProject* project, QWidget* parent) : CZuDialog(parent, IDD), m_project(project)
{
    setObjectName(QStringLiteral("DlgDaqDbCheck"));
    setWindowTitle(QStringLiteral("Experimental Database Check"));
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("Control%1").arg(IDC_PATH));
    m_path->setMinimumWidth(320);
    m_browse = new CSXButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("Control%1").arg(IDC_BROWSE));
    m_browse->setFixedWidth(36);
    m_rpm = new QComboBox(this);
    m_rpm->setObjectName(QStringLiteral("Control%1").arg(IDC_RPM));
    m_rpm->setEditable(true);
    m_rpm->setMinimumWidth(120);
    m_useSecond = new QCheckBox(tr("Second value:"), this);
    m_useSecond->setObjectName(QStringLiteral("Control%1").arg(IDC_USE_SECOND));
    m_second = new QLineEdit(this);
    m_second->setObjectName(QStringLiteral("Control%1").arg(IDC_SECOND));
    m_second->setMinimumWidth(120);
    m_mappingButton = new QPushButton(tr("Subsystem Mapping..."), this);
    m_mappingButton->setObjectName(QStringLiteral("Control%1").arg(IDC_MAPPING));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Database file:"), this), 0, 0);
    grid->addWidget(m_path, 0, 1);
    grid->addWidget(m_browse, 0, 2);
    grid->addWidget(new QLabel(tr("Check RPM:"), this), 1, 0);
    grid->addWidget(m_rpm, 1, 1, Qt::AlignLeft);
    grid->addWidget(m_useSecond, 2, 0);
    grid->addWidget(m_second, 2, 1, Qt::AlignLeft);
    grid->addWidget(m_mappingButton, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(buttons);
    connect(m_browse, &QPushButton::clicked, this, &CDlgDaqDbCheck::OnBrowse);
    connect(m_mappingButton, &QPushButton::clicked, this, &CDlgDaqDbCheck::OnMapping);
}

bool CDlgDaqDbCheck::OnInitDialog()
{
    if (m_project) {
        m_strPath = m_project->GetExtraText();
        m_strRpm = Format("%g", m_project->GetExtraValue(0));
        m_strSecond = Format("%g", m_project->GetExtraValue(1));
        m_mapping = m_project->GetExtraList();
        m_bSecond = m_project->GetExtraValue(1) != 0.0 ? 1 : 0;
    }
    m_mappingButton->setEnabled(static_cast<bool>(EditorSlot()));
    CZuDialog::OnInitDialog();
    FillRpmChoices();
    return true;
}

void CDlgDaqDbCheck::FillRpmChoices()
{
    m_rpm->clear();
    const CDAQConfig* config = m_project ? m_project->GetDAQConfig() : nullptr;
    m_runUp = !config || CDaqDbCheckRpms::IsRunUp(*config);
    std::vector<int> rpms;
    if (config && !CDaqDbCheckRpms::Make(*config, rpms))
        AfxMessageBox(IDS_RPM_STEP_NOT_POSITIVE, MB_OK | MB_ICONEXCLAMATION);
    for (int rpm : rpms)
        m_rpm->addItem(QString::fromStdString(Format("%d", rpm)));
    m_useSecond->setEnabled(m_runUp);
    m_second->setEnabled(m_runUp);
    const int at = m_rpm->findText(QString::fromStdString(m_strRpm), Qt::MatchExactly);
    m_rpm->setCurrentIndex(at >= 0 ? at : (m_rpm->count() > 0 ? 0 : -1));
}

bool CDlgDaqDbCheck::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_strPath = m_path->text().trimmed().toStdString();
        m_strRpm = m_rpm->currentText().trimmed().toStdString();
        m_strSecond = m_second->text().trimmed().toStdString();
        m_bSecond = m_useSecond->isChecked() ? 1 : 0;
        return true;
    }
    m_path->setText(QString::fromStdString(m_strPath));
    m_rpm->setEditText(QString::fromStdString(m_strRpm));
    m_second->setText(QString::fromStdString(m_strSecond));
    m_useSecond->setChecked(m_bSecond != 0);
    return true;
}

bool CDlgDaqDbCheck::LoadDatabase(const std::string& path)
{
    CWaitCursor wait;
    CPLOVAWrapper* plova = GetTALVOApp().RunPlovaDataChecker(path, &*CStatusBarFallback(nullptr));
    if (!plova)
        return false; // already shown
    m_mapping.clear();
    const CTALVOProject* container = m_project ? m_project->GetOwner() : nullptr;
    const CZuSubsystemTable* table = container ? container->GetModelSubsystemTable() : nullptr;
    try {
        for (int i = 0; table && i < table->GetCount(); ++i)
            m_mapping.push_back(plova->SearchCommonNameIndex((*table)[i]));
    } catch (const std::exception& e) {
        // PLOVA did not answer in time or failed: the database is not taken.
        m_mapping.clear();
        GetTALVOApp().ReleasePlovaDataChecker();
        AfxMessageBox(Format("Failed to run PLOVA.\n%s", e.what()), MB_ICONEXCLAMATION);
        return false;
    }
    GetTALVOApp().ReleasePlovaDataChecker();
    m_strPath = path;
    m_path->setText(QString::fromStdString(path));
    return true;
}

void CDlgDaqDbCheck::OnBrowse()
{
    FileChooserOptions options;
    options.title = kBrowseTitle;
    options.filter = kBrowseFilter;
    options.initialName = m_path->text().toStdString();
    std::string path;
    if (!PromptOpenFile(options, path))
        return;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return;
    if (path != m_path->text().toStdString())
        LoadDatabase(path);
}

void CDlgDaqDbCheck::OnMapping()
{
    if (!EditorSlot() || !m_project)
        return;
    std::vector<int32_t> mapping = m_mapping;
    if (EditorSlot()(this, *m_project, m_path->text().toStdString(), mapping))
        m_mapping = std::move(mapping);
}

void CDlgDaqDbCheck::OnOK()
{
    if (!UpdateData(true) || !m_project)
        return;
    std::error_code ec;
    if (m_strPath.empty() || !std::filesystem::is_regular_file(m_strPath, ec)) {
        AfxFormatMessageBox(IDS_NO_FILE, MB_OK | MB_ICONEXCLAMATION, m_strPath.c_str());
        return;
    }
    m_project->SetExtraText(m_strPath);
    m_project->SetExtraValue(0, Number(m_strRpm));
    m_project->GetExtraList() = m_mapping;
    m_project->SetExtraValue(1, m_runUp && m_bSecond ? Number(m_strSecond) : 0.0);
    m_project->SetModified();
    CExpDataChecker checker;
    CStatusBarFeedback progress;
    checker.SetFeedback(&progress);
    AfxMessageBox(checker.Run(m_project) ? IDS_FINISHED : IDS_OPERATION_FAILED, MB_OK | MB_ICONINFORMATION);
    EndDialog(IDOK);
}
