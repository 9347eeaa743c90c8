// The project file: round trip byte for byte, older versions with their defaults, refusal of
// unknown versions, cut files, and the project list operations around it.
#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <iterator>
#include <random>

#include "ProjectTestEnv.h"
#include "acquisition/BlixChDB.h"
#include "experiments/DAQConfig.h"
#include "app/AnalysisProject.h"
#include "app/AnalysisProjectExchange.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/ProjectTreeWindow.h"
#include "app/TALVOApp.h"
#include "app/TALVOProject.h"
#include "calculation/InputEnergyFolder.h"
#include "spectral/ZuRpmFunc.h"
#include "experiments/SensorProject.h"
#include "models/HSEAOptions.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/StringIds.h"
#include "platform/win/PromptService.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Store(CTALVOProject& project)
{
    Bytes bytes;
    CArchive ar(&bytes, CArchive::store);
    project.Serialize(ar);
    return bytes;
}

void Load(CTALVOProject& project, const Bytes& bytes)
{
    CArchive ar(bytes.data(), bytes.size());
    project.Serialize(ar);
}

struct HandMadeFile
{
    int version = 8;
    int32_t nextID = 5;
    int32_t daqMaxChannel = 32; // of the one DAQ project, when there is one
    bool withDaq = true;
};

// A project file as an older (or newer) program wrote it, made field by field. Every object
// written stays alive until the archive is done, as the archive knows objects by address.
Bytes BuildFile(const HandMadeFile& layout)
{
    CHSEAOptions options;
    CModelProject model("Model");
    model.SetID(0);
    CDaqProject daq("DAQ3");
    daq.SetID(3);
    daq.SetMaxChannel(layout.daqMaxChannel);
    CZuSubsystemTable sources(std::vector<std::string>{"Engine-F"});
    CSensorProject sensors;
    CDAQConfig config;
    config.SetRpmChannel(3);
    CQMXBlixList unitGroup(7);
    unitGroup.SetUnitName(0, 0, "SN1");
    CQMXBlixList second(8);
    CBlixChDB db;
    auto item = std::make_unique<CBlixChDB::CItem>();
    item->SetSubsystem("Roof-F");
    db.GetItemList()->Add(std::move(item));
    CQMXSensorMapList plans;
    plans.SetUnitGroups({&unitGroup});
    plans.AddPlan(7, "P");
    CSensorAssignment assignment;
    assignment.AddRow("Roof-F", {"S1"});
    CZuStdDataList properties;
    properties.SetString(77, "kept");

    Bytes bytes;
    CArchive ar(&bytes, CArchive::store);
    ar << "Some other header"
       << "Program: x"
       << "File Time: y"
       << "File Version: z"
       << "Product Version: w";
    ar << "PID:0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0";
    ar << static_cast<uint8_t>(layout.version);
    ar.WriteObject(&options);
    ar << layout.nextID;
    ar << static_cast<int32_t>(layout.withDaq ? 2 : 1);
    ar.WriteObject(&model);
    if (layout.withDaq)
        ar.WriteObject(&daq);
    ar << std::string("Target-F");
    ar.WriteObject(&sources);
    ar.WriteObject(&sensors);
    ar.WriteObject(&config);
    if (layout.version >= 5) {
        ar.WriteObject(&db);
        ar << static_cast<int32_t>(24);
    }
    if (layout.version >= 8) {
        ar << static_cast<int32_t>(2);
        ar.WriteObject(&unitGroup);
        ar.WriteObject(&second);
    } else if (layout.version == 7) {
        ar.WriteObject(&unitGroup);
    }
    if (layout.version >= 7) {
        ar.WriteObject(&plans);
        ar.WriteObject(&assignment);
    }
    if (layout.version >= 6)
        properties.Serialize(ar);
    return bytes;
}

