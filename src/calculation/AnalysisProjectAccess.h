#pragma once
// What the result folders and calculators of an analysis project need of the project that holds
// them: its kind, name, band set, RPM axis and order settings, and the model's view of subsystem
// names, on top of what the energy solver needs (ISolverProject). The analysis project lives in
// the project model above this library and implements it; a folder finds it as its parent.
#include <string>

#include "calculation/SolverProject.h"

class CMElement;
class COctaveManager;
class COrderList;
class IDaqProjectAccess;

class IAnalysisProjectAccess : public ISolverProject
{
public:
    ~IAnalysisProjectAccess() override = default;
    // 0 by RPM, 1 by order.
    virtual int GetProjectType() const = 0;
    virtual std::string GetProjectName() const = 0;
    // The analysed orders (projects by order).
    virtual COrderList& GetOrderList() = 0;
    // The order-tracking setting that weights order lines (50.0 by default).
    virtual float GetOTSetting() const = 0;
    // The DAQ frequency factor of order frequencies; 0.0 without a DAQ project.
    virtual double GetDaqConfigValue() const = 0;
    // The model's kind of the subsystem (below 5 a structure), its name completed with the wave
    // sign; -1 (name unchanged) when the model does not know it.
    virtual int CompleteSubsystemName(std::string& name) const = 0;
    // Mass and volume of a model subsystem (plain or completed name); false when unknown.
    virtual bool GetSubsystemParam(const std::string& name, double& mass, double& volume) const = 0;
    // The model's band set; null without a model.
    virtual const COctaveManager* GetModelOctaveManager() const = 0;
    // The DAQ project whose measurements the results are compared with; null without one.
    virtual IDaqProjectAccess* GetDaqProjectAccess() const { return nullptr; }
    // The RPM margin of the input-energy options (0.0: none).
    virtual float GetInputEnergyRpmMargin() const { return 0.0f; }

    // The first of element and its ancestors that implements the interface; null when none does.
    static IAnalysisProjectAccess* FindOwner(CMElement* element);
};
