#pragma once
// The channel record of the acquisition interfaces is the sensor's channel record. A row of an
// interface's channel table does not start from a new sensor's values but from these: attach point
// "NONE", 1 mV per unit, range 1.0, AC coupling (2) and the 10 V input range.
#include "experiments/SensorInfo.h"

inline CHANNELINFO DefaultChannelRow(int channel)
{
    CHANNELINFO row;
    row.Channel = channel;
    row.AttachPoint = "NONE";
    row.Sensitivity = 1.0f;
    row.Range = 1.0f;
    row.Coupling = 2;
    row.Scale = 10.0f;
    return row;
}
