#pragma once
// The hardware inventory of an acquisition system: its boards, the Blix units on the boards' chains
// and every Blix channel with its unit, its number on the unit, its device address and its global
// channel number. Each measured experiment keeps a copy of the inventory it was measured with.
//
// Links between the records (unit -> board, channel -> unit) are run-time only. The inventory keeps
// them itself: every operation that moves or replaces the records of one of its lists (Add,
// RemoveAll, assignment, load, Copy) relinks the records that point into that list, so a link never
// points into storage a list has given up. Fields changed in place through an element reference
// (a serial number, say) take effect on the links at the next Relink.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"

// One acquisition board.
class CQmxBoardInfo : public CObject
{
    DECLARE_SERIAL(CQmxBoardInfo)

public:
    CQmxBoardInfo() = default;
    CQmxBoardInfo(const CQmxBoardInfo&) = default;
    CQmxBoardInfo& operator=(const CQmxBoardInfo&) = default;

    uint8_t GetSlot() const { return m_slot; }
    void SetSlot(uint8_t slot) { m_slot = slot; }
    std::string GetFirstText() const { return m_first; }
    void SetFirstText(const std::string& s) { m_first = s; }
    std::string GetSerial() const { return m_serial; }
    void SetSerial(const std::string& s) { m_serial = s; }
    std::string GetThirdText() const { return m_third; }
    void SetThirdText(const std::string& s) { m_third = s; }

    void Serialize(CArchive& ar) override;

private:
    uint8_t m_slot = 255;
    std::string m_first;
    std::string m_serial;
    std::string m_third;
};

// One Blix unit.
class CQmxBlixInfo : public CObject
{
    DECLARE_SERIAL(CQmxBlixInfo)

public:
    CQmxBlixInfo() = default;
    CQmxBlixInfo(const CQmxBlixInfo&) = default;
    CQmxBlixInfo& operator=(const CQmxBlixInfo&) = default;

    std::string GetSerialNumber() const { return m_serial; }
    void SetSerialNumber(const std::string& s) { m_serial = s; }
    std::string GetBoardSerial() const { return m_boardSerial; }
    void SetBoardSerial(const std::string& s) { m_boardSerial = s; }
    uint8_t GetChain() const { return m_chain; }
    void SetChain(uint8_t chain) { m_chain = chain; }
    std::string GetUnitText() const { return m_unitText; }
    void SetUnitText(const std::string& s) { m_unitText = s; }
    uint8_t GetUnitByte() const { return m_unitByte; }
    void SetUnitByte(uint8_t b) { m_unitByte = b; }
    uint8_t GetStatusFlag() const { return m_status; }
    void SetStatusFlag(uint8_t f) { m_status = f; }
    int IsStatusFlagSet() const { return m_status & 1; }
    CQmxBoardInfo* GetBoard() const { return m_board; }
    void SetBoard(CQmxBoardInfo* board) { m_board = board; }
    // IDS_UNIT_LABEL with the serial number read as an integer.
    std::string GetDisplayText() const;

    void Serialize(CArchive& ar) override;

private:
    CQmxBoardInfo* m_board = nullptr; // not owned, not stored
    std::string m_boardSerial;
    uint8_t m_chain = 255;
    std::string m_serial;
    std::string m_unitText;
    uint8_t m_unitByte = 255;
    uint8_t m_status = 0;
};

// One Blix channel.
class CQmxBlixChInfo : public CObject
{
    DECLARE_SERIAL(CQmxBlixChInfo)

public:
    CQmxBlixChInfo() = default;
    CQmxBlixChInfo(const CQmxBlixChInfo&) = default;
    CQmxBlixChInfo& operator=(const CQmxBlixChInfo&) = default;

    std::string GetBlixSerial() const { return m_unitSerial; }
    void SetBlixSerial(const std::string& s) { m_unitSerial = s; }
    uint8_t GetUnitChannel() const { return m_unitChannel; }
    void SetUnitChannel(uint8_t ch) { m_unitChannel = ch; }
    // The channel's number on its unit counted from 0.
    int GetUnitChannelIndex() const { return m_unitChannel - 1; }
    uint8_t GetDeviceAddress() const { return m_address; }
    void SetDeviceAddress(uint8_t a) { m_address = a; }
    int16_t GetChannelNumber() const { return m_channel; }
    void SetChannelNumber(int16_t n) { m_channel = n; }
    uint8_t GetStatusBits() const { return m_statusBits; }
    void SetStatusBits(uint8_t bits) { m_statusBits = bits; }
    CQmxBlixInfo* GetBlix() const { return m_unit; }
    void SetBlix(CQmxBlixInfo* unit) { m_unit = unit; }
    // IDS_UNIT_CHANNEL with the unit serial text and unit channel; IDS_UNIT_CHANNEL_NUMBER with the
    // serial as a number.
    std::string GetDisplayText() const;
    std::string GetDisplayNumberText() const;

