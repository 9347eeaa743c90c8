#pragma once
// Look-ups into the open project that the shared utilities answer for every subsystem: the system
// channel count, model subsystems by name, sensor sensitivities and the sensor assignment.
//
// The project container lives in the application layer, which builds on this library; so the
// application installs the answers here once (SetAppLookups) and clears them when it closes. While
// nothing is installed, or the installed answer has no project to ask, each look-up gives its
// "absent" value (0, 0.0, -1, or the name itself).
#include <functional>
#include <string>

class CModelSubsystem;

struct CAppLookups
{
    // The number of acquisition channels recorded on the project container.
    std::function<int()> getSystemChannelCount;
    // Records a channel count on the container and passes it to every DAQ project.
    std::function<void(int)> setSystemChannelCount;
    // The model database's subsystem of that (plain) name; null when there is none.
    std::function<const CModelSubsystem*(const std::string& name)> findModelSubsystem;
    // The name the model project shows for a subsystem (its display name, or the name itself).
    std::function<std::string(const std::string& name)> subsystemDisplayName;
    // The channel-record sensitivity of the sensor with that ID in the sensor project; 0.0 when absent.
    std::function<float(const std::string& id)> sensorSensitivity;
    // Adds item to the sensor-assignment row named rowName; the row index, or -1 when there is no
    // such row or the row refuses the item.
    std::function<int(const std::string& rowName, const std::string& item)> addToSensorAssignment;
};

// Installs the application's answers (an empty CAppLookups clears them).
void SetAppLookups(CAppLookups lookups);

// ---- channel count of the acquisition system ----
// 0 while no project answers.
int GetSystemChannelCount();
// Does nothing while no project answers.
void SetSystemChannelCount(int count);

// ---- model subsystems ----
// Mass of a structure (type below 5), volume of an acoustic subsystem; the name's wave-type mark is
// removed first. 0.0 when the model has no such subsystem.
double GetSubsystemParamByName(const std::string& name);
// "%s:%02d" of the subsystem's name as the model project shows it and localPoint + 1.
std::string FormatSubsystemLPName(const std::string& subsystem, int localPoint);

// ---- sensors ----
float GetSensorSensitivityByID(const std::string& id);
int AddToSensorAssignment(const std::string& rowName, const std::string& item);

// ---- text ----
// The rest of the line after the first occurrence of key, when separator follows the key at once
// (up to the next "\n" or the end of the text); empty otherwise.
std::string ExtractBetween(const std::string& text, const std::string& key, const std::string& separator);

// ---- universal-file node maps ----
// The node number a node map assigns to (subsystem, local point): names compare byte-wise, the
// lowest node number wins; -1 when there is none. NodeMap is any map whose Nodes() are pairs of
// node number and a node with m_nNode, m_strSSName and m_nLP (the universal-file node map).
template <class NodeMap>
int FindUFNodeNumber(const NodeMap& map, const std::string& subsystem, int localPoint)
{
    for (const auto& entry : map.Nodes())
    {
        const auto& node = entry.second;
        if (node.m_nLP == localPoint && node.m_strSSName == subsystem)
            return static_cast<int>(node.m_nNode);
    }
    return -1;
}
