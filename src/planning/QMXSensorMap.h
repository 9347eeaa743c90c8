#pragma once
// One experiment plan on the QMX hardware: for each of the 256 channel positions of its unit
// group, the sensor and the subsystem wired to it.
#include <cstdint>
#include <string>
#include <vector>

#include "planning/ExpPlan.h"
#include "platform/base/Feedback.h"

class CArchive;
class CQMXBlixList;

struct tagSENSORMAP
{
    int32_t slot = 0;
    std::string unitName;
    int32_t channel = 0;
    std::string sensor;
    std::string subsystem;
    int32_t assigned = 0; // set by AssignSubsystem, never stored

    bool operator==(const tagSENSORMAP&) const = default;
};

class CQMXSensorMap : public CExpPlan
{
    DECLARE_SERIAL(CQMXSensorMap)

public:
    static constexpr uint32_t kSchema = 2;

    // Rows built from the group (or empty unit names without one).
    explicit CQMXSensorMap(const CQMXBlixList* group = nullptr);

    void SetSensor(int row, const std::string& name) override;
    void SetSubsystem(int row, const std::string& name) override;
    int AssignSubsystem(const CSensorAssignment& assignment, int index) override;
    void ClearSubsystem(const std::string& name) override;
    int IsSubsystemUsed(const std::string& name) const override;
    void SwapRows(int i, int j) override;
    int GetSubsystems(CZuSubsystemTable& table) const override;
    int GetChannelCount() const override { return 2 * m_unitCount; }
    int GetUsedChannelCount() const override;

    void SetName(const std::string& name) { m_name = name; }
    const std::string& GetName() const { return m_name; }
    void SetComment(const std::string& text) { m_comment = text; }
    const std::string& GetComment() const { return m_comment; }
    void SetText(const std::string& text) { m_text = text; }
    const std::string& GetText() const { return m_text; }
    int GetUnitGroupNumber() const { return m_groupNumber; }
    int GetUsedSlotCount() const { return m_usedSlotCount; }
    int GetUnitCount() const { return m_unitCount; }
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    // 1 with a copy of row i, 0 out of range.
    int GetRow(int i, tagSENSORMAP& row) const;
    void RefreshFromUnitGroup(const CQMXBlixList* group);
    int GetUsedUnitCount() const { return GetUsedChannelCount() / 2; }
    // Copies texts, group number and rows; rows keep their own assigned flags.
    void CopyFrom(const CQMXSensorMap& other);
    // Gives each subsystem of the plan the sensors its assignment entry lists now, unit by unit
    // over the first channels the subsystem holds (the second channel takes the next sensor or is
    // freed).
    void ApplyAssignment(const CSensorAssignment& assignment);
    // Puts a new sensor list on the rows of a subsystem: its rows take the sensors in order (rows
    // left over are freed), further sensors go to free rows of registered units. When they do not
    // all fit, every row is restored, a warning (IDS_PLAN_SENSORS_DO_NOT_FIT) names plan and
    // subsystem, and 0 is returned. 1 also when the plan does not use the subsystem. The warning
    // goes to the caller's feedback, else to the main window's status bar.
    int ReplaceSubsystemSensors(const std::string& subsystem, const std::vector<std::string>& sensors,
                                CFeedback* feedback = SilentFeedback());

    void Serialize(CArchive& ar) override;

private:
    bool ValidRow(int i) const { return i >= 0 && i < GetRowCount(); }
    bool RowUsed(int i) const { return !m_rows[i].sensor.empty() && !m_rows[i].subsystem.empty(); }
    // Whether a unit stands at the row's position: every position without a unit group.
    bool RowHasUnit(int i) const { return m_unitCount >= 128 || !m_rows[i].unitName.empty(); }

    int32_t m_usedSlotCount = 32;
    int32_t m_unitCount = 128;
    int32_t m_groupNumber = 0;
    std::vector<tagSENSORMAP> m_rows;
    std::string m_text;
    std::string m_name;
    std::string m_comment;
};
