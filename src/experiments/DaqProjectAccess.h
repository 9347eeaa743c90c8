#pragma once
// What the measured data need of the DAQ project and of its experiments. The DAQ project, its
// experiments and their data sets live in the project model above this library; they implement
// these interfaces, so that the experiment project and the averaging reach them without knowing
// the project model.
#include <string>

#include "platform/elements/MElementList.h"

class CCalcOptions;
class CDAQConfig;
class CExpInfo;
class CMultiVectorFunction;
class COctaveManagerEx;
class CRPMOptions;
class CSensorProject;
class CZuRpmFunc;

// One measured data set of an experiment (its description, options and computed functions).
class IDaqExperimentData
{
public:
    virtual ~IDaqExperimentData() = default;
    virtual CExpInfo* GetExpInfo() = 0;
    virtual CCalcOptions* GetCalcOptions() = 0;
    // The first spectrum map over RPM / multi-vector function of that name among its results.
    virtual CZuRpmFunc* FindRpmFuncByName(const std::string& name) const = 0;
    virtual CMultiVectorFunction* FindMultiVecFuncByName(const std::string& name) const = 0;
};

// An element whose children are data sets with a use flag (an experiment).
class IDaqExperimentSource
{
public:
    virtual ~IDaqExperimentSource() = default;
    // Appends the children in use; returns the list size.
    virtual int GetUsedChildren(CMElementList& list) = 0;
};

// The DAQ project whose settings apply to measured data.
class IDaqProjectAccess
{
public:
    virtual ~IDaqProjectAccess() = default;
    virtual CDAQConfig* GetDAQConfig() = 0;
    virtual CCalcOptions* GetCalcOptions() = 0;
    // The project's band set, made on first use.
    virtual COctaveManagerEx* GetOctaveManager() = 0;
    // The owning container's target subsystem; empty without one.
    virtual std::string GetTargetSubsystemName() const = 0;
    // The sensor catalogue of the owning container; null without one.
    virtual CSensorProject* GetSensorProject() const = 0;
    // Whether the model subsystem is a structure (1) or not (0).
    virtual int IsStructure(const std::string& name) const = 0;
    // Clears the list, then collects the data sets in use whose description names the subsystem
    // (as name 0 or name 1); returns the count. Every listed element implements IDaqExperimentData.
    virtual int FindDAQExperimentsBySubsystem(const std::string& name, CMElementList& list) = 0;
    // Clears the list, then collects the data sets in use of the experiment named after the
    // subsystem (the measurements in which it was excited); returns the count. Every listed element
    // implements IDaqExperimentData. A project without experiments of its own has none.
    virtual int GetUsedDAQExperimentsOf(const std::string& name, CMElementList& list) const
    {
        (void)name;
        list.Clear();
        return 0;
    }
    // How the levels of several experiments are averaged (GetLevelAverage modes).
    virtual int GetAveragingMode() const = 0;
    // The factor that turns a squared value of the subsystem into its energy: volume / (343² x 1.21)
    // for a cavity, the mass for a structure; 0 when the model does not know the subsystem.
    virtual double GetSubsystemEnergyFactor(const std::string& name) const = 0;
    // Lets the user edit an RPM axis (the RPM setting dialog); true on OK.
    virtual bool EditRpmOptions(CRPMOptions& options) = 0;
    // Marks the document that holds the project as modified.
    virtual void SetModified() = 0;
};
