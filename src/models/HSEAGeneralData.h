#pragma once
// A named set of loss-factor or power functions over the bands of the model: a matrix of CLFs and
// total DLFs (kind 1), CLF functions (2), total DLFs (3), intrinsic DLFs (4), input powers (5) or
// target energy ratios (6). The set knows its band set and subsystem table, exchanges its content
// as text in bracketed sections and fills the connection information from its functions.
#include <cstdint>
#include <string>

#include "platform/elements/ZuData.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/gfx/OctaveManager.h"

class CEnergyRatioFunction;
class CZuPowerFunc;

class CHSEAGeneralData : public CZuData
{
    DECLARE_SERIAL(CHSEAGeneralData)
public:
    enum : int
    {
        KIND_CLF_DLF_MATRIX = 1,
        KIND_CLF = 2,
        KIND_TOTAL_DLF = 3,
        KIND_INTRINSIC_DLF = 4,
        KIND_INPUT_POWER = 5,
        KIND_ENERGY_RATIO = 6,
    };

    CHSEAGeneralData();
    // As CZuData; under a parent of element type 0 the name becomes "<name> #<serial>" (string 7028).
    CHSEAGeneralData(const std::string& name, CMElement* parent, int type, int domainType, double startFreq,
                     double endFreq);
    ~CHSEAGeneralData() override;

    CZuStdDataList* GetZuStdDataList() override { return &m_properties; }

    int GetKind() const { return m_nKind; }
    void SetKind(int kind) { m_nKind = kind; }
    // Replaces the band set (the previous one is destroyed).
    void SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands) { CZuData::SetOctaveManager(std::move(bands)); }

    // The section heading of a kind; empty for kind 6 and unknown kinds.
    static const char* SectionName(int kind);

    // An input-power function of the subsystem (power kinds 0 to 3), 1.0 in every band. An existing
    // one starts again at 1.0 (the window asks 7095 first); null for another power kind.
    CZuPowerFunc* AddPowerFunc(const std::string& subsystem, int powerKind);
    // The energy-ratio function of the pair, created with 0.0 in every band; null when a equals b.
    CEnergyRatioFunction* AddEnergyRatioFunc(const std::string& a, const std::string& b);
    CZuPowerFunc* FindFuncByKind(const std::string& subsystem, int powerKind) const;
    CEnergyRatioFunction* FindEnergyRatioFunc(const std::string& a, const std::string& b) const;

    // The CLF child named for (a, b); when absent and retried is 0, (b, a) is tried and, when found,
    // the caller's names are exchanged.
    CZuFuncElement* GetClf(std::string& a, std::string& b, int retried = 0) override;
    double ExtractClf(const std::string& from, const std::string& to, unsigned band,
                      CFeedback* feedback = SilentFeedback()) override;
    int ExtractClf(const std::string& from, const std::string& to, double* out, unsigned count,
                   CFeedback* feedback = SilentFeedback()) override;
    using CZuData::ExtractClf;

    int UpdateConnectionInfo(CFeedback* feedback = SilentFeedback()) override;
    int Export(CStdioFile& file) override;
    int Import(CStdioFile& file) override;
    // Reads one bracketed text section ("[title]", the band list after
    // "USER_DEFINED_FREQUENCY_DOMAIN", the subsystem list, "[Input powers]", then a "[name]\tkind"
    // line and a line of values per subsystem), as the result folders of analysis projects export
    // their powers and energies. The set takes the section's bands and subsystems and one power
    // function per subsystem; an empty value field reads as 0. 1 when read (the kind is then 5), 0
    // with the reason in GetImportError, leaving the set as it was.
    int ImportSection(CStdioFile& file);
    const std::string& GetImportError() const { return m_importError; }

    void Serialize(CArchive& ar) override;

    // Names of the functions of a set.
    static std::string ClfName(const std::string& a, const std::string& b);
    static std::string EnergyRatioName(const std::string& a, const std::string& b);
    static std::string PowerName(const std::string& subsystem, int powerKind);

private:
    // Index of a subsystem in the connection table, wave marks ignored; -1 when absent.
    int ConnectionIndex(const std::string& name) const;

    int32_t m_nKind = 0;
    CZuStdDataList m_properties;
    std::string m_importError;
};
