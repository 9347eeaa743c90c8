#pragma once
// What the plan dialogs ask of an experiment plan, whichever kind of plan it is.
#include <functional>
#include <string>

#include "platform/archive/Object.h"

class CSensorAssignment;
class CZuSubsystemTable;

class CExpPlan : public CObject
{
public:
    virtual void SetSensor(int row, const std::string& name) = 0;
    virtual void SetSubsystem(int row, const std::string& name) = 0;
    // Places the sensors of an assignment entry on free channels; 0 when they do not fit.
    virtual int AssignSubsystem(const CSensorAssignment& assignment, int index) = 0;
    virtual void ClearSubsystem(const std::string& name) = 0;
    virtual int IsSubsystemUsed(const std::string& name) const = 0;
    virtual void SwapRows(int i, int j) = 0;
    virtual int GetSubsystems(CZuSubsystemTable& table) const = 0;
    virtual int GetChannelCount() const = 0;
    virtual int GetUsedChannelCount() const = 0;
};

// A plan name no plan of a list has (taken tells whether one has it): the name itself when given
// and free, else "%s %d" over the name (or "Plan") with 1, 2, ... so an unnamed plan is "Plan 1".
std::string MakeUniquePlanName(const std::string& name, const std::function<bool(const std::string&)>& taken);
