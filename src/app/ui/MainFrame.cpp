#include "app/ui/MainFrame.h"
#include "app/ui/DaqProjectCommands.h"
#include "app/ui/ModelImporter.h"

#include "app/AnalysisProject.h"
#include "app/TALVODoc.h"
#include "app/AnalysisProject.h"
#include "app/AliasCommands.h"
#include "views/ui/DlgSrcTrgDefinition.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmResultData.h"
#include "app/CalcCommands.h"
#include "app/ResultCommands.h"
#include "app/TALVOProject.h"
#include "app/ZuText2Excel.h"
#include "calculation/ui/DlgSelectCalcSubsystem.h"
#include "views/ui/DlgSelectResult.h"
#include "views/ui/DataViewOpeners.h"
#include "views/ui/DlgSelectSubsystem.h"
#include "views/ui/ResultViewerCommands.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "app/ModelProject.h"
#include "platform/modeldb/ModelData.h"
#include "app/ProjectHistory.h"
#include "app/TALVOApp.h"
#include "app/LastVersionRequest.h"
#include "app/VerRes.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/AppIcons.h"
#include "app/ui/DlgNewProject.h"
#include "app/ui/DlgProjectHistory.h"
#include "app/ui/ProgressStatusBar.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/ProjectTreeModel.h"
#include "app/ui/DockShortcutWnd.h"
#include "app/ui/ResultCommandsUi.h"
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
#include "planning/ui/DlgWizSensorConfig.h"
#include "platform/base/Format.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
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

constexpr uint32_t IDS_NEW_PROJECT_QUESTION = 6035;
constexpr uint32_t IDS_NEWER_VERSION = 6320;
constexpr uint32_t IDS_UP_TO_DATE = 6321;
constexpr uint32_t IDS_CHECK_FAILED = 6322;
constexpr uint32_t IDS_PROJECT_WINDOW_TITLE = 6452;
constexpr uint32_t IDS_SHORTCUT_BAR_TITLE = 6453;
constexpr uint32_t IDS_UNKNOWN_DUMP_PARAMETER = 6454;

// Where the window layout (size, position, docks and their sizes) is kept between runs.
const char* const kLayoutSection = "Settings";
const char* const kLayoutGeometry = "MainFrameGeometry";
const char* const kLayoutState = "MainFrameState";
constexpr int kLayoutVersion = 1;

// Menu captions live in the string table under this base plus the command id (pop-ups: base plus
// 1 to 9); the English caption stands in while a table lacks one.
constexpr uint32_t kMenuTextBase = 0x20000;

const char* const kProjectFilter = "ORVEX Project Files (*.orv)|*.orv|All Files (*.*)|*.*||";

struct MenuEntry
{
    int id;
    const char* english;
};
const MenuEntry kMenuTexts[] = {
    {1, "&File"},
    {2, "&View"},
    {3, "&Help"},
    {4, "&Recent Files"},
    {5, "&Language"},
    {6, "&Developer"},
    {ID_FILE_NEW, "&New Project..."},
    {ID_FILE_OPEN, "&Open Project..."},
    {ID_FILE_CLOSE, "&Close Project"},
    {ID_SAVE_PROJECT, "&Save Project"},
    {ID_SAVE_PROJECT_AS, "Save Project &As..."},
    {ID_PROJECT_HISTORY, "Project &History..."},
    {ID_READ_MODEL_DATA, "&Read Model Data..."},
    {ID_EXPORT_HSEA_MODEL, "Export &HSEA Model..."},
    {ID_IMPORT_ASEA_MODEL, "Import Analytical &Model..."},
    {ID_IMPORT_MODEL_DATA, "Import Model &Data..."},
    {ID_EXPORT_ANALYSIS_PROJECT, "Export Analysis &Project..."},
    {ID_IMPORT_ANALYSIS_PROJECT, "&Import Analysis Project..."},
    {ID_APP_EXIT, "E&xit"},
    {ID_VIEW_PROJECT_WINDOW, "&Project Window"},
    {ID_VIEW_SHORTCUT_BAR, "&Shortcut Bar"},
    {ID_LANGUAGE_ENGLISH, "&English"},
    {ID_LANGUAGE_JAPANESE, "&Japanese"},
    {ID_CHECK_LAST_VERSION, "Check for &Updates..."},
    {ID_AUTO_CHECK_LAST_VERSION, "Check for Updates at &Start"},
    {ID_VERSION_HISTORY, "&Version History"},
    {ID_APP_ABOUT, "&About ORVEX..."},
    {ID_SENSOR_VIEW, "&Sensors..."},
    {ID_SRC_TRG_DEFINITION, "&Target and Sources..."},
    {ID_SENSOR_VIEW_ALIAS, "&Sensors..."},
    {ID_OPTIONS, "&Options..."},
    {ID_ANALYSIS_OPTIONS, "&Analysis Options..."},
    {ID_DUMP_DATA, "&Dump Data ..."},
    {ID_DUMP_DATA_PARAM, "&Dump Data (with Parameter)..."},
    {8, "&Calculation"},
    {9, "&Project"},
    {CCalcCommands::ID_CALC_INPUT_POWER, "&Input Powers..."},
    {CCalcCommands::ID_CALC_ENERGY_RESULT, "&Energy Result..."},
    {CCalcCommands::ID_CALC_VIBRATION_LEVEL, "&Vibration Level..."},
    {CCalcCommands::ID_CALC_SPL, "Sound &Pressure Level..."},
    {CCalcCommands::ID_SEARCH_DOMINANT_PATH, "&Dominant Paths..."},
    {CCalcCommands::ID_CALC_POWER_CONTRIBUTION, "Power &Contributions..."},
    {CCalcCommands::ID_SPL_BY_SINGLE_IP, "SPL by &Single Input Powers..."},
    {CCalcCommands::ID_SPL_BY_SINGLE_IP_COMP, "SPL by Single Input Powers (&Structure/Acoustic)..."},
    {CResultCommands::ID_COMPARE_WITH_RESULT, "Compare with Another &Result..."},
    {CResultCommands::ID_COMPARE_WITH_MEASURED, "Compare with &Measured Data"},
    {CResultCommands::ID_INPUT_POWER_DATA, "Input Power &Data..."},
    {CResultCommands::ID_EXPORT_INPUT_POWER, "Export Input P&owers..."},
    {CResultViewerCommands::ID_VIEW_POWER_CONTRIBUTION, "Power Contribution &Viewer..."},
    {CResultViewerCommands::ID_COMPARE_TARGET_ENERGY, "&Target Energy Comparison..."},
};
// The calculation commands, in their menu's order.
const int kCalcCommands[] = {CCalcCommands::ID_CALC_INPUT_POWER,     CCalcCommands::ID_CALC_ENERGY_RESULT,
                             CCalcCommands::ID_CALC_VIBRATION_LEVEL, CCalcCommands::ID_CALC_SPL,
                             CCalcCommands::ID_SEARCH_DOMINANT_PATH, CCalcCommands::ID_CALC_POWER_CONTRIBUTION,
                             CCalcCommands::ID_SPL_BY_SINGLE_IP,     CCalcCommands::ID_SPL_BY_SINGLE_IP_COMP};
