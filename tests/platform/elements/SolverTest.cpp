#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "platform/elements/CGMSolver.h"
#include "platform/elements/MatrixSolver.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"

namespace {
// Subsystems S0 .. S(n-1).
std::vector<std::string> SubsystemNames(int n)
{
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i)
        names.push_back("S" + std::to_string(i));
    return names;
}

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

// A matrix value that is not finite, above or below the diagonal of the symmetric band 0 or of the
// unsymmetric band 1, fails the solve at that band.
TEST(Solvers, NonFiniteMatrixValuesAreRefused)
{
    struct Case
    {
        int band, row, col;
        double value;
    };
    for (const Case& c : {Case{0, 0, 1, NAN}, Case{0, 2, 1, INFINITY}, Case{0, 1, 1, -INFINITY},
                          Case{1, 0, 2, INFINITY}, Case{1, 2, 0, NAN}}) {
        for (int which = 0; which < 2; ++which) {
            System s;
            s.m.DataValue(c.band, c.row, c.col) = c.value;
            std::unique_ptr<CMatrixSolver> solver =
                which == 0 ? std::make_unique<CMatrixSolver>(&s.m, &s.rhs, &s.x)
                           : std::unique_ptr<CMatrixSolver>(std::make_unique<CCGMSolver>(&s.m, &s.rhs, &s.x));
            EXPECT_EQ(solver->Solve(), 0) << c.band << " " << c.row << " " << c.col << " " << which;
            EXPECT_EQ(solver->GetFailedBand(), c.band) << c.band << " " << c.row << " " << c.col << " " << which;
        }
    }
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

// Larger bands whose subsystems differ by many orders of magnitude (modal densities 1e-4 .. 1e4, as
// plates beside cavities give): a reciprocal band (Cholesky), the same band with global CLFs (LU of
// an unsymmetric matrix) and a symmetric band that is not positive definite (Cholesky refuses it).
// Every solution component must match the one of a full-pivoting solve in long double, so that a
// small subsystem's energy is not lost in the large ones' rounding; the matrices span more than the
// 16 x 16 tiles the symmetry test compares.
TEST(Solvers, BadlyScaledBandsKeepEverySubsystemsDigits)
{
    constexpr int n = 37;
    CZuSubsystemTable table(SubsystemNames(n));
    constexpr int kBands = 3;
    CZuMatFunc m("m", &table, nullptr, kBands, nullptr, 2);
    CZuVecFunc p("p", &table, kBands, nullptr, 3), e("e", &table, kBands, nullptr, 52);
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1u << 24);
    };
    for (int band = 0; band < kBands; ++band) {
        m.DataIndex(band) = 250.0 * (band + 1);
        std::vector<double> density(n);
        for (int i = 0; i < n; ++i)
            density[size_t(i)] = std::pow(10.0, -4.0 + 8.0 * next());
        for (int i = 0; i < n; ++i) {
            m.DataValue(band, i, i) += density[size_t(i)] * (0.005 + 0.05 * next());
            for (int k = 0; k < 4; ++k) {
                const int j = int(next() * n) % n;
                if (j == i)
                    continue;
                const double nEta = density[size_t(i)] * 1e-3 * (0.1 + next());
                const double back = band == 1 ? density[size_t(j)] * 1e-3 * (0.1 + next()) : nEta;
                m.DataValue(band, j, i) -= nEta;
                m.DataValue(band, i, i) += nEta;
                m.DataValue(band, i, j) -= back;
                m.DataValue(band, j, j) += back;
            }
            p.DataValue(band, i) = i % 5 == 0 ? 1.0 : 0.0;
        }
    }
    // Band 2: symmetric but indefinite.
    m.DataValue(2, 3, 3) = -m.DataValue(2, 3, 3);

    for (int which = 0; which < 2; ++which) {
        std::unique_ptr<CMatrixSolver> solver =
            which == 0 ? std::make_unique<CMatrixSolver>(&m, &p, &e)
                       : std::unique_ptr<CMatrixSolver>(std::make_unique<CCGMSolver>(&m, &p, &e));
        ASSERT_NE(solver->Solve(), 0) << which;
        for (int band = 0; band < kBands; ++band) {
            using LongMatrix = Eigen::Matrix<long double, Eigen::Dynamic, Eigen::Dynamic>;
            LongMatrix a(n, n);
            Eigen::Matrix<long double, Eigen::Dynamic, 1> b(n);
            const long double omega = CMatrixSolver::kTwoPi * m.DataIndex(band);
            for (int r = 0; r < n; ++r) {
                b(r) = p.DataValue(band, r);
                for (int c = 0; c < n; ++c)
                    a(r, c) = omega * m.DataValue(band, r, c);
            }
            const Eigen::Matrix<long double, Eigen::Dynamic, 1> reference = a.fullPivLu().solve(b);
            for (int r = 0; r < n; ++r)
                EXPECT_NEAR(double(e.DataValue(band, r) / reference(r)), 1.0, 1e-9) << which << " " << band << " " << r;
        }
    }
}

