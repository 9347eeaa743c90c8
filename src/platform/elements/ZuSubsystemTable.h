#pragma once
// The list of a model's subsystems by name (the key with its wave-type mark: "Roof-F", "Cabin-").
// Measured data, model data and results are matched by these names; a function's rows and columns
// are named by the table it was built over.
#include <string>
#include <vector>

#include "platform/archive/Object.h"

class CZuSubsystemTable : public CObject
{
    DECLARE_SERIAL(CZuSubsystemTable)
public:
    CZuSubsystemTable() = default;
    CZuSubsystemTable(const CZuSubsystemTable& other);
    CZuSubsystemTable& operator=(const CZuSubsystemTable& other);
    explicit CZuSubsystemTable(std::vector<std::string> names);

    // Appends a name (no duplicate test); returns its index.
    int Add(const std::string& name);
    // Appends the name when it is not there yet; returns its index either way.
    int AddUnique(const std::string& name);
    // Index of the first entry equal to name (byte-wise); -1 when absent.
    int GetIndex(const std::string& name) const;
    int GetCount() const { return static_cast<int>(m_names.size()); }
    bool IsEmpty() const { return m_names.empty(); }
    // Entry i; throws std::out_of_range for an index outside the table.
    const std::string& operator[](int i) const { return At(i); }
    const std::string& At(int i) const;
    void SetAt(int i, const std::string& name);
    // Removes entry i; 0 for an index outside the table.
    int RemoveAt(int i);
    void Clear() { m_names.clear(); }
    // Ascending byte order.
    void Sort();

    const std::vector<std::string>& Names() const { return m_names; }
    bool operator==(const CZuSubsystemTable& other) const { return m_names == other.m_names; }
    bool operator!=(const CZuSubsystemTable& other) const { return !(*this == other); }

    // Version byte, count, names (see docs/file-formats.md).
    void Serialize(CArchive& ar) override;

private:
    std::vector<std::string> m_names;
};
