#pragma once
// The solver of the energy balance that the calculations use (see MatrixSolver.h for the equation
// and docs/solver.md for the method). A band whose scaled matrix is symmetric positive definite,
// as the matrix of a reciprocal SEA model is, is factorised by Cholesky (half the work of LU); any
// other band, such as one prepared with global CLFs, by LU with partial pivoting. Solutions are
// checked by their residual and improved by one step of iterative refinement, so a result is never
// returned unchecked.
#include "platform/elements/MatrixSolver.h"

class CCGMSolver : public CMatrixSolver
{
public:
    CCGMSolver(CZuMatFunc* matrix, CZuVecFunc* rhs, CZuVecFunc* solution);
    ~CCGMSolver() override;

protected:
    std::unique_ptr<CBandFactor> Factorise(BandStorage&& a, int n, const BandTraits& traits) const override;
};
