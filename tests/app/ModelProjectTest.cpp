// The model project made from the sample model and a model data text file: the subsystem look-ups,
// the optional sections of the file, the model data kinds and the compatibility check.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProjectTestEnv.h"
#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/ModelDataText.h"
#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "models/ASEAModelData.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAOptions.h"
#include "planning/SensorAssignment.h"
#include "platform/archive/Archive.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuStdData.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/modeldb/ModelData.h"
#include "platform/win/PromptService.h"
#include "spectral/BandSetOwner.h"
#include "platform/elements/ElementTreeObserver.h"

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

// A folder of its own holding the sample model (with its companion file) under a stem.
fs::path SampleFolder(const std::string& name)
{
    const fs::path dir = AppTestTempDir() / name;
    fs::create_directories(dir);
    fs::copy_file(kSamples / "sample-model.ntf", dir / "model.ntf", fs::copy_options::overwrite_existing);
    fs::copy_file(kSamples / "sample-model.dat", dir / "model.dat", fs::copy_options::overwrite_existing);
    return dir;
}

// Prompts shown, as "id" or the text of those shown by text.
std::string Shown(const CScriptedPrompts& prompts)
{
    std::string out;
    for (const auto& r : prompts.Records())
        out += (r.stringId ? std::to_string(r.stringId) : r.text) + ";";
    return out;
}

} // namespace

// The header text a data element keeps (property 39); "<none>" without one.
std::string HeaderOf(CZuData* data)
{
    CZuStdDataList* list = data->GetZuStdDataList();
    const int i = list ? list->FindIndex(39) : -1;
    return i >= 0 ? list->GetAt(i)->GetText() : "<none>";
}

// A container whose model project holds the sample model (no model data file read).
CModelProject* MakeModel(CTALVOProject& container)
{
    CModelProject* project =
        container.CreateModelProjectFromFile(0, (kSamples / "sample-model.dmd").string(), StatusBarBoxes());
    if (project)
        while (project->GetChildCount() > 1)
            project->DeleteChild(project->GetChildCount() - 1);
    return project;
}

// The data text of the sample's CLF data: the file without its four header lines.
std::string SampleDataBody()
{
    const std::string text = ReadAll(kSamples / "sample-model.dmd");
    size_t at = 0;
    for (int i = 0; i < 4; ++i)
        at = text.find('\n', at) + 1;
    return text.substr(at);
}

