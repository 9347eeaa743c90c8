#pragma once
// The input powers of an analysis project: one input-power function per input subsystem (a
// spectrum map over RPM in a project by RPM, an order map in a project by order), found by
// subsystem, handed to the energy solver, and written as "[IP_...]" text sections that the
// general-data import reads back as "[Input powers]".
#include <cstdint>
#include <string>

#include "calculation/InputItemFolder.h"
#include "platform/base/Feedback.h"

class CMElementList;
class CStdioFile;
class CZuSubsystemTable;
class IAnalysisProjectAccess;

class CInputPowerFolder : public CInputItemFolder
{
    DECLARE_SERIAL(CInputPowerFolder)

public:
    static constexpr uint32_t kSchema = 0;
    // Data kind of the sections' functions: input power.

    CInputPowerFolder(); // the class factory: no name, no parent, kind -1
    // The folder of an analysis project: its fixed name and element type.
    explicit CInputPowerFolder(CMElement* parent);
    ~CInputPowerFolder() override;

    // The subsystem a function holds: the label of an RPM map or of an order map; empty for other
    // elements.
    static std::string ItemSubsystem(const CMElement* element);
    static bool IsItem(const CMElement* element);

    // Empties the list, then adds every function; returns the count.
    int GetInputFunctions(CMElementList& list) const;
    // Empties the list, then adds the first function of each subsystem of the table in table
    // order (names without one add nothing); returns 1.
    int GetFunctionsForSubsystems(const CZuSubsystemTable& table, CMElementList& list) const;

    // One text section at an RPM (projects by RPM) or an order (projects by order; the band-list
    // type and width shape the order bands). 0 when nothing could be written; an order whose bands
    // all lie outside the model is reported to the feedback.
    int ExportText(CStdioFile& file, double key, int bandListType, double bandWidth,
                   CFeedback* feedback = SilentFeedback());

    void Serialize(CArchive& ar) override;

protected:
    bool HoldsItem(const CMElement* element) const override { return IsItem(element); }
    std::string SubsystemOfItem(const CMElement* element) const override { return ItemSubsystem(element); }

private:
    int ExportByRpm(CStdioFile& file, IAnalysisProjectAccess& project, double rpm);
    int ExportByOrder(CStdioFile& file, IAnalysisProjectAccess& project, double order, int bandListType,
                      double bandWidth, CFeedback* feedback);
};
