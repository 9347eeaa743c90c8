#pragma once
// Combines the results of several experiments that measured one subsystem into one result: per RPM
// row and frequency band the non-zero values of all experiments are level-averaged in the
// project's averaging mode (zero cells count as missing). Made on the stack for one call; the
// results belong to the caller.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"

class CMElementList;
class CRPMOptions;
class CZuOTFunc;
class CZuRpmFunc;
class IDaqExperimentData;
class IDaqExperimentSource;
class IDaqProjectAccess;

class CAveExpData
{
public:
    // Element kind of averaged maps.

    explicit CAveExpData(IDaqProjectAccess* project = nullptr);
    virtual ~CAveExpData();
    CAveExpData(const CAveExpData&) = delete;
    CAveExpData& operator=(const CAveExpData&) = delete;

    void SetDAQProject(IDaqProjectAccess* project) { m_project = project; }
    IDaqProjectAccess* GetDAQProject() const { return m_project; }
    // The options the last averaging made (from the data or the dialog); null when none.
    const CRPMOptions* GetRpmOptions() const { return m_options.get(); }

    // The averaged map over RPM of a subsystem, over the source's used data sets (or the project's
    // data sets of the subsystem). With message set, a missing experiment is reported through the
    // feedback (6129) and disagreeing RPM grids are resolved in the RPM setting dialog; else they
    // give null.
    std::unique_ptr<CZuRpmFunc> AverageRpmFuncs(const std::string& name, IDaqExperimentSource* source, int message,
                                                const CRPMOptions* options, CFeedback* feedback = SilentFeedback());
    // The averaged map over order from the experiments' multi-vector functions of the subsystem.
    std::unique_ptr<CZuOTFunc> AverageRpmVecFuncs(const std::string& name, IDaqExperimentSource* source, int flag);
    // Energies per band of a subsystem at one RPM, averaged over the project's experiments; 0 when
    // there is nothing to average.
    int AverageSubsystemData(const std::string& name, double rpm, std::vector<double>& out);

    // Whether every experiment's map of the subsystem has the RPM rows and frequencies of the first
    // one found (no maps agree).
    static bool RpmGridsAgree(const std::string& name, const std::vector<IDaqExperimentData*>& experiments);
    // The RPM rows of an axis: list mode the list; range mode from the minimum while not above the
    // maximum (the minimum alone for a step of 0 or below, none when the minimum is above the maximum).
    static std::vector<double> ResultRpms(const CRPMOptions& options);

private:
    std::vector<IDaqExperimentData*> CollectExperiments(const std::string& name, IDaqExperimentSource* source);
    static bool NamesSubsystem(IDaqExperimentData* experiment, const std::string& name);

    IDaqProjectAccess* m_project = nullptr;
    std::unique_ptr<CRPMOptions> m_options;
};
