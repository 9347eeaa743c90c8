#pragma once
// What a command of the main menu acts on: the open document, the window its dialogs belong to,
// the project window, the other commands, the document's lifetime and the project operations that
// take several dialogs. The main frame implements it; a command's action sees only this, so the
// command can live in the window library whose dialogs it opens.
#include <cstdint>
#include <string>

class CAnalysisProject;
class CBaseProject;
class CDaqProject;
class CTALVODoc;
class IProjectTreeWindow;
class QWidget;

// The project operations of several steps that commands of more than one window library run.
class IProjectOperations
{
public:
    virtual ~IProjectOperations() = default;
    // New analysis project: DAQ project choice, the project, its analysis options, then the input
    // powers. The new project or null.
    virtual CAnalysisProject* NewAnalysisProject() = 0;
    // New DAQ project: the acquisition system, the project and its settings; cancelled steps
    // remove it again. The new project or null.
    virtual CDaqProject* NewDaqProject() = 0;
    // The calculation options of a DAQ project (with recalc also the recalculation). True on OK.
    virtual bool RunDaqCalcOptions(CDaqProject& project, bool withRecalc) = 0;
    // The acquisition settings of a DAQ project in edit mode. True when a value changed.
    virtual bool EditDaqSettings(CDaqProject& project) = 0;
    // The model window of the document's model; false when there is none to show.
    virtual bool OpenModelView() = 0;
    // The rename dialog of a project; on OK the project and its tab take the new name.
    virtual void RenameProject(CBaseProject* project) = 0;
};

class ICommandContext
{
public:
    virtual ~ICommandContext() = default;

    // The open project document; null when none is open.
    virtual CTALVODoc* GetDocument() const = 0;
    // The window the dialogs of a command belong to; it outlives them.
    virtual QWidget* ParentWidget() = 0;

    // ---- the other commands ----
    // Runs a command by id as its menu item would; false when it is unknown, disabled or did not run.
    virtual bool OnCommand(int id) = 0;
    virtual bool IsCommandEnabled(int id) const = 0;

    // ---- the document and the main window ----
    virtual bool NewDocument() = 0;
    // Closes the current document, then reads path; a failure shows why and leaves no document.
    virtual bool OpenDocumentFile(const std::string& path, std::string* error = nullptr) = 0;
    // Closes the open document after asking to save it when modified; false when the user cancelled.
    virtual bool CloseMainDocument() = 0;
    virtual bool SaveDocument() = 0;
    virtual bool SaveDocumentAs() = 0;
    // Closes the main window as its close button does.
    virtual void CloseMainWindow() = 0;
    // Shows the project window or the shortcut bar when hidden, hides it when shown.
    virtual void ToggleProjectWindow() = 0;
    virtual void ToggleShortcutBar() = 0;
    // The update check from the menu: 1 newer, 0 up to date, -1 failed; shows the result.
    virtual int CheckLastVersionFromMenu() = 0;
    // The window in front of the client area; null when none is open.
    virtual QWidget* ActiveClientWindow() const = 0;

    // ---- the project window ----
    // Null while there is none.
    virtual IProjectTreeWindow* ProjectTree() const = 0;
    // A message to the project window (its pickers and the input-power data); 0 without one.
    virtual intptr_t SendToProjectTree(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // Deletes the elements selected in the project window after asking; the count deleted.
    virtual int DeleteSelectedElements() = 0;

    virtual IProjectOperations& Projects() = 0;
};
