#include "platform/elements/CGMSolver.h"

#include <algorithm>

#include <Eigen/Dense>
#include <Eigen/IterativeLinearSolvers>

namespace elements_solver
{
bool Acceptable(const Eigen::MatrixXd& a, const Eigen::VectorXd& b, const Eigen::VectorXd& x, double tolerance);
bool DirectSolve(const Eigen::MatrixXd& a, const Eigen::VectorXd& b, Eigen::VectorXd& x);
} // namespace elements_solver

CCGMSolver::CCGMSolver(CZuMatFunc* matrix, CZuVecFunc* rhs, CZuVecFunc* solution)
    : CMatrixSolver(matrix, rhs, solution)
{
}

CCGMSolver::~CCGMSolver() = default;

bool CCGMSolver::SolveBand(const std::vector<double>& a, const std::vector<double>& b, std::vector<double>& x, int n)
{
    if (n == 0)
        return true;
    Eigen::MatrixXd A =
        Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>(a.data(), n, n);
    Eigen::VectorXd B = Eigen::Map<const Eigen::VectorXd>(b.data(), n);
    Eigen::VectorXd guess = Eigen::Map<const Eigen::VectorXd>(x.data(), n);
    if (!A.allFinite() || !B.allFinite())
        return false;
    if (!guess.allFinite())
        guess.setZero();
    int iterations = m_maxIterations > 0 ? m_maxIterations : std::max(100, 10 * n);

    Eigen::VectorXd X;
    bool solved = false;
    double scale = A.cwiseAbs().maxCoeff();
    bool symmetric = (A - A.transpose()).cwiseAbs().maxCoeff() <= 1e-12 * (scale > 0 ? scale : 1.0);
    if (symmetric)
    {
        Eigen::ConjugateGradient<Eigen::MatrixXd, Eigen::Lower | Eigen::Upper> cg;
        cg.setTolerance(m_tolerance);
        cg.setMaxIterations(iterations);
        cg.compute(A);
        X = cg.solveWithGuess(B, guess);
        solved = cg.info() == Eigen::Success && elements_solver::Acceptable(A, B, X, 1e-9);
    }
    if (!solved)
    {
        Eigen::BiCGSTAB<Eigen::MatrixXd> bicg;
        bicg.setTolerance(m_tolerance);
        bicg.setMaxIterations(iterations);
        bicg.compute(A);
        X = bicg.solveWithGuess(B, guess);
        solved = bicg.info() == Eigen::Success && elements_solver::Acceptable(A, B, X, 1e-9);
    }
    // An iteration that stalls (indefinite or badly conditioned bands) falls back to the direct
    // solve, which also tells a singular band from a slow one.
    if (!solved && !elements_solver::DirectSolve(A, B, X))
        return false;
    Eigen::Map<Eigen::VectorXd>(x.data(), n) = X;
    return true;
}
