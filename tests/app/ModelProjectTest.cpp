// The model project made from the sample model and a model data text file: the subsystem look-ups,
// the optional sections of the file, the model data kinds and the compatibility check.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProjectTestEnv.h"
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
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuStdData.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/modeldb/ModelData.h"
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
CModelProject* MakeModel(CTALVOProject& container, const fs::path& folder)
{
    // Entry 0 is made the way the container makes it, without reading a data file.
    CModelProject* project = container.CreateModelProjectFromFile(0, (kSamples / "sample-model.dmd").string());
    if (project)
        while (project->GetChildCount() > 1)
            project->DeleteChild(project->GetChildCount() - 1);
    (void)folder;
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
    CModelProject* project = container.CreateModelProjectFromFile(0, (kSamples / "sample-model.dmd").string());
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
    auto* clfs = DynamicDowncast<CHSEAGeneralData>(project->FindOne(MODEL_TYPE_CLF, 1));
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
    auto* transmission = DynamicDowncast<CHSEAGeneralData>(project->FindOne(MODEL_TYPE_TRANSMISSION_CLFS, 1));
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
    EXPECT_EQ(project->FindExpEnergyRatioFunc("Front Cabin-L", "Dash-C"), project->FindExpEnergyRatioFunc("Front Cabin-R", "Dash-C"));

    // SEA model data by serial number.
    CASEAModelData* model = project->GetASEAModelData();
    EXPECT_EQ(project->FindSEAModelData(static_cast<int>(model->GetSerialNumber()), 1), model);
    EXPECT_EQ(prompts.Count(), 0u) << Shown(prompts);
    EXPECT_EQ(project->FindSEAModelData(-5, 1), nullptr);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 7100u);
    EXPECT_NE(prompts.Last().text.find("-5"), std::string::npos);
    EXPECT_EQ(project->ApplyModelUpdate("Front Cabin-R", sources), 0); // no Hybrid SEA model
}