// A container holding every kind of thing the file carries.
std::unique_ptr<CTALVOProject> MakeRichContainer()
{
    auto project = std::make_unique<CTALVOProject>();
    HandMadeFile layout;
    layout.withDaq = false;
    layout.nextID = 1;
    Load(*project, BuildFile(layout));
    CDaqProject* daq1 = project->AddDaqProject();
    project->AddDaqProject()->GetDAQConfig()->SetSamplingFreq(51200.0f);
    CRPMOptions rpm;
    rpm.SetRange(1500.0f, 5000.0f, 100.0f);
    CAnalysisProject* analysis = project->AddAnalysisProject(&rpm, nullptr);
    analysis->SetDaqProjectID(daq1->GetID());
    analysis->SetProjectType(CAnalysisProject::typeOrder);

    CSensorProject* sensors = project->GetSensorProject();
    tagSENSORINFO info;
    info.ID = "A1";
    info.Manufacturer = "Maker";
    info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
    info.ChannelInfo.Sensitivity = 10.2f;
    EXPECT_NE(sensors->AddSensor(info), nullptr);
    info.ID = "M1";
    info.ChannelInfo.DataType = SENSOR_DATATYPE_PRESSURE;
    EXPECT_NE(sensors->AddSensor(info), nullptr);
    CSensorBundle* bundle = sensors->AddBundle("B1-Front");
    bundle->AddSensor("A1");
    bundle->AddSensor("M1");
    CSensorGroup* group = sensors->InsertGroup(0);
    group->SetMember({"A1", bundle->GetNumber(), 0, 2, 0});
    group->SetMember({"M1", bundle->GetNumber(), 1, 0, 5});
    return project;
}

} // namespace

TEST(ProjectFile, StoredReadBackAndStoredAgainIsByteForByteEqual)
{
    CScriptedPrompts prompts;
    auto first = MakeRichContainer();
    ASSERT_EQ(first->GetProjectCount(), 4);
    const Bytes bytes = Store(*first);

    CTALVOProject second;
    Load(second, bytes);
    ASSERT_EQ(second.GetProjectCount(), 4);
    EXPECT_NE(second.GetModelProject(), nullptr);
    EXPECT_EQ(second.GetDaqProject(1)->GetDAQConfig()->GetSamplingFreq(), 51200.0f);
    auto* analysis = DynamicDowncast<CAnalysisProject>(second.GetProject(3));
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->GetDaqProject(), second.GetDaqProject(0));
    EXPECT_EQ(analysis->GetRPMOptions().GetRpmMin(), 1500.0f);
    EXPECT_NE(second.GetSensorProject()->FindSensor("M1"), nullptr);
    EXPECT_EQ(second.GetSensorProject()->GetGroup(0)->GetMemberCount(), 2);
    EXPECT_EQ(second.GetPID(), first->GetPID());
    EXPECT_EQ(second.GetNextProjectID(), first->GetNextProjectID());

    EXPECT_EQ(Store(second), bytes);
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST(ProjectFile, OlderVersionsLoadWithTheDefaultsOfWhatTheyLack)
{
    struct Case
    {
        int version;
        int channelCount;
        int unitGroups;
        std::string firstUnit;
        int plans;
        bool property;
    };
    const Case cases[] = {
        {4, 32, 1, "", 0, false},   {5, 24, 1, "", 0, false},   {6, 24, 1, "", 0, true},
        {7, 24, 1, "SN1", 1, true}, {8, 24, 2, "SN1", 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        CScriptedPrompts prompts;
        HandMadeFile layout;
        layout.version = c.version;
        CTALVOProject project;
        ASSERT_NO_THROW(Load(project, BuildFile(layout)));
        EXPECT_EQ(project.GetProjectCount(), 2);
        EXPECT_EQ(project.GetNextProjectID(), 5);
        EXPECT_EQ(project.GetTargetSubsystem(), "Target-F");
        EXPECT_EQ(project.IsInputSubsystem("Engine-F"), 1);
        EXPECT_EQ(project.IsInputSubsystem("engine-F"), 0);
        EXPECT_EQ(project.GetDAQConfig()->GetRpmChannel(), 3);
        EXPECT_EQ(project.GetSystemChannelCount(), c.channelCount);
        EXPECT_EQ(project.GetBlixChDB()->GetItemList()->GetSize(), c.version >= 5 ? 1 : 0);
        ASSERT_EQ(project.GetBlixLists().GetSize(), c.unitGroups);
        EXPECT_EQ(project.GetBlixLists()[0]->GetUnitName(0, 0), c.firstUnit);
        ASSERT_EQ(project.GetSensorMapList()->GetPlanCount(), c.plans);
        if (c.plans) {
            // The plan's unit links are renewed from the unit groups just read.
            EXPECT_EQ(project.GetSensorMapList()->GetPlan(0)->GetUnitCount(), 1);
            EXPECT_EQ(project.GetSensorAssignment()->GetItem(0, 0), "S1");
        } else {
            EXPECT_EQ(project.GetSensorAssignment()->GetRowCount(), 0);
        }
        EXPECT_EQ(project.GetFileProperties().GetString(77), c.property ? "kept" : "");
        EXPECT_EQ(project.GetPID().ToPIDText(), "PID:0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0");
        EXPECT_EQ(prompts.Count(), 0u);
    }
}

TEST(ProjectFile, Version4WithoutDaqProjectKeepsSixteenChannels)
{
    HandMadeFile layout;
    layout.version = 4;
    layout.withDaq = false;
    CTALVOProject project;
    Load(project, BuildFile(layout));
    EXPECT_EQ(project.GetSystemChannelCount(), 16);
}

TEST(ProjectFile, VersionsTooOldOrTooNewAreRefusedWithAMessage)
{
    const std::pair<int, uint32_t> cases[] = {{3, 6113u}, {0, 6113u}, {9, 6450u}, {255, 6450u}};
    for (const auto& [version, message] : cases) {
        SCOPED_TRACE(version);
        CScriptedPrompts prompts;
        HandMadeFile layout;
        layout.version = version;
        CTALVOProject project;
        CStatusBarFeedback boxes; // the document's, in the program
        project.SetFeedback(&boxes);
        try {
            Load(project, BuildFile(layout));
            ADD_FAILURE() << "version " << version << " was read";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
        }
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, message);
        EXPECT_EQ(project.GetProjectCount(), 0);
    }
}

