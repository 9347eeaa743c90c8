#pragma once
// What the shared utilities ask of the project an element belongs to: the system channel count,
// model subsystems by name, sensor sensitivities, the sensor assignment and where the project's
// document lies. The project container (in the application layer, above this library) answers;
// an element finds its container by walking up its owners (FindOwner), so two containers open side
// by side each answer for their own elements. Without a container every look-up gives its
// "absent" value (0, 0.0, -1, the name itself, an empty path).
#include <string>

class CMElement;
class CModelSubsystem;

class IProjectLookups
{
public:
    virtual ~IProjectLookups() = default;
    // The number of acquisition channels recorded on the container.
    virtual int GetSystemChannelCount() const = 0;
    // Records a channel count on the container and passes it to every DAQ project.
    virtual void SetSystemChannelCount(int count) = 0;
    // The model database's subsystem of that (plain) name; null when there is none.
    virtual const CModelSubsystem* FindModelSubsystem(const std::string& name) const = 0;
    // The name the model project shows for a subsystem (its display name, or the name itself).
    virtual std::string GetSubsystemDisplayName(const std::string& name) const = 0;
    // The channel-record sensitivity of the sensor with that ID in the sensor project; 0.0 when absent.
    virtual float GetSensorSensitivity(const std::string& id) const = 0;
    // Adds item to the sensor-assignment row named rowName; the row index, or -1 when there is no
    // such row or the row refuses the item.
    virtual int AddToSensorAssignment(const std::string& rowName, const std::string& item) = 0;
    // The file of the document that holds the container; empty while it has none.
    virtual std::string GetDocumentPath() const = 0;

    // The container of element: asked of the first of element and its ancestors that belongs to
    // one (IProjectMember); null when none does.
    static IProjectLookups* FindOwner(const CMElement* element);
};

// An element that knows the container it belongs to: the roots of the container's trees.
class IProjectMember
{
public:
    virtual ~IProjectMember() = default;
    virtual IProjectLookups* GetProjectLookups() const = 0;
};

// ---- channel count of the acquisition system ----
// The most channels a project can record: the project file keeps a range value per channel and
// its reader refuses more, so nothing may set a count above it.
inline constexpr int kMaxSystemChannelCount = 1 << 16;
// Whether a count is one a project can be saved and opened again with (1 to the most).
inline bool IsValidSystemChannelCount(long long count)
{
    return count >= 1 && count <= kMaxSystemChannelCount;
}
// 0 without a container.
int GetSystemChannelCount(const IProjectLookups* project);
// Does nothing without a container.
void SetSystemChannelCount(IProjectLookups* project, int count);

// ---- model subsystems ----
// Mass of a structure (type below 5), volume of an acoustic subsystem; the name's wave-type mark is
// removed first. 0.0 when the model has no such subsystem.
double GetSubsystemParamByName(const IProjectLookups* project, const std::string& name);
// "%s:%02d" of the subsystem's name as the model project shows it and localPoint + 1.
std::string FormatSubsystemLPName(const IProjectLookups* project, const std::string& subsystem, int localPoint);

// ---- sensors ----
float GetSensorSensitivityByID(const IProjectLookups* project, const std::string& id);
int AddToSensorAssignment(IProjectLookups* project, const std::string& rowName, const std::string& item);

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
    for (const auto& entry : map.Nodes()) {
        const auto& node = entry.second;
        if (node.m_nLP == localPoint && node.m_strSSName == subsystem)
            return static_cast<int>(node.m_nNode);
    }
    return -1;
}
