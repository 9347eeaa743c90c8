#pragma once
// The measured data of one measurement campaign: its acquisition configuration, the calculation
// options that turn time data into spectra, its own band set and, as children, the experiments.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/DAQConfig.h"
#include "app/BaseProject.h"
#include "calculation/CalcOptions.h"

class COctaveManagerEx;

class CDaqProject : public CBaseProject
{
    DECLARE_SERIAL(CDaqProject)

public:
    static constexpr uint8_t kVersion = 8;
    static constexpr uint8_t kOldestVersion = 5;

    CDaqProject();
    explicit CDaqProject(const std::string& name);
    ~CDaqProject() override;

    CDAQConfig* GetDAQConfig() { return &m_daqConfig; }
    const CDAQConfig* GetDAQConfig() const { return &m_daqConfig; }
    CCalcOptions* GetCalcOptions() { return &m_calcOptions; }
    const CCalcOptions* GetCalcOptions() const { return &m_calcOptions; }
    int GetMaxChannel() const { return m_maxChannel; }
    void SetMaxChannel(int n) { m_maxChannel = n; }
    // The model's band set through the owner; null without one.
    COctaveManagerEx* GetModelOctaveManager() const;
    // The project's own band set, made on first use from the model's band kind, from the model's
    // first band up to the acquisition's frequency limit.
    COctaveManagerEx* GetOctaveManager();
    void SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands);
    // The owner's target subsystem; empty without an owner.
    std::string GetTargetSubsystemName() const;

    // Data imported from universal files rather than measured.
    int IsUFData() const { return m_ufData; }

    // Values kept from version 8 on; their meaning lies with those who set them.
    const std::string& GetExtraText() const { return m_extraText; }
    void SetExtraText(const std::string& s) { m_extraText = s; }
    double GetExtraValue(int i) const { return i == 0 ? m_extraValue1 : m_extraValue2; }
    void SetExtraValue(int i, double v) { (i == 0 ? m_extraValue1 : m_extraValue2) = v; }
    std::vector<int32_t>& GetExtraList() { return m_extraList; }

    void Serialize(CArchive& ar) override;

protected:
    int32_t m_ufData = 0;

private:
    std::unique_ptr<CObject> m_auxiliary;
    CDAQConfig m_daqConfig;
    int32_t m_maxChannel = 16;
    CCalcOptions m_calcOptions;
    std::unique_ptr<CMElement> m_averagedData;
    std::unique_ptr<COctaveManagerEx> m_bands;
    std::string m_extraText;
    std::vector<int32_t> m_extraList;
    double m_extraValue1 = 0.0;
    double m_extraValue2 = 0.0;
};
