#include "platform/elements/MatrixSolver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>

#include <Eigen/Dense>

#include "platform/elements/WideBandFactors.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"

namespace elements_solver {
using BandStorage = CMatrixSolver::BandStorage;
using Matrix = Eigen::MatrixXd;
using MapMatrix = Eigen::Map<const Eigen::MatrixXd>;
using MapVector = Eigen::Map<const Eigen::VectorXd>;
using RowMajorMap = Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>;

// A band matrix is handed to the factorisations as the model keeps it, row by row: read column by
// column, as Eigen reads, that is the transpose A^T of the scaled matrix A. A symmetric band is its
// own transpose; every other factorisation solves the transposed system, A^T^T x = b. This spares a
// transposed copy of every band.
//
// The factorisations work in place in the storage they are given and own it from then on.
template <class Decomposition, bool kTransposed>
class CEigenFactor : public CMatrixSolver::CBandFactor
{
public:
    CEigenFactor(CMatrixSolver::BandStorage&& storage, int n)
        : m_storage(std::move(storage)), m_matrix(m_storage.get(), n, n), m_d(m_matrix)
    {}
    CEigenFactor(const CEigenFactor&) = delete;
    CEigenFactor& operator=(const CEigenFactor&) = delete;

    bool SolveWith(const double* b, double* x, int n) const override
    {
        Eigen::Map<Eigen::VectorXd> X(x, n);
        if constexpr (kTransposed)
            X = m_d.transpose().solve(MapVector(b, n));
        else
            X = m_d.solve(MapVector(b, n));
        return X.allFinite();
    }
    bool IsBackwardStable() const override { return !kTransposed; }
    CMatrixSolver::BandStorage ReleaseStorage() override { return std::move(m_storage); }
    const Decomposition& Get() const { return m_d; }

private:
    CMatrixSolver::BandStorage m_storage;
    Eigen::Map<Eigen::MatrixXd> m_matrix;
    Decomposition m_d;
};

using CCholeskyFactor = CEigenFactor<Eigen::LLT<Eigen::Ref<Matrix>>, false>;
using CLUFactor = CEigenFactor<Eigen::PartialPivLU<Eigen::Ref<Matrix>>, true>;
using CFullPivotFactor = CEigenFactor<Eigen::FullPivLU<Eigen::Ref<Matrix>>, true>;

// Partial-pivoting LU; null when the matrix is nearly singular. rcondBound: a proven lower bound of
// the reciprocal condition number of a as it is factorised (0: none), which can spare the estimate.
std::unique_ptr<CMatrixSolver::CBandFactor> MakeLU(BandStorage&& a, int n, double rcondBound)
{
    if (WideFactorsAvailable())
        return MakeWideLU(std::move(a), n, rcondBound);
    auto factor = std::make_unique<CLUFactor>(std::move(a), n);
    if (!ProvenRegular(rcondBound, n) && NearlySingular(factor->Get().rcond(), n))
        return nullptr;
    return factor;
}

// Cholesky for a symmetric positive definite matrix; null when the matrix is not one or is nearly
// singular.
std::unique_ptr<CMatrixSolver::CBandFactor> MakeCholesky(BandStorage&& a, int n, double rcondBound)
{
    if (WideFactorsAvailable())
        return MakeWideCholesky(std::move(a), n, rcondBound);
    auto factor = std::make_unique<CCholeskyFactor>(std::move(a), n);
    if (factor->Get().info() != Eigen::Success ||
        (!ProvenRegular(rcondBound, n) && NearlySingular(factor->Get().rcond(), n)))
        return nullptr;
    return factor;
}

// Full pivoting: slower, but it tells a singular matrix (null) from one that only needs pivots.
std::unique_ptr<CMatrixSolver::CBandFactor> MakeFullPivotLU(BandStorage&& a, int n)
{
    auto factor = std::make_unique<CFullPivotFactor>(std::move(a), n);
    if (!factor->Get().isInvertible())
        return nullptr;
    return factor;
}

// What the solve needs to know of a band, found while it is copied.
struct BandCopy
{
    bool finite = true;
    double frobenius = 0.0; // of the scaled matrix
    CMatrixSolver::BandTraits traits;
};

// Running statistics of the copied values, two lanes at a time (the vector type lowers to SSE2 or
// to plain pairs), with independent lanes so that no sum waits on the one before it.
typedef double Pair __attribute__((vector_size(16)));

struct CopyStats
{
    Pair squares[2] = {};
    Pair largest[2] = {};
    Pair nonFinite[2] = {}; // inf - inf and NaN - NaN are NaN, any finite difference 0

