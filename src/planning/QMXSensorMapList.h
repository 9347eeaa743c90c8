#pragma once
// The project's experiment plans and the unit groups they refer to.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "planning/QMXSensorMap.h"
#include "platform/archive/Archive.h"
#include "platform/base/Feedback.h"

class CQMXBlixList;

class CQMXSensorMapList : public CObject
{
    DECLARE_SERIAL(CQMXSensorMapList)

public:
    static constexpr uint32_t kSchema = 2;

    CQMXSensorMapList() = default;
    explicit CQMXSensorMapList(const std::vector<CQMXBlixList*>& groups) : m_groups(groups) {}
    ~CQMXSensorMapList() override;

    // Takes the project's unit groups and refreshes every plan from the group of its number.
    void SetUnitGroups(const std::vector<CQMXBlixList*>& groups);
    const std::vector<CQMXBlixList*>& GetUnitGroups() const { return m_groups; }

    int GetPlanCount() const { return static_cast<int>(m_plans.size()); }
    CQMXSensorMap* GetPlan(int i) const { return i >= 0 && i < GetPlanCount() ? m_plans[i].get() : nullptr; }
    CQMXSensorMap* GetPlanByName(const std::string& name) const { return GetPlan(IndexOf(name)); }
    int IndexOf(const std::string& name) const;
    CQMXSensorMap* AddPlan(int groupNumber, const std::string& name);
    // Adds plans (unit-group number, name) in order, each named as AddPlan names it, in time
    // linear in the plans held and added.
    void AddPlans(const std::vector<std::pair<int, std::string>>& plans);
    std::string MakeUniqueName(const std::string& base) const;
    int RemovePlan(int i);
    int RemovePlan(const std::string& name) { return RemovePlan(IndexOf(name)); }
    int SwapPlans(int i, int j);
    int IsUnitGroupUsed(int number) const;
    // Exchanges the plans (not the unit groups) of two lists.
    void SwapPlans(CQMXSensorMapList& other) { m_plans.swap(other.m_plans); }
    // ReplaceSubsystemSensors on every plan in order; 0 at the first plan that refuses (plans
    // before it keep their new sensors).
    int ReplaceSubsystemSensorsInAll(const std::string& subsystem, const std::vector<std::string>& sensors,
                                     CFeedback* feedback = SilentFeedback());

    void Serialize(CArchive& ar) override;

private:
    CQMXBlixList* FindGroup(int number) const;

    std::vector<CQMXBlixList*> m_groups; // the project's, not owned
    std::vector<std::unique_ptr<CQMXSensorMap>> m_plans;
};
