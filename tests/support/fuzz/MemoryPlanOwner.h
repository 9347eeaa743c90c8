#pragma once
// A plan owner that holds its units, plans and cable assignment in memory, for the plan imports'
// tests and fuzz targets (a project is not needed to exercise them).
#include "planning/ExpPlanOwner.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"

class CMemoryPlanOwner : public IExpPlanOwner
{
public:
    int GetSystemChannelCount() const override { return channels; }
    int SetMaxChannel(int n) override
    {
        channels = n;
        return 1;
    }
    CQMXBlixListArray& GetBlixLists() override { return groups; }
    CQMXSensorMapList* GetSensorMapList() const override { return const_cast<CQMXSensorMapList*>(&plans); }
    CSensorAssignment* GetSensorAssignment() const override { return const_cast<CSensorAssignment*>(&assignment); }

    int channels = 16;
    CQMXBlixListArray groups;
    CQMXSensorMapList plans;
    CSensorAssignment assignment;
};
