#include "experiments/Sensor.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CSensor, CMElement, 0 | VERSIONABLE_SCHEMA)

CSensor::CSensor(const std::string& name, CMElement* parent, int type) : CMElement(name, parent, type), m_id(name) {}

tagSENSORINFO CSensor::GetSensorInfo() const
{
    return {m_id, m_manufacturer, m_model, m_serial, m_channel};
}

void CSensor::SetSensorInfo(const tagSENSORINFO& info)
{
    m_id = info.ID;
    m_manufacturer = info.Manufacturer;
    m_model = info.Model;
    m_serial = info.SerialNumber;
    m_channel = info.ChannelInfo;
}

void CSensor::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        CMElement::Serialize(ar);
        ar << m_id << m_manufacturer << m_model << m_serial;
        ar << m_channel.Channel << m_channel.AttachPoint << m_channel.Comment << m_channel.DataType
           << m_channel.Sensitivity << m_channel.Unit << m_channel.Range << m_channel.AutoRange << m_channel.Coupling
           << m_channel.Scale << m_channel.Limit;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("sensor of version %d", version));
    CMElement::Serialize(ar);
    ar >> m_id >> m_manufacturer >> m_model >> m_serial;
    ar >> m_channel.Channel >> m_channel.AttachPoint >> m_channel.Comment >> m_channel.DataType >>
        m_channel.Sensitivity >> m_channel.Unit >> m_channel.Range >> m_channel.AutoRange >> m_channel.Coupling >>
        m_channel.Scale >> m_channel.Limit;
}