// A model whose subsystems lose no energy of their own (no damping) has a singular matrix in every
// band: each column sums to zero, so what one subsystem gives its partners it gains back. Such a
// band is refused and named, whether reciprocal (Cholesky) or not (LU), and also when a damping far
// below the rounding of the coupling sums leaves it singular in all but name. A band damped enough
// is solved beside them.
TEST(Solvers, UndampedBandsAreRefusedAndNamed)
{
    constexpr int n = 40;
    CZuSubsystemTable table(SubsystemNames(n));
    struct Case
    {
        bool reciprocal;
        double damping; // relative to the coupling
    };
    for (const Case& c : {Case{true, 0.0}, Case{false, 0.0}, Case{true, 1e-17}, Case{false, 1e-17}}) {
        CZuMatFunc m("m", &table, nullptr, 2, nullptr, 2);
        CZuVecFunc p("p", &table, 2, nullptr, 3), e("e", &table, 2, nullptr, 52);
        uint32_t seed = 99;
        auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return (seed >> 8) / double(1u << 24);
        };
        for (int band = 0; band < 2; ++band) {
            m.DataIndex(band) = 500.0 * (band + 1);
            const double damping = band == 0 ? 0.01 : c.damping;
            for (int i = 0; i < n; ++i) {
                const double density = 0.1 + next();
                m.DataValue(band, i, i) += density * damping * 1e-3;
                for (int k = 1; k <= 3; ++k) {
                    const int j = (i + k * 7) % n;
                    const double nEta = density * 1e-3 * (0.1 + next());
                    const double back = c.reciprocal ? nEta : (0.1 + next()) * 1e-3;
                    m.DataValue(band, j, i) -= nEta;
                    m.DataValue(band, i, i) += nEta;
                    m.DataValue(band, i, j) -= back;
                    m.DataValue(band, j, j) += back;
                }
                p.DataValue(band, i) = i == 0 ? 1.0 : 0.0;
                e.DataValue(band, i) = -1.0;
            }
        }
        for (int which = 0; which < 2; ++which) {
            std::unique_ptr<CMatrixSolver> solver =
                which == 0 ? std::make_unique<CMatrixSolver>(&m, &p, &e)
                           : std::unique_ptr<CMatrixSolver>(std::make_unique<CCGMSolver>(&m, &p, &e));
            EXPECT_EQ(solver->Solve(), 0) << c.reciprocal << " " << c.damping << " " << which;
            EXPECT_EQ(solver->GetFailedBand(), 1) << c.reciprocal << " " << c.damping << " " << which;
            EXPECT_GT(e.DataValue(0, 0), 0.0);
            EXPECT_EQ(e.DataValue(1, 0), -1.0);
        }
    }
}
