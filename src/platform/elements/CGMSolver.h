#pragma once
// The iterative solver of the energy balance: conjugate gradients when the band's matrix is
// symmetric (the loss-factor matrix in modal-energy form is), stabilised bi-conjugate gradients
// otherwise, each started from the solution vector's values. A band whose iteration does not reach
// the tolerance is solved directly instead, so a result is never returned unconverged.
#include "platform/elements/MatrixSolver.h"

class CCGMSolver : public CMatrixSolver
{
public:
    CCGMSolver(CZuMatFunc* matrix, CZuVecFunc* rhs, CZuVecFunc* solution);
    ~CCGMSolver() override;

    // Relative residual the iteration must reach, and its iteration limit (default 10 n, at least
    // 100).
    void SetTolerance(double tolerance) { m_tolerance = tolerance; }
    void SetMaxIterations(int iterations) { m_maxIterations = iterations; }

protected:
    bool SolveBand(const std::vector<double>& a, const std::vector<double>& b, std::vector<double>& x,
                   int n) override;

private:
    double m_tolerance = 1e-12;
    int m_maxIterations = 0;
};
