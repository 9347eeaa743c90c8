#include "app/ui/MainFrame.h"
#include "app/CommandRegistry.h"
#include "experiments/ui/DaqProjectCommands.h"
#include "app/ui/ModelImporter.h"

#include "app/AnalysisProject.h"
#include "app/ProjectReadAhead.h"
#include "app/TALVODoc.h"
#include "app/AnalysisProject.h"
#include "views/ui/DlgSrcTrgDefinition.h"
#include "models/HSEAResultData.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmResultData.h"
#include "app/CalcCommands.h"
#include "app/ui/AnalysisRoadCommands.h"
#include "app/ResultCommands.h"
#include "app/TALVOProject.h"
#include "app/automation/AutomationHost.h"
#include "app/ZuText2Excel.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "views/ui/DlgSelectResult.h"
#include "calculation/ui/DlgSelectSubsystem.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "app/ModelProject.h"
#include "platform/modeldb/ModelData.h"
#include "app/ProjectHistory.h"
#include "app/TALVOApp.h"
#include "app/LastVersionRequest.h"
#include "app/VerRes.h"
#include "app/ui/AboutDlg.h"
#include "platform/ui/DlgProgress.h"
#include "app/ui/AppIcons.h"
#include "platform/ui/UiTextTranslator.h"
#include "app/ui/DlgNewProject.h"
#include "app/ui/DlgProjectHistory.h"
#include "app/ui/ProgressStatusBar.h"
#include "app/ui/DockTreeWnd.h"
#include "platform/ui/ProjectTreeModel.h"
#include "app/ui/DockShortcutWnd.h"
#include "app/ui/FrameCommandHandler.h"
#include "app/ui/3DModelView.h"
#include "app/FrameCommands.h"
#include "app/ui/SplashWnd.h"
#include "experiments/SensorProject.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/SensorFrame.h"
#include "planning/ui/DlgDAQPPExpPlanList.h"
#include "planning/ui/DlgWizDAQPPMenu.h"
#include "planning/ui/PlanningCommands.h"
#include "platform/base/Format.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ShownElementName.h"
#include "platform/elements/StdioFile.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/win/CommandGuard.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "views/ui/OptionSheets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QCursor>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>
#include <set>
#include <vector>
#include <new>

namespace {
// The experiment window in front of the client area, if any: the aliases of its tree's commands go
// there.
CExpFrame* ActiveExpFrame(QMdiArea* area)
{
    QMdiSubWindow* sub = area ? area->activeSubWindow() : nullptr;
    return sub ? qobject_cast<CExpFrame*>(sub->widget()) : nullptr;
}

// Where the window layout (size, position, docks and their sizes) is kept between runs.
const char* const kLayoutSection = "Settings";
const char* const kLayoutGeometry = "MainFrameGeometry";
const char* const kLayoutState = "MainFrameState";
constexpr int kLayoutVersion = 1;

// The element type of a result set.

// Shows a reading's reports, not its progress.
class CQuietReadFeedback : public CStatusBarFeedback
{
protected:
    void OnBegin(int) override {}
    void OnText(int) override {}
    void OnProgress(int) override {}
    void OnEnd() override {}
};

// The feedback of the main document's reads and writes (saves, the automation's saves): the
// status bar, as long as the program runs.
CFeedback* DocumentFeedback()
{
    static CStatusBarFeedback statusBar;
    return &statusBar;
}
} // namespace

CMainFrame::CMainFrame(const std::string& programFolder, QWidget* parent)
    : QMainWindow(parent), m_programFolder(programFolder)
{
    setObjectName(QStringLiteral("MainFrame"));
    if (m_programFolder.empty())
        m_programFolder = QCoreApplication::applicationDirPath().toStdString();

    m_commands = std::make_unique<CFrameCommandHandler>(*this);
    CreateActions();
    BuildToolBar();

    m_statusBar = new CProgressStatusBar(this);
    setStatusBar(m_statusBar);

    // The client area where the element windows (child frames) open.
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(m_mdiArea);

    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    m_shortcutWnd = new CDockShortcutWnd(this);
    m_shortcutWnd->SetMenuProvider([this](int itemId, QWidget* p) { return ShortcutMenu(itemId, p); });
    connect(m_shortcutWnd, &CDockShortcutWnd::ButtonsMade, this, [this] { UpdateShortcutButtons(); });
    addDockWidget(Qt::LeftDockWidgetArea, m_shortcutWnd);
    m_treeWnd = new CDockTreeWnd(this);
    addDockWidget(Qt::LeftDockWidgetArea, m_treeWnd);
    // Wide enough for the names of a project's elements on a first start.
    const int dockWidth = std::max(300, fontMetrics().horizontalAdvance(QLatin1Char('M')) * 26);
    resizeDocks({m_shortcutWnd, m_treeWnd}, {dockWidth, dockWidth}, Qt::Horizontal);
    resizeDocks({m_shortcutWnd, m_treeWnd}, {330, 420}, Qt::Vertical);
    connect(m_treeWnd, &CDockTreeWnd::SelectionChanged, this, [this] { UpdateCommandUI(); });
    connect(m_treeWnd, &CDockTreeWnd::OpenSelectionRequested, this, [this] { OnCommand(ID_OPEN_SELECTION); });
    connect(m_treeWnd, &CDockTreeWnd::ContextMenuRequested, this,
            [this] { SendMessage(WM_ZU_TREE_RBUTTONDOWN, 0, 0); });
    connect(m_treeWnd, &QDockWidget::visibilityChanged, this, [this] { OnDockVisibilityChanged(); });
    connect(m_shortcutWnd, &QDockWidget::visibilityChanged, this, [this] { OnDockVisibilityChanged(); });

    BuildMenus();

    // The frame asks for the splash window while it is created; start-up enables the splash only
    // afterwards, so none appears at start.
    CSplashWnd::ShowSplashScreen(this);

    const std::string version = GetCaptionVersionText();
    m_frameTitle = GetTALVOApp().GetAppName().empty() ? GetAppTitle() : GetTALVOApp().GetAppName();
    if (!version.empty())
        m_frameTitle += " " + version;
    UpdateFrameTitle();
    resize(1100, 760);
    RestoreLayout();

    m_previousTarget = GetMainWindowTarget();
    SetMainWindowTarget(this);
    GetTALVOApp().SetProjectTreeWindow(m_treeWnd);
    UpdateCommandUI();
}

