// The memory a model of N shells (N = 300, 600, 1200) takes at the peak of its energy solve, against
// the size of its loss-factor matrix and against the estimate the model's build checks before it
// allocates anything. Each size runs in a child process of its own, so that its peak is its own.
// Printed: peak / matrix (what the solve holds at once) and peak / estimate (target: at most 1).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "models/ASEAModelData.h"
#include "models/UnitEnergySolver.h"
#include "platform/base/Format.h"
#include "support/FakeModelLink.h"

namespace {

// Resident and peak resident memory of this process in bytes (/proc/self/status).
double StatusBytes(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::atof(line.c_str() + std::string(key).size()) * 1024.0;
    return 0.0;
}

struct Figures
{
    double peak = 0, matrix = 0, estimate = 0;
};

// Builds a model of n shells (each with a modal density and a loss factor, every shell coupled to
// the next) and solves the 1 W energies of one input, in this process.
Figures Measure(int n)
{
    const std::string dir = Format("/tmp/orvex_model_memory_%d", static_cast<int>(::getpid()));
    std::string cmd = "mkdir -p " + dir;
    if (std::system(cmd.c_str()) != 0)
        return {};
    std::string model = "ORVEX-MODEL\t1\nBANDS\t0\t100\t10000\nSET\t1\tBody\n";
    std::string companion = "#@memory\n";
    for (int i = 0; i < n; ++i) {
        const std::string name = Format("P%05d", i);
        model += "SHELL\t" + name + "\t1\t1\t1\t1\n";
        std::string density = "<Modal Density>\t" + name + "-F\t-", dlf = "<Intrinsic DLF>\t" + name + "-F\t-";
        for (int b = 0; b < 21; ++b)
            density += "\t0.5", dlf += "\t0.01";
        companion += density + "\n" + dlf + "\n";
    }
    for (int i = 0; i + 1 < n; ++i) {
        std::string clf = Format("<CLF>\tP%05d-F\tP%05d-F", i, i + 1);
        for (int b = 0; b < 21; ++b)
            clf += "\t0.001";
        companion += clf + "\n";
    }
    std::ofstream(dir + "/m.ntf") << model;
    std::ofstream(dir + "/m.dat") << companion;

    const double before = StatusBytes("VmRSS:");
    Figures f;
    {
        CFakeModelLink project;
        auto asea = std::make_unique<CASEAModelData>(&project);
        if (!asea->BuildFromModel(dir + "/m.ntf")) {
            std::fprintf(stderr, "model of %d shells not built: %s\n", n, asea->GetLastError().c_str());
            return {};
        }
        const int rows = asea->GetSubsystemTable()->GetCount();
        const int bands = asea->GetFreqCount();
        f.matrix = double(rows) * rows * bands * sizeof(double);
        f.estimate = double(CSEAModelData::SolvePeakBytes(rows, bands));
        CUnitEnergySolver solver(asea.get());
        if (!solver.SolveUnitPowerEnergies("P00000-F", -1, 0) || !solver.SolveUnitPowerEnergies("P00001-F", -1, 0))
            std::fprintf(stderr, "model of %d shells not solved\n", n);
        f.peak = StatusBytes("VmHWM:") - before;
    }
    cmd = "rm -rf " + dir;
    if (std::system(cmd.c_str()) != 0)
        std::fprintf(stderr, "%s left behind\n", dir.c_str());
    return f;
}

void BM_SolvePeak(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Figures f;
    for (auto _ : state) {
        int fd[2];
        if (::pipe(fd) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fd[0]);
            const Figures mine = Measure(n);
            if (::write(fd[1], &mine, sizeof mine) != sizeof mine)
                ::_exit(1);
            ::_exit(0);
        }
        ::close(fd[1]);
        if (::read(fd[0], &f, sizeof f) != sizeof f)
            state.SkipWithError("the measuring process failed");
        ::close(fd[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    state.counters["matrix_MB"] = f.matrix / 1e6;
    state.counters["peak_MB"] = f.peak / 1e6;
    state.counters["peak_per_matrix"] = f.matrix > 0 ? f.peak / f.matrix : 0;
    state.counters["peak_per_estimate"] = f.estimate > 0 ? f.peak / f.estimate : 0;
}
BENCHMARK(BM_SolvePeak)->Arg(300)->Arg(600)->Arg(1200)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
