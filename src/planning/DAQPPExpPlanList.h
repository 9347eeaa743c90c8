#pragma once
// The channel plans of a DAQ project built from universal files, and the layout of their channel
// table (which columns, in which order, under which labels).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "models/HSEARegOptions.h"
#include "planning/DAQPPExpPlan.h"
#include "platform/archive/Archive.h"

struct tagCHTABLECOL
{
    int32_t type = 0; // 0 .. 12
    std::string label;

    bool operator==(const tagCHTABLECOL&) const = default;
};

class CSensorAssignment;

// What the cell texts of a channel row ask of the project around the plans.
class IProjectLookups;

struct DAQPPCellContext
{
    // The container's sensor assignment: a sensor's local index is its place in its subsystem's row.
    const CSensorAssignment* assignment = nullptr;
    // The node number of (subsystem, local index) in the project's node map; 0 or less for none.
    std::function<int(const std::string& subsystem, int lp)> globalNode;
    // Nonzero for a structural subsystem of the model.
    std::function<int(const std::string& subsystem)> isStructure;
    // The project's reversed-sensor mode: sensitivities shown as their inverse.
    int revSens = 0;
    // The container the plan belongs to: sensor sensitivities and subsystem display names.
    const IProjectLookups* project = nullptr;
};

class CDAQPPExpPlanList : public CObject
{
    DECLARE_SERIAL(CDAQPPExpPlanList)

public:
    static constexpr uint8_t kVersion = 2;
    static constexpr const char* kDefaultColumns = CHSEARegOptions::kDefaultChannelTableColumns;
    static constexpr int kColumnTypeCount = 13;

    CDAQPPExpPlanList(); // the columns come from the settings
    ~CDAQPPExpPlanList() override;

    int GetPlanCount() const { return static_cast<int>(m_plans.size()); }
    CDAQPPExpPlan* GetPlan(int i) const { return i >= 0 && i < GetPlanCount() ? m_plans[i].get() : nullptr; }
    int IndexOf(const std::string& name) const;
    CDAQPPExpPlan* GetPlanByName(const std::string& name) const { return GetPlan(IndexOf(name)); }
    // name when given and free; else "%s %d" over name (or "Plan") with the first free number.
    std::string MakeUniqueName(const std::string& name) const;
    CDAQPPExpPlan* AddPlan(int channelCount, const std::string& name);
    // 1 when a plan of that name was deleted.
    int RemovePlan(const std::string& name);
    // 1 when both indices are plans and they were exchanged.
    int SwapPlans(int i, int j);
    std::vector<tagCHTABLECOL>& GetColumns() { return m_columns; }
    const std::vector<tagCHTABLECOL>& GetColumns() const { return m_columns; }
    // The layout of a settings text (pairs of label and type joined by ","); the default layout for
    // an empty text.
    static std::vector<tagCHTABLECOL> ParseColumns(const std::string& text);
    // The layout the settings hold (the default one when they hold none).
    static std::vector<tagCHTABLECOL> GetStoredColumns();
    void LoadColumns();
    // Writes the columns as the settings text (label, type, ... joined by ",").
    int SaveColumns() const;
    static std::string FormatColumns(const std::vector<tagCHTABLECOL>& columns);

    // The display name of a column type 0 to 12; empty for any other number.
    static std::string GetColumnTypeName(int type);
    // The first type whose display name is text; -1 when none is.
    static int FindColumnType(const std::string& text);
    // The texts of one channel row: the channel cell ("CH.", the channel number from 1), then one per
    // column of the layout. A row without sensor or subsystem shows only its channel number.
    std::vector<std::string> GetCellTexts(const tagDAQPP_SENSORMAP& row, const DAQPPCellContext& context) const;

    void Serialize(CArchive& ar) override;

private:
    std::vector<std::unique_ptr<CDAQPPExpPlan>> m_plans;
    std::vector<tagCHTABLECOL> m_columns;
};
