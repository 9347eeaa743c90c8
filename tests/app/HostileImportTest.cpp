// Files a user imports must never make a project unreadable: every model, companion and model
// data text that is accepted gives a project that saves and opens again, and the values the
// project file would refuse are refused at the import, with the line named.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <vector>

#include "ProjectTestEnv.h"
#include "app/AnalysisProjectExchange.h"
#include "app/AnalysisProject.h"
#include "app/ModelDataText.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "app/ProjectHistory.h"
#include "app/DaqProject.h"
#include "experiments/ExpProject.h"
#include "planning/ExpPlanIO.h"
#include "platform/excel/ExcelWrapper.h"
#include "platform/archive/Archive.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSamples = fs::path(ORVEX_SOURCE_DIR) / "samples";

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// The three texts of a new project: vehicle model, its companion and the model data text.
struct ModelTexts
{
    std::string ntf = ReadAll(kSamples / "sample-model.ntf");
    std::string dat = ReadAll(kSamples / "sample-model.dat");
    std::string dmd = ReadAll(kSamples / "sample-model.dmd");
};

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

// What became of one import.
enum class Outcome
{
    Refused,
    Reopened,
    Unreadable
};

class HostileImport : public ::testing::Test
{
protected:
    CRecordingMessageTarget quiet;
    CMainWindowTargetScope target{&quiet};
    CScriptedPrompts prompts;
    int m_case = 0;

    fs::path Folder()
    {
        const fs::path dir = AppTestTempDir() / ::testing::UnitTest::GetInstance()->current_test_info()->name() /
                             std::to_string(m_case++);
        fs::create_directories(dir);
        return dir;
    }

    // Saved and opened again in a document of its own.
    Outcome Reopen(const fs::path& file, std::string& error)
    {
        CTALVODoc reopened;
        const bool ok = reopened.OnOpenDocument(file.string(), &error);
        reopened.OnCloseDocument();
        return ok ? Outcome::Reopened : Outcome::Unreadable;
    }

    // The new-project road: model file, companion and model data text.
    Outcome NewProject(const ModelTexts& t, std::string& error)
    {
        const fs::path dir = Folder();
        WriteAll(dir / "model.ntf", t.ntf);
        WriteAll(dir / "model.dat", t.dat);
        WriteAll(dir / "model.dmd", t.dmd);
        const fs::path file = dir / "project.orv";
        Outcome outcome = Outcome::Refused;
        {
            CTALVODoc doc;
            if (!doc.NewProjectFromModelFile(file.string(), 0, (dir / "model.dmd").string(), &error, StatusBarBoxes()))
                return Outcome::Refused;
            doc.OnCloseDocument();
        }
        outcome = Reopen(file, error);
        return outcome;
    }

    // File > Read Model Data into a project made from the sample, then save.
    Outcome ReadModelData(const std::string& dmd, std::string& error)
    {
        const fs::path dir = Folder();
        fs::copy_file(kSamples / "sample-model.ntf", dir / "model.ntf");
        fs::copy_file(kSamples / "sample-model.dat", dir / "model.dat");
        fs::copy_file(kSamples / "sample-model.dmd", dir / "model.dmd");
        WriteAll(dir / "extra.dmd", dmd);
        const fs::path file = dir / "project.orv";
        {
            CTALVODoc doc;
            if (!doc.NewProjectFromModelFile(file.string(), 0, (dir / "model.dmd").string(), &error,
                                             StatusBarBoxes())) {
                ADD_FAILURE() << "the sample does not make a project: " << error;
                return Outcome::Refused;
            }
            CModelProject* model = doc.GetTALVOProject().GetModelProject();
            const bool read = ReadModelDataText(model, (dir / "extra.dmd").string(), 0, StatusBarBoxes()) != nullptr;
            if (read && !doc.OnSaveDocument(file.string(), &error))
                ADD_FAILURE() << error;
            doc.OnCloseDocument();
            if (!read)
                return Outcome::Refused;
        }
        return Reopen(file, error);
    }

    // The texts of the messages shown.
    std::string Messages() const
    {
        std::string out;
        for (const PromptRecord& r : prompts.Records())
            out += r.text + "\n";
        return out;
    }
};

