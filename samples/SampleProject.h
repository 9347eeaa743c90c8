#pragma once
// The sample project, built with the program's own operations the way a user builds it: a model
// project from the sample model data file (with its vehicle model and companion files beside it),
// a DAQ project with one measured run-up and an analysis project over the model's bands. The
// build-time sample writer and the end-to-end tests make it through this one road.
#include <filesystem>
#include <string>

class CDaqProject;
class CTALVODoc;

namespace sample {
// The measured run-up: sampled at kSamplingFrequency for kSeconds, from kRpmStart rising by
// kRpmRate per second; a pulse channel (one pulse per revolution) and one accelerometer channel per
// order component (kOrders, amplitudes kAmplitudes).
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
// The measured pair of model subsystems: the excited structure and the responding cavity.
inline constexpr const char* kExcited = "Roof";
inline constexpr const char* kResponse = "Front Cabin-R";
// The name of the measured-data tree below the data set.
inline constexpr const char* kMeasurementName = "Measurement";

int SampleCount();
// Sample i of the pulse channel and of order channel c (0 or 1).
float PulseSample(int i);
float OrderSample(int c, int i);

// Makes the project in doc and saves it to projectFile (the document's road: a new project is
// written at once, the rest is added and the document saved again). False with the reason in
// error when a step fails.
bool Build(CTALVODoc& doc, const std::filesystem::path& sampleFolder, const std::string& projectFile,
           std::string* error);
// The measured part alone, into a document that holds the sample model: the sensors, a DAQ project
// and the measured run-up with its spectra over RPM. The DAQ project, or null with the reason.
CDaqProject* AddMeasuredRunUp(CTALVODoc& doc, std::string* error);
} // namespace sample
