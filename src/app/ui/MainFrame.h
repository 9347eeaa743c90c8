#pragma once
// The main window: toolbar, status bar with its progress display, the docked shortcut bar and
// project window, the main menu, the one open project document, and the private messages of the
// program's long operations and notifications. It is the program's main window target.
#include "app/CommandContext.h"
#include "platform/win/CommandIds.h"
#include "platform/win/MessageTarget.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDockShortcutWnd;
struct CCommandMenu;
struct CCommandState;
class CFrameCommandHandler;
class CDockTreeWnd;
class IDAQSystemDocument;
class CMElement;
class CProgressStatusBar;
class CProjectReadAhead;
class CTALVODoc;
class QAction;
class QMdiArea;
class QMenu;
class QToolBar;

// Command ids of the main menu.
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_SRC_TRG_DEFINITION =
    CommandId::ID_SRC_TRG_DEFINITION; // the target and sources of the project list
inline constexpr int ID_DUMP_DATA = CommandId::ID_DUMP_DATA;
inline constexpr int ID_DUMP_DATA_PARAM = CommandId::ID_DUMP_DATA_PARAM;
inline constexpr int ID_EXPORT_ANALYSIS_PROJECT = CommandId::ID_EXPORT_ANALYSIS_PROJECT;
inline constexpr int ID_EXPORT_HSEA_MODEL = CommandId::ID_EXPORT_HSEA_MODEL;
inline constexpr int ID_SAVE_PROJECT = CommandId::ID_SAVE_PROJECT;
inline constexpr int ID_SAVE_PROJECT_AS = CommandId::ID_SAVE_PROJECT_AS;
inline constexpr int ID_IMPORT_ANALYSIS_PROJECT = CommandId::ID_IMPORT_ANALYSIS_PROJECT;
inline constexpr int ID_READ_MODEL_DATA = CommandId::ID_READ_MODEL_DATA;
inline constexpr int ID_SENSOR_VIEW = CommandId::ID_SENSOR_VIEW;
inline constexpr int ID_IMPORT_ASEA_MODEL = CommandId::ID_IMPORT_ASEA_MODEL;
inline constexpr int ID_IMPORT_MODEL_DATA = CommandId::ID_IMPORT_MODEL_DATA;
inline constexpr int ID_SENSOR_VIEW_ALIAS = CommandId::ID_SENSOR_VIEW_ALIAS;
inline constexpr int ID_OPEN_SELECTION = CommandId::ID_OPEN_SELECTION;
inline constexpr int ID_OPTIONS = CommandId::ID_OPTIONS;
inline constexpr int ID_ANALYSIS_OPTIONS = CommandId::ID_ANALYSIS_OPTIONS;
inline constexpr int ID_VIEW_PROJECT_WINDOW = CommandId::ID_VIEW_PROJECT_WINDOW;
inline constexpr int ID_VIEW_SHORTCUT_BAR = CommandId::ID_VIEW_SHORTCUT_BAR;
inline constexpr int ID_FILE_NEW_ALIAS = CommandId::ID_FILE_NEW_ALIAS;
inline constexpr int ID_FILE_OPEN_ALIAS = CommandId::ID_FILE_OPEN_ALIAS;
inline constexpr int ID_PROJECT_HISTORY = CommandId::ID_PROJECT_HISTORY;
inline constexpr int ID_PLANNING_WIZARD =
    CommandId::ID_PLANNING_WIZARD; // the planning wizard of a universal-file DAQ project
inline constexpr int ID_LANGUAGE_ENGLISH = CommandId::ID_LANGUAGE_ENGLISH;
inline constexpr int ID_LANGUAGE_JAPANESE = CommandId::ID_LANGUAGE_JAPANESE;
inline constexpr int ID_CHECK_LAST_VERSION = CommandId::ID_CHECK_LAST_VERSION;
inline constexpr int ID_AUTO_CHECK_LAST_VERSION = CommandId::ID_AUTO_CHECK_LAST_VERSION;
inline constexpr int ID_VERSION_HISTORY = CommandId::ID_VERSION_HISTORY;

// The marker file that adds the developer menu when it lies beside the program.
inline constexpr const char* kHiddenMenuFlag = "hidden_menu.flg";

