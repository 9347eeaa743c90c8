#pragma once
// The common part of the input folders of an analysis project (input energies, input powers): one
// item per subsystem, found by subsystem, and replaced by a newer item of the same subsystem. The
// kinds differ only in which elements are items and where an item keeps its subsystem.
#include <string>

#include "platform/elements/MElement.h"

class CMElementList;
class CZuSubsystemTable;

class CInputItemFolder : public CMElement
{
    DECLARE_DYNAMIC(CInputItemFolder)

public:
    ~CInputItemFolder() override;

    // The first item whose subsystem is this one (byte for byte); null when none.
    CMElement* FindRpmItem(const std::string& subsystem) const;
    // Takes over the elements (the folder owns them), each replacing the item of its subsystem. An
    // element the folder holds already, or one listed twice, stays once.
    void AddItems(const CMElementList& list);
    // Empties the table and adds the subsystem of every item; returns the count.
    int GetSubsystemTable(CZuSubsystemTable& table) const;

protected:
    CInputItemFolder();
    CInputItemFolder(const std::string& name, CMElement* parent, int type);

    // Whether a child is one of the folder's items, and the subsystem it holds.
    virtual bool HoldsItem(const CMElement* element) const = 0;
    virtual std::string SubsystemOfItem(const CMElement* element) const = 0;
};
