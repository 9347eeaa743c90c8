#pragma once
// Which local points (measurement points) of one subsystem take part in a calculation, and the
// list of such selections kept by calculation options.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"

class CSubsystemLPInfo : public CObject
{
    DECLARE_SERIAL(CSubsystemLPInfo)

public:
    // With a count above 0 every one of the count local points is selected.
    explicit CSubsystemLPInfo(int count = 0);
    CSubsystemLPInfo(const CSubsystemLPInfo&) = default;
    CSubsystemLPInfo& operator=(const CSubsystemLPInfo&) = default;

    void SetSizeAndSelectAll(int count);
    void SetAt(int index, int flag) { m_flags.at(static_cast<size_t>(index)) = flag; }
    int GetAt(int index) const { return m_flags.at(static_cast<size_t>(index)); }
    int GetSize() const { return static_cast<int>(m_flags.size()); }
    void SelectAll();
    std::string GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }

    bool operator==(const CSubsystemLPInfo& o) const { return m_name == o.m_name && m_flags == o.m_flags; }
    bool operator!=(const CSubsystemLPInfo& o) const { return !(*this == o); }

    // The name, then the flags as an int array: count and raw 32-bit values.
    void Serialize(CArchive& ar) override;

private:
    std::string m_name;
    std::vector<int32_t> m_flags; // index = local-point number - 1; 1 = takes part
};

class CSubsystemLPInfoList
{
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    CSubsystemLPInfo& operator[](int i) { return m_items.at(static_cast<size_t>(i)); }
    const CSubsystemLPInfo& operator[](int i) const { return m_items.at(static_cast<size_t>(i)); }
    CSubsystemLPInfo& ElementAt(int i) { return (*this)[i]; }
    int Add(const CSubsystemLPInfo& info);
    void SetSize(int n) { m_items.resize(static_cast<size_t>(n < 0 ? 0 : n)); }
    void RemoveAll() { m_items.clear(); }
    // Index of the first entry of that name; -1 when none (or no name) is given.
    int FindByName(const char* name) const;
    int FindByName(const std::string& name) const { return FindByName(name.c_str()); }

    bool operator==(const CSubsystemLPInfoList& o) const { return m_items == o.m_items; }

    // The count, then each entry.
    void Serialize(CArchive& ar);

private:
    std::vector<CSubsystemLPInfo> m_items;
};
