#pragma once
// The gains of the acquisition channels of an experiment project, as the gain setting edits them:
// one row per sensor of every excitation's sensor group and one for the RPM pulse channel. A gain
// is one of the hardware's three steps 0.1, 1.0 and 10.0; 0.1 takes the largest signals. A short
// trial run picks the step of every row marked for adjustment from the peak it measured.
#include <vector>

class CBaseDAQInterface;
class CExpProject;

struct tagGAININFO
{
    int channel = 0; // global, 0-based
    int group = 0;   // excitation index; -1 for the pulse row
    int item = 0;    // index in the excitation's sensor group; -1 for the pulse row
    float gain = 0.0f;
    int adjust = 0; // the trial run sets this row's gain
    int pulse = 0;  // the RPM pulse-signal row
};

class CGainTable
{
public:
    static constexpr float kGains[3] = {0.1f, 1.0f, 10.0f};

    // Whether a value read from the hardware is one of the three steps.
    static bool IsGainStep(double value);
    // The step for a peak in millivolts at the level in percent: 0.1 from 1000 x level / 100 on,
    // else 1.0 from 100 x level / 100 on, else 10.0.
    static float ChooseGain(float peak, float levelPercent);

    // One row per item of every excitation's sensor group (its adjust flag from the channel's
    // automatic-range request on the interface), then the pulse row; gains as the project stores
    // them.
    void Build(CExpProject& project, CBaseDAQInterface& daq);

    std::vector<tagGAININFO>& Rows() { return m_rows; }
    const std::vector<tagGAININFO>& Rows() const { return m_rows; }
    int GetCount() const { return static_cast<int>(m_rows.size()); }

    void SetAdjustAll();
    // Before a trial run: every row to adjust starts at 0.1, in the table and on the hardware.
    void PrepareTrial(CBaseDAQInterface& daq);
    // After a trial run of sampleCount samples per channel: the step of every row to adjust from
    // its peak (sensitivity x sample). A row whose record or samples cannot be read keeps its
    // gain. The hardware is not touched. Returns the number of rows chosen.
    int ChooseFromTrial(CBaseDAQInterface& daq, int sampleCount, float levelPercent);
    // Reads every row's gain from the hardware. A row whose value cannot be read (or is no step)
    // keeps its gain; returns the number of such rows (marked 1 in unread, when given).
    int ReadBack(CBaseDAQInterface& daq, std::vector<int>* unread = nullptr);
    // Sends every gain to the hardware, reads them back (as ReadBack) and stores them in the
    // project: its per-channel gains, and the input range and automatic-range request of the
    // sensor of every row but the pulse row. A row the hardware did not read back leaves the
    // project and the sensor as they were. Returns the number of rows not read back.
    int Apply(CExpProject& project, CBaseDAQInterface& daq);

private:
    std::vector<tagGAININFO> m_rows;
};