void CMainFrame::CloseElementWindows()
{
    // The result selection holds the first result of this document.
    CDlgSelectResult::DestroyInstance();
    // The target and sources dialog edits the document's project list.
    CDlgSrcTrgDefinition::DestroyInstance();
    C3DModelView::CloseAll();
    // Windows over the document's elements go before the document: they hold its data.
    if (CSensorFrame* sensors = CSensorFrame::GetInstance()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(sensors->parentWidget()))
            delete sub;
        else
            delete sensors;
    }
    for (CExpFrame* frame : CExpFrame::OpenFrames()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(frame->parentWidget()))
            delete sub;
        else
            delete frame;
    }
    CDlgWizDAQPPMenu::DestroyInstance();
    CDlgDAQPPExpPlanList::DestroyInstance();
    CPlanningCommands::CloseWindows();
}

bool CMainFrame::OpenSensorWindow(CMElement* element)
{
    auto* project = DynamicDowncast<CSensorProject>(element);
    return project && m_doc && CSensorFrame::ShowInstance(m_mdiArea, project, m_doc.get()) != nullptr;
}

bool CMainFrame::OpenModelWindow(CMElement* element)
{
    auto* model = DynamicDowncast<CModelData>(element);
    CModelProject* project = m_doc ? m_doc->GetTALVOProject().GetModelProject() : nullptr;
    C3DModelView::ConnectionTest connected;
    if (project)
        connected = [project](const std::string& a, const std::string& b) {
            return project->IsSubsystemConnected(a, b) != 0;
        };
    return model && C3DModelView::ShowInstance(m_mdiArea, model, std::move(connected)) != nullptr;
}

bool CMainFrame::RunSensorCommand(int command)
{
    CSensorFrame* frame = OnCommand(ID_SENSOR_VIEW) ? CSensorFrame::GetInstance() : nullptr;
    return frame && (command == 0 || frame->OnCommand(command));
}

IDAQSystemDocument* CMainFrame::OpenDAQSystemView(int checkUnsaved)
{
    if (checkUnsaved)
        for (CExpFrame* open : CExpFrame::OpenFrames())
            if (open->GetDocument()->GetSavedFlag() == 0 && open->GetDocument()->IsModified())
                return nullptr;
    CExpFrame* frame = CExpFrame::Open(m_mdiArea, m_programFolder);
    frame->GetDocument()->SetSavedFlag(0);
    return frame->GetDocument();
}

CMainFrame::~CMainFrame()
{
    // A frame that goes without a close (the application quits, its owner deletes it) keeps its
    // layout too; one never shown has none of its own to keep.
    if (!m_layoutSaved && isVisible())
        SaveLayout();
    // The docks are destroyed by the widget's own destructor after this frame's members are gone,
    // and hiding them on the way emits their visibility signals: nothing of them may reach this
    // frame any more.
    for (QObject* dock : {static_cast<QObject*>(m_treeWnd), static_cast<QObject*>(m_shortcutWnd)})
        if (dock)
            disconnect(dock, nullptr, this, nullptr);
    if (m_doc) {
        CloseElementWindows();
        m_doc->OnCloseDocument();
        m_doc.reset();
    }
    if (GetTALVOApp().GetProjectTreeWindow() == m_treeWnd)
        GetTALVOApp().SetProjectTreeWindow(nullptr);
    if (GetMainWindowTarget() == this)
        SetMainWindowTarget(m_previousTarget);
}