// The values the project file refuses, and ranges that froze the band set construction.
const std::string kBands = "#Bands\t0\t100\t10000\t21\n";
const std::string kFirstBand = "100\t89.125093813374548\t112.20184543019633\t0\n";
struct Case
{
    const char* label;
    const char* file; // "ntf", "dat" or "dmd"
    std::string from, to;
    const char* expect; // a part of the message
};
const std::vector<Case> kListedCases = {
    {"band edge nan", "dmd", kFirstBand, "100\tnan\t112.20184543019633\t0\n", "line 7: frequency band"},
    {"band edge inf", "dmd", kFirstBand, "100\t89.125093813374548\tinf\t0\n", "line 7: frequency band"},
    {"lower above upper", "dmd", kFirstBand, "100\t112.3\t89.1\t0\n", "line 7: frequency band"},
    {"band kind 7", "dmd", kBands, "#Bands\t7\t100\t10000\t21\n", "line 6: band set of unknown kind 7"},
    {"range nan", "dmd", kBands, "#Bands\t0\tnan\t10000\t21\n", "line 6:"},
    {"denormal start in .dmd", "dmd", kBands, "#Bands\t0\t1e-322\t10000\t21\n", "line 6:"},
    {"range of a million octaves", "dmd", kBands, "#Bands\t2\t1e-300\t1e300\t21\n", "line 6:"},
    {"denormal start in model", "ntf", "BANDS\t0\t100\t10000", "BANDS\t0\t1e-322\t10000", "line 7:"},
    {"negative area", "dat", "<Shell>\tRoof\t-\t1.9", "<Shell>\tRoof\t-\t-1.9", "line 5: model subsystem area"},
    {"negative perimeter", "dat", "-\t5.7\t14.8", "-\t-5.7\t14.8", "perimeter"},
    {"negative mass", "dat", "5.7\t14.8", "5.7\t-14.8", "mass"},
    {"negative surface area", "dat", "Front Cabin-R\t-\t3.3", "Front Cabin-R\t-\t-3.3", "surface area"},
    {"negative volume", "dat", "3.3\t0.97", "3.3\t-0.97", "volume"},
};

// The listed case applied to the sample's texts.
ModelTexts Apply(const ModelTexts& sample, const Case& c)
{
    ModelTexts t = sample;
    const std::string file = c.file;
    std::string& text = file == "dmd" ? t.dmd : file == "ntf" ? t.ntf : t.dat;
    text = Replace(text, c.from, c.to);
    return t;
}

} // namespace

// The values the project file refuses, and the ranges that froze the band set construction, are
// refused when they are imported, on either road, with a message that names the line.
TEST_F(HostileImport, ValuesTheProjectFileRefusesAreRefusedAtTheImport)
{
    const ModelTexts sample;
    for (const Case& c : kListedCases) {
        const ModelTexts t = Apply(sample, c);
        const std::string file = c.file;
        prompts.Clear();
        std::string error;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(NewProject(t, error), Outcome::Refused) << c.label;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << c.label;
        EXPECT_NE(Messages().find(c.expect), std::string::npos) << c.label << ": " << Messages();
        if (file == "dmd") {
            prompts.Clear();
            EXPECT_EQ(ReadModelData(t.dmd, error), Outcome::Refused) << c.label;
            EXPECT_NE(Messages().find(c.expect), std::string::npos) << c.label << ": " << Messages();
        }
    }
}