TEST(ProjectFile, ADamagedCounterNeverHandsOutAStoredId)
{
    // The hand-made file holds projects with IDs 0 and 3.
    const std::pair<int32_t, int32_t> cases[] = {{5, 5}, {4, 4}, {3, 4}, {1, 4}, {-7, 4}};
    for (const auto& [stored, expected] : cases) {
        SCOPED_TRACE(stored);
        HandMadeFile layout;
        layout.nextID = stored;
        CTALVOProject project;
        Load(project, BuildFile(layout));
        EXPECT_EQ(project.GetNextProjectID(), expected);
        EXPECT_EQ(project.AddDaqProject()->GetID(), expected);
    }
}

TEST(ProjectFile, APidThatIsNoGuidLoadsAsTheNilGuid)
{
    Bytes bytes = BuildFile({});
    const std::string good = "PID:0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0";
    auto at = std::search(bytes.begin(), bytes.end(), good.begin(), good.end());
    ASSERT_NE(at, bytes.end());
    *(at + 6) = 'x';
    CTALVOProject project;
    Load(project, bytes);
    EXPECT_TRUE(project.GetPID().IsNil());
}

TEST(ProjectFile, AFileCutAnywhereFailsWithAnErrorNeverACrash)
{
    CScriptedPrompts prompts;
    auto rich = MakeRichContainer();
    const Bytes bytes = Store(*rich);
    std::vector<size_t> cuts;
    for (size_t n = 0; n < std::min<size_t>(bytes.size(), 4096); ++n)
        cuts.push_back(n);
    std::mt19937 random(12345);
    if (bytes.size() > 4096)
        for (int i = 0; i < 300; ++i)
            cuts.push_back(4096 + random() % (bytes.size() - 4096));
    for (size_t n : cuts) {
        CTALVOProject project;
        CArchive ar(bytes.data(), n);
        EXPECT_THROW(project.Serialize(ar), CArchiveException) << "cut at " << n << " of " << bytes.size();
        // Nothing half-read stays behind, and the plans never point at unit groups gone with it.
        EXPECT_EQ(project.GetProjectCount(), 0);
        EXPECT_TRUE(project.GetTargetSubsystem().empty());
        EXPECT_EQ(project.GetSensorMapList()->GetPlanCount(), 0);
        EXPECT_EQ(project.GetSensorMapList()->GetUnitGroups(), project.GetBlixLists().Pointers());
    }
}