TEST(ModelProject, SampleModelAndDataFileAnswerTheLookUps)
{
    CScriptedPrompts prompts;
    CTALVOProject container;
    CModelProject* project =
        container.CreateModelProjectFromFile(0, (kSamples / "sample-model.dmd").string(), StatusBarBoxes());
    ASSERT_NE(project, nullptr) << Shown(prompts);
    EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);
    EXPECT_EQ(container.GetModelProject(), project);
    EXPECT_EQ(project->GetID(), 0);
    EXPECT_EQ(container.GetNextProjectID(), 1);
    EXPECT_EQ(container.GetHSEAOptions().HSS_SymmetricCopy, 1); // every left subsystem has its right one

    // The model element and its 3D model.
    ASSERT_NE(project->GetASEAModelData(), nullptr);
    EXPECT_EQ(container.GetModelShell(), project->GetASEAModelData());
    ASSERT_NE(container.GetModelData(), nullptr);
    EXPECT_EQ(container.GetModelData()->GetTitle(), "Sample Hatchback");
    ASSERT_NE(container.GetOctaveManager(), nullptr);
    EXPECT_EQ(container.GetOctaveManager()->GetFreqCount(), 21);
    ASSERT_NE(project->GetSubsystemSet(), nullptr);
    int bandType = 9;
    double start = 0, end = 0;
    project->GetModelDataParams(&bandType, &start, &end);
    EXPECT_EQ(bandType, 0);
    EXPECT_EQ(start, 100.0);
    EXPECT_EQ(end, 10000.0);

    // Subsystem tables: every subsystem of set 1, also the acoustic space the analysis leaves out.
    ASSERT_NE(container.GetModelSubsystemTable(), nullptr);
    EXPECT_EQ(container.GetModelSubsystemTable()->GetCount(), 17);
    EXPECT_GE(container.GetModelSubsystemTable()->GetIndex("Exterior"), 0);
    EXPECT_GE(container.GetSensorAssignment()->FindRow("Rear Cabin-C"), 0);

    struct TypeCase
    {
        const char* name;
        int addSuffix;
        int type;
        const char* after;
        int structure;
        int acoustic;
    };
    const TypeCase cases[] = {
        {"Roof", 0, 2, "Roof", 1, 0},
        {"Roof", 1, 2, "Roof-F", 1, 0},
        {"Fr Side Member-L", 1, 3, "Fr Side Member-L-F", 1, 0},
        {"Front Cabin-R", 1, 6, "Front Cabin-R-", 0, 1},
        {"Exterior", 1, 5, "Exterior-", 0, 1},
        {"No Such", 1, -1, "No Such", 0, 0},
        {"roof", 1, -1, "roof", 0, 0}, // names are compared exactly
        {"", 1, -1, "", 0, 0},
    };
    CBaseProject* daq = container.AddDaqProject();
    for (const auto& c : cases) {
        std::string name = c.name;
        EXPECT_EQ(container.GetSubsystemType(name, c.addSuffix), c.type) << c.name;
        EXPECT_EQ(name, c.after) << c.name;
        EXPECT_EQ(container.IsStructure(c.name), c.structure) << c.name;
        EXPECT_EQ(container.IsAcoustic(c.name), c.acoustic) << c.name;
        EXPECT_EQ(project->IsStructure(c.name), c.structure) << c.name;
        EXPECT_EQ(daq->IsAcoustic(c.name), c.acoustic) << c.name;
    }
    EXPECT_NE(project->GetSubsystem("Roof", 0, 1), nullptr);
    EXPECT_EQ(project->GetSubsystem("No Such", 0, 1), nullptr);

    // Couplings of the analytical model; the acoustic space is in no coupling.
    EXPECT_EQ(project->IsSubsystemConnected("Roof", "Front Cabin-R"), 1);
    EXPECT_EQ(project->IsSubsystemConnected("Floor", "Front Cabin-R"), 1);
    EXPECT_EQ(project->IsSubsystemConnected("Roof", "Dash-C"), 0);
    EXPECT_EQ(project->IsSubsystemConnected("Exterior", "Roof"), 0);

    // Display names: the name itself until a display name is given.
    EXPECT_EQ(project->GetSubsystemDisplayName("Roof"), "Roof");
    const int roof = project->GetSubsystemTable().GetIndex("Roof");
    CZuSubsystemTable& display = project->GetDisplayNameTable();
    for (int i = 0; i <= roof; ++i)
        display.Add(i == roof ? "Roof panel" : project->GetSubsystemTable()[i]);
    EXPECT_EQ(project->GetSubsystemDisplayName("Roof"), "Roof panel");
    EXPECT_EQ(project->GetSubsystemDisplayName("Floor"), "Floor"); // beyond the display table
    EXPECT_EQ(project->GetSubsystemDisplayName("Unknown"), "Unknown");

    // The model data read from the file, named with the creation counter, with its header text.
    auto* clfs = DynamicDowncast<CHSEAGeneralData>(project->FindOne(ElementType::ClfData, 1));
    ASSERT_NE(clfs, nullptr);
    EXPECT_EQ(clfs->GetKind(), CHSEAGeneralData::KIND_CLF);
    EXPECT_EQ(clfs->GetName().rfind("CLFs Data #", 0), 0u) << clfs->GetName();
    EXPECT_EQ(HeaderOf(clfs), "Sample Hatchback measured coupling loss factors");
    EXPECT_EQ(clfs->GetAllSubsystems() ? clfs->GetAllSubsystems()->GetCount() : 0, 17);

    // Source subsystems: those the model knows.
    const CZuSubsystemTable& sources = container.GetSourceSubsystems();
    EXPECT_EQ(sources.Names(), (std::vector<std::string>{"Dash-C", "Fr Side Member-R", "Fr Side Member-L"}));
    EXPECT_EQ(container.IsInputSubsystem("Dash-C"), 1);
    EXPECT_EQ(project->IsInputSubsystem("Roof"), 0);

    // CLFs of the pair in either order, also from the transmission CLFs.
    EXPECT_NE(project->FindClf("Roof-F", "Front Cabin-R-"), nullptr);
    EXPECT_EQ(project->FindClf("Front Cabin-R-", "Roof-F"), project->FindClf("Roof-F", "Front Cabin-R-"));
    EXPECT_EQ(project->FindClf("Roof-F", "Floor-F"), nullptr);
    auto* transmission = DynamicDowncast<CHSEAGeneralData>(project->FindOne(ElementType::TransmissionClfs, 1));
    ASSERT_NE(transmission, nullptr);
    EXPECT_EQ(transmission->GetName(), "Model Transmission CLFs");
    EXPECT_NE(project->FindClf("Dash-C-F", "Engine Room-C-"), nullptr);

    // Target energy ratios: by the pair, or by its mirror pair when only that one is stored.
    CZuFuncElement* ratio = project->FindEnergyRatioFunc("Dash-C", "Front Cabin-R");
    ASSERT_NE(ratio, nullptr);
    auto* values = DynamicDowncast<CZuFunc>(ratio);
    ASSERT_NE(values, nullptr);
    ASSERT_EQ(values->GetDataCount(), 21);
    EXPECT_DOUBLE_EQ(values->DataValue(0), 0.8);
    EXPECT_DOUBLE_EQ(values->DataIndex(20), container.GetOctaveManager()->GetFreq(20));
    CZuFuncElement* side = project->FindEnergyRatioFunc("Fr Side Member-R", "Front Cabin-R");
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(project->FindEnergyRatioFunc("Fr Side Member-L", "Front Cabin-L"), side);
    EXPECT_EQ(project->FindEnergyRatioFunc("Roof", "Floor"), nullptr);
    EXPECT_EQ(project->FindEnergyRatioFunc("Dash-C", "Rear Cabin-C"), nullptr); // neither name has a mirror
    CZuFuncElement* measured = project->FindExpEnergyRatioFunc("Front Cabin-R", "Fr Side Member-R");
    ASSERT_NE(measured, nullptr);
    EXPECT_DOUBLE_EQ(DynamicDowncast<CZuFunc>(measured)->DataValue(0), 0.3);
    EXPECT_EQ(project->FindExpEnergyRatioFunc("Front Cabin-L", "Dash-C"),
              project->FindExpEnergyRatioFunc("Front Cabin-R", "Dash-C"));

    // SEA model data by serial number.
    CASEAModelData* model = project->GetASEAModelData();
    EXPECT_EQ(project->FindSEAModelData(static_cast<int>(model->GetSerialNumber()), 1, StatusBarBoxes()), model);
    EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);
    EXPECT_EQ(project->FindSEAModelData(-5, 1, StatusBarBoxes()), nullptr);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7100u);
    EXPECT_NE(prompts.Last().text.find("-5"), std::string::npos);
    EXPECT_EQ(project->ApplyModelUpdate("Front Cabin-R", sources), 0); // no Hybrid SEA model
}

