#pragma once
// A DAQ project whose measurements come from universal files, with what the import needs to repeat
// and extend itself: the source files, the node map, the channel plans and the import settings.
#include <cstdint>
#include <string>
#include <vector>

#include "app/DaqProject.h"
#include "planning/DAQPPExpPlanList.h"
#include "uff/UFNodeMap.h"

class CExtUFDaqProject : public CDaqProject
{
    DECLARE_SERIAL(CExtUFDaqProject)

public:
    static constexpr uint8_t kVersion = 3;

    CExtUFDaqProject();
    explicit CExtUFDaqProject(const std::string& name);
    ~CExtUFDaqProject() override;

    double GetBandValue() const { return m_bandValue; }
    void SetBandValue(double v) { m_bandValue = v; }
    int GetListSelection() const { return m_listSelection; }
    void SetListSelection(int v) { m_listSelection = v; }
    std::vector<std::string>& GetSourceFiles() { return m_sourceFiles; }
    CUFNodeMap& GetNodeMap() { return m_nodeMap; }
    int GetOctaveCheck() const { return m_octaveCheck; }
    void SetOctaveCheck(int v) { m_octaveCheck = v; }
    CDAQPPExpPlanList& GetExpPlans() { return m_plans; }
    int GetPlanMaxChannel() const { return m_planMaxChannel; }
    void SetPlanMaxChannel(int n) { m_planMaxChannel = n; }
    int GetRevSensMode() const { return m_revSens; }
    // With saveAsDefault the mode also becomes the default of new projects.
    void SetRevSensMode(int mode, int saveAsDefault);

    void Serialize(CArchive& ar) override;

private:
    void Init();

    int32_t m_value1 = -1;
    double m_value2 = 0.0;
    double m_bandValue = 0.3321125;
    int32_t m_listSelection = 0;
    std::vector<std::string> m_sourceFiles;
    CUFNodeMap m_nodeMap;
    int32_t m_octaveCheck = 1;
    CDAQPPExpPlanList m_plans;
    int32_t m_planMaxChannel = 128;
    int32_t m_revSens = 0;
};