// The result commands offered with a sub-menu of the selected project's result sets.
const int kResultPopupCommands[] = {CCalcCommands::ID_SEARCH_DOMINANT_PATH, CCalcCommands::ID_CALC_POWER_CONTRIBUTION,
                                    CCalcCommands::ID_CALC_SPL, CCalcCommands::ID_CALC_VIBRATION_LEVEL};
// The element type of a result set.
constexpr int kResultSetType = 51;
// The comparisons and input-power commands of the results (the export goes to the File menu).
const int kResultCommands[] = {CResultCommands::ID_COMPARE_WITH_RESULT, CResultCommands::ID_COMPARE_WITH_MEASURED,
                               CResultCommands::ID_INPUT_POWER_DATA, CResultCommands::ID_EXPORT_INPUT_POWER};
// The result viewers, after them in the same menu.
const int kViewerCommands[] = {CResultViewerCommands::ID_VIEW_POWER_CONTRIBUTION,
                               CResultViewerCommands::ID_COMPARE_TARGET_ENERGY};
} // namespace

CMainFrame::CMainFrame(const std::string& programFolder, QWidget* parent)
    : QMainWindow(parent), m_programFolder(programFolder)
{
    setObjectName(QStringLiteral("MainFrame"));
    InstallApplicationIcon();
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
    connect(m_treeWnd, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandUI(); });
    connect(m_shortcutWnd, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandUI(); });

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
    InstallViewOpeners();
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
}

void CMainFrame::InstallViewOpeners()
{
    // The sensor window opens in this frame's client area over the open document's catalogue.
    if (CZuMultiDocTemplate* sensors = GetTALVOApp().FindTemplateByStringId(IDR_SENSORTYPE))
        sensors->SetOpener([this](CMElement* element) {
            auto* project = DynamicDowncast<CSensorProject>(element);
            return project && m_doc && CSensorFrame::Open(m_mdiArea, project, m_doc.get()) != nullptr;
        });
    // One model window per model kind, its connections from the model project.
    for (const char* name : {"ModelView", "ModelView2"})
        if (CZuMultiDocTemplate* models = GetTALVOApp().FindTemplate(name))
            models->SetOpener([this](CMElement* element) {
                auto* model = DynamicDowncast<CModelData>(element);
                CModelProject* project = m_doc ? m_doc->GetTALVOProject().GetModelProject() : nullptr;
                C3DModelView::ConnectionTest connected;
                if (project)
                    connected = [project](const std::string& a, const std::string& b) {
                        return project->IsSubsystemConnected(a, b) != 0;
                    };
                return model && C3DModelView::Open(m_mdiArea, model, std::move(connected)) != nullptr;
            });
    // The data windows over the elements of the tree open in the client area.
    InstallDataViewOpeners(m_mdiArea);
    // The planning wizard's sensor step works in the sensor window.
    CDlgWizSensorConfig::SetSensorCommand([this](int command) {
        CSensorFrame* frame = OnCommand(ID_SENSOR_VIEW) ? CSensorFrame::GetInstance() : nullptr;
        return frame && (command == 0 || frame->OnCommand(command));
    });
    // Measurement windows open in the client area; with the check, not while another measurement
    // window holds data that are not saved.
    GetTALVOApp().SetDAQSystemViewOpener([this](int checkUnsaved) -> IDAQSystemDocument* {
        if (checkUnsaved)
            for (CExpFrame* open : CExpFrame::OpenFrames())
                if (open->GetDocument()->GetSavedFlag() == 0 && open->GetDocument()->IsModified())
                    return nullptr;
        CExpFrame* frame = CExpFrame::Open(m_mdiArea, m_programFolder);
        frame->GetDocument()->SetSavedFlag(0);
        return frame->GetDocument();
    });
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
    if (CZuMultiDocTemplate* sensors = GetTALVOApp().FindTemplateByStringId(IDR_SENSORTYPE))
        sensors->SetOpener({});
    for (const char* name : {"ModelView", "ModelView2"})
        if (CZuMultiDocTemplate* models = GetTALVOApp().FindTemplate(name))
            models->SetOpener({});
    GetTALVOApp().SetDAQSystemViewOpener({});
    RemoveDataViewOpeners();
    CDlgWizSensorConfig::SetSensorCommand({});
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
    for (const MenuEntry& e : kMenuTexts)
        if (e.id == id)
            return QString::fromUtf8(e.english);
    if (QString text = CFrameCommandHandler::DefaultText(id); !text.isEmpty())
        return text;
    if (const int target = CAliasCommands::Target(id))
        return MenuText(target);
    if (const char* text = CDaqProjectCommands::MenuText(id))
        return QString::fromUtf8(text);
    return QString::number(id);
}

