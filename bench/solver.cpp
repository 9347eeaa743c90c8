// The energy-balance solve of a random reciprocal SEA model (500 subsystems, 24 bands) with
// CCGMSolver, timed against a plain dense LU (Eigen's PartialPivLU) of the same scaled systems in
// the same run. Prints the ratio at the end; the solver may take at most 1.5 times the LU's time,
// and the program exits with 1 when it takes more.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <cmath>
#include <cstdio>
#include <map>
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
struct Model
{
    CZuSubsystemTable table;
    CZuMatFunc m;
    CZuVecFunc p, e;

    Model()
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
                    m.DataValue(b, j, i) -= nEta;
                    m.DataValue(b, i, j) -= nEta;
                    m.DataValue(b, i, i) += nEta;
                    m.DataValue(b, j, j) += nEta;
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

Model& TheModel()
{
    static Model model;
    return model;
}

void BM_CCGMSolver(benchmark::State& state)
{
    Model& model = TheModel();
    for (auto _ : state) {
        CCGMSolver solver(&model.m, &model.p, &model.e);
        if (!solver.Solve())
            state.SkipWithError("solve failed");
        benchmark::DoNotOptimize(model.e.DataValue(0, 0));
    }
}

void BM_DenseLU(benchmark::State& state)
{
    Model& model = TheModel();
    Eigen::MatrixXd a(kSubsystems, kSubsystems);
    Eigen::VectorXd b(kSubsystems), x;
    for (auto _ : state) {
        for (int band = 0; band < kBands; ++band) {
            const double omega = CMatrixSolver::kTwoPi * model.m.DataIndex(band);
            for (int r = 0; r < kSubsystems; ++r) {
                b(r) = model.p.DataValue(band, r);
                for (int c = 0; c < kSubsystems; ++c)
                    a(r, c) = omega * model.m.DataValue(band, r, c);
            }
            x = Eigen::PartialPivLU<Eigen::MatrixXd>(a).solve(b);
            for (int r = 0; r < kSubsystems; ++r)
                model.e.DataValue(band, r) = x(r);
        }
        benchmark::DoNotOptimize(model.e.DataValue(0, 0));
    }
}

// Three repetitions each, interleaved (see main); the ratio uses the fastest of each.
BENCHMARK(BM_CCGMSolver)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_DenseLU)->Unit(benchmark::kMillisecond)->Repetitions(3);

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> best; // benchmark -> fastest ns per iteration

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            const std::string name = run.run_name.function_name;
            const double t = run.GetAdjustedRealTime();
            auto [it, added] = best.emplace(name, t);
            if (!added && t < it->second)
                it->second = t;
        }
    }
};
} // namespace

int main(int argc, char** argv)
{
    benchsupport::InitializeInterleaved(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto solver = reporter.best.find("BM_CCGMSolver"), lu = reporter.best.find("BM_DenseLU");
    if (solver == reporter.best.end() || lu == reporter.best.end() || lu->second <= 0)
        return 0; // a filter left one side out: nothing to compare
    const double ratio = solver->second / lu->second;
    std::printf("\nCCGMSolver / PartialPivLU (%d subsystems, %d bands): %.2f (limit 1.50)\n", kSubsystems, kBands,
                ratio);
    return ratio <= 1.5 ? 0 : 1;
}
