#include "planning/ui/DlgExpPlanList.h"

#include "acquisition/BlixChDB.h"
#include "app/TALVOProject.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorProject.h"
#include "planning/QMXSensorMap.h"
#include "planning/QMXSensorMapList.h"
#include "planning/ui/DlgExpPlanCableMap.h"
#include "planning/ui/DlgExpPlanMap.h"
#include "planning/ui/DlgRegSlotGroup.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/base/Format.h"
#include "platform/win/Messages.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <set>

CDlgExpPlanList* CDlgExpPlanList::ShowInstance(CTALVOProject* project, QWidget* parent)
{
    return Instances().ShowFor(ProgramKey(), [&] {
        auto* list = new CDlgExpPlanList(project, parent);
        list->Create();
        return list;
    });
}

void CDlgExpPlanList::DestroyInstance()
{
    if (CDlgExpPlanList* list = GetInstance())
        list->CloseWindow();
}

QTableWidget* CDlgExpPlanList::CreatePlanTable(QWidget* parent, const QStringList& headers,
                                               const std::vector<int>& widths, int minWidth, int minHeight)
{
    const int cols = static_cast<int>(widths.size());
    auto* list = new QTableWidget(0, cols, parent);
    list->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < cols; ++c) {
        list->setColumnWidth(c, widths[c]);
        list->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    list->horizontalHeader()->setStretchLastSection(true);
    list->verticalHeader()->hide();
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setMinimumSize(minWidth, minHeight);
    return list;
}

CDlgExpPlanList::CDlgExpPlanList(CTALVOProject* project, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgExpPlanList"));
    setWindowTitle(QStringLiteral("Experiment Plans"));

    m_list = CreatePlanTable(this,
                             {QStringLiteral("Name"), QStringLiteral("BLIX"), QStringLiteral("CH."),
                              QStringLiteral("Slot"), QStringLiteral("Comments")},
                             {120, 50, 50, 110, 300}, 560, 240);
    m_list->setObjectName(QStringLiteral("Plans3163"));

    auto* buttons = new QHBoxLayout;
    auto add = [this, buttons](int id, const QString& text, void (CDlgExpPlanList::*handler)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QStringLiteral("Button%1").arg(id));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
        return b;
    };
    add(2001, QStringLiteral("New..."), &CDlgExpPlanList::OnNew);
    add(2002, QStringLiteral("Edit..."), &CDlgExpPlanList::OnEdit);
    add(2004, QStringLiteral("Copy..."), &CDlgExpPlanList::OnCopy);
    add(2005, QStringLiteral("View..."), &CDlgExpPlanList::OnView);
    add(2003, QStringLiteral("Use"), &CDlgExpPlanList::OnUse);
    add(3031, QStringLiteral("Delete"), &CDlgExpPlanList::OnDelete);
    add(3036, QString(), &CDlgExpPlanList::OnUp)->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    add(3032, QString(), &CDlgExpPlanList::OnDown)->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    add(2009, QStringLiteral("Cable Map..."), &CDlgExpPlanList::OnCableMap);
    buttons->addStretch(1);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Button2"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    layout->addLayout(bottom);
    resize(820, 400);
    SetMode(modeChoose);
}

CDlgExpPlanList::~CDlgExpPlanList() = default;

QPushButton* CDlgExpPlanList::Button(int id) const
{
    return findChild<QPushButton*>(QStringLiteral("Button%1").arg(id));
}

bool CDlgExpPlanList::OnInitDialog()
{
    // The channel database stays as it is until a plan is put to use: opening the list to look
    // must not lose an imported assignment.
    Refill();
    return CZuDialog::OnInitDialog();
}

void CDlgExpPlanList::SetMode(int mode)
{
    m_mode = mode;
    const bool manage = mode == modeManage;
    for (int id : {2001, 2002, 2004, 2009, 3031, 3036, 3032})
        Button(id)->setVisible(manage);
    for (int id : {2003, 2005})
        Button(id)->setVisible(!manage);
}

