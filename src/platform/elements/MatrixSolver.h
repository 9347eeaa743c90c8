#pragma once
// Solves the energy balance of a loss-factor matrix band by band. The matrix is held in
// modal-energy form (diagonal n_i * total DLF of i, off the diagonal -n_i * CLF(i -> j) at row j,
// column i); the power balance of band b is
//
//     (2 pi f_b * M_b) * x_b = b_b
//
// with f_b the band frequency the matrix carries as its data index, b_b the input powers (W) and
// x_b the modal energies (J per mode). The solvers apply the 2 pi f_b themselves, so every caller
// passes the matrix as the model keeps it. A band whose frequency is not a finite positive number
// is refused (the solve fails there) rather than solved at omega = 1. See docs/solver.md.
//
// The matrix, right-hand side and solution are given in this order and must agree in their
// subsystem counts; the bands solved are those all three have, restricted by SetCalcFreq.
// CMatrixSolver factorises each band with partial-pivoting LU; CCGMSolver (CGMSolver.h) uses a
// Cholesky factorisation where the band's matrix is symmetric positive definite (a reciprocal
// model) and LU otherwise (matrices with global CLFs are not symmetric). Every solution is checked
// against its residual; a band that fails the check is factorised again with full pivoting, which
// also tells a singular band from a badly scaled one.
//
// Several right-hand sides over the same matrices (the unit-power solves of many input subsystems)
// share one factorisation per band through a CMatrixFactorCache.
#include <cstdint>
#include <memory>
#include <vector>

class CZuMatFunc;
class CZuVecFunc;
class IMessageTarget;

// Factorisations of scaled band matrices, keyed by their content: a solver given the cache looks
// the band's scaled matrix up before it factorises it, and a later solver with an equal matrix
// (compared value by value, not only by hash) solves with the kept factorisation.
class CMatrixFactorCache
{
public:
    CMatrixFactorCache();
    ~CMatrixFactorCache();
    CMatrixFactorCache(const CMatrixFactorCache&) = delete;
    CMatrixFactorCache& operator=(const CMatrixFactorCache&) = delete;

    void Clear();
    // Factorisations made through this cache so far (reuses do not count).
    int GetFactorCount() const;
    int GetEntryCount() const;

    struct Impl;

private:
    friend class CMatrixSolver;
    std::unique_ptr<Impl> m_impl;
};

class CMatrixSolver
{
public:
    // 2 pi as the model's formulas write it.
    static constexpr double kTwoPi = 6.28318530717959;

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
    // Shares factorisations with other solvers (not owned; null: none).
    void SetFactorCache(CMatrixFactorCache* cache) { m_cache = cache; }

    // Non-zero when every selected band was solved; the solution of each solved band is written to
    // the solution vector. A band that cannot be solved (no band frequency, singular, not finite,
    // sizes that do not agree) stops the solve and gives 0; bands solved before it keep their new
    // values and the failed band's solution is left as it was.
    int Solve();

    // The band that failed in the last Solve; -1 when none did.
    int GetFailedBand() const { return m_failedBand; }

    // The n x n values of one band matrix.
    using BandStorage = std::unique_ptr<double[]>;

    // One factorised band: solves a right-hand side with it. Implementations live in the .cpp.
    class CBandFactor
    {
    public:
        virtual ~CBandFactor() = default;
        // x from b; false when the result is not finite.
        virtual bool SolveWith(const double* b, double* x, int n) const = 0;
        // The solutions of this factorisation need no residual check (a Cholesky that succeeded).
        virtual bool IsBackwardStable() const { return false; }
        // Hands the storage back once the factor is no longer needed, so that the next band is
        // factorised in the same memory instead of fresh pages; null when the factor keeps none.
        virtual BandStorage ReleaseStorage() { return nullptr; }
    };

    // What the copy of a band found out about it, for its factorisation.
    struct BandTraits
    {
        // The band equals its transpose to rounding.
        bool symmetric = false;
        // Proven lower bounds of the reciprocal condition numbers (1-norm) of the band A and of A^T,
        // from the band's diagonal dominance; 0 where the band proves none.
        double rcondBound = 0.0;
        double transposedRcondBound = 0.0;
    };

protected:
    // Factorises the scaled band matrix a (n x n in the model's row-major layout) in place, taking
    // its storage; null when it cannot be factorised.
    virtual std::unique_ptr<CBandFactor> Factorise(BandStorage&& a, int n, const BandTraits& traits) const;

    CZuMatFunc* m_matrix;
    CZuVecFunc* m_rhs;
    CZuVecFunc* m_solution;

private:
    struct Workspace;
    bool SolveBand(int band, int n, BandStorage& a, Workspace& work);

    std::vector<int> m_flags;
    bool m_restricted = false;
    int m_show = 0;
    int m_failedBand = -1;
    CMatrixFactorCache* m_cache = nullptr;
};