    void Serialize(CArchive& ar) override;

private:
    CQmxBlixInfo* m_unit = nullptr; // not owned, not stored
    std::string m_unitSerial;
    uint8_t m_unitChannel = 0;
    uint8_t m_address = 0;
    int16_t m_channel = -1;
    uint8_t m_statusBits = 0;
};

class CQmxBlixChMgr;

// The record lists: records by value, stored with a version byte and a 4-byte count. A list inside
// an inventory tells it whenever its records move, so the inventory can relink them.
template <class T>
class CQmxInfoArray
{
public:
    CQmxInfoArray() = default;
    // A copy takes the records, never the inventory the source belongs to.
    CQmxInfoArray(const CQmxInfoArray& other) : m_items(other.m_items) {}
    CQmxInfoArray& operator=(const CQmxInfoArray& other);

    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    T& operator[](int i) { return m_items.at(static_cast<size_t>(i)); }
    const T& operator[](int i) const { return m_items.at(static_cast<size_t>(i)); }
    T& ElementAt(int i) { return (*this)[i]; }
    int Add(const T& item);
    void RemoveAll();
    // Read-only: records are added and removed only through the operations above, which keep the
    // inventory's links in step.
    const std::vector<T>& Items() const { return m_items; }
    void Serialize(CArchive& ar);

private:
    friend class CQmxBlixChMgr;
    // added: index of the one appended record, or -1 when the whole list was replaced.
    void Changed(int added);

    std::vector<T> m_items;
    CQmxBlixChMgr* m_owner = nullptr; // the inventory holding this list; null for a free list
};

class CQmxBoardInfoList : public CQmxInfoArray<CQmxBoardInfo>
{
public:
    int FindBySerial(const std::string& serial) const;
};

class CQmxBlixInfoList : public CQmxInfoArray<CQmxBlixInfo>
{
public:
    // -1 for an empty serial too.
    int FindBySerial(const std::string& serial) const;
    int FindByDisplayNumber(const std::string& text) const;
};

class CQmxBlixChInfoList : public CQmxInfoArray<CQmxBlixChInfo>
{
public:
    // By unit serial and 1-based unit channel.
    int Find(const std::string& serial, int unitChannel) const;
    int FindByChannelNumber(int channel) const;
};

using CQmxBlixChInfoPtrList = std::vector<CQmxBlixChInfo*>;

class CQmxBlixChMgr : public CObject
{
    DECLARE_SERIAL(CQmxBlixChMgr)

public:
    CQmxBlixChMgr();
    CQmxBlixChMgr(const CQmxBlixChMgr& other);
    CQmxBlixChMgr& operator=(const CQmxBlixChMgr& other) { return *Copy(other); }

    CQmxBoardInfoList& GetBoardInfoList() { return m_boards; }
    CQmxBlixInfoList& GetBlixInfoList() { return m_units; }
    CQmxBlixChInfoList& GetBlixChInfoList() { return m_channels; }
    const CQmxBoardInfoList& GetBoardInfoList() const { return m_boards; }
    const CQmxBlixInfoList& GetBlixInfoList() const { return m_units; }
    const CQmxBlixChInfoList& GetBlixChInfoList() const { return m_channels; }

    // TRUE only with at least one board, one unit and one channel.
    int HasHardware() const;
    void RemoveAll();
    // Replaces the records by copies of other's and relinks them to this inventory.
    CQmxBlixChMgr* Copy(const CQmxBlixChMgr& other);
    void Relink();

    void Serialize(CArchive& ar) override;

private:
    template <class T>
    friend class CQmxInfoArray;
    // Called by the lists when their records moved; each relinks what points into that list.
    void ListChanged(const CQmxInfoArray<CQmxBoardInfo>& list, int added);
    void ListChanged(const CQmxInfoArray<CQmxBlixInfo>& list, int added);
    void ListChanged(const CQmxInfoArray<CQmxBlixChInfo>& list, int added);
    void LinkUnit(CQmxBlixInfo& unit);
    void LinkChannel(CQmxBlixChInfo& ch);
    void RelinkUnits();
    void RelinkChannels();

    CQmxBoardInfoList m_boards;
    CQmxBlixInfoList m_units;
    CQmxBlixChInfoList m_channels;
};