class CMainFrame : public QMainWindow, public IMessageTarget, public ICommandContext
{
    Q_OBJECT
public:
    // programFolder: where the marker file is looked for (empty: the program's own folder).
    explicit CMainFrame(const std::string& programFolder = {}, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // IMessageTarget
    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;

    // ---- progress display ----
    void SetProgressRange(int low, int high, int step = 1);
    void SetProgressText(const std::string& text);
    void ShowProgress();
    void HideProgress();
    void StepProgress();

    // ---- the project document ----
    CTALVODoc* GetDocument() const override { return m_doc.get(); }
    // Closes the open document after asking to save it when modified; false when the user cancelled.
    bool CloseMainDocument() override;
    // Closes the current document, then reads path. A failure shows why and leaves no document;
    // with error given, the reason goes there instead of into a message box (automation callers,
    // who cannot answer one).
    // A file of at least LoadProgressFromBytes() shows its reading on the status bar; a smaller one
    // is read sooner than the bar could be drawn. Tests lower it.
    bool OpenDocumentFile(const std::string& path, std::string* error = nullptr) override;
    // The same for a file read on another thread while the window was made (the start's project).
    bool OpenReadAhead(CProjectReadAhead& readAhead);
    static uint64_t LoadProgressFromBytes() { return s_loadProgressFromBytes; }
    static void SetLoadProgressFromBytes(uint64_t bytes) { s_loadProgressFromBytes = bytes; }
    // New project: question 6035, the new-project dialog, the model, and the first save.
    bool NewDocument() override;
    bool SaveDocument() override;   // to its file; Save As when it has none
    bool SaveDocumentAs() override; // asks for the file
    // Takes a document made elsewhere (tests, automation); the previous one must be closed.
    void AttachDocument(std::unique_ptr<CTALVODoc> doc);

    static constexpr const char* kProjectFilter = "ORVEX Project Files (*.orv)|*.orv|All Files (*.*)|*.*||";

    // The shortcut bar's buttons (the item ids of its table).
    static constexpr int kShortcutNewProject = 0;
    static constexpr int kShortcutOpenProject = 1;
    static constexpr int kShortcutReadModelData = 3;
    // True when a shortcut button offers a command that can run now.
    bool IsShortcutEnabled(int itemId) const;
    // The commands a shortcut button's menu offers, in order.
    static std::vector<int> ShortcutCommands(int itemId);

    // Runs a command of the registry (CommandRegistry.h) by id (menus, toolbar, shortcut bar,
    // aliases); false when it is not known, not enabled or did not run.
    bool OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    QAction* Action(int id) const;
    // What the commands' rules see now: the selection and the bars.
    CCommandState CommandState() const;
    // A menu built from the registry by its key ("File", "View/Language"); null when not shown.
    QMenu* Menu(const std::string& key) const;
    // Recomputes the enabled and checked states of the commands.
    void UpdateCommandUI();
    // The caption: "%s - %s" of the document's title (with "*" while it has unsaved changes) and
    // the frame's own title.
    void UpdateFrameTitle();

    // The context menu of the project tree when its first selected element is an RPM or order
    // result set: the commands that work on a result. Null for any other selection; the caller
    // owns the menu.
    QMenu* CreateResultContextMenu(QWidget* parent);
    // The project tree's context menu: the result menu over a result set, otherwise the enabled
    // commands on the selected element and its project (open, the aliases, the project's removal
    // and renaming). Null without a selection; the caller owns the menu.
    QMenu* CreateTreeContextMenu(QWidget* parent);
    // A label edit in the project tree: the first selected element, an RPM result set, takes the
    // name unless it is empty or an element below the set's parent has it already.
    bool RenameSelectedResultSet(const std::string& name);

    // The Calculation menu's sub-menu of a result command (1003, 1013, 1023, 1036, 1057, 1067): the
    // selected project's result elements the command reads (the hybrid model's results; for all
    // but 1013 and 1023 also the result sets over RPM and order), each running the command on
    // itself, or a grayed "no result". Null for another id. Filled each time it opens.
    QMenu* ResultPopup(int id) const;
    void FillResultPopup(int id);

    CFrameCommandHandler* Commands() const { return m_commands.get(); }
    CDockTreeWnd* TreeWindow() const { return m_treeWnd; }
    CDockShortcutWnd* ShortcutBar() const { return m_shortcutWnd; }
    CProgressStatusBar* ProgressBar() const { return m_statusBar; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QMenu* DeveloperMenu() const { return m_developerMenu; }
    QMdiArea* MdiArea() const { return m_mdiArea; }
    bool IsClosing() const { return m_closing; }
    // Asked first when the user closes the window: true keeps the frame (the interceptor has dealt
    // with the close, e.g. hidden the window for an automation client).
    void SetCloseInterceptor(std::function<bool()> interceptor) { m_closeInterceptor = std::move(interceptor); }

    // ---- the windows the core asks for (wired once at start-up, InstallWindowServices) ----
    // The sensor window over a sensor project of the open document; false when none opened.
    bool OpenSensorWindow(CMElement* element);
    // A model window over model data, its connections from the document's model project.
    bool OpenModelWindow(CMElement* element);
    // The planning wizard's sensor step: opens the sensor window and runs command there (0: only
    // the window).
    bool RunSensorCommand(int command);
    // A new measurement window; with checkUnsaved, none while another holds unsaved data.
    IDAQSystemDocument* OpenDAQSystemView(int checkUnsaved);

    // The update check from the menu (1236): 1 newer, 0 up to date, -1 failed; shows the result.
    int CheckLastVersionFromMenu() override;
    // Opens a page in the browser when it is an http or https address; false otherwise.
    static bool OpenWebPage(const std::string& address);

    // ---- ICommandContext: what the registry's commands act on ----
    QWidget* ParentWidget() override { return this; }
    void CloseMainWindow() override;
    void ToggleProjectWindow() override;
    void ToggleShortcutBar() override;
    QWidget* ActiveClientWindow() const override;
    IProjectTreeWindow* ProjectTree() const override;
    intptr_t SendToProjectTree(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    int DeleteSelectedElements() override;
    IProjectOperations& Projects() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The end of an open: the read document becomes the frame's, or a failed one goes with why
    // shown (or handed to error).
    bool TakeOpenedDocument(std::unique_ptr<CTALVODoc> doc, bool opened, const std::string& absolute,
                            const std::string& why, std::string* error);
    void CreateActions();
    void FillMenu(QMenu* menu, const std::string& key);
    QString MenuCaption(const CCommandMenu& menu) const;
    void CloseElementWindows();
    void BuildMenus();
    void BuildToolBar();
    void RebuildForLanguage();
    QMenu* ShortcutMenu(int itemId, QWidget* parent);
    void OnDockVisibilityChanged();
    void UpdateShortcutButtons();
    bool SaveModified();
    bool DoSave(const std::string& path);
    void OnCloseWindows(bool askToSave);
    void UpdateRecentFileMenu();
    QString MenuText(int id) const;
    // Selects the result set in the active tree and runs the command on it through its enable rule.
    void RunOnResultSet(int id, CMElement* set);
    // The window's size, position and docks, kept in the settings between runs.
    void SaveLayout();
    void RestoreLayout();

    std::string m_programFolder;
    std::string m_frameTitle;
    CProgressStatusBar* m_statusBar = nullptr;
    static inline uint64_t s_loadProgressFromBytes = uint64_t(16) << 20;
    QMdiArea* m_mdiArea = nullptr;
    QToolBar* m_toolBar = nullptr;
    CDockTreeWnd* m_treeWnd = nullptr;
    CDockShortcutWnd* m_shortcutWnd = nullptr;
    QMenu* m_developerMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    std::map<int, QAction*> m_actions;
    std::vector<std::vector<int>> m_shortcutCommands; // per shortcut button, its commands
    // The bars' visibility the commands' states were last computed with.
    bool m_appliedTreeVisible = false;
    bool m_appliedShortcutBarVisible = false;
    std::map<int, QMenu*> m_resultPopups;             // owned by the Calculation menu
    std::map<std::string, QMenu*> m_menus;            // owned by the menu bar
    std::unique_ptr<CFrameCommandHandler> m_commands; // the project commands
    std::unique_ptr<CTALVODoc> m_doc;
    bool m_closing = false;
    bool m_layoutSaved = false;
    bool m_closeWithoutPrompt = false;
    std::function<bool()> m_closeInterceptor;
    IMessageTarget* m_previousTarget = nullptr;
};
