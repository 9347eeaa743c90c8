#include "common/ChannelIndex.h"

#include <cmath>

int GetBlixUnitCount(int channelCount)
{
    if (channelCount <= 0)
        return 0;
    return static_cast<int>(std::ceil(channelCount * 0.125));
}

void SplitChannelIndex(int index, int& unit, int& pair, int& channel)
{
    if (index < 0) {
        unit = pair = channel = -1;
        return;
    }
    unit = index / kChannelsPerUnit;
    pair = (index % kChannelsPerUnit) / kChannelsPerPair;
    channel = index % kChannelsPerPair;
}

int MakeChannelIndex(int unit, int pair, int channel)
{
    return (unit * 4 + pair) * 2 + channel;
}