QString CMainFrame::MenuText(int id) const
{
    std::string text;
    if (LoadString(kMenuTextBase + static_cast<uint32_t>(id), text))
        return QString::fromStdString(text);
    const CCommandEntry* entry = CCommandRegistry::Frame().Find(id);
    if (entry && entry->text && *entry->text)
        return QString::fromStdString(TranslateText(entry->text));
    if (entry && entry->aliasOf)
        return MenuText(entry->aliasOf);
    return QString::number(id);
}

QString CMainFrame::MenuCaption(const CCommandMenu& menu) const
{
    std::string text;
    if (LoadString(kMenuTextBase + static_cast<uint32_t>(menu.textNumber), text))
        return QString::fromStdString(text);
    return QString::fromStdString(TranslateText(menu.text));
}

void CMainFrame::CreateActions()
{
    for (const auto& [id, entry] : CCommandRegistry::Frame().Entries()) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("Command%1").arg(id));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id = id] { OnCommand(id); });
        if (entry.checked)
            action->setCheckable(true);
        if (entry.standardKey)
            action->setShortcut(static_cast<QKeySequence::StandardKey>(entry.standardKey));
        if (entry.icon)
            action->setIcon(AppIcon(entry.icon));
        m_actions[id] = action;
    }
}

QAction* CMainFrame::Action(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::FillMenu(QMenu* menu, const std::string& key)
{
    const CCommandRegistry& registry = CCommandRegistry::Frame();
    // The commands and sub-menus of the menu in one order; a new hundred starts a group.
    struct Item
    {
        int pos;
        const CCommandEntry* entry;
        const CCommandMenu* sub;
    };
    std::vector<Item> items;
    for (const CCommandEntry* e : registry.InMenu(key))
        items.push_back({e->menuPos, e, nullptr});
    for (const CCommandMenu* m : registry.SubMenus(key))
        items.push_back({m->pos, nullptr, m});
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.pos < b.pos; });
    int group = items.empty() ? 0 : items.front().pos / 100;
    for (const Item& item : items) {
        if (item.pos / 100 != group && !menu->isEmpty())
            menu->addSeparator();
        group = item.pos / 100;
        if (item.sub) {
            QMenu* sub = menu->addMenu(MenuCaption(*item.sub));
            sub->setObjectName(QString::fromStdString(item.sub->objectName));
            m_menus[item.sub->key] = sub;
            FillMenu(sub, item.sub->key);
        } else if (item.entry->resultPopup) {
            // A result command asks for the result set in a sub-menu; the plain command (on the
            // tree's selection) stays on the result context menu.
            const int id = item.entry->id;
            QString title = MenuText(id);
            if (title.endsWith(QStringLiteral("...")))
                title.chop(3);
            QMenu* popup = menu->addMenu(title);
            popup->setObjectName(QStringLiteral("ResultPopup%1").arg(id));
            if (item.entry->icon)
                popup->setIcon(AppIcon(item.entry->icon));
            connect(popup, &QMenu::aboutToShow, this, [this, id] { FillResultPopup(id); });
            m_resultPopups[id] = popup;
        } else {
            menu->addAction(m_actions[item.entry->id]);
        }
    }
}

void CMainFrame::BuildMenus()
{
    for (auto& [id, action] : m_actions)
        action->setText(MenuText(id));
    std::string title;
    m_treeWnd->setWindowTitle(LoadString(IDS_PROJECT_WINDOW_TITLE, title) ? QString::fromStdString(title)
                                                                          : QStringLiteral("Project Window"));
    m_shortcutWnd->setWindowTitle(LoadString(IDS_SHORTCUT_BAR_TITLE, title) ? QString::fromStdString(title)
                                                                            : QStringLiteral("ShortcutBar"));

    QMenuBar* bar = menuBar();
    bar->clear();
    m_menus.clear();
    m_resultPopups.clear();
    m_developerMenu = nullptr;
    std::error_code ec;
    const bool developer = std::filesystem::exists(std::filesystem::path(m_programFolder) / kHiddenMenuFlag, ec);
    for (const CCommandMenu* top : CCommandRegistry::Frame().SubMenus({})) {
        // The developer entries only when the marker file lies beside the program.
        if (top->developerOnly && !developer)
            continue;
        QMenu* menu = bar->addMenu(MenuCaption(*top));
        menu->setObjectName(QString::fromStdString(top->objectName));
        m_menus[top->key] = menu;
        if (top->developerOnly)
            menu->addSeparator();
        FillMenu(menu, top->key);
        if (top->developerOnly) {
            menu->addSeparator();
            m_developerMenu = menu;
        }
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
    }
    m_recentMenu = m_menus.count("File/Recent") ? m_menus["File/Recent"] : nullptr;
    if (QMenu* file = m_menus.count("File") ? m_menus["File"] : nullptr)
        connect(file, &QMenu::aboutToShow, this, [this] { UpdateRecentFileMenu(); });
    UpdateRecentFileMenu();
}

QMenu* CMainFrame::Menu(const std::string& key) const
{
    auto it = m_menus.find(key);
    return it == m_menus.end() ? nullptr : it->second;
}