    static Pair Abs(Pair v) { return v < 0 ? -v : v; }
    static Pair Max(Pair a, Pair b) { return a > b ? a : b; }
};

// Copies one row of count values, scaled, accounts for them and adds their magnitudes to the
// column sums; gives the row's sum of magnitudes.
double CopyRow(const double* __restrict from, double* __restrict to, double* __restrict columns, size_t count,
               double omega, CopyStats& st)
{
    Pair row[2] = {};
    size_t c = 0;
    for (; c + 4 <= count; c += 4) {
        for (size_t k = 0; k < 2; ++k) {
            Pair v, column;
            std::memcpy(&v, from + c + 2 * k, sizeof v);
            v *= omega;
            std::memcpy(to + c + 2 * k, &v, sizeof v);
            const Pair magnitude = CopyStats::Abs(v);
            st.squares[k] += v * v;
            st.largest[k] = CopyStats::Max(st.largest[k], magnitude);
            st.nonFinite[k] += v - v;
            row[k] += magnitude;
            std::memcpy(&column, columns + c + 2 * k, sizeof column);
            column += magnitude;
            std::memcpy(columns + c + 2 * k, &column, sizeof column);
        }
    }
    for (; c < count; ++c) {
        const double v = omega * from[c];
        to[c] = v;
        const Pair p = {v, 0.0};
        const Pair magnitude = CopyStats::Abs(p);
        st.squares[0] += p * p;
        st.largest[0] = CopyStats::Max(st.largest[0], magnitude);
        st.nonFinite[0] += p - p;
        row[0] += magnitude;
        columns[c] += magnitude[0];
    }
    const Pair sum = row[0] + row[1];
    return sum[0] + sum[1];
}

// Lower bounds of the reciprocal 1-norm condition numbers of A and of A^T from A's diagonal
// dominance. When every row's diagonal exceeds the rest of its row by at least rho,
// ||A^-1||_inf <= 1 / rho; when every column's does so by gamma, ||A^-1||_1 <= 1 / gamma; and each
// of the two norms is at most n times the other. The margins given are already reduced by what the
// rounding of the sums and, for a symmetric band, the difference between the triangle a Cholesky
// reads and its mirror could take off them; the norms are increased by as much.
void BoundConditions(double rho, double gamma, double normOne, double normInf, int n,
                     CMatrixSolver::BandTraits& traits)
{
    constexpr double kNone = std::numeric_limits<double>::infinity();
    const double byRows = rho > 0.0 ? 1.0 / rho : kNone;
    const double byColumns = gamma > 0.0 ? 1.0 / gamma : kNone;
    const double inverseOne = std::min(byColumns, n * byRows);
    const double inverseInf = std::min(byRows, n * byColumns);
    traits.rcondBound = inverseOne < kNone ? 1.0 / (normOne * inverseOne) : 0.0;
    traits.transposedRcondBound = inverseInf < kNone ? 1.0 / (normInf * inverseInf) : 0.0;
}

// a = omega * m (both n x n, the model's row-major layout) with the band's norm, finiteness and
// symmetry. The copy streams through m row by row (the model's matrices are larger than the cache:
// the one read of m is what the copy costs); the symmetry test then compares square tiles of a with
// their mirrors, which keeps both in the cache.
BandCopy CopyScaled(const double* m, double omega, int n, double* a, double* columns)
{
    const size_t stride = static_cast<size_t>(n);
    CopyStats st;
    std::fill(columns, columns + n, 0.0);
    double rho = std::numeric_limits<double>::infinity(), normInf = 0.0;
    for (size_t r = 0; r < stride; ++r) {
        const double sum = CopyRow(m + r * stride, a + r * stride, columns, stride, omega, st);
        rho = std::min(rho, 2.0 * std::fabs(a[r * stride + r]) - sum);
        normInf = std::max(normInf, sum);
    }
    const Pair largestPair = CopyStats::Max(st.largest[0], st.largest[1]);
    const double largest = std::max(largestPair[0], largestPair[1]);
    const double tolerance = 1e-12 * (largest > 0.0 ? largest : 1.0);
    // Most unsymmetric bands differ in their first tiles already.
    constexpr int kTile = 16;
    bool symmetric = true;
    for (int r0 = 0; r0 < n && symmetric; r0 += kTile) {
        const int r1 = std::min(n, r0 + kTile);
        for (int c0 = r0; c0 < n && symmetric; c0 += kTile) {
            const int c1 = std::min(n, c0 + kTile);
            bool differs = false;
            int r = r0;
            if (c0 > r0) {
                // Off the diagonal, four rows at a time: their mirrors a(c, r .. r+3) lie side by
                // side, so only the rows are read across and no value is fetched alone.
                Pair worst[2] = {};
                for (; r + 4 <= r1; r += 4) {
                    const double* u0 = a + static_cast<size_t>(r) * stride;
                    const double* u1 = u0 + stride;
                    const double* u2 = u1 + stride;
                    const double* u3 = u2 + stride;
                    for (int c = c0; c < c1; ++c) {
                        const double* mirror = a + static_cast<size_t>(c) * stride + r;
                        Pair m0, m1;
                        std::memcpy(&m0, mirror, sizeof m0);
                        std::memcpy(&m1, mirror + 2, sizeof m1);
                        const Pair d0 = Pair{u0[c], u1[c]} - m0;
                        const Pair d1 = Pair{u2[c], u3[c]} - m1;
                        worst[0] = CopyStats::Max(worst[0], CopyStats::Abs(d0));
                        worst[1] = CopyStats::Max(worst[1], CopyStats::Abs(d1));
                    }
                }
                const Pair w = CopyStats::Max(worst[0], worst[1]);
                differs = w[0] > tolerance || w[1] > tolerance;
            }
            for (; r < r1; ++r) {
                const double* upper = a + static_cast<size_t>(r) * stride;
                for (int c = std::max(c0, r + 1); c < c1; ++c)
                    differs |= std::fabs(upper[c] - a[static_cast<size_t>(c) * stride + r]) > tolerance;
            }
            symmetric = !differs;
        }
    }
    const Pair squares = st.squares[0] + st.squares[1];
    const Pair nonFinite = st.nonFinite[0] + st.nonFinite[1];
    BandCopy copy;
    copy.finite = nonFinite[0] + nonFinite[1] == 0.0;
    copy.frobenius = std::sqrt(squares[0] + squares[1]);
    copy.traits.symmetric = copy.finite && symmetric;
    if (!copy.finite)
        return copy;
    double gamma = std::numeric_limits<double>::infinity(), normOne = 0.0;
    for (size_t c = 0; c < stride; ++c) {
        gamma = std::min(gamma, 2.0 * std::fabs(a[c * stride + c]) - columns[c]);
        normOne = std::max(normOne, columns[c]);
    }
    // Every sum is off by at most n epsilon times the largest sum; a symmetric band's Cholesky reads
    // one triangle for both, whose values differ from their mirrors by up to the tolerance.
    const double slack = n * (std::numeric_limits<double>::epsilon() * std::max(normOne, normInf) +
                              (copy.traits.symmetric ? tolerance : 0.0));
    BoundConditions(rho - 2.0 * slack, gamma - 2.0 * slack, normOne + slack, normInf + slack, n, copy.traits);
    return copy;
}

// Residual r = b - omega * M x, M the model's row-major band matrix.
void Residual(const double* m, double omega, const double* b, const double* x, int n, double* r)
{
    Eigen::Map<Eigen::VectorXd> R(r, n);
    R.noalias() = RowMajorMap(m, n, n) * MapVector(x, n);
    R = MapVector(b, n) - omega * R;
}

// True when the residual r of x is small against the sizes involved.
bool Acceptable(double normA, const double* b, const double* x, const double* r, int n, double tolerance)
{
    MapVector B(b, n), X(x, n), R(r, n);
    if (!X.allFinite())
        return false;
    const double scale = normA * X.norm() + B.norm();
    if (scale == 0.0)
        return true;
    return R.norm() <= tolerance * scale;
}

// Checks x by its residual and improves it by one step of iterative refinement, x += A^-1 (b - A x),
// which recovers the digits an LU of a badly scaled band loses. The residual that drives the step is
// the one checked: when it passes, the refined x passes too; only a solution that fails it is
// checked again after its refinement. A Cholesky factorisation that succeeded needs neither: its
// residual is bounded by a small multiple of n * epsilon * |A| |x|, far below the tolerance, and the
// band's scaling does not hurt it. True when x is accepted.
bool RefineAndCheck(const CMatrixSolver::CBandFactor& f, const double* m, double omega, double normA, const double* b,
                    double* x, int n, double tolerance)
{
    if (!MapVector(x, n).allFinite())
        return false;
    if (f.IsBackwardStable())
        return true;
    Eigen::VectorXd r(n);
    Residual(m, omega, b, x, n, r.data());
    const bool accepted = Acceptable(normA, b, x, r.data(), n, tolerance);
    Eigen::VectorXd dx(n);
    if (f.SolveWith(r.data(), dx.data(), n))
        Eigen::Map<Eigen::VectorXd>(x, n) += dx;
    if (accepted)
        return true;
    Residual(m, omega, b, x, n, r.data());
    return Acceptable(normA, b, x, r.data(), n, tolerance);
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

std::unique_ptr<CMatrixSolver::CBandFactor> CMatrixSolver::Factorise(BandStorage&& a, int n,
                                                                     const BandTraits& traits) const
{
    // The band as it is laid out is A^T to the factorisation.
    return elements_solver::MakeLU(std::move(a), n, traits.transposedRcondBound);
}

// What the band solves of one Solve share: right-hand side, solution and the column sums of the copy.
struct CMatrixSolver::Workspace
{
    explicit Workspace(int n) : b(static_cast<size_t>(n)), x(static_cast<size_t>(n)), columns(static_cast<size_t>(n))
    {}
    std::vector<double> b, x, columns;
};

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
    BandStorage a;
    Workspace work(n);
    for (int band = 0; band < bands; ++band) {
        if (m_restricted && (band >= static_cast<int>(m_flags.size()) || m_flags[static_cast<size_t>(band)] != 1))
            continue;
        if (!SolveBand(band, n, a, work)) {
            m_failedBand = band;
            return 0;
        }
        for (int r = 0; r < n; ++r)
            m_solution->DataValue(band, r) = work.x[static_cast<size_t>(r)];
    }
    return 1;
}

bool CMatrixSolver::SolveBand(int band, int n, BandStorage& a, Workspace& work)
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
    const size_t size = static_cast<size_t>(n) * static_cast<size_t>(n);
    // The factorisation of the band before took the storage along; every value is written below.
    auto fresh = [&] {
        if (!a)
            a.reset(new double[size]);
        return a.get();
    };
    const BandCopy copy = CopyScaled(m, omega, n, fresh(), work.columns.data());
    std::vector<double>& b = work.b;
    std::vector<double>& x = work.x;
    for (int r = 0; r < n; ++r)
        b[static_cast<size_t>(r)] = m_rhs->DataValue(band, r);
    if (!copy.finite || !MapVector(b.data(), n).allFinite())
        return false;

