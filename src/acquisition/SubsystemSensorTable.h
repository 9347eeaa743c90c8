#pragma once
// The data behind the subsystem-sensor table: per subsystem of an experiment, the sensor bundles
// that serve it and, per local point (LP), the acquisition channel and the sensor on it. It is
// built from the subsystems' sensor groups, edited by bundle and channel choice, checked as a
// whole, and read back as new sensor groups. Nothing is written to the project by the table.
#include "acquisition/QmxBlixChMgr.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CSensor;
class CSensorBundle;
class CSensorGroup;
class CSensorProject;

class CSubsystemSensorTable
{
public:
    // Sensor data types a structure or an acoustic subsystem is measured with.
    static constexpr int kStructureDataType = 7;
    static constexpr int kAcousticDataType = 15;

    // One local point: its channel (none when the inventory has no record of that number), its
    // sensor (not owned) and the two keys of the group member it came from.
    struct CLPData
    {
        std::optional<CQmxBlixChInfo> channel;
        CSensor* sensor = nullptr;
        int keyA = -1;
        int keyB = -1;
    };
    struct CBundleData
    {
        CSensorBundle* bundle = nullptr; // not owned
        const CQmxBlixChMgr* inventory = nullptr;
    };
    struct CSSData
    {
        std::string name;
        const CSensorGroup* group = nullptr; // not owned
        const CQmxBlixChMgr* inventory = nullptr;
        bool structure = true; // a structure subsystem (else acoustic)
        std::vector<CLPData> lps;
        std::vector<CBundleData> bundles;
    };
    // What the table is built from: per subsystem its name, sensor group, channel inventory and
    // kind (all borrowed).
    struct CSource
    {
        std::string name;
        const CSensorGroup* group = nullptr;
        const CQmxBlixChMgr* inventory = nullptr;
        bool structure = true;
    };
    // A validation failure: the message id and the formatted text.
    struct CFinding
    {
        uint32_t messageId = 0;
        std::string text;
    };
    // One entry of the channel choice: the label and (i << 16) | b.
    struct CChoice
    {
        std::string label;
        int data = 0;
    };

    // sensors: the project's sensor catalogue (borrowed); systemChannels: the system channel count.
    CSubsystemSensorTable(CSensorProject* sensors, int systemChannels);
    ~CSubsystemSensorTable();

    // Builds the subsystems from their sources; the IDs of group members whose sensor is missing
    // go to missingSensors (those members are skipped).
    void Build(const std::vector<CSource>& sources, std::vector<std::string>* missingSensors = nullptr);

    int GetCount() const { return static_cast<int>(m_list.size()); }
    CSSData& Get(int i) { return m_list.at(static_cast<size_t>(i)); }
    const CSSData& Get(int i) const { return m_list.at(static_cast<size_t>(i)); }
    int Find(const std::string& name) const;
    CSensorProject* GetSensorProject() const { return m_sensors; }
    int GetSystemChannelCount() const { return m_systemChannels; }

    // The bundles that can serve a subsystem: those whose bundle ID is the serial of a unit of the
    // inventory.
    std::vector<CSensorBundle*> CandidateBundles(const CQmxBlixChMgr& inventory) const;
    // Replaces a subsystem's bundles and rebuilds its LPs from them: one LP per sensor of each
    // bundle, on the unit channel of the same position.
    void SetBundles(int subsystem, const std::vector<CSensorBundle*>& bundles);
    // The channels of a bundle's unit, in unit-channel order.
    static std::vector<const CQmxBlixChInfo*> UnitChannels(const CQmxBlixChMgr& inventory, const CSensorBundle& bundle);
    // The channel choices of a subsystem and the entry matching the LP's channel (-1: none).
    std::vector<CChoice> ChannelChoices(int subsystem, int lp, int* current = nullptr) const;
    // Chooses entry (i, b) for an LP: channel i of bundle b's unit and sensor i of bundle b.
    bool ChooseChannel(int subsystem, int lp, int data);

    // The checks of one subsystem and those across subsystems; false with the first finding.
    bool ValidateSubsystem(int subsystem, CFinding& finding) const;
    bool ValidateAcross(CFinding& finding) const;
    // Every subsystem, then across them.
    bool Validate(CFinding& finding) const;

    // A new group with one member per LP that has a channel (sensor ID, keys, channel number, LP
    // index); null for a name that is not one of the table's subsystems.
    std::unique_ptr<CSensorGroup> LookupSubsystem(const std::string& name) const;

private:
    std::vector<CSSData> m_list;
    CSensorProject* m_sensors;
    int m_systemChannels;
};
