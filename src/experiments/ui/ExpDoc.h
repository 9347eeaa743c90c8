#pragma once
// The document of the measurement window: one experiment project (owned) and the place where a
// measurement is run. It prepares the acquisition channels from the project's sensor groups, runs
// the acquisition through its run manager, answers the run's call-backs, cuts the acquired samples
// into numbered data sets (one per block), and stores the project in its measurement files.
//
// A measurement document (saved flag 0) is opened empty to measure into; a stored-data document
// (saved flag 1) shows experiments already stored. The views follow the document's updates; the
// tree view is the window the acquisition tells about the run. The document observes its project's
// element tree and passes every addition, removal and rename on (ElementAdded, ElementRemoving,
// ElementRenamed), so the tree view follows the project without being told by hand.
#include <QObject>

#include <memory>
#include <string>
#include <vector>

#include "acquisition/DAQExeManager.h"
#include "acquisition/DAQExeSupport.h"
#include "app/DAQSystemDocument.h"
#include "experiments/ExpOptions.h"
#include "experiments/ui/ExpDAQAccess.h"
#include "platform/elements/ElementTreeObserver.h"
#include "platform/elements/MElementList.h"

class CFeedback;
class CFormProgressFeedback;
class CExpFrame;
class CExpProject;
class CMElement;
class CMultiQMXInterface;
class CObject;
class IMessageTarget;

class CExpDoc : public QObject, public IDAQExeSupport, public IDAQSystemDocument, public IElementTreeObserver
{
    Q_OBJECT

public:
    // View update hints.
    static constexpr int kHintNone = 0;
    static constexpr int kHintSelect = -1;    // the element was selected in the tree
    static constexpr int kHintRunDone = 1000; // a run ended without data

    explicit CExpDoc(QObject* parent = nullptr);
    ~CExpDoc() override;

    // ---- the project ----
    CExpProject* GetProject() const { return m_project.get(); }
    // Takes the project; the previous one is deleted.
    void SetProject(std::unique_ptr<CExpProject> project);
    // An empty project named "DAQ System" in place of the current one.
    CExpProject* NewProject();
    // The measured-data tree of the listed data sets read from their measurement files; null (and
    // no project) when a file could not be read.
    CExpProject* MergeProjects(const CMElementList& dataSets);
    // Appends the project's experiments; 0 without a project.
    int AppendExperiments(CMElementList& list) const;
    int CollectExperimentObjects(std::vector<CObject*>& objects) const;
    CExpOptions& GetExpOptions() { return m_options; }
    int GetSavedFlag() const { return m_savedFlag; }
    void SetSavedFlag(int flag) { m_savedFlag = flag; }

