#include "planning/ui/DlgExpPlanAddSubsystem.h"

#include "app/TALVOProject.h"
#include "planning/ExpPlan.h"
#include "planning/QMXSensorMap.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

CDlgExpPlanAddSubsystem::CDlgExpPlanAddSubsystem(CTALVOProject* project, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgExpPlanAddSubsystem"));
    setWindowTitle(QStringLiteral("Add Subsystems"));

    m_showAll = new QCheckBox(QStringLiteral("Show all subsystems"), this);
    m_showAll->setObjectName(QStringLiteral("Check3049"));
    connect(m_showAll, &QCheckBox::clicked, this, [this] { FillList(); });
    m_tickAll = new QCheckBox(QStringLiteral("Tick all"), this);
    m_tickAll->setObjectName(QStringLiteral("Check3046"));
    connect(m_tickAll, &QCheckBox::clicked, this, [this](bool on) { OnTickAll(on); });

    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName(QStringLiteral("List3164"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Subsystem"), QStringLiteral("Sensors")});
    m_list->setColumnWidth(0, 200);
    m_list->setColumnWidth(1, 60);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->verticalHeader()->hide();
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setMinimumSize(300, 280);
    connect(m_list, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling && item->column() == 0)
            Count();
    });

    m_channelText = new QLabel(this);
    m_channelText->setObjectName(QStringLiteral("Text2071"));
    m_channelText->setMinimumWidth(60);
    m_unitText = new QLabel(this);
    m_unitText->setObjectName(QStringLiteral("Text2072"));
    m_unitText->setMinimumWidth(60);
    m_unitLabel = new QLabel(QStringLiteral("Units:"), this);
    m_unitLabel->setObjectName(QStringLiteral("Label2073"));

    auto* buttons = CDialogButtons::OkCancel(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_showAll, 0, 0, 1, 2);
    layout->addWidget(m_tickAll, 0, 2, 1, 2);
    layout->addWidget(m_list, 1, 0, 1, 4);
    layout->addWidget(new QLabel(QStringLiteral("Channels:"), this), 2, 0);
    layout->addWidget(m_channelText, 2, 1);
    layout->addWidget(m_unitLabel, 2, 2);
    layout->addWidget(m_unitText, 2, 3);
    layout->addWidget(buttons, 3, 0, 1, 4);
    layout->setRowStretch(1, 1);
}

void CDlgExpPlanAddSubsystem::SetPlan(CExpPlan* plan)
{
    m_plan = plan;
}

bool CDlgExpPlanAddSubsystem::IsQMXPlan() const
{
    return dynamic_cast<const CQMXSensorMap*>(m_plan) != nullptr;
}

bool CDlgExpPlanAddSubsystem::OnInitDialog()
{
    if (m_plan) {
        m_freeChannels = m_plan->GetChannelCount() - m_plan->GetUsedChannelCount();
        if (const auto* qmx = dynamic_cast<const CQMXSensorMap*>(m_plan))
            m_freeUnits = qmx->GetUnitCount() - qmx->GetUsedUnitCount();
    }
    m_unitText->setVisible(IsQMXPlan());
    m_unitLabel->setVisible(IsQMXPlan());
    m_showAll->setChecked(false);
    FillList();
    return CZuDialog::OnInitDialog();
}

void CDlgExpPlanAddSubsystem::SetShowAll(bool all)
{
    m_showAll->setChecked(all);
    FillList();
}

void CDlgExpPlanAddSubsystem::FillList()
{
    m_filling = true;
    m_list->setRowCount(0);
    const CZuSubsystemTable* table = m_project ? m_project->GetModelSubsystemTable() : nullptr;
    const CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    const CQMXSensorMapList* plans = m_project ? m_project->GetSensorMapList() : nullptr;
    for (int i = 0; table && assignment && i < table->GetCount(); ++i) {
        const std::string& name = table->At(i);
        if (!m_showAll->isChecked() && plans) {
            bool used = false;
            for (int p = 0; p < plans->GetPlanCount() && !used; ++p)
                used = plans->GetPlan(p)->IsSubsystemUsed(name) != 0;
            if (used)
                continue;
        }
        const int row = assignment->FindRow(name);
        if (row < 0)
            continue;
        const int r = m_list->rowCount();
        m_list->insertRow(r);
        auto* item = new QTableWidgetItem(QString::fromStdString(name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(Qt::UserRole, row);
        m_list->setItem(r, 0, item);
        m_list->setItem(r, 1, new QTableWidgetItem(QString::number(assignment->GetItemCount(row))));
    }
    m_filling = false;
    Count();
}

int CDlgExpPlanAddSubsystem::GetItemCount() const
{
    return m_list->rowCount();
}

std::string CDlgExpPlanAddSubsystem::GetItemName(int row) const
{
    const QTableWidgetItem* item = m_list->item(row, 0);
    return item ? item->text().toStdString() : std::string();
}

void CDlgExpPlanAddSubsystem::SetTicked(int row, bool ticked)
{
    if (QTableWidgetItem* item = m_list->item(row, 0))
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void CDlgExpPlanAddSubsystem::OnTickAll(bool tick)
{
    m_filling = true;
    m_tickAll->setChecked(tick);
    for (int r = 0; r < m_list->rowCount(); ++r)
        SetTicked(r, tick);
    m_filling = false;
    Count();
}

void CDlgExpPlanAddSubsystem::Count()
{
    const CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    const bool qmx = IsQMXPlan();
    m_channels = 0;
    for (int r = 0; assignment && r < m_list->rowCount(); ++r) {
        const QTableWidgetItem* item = m_list->item(r, 0);
        if (item->checkState() != Qt::Checked)
            continue;
        int n = assignment->GetItemCount(item->data(Qt::UserRole).toInt());
        // A subsystem always takes whole units.
        if (qmx && n % 2 != 0)
            ++n;
        m_channels += n;
    }
    m_units = qmx ? (m_channels + 1) / 2 : 0;
    m_channelText->setText(QString::fromStdString(Format("%d/%d", m_channels, m_freeChannels)));
    m_unitText->setText(QString::fromStdString(Format("%d/%d", m_units, m_freeUnits)));
}

QString CDlgExpPlanAddSubsystem::ChannelText() const
{
    return m_channelText->text();
}

QString CDlgExpPlanAddSubsystem::UnitText() const
{
    return m_unitText->text();
}

void CDlgExpPlanAddSubsystem::OnOK()
{
    Count();
    if (m_channels > m_freeChannels) {
        AfxMessageBox(IDS_NO_FREE_CHANNELS, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (IsQMXPlan() && m_units > m_freeUnits) {
        AfxMessageBox(IDS_NO_FREE_UNITS, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    for (int r = 0; m_plan && assignment && r < m_list->rowCount(); ++r) {
        const QTableWidgetItem* item = m_list->item(r, 0);
        const int row = item->data(Qt::UserRole).toInt();
        if (item->checkState() != Qt::Checked || assignment->GetItemCount(row) < 1)
            continue;
        if (!m_plan->AssignSubsystem(*assignment, row)) {
            AfxFormatMessageBox(IDS_CANNOT_BE_PLACED, MB_OK | MB_ICONEXCLAMATION,
                                assignment->GetSubsystemName(row).c_str());
            return;
        }
    }
    EndDialog(IDOK);
}