void CMainFrame::CreateActions()
{
    const int ids[] = {ID_FILE_NEW,
                       ID_FILE_OPEN,
                       ID_FILE_CLOSE,
                       ID_SAVE_PROJECT,
                       ID_SAVE_PROJECT_AS,
                       ID_PROJECT_HISTORY,
                       ID_APP_EXIT,
                       ID_VIEW_PROJECT_WINDOW,
                       ID_VIEW_SHORTCUT_BAR,
                       ID_LANGUAGE_ENGLISH,
                       ID_LANGUAGE_JAPANESE,
                       ID_CHECK_LAST_VERSION,
                       ID_AUTO_CHECK_LAST_VERSION,
                       ID_VERSION_HISTORY,
                       ID_APP_ABOUT,
                       ID_DUMP_DATA,
                       ID_DUMP_DATA_PARAM,
                       ID_READ_MODEL_DATA,
                       ID_EXPORT_HSEA_MODEL,
                       ID_IMPORT_ASEA_MODEL,
                       ID_IMPORT_MODEL_DATA,
                       ID_EXPORT_ANALYSIS_PROJECT,
                       ID_IMPORT_ANALYSIS_PROJECT,
                       ID_SENSOR_VIEW,
                       ID_SENSOR_VIEW_ALIAS,
                       ID_OPTIONS,
                       ID_ANALYSIS_OPTIONS,
                       ID_SRC_TRG_DEFINITION};
    for (int id : ids) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("Command%1").arg(id));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    for (int id : kResultCommands) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("Command%1").arg(id));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    for (int id : CFrameCommands::Commands()) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("Command%1").arg(id));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    for (int id : CAliasCommands::Commands()) {
        if (m_actions.count(id))
            continue;
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("Command%1").arg(id));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    m_actions[CFrameCommands::ID_MODEL_VIEW]->setIcon(AppIcon("model-view"));
    for (int id : kViewerCommands) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("Command%1").arg(id));
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    for (int id : CDaqProjectCommands::kCommands) {
        m_actions[id] = new QAction(this);
        m_actions[id]->setObjectName(QStringLiteral("Command%1").arg(id));
        m_actions[id]->setData(id);
        connect(m_actions[id], &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    for (int id : kCalcCommands) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("Command%1").arg(id));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions[id] = action;
    }
    for (int id : {ID_VIEW_PROJECT_WINDOW, ID_VIEW_SHORTCUT_BAR, ID_LANGUAGE_ENGLISH, ID_LANGUAGE_JAPANESE,
                   ID_AUTO_CHECK_LAST_VERSION})
        m_actions[id]->setCheckable(true);
    m_actions[ID_FILE_NEW]->setShortcut(QKeySequence::New);
    m_actions[ID_FILE_OPEN]->setShortcut(QKeySequence::Open);
    m_actions[ID_SAVE_PROJECT]->setShortcut(QKeySequence::Save);
    m_actions[ID_FILE_NEW]->setIcon(AppIcon("new"));
    m_actions[ID_FILE_OPEN]->setIcon(AppIcon("open"));
    m_actions[ID_SAVE_PROJECT]->setIcon(AppIcon("save"));
    m_actions[ID_READ_MODEL_DATA]->setIcon(AppIcon("model-data"));
    m_actions[ID_APP_ABOUT]->setIcon(AppIcon("about"));
}

