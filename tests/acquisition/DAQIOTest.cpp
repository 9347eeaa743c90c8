// The measurement file: its name, a data set written and read back equal, the refusals of files
// that are read-only, empty, cut short or not measurement files, saves that fail without harming
// the previous file, and data sets of several files joined into one project.
#include "MeasuredFixture.h"

#include "acquisition/DAQIO.h"
#include "experiments/CalcOptions.h"
#include "experiments/Excitation.h"
#include "experiments/ExpInfo.h"
#include "experiments/RPMSignalData.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include <sys/resource.h>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class DAQIOTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(LoadLanguageStrings(9)); }
    CMeasuredFixture f;
};

} // namespace

TEST(DAQIOName, FileNameKeepsOnlyLettersDigitsDashAndUnderscore)
{
    ASSERT_TRUE(LoadLanguageStrings(9));
    CDAQExperiment set;
    set.SetDescription("Run 1/A");
    set.SetDaqProjectID(3);
    set.SetSerial(7);
    CExpInfo info;
    info.SetName(0, "Front Door");
    info.SetName(1, "Cabin");
    set.SetExpInfo(info);
    EXPECT_EQ(CDAQIO::GetDaqFileName(&set), "Run1A_0307_FrontDoor-Cabin.daq");
    EXPECT_EQ(CDAQIO::GetDaqFileName(nullptr), "");
    // Not in a document: no work folder, no path, and neither save nor load records anything.
    EXPECT_EQ(CDAQIO::GetDaqFilePath(&set), "");
    CDAQIO io(&set);
    EXPECT_EQ(io.LoadOne(&set), nullptr);
    EXPECT_TRUE(io.GetErrorList().empty());
    EXPECT_EQ(CDAQIO::FormatError({CDAQIO::errNotFound, &set}),
              "The file Run1A_0307_FrontDoor-Cabin.daq does not exist.");
    EXPECT_EQ(CDAQIO::FormatError({CDAQIO::errNotFound, nullptr}), LoadString(IDS_DAQ_FILE_ERROR));
}

TEST_F(DAQIOTest, SixteenChannelDataSetIsSavedAndLoadedEqual)
{
    CDAQExperiment* set = f.AddDataSet("Run 1", 16);
    ASSERT_NE(set, nullptr);
    set->GetCalcOptions()->SetLineCount(2048);
    auto base = f.MakeMeasurement(set, 16, 4096);
    std::vector<std::string> before;
    for (int i = 0; i < base->GetChildCount(); ++i)
        before.push_back(base->GetChild(i)->GetName());

    CDAQIO io(set);
    ASSERT_EQ(io.SaveAll(base.get()), 1);
    EXPECT_TRUE(io.GetErrorList().empty());
    const std::string path = CDAQIO::GetDaqFilePath(set);
    EXPECT_EQ(path, f.WorkFolder() + "/" + CDAQIO::GetDaqFileName(set));
    // The base project lent its parts to the file and has them back in their places.
    ASSERT_EQ(base->GetChildCount(), static_cast<int>(before.size()));
    for (int i = 0; i < base->GetChildCount(); ++i) {
        EXPECT_EQ(base->GetChild(i)->GetName(), before[static_cast<size_t>(i)]);
        EXPECT_EQ(base->GetChild(i)->GetParent(), base.get());
    }

    // Four header strings, the first with the program's name after the tag.
    {
        CArchive ar(path, CArchive::load);
        std::string header[4];
        for (auto& h : header)
            ar >> h;
        EXPECT_EQ(header[0].rfind("EXENAME:", 0), 0u);
        EXPECT_NE(header[2].find(ORVEX_VERSION_TEXT), std::string::npos) << header[2];
    }

    CDAQIO reader(set);
    auto read = reader.MergeProjects();
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(reader.GetErrorList().empty());
    EXPECT_EQ(read->GetDAQProject(), f.daq);
    ASSERT_EQ(read->GetExperimentCount(), 1);
    EXPECT_EQ(read->GetExperimentList()[0], set);
    ASSERT_NE(read->GetRPMSignalData(), nullptr);
    ExpectSameTree(*base->GetRPMSignalData(), *read->GetRPMSignalData());
    ASSERT_NE(read->FindExcitation(f.structure), nullptr);
    ExpectSameTree(*base->FindExcitation(f.structure), *read->FindExcitation(f.structure));
    EXPECT_EQ(read->GetChannelRanges(), base->GetChannelRanges());
}

