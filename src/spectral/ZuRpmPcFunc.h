#pragma once
// Power contributions into one target subsystem over engine speed: one power-contribution table
// per RPM. The tables name their rows by the result set's subsystem table, which is not stored
// with them: the result set binds every entry again after reading (BindSubsystemTable).
#include <string>

#include "platform/elements/ZuRpmSelFunc.h"

class CZuSubsystemTable;

class CZuRpmPcFunc : public CZuRpmSelFunc
{
    DECLARE_SERIAL(CZuRpmPcFunc)
public:
    CZuRpmPcFunc(); // the class factory: empty name, no parent, kind -1
    CZuRpmPcFunc(const std::string& name, CMElement* parent, int kind);
    ~CZuRpmPcFunc() override;

    void SetTargetName(const std::string& name) { m_target = name; }
    std::string GetTargetName() const { return m_target; }
    // Whether the target is an acoustic cavity, by the open project's test of the name.
    int IsTargetAcoustic() const;
    // Gives every entry that names rows by a subsystem table this table (not owned).
    void BindSubsystemTable(const CZuSubsystemTable* table);

    // The RPM-selection part, then the target name.
    void Serialize(CArchive& ar) override;

private:
    std::string m_target;
};
