#include <gtest/gtest.h>

#include <cmath>

#include "platform/elements/CGMSolver.h"
#include "platform/elements/MatrixSolver.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"

namespace {
struct System
{
    CZuSubsystemTable table{std::vector<std::string>{"A", "B", "C"}};
    CZuMatFunc m{"m", &table, nullptr, 2, nullptr, 2};
    CZuVecFunc rhs{"p", &table, 2, nullptr, 3};
    CZuVecFunc x{"e", &table, 2, nullptr, 5};

    // band 0: symmetric positive definite; band 1: not symmetric. Right-hand sides made from a
    // known solution of (2 pi f M) x = b.
    System()
    {
        m.DataIndex(0) = 100.0;
        m.DataIndex(1) = 250.0;
        const double a0[3][3] = {{4, -1, 0}, {-1, 4, -1}, {0, -1, 3}};
        const double a1[3][3] = {{3, -2, 0.5}, {-0.1, 5, -1}, {-0.7, -0.3, 2}};
        const double solution[2][3] = {{1, 2, 3}, {-1, 0.5, 4}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) {
                m.DataValue(0, r, c) = a0[r][c];
                m.DataValue(1, r, c) = a1[r][c];
            }
        for (int band = 0; band < 2; ++band)
            for (int r = 0; r < 3; ++r) {
                double sum = 0;
                for (int c = 0; c < 3; ++c)
                    sum += m.DataValue(band, r, c) * solution[band][c];
                rhs.DataValue(band, r) = CMatrixSolver::kTwoPi * m.DataIndex(band) * sum;
            }
    }
};
} // namespace

template <class Solver>
void SolvesBothBands()
{
    System s;
    Solver solver(&s.m, &s.rhs, &s.x);
    solver.ShowProgress(0, 1, nullptr);
    ASSERT_NE(solver.Solve(), 0);
    const double expected[2][3] = {{1, 2, 3}, {-1, 0.5, 4}};
    for (int band = 0; band < 2; ++band)
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(s.x.DataValue(band, k), expected[band][k], 1e-9) << band << " " << k;
}

TEST(Solvers, DirectAndIterativeSolveSymmetricAndUnsymmetricBands)
{
    SolvesBothBands<CMatrixSolver>();
    SolvesBothBands<CCGMSolver>();
}

TEST(Solvers, OnlyFlaggedBandsAreSolved)
{
    System s;
    s.x.DataValue(0, 0) = 77.0;
    CCGMSolver solver(&s.m, &s.rhs, &s.x);
    int flags[] = {0, 1};
    solver.SetCalcFreq(flags, 2);
    ASSERT_NE(solver.Solve(), 0);
    EXPECT_EQ(s.x.DataValue(0, 0), 77.0);
    EXPECT_NEAR(s.x.DataValue(1, 2), 4.0, 1e-9);

    int none[] = {0};
    CCGMSolver nothing(&s.m, &s.rhs, &s.x);
    nothing.SetCalcFreq(none, 1); // band 1 lies past the flags
    s.x.DataValue(1, 2) = -5.0;
    EXPECT_NE(nothing.Solve(), 0);
    EXPECT_EQ(s.x.DataValue(1, 2), -5.0);
}

TEST(Solvers, SingularOrMismatchedSystemsFail)
{
    System s;
    for (int c = 0; c < 3; ++c)
        s.m.DataValue(1, 2, c) = s.m.DataValue(1, 0, c) * 2.0; // band 1 singular
    for (int which = 0; which < 2; ++which) {
        std::unique_ptr<CMatrixSolver> solver =
            which == 0 ? std::make_unique<CMatrixSolver>(&s.m, &s.rhs, &s.x)
                       : std::unique_ptr<CMatrixSolver>(std::make_unique<CCGMSolver>(&s.m, &s.rhs, &s.x));
        EXPECT_EQ(solver->Solve(), 0);
        EXPECT_EQ(solver->GetFailedBand(), 1);
        EXPECT_NEAR(s.x.DataValue(0, 1), 2.0, 1e-9); // band 0 was solved before
    }

    CZuSubsystemTable two{std::vector<std::string>{"A", "B"}};
    CZuVecFunc small("small", &two, 2, nullptr, 3);
    CMatrixSolver mismatch(&s.m, &small, &s.x);
    EXPECT_EQ(mismatch.Solve(), 0);
    CMatrixSolver missing(nullptr, &s.rhs, &s.x);
    EXPECT_EQ(missing.Solve(), 0);

    s.rhs.DataValue(0, 0) = NAN;
    CCGMSolver notFinite(&s.m, &s.rhs, &s.x);
    EXPECT_EQ(notFinite.Solve(), 0);
    EXPECT_EQ(notFinite.GetFailedBand(), 0);
}

// A matrix without band frequencies cannot be put into power-balance form: it is refused, never
// solved at omega = 1.
TEST(Solvers, BandWithoutFrequencyIsRefused)
{
    for (double f : {0.0, -10.0, static_cast<double>(NAN)}) {
        System s;
        s.m.DataIndex(1) = f;
        s.x.DataValue(1, 0) = 9.0;
        CCGMSolver solver(&s.m, &s.rhs, &s.x);
        EXPECT_EQ(solver.Solve(), 0) << f;
        EXPECT_EQ(solver.GetFailedBand(), 1);
        EXPECT_EQ(s.x.DataValue(1, 0), 9.0);
        EXPECT_NEAR(s.x.DataValue(0, 2), 3.0, 1e-9);
    }
}

// One subsystem of loss factor eta and modal density n fed with P: (omega n eta) e = P, so its
// energy E = n e is P / (omega eta), the textbook balance.
TEST(Solvers, SingleSubsystemPowerBalance)
{
    CZuSubsystemTable one{std::vector<std::string>{"Cavity-"}};
    CZuMatFunc m("m", &one, nullptr, 1, nullptr, 2);
    CZuVecFunc p("p", &one, 1, nullptr, 3), e("e", &one, 1, nullptr, 52);
    const double f = 1000.0, n = 0.35, eta = 0.02, P = 0.5;
    m.DataIndex(0) = f;
    m.DataValue(0, 0, 0) = n * eta;
    p.DataValue(0, 0) = P;
    CCGMSolver solver(&m, &p, &e);
    ASSERT_NE(solver.Solve(), 0);
    EXPECT_NEAR(e.DataValue(0, 0) * n / (P / (2 * M_PI * f * eta)), 1.0, 1e-12);
}

// Solvers given one cache factorise each distinct band matrix once; a changed matrix is factorised
// anew, even with the same size.
TEST(Solvers, FactorCacheSharesEqualBandsOnly)
{
    System s;
    CMatrixFactorCache cache;
    for (int run = 0; run < 3; ++run) {
        CCGMSolver solver(&s.m, &s.rhs, &s.x);
        solver.SetFactorCache(&cache);
        ASSERT_NE(solver.Solve(), 0);
    }
    EXPECT_EQ(cache.GetFactorCount(), 2);
    s.m.DataValue(1, 0, 0) += 1.0;
    CCGMSolver changed(&s.m, &s.rhs, &s.x);
    changed.SetFactorCache(&cache);
    ASSERT_NE(changed.Solve(), 0);
    EXPECT_EQ(cache.GetFactorCount(), 3);
    EXPECT_NEAR(s.x.DataValue(0, 1), 2.0, 1e-9); // band 0 still from the kept factorisation
}
