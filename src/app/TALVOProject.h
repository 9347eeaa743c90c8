#pragma once
// The container of everything one project document holds: the projects (entry 0 the model project,
// then DAQ and analysis projects in the order they were added), the project-ID counter, the
// project's identity, the HSEA options and analysis subsystems, the sensors, the acquisition
// settings and hardware inventory, the experiment plans and the sensor assignment. It writes and
// reads the whole project file body.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/PID.h"
#include "common/ProjectLookups.h"
#include "planning/ExpPlanOwner.h"
#include "planning/QMXBlixList.h"
#include "platform/archive/Archive.h"
#include "platform/archive/Object.h"
#include "platform/base/Feedback.h"
#include "platform/elements/ZuStdDataAccessor.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "spectral/SpectrumDisplayOptions.h"

class CAnalysisProject;
class CBaseProject;
class CBlixChDB;
class CDAQConfig;
class CDaqProject;
class CHSEAModelData;
class CHSEAOptions;
class CMElement;
class CMElementList;
class CModelData;
class CModelProject;
class COctaveManagerEx;
class CQMXSensorMapList;
class CRPMOptions;
class CSensorAssignment;
class CSensorProject;
class CZuData;

// Reading stopped at the start: the file is some other kind of file, not a project of any version.
class CNotProjectFileException : public CArchiveException
{
public:
    explicit CNotProjectFileException(const std::string& what) : CArchiveException(badClass, what) {}
};

// What the document that holds a container does when the container's trees change: the project
// window follows them and the document counts as modified. A container without a site (a test, an
// imported file being read) tells nobody.
class IProjectContainerSite
{
public:
    virtual ~IProjectContainerSite() = default;
    // An element was added to (or is about to leave) the tree of the project at projectIndex.
    virtual void OnElementAdded(int projectIndex, CMElement* element) = 0;
    virtual void OnElementRemoved(int projectIndex, CMElement* element) = 0;
    // An element of that tree took a new name.
    virtual void OnElementRenamed(int projectIndex, CMElement* element) = 0;
    virtual void OnContainerModified() = 0;
};