TEST(ModelProject, WithoutAModelTheLookUpsAnswerNothing)
{
    CScriptedPrompts prompts;
    CTALVOProject container;
    CModelProject project("Model");
    std::string name = "Roof";
    EXPECT_EQ(project.GetSubsystemType(name, 1), -1);
    EXPECT_EQ(name, "Roof");
    EXPECT_EQ(project.IsStructure("Roof"), 0);
    EXPECT_EQ(project.IsAcoustic("Roof"), 0);
    EXPECT_EQ(project.GetModelData(0), nullptr);
    EXPECT_EQ(project.GetSubsystemSet(), nullptr);
    EXPECT_EQ(project.IsSubsystemConnected("Roof", "Floor"), 0);
    EXPECT_EQ(project.FindEnergyRatioFunc("Door-R", "Cabin-R"), nullptr);
    EXPECT_EQ(project.FindClf("Roof-F", "Floor-F"), nullptr);
    EXPECT_EQ(project.IsSymmetricModel(), 0);
    int a = 7;
    double b = 1, c = 1;
    project.GetModelDataParams(&a, &b, &c);
    EXPECT_EQ(a, -1);
    EXPECT_EQ(b, 0.0);
    EXPECT_EQ(c, 0.0);
    project.UpdateSubsystemTables(); // nothing to refill
    EXPECT_EQ(project.GetSubsystemTable().GetCount(), 0);
    EXPECT_EQ(prompts.Count(), 0u);
    EXPECT_EQ(project.GetModelShell(1, StatusBarBoxes()), nullptr);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6014u);
    EXPECT_EQ(container.ApplyModelUpdate(), 0);
    EXPECT_EQ(container.CheckModelCompatibility(nullptr, 1, StatusBarBoxes()), 0);
}

TEST(ModelProject, StoredAndReadBackTheLookUpsStillAnswer)
{
    CScriptedPrompts prompts;
    std::vector<uint8_t> bytes;
    uint32_t counter = 0;
    {
        CTALVOProject container;
        ASSERT_NE(container.CreateModelProjectFromFile(0, (kSamples / "sample-model.dmd").string(), StatusBarBoxes()),
                  nullptr);
        CArchive ar(&bytes, CArchive::store);
        container.Serialize(ar);
        counter = CZuData::GetCreationCount();
    }
    CZuData::SetCreationCount(0);
    CTALVOProject container;
    CArchive ar(bytes.data(), bytes.size());
    container.Serialize(ar);
    EXPECT_EQ(CZuData::GetCreationCount(), counter); // data made from now on continue the numbering
    CModelProject* project = container.GetModelProject();
    ASSERT_NE(project, nullptr);
    std::string name = "Front Cabin-L";
    EXPECT_EQ(container.GetSubsystemType(name, 1), 6);
    EXPECT_EQ(name, "Front Cabin-L-");
    EXPECT_EQ(project->GetSubsystemTable().GetCount(), 17);
    EXPECT_EQ(project->IsSubsystemConnected("Roof", "Front Cabin-R"), 1);
    EXPECT_NE(project->FindEnergyRatioFunc("Fr Side Member-L", "Front Cabin-L"), nullptr);
    EXPECT_NE(project->FindClf("Front Door Panel-L-F", "Front Cabin-L-"), nullptr);
    EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);
}

