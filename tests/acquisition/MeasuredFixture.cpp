#include "MeasuredFixture.h"

#include "common/WorkFolder.h"
#include "experiments/DAQConfig.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"

#include <gtest/gtest.h>

#include <unistd.h>

CMeasuredFixture::CMeasuredFixture() : own(std::make_unique<CTALVOProject>()), container(*own)
{
    Build();
}

CMeasuredFixture::CMeasuredFixture(CTALVOProject& documentProject) : container(documentProject)
{
    Build();
}

void CMeasuredFixture::Build()
{
    static int counter = 0;
    dir = std::filesystem::temp_directory_path() /
          ("orvex_daq_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    container.SetDocumentPath((dir / "project.orv").string());
    const auto model = std::filesystem::path(ORVEX_SOURCE_DIR) / "samples" / "sample-model.dmd";
    EXPECT_NE(container.CreateModelProjectFromFile(0, model.string()), nullptr);
    const CZuSubsystemTable* table = container.GetModelSubsystemTable();
    for (int i = 0; table && i < table->GetCount(); ++i) {
        if (structure.empty() && container.IsStructure((*table)[i]))
            structure = (*table)[i];
        else if (response.empty() && structure != (*table)[i])
            response = (*table)[i];
    }
    container.SetTargetSubsystem(response);
    daq = container.AddDaqProject();
    daq->GetDAQConfig()->SetSamplingFreq(kFs);
    for (int i = 1; i <= 16; ++i) {
        tagSENSORINFO info;
        info.ID = Format("S%d", i);
        info.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
        info.ChannelInfo.Sensitivity = 10.0f;
        info.ChannelInfo.Scale = 1.0f;
        EXPECT_NE(container.GetSensorProject()->AddSensor(info), nullptr);
    }
}

CMeasuredFixture::~CMeasuredFixture()
{
    std::error_code ec;
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(dir, ec);
}

std::string CMeasuredFixture::WorkFolder() const
{
    return GetWorkFolderPath(&container);
}

CDAQExperiment* CMeasuredFixture::AddDataSet(const std::string& description, int channels)
{
    CExpInfo info;
    info.SetName(0, structure);
    info.SetName(1, response);
    CSensorGroup excited;
    for (int c = 0; c < channels; ++c)
        excited.SetMember({Format("S%d", c + 1), 1, c, c, 0});
    info.SetSensorGroup(0, excited);
    CSensorGroup responding;
    responding.SetMember({"S1", 2, 0, 0, 0});
    info.SetSensorGroup(1, responding);
    info.SetLabel("Run-up " + description);
    CDAQExperiment* set = daq->AddDataSet(info);
    if (set)
        set->SetDescription(description);
    return set;
}

std::unique_ptr<CExpProject> CMeasuredFixture::MakeMeasurement(CDAQExperiment* set, int channels, int samples, int seed)
{
    auto exp = std::make_unique<CExpProject>("Measurement", nullptr, -1);
    exp->SetDAQProject(daq);
    exp->SetExperiment(set);
    exp->CreateDefaultChildren();
    CExpDataSet* pulseSet = exp->AddRpmSignalDataSet();
    CExpDataSet* dataSet = exp->AddExcitationDataSet(exp->GetExcitationIndex(structure));
    EXPECT_NE(pulseSet, nullptr);
    EXPECT_NE(dataSet, nullptr);
    if (!pulseSet || !dataSet)
        return exp;
    EXPECT_EQ(dataSet->GetChildCount(), channels);
    auto fill = [&](CExpData* data, int salt) {
        data->SetSampleCount(samples);
        float* x = data->GetData();
        for (int i = 0; i < samples; ++i)
            x[i] = static_cast<float>(((i * 2654435761u + salt * 97u + seed * 7919u) % 65536u)) / 65536.0f - 0.5f;
    };
    fill(ElementCast<CExpData>(pulseSet->GetChild(0)), 0);
    for (int c = 0; c < dataSet->GetChildCount(); ++c)
        fill(ElementCast<CExpData>(dataSet->GetChild(c)), c + 1);
    return exp;
}

void ExpectSameTree(const CMElement& a, const CMElement& b)
{
    ASSERT_EQ(a.GetName(), b.GetName());
    ASSERT_EQ(a.GetType(), b.GetType());
    ASSERT_EQ(a.GetChildCount(), b.GetChildCount()) << a.GetName();
    const auto* da = DynamicDowncast<CExpData>(&a);
    const auto* db = DynamicDowncast<CExpData>(&b);
    ASSERT_EQ(da == nullptr, db == nullptr);
    if (da) {
        EXPECT_TRUE(da->GetSamples() == db->GetSamples()) << a.GetName();
        tagSENSORINFO sa, sb;
        da->GetSensorInfo(sa);
        db->GetSensorInfo(sb);
        EXPECT_EQ(sa, sb);
    }
    for (int i = 0; i < a.GetChildCount(); ++i)
        ExpectSameTree(*a.GetChild(i), *b.GetChild(i));
}
