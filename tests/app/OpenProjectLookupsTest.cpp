// The shared utilities' look-ups as the application installs them: they answer from the project
// that is open and give their absent values once it is closed or the look-ups are taken away.
#include "ProjectTestEnv.h"

#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "common/AppLookups.h"
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

Answers Ask()
{
    Answers a;
    a.roofMass = GetSubsystemParamByName("Roof");
    a.roofFlexuralMass = GetSubsystemParamByName("Roof-F");
    a.cabinVolume = GetSubsystemParamByName("Front Cabin-L-");
    a.unknownParam = GetSubsystemParamByName("No Such Panel");
    a.channels = GetSystemChannelCount();
    a.roofPoint = FormatSubsystemLPName("Roof", 2);
    a.unknownPoint = FormatSubsystemLPName("No Such Panel", 0);
    a.sensitivity = GetSensorSensitivityByID("MIC-1");
    a.unknownSensitivity = GetSensorSensitivityByID("MIC-2");
    a.assignedRow = AddToSensorAssignment("Roof", "MIC-1");
    a.unknownRow = AddToSensorAssignment("No Such Panel", "MIC-1");
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

struct LookupsScope
{
    LookupsScope() { GetTALVOApp().InstallAppLookups(); }
    ~LookupsScope()
    {
        SetAppLookups({});
        GetTALVOApp().SetMainDocument(nullptr);
    }
};
} // namespace

TEST(OpenProjectLookups, AnswerFromTheOpenSampleProjectAndNothingAfterClose)
{
    CRecordingMessageTarget quiet;
    CMainWindowTargetScope target(&quiet);
    LookupsScope scope;
    ExpectAbsent(Ask()); // installed, but no project is open

    CTALVODoc doc;
    const std::string file = (AppTestTempDir() / "lookups" / "lookups.orv").string();
    std::string error;
    ASSERT_TRUE(doc.NewProjectFromModelFile(file, 0, (kSamples / "sample-model.dmd").string(), &error)) << error;
    ASSERT_EQ(GetTALVOApp().GetMainDocument(), &doc);
    CTALVOProject& container = doc.GetTALVOProject();
    CModelProject* model = container.GetModelProject();
    ASSERT_NE(model, nullptr);
    CDaqProject* daq = container.AddDaqProject();

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

    const Answers open = Ask();
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

    // A new channel count reaches the container and its DAQ projects.
    SetSystemChannelCount(24);
    EXPECT_EQ(container.GetSystemChannelCount(), 24);
    EXPECT_EQ(daq->GetMaxChannel(), 24);
    EXPECT_EQ(GetSystemChannelCount(), 24);

    doc.OnCloseDocument();
    ASSERT_EQ(GetTALVOApp().GetMainDocument(), nullptr);
    ExpectAbsent(Ask());
    SetSystemChannelCount(8); // nobody to tell: nothing happens, nothing breaks
    EXPECT_EQ(GetSystemChannelCount(), 0);
}

TEST(OpenProjectLookups, TakenAwayTheyNoLongerReachAnOpenProject)
{
    CRecordingMessageTarget quiet;
    CMainWindowTargetScope target(&quiet);
    LookupsScope scope;
    CTALVODoc doc;
    const std::string file = (AppTestTempDir() / "lookups2" / "lookups2.orv").string();
    std::string error;
    ASSERT_TRUE(doc.NewProjectFromModelFile(file, 0, (kSamples / "sample-model.dmd").string(), &error)) << error;
    EXPECT_DOUBLE_EQ(GetSubsystemParamByName("Roof"), 14.8);

    SetAppLookups({});
    ASSERT_EQ(GetTALVOApp().GetMainDocument(), &doc);
    ExpectAbsent(Ask());
    SetSystemChannelCount(8);
    EXPECT_EQ(doc.GetTALVOProject().GetSystemChannelCount(), CTALVOProject::kDefaultChannelCount);
    doc.OnCloseDocument();
}
