#pragma once
// One transducer of the sensor catalogue. The element name is the sensor ID.
#include <cstdint>
#include <string>

#include "experiments/SensorInfo.h"
#include "platform/elements/MElement.h"

class CSensor : public CMElement
{
    DECLARE_SERIAL(CSensor)

public:
    static constexpr uint8_t kVersion = 0;

    CSensor() = default; // the class factory: empty name, no parent, type -1 until read
    CSensor(const std::string& name, CMElement* parent, int type);

    // The full record (ID, maker data, channel information).
    tagSENSORINFO GetSensorInfo() const;
    void SetSensorInfo(const tagSENSORINFO& info);

    const std::string& GetID() const { return m_id; }
    void SetID(const std::string& id) { m_id = id; }
    const std::string& GetManufacturer() const { return m_manufacturer; }
    void SetManufacturer(const std::string& s) { m_manufacturer = s; }
    const std::string& GetModel() const { return m_model; }
    void SetModel(const std::string& s) { m_model = s; }
    const std::string& GetSerialNumber() const { return m_serial; }
    void SetSerialNumber(const std::string& s) { m_serial = s; }
    CHANNELINFO& GetChannelInfo() { return m_channel; }
    const CHANNELINFO& GetChannelInfo() const { return m_channel; }
    void SetChannelInfo(const CHANNELINFO& info) { m_channel = info; }

    void Serialize(CArchive& ar) override;

private:
    std::string m_id;
    std::string m_manufacturer;
    std::string m_model;
    std::string m_serial;
    CHANNELINFO m_channel;
};
