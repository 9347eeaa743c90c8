// The shared utilities' look-ups and the spectrum tables' display options as the data find them:
// through their owners, so each container answers for its own elements, also beside another one.
#include "ProjectTestEnv.h"

#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "app/AnalysisProject.h"
#include "common/ProjectLookups.h"
#include "models/HSEAOptions.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/BandSetOwner.h"
#include "spectral/OrderBand.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "experiments/SensorProject.h"
#include "planning/SensorAssignment.h"
#include "platform/win/MessageTarget.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
const std::filesystem::path kSamples = std::filesystem::path(ORVEX_SOURCE_DIR) / "samples";

// What every look-up answers, taken in one go so the open and closed states compare as a whole.
struct Answers
{
    double roofMass = 0.0;
    double roofFlexuralMass = 0.0;
    double cabinVolume = 0.0;
    double unknownParam = 0.0;
    int channels = 0;
    std::string roofPoint;
    std::string unknownPoint;
    float sensitivity = 0.0f;
    float unknownSensitivity = 0.0f;
    int assignedRow = 0;
    int unknownRow = 0;
};

Answers Ask(IProjectLookups* p)
{
    Answers a;
    a.roofMass = GetSubsystemParamByName(p, "Roof");
    a.roofFlexuralMass = GetSubsystemParamByName(p, "Roof-F");
    a.cabinVolume = GetSubsystemParamByName(p, "Front Cabin-L-");
    a.unknownParam = GetSubsystemParamByName(p, "No Such Panel");
    a.channels = GetSystemChannelCount(p);
    a.roofPoint = FormatSubsystemLPName(p, "Roof", 2);
    a.unknownPoint = FormatSubsystemLPName(p, "No Such Panel", 0);
    a.sensitivity = GetSensorSensitivityByID(p, "MIC-1");
    a.unknownSensitivity = GetSensorSensitivityByID(p, "MIC-2");
    a.assignedRow = AddToSensorAssignment(p, "Roof", "MIC-1");
    a.unknownRow = AddToSensorAssignment(p, "No Such Panel", "MIC-1");
    return a;
}

void ExpectAbsent(const Answers& a)
{
    EXPECT_EQ(a.roofMass, 0.0);
    EXPECT_EQ(a.roofFlexuralMass, 0.0);
    EXPECT_EQ(a.cabinVolume, 0.0);
    EXPECT_EQ(a.unknownParam, 0.0);
    EXPECT_EQ(a.channels, 0);
    EXPECT_EQ(a.roofPoint, "Roof:03");
    EXPECT_EQ(a.unknownPoint, "No Such Panel:01");
    EXPECT_EQ(a.sensitivity, 0.0f);
    EXPECT_EQ(a.unknownSensitivity, 0.0f);
    EXPECT_EQ(a.assignedRow, -1);
    EXPECT_EQ(a.unknownRow, -1);
}

} // namespace

