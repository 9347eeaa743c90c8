#pragma once
// A stand-in DAQ project for the measured-data tests, and the test environment (English strings
// from the source tree, settings in a temporary folder).
#include <filesystem>
#include <string>

#include "experiments/DAQConfig.h"
#include "experiments/CalcOptions.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/SensorProject.h"
#include "platform/elements/MElementList.h"
#include "platform/gfx/OctaveManager.h"

std::filesystem::path ExperimentsTestTempDir();

class CStubDaqProject : public IDaqProjectAccess
{
public:
    CDAQConfig config;
    CCalcOptions calc;
    COctaveManagerEx bands{OCTAVE_BAND_THIRD, 100.0, 5000.0};
    CSensorProject sensors;
    std::string target;

    CDAQConfig* GetDAQConfig() override { return &config; }
    CCalcOptions* GetCalcOptions() override { return &calc; }
    COctaveManagerEx* GetOctaveManager() override { return &bands; }
    std::string GetTargetSubsystemName() const override { return target; }
    CSensorProject* GetSensorProject() const override { return const_cast<CSensorProject*>(&sensors); }
    int IsStructure(const std::string& name) const override { return name.rfind("S", 0) == 0; }
    int FindDAQExperimentsBySubsystem(const std::string&, CMElementList& list) override
    {
        list.Clear();
        return 0;
    }
    int GetAveragingMode() const override { return 0; }
    double GetSubsystemEnergyFactor(const std::string&) const override { return 1.0; }
    bool EditRpmOptions(CRPMOptions&) override { return false; }
    void SetModified() override {}
};