TEST(ModelDataText, KindNamesMakeTheirDataObjects)
{
    struct Case
    {
        const char* name;
        int type;
        int generalKind; // 0: not general data
        bool made;
    };
    const Case cases[] = {
        {"Analytical SEA Model", 1, 0, true},
        {"Hybrid SEA Model", 48, 0, true},
        {"CLFs/Total DLFs Data", 50, CHSEAGeneralData::KIND_CLF_DLF_MATRIX, true},
        {"CLFs Data", 58, CHSEAGeneralData::KIND_CLF, true},
        {"Total DLFs Data", 59, CHSEAGeneralData::KIND_TOTAL_DLF, true},
        {"Intrinsic DLFs Data", 67, CHSEAGeneralData::KIND_INTRINSIC_DLF, true},
        {"Input Power Data", 60, CHSEAGeneralData::KIND_INPUT_POWER, true},
        {"Exp. Target ERs", 107, 0, false},
        {"Model Target ERs", 108, 0, false},
        {"Model Transmission CLFs", 109, 0, false},
        {"CLFs data", 0, 0, false},
        {"", 0, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CModelProject::GetModelDataKind(c.name), c.type) << c.name;
        if (c.type) {
            EXPECT_EQ(CModelProject::GetModelDataKindName(c.type), c.name);
        }
        std::unique_ptr<CZuData> data = CreateModelDataByName(c.name);
        ASSERT_EQ(data != nullptr, c.made) << c.name;
        if (!data)
            continue;
        EXPECT_EQ(data->GetType(), c.type) << c.name;
        EXPECT_EQ(data->GetName(), c.name);
        auto* general = DynamicDowncast<CHSEAGeneralData>(data.get());
        EXPECT_EQ(general != nullptr, c.generalKind != 0) << c.name;
        if (general) {
            EXPECT_EQ(general->GetKind(), c.generalKind) << c.name;
        }
    }
    EXPECT_NE(DynamicDowncast<CASEAModelData>(CreateModelDataByName("Analytical SEA Model").get()), nullptr);
    EXPECT_NE(DynamicDowncast<CHSEAModelData>(CreateModelDataByName("Hybrid SEA Model").get()), nullptr);
}

TEST(ModelDataText, FilesThatReadAndFilesThatAreRefused)
{
    CScriptedPrompts prompts;
    CTALVOProject container;
    CModelProject* project = MakeModel(container);
    ASSERT_NE(project, nullptr);
    const std::string body = SampleDataBody();
    struct Case
    {
        const char* label;
        std::string text;
        const char* header; // null: refused
    };
    const Case cases[] = {
        {"kind line first", "#CLFs Data\n" + body, ""},
        {"header line", "#@measured on the rig\n# two\n#\n#CLFs Data\n" + body, "measured on the rig"},
        {"CR LF line ends", "#@crlf\r\n#\r\n#\r\n#CLFs Data\r\n" + body, "crlf"},
        {"unknown kind", "#CLF Data\n" + body, nullptr},
        {"a section name is no kind", "#Model Target ERs\n" + body, nullptr},
        {"kind line without #", "CLFs Data\n" + body, nullptr},
        {"empty first line", "\n#CLFs Data\n" + body, nullptr},
        {"header without kind line", "#@cut\n# two\n", nullptr},
        {"data that do not read", "#CLFs Data\n#ZuData\t1\n#Bands\t0\t100\tten\t21\n", nullptr},
        {"empty file", "", nullptr},
    };
    int n = 0;
    for (const auto& c : cases) {
        const fs::path path = AppTestTempDir() / ("case" + std::to_string(n++) + ".dmd");
        WriteAll(path, c.text);
        prompts.Clear();
        const int children = project->GetChildCount();
        CZuData* data = ReadModelDataText(project, path.string(), 0, StatusBarBoxes());
        if (!c.header) {
            EXPECT_EQ(data, nullptr) << c.label;
            EXPECT_EQ(project->GetChildCount(), children) << c.label;
            ASSERT_EQ(prompts.Count(), 1u) << c.label;
            EXPECT_EQ(prompts.Last().stringId, 7052u) << c.label;
            EXPECT_NE(prompts.Last().text.find(path.string()), std::string::npos) << c.label;
            continue;
        }
        ASSERT_NE(data, nullptr) << c.label << " " << Shown(prompts);
        EXPECT_EQ(prompts.Count(), 0u) << c.label << " " << Shown(prompts);
        EXPECT_EQ(data->GetParent(), project);
        EXPECT_EQ(data->GetType(), ElementType::ClfData);
        EXPECT_EQ(HeaderOf(data), c.header) << c.label;
        EXPECT_EQ(data->GetChildCount(), 3) << c.label;
    }
    // Every file read gave a name of its own.
    CMElementList read;
    project->CMElement::Find(ElementType::ClfData, read, 1);
    ASSERT_EQ(read.GetSize(), 3);
    EXPECT_NE(read[0]->GetName(), read[1]->GetName());
    EXPECT_NE(read[1]->GetName(), read[2]->GetName());

    prompts.Clear();
    EXPECT_EQ(ReadModelDataText(project, (AppTestTempDir() / "absent.dmd").string(), 0, StatusBarBoxes()), nullptr);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7052u);
}

TEST(ModelDataText, ArchivesReadUnderUniqueNames)
{
    CScriptedPrompts prompts;
    CTALVOProject container;
    CModelProject* project = MakeModel(container);
    ASSERT_NE(project, nullptr);
    const fs::path path = AppTestTempDir() / "powers.dmd";
    {
        CHSEAGeneralData powers("Input Powers", nullptr, ElementType::InputPowerData, 0, 100.0, 10000.0);
        powers.AddPowerFunc("Dash-C-F", 0);
        CArchive ar(path.string(), CArchive::store);
        ar.WriteObject(&powers);
        ar.Close();
    }
    CZuData* first = ReadModelDataText(project, path.string(), 1, StatusBarBoxes());
    CZuData* second = ReadModelDataText(project, path.string(), 1, StatusBarBoxes());
    ASSERT_NE(first, nullptr) << Shown(prompts);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetName(), "Input Powers");
    EXPECT_EQ(second->GetName(), "Input Powers~0");
    EXPECT_EQ(second->GetParent(), project);
    EXPECT_EQ(second->GetChildCount(), 1);
    EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);

    // A storing archive gives nothing; a file that is no archive is reported.
    std::vector<uint8_t> bytes;
    CArchive storing(&bytes, CArchive::store);
    EXPECT_EQ(ReadModelDataArchive(project, storing), nullptr);
    const fs::path text = AppTestTempDir() / "text.dmd";
    WriteAll(text, "#CLFs Data\n" + SampleDataBody());
    EXPECT_EQ(ReadModelDataText(project, text.string(), 1, StatusBarBoxes()), nullptr);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7052u);
}