TEST_F(DAQIOTest, RefusedReadsRecordTheirCode)
{
    CDAQExperiment* set = f.AddDataSet("Run 1");
    ASSERT_NE(set, nullptr);
    const std::string path = CDAQIO::GetDaqFilePath(set);
    struct Case
    {
        const char* what;
        int code;
        bool exists;
    };
    // Missing, then empty.
    {
        CDAQIO io(set);
        EXPECT_EQ(io.MergeProjects(), nullptr);
        ASSERT_EQ(io.GetErrorList().size(), 1u);
        EXPECT_EQ(io.GetFirstError().code, CDAQIO::errNotFound);
        EXPECT_EQ(io.GetFirstError().element, set);
    }
    std::filesystem::create_directories(f.WorkFolder());
    WriteAll(path, "");
    {
        CDAQIO io(set);
        EXPECT_EQ(io.MergeProjects(), nullptr);
        EXPECT_EQ(io.GetFirstError().code, CDAQIO::errEmpty);
    }
    // A file that is no measurement file: message 7085 with its path, and an error for the file.
    WriteAll(path, std::string("\x08"
                               "NOTATAG:",
                               9) +
                       std::string(64, '\0'));
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        CStatusBarFeedback boxes;
        CDAQIO io(set);
        io.SetFeedback(&boxes);
        EXPECT_EQ(io.MergeProjects(), nullptr);
        EXPECT_EQ(io.GetFirstError().code, CDAQIO::errInvalid);
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 7085u);
        EXPECT_NE(prompts.Last().text.find(path), std::string::npos);
    }
}

TEST_F(DAQIOTest, CutFilesFailCleanly)
{
    CDAQExperiment* set = f.AddDataSet("Run 1");
    auto base = f.MakeMeasurement(set, 2, 512);
    CDAQIO io(set);
    ASSERT_EQ(io.SaveAll(base.get()), 1);
    const std::string path = CDAQIO::GetDaqFilePath(set);
    const std::string whole = ReadAll(path);
    for (size_t cut : {size_t(1), size_t(20), whole.size() / 3, whole.size() / 2, whole.size() - 1}) {
        WriteAll(path, whole.substr(0, cut));
        CDAQIO reader(set);
        EXPECT_EQ(reader.LoadOne(set), nullptr) << cut;
        ASSERT_EQ(reader.GetErrorList().size(), 1u) << cut;
        EXPECT_EQ(reader.GetFirstError().code, CDAQIO::errInvalid) << cut;
        // The message says which file, and below that what the reader found.
        const std::string message = CDAQIO::FormatError(reader.GetFirstError());
        const std::string head = FormatString(IDS_FILE_NOT_VALID, CDAQIO::GetDaqFileName(set).c_str()) + "\n";
        EXPECT_EQ(message.rfind(head, 0), 0u) << message;
        EXPECT_GT(message.size(), head.size()) << message;
    }
}

TEST_F(DAQIOTest, FailedSavesLeaveThePreviousFile)
{
    CDAQExperiment* set = f.AddDataSet("Run 1");
    auto base = f.MakeMeasurement(set, 2, 512, 1);
    ASSERT_EQ(CDAQIO(set).SaveAll(base.get()), 1);
    const std::string path = CDAQIO::GetDaqFilePath(set);
    const std::string saved = ReadAll(path);

    // Read-only: error 5, the file untouched.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    auto changed = f.MakeMeasurement(set, 2, 512, 2);
    {
        CDAQIO io(set);
        EXPECT_EQ(io.SaveAll(changed.get()), 0);
        EXPECT_EQ(io.GetFirstError().code, CDAQIO::errReadOnly);
        EXPECT_EQ(CDAQIO::FormatError(io.GetFirstError()),
                  FormatString(IDS_FILE_READ_ONLY, CDAQIO::GetDaqFileName(set).c_str()));
    }
    EXPECT_EQ(ReadAll(path), saved);
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);

    // A base that does not hold the data set: no copy can be built, nothing is written.
    CExpProject unrelated("Measurement", nullptr, -1);
    {
        CDAQIO io(set);
        EXPECT_EQ(io.SaveAll(&unrelated), 0);
        EXPECT_EQ(io.SaveAll(nullptr), 0);
    }
    EXPECT_EQ(ReadAll(path), saved);
    size_t files = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(f.WorkFolder()))
        ++files;
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

