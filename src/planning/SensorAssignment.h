#pragma once
// For each subsystem of the vehicle model, the names of the sensors that measure it, in order.
#include <string>
#include <vector>

#include "platform/archive/Archive.h"

class CZuSubsystemTable;

struct tagSENSORASSIGN
{
    std::string subsystem;
    std::vector<std::string> sensors;

    bool operator==(const tagSENSORASSIGN&) const = default;
};

class CSensorAssignment : public CObject
{
    DECLARE_SERIAL(CSensorAssignment)

public:
    static constexpr uint32_t kSchema = 1;

    explicit CSensorAssignment(const CZuSubsystemTable* table = nullptr);

    // Adds an empty row for each subsystem of the table that has none and sorts the rows by
    // name; rows of subsystems no longer in the table stay. No or an empty table removes all rows.
    void SetSubsystems(const CZuSubsystemTable* table);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int FindRow(const std::string& name) const;
    std::string GetSubsystemName(int i) const;
    int GetItemCount(int i) const;
    void SetItemCount(int i, int n);
    std::string GetItem(int i, int k) const;
    void SetItem(int i, int k, const std::string& name);
    int IsSensorAssigned(const std::string& name) const;
    int FindItem(int i, const std::string& name) const;
    int AddRow(const std::string& name, const std::vector<std::string>& sensors);
    // Appends a sensor to row i; returns i, or -1 when i is out of range.
    int AddItem(int i, const std::string& item);

    // The tab-separated exchange file: three header lines ("#@" and the tag, "# " and the path,
    // "#"), then a line per row: the subsystem and, tab-separated, its sensors. 1 on success; 0 when
    // the file cannot be written (the previous file stays).
    int ExportText(const std::string& path, const std::string& tag) const;
    // Reads such a file: each line up to the first empty one gives its subsystem's row the sensors
    // listed (replacing the row's), lines of subsystems without a row are skipped. A first line
    // beginning with "#" is a header (with "#@" two more follow); the tag is not compared. 1 on success; 0 when the file cannot be read (rows keep what was read till then).
    int ImportText(const std::string& path, const std::string& tag);

    bool operator==(const CSensorAssignment& o) const { return m_rows == o.m_rows; }

    void Serialize(CArchive& ar) override;

private:
    bool ValidRow(int i) const { return i >= 0 && i < GetRowCount(); }

    std::vector<tagSENSORASSIGN> m_rows;
};
