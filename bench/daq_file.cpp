// Saves and loads the measurement file of one data set of 128 channels of 30 s at 51,200 Hz
// (786 MB of samples), like with like in one run: the save (durable: synced and renamed) against
// a durable write of the same bytes through the same atomic file, and the warm load against a plain read of
// the same file. Prints the two ratios (targets: save within 1.2x, load within 1.5x).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "BenchSupport.h"
#include "acquisition/DAQIO.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOProject.h"
#include "experiments/DAQConfig.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/StringTable.h"

namespace {

constexpr int kChannels = 128;
constexpr float kFs = 51200.0f;
constexpr int kSamples = 30 * 51200;

std::filesystem::path Folder()
{
    static const std::filesystem::path dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("orvex_bench_daq_file_" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}

// A project document in the bench folder with one data set of 128 sensor channels.
struct CBenchProject
{
    CTALVOProject container;
    CDAQExperiment* set = nullptr;
    std::unique_ptr<CExpProject> base;

    CBenchProject()
    {
        LoadLanguageStrings(9);
        container.SetDocumentPath((Folder() / "bench.orv").string());
        const auto model = std::filesystem::path(ORVEX_SOURCE_DIR) / "samples" / "sample-model.dmd";
        container.CreateModelProjectFromFile(0, model.string());
        const CZuSubsystemTable* table = container.GetModelSubsystemTable();
        if (!table || table->GetCount() < 2)
            std::abort();
        const std::string excited = (*table)[0];
        const std::string response = (*table)[1];
        container.SetTargetSubsystem(response);
        container.SetSystemChannelCount(kChannels);
        CDaqProject* daq = container.AddDaqProject();
        daq->GetDAQConfig()->SetSamplingFreq(kFs);
        CSensorGroup group;
        for (int c = 0; c < kChannels; ++c) {
            tagSENSORINFO info;
            info.ID = Format("S%d", c + 1);
            info.ChannelInfo.Sensitivity = 10.0f;
            info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
            container.GetSensorProject()->AddSensor(info);
            group.SetMember({info.ID, 1, c, c, 0}, kChannels);
        }
        CExpInfo info;
        info.SetName(0, excited);
        info.SetName(1, response);
        info.SetSensorGroup(0, group);
        set = daq->AddDataSet(info);
        set->SetDescription("Bench");
        base = std::make_unique<CExpProject>("Measurement", nullptr, -1);
        base->SetDAQProject(daq);
        base->SetExperiment(set);
        base->CreateDefaultChildren();
        base->AddRpmSignalDataSet();
        CExpDataSet* data = base->AddExcitationDataSet(base->GetExcitationIndex(excited));
        if (!data || data->GetChildCount() != kChannels)
            std::abort();
        std::vector<float> samples(kSamples);
        for (int c = 0; c < kChannels; ++c) {
            for (int i = 0; i < kSamples; ++i)
                samples[static_cast<size_t>(i)] = static_cast<float>((i * 2654435761u + c) % 65536) / 65536.0f;
            DynamicDowncast<CExpData>(data->GetChild(c))->SetSamples(samples.data(), kSamples);
        }
    }
};

CBenchProject& Bench()
{
    static CBenchProject project;
    return project;
}

uintmax_t g_bytes = 0;

std::string ProjectPath()
{
    return CDAQIO::GetDaqFilePath(Bench().set);
}

// The measurement file as the program writes it: header, data set and the lent copy of the
// experiment project, to a temporary file that is synced and renamed over the target.
void Store()
{
    CDAQIO io(Bench().set);
    if (!io.SaveAll(Bench().base.get()))
        std::abort();
}

void BM_Store(benchmark::State& state)
{
    for (auto _ : state)
        Store();
    g_bytes = std::filesystem::file_size(ProjectPath());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(g_bytes));
}

// The same bytes written through the same atomic file without the archive.
void BM_DurableWrite(benchmark::State& state)
{
    benchsupport::DurableWriteOf(state, ProjectPath(), Folder());
}

// Reading the measurement file back (warm: the file is in the page cache after the first run).
void BM_Load(benchmark::State& state)
{
    if (!std::filesystem::exists(ProjectPath())) {
        state.SkipWithError("BM_Store writes the file first");
        return;
    }
    for (auto _ : state) {
        CDAQIO io(Bench().set);
        auto read = io.LoadOne(Bench().set);
        if (!read)
            state.SkipWithError("the load failed");
        benchmark::DoNotOptimize(read.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(ProjectPath())));
}

// A plain read of the same file into memory.
void BM_PlainRead(benchmark::State& state)
{
    benchsupport::PlainReadOf(state, ProjectPath());
}

} // namespace

// The repetitions of all four run interleaved in a shuffled order, so that each side of a ratio
// sees the same machine load (main writes the file they read first). A write of hundreds of MB
// either runs at the speed of memory or, when the kernel must first free page cache for it, takes
// three times as long with the time spent in the writing thread; either side lands in either state
// run by run. With three runs one side often had only slow ones, and fastest against fastest then
// gave 0.24 or 0.59 for the same bytes and syncs: seven runs give each side its fast one.
#define ORVEX_DAQ_RUNS Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0)->Repetitions(7)
BENCHMARK(BM_Store)->ORVEX_DAQ_RUNS;
BENCHMARK(BM_DurableWrite)->ORVEX_DAQ_RUNS;
BENCHMARK(BM_Load)->ORVEX_DAQ_RUNS;
BENCHMARK(BM_PlainRead)->ORVEX_DAQ_RUNS;

int main(int argc, char** argv)
{
    benchsupport::InitializeInterleaved(argc, argv);
    Store();
    g_bytes = std::filesystem::file_size(ProjectPath());
    benchsupport::CFastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nmeasurement file (128 channels, 30 s at 51200 Hz) of %.0f MB:\n",
                static_cast<double>(g_bytes) / 1e6);
    std::printf("  store / durable write of the same bytes: %.2f (target: at most 1.2)\n",
                reporter.Ratio("BM_Store", "BM_DurableWrite"));
    std::printf("  warm load / plain read of the same file: %.2f (target: at most 1.5)\n",
                reporter.Ratio("BM_Load", "BM_PlainRead"));
    std::filesystem::remove_all(Folder());
    return 0;
}