void CDlgExpPlanList::FillRow(int row, int planIndex)
{
    const CQMXSensorMap* plan = m_project->GetSensorMapList()->GetPlan(planIndex);
    const std::string texts[] = {plan->GetName(), Format("%d", plan->GetUsedUnitCount()),
                                 Format("%d", plan->GetUsedChannelCount()), UnitGroupText(plan->GetUnitGroupNumber()),
                                 plan->GetComment()};
    for (int c = 0; c < 5; ++c) {
        auto* item = new QTableWidgetItem(QString::fromStdString(texts[c]));
        item->setData(Qt::UserRole, planIndex);
        m_list->setItem(row, c, item);
    }
}

void CDlgExpPlanList::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && m_list && m_project) {
        const CQMXSensorMapList* plans = m_project->GetSensorMapList();
        for (int row = 0; row < m_list->rowCount(); ++row) {
            QTableWidgetItem* item = m_list->item(row, 3);
            const CQMXSensorMap* plan = item && plans ? plans->GetPlan(item->data(Qt::UserRole).toInt()) : nullptr;
            if (plan)
                item->setText(QString::fromStdString(UnitGroupText(plan->GetUnitGroupNumber())));
        }
    }
    CZuDialog::changeEvent(event);
}

void CDlgExpPlanList::Refill()
{
    const CQMXSensorMapList* plans = m_project ? m_project->GetSensorMapList() : nullptr;
    m_list->clearContents();
    m_list->setRowCount(plans ? plans->GetPlanCount() : 0);
    for (int i = 0; plans && i < plans->GetPlanCount(); ++i)
        FillRow(i, i);
}

