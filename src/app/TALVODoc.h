#pragma once
// The project document: owns the project container, the document's file properties and the
// project history, and carries out new, open, save and close of a project file. Only one is open
// at a time; while open it is the application's main document. The project window is reached
// through the application (IProjectTreeWindow), the main window's progress through the private
// progress messages, so the document works without any window (tests, automation).
#include "app/TALVOProject.h"
#include "platform/base/Feedback.h"
#include "platform/elements/ZuStdDataList.h"

#include <functional>
#include <memory>
#include <string>

class CAnalysisProject;
class CArchive;
class CBaseProject;
class CMElement;
class CDaqProject;
class CMElement;
class COctaveManagerEx;
class COrderList;
class CRPMOptions;
class CProjectHistory;
class CZuData;

// Ids of the document's file properties.
inline constexpr int kFilePropAppName = 40;
inline constexpr int kFilePropModuleName = 41;
inline constexpr int kFilePropModuleTime = 42;
inline constexpr int kFilePropFileVersion = 43;
inline constexpr int kFilePropProductVersion = 44;

// The document is its container's site: changes of the container's trees reach the project window
// while the document is the application's main document, and mark the document modified.
class CTALVODoc : public IProjectContainerSite
{
public:
    CTALVODoc();
    ~CTALVODoc() override;
    CTALVODoc(const CTALVODoc&) = delete;
    CTALVODoc& operator=(const CTALVODoc&) = delete;

    CTALVOProject& GetTALVOProject() { return m_project; }
    const CTALVOProject& GetTALVOProject() const { return m_project; }
    CProjectHistory* GetProjectHistory() const { return m_history.get(); }
    CZuStdDataList& GetFileProperties() { return m_fileProperties; }

    // The file the document was read from or last saved to; empty for a new document.
    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(const std::string& path);
    // File name without folder and extension; "Untitled" for a new document.
    const std::string& GetTitle() const { return m_title; }

    bool IsModified() const { return m_modified != 0; }
    void SetModifiedFlag(int modified = 1);
    // Told whenever the document becomes modified or unmodified (the main window's title).
    void SetModifiedListener(std::function<void()> listener) { m_modifiedListener = std::move(listener); }

    // ---- the document road ----
    // Reads a project file. On failure the document is left empty, error tells why (the caller shows
    // it) and the progress display is hidden again. On success every project is added to the
    // project window, the document becomes the application's main document and the work folder
    // beside the file exists. feedback (when given) shows the file's bytes read, from none to all
    // of them, and ends once the project's windows are filled.
    bool OnOpenDocument(const std::string& path, std::string* error = nullptr, CFeedback* feedback = SilentFeedback());
    // The two halves of OnOpenDocument. The read touches nothing but this document and the file, so
    // it may run on another thread while no window knows the document yet; it leaves the feedback
    // open. The second half, on the window thread, adds the projects to the project window, makes
    // the document the main document and creates the work folder.
    bool ReadDocumentFile(const std::string& path, std::string* error = nullptr,
                          CFeedback* feedback = SilentFeedback());
    void ShowReadDocument();
    // Writes the project file atomically (the previous file stays on any failure); on success the
    // document takes the path and is no longer modified.
    bool OnSaveDocument(const std::string& path, std::string* error = nullptr);
    // Deletes every project, clears the project window and stops being the main document.
    void OnCloseDocument();
    // A new project: the model project is made from a model data file of the given kind and the
    // document is saved at once to projectFile. False (nothing kept, not the main document) when
    // the model cannot be made (why is reported to the feedback) or the file not written.
    bool NewProjectFromModelFile(const std::string& projectFile, int modelKind, const std::string& modelFile,
                                 std::string* error = nullptr, CFeedback* feedback = SilentFeedback());
    // The same with the container asking for the model (its dialogs) instead of a file.
    bool NewProjectInteractive(const std::string& projectFile, std::string* error = nullptr,
                               CFeedback* feedback = SilentFeedback());
    // The same with the model made by the caller (a model import); makeModel returns the model
    // project it made in this document's container, or null.
    bool NewProjectWithModel(const std::string& projectFile, const std::function<CBaseProject*()>& makeModel,
                             std::string* error = nullptr);

    // The feedback of reading and writing the project file (not owned; null: silent). A read or
    // write that finds it idle ends the range it began on it, however it ends.
    void SetFeedback(CFeedback* progress) { m_progress = progress ? progress : SilentFeedback(); }
    CFeedback* GetFeedback() const { return m_progress; }

    // The file body: container, file properties, project history; the progress ends with it (also
    // when reading or writing fails).
    void Serialize(CArchive& ar);

