#pragma once
// One solved state of the hybrid SEA model: per band an input power for every subsystem and the
// modal energy of every subsystem that the model's loss-factor matrix gives for those powers.
// The result is linked to its model by the model's serial number (looked up again through the
// model project whenever needed) and by a map from each of its bands to the model band whose
// matrix, modal density and frequency belong to it.
//
// Children made when a model is attached: the input-power vector ("Input Power", type 3) and the
// modal-energy vector ("Modal Energy", type 52), both over the result's subsystem table with the
// band frequencies as data index. Energies are modal energies (J per mode); a subsystem's energy
// is its modal energy times its modal density.
//
// The band solve (UpdateAllData) solves (2 pi f M) e = P per selected band with the prepared
// matrix of the model (see docs/solver.md). A band whose solve fails keeps its previous energies.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/ZuData.h"

class CGClfData;
class CHSEADominantPathData;
class CHSEAGeneralData;
class CHSEAPowerContribution;
class COctaveManagerEx;
class CSEAModelData;
class CZuFunc;

class CHSEAResultData : public CZuData
{
    DECLARE_SERIAL(CHSEAResultData)
public:
    // Oldest stored form that is read (14 carries a band set of its own after the band map).
    static constexpr uint32_t kOldestSchema = 14;

    // Acoustics of the levels: rho c^2 = 1.21 * 343^2, 1 / p0^2 with p0 = 2e-5 Pa.
    static constexpr double kRhoC2 = 343.0 * 343.0 * 1.21;
    static constexpr double kInvP0Squared = 2499999999.9999995;

    CHSEAResultData(); // the class factory: empty name, no parent
    // Attaches the model with the band set (owned) and sets the band map (null: identity).
    CHSEAResultData(CZuData* model, std::unique_ptr<COctaveManagerEx> bands, const std::string& name, CMElement* parent,
                    const std::vector<int32_t>* bandMap);
    ~CHSEAResultData() override;

    // Only with both a model and a band set: takes the band set, selects every band, takes a copy
    // of the model's subsystem table, makes the two vectors and records the model's serial number.
    void AttachModel(CZuData* model, std::unique_ptr<COctaveManagerEx> bands);
    // Null or empty: the identity map over the result's bands. A map that is shorter than the
    // band count or names a band the model does not have is refused: the identity map is kept
    // instead and 0 returned. 1 when the given map was taken.
    int SetModelBandMap(const std::vector<int32_t>* map);
    const std::vector<int32_t>& GetModelBandMap() const { return m_bandMap; }
    // The model band of result band i; -1 when the map has no entry for it.
    int GetModelBand(int i) const;

    void SetBandEnabled(int band, int flag);
    void SetAllBandsEnabled(int flag);
    const std::vector<int>& GetBandSelection() const { return m_bandSelection; }

    uint32_t GetModelSerial() const { return m_modelSerial; }
    void SetModelSerial(uint32_t serial) { m_modelSerial = serial; }
    // The model data of the serial number, through the model project; null when there is none
    // (with warn set, message 7100). Messages of this class are reported as warnings through the
    // caller's feedback.
    CSEAModelData* GetModelData(int warn, CFeedback* feedback = SilentFeedback()) const;
    // The model's global CLF data; null when the model is not a hybrid model or has none.
    CGClfData* GetGClfData() const;

    // Message 6015 (6016) when absent and warned.
    CZuVecFunc* GetInputPowerVector(int warn, CFeedback* feedback = SilentFeedback()) const;
    CZuVecFunc* GetModalEnergyVector(int warn, CFeedback* feedback = SilentFeedback()) const;

    // Input powers from general data of kind 5; keep 0 zeroes every power first. 1 on success;
    // data without functions is reported as an error.
    int SetInputPowers(CHSEAGeneralData* data, int keep, CFeedback* feedback = SilentFeedback());
    // 1.0 W at the named subsystem, 0.0 elsewhere, every band; 0 when the name is not in the table.
    int SetUnitInputPower(const std::string& name);

    // The band solve; source the model (null: the model of the serial number). The feedback's bar
    // runs over the bands with the band's frequency ("%g Hz") as its text; a cancel stops the solve
    // between bands, and a subsystem missing from the model's matrix is reported as a warning.
    // 1 when every selected band solved; after it every band is selected again.
    int SolveBands(CZuData* source, CFeedback* feedback);
    // The band solve without a caller's feedback: silent.
    int UpdateAllData(CZuData* source, long showProgress, CObject* extra) override;

