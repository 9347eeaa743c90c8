#include "platform/elements/CGMSolver.h"

#include <algorithm>
#include <cmath>

#include <Eigen/Dense>

namespace elements_solver {
std::unique_ptr<CMatrixSolver::CBandFactor> MakeLU(const double* a, int n);
std::unique_ptr<CMatrixSolver::CBandFactor> MakeCholesky(const double* a, int n);
} // namespace elements_solver

CCGMSolver::CCGMSolver(CZuMatFunc* matrix, CZuVecFunc* rhs, CZuVecFunc* solution) : CMatrixSolver(matrix, rhs, solution)
{}

CCGMSolver::~CCGMSolver() = default;

std::unique_ptr<CMatrixSolver::CBandFactor> CCGMSolver::Factorise(const double* a, int n) const
{
    Eigen::Map<const Eigen::MatrixXd> A(a, n, n);
    const double scale = A.cwiseAbs().maxCoeff();
    const bool symmetric = (A - A.transpose()).cwiseAbs().maxCoeff() <= 1e-12 * (scale > 0 ? scale : 1.0);
    if (symmetric)
        if (auto cholesky = elements_solver::MakeCholesky(a, n))
            return cholesky;
    return elements_solver::MakeLU(a, n);
}
