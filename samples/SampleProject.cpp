#include "SampleProject.h"

#include "experiments/DAQConfig.h"
#include "app/AnalysisProject.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOProject.h"
#include "calculation/CalcProjectManager.h"
#include "platform/elements/MElementList.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorInfo.h"
#include "experiments/SensorProject.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "spectral/RPMOptions.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace sample {
namespace {
const char* const kModelDataFile = "sample-model.dmd";
constexpr int kModelKind = 0;         // the vehicle model beside the data file is a ".ntf" text
constexpr float kSensitivity = 10.0f; // mV per m/s²
constexpr double kPulseHigh = 5.0;    // volts of the tacho pulse
constexpr double kPulseDuty = 0.2;    // part of a revolution the pulse is high

double RevolutionsAt(double t)
{
    return (kRpmStart * t + 0.5 * kRpmRate * t * t) / 60.0;
}

bool Fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

CDaqProject* NoDaq(std::string* error, const std::string& why)
{
    Fail(error, why);
    return nullptr;
}

// The description of the run-up as the acquisition files it: the excited structure with both
// accelerometers on channels 0 and 1, the responding cavity without sensors of its own.
CExpInfo MakeDescription()
{
    CExpInfo info;
    info.SetName(0, kExcited);
    info.SetName(1, kResponse);
    CSensorGroup excited;
    for (int c = 0; c < 2; ++c) {
        tagSENSORGROUPMEMBER member;
        member.text = kSensorIds[c];
        member.bundle = 1;
        member.slot = c;
        member.channel = c;
        excited.SetMember(member);
    }
    info.SetSensorGroup(0, excited);
    // The local points measured on each side: both accelerometers of the excited structure take
    // part in its levels; the cavity has none.
    info.SetValue(0, 2.0);
    info.SetValue(1, 0.0);
    info.SetLabel("Run-up");
    info.SetNote(Format("%g to %g RPM", kRpmStart, kRpmStart + kRpmRate * kSeconds));
    return info;
}

// The measured-data tree of the data set: the pulse channel in the RPM signal data and the two
// accelerometers in the excited structure's excitation.
std::unique_ptr<CExpProject> MakeMeasurement(CDaqProject& daq, CDAQExperiment& set, std::string* error)
{
    auto exp = std::make_unique<CExpProject>(kMeasurementName, nullptr, -1);
    exp->SetDAQProject(&daq);
    exp->SetExperiment(&set);
    exp->CreateDefaultChildren();
    CExpDataSet* pulseSet = exp->AddRpmSignalDataSet();
    CExpDataSet* dataSet = exp->AddExcitationDataSet(exp->GetExcitationIndex(kExcited));
    if (!pulseSet || !dataSet || pulseSet->GetChildCount() != 1 || dataSet->GetChildCount() != 2) {
        Fail(error, "the channel records of the run-up could not be made");
        return nullptr;
    }
    const int n = SampleCount();
    auto* pulse = ElementCast<CExpData>(pulseSet->GetChild(0));
    pulse->SetSampleCount(n);
    float* x = pulse->GetData();
    for (int i = 0; i < n; ++i)
        x[i] = PulseSample(i);
    for (int c = 0; c < 2; ++c) {
        auto* data = ElementCast<CExpData>(dataSet->GetChild(c));
        data->SetSampleCount(n);
        float* y = data->GetData();
        for (int i = 0; i < n; ++i)
            y[i] = OrderSample(c, i);
    }
    return exp;
}
} // namespace

int SampleCount()
{
    return static_cast<int>(kSeconds * kSamplingFrequency);
}

float PulseSample(int i)
{
    const double revolutions = RevolutionsAt(i / double(kSamplingFrequency));
    return revolutions - std::floor(revolutions) < kPulseDuty ? static_cast<float>(kPulseHigh) : 0.0f;
}

float OrderSample(int c, int i)
{
    const double phase = 2.0 * std::numbers::pi * RevolutionsAt(i / double(kSamplingFrequency));
    const auto k = static_cast<size_t>(c);
    return static_cast<float>(kAmplitudes[k] * std::sin(kOrders[k] * phase));
}

bool Build(CTALVODoc& doc, const std::filesystem::path& sampleFolder, const std::string& projectFile,
           std::string* error)
{
    if (!doc.NewProjectFromModelFile(projectFile, kModelKind, (sampleFolder / kModelDataFile).string(), error))
        return false;
    CDaqProject* daq = AddMeasuredRunUp(doc, error);
    if (!daq)
        return false;

    // The analysis runs over the RPMs the run-up passed through with whole blocks of samples.
    CRPMOptions rpm;
    rpm.SetRange(static_cast<float>(kRpmStart), static_cast<float>(kAnalysisRpmMax), 50.0f);
    if (!doc.AddRpmAnalysisProject(&rpm, daq, doc.GetTALVOProject().GetOctaveManager()))
        return Fail(error, "the analysis project could not be made");
    return doc.OnSaveDocument(projectFile, error);
}

CDaqProject* AddMeasuredRunUp(CTALVODoc& doc, std::string* error)
{
    CTALVOProject& container = doc.GetTALVOProject();

    // The sensors of the catalogue that the run-up was measured with.
    for (const char* id : kSensorIds) {
        tagSENSORINFO sensor;
        sensor.ID = id;
        sensor.Manufacturer = "Sample";
        sensor.ChannelInfo.DataType = SENSOR_DATATYPE_ACCELERATION;
        sensor.ChannelInfo.Sensitivity = kSensitivity;
        if (!container.GetSensorProject()->FindSensor(id) && !container.GetSensorProject()->AddSensor(sensor))
            return NoDaq(error, Format("the sensor %s could not be added", id));
    }

    CDaqProject* daq = doc.NewDaqProject();
    if (!daq)
        return NoDaq(error, "the DAQ project could not be made");
    daq->GetDAQConfig()->SetSamplingFreq(kSamplingFrequency);
    // The acquisition's RPM range is the run-up's.
    daq->GetDAQConfig()->SetRpmLow(static_cast<int>(kRpmStart));
    daq->GetDAQConfig()->SetRpmHigh(static_cast<int>(kRpmStart + kRpmRate * kSeconds));

    CExpInfo description = MakeDescription();
    std::vector<CDAQExperiment*> sets;
    if (!daq->AddMeasuredData({&description}, sets) || sets.size() != 1)
        return NoDaq(error, Format("the model has no pair %s / %s to file the run-up under", kExcited, kResponse));
    CDAQExperiment* set = sets[0];
    set->SetUseFlag(1);
    auto measurement = MakeMeasurement(*daq, *set, error);
    if (!measurement)
        return nullptr;
    // The measured-data tree hangs below its data set, so the project file carries the samples.
    CExpProject* tree = set->AddChild(std::move(measurement));
    daq->NotifyChildAdded(tree);
    // The spectra over RPM that the analysis reads, filed into the data set as the acquisition's
    // recalculation leaves them.
    CMElementList functions;
    if (CCalcProjectManager::BuildCalcDataList(*tree, functions) != 1)
        return NoDaq(error, "the spectra of the run-up could not be calculated");
    set->AddFuncs(functions);
    functions.Clear(1);
    return daq;
}
} // namespace sample