    // ---- derived functions ----
    // Level functions over the result's bands, not added (the caller adds them where they go);
    // null with a message when the subsystem or its volume (mass) is missing. A band without
    // energy has HUGE_VAL.
    std::unique_ptr<CZuFunc> CreateSPLFunc(const std::string& cavity, CFeedback* feedback = SilentFeedback()) const;
    std::unique_ptr<CZuFunc> CreateVibrationLevelFunc(const std::string& structure,
                                                      CFeedback* feedback = SilentFeedback()) const;
    // The energy function of a subsystem (E = e n), not added.
    std::unique_ptr<CZuFunc> CreateSubsystemFunc(const std::string& name, CFeedback* feedback = SilentFeedback()) const;
    // The same, reusing a child of its name or adding a new one; null when it cannot be made.
    CZuFunc* FindOrAddSubsystemFunc(const std::string& name, CFeedback* feedback = SilentFeedback());
    // Energy of one subsystem in one band (dB re 1 J with dB set); kNoValue when it cannot be had.
    double GetSubsystemValue(const std::string& name, int band, int dB) const;
    // E_a / E_b per band, linear; a child of its name is reused, otherwise one is added.
    CZuFunc* CreateEnergyRatioFunc(const std::string& a, const std::string& b, CFeedback* feedback = SilentFeedback());
    // The subsystems with a non-zero input power in some band, in vector order, each once;
    // strip removes the wave sign. Returns the count.
    int CollectInputSubsystems(CZuSubsystemTable& table, int strip) const;

    // Dominant paths into target (band < 0: every band); null with message 11611 when the target
    // is not in the table, null without one when the model's data cannot be reached.
    std::unique_ptr<CHSEADominantPathData> CreateDominantPathData(const std::string& target, int band,
                                                                  CFeedback* feedback = SilentFeedback());
    // Power contributions into target (band < 0: every band); nulls as above.
    std::unique_ptr<CHSEAPowerContribution> CreatePowerContribution(const std::string& target, int band,
                                                                    CFeedback* feedback = SilentFeedback());

    // ---- the path search (see CreateDominantPathData) ----
    // Paths per band: the number of subsystems feeding a cavity target, otherwise 3 per feeding
    // structure (its three waves) and 1 per other subsystem.
    int CountDominantPaths(const std::string& target) const;
    // Ranks the flows into subsystem t at band u and starts up to K paths with the positive ones;
    // returns how many were started.
    int RankDominantPaths(int t, int K, int u, CHSEADominantPathData& data) const;
    // Follows path i of band u back to its source, loop or target.
    void ExtendDominantPath(int i, int u, CHSEADominantPathData& data) const;

    // ---- flow terms into target t at result band u (N + 1 entries, the last the balance) ----
    // Coupling flows of the model's matrix and GCLF flows of the model's global CLFs, including
    // the flows of input paths through the groups of the input subsystems. False when the model's
    // data cannot be reached.
    bool ComputeCouplingFlows(int t, int u, std::vector<double>& out) const;
    bool ComputeGClfFlows(int t, int u, std::vector<double>& out) const;
    // Both added: the flow vector of the path search and the power contributions.
    bool ComputeFlows(int t, int u, std::vector<double>& out) const;

    // ---- forwarded to the model ----
    CMElement* ExtractClf(const std::string& a, const std::string& b, CFeedback* feedback = SilentFeedback()) override;
    CMElement* ExtractIntrinsicDlf(const std::string& subsystem, CFeedback* feedback = SilentFeedback()) override;
    CMElement* ExtractTotalDlf(const std::string& subsystem, CFeedback* feedback = SilentFeedback()) override;
    double ExtractIntrinsicDlf(const std::string& subsystem, unsigned band,
                               CFeedback* feedback = SilentFeedback()) override;
    using CZuData::ExtractClf;
    using CZuData::ExtractIntrinsicDlf;
    using CZuData::ExtractTotalDlf;
    CZuMatFunc* GetEtaMatrix(int warn) override;
    CZuVecFunc* GetModalDensity(int warn) override;
    CZuVecFunc* GetWaveNumber(int warn) override;
    int UpdateConnectionInfo(CFeedback* feedback = SilentFeedback()) override;
    // Subsystems coupled to name in the model: direction 0 those that feed name, otherwise those
    // that name feeds; by the model's matrix and its global CLFs at any band. Returns the count;
    // the table is emptied first (and stays empty without a model).
    int GetModelConnections(const std::string& name, CZuSubsystemTable& table, int direction) const;
    int IsModelConnected(const std::string& a, const std::string& b, int band) const;

    // The CZuData part, model serial number, stored flag, band map (count, entries).
    void Serialize(CArchive& ar) override;

private:
    CSEAModelData* Model() const { return GetModelData(0); }
    // Subsystem s of the result in the model's vector or matrix; -1 when absent.
    double EnergyOf(int band, const std::string& name, int* ok) const;
    std::unique_ptr<CZuFunc> LevelFunc(const std::string& name, bool cavity, CFeedback* feedback) const;

    std::vector<int> m_bandSelection; // not stored
    uint32_t m_modelSerial = 0;
    int32_t m_stored = 1;
    std::vector<int32_t> m_bandMap;
};