void CMainFrame::BuildToolBar()
{
    if (!m_toolBar) {
        m_toolBar = addToolBar(QStringLiteral("Standard"));
        m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    }
    m_toolBar->clear();
    int group = -1;
    for (const CCommandEntry* e : CCommandRegistry::Frame().OnToolBar()) {
        if (group >= 0 && e->toolBarPos / 100 != group)
            m_toolBar->addSeparator();
        group = e->toolBarPos / 100;
        m_toolBar->addAction(m_actions[e->id]);
    }
}

void CMainFrame::RebuildForLanguage()
{
    BuildMenus();
    BuildToolBar();
    m_shortcutWnd->Rebuild();
    UpdateCommandUI();
    // The windows that are open already speak the new language too.
    CUiTextTranslator::TranslateAll();
}

void CMainFrame::UpdateRecentFileMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    const std::vector<std::string> files = GetTALVOApp().GetRecentFiles();
    for (size_t i = 0; i < files.size(); ++i) {
        const int id = ID_FILE_MRU_FILE1 + static_cast<int>(i);
        QAction* a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QString::fromStdString(files[i])));
        a->setData(id);
        connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    m_recentMenu->setEnabled(!files.empty());
}

QMenu* CMainFrame::ShortcutMenu(int itemId, QWidget* parent)
{
    // Each button offers the commands its label names, each enabled by its own rule.
    auto* menu = new QMenu(parent);
    int group = -1;
    for (const CCommandEntry* e : CCommandRegistry::Frame().InShortcut(itemId)) {
        if (group >= 0 && e->shortcutPos / 100 != group)
            menu->addSeparator();
        group = e->shortcutPos / 100;
        menu->addAction(m_actions[e->id]);
    }
    if (itemId == kShortcutOpenProject) {
        for (QAction* recent : m_recentMenu ? m_recentMenu->actions() : QList<QAction*>()) {
            if (menu->actions().size() == 1)
                menu->addSeparator();
            menu->addAction(recent);
        }
    }
    UpdateCommandUI();
    return menu;
}

std::vector<int> CMainFrame::ShortcutCommands(int itemId)
{
    std::vector<int> ids;
    for (const CCommandEntry* e : CCommandRegistry::Frame().InShortcut(itemId))
        ids.push_back(e->id);
    return ids;
}

bool CMainFrame::IsShortcutEnabled(int itemId) const
{
    const CCommandState state = CommandState();
    const std::vector<int> ids = ShortcutCommands(itemId);
    return std::any_of(ids.begin(), ids.end(), [&](int id) { return CCommandRegistry::Frame().IsEnabled(id, state); });
}

CCommandState CMainFrame::CommandState() const
{
    CCommandState s;
    s.selection = m_commands->CurrentSelection();
    s.treeVisible = m_treeWnd && !m_treeWnd->isHidden();
    s.shortcutBarVisible = m_shortcutWnd && !m_shortcutWnd->isHidden();
    s.recentFileCount = static_cast<int>(GetTALVOApp().GetRecentFiles().size());
    if (CExpFrame* exp = ActiveExpFrame(m_mdiArea))
        s.experimentWindowEnabled = [exp](int id) { return exp->IsCommandEnabled(id); };
    return s;
}

bool CMainFrame::IsCommandEnabled(int id) const
{
    return !CDlgProgress::Running() && CCommandRegistry::Frame().IsEnabled(id, CommandState());
}

void CMainFrame::UpdateCommandUI()
{
    const CCommandRegistry& registry = CCommandRegistry::Frame();
    const CCommandState state = CommandState();
    // While an operation runs under its progress window, no command may close or replace what it
    // works on: every command waits until it has ended.
    CDlgProgress* running = CDlgProgress::Running();
    if (running)
        connect(running, &QObject::destroyed, this, &CMainFrame::UpdateCommandUI,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::UniqueConnection));
    for (auto& [id, action] : m_actions) {
        action->setEnabled(!running && registry.IsEnabled(id, state));
        if (action->isCheckable())
            action->setChecked(registry.IsChecked(id, state));
    }
    m_appliedTreeVisible = state.treeVisible;
    m_appliedShortcutBarVisible = state.shortcutBarVisible;
    UpdateShortcutButtons();
}

void CMainFrame::UpdateShortcutButtons()
{
    if (!m_shortcutWnd)
        return;
    // A button is enabled when one of its commands is; each command's action holds the answer of
    // its rule from the last update, so the rules are not asked again.
    if (m_shortcutCommands.empty())
        for (int item = 0; item < static_cast<int>(CDockShortcutWnd::Table().size()); ++item)
            m_shortcutCommands.push_back(ShortcutCommands(item));
    for (int item = 0; item < static_cast<int>(m_shortcutCommands.size()); ++item)
        if (QToolButton* button = m_shortcutWnd->MadeButton(item)) {
            const std::vector<int>& ids = m_shortcutCommands[static_cast<size_t>(item)];
            button->setEnabled(std::any_of(ids.begin(), ids.end(), [&](int id) {
                const QAction* action = Action(id);
                return action ? action->isEnabled() : IsCommandEnabled(id);
            }));
        }
}