// A write that fails part way (here at the file-size limit; a full disk is the same to the file)
// says what the system said, and the file of the last save stays as it was.
TEST_F(DAQIOTest, AFailedWriteSaysWhyAndKeepsThePreviousFile)
{
    CDAQExperiment* set = f.AddDataSet("Run 1");
    auto base = f.MakeMeasurement(set, 2, 512, 1);
    ASSERT_EQ(CDAQIO(set).SaveAll(base.get()), 1);
    const std::string path = CDAQIO::GetDaqFilePath(set);
    const std::string saved = ReadAll(path);
    ASSERT_GT(saved.size(), 4096u);

    auto changed = f.MakeMeasurement(set, 2, 512, 2);
    struct rlimit previous
    {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    struct rlimit low = previous;
    low.rlim_cur = 2048;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
    CDAQIO io(set);
    const int result = io.SaveAll(changed.get());
    ::setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(io.GetErrorList().size(), 1u);
    EXPECT_EQ(io.GetFirstError().code, CDAQIO::errWrite);
    const std::string message = CDAQIO::FormatError(io.GetFirstError());
    EXPECT_EQ(message.rfind(FormatString(IDS_FILE_NOT_WRITTEN, CDAQIO::GetDaqFileName(set).c_str()) + "\n", 0), 0u)
        << message;
    EXPECT_NE(message.find(std::strerror(EFBIG)), std::string::npos) << message;
    EXPECT_EQ(ReadAll(path), saved);
    size_t files = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(f.WorkFolder()))
        ++files;
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

// Bytes after the experiment project are a file run into another, or damage: the file is refused.
TEST_F(DAQIOTest, BytesAfterTheExperimentProjectAreRefused)
{
    CDAQExperiment* set = f.AddDataSet("Run 1");
    auto base = f.MakeMeasurement(set, 2, 256);
    ASSERT_EQ(CDAQIO(set).SaveAll(base.get()), 1);
    const std::string path = CDAQIO::GetDaqFilePath(set);
    const std::string whole = ReadAll(path);
    ASSERT_NE(CDAQIO(set).LoadOne(set), nullptr);
    for (const std::string& tail : {std::string(1, '\0'), std::string("trailing"), whole}) {
        WriteAll(path, whole + tail);
        CDAQIO reader(set);
        EXPECT_EQ(reader.LoadOne(set), nullptr) << tail.size();
        EXPECT_EQ(reader.GetFirstError().code, CDAQIO::errInvalid) << tail.size();
    }
}

TEST_F(DAQIOTest, TwoDataSetsOfOneFileAreRefused)
{
    CDAQExperiment* a = f.AddDataSet("Run 1");
    CDAQExperiment* b = f.AddDataSet("Run1");
    b->SetSerial(a->GetSerial());
    ASSERT_EQ(CDAQIO::GetDaqFilePath(a), CDAQIO::GetDaqFilePath(b));
    auto base = f.MakeMeasurement(a, 2, 64);
    CMElementList both;
    both.Add(a);
    both.Add(b);
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    CStatusBarFeedback boxes;
    CDAQIO io(both);
    io.SetFeedback(&boxes);
    EXPECT_EQ(io.SaveAll(base.get()), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7099u);
    EXPECT_FALSE(std::filesystem::exists(CDAQIO::GetDaqFilePath(a)));
}

TEST_F(DAQIOTest, SeveralFilesJoinAndModeOneTakesTheStoredDescriptions)
{
    CDAQExperiment* a = f.AddDataSet("Run 1");
    CDAQExperiment* b = f.AddDataSet("Run 2");
    auto baseA = f.MakeMeasurement(a, 2, 256, 1);
    auto baseB = f.MakeMeasurement(b, 2, 256, 2);
    a->GetCalcOptions()->SetLineCount(4096);
    ASSERT_EQ(CDAQIO(a).SaveAll(baseA.get()), 1);
    ASSERT_EQ(CDAQIO(b).SaveAll(baseB.get()), 1);
    a->GetCalcOptions()->SetLineCount(512);
    a->GetExpInfo()->SetLabel("edited");

    CMElementList both;
    both.Add(a);
    both.Add(b);
    CDAQIO io(both);
    io.SetMode(1);
    auto merged = io.MergeProjects();
    ASSERT_NE(merged, nullptr);
    EXPECT_TRUE(io.GetErrorList().empty());
    EXPECT_EQ(merged->GetExperimentList()[0], a);
    EXPECT_EQ(merged->GetExperimentList()[1], b);
    EXPECT_EQ(a->GetCalcOptions()->GetLineCount(), 4096);
    EXPECT_EQ(a->GetExpInfo()->GetLabel(), "Run-up Run 1");
    // The RPM signal data and response excitation of the first, the excited side of each.
    ASSERT_NE(merged->GetRPMSignalData(), nullptr);
    ExpectSameTree(*baseA->GetRPMSignalData(), *merged->GetRPMSignalData());
    int excitations = 0;
    for (int i = 0; i < merged->GetChildCount(); ++i)
        excitations += DynamicDowncast<CExcitation>(merged->GetChild(i)) != nullptr;
    EXPECT_EQ(excitations, 3);

    // A listed data set whose file holds another data set: error 6, nothing returned.
    std::filesystem::copy_file(CDAQIO::GetDaqFilePath(a), CDAQIO::GetDaqFilePath(b),
                               std::filesystem::copy_options::overwrite_existing);
    CDAQIO wrong(both);
    EXPECT_EQ(wrong.MergeProjects(), nullptr);
    EXPECT_EQ(wrong.GetFirstError().code, CDAQIO::errMissing);
    EXPECT_EQ(wrong.GetFirstError().element, b);
}

// Every shape the program writes reads back equal: data sets bare or carrying their measured-data
// tree (the sample's data set carries its tree and is saved from it), one or several in one save,
// each read by its data set, by its path, and all of them joined.
TEST_F(DAQIOTest, EveryShapeWrittenReadsBackEqual)
{
    enum Tree
    {
        bare,          // the base project lies apart, as the measurement window keeps it
        treeIsBase,    // the tree hangs below its data set and is the base it is saved from
        treeBesideBase // the tree hangs below its data set, the save takes another base
    };
    struct Case
    {
        const char* what;
        Tree tree;
        int sets;
    };
    const Case cases[] = {{"bare", bare, 1},
                          {"bare, several", bare, 3},
                          {"tree is base", treeIsBase, 1},
                          {"trees are bases, several", treeIsBase, 3},
                          {"tree beside the base", treeBesideBase, 1},
                          {"trees beside the base, several", treeBesideBase, 3}};
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ++run;
        CMElementList sets;
        std::vector<CExpProject*> bases; // the project each data set was saved from
        std::unique_ptr<CExpProject> shared;
        for (int i = 0; i < c.sets; ++i) {
            CDAQExperiment* set = f.AddDataSet(Format("Run %d-%d", run, i));
            ASSERT_NE(set, nullptr);
            set->GetCalcOptions()->SetLineCount(256 << i);
            sets.Add(set);
            if (c.tree != bare)
                bases.push_back(set->AddChild(f.MakeMeasurement(set, 2, 128, run * 10 + i)));
        }
        if (c.tree != treeIsBase) {
            shared = f.MakeMeasurement(static_cast<CDAQExperiment*>(sets[0]), 2, 96, run);
            shared->SetExperiments(sets);
            bases.assign(static_cast<size_t>(c.sets), shared.get());
            CDAQIO io(sets);
            ASSERT_EQ(io.SaveAll(shared.get()), 1);
            EXPECT_TRUE(io.GetErrorList().empty());
        } else {
            for (int i = 0; i < c.sets; ++i) {
                CDAQIO io(sets[i]);
                ASSERT_EQ(io.SaveOne(sets[i], bases[static_cast<size_t>(i)]), 1);
            }
        }
        for (int i = 0; i < c.sets; ++i) {
            auto* set = static_cast<CDAQExperiment*>(sets[i]);
            const CExpProject& base = *bases[static_cast<size_t>(i)];
            // The base has its parts back where they were.
            EXPECT_EQ(base.GetRPMSignalData()->GetParent(), &base);
            CDAQIO byDataSet(set);
            CDAQIO byPath(set);
            std::unique_ptr<CExpProject> reads[2] = {byDataSet.LoadOne(set),
                                                     byPath.LoadFile(CDAQIO::GetDaqFilePath(set))};
            CDAQIO* readers[2] = {&byDataSet, &byPath};
            for (int k = 0; k < 2; ++k) {
                CDAQIO* io = readers[k];
                const std::unique_ptr<CExpProject>& read = reads[k];
                ASSERT_NE(read, nullptr) << CDAQIO::FormatError(io->GetFirstError());
                EXPECT_TRUE(io->GetErrorList().empty());
                ASSERT_EQ(read->GetExperimentCount(), 1);
                auto* readSet = DynamicDowncast<CDAQExperiment>(read->GetExperimentList()[0]);
                ASSERT_NE(readSet, nullptr);
                EXPECT_EQ(readSet->GetDescription(), set->GetDescription());
                EXPECT_EQ(readSet->GetSerial(), set->GetSerial());
                EXPECT_EQ(readSet->GetCalcOptions()->GetLineCount(), set->GetCalcOptions()->GetLineCount());
                ExpectSameTree(*set, *readSet);
                ExpectSameTree(*base.GetRPMSignalData(), *read->GetRPMSignalData());
                ASSERT_NE(read->FindExcitation(f.structure), nullptr);
                ExpectSameTree(*base.FindExcitation(f.structure), *read->FindExcitation(f.structure));
            }
        }
        CDAQIO all(sets);
        auto merged = all.MergeProjects();
        ASSERT_NE(merged, nullptr) << CDAQIO::FormatError(all.GetFirstError());
        EXPECT_EQ(merged->GetExperimentList().GetSize(), c.sets);
    }
}

