#pragma once
// One analysis of measured data against the model, over engine speed or over orders: it refers to
// a DAQ project by ID and keeps the RPM options, the input-energy options, the orders, its own band
// set and the mapping of its bands onto the model's. Its children are result folders and results.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/BaseProject.h"
#include "platform/base/Feedback.h"
#include "calculation/AnalysisProjectAccess.h"
#include "calculation/CalcIEOptions.h"
#include "spectral/BandSetOwner.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"

class CDaqProject;
class CHSEAModelData;
class CInputEnergyFolder;
class CInputPowerFolder;
class CSPLsFolder;
class COctaveManagerEx;
class CZuData;
class CZuOTDpFunc;
class CZuOTFunc;
class CZuOTPcFunc;
class CZuOTResultData;
class CZuRpmDpFunc;
class CZuRpmFunc;
class CZuRpmMultiVecFunc;
class CZuRpmPcFunc;
class CZuRpmResultData;
class CZuRpmSelFunc;
class CZuSubsystemTable;

class CAnalysisProject : public CBaseProject, public IBandSetOwner, public IAnalysisProjectAccess
{
    DECLARE_SERIAL(CAnalysisProject)

public:
    // Schema 9, written by earlier builds with the narrowed RPM range after the band set, is still
    // read; the record is written in schema 8, ending with the band set.
    static constexpr uint32_t kSchema = 8;
    enum
    {
        typeRpm = 0,
        typeOrder = 1
    };

    CAnalysisProject();
    explicit CAnalysisProject(const std::string& name);
    ~CAnalysisProject() override;