void CDlgExpPlanList::SelectRows(const std::vector<int>& rows)
{
    m_list->clearSelection();
    for (int r : rows)
        if (r >= 0 && r < m_list->rowCount())
            m_list->selectionModel()->select(m_list->model()->index(r, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

std::vector<int> CDlgExpPlanList::SelectedPlans() const
{
    std::set<int> rows;
    for (const QModelIndex& idx : m_list->selectionModel()->selectedRows())
        rows.insert(idx.row());
    std::vector<int> plans;
    for (int r : rows)
        if (const QTableWidgetItem* item = m_list->item(r, 0))
            plans.push_back(item->data(Qt::UserRole).toInt());
    return plans;
}

int CDlgExpPlanList::FirstSelected() const
{
    const std::vector<int> plans = SelectedPlans();
    return plans.empty() ? -1 : plans.front();
}

void CDlgExpPlanList::OpenEditor(int mode, CQMXSensorMap* plan)
{
    CDlgExpPlanMap* editor = CDlgExpPlanMap::ShowInstance(m_project, parentWidget());
    editor->SetMode(mode);
    editor->SetPlan(plan);
}

void CDlgExpPlanList::OnNew()
{
    OpenEditor(CDlgExpPlanMap::modeNew, nullptr);
}

void CDlgExpPlanList::OnEdit()
{
    if (CQMXSensorMap* plan = m_project->GetSensorMapList()->GetPlan(FirstSelected()))
        OpenEditor(CDlgExpPlanMap::modeEdit, plan);
}

void CDlgExpPlanList::OnCopy()
{
    if (CQMXSensorMap* plan = m_project->GetSensorMapList()->GetPlan(FirstSelected()))
        OpenEditor(CDlgExpPlanMap::modeNew, plan);
}

void CDlgExpPlanList::OnView()
{
    if (CQMXSensorMap* plan = m_project->GetSensorMapList()->GetPlan(FirstSelected()))
        OpenEditor(CDlgExpPlanMap::modeView, plan);
}

void CDlgExpPlanList::OnUse()
{
    const CQMXSensorMap* plan = m_project->GetSensorMapList()->GetPlan(FirstSelected());
    if (!plan)
        return;
    UsePlan(*m_project, *plan);
    SendToMainWindow(WM_COMMAND, ID_BLIX_CHANNEL_PROPERTY, 0);
    CloseWindow();
}

void CDlgExpPlanList::OnDelete()
{
    CQMXSensorMapList* plans = m_project->GetSensorMapList();
    const std::vector<int> selected = SelectedPlans();
    if (selected.empty())
        return;
    if (AfxMessageBox(IDS_DELETE_SELECTED, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    // By name: each removal closes a gap, so indices taken before it would point past it.
    std::vector<std::string> names;
    for (int i : selected)
        if (const CQMXSensorMap* plan = plans->GetPlan(i))
            names.push_back(plan->GetName());
    for (const std::string& name : names)
        plans->RemovePlan(name);
    Refill();
    MarkProjectModified(*m_project);
}

void CDlgExpPlanList::Move(int delta)
{
    CQMXSensorMapList* plans = m_project->GetSensorMapList();
    const int i = FirstSelected();
    if (i < 0 || !plans->SwapPlans(i, i + delta))
        return;
    FillRow(i, i);
    FillRow(i + delta, i + delta);
    SelectRows({i + delta});
    MarkProjectModified(*m_project);
}

void CDlgExpPlanList::OnUp()
{
    Move(-1);
}

void CDlgExpPlanList::OnDown()
{
    Move(1);
}

void CDlgExpPlanList::OnCableMap()
{
    CDlgRegSlotGroup choose(m_project, this);
    choose.SetMaxTicked(CDlgExpPlanCableMap::kMaxGroups);
    if (choose.DoModal() != IDOK)
        return;
    CDlgExpPlanCableMap::DestroyInstance();
    CDlgExpPlanCableMap::ShowInstance(m_project, choose.GetSelection(), parentWidget());
}

void CDlgExpPlanList::UsePlan(CTALVOProject& project, const CQMXSensorMap& plan)
{
    CBlixChDB* db = project.GetBlixChDB();
    if (!db)
        return;
    CBlixChDB::CItemList* items = db->GetItemList();
    items->DeleteAll();
    const int channels = project.GetSystemChannelCount();
    for (int c = 0; c < channels; ++c) {
        tagSENSORMAP row;
        if (!plan.GetRow(c, row) || row.sensor.empty() || row.subsystem.empty())
            continue;
        auto item = std::make_unique<CBlixChDB::CItem>();
        item->SetSubsystem(row.subsystem);
        item->SetBlixSN(row.unitName);
        item->SetBlixCh(static_cast<uint8_t>(row.channel));
        item->SetSensor(row.sensor);
        items->Add(std::move(item));
    }
    if (CSensorProject* sensors = project.GetSensorProject()) {
        auto bundleOf = [sensors](const CBlixChDB::CItem& item) {
            return sensors->FindBundleByID(FormatString(IDS_BLIX_BUNDLE_ID, UnitNumberOf(item.GetBlixSN())));
        };
        for (int i = 0; i < items->GetSize(); ++i) {
            const std::string id = FormatString(IDS_BLIX_BUNDLE_ID, UnitNumberOf(items->GetAt(i)->GetBlixSN()));
            if (CSensorBundle* bundle = sensors->FindBundleByID(id))
                bundle->RemoveAllSensors();
            else
                sensors->AddBundle(id);
        }
        // Each sensor at its channel's position, whatever the unit's other channel holds.
        for (int i = 0; i < items->GetSize(); ++i)
            if (CSensorBundle* bundle = bundleOf(*items->GetAt(i)))
                bundle->SetSensorAt(items->GetAt(i)->GetBlixCh(), items->GetAt(i)->GetSensor());
    }
    MarkProjectModified(project);
}

void CDlgExpPlanList::CloseWindow()
{
    EndDialog(IDCANCEL);
}

void CDlgExpPlanList::OnOK() {}

void CDlgExpPlanList::OnCancel()
{
    CloseWindow();
}
