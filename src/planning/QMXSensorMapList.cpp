#include "planning/QMXSensorMapList.h"

#include <unordered_map>

#include "planning/PlanNameSet.h"
#include "planning/QMXBlixList.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CQMXSensorMapList, CObject, CQMXSensorMapList::kSchema | VERSIONABLE_SCHEMA)

CQMXSensorMapList::~CQMXSensorMapList() = default;

CQMXBlixList* CQMXSensorMapList::FindGroup(int number) const
{
    for (CQMXBlixList* g : m_groups)
        if (g && g->GetNumber() == number)
            return g;
    return nullptr;
}

namespace {
// The first group of each number, as FindGroup finds it.
std::unordered_map<int, CQMXBlixList*> GroupsByNumber(const std::vector<CQMXBlixList*>& groups)
{
    std::unordered_map<int, CQMXBlixList*> byNumber;
    for (CQMXBlixList* g : groups)
        if (g)
            byNumber.emplace(g->GetNumber(), g);
    return byNumber;
}

CQMXBlixList* Lookup(const std::unordered_map<int, CQMXBlixList*>& byNumber, int number)
{
    const auto it = byNumber.find(number);
    return it == byNumber.end() ? nullptr : it->second;
}
} // namespace

void CQMXSensorMapList::SetUnitGroups(const std::vector<CQMXBlixList*>& groups)
{
    m_groups = groups;
    const auto byNumber = GroupsByNumber(m_groups);
    for (auto& plan : m_plans)
        plan->RefreshFromUnitGroup(Lookup(byNumber, plan->GetUnitGroupNumber()));
}

int CQMXSensorMapList::IndexOf(const std::string& name) const
{
    for (size_t i = 0; i < m_plans.size(); ++i)
        if (m_plans[i]->GetName() == name)
            return static_cast<int>(i);
    return -1;
}

std::string CQMXSensorMapList::MakeUniqueName(const std::string& base) const
{
    return MakeUniquePlanName(base, [this](const std::string& n) { return IndexOf(n) >= 0; });
}

CQMXSensorMap* CQMXSensorMapList::AddPlan(int groupNumber, const std::string& name)
{
    auto plan = std::make_unique<CQMXSensorMap>(FindGroup(groupNumber));
    plan->SetName(MakeUniqueName(name));
    m_plans.push_back(std::move(plan));
    return m_plans.back().get();
}

void CQMXSensorMapList::AddPlans(const std::vector<std::pair<int, std::string>>& plans)
{
    CPlanNameSet names;
    for (const auto& plan : m_plans)
        names.Add(plan->GetName());
    const auto byNumber = GroupsByNumber(m_groups);
    m_plans.reserve(m_plans.size() + plans.size());
    for (const auto& [groupNumber, name] : plans) {
        auto plan = std::make_unique<CQMXSensorMap>(Lookup(byNumber, groupNumber));
        plan->SetName(names.Take(name));
        m_plans.push_back(std::move(plan));
    }
}

int CQMXSensorMapList::RemovePlan(int i)
{
    if (i < 0 || i >= GetPlanCount())
        return 0;
    m_plans.erase(m_plans.begin() + i);
    return 1;
}

int CQMXSensorMapList::SwapPlans(int i, int j)
{
    if (i < 0 || i >= GetPlanCount() || j < 0 || j >= GetPlanCount())
        return 0;
    std::swap(m_plans[i], m_plans[j]);
    return 1;
}

int CQMXSensorMapList::IsUnitGroupUsed(int number) const
{
    for (const auto& plan : m_plans)
        if (plan->GetUnitGroupNumber() == number)
            return 1;
    return 0;
}

int CQMXSensorMapList::ReplaceSubsystemSensorsInAll(const std::string& subsystem,
                                                    const std::vector<std::string>& sensors, CFeedback* feedback)
{
    for (auto& plan : m_plans)
        if (!plan->ReplaceSubsystemSensors(subsystem, sensors, feedback))
            return 0;
    return 1;
}

void CQMXSensorMapList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(m_plans.size());
        for (const auto& plan : m_plans)
            ar.WriteObject(plan.get());
        return;
    }
    const uint32_t stored = ar.GetObjectSchema();
    if (stored != 0xFFFFFFFFu && stored > kSchema)
        CArchive::ThrowBadSchema(Format("plan list of schema %u", stored));
    m_plans.clear();
    // Each plan record takes at least two bytes.
    const int32_t count = ar.ReadSignedCount(2, "plans in a plan list");
    for (int32_t i = 0; i < count; ++i) {
        auto plan = ar.ReadOwned<CQMXSensorMap>();
        if (plan)
            m_plans.push_back(std::move(plan));
    }
}