// A Hybrid SEA model over the sample model (a copy of its matrices), added to the model project.
CHSEAModelData* AddHybridModel(CModelProject* project)
{
    auto model = std::make_unique<CHSEAModelData>(project->GetASEAModelData(), project, 1, 1, 0, 0);
    model->SetName("Hybrid SEA Model");
    return project->AddChild(std::move(model));
}

TEST(ModelDataText, HybridModelExportReadsBack)
{
    CScriptedPrompts prompts;
    CTALVOProject container;
    CModelProject* project = MakeModel(container);
    ASSERT_NE(project, nullptr);
    const fs::path path = AppTestTempDir() / "hsea.txt";
    EXPECT_EQ(ExportHSEAModelText(container, path.string(), StatusBarBoxes()), 0); // no Hybrid SEA model yet
    EXPECT_FALSE(fs::exists(path));

    CHSEAModelData* model = AddHybridModel(project);
    ASSERT_NE(model, nullptr);
    ASSERT_NE(model->GetEtaMatrix(0), nullptr);
    container.GetSourceSubsystems().Clear();
    container.GetSourceSubsystems().Add("Dash-C");
    container.GetSourceSubsystems().Add("Fr Side Member-R");
    ASSERT_EQ(ExportHSEAModelText(container, path.string(), StatusBarBoxes()), 1) << Shown(prompts);

    const std::string text = ReadAll(path);
    const size_t l1 = text.find('\n'), l2 = text.find('\n', l1 + 1), l3 = text.find('\n', l2 + 1),
                 l4 = text.find('\n', l3 + 1);
    const std::string first = text.substr(0, l1);
    EXPECT_EQ(first.rfind("#@", 0), 0u);
    EXPECT_EQ(first.substr(first.size() - 7), " [HSEA]");
    EXPECT_EQ(first[4], '/'); // "%m/%d/%Y %H:%M"
    EXPECT_EQ(text.substr(l1 + 1, l2 - l1 - 1), "# " + path.string());
    EXPECT_EQ(text.substr(l2 + 1, l3 - l2 - 1), "#");
    EXPECT_EQ(text.substr(l3 + 1, l4 - l3 - 1), "#Hybrid SEA Model");
    const std::string tail = "\n\n#Source Subsystems\n[Src]\tDash-C\n[Src]\tFr Side Member-R\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);

    // Read back: a Hybrid SEA model with the same matrix, and the source subsystems.
    CZuData* read = ReadModelDataText(project, path.string(), 0, StatusBarBoxes());
    ASSERT_NE(read, nullptr) << Shown(prompts);
    auto* again = DynamicDowncast<CHSEAModelData>(read);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetType(), ElementType::HseaModel);
    EXPECT_EQ(HeaderOf(again), first.substr(2));
    CZuMatFunc* eta = model->GetEtaMatrix(0);
    CZuMatFunc* etaAgain = again->GetEtaMatrix(0);
    ASSERT_NE(etaAgain, nullptr);
    ASSERT_EQ(etaAgain->GetDataCount(), eta->GetDataCount());
    EXPECT_EQ(etaAgain->GetRowTable(), eta->GetRowTable());
    for (int b = 0; b < eta->GetDataCount(); b += 10)
        for (int i = 0; i < eta->GetRowSubsystemCount(); ++i)
            for (int j = 0; j < eta->GetColSubsystemCount(); ++j)
                EXPECT_EQ(etaAgain->DataValue(b, i, j), eta->DataValue(b, i, j));
    EXPECT_EQ(container.CheckModelCompatibility(again, 1, StatusBarBoxes()), 1);
    container.GetSourceSubsystems().Clear();
    container.ReadSourceSubsystems(path.string());
    EXPECT_EQ(container.GetSourceSubsystems().GetCount(), 2);
    EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);

    // A file that cannot be written is reported and leaves nothing behind.
    prompts.Clear();
    const fs::path nowhere = AppTestTempDir() / "no-such-folder" / "hsea.txt";
    EXPECT_EQ(ExportHSEAModelText(container, nowhere.string(), StatusBarBoxes()), 0);
    EXPECT_EQ(prompts.Count(), 1u);
    EXPECT_FALSE(fs::exists(nowhere));
}