void CMainFrame::OnDockVisibilityChanged()
{
    // Showing the frame shows its docks one by one; the commands follow only when what they ask
    // for has changed since they were last brought up to date.
    const bool treeVisible = m_treeWnd && !m_treeWnd->isHidden();
    const bool shortcutBarVisible = m_shortcutWnd && !m_shortcutWnd->isHidden();
    if (treeVisible != m_appliedTreeVisible || shortcutBarVisible != m_appliedShortcutBarVisible)
        UpdateCommandUI();
}

void CMainFrame::UpdateFrameTitle()
{
    if (m_doc) {
        m_doc->SetModifiedListener([this] { UpdateFrameTitle(); });
        // An asterisk after the document's name marks changes not saved yet.
        setWindowTitle(QString::fromStdString(
            Format("%s%s - %s", m_doc->GetTitle().c_str(), m_doc->IsModified() ? "*" : "", m_frameTitle.c_str())));
    } else
        setWindowTitle(QString::fromStdString(m_frameTitle));
}

void CMainFrame::CloseMainWindow()
{
    close();
}

void CMainFrame::ToggleProjectWindow()
{
    if (m_treeWnd)
        m_treeWnd->setVisible(m_treeWnd->isHidden());
}

void CMainFrame::ToggleShortcutBar()
{
    if (m_shortcutWnd)
        m_shortcutWnd->setVisible(m_shortcutWnd->isHidden());
}

QWidget* CMainFrame::ActiveClientWindow() const
{
    QMdiSubWindow* sub = m_mdiArea ? m_mdiArea->activeSubWindow() : nullptr;
    return sub ? sub->widget() : nullptr;
}

IProjectTreeWindow* CMainFrame::ProjectTree() const
{
    return m_treeWnd;
}

intptr_t CMainFrame::SendToProjectTree(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return m_treeWnd ? m_treeWnd->SendMessage(message, wParam, lParam) : 0;
}

int CMainFrame::DeleteSelectedElements()
{
    return m_treeWnd ? m_treeWnd->DeleteSelectedElements() : 0;
}

IProjectOperations& CMainFrame::Projects()
{
    return *m_commands;
}

bool CMainFrame::OnCommand(int id)
{
    const CCommandEntry* entry = CCommandRegistry::Frame().Find(id);
    if (!entry || !entry->run)
        return false;
    const CCommandState state = CommandState();
    if (CDlgProgress::Running() || !CCommandRegistry::Frame().IsEnabled(id, state))
        return false;
    try {
        if (!entry->run(*this, state))
            return false;
        UpdateCommandUI();
        return true;
    } catch (const CUserException&) {
        // The command told the user why it stopped; it ends here and the program goes on.
        UpdateCommandUI();
        return false;
    } catch (const std::bad_alloc&) {
        // A command that asks for more memory than there is ends here; what it was building is
        // released on the way out, and the open project stays as it was.
        AfxMessageBox(kOutOfMemoryText, MB_OK | MB_ICONEXCLAMATION);
        UpdateCommandUI();
        return false;
    }
}

// ---- the document road ----

bool CMainFrame::SaveModified()
{
    if (!m_doc || !m_doc->IsModified())
        return true;
    const int answer =
        AfxMessageBox(Format("Save changes to %s?", m_doc->GetTitle().c_str()), MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES)
        return SaveDocument();
    return true;
}

bool CMainFrame::CloseMainDocument()
{
    if (!m_doc)
        return true;
    if (!SaveModified())
        return false;
    CloseElementWindows();
    m_doc->OnCloseDocument();
    m_doc.reset();
    HideProgress();
    UpdateFrameTitle();
    UpdateCommandUI();
    return true;
}

void CMainFrame::AttachDocument(std::unique_ptr<CTALVODoc> doc)
{
    if (m_doc) {
        CloseElementWindows();
        m_doc->OnCloseDocument();
    }
    m_doc = std::move(doc);
    if (m_doc) {
        m_doc->SetFeedback(DocumentFeedback());
        GetTALVOApp().SetMainDocument(m_doc.get());
    }
    UpdateFrameTitle();
    UpdateCommandUI();
}

bool CMainFrame::OpenDocumentFile(const std::string& path, std::string* error)
{
    if (!CloseMainDocument())
        return false;
    const std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    auto doc = std::make_unique<CTALVODoc>();
    std::string why;
    // The status bar shows the bytes read of a large file; nothing but painting happens until the
    // project is whole, so no command reaches a half-read tree.
    CStatusBarFeedback progress;
    std::error_code sizeError;
    const uintmax_t size = std::filesystem::file_size(absolute, sizeError);
    CFeedback* reading = !sizeError && size >= s_loadProgressFromBytes ? &progress : nullptr;
    // A small file is read before a bar could be seen; painting one for each of its steps would
    // only hold the read up. What it reports is still shown.
    CQuietReadFeedback quiet;
    doc->SetFeedback(reading ? DocumentFeedback() : &quiet);
    // A caller that takes the error (the automation) also takes what the read reported.
    const bool opened =
        error ? OpenDocumentForAutomation(*doc, absolute, &why, reading) : doc->OnOpenDocument(absolute, &why, reading);
    return TakeOpenedDocument(std::move(doc), opened, absolute, why, error);
}

