#pragma once
// The input energies of an analysis project: one energy function per excited subsystem (over RPM
// and band, or over RPM and order), found by subsystem, listed for the input-power calculation and
// written as text sections of the input-power text layout, as energies ("IE_") or converted back
// to velocity and pressure ("IPV_").
#include <cstdint>
#include <string>

#include "calculation/InputItemFolder.h"
#include "platform/base/Feedback.h"

class CMElementList;
class CStdioFile;
class CZuSubsystemTable;
class IAnalysisProjectAccess;

class CInputEnergyFolder : public CInputItemFolder
{
    DECLARE_SERIAL(CInputEnergyFolder)

public:
    static constexpr uint32_t kSchema = 1;
    // Data kinds of the text sections: energy, velocity (structures), pressure (cavities).

    CInputEnergyFolder(); // the class factory
    // The folder of an analysis project: its fixed name and element type.
    explicit CInputEnergyFolder(CMElement* parent);
    ~CInputEnergyFolder() override;

    // The subsystem an item holds: the label of an RPM function or of a multi-vector function;
    // empty for other elements.
    static std::string ItemSubsystem(const CMElement* element);

    // Empties list, then adds the items of each subsystem of the table in table order; returns 1.
    int GetItems(const CZuSubsystemTable& table, CMElementList& list) const;

    // One text section at an RPM (projects by RPM) or an order (projects by order), as energies
    // or, with asLevels, as velocities and pressures. 0 when nothing could be written; an order
    // whose bands all lie outside the model is reported to the feedback.
    int ExportText(CStdioFile& file, double key, int bandListType, double bandWidth, int asLevels,
                   CFeedback* feedback = SilentFeedback());

    // The element part; a folder of schema 0 gets its energy functions in the order form.
    void Serialize(CArchive& ar) override;

protected:
    // Its items are the energy functions over RPM and the multi-vector functions.
    bool HoldsItem(const CMElement* element) const override;
    std::string SubsystemOfItem(const CMElement* element) const override { return ItemSubsystem(element); }

private:
    int ExportByRpm(CStdioFile& file, IAnalysisProjectAccess& project, double rpm, int asLevels);
    int ExportByOrder(CStdioFile& file, IAnalysisProjectAccess& project, double order, int bandListType,
                      double bandWidth, int asLevels, CFeedback* feedback);
    // The header of an item and the factor that turns its energy into the squared level (1.0 for
    // energies); false when the item's subsystem is not in the model.
    bool WriteItemHeader(CStdioFile& file, const IAnalysisProjectAccess& project, const std::string& label,
                         int asLevels, std::string& name, double& factor) const;
};