QAction* CMainFrame::Action(int id) const
{
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
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
    QMenu* file = bar->addMenu(MenuText(1));
    file->setObjectName(QStringLiteral("FileMenu"));
    file->addAction(m_actions[ID_FILE_NEW]);
    file->addAction(m_actions[ID_FILE_OPEN]);
    file->addAction(m_actions[ID_FILE_CLOSE]);
    file->addSeparator();
    file->addAction(m_actions[ID_SAVE_PROJECT]);
    file->addAction(m_actions[ID_SAVE_PROJECT_AS]);
    file->addSeparator();
    file->addAction(m_actions[ID_PROJECT_HISTORY]);
    file->addSeparator();
    file->addAction(m_actions[ID_READ_MODEL_DATA]);
    file->addAction(m_actions[ID_IMPORT_ASEA_MODEL]);
    file->addAction(m_actions[ID_IMPORT_MODEL_DATA]);
    file->addAction(m_actions[ID_EXPORT_HSEA_MODEL]);
    file->addSeparator();
    file->addAction(m_actions[ID_EXPORT_ANALYSIS_PROJECT]);
    file->addAction(m_actions[ID_IMPORT_ANALYSIS_PROJECT]);
    file->addAction(m_actions[CResultCommands::ID_EXPORT_INPUT_POWER]);
    file->addSeparator();
    m_recentMenu = file->addMenu(MenuText(4));
    m_recentMenu->setObjectName(QStringLiteral("RecentMenu"));
    file->addSeparator();
    file->addAction(m_actions[ID_APP_EXIT]);
    connect(file, &QMenu::aboutToShow, this, [this] {
        UpdateRecentFileMenu();
        UpdateCommandUI();
    });

    QMenu* view = bar->addMenu(MenuText(2));
    view->setObjectName(QStringLiteral("ViewMenu"));
    view->addAction(m_actions[ID_VIEW_PROJECT_WINDOW]);
    view->addAction(m_actions[ID_VIEW_SHORTCUT_BAR]);
    view->addSeparator();
    view->addAction(m_actions[ID_SENSOR_VIEW]);
    view->addAction(m_actions[CFrameCommands::ID_MODEL_VIEW]);
    for (int id : CDaqProjectCommands::kCommands)
        view->addAction(m_actions[id]);
    QMenu* language = view->addMenu(MenuText(5));
    language->addAction(m_actions[ID_LANGUAGE_ENGLISH]);
    language->addAction(m_actions[ID_LANGUAGE_JAPANESE]);
    view->addSeparator();
    view->addAction(m_actions[ID_SRC_TRG_DEFINITION]);
    view->addAction(m_actions[ID_ANALYSIS_OPTIONS]);
    view->addAction(m_actions[ID_OPTIONS]);
    connect(view, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });

    QMenu* calculation = bar->addMenu(MenuText(8));
    calculation->setObjectName(QStringLiteral("CalculationMenu"));
    m_resultPopups.clear();
    for (int id : kCalcCommands) {
        if (!std::count(std::begin(kResultPopupCommands), std::end(kResultPopupCommands), id)) {
            calculation->addAction(m_actions[id]);
            continue;
        }
        // The result commands ask for the result set in a sub-menu; the plain command (on the
        // tree's selection) stays on the result context menu and the toolbar.
        QString title = MenuText(id);
        if (title.endsWith(QStringLiteral("...")))
            title.chop(3);
        QMenu* popup = calculation->addMenu(title);
        popup->setObjectName(QStringLiteral("ResultPopup%1").arg(id));
        connect(popup, &QMenu::aboutToShow, this, [this, id] { FillResultPopup(id); });
        m_resultPopups[id] = popup;
    }
    calculation->addSeparator();
    for (int id : kResultCommands)
        if (id != CResultCommands::ID_EXPORT_INPUT_POWER)
            calculation->addAction(m_actions[id]);
    for (int id : kViewerCommands)
        calculation->addAction(m_actions[id]);
    connect(calculation, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });

    QMenu* projects = bar->addMenu(MenuText(9));
    projects->setObjectName(QStringLiteral("ProjectMenu"));
    for (int id : {int(CFrameCommands::ID_NEW_ANALYSIS_PROJECT),
                   int(CFrameCommands::ID_NEW_DAQ_PROJECT),
                   int(CFrameCommands::ID_ADD_MODEL_VARIANT),
                   0,
                   int(CFrameCommands::ID_COPY_ANALYSIS_PROJECT),
                   int(CFrameCommands::ID_MERGE_ANALYSIS_PROJECTS),
                   int(CFrameCommands::ID_RENAME_PROJECT),
                   int(CFrameCommands::ID_REMOVE_PROJECT),
                   0,
                   int(CFrameCommands::ID_DAQ_SETTINGS),
                   int(CFrameCommands::ID_DAQ_CALC_OPTIONS),
                   int(CFrameCommands::ID_DAQ_CALC_OPTIONS_RECALC),
                   int(CFrameCommands::ID_BLIX_CHANNEL_EXCHANGE),
                   0,
                   int(CFrameCommands::ID_MODEL_UPDATE),
                   int(CFrameCommands::ID_EXTRACT_CLF),
                   int(CFrameCommands::ID_EXTRACT_INTRINSIC_DLF),
                   int(CFrameCommands::ID_IMPORTED_FILE_LIST),
                   0,
                   int(CFrameCommands::ID_EDIT_CUT)}) {
        if (id == 0)
            projects->addSeparator();
        else
            projects->addAction(m_actions[id]);
    }
    connect(projects, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });

    QMenu* help = bar->addMenu(MenuText(3));
    help->setObjectName(QStringLiteral("HelpMenu"));
    help->addAction(m_actions[ID_CHECK_LAST_VERSION]);
    help->addAction(m_actions[ID_AUTO_CHECK_LAST_VERSION]);
    help->addAction(m_actions[ID_VERSION_HISTORY]);
    help->addSeparator();
    help->addAction(m_actions[ID_APP_ABOUT]);
    connect(help, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });

    // The developer entries, when the marker file lies beside the program.
    m_developerMenu = nullptr;
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::path(m_programFolder) / kHiddenMenuFlag, ec)) {
        m_developerMenu = bar->addMenu(MenuText(6));
        m_developerMenu->setObjectName(QStringLiteral("DeveloperMenu"));
        m_developerMenu->addSeparator();
        m_developerMenu->addAction(m_actions[ID_DUMP_DATA]);
        m_developerMenu->addAction(m_actions[ID_DUMP_DATA_PARAM]);
        m_developerMenu->addSeparator();
    }
    UpdateRecentFileMenu();
}

void CMainFrame::BuildToolBar()
{
    if (!m_toolBar) {
        m_toolBar = addToolBar(QStringLiteral("Standard"));
        m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    }
    m_toolBar->clear();
    m_toolBar->addAction(m_actions[ID_FILE_NEW]);
    m_toolBar->addAction(m_actions[ID_FILE_OPEN]);
    m_toolBar->addAction(m_actions[ID_SAVE_PROJECT]);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_actions[ID_APP_ABOUT]);
}

void CMainFrame::RebuildForLanguage()
{
    BuildMenus();
    BuildToolBar();
    m_shortcutWnd->Rebuild();
    UpdateCommandUI();
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
    switch (itemId) {
    case kShortcutNewProject:
        menu->addAction(m_actions[ID_FILE_NEW]);
        break;
    case kShortcutOpenProject:
        menu->addAction(m_actions[ID_FILE_OPEN]);
        for (QAction* recent : m_recentMenu ? m_recentMenu->actions() : QList<QAction*>()) {
            if (menu->actions().size() == 1)
                menu->addSeparator();
            menu->addAction(recent);
        }
        break;
    case kShortcutReadModelData:
        menu->addAction(m_actions[ID_READ_MODEL_DATA]);
        break;
    default:
        for (int id : ShortcutCommands(itemId))
            menu->addAction(m_actions[id]);
        break;
    }
    UpdateCommandUI();
    return menu;
}

std::vector<int> CMainFrame::ShortcutCommands(int itemId)
{
    switch (itemId) {
    case 2:
        return {CFrameCommands::ID_MODEL_VIEW};
    case 4:
        return {CFrameCommands::ID_ADD_MODEL_VARIANT};
    case 5:
        return {CFrameCommands::ID_MODEL_UPDATE, ID_IMPORT_MODEL_DATA};
    case 6:
        return {CFrameCommands::ID_NEW_DAQ_PROJECT};
    case 7:
        return {CFrameCommands::ID_NEW_ANALYSIS_PROJECT};
    default:
        return {};
    }
}

bool CMainFrame::IsShortcutEnabled(int itemId) const
{
    switch (itemId) {
    case kShortcutNewProject:
        return IsCommandEnabled(ID_FILE_NEW);
    case kShortcutOpenProject:
        return IsCommandEnabled(ID_FILE_OPEN);
    case kShortcutReadModelData:
        return IsCommandEnabled(ID_READ_MODEL_DATA);
    default: {
        const std::vector<int> ids = ShortcutCommands(itemId);
        return std::any_of(ids.begin(), ids.end(), [this](int id) { return IsCommandEnabled(id); });
    }
    }
}