TEST(ProjectFile, AnOlderFileReadIntoAUsedContainerKeepsNothingOfThePreviousFile)
{
    CScriptedPrompts prompts;
    CTALVOProject project;
    Load(project, Store(*MakeRichContainer()));
    ASSERT_EQ(project.GetSensorMapList()->GetPlanCount(), 1);
    ASSERT_EQ(project.GetProjectCount(), 4);

    HandMadeFile layout;
    layout.version = 4;
    layout.withDaq = false;
    Load(project, BuildFile(layout));
    EXPECT_EQ(project.GetProjectCount(), 1);
    EXPECT_EQ(project.GetSystemChannelCount(), CTALVOProject::kDefaultChannelCount);
    EXPECT_EQ(project.GetBlixChDB()->GetItemList()->GetSize(), 0);
    EXPECT_EQ(project.GetBlixLists().GetSize(), 1);
    EXPECT_EQ(project.GetSensorMapList()->GetPlanCount(), 0);
    EXPECT_EQ(project.GetSensorAssignment()->GetRowCount(), 0);
    EXPECT_EQ(project.GetFileProperties().GetString(77), "");
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST(ProjectFile, ProgressWhileStoringAndLoading)
{
    auto rich = MakeRichContainer();
    CRecordingFeedback storing;
    rich->SetFeedback(&storing);
    // The archive may carry a feedback of its own (its writer's): the projects' elements step the
    // project's range instead, and the archive has its own back after them.
    CRecordingFeedback writer;
    Bytes bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.SetFeedback(&writer);
        rich->Serialize(ar);
        EXPECT_EQ(ar.GetFeedback(), &writer);
    }
    EXPECT_EQ(Store(*rich), bytes);
    int steps = rich->GetProjectCount();
    for (int i = 0; i < rich->GetProjectCount(); ++i)
        steps += rich->GetProject(i)->GetAllChildCount();
    ASSERT_EQ(storing.begins.size(), 2u);
    EXPECT_EQ(storing.begins[0].total, steps);
    const std::vector<std::string> texts = {"Storing [Model]...", "Storing [DAQ1]...", "Storing [DAQ2]...",
                                            "Storing [Analysis3]..."};
    std::vector<std::string> twice = texts;
    twice.insert(twice.end(), texts.begin(), texts.end());
    EXPECT_EQ(storing.texts, twice);
    // Each store: the begin, then one step per element.
    EXPECT_EQ(storing.fractions.size(), 2u * static_cast<size_t>(steps + 1)) << "one step per element";
    EXPECT_DOUBLE_EQ(storing.fractions.back(), 1.0);

    CRecordingFeedback loading;
    CTALVOProject loaded;
    loaded.SetFeedback(&loading);
    Load(loaded, bytes);
    ASSERT_EQ(loading.begins.size(), 1u);
    EXPECT_EQ(loading.begins[0].text, "Loading...");
    EXPECT_EQ(loading.begins[0].total, 4);
    EXPECT_EQ(loading.fractions, (std::vector<double>{0.0, 0.25, 0.5, 0.75, 1.0}));

    // On the status bar the store shows, and is hidden when it is done.
    CRecordingMessageTarget target;
    CMainWindowTargetScope scope(&target);
    CStatusBarFeedback statusBar;
    rich->SetFeedback(&statusBar);
    Store(*rich);
    const std::vector<uint32_t> numbers = target.MessageNumbers();
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(numbers.front(), WM_ZU_PROGRESS_SHOW);
    EXPECT_EQ(numbers.back(), WM_ZU_PROGRESS_HIDE);
}