    int GetProjectType() const override { return m_projectType; }
    void SetProjectType(int type) { m_projectType = type; }
    CRPMOptions& GetRPMOptions() override { return m_rpmOptions; }
    void SetRPMOptions(const CRPMOptions& options) { m_rpmOptions = options; }
    CCalcIEOptions& GetCalcIEOptions() { return m_ieOptions; }
    const CCalcIEOptions& GetCalcIEOptions() const { return m_ieOptions; }
    COrderList& GetOrderList() override { return m_orders; }
    void SetOrderList(const COrderList& orders) { m_orders = orders; }
    float GetOTSetting() const override { return m_otSetting; }
    void SetOTSetting(float v) { m_otSetting = v; }
    int GetDaqProjectID() const { return m_daqProjectID; }
    void SetDaqProjectID(int id) { m_daqProjectID = id; }
    void SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands);

    // The owner's DAQ project of the kept ID; null when there is none.
    CDaqProject* GetDaqProject() const;
    // The project's band set, a copy of its DAQ project's on first use; null without one.
    COctaveManagerEx* GetOctaveManager() override;
    std::string GetProjectName() const override { return GetName(); }
    // The DAQ frequency factor of the DAQ project's acquisition configuration; 0.0 without one.
    double GetDaqConfigValue() const override;
    int CompleteSubsystemName(std::string& name) const override;
    bool GetSubsystemParam(const std::string& name, double& mass, double& volume) const override;
    const COctaveManager* GetModelOctaveManager() const override;
    // For each band of the project's band set, the matching band of the model's band set; built
    // first when empty.
    std::vector<int32_t>& GetFreqIndexArray() override;
    // ---- what the energy solver asks ----
    CMElement* GetProjectElement() override { return this; }
    int HasOwner() const override { return GetOwner() != nullptr; }
    // The owner's model project's parameters; -1, 0.0, 0.0 without one.
    void GetModelDataParams(int* kind, double* start, double* end) const override;
    CHSEAModelData* GetHSEAModelData() const;
    IDaqProjectAccess* GetDaqProjectAccess() const override;
    float GetInputEnergyRpmMargin() const override { return m_ieOptions.GetRpmMargin(); }
    int GetInputPowerSubsystems(CZuSubsystemTable& table) const;
    int GetInputEnergySubsystems(CZuSubsystemTable& table) const;

    // ---- calculation engine ----
    // The map of the project's bands onto the active model's bands; 0 when it cannot be built.
    int BuildFreqIndexArray();
    // The result folders; null while there is none.
    CInputEnergyFolder* GetInputEnergyFolder() const;
    CInputPowerFolder* GetInputPowerFolder() const;
    // Input energies of the subsystems from the DAQ project's measurements (unless forced, only of
    // those the folder lacks). With an RPM margin the project's RPM range is narrowed by it, from
    // the range the energies were calculated over, so that repeated runs narrow it once. 1 on
    // success, also when there was nothing to do. The calculations below show their progress and
    // report their warnings through the feedback.
    int CalcInputEnergy(const CZuSubsystemTable& table, int force, CFeedback* feedback = SilentFeedback());
    // Input powers of the subsystems (null: every subsystem of the input-energy folder) from their
    // input energies; revise runs the revision of non-positive powers. 1 on success; a subsystem
    // without an input energy is named in a warning.
    int CalcInputPower(const CZuSubsystemTable* table, int force, int revise, CFeedback* feedback = SilentFeedback());
    // Input energies (with a DAQ project), then input powers.
    int CalcInputPowerChain(const CZuSubsystemTable& table, int force, int revise,
                            CFeedback* feedback = SilentFeedback());
    // The energy result set of exactly these input subsystems: an existing one unless forced,
    // else solved anew, replacing the old one only when the solve succeeds. Null on failure; a
    // subsystem without an input power is named in a warning.
    CZuData* CalcEnergyResult(const CZuSubsystemTable& table, int force, CFeedback* feedback = SilentFeedback());
    // The result set whose input subsystems are exactly the table's (any order); null when none. A
    // result without input powers is reported to the feedback.
    CZuData* FindEnergyResult(const CZuSubsystemTable& table, CFeedback* feedback = SilentFeedback()) const;
    // The energy result of the chosen input subsystems, as other parts of the program ask for it.
    CZuData* CalcInputPowerByName(const CZuSubsystemTable& table, int force, CFeedback* feedback = SilentFeedback());
    CZuData* FindInputPower(const CZuSubsystemTable& table) const;
    // One empty input-energy function per subsystem (energies written from elsewhere); the count.
    int AddInputEnergyData(const CZuSubsystemTable& table);
    // Deletes the results except the input-energy and input-power folders.
    void DeleteResults();
    // Why the last input-energy, input-power or energy-result calculation failed, in the user's
    // words; empty when it did not fail or its reason was shown already. The commands add it to
    // their "failed" message.
    const std::string& GetFailureReason() const { return m_failure; }

    // ---- response functions of one target from an energy result set ----
    // Each computes the whole function and hands it to the caller, who puts it into the tree with
    // AddResult. Null on failure. An empty name means the document's target subsystem. The feedback
    // runs over the set's entries (a range inside the one it shows already, when it shows one) and
    // takes why a function cannot be made.
    std::unique_ptr<CZuRpmFunc> CalcVibrationLevel(CZuRpmResultData* set, const std::string& name,
                                                   CFeedback* feedback = SilentFeedback());
    std::unique_ptr<CZuOTFunc> CalcVibrationLevelOT(CZuOTResultData* set, const std::string& name,
                                                    CFeedback* feedback = SilentFeedback());
    std::unique_ptr<CZuRpmMultiVecFunc> CalcSPL(CZuRpmResultData* set, const std::string& name,
                                                CFeedback* feedback = SilentFeedback());
    // The SPL function of the target that the set holds already; null when there is none.
    CZuRpmMultiVecFunc* FindSPL(CZuRpmResultData* set, const std::string& name) const;
    // With recalculate 0 the SPL functions the order's sets hold already are taken as they are.
    std::unique_ptr<CZuOTFunc> CalcSPLOT(CZuOTResultData* set, const std::string& name, int recalculate,
                                         CFeedback* feedback = SilentFeedback());
    // Order above 0.0: each RPM only in the band of the order frequency; otherwise every band.
    std::unique_ptr<CZuRpmDpFunc> SearchDominantPath(CZuRpmResultData* set, const std::string& name, double order,
                                                     CFeedback* feedback = SilentFeedback());
    std::unique_ptr<CZuRpmPcFunc> CalcPowerContribution(CZuRpmResultData* set, const std::string& name, double order,
                                                        CFeedback* feedback = SilentFeedback());
    // By order each RPM is asked only for the band of its order frequency: dominant paths under
    // the set's own order keys, power contributions under the project's order list.
    std::unique_ptr<CZuOTDpFunc> SearchDominantPathOT(CZuOTResultData* set, const std::string& name,
                                                      CFeedback* feedback = SilentFeedback());
    std::unique_ptr<CZuOTPcFunc> CalcPowerContributionOT(CZuOTResultData* set, const std::string& name,
                                                         CFeedback* feedback = SilentFeedback());
    // Puts a computed result under its result set in place of a child of the same name (the tree
    // hears of both); the result as the set now holds it, null for a null result or set.
    template <class T>
    static T* AddResult(CMElement* set, std::unique_ptr<T> result)
    {
        if (!set || !result)
            return nullptr;
        if (CMElement* old = set->FindOne(result->GetName(), 1, 1))
            set->DeleteChild(old, 1);
        return set->AddChild(std::move(result));
    }

    // ---- SPL of a target by single input powers ----
    // The SPL folder (found by its name and class); null while there is none.
    CSPLsFolder* GetSPLsFolder() const;
    // A new SPL folder, for the caller to add to the project.
    static std::unique_ptr<CSPLsFolder> CreateSPLsFolder();
    // The table of the target's SPL with one column per input subsystem of the table, each the SPL
    // of that input alone: a stored table that covers the inputs, else built from the single-input
    // energy results (found, or calculated when absent or forced; they stay in the project) and
    // added to the SPL folder. Null when it cannot be built (a missing energy result is named in a
    // warning). The progress steps once per input subsystem and takes the warnings of the
    // calculations it runs.
    CZuRpmSelFunc* BuildSPLByInputPowers(const std::string& target, const CZuSubsystemTable& table, int force,
                                         CFeedback* progress = SilentFeedback());
    CZuRpmSelFunc* BuildSPLByInputPowers2(const std::string& target, const CZuSubsystemTable& table, int force,
                                          CFeedback* progress = SilentFeedback());

    // ---- comparison tables of a response function (SPL or vibration level) ----
    // Measured against calculated, added to the function's result set in place of an earlier
    // comparison of the same label; null when it cannot be made.
    CZuRpmMultiVecFunc* AddRpmResultData(CMElement* func, CFeedback* feedback = SilentFeedback());
    CZuRpmMultiVecFunc* AddOTResultData(CMElement* func);
    // The selected function against the same quantity calculated from a second result set (which
    // keeps that calculation), added next to the selected function in place of an earlier table of
    // the same label; null when it cannot be made.
    CZuRpmMultiVecFunc* AddResultTable(CMElement* func, CZuRpmResultData* second);
    CZuRpmMultiVecFunc* AddResultTableOT(CMElement* func, CZuOTResultData* second);
    // The comparison command on the first selected element: whether it applies (a DAQ project and
    // an SPL or vibration level), and the measured-against-calculated table of the project's kind.
    bool CanCompareWithMeasured(const CMElement* selected) const;
    CZuRpmMultiVecFunc* CompareWithMeasured(CMElement* selected, CFeedback* feedback = SilentFeedback());
    // The result selection's answer: the selected function against the chosen second result set
    // (a set of the project's kind); null when it does not fit.
    CZuRpmMultiVecFunc* CompareWithResult(CMElement* selected, CZuData* second);

    void Serialize(CArchive& ar) override;

private:
    // Keeps the reason of a failed calculation; 0 (or null) for the caller to return.
    int Fail(const std::string& why);

    std::string m_failure;
    CRPMOptions m_rpmOptions;
    CCalcIEOptions m_ieOptions;
    COrderList m_orders;
    std::unique_ptr<COctaveManagerEx> m_bands;
    std::vector<int32_t> m_freqIndex;
    int32_t m_projectType = typeRpm;
    float m_otSetting = 50.0f;
    int32_t m_daqProjectID = -1;
    // After loading: whether the stored RPM range is the narrowing of a wider one, told by the input
    // energies (see the source).
    void DeriveNarrowing();

    // The range the input energies were calculated over and the narrowed range made from it; the
    // narrowing is undone before the next input-energy run while the range is still the narrowed one.
    // Not stored: a loaded project finds it again from its input energies (DeriveNarrowing).
    bool m_narrowed = false;
    CRPMOptions m_unnarrowedRpm;
    CRPMOptions m_narrowedRpm;
};
