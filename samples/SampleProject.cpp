#include "SampleProject.h"

#include "acquisition/BlixChDB.h"
#include "acquisition/DAQIO.h"
#include "app/InputPowerSets.h"
#include "app/ModelDataText.h"
#include "models/ASEAModelData.h"
#include "planning/ExpPlanIO.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMap.h"
#include "planning/QMXSensorMapList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "spectral/ZuRpmResultData.h"
#include "uff/MkExtDaqProject.h"
#include "uff/UFNodeMap.h"
#include "experiments/DAQConfig.h"
#include "app/AnalysisProject.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "calculation/CalcData.h"
#include "calculation/CalcDataSet.h"
#include "calculation/CalcExcit.h"
#include "calculation/CalcProject.h"
#include "calculation/CalcProjectManager.h"
#include "experiments/Excitation.h"
#include "platform/elements/MElementList.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorInfo.h"
#include "experiments/SensorListFile.h"
#include "experiments/SensorProject.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/modeldb/ModelData.h"
#include "platform/modeldb/ModelSubsystem.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmDpFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmPcFunc.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <fstream>
#include <memory>
#include <numbers>
#include <vector>

namespace sample {
namespace {
const char* const kModelDataFile = "sample-model.dmd";
constexpr int kModelKind = 0;            // the vehicle model beside the data file is a ".ntf" text
constexpr float kSensitivity = 10.0f;    // mV per m/s²
constexpr float kMicSensitivity = 50.0f; // mV per Pa
constexpr double kPulseHigh = 5.0;       // volts of the tacho pulse
constexpr double kPulseDuty = 0.2;       // part of a revolution the pulse is high

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
// accelerometers on channels 0 and 1, the responding cavity with its microphone on channel 2.
CExpInfo MakeDescription(const CModelData* model)
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
    CSensorGroup response;
    tagSENSORGROUPMEMBER mic;
    mic.text = kMicrophoneId;
    mic.bundle = 1;
    mic.slot = 2;
    mic.channel = 2;
    response.SetMember(mic);
    info.SetSensorGroup(1, response);
    // Beside its sensor group each side carries its subsystem's mass or volume, the model's own.
    for (int side = 0; side < 2; ++side) {
        const CModelSubsystem* subsystem = model ? model->GetSubsystem(info.GetName(side), 0, 1) : nullptr;
        if (subsystem)
            info.SetValue(side, subsystem->IsAcoustic() ? subsystem->GetVolume() : subsystem->GetMass());
    }
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
    CExpDataSet* micSet = exp->AddExcitationDataSet(exp->GetExcitationIndex(kResponse));
    if (!pulseSet || !dataSet || !micSet || pulseSet->GetChildCount() != 1 || dataSet->GetChildCount() != 2 ||
        micSet->GetChildCount() != 1) {
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
    auto* mic = ElementCast<CExpData>(micSet->GetChild(0));
    mic->SetSampleCount(n);
    float* p = mic->GetData();
    for (int i = 0; i < n; ++i)
        p[i] = MicSample(i);
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

namespace {
// The roof's broadband vibration: one sine every 2 Hz (a little off the lines of the spectra) from
// 80 Hz to 2 kHz, of the same acceleration amplitude at each, with fixed random phases, on both
// accelerometers alike; its envelope rises with the engine speed. Kept per sample, as velocity and
// acceleration, so that both are exact and every reader of the samples sees the same values.
struct Broadband
{
    std::vector<double> velocity;
    std::vector<double> acceleration;
};

constexpr double kBroadbandAcceleration = 0.12; // m/s² of each sine at kRpmStart

const Broadband& RoofBroadband()
{
    static const Broadband made = [] {
        Broadband b;
        const int n = SampleCount();
        b.velocity.assign(static_cast<size_t>(n), 0.0);
        b.acceleration.assign(static_cast<size_t>(n), 0.0);
        uint32_t seed = 12345u;
        auto random = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return (seed >> 8) / double(1u << 24);
        };
        for (double f = 80.0; f < 2040.0; f += 2.0) {
            const double w = 2.0 * std::numbers::pi * (f + 0.37 * random());
            const double phase = 2.0 * std::numbers::pi * random();
            const double amplitude = kBroadbandAcceleration / w; // velocity amplitude
            for (int i = 0; i < n; ++i) {
                const double t = i / double(kSamplingFrequency);
                const auto at = static_cast<size_t>(i);
                b.velocity[at] += amplitude * std::sin(w * t + phase);
                b.acceleration[at] += amplitude * w * std::cos(w * t + phase);
            }
        }
        // The envelope e(t) = rpm / kRpmStart: v = e s, a = e' s + e s'.
        for (int i = 0; i < n; ++i) {
            const double t = i / double(kSamplingFrequency);
            const double e = (kRpmStart + kRpmRate * t) / kRpmStart;
            const auto at = static_cast<size_t>(i);
            b.acceleration[at] = e * b.acceleration[at] + kRpmRate / kRpmStart * b.velocity[at];
            b.velocity[at] *= e;
        }
        return b;
    }();
    return made;
}
} // namespace

float OrderSample(int c, int i)
{
    const double phase = 2.0 * std::numbers::pi * RevolutionsAt(i / double(kSamplingFrequency));
    const auto k = static_cast<size_t>(c);
    return static_cast<float>(kAmplitudes[k] * std::sin(kOrders[k] * phase) +
                              RoofBroadband().acceleration[static_cast<size_t>(i)]);
}

double RoofVelocity(int c, int i)
{
    // The order's tone integrated over the slowly rising engine speed: -A cos(k phi) / (k Omega).
    const double t = i / double(kSamplingFrequency);
    const double phase = 2.0 * std::numbers::pi * RevolutionsAt(t);
    const double omega = 2.0 * std::numbers::pi * (kRpmStart + kRpmRate * t) / 60.0;
    const auto k = static_cast<size_t>(c);
    return -kAmplitudes[k] * std::cos(kOrders[k] * phase) / (kOrders[k] * omega) +
           RoofBroadband().velocity[static_cast<size_t>(i)];
}

float MicSample(int i)
{
    // The cabin's pressure answers the roof's mean velocity.
    return static_cast<float>(kCabinPressurePerRoofVelocity * 0.5 * (RoofVelocity(0, i) + RoofVelocity(1, i)));
}

bool AddHybridModel(CTALVODoc& doc, std::string* error)
{
    CModelProject* model = doc.GetTALVOProject().GetModelProject();
    if (!model || !model->GetASEAModelData())
        return Fail(error, "the sample model has no analytical model to make the hybrid SEA model from");
    // The hybrid model starts as the analytical one: every subsystem with its modal density,
    // damping and couplings, as the input powers and energy results solve it.
    auto hybrid = std::make_unique<CHSEAModelData>(model->GetASEAModelData(), nullptr, 1, 1, 0, 0);
    if (!model->ReplaceHSEAModel(std::move(hybrid)))
        return Fail(error, "the hybrid SEA model could not be added to the sample model");
    return true;
}

bool Build(CTALVODoc& doc, const std::filesystem::path& sampleFolder, const std::string& projectFile,
           std::string* error)
{
    if (!doc.NewProjectFromModelFile(projectFile, kModelKind, (sampleFolder / kModelDataFile).string(), error))
        return false;
    if (!AddHybridModel(doc, error))
        return false;
    // The cabin is what the sample listens to: results without a named target and the measurement
    // files take it.
    if (doc.GetTALVOProject().GetTargetSubsystem().empty())
        doc.GetTALVOProject().SetTargetSubsystem(kResponse);
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
    tagSENSORINFO mic;
    mic.ID = kMicrophoneId;
    mic.Manufacturer = "Sample";
    mic.ChannelInfo.DataType = SENSOR_DATATYPE_PRESSURE;
    mic.ChannelInfo.Sensitivity = kMicSensitivity;
    if (!container.GetSensorProject()->FindSensor(kMicrophoneId) && !container.GetSensorProject()->AddSensor(mic))
        return NoDaq(error, Format("the sensor %s could not be added", kMicrophoneId));

    CDaqProject* daq = doc.NewDaqProject();
    if (!daq)
        return NoDaq(error, "the DAQ project could not be made");
    daq->GetDAQConfig()->SetSamplingFreq(kSamplingFrequency);
    // The acquisition's RPM range is the run-up's.
    daq->GetDAQConfig()->SetRpmLow(static_cast<int>(kRpmStart));
    daq->GetDAQConfig()->SetRpmHigh(static_cast<int>(kRpmStart + kRpmRate * kSeconds));

    CExpInfo description = MakeDescription(container.GetModelData());
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
    // The spectra over RPM that the analysis reads, filed into the data set as the acquisition's
    // recalculation leaves them.
    CMElementList functions;
    if (CCalcProjectManager::BuildCalcDataList(*tree, functions) != 1)
        return NoDaq(error, "the spectra of the run-up could not be calculated");
    set->AddFuncs(functions);
    functions.Clear(1);
    return daq;
}

bool AddResults(CTALVODoc& doc, std::string* error)
{
    CMElementList analyses;
    if (doc.GetTALVOProject().GetAnalysisProjects(analyses) == 0)
        return Fail(error, "the sample has no analysis project");
    // A second analysis project over the same RPMs holds the results; the first stays empty for
    // the user's own first calculation.
    auto* first = static_cast<CAnalysisProject*>(analyses[0]);
    CDaqProject* daq = first->GetDaqProject();
    CAnalysisProject* project =
        doc.AddRpmAnalysisProject(&first->GetRPMOptions(), daq, doc.GetTALVOProject().GetOctaveManager());
    if (!project)
        return Fail(error, "the analysis project of the results could not be made");
    project->SetName(kResultsProjectName);
    CZuSubsystemTable roof;
    roof.Add(kExcited);
    if (!project->CalcInputPowerChain(roof, 0, 0))
        return Fail(error, "the input powers could not be calculated: " + project->GetFailureReason());
    auto* set = DynamicDowncast<CZuRpmResultData>(project->CalcEnergyResult(roof, 1));
    if (!set)
        return Fail(error, "the energy result could not be calculated: " + project->GetFailureReason());
    if (!project->AddResult(set, project->CalcVibrationLevel(set, "Floor")) ||
        !project->AddResult(set, project->CalcSPL(set, kResponse)) ||
        !project->AddResult(set, project->SearchDominantPath(set, kResponse, 0.0)) ||
        !project->AddResult(set, project->CalcPowerContribution(set, kResponse, 0.0)))
        return Fail(error, "a result of the energy result could not be calculated");

    // One solve of the hybrid model, as Calculation > Input Power Data... makes it on the model
    // project with the dialog's defaults: New Set, the roof added as its input (1 W in every band),
    // Solve. A subsystem's energy and the energy ratio of two are taken from such a solve: the
    // results over RPM have none to offer.
    CModelProject* model = doc.GetTALVOProject().GetModelProject();
    CHSEAGeneralData* powers = model ? CInputPowerSets::CreateSet(*model) : nullptr;
    std::string input = kExcited;
    if (model)
        model->GetSubsystemType(input, 1);
    if (!powers || !powers->AddPowerFunc(input, 0) || !CInputPowerSets::Solve(model, powers))
        return Fail(error, "the hybrid SEA model could not be solved with an input power into the roof");
    return true;
}

namespace {
// One dataset 58 in the columns the format fixes: a complex spectrum (function type 12) of one
// node at one RPM, lines from 0 Hz, with the given ordinate axis (12 acceleration, 15 pressure).
std::string Dataset58(const std::string& entity, int node, int axisType, const char* label, const char* units,
                      double rpm, double df, const std::vector<float>& re, const std::vector<float>& im)
{
    std::string t;
    auto line = [&t](const std::string& l) { t += l + "\n"; };
    line("    -1");
    line("    58");
    line(Format("%s node %d", entity.c_str(), node));
    line(Format("%s", kMeasurementName));
    line("15-Jan-24 10:30:00");
    line("NONE");
    line("NONE");
    line(Format("%5d%10d%5d%10d %-10s%10d%4d %-10s%10d%4d", 12, 1, 0, 0, "NONE", node, 3, "NONE", 0, 0));
    const size_t lines = std::min(re.size(), im.size());
    line(Format("%10d%10d%10d%13.5E%13.5E%13.5E", 5, static_cast<int>(lines), 1, 0.0, df, rpm));
    const char* names[4][2] = {{"Frequency", "Hz"}, {label, units}, {"NONE", "NONE"}, {"NONE", "NONE"}};
    const int types[4] = {18, axisType, 0, 0};
    for (int i = 0; i < 4; ++i)
        line(Format("%10d%5d%5d%5d %-20s %-20s", types[i], 0, 0, 0, names[i][0], names[i][1]));
    std::string data;
    int count = 0;
    for (size_t k = 0; k < lines; ++k)
        for (float v : {re[k], im[k]}) {
            data += Format("%13.5E", v);
            if (++count % 6 == 0) {
                line(data);
                data.clear();
            }
        }
    if (!data.empty())
        line(data);
    line("    -1");
    return t;
}

bool WriteText(const std::filesystem::path& path, const std::string& text, std::string* error)
{
    // Written beside and renamed over, so a failed run leaves no half file.
    const std::filesystem::path temp = path.string() + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush())
            return Fail(error, "could not write " + path.string());
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    return ec ? Fail(error, "could not write " + path.string() + ": " + ec.message()) : true;
}
// The run-up's line spectra as the measurement's own calculation makes them at each RPM of the
// analysis (the same blocks, window and scaling, before the accelerations become velocities), so
// that an import of the file gives the sample's maps; beside it the node table.
bool WriteUniversalFile(CTALVOProject& container, const std::filesystem::path& folder,
                        const std::function<void(const std::string&)>& note, std::string* error)
{
    CDaqProject* daq = container.GetDaqProject(0);
    CMElementList sets;
    if (daq)
        daq->Find(RUNTIME_CLASS(CDAQExperiment), sets, -1);
    CExpProject* tree = nullptr;
    for (CMElement* e : sets)
        if (!tree)
            tree = DynamicDowncast<CExpProject>(e->FindOneChild(RUNTIME_CLASS(CExpProject)));
    if (!tree)
        return Fail(error, "the sample has no measured run-up for its universal file");
    CRPMOptions rpm;
    rpm.SetRange(static_cast<float>(kRpmStart), static_cast<float>(kAnalysisRpmMax), 50.0f);
    CCalcProjectManager manager(tree);
    if (manager.CalculateAll("", &rpm, 0) <= 0)
        return Fail(error, "the spectra of the run-up could not be calculated for the universal file");
    std::string text;
    for (int r = 0; r < manager.GetChildCount(); ++r) {
        CCalcProject* project = manager.GetCalcProject(r);
        // The plain transforms again: the calculation left the accelerations integrated.
        project->ComputeFFT();
        for (int x = 0; x < project->GetChildCount(); ++x) {
            CCalcExcit* excitation = project->GetExcit(x);
            const std::string name = excitation && excitation->GetSource() ? excitation->GetSource()->GetName() : "";
            if (name != kExcited && name != kResponse)
                continue;
            CCalcDataSet* set = excitation->GetDataSet(0);
            for (int c = 0; set && c < set->GetChildCount(); ++c) {
                const CCalcData* data = set->GetData(c);
                if (!data || data->GetLineCount() <= 0 || !data->IsFFTDone())
                    return Fail(error, Format("no spectrum of %s at %d RPM for the universal file", name.c_str(),
                                              project->GetRpm()));
                // The import scales each band by the root of its band value (0.3321125 unless the
                // user types another): the lines are written over that root, so that the import as
                // its dialog opens gives the measurement's own levels.
                const auto lines = static_cast<size_t>(data->GetLineCount());
                const double over = 1.0 / std::sqrt(CMkExtDaqProject::kDefaultCoefficient);
                std::vector<float> re(lines), im(lines);
                for (size_t k = 0; k < lines; ++k) {
                    re[k] = static_cast<float>(data->GetReal()[k] * over);
                    im[k] = static_cast<float>(data->GetImag()[k] * over);
                }
                if (name == kExcited)
                    text += Dataset58(kExcited, c + 1, 12, "Acceleration", "m/s2", project->GetRpm(),
                                      data->GetLineSpacing(), re, im);
                else
                    text += Dataset58(kResponse, 3, 15, "Pressure", "Pa", project->GetRpm(), data->GetLineSpacing(), re,
                                      im);
            }
        }
    }
    const std::filesystem::path path = folder / kUniversalFile;
    if (!WriteText(path, text, error))
        return false;
    note(path.string());
    CUFNodeMap nodes;
    nodes.SetAt(CUFNode(1, kExcited, 0));
    nodes.SetAt(CUFNode(2, kExcited, 1));
    nodes.SetAt(CUFNode(3, kResponse, 0));
    // The table's header names the file by its name alone: the sample folder moves with its user.
    const std::filesystem::path table = folder / CUFNodeMap::kTableFileName;
    if (!WriteText(table, Format("#@Sample run-up\n# %s\n#\n", CUFNodeMap::kTableFileName) + nodes.WriteText(), error))
        return false;
    note(table.string());
    return true;
}
} // namespace

bool WriteCompanions(CTALVODoc& doc, const std::filesystem::path& folder, std::vector<std::string>* written,
                     std::string* error)
{
    CTALVOProject& container = doc.GetTALVOProject();
    auto note = [written](const std::string& path) {
        if (written)
            written->push_back(path);
    };

    // The measurement file of every data set, where the experiments look for their samples.
    CMElementList daqs;
    container.GetDaqProjects(daqs);
    for (CMElement* e : daqs) {
        CMElementList sets;
        e->Find(RUNTIME_CLASS(CDAQExperiment), sets, -1);
        for (CMElement* m : sets) {
            auto* set = static_cast<CDAQExperiment*>(m);
            auto* tree = DynamicDowncast<CExpProject>(set->FindOneChild(RUNTIME_CLASS(CExpProject)));
            if (!tree)
                continue;
            const std::string path = CDAQIO::GetDaqFilePath(set);
            if (path.empty())
                return Fail(error, "the data set has no measurement file name");
            std::error_code ec;
            std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
            CDAQIO io(set);
            if (!io.SaveOne(set, tree))
                return Fail(error, "could not write " + path);
            note(path);
        }
    }

    // The run-up's spectra as a universal file: the roof's accelerometers on nodes 1 and 2, the
    // cabin microphone on node 3, one spectrum per 50 RPM; the node table beside it says which
    // node is which local point.
    if (!WriteUniversalFile(container, folder, note, error))
        return false;

    // The channel assignment of the simulated units: both accelerometers of the roof on the first
    // unit, the cabin microphone on the second.
    {
        CBlixChDB* db = container.GetBlixChDB();
        if (!db)
            return Fail(error, "the project has no channel database");
        db->GetItemList()->DeleteAll();
        struct Row
        {
            const char* subsystem;
            const char* serial;
            uint8_t channel;
            const char* sensor;
        };
        // Channels count from 0 in the database; the file shows them from 1.
        const Row rows[] = {{kExcited, kUnitSerials[0], 0, kSensorIds[0]},
                            {kExcited, kUnitSerials[0], 1, kSensorIds[1]},
                            {kResponse, kUnitSerials[1], 0, kMicrophoneId}};
        for (const Row& r : rows) {
            auto item = std::make_unique<CBlixChDB::CItem>();
            item->SetSubsystem(r.subsystem);
            item->SetBlixSN(r.serial);
            item->SetBlixCh(r.channel);
            item->SetSensor(r.sensor);
            db->GetItemList()->Add(std::move(item));
        }
        const std::filesystem::path path = folder / kChannelFile;
        if (!container.ExportBlixChannelFile(path.string()))
            return Fail(error, "could not write " + path.string());
        note(path.string());
        // Read back as a user imports it: the units' sensor bundles, which the measurement by
        // subsystem looks its channels up in, come with it.
        if (!container.ImportBlixChannelFile(path.string()))
            return Fail(error, "could not read back " + path.string());
    }

    // The sensor catalogue with the units' bundles: a new project takes its sensors from it before
    // the channel assignment names them.
    {
        const std::filesystem::path path = folder / kSensorFile;
        if (!WriteSensorListFile(*container.GetSensorProject(), path.string(), "Sample sensors"))
            return Fail(error, "could not write " + path.string());
        note(path.string());
    }

    // A plan of the same channels on a group of the two units, as a workbook of the plan export.
    {
        CQMXBlixListArray& groups = container.GetBlixLists();
        auto group = std::make_unique<CQMXBlixList>(1);
        group->SetUnitName(0, 0, kUnitSerials[0]);
        group->SetUnitName(0, 1, kUnitSerials[1]);
        groups.Add(std::move(group));
        CQMXSensorMapList* plans = container.GetSensorMapList();
        plans->SetUnitGroups(groups.Pointers());
        CQMXSensorMap* plan = plans->AddPlan(1, "Run-up");
        if (!plan || plan->GetChannelCount() < 4)
            return Fail(error, "the sample plan could not be made");
        plan->SetComment("Roof accelerometers and the cabin microphone");
        struct PlanRow
        {
            int row;
            const char* sensor;
            const char* subsystem;
        };
        const PlanRow rows[] = {
            {0, kSensorIds[0], kExcited}, {1, kSensorIds[1], kExcited}, {2, kMicrophoneId, kResponse}};
        for (const PlanRow& r : rows) {
            plan->SetSensor(r.row, r.sensor);
            plan->SetSubsystem(r.row, r.subsystem);
        }
        const std::filesystem::path path = folder / kPlanWorkbook;
        CExpPlanIO io(&container);
        io.SetFeedback(nullptr);
        if (!io.ExportToExcel(path.string()))
            return Fail(error, "could not write " + path.string());
        note(path.string());
    }

    // The hybrid model as a model data file: Import Model Data gives any project this model.
    {
        const std::filesystem::path path = folder / kHybridModelFile;
        if (!ExportHSEAModelText(container, path.string()))
            return Fail(error, "could not write " + path.string());
        note(path.string());
    }
    return true;
}
} // namespace sample