TEST(ProjectFile, ReadingAFileMovesTheReadersFeedbackAndTheDocumentTakesTheReports)
{
    const std::filesystem::path file = AppTestTempDir() / "read-progress" / "bytes.orv";
    std::filesystem::create_directories(file.parent_path());
    {
        CTALVODoc doc;
        ASSERT_NE(doc.GetTALVOProject().AddDaqProject(), nullptr);
        ASSERT_NE(doc.GetTALVOProject().AddAnalysisProject(nullptr, nullptr), nullptr);
        std::string error;
        ASSERT_TRUE(doc.OnSaveDocument(file.string(), &error)) << error;
    }
    std::vector<uint8_t> image(std::filesystem::file_size(file));
    std::ifstream(file, std::ios::binary).read(reinterpret_cast<char*>(image.data()), std::streamsize(image.size()));
    // The same file with its analysis project written by a program too old to read: the schema
    // word comes before the class name's length.
    std::vector<uint8_t> old = image;
    const std::string name = "CAnalysisProject";
    const auto at = std::search(old.begin(), old.end(), name.begin(), name.end());
    ASSERT_NE(at, old.end());
    ASSERT_GE(at - old.begin(), 4);
    *(at - 4) = 7;
    *(at - 3) = 0;
    const std::filesystem::path oldFile = file.parent_path() / "old.orv";
    std::ofstream(oldFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(old.data()), std::streamsize(old.size()));

    struct Case
    {
        std::filesystem::path path;
        bool read;
        std::vector<uint32_t> reportIds; // what the document's feedback is told
    } cases[] = {{file, true, {}}, {oldFile, false, {IDS_ANALYSIS_TOO_OLD}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.filename().string());
        CRecordingFeedback bytes;
        CRecordingFeedback reports;
        CTALVODoc doc;
        doc.SetFeedback(&reports);
        std::string error;
        EXPECT_EQ(doc.ReadDocumentFile(c.path.string(), &error, &bytes), c.read) << error;
        doc.SetFeedback(nullptr);
        // The reader's feedback goes from none of the file's bytes towards all of them, and takes
        // nothing else.
        ASSERT_EQ(bytes.begins.size(), 1u);
        EXPECT_EQ(bytes.begins[0].text, "Reading [" + c.path.filename().string() + "]...");
        EXPECT_EQ(bytes.begins[0].total, static_cast<int64_t>(image.size()));
        EXPECT_TRUE(std::is_sorted(bytes.fractions.begin(), bytes.fractions.end()));
        if (c.read) {
            EXPECT_DOUBLE_EQ(bytes.fractions.back(), 1.0);
        }
        EXPECT_TRUE(bytes.reports.empty());
        // The document's feedback shows the projects loaded and takes what they report.
        ASSERT_FALSE(reports.begins.empty());
        EXPECT_EQ(reports.begins[0].text, "Loading...");
        std::vector<uint32_t> ids;
        for (const CFeedback::SReport& r : reports.reports)
            ids.push_back(r.stringId);
        EXPECT_EQ(ids, c.reportIds);
    }
}

TEST(ProjectList, ProjectsGetNamesAndIdsFromTheCounter)
{
    CScriptedPrompts prompts;
    CTALVOProject project;
    // A model creation that fails consumes no ID.
    EXPECT_EQ(project.CreateModelProjectFromFile(1, (AppTestTempDir() / "missing.dmd").string(), StatusBarBoxes()),
              nullptr);
    EXPECT_EQ(project.GetProjectCount(), 0);
    EXPECT_EQ(project.GetNextProjectID(), 0);
    EXPECT_GE(prompts.Count(), 1u);

    CDaqProject* a = project.AddDaqProject();
    CDaqProject* b = project.AddDaqProject();
    EXPECT_EQ(a->GetName(), "DAQ0");
    EXPECT_EQ(b->GetName(), "DAQ1");
    EXPECT_EQ(a->GetID(), 0);
    EXPECT_EQ(b->GetID(), 1);
    EXPECT_EQ(a->GetOwner(), &project);
    EXPECT_EQ(a->GetMaxChannel(), project.GetSystemChannelCount());

    auto imported = std::make_unique<CAnalysisProject>("Imported");
    imported->SetID(77);
    imported->SetDaqProjectID(55);
    CAnalysisProject* added = project.AddImportedAnalysisProject(std::move(imported));
    EXPECT_EQ(added->GetID(), 2);
    EXPECT_EQ(added->GetDaqProjectID(), 55); // may name no DAQ project of this file
    EXPECT_EQ(added->GetDaqProject(), nullptr);
    EXPECT_EQ(project.GetNextProjectID(), 3);

    EXPECT_EQ(project.FindProjectByID(1), b);
    EXPECT_EQ(project.FindProjectByID(-1), nullptr);
    EXPECT_EQ(project.GetDaqProject(1), b);
    EXPECT_EQ(project.GetDaqProject(2), nullptr);
    CMElementList daqs, analyses;
    EXPECT_EQ(project.GetDaqProjects(daqs), 2);
    EXPECT_EQ(project.GetAnalysisProjects(analyses), 1);
    EXPECT_EQ(project.GetModelProject(), nullptr); // entry 0 is a DAQ project
}

