#include "platform/elements/MatrixSolver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include <Eigen/Dense>

#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"

namespace elements_solver {
using Matrix = Eigen::MatrixXd;
using MapMatrix = Eigen::Map<const Eigen::MatrixXd>;
using MapVector = Eigen::Map<const Eigen::VectorXd>;

template <class Decomposition>
class CEigenFactor : public CMatrixSolver::CBandFactor
{
public:
    explicit CEigenFactor(Decomposition&& d) : m_d(std::move(d)) {}
    bool SolveWith(const double* b, double* x, int n) const override
    {
        Eigen::Map<Eigen::VectorXd> X(x, n);
        X = m_d.solve(MapVector(b, n));
        return X.allFinite();
    }

private:
    Decomposition m_d;
};

std::unique_ptr<CMatrixSolver::CBandFactor> MakeLU(const double* a, int n)
{
    Eigen::PartialPivLU<Matrix> lu(MapMatrix(a, n, n));
    return std::make_unique<CEigenFactor<Eigen::PartialPivLU<Matrix>>>(std::move(lu));
}

// Cholesky for a symmetric positive definite matrix; null when the matrix is not one.
std::unique_ptr<CMatrixSolver::CBandFactor> MakeCholesky(const double* a, int n)
{
    Eigen::LLT<Matrix> llt(MapMatrix(a, n, n));
    if (llt.info() != Eigen::Success)
        return nullptr;
    return std::make_unique<CEigenFactor<Eigen::LLT<Matrix>>>(std::move(llt));
}

// Full pivoting: slower, but it tells a singular matrix (null) from one that only needs pivots.
std::unique_ptr<CMatrixSolver::CBandFactor> MakeFullPivotLU(const double* a, int n)
{
    Eigen::FullPivLU<Matrix> lu(MapMatrix(a, n, n));
    if (!lu.isInvertible())
        return nullptr;
    return std::make_unique<CEigenFactor<Eigen::FullPivLU<Matrix>>>(std::move(lu));
}

// True when x solves a x = b to a residual that is small against the sizes involved.
bool Acceptable(const double* a, const double* b, const double* x, int n, double tolerance)
{
    MapMatrix A(a, n, n);
    MapVector B(b, n), X(x, n);
    if (!X.allFinite())
        return false;
    double scale = A.norm() * X.norm() + B.norm();
    if (scale == 0.0)
        return true;
    return (A * X - B).norm() <= tolerance * scale;
}

// One step of iterative refinement: x += A^-1 (b - A x). Cheap next to the factorisation and it
// recovers the digits a badly scaled band loses.
void Refine(const CMatrixSolver::CBandFactor& f, const double* a, const double* b, double* x, int n)
{
    MapMatrix A(a, n, n);
    Eigen::Map<Eigen::VectorXd> X(x, n);
    Eigen::VectorXd r = MapVector(b, n) - A * X;
    Eigen::VectorXd dx(n);
    if (f.SolveWith(r.data(), dx.data(), n))
        X += dx;
}

uint64_t Hash(const double* a, size_t count)
{
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < count; ++i) {
        uint64_t w;
        std::memcpy(&w, a + i, sizeof w);
        h = (h ^ w) * 1099511628211ull;
        h ^= h >> 29;
    }
    return h ^ count;
}
} // namespace elements_solver

// ---------------------------------------------------------------------------------------------
// Factorisation cache

struct CMatrixFactorCache::Impl
{
    struct Entry
    {
        int n = 0;
        std::vector<double> a;
        std::shared_ptr<CMatrixSolver::CBandFactor> factor;
    };
    std::unordered_multimap<uint64_t, Entry> entries;
    int factorCount = 0;

    std::shared_ptr<CMatrixSolver::CBandFactor> Find(uint64_t key, const double* a, int n) const
    {
        auto range = entries.equal_range(key);
        for (auto it = range.first; it != range.second; ++it)
            if (it->second.n == n &&
                std::memcmp(it->second.a.data(), a, sizeof(double) * static_cast<size_t>(n) * n) == 0)
                return it->second.factor;
        return nullptr;
    }
};

CMatrixFactorCache::CMatrixFactorCache() : m_impl(std::make_unique<Impl>()) {}
CMatrixFactorCache::~CMatrixFactorCache() = default;

void CMatrixFactorCache::Clear()
{
    m_impl->entries.clear();
}

int CMatrixFactorCache::GetFactorCount() const
{
    return m_impl->factorCount;
}

int CMatrixFactorCache::GetEntryCount() const
{
    return static_cast<int>(m_impl->entries.size());
}

// ---------------------------------------------------------------------------------------------
// Solver

CMatrixSolver::CMatrixSolver(CZuMatFunc* matrix, CZuVecFunc* rhs, CZuVecFunc* solution)
    : m_matrix(matrix), m_rhs(rhs), m_solution(solution)
{}

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

std::unique_ptr<CMatrixSolver::CBandFactor> CMatrixSolver::Factorise(const double* a, int n) const
{
    return elements_solver::MakeLU(a, n);
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
    for (int band = 0; band < bands; ++band) {
        if (m_restricted && (band >= static_cast<int>(m_flags.size()) || m_flags[static_cast<size_t>(band)] != 1))
            continue;
        if (!SolveBand(band, n, a, b, x)) {
            m_failedBand = band;
            return 0;
        }
        for (int r = 0; r < n; ++r)
            m_solution->DataValue(band, r) = x[static_cast<size_t>(r)];
    }
    return 1;
}

bool CMatrixSolver::SolveBand(int band, int n, std::vector<double>& a, std::vector<double>& b, std::vector<double>& x)
{
    using namespace elements_solver;
    if (n == 0)
        return true;
    const double f = m_matrix->DataIndex(band);
    if (!(std::isfinite(f) && f > 0.0))
        return false;
    const double omega = kTwoPi * f;
    const double* m = m_matrix->GetPointValues(band); // row-major
    if (!m)
        return false;
    // Column-major for Eigen: a[c * n + r] = omega * M(r, c).
    for (int c = 0; c < n; ++c)
        for (int r = 0; r < n; ++r)
            a[static_cast<size_t>(c) * n + r] = omega * m[static_cast<size_t>(r) * n + c];
    for (int r = 0; r < n; ++r)
        b[static_cast<size_t>(r)] = m_rhs->DataValue(band, r);
    if (!MapMatrix(a.data(), n, n).allFinite() || !MapVector(b.data(), n).allFinite())
        return false;

    std::shared_ptr<CBandFactor> factor;
    uint64_t key = 0;
    if (m_cache) {
        key = Hash(a.data(), a.size());
        factor = m_cache->m_impl->Find(key, a.data(), n);
    }
    if (!factor) {
        factor = Factorise(a.data(), n);
        if (factor && m_cache) {
            ++m_cache->m_impl->factorCount;
            m_cache->m_impl->entries.emplace(key, CMatrixFactorCache::Impl::Entry{n, a, factor});
        }
    }
    if (factor && factor->SolveWith(b.data(), x.data(), n)) {
        Refine(*factor, a.data(), b.data(), x.data(), n);
        if (Acceptable(a.data(), b.data(), x.data(), n, 1e-9))
            return true;
    }
    // The fast factorisation failed the check: full pivoting either solves the band or shows that
    // it is singular.
    std::unique_ptr<CBandFactor> full = MakeFullPivotLU(a.data(), n);
    if (!full || !full->SolveWith(b.data(), x.data(), n))
        return false;
    Refine(*full, a.data(), b.data(), x.data(), n);
    return Acceptable(a.data(), b.data(), x.data(), n, 1e-9);
}
