#include "app/ui/DlgImportHSEAModel.h"

#include "app/ProjectHistory.h"
#include "platform/automation/SOLMOXWrapper.h"
#include "platform/win/PromptService.h"
#include "platform/win/WaitCursor.h"
#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
constexpr const char* kComError = "SOLMOX COM Error!";
}

CDlgImportHSEAModel::CDlgImportHSEAModel(const std::string& projectFile, QWidget* parent)
    : CZuDialog(parent, 4094), m_projectFile(projectFile), m_solmox(std::make_unique<CSOLMOXWrapper>())
{
    setObjectName(QStringLiteral("DlgImportHSEAModel"));
    setWindowTitle(QStringLiteral("Import Model from SOLMOX"));
    auto* file = new QLineEdit(QString::fromStdString(projectFile), this);
    file->setObjectName(QStringLiteral("Project3137"));
    file->setReadOnly(true);
    file->setMinimumWidth(360);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Models3163"));
    m_list->setMinimumHeight(140);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("SOLMOX project:"), this));
    layout->addWidget(file);
    layout->addWidget(new QLabel(QStringLiteral("HSEA model:"), this));
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
}

CDlgImportHSEAModel::~CDlgImportHSEAModel() = default;

bool CDlgImportHSEAModel::Connect()
{
    CWaitCursor wait;
    if (!m_solmox->IsConnected()) {
        if (!m_solmox->Connect(m_projectFile))
            return false;
        m_history = std::make_unique<CProjectHistory>(m_solmox->GetProjectHistory());
    }
    return true;
}

bool CDlgImportHSEAModel::OnInitDialog()
{
    CZuDialog::OnInitDialog();
    m_list->clear();
    if (Connect()) {
        const std::vector<std::string> names = m_solmox->GetHSEAModelNames();
        for (size_t i = 0; i < names.size(); ++i) {
            auto* item = new QListWidgetItem(QString::fromStdString(names[i]), m_list);
            item->setData(Qt::UserRole, static_cast<int>(i));
        }
    }
    return true;
}

bool CDlgImportHSEAModel::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        const QListWidgetItem* item = m_list->currentItem();
        m_selectedName = item && item->isSelected() ? item->text().toStdString() : std::string();
    }
    return true;
}

void CDlgImportHSEAModel::OnOK()
{
    if (!UpdateData(true))
        return;
    CWaitCursor wait;
    bool done = m_solmox->IsConnected() && m_solmox->ExportAnalyticalModel();
    const QListWidgetItem* item = m_list->currentItem();
    if (done && item && item->isSelected())
        done = m_solmox->ExportHSEAModel(item->data(Qt::UserRole).toInt());
    if (!done) {
        AfxMessageBox(kComError);
        return;
    }
    // The data set is not part of every SOLMOX project; the model stands without it.
    m_solmox->ExportDataSet();
    CZuDialog::OnOK();
}

bool CDlgImportHSEAModel::ExportWithoutDialog()
{
    if (!Connect() || !m_solmox->ExportAnalyticalModel()) {
        AfxMessageBox(kComError);
        return false;
    }
    return true;
}

const std::string& CDlgImportHSEAModel::GetAnalyticalModelFile() const
{
    return m_solmox->GetAnalyticalModelFile();
}
const std::string& CDlgImportHSEAModel::GetHSEAModelFile() const
{
    return m_solmox->GetHSEAModelFile();
}
const std::string& CDlgImportHSEAModel::GetDataSetFile() const
{
    return m_solmox->GetDataSetFile();
}

std::unique_ptr<CProjectHistory> CDlgImportHSEAModel::TakeProjectHistory()
{
    return std::move(m_history);
}
