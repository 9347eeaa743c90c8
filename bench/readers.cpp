// Readers of files that users bring must take time linear in the file: the oldest project history,
// the sensor list file and the target energy-ratio rows of a model data text. Each is read at a
// size and at ten times that size in the same run; the program prints the ratio of the two times
// (linear reading gives about 10; the target is at most 15).
#include "BenchSupport.h"
#include "app/ModelProject.h"
#include "app/ProjectHistory.h"
#include "app/TALVOProject.h"
#include "experiments/SensorListFile.h"
#include "experiments/SensorProject.h"
#include "platform/archive/Archive.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

std::string PathOf(const std::string& name)
{
    return Folder().filePath(QString::fromStdString(name)).toStdString();
}

// ---- the oldest project history: a count, then per entry three strings and two times ----
const std::vector<uint8_t>& HistoryBytes(int entries)
{
    static std::map<int, std::vector<uint8_t>> made;
    auto& bytes = made[entries];
    if (bytes.empty()) {
        CArchive ar(&bytes, CArchive::store);
        ar << static_cast<int32_t>(entries);
        for (int i = 0; i < entries; ++i)
            ar << std::string("MOX 2.0") << std::string("2.0") << ("C:\\models\\car" + std::to_string(i) + ".mox")
               << static_cast<int32_t>(i) << static_cast<int32_t>(i + 1);
    }
    return bytes;
}

void BM_OldProjectHistory(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = HistoryBytes(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CArchive ar(bytes.data(), bytes.size());
        CProjectHistory history;
        history.Serialize(ar); // outside an object record: the oldest format
        benchmark::DoNotOptimize(history.GetChildCount());
    }
}

// ---- the sensor list file ----
std::string SensorFile(int sensors)
{
    const std::string path = PathOf("sensors" + std::to_string(sensors) + ".dat");
    if (!std::ifstream(path)) {
        std::ofstream out(path, std::ios::binary);
        out << "#@bench\n# x\n#\n[Sensor List]\n";
        for (int i = 0; i < sensors; ++i)
            out << "ACC-" << i << "\tMaker\tM\tS" << i << "\t10\t7\t0\t0\n";
        out << "\n[Sensor Bundle]\nBundle ID\n";
        for (int i = 0; i < sensors / 8; ++i) {
            out << "B" << i << "\t" << i + 1;
            for (int s = 0; s < 8; ++s)
                out << "\tACC-" << i * 8 + s;
            out << "\n";
        }
        out << "\n[Sensor Grouping]\nGroup #\n";
        for (int g = 0; g < sensors / 8; ++g)
            out << g + 1 << "\tB" << g << " #1\tB" << g << " #2\n";
    }
    return path;
}

void BM_SensorListFile(benchmark::State& state)
{
    const std::string path = SensorFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CSensorProject project;
        std::string title;
        benchmark::DoNotOptimize(ReadSensorListFile(project, path, title));
    }
}

// ---- the target energy-ratio rows of a model data text ----
std::string RatioFile(int rows)
{
    const std::string path = PathOf("pairs" + std::to_string(rows) + ".dmd");
    if (!std::ifstream(path)) {
        std::ofstream out(path, std::ios::binary);
        // Every pair of a square of source and target subsystems, as a model's table lists them:
        // rows grow with the square of the subsystems.
        const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(rows))));
        out << "#Target ERs\nSource\tTarget\n";
        for (int i = 0; i < rows; ++i)
            out << "S" << i / side << "\tT" << i % side << "\t1\t2\t3\n";
        out << "\n";
    }
    return path;
}

void BM_TargetEnergyRatios(benchmark::State& state)
{
    static CTALVOProject* container = [] {
        auto* c = new CTALVOProject;
        const std::string samples = ORVEX_SOURCE_DIR "/samples/sample-model.dmd";
        c->CreateModelProjectFromFile(0, samples);
        return c;
    }();
    CModelProject* model = container->GetModelProject();
    const std::string path = RatioFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        model->ReadTargetEnergyRatios(path);
        // Each read starts from a model without ratios, as a user's first read does: the
        // replacement of the sets read before is not what is measured here.
        state.PauseTiming();
        for (int type : {ElementType::ExpTargetErs, ElementType::ModelTargetErs})
            if (CMElement* read = model->FindOne(type, -1))
                read->GetParent()->DeleteChild(read);
        state.ResumeTiming();
    }
}

// The smaller file of each pair already makes the reader's tables and elements far larger than
// the processor's caches (tens of MB): below that size the small read runs from cache and the
// large one from memory, and the ratio measures the memory hierarchy rather than the reader.
struct SizePair
{
    const char* name;
    void (*run)(benchmark::State&);
    int small, large;
};
constexpr SizePair kPairs[] = {{"BM_OldProjectHistory", BM_OldProjectHistory, 100000, 1000000},
                               {"BM_SensorListFile", BM_SensorListFile, 50000, 500000},
                               {"BM_TargetEnergyRatios", BM_TargetEnergyRatios, 50000, 500000}};

// Each size is read several times and the fastest read of each counts, so that a moment of load
// on the machine does not decide the ratio.
constexpr int kRepetitions = 10;

} // namespace

int main(int argc, char** argv)
{
    CZuRegOptions::SetSettingsFolder(Folder().path().toStdString());
    SetStringTableFolder(ORVEX_SOURCE_DIR "/resources/lang");
    CDefaultPromptService quiet;
    SetPromptService(&quiet);
    benchmark::Initialize(&argc, argv);
    for (const SizePair& pair : kPairs)
        benchmark::RegisterBenchmark(pair.name, pair.run)
            ->Arg(pair.small)
            ->Arg(pair.large)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(kRepetitions);
    benchsupport::CFastestReporter reporter(true);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    int slow = 0;
    for (const SizePair& pair : kPairs) {
        const std::string name = pair.name;
        const std::string large = name + "/" + std::to_string(pair.large),
                          small = name + "/" + std::to_string(pair.small);
        const double ratio = reporter.Ratio(large.c_str(), small.c_str());
        if (std::isnan(ratio))
            continue; // filtered out
        std::printf("%s: ten times the file takes %.1f times as long (at most 15)\n", pair.name, ratio);
        slow += ratio > 15.0;
    }
    benchmark::Shutdown();
    return slow == 0 ? 0 : 1;
}
