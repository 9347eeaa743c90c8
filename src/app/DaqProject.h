#pragma once
// The measured data of one measurement campaign: its acquisition configuration, the calculation
// options that turn time data into spectra, its own band set and, as children, the experiments.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "experiments/DAQConfig.h"
#include "app/BaseProject.h"
#include "experiments/CalcOptions.h"
#include "experiments/DaqProjectAccess.h"
#include "platform/base/Feedback.h"

class CDAQExperiment;
class CExpInfo;
class CMElementList;
class COctaveManagerEx;
class CRPMOptions;
class CTALVOExp;
class IDAQSystemDocument;
class CZuSubsystemTable;

// Recalculates the spectra of a list of data sets (the acquisition's DAQ calculator).
class IDAQRecalculator
{
public:
    virtual ~IDAQRecalculator() = default;
    // 0 when errors occurred. The progress and the warnings of the measurement files go to the
    // feedback.
    virtual int Calculate(CMElementList& list, CFeedback* feedback) = 0;
    // Writes the error list to path; nonzero when written.
    virtual int ReportErrors(const std::string& path) = 0;
    // Why the data sets of the last Calculate failed, a line each, for the user.
    virtual std::string DescribeErrors() const { return {}; }
};

class CDaqProject : public CBaseProject, public IDaqProjectAccess
{
    DECLARE_SERIAL(CDaqProject)

public:
    static constexpr uint8_t kVersion = 8;
    static constexpr uint8_t kOldestVersion = 5;

    CDaqProject();
    explicit CDaqProject(const std::string& name);
    ~CDaqProject() override;

    CDAQConfig* GetDAQConfig() override { return &m_daqConfig; }
    const CDAQConfig* GetDAQConfig() const { return &m_daqConfig; }
    CCalcOptions* GetCalcOptions() override { return &m_calcOptions; }
    const CCalcOptions* GetCalcOptions() const { return &m_calcOptions; }
    int GetMaxChannel() const { return m_maxChannel; }
    void SetMaxChannel(int n) { m_maxChannel = n; }
    // The model's band set through the owner; null without one.
    COctaveManagerEx* GetModelOctaveManager() const;
    // The project's own band set, made on first use from the model's band kind, from the model's
    // first band up to the acquisition's frequency limit.
    COctaveManagerEx* GetOctaveManager() override;
    void SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands);
    // The owner's target subsystem; empty without an owner.
    std::string GetTargetSubsystemName() const override;
    CSensorProject* GetSensorProject() const override { return CBaseProject::GetSensorProject(); }
    int IsStructure(const std::string& name) const override { return CBaseProject::IsStructure(name); }

    // ---- experiments ----
    // The element type of an experiment by its subsystems' kinds (structure-structure,
    // structure-acoustic, acoustic-structure, acoustic-acoustic for name0, name1); -1 when a name
    // is empty.
    int ExpTypeCode(const std::string& name0, const std::string& name1) const;
    // The experiment whose second subsystem is name0 and first subsystem name1; null when either is
    // empty or none matches.
    CTALVOExp* FindExp(const std::string& name0, const std::string& name1) const;
    // A new experiment of two model subsystems (not yet added); null when the model lacks one.
    std::unique_ptr<CTALVOExp> CreateExp(const std::string& name0, const std::string& name1) const;
    // Files each described measurement as a new data set (time-stamped now); the new data sets are
    // appended to out. 1 when every one was filed.
    int AddMeasuredData(const std::vector<CExpInfo*>& list, std::vector<CDAQExperiment*>& out);
    // Files one measurement into its experiment (made when missing); null when the model lacks a
    // subsystem.
    CDAQExperiment* AddDataSet(const CExpInfo& info);
    int GetUsedDAQExperiments(CMElementList& list) const;
    int GetUsedDAQExperimentsOf(const std::string& name, CMElementList& list) const override;
    int FindDAQExperimentsBySubsystem(const std::string& name, CMElementList& list) override;
    int CollectResponseSubsystems(CZuSubsystemTable& table) const;
    int CollectExcitationSubsystems(CZuSubsystemTable& table) const;
    // Brings the used data sets' options in line with the project's (newOptions first replaces
    // them) and lists the data sets that need recalculating; returns the count.
    int CollectForRecalc(CMElementList& out, const CCalcOptions* newOptions, int force);
    // Gives every used data set these target local points (the second entry of its options'
    // local-point list, made when missing); the data sets whose target changed are appended to
    // changed (when given). Returns their count. An unnamed entry without points (no data set
    // was there to take it from) changes nothing.
    int SetTargetLocalPoints(const CSubsystemLPInfo& target, CMElementList* changed = nullptr);
    // Runs the recalculation with its progress on the feedback: success reports the information
    // 6170; failure writes the error report into the work folder and reports the warning 7091 with
    // its path instead. 1 on success.
    int Recalculate(CMElementList& list, CFeedback* feedback = SilentFeedback());
    // The recalculator the acquisition layer provides.
    static void SetRecalculatorFactory(std::function<std::unique_ptr<IDAQRecalculator>(CDaqProject&)> factory);
    static bool HasRecalculatorFactory();

    // Averaged maps over the project's experiments; each replaces the previous averaged data. With
    // message set, a subsystem without experiments is reported to the feedback.
    CMElement* AverageRpmFuncs(const std::string& name, int message, const CRPMOptions* options,
                               CFeedback* feedback = SilentFeedback());
    CMElement* AverageRpmVecFuncs(const std::string& name, int flag);
    CMElement* GetAveragedData() const { return m_averagedData.get(); }

    // ---- the measurement window ----
    // Files the described measurements as new data sets and hands them to the document, titled
    // "DAQ System", whose views then show them; 0 without a document or without descriptions.
    int OpenDAQSystemDoc(IDAQSystemDocument* doc, const std::vector<CExpInfo*>& list);
    // Opens a measurement window over the measurement file at path. A file that cannot be read
    // is reported to the feedback, error by error as warnings, and the window closed again (0).
    int OpenRawData(const std::string& path, CFeedback* feedback = SilentFeedback());
    // A measurement window over the stored data of these data sets (read from their measurement
    // files and merged), titled title; 0 after the reader's warnings (to the feedback) when they
    // cannot be read.
    int OpenStoredData(const CMElementList& dataSets, const std::string& title, CFeedback* feedback = SilentFeedback());

    // ---- what the measured data ask of the project ----
    int GetAveragingMode() const override;
    double GetSubsystemEnergyFactor(const std::string& name) const override;
    bool EditRpmOptions(CRPMOptions& options) override;
    // Tells the owner's document that the project changed.
    void SetModified() override;
    // The RPM setting dialog, provided by the user interface.
    static void SetRpmOptionsEditor(std::function<bool(CRPMOptions&)> editor);
    static bool HasRpmOptionsEditor();

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
