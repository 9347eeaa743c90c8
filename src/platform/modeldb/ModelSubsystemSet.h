#pragma once
// A numbered set of subsystems of the vehicle model (set 1 holds the subsystems the analyses use).
#include "platform/modeldb/ModelSubsystem.h"

#include <memory>
#include <string>
#include <vector>

class CArchive;
class CZuSubsystemTable;

class CModelSubsystemSet
{
public:
    explicit CModelSubsystemSet(int number = 1, const std::string& name = {});
    CModelSubsystemSet(const CModelSubsystemSet& other);
    CModelSubsystemSet& operator=(const CModelSubsystemSet& other);

    int GetNumber() const { return m_number; }
    const std::string& GetName() const { return m_name; }

    int GetCount() const { return static_cast<int>(m_subsystems.size()); }
    // Subsystem i in file order; null outside the set.
    CModelSubsystem* GetAt(int i) const;
    // Appends an owned subsystem; returns it.
    CModelSubsystem* Add(std::unique_ptr<CModelSubsystem> subsystem);

    // By name: exact 1 compares byte-wise; exact 0 ignores ASCII case and a wave-type mark of the
    // name asked for. Null when absent.
    CModelSubsystem* Find(const std::string& name, int exact = 1) const;

    // Fills the table (emptied first) with the names of all subsystems, in set order; returns the count.
    int GetAllSubsystemsList(CZuSubsystemTable& table) const;
    // Appends the names of the shells (structures) to the table; returns how many were appended.
    int GetShellsList(CZuSubsystemTable& table) const;
    // Appends the names of the subsystems of one type code; with clear 1 the table is emptied first.
    // Returns how many were appended.
    int GetSubsystemsList(CZuSubsystemTable& table, int type, int clear) const;

    // Gives every subsystem its default colour and takes its mark away.
    void ResetDisplay();

    // Number, name, count and the subsystems (kind tag first).
    void Serialize(CArchive& ar);

private:
    int m_number = 1;
    std::string m_name;
    std::vector<std::unique_ptr<CModelSubsystem>> m_subsystems;
};
