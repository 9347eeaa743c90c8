#include "app/ui/DlgNewProject.h"

#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

bool BrowseForFolder(std::string& result, const std::string& title, const std::string& preselect)
{
    std::string folder;
    if (!PromptFolder(title, preselect, folder)) {
        result.clear();
        return false;
    }
    if (folder.empty())
        return false;
    result = folder;
    return true;
}

CDlgNewProject::CDlgNewProject(QWidget* parent) : CZuDialog(parent, 4037)
{
    setObjectName(QStringLiteral("DlgNewProject"));
    setWindowTitle(QStringLiteral("New Project"));
    m_folderEdit = new QLineEdit(this);
    m_folderEdit->setObjectName(QStringLiteral("Folder3112"));
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("Name3113"));
    m_browse = new QToolButton(this);
    m_browse->setObjectName(QStringLiteral("Browse3018"));
    m_browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_browse->setIconSize(QSize(16, 16));
    connect(m_browse, &QToolButton::clicked, this, &CDlgNewProject::OnBrowse);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folderEdit, 1);
    folderRow->addWidget(m_browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Folder:"), folderRow);
    form->addRow(QStringLiteral("Project name:"), m_nameEdit);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());
}

void CDlgNewProject::OnBrowse()
{
    std::string folder;
    if (BrowseForFolder(folder, LoadString(IDS_BROWSE_TITLE))) {
        m_folderEdit->setText(QString::fromStdString(folder));
        m_folder = folder;
    }
}

bool CDlgNewProject::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_folder = m_folderEdit->text().toStdString();
        m_name = m_nameEdit->text().toStdString();
    } else {
        m_folderEdit->setText(QString::fromStdString(m_folder));
        m_nameEdit->setText(QString::fromStdString(m_name));
    }
    return true;
}

bool CDlgNewProject::IsValidProjectName(const std::string& name)
{
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

std::string CDlgNewProject::MakeProjectFilePath(const std::string& folder, const std::string& name)
{
    std::string f = folder;
    while (f.size() > 1 && (f.back() == '/' || f.back() == '\\'))
        f.pop_back();
    return Format("%s/%s/%s.orv", f.c_str(), name.c_str(), name.c_str());
}

std::string CDlgNewProject::GetProjectFilePath() const
{
    return MakeProjectFilePath(m_folder, m_name);
}

void CDlgNewProject::OnOK()
{
    UpdateData(true);
    if (m_name.empty()) {
        AfxMessageBox(IDS_ENTER_PROJECT_NAME, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (m_folder.empty()) {
        AfxMessageBox(IDS_FOLDER_EMPTY, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // A name is also a folder and a file name: no separators, and not "." or "..", which would
    // climb out of the chosen folder.
    if (!IsValidProjectName(m_name) || m_name == "." || m_name == "..") {
        AfxMessageBox(IDS_NAME_INVALID, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::error_code ec;
    if (std::filesystem::exists(GetProjectFilePath(), ec)) {
        AfxFormatMessageBox(IDS_PROJECT_EXISTS, MB_OK | MB_ICONEXCLAMATION, m_folder.c_str());
        return;
    }
    EndDialog(IDOK);
}

void CDlgNewProject::OnCancel()
{
    m_folder.clear();
    m_name.clear();
    EndDialog(IDCANCEL);
}
