// The workbook readers must take time linear in what a workbook holds: a styles part of 10k, 100k
// and 1M cell formats, and a sensor-list workbook of 5k and 50k rows read and taken over into an
// empty catalogue. Each size runs several times, interleaved; the program prints the fastest,
// median and slowest time of each and the ratio of the fastest times of each tenfold step
// (linear reading gives about 10; the target is at most 15).
#include "BenchSupport.h"
#include "ZipBuilder.h"
#include "experiments/ImportSensorListFromExcel.h"
#include "experiments/SensorProject.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/excel/XlsxReader.h"
#include "platform/win/PromptService.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::string Folder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/orvex_bench_workbooks_XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

// ---- a styles part of n distinct cell formats ----
const std::string& StylesWorkbook(int formats)
{
    static std::map<int, std::string> made;
    std::string& bytes = made[formats];
    if (!bytes.empty())
        return bytes;
    // Each format of its own number format id: as small as a distinct format can be written, so
    // that a million fit in one part.
    std::string styles =
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><cellXfs count=\"" +
        std::to_string(formats) + "\">";
    styles.reserve(static_cast<size_t>(formats) * 24);
    for (int i = 0; i < formats; ++i)
        styles += "<xf numFmtId=\"" + std::to_string(i) + "\"/>";
    styles += "</cellXfs></styleSheet>";
    auto parts = MinimalWorkbookParts(SheetXml("<sheetData><row r=\"1\"><c r=\"A1\" s=\"" +
                                               std::to_string(formats - 1) + "\"><v>1</v></c></row></sheetData>"));
    for (auto& [name, data] : parts)
        if (name == "xl/_rels/workbook.xml.rels")
            data.insert(data.rfind("</Relationships>"),
                        "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                        "relationships/styles\" Target=\"styles.xml\"/>");
    parts.emplace_back("xl/styles.xml", styles);
    bytes = BuildStoredZip(parts);
    return bytes;
}

void BM_StylesPart(benchmark::State& state)
{
    const std::string& bytes = StylesWorkbook(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CXlsxReader reader;
        CXlsxWorkbook book;
        if (!reader.ReadMemory(bytes.data(), bytes.size(), book)) {
            state.SkipWithError(reader.ErrorText().c_str());
            return;
        }
        benchmark::DoNotOptimize(book.GetStyleCount());
    }
}

// ---- a sensor-list workbook of n rows on its three sheets ----
std::string SensorWorkbook(int rows)
{
    const std::string path = Folder() + "/sensors" + std::to_string(rows) + ".xlsx";
    if (::access(path.c_str(), R_OK) == 0)
        return path;
    CExcelWrapper xl;
    xl.Create(false);
    xl.Open();
    const char* sheets[] = {"Accel", "Mic", "Hammer"};
    for (int s = 0; s < 3; ++s) {
        xl.AddSheet(sheets[s], s);
        xl.SetCellString(1, 1, "ID");
        const int first = rows * s / 3, last = rows * (s + 1) / 3;
        for (int i = first; i < last; ++i) {
            const int row = 2 + i - first;
            xl.SetCellString(row, 1, "S-" + std::to_string(i));
            xl.SetCellString(row, 2, "Maker");
            xl.SetCellString(row, 3, "M" + std::to_string(i % 17));
            xl.SetCellString(row, 4, "SN" + std::to_string(i));
            xl.SetCellNumber(row, 5, 1.0 + i % 9);
            xl.SetCellString(row, 6, s == 0 ? "G" : "100");
            xl.SetCellNumber(row, 7, 500);
        }
    }
    xl.SaveAs(path);
    return path;
}

void BM_SensorListWorkbook(benchmark::State& state)
{
    const std::string path = SensorWorkbook(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CImportSensorListFromExcel import;
        if (!import.Read(path)) {
            state.SkipWithError("the workbook was not read");
            return;
        }
        // Every row taken over, as a user selecting the whole list does.
        std::vector<tagSENSORINFO> records;
        for (int s = 0; s < CImportSensorListFromExcel::kSheetCount; ++s)
            for (int r = 0; r < import.GetRowCount(s); ++r) {
                using I = CImportSensorListFromExcel;
                records.push_back(
                    I::MakeSensorInfo({import.GetCell(s, I::colID, r), import.GetCell(s, I::colManufacturer, r),
                                       import.GetCell(s, I::colModel, r), import.GetCell(s, I::colSerial, r),
                                       import.GetCell(s, I::colSensitivity, r), import.GetUnitText(s, r),
                                       import.GetCell(s, I::colLimit, r), import.GetCell(s, I::colComment, r)},
                                      s + 1));
            }
        CSensorProject catalogue;
        benchmark::DoNotOptimize(CImportSensorListFromExcel::AddAllToProject(catalogue, records).size());
    }
}

// All times of each benchmark and argument, for the fastest, the median and the slowest.
class CSpreadReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, std::vector<double>> times;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                times[run.run_name.function_name + "/" + run.run_name.args].push_back(run.GetAdjustedRealTime());
        ConsoleReporter::ReportRuns(runs);
    }
    // Fastest, median, slowest; NAN when the benchmark did not run.
    std::vector<double> Spread(const std::string& key) const
    {
        auto it = times.find(key);
        if (it == times.end() || it->second.empty())
            return {NAN, NAN, NAN};
        std::vector<double> t = it->second;
        std::sort(t.begin(), t.end());
        return {t.front(), t[t.size() / 2], t.back()};
    }
};

struct Series
{
    const char* name;
    void (*run)(benchmark::State&);
    std::vector<int> sizes;
};

constexpr int kRepetitions = 7;

} // namespace

int main(int argc, char** argv)
{
    CDefaultPromptService quiet;
    SetPromptService(&quiet);
    benchsupport::InitializeInterleaved(argc, argv);
    const std::vector<Series> series = {{"BM_StylesPart", BM_StylesPart, {10000, 100000, 1000000}},
                                        {"BM_SensorListWorkbook", BM_SensorListWorkbook, {5000, 50000}}};
    for (const Series& s : series) {
        auto* b = benchmark::RegisterBenchmark(s.name, s.run);
        for (int size : s.sizes)
            b->Arg(size);
        b->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
    }
    CSpreadReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    int slow = 0;
    for (const Series& s : series) {
        for (size_t i = 0; i < s.sizes.size(); ++i) {
            const std::string key = std::string(s.name) + "/" + std::to_string(s.sizes[i]);
            const std::vector<double> t = reporter.Spread(key);
            if (!std::isnan(t[0]))
                std::printf("%s: fastest %.2f ms, median %.2f ms, slowest %.2f ms\n", key.c_str(), t[0], t[1], t[2]);
            if (i == 0)
                continue;
            const std::string smaller = std::string(s.name) + "/" + std::to_string(s.sizes[i - 1]);
            const double ratio = reporter.Spread(key)[0] / reporter.Spread(smaller)[0];
            if (std::isnan(ratio))
                continue;
            std::printf("%s: ten times the input (%d to %d) takes %.1f times as long (at most 15)\n", s.name,
                        s.sizes[i - 1], s.sizes[i], ratio);
            slow += ratio > 15.0;
        }
    }
    benchmark::Shutdown();
    return slow == 0 ? 0 : 1;
}
