#pragma once
// One channel's set-up, copied member by member.
#include <string>

struct CHANNELINFO
{
    int Channel = 0;               // index into the channel table
    std::string AttachPoint = "NONE";
    std::string Comment;
    int DataType = 0;              // kDataTypeReference marks the reference (trigger) channel
    float Sensitivity = 1.0f;      // millivolts per physical unit; samples are divided by it
    int Unit = 0;
    float Range = 1.0f;
    int AutoRange = 0;             // 1: automatic range requested
    int Coupling = 2;
    float Scale = 10.0f;           // input range in volts (the hardware takes 0.1, 1.0 and 10.0)
    float Limit = 0.0f;

    static constexpr int kDataTypeReference = 8;
};
