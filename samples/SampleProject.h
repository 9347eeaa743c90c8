#pragma once
// The sample project, built with the program's own operations the way a user builds it: a model
// project from the sample model data file (with its vehicle model and companion files beside it),
// a DAQ project with one measured run-up and an analysis project over the model's bands. The
// build-time sample writer and the end-to-end tests make it through this one road.
#include <filesystem>
#include <string>
#include <vector>

class CDaqProject;
class CTALVODoc;

namespace sample {
// The measured run-up: sampled at kSamplingFrequency for kSeconds, from kRpmStart rising by
// kRpmRate per second; a pulse channel (one pulse per revolution) and one accelerometer channel per
// order component (kOrders, amplitudes kAmplitudes in m/s²), both over the roof's broadband
// vibration, which grows with the engine speed.
inline constexpr float kSamplingFrequency = 4096.0f;
inline constexpr double kSeconds = 3.0;
inline constexpr double kRpmStart = 1000.0;
inline constexpr double kRpmRate = 1000.0;
// The top of the analysis project's RPM range: the run-up reaches 4000 RPM at its last sample, so
// the blocks centred on the last few RPMs would reach past its end.
inline constexpr double kAnalysisRpmMax = 3750.0;
inline constexpr double kOrders[2] = {2.0, 4.0};
inline constexpr double kAmplitudes[2] = {3.0, 0.5};
inline constexpr const char* kSensorIds[2] = {"ACC-1", "ACC-2"};
// The cabin microphone beside the driver's ear. The cabin is the sample model's response to the
// measured roof: in every band the model gives the cabin (Front Cabin-R-) E2 = R * E1 of the roof
// (Roof-F), R = 1.90689 from the couplings of roof, floor and cabin in sample-model.dat; with
// E1 = M v² (M = 14.8 kg) and E2 = p² V / (rho c²) (V = 0.97 m³, rho c² = 1.21 * 343²) the
// pressure is p = sqrt(R M rho c² / V) * v, kCabinPressurePerRoofVelocity times the roof's
// velocity (the mean of its two accelerometers, as the roof's map averages them).
inline constexpr const char* kMicrophoneId = "MIC-1";
inline constexpr double kCabinPressurePerRoofVelocity = 2035.14; // Pa per m/s
// The measured pair of model subsystems: the excited structure and the responding cavity.
inline constexpr const char* kExcited = "Roof";
inline constexpr const char* kResponse = "Front Cabin-R";
// The name of the measured-data tree below the data set.
inline constexpr const char* kMeasurementName = "Measurement";

int SampleCount();
// Sample i of the pulse channel, of accelerometer c (0 or 1, m/s²) and of the cabin microphone
// (Pa).
float PulseSample(int i);
float OrderSample(int c, int i);
float MicSample(int i);
// The velocity (m/s) of accelerometer c at sample i, whose derivative OrderSample is.
double RoofVelocity(int c, int i);

// Makes the project in doc and saves it to projectFile (the document's road: a new project is
// written at once, the rest is added and the document saved again). False with the reason in
// error when a step fails.
bool Build(CTALVODoc& doc, const std::filesystem::path& sampleFolder, const std::string& projectFile,
           std::string* error);
// The measured part alone, into a document that holds the sample model: the sensors, a DAQ project
// and the measured run-up with its spectra over RPM. The DAQ project, or null with the reason.
CDaqProject* AddMeasuredRunUp(CTALVODoc& doc, std::string* error);
// The hybrid SEA model of the sample model, made from its analytical model, in place of any other.
bool AddHybridModel(CTALVODoc& doc, std::string* error);
// The results a user makes from the built sample, in a second analysis project of that name over
// the same RPMs: the input energies and input powers of the excited roof, their energy result and,
// on it, the floor's vibration level, the cabin's sound pressure level, dominant paths and power
// contributions; and on the model project the hybrid model solved with an input-power set of the
// roof, the result the subsystem energy and energy ratio commands work on. False with the reason.
inline constexpr const char* kResultsProjectName = "Run-up Results";
bool AddResults(CTALVODoc& doc, std::string* error);
// The files beside a saved sample project: the measurement file (.daq) of each data set in the
// project's work folder, a universal file of the run-up's spectra (dataset 58), a channel
// assignment for the simulated acquisition units, the sensor catalogue it names, a plan workbook and the hybrid model as a model
// data file. Their paths are appended to written. False with the reason.
bool WriteCompanions(CTALVODoc& doc, const std::filesystem::path& folder, std::vector<std::string>* written,
                     std::string* error);
// The file names of the companions in the sample folder.
inline constexpr const char* kUniversalFile = "sample-run-up.unv";
inline constexpr const char* kChannelFile = "sample-channels.txt";
inline constexpr const char* kSensorFile = "sample-sensors.dat";
inline constexpr const char* kPlanWorkbook = "sample-plans.xlsx";
inline constexpr const char* kHybridModelFile = "sample-hsea-model.dmd";
// The simulated units the channel assignment and the plan name (serials as the units report them).
inline constexpr const char* kUnitSerials[2] = {"00001", "00002"};
} // namespace sample
