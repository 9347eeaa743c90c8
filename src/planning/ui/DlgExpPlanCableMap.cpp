#include "planning/ui/DlgExpPlanCableMap.h"

#include "app/TALVOProject.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMap.h"
#include "planning/QMXSensorMapList.h"
#include "planning/ui/DlgAssignCables.h"
#include "planning/ui/DlgExpPlanList.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/base/Format.h"
#include "platform/ui/EmbeddedGridWnd.h"
#include "platform/ui/FlexGridModel.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

#include <QPushButton>

#include <algorithm>

CDlgExpPlanCableMap* CDlgExpPlanCableMap::ShowInstance(CTALVOProject* project, const std::vector<int>& groups,
                                                       QWidget* parent)
{
    // An open map is left where it is: its groups are the ones it was opened with.
    if (CDlgExpPlanCableMap* open = GetInstance())
        return open;
    return Instances().ShowFor(ProgramKey(), [&] {
        auto* map = new CDlgExpPlanCableMap(project, groups, parent);
        map->Create();
        return map;
    });
}

void CDlgExpPlanCableMap::DestroyInstance()
{
    if (CDlgExpPlanCableMap* map = GetInstance())
        map->CloseWindow(IDCANCEL);
}

CDlgExpPlanCableMap::CDlgExpPlanCableMap(CTALVOProject* project, const std::vector<int>& groups, QWidget* parent)
    : CDlgExpPlanMap(project, parent, kTemplateId), m_groups(groups), m_ownGroup(std::make_unique<CQMXBlixList>(0))
{
    setObjectName(QStringLiteral("DlgExpPlanCableMap"));
    setWindowTitle(QStringLiteral("Cable Map"));
    m_channelCount = static_cast<int>(groups.size()) * 64;
    // The cable map has no name or comment of its own, nor a unit group to choose.
    for (const char* name : {"Name3137", "Comment3138", "NameLabel", "CommentLabel", "Button2001"})
        if (QWidget* w = findChild<QWidget*>(QString::fromLatin1(name)))
            w->hide();
    m_storeButton->setText(QStringLiteral("OK"));
    disconnect(m_storeButton, nullptr, this, nullptr);
    connect(m_storeButton, &QPushButton::clicked, this, &CDlgExpPlanCableMap::OnOK);
}

CDlgExpPlanCableMap::~CDlgExpPlanCableMap() = default;

bool CDlgExpPlanCableMap::OnInitDialog()
{
    const CQMXBlixListArray* groups = m_project ? &m_project->GetBlixLists() : nullptr;
    for (size_t k = 0; groups && k < m_groups.size() && k < static_cast<size_t>(kMaxGroups); ++k)
        if (const CQMXBlixList* group = groups->GetAt(m_groups[k]))
            for (int r = 0; r < 8; ++r)
                for (int u = 0; u < 4; ++u)
                    m_ownGroup->SetUnitName(static_cast<int>(k) * 8 + r, u, group->GetUnitName(r, u));
    m_work->RefreshFromUnitGroup(m_ownGroup.get());
    return CDlgExpPlanMap::OnInitDialog();
}

void CDlgExpPlanCableMap::BuildSlotCell(int row, int col, int slot)
{
    CFlexGridModel* model = m_grid->GridModel();
    model->SetText(row, col, QString::fromStdString(Format("Cable %d", slot + 1)));
    model->SetCellCheck(row, col, 0);
}

void CDlgExpPlanCableMap::SetCableTicked(int slot, bool ticked)
{
    const int c = slot * 8;
    m_grid->GridModel()->SetCellCheck(ChannelRow(c), ChannelCol(c), ticked ? 1 : 0);
}

bool CDlgExpPlanCableMap::IsCableTicked(int slot) const
{
    const int c = slot * 8;
    return m_grid->GridModel()->CellCheck(ChannelRow(c), ChannelCol(c)) == 1;
}

void CDlgExpPlanCableMap::OnOK()
{
    if (!m_project)
        return;
    std::vector<int> ticked;
    const int slotCount = (m_channelCount + 7) / 8;
    for (int s = 0; s < slotCount; ++s)
        if (IsCableTicked(s))
            ticked.push_back(s);
    const int needed = GetBlixUnitCount(*m_project);
    if (static_cast<int>(ticked.size()) != needed) {
        AfxFormatMessageBox(IDS_CABLES_TICKED, MB_OK | MB_ICONEXCLAMATION, needed, static_cast<int>(ticked.size()));
        return;
    }
    CDlgAssignCables assign(this);
    assign.SetOrder(ticked);
    if (assign.DoModal() != IDOK)
        return;
    const std::vector<int> order = assign.GetOrder();

    CQMXBlixListArray& groups = m_project->GetBlixLists();
    auto group = std::make_unique<CQMXBlixList>(groups.GetMaxNumber() + 1);
    for (size_t i = 0; i < order.size(); ++i)
        for (int u = 0; u < 4; ++u)
            group->SetUnitName(static_cast<int>(i), u, m_ownGroup->GetUnitName(order[i], u));
    const int number = groups.Add(std::move(group))->GetNumber();
    CQMXSensorMapList* plans = m_project->GetSensorMapList();
    plans->SetUnitGroups(groups.Pointers());

    CQMXSensorMap* plan = plans->AddPlan(number, std::string());
    for (size_t i = 0; i < order.size(); ++i)
        for (int u = 0; u < 4; ++u)
            for (int p = 0; p < 2; ++p) {
                tagSENSORMAP row;
                if (!m_work->GetRow((order[i] * 4 + u) * 2 + p, row))
                    continue;
                const int target = (static_cast<int>(i) * 4 + u) * 2 + p;
                plan->SetSensor(target, row.sensor);
                plan->SetSubsystem(target, row.subsystem);
            }
    m_created = plan;
    MarkProjectModified(*m_project);
    if (CDlgExpPlanList* list = CDlgExpPlanList::GetInstance()) {
        list->Refill();
        CDlgExpPlanMap* editor = CDlgExpPlanMap::ShowInstance(m_project, list->parentWidget());
        editor->SetMode(CDlgExpPlanMap::modeEdit);
        editor->SetPlan(plan);
    }
}
