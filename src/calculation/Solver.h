#pragma once
// The energy solver: from the input powers of an analysis project (one function per input
// subsystem, over RPM or over order and RPM) to a result set of subsystem energies for every
// analysis key. It uses the linearity of the energy balance: the model is solved once per input
// subsystem for 1 W at that subsystem (CUnitEnergySolver, kept in the model and reused while the
// model's prepared matrix stays the same), and the energies of every key are the sum over the
// input subsystems of the key's input power times the 1 W energies, band by band:
//
//     E(b, j) = sum_s P_s(b) * E1W_s(k_b, j),  k_b the model band of project band b.
//
// Use: construct; SetProject; SetModelData; SetInputs; SetMode (0 by RPM, 1 by order); optionally
// SetFeedback, SetRpmIndex, SetBandIndex, SetOrderIndex, SetRecompute; Run; TakeResult.
// Each pass begins the feedback's range anew (the unit solves, the RPMs of each order) with its
// text; without a feedback it runs silent.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"

class CHSEAModelData;
class CHSEAResultData;
class CUnitEnergySolver;
class CZuData;
class CZuRpmFunc;
class CZuRpmResultData;
class CZuVecFunc;
class ISolverProject;

class CSolver
{
public:
    enum : int
    {
        MODE_RPM = 0,
        MODE_ORDER = 1,
    };

    CSolver();
    virtual ~CSolver();
    CSolver(const CSolver&) = delete;
    CSolver& operator=(const CSolver&) = delete;

    void SetProject(ISolverProject* project) { m_project = project; }
    void SetModelData(CHSEAModelData* model);
    void SetMode(int mode) { m_mode = mode; }
    // The feedback of the run (not owned); silent until set, and null is silent.
    void SetFeedback(CFeedback* progress) { m_progress = progress ? progress : SilentFeedback(); }
    // Only this RPM of the project's list (by RPM) or of every order; -1 all.
    void SetRpmIndex(int index) { m_rpmIndex = index; }
    // Only this RPM, which need not be one of the project's list (the input functions must have a
    // row for it); replaces SetRpmIndex.
    void SetRpmValue(double rpm)
    {
        m_rpmValue = rpm;
        m_useRpmValue = true;
    }
    // Only this project band is solved and accumulated; -1 all.
    void SetBandIndex(int index) { m_bandIndex = index; }
    // Only this order (by order); -1 all. The other orders get empty result sets.
    void SetOrderIndex(int index) { m_orderIndex = index; }
    // Solve the 1 W energies again even where the model's kept ones are current.
    void SetRecompute(int recompute) { m_recompute = recompute; }
    // The input-power functions (CZuRpmFunc by RPM, CZuOTFunc by order), each labelled with its
    // subsystem's plain name; not owned.
    void SetInputs(const CMElementList& inputs);

    // The 1 W energies of the names (with wave signs) in the band of SetBandIndex (translated to
    // the model's band) or in every band; 1, or 0 at the first failure.
    int SolveUnitEnergies(const CZuSubsystemTable& names);

    // Builds the result set; 1 on success. On failure there is no result; 1 W energies already
    // solved stay with the model.
    int Run();
    // The result set of the last successful run (CZuRpmResultData or CZuOTResultData); the caller
    // takes it with TakeResult.
    CZuData* GetResult() const { return m_result.get(); }
    std::unique_ptr<CZuData> TakeResult() { return std::move(m_result); }
    // The row of the function at the RPM (the same analysis RPM, to rounding); -1 when none.
    static int FindRpmRow(const CZuRpmFunc& f, double rpm);
    // The input subsystems of the last run, with wave signs, in input order.
    const CZuSubsystemTable& GetInputSubsystems() const { return m_inputSubsystems; }
    // Model bands solved for 1 W energies by this solver (kept ones that were reused do not count).
    int GetSolvedBandCount() const;

private:
    int CollectInputSubsystems();
    int ModelBandOfBandIndex() const;
    std::unique_ptr<CZuRpmResultData> NewRpmResultSet() const;
    // The energies of one RPM from the rows of the functions (one per input subsystem) at that
    // RPM, found by value: a function's rows may cover a wider RPM range than the project's.
    std::unique_ptr<CHSEAResultData> KeyEnergies(double rpm, const std::vector<CZuRpmFunc*>& functions,
                                                 CZuData* parent);
    // Entry of each energy-vector subsystem in the 1 W vector of input s (-1: not in it), found by
    // name once per run: every key's result has the model's subsystems.
    const std::vector<int>& UnitEntries(int s, const CZuVecFunc& unit, const CZuVecFunc& energies);
    // The RPMs of the pass.
    std::vector<double> PassRpms() const;
    int RpmPass(CZuRpmResultData& set);
    int OrderPass(CZuData& set);
    // The caller's feedback, which the caller ends.
    CFeedback& Progress();

    ISolverProject* m_project = nullptr;
    CHSEAModelData* m_model = nullptr;
    CMElementList m_inputs;
    std::unique_ptr<CZuData> m_result;
    int m_mode = MODE_RPM;
    CZuSubsystemTable m_inputSubsystems;
    CFeedback* m_progress = SilentFeedback();
    int m_rpmIndex = -1;
    double m_rpmValue = 0.0;
    bool m_useRpmValue = false;
    int m_bandIndex = -1;
    int m_orderIndex = -1;
    int m_recompute = 0;
    std::unique_ptr<CUnitEnergySolver> m_unitSolver;
    std::vector<std::vector<int>> m_unitEntries; // per input subsystem, see UnitEntries
};
