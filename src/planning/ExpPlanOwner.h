#pragma once
// What the planning exchange reads and replaces of the project that owns the plans: the system's
// channel count, the unit groups, the plan list and the sensor assignment.
class CQMXBlixListArray;
class CQMXSensorMapList;
class CSensorAssignment;

class IExpPlanOwner
{
public:
    virtual ~IExpPlanOwner() = default;
    virtual int GetSystemChannelCount() const = 0;
    // Sets the channel count of the system and of everything measured with it.
    virtual int SetMaxChannel(int n) = 0;
    virtual CQMXBlixListArray& GetBlixLists() = 0;
    virtual CQMXSensorMapList* GetSensorMapList() const = 0;
    virtual CSensorAssignment* GetSensorAssignment() const = 0;
};
