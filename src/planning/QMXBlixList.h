#pragma once
// A unit group: which Blix unit (by its registered serial-number text) sits in which of the 32
// slots x 4 unit positions of the hardware. Plans refer to a group by its number.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"

class CQMXBlixList : public CObject
{
    DECLARE_SERIAL(CQMXBlixList)

public:
    static constexpr uint32_t kSchema = 2;
    static constexpr int kSlotCount = 32;
    static constexpr int kUnitsPerSlot = 4;
    static constexpr int kChannelsPerUnit = 2;
    static constexpr int kRowCount = kSlotCount * kUnitsPerSlot * kChannelsPerUnit; // 256

    CQMXBlixList() : CQMXBlixList(0) {}
    explicit CQMXBlixList(int number) : m_number(number) {}
    // The names of another group under a number of its own.
    CQMXBlixList(const CQMXBlixList& names, int number) : m_names(names.m_names), m_number(number) {}

    // 1, or 0 when slot or position is outside the table.
    int SetUnitName(int slot, int position, const std::string& name);
    std::string GetUnitName(int slot, int position) const;
    // Splits a channel row into slot, unit position and channel, and gives the unit's name.
    void GetRowUnit(int row, std::string& name, int& slot, int& position, int& channel) const;
    int GetUsedSlotCount() const;
    int GetUnitCount() const;
    int GetNumber() const { return m_number; }
    void SetNumber(int number) { m_number = number; }

    bool operator==(const CQMXBlixList& o) const { return m_names == o.m_names && m_number == o.m_number; }

    void Serialize(CArchive& ar) override;

private:
    std::array<std::array<std::string, kUnitsPerSlot>, kSlotCount> m_names;
    int32_t m_number = 0;
};

// The project's unit groups (owned), one per acquisition system.
class CQMXBlixListArray
{
public:
    int GetSize() const { return static_cast<int>(m_groups.size()); }
    CQMXBlixList* GetAt(int i) const { return i >= 0 && i < GetSize() ? m_groups[i].get() : nullptr; }
    CQMXBlixList* operator[](int i) const { return GetAt(i); }
    // Resizing drops groups past the new size and adds empty slots (null) before filling them.
    void SetSize(int n) { m_groups.resize(static_cast<size_t>(n < 0 ? 0 : n)); }
    void SetAt(int i, std::unique_ptr<CQMXBlixList> group) { m_groups.at(static_cast<size_t>(i)) = std::move(group); }
    CQMXBlixList* Add(std::unique_ptr<CQMXBlixList> group);
    void RemoveAll() { m_groups.clear(); }
    CQMXBlixList* FindGroup(int number) const;
    // Deletes the group of that number; 1, or 0 when there is none.
    int RemoveGroup(int number);
    // Largest group number, -1 when there are no groups.
    int GetMaxNumber() const;
    // Plain pointers for those that only refer to the groups.
    std::vector<CQMXBlixList*> Pointers() const;

private:
    std::vector<std::unique_ptr<CQMXBlixList>> m_groups;
};
