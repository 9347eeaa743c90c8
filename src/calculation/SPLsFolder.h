#pragma once
// The SPL folder of an analysis project: tables of a target cavity's SPL with one column per input
// subsystem, each column the SPL that input alone causes. A table by RPM holds one entry per RPM
// (bands by input subsystems); a table by order holds one such RPM table per order, with values only
// in the band of the order frequency.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/elements/MElement.h"

class COctaveManager;
class CZuOTFunc;
class CZuOTMultiVecFunc;
class CZuRpmMultiVecFunc;
class CZuRpmSelFunc;
class CZuSubsystemTable;

class CSPLsFolder : public CMElement
{
    DECLARE_SERIAL(CSPLsFolder)

public:
    static constexpr uint32_t kSchema = 0;
    // Data kind of the tables, and of their entries' columns (SPL).

    CSPLsFolder(); // the class factory: no name, no parent, kind -1
    CSPLsFolder(const std::string& name, CMElement* parent, int kind);
    ~CSPLsFolder() override;

    // The first table labelled with the target (byte for byte) whose first entry has a column for
    // every name of the table; null when none. Tables without entries are passed over.
    CZuRpmSelFunc* FindSPL(const std::string& target, const CZuSubsystemTable& table) const;

    // The table by RPM from one SPL result per column (each an SPL over RPM of the target); RPM rows
    // and bands are those of the first result. A cell a result lacks holds HUGE_VAL. Null without
    // results, columns or target, or when the counts differ.
    static std::unique_ptr<CZuRpmMultiVecFunc> BuildRpmTable(const std::string& target, const std::string& title,
                                                             const CZuSubsystemTable& columns,
                                                             const std::vector<const CMElement*>& spls);
    // The table by order from one SPL order map per column: orders and RPM rows of the first map;
    // only the band of the order frequency (whole Hz) carries a value, every other band HUGE_VAL.
    static std::unique_ptr<CZuOTMultiVecFunc> BuildOrderTable(const std::string& target, const std::string& title,
                                                              const CZuSubsystemTable& columns,
                                                              const std::vector<const CZuOTFunc*>& spls, double factor,
                                                              const COctaveManager* bands);

    void Serialize(CArchive& ar) override;
};
