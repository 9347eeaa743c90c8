#include "acquisition/QmxBlixChMgr.h"

#include <cstdlib>

#include "platform/base/Format.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CQmxBoardInfo, CObject, 0 | VERSIONABLE_SCHEMA)
IMPLEMENT_SERIAL(CQmxBlixInfo, CObject, 0 | VERSIONABLE_SCHEMA)
IMPLEMENT_SERIAL(CQmxBlixChInfo, CObject, 0 | VERSIONABLE_SCHEMA)
IMPLEMENT_SERIAL(CQmxBlixChMgr, CObject, 0 | VERSIONABLE_SCHEMA)

namespace {
constexpr uint8_t kRecordVersion = 0;

void ReadVersion(CArchive& ar, const char* what)
{
    uint8_t version = 0;
    ar >> version;
    if (version != kRecordVersion)
        CArchive::ThrowBadSchema(Format("%s of version %d", what, version));
}

// The smallest stored size of one record (version byte, one-byte fields, empty strings), so a
// forged count is refused before anything is allocated.
template <class T>
constexpr uint64_t MinRecordBytes();
template <>
constexpr uint64_t MinRecordBytes<CQmxBoardInfo>()
{
    return 5;
}
template <>
constexpr uint64_t MinRecordBytes<CQmxBlixInfo>()
{
    return 7;
}
template <>
constexpr uint64_t MinRecordBytes<CQmxBlixChInfo>()
{
    return 7;
}

int SerialAsNumber(const std::string& serial)
{
    return std::atoi(serial.c_str());
}
} // namespace

void CQmxBoardInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kRecordVersion << m_slot << m_first << m_serial << m_third;
        return;
    }
    ReadVersion(ar, "board record");
    ar >> m_slot >> m_first >> m_serial >> m_third;
}

std::string CQmxBlixInfo::GetDisplayText() const
{
    return FormatString(IDS_UNIT_LABEL, SerialAsNumber(m_serial));
}

void CQmxBlixInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kRecordVersion << m_boardSerial << m_chain << m_serial << m_unitText << m_unitByte << m_status;
        return;
    }
    ReadVersion(ar, "unit record");
    ar >> m_boardSerial >> m_chain >> m_serial >> m_unitText >> m_unitByte >> m_status;
    m_board = nullptr;
}

std::string CQmxBlixChInfo::GetDisplayText() const
{
    return FormatString(IDS_UNIT_CHANNEL, m_unitSerial.c_str(), static_cast<int>(m_unitChannel));
}

std::string CQmxBlixChInfo::GetDisplayNumberText() const
{
    return FormatString(IDS_UNIT_CHANNEL_NUMBER, SerialAsNumber(m_unitSerial), static_cast<int>(m_unitChannel));
}

void CQmxBlixChInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kRecordVersion << m_unitSerial << m_unitChannel << m_address << m_channel << m_statusBits;
        return;
    }
    ReadVersion(ar, "channel record");
    ar >> m_unitSerial >> m_unitChannel >> m_address >> m_channel >> m_statusBits;
    m_unit = nullptr;
}

template <class T>
CQmxInfoArray<T>& CQmxInfoArray<T>::operator=(const CQmxInfoArray& other)
{
    if (&other != this) {
        m_items = other.m_items;
        Changed(-1);
    }
    return *this;
}

template <class T>
int CQmxInfoArray<T>::Add(const T& item)
{
    m_items.push_back(item);
    Changed(GetSize() - 1);
    return GetSize() - 1;
}

template <class T>
void CQmxInfoArray<T>::RemoveAll()
{
    m_items.clear();
    Changed(-1);
}

template <class T>
void CQmxInfoArray<T>::Changed(int added)
{
    if (m_owner)
        m_owner->ListChanged(*this, added);
}

template <class T>
void CQmxInfoArray<T>::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kRecordVersion << static_cast<int32_t>(m_items.size());
        for (auto& item : m_items)
            item.Serialize(ar);
        return;
    }
    ReadVersion(ar, "inventory list");
    const int32_t count = ar.ReadSignedCount(MinRecordBytes<T>(), "records in an inventory list");
    std::vector<T> items(static_cast<size_t>(count));
    for (auto& item : items)
        item.Serialize(ar);
    m_items = std::move(items);
    Changed(-1);
}

template class CQmxInfoArray<CQmxBoardInfo>;
template class CQmxInfoArray<CQmxBlixInfo>;
template class CQmxInfoArray<CQmxBlixChInfo>;

int CQmxBoardInfoList::FindBySerial(const std::string& serial) const
{
    for (int i = 0; i < GetSize(); ++i)
        if ((*this)[i].GetSerial() == serial)
            return i;
    return -1;
}

