#pragma once
// The sensor catalogue of a project: the sensors under three category elements (accelerometers,
// microphones, hammers), the bundles and the groups.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/ProjectLookups.h"
#include "experiments/Sensor.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorGroup.h"
#include "platform/base/Feedback.h"
#include "platform/elements/MElement.h"

// The values of the sensor property dialog.
struct SensorDialogValues
{
    std::string id;
    std::string manufacturer;
    std::string model;
    std::string serialNumber;
    int unitChoice = 0; // 0 mV/G, 1 mV/(m/s2), 2 mV/Pa, 3 mV/N
    float sensitivity = 0.0f;
    float limit = 0.0f;
};

class CSensorProject : public CMElement, public IProjectMember
{
    DECLARE_SERIAL(CSensorProject)

public:
    static constexpr uint8_t kVersion = 1;
    static constexpr double kGravity = 9.80665;

    // Categories, numbered as the element types of their sensors.
    enum
    {
        categoryAcceleration = 1,
        categoryMicrophone = 2,
        categoryHammer = 3
    };

    CSensorProject();
    ~CSensorProject() override;

    // The category element (1, 2 or 3); null for another number.
    CMElement* GetCategory(int category) const;
    // The category of a data type (7 -> 1, 15 -> 2, 8 -> 3), 0 for any other.
    static int CategoryOfDataType(int dataType);

    CSensor* FindSensor(const std::string& id) const;
    // Adds a sensor of the record's kind. Null when the ID is taken (message 6201, reported as a
    // warning through the feedback) or the data type is not a sensor's.
    CSensor* AddSensor(const tagSENSORINFO& info, CFeedback* feedback = SilentFeedback());
    // The dialog's values as a sensor record; false for an unknown unit choice.
    static bool DialogValuesToSensorInfo(const SensorDialogValues& values, tagSENSORINFO& info);
    CSensor* AddSensor(const SensorDialogValues& values, CFeedback* feedback = SilentFeedback());
    // Updates a sensor from the dialog's values and renames it to the ID. Refused (false, message
    // 6201, reported as above) when another sensor has that ID, or when the values do not convert.
    bool UpdateSensor(CSensor* sensor, const SensorDialogValues& values, CFeedback* feedback = SilentFeedback());
    // Every sensor, categories in order.
    std::vector<CSensor*> GetAllSensors() const;

    // ---- bundles ----
    int GetBundleCount() const { return static_cast<int>(m_bundles.size()); }
    CSensorBundle* GetBundle(int i) const;
    CSensorBundle* FindBundleByNo(int number) const;
    CSensorBundle* FindBundleByID(const std::string& id) const;
    // A new bundle numbered one above the greatest number; an empty ID becomes the number + 1.
    CSensorBundle* AddBundle(const std::string& id);
    // Appends a bundle as it is (number and ID kept); the caller keeps the numbers apart.
    CSensorBundle* AppendBundle(std::unique_ptr<CSensorBundle> bundle);
    void DeleteBundle(int i);
    int SwapBundles(int i, int j);
    // A new bundle with a default ID and the sensors of bundle number; null when it does not exist.
    CSensorBundle* CopyBundle(int number);

    // ---- groups ----
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    CSensorGroup* GetGroup(int i) const;
    // A new empty group at index i; an index past the end appends. Null for a negative index.
    CSensorGroup* InsertGroup(int i);
    void DeleteGroup(int i);
    // A copy of group i appended at the end; null when i is out of range.
    CSensorGroup* DuplicateGroup(int i);
    int SwapGroups(int i, int j);
    // Moves group i's channels by delta within the system channel count.
    int ShiftGroup(int i, int delta);
    // The system channel count of the container the sensors belong to; 16 without one.
    int GetChannelCount() const;
    // Appends the indexes of the groups that use bundle number; returns how many were appended.
    int GetGroupsUsingBundle(int number, std::vector<int>& indexes) const;

    // Replaces sensors, bundles and groups by those of source, which is left empty (linear time).
    void TakeContentsOf(CSensorProject& source);

    void Serialize(CArchive& ar) override;

    // The container that holds the sensor project (not owned; it sets itself).
    IProjectLookups* GetProjectLookups() const override { return m_lookups; }
    void SetProjectLookups(IProjectLookups* lookups) { m_lookups = lookups; }

private:
    void CreateCategories();
    void EnsureCategories();

    std::vector<std::unique_ptr<CSensorBundle>> m_bundles;
    std::vector<std::unique_ptr<CSensorGroup>> m_groups;
    IProjectLookups* m_lookups = nullptr;
};