// Measurement files written before the data set's own tree was kept apart from the project
// record (the record named the tree's channels again) still open, with the tree's samples.
TEST_F(DAQIOTest, EarlierFilesOfADataSetCarryingItsTreeOpen)
{
    CDAQExperiment* set = f.AddDataSet("Run 1");
    CExpProject* tree = set->AddChild(f.MakeMeasurement(set, 2, 128));
    const std::string path = CDAQIO::GetDaqFilePath(set);
    std::filesystem::create_directories(f.WorkFolder());
    {
        CArchive ar(path, CArchive::store);
        for (const std::string& text : CDAQIO::MakeHeaderStrings())
            ar << text;
        ar << static_cast<const CObject*>(set);
        // The record as those saves wrote it: the tree's own parts, lent while it is written.
        CExpProject record("Measurement", nullptr, -1);
        std::vector<CMElement*> parts{tree->GetRPMSignalData(), tree->FindExcitation(f.structure)};
        for (CMElement* part : parts)
            record.AddChild(tree->ReleaseChild(part));
        ar << static_cast<const CObject*>(&record);
        ar.Close();
        for (CMElement* part : parts)
            tree->AddChild(record.ReleaseChild(part));
    }
    CDAQIO io(set);
    auto read = io.LoadOne(set);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(io.GetErrorList().empty());
    ExpectSameTree(*tree->GetRPMSignalData(), *read->GetRPMSignalData());
    ExpectSameTree(*tree->FindExcitation(f.structure), *read->FindExcitation(f.structure));

    // Cut inside the data set's tree, such a file stays refused.
    const std::string whole = ReadAll(path);
    WriteAll(path, whole.substr(0, whole.size() / 2));
    CDAQIO cut(set);
    EXPECT_EQ(cut.LoadOne(set), nullptr);
    EXPECT_EQ(cut.GetFirstError().code, CDAQIO::errInvalid);
}
