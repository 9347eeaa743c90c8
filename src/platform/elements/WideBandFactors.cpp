#include "platform/elements/WideBandFactors.h"

// Every standard header the matrix library includes comes in here first, built for the baseline
// processor: the standard library's inline functions are shared with the rest of the program and
// must not be compiled for the wide instruction set below.
#include <algorithm>
#include <array>
#include <cassert>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iosfwd>
#include <iostream>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__AVX2__)
#define ORVEX_WIDE_FACTORS 1
#else
#define ORVEX_WIDE_FACTORS 0
#endif

#if ORVEX_WIDE_FACTORS
// The matrix library chooses its register width from the instruction-set macros, which the target
// switch does not set; they are set for it here. Its namespace is renamed so that none of its
// functions built here can stand in for the baseline ones the rest of the program uses.
#pragma GCC push_options
#pragma GCC target("avx,avx2,fma")
#define __AVX__ 1
#define __AVX2__ 1
#define __FMA__ 1
#define __SSE3__ 1
#define __SSSE3__ 1
#define __SSE4_1__ 1
#define __SSE4_2__ 1
#define Eigen OrvexWideEigen
#include <Eigen/Cholesky>
#include <Eigen/LU>

namespace {
using WideMatrix = Eigen::MatrixXd;
using WideRef = Eigen::Ref<WideMatrix>;

// As the solve's own factors: the band in the model's row-major layout is A^T read column by
// column; a symmetric band is its own transpose, every other one is solved transposed.
template <class Decomposition, bool kTransposed>
class CWideFactor : public CMatrixSolver::CBandFactor
{
public:
    CWideFactor(CMatrixSolver::BandStorage&& storage, int n)
        : m_storage(std::move(storage)), m_matrix(m_storage.get(), n, n), m_d(m_matrix)
    {}
    CWideFactor(const CWideFactor&) = delete;
    CWideFactor& operator=(const CWideFactor&) = delete;

    bool SolveWith(const double* b, double* x, int n) const override
    {
        Eigen::Map<Eigen::VectorXd> X(x, n);
        const Eigen::Map<const Eigen::VectorXd> B(b, n);
        if constexpr (kTransposed)
            X = m_d.transpose().solve(B);
        else
            X = m_d.solve(B);
        return X.allFinite();
    }
    bool IsBackwardStable() const override { return !kTransposed; }
    CMatrixSolver::BandStorage ReleaseStorage() override { return std::move(m_storage); }
    const Decomposition& Get() const { return m_d; }

private:
    CMatrixSolver::BandStorage m_storage;
    Eigen::Map<WideMatrix> m_matrix;
    Decomposition m_d;
};
} // namespace

std::unique_ptr<CMatrixSolver::CBandFactor> elements_solver::MakeWideLU(CMatrixSolver::BandStorage&& a, int n,
                                                                        double rcondBound)
{
    auto factor = std::make_unique<CWideFactor<Eigen::PartialPivLU<WideRef>, true>>(std::move(a), n);
    if (!ProvenRegular(rcondBound, n) && NearlySingular(factor->Get().rcond(), n))
        return nullptr;
    return factor;
}

std::unique_ptr<CMatrixSolver::CBandFactor> elements_solver::MakeWideCholesky(CMatrixSolver::BandStorage&& a, int n,
                                                                              double rcondBound)
{
    auto factor = std::make_unique<CWideFactor<Eigen::LLT<WideRef>, false>>(std::move(a), n);
    if (factor->Get().info() != Eigen::Success ||
        (!ProvenRegular(rcondBound, n) && NearlySingular(factor->Get().rcond(), n)))
        return nullptr;
    return factor;
}

#undef Eigen
#undef __AVX__
#undef __AVX2__
#undef __FMA__
#undef __SSE3__
#undef __SSSE3__
#undef __SSE4_1__
#undef __SSE4_2__
#pragma GCC pop_options

bool elements_solver::WideFactorsAvailable()
{
    static const bool available = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return available;
}

#else

bool elements_solver::WideFactorsAvailable()
{
    return false;
}

std::unique_ptr<CMatrixSolver::CBandFactor> elements_solver::MakeWideLU(CMatrixSolver::BandStorage&&, int, double)
{
    return nullptr;
}

std::unique_ptr<CMatrixSolver::CBandFactor> elements_solver::MakeWideCholesky(CMatrixSolver::BandStorage&&, int, double)
{
    return nullptr;
}

#endif