TEST(ProjectList, RemovingProjects)
{
    CTALVOProject project;
    project.AddDaqProject();
    CDaqProject* second = project.AddDaqProject();
    project.AddDaqProject();
    for (int bad : {-1, 3, 1000})
        EXPECT_EQ(project.RemoveProjectAt(bad), -1) << bad;
    EXPECT_EQ(project.GetProjectCount(), 3);
    CDaqProject stranger("x");
    EXPECT_EQ(project.RemoveProject(&stranger), -1);
    EXPECT_EQ(project.RemoveProject(nullptr), -1);
    EXPECT_EQ(project.RemoveProject(second), 1);
    EXPECT_EQ(project.GetProjectCount(), 2);
    EXPECT_EQ(project.RemoveProjectAt(0), 0);
    EXPECT_EQ(project.GetProject(0)->GetName(), "DAQ2");
    EXPECT_EQ(project.SetMaxChannel(40), 1);
    EXPECT_EQ(project.GetDaqProject(0)->GetMaxChannel(), 40);
}

TEST(ProjectList, AnAnalysisProjectStoresItsBandSetFromItsDaqProject)
{
    CTALVOProject project;
    CDaqProject* daq = project.AddDaqProject();
    CAnalysisProject* analysis = project.AddAnalysisProject(nullptr, nullptr);
    EXPECT_EQ(analysis->GetProjectType(), 0);
    EXPECT_EQ(analysis->GetOTSetting(), 50.0f);
    EXPECT_EQ(analysis->GetDaqProjectID(), -1);
    EXPECT_EQ(analysis->GetOctaveManager(), nullptr);
    analysis->SetDaqProjectID(daq->GetID());
    ASSERT_NE(analysis->GetOctaveManager(), nullptr);
    EXPECT_TRUE(static_cast<const COctaveManager&>(*analysis->GetOctaveManager()) ==
                static_cast<const COctaveManager&>(*daq->GetOctaveManager()));
}

// The exchange record holds exactly the project's fields and ends with its band set: what the
// project keeps for itself in memory (the narrowed RPM range) takes no byte of the file.
TEST(AnalysisExchange, AnExportedProjectReadsBackEqualAndItsRecordEndsWithTheBandSet)
{
    CTALVOProject source;
    source.AddDaqProject();
    CAnalysisProject* analysis = source.AddAnalysisProject(nullptr, nullptr);
    analysis->SetDaqProjectID(0);
    analysis->SetProjectType(1);
    analysis->SetOTSetting(12.5f);
    analysis->GetOrderList().Add(2.5);
    analysis->GetOrderList().Add(4.0);
    analysis->GetRPMOptions().SetRange(1200.0f, 3600.0f, 100.0f);
    analysis->GetCalcIEOptions().SetRpmMargin(200.0f);
    analysis->GetFreqIndexArray() = {3, 4, 5};
    ASSERT_NE(analysis->GetOctaveManager(), nullptr);
    const std::string path = (AppTestTempDir() / "equal.oap").string();
    ExportAnalysisProject(*analysis, path);

    Bytes file;
    {
        std::ifstream in(path, std::ios::binary);
        file.assign(std::istreambuf_iterator<char>(in), {});
    }
    Bytes bands;
    {
        CArchive ar(&bands, CArchive::store);
        analysis->GetOctaveManager()->Serialize(ar);
    }
    ASSERT_GT(file.size(), bands.size());
    EXPECT_TRUE(std::equal(bands.begin(), bands.end(), file.end() - static_cast<std::ptrdiff_t>(bands.size())))
        << "the record ends with the band set";
    // The class record (new-class tag, schema word, name length, name) names schema 8.
    const std::string name = "CAnalysisProject";
    const auto at = std::search(file.begin(), file.end(), name.begin(), name.end());
    ASSERT_NE(at, file.end());
    ASSERT_GE(at - file.begin(), 6);
    EXPECT_EQ(*(at - 4), 8);
    EXPECT_EQ(*(at - 3), 0);

    CTALVOProject target;
    target.AddDaqProject();
    CAnalysisProject* back = ImportAnalysisProject(target, path);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetProjectType(), 1);
    EXPECT_EQ(back->GetOTSetting(), 12.5f);
    EXPECT_EQ(back->GetDaqProjectID(), 0);
    EXPECT_TRUE(back->GetOrderList() == analysis->GetOrderList());
    EXPECT_TRUE(back->GetRPMOptions() == analysis->GetRPMOptions());
    EXPECT_TRUE(back->GetCalcIEOptions() == analysis->GetCalcIEOptions());
    EXPECT_EQ(back->GetFreqIndexArray(), (std::vector<int32_t>{3, 4, 5}));
    ASSERT_NE(back->GetOctaveManager(), nullptr);
    EXPECT_TRUE(static_cast<const COctaveManager&>(*back->GetOctaveManager()) ==
                static_cast<const COctaveManager&>(*analysis->GetOctaveManager()));
}

