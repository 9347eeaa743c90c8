#include "experiments/ui/DlgSensorGroup.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "experiments/SensorProject.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

namespace {}

CDlgSensorGroup::CDlgSensorGroup(CSensorProject* project, CSensorGroup* group, QWidget* parent)
    : CZuDialog(parent, 4073), m_project(project), m_group(group)
{
    setObjectName(QStringLiteral("DlgSensorGroup"));
    setWindowTitle(QStringLiteral("Sensor Group"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Bundles"));
    m_list->setMinimumSize(240, 220);
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

bool CDlgSensorGroup::OnInitDialog()
{
    m_list->clear();
    for (int i = 0; m_project && i < m_project->GetBundleCount(); ++i) {
        const CSensorBundle* bundle = m_project->GetBundle(i);
        auto* item = new QListWidgetItem(QString::fromStdString(Format("Bundle %d", i + 1)), m_list);
        item->setToolTip(QString::fromStdString(bundle->GetID()));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(m_group && m_group->UsesBundle(bundle->GetNumber()) ? Qt::Checked : Qt::Unchecked);
    }
    return CZuDialog::OnInitDialog();
}

void CDlgSensorGroup::OnOK()
{
    if (AfxMessageBox(IDS_CLEAR_GROUP, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (m_group && m_project) {
        m_group->Clear();
        int channel = 0;
        bool full = false;
        for (int i = 0; !full && i < m_list->count(); ++i) {
            if (m_list->item(i)->checkState() != Qt::Checked)
                continue;
            const CSensorBundle* bundle = m_project->GetBundle(i);
            for (int s = 0; bundle && s < bundle->GetCount(); ++s) {
                tagSENSORGROUPMEMBER member;
                member.text = bundle->GetSensorID(s);
                member.bundle = bundle->GetNumber();
                member.slot = s;
                member.channel = channel++;
                // A full group says so once; the remaining bundles would only repeat it.
                if (!m_group->SetMember(member, m_project->GetChannelCount(), &*CStatusBarFallback(nullptr))) {
                    full = true;
                    break;
                }
            }
        }
    }
    EndDialog(IDOK);
}
