#pragma once
// One measured data set of an experiment: serial number, the DAQ project it was measured in, its
// description (subsystem names 0 and 1, sensor groups, hardware) and the calculation options, and
// as children the spectral functions computed from it.
#include <cstdint>
#include <memory>
#include <string>

#include "acquisition/DAQDataSet.h"
#include "experiments/CalcOptions.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpInfo.h"
#include "platform/elements/MElement.h"

class CDaqProject;
class CMElementList;
class CMultiVectorFunction;
class CZuRpmFunc;

class CDAQExperiment : public CMElement, public IDaqExperimentData, public IDAQDataSet
{
    DECLARE_SERIAL(CDAQExperiment)

public:
    static constexpr uint32_t kSchema = 6;
    static constexpr uint32_t kOldestSchema = 5;

    CDAQExperiment(); // the class factory
    CDAQExperiment(const std::string& name, CMElement* parent, int type);
    ~CDAQExperiment() override;

    CExpInfo* GetExpInfo() override { return m_info.get(); }
    const CExpInfo* GetExpInfo() const { return m_info.get(); }
    CCalcOptions* GetCalcOptions() override { return &m_calcOptions; }
    const CCalcOptions* GetCalcOptions() const { return &m_calcOptions; }
    int GetDaqProjectID() const override { return m_daqProjectID; }
    void SetDaqProjectID(int id) { m_daqProjectID = id; }
    const std::string& GetDescription() const override { return m_description; }
    void SetDescription(const std::string& s) { m_description = s; }
    int GetUseFlag() const override { return m_use; }
    void SetUseFlag(int use) override { m_use = use; }
    int GetSerial() const override { return m_serial; }
    void SetSerial(int serial) { m_serial = serial; }
    // Names the data set with its serial number ("%02d").
    void UpdateName();
    // A copy of info of its own class (a derived description keeps what it adds).
    void SetExpInfo(const CExpInfo& info);

    // 0 or 1 when name is name 0 or name 1 of the description, else -1.
    int GetInfoNameIndex(const std::string& name) const;
    std::string GetFirstInfoName() const { return m_info->GetName(0); }
    std::string GetSecondInfoName() const { return m_info->GetName(1); }

    // Copies options (when given), then sets the local-point list to the two subsystems, enabled.
    void SetCalcOptions(const CCalcOptions* options);
    // Files copies of the fitting functions of the list into the data set (see the source).
    void AddFuncs(const CMElementList& list) override;

    CZuRpmFunc* FindRpmFuncByName(const std::string& name) const override;
    CZuRpmFunc* FindRpmFuncOfFirstName() const { return FindRpmFuncByName(GetFirstInfoName()); }
    CZuRpmFunc* FindRpmFuncOfSecondName() const { return FindRpmFuncByName(GetSecondInfoName()); }
    CMElement* FindFuncByNameAndType(const std::string& name, int code) const override;
    CMElement* FindFuncOfFirstNameByType(int code) const { return FindFuncByNameAndType(GetFirstInfoName(), code); }
    CMElement* FindFuncOfSecondNameByType(int code) const { return FindFuncByNameAndType(GetSecondInfoName(), code); }
    CMultiVectorFunction* FindMultiVecFuncByName(const std::string& name) const override;
    CMultiVectorFunction* FindMultiVecFuncOfFirstName() const { return FindMultiVecFuncByName(GetFirstInfoName()); }
    CMultiVectorFunction* FindMultiVecFuncOfSecondName() const { return FindMultiVecFuncByName(GetSecondInfoName()); }

    // The DAQ project above the data set; null when it hangs elsewhere.
    CDaqProject* GetDaqProject() const;

    void Serialize(CArchive& ar) override;

private:
    int32_t m_use = 0;
    int32_t m_serial = 0;
    int32_t m_daqProjectID = -1;
    std::string m_description;
    std::unique_ptr<CExpInfo> m_info;
    CCalcOptions m_calcOptions;
};
