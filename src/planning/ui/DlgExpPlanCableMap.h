#pragma once
// A new plan from physical cables: the first eight slots of up to four unit groups side by side
// (each slot one cable of eight channels), the plan's sensors over them, a tick per cable. OK takes
// the ticked cables in the order the cable assignment gives and makes a new unit group and a new
// plan of them. Everything else is the plan editor's. One cable map exists at a time.
#include "planning/ui/DlgExpPlanMap.h"
#include "platform/ui/SingleInstance.h"

#include <memory>
#include <vector>

class CQMXBlixList;

class CDlgExpPlanCableMap : public CDlgExpPlanMap, public CSingleInstance<CDlgExpPlanCableMap>
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4099;
    // The combined group has 32 slots: eight from each of four groups.
    static constexpr int kMaxGroups = 4;

    // Its own window, apart from the plan editor's.
    using CSingleInstance<CDlgExpPlanCableMap>::GetInstance;
    using CSingleInstance<CDlgExpPlanCableMap>::Instances;
    using CSingleInstance<CDlgExpPlanCableMap>::ProgramKey;
    static CDlgExpPlanCableMap* ShowInstance(CTALVOProject* project, const std::vector<int>& groups,
                                             QWidget* parent = nullptr);
    static void DestroyInstance();

    // groups: indices into the project's unit-group list.
    CDlgExpPlanCableMap(CTALVOProject* project, const std::vector<int>& groups, QWidget* parent = nullptr);
    ~CDlgExpPlanCableMap() override;

    const CQMXBlixList& GetOwnGroup() const { return *m_ownGroup; }
    // The cable of a slot (0-based): ticked or not.
    void SetCableTicked(int slot, bool ticked);
    bool IsCableTicked(int slot) const;

    // The new plan made by the last OK (null before).
    CQMXSensorMap* GetCreatedPlan() const { return m_created; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    std::string SlotHeading() const override { return "Cable"; }
    int SlotColumnWidth() const override { return 80; }
    void BuildSlotCell(int row, int col, int slot) override;

private:
    std::vector<int> m_groups;
    std::unique_ptr<CQMXBlixList> m_ownGroup;
    CQMXSensorMap* m_created = nullptr;
};
