// The measured-data services of the program: the sensor window's copy into measured data (command
// 1239) rewrites the data sets' measurement files through the recalculation's file update, and a
// file that cannot be written is reported with the writer's message, never as done.
#include "../../acquisition/MeasuredFixture.h"

#include "acquisition/DAQIO.h"
#include "acquisition/ui/DlgDataViewRpmSetting.h"
#include "app/TALVODoc.h"
#include "platform/ui/DlgProgress.h"
#include "app/ui/MeasuredDataServices.h"
#include "experiments/ExpData.h"
#include "experiments/Sensor.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/SensorCommands.h"
#include "experiments/ui/SensorDoc.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "spectral/RPMOptions.h"
#include "platform/win/StringTable.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The sensitivity stored in the file for the channels of a sensor; -1 when none has it.
float StoredSensitivity(CDAQExperiment* set, const std::string& sensorId)
{
    CDAQIO reader(set);
    auto read = reader.LoadOne(set);
    if (!read)
        return -1.0f;
    CMElementList channels;
    read->Find(RUNTIME_CLASS(CExpData), channels);
    for (CMElement* e : channels) {
        tagSENSORINFO stored;
        if (DynamicDowncast<CExpData>(e)->GetSensorInfo(stored) && stored.ID == sensorId)
            return stored.ChannelInfo.Sensitivity;
    }
    return -1.0f;
}

} // namespace

TEST(MeasuredDataServices, SensorPushRewritesTheMeasurementFilesAndReportsAFailedOne)
{
    ASSERT_TRUE(LoadLanguageStrings(9));
    CTALVODoc document;
    CMeasuredFixture f(document.GetTALVOProject());
    f.daq->SetType(0);
    CDAQExperiment* a = f.AddDataSet("A");
    CDAQExperiment* b = f.AddDataSet("B");
    auto baseA = f.MakeMeasurement(a, 2, 256, 1);
    auto baseB = f.MakeMeasurement(b, 2, 256, 2);
    ASSERT_EQ(CDAQIO(a).SaveAll(baseA.get()), 1);
    ASSERT_EQ(CDAQIO(b).SaveAll(baseB.get()), 1);
    ASSERT_FLOAT_EQ(StoredSensitivity(a, "S2"), 10.0f);

    CSensorDoc::SetMeasuredDataSaver({});
    CSensorDoc sensors(f.container.GetSensorProject(), &document);
    EXPECT_FALSE(sensors.IsCommandEnabled(ID_SENSOR_PUSH));
    InstallMeasuredDataServices();
    EXPECT_TRUE(sensors.IsCommandEnabled(ID_SENSOR_PUSH));

    CSensor* sensor = f.container.GetSensorProject()->FindSensor("S2");
    ASSERT_NE(sensor, nullptr);
    tagSENSORINFO info = sensor->GetSensorInfo();
    info.ChannelInfo.Sensitivity = 20.0f;
    sensor->SetSensorInfo(info);

    // Both files take the new calibration; the run ends with the completion message.
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDYES).Answer(IDOK);
        EXPECT_TRUE(sensors.OnCommand(ID_SENSOR_PUSH));
        EXPECT_EQ(prompts.Last().stringId, 6324u);
        EXPECT_EQ(prompts.Unexpected(), 0u);
    }
    EXPECT_FLOAT_EQ(StoredSensitivity(a, "S2"), 20.0f);
    EXPECT_FLOAT_EQ(StoredSensitivity(b, "S2"), 20.0f);
    // The progress dialog of the run is gone again.
    EXPECT_EQ(CDlgProgress::GetInstance(), nullptr);

    // A read-only file: the writer's failure is listed, then reported as the command's failure,
    // and the file keeps what it held.
    info.ChannelInfo.Sensitivity = 30.0f;
    sensor->SetSensorInfo(info);
    const std::string pathB = CDAQIO::GetDaqFilePath(b);
    const std::string savedB = ReadAll(pathB);
    std::filesystem::permissions(pathB, std::filesystem::perms::owner_read);
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDYES).Answer(IDOK).Answer(IDOK);
        EXPECT_TRUE(sensors.OnCommand(ID_SENSOR_PUSH));
        const auto records = prompts.Records();
        ASSERT_EQ(records.size(), 3u);
        EXPECT_EQ(records[1].text.rfind("#### FAILED TO SAVE DAQ FILE ###\n[5]", 0), 0u) << records[1].text;
        EXPECT_NE(records[2].stringId, 6324u);
        EXPECT_NE(records[2].text.find(CDAQIO::GetDaqFileName(b)), std::string::npos) << records[2].text;
    }
    EXPECT_EQ(ReadAll(pathB), savedB);
    EXPECT_FLOAT_EQ(StoredSensitivity(a, "S2"), 30.0f);
    CSensorDoc::SetMeasuredDataSaver({});
}

TEST(MeasuredDataServices, AveragingAsksForItsRpmAxisInTheRpmSettingDialog)
{
    ASSERT_TRUE(LoadLanguageStrings(9));
    InstallMeasuredDataServices();
    CDaqProject project;
    CRPMOptions options;
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& d) {
        auto& setting = static_cast<CDlgDataViewRpmSetting&>(d);
        setting.Edit(CDlgDataViewRpmSetting::IDC_MIN)->setText("1500");
        setting.Edit(CDlgDataViewRpmSetting::IDC_STEP)->setText("250");
        return setting.PressOK();
    });
    EXPECT_TRUE(project.EditRpmOptions(options));
    EXPECT_EQ(options.GetRpmMin(), 1500.0f);
    EXPECT_EQ(options.GetRpmStep(), 250.0f);
    dialogs.PressCancel();
    EXPECT_FALSE(project.EditRpmOptions(options));
    ASSERT_EQ(dialogs.Records().size(), 2u);
    EXPECT_EQ(dialogs.Records()[0].templateId, CDlgDataViewRpmSetting::IDD);
}
