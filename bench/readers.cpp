// Readers of files that users bring must take time linear in the file: the oldest project history,
// the sensor list file and the target energy-ratio rows of a model data text. Each is read at a
// size and at ten times that size in the same run; the program prints the ratio of the two times
// (linear reading gives about 10; the target is at most 15).
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

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kSmall = 10000;

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
    const std::string path = PathOf("ratios" + std::to_string(rows) + ".dmd");
    if (!std::ifstream(path)) {
        std::ofstream out(path, std::ios::binary);
        out << "#Target ERs\nSource\tTarget\n";
        for (int i = 0; i < rows; ++i)
            out << "S" << i << "\tT" << i << "\t1\t2\t3\n";
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
    for (auto _ : state)
        model->ReadTargetEnergyRatios(path);
}

BENCHMARK(BM_OldProjectHistory)->Arg(kSmall * 10)->Arg(kSmall * 100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SensorListFile)->Arg(kSmall)->Arg(kSmall * 10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TargetEnergyRatios)->Arg(kSmall)->Arg(kSmall * 10)->Unit(benchmark::kMillisecond)->Iterations(2);

// Keeps each run's time per iteration, to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, std::vector<double>> times;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            times[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
        ConsoleReporter::ReportRuns(runs);
    }
};
} // namespace

int main(int argc, char** argv)
{
    CZuRegOptions::SetSettingsFolder(Folder().path().toStdString());
    SetStringTableFolder(ORVEX_SOURCE_DIR "/resources/lang");
    CDefaultPromptService quiet;
    SetPromptService(&quiet);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    int slow = 0;
    for (const auto& [name, t] : reporter.times) {
        if (t.size() != 2 || t[0] <= 0.0)
            continue;
        const double ratio = t[1] / t[0];
        std::printf("%s: ten times the file takes %.1f times as long (at most 15)\n", name.c_str(), ratio);
        slow += ratio > 15.0;
    }
    benchmark::Shutdown();
    return slow == 0 ? 0 : 1;
}