    std::shared_ptr<CBandFactor> factor;
    uint64_t key = 0;
    if (m_cache) {
        key = Hash(a.get(), size);
        factor = m_cache->m_impl->Find(key, a.get(), n);
    }
    if (!factor) {
        std::vector<double> kept;
        if (m_cache)
            kept.assign(a.get(), a.get() + size);
        factor = Factorise(std::move(a), n, copy.traits);
        if (!factor && copy.traits.symmetric) {
            // Symmetric but not positive definite: the Cholesky attempt used up its copy.
            CopyScaled(m, omega, n, fresh(), work.columns.data());
            BandTraits unsymmetric = copy.traits;
            unsymmetric.symmetric = false;
            factor = Factorise(std::move(a), n, unsymmetric);
        }
        if (factor && m_cache) {
            ++m_cache->m_impl->factorCount;
            m_cache->m_impl->entries.emplace(key, CMatrixFactorCache::Impl::Entry{n, std::move(kept), factor});
        }
    }
    constexpr double kTolerance = 1e-9;
    if (factor && factor->SolveWith(b.data(), x.data(), n) &&
        RefineAndCheck(*factor, m, omega, copy.frobenius, b.data(), x.data(), n, kTolerance)) {
        if (!m_cache)
            a = factor->ReleaseStorage();
        return true;
    }
    // The fast factorisation failed the check: full pivoting either solves the band or shows that
    // it is singular.
    CopyScaled(m, omega, n, fresh(), work.columns.data());
    std::unique_ptr<CBandFactor> full = MakeFullPivotLU(std::move(a), n);
    if (!full || !full->SolveWith(b.data(), x.data(), n))
        return false;
    return RefineAndCheck(*full, m, omega, copy.frobenius, b.data(), x.data(), n, kTolerance);
}
