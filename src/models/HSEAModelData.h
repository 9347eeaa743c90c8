#pragma once
// The hybrid SEA model of a model project: the SEA model in matrix form plus global CLF data, a
// set of coupling loss factors from outside the analytical model. Before every solve the model
// prepares its matrix by subtracting the global couplings from a copy of the eta matrix. Edits of
// single loss factors arrive as update records; with the symmetric copy each one is repeated for
// the mirrored subsystem or pair.
#include <cstdint>
#include <memory>
#include <string>

#include "models/SEAModelData.h"
#include "platform/elements/DataWriter.h"

class CGClfData;
class CZuStringList;
struct tagUPDATE;

class CHSEAModelData : public CSEAModelData, public IDataWriter
{
    DECLARE_SERIAL(CHSEAModelData)
public:
    static constexpr const char* kBaseName = "Hybrid SEA Model";

    // Update record types.
    enum : uint32_t
    {
        UPDATE_CLF = 0,
        UPDATE_GCLF = 1,
        UPDATE_TOTAL_DLF = 2,
        UPDATE_CLF_ALT = 4,
        UPDATE_MATRIX_ENTRY = 7,
    };

    CHSEAModelData();
    // With a source, its model data and global CLFs are copied. The constraint flags start at 1
    // whatever is passed.
    CHSEAModelData(CZuData* source, CMElement* parent, int clfConstraint, int dlfConstraint, int reciprocity,
                   int symmetricCopy);
    ~CHSEAModelData() override;

    int CopyModelData(CZuData* source) override;
    // Takes the source's global CLF data (or its CLF data of element type 58) as this model's.
    void SetupGClfData(CZuData* source);
    CGClfData* GetGClfData() const;

    // The saved copy of the eta matrix minus the global couplings (see the .cpp).
    CZuMatFunc* PrepareEtaMatrix(const std::string& name) override;
    // The name itself when it has a group of global CLFs or is an input subsystem that a global
    // CLF names (those CLFs then count for it alone); "" when the matrix is that of any other name.
    std::string EtaMatrixVariant(const std::string& name) override;
    // Subtracts the CLFs of set from matrix; with filter the CLFs of input subsystems other than
    // name are left out.
    void ApplyGClf(const std::string& name, CMElement* set, int filter);

    // Sets the total DLF of subsystem i at band b. 1, or 0 when the edit is refused.
    int SetDlfEntry(CZuMatFunc* M, CZuVecFunc* D, int b, int i, double value);
    // Sets the matrix entry (row r, column c) at band b to a negative coupling value. A value that
    // is not negative (a CLF of 0 or below) leaves the matrix as it is and is accepted (1), so an
    // update record asking for it stays in the log; 0 when the edit is refused (an empty entry is
    // reported as a warning through the feedback).
    int SetClfEntry(CZuMatFunc* M, int b, int r, int c, double value, CFeedback* feedback = SilentFeedback());

    // Applies each record; records that change nothing are removed. 1 when at least one applied
    // (or the log is empty), 0 otherwise or for a null log.
    int ApplyUpdateLog(CUpdateLog* log, CFeedback* feedback = SilentFeedback()) override;
    virtual int ApplyUpdate(tagUPDATE* record, CFeedback* feedback = SilentFeedback());

    int UpdateConnectionInfo(CFeedback* feedback = SilentFeedback()) override;
    int Export(CStdioFile& file) override;
    int Import(CStdioFile& file) override;

    // Cuts the couplings that the global CLF data would add for the named target to 1e-20; an
    // entry that cannot be set is reported through the feedback.
    int ApplyModelUpdate(const std::string& name, CFeedback* feedback = SilentFeedback());
    int ApplyModelUpdate(const std::string& name, const CZuSubsystemTable& sources,
                         CFeedback* feedback = SilentFeedback());

    // Developer dump of the matrices at band 0 for a fixed set of subsystems.
    int WriteDump(CStdioFile& file, const std::string& param) override;

    int GetClfConstraint() const { return m_nClfConstraint; }
    int GetDlfConstraint() const { return m_nDlfConstraint; }
    int GetReciprocity() const { return m_nReciprocity; }
    int GetSymmetricCopy() const { return m_nSymmetricCopy; }
    int GetStoredFlag() const { return m_nStored; }
    void SetClfConstraint(int v) { m_nClfConstraint = v; }
    void SetDlfConstraint(int v) { m_nDlfConstraint = v; }
    void SetReciprocity(int v) { m_nReciprocity = v; }
    void SetSymmetricCopy(int v) { m_nSymmetricCopy = v; }
    CZuStringList* GetStringList() const { return m_strings.get(); }

    void Serialize(CArchive& ar) override;

private:
    // The update of one name pair (or subsystem); 1 when something changed.
    int ApplyOne(tagUPDATE& record, const std::string& a, const std::string& b, bool primary, CFeedback* feedback);
    // The mirrored names of a pair: each name that has a mirror side takes it. False when neither has.
    static bool MirrorPair(const std::string& a, const std::string& b, std::string& ma, std::string& mb);

    int32_t m_nStored = 1;
    int32_t m_nClfConstraint = 1;
    int32_t m_nDlfConstraint = 1;
    int32_t m_nReciprocity = 0;
    int32_t m_nSymmetricCopy = 0;
    std::unique_ptr<CZuStringList> m_strings;
};
