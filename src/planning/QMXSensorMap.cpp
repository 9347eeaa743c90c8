#include "planning/QMXSensorMap.h"

#include <vector>

#include "planning/QMXBlixList.h"
#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CQMXSensorMap, CObject, CQMXSensorMap::kSchema | VERSIONABLE_SCHEMA)

CQMXSensorMap::CQMXSensorMap(const CQMXBlixList* group)
{
    m_rows.reserve(CQMXBlixList::kRowCount);
    for (int slot = 0; slot < CQMXBlixList::kSlotCount; ++slot)
        for (int pos = 0; pos < CQMXBlixList::kUnitsPerSlot; ++pos)
            for (int ch = 0; ch < CQMXBlixList::kChannelsPerUnit; ++ch) {
                tagSENSORMAP row;
                row.slot = slot;
                row.unitName = group ? group->GetUnitName(slot, pos) : std::string();
                row.channel = ch;
                m_rows.push_back(std::move(row));
            }
    if (group) {
        m_usedSlotCount = group->GetUsedSlotCount();
        m_unitCount = group->GetUnitCount();
        m_groupNumber = group->GetNumber();
    }
}

void CQMXSensorMap::SetSensor(int row, const std::string& name)
{
    if (ValidRow(row))
        m_rows[row].sensor = name;
}

void CQMXSensorMap::SetSubsystem(int row, const std::string& name)
{
    if (ValidRow(row))
        m_rows[row].subsystem = name;
}

int CQMXSensorMap::AssignSubsystem(const CSensorAssignment& assignment, int index)
{
    const std::string name = assignment.GetSubsystemName(index);
    const int n = assignment.GetItemCount(index);
    if (IsSubsystemUsed(name))
        return 1;
    if (n < 0 || GetChannelCount() - GetUsedChannelCount() < n)
        return 0;
    // The rows are chosen first and filled only when every sensor has one: a channel count that
    // looks sufficient can still leave too few free rows (second channels of other subsystems'
    // units), and a half-placed subsystem must not be reported as placed.
    std::vector<int> targets;
    int r = 0;
    for (int k = 0; k < n; ++k) {
        for (; r < GetRowCount(); ++r) {
            const tagSENSORMAP& row = m_rows[r];
            const bool empty = row.sensor.empty() && row.subsystem.empty();
            if (!empty)
                continue;
            if (row.channel == 0)
                break;
            // The second channel of a unit only goes to the subsystem holding the first; the plan
            // does not hold this one yet, so that is a first channel just chosen for it.
            if (!targets.empty() && targets.back() == r - 1)
                break;
        }
        if (r >= GetRowCount())
            return 0;
        targets.push_back(r++);
    }
    for (int k = 0; k < n; ++k) {
        tagSENSORMAP& row = m_rows[targets[static_cast<size_t>(k)]];
        row.subsystem = name;
        row.sensor = assignment.GetItem(index, k);
        row.assigned = 1;
    }
    return 1;
}

void CQMXSensorMap::ClearSubsystem(const std::string& name)
{
    for (auto& row : m_rows)
        if (row.subsystem == name) {
            row.sensor.clear();
            row.subsystem.clear();
        }
}

int CQMXSensorMap::IsSubsystemUsed(const std::string& name) const
{
    for (const auto& row : m_rows)
        if (row.subsystem == name)
            return 1;
    return 0;
}

void CQMXSensorMap::SwapRows(int i, int j)
{
    if (i == j || !ValidRow(i) || !ValidRow(j))
        return;
    std::swap(m_rows[i].sensor, m_rows[j].sensor);
    std::swap(m_rows[i].subsystem, m_rows[j].subsystem);
    std::swap(m_rows[i].assigned, m_rows[j].assigned);
}

int CQMXSensorMap::GetSubsystems(CZuSubsystemTable& table) const
{
    table.Clear();
    for (const auto& row : m_rows)
        if (!row.subsystem.empty() && table.GetIndex(row.subsystem) < 0)
            table.Add(row.subsystem);
    return table.GetCount();
}

int CQMXSensorMap::GetUsedChannelCount() const
{
    int n = 0;
    for (int i = 0; i < GetRowCount(); ++i) {
        if (RowUsed(i))
            ++n;
        else if (m_rows[i].channel == 1 && i > 0 && RowUsed(i - 1))
            ++n; // a unit half used is a unit used
    }
    return n;
}

int CQMXSensorMap::GetRow(int i, tagSENSORMAP& row) const
{
    if (!ValidRow(i))
        return 0;
    row = m_rows[i];
    return 1;
}

