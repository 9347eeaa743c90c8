#include "planning/DAQPPExpPlan.h"

#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"

IMPLEMENT_SERIAL(CDAQPPExpPlan, CObject, 1 | VERSIONABLE_SCHEMA)

CDAQPPExpPlan::CDAQPPExpPlan(int channelCount)
{
    for (int i = 0; i < channelCount; ++i) {
        tagDAQPP_SENSORMAP row;
        row.channel = i;
        m_rows.push_back(row);
    }
}

CDAQPPExpPlan& CDAQPPExpPlan::operator=(const CDAQPPExpPlan& other)
{
    if (this != &other) {
        m_rows = other.m_rows;
        m_name = other.m_name;
        m_comment = other.m_comment;
    }
    return *this;
}

void CDAQPPExpPlan::SetSensor(int row, const std::string& name)
{
    if (ValidRow(row))
        m_rows[row].sensor = name;
}

void CDAQPPExpPlan::SetSubsystem(int row, const std::string& name)
{
    if (ValidRow(row))
        m_rows[row].subsystem = name;
}

int CDAQPPExpPlan::AssignSubsystem(const CSensorAssignment& assignment, int index)
{
    const std::string name = assignment.GetSubsystemName(index);
    const int n = assignment.GetItemCount(index);
    // A missing entry or one without a name has nothing to place.
    if (name.empty() || IsSubsystemUsed(name))
        return 1;
    int free = 0;
    for (int i = 0; i < GetChannelCount(); ++i)
        free += IsRowEmpty(i);
    if (n < 0 || free < n)
        return 0;
    int r = 0;
    for (int k = 0; k < n; ++k) {
        while (r < GetChannelCount() && !IsRowEmpty(r))
            ++r;
        m_rows[r].subsystem = name;
        m_rows[r].sensor = assignment.GetItem(index, k);
        m_rows[r].inputMode = "ICP";
        ++r;
    }
    return 1;
}

void CDAQPPExpPlan::ClearSubsystem(const std::string& name)
{
    for (auto& row : m_rows)
        if (row.subsystem == name) {
            row.sensor.clear();
            row.subsystem.clear();
        }
}

int CDAQPPExpPlan::IsSubsystemUsed(const std::string& name) const
{
    // A free row has no subsystem; it does not use the empty name.
    if (name.empty())
        return 0;
    for (const auto& row : m_rows)
        if (row.subsystem == name)
            return 1;
    return 0;
}

void CDAQPPExpPlan::SwapRows(int i, int j)
{
    if (i == j || !ValidRow(i) || !ValidRow(j))
        return;
    std::swap(m_rows[i], m_rows[j]);
    m_rows[i].channel = i;
    m_rows[j].channel = j;
}

int CDAQPPExpPlan::GetSubsystems(CZuSubsystemTable& table) const
{
    table.Clear();
    for (const auto& row : m_rows)
        if (!row.subsystem.empty())
            table.AddUnique(row.subsystem);
    return table.GetCount();
}

int CDAQPPExpPlan::GetUsedChannelCount() const
{
    int n = 0;
    for (const auto& row : m_rows)
        n += !row.sensor.empty() && !row.subsystem.empty() ? 1 : 0;
    return n;
}

int CDAQPPExpPlan::GetRow(int i, tagDAQPP_SENSORMAP& row) const
{
    if (!ValidRow(i))
        return 0;
    row = m_rows[i];
    return 1;
}

void CDAQPPExpPlan::ClearRow(int i)
{
    if (!ValidRow(i))
        return;
    const int32_t channel = m_rows[i].channel;
    m_rows[i] = tagDAQPP_SENSORMAP();
    m_rows[i].channel = channel;
}

void CDAQPPExpPlan::SetThirdText(int i, const std::string& s)
{
    if (ValidRow(i))
        m_rows[i].thirdText = s;
}

void CDAQPPExpPlan::SetInputMode(int i, const std::string& s)
{
    if (ValidRow(i))
        m_rows[i].inputMode = s;
}

void CDAQPPExpPlan::SetPointValue(int i, int v)
{
    if (ValidRow(i))
        m_rows[i].pointValue = v;
}

void CDAQPPExpPlan::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion << m_text << m_name << m_comment;
        ar << static_cast<int32_t>(m_rows.size());
        for (const auto& row : m_rows)
            ar << row.channel << row.sensor << row.subsystem << row.thirdText << row.inputMode << row.pointValue;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("channel plan of version %d", version));
    ar >> m_text >> m_name >> m_comment;
    const int32_t count = ar.ReadSignedCount(8, "rows in a channel plan");
    m_rows.assign(static_cast<size_t>(count), tagDAQPP_SENSORMAP());
    for (auto& row : m_rows) {
        ar >> row.channel >> row.sensor >> row.subsystem >> row.thirdText >> row.inputMode;
        row.pointValue = 0;
        if (version >= 2)
            ar >> row.pointValue;
    }
}
