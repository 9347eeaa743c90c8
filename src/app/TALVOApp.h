#pragma once
// The application object: language table, application name, document templates, the command
// line, the recent-file list, the one open project document and the look-ups through which every
// command reaches the open projects and the project tree's selection. No widgets: the main frame
// and the start-up that creates it live in app/ui.
#include "app/ResultWindow.h"
#include "app/ZuMultiDocTemplate.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/Feedback.h"

class CBaseProject;
class CPLOVAWrapper;
class CMElement;
class CMElementList;
class CModelData;
class CSensorProject;
class CTALVODoc;
class CTALVOExp;
class IDAQSystemDocument;
class IProjectTreeWindow;

// Resource ids of the nine document templates, in registration order.
inline constexpr uint32_t IDR_TALVOTYPE = 108;     // the project document (the main template)
inline constexpr uint32_t IDR_HSEADATATABLE = 106; // HSEA data tables
inline constexpr uint32_t IDR_3DMODEL = 10001;     // 3D model document
inline constexpr uint32_t IDR_3DMODEL2 = 10003;    // second 3D model document
inline constexpr uint32_t IDR_SENSORTYPE = 113;    // sensor document
inline constexpr uint32_t IDR_EXPTYPE = 104;       // experiment document
inline constexpr uint32_t IDR_TALDATA = 107;       // TAL data
inline constexpr uint32_t IDR_SWAXISTABLE = 114;   // switched-axis tables
inline constexpr uint32_t IDR_RMVDATA = 112;       // RMV data

inline constexpr int kRecentFileCount = 4;
inline constexpr const char* kRegistryKey = "Velmora";

// What the command line asks for.
struct CTALVOCommandLine
{
    std::string fileName;    // a project file to open; empty when none
    bool embedding = false;  // /Embedding or -Embedding
    bool automation = false; // /Automation or -Automation
    bool RunsByAutomation() const { return embedding || automation; }
};

class CTALVOApp
{
public:
    CTALVOApp();
    ~CTALVOApp();
    CTALVOApp(const CTALVOApp&) = delete;
    CTALVOApp& operator=(const CTALVOApp&) = delete;

    // ---- language ----
    // Reads "Language" (default 9) and switches to it.
    bool ChooseLanguage(CFeedback* feedback = SilentFeedback());
    // Loads the table of the language: 17 the Japanese one, any other value the English one, so the
    // program never runs without strings. A failed load reports the error "Failed to load the
    // resource dll." to the feedback (the main window's status bar shows it as a message box, as
    // for the reports below) and returns false. After a switch the main window
    // rebuilds its bars (1747) and "Language" keeps the language loaded.
    bool SetLanguage(uint32_t language, CFeedback* feedback = SilentFeedback());
    // The loaded language (9 or 17); 0 before the first switch.
    uint32_t GetLanguage() const { return m_language; }

    // Language, application name (string 0xE000) and registry key: the first steps of start-up.
    bool InitLanguageAndName(CFeedback* feedback = SilentFeedback());
    const std::string& GetAppName() const { return m_appName; }

    // ---- document templates ----
    void RegisterDocTemplates();
    int GetTemplateCount() const { return static_cast<int>(m_templates.size()); }
    CZuMultiDocTemplate* GetTemplate(int i) const;
    // First template whose document-type name equals name (case-sensitive); null when none.
    CZuMultiDocTemplate* FindTemplate(const std::string& name) const;
    // The template named by field 1 of string id; null when the string does not exist.
    CZuMultiDocTemplate* FindTemplateByStringId(uint32_t id) const;
    // The window family of the template with resourceId: its opener and window finder. They are
    // kept apart from the templates, so windows wired once at start-up (before the language table
    // names the templates) stay wired when the templates are registered again; empty functions
    // take the family back.
    void SetTemplateWindows(uint32_t resourceId, CZuMultiDocTemplate::Opener opener,
                            CZuMultiDocTemplate::WindowFinder finder = {});
    // Registers a result window with its template (made at once when the templates are registered
    // already). A window of the same template id registered before is replaced in its place.
    void AddResultWindow(CResultWindow window);

    // Opens the window of the template named viewName (its document-type name) over element; false
    // when there is no such template, it has no window family installed or the window did not open.
    // The window families keep one window per element, so an open one comes forward instead.
    bool OpenElementFrame(const std::string& viewName, CMElement* element) const;
    // When a window of that template shows element already, brings it forward and answers false
    // (nothing new was opened); otherwise as OpenElementFrame.
    bool OpenOrActivateElementFrame(const std::string& viewName, CMElement* element) const;

    // Opens the sensor window over a sensor project, or brings the open one forward, through the
    // "SensorView" template; false when the template has no window to open.
    bool OpenSensorView(CSensorProject* project) const;
    // Opens the 3D model window over model data ("ModelView2" for a model of kind 1, else
    // "ModelView"); the window of that kind that is open already goes first. False when the
    // template has no window to open or there is no model data.
    bool OpenModelView(CModelData* model) const;

