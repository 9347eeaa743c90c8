// Times the calculation pipeline (blocks per RPM, FFT, band and order levels, averages) over a
// measured run-up of 16 channels x 60 s at 16384 Hz, against the FFTs of the same blocks alone in
// the same iteration. Counters: the pipeline's time per channel, the FFTs' share of it, and the
// ratio pipeline / FFTs (target: at most 2).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "calculation/CalcProjectManager.h"
#include "experiments/CalcOptions.h"
#include "experiments/DAQConfig.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/Excitation.h"
#include "experiments/RPMSignalData.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/FFT.h"

namespace {
constexpr float kFs = 16384.0f;
constexpr double kSeconds = 60.0;
constexpr int kChannels = 16;
constexpr double kTwoPi = 6.28318530717959;

// 1000 to 6000 RPM over the minute.
double RevolutionsAt(double t)
{
    return (1000.0 * t + 5000.0 / 120.0 * t * t) / 60.0;
}

class CDaq : public IDaqProjectAccess
{
public:
    CDAQConfig config;
    CCalcOptions calc;
    COctaveManagerEx bands{OCTAVE_BAND_THIRD, 20.0, 5000.0};
    CDAQConfig* GetDAQConfig() override { return &config; }
    CCalcOptions* GetCalcOptions() override { return &calc; }
    COctaveManagerEx* GetOctaveManager() override { return &bands; }
    std::string GetTargetSubsystemName() const override { return {}; }
    CSensorProject* GetSensorProject() const override { return nullptr; }
    int IsStructure(const std::string&) const override { return 1; }
    int FindDAQExperimentsBySubsystem(const std::string&, CMElementList& list) override
    {
        list.Clear();
        return 0;
    }
    int GetAveragingMode() const override { return 0; }
    double GetSubsystemEnergyFactor(const std::string&) const override { return 1.0; }
    bool EditRpmOptions(CRPMOptions&) override { return false; }
    void SetModified() override {}
};

class CExperiment : public CMElement, public IDaqExperimentData
{
public:
    CExpInfo info;
    CCalcOptions options;
    CExpInfo* GetExpInfo() override { return &info; }
    CCalcOptions* GetCalcOptions() override { return &options; }
    CZuRpmFunc* FindRpmFuncByName(const std::string&) const override { return nullptr; }
    CMultiVectorFunction* FindMultiVecFuncByName(const std::string&) const override { return nullptr; }
};

struct CRunUp
{
    CDaq daq;
    CExperiment experiment;
    std::unique_ptr<CExpProject> project;

    CRunUp()
    {
        daq.config.SetSamplingFreq(kFs);
        daq.calc.SetWindowType(CFFT::windowHanning);
        experiment.info.SetName(0, "Panel");
        experiment.info.SetName(1, "Cabin");
        for (const char* name : {"Panel", "Cabin"}) {
            CSubsystemLPInfo points(kChannels);
            points.SetName(name);
            experiment.options.GetSubsystemLPInfoList().Add(points);
        }
        project = std::make_unique<CExpProject>("Run-up", nullptr, -1);
        project->SetDAQProject(&daq);
        project->SetExperiment(&experiment);
        project->CreateDefaultChildren();
        const size_t n = static_cast<size_t>(kSeconds * kFs);
        std::vector<double> phase(n);
        for (size_t i = 0; i < n; ++i)
            phase[i] = kTwoPi * RevolutionsAt(double(i) / kFs);
        CExpDataSet* pulseSet = project->GetRPMSignalData()->AddDataSet();
        auto* pulse = pulseSet->AddChild(std::make_unique<CExpData>("RPM", pulseSet, ElementType::RpmSignal));
        std::vector<float> x(n);
        for (size_t i = 0; i < n; ++i)
            x[i] = static_cast<float>(std::sin(phase[i]));
        pulse->SetSamplingFrequency(kFs);
        pulse->SetSamples(x.data(), static_cast<int>(n));
        CExpDataSet* set = project->FindExcitation("Panel")->AddDataSet();
        for (int c = 0; c < kChannels; ++c) {
            auto* data = set->AddChild(
                std::make_unique<CExpData>("Ch" + std::to_string(c + 1), set, ElementType::StructureChannel));
            for (size_t i = 0; i < n; ++i)
                x[i] = static_cast<float>((c + 1) * std::sin(2.0 * phase[i]) + 0.5 * std::sin(4.0 * phase[i]) +
                                          0.1 * std::sin(kTwoPi * 997.0 * double(i) / kFs + c));
            data->SetSamplingFrequency(kFs);
            data->SetLocalPointNumber(c);
            data->SetSamples(x.data(), static_cast<int>(n));
            tagSENSORINFO sensor;
            sensor.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
            data->ReplaceSensorInfo(sensor);
        }
    }
};

void BM_CalcPipelineRunUp(benchmark::State& state)
{
    static CRunUp runUp;
    CExpProject& project = *runUp.project;
    // The same blocks the pipeline cuts, for the FFTs alone.
    CCalcProjectManager manager(&project);
    std::vector<std::pair<const float*, int>> blocks;
    CExpDataSet* set = project.FindExcitation("Panel")->GetDataSet(0);
    for (int rpm = 1000; rpm <= 6000; rpm += 50)
        for (int c = 0; c < set->GetChildCount(); ++c) {
            const float* block = nullptr;
            int length = 0;
            if (ElementCast<CExpData>(set->GetChild(c))->GetRpmBlock(rpm, block, length))
                blocks.emplace_back(block, length);
        }
    double pipeline = 0.0, ffts = 0.0;
    int projects = 0;
    std::vector<float> re, im;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        projects = manager.CalculateAll("", nullptr, 1);
        auto t1 = std::chrono::steady_clock::now();
        for (const auto& [block, length] : blocks) {
            CFFT fft;
            fft.SetData(block, length);
            fft.SetSamplingFreq(kFs);
            fft.SetHighPassFreq(project.GetHighPassFreq());
            fft.SetWindowType(project.GetWindowType());
            fft.Compute(re, im);
            benchmark::DoNotOptimize(re.data());
        }
        auto t2 = std::chrono::steady_clock::now();
        pipeline += std::chrono::duration<double>(t1 - t0).count();
        ffts += std::chrono::duration<double>(t2 - t1).count();
    }
    const double iterations = double(state.iterations());
    state.counters["projects"] = projects;
    state.counters["blocks"] = double(blocks.size());
    state.counters["ms_per_channel"] = 1e3 * pipeline / iterations / kChannels;
    state.counters["fft_share"] = ffts / pipeline;
    state.counters["pipeline_over_fft"] = pipeline / ffts;
}
BENCHMARK(BM_CalcPipelineRunUp)->Unit(benchmark::kMillisecond)->MinTime(1.0);
} // namespace

BENCHMARK_MAIN();
