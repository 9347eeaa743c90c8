// The channel-assignment import must take time linear in its rows: a text file of rows of one unit,
// a text file whose every row names a unit of its own (each a new bundle of the catalogue), and a
// workbook of records in columns. Each is read at a size and at ten times that size in the same
// run; the program prints the fastest time of the larger file, its time per row and the ratio of
// the fastest times (a linear import gives 10 to about 50, a quadratic one 100 and more).
#include "BenchSupport.h"
#include "acquisition/BlixChDB.h"
#include "acquisition/BlixChIO.h"
#include "experiments/SensorProject.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/excel/XlsxWorkbook.h"
#include "platform/excel/XlsxWriter.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

std::string Folder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/orvex_bench_channels_XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

constexpr const char* kSensors[] = {"S1", "S2", "S3", "S4"};

// A row of unit `unit`: its channel and sensor alternate, as a unit's two channels are wired.
std::string TextFile(const std::string& name, int rows, bool unitPerRow)
{
    const std::string path = Folder() + "/" + name + std::to_string(rows) + ".txt";
    if (::access(path.c_str(), R_OK) == 0)
        return path;
    std::ofstream out(path, std::ios::binary);
    out << "#@bench\n#\n#\n[Subsystem]\t[BLIX SN]\t[BLIX CH]\t[Sensor]\n";
    for (int i = 0; i < rows; ++i)
        out << (i % 2 ? "Door" : "Roof") << '\t' << (unitPerRow ? i + 1 : 12) << '\t' << 1 + i % 2 << '\t'
            << kSensors[i % 4] << '\n';
    return path;
}

// Records of four stacked cells (serial number, channel, sensor, subsystem) in columns of 250.
std::string Workbook(int records)
{
    const std::string path = Folder() + "/channels" + std::to_string(records) + ".xlsx";
    if (::access(path.c_str(), R_OK) == 0)
        return path;
    CXlsxWorkbook book;
    CXlsxSheet* sheet = book.InsertSheet(0, LoadString(IDS_CHANNEL_SHEET));
    constexpr int kPerColumn = 250;
    const int columns = (records + kPerColumn - 1) / kPerColumn;
    sheet->Notes()[{1, 1}] =
        "FILE_VERSION=bench\nEXPORT_RANGE=B2:" + CExcelWrapper::CellName(2 + 4 * kPerColumn, 1 + columns);
    for (int i = 0; i < records; ++i) {
        const int col = 2 + i / kPerColumn, row = 2 + 4 * (i % kPerColumn);
        const std::string texts[] = {std::to_string(1 + i % 500), std::to_string(1 + i % 2), kSensors[i % 4],
                                     i % 2 ? "Door" : "Roof"};
        for (int k = 0; k < 4; ++k) {
            XlsxCell* cell = sheet->GetCell(row + k, col);
            cell->type = XlsxCellType::String;
            cell->text = texts[k];
        }
    }
    CXlsxWriter writer;
    if (!writer.Write(book, path))
        std::fprintf(stderr, "%s\n", writer.ErrorText().c_str());
    return path;
}

void Import(benchmark::State& state, const std::string& path)
{
    static const CZuSubsystemTable subsystems(std::vector<std::string>{"Door", "Roof"});
    for (auto _ : state) {
        // Each import starts from a catalogue without the units' bundles, as a user's first does.
        state.PauseTiming();
        auto sensors = std::make_unique<CSensorProject>();
        for (const char* id : kSensors) {
            tagSENSORINFO info;
            info.ID = id;
            info.ChannelInfo.DataType = 7;
            sensors->AddSensor(info);
        }
        CBlixChDB db;
        const CBlixChIO::CParams params(path, &db, &subsystems, sensors.get());
        CBlixChIO io;
        io.SetFeedback(nullptr);
        io.SetParams(&params);
        std::string title;
        state.ResumeTiming();
        if (io.Import(title) != 1) {
            state.SkipWithError(io.GetErrRep()->GetText().c_str());
            return;
        }
        benchmark::DoNotOptimize(db.GetItemList()->GetSize());
        state.PauseTiming();
        sensors.reset();
        state.ResumeTiming();
    }
}

void BM_TextRowsOfOneUnit(benchmark::State& state)
{
    Import(state, TextFile("one-unit", static_cast<int>(state.range(0)), false));
}

void BM_TextRowsOfDistinctUnits(benchmark::State& state)
{
    Import(state, TextFile("distinct-units", static_cast<int>(state.range(0)), true));
}

void BM_WorkbookRecords(benchmark::State& state)
{
    Import(state, Workbook(static_cast<int>(state.range(0))));
}

struct SizePair
{
    const char* name;
    void (*run)(benchmark::State&);
    int small, large;
};
// The larger sizes are those a quadratic import took seconds on: 100,000 rows of one unit took
// 34 s, and 30,000 distinct units 6.4 s.
constexpr SizePair kPairs[] = {{"BM_TextRowsOfOneUnit", BM_TextRowsOfOneUnit, 10000, 100000},
                               {"BM_TextRowsOfDistinctUnits", BM_TextRowsOfDistinctUnits, 3000, 30000},
                               {"BM_WorkbookRecords", BM_WorkbookRecords, 5000, 50000}};
// Ten times the rows outgrow the processor's caches and the small file's time is a few
// milliseconds that a busy machine stretches unevenly, so a linear import comes out anywhere from
// 10 to about 50 here; a quadratic one at 100 and more.
constexpr double kMostRatio = 80.0;
constexpr int kRepetitions = 5;
} // namespace

int main(int argc, char** argv)
{
    SetStringTableFolder(ORVEX_SOURCE_DIR "/resources/lang");
    LoadLanguageStrings(LANG_ENGLISH);
    CDefaultPromptService quiet;
    SetPromptService(&quiet);
    benchmark::Initialize(&argc, argv);
    for (const SizePair& pair : kPairs)
        benchmark::RegisterBenchmark(pair.name, pair.run)
            ->Arg(pair.small)
            ->Arg(pair.large)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
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
        std::printf("%s: %d rows in %.1f ms (%.2f us per row); ten times the rows take %.1f times as long "
                    "(at most %.0f)\n",
                    pair.name, pair.large, reporter.fastest[large], reporter.fastest[large] * 1000.0 / pair.large,
                    ratio, kMostRatio);
        slow += ratio > kMostRatio;
    }
    benchmark::Shutdown();
    return slow == 0 ? 0 : 1;
}