bool CMainFrame::IsCommandEnabled(int id) const
{
    const bool hasDoc = m_doc != nullptr;
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_NEW_ALIAS:
    case ID_FILE_OPEN_ALIAS:
    case ID_APP_EXIT:
    case ID_APP_ABOUT:
    case ID_VIEW_PROJECT_WINDOW:
    case ID_VIEW_SHORTCUT_BAR:
    case ID_LANGUAGE_ENGLISH:
    case ID_LANGUAGE_JAPANESE:
    case ID_CHECK_LAST_VERSION:
    case ID_AUTO_CHECK_LAST_VERSION:
        return true;
    case ID_VERSION_HISTORY:
        // Only where the product page is known.
        return IsWebAddress(GetProductPageAddress());
    case ID_OPEN_SELECTION: {
        if (!hasDoc)
            return false;
        CMElementList selection;
        return GetTALVOApp().GetSelectedElements(selection) > 0;
    }
    case ID_FILE_CLOSE:
    case ID_SAVE_PROJECT:
    case ID_SAVE_PROJECT_AS:
    case ID_PROJECT_HISTORY:
    case ID_READ_MODEL_DATA:
    case ID_IMPORT_ANALYSIS_PROJECT:
    case ID_OPTIONS:
    case ID_SRC_TRG_DEFINITION:
        return hasDoc;
    case ID_PLANNING_WIZARD:
        return hasDoc;
    case ID_SENSOR_VIEW:
    case ID_SENSOR_VIEW_ALIAS:
        return hasDoc && m_doc->GetTALVOProject().GetSensorProject() != nullptr;
    case ID_ANALYSIS_OPTIONS:
        return hasDoc &&
               dynamic_cast<CAnalysisProject*>(GetTALVOApp().GetProject(GetTALVOApp().GetSelectedProjectIndex()));
    case ID_EXPORT_ANALYSIS_PROJECT:
        return hasDoc && m_doc->CanExportAnalysisProject();
    case CDaqProjectCommands::ID_MEASURE_BY_SUBSYSTEM:
    case CDaqProjectCommands::ID_ENGINE_ROTATION:
    case CDaqProjectCommands::ID_DATABASE_CHECK:
        return hasDoc && CDaqProjectCommands::IsEnabled(id, GetTALVOApp().GetProject(-1));
    case ID_EXPORT_HSEA_MODEL:
        return hasDoc && m_doc->CanExportHSEAModelText();
    case ID_IMPORT_ASEA_MODEL:
    case ID_IMPORT_MODEL_DATA:
        return hasDoc && m_doc->GetTALVOProject().GetModelProject() != nullptr;
    case ID_DUMP_DATA:
    case ID_DUMP_DATA_PARAM: {
        if (!hasDoc)
            return false;
        CMElementList selection;
        GetTALVOApp().GetSelectedElements(selection);
        return selection.GetSize() > 0 && dynamic_cast<IDataWriter*>(selection[0]) != nullptr;
    }
    case CCalcCommands::ID_CALC_INPUT_POWER:
    case CCalcCommands::ID_CALC_ENERGY_RESULT:
    case CCalcCommands::ID_CALC_VIBRATION_LEVEL:
    case CCalcCommands::ID_CALC_SPL:
    case CCalcCommands::ID_SEARCH_DOMINANT_PATH:
    case CCalcCommands::ID_CALC_POWER_CONTRIBUTION:
    case CCalcCommands::ID_SPL_BY_SINGLE_IP:
    case CCalcCommands::ID_SPL_BY_SINGLE_IP_COMP: {
        if (!hasDoc)
            return false;
        CMElementList selection;
        GetTALVOApp().GetSelectedElements(selection);
        return CCalcCommands::IsEnabled(id, SelectedAnalysisProject(),
                                        selection.GetSize() > 0 ? selection[0] : nullptr);
    }
    case CResultCommands::ID_COMPARE_WITH_RESULT:
    case CResultCommands::ID_COMPARE_WITH_MEASURED:
    case CResultCommands::ID_INPUT_POWER_DATA:
    case CResultCommands::ID_EXPORT_INPUT_POWER: {
        if (!hasDoc)
            return false;
        CMElementList selection;
        GetTALVOApp().GetSelectedElements(selection);
        return CResultCommands::IsEnabled(id, GetTALVOApp().GetProject(-1),
                                          selection.GetSize() > 0 ? selection[0] : nullptr);
    }
    case CResultViewerCommands::ID_VIEW_POWER_CONTRIBUTION:
    case CResultViewerCommands::ID_COMPARE_TARGET_ENERGY: {
        CMElementList selection;
        if (hasDoc)
            GetTALVOApp().GetSelectedElements(selection);
        return hasDoc && CResultViewerCommands::IsEnabled(id, GetTALVOApp().GetProject(-1),
                                                          selection.GetSize() > 0 ? selection[0] : nullptr);
    }
    default:
        if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount)
            return id - ID_FILE_MRU_FILE1 < static_cast<int>(GetTALVOApp().GetRecentFiles().size());
        if (const int target = CAliasCommands::Target(id)) {
            if (!CAliasCommands::GoesToExperimentWindow(id))
                return IsCommandEnabled(target);
            CExpFrame* exp = ActiveExpFrame(m_mdiArea);
            return exp && exp->IsCommandEnabled(target);
        }
        return m_commands && m_commands->Handles(id) && m_commands->IsEnabled(id);
    }
}

CAnalysisProject* CMainFrame::SelectedAnalysisProject() const
{
    return m_doc ? DynamicDowncast<CAnalysisProject>(GetTALVOApp().GetProject(-1)) : nullptr;
}

