#pragma once
// Up to eight sensors cabled together, known to groups by the bundle number.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/archive/Archive.h"

class CSensorBundle : public CObject
{
    DECLARE_SERIAL(CSensorBundle)

public:
    static constexpr uint8_t kVersion = 1;
    static constexpr int kMaxSensors = 8;

    CSensorBundle() = default;

    int GetNumber() const { return m_number; }
    void SetNumber(int n) { m_number = n; }
    // The whole ID text ("prefix-name" as the bundle-name dialog composes it).
    const std::string& GetID() const { return m_id; }
    void SetID(const std::string& id) { m_id = id; }
    // The ID left of its first "-" (empty without one); the name right of it.
    std::string GetBundleID() const;
    std::string GetBundleName() const;
    // String 7068 formatted with the number, "-", and the trimmed name.
    static std::string ComposeBundleID(const std::string& numberText, const std::string& name);

    // Appends a copy unless the bundle is full or holds the ID already; 1 when added.
    int AddSensor(const std::string& id);
    // Removes the first equal ID; 1 when one was removed.
    int RemoveSensor(const std::string& id);
    // Removes the ID at an index; ignored out of range.
    void RemoveSensor(int index);
    const std::string& GetSensorID(int index) const { return m_sensors[static_cast<size_t>(index)]; }
    // Replaces the ID at an index; ignored out of range.
    void SetSensorID(int index, const std::string& id)
    {
        if (index >= 0 && index < GetCount())
            m_sensors[static_cast<size_t>(index)] = id;
    }
    // Puts the ID at an index (below the bundle's capacity), adding empty entries up to it.
    void SetSensorAt(int index, const std::string& id);
    void RemoveAllSensors() { m_sensors.clear(); }
    int FindSensor(const std::string& id) const;
    void SwapSensors(int i, int j);
    int GetCount() const { return static_cast<int>(m_sensors.size()); }
    const std::vector<std::string>& GetSensors() const { return m_sensors; }

    void Serialize(CArchive& ar) override;
    // The version byte of the last read (0 for bundles of the oldest files).
    uint8_t GetReadVersion() const { return m_readVersion; }

private:
    int32_t m_number = -1;
    std::string m_id;
    std::vector<std::string> m_sensors;
    uint8_t m_readVersion = kVersion;
};
