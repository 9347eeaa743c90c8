#include "experiments/SensorBundle.h"

#include <cstdlib>

#include "platform/base/Format.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CSensorBundle, CObject, 0 | VERSIONABLE_SCHEMA)

std::string CSensorBundle::GetBundleID() const
{
    const size_t dash = m_id.find('-');
    return dash == std::string::npos ? std::string() : m_id.substr(0, dash);
}

std::string CSensorBundle::GetBundleName() const
{
    const size_t dash = m_id.find('-');
    return dash == std::string::npos ? std::string() : m_id.substr(dash + 1);
}

std::string CSensorBundle::ComposeBundleID(const std::string& numberText, const std::string& name)
{
    const std::string prefix = FormatString(IDS_UNIT_LABEL, std::atoi(numberText.c_str()));
    const char* ws = " \t\r\n";
    const size_t first = name.find_first_not_of(ws);
    const std::string trimmed =
        first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(ws) - first + 1);
    return Format("%s-%s", prefix.c_str(), trimmed.c_str());
}

int CSensorBundle::AddSensor(const std::string& id)
{
    if (GetCount() >= kMaxSensors || FindSensor(id) >= 0)
        return 0;
    m_sensors.push_back(id);
    return 1;
}

int CSensorBundle::RemoveSensor(const std::string& id)
{
    const int i = FindSensor(id);
    if (i < 0)
        return 0;
    m_sensors.erase(m_sensors.begin() + i);
    return 1;
}

void CSensorBundle::RemoveSensor(int index)
{
    if (index >= 0 && index < GetCount())
        m_sensors.erase(m_sensors.begin() + index);
}

int CSensorBundle::FindSensor(const std::string& id) const
{
    for (size_t i = 0; i < m_sensors.size(); ++i)
        if (m_sensors[i] == id)
            return static_cast<int>(i);
    return -1;
}

void CSensorBundle::SwapSensors(int i, int j)
{
    if (i >= 0 && i < GetCount() && j >= 0 && j < GetCount())
        std::swap(m_sensors[i], m_sensors[j]);
}

void CSensorBundle::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        ar << static_cast<int32_t>(m_sensors.size());
        for (const auto& s : m_sensors)
            ar << s;
        ar << m_number << m_id;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("sensor bundle of version %d", version));
    m_readVersion = version;
    m_sensors.clear();
    const int32_t count = ar.ReadSignedCount(1, "sensors in a sensor bundle");
    m_sensors.assign(static_cast<size_t>(count), std::string());
    for (auto& s : m_sensors)
        ar >> s;
    if (version >= 1)
        ar >> m_number >> m_id;
}

void CSensorBundle::SetSensorAt(int index, const std::string& id)
{
    if (index < 0 || index >= kMaxSensors)
        return;
    if (index >= GetCount())
        m_sensors.resize(static_cast<size_t>(index) + 1);
    m_sensors[static_cast<size_t>(index)] = id;
}
