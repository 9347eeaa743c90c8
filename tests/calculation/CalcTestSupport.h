#pragma once
// Measured data for the calculation tests: a stand-in DAQ project and experiment, and an
// experiment project with a pulse channel and measured channels built sample by sample.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "experiments/CalcOptions.h"
#include "experiments/DAQConfig.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/gfx/OctaveManager.h"

class CExpData;
class CExpDataSet;

// Sets an option value named by a string of the string table (0 switches it off).
void SetStringOption(uint32_t stringId, uint32_t value);

class CStubDaqProject : public IDaqProjectAccess
{
public:
    CDAQConfig config;
    CCalcOptions calc;
    COctaveManagerEx bands{OCTAVE_BAND_THIRD, 100.0, 5000.0};
    // Used data sets per experiment name, and energy factors per subsystem (0: not in the model).
    std::map<std::string, CMElementList> used;
    std::map<std::string, double> factors;
    int averagingMode = 0;

    CDAQConfig* GetDAQConfig() override { return &config; }
    CCalcOptions* GetCalcOptions() override { return &calc; }
    COctaveManagerEx* GetOctaveManager() override { return &bands; }
    std::string GetTargetSubsystemName() const override { return {}; }
    CSensorProject* GetSensorProject() const override { return nullptr; }
    int IsStructure(const std::string& name) const override { return name.find("Cavity") == std::string::npos; }
    int FindDAQExperimentsBySubsystem(const std::string&, CMElementList& list) override
    {
        list.Clear();
        return 0;
    }
    int GetUsedDAQExperimentsOf(const std::string& name, CMElementList& list) const override
    {
        list.Clear();
        if (auto it = used.find(name); it != used.end())
            list = it->second;
        return list.GetSize();
    }
    int GetAveragingMode() const override { return averagingMode; }
    double GetSubsystemEnergyFactor(const std::string& name) const override
    {
        auto it = factors.find(name);
        return it == factors.end() ? 0.0 : it->second;
    }
    bool EditRpmOptions(CRPMOptions&) override { return false; }
    void SetModified() override {}
};

// One measured data set of an experiment with its description, options and result functions.
class CStubExperiment : public CMElement, public IDaqExperimentData
{
public:
    CExpInfo info;
    CCalcOptions options;

    CExpInfo* GetExpInfo() override { return &info; }
    CCalcOptions* GetCalcOptions() override { return &options; }
    CZuRpmFunc* FindRpmFuncByName(const std::string& name) const override;
    CMultiVectorFunction* FindMultiVecFuncByName(const std::string& name) const override;
};

// An experiment project over one experiment whose excited subsystem is "Panel-A" (the response
// side "Panel-B"); every local point 0 .. 7 of both takes part.
struct CMeasurement
{
    static constexpr float kFs = 16384.0f;
    CStubDaqProject daq;
    CStubExperiment experiment;
    std::unique_ptr<CExpProject> project;

    CMeasurement();
    // A data set of the RPM signal data with a pulse channel (one pulse per revolution).
    CExpDataSet* AddPulse(const std::function<double(double)>& revolutionsAt, double seconds);
    // A data set under the excitation (a new one unless given) and a channel with the samples.
    CExpData* AddChannel(const std::string& excitation, CExpDataSet* set, const std::string& name, int localPoint,
                         int dataType, int unit, const std::function<double(double)>& signal, double seconds);
};
