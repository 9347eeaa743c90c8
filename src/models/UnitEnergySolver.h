#pragma once
// The 1 W energies of a model: for an input subsystem, the modal energies of every subsystem when
// 1 W goes into that subsystem alone, solved with the model's matrix prepared for it. The model
// keeps them as parameter vectors named after the input subsystem (with its wave sign), so that
// the energy solver can superpose them for every analysis key without solving again.
//
// A kept vector is taken only where it is known to be current: the model remembers, per band, a
// fingerprint of the prepared matrix (values, subsystems and band frequency) the vector was solved
// with. Any edit that changes the prepared matrix (loss factors, update logs, global CLFs, the set
// of input subsystems that filters them) changes the fingerprint, and that band is solved again;
// a vector solved for one band only is complete for that band only. See docs/solver.md.
//
// One solver shares its factorisations between the input subsystems whose prepared matrices agree
// in a band.
#include <memory>
#include <cstdint>
#include <string>
#include <vector>

class CMatrixFactorCache;
class CSEAModelData;
class CZuMatFunc;
class CZuSubsystemTable;
class CZuVecFunc;

class CUnitEnergySolver
{
public:
    explicit CUnitEnergySolver(CSEAModelData* model);
    virtual ~CUnitEnergySolver();
    CUnitEnergySolver(const CUnitEnergySolver&) = delete;
    CUnitEnergySolver& operator=(const CUnitEnergySolver&) = delete;

    // The model's 1 W energy vector of the input subsystem (name with its wave sign), current in
    // the model band (modelBand >= 0) or in every band (-1). With recompute the kept values are
    // solved again whatever their fingerprints say. Null when the name is not a subsystem of the
    // prepared matrix, the band is not a model band, or the solve fails (the kept values and
    // their fingerprints then stay as they were).
    CZuVecFunc* SolveUnitPowerEnergies(const std::string& name, int modelBand = -1, int recompute = 0);
    // The same for every name of the table, in order; 1, or 0 at the first failure.
    int SolveUnitEnergies(const CZuSubsystemTable& names, int modelBand = -1, int recompute = 0);

    // Bands solved so far (a reused band does not count).
    int GetSolvedBandCount() const { return m_solvedBands; }
    CMatrixFactorCache& GetFactorCache() { return *m_cache; }

    // Between BeginBatch and EndBatch the caller leaves the model as it is: the inputs whose
    // prepared matrices are the same (see CSEAModelData::EtaMatrixVariant) share one preparation
    // and its fingerprints instead of preparing and hashing the whole matrix again per input.
    void BeginBatch();
    void EndBatch();

private:
    // The prepared matrix for the plain name: kept from the last input of the batch when it is
    // the same, else prepared now.
    CZuMatFunc* Prepared(const std::string& plain);
    // Fingerprint of band b of the prepared matrix, computed once per preparation.
    uint64_t BandFingerprint(int b);

    CSEAModelData* m_model; // not owned
    std::unique_ptr<CMatrixFactorCache> m_cache;
    int m_solvedBands = 0;
    bool m_batch = false;
    bool m_havePrepared = false;
    std::string m_preparedVariant;
    CZuMatFunc* m_prepared = nullptr; // the model's
    uint64_t m_preparedNames = 0;
    std::vector<uint64_t> m_fingerprints; // per band, 0 until computed
};
