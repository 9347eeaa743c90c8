#pragma once
// The band factorisations of the energy-balance solve built a second time for processors with
// AVX2 and FMA, whose wider registers make the factorisation's inner products about twice as fast.
// The rest of the program is built for every x86-64 processor, so the solve asks first whether this
// one runs them.
#include <limits>

#include "platform/elements/MatrixSolver.h"

namespace elements_solver {
// A factorisation whose estimated reciprocal condition number is this small keeps no digit of the
// solution and cannot be told from that of a singular matrix (its last pivot is rounding noise,
// nonzero or not depending on the order of the operations): the solve leaves such a band to full
// pivoting, which decides whether it is singular.
inline bool NearlySingular(double rcond, int n)
{
    return !(rcond > n * std::numeric_limits<double>::epsilon());
}

// True when rcondBound, a proven lower bound of the reciprocal condition number, stands so far above
// the threshold of NearlySingular that the estimate, which can only come out at or above the true
// value (less the rounding of a few well-conditioned solves), could not fall below it: the band is
// taken without the estimate, whose solves cost a sizeable part of the factorisation.
inline bool ProvenRegular(double rcondBound, int n)
{
    return rcondBound > 100.0 * n * std::numeric_limits<double>::epsilon();
}

// True when this build holds the wide factorisations and the processor runs them.
bool WideFactorsAvailable();
// Partial-pivoting LU and Cholesky as the solve's own (see MatrixSolver.cpp), in place in the
// storage they are given; only to be called when WideFactorsAvailable(). Null when the matrix is
// nearly singular, and for the Cholesky also when it is not positive definite. rcondBound is a
// proven lower bound of the reciprocal condition number of the matrix as it is factorised (0: none).
std::unique_ptr<CMatrixSolver::CBandFactor> MakeWideLU(CMatrixSolver::BandStorage&& a, int n, double rcondBound);
std::unique_ptr<CMatrixSolver::CBandFactor> MakeWideCholesky(CMatrixSolver::BandStorage&& a, int n, double rcondBound);
} // namespace elements_solver
