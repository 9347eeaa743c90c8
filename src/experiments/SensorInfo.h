#pragma once
// A sensor's record as it is copied into channel records of measured data and dialogs. Its
// channel part is also the channel record of the acquisition interfaces (their channel tables
// start a row from other values, see acquisition/ChannelInfo.h).
#include <cstdint>
#include <string>

// Data-type codes of sensors.
inline constexpr int32_t SENSOR_DATATYPE_ACCELERATION = 7;
inline constexpr int32_t SENSOR_DATATYPE_FORCE = 8;
inline constexpr int32_t SENSOR_DATATYPE_PRESSURE = 15;

// The values of a new sensor: no channel, sensitivity 0.0 (none), scale 1.0, the rest 0.
struct CHANNELINFO
{
    int32_t Channel = -1; // no channel; in an acquisition table the index of the row
    std::string AttachPoint;
    std::string Comment;
    int32_t DataType = 0;     // kDataTypeReference marks an interface's reference (trigger) channel
    float Sensitivity = 0.0f; // mV per engineering unit; samples are divided by it
    int32_t Unit = 0;         // data type 7: 1 = per G, 0 = per m/s2
    float Range = 0.0f;       // measuring range
    int32_t AutoRange = 0;    // 1: automatic range requested
    int32_t Coupling = 0;
    float Scale = 1.0f; // on an acquisition channel: its input range in volts (0.1, 1.0, 10.0)
    float Limit = 0.0f;

    static constexpr int32_t kDataTypeReference = 8;

    bool operator==(const CHANNELINFO&) const = default;
};

struct tagSENSORINFO
{
    std::string ID;
    std::string Manufacturer;
    std::string Model;
    std::string SerialNumber;
    CHANNELINFO ChannelInfo;

    bool operator==(const tagSENSORINFO&) const = default;
};