// The container answers for the elements of its own trees (they find it through their projects):
// the shared look-ups and how the spectrum tables show values.
class CTALVOProject : public CObject,
                      public IZuStdDataAccessor,
                      public IProjectLookups,
                      public ISpectrumDisplayOptions,
                      public IExpPlanOwner
{
    DECLARE_SERIAL(CTALVOProject)

public:
    // The version byte we write; files back to 4 are read.
    static constexpr uint8_t kFileVersion = 8;
    static constexpr uint8_t kOldestFileVersion = 4;
    static constexpr int32_t kDefaultChannelCount = 16;

    CTALVOProject();
    ~CTALVOProject() override;
    CTALVOProject(const CTALVOProject&) = delete;
    CTALVOProject& operator=(const CTALVOProject&) = delete;

    CZuStdDataList* GetZuStdDataList() override { return &m_fileProperties; }

    // ---- project list ----
    int GetProjectCount() const { return static_cast<int>(m_projects.size()); }
    CBaseProject* GetProject(int i) const;
    int GetProjectIndex(const CBaseProject* project) const;
    CBaseProject* FindProjectByID(int id) const;
    CModelProject* GetModelProject() const;
    // The n-th DAQ project (universal-file ones count), from 0.
    CDaqProject* GetDaqProject(int n) const;
    int GetDaqProjects(CMElementList& list) const;
    int GetAnalysisProjects(CMElementList& list) const;
    void DeleteAllProjects();
    // Back to the state of a new container (no projects, defaults, a fresh PID). Reading a file
    // starts from here, so what an older file lacks keeps its new state; a failed read ends here.
    void DeleteContents();
    // Deletes project i; returns i, or -1 (nothing removed) for an index outside the list.
    int RemoveProjectAt(int i);
    // Deletes the project; its former index, -1 for null or a project not in the list.
    int RemoveProject(CBaseProject* project);
    int GetNextProjectID() const { return m_nextID; }

    // ---- model shortcuts ----
    CZuSubsystemTable* GetModelSubsystemTable() const;
    CZuData* GetModelShell() const;
    CModelData* GetModelData() const;
    COctaveManagerEx* GetOctaveManager() const;
    int IsStructure(const std::string& name) const override;
    int IsAcoustic(const std::string& name) const;
    int GetSubsystemType(std::string& name, int addSuffix) const;
    int IsInputSubsystem(const std::string& name) const;

    // ---- analysis subsystems ----
    const std::string& GetTargetSubsystem() const { return m_targetSubsystem; }
    void SetTargetSubsystem(const std::string& name) { m_targetSubsystem = name; }
    CZuSubsystemTable& GetSourceSubsystems() { return m_sourceSubsystems; }
    const CZuSubsystemTable& GetSourceSubsystems() const { return m_sourceSubsystems; }
    CHSEAOptions& GetHSEAOptions() { return *m_hseaOptions; }

    // ---- creation and import (the new project, or null) ----
    // Why a model or its data were refused or could not be read is reported to the feedback (the
    // windows give the main window's status bar, which shows it as a message box).
    CModelProject* CreateModelProject(CFeedback* feedback = SilentFeedback());
    // The model of the kind is the vehicle model file beside path (ModelFileOfKind); path is the
    // model data text file read into it.
    CModelProject* CreateModelProjectFromFile(int kind, const std::string& path,
                                              CFeedback* feedback = SilentFeedback());
    // Model project 0 from a vehicle model file (".xml" or ".ntf", its kind by its name) and, when
    // dataFile is not empty, the model data text file read into it.
    CModelProject* CreateModelProjectFromFiles(const std::string& modelFile, const std::string& dataFile,
                                               CFeedback* feedback = SilentFeedback());
    CModelProject* AddModelProject(CFeedback* feedback = SilentFeedback());
    CDaqProject* AddDaqProject();
    CAnalysisProject* AddAnalysisProject(const CRPMOptions* rpm, const COctaveManagerEx* bands);
    CAnalysisProject* AddImportedAnalysisProject(std::unique_ptr<CAnalysisProject> project);
    // Takes a new universal-file DAQ project (made by the import, which lies above this layer), names
    // and numbers it and sets it up as the builder expects it; the builder then fills it. The
    // template, when asked for, is the last DAQ project marked as universal-file data.
    CDaqProject* AddExtDaqProject(std::unique_ptr<CDaqProject> project, CDaqProject** templateProject = nullptr);
    // How the model data file is asked for: the window library installs a file chooser (true with
    // the path chosen). Without one nothing is asked.
    using ModelDataFileAsker = std::function<bool(std::string& path)>;
    static void SetModelDataFileAsker(ModelDataFileAsker asker);
    // Asks for model data text files until one reads into the model project (each that does not
    // is reported); 0 when the asking is cancelled.
    int ImportModelFileDialog(CModelProject* project, CFeedback* feedback = SilentFeedback());
    int ImportModelFile(CModelProject* project, const std::string& path, CFeedback* feedback = SilentFeedback());
    // The same over the file's text read already (CStdioFile::ReadAll); path names it in messages.
    int ImportModelText(CModelProject* project, const std::string& path, std::shared_ptr<const std::string> text,
                        CFeedback* feedback = SilentFeedback());
    void ReadSourceSubsystems(const std::string& path);
    void ReadSourceSubsystems(const std::shared_ptr<const std::string>& text);
    // 1 when the new model data fit the project's model (bands, subsystems and, when asked,
    // couplings); else a warning that says what differs, and 0.
    int CheckModelCompatibility(CZuData* newData, int checkCouplings, CFeedback* feedback = SilentFeedback());

    // ---- acquisition and model upkeep ----
    int SetMaxChannel(int n) override;
    // A file that fails leaves its error list beside it (".err.txt"); a warning names it.
    int ImportBlixChannelFile(const std::string& path, CFeedback* feedback = SilentFeedback());
    int ExportBlixChannelFile(const std::string& path, CFeedback* feedback = SilentFeedback());
    // The Hybrid SEA model's update for the target and source subsystems; its result (0 without a
    // Hybrid SEA model).
    int ApplyModelUpdate(CFeedback* feedback = SilentFeedback());
    // Recalculates the input powers of every analysis project from its input energies (its
    // results go first; a project without input energies is passed over); each failure is
    // reported as a warning with its reason (7122). 1 when all succeeded; the names of the failed
    // projects, one per line, go to failed (when given). revise: non-positive powers are revised
    // (the command asks when the option says so).
    int RecalcInputPowers(int revise, std::string* failed = nullptr, CFeedback* feedback = SilentFeedback());

    // ---- the rest of the container ----
    CPID& GetPID() { return m_pid; }
    const CPID& GetPID() const { return m_pid; }
    CSensorProject* GetSensorProject() const { return m_sensorProject.get(); }
    CDAQConfig* GetDAQConfig() const { return m_daqConfig.get(); }
    CBlixChDB* GetBlixChDB() const { return m_blixChDB.get(); }
    CQMXBlixListArray& GetBlixLists() override { return m_blixLists; }
    const CQMXBlixListArray& GetBlixLists() const { return m_blixLists; }
    CQMXSensorMapList* GetSensorMapList() const override { return m_sensorMapList.get(); }
    CSensorAssignment* GetSensorAssignment() const override { return m_sensorAssignment.get(); }
    CZuStdDataList& GetFileProperties() { return m_fileProperties; }

    // ---- what the container answers for its elements ----
    int GetSystemChannelCount() const override { return m_systemChannelCount; }
    void SetSystemChannelCount(int count) override { SetMaxChannel(count); }
    const CModelSubsystem* FindModelSubsystem(const std::string& name) const override;
    std::string GetSubsystemDisplayName(const std::string& name) const override;
    float GetSensorSensitivity(const std::string& id) const override;
    int AddToSensorAssignment(const std::string& rowName, const std::string& item) override;
    // The document's file, which the document keeps up to date.
    std::string GetDocumentPath() const override { return m_documentPath; }
    void SetDocumentPath(const std::string& path) { m_documentPath = path; }
    // The HSEA options' display choices.
    int ShowDataInDB() const override;
    int IsAWeighting() const override;

    // The document that holds the container (not owned); null when none.
    IProjectContainerSite* GetSite() const { return m_site; }
    void SetSite(IProjectContainerSite* site) { m_site = site; }

    // The feedback of reading and writing the project file (not owned): its range counts the
    // projects read, or the elements written, with a text per project, and a file too old or too
    // new to read is reported to it as an error; null: silent.
    void SetFeedback(CFeedback* progress) { m_progress = progress ? progress : SilentFeedback(); }

    // The project file body.
    void Serialize(CArchive& ar) override;
    virtual void WriteHeader(CArchive& ar);
    virtual void WriteFileInformation(CArchive& ar);

private:
    CBaseProject* AppendProject(std::unique_ptr<CBaseProject> project);
    void UpdateSensorAssignment();
    void ReadHeader(CArchive& ar);
    void ReadBody(CArchive& ar, CFeedback& progress);

    std::vector<std::unique_ptr<CBaseProject>> m_projects;
    std::string m_targetSubsystem;
    CZuSubsystemTable m_sourceSubsystems;
    std::unique_ptr<CHSEAOptions> m_hseaOptions;
    int32_t m_nextID = 0;
    CPID m_pid;
    std::unique_ptr<CSensorProject> m_sensorProject;
    std::unique_ptr<CDAQConfig> m_daqConfig;
    std::unique_ptr<CBlixChDB> m_blixChDB;
    int32_t m_systemChannelCount = kDefaultChannelCount;
    CZuStdDataList m_fileProperties;
    CQMXBlixListArray m_blixLists;
    std::unique_ptr<CQMXSensorMapList> m_sensorMapList;
    std::unique_ptr<CSensorAssignment> m_sensorAssignment;
    std::string m_documentPath;
    IProjectContainerSite* m_site = nullptr; // not owned
    CFeedback* m_progress = SilentFeedback();
};