bool CMainFrame::OpenReadAhead(CProjectReadAhead& readAhead)
{
    if (!CloseMainDocument())
        return false;
    std::unique_ptr<CTALVODoc> doc;
    std::string why;
    // What the read reported is shown now, as a small file's read shows it.
    CQuietReadFeedback quiet;
    const bool opened = readAhead.Take(doc, why, quiet);
    if (!doc)
        return false;
    if (opened)
        doc->ShowReadDocument();
    return TakeOpenedDocument(std::move(doc), opened, readAhead.GetPath(), why, nullptr);
}

bool CMainFrame::TakeOpenedDocument(std::unique_ptr<CTALVODoc> doc, bool opened, const std::string& absolute,
                                    const std::string& why, std::string* error)
{
    if (!opened) {
        doc->OnCloseDocument();
        HideProgress();
        if (error)
            *error = why;
        else
            AfxMessageBox(why, MB_OK | MB_ICONSTOP);
        UpdateFrameTitle();
        UpdateCommandUI();
        return false;
    }
    doc->SetFeedback(DocumentFeedback());
    m_doc = std::move(doc);
    GetTALVOApp().AddToRecentFileList(absolute);
    UpdateFrameTitle();
    UpdateCommandUI();
    return true;
}

bool CMainFrame::NewDocument()
{
    if (!CloseMainDocument())
        return false;
    if (AfxFormatMessageBox(IDS_NEW_PROJECT_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    CDlgNewProject dlg(this);
    if (dlg.DoModal() != IDOK)
        return false;
    const std::string path = std::filesystem::absolute(dlg.GetProjectFilePath()).lexically_normal().string();
    auto doc = std::make_unique<CTALVODoc>();
    doc->SetFeedback(DocumentFeedback());
    std::string error;
    CModelImporter importer(*doc, this);
    const auto makeModel = [&importer]() -> CBaseProject* {
        return importer.NewModel() ? importer.GetModelProject() : nullptr;
    };
    if (!doc->NewProjectWithModel(path, makeModel, &error)) {
        HideProgress();
        if (!error.empty())
            AfxMessageBox(error, MB_OK | MB_ICONSTOP);
        UpdateFrameTitle();
        UpdateCommandUI();
        return false;
    }
    m_doc = std::move(doc);
    GetTALVOApp().AddToRecentFileList(path);
    UpdateFrameTitle();
    UpdateCommandUI();
    return true;
}

bool CMainFrame::DoSave(const std::string& path)
{
    std::string error;
    if (!m_doc->OnSaveDocument(path, &error)) {
        HideProgress();
        AfxMessageBox(error, MB_OK | MB_ICONSTOP);
        return false;
    }
    GetTALVOApp().AddToRecentFileList(path);
    UpdateFrameTitle();
    return true;
}

bool CMainFrame::SaveDocument()
{
    if (!m_doc)
        return false;
    if (m_doc->GetPathName().empty())
        return SaveDocumentAs();
    return DoSave(m_doc->GetPathName());
}

bool CMainFrame::SaveDocumentAs()
{
    if (!m_doc)
        return false;
    FileChooserOptions options;
    options.filter = kProjectFilter;
    options.defaultExt = "orv";
    options.initialName = m_doc->GetPathName();
    std::string path;
    if (!PromptSaveFile(options, path))
        return false;
    return DoSave(std::filesystem::absolute(path).lexically_normal().string());
}

// ---- update check ----

bool CMainFrame::OpenWebPage(const std::string& address)
{
    if (!IsWebAddress(address))
        return false;
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

int CMainFrame::CheckLastVersionFromMenu()
{
    std::string page;
    const int result =
        CompareWithLastVersion(GetUpdateCheckAddress(), kLastVerModeMenu, page, GetRunningBuildVersionText());
    if (result == 0)
        AfxMessageBox(IDS_UP_TO_DATE, MB_OK | MB_ICONINFORMATION);
    else if (result == 1) {
        if (AfxMessageBox(IDS_NEWER_VERSION, MB_YESNO | MB_ICONQUESTION) == IDYES)
            OpenWebPage(page);
    } else
        AfxMessageBox(IDS_CHECK_FAILED, MB_OK | MB_ICONEXCLAMATION);
    return result;
}

// ---- progress ----

void CMainFrame::SetProgressRange(int low, int high, int step)
{
    m_statusBar->SetProgressRange(low, high, step);
}

void CMainFrame::SetProgressText(const std::string& text)
{
    m_statusBar->SetProgressText(QString::fromStdString(text));
}

void CMainFrame::ShowProgress()
{
    m_statusBar->ShowProgress();
}

void CMainFrame::HideProgress()
{
    m_statusBar->HideProgress();
}

void CMainFrame::StepProgress()
{
    m_statusBar->StepProgress();
}

// ---- messages ----

intptr_t CMainFrame::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case WM_ZU_PROGRESS_RANGE: {
        // Low word the first value (signed 16 bits); everything above it the last value, so counts
        // beyond 16 bits are not cut.
        const int first = static_cast<int16_t>(wParam & 0xFFFFu);
        const uintptr_t lastBits = wParam >> 16;
        const int last = lastBits > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(lastBits);
        SetProgressRange(first, last, static_cast<int>(lParam));
        return 0;
    }
    case WM_ZU_PROGRESS_SHOW:
        ShowProgress();
        return 0;
    case WM_ZU_PROGRESS_HIDE:
        HideProgress();
        return 0;
    case WM_ZU_PROGRESS_STEP:
        StepProgress();
        return 0;
    case WM_ZU_PROGRESS_TEXT:
        SetProgressText(wParam ? std::string(reinterpret_cast<const char*>(wParam)) : std::string());
        return 0;
    case WM_ZU_SET_MODIFIED:
        if (m_doc)
            m_doc->SetModifiedFlag(static_cast<int>(wParam));
        return 0;
    case WM_ZU_CLOSE_WINDOWS:
        OnCloseWindows(wParam != 0);
        return 0;
    case WM_ZU_LANGUAGE_CHANGED:
        RebuildForLanguage();
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_COMMAND:
        return OnCommand(static_cast<int>(wParam & 0xFFFFu)) ? 1 : 0;
    case WM_ZU_TREE_RBUTTONDOWN:
        // Shown over the top-level window that holds the frame; its choices come back as commands.
        if (QMenu* menu = CreateTreeContextMenu(window())) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(QCursor::pos());
        }
        return 0;
    case WM_ZU_TREE_LABEL_EDITED: {
        const bool renamed = RenameSelectedResultSet(wParam ? reinterpret_cast<const char*>(wParam) : "");
        if (lParam)
            *reinterpret_cast<int*>(lParam) = renamed ? 1 : 0;
        return 0;
    }
    default:
        // The notifications of later subsystems (calculations, result menus) arrive with them.
        return 0;
    }
}

