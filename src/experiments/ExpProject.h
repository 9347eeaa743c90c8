#pragma once
// The measured data of one DAQ project as an element tree: the RPM signal data (the pulse channel
// of every measured block) and one excitation per excitation name, each with numbered data sets
// of channel records. The project knows the DAQ project's experiments that it shows and reaches
// the acquisition configuration and calculation options through the DAQ project.
//
// Excitation names: with experiments, name 0 is name 1 (the response side) of the first
// experiment, name i (i >= 1) name 0 of experiment i-1; the sensor groups follow the same order.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ProjectLookups.h"
#include "experiments/SensorInfo.h"
#include "platform/base/Feedback.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"

class CCalcOptions;
class CDAQConfig;
class CExcitation;
class CExpDataSet;
class CExpInfo;
class COctaveManager;
class CRPMSignalData;
class CSensor;
class CSensorGroup;
class IDaqExperimentData;
class IDaqProjectAccess;

class CExpProject : public CMElement
{
    DECLARE_SERIAL(CExpProject)

public:
    static constexpr uint32_t kSchema = 3;
    static constexpr float kDefaultChannelValue = 10.0f;
    // More channel values than this in a file is a forged file.
    static constexpr int32_t kMaxChannelValues = kMaxSystemChannelCount;

    CExpProject(); // the class factory
    CExpProject(const std::string& name, CMElement* parent, int type);
    ~CExpProject() override;

    // 0: RPM sweep (blocks are cut per RPM); 1: constant RPM (a record is used whole).
    int GetMode() const { return m_mode; }
    void SetMode(int mode) { m_mode = mode; }
    // Called to refresh the views of the document that shows the project (none when unset).
    void SetViewRefresh(std::function<void()> refresh) { m_refreshViews = std::move(refresh); }
    // Who hears of the elements added to, removed from or renamed in this project's tree (the
    // document that shows it); none when unset. Not owned.
    void SetTreeObserver(IElementTreeObserver* observer) { m_treeObserver = observer; }
    IElementTreeObserver* GetTreeObserver() const override { return m_treeObserver; }

    void SetDAQProject(IDaqProjectAccess* project) { m_daqProject = project; }
    IDaqProjectAccess* GetDAQProject() const { return m_daqProject; }
    CDAQConfig* GetDAQConfig() const;
    CCalcOptions* GetCalcOptionsData() const;

    // ---- experiments (elements implementing IDaqExperimentData; not owned) ----
    void SetExperiment(CMElement* experiment);
    void SetExperiments(const CMElementList& experiments) { m_experiments = experiments; }
    const CMElementList& GetExperimentList() const { return m_experiments; }
    int GetExperimentCount() const { return m_experiments.GetSize(); }
    IDaqExperimentData* GetExperimentData(int i) const;
    CExpInfo* GetExperimentInfo(int i) const;
    // Appends the description object of every listed experiment; returns 1.
    int CollectExperimentObjects(std::vector<CObject*>& objects) const;

    // ---- excitations ----
    int GetExcitationNameCount() const;
    std::string GetExcitationName(int i) const;
    CSensorGroup* GetExcitationGroup(int i) const;
    int GetExcitationIndex(const std::string& name) const;
    CExcitation* FindExcitation(const std::string& name) const;
    CExcitation* GetExcitationForExperiment(int i) const;
    CExcitation* GetCurrentExcitation() const;
    CRPMSignalData* GetRPMSignalData() const;
    int HasRpmSignalData() const;
    CMElement* FindExperimentByExcitation(const std::string& name) const;
    int IsLocalPointValid(const std::string& excitation, int localPoint) const;

    // ---- sensor groups: items are (sensor ID, acquisition channel) ----
    int GetGroupItemCount(int group) const;
    int GetGroupItemCount(const std::string& excitation) const;
    std::string GetGroupItemText(int group, int item) const;
    std::string GetGroupItemText(const std::string& excitation, int item) const;
    int GetGroupItemValue(int group, int item) const;
    int GetGroupItemValue(const std::string& excitation, int item) const;
    CSensor* FindSensor(int group, int item) const;
    CSensor* FindSensor(const std::string& excitation, int item) const;
    int GetChannelInfo(int group, int item, CHANNELINFO& info) const;
    // item * 65536 + group of the first item on the channel; -1 when none.
    int FindGroupItemByChannel(int channel) const;
    int SetChannelInfo(const CHANNELINFO& info);

    // ---- per-channel values (10.0 by default) ----
    float GetChannelRange(int channel);
    int SetChannelRange(int channel, float value);
    void ResizeChannelRanges();
    const std::vector<float>& GetChannelRanges() const { return m_channelValues; }
    // Sets value i from a per-channel source (the acquisition interface) for every system channel.
    void LoadChannelRanges(const std::function<double(int)>& channelValue);

    // ---- settings through the DAQ project ----
    COctaveManager* GetOctaveManager() const;
    void SetOctaveManager(COctaveManager* bands) { m_bandsOverride = bands; }
    const COctaveManager* GetFreqBandInfo() const;
    float GetSamplingFrequency() const;
    double GetBlockLength(float fs, float b, float c) const;
    int GetBlockMode() const;
    int GetMeasurementMode() const;
    int GetRpmLow() const;
    int GetRpmHigh() const;
    int GetRpmStep() const;
    int GetConstantRpm() const;
    int GetRpmSignalChannel() const;
    float GetCalcOptionFloat() const;
    float GetCalcOptionFloat2() const;
    int GetCalcOptionInt() const;
    float GetHighPassFreq() const;
    int GetWindowType() const;
    int GetDefaultEngineCount() const;
    int GetDefaultPulseCount() const;
    float GetDefaultDetectionLevel() const;
    float GetDefaultGearCount() const;
    float GetConfigSamplingFrequency() const;

    // ---- building the tree ----
    void CreateDefaultChildren();
    // A new data set with its channels; null (and nothing added) when its channels cannot be made
    // (a missing sensor is reported to the feedback).
    CExpDataSet* AddRpmSignalDataSet();
    CExpDataSet* AddExcitationDataSet(int excitation, CFeedback* feedback = SilentFeedback());
    int ExpandDataSetSelection(CMElementList& list) const;
    // A new project (the caller owns it) with copies of the RPM signal data, the current excitation
    // and the experiment's excitation; null when the experiment is not listed or a part is missing.
    std::unique_ptr<CExpProject> CloneWithExperiment(CMElement* experiment) const;
    // Stores, as one object record, the project that CloneWithExperiment would build, without
    // copying the measured data: the parts are lent to the record while it is written and put back
    // in their places afterwards (also when writing throws). False, and nothing written, when the
    // experiment is not listed or a part is missing.
    bool StoreCloneWithExperiment(CArchive& ar, CMElement* experiment);

    void Serialize(CArchive& ar) override;

    // The system channel count of the container the experiment belongs to; 16 without one.
    int GetSystemChannelCount() const;

private:
    void RefreshViews() const;
    void StoreChannelValuesAndMode(CArchive& ar) const;
    CSensorGroup* GroupOf(const std::string& excitation) const;
    CSensor* FindSensorById(const std::string& id) const;

    int32_t m_mode = 0;
    std::function<void()> m_refreshViews;
    IElementTreeObserver* m_treeObserver = nullptr;
    CMElementList m_experiments;
    IDaqProjectAccess* m_daqProject = nullptr;
    std::vector<float> m_channelValues;
    COctaveManager* m_bandsOverride = nullptr;
};
