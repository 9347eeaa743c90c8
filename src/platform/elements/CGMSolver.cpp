#include "platform/elements/CGMSolver.h"

namespace elements_solver {
std::unique_ptr<CMatrixSolver::CBandFactor> MakeLU(CMatrixSolver::BandStorage&& a, int n, double rcondBound);
std::unique_ptr<CMatrixSolver::CBandFactor> MakeCholesky(CMatrixSolver::BandStorage&& a, int n, double rcondBound);
} // namespace elements_solver

CCGMSolver::CCGMSolver(CZuMatFunc* matrix, CZuVecFunc* rhs, CZuVecFunc* solution) : CMatrixSolver(matrix, rhs, solution)
{}

CCGMSolver::~CCGMSolver() = default;

std::unique_ptr<CMatrixSolver::CBandFactor> CCGMSolver::Factorise(BandStorage&& a, int n,
                                                                  const BandTraits& traits) const
{
    // A symmetric band that is not positive definite gives null here, and the solve asks again
    // with symmetric false. The LU factorises the band as it is laid out, which is A^T.
    if (traits.symmetric)
        return elements_solver::MakeCholesky(std::move(a), n, traits.rcondBound);
    return elements_solver::MakeLU(std::move(a), n, traits.transposedRcondBound);
}