    // ---- projects and the project window ----
    // The tab label of a project: its name, and its ID when an earlier project has the same name
    // (an imported analysis project), so two tabs never read alike. The stored name is unchanged.
    std::string GetTabLabel(const CBaseProject* project) const;
    void AddProjectToViews(CBaseProject* project);
    void AddProjectsToViews();
    int GetProjectIndex(CBaseProject* project) const;
    // Removes the project, its tree and marks the document modified; the former index (negative,
    // and nothing done, when the project is not in the document).
    int RemoveProject(CBaseProject* project);
    // A new DAQ project, shown in the project window.
    CDaqProject* NewDaqProject();
    // A new analysis project by RPM over the given bands, analysing the DAQ project when one is given.
    CAnalysisProject* AddRpmAnalysisProject(const CRPMOptions* rpm, CDaqProject* daq, const COctaveManagerEx* bands);
    // A new analysis project by order of a DAQ project; null without one.
    CAnalysisProject* AddOrderAnalysisProject(CDaqProject* daq, const CRPMOptions* rpm, const COrderList* orders,
                                              float otSetting);
    // An order analysis project straight from a DAQ project: the RPM list holds, per band of the
    // DAQ project's band set, the band frequency times 60 over the first order of its calculation
    // options; orders and order-tracking setting come from those options. Null without a DAQ
    // project or without an order.
    CAnalysisProject* AddOrderAnalysisProjectFromDaq(CDaqProject* daq);
    // A further model project (a model variant) through the container's dialogs; on success it is
    // shown in the project window, the document is modified and its 3D model window opens.
    CBaseProject* AddModelVariant(CFeedback* feedback = SilentFeedback());
    // Index 0 (the model project) is refused with the warning 6021 (reported to the feedback, as
    // are the reports below); otherwise the project and its tree go (the command asks 6008 first).
    // True when removed.
    bool RemoveProjectAt(int index, CFeedback* feedback = SilentFeedback());

    // Reads a model data text file (".dmd") into the model project. Data other than
    // input power data (type 60) are deleted again with the warning 6133; otherwise the project
    // window shows the new element (1224) and the document is modified. The new element or null.
    CZuData* ReadModelDataFile(const std::string& path, CFeedback* feedback = SilentFeedback());
    // Command 1114: the Hybrid SEA model as text to the file the command chose; 1 when written.
    bool CanExportHSEAModelText() const;
    int ExportHSEAModelText(const std::string& path, CFeedback* feedback = SilentFeedback());

    // Commands 1111 and 1127: the analysis-project exchange file (".oap"). Export is offered only
    // while the project selected in the project window is an analysis project; it writes that
    // project to the file the command chose and returns 1 when the file was written. Import
    // returns the new project (null when it failed). A file or archive error is reported as an
    // error: a failed export keeps the previous file, a failed import adds nothing.
    bool CanExportAnalysisProject() const;
    int ExportAnalysisProjectFile(const std::string& path, CFeedback* feedback = SilentFeedback());
    CAnalysisProject* ImportAnalysisProjectFile(const std::string& path, CFeedback* feedback = SilentFeedback());

    // IProjectContainerSite
    void OnElementAdded(int projectIndex, CMElement* element) override;
    void OnElementRemoved(int projectIndex, CMElement* element) override;
    void OnElementRenamed(int projectIndex, CMElement* element) override;
    void OnContainerModified() override { SetModifiedFlag(1); }

    // Creates the work folder of a project file (string 7046 of the file's folder) with all missing
    // parents; returns it (empty for an empty path).
    static std::string EnsureWorkFolder(const std::string& path);
    // The work folder of a project file without creating it.
    static std::string GetWorkFolderOf(const std::string& path);

    // Texts of the history and file properties: the program's product and file version texts.
    static std::string GetProductVersionText();
    static std::string GetFileVersionText();

    // Levels of project history a file keeps: far below the object nesting that readers accept.
    static constexpr int kMaxHistoryDepth = 64;

private:
    bool StartWithModel(CBaseProject* model, const std::string& projectFile, std::string* error);
    void DeleteContents();
    void RefreshFileProperties();
    void UpdateHistoryForStore(const std::string& path);
    // Drops the records nested deeper than kMaxHistoryDepth (the oldest ones).
    static void BoundHistoryDepth(CMElement& history);
    void InitHistory(const std::string& path);

    CTALVOProject m_project;
    CZuStdDataList m_fileProperties;
    std::unique_ptr<CProjectHistory> m_history;
    std::string m_pathName;
    std::string m_title;
    int m_modified = 0;
    CFeedback* m_progress = SilentFeedback();
    std::function<void()> m_modifiedListener;
};
