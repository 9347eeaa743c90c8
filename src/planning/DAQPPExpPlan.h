#pragma once
// An experiment plan of a DAQ project built from universal files: a plain numbered list of
// channels, each with its sensor and subsystem.
#include <cstdint>
#include <string>
#include <vector>

#include "planning/ExpPlan.h"

class CArchive;

struct tagDAQPP_SENSORMAP
{
    int32_t channel = 0;
    std::string sensor;
    std::string subsystem;
    std::string thirdText;
    std::string inputMode;
    int32_t pointValue = -1;

    bool operator==(const tagDAQPP_SENSORMAP&) const = default;
};

class CDAQPPExpPlan : public CExpPlan
{
    DECLARE_SERIAL(CDAQPPExpPlan)

public:
    static constexpr uint8_t kVersion = 2;

    CDAQPPExpPlan() = default;
    explicit CDAQPPExpPlan(int channelCount);
    CDAQPPExpPlan& operator=(const CDAQPPExpPlan& other);

    void SetSensor(int row, const std::string& name) override;
    void SetSubsystem(int row, const std::string& name) override;
    int AssignSubsystem(const CSensorAssignment& assignment, int index) override;
    void ClearSubsystem(const std::string& name) override;
    int IsSubsystemUsed(const std::string& name) const override;
    void SwapRows(int i, int j) override;
    int GetSubsystems(CZuSubsystemTable& table) const override;
    int GetChannelCount() const override { return static_cast<int>(m_rows.size()); }
    int GetUsedChannelCount() const override;

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    const std::string& GetComment() const { return m_comment; }
    void SetComment(const std::string& text) { m_comment = text; }
    int GetRow(int i, tagDAQPP_SENSORMAP& row) const;
    // 1 when row i exists and has neither sensor nor subsystem.
    int IsRowEmpty(int i) const
    {
        return ValidRow(i) && m_rows[i].sensor.empty() && m_rows[i].subsystem.empty() ? 1 : 0;
    }
    void ClearRow(int i);
    void SetThirdText(int i, const std::string& s);
    void SetInputMode(int i, const std::string& s);
    void SetPointValue(int i, int v);

    void Serialize(CArchive& ar) override;

private:
    bool ValidRow(int i) const { return i >= 0 && i < GetChannelCount(); }

    std::vector<tagDAQPP_SENSORMAP> m_rows;
    std::string m_text;
    std::string m_name;
    std::string m_comment;
};