    // ---- windows over elements of the project tree ----
    // Opens the right window for any element, or brings forward the one that shows it; false when
    // nothing was opened. Order result functions are dumped to a text file (they have no window);
    // measured experiments and data sets open their measured data; any other element opens in the
    // first result window that takes it. A dump that cannot be written is reported to the feedback.
    bool OpenDataView(CMElement* element, CFeedback* feedback = SilentFeedback()) const;
    // A spectrum map (CZuRpmFunc), "TalDataView". subsystem: the subsystem the map was chosen
    // for, -1 when none.
    bool OpenTALDataView(CMElement* element, int subsystem = -1) const;
    // An experiment's map over RPM, averaged over its used data sets, for the one of its two
    // subsystems the user picks, "TalDataView"; false without a picker, when the pick is cancelled
    // or when no data set has a map of that subsystem (which the user is told).
    bool OpenExpDataView(CTALVOExp* experiment, CFeedback* feedback = SilentFeedback()) const;
    // Asks which of the experiment's two subsystems to show, with its wave type; the window library
    // installs it. name: in, the subsystem shown first; out, the pick as the picker answers it.
    using ExpSubsystemChooser = std::function<bool(CTALVOExp& experiment, std::string& name)>;
    void SetExpSubsystemChooser(ExpSubsystemChooser chooser) { m_expSubsystemChooser = std::move(chooser); }
    // Asks for the text file an order result function is dumped to (such functions have no
    // window); the window library installs it. False when cancelled or when none is installed.
    using DumpFileChooser = std::function<bool(std::string& path)>;
    void SetDumpFileChooser(DumpFileChooser chooser) { m_dumpFileChooser = std::move(chooser); }

    // Opens a new, empty measurement window and returns its document; null when none can be
    // opened (no window library, or, with checkUnsaved, another measurement window still holds
    // data that are not saved). The window library installs the opener.
    using DAQSystemViewOpener = std::function<IDAQSystemDocument*(int checkUnsaved)>;
    void SetDAQSystemViewOpener(DAQSystemViewOpener opener) { m_daqSystemOpener = std::move(opener); }
    bool HasDAQSystemViewOpener() const { return static_cast<bool>(m_daqSystemOpener); }
    IDAQSystemDocument* OpenDAQSystemView(int checkUnsaved) const;

    // ---- command line ----
    static CTALVOCommandLine ParseCommandLine(const std::vector<std::string>& args);

    // ---- recent files ----
    std::vector<std::string> GetRecentFiles() const;
    void AddToRecentFileList(const std::string& path);
    void RemoveFromRecentFileList(const std::string& path);

    // ---- the open project and the tree ----
    CTALVODoc* GetMainDocument() const { return m_mainDocument; }
    void SetMainDocument(CTALVODoc* doc);
    IProjectTreeWindow* GetProjectTreeWindow() const { return m_treeWindow; }
    void SetProjectTreeWindow(IProjectTreeWindow* window) { m_treeWindow = window; }

    // Number of projects of the main document (0 without one).
    int GetProjectCount() const;
    // The selected project's index; -1 without a tree window.
    int GetSelectedProjectIndex() const;
    // Fills list with the tree's selected elements (nothing without a tree window); its size.
    int GetSelectedElements(CMElementList& list) const;
    // Project index (-1: the selected one); null outside the list or without a document.
    CBaseProject* GetProject(int index) const;

    // ---- start-up state ----
    bool IsRunningObjectRegistered() const { return m_runningObject; }
    void SetRunningObjectRegistered(bool on) { m_runningObject = on; }

    // ---- the automation object ----
    // Takes the automation server the application serves its clients with (kept alive as long
    // as the application holds it) and what withdraws its name from the bus.
    void HoldAutomationObject(std::shared_ptr<void> object, std::function<void()> revoke);
    bool HasAutomationObject() const { return m_automationObject != nullptr; }
    // Withdraws the name, lets the object go and forgets it; nothing when none is held.
    void ReleaseAutomationObject();

    // ---- the sibling application PLOVA ----
    // The version the program needs at least.
    static constexpr const char* kRequiredPlovaVersion = "1.1.1 build(0040)";
    // Reads the version of PLOVA (started or attached to) and reports the warning 7143 when its
    // build number is known and below the required one; an unreachable PLOVA is no error. Always
    // true.
    bool CheckPlovaVersion(CFeedback* feedback = SilentFeedback());
    // The same check for a shown program's start: the version is read on a thread of its own and
    // the warning told on the event loop, so the start never waits for PLOVA, which the bus may
    // first have to start. One check at a time; a later one waits for the one before. The warning
    // goes to the feedback, which must outlive the check (the caller has returned by then).
    void CheckPlovaVersionInBackground(CFeedback* feedback = SilentFeedback());
    // Waits for a check in the background (its warning, if any, is then queued on the event loop).
    void FinishPlovaVersionCheck();
    // Starts PLOVA's data checker (when not running) and opens the database file in it when one is
    // given. A failure is reported as an error ("Failed to run PLOVA.", "Failed to open the file of
    // PLOVA!\n%s") and gives null: the command ends there.
    CPLOVAWrapper* RunPlovaDataChecker(const std::string& file, CFeedback* feedback = SilentFeedback());
    void ReleasePlovaDataChecker();
    CPLOVAWrapper* GetPlovaDataChecker() const { return m_dataChecker.get(); }

    // Ends the application's own state (tables, templates); called once at exit.
    void ExitInstance();

private:
    CZuMultiDocTemplate* TemplateWithId(uint32_t resourceId) const;

    uint32_t m_language = 0;
    std::string m_appName;
    std::vector<std::unique_ptr<CZuMultiDocTemplate>> m_templates;
    std::map<uint32_t, std::pair<CZuMultiDocTemplate::Opener, CZuMultiDocTemplate::WindowFinder>> m_templateWindows;
    std::vector<CResultWindow> m_resultWindows;
    CTALVODoc* m_mainDocument = nullptr;
    IProjectTreeWindow* m_treeWindow = nullptr;
    bool m_runningObject = false;
    std::unique_ptr<CPLOVAWrapper> m_dataChecker;
    std::thread m_versionCheck;
    DAQSystemViewOpener m_daqSystemOpener;
    ExpSubsystemChooser m_expSubsystemChooser;
    DumpFileChooser m_dumpFileChooser;
    std::shared_ptr<void> m_automationObject;
    std::function<void()> m_revokeAutomationObject;
};

// The one application object.
CTALVOApp& GetTALVOApp();
