#include "experiments/ui/DlgBlixBundleName.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "experiments/SensorProject.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

namespace {

std::string Trim(const std::string& s)
{
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos)
        return std::string();
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}
} // namespace

CDlgBlixBundleName::CDlgBlixBundleName(CSensorProject* project, QWidget* parent)
    : CZuDialog(parent, 4020), m_project(project)
{
    setObjectName(QStringLiteral("DlgBlixBundleName"));
    setWindowTitle(QStringLiteral("Bundle ID"));
    m_numberEdit = new QLineEdit(this);
    m_numberEdit->setObjectName(QStringLiteral("Number3122"));
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("Name3126"));
    m_nameEdit->setMinimumWidth(200);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Number:"), m_numberEdit);
    form->addRow(QStringLiteral("Name:"), m_nameEdit);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

std::string CDlgBlixBundleName::GetBundleID() const
{
    return CSensorBundle::ComposeBundleID(m_number, m_name);
}

bool CDlgBlixBundleName::DoDataExchange(bool save)
{
    if (save) {
        m_number = m_numberEdit->text().toStdString();
        m_name = m_nameEdit->text().toStdString();
    } else {
        m_numberEdit->setText(QString::fromStdString(m_number));
        m_nameEdit->setText(QString::fromStdString(m_name));
    }
    return true;
}

void CDlgBlixBundleName::OnOK()
{
    DoDataExchange(true);
    m_number = Trim(m_number);
    m_name = Trim(m_name);
    if (m_number.find_first_not_of("0123456789.") != std::string::npos) {
        AfxFormatMessageBox(IDS_BAD_NUMBER, MB_OK, m_number.c_str());
        return;
    }
    if (m_name.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") !=
        std::string::npos) {
        AfxFormatMessageBox(IDS_NAME_LETTERS_DIGITS, MB_OK, m_name.c_str());
        return;
    }
    const std::string id = GetBundleID();
    if (m_project && m_project->FindBundleByID(id)) {
        AfxFormatMessageBox(IDS_BUNDLE_EXISTS, MB_OK, id.c_str());
        return;
    }
    EndDialog(IDOK);
}
