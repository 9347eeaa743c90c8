#pragma once
// The input powers that, injected into the hybrid SEA model, give the measured energies of the
// excited subsystems (power injection by inverse SEA). Per model band the response matrix holds
// the energy of every input subsystem per watt injected into each input subsystem (the model's
// 1 W energies times the modal densities); each RPM row and analysis band then solves
//
//     (2 pi f_m M_m) P' = E,  P = 2 pi f_m P' = M_m^-1 E
//
// at the model band m that the analysis band belongs to (the same band the energy solver uses, so
// that the powers fed forward give the energies back). By order the inputs are order tables that
// are first turned into order maps; each order and RPM row is solved at the band of the order
// frequency.
//
// The revision (ReviseByRpm, ReviseByOrder) repairs powers that come out zero or negative: it
// lowers, step by step, the coupling loss factor through which most power reaches such a
// subsystem (type-0 update records applied by the model) and solves again, until the power is
// positive and stable (< 1 dB change) or 50 steps were taken. It changes the model.
//
// Use: construct with the project; SetInputs (input-energy functions, one kind); SetModelData;
// SetInputKind; SetOrderFactor; SetBandSet; SetRevise; Calculate. The results go to the
// project's input-power folder.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"

class CHSEAModelData;
class CInputPowerFolder;
class COctaveManagerEx;
class CUnitEnergySolver;
class CUpdateLog;
class CZuMatFunc;
class CZuRpmFunc;
class CZuVecFunc;
class IAnalysisProjectAccess;

class CInputPowerCalculator
{
public:
    // Steps of the revision of one band before it gives up.
    static constexpr int kMaxReviseSteps = 50;
    // Element kind of the input-power functions.
    // Why there is nothing to calculate with, and how a user gets a model.
    static constexpr const char* kNoModelReason =
        "The model has no hybrid SEA model. Add one with File > Import Model Data from a model data "
        "file that holds one (Export HSEA Model writes such a file; the sample project has one), "
        "then calculate again.";

    explicit CInputPowerCalculator(IAnalysisProjectAccess* project);
    virtual ~CInputPowerCalculator();
    CInputPowerCalculator(const CInputPowerCalculator&) = delete;
    CInputPowerCalculator& operator=(const CInputPowerCalculator&) = delete;

    void SetInputs(const CMElementList& inputs);
    void SetModelData(CHSEAModelData* model) { m_model = model; }
    // 0 inputs are RPM maps, 1 order tables (multi-vector functions), anything else: nothing to do.
    void SetInputKind(int kind) { m_inputKind = kind; }
    void SetOrderFactor(float factor) { m_orderFactor = factor; }
    void SetBandSet(COctaveManagerEx* bands) { m_bands = bands; }
    void SetRevise(int revise) { m_revise = revise; }
    // The progress and the messages of the calculation; silent until set, and null is silent.
    void SetFeedback(CFeedback* progress) { m_progress = progress ? progress : SilentFeedback(); }

    // 1 on success (the powers are in the folder), 0 on failure. A failure that the user must
    // hear of (an input the model does not know, inputs whose RPM rows do not match) is shown;
    // the others leave their reason in GetFailureReason. A project without an input-power folder
    // has nowhere to keep the powers: that fails too, rather than computing them for nothing.
    int Calculate();
    // Why the last Calculate gave 0, in the user's words ("" when it was shown already or none).
    const std::string& GetFailureReason() const { return m_failure; }

    // One revision pass over the outputs of the last calculation; 1 when it ran to its end.
    int ReviseByRpm();
    int ReviseByOrder();

    double GetReviseRate() const { return m_reviseRate; }
    // The model changes of the revisions of this calculator, in the order applied, each with the
    // loss factor before and after.
    const CUpdateLog& GetRevisionLog() const { return *m_revisionLog; }
    // The warnings of the last revision pass (shown in one message box at its end).
    const std::string& GetWarnings() const { return m_warnings; }
    // The input subsystems, completed to model names (with wave signs).
    const CZuSubsystemTable& GetSubsystemTable() const { return m_table; }

private:
    CFeedback& Progress() const;
    // Keeps the reason of a failure for the caller's message; 0.
    int Fail(const std::string& why);
    CInputPowerFolder* Folder() const;
    // Model band of analysis band b: the project's band map (the one the energy solver uses), or
    // the band holding b's centre when the project has no map. -1 when there is none.
    int ModelBandOf(int b) const;
    std::string AnalysisBandText(int b) const;

    int PrepareTable();
    // Rows of every input (by RPM value) for the rows of the first input; 0 with a message when an
    // input misses one.
    int MatchRows();
    // The response matrix at every model band (modelBand < 0) or at one.
    int BuildResponseMatrix(int modelBand);
    // E from RPM row r (of the first input) and analysis band b, stored at model band m.
    void LoadEnergies(int r, int b, int m);
    // Solves M P = E at model band m; 0 on failure.
    int SolveBand(int m);
    // Output s at (r, b) from P at m.
    double PowerOf(int m, int s) const;
    void StoreOutputs(int r, int b, int m);
    int CreateOutputs();
    int CalculateByRpm();
    int CalculateByOrder();
    void AssembleOrderResults();

    // The energies of the current powers at (r, b): the HSEA result of that key, owned by holder.
    bool KeyEnergy(int r, int b, std::unique_ptr<class CZuData>& holder, class CHSEAResultData*& result);
    int ReviseBand(int r, int b, int m, std::vector<int> candidates);
    // The revision's progress step at model band m.
    void StepRevision(int m);
    // The outputs with no positive power at row r and band b: those a revision may raise.
    std::vector<int> RevisionCandidates(int r, int b) const;
    void CheckEnergy(int r, int b, int s);
    void SolveUnitEnergiesOfInputs();
    void ShowWarnings();

    IAnalysisProjectAccess* m_project; // not owned
    int m_inputKind = 0;
    float m_orderFactor = 1.0f;
    CMElementList m_inputs;  // not owned
    CMElementList m_outputs; // handed to the folder
    CHSEAModelData* m_model = nullptr;
    CZuSubsystemTable m_table;
    COctaveManagerEx* m_bands = nullptr;
    std::unique_ptr<CZuVecFunc> m_E;
    std::unique_ptr<CZuVecFunc> m_P;
    std::unique_ptr<CZuMatFunc> m_M;
    double m_reviseRate = 0.95;
    CMElementList m_orderFunctions; // owned
    int m_revise = 1;
    std::vector<CMElementList> m_perOrderOutputs;
    CFeedback* m_progress = SilentFeedback();
    std::unique_ptr<CUnitEnergySolver> m_unitSolver;
    // Row of each input for row r of the first input.
    std::vector<std::vector<int>> m_rows;
    std::unique_ptr<CUpdateLog> m_revisionLog;
    std::string m_warnings;
    std::string m_failure;
};
