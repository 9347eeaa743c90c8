#pragma once
// One measurement set-up: which bundle sensor (bundle number and slot) is on which acquisition
// channel. Members are kept sorted by channel index; a channel holds at most one member.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"
#include "platform/base/Feedback.h"

struct tagSENSORGROUPMEMBER
{
    std::string text;     // the sensor ID found at the slot when the member was set
    int32_t bundle = -1;  // bundle number
    int32_t slot = -1;    // position of the sensor within the bundle
    int32_t channel = -1; // 0-based acquisition channel
    int32_t extra = 0;

    bool operator==(const tagSENSORGROUPMEMBER&) const = default;
};

class CSensorGroup : public CObject
{
    DECLARE_SERIAL(CSensorGroup)

public:
    static constexpr uint8_t kVersion = 0;

    CSensorGroup() = default;

    // The channel count of a system without a project that says otherwise.
    static constexpr int kDefaultChannelCount = 16;

    // Places a member on its channel (see the source for the rules); 1 when placed, 0 when the group
    // already holds channelCount members (reported as a warning through the feedback). channelCount
    // is the system channel count of the project the group belongs to.
    int SetMember(const tagSENSORGROUPMEMBER& member, int channelCount = kDefaultChannelCount,
                  CFeedback* feedback = SilentFeedback());
    int GetMemberCount() const { return static_cast<int>(m_members.size()); }
    tagSENSORGROUPMEMBER GetMember(int i) const { return m_members[static_cast<size_t>(i)]; }
    int GetMemberKeyA(int i) const { return m_members[static_cast<size_t>(i)].bundle; }
    int GetMemberKeyB(int i) const { return m_members[static_cast<size_t>(i)].slot; }
    int GetMemberValue(int i) const { return m_members[static_cast<size_t>(i)].channel; }
    // Removes every member on the channel; the bundle stays in the group's bundle list.
    void RemoveMembersOnChannel(int channel);
    void Clear();
    int UsesBundle(int bundle) const;
    // Lists a bundle as used by the group (once).
    void AddBundle(int bundle)
    {
        if (!UsesBundle(bundle))
            m_bundles.push_back(bundle);
    }
    const std::vector<int32_t>& GetBundles() const { return m_bundles; }
    // Moves every member's channel by delta; 0 (nothing changed) when a channel would leave the
    // range 0 .. channelCount - 1.
    int Shift(int delta, int channelCount = kDefaultChannelCount);
    // A copy made through an in-memory archive.
    std::unique_ptr<CSensorGroup> Clone() const;

    void Serialize(CArchive& ar) override;

private:
    void SortMembers();

    std::vector<int32_t> m_bundles; // in order of first use, no duplicates
    std::vector<tagSENSORGROUPMEMBER> m_members;
};
