#include "planning/ui/DlgDAQPPExpPlanList.h"

#include "app/TALVOProject.h"
#include "planning/DAQPPExpPlanList.h"
#include "planning/ExportExpPlanToExcel.h"
#include "planning/ui/DlgDAQPPExpPlanEdit.h"
#include "planning/ui/DlgExpPlanList.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/StatusBarFeedback.h"
#include "uff/ExtUFDaqProject.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <set>

CDlgDAQPPExpPlanList* CDlgDAQPPExpPlanList::ShowInstance(CExtUFDaqProject* project, QWidget* parent)
{
    return Instances().ShowFor(ProgramKey(), [&] {
        auto* list = new CDlgDAQPPExpPlanList(project, parent);
        list->Create();
        return list;
    });
}

std::unique_ptr<CExportExpPlanToExcel> CDlgDAQPPExpPlanList::MakeExporter(CExtUFDaqProject& project)
{
    const CTALVOProject* owner = project.GetOwner();
    return std::make_unique<CExportExpPlanToExcel>(owner ? owner->GetModelSubsystemTable() : nullptr,
                                                   owner ? owner->GetTargetSubsystem() : std::string(), owner,
                                                   project.MakeCellContext(), project.GetExpPlans().GetColumns());
}

CDlgDAQPPExpPlanList::CDlgDAQPPExpPlanList(CExtUFDaqProject* project, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgDAQPPExpPlanList"));
    setWindowTitle(QStringLiteral("Channel Plans"));

    m_list = CDlgExpPlanList::CreatePlanTable(
        this, {QStringLiteral("Name"), QStringLiteral("CH."), QStringLiteral("Comments")}, {80, 40, 300}, 440, 200);
    m_list->setObjectName(QStringLiteral("List%1").arg(IDC_LIST));
    connect(m_list, &QTableWidget::itemDoubleClicked, this, [this] { OnEdit(); });

    auto* buttons = new QVBoxLayout;
    auto add = [this, buttons](int id, const QString& text, void (CDlgDAQPPExpPlanList::*handler)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QStringLiteral("Button%1").arg(id));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
        return b;
    };
    add(IDC_NEW, QStringLiteral("New..."), &CDlgDAQPPExpPlanList::OnNew);
    add(IDC_COPY, QStringLiteral("Copy..."), &CDlgDAQPPExpPlanList::OnCopy);
    add(IDC_EDIT, QStringLiteral("Edit..."), &CDlgDAQPPExpPlanList::OnEdit);
    add(IDC_DELETE, QStringLiteral("Delete"), &CDlgDAQPPExpPlanList::OnDelete);
    add(IDC_EXPORT, QStringLiteral("Excel..."), &CDlgDAQPPExpPlanList::OnExport);
    auto* moves = new QHBoxLayout;
    buttons->addLayout(moves);
    auto* up = add(IDC_UP, QString(), &CDlgDAQPPExpPlanList::OnUp);
    up->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    up->setToolTip(QStringLiteral("Move up"));
    auto* down = add(IDC_DOWN, QString(), &CDlgDAQPPExpPlanList::OnDown);
    down->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    down->setToolTip(QStringLiteral("Move down"));
    buttons->removeWidget(up);
    buttons->removeWidget(down);
    moves->addWidget(up);
    moves->addWidget(down);
    buttons->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Button2"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(600, 320);
}

CDlgDAQPPExpPlanList::~CDlgDAQPPExpPlanList() = default;

QPushButton* CDlgDAQPPExpPlanList::Button(int id) const
{
    return findChild<QPushButton*>(QStringLiteral("Button%1").arg(id));
}

bool CDlgDAQPPExpPlanList::OnInitDialog()
{
    Refill();
    return CZuDialog::OnInitDialog();
}

void CDlgDAQPPExpPlanList::FillRow(int row, int planIndex)
{
    const CDAQPPExpPlan* plan = m_project->GetExpPlans().GetPlan(planIndex);
    const std::string texts[] = {plan->GetName(), Format("%d", plan->GetChannelCount()), plan->GetComment()};
    for (int c = 0; c < 3; ++c) {
        auto* item = new QTableWidgetItem(QString::fromStdString(texts[c]));
        item->setData(Qt::UserRole, planIndex);
        m_list->setItem(row, c, item);
    }
}

void CDlgDAQPPExpPlanList::Refill()
{
    m_list->clearContents();
    const int count = m_project ? m_project->GetExpPlans().GetPlanCount() : 0;
    m_list->setRowCount(count);
    for (int i = 0; i < count; ++i)
        FillRow(i, i);
}