// The property: whatever is accepted saves and opens again. The set: the listed cases, and fields of
// the three texts replaced, one at a time, by hostile values at places drawn from a fixed seed.
TEST_F(HostileImport, EveryAcceptedImportSavesAndReopens)
{
    const ModelTexts sample;
    const std::vector<std::string> hostile = {"nan", "-inf", "inf", "-1",         "0", "1e-322", "1e308",
                                              "-0",  "7",    "-7",  "2147483648", "",  "x",      "1e-300"};
    std::mt19937 random(13);
    auto mutate = [&](std::string text) {
        std::vector<size_t> lineStarts{0};
        for (size_t i = 0; i + 1 < text.size(); ++i)
            if (text[i] == '\n')
                lineStarts.push_back(i + 1);
        const size_t start = lineStarts[random() % lineStarts.size()];
        const size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        std::vector<size_t> fieldStarts{0};
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] == '\t')
                fieldStarts.push_back(i + 1);
        const size_t f = fieldStarts[random() % fieldStarts.size()];
        const size_t fend = std::min(line.find('\t', f), line.size());
        line.replace(f, fend - f, hostile[random() % hostile.size()]);
        return text.replace(start, end - start, line);
    };
    std::vector<ModelTexts> set;
    for (const Case& c : kListedCases)
        set.push_back(Apply(sample, c));
    for (int i = 0; i < 60; ++i) {
        ModelTexts t = sample;
        std::string& text = i % 3 == 0 ? t.ntf : i % 3 == 1 ? t.dat : t.dmd;
        text = mutate(text);
        set.push_back(t);
    }
    int accepted = 0, refused = 0;
    for (const ModelTexts& t : set) {
        std::string error;
        const Outcome outcome = NewProject(t, error);
        EXPECT_NE(outcome, Outcome::Unreadable) << error << "\n" << t.ntf << t.dat << t.dmd;
        (outcome == Outcome::Refused ? refused : accepted)++;
        if (t.dmd != sample.dmd) {
            const Outcome read = ReadModelData(t.dmd, error);
            EXPECT_NE(read, Outcome::Unreadable) << error << "\n" << t.dmd;
        }
    }
    // Both sides of the property were tried.
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

namespace {
std::string SampleProjectFile(const fs::path& dir)
{
    fs::create_directories(dir);
    for (const char* ext : {".ntf", ".dat", ".dmd"})
        fs::copy_file(kSamples / (std::string("sample-model") + ext), dir / (std::string("model") + ext),
                      fs::copy_options::overwrite_existing);
    return (dir / "project.orv").string();
}

int HistoryDepth(const CMElement* e)
{
    int deepest = 0;
    for (int i = 0; i < e->GetChildCount(); ++i)
        deepest = std::max(deepest, HistoryDepth(e->GetChild(i)));
    return deepest + 1;
}
} // namespace

// Each save under a new name nests the history one level deeper; past the bound the oldest records
// go, so a project saved under new names again and again always opens.
TEST_F(HostileImport, SavingUnderNewNamesWithoutEndKeepsTheFileReadable)
{
    const fs::path dir = AppTestTempDir() / "save-as";
    std::string error;
    CTALVODoc doc;
    ASSERT_TRUE(
        doc.NewProjectFromModelFile(SampleProjectFile(dir), 0, (dir / "model.dmd").string(), &error, StatusBarBoxes()))
        << error;
    // A history that came in deeper than the bound (as an older file may hold) is bounded too.
    CMElement* tail = doc.GetProjectHistory();
    for (int i = 0; i < 200; ++i)
        tail = tail->AddChild(std::make_unique<CProjectHistory>("VLK", kHistoryAppVLK));
    std::string last;
    for (int i = 0; i < CTALVODoc::kMaxHistoryDepth + 8; ++i) {
        last = (dir / ("copy" + std::to_string(i) + ".orv")).string();
        ASSERT_TRUE(doc.OnSaveDocument(last, &error)) << error;
    }
    EXPECT_EQ(HistoryDepth(doc.GetProjectHistory()), CTALVODoc::kMaxHistoryDepth);
    doc.OnCloseDocument();
    CTALVODoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(last, &error)) << error;
    EXPECT_EQ(reopened.GetProjectHistory()->GetPathName(), last);
    EXPECT_EQ(HistoryDepth(reopened.GetProjectHistory()), CTALVODoc::kMaxHistoryDepth);
    reopened.OnCloseDocument();
}