void CMainFrame::OpenCalcSubsystemSelection(int id)
{
    CAnalysisProject* project = SelectedAnalysisProject();
    CZuSubsystemTable offered;
    if (!project || !CCalcCommands::GetOfferedSubsystems(id, *project, offered))
        return;
    CDlgSelectCalcSubsystem* dialog = CDlgSelectCalcSubsystem::CreateInstance(this, this);
    if (!dialog)
        return; // one is open already
    dialog->setWindowTitle(QString::fromStdString(LoadString(CCalcCommands::GetCaptionId(id))));
    dialog->SetNotifyMessage(CCalcCommands::GetNotifyMessage(id));
    dialog->SetNotifyParam(reinterpret_cast<intptr_t>(project));
    for (int i = 0; i < offered.GetCount(); ++i)
        dialog->AddSubsystem(offered[i], 1);
    dialog->Create();
}

void CMainFrame::RunResultCommand(int id)
{
    CAnalysisProject* project = SelectedAnalysisProject();
    CMElementList selection;
    GetTALVOApp().GetSelectedElements(selection);
    CMElement* result = selection.GetSize() > 0 ? selection[0] : nullptr;
    if (!project || !result)
        return;
    CTALVOProject& container = m_doc->GetTALVOProject();
    CDlgSelectSubsystem picker(container.GetModelProject(), this);
    picker.SetSubsystemKind(CCalcCommands::GetSubsystemKind(id));
    picker.EnableWaveType(CCalcCommands::IsWaveTypeEnabled(id));
    picker.SetCaption(result->GetName());
    picker.m_strName = container.GetTargetSubsystem();
    if (picker.DoModal() != IDOK)
        return;
    CCalcCommands::RunResultCommand(id, *project, result, picker.m_strName);
}

void CMainFrame::RunResultCommandUi(int id)
{
    CMElementList selection;
    GetTALVOApp().GetSelectedElements(selection);
    CMElement* first = selection.GetSize() > 0 ? selection[0] : nullptr;
    CAnalysisProject* project = SelectedAnalysisProject();
    switch (id) {
    case CResultCommands::ID_COMPARE_WITH_RESULT:
        CResultCommandsUi::OpenResultSelection(project, first, this, this);
        break;
    case CResultCommands::ID_COMPARE_WITH_MEASURED:
        if (project)
            CResultCommandsUi::CompareWithMeasured(*project, first);
        break;
    case CResultCommands::ID_EXPORT_INPUT_POWER:
        CResultCommandsUi::ExportInputPower(project, this);
        break;
    case CResultCommands::ID_INPUT_POWER_DATA:
        m_treeWnd->SendMessage(WM_ZU_INPUT_POWER_DATA, static_cast<uintptr_t>(id),
                               reinterpret_cast<intptr_t>(GetTALVOApp().GetProject(-1)));
        break;
    default:
        break;
    }
}

bool CMainFrame::IsOpenAnalysisProject(const CAnalysisProject* project) const
{
    if (!m_doc || !project)
        return false;
    const CTALVOProject& container = m_doc->GetTALVOProject();
    for (int i = 0; i < container.GetProjectCount(); ++i)
        if (container.GetProject(i) == project)
            return true;
    return false;
}