TEST(OpenProjectLookups, TheContainerAnswersForTheElementsOfItsTrees)
{
    CRecordingMessageTarget quiet;
    CMainWindowTargetScope target(&quiet);
    ExpectAbsent(Ask(nullptr)); // an element outside any container

    CTALVODoc doc;
    const std::string file = (AppTestTempDir() / "lookups" / "lookups.orv").string();
    std::string error;
    ASSERT_TRUE(doc.NewProjectFromModelFile(file, 0, (kSamples / "sample-model.dmd").string(), &error)) << error;
    CTALVOProject& container = doc.GetTALVOProject();
    CModelProject* model = container.GetModelProject();
    ASSERT_NE(model, nullptr);
    CDaqProject* daq = container.AddDaqProject();
    CMElement* deep = daq->AddChild(std::make_unique<CMElement>("Folder", nullptr, -1));
    ASSERT_EQ(IProjectLookups::FindOwner(deep), &container);
    ASSERT_EQ(IProjectLookups::FindOwner(container.GetSensorProject()), &container);
    EXPECT_EQ(container.GetDocumentPath(), file);

    // The roof shows under a display name of its own; a microphone of 50 mV/Pa.
    CZuSubsystemTable& names = model->GetDisplayNameTable();
    names = model->GetSubsystemTable();
    const int roofIndex = names.GetIndex("Roof");
    ASSERT_GE(roofIndex, 0);
    names.SetAt(roofIndex, "Roof Panel");
    SensorDialogValues mic;
    mic.id = "MIC-1";
    mic.unitChoice = 2;
    mic.sensitivity = 50.0f;
    ASSERT_NE(container.GetSensorProject()->AddSensor(mic), nullptr);
    CSensorAssignment* assignment = container.GetSensorAssignment();
    const int roofRow = assignment->FindRow("Roof");
    ASSERT_GE(roofRow, 0);
    const int itemsBefore = assignment->GetItemCount(roofRow);

    const Answers open = Ask(IProjectLookups::FindOwner(deep));
    // The sample model's masses and volumes, with or without the wave-type mark (the roof's mass
    // as its companion data refine it).
    EXPECT_DOUBLE_EQ(open.roofMass, 14.8);
    EXPECT_DOUBLE_EQ(open.roofFlexuralMass, 14.8);
    EXPECT_DOUBLE_EQ(open.cabinVolume, 0.95);
    EXPECT_EQ(open.unknownParam, 0.0);
    EXPECT_EQ(open.channels, container.GetSystemChannelCount());
    EXPECT_EQ(open.channels, CTALVOProject::kDefaultChannelCount);
    EXPECT_EQ(open.roofPoint, "Roof Panel:03");
    EXPECT_EQ(open.unknownPoint, "No Such Panel:01");
    EXPECT_FLOAT_EQ(open.sensitivity, 50.0f);
    EXPECT_EQ(open.unknownSensitivity, 0.0f);
    EXPECT_EQ(open.assignedRow, roofRow);
    EXPECT_EQ(open.unknownRow, -1);
    ASSERT_EQ(assignment->GetItemCount(roofRow), itemsBefore + 1);
    EXPECT_EQ(assignment->GetItem(roofRow, itemsBefore), "MIC-1");

    // A new channel count reaches the container, its DAQ projects and its sensor groups' limit.
    SetSystemChannelCount(IProjectLookups::FindOwner(deep), 24);
    EXPECT_EQ(container.GetSystemChannelCount(), 24);
    EXPECT_EQ(daq->GetMaxChannel(), 24);
    EXPECT_EQ(container.GetSensorProject()->GetChannelCount(), 24);
    doc.OnCloseDocument();
}