    // ---- the window ----
    void SetFrame(CExpFrame* frame) { m_frame = frame; }
    CExpFrame* GetFrame() const { return m_frame; }
    const std::string& GetTitle() const { return m_title; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    // Every view redraws; sender is left out; element (when given) is what to show.
    void UpdateAllViews(QObject* sender, int hint, CMElement* element);
    // The RPM values of the frame's list: low to high RPM by the step in a run-up, the constant RPM
    // otherwise.
    std::vector<double> MakeRpmList() const;
    void UpdateRpmCombo();

    // ---- measuring ----
    // The interface runs go through; null (the default) is the program's one.
    void SetDAQInterface(CMultiQMXInterface* daq);
    const CExpDAQAccess& DAQ() const { return m_daq; }
    // The window the acquisition tells about the run (the tree view's).
    void SetNotifyTarget(IMessageTarget* target) { m_notifyTarget = target; }
    IMessageTarget* GetNotifyTarget() const { return m_notifyTarget; }
    CDAQExeManager& GetRunManager() { return m_manager; }
    int SetupChannels();
    void ConfigureRunManager();
    int StartRun();
    bool IsRunActive() const { return m_runActive; }
    // Ends a run still going because its window goes: the acquisition stops telling the window,
    // the run stops as the user's stop does (its unfinished samples are not stored) and the
    // sampling window that reports to the window goes. Nothing happens without a run.
    void EndRun();
    // Where the progress and the messages of a run go (not owned); null: the sampling window, which
    // shows the run's texts, with the messages as message boxes. Cancel asked between the run's
    // blocks ends the run early and keeps what was measured.
    void SetRunFeedback(CFeedback* feedback) { m_runFeedback = feedback; }
    // The run stopped: when a unit was lost the samples every other unit had are stored (when all
    // channels of the project can be read) and what was kept is reported as a warning; 1 when
    // something was stored.
    int OnRunStopped();
    // The samples per block of a run that acquired n samples; 0 when no block can be cut.
    int GetBlockLength(int n) const;
    // The rule behind it: the whole record in a run-up (mode 0); at constant RPM the project's
    // block length (block mode 0) or the smallest power of two not below the sample rate.
    static int BlockLengthOf(int mode, int blockMode, double projectLength, float sampleRate, int n);
    // "channels 17, 18, ..." (counted from 1) for the messages of a run.
    static std::string ChannelListText(const std::vector<int>& channels);
    // Stores the run's pulse channel and its channels, n samples each; on failure the data sets
    // made for the run are removed again. 1 when both were stored.
    int StoreRun(int n);

    // ---- forwarders of the tree view's messages ----
    intptr_t OnDAQData(uintptr_t wParam, intptr_t lParam) { return m_manager.OnDAQData(wParam, lParam); }
    intptr_t StopRun() { return m_manager.Stop(); }
    intptr_t OnDAQComplete();
    intptr_t OnRecordStartMsg() { return m_manager.OnRecordStart(); }
    intptr_t OnRecordEndMsg() { return m_manager.OnRecordEnd(); }
    intptr_t OnTriggerReset() { return m_manager.OnTriggerReset(); }
    intptr_t OnDAQAbort();

    // ---- files ----
    // Stores every data set of the project in its measurement file; 0 after telling the errors.
    int DoFileSave();
    // Writes the text dump of an element that can write one; 0 when it cannot or the file cannot
    // be made.
    int WriteDump(CMElement* element, const std::string& path, int param);
    // Builds the calculation data of the measured channels and files them into the experiments.
    int BuildCalcData();

    // Closing: a measurement document asks whether to carry on measuring (unless the application
    // is closing); then the document goes.
    void OnCloseDocument();
    static void SetApplicationClosing(bool closing);
    static bool IsApplicationClosing();

    // ---- IDAQExeSupport ----
    int CanStart() override;
    // The real-time monitor, where open, follows the run's engine speed.
    int OnRpm(float rpm) override;
    int OnUpdate(uintptr_t, intptr_t) override { return 1; }
    int OnRecordStart() override { return 1; }
    int OnRecordEnd() override { return 1; }
    int OnStop() override { return 1; }
    int OnComplete() override;
    int OnDataReady() override;

    // ---- IElementTreeObserver (the project's tree) ----
    void OnElementAdded(CMElement* element) override { emit ElementAdded(element); }
    void OnElementRemoving(CMElement* element) override { emit ElementRemoving(element); }
    void OnElementRenamed(CMElement* element) override { emit ElementRenamed(element); }

    // ---- IDAQSystemDocument ----
    void SetMeasuredData(CDaqProject* project, const CMElementList& dataSets) override;
    void SetReadData(std::unique_ptr<CExpProject> project, std::vector<std::unique_ptr<CObject>> keep) override;
    void SetTitle(const std::string& title) override;
    void SendInitialUpdate() override;
    void UpdateAllViews() override { UpdateAllViews(nullptr, kHintNone, nullptr); }
    void CloseDocument() override;

signals:
    // The project is being replaced: whoever shows its elements lets go of them now (the old
    // project, if any, is deleted after this).
    void ProjectReplaced();
    // An element of the project's tree was added, is about to go (still whole), was renamed.
    void ElementAdded(CMElement* element);
    void ElementRemoving(CMElement* element);
    void ElementRenamed(CMElement* element);
    void InitialUpdate();
    void Update(QObject* sender, int hint, CMElement* element);
    void TitleChanged(const QString& title);
    // The window should close (the document is going).
    void CloseRequested();

private:
    // Takes the project (null: none) and observes its tree; the previous one is deleted once the
    // views have let go of it.
    void ReplaceProject(std::unique_ptr<CExpProject> project);
    // The DAQ project or a measured data set the project lists is going (deleted, its project
    // removed, its document closed): the run ends, the project lets go of them and the window closes.
    void OnObjectGoing(const void* object);
    int StoreRpmSignal(int n, int length);
    int StoreChannelData(int n, int length);
    void RemoveRunDataSets();

    int m_savedFlag = -1;
    std::unique_ptr<CExpProject> m_project;
    std::vector<std::unique_ptr<CObject>> m_keep; // objects the project lists (read from a file)
    int m_reserved[2] = {0, 0};
    CExpOptions m_options;
    CDAQExeManager m_manager;
    CExpDAQAccess m_daq;
    CFeedback* m_runFeedback = nullptr;
    // The sampling window's feedback, one per run (a cancel stays with its run).
    std::unique_ptr<CFormProgressFeedback> m_formFeedback;
    CMultiQMXInterface* m_daqOverride = nullptr;
    IMessageTarget* m_notifyTarget = nullptr;
    CExpFrame* m_frame = nullptr;
    std::string m_title;
    bool m_modified = false;
    bool m_runActive = false;
    bool m_storeOk = false;
    // While the samples of a run that lost a unit are stored: a channel that cannot be read is
    // kept as a record without samples (missing) instead of failing the run, and listed here.
    bool m_keepUnreadable = false;
    std::vector<int> m_missingStored;
    // ... and the engine-speed signal, when it could not be read.
    bool m_rpmSignalMissing = false;
    float m_runValue = 0.0f;
    int m_listener = 0;
    // The DAQ project the measured data belong to, as an element.
    const CMElement* m_daqElement = nullptr;
    // Data sets made by the store of the current run, with their parents.
    std::vector<std::pair<CMElement*, CMElement*>> m_runSets;
};