void CMainFrame::UpdateCommandUI()
{
    for (auto& [id, action] : m_actions)
        action->setEnabled(IsCommandEnabled(id));
    m_actions[ID_VIEW_PROJECT_WINDOW]->setChecked(m_treeWnd && !m_treeWnd->isHidden());
    m_actions[ID_VIEW_SHORTCUT_BAR]->setChecked(m_shortcutWnd && !m_shortcutWnd->isHidden());
    const uint32_t lang = GetTALVOApp().GetLanguage();
    m_actions[ID_LANGUAGE_ENGLISH]->setChecked(lang == LANG_ENGLISH);
    m_actions[ID_LANGUAGE_JAPANESE]->setChecked(lang == LANG_JAPANESE);
    m_actions[ID_AUTO_CHECK_LAST_VERSION]->setChecked(GetAutoCheckLastVerOption() != 0);
    for (int item = 0; m_shortcutWnd && item < static_cast<int>(CDockShortcutWnd::Table().size()); ++item)
        if (QToolButton* button = m_shortcutWnd->Button(item))
            button->setEnabled(IsShortcutEnabled(item));
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

bool CMainFrame::OnCommand(int id)
{
    if (!IsCommandEnabled(id))
        return false;
    try {
        return RunCommand(id);
    } catch (const CUserException&) {
        // The command told the user why it stopped; it ends here and the program goes on.
        UpdateCommandUI();
        return false;
    } catch (const std::bad_alloc&) {
        // A command that asks for more memory than there is ends here; what it was building is
        // released on the way out, and the open project stays as it was.
        AfxMessageBox("There is not enough memory to complete the command.", MB_OK | MB_ICONEXCLAMATION);
        UpdateCommandUI();
        return false;
    }
}

bool CMainFrame::RunCommand(int id)
{
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_NEW_ALIAS:
        NewDocument();
        break;
    case ID_FILE_OPEN:
    case ID_FILE_OPEN_ALIAS: {
        FileChooserOptions options;
        options.title = LoadString(0xF000);
        options.filter = kProjectFilter;
        options.defaultExt = "orv";
        std::string path;
        if (PromptOpenFile(options, path))
            OpenDocumentFile(path);
        break;
    }
    case ID_FILE_CLOSE:
        CloseMainDocument();
        break;
    case ID_SAVE_PROJECT:
        SaveDocument();
        break;
    case ID_SAVE_PROJECT_AS:
        SaveDocumentAs();
        break;
    case ID_PROJECT_HISTORY:
        OnProjectHistory();
        break;
    case ID_OPTIONS:
        RunOptionsSheet(m_doc->GetTALVOProject(), this);
        break;
    case ID_ANALYSIS_OPTIONS:
        if (auto* project =
                dynamic_cast<CAnalysisProject*>(GetTALVOApp().GetProject(GetTALVOApp().GetSelectedProjectIndex())))
            RunAnalysisOptionsSheet(*project, 3, this);
        break;
    case ID_READ_MODEL_DATA:
        m_doc->ReadModelDataFile();
        break;
    case ID_SRC_TRG_DEFINITION:
        // Modeless and single: asked again, the open dialog comes to the front.
        if (CDlgSrcTrgDefinition* open = CDlgSrcTrgDefinition::GetInstance()) {
            open->raise();
            open->activateWindow();
        } else if (!CDlgSrcTrgDefinition::CreateInstance(&m_doc->GetTALVOProject(), this)) {
            return false;
        }
        break;
    case CDaqProjectCommands::ID_MEASURE_BY_SUBSYSTEM:
    case CDaqProjectCommands::ID_ENGINE_ROTATION:
    case CDaqProjectCommands::ID_DATABASE_CHECK:
        return CDaqProjectCommands::Run(id, GetTALVOApp().GetProject(-1), this);
    case ID_EXPORT_HSEA_MODEL:
        m_doc->ExportHSEAModelText();
        break;
    case ID_IMPORT_ASEA_MODEL:
    case ID_IMPORT_MODEL_DATA: {
        CModelImporter importer(*m_doc, this);
        if (id == ID_IMPORT_ASEA_MODEL ? importer.ImportASEAModel() : importer.ImportModelData())
            m_doc->SetModifiedFlag(1);
        break;
    }
    case ID_EXPORT_ANALYSIS_PROJECT:
        m_doc->ExportAnalysisProjectFile();
        break;
    case ID_IMPORT_ANALYSIS_PROJECT:
        m_doc->ImportAnalysisProjectFile();
        break;
    case ID_APP_EXIT:
        close();
        break;
    case ID_APP_ABOUT: {
        CAboutDlg dlg(this);
        dlg.DoModal();
        break;
    }
    case ID_VIEW_PROJECT_WINDOW:
        m_treeWnd->setVisible(m_treeWnd->isHidden());
        break;
    case ID_VIEW_SHORTCUT_BAR:
        m_shortcutWnd->setVisible(m_shortcutWnd->isHidden());
        break;
    case ID_LANGUAGE_ENGLISH:
        GetTALVOApp().SetLanguage(LANG_ENGLISH);
        break;
    case ID_LANGUAGE_JAPANESE:
        GetTALVOApp().SetLanguage(LANG_JAPANESE);
        break;
    case ID_CHECK_LAST_VERSION:
        CheckLastVersionFromMenu();
        break;
    case ID_AUTO_CHECK_LAST_VERSION:
        SetAutoCheckLastVerOption(GetAutoCheckLastVerOption() != 0 ? 0 : 1);
        break;
    case ID_VERSION_HISTORY: {
        const std::string page = GetProductPageAddress();
        if (!page.empty())
            OpenWebPage(GetVersionHistoryAddress(page));
        break;
    }
    case ID_DUMP_DATA:
    case ID_DUMP_DATA_PARAM:
        DumpSelectedElement(id == ID_DUMP_DATA_PARAM);
        break;
    case ID_OPEN_SELECTION: {
        // Every selected element in its window, in the tree's order.
        CMElementList selection;
        GetTALVOApp().GetSelectedElements(selection);
        for (int i = 0; i < selection.GetSize(); ++i)
            GetTALVOApp().OpenDataView(selection[i]);
        break;
    }
    case ID_PLANNING_WIZARD:
        OpenPlanningWizard(GetTALVOApp().GetProject(GetTALVOApp().GetSelectedProjectIndex()));
        break;
    case ID_SENSOR_VIEW:
    case ID_SENSOR_VIEW_ALIAS:
        GetTALVOApp().OpenSensorView(m_doc->GetTALVOProject().GetSensorProject());
        break;
    case CCalcCommands::ID_CALC_INPUT_POWER:
    case CCalcCommands::ID_CALC_ENERGY_RESULT:
    case CCalcCommands::ID_SPL_BY_SINGLE_IP:
    case CCalcCommands::ID_SPL_BY_SINGLE_IP_COMP:
        OpenCalcSubsystemSelection(id);
        break;
    case CResultCommands::ID_COMPARE_WITH_RESULT:
    case CResultCommands::ID_COMPARE_WITH_MEASURED:
    case CResultCommands::ID_INPUT_POWER_DATA:
    case CResultCommands::ID_EXPORT_INPUT_POWER:
        RunResultCommandUi(id);
        break;
    case CCalcCommands::ID_CALC_VIBRATION_LEVEL:
    case CCalcCommands::ID_CALC_SPL:
    case CCalcCommands::ID_SEARCH_DOMINANT_PATH:
    case CCalcCommands::ID_CALC_POWER_CONTRIBUTION:
        RunResultCommand(id);
        break;
    case CResultViewerCommands::ID_VIEW_POWER_CONTRIBUTION:
    case CResultViewerCommands::ID_COMPARE_TARGET_ENERGY: {
        CMElementList selection;
        GetTALVOApp().GetSelectedElements(selection);
        CResultViewerCommands::Run(id, GetTALVOApp().GetProject(-1), selection.GetSize() > 0 ? selection[0] : nullptr,
                                   this);
        break;
    }
    default:
        if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount) {
            const std::vector<std::string> files = GetTALVOApp().GetRecentFiles();
            const std::string path = files[static_cast<size_t>(id - ID_FILE_MRU_FILE1)];
            // The current project goes first; a cancelled save prompt keeps it and opens nothing.
            if (!CloseMainDocument())
                break;
            std::error_code ec;
            if (!OpenDocumentFile(path) && !std::filesystem::exists(path, ec))
                GetTALVOApp().RemoveFromRecentFileList(path);
            break;
        }
        if (const int target = CAliasCommands::Target(id)) {
            if (!CAliasCommands::GoesToExperimentWindow(id))
                return OnCommand(target);
            CExpFrame* exp = ActiveExpFrame(m_mdiArea);
            return exp && exp->OnCommand(target);
        }
        if (!m_commands->Handles(id) || !m_commands->Run(id))
            return false;
        break;
    }
    UpdateCommandUI();
    return true;
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
    if (m_doc)
        GetTALVOApp().SetMainDocument(m_doc.get());
    UpdateFrameTitle();
    UpdateCommandUI();
}