QMenu* CMainFrame::ResultPopup(int id) const
{
    auto it = m_resultPopups.find(id);
    return it == m_resultPopups.end() ? nullptr : it->second;
}

void CMainFrame::FillResultPopup(int id)
{
    QMenu* popup = ResultPopup(id);
    if (!popup)
        return;
    popup->clear();
    // The energy commands read the hybrid model's results only; the others also work on the
    // analysis project's result sets over RPM and over order, which are what a user calculates.
    const bool hybridOnly = id == CCalcCommands::ID_CALC_SUBSYSTEM_ENERGY || id == CCalcCommands::ID_CALC_ENERGY_RATIO;
    const auto offered = [hybridOnly](const CMElement* e) {
        const int type = e->GetType();
        return type == ElementType::ResultSet ||
               (!hybridOnly && (type == ElementType::RpmResultSet || type == ElementType::OTResultSet));
    };
    // The result elements anywhere below the selected project, in tree order.
    std::vector<CMElement*> sets;
    std::function<void(CMElement*)> collect = [&](CMElement* e) {
        for (int i = 0; i < e->GetChildCount(); ++i) {
            CMElement* child = e->GetChild(i);
            if (!child)
                continue;
            if (offered(child))
                sets.push_back(child);
            collect(child);
        }
    };
    if (CMElement* project = m_doc ? m_doc->GetTALVOProject().GetProject(m_treeWnd->GetActiveIndex()) : nullptr)
        collect(project);
    if (sets.empty()) {
        popup->addAction(QString::fromStdString(TranslateText("no result")))->setEnabled(false);
        return;
    }
    const CCommandRegistry& registry = CCommandRegistry::Frame();
    CCommandState state = CommandState();
    for (CMElement* set : sets) {
        // Named as the tree shows it.
        QAction* item = popup->addAction(QString::fromStdString(ShownElementName(set->GetName())));
        // A set the command cannot work on (a result over order in a project by RPM) is offered grayed.
        state.selection.elements = {set};
        item->setEnabled(registry.IsEnabled(id, state));
        connect(item, &QAction::triggered, this, [this, id, set] { RunOnResultSet(id, set); });
    }
}

void CMainFrame::RunOnResultSet(int id, CMElement* set)
{
    CMTreeCtrlEx* tree = m_treeWnd->GetActiveTree();
    if (!tree)
        return;
    const QModelIndex index = tree->Model()->IndexOf(set);
    if (!index.isValid())
        return;
    tree->setCurrentIndex(index);
    tree->scrollTo(index);
    UpdateCommandUI();
    OnCommand(id);
}

