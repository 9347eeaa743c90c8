#pragma once
// Simulated acquisition units behind the measurement window, kept out of the window tests' own
// files (the acquisition layer's channel record is not the sensor side's).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMultiQMXInterface;
class CTALVOProject;
struct CRunRig;

class CSimUnits
{
public:
    // units systems of the default layout (16 channels each, pulse on channel 15) whose samples
    // come only as the test moves the time on.
    explicit CSimUnits(int units);
    ~CSimUnits();

    CMultiQMXInterface* Daq() const;
    void SetTimeUs(int64_t us);
    // Moves the units' time on.
    void AdvanceUs(int64_t us);
    // Moves the units' time and the program's millisecond timer (the sampling window's clock) on.
    void AdvanceClocksUs(int64_t us);
    // Samples of a system's channel as the simulation generates them (volts).
    std::vector<float> Signal(int unit, int channel, int count, double rate) const;
    void LoseSystemAt(int unit, int sample);
    // Moves the units' millisecond timer past the settling time that a range change restarts.
    void Settle();

    // Connects a simulated system (described in the settings) to the program's own interface, as
    // the connection dialog does, with its inventory read; false when it does not answer.
    static bool ConnectProgramUnit();
    static void DisconnectProgramUnits();

private:
    std::unique_ptr<CRunRig> m_rig;
};

// A project measured on the simulated units: the sample model loaded into it, whose structures are
// returned in the model's order; acceleration sensors S1..S<count>; a row of the unit channel
// assignment that puts a subsystem's sensor on a unit's channel.
std::vector<std::string> LoadSampleModelStructures(CTALVOProject& container);
void AddSimSensors(CTALVOProject& container, int count);
void AssignUnitChannel(CTALVOProject& container, const std::string& subsystem, const char* unit, int channel,
                       const char* sensor);