TEST(AnalysisExchange, ExportedProjectImportsWithANewIdAndAFailedExportKeepsThePreviousFile)
{
    CTALVOProject source;
    source.AddDaqProject();
    CAnalysisProject* analysis = source.AddAnalysisProject(nullptr, nullptr);
    analysis->SetDaqProjectID(0);
    analysis->SetOTSetting(12.5f);
    analysis->GetOrderList().Add(2.5);
    const std::string path = (AppTestTempDir() / "exchange.oap").string();
    ExportAnalysisProject(*analysis, path);

    CTALVOProject target;
    target.AddDaqProject();
    target.AddDaqProject();
    CAnalysisProject* imported = ImportAnalysisProject(target, path);
    ASSERT_NE(imported, nullptr);
    EXPECT_EQ(imported->GetID(), 2);
    EXPECT_EQ(imported->GetOwner(), &target);
    EXPECT_EQ(imported->GetOTSetting(), 12.5f);
    EXPECT_EQ(imported->GetDaqProjectID(), 0);
    EXPECT_EQ(imported->GetOrderList().Find(2.5), 0);

    // An export that fails half-way (here: a project whose tree cannot be stored) leaves the file.
    Bytes before;
    {
        std::ifstream in(path, std::ios::binary);
        before.assign(std::istreambuf_iterator<char>(in), {});
    }
    class Unstorable : public CMElement
    {
    public:
        Unstorable() : CMElement("bad", nullptr, 1) {}
        void Serialize(CArchive& ar) override
        {
            CMElement::Serialize(ar);
            CArchive::Throw(CArchiveException::genericException, "cannot store");
        }
    };
    analysis->AddChild(std::make_unique<Unstorable>());
    EXPECT_ANY_THROW(ExportAnalysisProject(*analysis, path));
    std::ifstream in(path, std::ios::binary);
    const Bytes after(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(after, before);

    // A file holding another class is refused and adds nothing.
    const std::string other = (AppTestTempDir() / "other.oap").string();
    {
        CDaqProject daq("x");
        CArchive ar(other, CArchive::store);
        ar.WriteObject(&daq);
        ar.Close();
    }
    EXPECT_THROW(ImportAnalysisProject(target, other), CArchiveException);
    EXPECT_EQ(target.GetProjectCount(), 3);
}

namespace {
// A project window that records its trees and answers with a chosen active tree.
class CFakeProjectTree : public IProjectTreeWindow
{
public:
    void AddTree(CMElement* project, const std::string&) override { trees.push_back(project); }
    void InsertTree(int index, CMElement* project, const std::string&) override
    {
        trees.insert(trees.begin() + std::clamp(index, 0, GetTreeCount()), project);
    }
    CMElement* GetTreeProject(int index) const override
    {
        return index >= 0 && index < GetTreeCount() ? trees[static_cast<size_t>(index)] : nullptr;
    }
    void RemoveTree(int index) override
    {
        if (index >= 0 && index < GetTreeCount())
            trees.erase(trees.begin() + index);
    }
    void RemoveAllTrees() override { trees.clear(); }
    void RefreshItems() override {}
    void SetTreeLabel(int, const std::string&) override {}
    int GetTreeCount() const override { return static_cast<int>(trees.size()); }
    int GetActiveIndex() const override { return active; }
    int GetSelection(CMElementList&) const override { return 0; }
    bool AddElement(int, CMElement*) override { return true; }
    bool RemoveElement(int, CMElement*) override { return true; }
    bool RenameElement(int, CMElement*) override { return true; }

    std::vector<CMElement*> trees;
    int active = -1;
};

// The document as the application's main document, with the fake project window.
struct MainDocumentScope
{
    explicit MainDocumentScope(CTALVODoc& doc)
    {
        GetTALVOApp().SetMainDocument(&doc);
        GetTALVOApp().SetProjectTreeWindow(&tree);
    }
    ~MainDocumentScope()
    {
        GetTALVOApp().SetProjectTreeWindow(nullptr);
        GetTALVOApp().SetMainDocument(nullptr);
    }
    CFakeProjectTree tree;
};
} // namespace

TEST(AnalysisExchange, DocumentWritesTheSelectedProjectAndShowsTheImportedOne)
{
    CScriptedPrompts prompts;
    CTALVODoc doc;
    MainDocumentScope scope(doc);
    CTALVOProject& container = doc.GetTALVOProject();
    container.AddDaqProject();
    container.AddAnalysisProject(nullptr, nullptr)->SetOTSetting(7.5f);
    const std::string path = (AppTestTempDir() / "command.oap").string();

    // Only an analysis project is exported.
    for (int selected : {-1, 0, 5}) {
        scope.tree.active = selected;
        EXPECT_EQ(doc.ExportAnalysisProjectFile(path), 0) << selected;
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    scope.tree.active = 1;
    EXPECT_EQ(doc.ExportAnalysisProjectFile(path), 1);
    EXPECT_FALSE(doc.IsModified());

    CAnalysisProject* imported = doc.ImportAnalysisProjectFile(path);
    ASSERT_NE(imported, nullptr);
    EXPECT_EQ(imported->GetID(), 2);
    EXPECT_EQ(imported->GetOTSetting(), 7.5f);
    EXPECT_EQ(container.GetProject(2), imported);
    EXPECT_EQ(scope.tree.trees, std::vector<CMElement*>{imported});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST(ProjectList, RecalcInputPowersReportsEachFailure)
{
    CScriptedPrompts prompts;
    CTALVOProject project;
    EXPECT_EQ(project.RecalcInputPowers(0), 1); // no analysis project: nothing to do
    project.AddDaqProject();
    EXPECT_EQ(project.RecalcInputPowers(0), 1);
    EXPECT_EQ(prompts.Count(), 0u);

    // Two projects with input energies of the roof; a third never calculated has nothing to redo.
    for (int i = 0; i < 2; ++i) {
        CAnalysisProject* analysis = project.AddAnalysisProject(nullptr, nullptr);
        ASSERT_NE(analysis, nullptr);
        auto* folder = analysis->AddChild(std::make_unique<CInputEnergyFolder>(analysis));
        const double freqs[1] = {100.0};
        const double rpms[1] = {1000.0};
        CMElementList energies;
        energies.Add(CZuRpmFunc::NewRpmFunc("IE Roof", 5, nullptr, "Roof", freqs, 1, rpms, 1).release());
        folder->AddItems(energies);
    }
    project.AddAnalysisProject(nullptr, nullptr);
    for (int revise : {0, 1}) {
        SCOPED_TRACE(revise);
        prompts.Clear();
        // Without a hybrid model each project with input energies fails and says why.
        EXPECT_EQ(project.RecalcInputPowers(revise, nullptr, StatusBarBoxes()), 0);
        std::vector<uint32_t> shown;
        for (const PromptRecord& r : prompts.Records())
            shown.push_back(r.stringId);
        EXPECT_EQ(shown, std::vector<uint32_t>({7122u, 7122u}));
        EXPECT_NE(prompts.Last().text.find("Analysis2"), std::string::npos) << prompts.Last().text;
        EXPECT_NE(prompts.Last().text.find("no hybrid SEA model"), std::string::npos) << prompts.Last().text;
    }
}