int CQmxBlixInfoList::FindBySerial(const std::string& serial) const
{
    if (serial.empty())
        return -1;
    for (int i = 0; i < GetSize(); ++i)
        if ((*this)[i].GetSerialNumber() == serial)
            return i;
    return -1;
}

int CQmxBlixInfoList::FindByDisplayNumber(const std::string& text) const
{
    for (int i = 0; i < GetSize(); ++i)
        if ((*this)[i].GetDisplayText() == text)
            return i;
    return -1;
}

int CQmxBlixChInfoList::Find(const std::string& serial, int unitChannel) const
{
    for (int i = 0; i < GetSize(); ++i) {
        const CQmxBlixChInfo& ch = (*this)[i];
        if (ch.GetBlixSerial() == serial && ch.GetUnitChannel() == unitChannel)
            return i;
    }
    return -1;
}

int CQmxBlixChInfoList::FindByChannelNumber(int channel) const
{
    for (int i = 0; i < GetSize(); ++i)
        if ((*this)[i].GetChannelNumber() == channel)
            return i;
    return -1;
}

CQmxBlixChMgr::CQmxBlixChMgr()
{
    m_boards.m_owner = this;
    m_units.m_owner = this;
    m_channels.m_owner = this;
}

CQmxBlixChMgr::CQmxBlixChMgr(const CQmxBlixChMgr& other) : CQmxBlixChMgr()
{
    Copy(other);
}

int CQmxBlixChMgr::HasHardware() const
{
    return !m_boards.IsEmpty() && !m_units.IsEmpty() && !m_channels.IsEmpty() ? 1 : 0;
}

void CQmxBlixChMgr::RemoveAll()
{
    m_boards.RemoveAll();
    m_units.RemoveAll();
    m_channels.RemoveAll();
}

CQmxBlixChMgr* CQmxBlixChMgr::Copy(const CQmxBlixChMgr& other)
{
    if (&other == this)
        return this;
    // Each assignment relinks what points into the list it replaced.
    m_boards = other.m_boards;
    m_units = other.m_units;
    m_channels = other.m_channels;
    return this;
}

void CQmxBlixChMgr::LinkUnit(CQmxBlixInfo& unit)
{
    const int b = m_boards.FindBySerial(unit.GetBoardSerial());
    unit.SetBoard(b >= 0 ? &m_boards[b] : nullptr);
}

void CQmxBlixChMgr::LinkChannel(CQmxBlixChInfo& ch)
{
    const int u = m_units.FindBySerial(ch.GetBlixSerial());
    ch.SetBlix(u >= 0 ? &m_units[u] : nullptr);
}

void CQmxBlixChMgr::RelinkUnits()
{
    for (auto& unit : m_units.m_items)
        LinkUnit(unit);
}

void CQmxBlixChMgr::RelinkChannels()
{
    for (auto& ch : m_channels.m_items)
        LinkChannel(ch);
}

void CQmxBlixChMgr::Relink()
{
    RelinkUnits();
    RelinkChannels();
}

// The boards may have moved, and a new board may be the one an unlinked unit names.
void CQmxBlixChMgr::ListChanged(const CQmxInfoArray<CQmxBoardInfo>&, int)
{
    RelinkUnits();
}

// The units may have moved, and a new unit may be the one an unlinked channel names.
void CQmxBlixChMgr::ListChanged(const CQmxInfoArray<CQmxBlixInfo>&, int added)
{
    if (added >= 0)
        LinkUnit(m_units[added]);
    else
        RelinkUnits();
    RelinkChannels();
}

// Nothing points at channels: only the new ones need their link.
void CQmxBlixChMgr::ListChanged(const CQmxInfoArray<CQmxBlixChInfo>&, int added)
{
    if (added >= 0)
        LinkChannel(m_channels[added]);
    else
        RelinkChannels();
}

void CQmxBlixChMgr::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kRecordVersion;
        m_boards.Serialize(ar);
        m_units.Serialize(ar);
        m_channels.Serialize(ar);
        return;
    }
    ReadVersion(ar, "hardware inventory");
    // Read into fresh lists so that a broken record leaves this inventory as it was.
    CQmxBoardInfoList boards;
    CQmxBlixInfoList units;
    CQmxBlixChInfoList channels;
    boards.Serialize(ar);
    units.Serialize(ar);
    channels.Serialize(ar);
    m_boards.m_items = std::move(boards.m_items);
    m_units.m_items = std::move(units.m_items);
    m_channels.m_items = std::move(channels.m_items);
    Relink();
}