TEST(ModelProject, CompatibilityOfNewModelDataWithRealMatrices)
{
    CScriptedPrompts prompts;
    CTALVOProject container;
    CModelProject* project = MakeModel(container);
    ASSERT_NE(project, nullptr);
    CZuMatFunc* modelEta = project->GetASEAModelData()->GetEtaMatrix(0);
    ASSERT_NE(modelEta, nullptr);
    const int roof = modelEta->GetRowIndex("Roof-F");
    const int dash = modelEta->GetColIndex("Dash-C-F");
    const int cabin = modelEta->GetColIndex("Front Cabin-R-");
    ASSERT_LT(roof, dash); // the pair is checked as (Roof, Dash)
    ASSERT_EQ(modelEta->DataValue(0, roof, dash), 0.0);
    ASSERT_NE(modelEta->DataValue(0, roof, cabin), 0.0);

    enum class Change
    {
        None,
        UncoupledGetsCoupling,
        CoupledChanges,
        ZeroDensity,
        ZeroDensityAndCoupling,
        FewerBands,
        RenamedSubsystem
    };
    struct Case
    {
        const char* label;
        Change change;
        int checkCouplings;
        int result;
        uint32_t message;
    };
    const Case cases[] = {
        {"the model's own matrices", Change::None, 1, 1, 0},
        {"a coupling where the model has none", Change::UncoupledGetsCoupling, 1, 0, 6051},
        {"the same, couplings not checked", Change::UncoupledGetsCoupling, 0, 1, 0},
        {"a coupling of the model that changes", Change::CoupledChanges, 1, 1, 0},
        {"zero modal density, no coupling", Change::ZeroDensity, 1, 1, 0},
        {"zero modal density and a coupling", Change::ZeroDensityAndCoupling, 1, 0, 6051},
        {"other bands", Change::FewerBands, 1, 0, 6050},
        {"a subsystem the model does not have", Change::RenamedSubsystem, 0, 0, 6051},
    };
    for (const auto& c : cases) {
        CHSEAModelData* data = AddHybridModel(project);
        ASSERT_NE(data, nullptr);
        CZuMatFunc* eta = data->GetEtaMatrix(0);
        CZuVecFunc* density = data->GetModalDensity(0);
        ASSERT_NE(eta, nullptr);
        ASSERT_NE(density, nullptr);
        const int n = density->GetIndex("Roof-F");
        switch (c.change) {
        case Change::None:
            break;
        case Change::UncoupledGetsCoupling:
            eta->DataValue(0, eta->GetRowIndex("Roof-F"), eta->GetColIndex("Dash-C-F")) = -1e-4;
            break;
        case Change::CoupledChanges:
            eta->DataValue(0, eta->GetRowIndex("Roof-F"), eta->GetColIndex("Front Cabin-R-")) *= 3.0;
            break;
        case Change::ZeroDensity:
            density->DataValue(0, n) = 0.0;
            break;
        case Change::ZeroDensityAndCoupling:
            density->DataValue(0, n) = 0.0;
            eta->DataValue(0, eta->GetRowIndex("Roof-F"), eta->GetColIndex("Dash-C-F")) = -1e-30;
            break;
        case Change::FewerBands:
            data->SetFreqInfo(0, 100.0, 5000.0);
            break;
        case Change::RenamedSubsystem: {
            CZuSubsystemTable renamed = eta->GetRowTable();
            renamed.SetAt(renamed.GetIndex("Floor-F"), "Other Floor-F");
            eta->SetSubsystemTable(&renamed);
            break;
        }
        }
        prompts.Clear();
        EXPECT_EQ(container.CheckModelCompatibility(data, c.checkCouplings, StatusBarBoxes()), c.result) << c.label;
        if (c.message) {
            ASSERT_EQ(prompts.Count(), 1u) << c.label;
            EXPECT_EQ(prompts.Last().stringId, c.message) << c.label;
        } else {
            EXPECT_EQ(prompts.Count(), 0u) << c.label << " " << Shown(prompts);
        }
        project->DeleteChild(data);
    }
}

namespace {
// Answers the model file and model data file questions from queues (an empty path: cancelled) and
// keeps where the model file question started.
struct ScriptedModelFiles
{
    ScriptedModelFiles()
    {
        CModelProject::SetModelFileAsker([this](CASEAModelData*, const std::string& start, std::string& path) {
            starts.push_back(start);
            return Next(models, path);
        });
        CTALVOProject::SetModelDataFileAsker([this](std::string& path) { return Next(data, path); });
    }
    ~ScriptedModelFiles()
    {
        CModelProject::SetModelFileAsker({});
        CTALVOProject::SetModelDataFileAsker({});
    }
    static bool Next(std::deque<std::string>& queue, std::string& path)
    {
        if (queue.empty())
            return false;
        path = queue.front();
        queue.pop_front();
        return !path.empty();
    }
    std::deque<std::string> models, data;
    std::vector<std::string> starts;
};
} // namespace

