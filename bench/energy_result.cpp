// The energy result of an analysis: a model of N subsystems (N = 100, 300, 1000) over 200 engine
// speeds, four input subsystems, three bands, with the 1 W energies already kept in the model (as
// after the first run). The result is built per speed from the input powers and the 1 W energies,
// so its time per subsystem and speed should not grow with N: printed at the end is that time at
// N = 300 and N = 1000 against N = 100 (target: at most 1.5).
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "calculation/Solver.h"
#include "calculation/SolverProject.h"
#include "models/HSEAModelData.h"
#include "models/SEAModelData.h"
#include "platform/base/Feedback.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"
#include "support/FakeModelLink.h"

namespace {
constexpr int kRpms = 200;
constexpr int kInputs = 4;
constexpr int kBands = 3;

class CAnalysis : public CMElement, public ISolverProject, public IModelProjectHolder
{
public:
    CAnalysis(CFakeModelLink* model, const COctaveManagerEx& bands)
        : CMElement("Analysis", nullptr, 0), m_model(model), m_bands(bands)
    {
        m_rpm.SetRange(1000.0f, 1000.0f + 25.0f * (kRpms - 1), 25.0f);
        m_map = {0, 1, 2};
    }
    CMElement* GetProjectElement() override { return this; }
    int HasOwner() const override { return 1; }
    CRPMOptions& GetRPMOptions() override { return m_rpm; }
    COctaveManagerEx* GetOctaveManager() override { return &m_bands; }
    std::vector<int32_t>& GetFreqIndexArray() override { return m_map; }
    void GetModelDataParams(int* kind, double* start, double* end) const override
    {
        *kind = OCTAVE_BAND_THIRD;
        *start = 500.0;
        *end = 800.0;
    }
    IModelProjectLink* GetModelProjectLink() const override { return m_model; }

private:
    CFakeModelLink* m_model;
    COctaveManagerEx m_bands;
    CRPMOptions m_rpm;
    std::vector<int32_t> m_map;
};

// A reciprocal model of n plates, each coupled to the next and to a few others, with input powers
// at four of them over every speed.
struct CModel
{
    CFakeModelLink project;
    CHSEAModelData* model = nullptr;
    std::unique_ptr<CAnalysis> analysis;
    CMElementList inputs;

    explicit CModel(int n)
    {
        std::vector<std::string> keys;
        for (int i = 0; i < n; ++i) {
            const std::string name = Format("Plate%04d", i);
            project.types[name] = 1;
            keys.push_back(name + "-F");
        }
        CSEAModelData source("SEA", nullptr, 5, OCTAVE_BAND_THIRD, 500.0, 800.0);
        CZuSubsystemTable table(keys);
        source.SetSubsystemTable(&table);
        const CZuSubsystemTable* own = source.GetSubsystemTable();
        auto eta = std::make_unique<CZuMatFunc>("Eta", own, own, kBands, &source, ElementType::EtaMatrix);
        auto density = std::make_unique<CZuVecFunc>("Modal Density", own, kBands, &source, ElementType::ModalDensity);
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::uniform_int_distribution<int> partner(0, n - 1);
        for (int b = 0; b < kBands; ++b) {
            eta->DataIndex(b) = density->DataIndex(b) = source.GetFreq(b);
            for (int s = 0; s < n; ++s) {
                density->DataValue(b, s) = 0.1 + unit(rng);
                eta->DataValue(b, s, s) = (0.005 + 0.01 * unit(rng)) * density->DataValue(b, s);
            }
            auto couple = [&](int s, int t, double clf) {
                const double nEta = density->DataValue(b, s) * clf;
                eta->DataValue(b, t, s) -= nEta;
                eta->DataValue(b, s, t) -= nEta;
                eta->DataValue(b, s, s) += nEta;
                eta->DataValue(b, t, t) += nEta;
            };
            for (int s = 0; s + 1 < n; ++s)
                couple(s, s + 1, 0.002);
            for (int s = 0; s < n; ++s) {
                const int t = partner(rng);
                if (t != s)
                    couple(s, t, 0.0005);
            }
        }
        source.AddChild(std::move(eta));
        source.AddChild(std::move(density));
        model = project.AddChild(std::make_unique<CHSEAModelData>(&source, nullptr, 1, 1, 0, 0));
        analysis = std::make_unique<CAnalysis>(&project, *model->GetOctaveManager());
        std::vector<double> rpms, freqs;
        for (int r = 0; r < kRpms; ++r)
            rpms.push_back(1000.0 + 25.0 * r);
        for (int b = 0; b < kBands; ++b)
            freqs.push_back(model->GetFreq(b));
        for (int k = 0; k < kInputs; ++k) {
            const std::string name = Format("Plate%04d", k * (n / kInputs));
            auto f = CZuRpmFunc::NewRpmFunc("IP", 3, analysis.get(), name, freqs.data(), kBands, rpms.data(), kRpms);
            for (int r = 0; r < kRpms; ++r)
                for (int b = 0; b < kBands; ++b)
                    f->DataValue(r, b) = 0.01 * (1 + r % 7) * (1 + b + k);
            inputs.Add(analysis->AddChild(std::move(f)));
        }
    }

    bool Run()
    {
        CSolver solver;
        solver.SetProject(analysis.get());
        solver.SetModelData(model);
        solver.SetInputs(inputs);
        solver.SetMode(CSolver::MODE_RPM);
        CSilentFeedback silent;
        solver.SetFeedback(&silent);
        return solver.Run() != 0 && solver.GetResult() != nullptr;
    }
};

CModel& Model(int n)
{
    static std::map<int, std::unique_ptr<CModel>> models;
    auto& model = models[n];
    if (!model) {
        model = std::make_unique<CModel>(n);
        model->Run(); // the 1 W energies, kept in the model from now on
    }
    return *model;
}

void BM_EnergyResult(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    CModel& model = Model(n);
    for (auto _ : state)
        if (!model.Run())
            state.SkipWithError("the energy result failed");
    state.counters["subsystems"] = n;
    state.counters["rpms"] = kRpms;
}
BENCHMARK(BM_EnergyResult)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond)->Repetitions(3);
} // namespace

int main(int argc, char** argv)
{
    benchsupport::InitializeInterleaved(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchsupport::CFastestReporter reporter(true);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto perCell = [&](int n) {
        auto it = reporter.fastest.find("BM_EnergyResult/" + std::to_string(n));
        // The fastest times are in milliseconds.
        return it == reporter.fastest.end() ? NAN : 1e6 * it->second / (double(n) * kRpms);
    };
    std::printf("\ntime per subsystem and speed (%d speeds, %d inputs, %d bands):\n", kRpms, kInputs, kBands);
    for (int n : {100, 300, 1000})
        std::printf("  N = %4d: %8.1f ns, %.2f of N = 100\n", n, perCell(n), perCell(n) / perCell(100));
    std::printf("target: at most 1.5 at every N\n");
    return 0;
}
