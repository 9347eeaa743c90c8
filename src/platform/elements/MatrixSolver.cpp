#include "platform/elements/MatrixSolver.h"

#include <algorithm>
#include <cmath>

#include <Eigen/Dense>

#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"

CMatrixSolver::CMatrixSolver(CZuMatFunc* matrix, CZuVecFunc* rhs, CZuVecFunc* solution)
    : m_matrix(matrix), m_rhs(rhs), m_solution(solution)
{
}

CMatrixSolver::~CMatrixSolver() = default;

void CMatrixSolver::SetCalcFreq(const int* flags, int count)
{
    m_flags.clear();
    if (flags != nullptr && count > 0)
        m_flags.assign(flags, flags + count);
    m_restricted = true;
}

void CMatrixSolver::ShowProgress(int show, int, IMessageTarget*)
{
    m_show = show;
}

int CMatrixSolver::Solve()
{
    m_failedBand = -1;
    if (!m_matrix || !m_rhs || !m_solution)
        return 0;
    int n = m_matrix->GetRowSubsystemCount();
    if (n != m_matrix->GetColSubsystemCount() || n != m_rhs->GetSubsystemCount() ||
        n != m_solution->GetSubsystemCount())
        return 0;
    int bands = std::min({m_matrix->GetDataCount(), m_rhs->GetDataCount(), m_solution->GetDataCount()});
    std::vector<double> a(static_cast<size_t>(n) * n), b(static_cast<size_t>(n)), x(static_cast<size_t>(n));
    for (int band = 0; band < bands; ++band)
    {
        if (m_restricted && (band >= static_cast<int>(m_flags.size()) || m_flags[static_cast<size_t>(band)] != 1))
            continue;
        for (int r = 0; r < n; ++r)
        {
            b[static_cast<size_t>(r)] = m_rhs->DataValue(band, r);
            x[static_cast<size_t>(r)] = m_solution->DataValue(band, r);
            for (int c = 0; c < n; ++c)
                a[static_cast<size_t>(r) * n + c] = m_matrix->DataValue(band, r, c);
        }
        if (!SolveBand(a, b, x, n))
        {
            m_failedBand = band;
            return 0;
        }
        for (int r = 0; r < n; ++r)
            m_solution->DataValue(band, r) = x[static_cast<size_t>(r)];
    }
    return 1;
}

namespace elements_solver
{
// Accepts x when it is finite and its residual is small against the sizes involved.
bool Acceptable(const Eigen::MatrixXd& a, const Eigen::VectorXd& b, const Eigen::VectorXd& x, double tolerance)
{
    if (!x.allFinite())
        return false;
    double scale = a.norm() * x.norm() + b.norm();
    if (scale == 0.0)
        return true;
    return (a * x - b).norm() <= tolerance * scale;
}

bool DirectSolve(const Eigen::MatrixXd& a, const Eigen::VectorXd& b, Eigen::VectorXd& x)
{
    if (a.rows() == 0)
        return true;
    if (!a.allFinite() || !b.allFinite())
        return false;
    Eigen::FullPivLU<Eigen::MatrixXd> lu(a);
    if (!lu.isInvertible())
        return false;
    x = lu.solve(b);
    return Acceptable(a, b, x, 1e-9);
}
} // namespace elements_solver

bool CMatrixSolver::SolveBand(const std::vector<double>& a, const std::vector<double>& b, std::vector<double>& x,
                              int n)
{
    Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>> A(a.data(), n, n);
    Eigen::Map<const Eigen::VectorXd> B(b.data(), n);
    Eigen::VectorXd X;
    if (!elements_solver::DirectSolve(A, B, X))
        return false;
    Eigen::Map<Eigen::VectorXd>(x.data(), n) = X;
    return true;
}
