#pragma once
// One analysis of measured data against the model, over engine speed or over orders: it refers to
// a DAQ project by ID and keeps the RPM options, the input-energy options, the orders, its own band
// set and the mapping of its bands onto the model's. Its children are result folders and results.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/BaseProject.h"
#include "calculation/AnalysisProjectAccess.h"
#include "calculation/CalcIEOptions.h"
#include "calculation/SolverProject.h"
#include "spectral/BandSetOwner.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"

class CDaqProject;
class CHSEAModelData;
class COctaveManagerEx;
class CZuSubsystemTable;

class CAnalysisProject : public CBaseProject, public IBandSetOwner, public IAnalysisProjectAccess, public ISolverProject
{
    DECLARE_SERIAL(CAnalysisProject)

public:
    static constexpr uint32_t kSchema = 8;
    enum { typeRpm = 0, typeOrder = 1 };

    CAnalysisProject();
    explicit CAnalysisProject(const std::string& name);
    ~CAnalysisProject() override;

    int GetProjectType() const override { return m_projectType; }
    void SetProjectType(int type) { m_projectType = type; }
    CRPMOptions& GetRPMOptions() override { return m_rpmOptions; }
    void SetRPMOptions(const CRPMOptions& options) { m_rpmOptions = options; }
    CCalcIEOptions& GetCalcIEOptions() { return m_ieOptions; }
    COrderList& GetOrderList() { return m_orders; }
    void SetOrderList(const COrderList& orders) { m_orders = orders; }
    float GetOTSetting() const override { return m_otSetting; }
    void SetOTSetting(float v) { m_otSetting = v; }
    int GetDaqProjectID() const { return m_daqProjectID; }
    void SetDaqProjectID(int id) { m_daqProjectID = id; }
    void SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands);

    // The owner's DAQ project of the kept ID; null when there is none.
    CDaqProject* GetDaqProject() const;
    // The project's band set, a copy of its DAQ project's on first use; null without one.
    COctaveManagerEx* GetOctaveManager() override;
    std::string GetProjectName() const override { return GetName(); }
    // The DAQ frequency factor of the DAQ project's acquisition configuration; 0.0 without one.
    double GetDaqConfigValue() const override;
    int CompleteSubsystemName(std::string& name) const override;
    bool GetSubsystemParam(const std::string& name, double& mass, double& volume) const override;
    const COctaveManager* GetModelOctaveManager() const override;
    // For each band of the project's band set, the matching band of the model's band set; built
    // first when empty.
    std::vector<int32_t>& GetFreqIndexArray() override;
    // ---- what the energy solver asks ----
    CMElement* GetProjectElement() override { return this; }
    int HasOwner() const override { return GetOwner() != nullptr; }
    // The owner's model project's parameters; -1, 0.0, 0.0 without one.
    void GetModelDataParams(int* kind, double* start, double* end) const override;
    CHSEAModelData* GetHSEAModelData() const;
    int GetInputPowerSubsystems(CZuSubsystemTable& table) const;
    int GetInputEnergySubsystems(CZuSubsystemTable& table) const;

    // ---- calculation engine ----
    // These belong to the calculation engine; until it is linked in they report failure.
    int BuildFreqIndexArray();
    int CalcInputEnergy(const std::string& name, int force);
    int CalcInputPower(const std::string& name, int force, int withEnergies);
    int CalcInputPowerAll(const std::string& name, int force, int withEnergies);
    // Deletes the results except the input-energy and input-power folders.
    void DeleteResults();
    // The input-power folder; null while there is none.
    CMElement* GetInputPowerFolder() const;

    void Serialize(CArchive& ar) override;

private:
    CRPMOptions m_rpmOptions;
    CCalcIEOptions m_ieOptions;
    COrderList m_orders;
    std::unique_ptr<COctaveManagerEx> m_bands;
    std::vector<int32_t> m_freqIndex;
    int32_t m_projectType = typeRpm;
    float m_otSetting = 50.0f;
    int32_t m_daqProjectID = -1;
};