TEST(ModelProject, MadeThroughThePromptsAndReplaced)
{
    const fs::path folder = SampleFolder("interactive");
    const fs::path bad = folder / "bad.dmd";
    WriteAll(bad, "not model data\n");
    fs::copy_file(kSamples / "sample-model.dmd", folder / "model.dmd", fs::copy_options::overwrite_existing);
    ScriptedModelFiles files;
    {
        // Model file, then a data file that does not read (reported; asked again), then one that does.
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        files.models = {(folder / "model.ntf").string()};
        files.data = {bad.string(), (folder / "model.dmd").string()};
        CTALVOProject container;
        CModelProject* project = container.CreateModelProject(StatusBarBoxes());
        ASSERT_NE(project, nullptr) << Shown(prompts);
        EXPECT_TRUE(files.models.empty());
        EXPECT_TRUE(files.data.empty());
        EXPECT_EQ(prompts.Pending(), 0u);
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
        EXPECT_EQ(prompts.Records()[0].stringId, 7052u);
        EXPECT_EQ(project->GetModelData(0)->GetFileName(), (folder / "model.ntf").string());
        EXPECT_EQ(container.GetNextProjectID(), 1);
        EXPECT_EQ(container.GetSourceSubsystems().GetCount(), 3);

        // A further model variant of the same model.
        files.models = {(folder / "model.ntf").string()};
        CModelProject* variant = container.AddModelProject(StatusBarBoxes());
        ASSERT_NE(variant, nullptr) << Shown(prompts);
        EXPECT_EQ(variant->GetName(), "Model #1");
        EXPECT_EQ(variant->GetID(), 1);
        EXPECT_EQ(variant->GetModelShell(0)->GetName(), "Analytical SEA Model #1");
        EXPECT_EQ(files.starts.back(), (folder / "model.ntf").string());
        EXPECT_EQ(container.GetProject(1), variant);

        // Replacing the model element and the Hybrid SEA model keeps one of each.
        auto replacement = std::make_unique<CASEAModelData>();
        ASSERT_EQ(replacement->BuildFromModel((folder / "model.ntf").string()), 1);
        CASEAModelData* raw = replacement.get();
        EXPECT_EQ(project->ReplaceModel(std::move(replacement)), raw);
        EXPECT_EQ(project->GetASEAModelData(), raw);
        CMElementList models;
        EXPECT_EQ(project->CMElement::Find(ElementType::AseaModel, models, 1), 1);
        EXPECT_EQ(project->IsSubsystemConnected("Roof", "Front Cabin-R"), 1);
        auto first = std::make_unique<CHSEAModelData>(raw, nullptr, 1, 1, 0, 0);
        CHSEAModelData* firstRaw = project->ReplaceHSEAModel(std::move(first));
        CHSEAModelData* secondRaw =
            project->ReplaceHSEAModel(std::make_unique<CHSEAModelData>(raw, nullptr, 1, 1, 0, 0));
        EXPECT_NE(firstRaw, secondRaw);
        EXPECT_EQ(project->GetHSEAModelData(), secondRaw);
        CMElementList hybrids;
        EXPECT_EQ(project->CMElement::Find(ElementType::HseaModel, hybrids, 1), 1);
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
    }
    {
        // Cancelled at the model file: message 6078, no project, no ID used.
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        files.models = {""};
        CTALVOProject container;
        EXPECT_EQ(container.CreateModelProject(StatusBarBoxes()), nullptr);
        EXPECT_EQ(prompts.Last().stringId, 6078u);
        EXPECT_EQ(container.GetProjectCount(), 0);
        // Cancelled at the data file.
        files.models = {(folder / "model.ntf").string()};
        files.data = {""};
        EXPECT_EQ(container.CreateModelProject(StatusBarBoxes()), nullptr);
        EXPECT_EQ(container.GetProjectCount(), 0);
        EXPECT_EQ(container.GetNextProjectID(), 0);
        EXPECT_EQ(prompts.Unexpected(), 0u) << Shown(prompts);
    }
    {
        // A data file whose bands differ from the model's does not fit: refused with 6050.
        CScriptedPrompts prompts;
        std::string text = ReadAll(kSamples / "sample-model.dmd");
        const std::string from = "#Bands\t0\t100\t10000\t21\n";
        text.replace(text.find(from), from.size(), "#Bands\t0\t100\t10000\t20\n");
        const size_t cut = text.find("10000\t8912");
        text.erase(cut, text.find('\n', cut) + 1 - cut);
        WriteAll(folder / "other.dmd", text);
        fs::copy_file(folder / "model.ntf", folder / "other.ntf", fs::copy_options::overwrite_existing);
        fs::copy_file(folder / "model.dat", folder / "other.dat", fs::copy_options::overwrite_existing);
        CTALVOProject container;
        EXPECT_EQ(container.CreateModelProjectFromFile(0, (folder / "other.dmd").string(), StatusBarBoxes()), nullptr);
        EXPECT_NE(Shown(prompts).find("6050"), std::string::npos) << Shown(prompts);
        EXPECT_EQ(container.GetProjectCount(), 0);
    }
}