// Two containers open side by side: the document's and a second one (as an import or a test holds
// it). Each element shows values as its own container says and looks orders up in its own
// project's band set, whichever document the application calls its main one.
TEST(OpenProjectLookups, TwoContainersSideBySideEachUseTheirOwnBandsAndDisplayOptions)
{
    CRecordingMessageTarget quiet;
    CMainWindowTargetScope target(&quiet);
    CTALVODoc doc;
    const std::string model = (kSamples / "sample-model.dmd").string();
    std::string error;
    ASSERT_TRUE(doc.NewProjectFromModelFile((AppTestTempDir() / "side" / "side.orv").string(), 0, model, &error))
        << error;
    ASSERT_EQ(GetTALVOApp().GetMainDocument(), &doc);
    CTALVOProject& first = doc.GetTALVOProject();
    CTALVOProject second;
    ASSERT_NE(second.CreateModelProjectFromFile(0, model), nullptr);

    first.GetHSEAOptions().HSS_ShowDataInDB = 1;
    first.GetHSEAOptions().WeightingFilter = 1;
    second.GetHSEAOptions().HSS_ShowDataInDB = 0;
    second.GetHSEAOptions().WeightingFilter = 0;
    const COctaveManagerEx octaves(OCTAVE_BAND_FULL, 63.0, 8000.0);
    const COctaveManagerEx thirds(OCTAVE_BAND_THIRD, 100.0, 10000.0);
    CAnalysisProject* analysisA = first.AddAnalysisProject(nullptr, &octaves);
    CAnalysisProject* analysisB = second.AddAnalysisProject(nullptr, &thirds);
    ASSERT_TRUE(analysisA && analysisB);

    const double freqs[] = {100.0, 125.0};
    const double rpms[] = {3000.0};
    CZuRpmFunc* mapA = analysisA->AddChild(CZuRpmFunc::NewRpmFunc("SPL", 3, nullptr, "Roof-F", freqs, 2, rpms, 1));
    CZuRpmFunc* mapB = analysisB->AddChild(CZuRpmFunc::NewRpmFunc("SPL", 3, nullptr, "Roof-F", freqs, 2, rpms, 1));
    ASSERT_TRUE(mapA && mapB);
    EXPECT_EQ(SpectrumShowInDB(mapA), 1);
    EXPECT_EQ(SpectrumAWeighting(mapA), 1);
    EXPECT_EQ(SpectrumShowInDB(mapB), 0);
    EXPECT_EQ(SpectrumAWeighting(mapB), 0);
    EXPECT_EQ(SpectrumIsStructure(mapB, "Front Door Panel-L"), 1);
    EXPECT_EQ(SpectrumIsStructure(mapB, "Front Cabin-L"), 0);
    for (CZuRpmFunc* map : {mapA, mapB}) {
        map->SetAxisFlag(1);
        map->DataValue(0, 0) = 0.01;
    }
    EXPECT_NE(mapA->GetTableCellData(1, 1, 0, 3), mapB->GetTableCellData(1, 1, 0, 3));

    // Order maps read the band set of their own analysis project: order 2 at 3000 RPM is 100 Hz,
    // the octave band of 125 Hz in the first and the third-octave band of 100 Hz in the second.
    const std::vector<double> orders{2.0};
    const double bandFreqs[] = {100.0};
    CZuOTFunc* otA =
        analysisA->AddChild(CZuOTFunc::BuildOTFunc("OT", 3, nullptr, "Roof-F", bandFreqs, 1, rpms, 1, orders, 1.0f));
    CZuOTFunc* otB =
        analysisB->AddChild(CZuOTFunc::BuildOTFunc("OT", 3, nullptr, "Roof-F", bandFreqs, 1, rpms, 1, orders, 1.0f));
    ASSERT_TRUE(otA && otB);
    ASSERT_EQ(otA->GetOctaveManager(), analysisA->GetOctaveManager());
    ASSERT_EQ(otB->GetOctaveManager(), analysisB->GetOctaveManager());
    EXPECT_EQ(otA->GetOctaveManager()->GetFreqCount(), octaves.GetFreqCount());
    EXPECT_EQ(otB->GetOctaveManager()->GetFreqCount(), thirds.GetFreqCount());
    EXPECT_EQ(GetOrderBandIndexInt(3000.0, 2.0, 1.0, otA->GetOctaveManager()), octaves.FindBand(100.0));
    EXPECT_EQ(GetOrderBandIndexInt(3000.0, 2.0, 1.0, otB->GetOctaveManager()), thirds.FindBand(100.0));
    EXPECT_NE(octaves.FindBand(100.0), thirds.FindBand(100.0));

    // The shared look-ups answer for each container's own elements.
    second.SetSystemChannelCount(32);
    EXPECT_EQ(GetSystemChannelCount(IProjectLookups::FindOwner(mapA)), CTALVOProject::kDefaultChannelCount);
    EXPECT_EQ(GetSystemChannelCount(IProjectLookups::FindOwner(mapB)), 32);

    // Only the document's container reaches the project window; the second tells nobody.
    EXPECT_EQ(first.GetSite(), &doc);
    EXPECT_EQ(second.GetSite(), nullptr);
    doc.OnCloseDocument();
}
