#include "PlanFixture.h"

#include "experiments/SensorInfo.h"
#include "experiments/SensorProject.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/StringTable.h"

#include <gtest/gtest.h>

#include <unistd.h>

CPlanFixture::CPlanFixture(int channels)
{
    EXPECT_TRUE(LoadLanguageStrings(9));
    static int counter = 0;
    dir = std::filesystem::temp_directory_path() /
          ("orvex_plan_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    project.SetDocumentPath((dir / "project.orv").string());
    const auto model = std::filesystem::path(ORVEX_SOURCE_DIR) / "samples" / "sample-model.dmd";
    EXPECT_NE(project.CreateModelProjectFromFile(0, model.string()), nullptr);
    project.SetMaxChannel(channels);
    // A new project has its first group (number 0) already.
    CQMXBlixList* group = project.GetBlixLists().GetAt(0);
    EXPECT_NE(group, nullptr);
    for (int s = 0; group && s < (channels + 7) / 8; ++s)
        for (int u = 0; u < 4; ++u)
            group->SetUnitName(s, u, Format("%05d", s * 4 + u + 1));
    project.GetSensorMapList()->SetUnitGroups(project.GetBlixLists().Pointers());
    for (int i = 1; i <= 70; ++i) {
        tagSENSORINFO info;
        info.ID = Format("S%d", i);
        info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
        info.ChannelInfo.Sensitivity = 10.0f;
        EXPECT_NE(project.GetSensorProject()->AddSensor(info), nullptr);
    }
    for (int i = 1; i <= 4; ++i) {
        tagSENSORINFO info;
        info.ID = Format("M%d", i);
        info.ChannelInfo.DataType = SENSOR_DATATYPE_PRESSURE;
        info.ChannelInfo.Sensitivity = 50.0f;
        EXPECT_NE(project.GetSensorProject()->AddSensor(info), nullptr);
    }
}

CPlanFixture::~CPlanFixture()
{
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

void CPlanFixture::Assign(const std::string& subsystem, const std::vector<std::string>& sensors)
{
    CSensorAssignment& a = *project.GetSensorAssignment();
    int row = a.FindRow(subsystem);
    ASSERT_GE(row, 0) << subsystem;
    a.SetItemCount(row, static_cast<int>(sensors.size()));
    for (size_t k = 0; k < sensors.size(); ++k)
        a.SetItem(row, static_cast<int>(k), sensors[k]);
}

std::string CPlanFixture::Structure(int k) const
{
    const CZuSubsystemTable* table = project.GetModelSubsystemTable();
    for (int i = 0; table && i < table->GetCount(); ++i)
        if (project.IsStructure(table->At(i)) && k-- == 0)
            return table->At(i);
    return {};
}

std::string CPlanFixture::Cavity(int k) const
{
    const CZuSubsystemTable* table = project.GetModelSubsystemTable();
    for (int i = 0; table && i < table->GetCount(); ++i)
        if (!project.IsStructure(table->At(i)) && k-- == 0)
            return table->At(i);
    return {};
}
