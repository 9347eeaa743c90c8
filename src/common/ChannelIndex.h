#pragma once
// Channel numbering of the acquisition hardware: 8 channels per acquisition unit, 2 per pair.
// A system channel index i is unit i/8, pair (i mod 8)/2, channel i mod 2.

inline constexpr int kChannelsPerUnit = 8;
inline constexpr int kChannelsPerPair = 2;

// Units needed for a channel count: ceil(count / 8); 0 for no channels.
int GetBlixUnitCount(int channelCount);

// Splits a system channel index. A negative index gives -1 for all three.
void SplitChannelIndex(int index, int& unit, int& pair, int& channel);

// (unit·4 + pair)·2 + channel.
int MakeChannelIndex(int unit, int pair, int channel);
