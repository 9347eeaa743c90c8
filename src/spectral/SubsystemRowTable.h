#pragma once
// A table whose rows are named by a subsystem table it does not own or store (the power-
// contribution tables of the model subsystem): whoever owns the table binds it again after
// reading.
class CZuSubsystemTable;

class ISubsystemRowTable
{
public:
    virtual ~ISubsystemRowTable() = default;
    // Null unbinds; the rows then have no names.
    virtual void BindSubsystemTable(const CZuSubsystemTable* table) = 0;
};
