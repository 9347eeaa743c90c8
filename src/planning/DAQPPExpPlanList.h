#pragma once
// The channel plans of a DAQ project built from universal files, and the layout of their channel
// table (which columns, in which order, under which labels).
#include <cstdint>
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

class CDAQPPExpPlanList : public CObject
{
    DECLARE_SERIAL(CDAQPPExpPlanList)

public:
    static constexpr uint8_t kVersion = 2;
    static constexpr const char* kDefaultColumns = CHSEARegOptions::kDefaultChannelTableColumns;

    CDAQPPExpPlanList(); // the columns come from the settings
    ~CDAQPPExpPlanList() override;

    int GetPlanCount() const { return static_cast<int>(m_plans.size()); }
    CDAQPPExpPlan* GetPlan(int i) const { return i >= 0 && i < GetPlanCount() ? m_plans[i].get() : nullptr; }
    int IndexOf(const std::string& name) const;
    CDAQPPExpPlan* AddPlan(int channelCount, const std::string& name);
    std::vector<tagCHTABLECOL>& GetColumns() { return m_columns; }
    // The layout of a settings text (pairs of label and type joined by ","); the default layout for
    // an empty text.
    static std::vector<tagCHTABLECOL> ParseColumns(const std::string& text);
    void LoadColumns();

    void Serialize(CArchive& ar) override;

private:
    std::vector<std::unique_ptr<CDAQPPExpPlan>> m_plans;
    std::vector<tagCHTABLECOL> m_columns;
};
