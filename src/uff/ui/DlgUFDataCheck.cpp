#include "uff/ui/DlgUFDataCheck.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <ctime>

#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/DialogButtons.h"
#include "uff/UFDaqData.h"

namespace {
constexpr int kGroupRole = Qt::UserRole;
constexpr int kPointRole = Qt::UserRole + 1;

std::string LocalTime(int seconds, const char* format)
{
    const std::time_t t = seconds;
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[64];
    return std::strftime(text, sizeof text, format, &tm) ? std::string(text) : std::string();
}
} // namespace

CDlgUFDataCheck::CDlgUFDataCheck(CUFDataCheckInput& input, QWidget* parent) : CZuDialog(parent, IDD), m_input(input)
{
    setObjectName(QStringLiteral("DlgUFDataCheck"));
    setWindowTitle(tr("Universal File Data"));
    m_sets = new QTreeWidget(this);
    m_sets->setObjectName(QStringLiteral("c%1").arg(IDC_SETS));
    m_sets->setHeaderLabels({tr("Subsystem"), tr("SN-LP")});
    m_sets->setColumnWidth(0, 150);
    m_sets->setColumnWidth(1, 50);
    m_sets->setRootIsDecorated(false);
    m_sets->setAllColumnsShowFocus(true);
    m_sets->setMinimumSize(220, 220);
    m_points = new QTreeWidget(this);
    m_points->setObjectName(QStringLiteral("c%1").arg(IDC_POINTS));
    m_points->setHeaderLabels({tr("Subsystem - LP#"), tr("Date"), tr("Time")});
    m_points->setColumnWidth(0, 200);
    m_points->setColumnWidth(1, 80);
    m_points->setColumnWidth(2, 80);
    m_points->setRootIsDecorated(false);
    m_points->setAllColumnsShowFocus(true);
    m_points->setMinimumSize(380, 220);
    m_clear = new QCheckBox(tr("Remove all earlier experiments of the project"), this);
    m_clear->setObjectName(QStringLiteral("c%1").arg(IDC_CLEAR));
    auto* buttons = CDialogButtons::OkCancel(this);
    auto* lists = new QHBoxLayout;
    lists->addWidget(m_sets);
    lists->addWidget(m_points, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(m_clear);
    layout->addWidget(buttons);
    connect(m_sets, &QTreeWidget::itemSelectionChanged, this, [this] { OnSetSelected(); });
    connect(m_points, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item, int column) { OnPointChanged(item, column); });
}

std::vector<CUFDaqData*> CDlgUFDataCheck::GroupsOf(const std::string& subsystem) const
{
    std::vector<CUFDaqData*> groups;
    for (CUFDaqData* g : m_input.groups)
        if (g->GetName() == subsystem)
            groups.push_back(g);
    return groups;
}

bool CDlgUFDataCheck::OnInitDialog()
{
    CZuDialog::OnInitDialog();
    m_sets->clear();
    const int count = m_input.subsystems ? m_input.subsystems->GetCount() : 0;
    for (int s = 0; s < count; ++s) {
        const std::string name = (*m_input.subsystems)[s];
        const std::vector<CUFDaqData*> groups = GroupsOf(name);
        for (size_t i = 0; i < groups.size(); ++i) {
            if (groups[i]->GetPointCount() == 0)
                continue;
            auto* item = new QTreeWidgetItem(m_sets);
            item->setText(0, QString::fromStdString(name));
            item->setText(
                1, QString::fromStdString(Format("%02d-%d", static_cast<int>(i) + 1, groups[i]->GetPointCount())));
            item->setData(0, kGroupRole, QVariant::fromValue<void*>(groups[i]));
        }
    }
    if (m_sets->topLevelItemCount() > 0)
        m_sets->setCurrentItem(m_sets->topLevelItem(0));
    return true;
}

bool CDlgUFDataCheck::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_input.clearFlag = m_clear->isChecked() ? 1 : 0;
    else
        m_clear->setChecked(m_input.clearFlag != 0);
    return true;
}

void CDlgUFDataCheck::OnSetSelected()
{
    const QList<QTreeWidgetItem*> selected = m_sets->selectedItems();
    m_filling = true;
    m_points->clear();
    if (!selected.isEmpty()) {
        auto* group = static_cast<CUFDaqData*>(selected.front()->data(0, kGroupRole).value<void*>());
        for (int p = 0; group && p < group->GetPointCount(); ++p) {
            auto* item = new QTreeWidgetItem(m_points);
            item->setText(0, QString::fromStdString(
                                 Format("%s - LP#%d", group->GetName().c_str(), group->GetPointNumber(p) + 1)));
            item->setText(1, QString::fromStdString(LocalTime(group->GetTimeKey(), "%m/%d/%Y")));
            item->setText(2, QString::fromStdString(LocalTime(group->GetTimeKey(), "%H:%M:%S")));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, group->GetPointFlag(p) ? Qt::Checked : Qt::Unchecked);
            item->setData(0, kGroupRole, QVariant::fromValue<void*>(group));
            item->setData(0, kPointRole, p);
        }
    }
    m_filling = false;
}

void CDlgUFDataCheck::OnPointChanged(QTreeWidgetItem* item, int column)
{
    if (m_filling || column != 0 || !item)
        return;
    auto* group = static_cast<CUFDaqData*>(item->data(0, kGroupRole).value<void*>());
    const int p = item->data(0, kPointRole).toInt();
    if (group && p >= 0 && p < group->GetPointCount())
        group->SetPointFlag(p, item->checkState(0) == Qt::Checked ? 1 : 0);
}
