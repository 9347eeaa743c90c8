// The energy-balance solve of random SEA models (500 subsystems, 24 bands) with CCGMSolver, each
// timed in the same run against the factorisation Eigen itself would use for the same scaled
// systems: LLT for a reciprocal model (every band symmetric positive definite), PartialPivLU for
// one with global CLFs (no band symmetric). Eigen here is built for the instructions the solver's
// own factorisations use (see solver.cmake). Prints both ratios at the end (target: at most 1.05),
// and the largest scaled residual of the solve, which must stay what it was.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "platform/base/Format.h"
#include "platform/elements/CGMSolver.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"

namespace {
constexpr int kSubsystems = 500;
constexpr int kBands = 24;
constexpr int kCouplings = 6; // partners per subsystem

// A model in modal-energy form: M(j, i) = -n_i eta_ij, M(i, i) = n_i (eta_i + sum_j eta_ij), with
// n_i eta_ij = n_j eta_ji (reciprocity), so every band's matrix is symmetric positive definite.
// With reciprocal false, n_i eta_ij and n_j eta_ji are drawn apart (as global CLFs give them): the
// matrix is not symmetric, but each column still dominates its diagonal.
struct Model
{
    CZuSubsystemTable table;
    CZuMatFunc m;
    CZuVecFunc p, e;

    explicit Model(bool reciprocal)
        : table(Names()), m("eta", &table, nullptr, kBands, nullptr, 2), p("p", &table, kBands, nullptr, 3),
          e("e", &table, kBands, nullptr, 52)
    {
        std::mt19937 rng(4711);
        std::uniform_real_distribution<double> density(0.01, 2.0), damping(0.005, 0.05), coupling(1e-4, 1e-2);
        std::uniform_int_distribution<int> partner(0, kSubsystems - 1);
        for (int b = 0; b < kBands; ++b) {
            const double f = 100.0 * std::pow(10.0, b / 10.0);
            m.DataIndex(b) = p.DataIndex(b) = e.DataIndex(b) = f;
            std::vector<double> n(kSubsystems);
            for (double& v : n)
                v = density(rng);
            for (int i = 0; i < kSubsystems; ++i) {
                m.DataValue(b, i, i) += n[static_cast<size_t>(i)] * damping(rng);
                for (int k = 0; k < kCouplings; ++k) {
                    const int j = partner(rng);
                    if (j == i)
                        continue;
                    const double nEta = n[static_cast<size_t>(i)] * coupling(rng); // n_i eta_ij = n_j eta_ji
                    const double nEtaBack = reciprocal ? nEta : n[static_cast<size_t>(j)] * coupling(rng);
                    m.DataValue(b, j, i) -= nEta;
                    m.DataValue(b, i, j) -= nEtaBack;
                    m.DataValue(b, i, i) += nEta;
                    m.DataValue(b, j, j) += nEtaBack;
                }
                p.DataValue(b, i) = (i % 50 == 0) ? 1.0 : 0.0;
            }
        }
    }

    static std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int i = 0; i < kSubsystems; ++i)
            names.push_back(Format("S%03d-F", i));
        return names;
    }
};

Model& TheModel(bool reciprocal)
{
    static Model symmetric(true), unsymmetric(false);
    return reciprocal ? symmetric : unsymmetric;
}

void TimeSolver(benchmark::State& state, bool reciprocal)
{
    Model& model = TheModel(reciprocal);
    for (auto _ : state) {
        CCGMSolver solver(&model.m, &model.p, &model.e);
        if (!solver.Solve())
            state.SkipWithError("solve failed");
        benchmark::DoNotOptimize(model.e.DataValue(0, 0));
    }
}

