#include "CalcTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/Excitation.h"
#include "experiments/RPMSignalData.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmFunc.h"

namespace {
class CStringsEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        SetStringTableFolder(std::string(ORVEX_SOURCE_DIR) + "/resources/lang");
        LoadLanguageStrings(LANG_ENGLISH);
    }
};
[[maybe_unused]] ::testing::Environment* const kStrings = ::testing::AddGlobalTestEnvironment(new CStringsEnvironment);
} // namespace

void SetStringOption(uint32_t stringId, uint32_t value)
{
    CZuRegOptions reg(GetOptionsKeyPath().c_str());
    ASSERT_TRUE(reg.Open());
    ASSERT_TRUE(reg.SetDWORD(LoadString(stringId).c_str(), value));
}

CZuRpmFunc* CStubExperiment::FindRpmFuncByName(const std::string& name) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* f = ElementCast<CZuRpmFunc>(GetChild(i)); f && f->GetName() == name)
            return f;
    return nullptr;
}

CMultiVectorFunction* CStubExperiment::FindMultiVecFuncByName(const std::string& name) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* f = ElementCast<CMultiVectorFunction>(GetChild(i)); f && f->GetName() == name)
            return f;
    return nullptr;
}

CMeasurement::CMeasurement()
{
    daq.config.SetSamplingFreq(kFs);
    experiment.info.SetName(0, "Panel-A");
    experiment.info.SetName(1, "Panel-B");
    for (const char* name : {"Panel-A", "Panel-B"}) {
        CSubsystemLPInfo points(8);
        points.SetName(name);
        experiment.options.GetSubsystemLPInfoList().Add(points);
    }
    project = std::make_unique<CExpProject>("Measurement", nullptr, -1);
    project->SetDAQProject(&daq);
    project->SetExperiment(&experiment);
    project->CreateDefaultChildren();
}

namespace {
std::vector<float> Sampled(const std::function<double(double)>& signal, double seconds)
{
    std::vector<float> x(static_cast<size_t>(seconds * CMeasurement::kFs));
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<float>(signal(double(i) / CMeasurement::kFs));
    return x;
}
} // namespace

CExpDataSet* CMeasurement::AddPulse(const std::function<double(double)>& revolutionsAt, double seconds)
{
    CExpDataSet* set = project->GetRPMSignalData()->AddDataSet();
    auto* pulse = set->AddChild(std::make_unique<CExpData>("RPM", set, ElementType::RpmSignal));
    const std::vector<float> x =
        Sampled([&](double t) { return std::sin(6.28318530717959 * revolutionsAt(t)); }, seconds);
    pulse->SetSamplingFrequency(kFs);
    pulse->SetSamples(x.data(), static_cast<int>(x.size()));
    return set;
}

CExpData* CMeasurement::AddChannel(const std::string& excitation, CExpDataSet* set, const std::string& name,
                                   int localPoint, int dataType, int unit, const std::function<double(double)>& signal,
                                   double seconds)
{
    if (!set)
        set = project->FindExcitation(excitation)->AddDataSet();
    auto* data = set->AddChild(std::make_unique<CExpData>(name, set, ElementType::StructureChannel));
    const std::vector<float> x = Sampled(signal, seconds);
    data->SetSamplingFrequency(kFs);
    data->SetLocalPointNumber(localPoint);
    data->SetSamples(x.data(), static_cast<int>(x.size()));
    tagSENSORINFO sensor;
    sensor.ID = name;
    sensor.ChannelInfo.DataType = dataType;
    sensor.ChannelInfo.Unit = unit;
    data->ReplaceSensorInfo(sensor);
    return data;
}
