#pragma once
// One experiment of a DAQ project: an ordered pair of model subsystems (the second one excited,
// the first one responding) and, as children, its measured data sets numbered by serial.
#include <cstdint>
#include <memory>
#include <string>

#include "experiments/DaqProjectAccess.h"
#include "platform/base/Feedback.h"
#include "platform/elements/MElement.h"

class CDAQExperiment;
class CExpInfo;
class CMElementList;
class CRPMOptions;

class CTALVOExp : public CMElement, public IDaqExperimentSource
{
    DECLARE_SERIAL(CTALVOExp)

public:
    static constexpr uint32_t kSchema = 2;

    CTALVOExp(); // the class factory
    CTALVOExp(const std::string& name, CMElement* parent, int type);
    ~CTALVOExp() override;

    const std::string& GetDescription() const { return m_description; }
    void SetDescription(const std::string& s) { m_description = s; }
    const std::string& GetFirstSubsystem() const { return m_first; }
    void SetFirstSubsystem(const std::string& s) { m_first = s; }
    const std::string& GetSecondSubsystem() const { return m_second; }
    void SetSecondSubsystem(const std::string& s) { m_second = s; }
    int GetUseFlag() const { return m_use; }
    void SetUseFlag(int use) { m_use = use; }
    int GetLastSerial() const { return m_lastSerial; }
    int NextSerial() { return ++m_lastSerial; }

    // A new data set of the measured data described by info (not yet added as a child).
    std::unique_ptr<CDAQExperiment> CreateDAQExperiment(const CExpInfo& info);
    int GetUsedChildren(CMElementList& list) override;
    CDAQExperiment* FindDataSetBySerial(int serial) const;

    // Averaged maps over this experiment's data sets; the previous one is replaced. The map is the
    // experiment's (its parent) without being one of its children. With message set, a subsystem
    // without experiments is reported to the feedback.
    CMElement* AverageRpmFuncs(const std::string& name, int message, const CRPMOptions* options,
                               CFeedback* feedback = SilentFeedback());
    CMElement* AverageRpmVecFuncs(const std::string& name, int flag);
    CMElement* GetAveragedData() const { return m_averaged.get(); }

    void Serialize(CArchive& ar) override;

private:
    int32_t m_use = 1;
    int32_t m_lastSerial = 0;
    std::string m_description;
    std::string m_first;
    std::string m_second;
    std::unique_ptr<CMElement> m_averaged;
};