void CQMXSensorMap::RefreshFromUnitGroup(const CQMXBlixList* group)
{
    if (!group) {
        m_usedSlotCount = 32;
        m_unitCount = 128;
        return;
    }
    for (int i = 0; i < GetRowCount(); ++i) {
        int slot = 0, pos = 0, ch = 0;
        group->GetRowUnit(i, m_rows[i].unitName, slot, pos, ch);
        m_rows[i].slot = slot;
        m_rows[i].channel = ch;
    }
    m_usedSlotCount = group->GetUsedSlotCount();
    m_unitCount = group->GetUnitCount();
    m_groupNumber = group->GetNumber();
}

void CQMXSensorMap::CopyFrom(const CQMXSensorMap& other)
{
    m_text = other.m_text;
    m_name = other.m_name;
    m_comment = other.m_comment;
    m_groupNumber = other.m_groupNumber;
    std::vector<tagSENSORMAP> rows = other.m_rows;
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].assigned = i < m_rows.size() ? m_rows[i].assigned : 0;
    m_rows = std::move(rows);
}

void CQMXSensorMap::ApplyAssignment(const CSensorAssignment& assignment)
{
    CZuSubsystemTable subsystems;
    GetSubsystems(subsystems);
    for (int s = 0; s < subsystems.GetCount(); ++s) {
        const std::string name = subsystems.At(s);
        const int entry = assignment.FindRow(name);
        if (entry < 0)
            continue;
        const int count = assignment.GetItemCount(entry);
        int r = 0;
        for (int k = 0; k < count; k += 2) {
            while (r < GetRowCount() && !(m_rows[r].channel == 0 && m_rows[r].subsystem == name))
                ++r;
            if (r >= GetRowCount())
                break; // the plan holds fewer units than the entry has sensors
            m_rows[r].sensor = assignment.GetItem(entry, k);
            if (ValidRow(r + 1)) {
                tagSENSORMAP& second = m_rows[r + 1];
                if (k + 1 < count) {
                    second.sensor = assignment.GetItem(entry, k + 1);
                    second.subsystem = name;
                } else {
                    second.sensor.clear();
                    second.subsystem.clear();
                }
            }
            r += 2;
        }
    }
}

int CQMXSensorMap::ReplaceSubsystemSensors(const std::string& subsystem, const std::vector<std::string>& sensors,
                                           CFeedback* feedback)
{
    if (!IsSubsystemUsed(subsystem))
        return 1;
    const std::vector<tagSENSORMAP> saved = m_rows;
    size_t next = 0;
    for (auto& row : m_rows) {
        if (row.subsystem != subsystem)
            continue;
        if (next < sensors.size()) {
            row.sensor = sensors[next++];
        } else {
            row.sensor.clear();
            row.subsystem.clear();
        }
    }
    // Further sensors only go where a unit stands: a position without one has no channel to wire.
    for (int i = 0; i < GetRowCount() && next < sensors.size(); ++i) {
        tagSENSORMAP& row = m_rows[i];
        if ((row.sensor.empty() || row.subsystem.empty()) && RowHasUnit(i)) {
            row.subsystem = subsystem;
            row.sensor = sensors[next++];
        }
    }
    if (next < sensors.size()) {
        m_rows = saved;
        feedback->Warning(FormatString(IDS_PLAN_SENSORS_DO_NOT_FIT, m_name.c_str(), subsystem.c_str()),
                          IDS_PLAN_SENSORS_DO_NOT_FIT);
        return 0;
    }
    return 1;
}

void CQMXSensorMap::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_text << m_name << m_comment << m_groupNumber;
        ar << static_cast<int32_t>(m_rows.size());
        for (const auto& row : m_rows)
            ar << row.slot << row.unitName << row.channel << row.sensor << row.subsystem;
        return;
    }
    const uint32_t stored = ar.GetObjectSchema();
    const uint32_t schema = stored == 0xFFFFFFFFu ? kSchema : stored;
    if (schema > kSchema)
        CArchive::ThrowBadSchema(Format("experiment plan of schema %u", schema));
    ar >> m_text >> m_name >> m_comment;
    if (schema >= 2)
        ar >> m_groupNumber;
    // A row takes at least 11 bytes: two ints and three empty strings.
    const int32_t count = ar.ReadSignedCount(11, "rows in an experiment plan");
    m_rows.assign(static_cast<size_t>(count), tagSENSORMAP());
    for (auto& row : m_rows)
        ar >> row.slot >> row.unitName >> row.channel >> row.sensor >> row.subsystem;
}
