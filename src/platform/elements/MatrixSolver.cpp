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

// The passes over a band's values are built twice where the compiler can: for AVX2, four values to
// an instruction, and for the baseline processor; the program picks one when it loads. The vector
// type below lowers to AVX2 registers, to SSE2 pairs or to plain values, whichever the build has.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__AVX2__)
#define ORVEX_BAND_PASS __attribute__((target_clones("avx2", "default")))
#else
#define ORVEX_BAND_PASS
#endif
typedef double Quad __attribute__((vector_size(32)));
typedef long long QuadBits __attribute__((vector_size(32)));
// |v| of four values at once: their sign bits cleared.
constexpr QuadBits kMagnitudeBits = {0x7fffffffffffffffLL, 0x7fffffffffffffffLL, 0x7fffffffffffffffLL,
                                     0x7fffffffffffffffLL};

// Running statistics of the copied values, with two independent lanes so that no sum waits on the
// one before it.
struct CopyStats
{
    Quad squares[2] = {};
    Quad largest[2] = {};
};

// Copies one row of count values, scaled, accounts for them and adds their magnitudes to the
// column sums; gives the row's sum of magnitudes.
ORVEX_BAND_PASS
double CopyRow(const double* __restrict from, double* __restrict to, double* __restrict columns, size_t count,
               double omega, CopyStats& st)
{
    Quad row[2] = {};
    size_t c = 0;
    for (; c + 8 <= count; c += 8) {
        for (size_t k = 0; k < 2; ++k) {
            Quad v, column;
            std::memcpy(&v, from + c + 4 * k, sizeof v);
            v *= omega;
            std::memcpy(to + c + 4 * k, &v, sizeof v);
            const Quad magnitude = (Quad)((QuadBits)v & kMagnitudeBits);
            st.squares[k] += v * v;
            st.largest[k] = st.largest[k] > magnitude ? st.largest[k] : magnitude;
            row[k] += magnitude;
            std::memcpy(&column, columns + c + 4 * k, sizeof column);
            column += magnitude;
            std::memcpy(columns + c + 4 * k, &column, sizeof column);
        }
    }
    double sum = 0.0;
    for (; c < count; ++c) {
        const double v = omega * from[c];
        to[c] = v;
        const double magnitude = std::fabs(v);
        st.squares[0][0] += v * v;
        st.largest[0][0] = std::max(st.largest[0][0], magnitude);
        sum += magnitude;
        columns[c] += magnitude;
    }
    const Quad lanes = row[0] + row[1];
    return sum + (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
}

// True when the n x n matrix a equals its transpose within tolerance. It compares square tiles with
// their mirrors, which keeps both in the cache; most unsymmetric bands differ in their first tiles.
ORVEX_BAND_PASS
bool Symmetric(const double* a, int n, double tolerance)
{
    const size_t stride = static_cast<size_t>(n);
    constexpr int kTile = 16;
    for (int r0 = 0; r0 < n; r0 += kTile) {
        const int r1 = std::min(n, r0 + kTile);
        for (int c0 = r0; c0 < n; c0 += kTile) {
            const int c1 = std::min(n, c0 + kTile);
            bool differs = false;
            int r = r0;
            if (c0 > r0) {
                // Off the diagonal, four rows at a time: their mirrors a(c, r .. r+3) lie side by
                // side, so only the rows are read across and no value is fetched alone.
                Quad worst = {};
                for (; r + 4 <= r1; r += 4) {
                    const double* u0 = a + static_cast<size_t>(r) * stride;
                    const double* u1 = u0 + stride;
                    const double* u2 = u1 + stride;
                    const double* u3 = u2 + stride;
                    for (int c = c0; c < c1; ++c) {
                        Quad mirror;
                        std::memcpy(&mirror, a + static_cast<size_t>(c) * stride + r, sizeof mirror);
                        const Quad d = Quad{u0[c], u1[c], u2[c], u3[c]} - mirror;
                        const Quad magnitude = (Quad)((QuadBits)d & kMagnitudeBits);
                        worst = worst > magnitude ? worst : magnitude;
                    }
                }
                differs = worst[0] > tolerance || worst[1] > tolerance || worst[2] > tolerance || worst[3] > tolerance;
            }
            for (; r < r1; ++r) {
                const double* upper = a + static_cast<size_t>(r) * stride;
                for (int c = std::max(c0, r + 1); c < c1; ++c)
                    differs |= std::fabs(upper[c] - a[static_cast<size_t>(c) * stride + r]) > tolerance;
            }
            if (differs)
                return false;
        }
    }
    return true;
}

// Lower bounds of the reciprocal 1-norm condition numbers of A and of A^T from A's diagonal
// dominance. When every row's diagonal exceeds the rest of its row by at least rho,
// ||A^-1||_inf <= 1 / rho; when every column's does so by gamma, ||A^-1||_1 <= 1 / gamma; and each
// of the two norms is at most n times the other. The margins given are already reduced by what the
// rounding of the sums and, for a symmetric band, the difference between the triangle a Cholesky
// reads and its mirror could take off them; the norms are increased by as much.
void BoundConditions(double rho, double gamma, double normOne, double normInf, int n, CMatrixSolver::BandTraits& traits)
{
    constexpr double kNone = std::numeric_limits<double>::infinity();
    const double byRows = rho > 0.0 ? 1.0 / rho : kNone;
    const double byColumns = gamma > 0.0 ? 1.0 / gamma : kNone;
    const double inverseOne = std::min(byColumns, n * byRows);
    const double inverseInf = std::min(byRows, n * byColumns);
    traits.rcondBound = inverseOne < kNone ? 1.0 / (normOne * inverseOne) : 0.0;
    traits.transposedRcondBound = inverseInf < kNone ? 1.0 / (normInf * inverseInf) : 0.0;
}

// a = omega * m (both n x n, the model's row-major layout) with the band's norm, finiteness,
// symmetry and diagonal dominance. The copy streams through m row by row (the model's matrices are
// larger than the cache: the one read of m is what the copy costs) and sums the magnitudes of every
// row and column on the way; the symmetry test then works on a in the cache.
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
    double gamma = std::numeric_limits<double>::infinity(), normOne = 0.0;
    bool sumsFinite = true;
    for (size_t c = 0; c < stride; ++c) {
        gamma = std::min(gamma, 2.0 * std::fabs(a[c * stride + c]) - columns[c]);
        normOne = std::max(normOne, columns[c]);
        sumsFinite &= std::isfinite(columns[c]);
    }
    BandCopy copy;
    // A sum of magnitudes is finite unless a value is not, or the sum overflows: only then are the
    // values themselves looked at.
    copy.finite = sumsFinite || MapVector(a, static_cast<Eigen::Index>(stride * stride)).allFinite();
    if (!copy.finite)
        return copy;
    const Quad squares = st.squares[0] + st.squares[1];
    const Quad largestLanes = st.largest[0] > st.largest[1] ? st.largest[0] : st.largest[1];
    copy.frobenius = std::sqrt((squares[0] + squares[1]) + (squares[2] + squares[3]));
    const double largest =
        std::max(std::max(largestLanes[0], largestLanes[1]), std::max(largestLanes[2], largestLanes[3]));
    const double tolerance = 1e-12 * (largest > 0.0 ? largest : 1.0);
    copy.traits.symmetric = Symmetric(a, n, tolerance);
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
    explicit Workspace(int n) : b(static_cast<size_t>(n)), x(static_cast<size_t>(n)), columns(static_cast<size_t>(n)) {}
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