bool CMainFrame::OpenDocumentFile(const std::string& path)
{
    if (!CloseMainDocument())
        return false;
    const std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    auto doc = std::make_unique<CTALVODoc>();
    std::string error;
    if (!doc->OnOpenDocument(absolute, &error)) {
        doc->OnCloseDocument();
        HideProgress();
        AfxMessageBox(error, MB_OK | MB_ICONSTOP);
        UpdateFrameTitle();
        UpdateCommandUI();
        return false;
    }
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

void CMainFrame::OnProjectHistory()
{
    if (!m_doc || !m_doc->GetProjectHistory())
        return;
    CDlgProjectHistory dlg(m_doc->GetProjectHistory(), this);
    dlg.DoModal();
}

void CMainFrame::DumpSelectedElement(bool withParameter)
{
    CMElementList selection;
    GetTALVOApp().GetSelectedElements(selection);
    auto* writer = selection.GetSize() > 0 ? dynamic_cast<IDataWriter*>(selection[0]) : nullptr;
    if (!writer)
        return;
    FileChooserOptions options;
    options.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
    options.defaultExt = "txt";
    std::string path;
    if (!PromptSaveFile(options, path))
        return;
    std::string parameter;
    if (withParameter) {
        if (!InputBox("Please, input the parameter.", "Parameter", parameter, this))
            return;
    }
    CStdioFile file;
    std::string error;
    if (!file.Open(path, CStdioFile::modeWrite, &error)) {
        AfxMessageBox(error, MB_OK | MB_ICONSTOP);
        return;
    }
    try {
        if (!writer->WriteDump(file, parameter)) {
            // Nothing the element knows: no empty file is left behind.
            file.Abort();
            AfxFormatMessageBox(IDS_UNKNOWN_DUMP_PARAMETER, MB_OK | MB_ICONEXCLAMATION, parameter.c_str());
            return;
        }
        file.Close();
    } catch (const std::exception& e) {
        file.Abort();
        AfxMessageBox(e.what(), MB_OK | MB_ICONSTOP);
    }
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
    case WM_ZU_CHILD_ADDED:
    case WM_ZU_CHILD_REMOVED: {
        auto* element = reinterpret_cast<CMElement*>(lParam);
        const int index = static_cast<int>(static_cast<intptr_t>(wParam));
        // The tree window marks the document modified when it had the tree.
        if (msg == WM_ZU_CHILD_ADDED)
            m_treeWnd->AddElement(index, element);
        else
            m_treeWnd->RemoveElement(index, element);
        return 0;
    }
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
        if (QMenu* menu = CreateResultContextMenu(window())) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(QCursor::pos());
        }
        return 0;
    case WM_ZU_RESULT_SELECTED:
        return m_doc ? CResultCommandsUi::OnResultSelected(wParam, lParam, *m_doc) : 0;
    case WM_ZU_SPL_BY_SINGLE_IP:
    case WM_ZU_SPL_BY_SINGLE_IP_COMP: {
        auto* project = reinterpret_cast<CAnalysisProject*>(lParam);
        if (!IsOpenAnalysisProject(project))
            return -1;
        // By RPM the comparison windows show the table; by order it is written as a report.
        if (project->GetProjectType() == CAnalysisProject::typeRpm)
            return CResultViewerCommands::OnSplBySingleIP(msg, reinterpret_cast<const CZuSubsystemTable*>(wParam),
                                                          project, this);
        return CResultCommandsUi::OnSPLBySingleInput(msg, reinterpret_cast<const CZuSubsystemTable*>(wParam), project,
                                                     *m_doc, this);
    }
    case WM_ZU_CALC_INPUT_ENERGY:
    case WM_ZU_CALC_INPUT_POWER: {
        // The project travels with the dialog's answer; it may have gone with its document since.
        auto* project = reinterpret_cast<CAnalysisProject*>(lParam);
        const auto* table = reinterpret_cast<const CZuSubsystemTable*>(wParam);
        if (!table || !IsOpenAnalysisProject(project))
            return 0;
        return msg == WM_ZU_CALC_INPUT_ENERGY ? CCalcCommands::OnCalcInputEnergy(*table, project)
                                              : CCalcCommands::OnCalcEnergyResult(*table, project);
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
    // The result sets anywhere below the selected project, in tree order.
    std::vector<CMElement*> sets;
    std::function<void(CMElement*)> collect = [&](CMElement* e) {
        for (int i = 0; i < e->GetChildCount(); ++i) {
            CMElement* child = e->GetChild(i);
            if (!child)
                continue;
            if (child->GetType() == kResultSetType)
                sets.push_back(child);
            collect(child);
        }
    };
    if (CMElement* project = m_doc ? GetTALVOApp().GetProject(-1) : nullptr)
        collect(project);
    if (sets.empty()) {
        popup->addAction(QStringLiteral("no result"))->setEnabled(false);
        return;
    }
    CAnalysisProject* analysis = SelectedAnalysisProject();
    for (CMElement* set : sets) {
        QAction* item = popup->addAction(QString::fromStdString(set->GetName()));
        // A set the command cannot work on (another kind of result) is offered grayed.
        item->setEnabled(CCalcCommands::IsEnabled(id, analysis, set));
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
    if (GetTALVOApp().GetSelectedElements(selection) == 0)
        return nullptr;
    CMElement* first = selection[0];
    if (!DynamicDowncast<CZuRpmResultData>(first) && !DynamicDowncast<CZuOTResultData>(first))
        return nullptr;
    UpdateCommandUI();
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("ResultContextMenu"));
    for (int id : {CCalcCommands::ID_CALC_VIBRATION_LEVEL, CCalcCommands::ID_CALC_SPL,
                   CCalcCommands::ID_SEARCH_DOMINANT_PATH, CCalcCommands::ID_CALC_POWER_CONTRIBUTION})
        menu->addAction(m_actions[id]);
    menu->addSeparator();
    for (int id : kResultCommands)
        if (id != CResultCommands::ID_EXPORT_INPUT_POWER)
            menu->addAction(m_actions[id]);
    for (int id : kViewerCommands)
        menu->addAction(m_actions[id]);
    return menu;
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
