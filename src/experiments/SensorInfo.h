#pragma once
// A sensor's record as it is copied into channel records of measured data and dialogs, and the
// channel settings of one acquisition channel.
#include <cstdint>
#include <string>

// Data-type codes of sensors.
inline constexpr int32_t SENSOR_DATATYPE_ACCELERATION = 7;
inline constexpr int32_t SENSOR_DATATYPE_FORCE = 8;
inline constexpr int32_t SENSOR_DATATYPE_PRESSURE = 15;

struct CHANNELINFO
{
    int32_t Channel = -1; // no channel
    std::string AttachPoint;
    std::string Comment;
    int32_t DataType = 0;
    float Sensitivity = 0.0f; // mV per engineering unit
    int32_t Unit = 0;         // data type 7: 1 = per G, 0 = per m/s2
    int32_t Range = 0;
    int32_t AutoRange = 0;
    int32_t Coupling = 0;
    float Scale = 1.0f;
    float Limit = 0.0f;

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
