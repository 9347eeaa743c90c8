#pragma once
// A DAQ project whose measurements come from universal files, with what the import needs to repeat
// and extend itself: the source files, the node map, the channel plans and the import settings.
#include <cstdint>
#include <string>
#include <vector>

#include "app/DaqProject.h"
#include "planning/DAQPPExpPlanList.h"
#include "uff/UFNodeMap.h"

class CDAQExperiment;
class COctaveManagerEx;
class CTALVOExp;
class CUFExpInfo;

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
    const CUFNodeMap& GetNodeMap() const { return m_nodeMap; }
    int GetOctaveCheck() const { return m_octaveCheck; }
    void SetOctaveCheck(int v) { m_octaveCheck = v; }
    CDAQPPExpPlanList& GetExpPlans() { return m_plans; }
    int GetPlanMaxChannel() const { return m_planMaxChannel; }
    void SetPlanMaxChannel(int n) { m_planMaxChannel = n; }
    int GetRevSensMode() const { return m_revSens; }
    // With saveAsDefault the mode also becomes the default of new projects.
    void SetRevSensMode(int mode, int saveAsDefault);

    // ---- universal-file experiments ----
    // Files info as a new data set of the experiment of its subsystem names 0 and 1 (made and added
    // when missing). Null when the model lacks a subsystem or the experiment already holds a data
    // set of the same universal file name.
    CDAQExperiment* AddUFExperiment(const CUFExpInfo& info);
    // The data set of exp made from the universal file of that name (exact); null when none is.
    CDAQExperiment* FindUFExperiment(const CTALVOExp* exp, const std::string& fileName) const;
    // Removes child index of exp when it is a data set whose universal file is none of files.
    void RemoveExperimentsOfMissingFiles(CTALVOExp* exp, int index, const std::vector<std::string>& files);
    // Removes every child, last first, telling the project window of each.
    void RemoveAllChildren();
    // The universal file name of a data set: the last path component of its label after
    // "[External DAQ data]"; empty for other data sets.
    static std::string GetUFFileName(const CDAQExperiment& set);

    // ---- band sets of the imported data ----
    // One band per spectral line start + i * step (i < count), step wide, for the lines above 0 Hz
    // inside the model's band range; replaces the project's band set and returns it.
    COctaveManagerEx* MakeLineBands(double start, double step, int count);
    // One band per RPM value at rpm * order / 60, as wide as the calculation options' order band
    // width, for the bands above 0 Hz; replaces the project's band set and returns it.
    COctaveManagerEx* MakeOrderBands(double order, const std::vector<double>& rpms);
    // The band sets the two above would make, leaving the project as it is (so an import can
    // check them before anything changes).
    std::unique_ptr<COctaveManagerEx> BuildLineBands(double start, double step, int count) const;
    std::unique_ptr<COctaveManagerEx> BuildOrderBands(double order, const std::vector<double>& rpms) const;
    // Drops the band set made above; the project's default one is made again.
    COctaveManagerEx* ResetBands();

    // What the channel table of the plans needs of this project (its node map, the container's
    // sensor assignment and model, the reversed-sensor mode).
    DAQPPCellContext MakeCellContext() const;

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
