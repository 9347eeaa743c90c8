#include "experiments/SensorGroup.h"

#include <algorithm>

#include "platform/base/Format.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CSensorGroup, CObject, 0 | VERSIONABLE_SCHEMA)

void CSensorGroup::SortMembers()
{
    const size_t n = m_members.size();
    for (size_t i = 0; i + 1 < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (m_members[j].channel < m_members[i].channel)
                std::swap(m_members[i], m_members[j]);
}

int CSensorGroup::SetMember(const tagSENSORGROUPMEMBER& member, int channelCount, CFeedback* feedback)
{
    RemoveMembersOnChannel(member.channel);
    for (auto& m : m_members)
        if (m.bundle == member.bundle && m.slot == member.slot) {
            m.channel = member.channel;
            SortMembers();
            return 1;
        }
    const int limit = channelCount;
    if (GetMemberCount() >= limit) {
        feedback->Warning(FormatString(IDS_GROUP_TOO_LARGE, limit), IDS_GROUP_TOO_LARGE);
        return 0;
    }
    m_members.push_back(member);
    if (!UsesBundle(member.bundle))
        m_bundles.push_back(member.bundle);
    SortMembers();
    return 1;
}

void CSensorGroup::RemoveMembersOnChannel(int channel)
{
    std::erase_if(m_members, [channel](const tagSENSORGROUPMEMBER& m) { return m.channel == channel; });
}

void CSensorGroup::Clear()
{
    m_bundles.clear();
    m_members.clear();
}

int CSensorGroup::UsesBundle(int bundle) const
{
    return std::find(m_bundles.begin(), m_bundles.end(), bundle) != m_bundles.end() ? 1 : 0;
}

int CSensorGroup::Shift(int delta, int channelCount)
{
    if (m_members.empty())
        return 1;
    const auto [lo, hi] = std::minmax_element(
        m_members.begin(), m_members.end(),
        [](const tagSENSORGROUPMEMBER& a, const tagSENSORGROUPMEMBER& b) { return a.channel < b.channel; });
    if (delta < 1) {
        if (static_cast<int64_t>(lo->channel) + delta < 0)
            return 0;
    } else if (static_cast<int64_t>(hi->channel) + delta > channelCount - 1) {
        return 0;
    }
    std::vector<tagSENSORGROUPMEMBER> moved = m_members;
    Clear();
    for (auto& m : moved) {
        m.channel += delta;
        SetMember(m, channelCount);
    }
    return 1;
}

std::unique_ptr<CSensorGroup> CSensorGroup::Clone() const
{
    std::vector<uint8_t> buffer;
    {
        CArchive out(&buffer, CArchive::store);
        out.WriteObject(this);
    }
    CArchive in(&buffer, CArchive::load);
    return in.ReadOwned<CSensorGroup>();
}

void CSensorGroup::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        ar << static_cast<int32_t>(m_bundles.size());
        for (int32_t b : m_bundles)
            ar << b;
        ar << static_cast<int32_t>(m_members.size());
        for (const auto& m : m_members)
            ar << m.text << m.channel << m.extra << m.bundle << m.slot;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("sensor group of version %d", version));
    int32_t count = ar.ReadSignedCount(4, "bundles in a sensor group");
    m_bundles.assign(static_cast<size_t>(count), 0);
    for (auto& b : m_bundles)
        ar >> b;
    count = ar.ReadSignedCount(17, "members in a sensor group");
    m_members.assign(static_cast<size_t>(count), tagSENSORGROUPMEMBER());
    for (auto& m : m_members)
        ar >> m.text >> m.channel >> m.extra >> m.bundle >> m.slot;
}
