#pragma once
// Solves matrix · solution = right-hand side band by band, over a subsystem-by-subsystem matrix
// function and two vector functions (one value per subsystem and band). The three are given in
// this order and must agree in their subsystem counts; the bands solved are those all three have,
// restricted by SetCalcFreq. CMatrixSolver solves directly (LU with pivoting); CCGMSolver
// iterates (CGMSolver.h).
#include <vector>

class CZuMatFunc;
class CZuVecFunc;
class IMessageTarget;

class CMatrixSolver
{
public:
    CMatrixSolver(CZuMatFunc* matrix, CZuVecFunc* rhs, CZuVecFunc* solution);
    virtual ~CMatrixSolver();
    CMatrixSolver(const CMatrixSolver&) = delete;
    CMatrixSolver& operator=(const CMatrixSolver&) = delete;

    // Solve only the bands whose flag is 1 (flags[0..count-1]; bands past count are skipped).
    // Without a call every band is solved.
    void SetCalcFreq(const int* flags, int count);
    // Progress display of the solve: kept for the callers that ask; the solve of one model is
    // short and the callers' own progress covers it, so nothing is shown.
    void ShowProgress(int show, int step, IMessageTarget* window);

    // Non-zero when every selected band was solved; the solution of each solved band is written to
    // the solution vector. A band that cannot be solved (singular, not finite, sizes that do not
    // agree) stops the solve and gives 0; bands solved before it keep their new values.
    int Solve();

    // The band that failed in the last Solve; -1 when none did.
    int GetFailedBand() const { return m_failedBand; }

protected:
    // Solves a row-major n x n system a · x = b; x holds the start value on entry. True on success
    // (x finite and the residual small).
    virtual bool SolveBand(const std::vector<double>& a, const std::vector<double>& b, std::vector<double>& x,
                           int n);

    CZuMatFunc* m_matrix;
    CZuVecFunc* m_rhs;
    CZuVecFunc* m_solution;

private:
    std::vector<int> m_flags;
    bool m_restricted = false;
    int m_show = 0;
    int m_failedBand = -1;
};