// Eigen on its own: the band scaled into its own matrix, factorised, solved, the solution written back.
template <class Decomposition>
void TimeEigen(benchmark::State& state, bool reciprocal)
{
    using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    Model& model = TheModel(reciprocal);
    Eigen::MatrixXd a(kSubsystems, kSubsystems);
    Eigen::VectorXd b(kSubsystems), x;
    for (auto _ : state) {
        for (int band = 0; band < kBands; ++band) {
            const double omega = CMatrixSolver::kTwoPi * model.m.DataIndex(band);
            a = omega * Eigen::Map<const RowMajor>(model.m.GetPointValues(band), kSubsystems, kSubsystems);
            for (int r = 0; r < kSubsystems; ++r)
                b(r) = model.p.DataValue(band, r);
            x = Decomposition(a).solve(b);
            for (int r = 0; r < kSubsystems; ++r)
                model.e.DataValue(band, r) = x(r);
        }
        benchmark::DoNotOptimize(model.e.DataValue(0, 0));
    }
}

void BM_CCGMSolverReciprocal(benchmark::State& state)
{
    TimeSolver(state, true);
}
void BM_EigenLLTReciprocal(benchmark::State& state)
{
    TimeEigen<Eigen::LLT<Eigen::MatrixXd>>(state, true);
}
void BM_CCGMSolverGlobalCLF(benchmark::State& state)
{
    TimeSolver(state, false);
}
void BM_EigenLUGlobalCLF(benchmark::State& state)
{
    TimeEigen<Eigen::PartialPivLU<Eigen::MatrixXd>>(state, false);
}

// Five repetitions each, interleaved (see main); the ratios use the fastest of each.
#define ORVEX_SOLVER_RUNS Unit(benchmark::kMillisecond)->Repetitions(5)
BENCHMARK(BM_CCGMSolverReciprocal)->ORVEX_SOLVER_RUNS;
BENCHMARK(BM_EigenLLTReciprocal)->ORVEX_SOLVER_RUNS;
BENCHMARK(BM_CCGMSolverGlobalCLF)->ORVEX_SOLVER_RUNS;
BENCHMARK(BM_EigenLUGlobalCLF)->ORVEX_SOLVER_RUNS;

// The largest |b - omega M x| / (|omega M| |x| + |b|) over the bands of a solved model.
double LargestResidual(bool reciprocal)
{
    using RowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    Model& model = TheModel(reciprocal);
    CCGMSolver solver(&model.m, &model.p, &model.e);
    if (!solver.Solve())
        return NAN;
    double worst = 0.0;
    for (int band = 0; band < kBands; ++band) {
        const double omega = CMatrixSolver::kTwoPi * model.m.DataIndex(band);
        const Eigen::MatrixXd a =
            omega * Eigen::Map<const RowMajor>(model.m.GetPointValues(band), kSubsystems, kSubsystems);
        Eigen::VectorXd b(kSubsystems), x(kSubsystems);
        for (int r = 0; r < kSubsystems; ++r) {
            b(r) = model.p.DataValue(band, r);
            x(r) = model.e.DataValue(band, r);
        }
        const double scale = a.norm() * x.norm() + b.norm();
        worst = std::max(worst, (b - a * x).norm() / scale);
    }
    return worst;
}
} // namespace

int main(int argc, char** argv)
{
#if defined(ORVEX_BENCH_WIDE_EIGEN)
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma")) {
        std::fprintf(stderr, "This processor has no AVX2/FMA: the yardstick is built for them.\n");
        return 1;
    }
#endif
    benchsupport::InitializeInterleaved(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchsupport::CFastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n%d subsystems, %d bands, Eigen built %s (target: at most 1.05 each):\n", kSubsystems, kBands,
#if defined(ORVEX_BENCH_WIDE_EIGEN)
                "for AVX2/FMA as the solver's factorisations"
#else
                "for the baseline processor"
#endif
    );
    std::printf("  CCGMSolver / Eigen LLT, reciprocal model:           %.2f\n",
                reporter.Ratio("BM_CCGMSolverReciprocal", "BM_EigenLLTReciprocal"));
    std::printf("  CCGMSolver / Eigen PartialPivLU, global-CLF model:  %.2f\n",
                reporter.Ratio("BM_CCGMSolverGlobalCLF", "BM_EigenLUGlobalCLF"));
    std::printf("  largest scaled residual of the solve: reciprocal %.2e, global CLF %.2e\n", LargestResidual(true),
                LargestResidual(false));
    return 0;
}
