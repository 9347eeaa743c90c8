#pragma once
// One SEA model in matrix form: the loss-factor (eta) matrix per band, the modal density and the
// wave number of every subsystem per band, a folder of further named parameter vectors and a list
// of model properties. From these it derives per band the coupling loss factors (CLF), the
// intrinsic and the total damping loss factors (DLF), and which subsystem pairs are coupled.
//
// The eta matrix E holds the energy balance in loss-factor form: E(b, j, i) for i != j is
// -n_i * CLF(i -> j); the diagonal E(b, i, i) is n_i * total DLF of i; the sum of column i is
// n_i * intrinsic DLF of i. Rows and vectors are keyed by subsystem name with its wave mark.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuStdDataList.h"

class CUpdateLog;
class CZuMatFunc;
class CZuVecFunc;

class CSEAModelData : public CZuData
{
    DECLARE_SERIAL(CSEAModelData)
public:
    // Element type of the parameter folder and of its vectors.

    CSEAModelData(); // the class factory: empty name, no parent, no band set
    CSEAModelData(const std::string& name, CMElement* parent, int type, int domainType, double startFreq,
                  double endFreq);
    ~CSEAModelData() override;

    CZuStdDataList* GetZuStdDataList() override { return &m_properties; }

    // ---- extraction ----
    double ExtractClf(const std::string& from, const std::string& to, unsigned band,
                      CFeedback* feedback = SilentFeedback()) override;
    int ExtractClf(const std::string& from, const std::string& to, double* out, unsigned count,
                   CFeedback* feedback = SilentFeedback()) override;
    CMElement* ExtractClf(const std::string& a, const std::string& b, CFeedback* feedback = SilentFeedback()) override;
    double ExtractIntrinsicDlf(const std::string& subsystem, unsigned band,
                               CFeedback* feedback = SilentFeedback()) override;
    int ExtractIntrinsicDlf(const std::string& subsystem, double* out, unsigned count,
                            CFeedback* feedback = SilentFeedback()) override;
    CMElement* ExtractIntrinsicDlf(const std::string& subsystem, CFeedback* feedback = SilentFeedback()) override;
    double ExtractTotalDlf(const std::string& subsystem, unsigned band,
                           CFeedback* feedback = SilentFeedback()) override;
    int ExtractTotalDlf(const std::string& subsystem, double* out, unsigned count,
                        CFeedback* feedback = SilentFeedback()) override;
    CMElement* ExtractTotalDlf(const std::string& subsystem, CFeedback* feedback = SilentFeedback()) override;
    double ExtractModalDensity(const std::string& subsystem, unsigned band) override;
    int ExtractModalDensity(const std::string& subsystem, double* out, unsigned count) override;
    double ExtractWaveNumber(const std::string& subsystem, unsigned band) override;
    int ExtractWaveNumber(const std::string& subsystem, double* out, unsigned count) override;

    // Recomputes the connection flags from the eta matrix over the model project's subsystems.
    int UpdateConnectionInfo(CFeedback* feedback = SilentFeedback()) override;
    // Text exchange: base data, eta matrix, modal density, wave number, in this order.
    int Export(CStdioFile& file) override;
    int Import(CStdioFile& file) override;

    // Copies band set, subsystem table, eta matrix, modal density and wave number of another model
    // data; 0 for a null source.
    virtual int CopyModelData(CZuData* source);
    // The matrix the solvers use; here the eta matrix itself (the name is not used).
    virtual CZuMatFunc* PrepareEtaMatrix(const std::string& name);
    // What of the name PrepareEtaMatrix depends on: two names with the same text get the same
    // prepared matrix while the model stays as it is. Here the matrix never depends on it ("").
    virtual std::string EtaMatrixVariant(const std::string& name);
    // The memory the energy solve of a model of this size holds at its peak: the eta matrix, and
    // for every band the scaled matrix and its factorisation, which the solve keeps for the next
    // input subsystem, plus one band's working copies and the vectors over the subsystems (a
    // model that prepares a copy of its matrix, as the hybrid one does, needs one matrix more).
    // Saturates at the largest value instead of wrapping.
    static uint64_t SolvePeakBytes(int subsystems, int bands);
    // Applies the records of a log; nothing here (0). What cannot be applied is reported through
    // the feedback.
    virtual int ApplyUpdateLog(CUpdateLog* log, CFeedback* feedback = SilentFeedback());

    // ---- parameter vectors ----
    // The folder of further named vectors; created when missing.
    CMElement* GetParameterFolder();
    // The folder when it exists; never creates it.
    CMElement* FindParameterFolder() const;
    CZuVecFunc* FindVecFunc(const std::string& name);
    CZuVecFunc* GetOrCreateVecFunc(const std::string& name);
    // Copies source into the vector of that name: one band when 0 <= band < band count, otherwise
    // the whole function. 0 when the name is empty, source is null or the sizes differ.
    int SetVecFuncValues(const std::string& name, const CZuVecFunc* source, int band);

    // New functions over this model's subsystem table holding a copy of the source's child of the
    // element type; null when the source has none.
    std::unique_ptr<CZuMatFunc> CloneMatFunc(CZuData* source, int type);
    std::unique_ptr<CZuVecFunc> CloneVecFunc(CZuData* source, int type);

    // Fingerprints, per model band, of the prepared matrix that each kept 1 W energy vector of the
    // parameter folder was solved with (see CUnitEnergySolver). Runtime state, not stored: after
    // reading, the kept vectors count as unsolved.
    std::map<std::string, std::vector<uint64_t>>& GetUnitEnergyStamps() { return m_unitEnergyStamps; }

    int GetModifiedFlag() const { return m_nModified; }
    void SetModifiedFlag(int modified) { m_nModified = modified; }
    // The saved copy of the eta matrix that the hybrid model prepares; null until made.
    CZuMatFunc* GetSavedEtaMatrix() const { return m_savedEta.get(); }

    void Serialize(CArchive& ar) override;

    // Reports message 11611 for a subsystem missing from the matrix (of this model or a result of
    // it) as a warning through the feedback.
    static void ReportMissingSubsystem(const std::string& name, CFeedback* feedback);

protected:
    void SetSavedEtaMatrix(std::unique_ptr<CZuMatFunc> matrix);
    // Replaces the children of the element's type (if any) by the element; returns it as added.
    CMElement* ReplaceTypedChild(std::unique_ptr<CMElement> element);

    int32_t m_nModified = 0;

private:
    // Looks up a subsystem for a loss-factor extraction: column index in E and index in n. False
    // (and the message reported) when either is missing.
    bool LookUpColumn(CZuMatFunc* E, CZuVecFunc* n, const std::string& name, int& col, int& nIndex,
                      CFeedback* feedback);
    CMElement* ExtractDlfFunction(const std::string& subsystem, bool intrinsic, CFeedback* feedback);
    // The array form of both DLF extractions: dlfAt gives the DLF of E's column i (n's entry ni) at
    // band b.
    using DlfAt = double (*)(CZuMatFunc* E, CZuVecFunc* n, int b, int i, int ni);
    int ExtractDlfBands(const std::string& subsystem, double* out, unsigned count, DlfAt dlfAt, CFeedback* feedback);

    std::unique_ptr<CZuMatFunc> m_savedEta;
    CZuStdDataList m_properties;
    std::map<std::string, std::vector<uint64_t>> m_unitEnergyStamps;
};