QMenu* CMainFrame::CreateResultContextMenu(QWidget* parent)
{
    if (!m_doc)
        return nullptr;
    CMElementList selection;
    if (m_treeWnd->GetSelection(selection) == 0)
        return nullptr;
    CMElement* first = selection[0];
    // The result sets of the analysis projects and the hybrid model's own results.
    if (!DynamicDowncast<CZuRpmResultData>(first) && !DynamicDowncast<CZuOTResultData>(first) &&
        !dynamic_cast<CHSEAResultData*>(first))
        return nullptr;
    UpdateCommandUI();
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("ResultContextMenu"));
    int group = -1;
    for (const CCommandEntry* e : CCommandRegistry::Frame().InContextMenu(kContextResultSet)) {
        if (group >= 0 && e->contextPos / 100 != group)
            menu->addSeparator();
        group = e->contextPos / 100;
        menu->addAction(m_actions[e->id]);
    }
    return menu;
}

QMenu* CMainFrame::CreateTreeContextMenu(QWidget* parent)
{
    if (QMenu* results = CreateResultContextMenu(parent))
        return results;
    if (!m_doc)
        return nullptr;
    // Over any other element: what can be done with it and its project now, nothing grayed.
    const CCommandRegistry& registry = CCommandRegistry::Frame();
    const CCommandState state = CommandState();
    if (state.selection.elements.empty())
        return nullptr;
    UpdateCommandUI();
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("TreeContextMenu"));
    int group = -1;
    std::set<int> sent; // two aliases of one command show once
    for (const CCommandEntry* e : registry.InContextMenu(kContextElement)) {
        if (!registry.IsEnabled(e->id, state) || !sent.insert(e->aliasOf ? e->aliasOf : e->id).second)
            continue;
        if (group >= 0 && e->contextPos / 100 != group)
            menu->addSeparator();
        group = e->contextPos / 100;
        menu->addAction(m_actions[e->id]);
    }
    return menu;
}

bool CMainFrame::RenameSelectedResultSet(const std::string& name)
{
    if (!m_doc || name.empty())
        return false;
    CMElementList selection;
    m_treeWnd->GetSelection(selection);
    auto* set = selection.GetSize() > 0 ? DynamicDowncast<CZuRpmResultData>(selection[0]) : nullptr;
    CMElement* parent = set ? set->GetParent() : nullptr;
    // A name that some element below the same parent has already would make the two ambiguous.
    if (!parent || parent->FindOne(name) != nullptr)
        return false;
    set->SetName(name);
    m_doc->SetModifiedFlag(1);
    return true;
}

void CMainFrame::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    // Safe from any thread: the message runs later on the user-interface thread.
    QMetaObject::invokeMethod(
        this, [this, msg, wParam, lParam] { SendMessage(msg, wParam, lParam); }, Qt::QueuedConnection);
}

void CMainFrame::OnCloseWindows(bool askToSave)
{
    if (askToSave && m_doc && m_doc->IsModified())
        SaveModified();
    if (m_doc)
        m_doc->SetModifiedFlag(0);
    m_closeWithoutPrompt = true;
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // A close the program orders itself (the close-windows message) goes ahead.
    if (!m_closeWithoutPrompt && m_closeInterceptor && m_closeInterceptor()) {
        event->ignore();
        return;
    }
    if (!m_closeWithoutPrompt && m_doc && !SaveModified()) {
        event->ignore();
        return;
    }
    m_closeWithoutPrompt = false;
    if (m_doc) {
        // Measurement windows that go with the application do not ask to measure on.
        CExpDoc::SetApplicationClosing(true);
        CloseElementWindows();
        CExpDoc::SetApplicationClosing(false);
        m_doc->OnCloseDocument();
        m_doc.reset();
    }
    SaveLayout();
    m_closing = true;
    event->accept();
}

void CMainFrame::SaveLayout()
{
    const QByteArray geometry = saveGeometry();
    const QByteArray state = saveState(kLayoutVersion);
    WriteProfileBinary(kLayoutSection, kLayoutGeometry, std::vector<uint8_t>(geometry.begin(), geometry.end()));
    WriteProfileBinary(kLayoutSection, kLayoutState, std::vector<uint8_t>(state.begin(), state.end()));
    m_layoutSaved = true;
}

void CMainFrame::RestoreLayout()
{
    const std::vector<uint8_t> geometry = GetProfileBinary(kLayoutSection, kLayoutGeometry);
    const std::vector<uint8_t> state = GetProfileBinary(kLayoutSection, kLayoutState);
    // A layout that does not read back (another version, damaged) leaves the first-start layout.
    if (!geometry.empty())
        restoreGeometry(
            QByteArray(reinterpret_cast<const char*>(geometry.data()), static_cast<qsizetype>(geometry.size())));
    if (!state.empty())
        restoreState(QByteArray(reinterpret_cast<const char*>(state.data()), static_cast<qsizetype>(state.size())),
                     kLayoutVersion);
}