void CDlgDAQPPExpPlanList::SelectRows(const std::vector<int>& rows)
{
    m_list->clearSelection();
    for (int r : rows)
        if (r >= 0 && r < m_list->rowCount())
            m_list->selectionModel()->select(m_list->model()->index(r, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

std::vector<int> CDlgDAQPPExpPlanList::SelectedPlans() const
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

void CDlgDAQPPExpPlanList::MarkModified()
{
    if (CTALVOProject* owner = m_project ? m_project->GetOwner() : nullptr)
        MarkProjectModified(*owner);
}

void CDlgDAQPPExpPlanList::OnNew()
{
    if (m_project)
        OpenDAQPPPlanEditor(m_project, CDlgDAQPPExpPlan::modeNewOwn, nullptr, parentWidget());
}

void CDlgDAQPPExpPlanList::OnCopy()
{
    const std::vector<int> plans = SelectedPlans();
    if (m_project && !plans.empty())
        OpenDAQPPPlanEditor(m_project, CDlgDAQPPExpPlan::modeNew, m_project->GetExpPlans().GetPlan(plans.front()),
                            parentWidget());
}

void CDlgDAQPPExpPlanList::OnEdit()
{
    const std::vector<int> plans = SelectedPlans();
    if (m_project && !plans.empty())
        OpenDAQPPPlanEditor(m_project, CDlgDAQPPExpPlan::modeEdit, m_project->GetExpPlans().GetPlan(plans.front()),
                            parentWidget());
}

void CDlgDAQPPExpPlanList::OnDelete()
{
    const std::vector<int> plans = SelectedPlans();
    if (!m_project || plans.empty())
        return;
    if (AfxMessageBox(IDS_DELETE_SELECTED, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    // Names first: removing a plan moves the indexes of those after it.
    std::vector<std::string> names;
    for (int i : plans)
        if (const CDAQPPExpPlan* plan = m_project->GetExpPlans().GetPlan(i))
            names.push_back(plan->GetName());
    // An editor on a plan that goes would store into a plan that is no more: it goes too.
    if (const CDlgDAQPPExpPlan* editor = CDlgDAQPPExpPlan::GetInstance(); editor && editor->GetSourcePlan()) {
        const CDAQPPExpPlan* source = editor->GetSourcePlan();
        if (std::any_of(plans.begin(), plans.end(),
                        [&](int i) { return m_project->GetExpPlans().GetPlan(i) == source; }))
            CDlgDAQPPExpPlan::DestroyInstance();
    }
    for (const std::string& name : names)
        m_project->GetExpPlans().RemovePlan(name);
    MarkModified();
    Refill();
}

void CDlgDAQPPExpPlanList::Move(int step)
{
    const std::vector<int> plans = SelectedPlans();
    if (!m_project || plans.empty())
        return;
    const int row = plans.front();
    const int other = row + step;
    if (other < 0 || other >= m_list->rowCount())
        return;
    if (!m_project->GetExpPlans().SwapPlans(row, other))
        return;
    FillRow(row, row);
    FillRow(other, other);
    SelectRows({other});
    MarkModified();
}

void CDlgDAQPPExpPlanList::OnUp()
{
    Move(-1);
}

void CDlgDAQPPExpPlanList::OnDown()
{
    Move(1);
}

void CDlgDAQPPExpPlanList::OnExport()
{
    const std::vector<int> plans = SelectedPlans();
    if (!m_project)
        return;
    if (plans.empty()) {
        AfxMessageBox(IDS_NO_PLAN_SELECTED);
        return;
    }
    FileChooserOptions options;
    options.defaultExt = "xlsx";
    options.initialName = Format("%s.xlsx", m_project->GetExpPlans().GetPlan(plans.front())->GetName().c_str());
    options.filter = LoadString(IDS_WORKBOOK_FILTER);
    options.overwritePrompt = true;
    if (const CTALVOProject* owner = m_project->GetOwner(); owner && !owner->GetDocumentPath().empty())
        options.initialFolder = std::filesystem::path(owner->GetDocumentPath()).parent_path().string();
    std::string path;
    if (!PromptSaveFile(options, path))
        return;
    CStatusBarFeedback progress;
    std::unique_ptr<CExportExpPlanToExcel> exporter = MakeExporter(*m_project);
    exporter->SetFeedback(&progress);
    exporter->Export(m_project->GetExpPlans(), plans, path);
}