// A project file and an analysis exchange file hold one body each: anything after it is refused.
TEST_F(HostileImport, BytesAfterTheLastRecordAreRefused)
{
    const fs::path dir = AppTestTempDir() / "trailing";
    std::string error;
    const std::string file = SampleProjectFile(dir);
    const std::string oap = (dir / "analysis.oap").string();
    {
        CTALVODoc doc;
        ASSERT_TRUE(doc.NewProjectFromModelFile(file, 0, (dir / "model.dmd").string(), &error, StatusBarBoxes()))
            << error;
        CTALVOProject& container = doc.GetTALVOProject();
        ExportAnalysisProject(*container.AddAnalysisProject(nullptr, nullptr), oap);
        doc.OnCloseDocument();
    }
    const std::string body = ReadAll(file), record = ReadAll(oap);
    for (const std::string& tail : {std::string(1, '\0'), std::string("garbage"), body.substr(0, 40)}) {
        WriteAll(file, body + tail);
        CTALVODoc doc;
        EXPECT_FALSE(doc.OnOpenDocument(file, &error));
        EXPECT_NE(error.find("follow the project history"), std::string::npos) << error;
        doc.OnCloseDocument();

        WriteAll(oap, record + tail);
        CTALVOProject target;
        EXPECT_THROW(ImportAnalysisProject(target, oap), CArchiveException);
        EXPECT_EQ(target.GetProjectCount(), 0);
    }
    // A second record after the first.
    WriteAll(oap, record + record);
    CTALVOProject target;
    EXPECT_THROW(ImportAnalysisProject(target, oap), CArchiveException);
    WriteAll(oap, record);
    EXPECT_NE(ImportAnalysisProject(target, oap), nullptr);
}

// A planning workbook sets the project's channel count: a count past what a project file holds is
// refused with the reason, and one at the limit gives measured data and a project that save and
// open again.
TEST_F(HostileImport, PlanningWorkbookChannelCountsStayWithinWhatAProjectHolds)
{
    const fs::path dir = Folder();
    fs::copy_file(kSamples / "sample-model.ntf", dir / "model.ntf");
    fs::copy_file(kSamples / "sample-model.dat", dir / "model.dat");
    fs::copy_file(kSamples / "sample-model.dmd", dir / "model.dmd");
    const fs::path file = dir / "project.orv";
    auto workbook = [&](const std::string& channels) {
        const std::string path = (dir / ("plans-" + channels + ".xlsx")).string();
        CExcelWrapper x;
        x.Create(false);
        x.Open();
        x.AddSheet("BLIXs", 1);
        x.SetCellString(3, 3, channels);
        x.SetCellString(4, 3, "1");
        x.AddSheet("Local Points", 2);
        x.AddSheet("Exp. Plans", 3);
        EXPECT_TRUE(x.SaveAs(path)) << x.ErrorText();
        return path;
    };
    std::string error;
    {
        CTALVODoc doc;
        ASSERT_TRUE(
            doc.NewProjectFromModelFile(file.string(), 0, (dir / "model.dmd").string(), &error, StatusBarBoxes()))
            << error;
        CTALVOProject& project = doc.GetTALVOProject();
        const int before = project.GetSystemChannelCount();
        for (const char* refused : {"65537", "2147483648", "99999999999999999999"}) {
            prompts.Clear();
            CExpPlanIO io(&project);
            io.SetFeedback(StatusBarBoxes()); // the planning command's
            EXPECT_EQ(io.ImportFromExcel(workbook(refused)), 0) << refused;
            EXPECT_NE(Messages().find("above 65536"), std::string::npos) << Messages();
            EXPECT_EQ(project.GetSystemChannelCount(), before);
        }
        CExpPlanIO io(&project);
        io.SetFeedback(StatusBarBoxes());
        ASSERT_EQ(io.ImportFromExcel(workbook("65536")), 1) << Messages();
        EXPECT_EQ(project.GetSystemChannelCount(), kMaxSystemChannelCount);

        // The measured data of the project take a range per channel, and read back.
        CDaqProject* daq = project.AddDaqProject();
        CExpProject measured;
        measured.SetDAQProject(daq);
        measured.ResizeChannelRanges();
        ASSERT_EQ(measured.GetChannelRanges().size(), size_t(kMaxSystemChannelCount));
        std::vector<uint8_t> bytes;
        {
            CArchive ar(&bytes, CArchive::store);
            ar.WriteObject(&measured);
        }
        CArchive in(bytes.data(), bytes.size());
        const std::unique_ptr<CExpProject> read = in.ReadOwned<CExpProject>();
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->GetChannelRanges().size(), size_t(kMaxSystemChannelCount));
        ASSERT_TRUE(doc.OnSaveDocument(file.string(), &error)) << error;
        doc.OnCloseDocument();
    }
    CTALVODoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(file.string(), &error)) << error;
    EXPECT_EQ(reopened.GetTALVOProject().GetSystemChannelCount(), kMaxSystemChannelCount);
    reopened.OnCloseDocument();
}