TEST(ModelProject, SectionsOfAnotherFileReplaceTheOldOnes)
{
    CScriptedPrompts prompts;
    CTALVOProject container;
    CModelProject* project =
        container.CreateModelProjectFromFile(0, (kSamples / "sample-model.dmd").string(), StatusBarBoxes());
    ASSERT_NE(project, nullptr);
    ASSERT_NE(project->FindOne(ElementType::ModelTargetErs, -1), nullptr);

    // Rows with too few values keep 0.0 in the bands they lack; a pair of one subsystem is skipped;
    // a pair met again takes the later row's values, in the one function of the pair.
    const fs::path path = AppTestTempDir() / "sections.dmd";
    WriteAll(path, "#Target ERs\nSource\tTarget\n"
                   "Roof-F\tFloor-F\t9\t9\t9\n"
                   "Roof-F\tFloor-F\t0.5\t0.25\n"
                   "Roof-F\tRoof-F\t1\n"
                   "\n"
                   "[[Front Cabin-L-]]\n"
                   "Front Door Panel-L-F\t0.125\n"
                   "#end of the ratios\n");
    project->ReadTargetEnergyRatios(path.string());
    auto* ratio = DynamicDowncast<CZuFunc>(project->FindEnergyRatioFunc("Roof", "Floor"));
    ASSERT_NE(ratio, nullptr);
    EXPECT_EQ(ratio->DataValue(0), 0.5);
    EXPECT_EQ(ratio->DataValue(1), 0.25);
    EXPECT_EQ(ratio->DataValue(2), 0.0);
    EXPECT_EQ(project->FindEnergyRatioFunc("Dash-C", "Front Cabin-R"), nullptr); // the old data went
    CMElementList all;
    EXPECT_EQ(project->CMElement::Find(ElementType::ModelTargetErs, all, -1), 1);
    EXPECT_EQ(project->FindOne(ElementType::ModelTargetErs, -1)->GetChildCount(), 1);
    auto* measured = DynamicDowncast<CZuFunc>(project->FindExpEnergyRatioFunc("Front Cabin-L", "Front Door Panel-L"));
    ASSERT_NE(measured, nullptr);
    EXPECT_EQ(measured->DataValue(0), 0.125);

    // A file without the sections removes them.
    const fs::path none = AppTestTempDir() / "none.dmd";
    WriteAll(none, "#CLFs Data\n");
    project->ReadTargetEnergyRatios(none.string());
    project->ReadTransmissionClfs(none.string());
    EXPECT_EQ(project->FindOne(ElementType::ModelTargetErs, -1), nullptr);
    EXPECT_EQ(project->FindOne(ElementType::ExpTargetErs, -1), nullptr);
    EXPECT_EQ(project->FindOne(ElementType::TransmissionClfs, -1), nullptr);
    // A transmission section that does not read adds nothing.
    WriteAll(none, "#Transmission CLFs\n#ZuData\t1\n#Bands\tbroken\n");
    project->ReadTransmissionClfs(none.string());
    EXPECT_EQ(project->FindOne(ElementType::TransmissionClfs, -1), nullptr);
    EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);
}

TEST(ModelProject, DataFileIsReadOnceForTheDataAndItsSections)
{
    // The import works on the text read once: named after a file that is not on disk, the data,
    // the source subsystems, the target energy ratios and the transmission CLFs all arrive, so no
    // part of the import goes back to the file.
    CScriptedPrompts prompts;
    CTALVOProject container;
    CModelProject* project = MakeModel(container);
    ASSERT_NE(project, nullptr);
    container.GetSourceSubsystems().Clear();
    const fs::path gone = AppTestTempDir() / "read-once.dmd";
    ASSERT_FALSE(fs::exists(gone));
    auto text = std::make_shared<const std::string>(ReadAll(kSamples / "sample-model.dmd"));
    ASSERT_EQ(container.ImportModelText(project, gone.string(), text, StatusBarBoxes()), 1) << Shown(prompts);
    EXPECT_EQ(container.GetSourceSubsystems().GetCount(), 3); // the fourth names no subsystem of the model
    EXPECT_NE(project->FindOne(ElementType::ModelTargetErs, -1), nullptr);
    EXPECT_NE(project->FindOne(ElementType::ExpTargetErs, -1), nullptr);
    EXPECT_NE(project->FindOne(ElementType::TransmissionClfs, -1), nullptr);
    EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);

    // A file that cannot be read is named once, with its reason, and adds nothing.
    const int children = project->GetChildCount();
    EXPECT_EQ(container.ImportModelFile(project, gone.string(), StatusBarBoxes()), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7052u);
    EXPECT_EQ(project->GetChildCount(), children);
}

TEST(ModelProject, ElementsFindTheirProjectThroughItsInterfaces)
{
    CTALVOProject container;
    CDaqProject* daq = container.AddDaqProject();
    CAnalysisProject* analysis = container.AddAnalysisProject(nullptr, nullptr);
    analysis->SetDaqProjectID(daq->GetID());
    CMElement* folder = analysis->AddChild(std::make_unique<CMElement>("Results", nullptr, 0));
    CMElement* result = folder->AddChild(std::make_unique<CMElement>("Result", nullptr, 0));
    EXPECT_EQ(result->FindTreeObserver(), static_cast<IElementTreeObserver*>(analysis));
    ASSERT_EQ(IBandSetOwner::FindOwner(result), static_cast<IBandSetOwner*>(analysis));
    EXPECT_EQ(IBandSetOwner::FindOwner(result)->GetOctaveManager(), analysis->GetOctaveManager());
    CModelProject model("Model");
    EXPECT_EQ(IModelProjectLink::Find(model.AddChild(std::make_unique<CMElement>("x", nullptr, 0))),
              static_cast<IModelProjectLink*>(&model));
    EXPECT_EQ(IBandSetOwner::FindOwner(&model), nullptr);
}
