// The main frame: progress messages, tree notifications, developer menu, language rebuild, close.
#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "app/DaqProject.h"
#include "app/ui/AppIcons.h"
#include "app/ui/MainFrame.h"
#include "app/ui/ProgressStatusBar.h"
#include "platform/ui/ProjectTreeModel.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/DockShortcutWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/RPMSignalData.h"
#include "experiments/ui/ExpDoc.h"
#include "experiments/ui/ExpFrame.h"
#include "experiments/ui/ExpTreeView.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/archive/Object.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/StringTable.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/StdioFile.h"

#include <QAction>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QMdiArea>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QToolBox>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {
class MainFrame : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH)); }
};

// A frame with a document of one DAQ project holding one folder.
struct FrameWithProject
{
    QTemporaryDir dir;
    CMainFrame frame;
    CDaqProject* daq = nullptr;
    CMElement* folder = nullptr;

    // With a model file the document holds the model project first, as a measured project's does.
    explicit FrameWithProject(const std::string& modelFile = {})
    {
        auto doc = std::make_unique<CTALVODoc>();
        if (!modelFile.empty()) {
            doc->GetTALVOProject().SetDocumentPath(dir.filePath("project.orv").toStdString());
            EXPECT_NE(doc->GetTALVOProject().CreateModelProjectFromFile(0, modelFile), nullptr);
        }
        daq = doc->GetTALVOProject().AddDaqProject();
        folder = daq->AddChild(std::make_unique<CMElement>("Folder", daq, 100));
        doc->AddProjectsToViews();
        frame.AttachDocument(std::move(doc));
    }
};
// An element whose dump knows one parameter, "Raw", besides none.
class CNamedDump : public CMElement, public IDataWriter
{
public:
    CNamedDump() : CMElement("Dump", nullptr, 51) {}
    int WriteDump(CStdioFile& file, const std::string& param) override
    {
        if (!param.empty() && param != "Raw")
            return 0;
        file.WriteString("data\n");
        return 1;
    }
};
} // namespace

TEST_F(MainFrame, ProgressMessagesDriveTheStatusBar)
{
    CMainFrame frame;
    QProgressBar* bar = frame.ProgressBar()->ProgressCtrl();
    EXPECT_FALSE(frame.ProgressBar()->IsProgressVisible());
    EXPECT_EQ(frame.SendMessage(WM_ZU_PROGRESS_SHOW), 0);
    EXPECT_TRUE(frame.ProgressBar()->IsProgressVisible());

    struct Case
    {
        uintptr_t wParam;
        intptr_t lParam;
        int min, max, pos, step;
    };
    const Case cases[] = {
        {uintptr_t(100) << 16, 1, 0, 100, 0, 1}, // low word 0, high word 100
        {(uintptr_t(50) << 16) | 10, 5, 10, 50, 10, 5},
        {(uintptr_t(10) << 16) | 0xFFFB, 1, -5, 10, -5, 1}, // the first value is signed 16 bits
        {uintptr_t(70000) << 16, 1, 0, 70000, 0, 1},        // counts beyond 16 bits are not cut
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frame.SendMessage(WM_ZU_PROGRESS_RANGE, c.wParam, c.lParam), 0);
        EXPECT_EQ(bar->minimum(), c.min);
        EXPECT_EQ(bar->maximum(), c.max);
        EXPECT_EQ(bar->value(), c.pos);
        EXPECT_EQ(frame.ProgressBar()->Step(), c.step);
    }
    frame.SendMessage(WM_ZU_PROGRESS_RANGE, uintptr_t(3) << 16, 1);
    frame.SendMessage(WM_ZU_PROGRESS_STEP);
    frame.SendMessage(WM_ZU_PROGRESS_STEP);
    EXPECT_EQ(bar->value(), 2);
    const std::string text = "Storing [DAQ0]...";
    frame.SendMessage(WM_ZU_PROGRESS_TEXT, reinterpret_cast<uintptr_t>(text.c_str()));
    EXPECT_EQ(frame.ProgressBar()->ProgressTextPane()->text().toStdString(), text);
    EXPECT_EQ(frame.SendMessage(WM_ZU_PROGRESS_HIDE), 0);
    EXPECT_FALSE(frame.ProgressBar()->IsProgressVisible());
    // Messages while the control is hidden do no harm.
    frame.SendMessage(WM_ZU_PROGRESS_STEP);
    frame.SendMessage(WM_ZU_PROGRESS_TEXT, 0);
}

TEST_F(MainFrame, TheTreeFollowsItsProjectsElements)
{
    // The model project's subsystems name the measurement's experiment below.
    FrameWithProject f((std::filesystem::path(ORVEX_SOURCE_DIR) / "samples" / "sample-model.dmd").string());
    CDockTreeWnd* trees = f.frame.TreeWindow();
    ASSERT_EQ(trees->GetTreeProject(1), f.daq);
    CProjectTreeModel* model = trees->GetTree(1)->Model();
    CTALVODoc* doc = f.frame.GetDocument();
    EXPECT_FALSE(doc->IsModified());

    // A project gains a child: its tree shows it under its parent, the document is modified.
    CMElement* result = f.folder->AddChild(std::make_unique<CMElement>("Result", f.folder, 51));
    const QModelIndex idx = model->IndexOf(result);
    ASSERT_TRUE(idx.isValid());
    EXPECT_EQ(model->ElementOf(idx.parent()), f.folder);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(model->data(idx, Qt::ToolTipRole).toString(), "Result") << "a name cut by the dock is read whole";

    // A tree that belongs to no project tells nobody.
    doc->SetModifiedFlag(0);
    CMElement stray("Stray", nullptr, 1);
    CMElement* strayChild = stray.AddChild(std::make_unique<CMElement>("Child", &stray, 1));
    EXPECT_FALSE(model->IndexOf(strayChild).isValid());
    EXPECT_FALSE(doc->IsModified());

    // A rename repaints the row and counts as a change.
    result->SetName("Renamed");
    EXPECT_EQ(model->data(idx, Qt::DisplayRole).toString(), "Renamed");
    EXPECT_TRUE(doc->IsModified());

    // The element leaves the tree before it goes.
    doc->SetModifiedFlag(0);
    f.folder->DeleteChild(result);
    EXPECT_FALSE(model->IndexOf(result).isValid());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(model->rowCount(model->IndexOf(f.folder)), 0);

    // 0x2405 sets the modified flag as told.
    f.frame.SendMessage(WM_ZU_SET_MODIFIED, 0);
    EXPECT_FALSE(doc->IsModified());

    // A measurement window over an experiment of the project: the experiment joins the project's
    // tree, and the measurement window's tree shows the measurement's own project.
    const CZuSubsystemTable* subsystems = doc->GetTALVOProject().GetModelSubsystemTable();
    ASSERT_TRUE(subsystems && subsystems->GetCount() >= 2);
    CExpInfo info;
    info.SetName(0, (*subsystems)[0]);
    info.SetName(1, (*subsystems)[1]);
    info.SetLabel("Run-up");
    auto* expDoc = new CExpDoc;
    auto expFrame = std::make_unique<CExpFrame>(expDoc, std::string());
    ASSERT_EQ(f.daq->OpenDAQSystemDoc(expDoc, {&info}), 1);
    ASSERT_EQ(f.daq->GetChildCount(), 2);
    EXPECT_TRUE(model->IndexOf(f.daq->GetChild(1)).isValid()) << "the new experiment shows in the project tree";
    CExpTreeView* expTree = expFrame->TreeView();
    CProjectTreeModel* expModel = expTree->Model();
    CExpProject* measured = expDoc->GetProject();
    ASSERT_NE(measured, nullptr);
    EXPECT_EQ(expModel->RootAt(0), measured);
    CRPMSignalData* pulses = measured->GetRPMSignalData();
    ASSERT_NE(pulses, nullptr);
    const QModelIndex pulseRow = expModel->IndexOf(pulses);
    ASSERT_TRUE(pulseRow.isValid());

    // Data sets come and go through the model API alone; the row's text is the label the set
    // took after it was added.
    CMElement* first = pulses->AddDataSet();
    CMElement* second = pulses->AddDataSet();
    ASSERT_EQ(expModel->rowCount(pulseRow), 2);
    EXPECT_EQ(expModel->data(expModel->IndexOf(second)).toString().toStdString(), second->GetName());
    EXPECT_FALSE(second->GetName().empty());
    expTree->SelectElement(second);
    pulses->DeleteChild(second);
    EXPECT_EQ(expModel->rowCount(pulseRow), 1);
    EXPECT_FALSE(expModel->IndexOf(second).isValid());
    EXPECT_EQ(expTree->GetCurrentElement(), pulses) << "the selection moves to what held the removed set";
    EXPECT_EQ(expModel->ElementOf(expTree->currentIndex()), pulses);
    EXPECT_TRUE(expModel->IndexOf(first).isValid());

    // The experiment leaves the project tree with its element.
    CMElement* experiment = f.daq->GetChild(1);
    expFrame.reset(); // the measurement lists the experiment; its window goes first
    f.daq->DeleteChild(experiment);
    EXPECT_EQ(model->rowCount(model->IndexOf(f.daq)), 1);
}

// A project's tree is made when its tab is first shown; until then its elements' changes still
// mark the document, and the tree shows them once made.
TEST_F(MainFrame, AHiddenTabsTreeIsMadeWhenShownAndChangesBeforeCount)
{
    FrameWithProject f((std::filesystem::path(ORVEX_SOURCE_DIR) / "samples" / "sample-model.dmd").string());
    CDockTreeWnd* trees = f.frame.TreeWindow();
    ASSERT_EQ(trees->GetTreeCount(), 2);
    ASSERT_EQ(trees->GetActiveIndex(), 0);
    EXPECT_EQ(trees->Tabs()->widget(1)->findChild<CMTreeCtrlEx*>(), nullptr) << "not made while hidden";
    CTALVODoc* doc = f.frame.GetDocument();
    doc->SetModifiedFlag(0);

    CMElement* result = f.folder->AddChild(std::make_unique<CMElement>("Result", f.folder, 51));
    EXPECT_TRUE(doc->IsModified());
    doc->SetModifiedFlag(0);
    result->SetName("Renamed");
    EXPECT_TRUE(doc->IsModified());

    QSignalSpy selection(trees, &CDockTreeWnd::SelectionChanged);
    trees->SetActiveIndex(1);
    EXPECT_GE(selection.count(), 1);
    CMTreeCtrlEx* tree = trees->Tabs()->widget(1)->findChild<CMTreeCtrlEx*>();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(trees->GetTree(1), tree);
    const QModelIndex row = tree->Model()->IndexOf(result);
    ASSERT_TRUE(row.isValid());
    EXPECT_EQ(tree->Model()->data(row, Qt::DisplayRole).toString(), "Renamed");
    EXPECT_TRUE(tree->isExpanded(tree->Model()->index(0, 0)));
}

TEST_F(MainFrame, SelectionIsMultipleAndInTreeOrder)
{
    FrameWithProject f;
    CMElement* second = f.daq->AddChild(std::make_unique<CMElement>("Second", f.daq, 101));
    f.frame.TreeWindow()->RefreshItems();
    CMTreeCtrlEx* tree = f.frame.TreeWindow()->GetActiveTree();
    ASSERT_NE(tree, nullptr);
    tree->SelectElements({second, f.folder});
    CMElementList list;
    EXPECT_EQ(GetTALVOApp().GetSelectedElements(list), 2);
    EXPECT_EQ(list[0], f.folder);
    EXPECT_EQ(list[1], second);
    EXPECT_EQ(GetTALVOApp().GetSelectedProjectIndex(), 0);
    EXPECT_EQ(GetTALVOApp().GetProject(-1), f.daq);
    EXPECT_EQ(GetTALVOApp().GetProject(1), nullptr); // index equal to the count
}

TEST_F(MainFrame, DeveloperMenuOnlyWithTheMarkerFile)
{
    QTemporaryDir dir;
    {
        CMainFrame frame(dir.path().toStdString());
        EXPECT_EQ(frame.DeveloperMenu(), nullptr);
    }
    std::ofstream(dir.filePath("hidden_menu.flg").toStdString()) << "";
    CMainFrame frame(dir.path().toStdString());
    QMenu* menu = frame.DeveloperMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_TRUE(actions[0]->isSeparator());
    EXPECT_EQ(actions[1]->text(), QStringLiteral("&Dump Data ..."));
    EXPECT_EQ(actions[2]->text(), QStringLiteral("&Dump Data (with Parameter)..."));
    EXPECT_TRUE(actions[3]->isSeparator());
    // Nothing selected offers a dump: the entries are disabled and do nothing.
    EXPECT_FALSE(frame.OnCommand(ID_DUMP_DATA));
}

TEST_F(MainFrame, CommandsNeedingADocumentAreDisabledWithoutOne)
{
    CMainFrame frame;
    for (int id : {ID_SAVE_PROJECT, ID_SAVE_PROJECT_AS, ID_FILE_CLOSE, ID_PROJECT_HISTORY}) {
        EXPECT_FALSE(frame.Action(id)->isEnabled()) << id;
        EXPECT_FALSE(frame.OnCommand(id)) << id;
    }
    EXPECT_TRUE(frame.Action(ID_FILE_NEW)->isEnabled());
    EXPECT_FALSE(frame.OnCommand(4242)); // a command of a later subsystem is not there
}

TEST_F(MainFrame, NewProjectRefusedOrCancelledLeavesNoDocument)
{
    CMainFrame frame;
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDNO);
        EXPECT_FALSE(frame.NewDocument());
        EXPECT_EQ(prompts.Last().stringId, 6035u);
    }
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDYES);
        CScriptedDialogs dialogs;
        dialogs.PressCancel();
        EXPECT_FALSE(frame.NewDocument());
        EXPECT_EQ(dialogs.Records().size(), 1u);
    }
    EXPECT_EQ(frame.GetDocument(), nullptr);
    EXPECT_EQ(GetTALVOApp().GetMainDocument(), nullptr);
}

TEST_F(MainFrame, LanguageSwitchRebuildsTheBars)
{
    FrameWithProject f;
    CMainFrame& frame = f.frame;
    // The window fits a 1280x800 screen in either language, with the progress display showing.
    frame.SendMessage(WM_ZU_PROGRESS_SHOW);
    auto fitsSmallScreen = [&frame] {
        EXPECT_LE(frame.minimumSizeHint().width(), 1280);
        EXPECT_LE(frame.minimumSizeHint().height(), 800);
    };
    fitsSmallScreen();
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_JAPANESE));
    EXPECT_EQ(GetLoadedLanguage(), LANG_JAPANESE);
    EXPECT_TRUE(frame.Action(ID_LANGUAGE_JAPANESE)->isChecked());
    EXPECT_FALSE(frame.Action(ID_LANGUAGE_ENGLISH)->isChecked());
    EXPECT_EQ(frame.ShortcutBar()->ToolBox()->count(), 3);
    fitsSmallScreen();
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    EXPECT_TRUE(frame.Action(ID_LANGUAGE_ENGLISH)->isChecked());
    EXPECT_EQ(frame.ShortcutBar()->ToolBox()->count(), 3);
    frame.resize(1280, 800);
    frame.show();
    EXPECT_LE(frame.width(), 1280);
    EXPECT_GT(frame.TreeWindow()->width(), 100);
    EXPECT_GT(frame.MdiArea()->width(), 300);
    QTemporaryDir dir;
    EXPECT_TRUE(frame.grab().save(QDir(dir.path()).filePath("main-frame-1280.png")));
    if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
        frame.grab().save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/main-frame-1280.png"));
}

TEST_F(MainFrame, CloseAsksToSaveAModifiedProjectAndCancelKeepsItOpen)
{
    FrameWithProject f;
    f.frame.show();
    f.frame.GetDocument()->SetModifiedFlag(1);
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDCANCEL);
        EXPECT_FALSE(f.frame.close());
        EXPECT_EQ(prompts.Count(), 1u);
        EXPECT_NE(f.frame.GetDocument(), nullptr);
        EXPECT_FALSE(f.frame.IsClosing());
    }
    {
        // 0x1400 without asking: closes and never prompts.
        CScriptedPrompts prompts;
        f.frame.SendMessage(WM_ZU_CLOSE_WINDOWS, 0);
        EXPECT_EQ(prompts.Count(), 0u);
        EXPECT_TRUE(f.frame.IsClosing());
        EXPECT_EQ(f.frame.GetDocument(), nullptr);
        EXPECT_EQ(GetTALVOApp().GetMainDocument(), nullptr);
    }
}

TEST_F(MainFrame, PostedMessagesRunOnTheEventLoop)
{
    CMainFrame frame;
    frame.PostMessage(WM_ZU_PROGRESS_SHOW);
    EXPECT_FALSE(frame.ProgressBar()->IsProgressVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.ProgressBar()->IsProgressVisible());
}

// A group opened by the user shows its buttons with their commands' states, as the first does.
TEST_F(MainFrame, AShortcutGroupOpenedLaterShowsItsButtonsStates)
{
    FrameWithProject f;
    f.frame.show();
    f.frame.UpdateCommandUI();
    CDockShortcutWnd* bar = f.frame.ShortcutBar();
    QToolBox* box = bar->ToolBox();
    ASSERT_EQ(box->count(), 3);
    box->setCurrentIndex(2);
    QCoreApplication::processEvents();
    for (int item : {6, 7}) {
        SCOPED_TRACE(item);
        QToolButton* button = bar->MadeButton(item);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->parentWidget(), box->widget(2));
        EXPECT_TRUE(button->isVisible());
        EXPECT_EQ(button->isEnabled(), f.frame.IsShortcutEnabled(item));
    }
    EXPECT_FALSE(bar->MadeButton(6)->isEnabled()) << "a new DAQ project waits for its set-up dialogs";
    f.frame.close();
}

TEST_F(MainFrame, ShortcutButtonsOfferWhatTheySayOrAreDisabled)
{
    FrameWithProject f;
    f.frame.UpdateCommandUI();
    CDockShortcutWnd* bar = f.frame.ShortcutBar();
    struct Case
    {
        int item;
        bool enabled;
        int command; // the command its menu offers first; 0 for none
    };
    const Case cases[] = {
        // The first two offer the aliases of new and open, which send those commands.
        {CMainFrame::kShortcutNewProject, true, ID_FILE_NEW_ALIAS},
        {CMainFrame::kShortcutOpenProject, true, ID_FILE_OPEN_ALIAS},
        {2, f.frame.IsCommandEnabled(1189), 1189}, // model view, when the model has model data
        {CMainFrame::kShortcutReadModelData, true, ID_READ_MODEL_DATA},
        {4, true, 1152},                           // model variant
        {5, f.frame.IsCommandEnabled(1034), 1034}, // model update, with a model project
        {6, false, 1156},                          // new DAQ project: its set-up dialogs are not there yet
        {7, f.frame.IsCommandEnabled(1155), 1155}, // new analysis project, with a model project
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        ASSERT_NE(bar->Button(c.item), nullptr);
        EXPECT_EQ(bar->Button(c.item)->isEnabled(), c.enabled);
        std::unique_ptr<QMenu> menu(bar->MenuFor(c.item));
        ASSERT_NE(menu, nullptr);
        if (c.command == 0)
            EXPECT_TRUE(menu->isEmpty());
        else
            EXPECT_EQ(menu->actions().value(0)->data().toInt(), c.command);
    }
    // Without a project there are no model data to read.
    f.frame.CloseMainDocument();
    EXPECT_FALSE(bar->Button(CMainFrame::kShortcutReadModelData)->isEnabled());
    for (int item = 2; item <= 7; ++item)
        EXPECT_FALSE(bar->Button(item)->isEnabled()) << item;
    // Without a project the tree's double-click opens nothing; without a product page there is no
    // version history.
    EXPECT_FALSE(f.frame.IsCommandEnabled(ID_OPEN_SELECTION));
    EXPECT_FALSE(f.frame.Action(ID_VERSION_HISTORY)->isEnabled());
}

TEST_F(MainFrame, TitleMarksUnsavedChanges)
{
    FrameWithProject f;
    CTALVODoc* doc = f.frame.GetDocument();
    doc->SetModifiedFlag(0);
    EXPECT_FALSE(f.frame.windowTitle().contains(QLatin1Char('*'))) << f.frame.windowTitle().toStdString();
    f.daq->AddChild(std::make_unique<CMElement>("Result", f.daq, 51));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(f.frame.windowTitle().startsWith(QStringLiteral("Untitled* - ")))
        << f.frame.windowTitle().toStdString();
    doc->SetModifiedFlag(0);
    EXPECT_TRUE(f.frame.windowTitle().startsWith(QStringLiteral("Untitled - ")));
}

TEST_F(MainFrame, DeveloperEntriesFollowTheSelectionAndRefuseAnUnknownParameter)
{
    QTemporaryDir dir;
    std::ofstream(dir.filePath("hidden_menu.flg").toStdString()) << "";
    CMainFrame frame(dir.path().toStdString());
    auto doc = std::make_unique<CTALVODoc>();
    CDaqProject* daq = doc->GetTALVOProject().AddDaqProject();
    doc->AddProjectsToViews();
    frame.AttachDocument(std::move(doc));
    // An element with a dump of its own; its parent project has none.
    CMElement* map = daq->AddChild(std::make_unique<CNamedDump>());
    CMTreeCtrlEx* tree = frame.TreeWindow()->GetActiveTree();
    ASSERT_NE(tree, nullptr);
    tree->setCurrentIndex(tree->Model()->IndexOf(daq));
    EXPECT_FALSE(frame.Action(ID_DUMP_DATA)->isEnabled());
    tree->setCurrentIndex(tree->Model()->IndexOf(map));
    EXPECT_TRUE(frame.Action(ID_DUMP_DATA)->isEnabled()) << "the entries follow the selection at once";

    // A parameter the element does not know: said so, and no empty file left behind.
    const std::string file = dir.filePath("dump.txt").toStdString();
    CScriptedPrompts prompts;
    prompts.ChooseFile(file).Answer(IDOK);
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& dlg) {
        if (auto* edit = dlg.findChild<QLineEdit*>())
            edit->setText(QStringLiteral("NoSuchParameter"));
        return dlg.PressOK();
    });
    frame.OnCommand(ID_DUMP_DATA_PARAM);
    ASSERT_GE(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6454u);
    EXPECT_NE(prompts.Last().text.find("NoSuchParameter"), std::string::npos) << prompts.Last().text;
    EXPECT_FALSE(std::filesystem::exists(file));
}

// The View toggles follow the docks however they change: shown with the frame, closed on
// their own (the dock's close button) or by the toggle.
TEST_F(MainFrame, ViewTogglesFollowTheDocks)
{
    CMainFrame frame;
    frame.show();
    QCoreApplication::processEvents();
    QAction* tree = frame.Action(ID_VIEW_PROJECT_WINDOW);
    QAction* bar = frame.Action(ID_VIEW_SHORTCUT_BAR);
    ASSERT_TRUE(tree && bar);
    EXPECT_TRUE(tree->isChecked());
    EXPECT_TRUE(bar->isChecked());
    frame.ShortcutBar()->close();
    EXPECT_FALSE(bar->isChecked());
    EXPECT_TRUE(tree->isChecked());
    frame.TreeWindow()->hide();
    EXPECT_FALSE(tree->isChecked());
    frame.ShortcutBar()->show();
    EXPECT_TRUE(bar->isChecked());
    EXPECT_TRUE(frame.OnCommand(ID_VIEW_PROJECT_WINDOW));
    EXPECT_TRUE(tree->isChecked());
    frame.close();
}

TEST_F(MainFrame, WindowLayoutIsRememberedBetweenRuns)
{
    int width = 0;
    {
        CMainFrame frame;
        frame.show();
        // Wide enough for element names on a first start.
        EXPECT_GE(frame.TreeWindow()->width(), 250);
        frame.resize(900, 700);
        frame.ShortcutBar()->hide();
        QCoreApplication::processEvents();
        width = frame.width();
        frame.close();
    }
    CMainFrame again;
    again.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(again.width(), width);
    EXPECT_TRUE(again.ShortcutBar()->isHidden());
    // Destroyed without a close (as when the application quits): the layout is kept as well.
    {
        auto quitting = std::make_unique<CMainFrame>();
        quitting->show();
        quitting->resize(width - 40, 700);
        QCoreApplication::processEvents();
        width = quitting->width();
    }
    {
        CMainFrame next;
        next.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(next.width(), width);
        next.close();
    }
    // The next runs of the tests start from the first-start layout again.
    again.ShortcutBar()->show();
    again.close();
}

TEST_F(MainFrame, JapaneseSwitchesMenusDocksAndQtsOwnTexts)
{
    CMainFrame frame;
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_JAPANESE));
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("ファイル(&F)"));
    const auto help = std::find_if(menus.begin(), menus.end(), [](QAction* a) {
        return a->menu() && a->menu()->objectName() == QStringLiteral("HelpMenu");
    });
    ASSERT_NE(help, menus.end());
    EXPECT_EQ((*help)->text(), QStringLiteral("ヘルプ(&H)"));
    EXPECT_EQ(frame.Action(1033)->text(), QStringLiteral("入力パワー(&I)..."));
    EXPECT_EQ(frame.Action(ID_FILE_OPEN)->text(), QStringLiteral("プロジェクトを開く(&O)..."));
    EXPECT_EQ(frame.TreeWindow()->windowTitle(), QStringLiteral("プロジェクトウィンドウ"));
    EXPECT_EQ(frame.ShortcutBar()->windowTitle(), QStringLiteral("ショートカットバー"));
    EXPECT_EQ(frame.ShortcutBar()->Button(0)->text(), QStringLiteral("新規プロジェクト"));
    // Qt's standard buttons, as every dialog and message box shows them.
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    const QString cancel = buttons.button(QDialogButtonBox::Cancel)->text();
    EXPECT_NE(cancel, QStringLiteral("&Cancel"));
    EXPECT_NE(cancel, QStringLiteral("Cancel"));
    EXPECT_TRUE(cancel.contains(QStringLiteral("キャンセル"))) << cancel.toStdString();
    QTemporaryDir grabs;
    EXPECT_TRUE(frame.grab().save(grabs.filePath(QStringLiteral("mainframe-ja.png"))));

    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    EXPECT_EQ(frame.menuBar()->actions()[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(frame.TreeWindow()->windowTitle(), QStringLiteral("Project Window"));
    EXPECT_EQ(frame.ShortcutBar()->windowTitle(), QStringLiteral("ShortcutBar"));
    QDialogButtonBox english(QDialogButtonBox::Cancel);
    EXPECT_TRUE(english.button(QDialogButtonBox::Cancel)->text().contains(QStringLiteral("Cancel")));
}

TEST_F(MainFrame, OneIconSetForToolbarShortcutsAndTree)
{
    FrameWithProject f;
    f.frame.resize(1000, 700);
    f.frame.show();
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_SAVE_PROJECT, ID_APP_ABOUT})
        EXPECT_FALSE(f.frame.Action(id)->icon().pixmap(24, 24).isNull()) << id;
    for (int item = 0; item < static_cast<int>(CDockShortcutWnd::Table().size()); ++item)
        EXPECT_FALSE(f.frame.ShortcutBar()->Button(item)->icon().pixmap(32, 32).isNull()) << item;
    // The DAQ project and the folder below it show their kinds.
    CProjectTreeModel* model = f.frame.TreeWindow()->GetTree(0)->Model();
    const auto iconOf = [&](const CMElement* e) {
        return model->data(model->IndexOf(e), Qt::DecorationRole).value<QIcon>();
    };
    EXPECT_EQ(iconOf(f.daq).cacheKey(), AppIcon("project-daq").cacheKey());
    CMElement* leaf = f.folder->AddChild(std::make_unique<CMElement>("Result", f.folder, 51));
    EXPECT_EQ(iconOf(f.folder).cacheKey(), AppIcon("folder").cacheKey());
    EXPECT_EQ(iconOf(leaf).cacheKey(), AppIcon("data").cacheKey());
    EXPECT_TRUE(AppIcon("no-such-icon").isNull());
    // The project's tab shows its kind too.
    QTabWidget* tabs = f.frame.TreeWindow()->Tabs();
    EXPECT_EQ(tabs->tabIcon(0).cacheKey(), AppIcon("project-daq").cacheKey());
    // A double-click on the tab does not open the selection; one on the tree's element does.
    QSignalSpy opens(f.frame.TreeWindow(), &CDockTreeWnd::OpenSelectionRequested);
    QTest::mouseDClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
    EXPECT_EQ(opens.count(), 0);
    CMTreeCtrlEx* tree = f.frame.TreeWindow()->GetTree(0);
    emit tree->doubleClicked(model->IndexOf(f.daq));
    EXPECT_EQ(opens.count(), 1);
    QCoreApplication::processEvents();
    QTemporaryDir grabs;
    EXPECT_TRUE(f.frame.grab().save(grabs.filePath(QStringLiteral("mainframe.png"))));
    if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
        f.frame.grab().save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/mainframe.png"));
}

// Every kind of element in the project tree shows an icon that says what it is: a tree of one
// element of each kind (made by class name, as a file read makes them) under the DAQ project.
TEST_F(MainFrame, EachElementKindShowsItsOwnIcon)
{
    struct Kind
    {
        const char* cls;
        int type;
        const char* icon;
        int depth; // below the previous row of depth - 1
    };
    const Kind kinds[] = {
        {"CTALVOExp", 1, "experiment", 0},
        {"CExcitation", 9, "excitation", 1},
        {"CExpDataSet", 2, "dataset", 2},
        {"CExpData", 11, "channel", 3},
        {"CRPMSignalData", 19, "rpm", 1},
        {"CDAQExperiment", 84, "dataset", 1},
        {"CSensorProject", 3, "sensor", 0},
        {"CSensor", 7, "sensor", 1}, // after the project's own categories
        {"CModelData", 21, "model-view", 0},
        {"CHSEAModelData", 48, "model-data", 0},
        {"CGClfData", 49, "coupling", 1},
        {"CGClfGroup", 70, "group", 2},
        {"CZuClfFunc", 36, "coupling", 3},
        {"CZuMatFunc", 2, "matrix", 1},
        {"CInputEnergyFolder", 88, "input-energy", 0},
        {"CInputPowerFolder", 89, "input-power", 0},
        {"CZuPowerFunc", 3, "power", 1},
        {"CHSEAResultData", 51, "result-folder", 0},
        {"CZuMatFunc", 5, "energy", 1},
        {"CZuMatFunc", 53, "vibration", 1},
        {"CZuMatFunc", 54, "spl", 1},
        {"CEnergyRatioFunction", 57, "function", 1},
        {"CHSEADominantPathData", 55, "path", 1},
        {"CHSEAPowerContribution", 56, "contribution", 1},
        {"CZuRpmResultData", 90, "rpm-map", 0},
        {"CZuRpmMultiVecFunc", 53, "rpm-map", 1},
        {"CZuOTResultData", 95, "order-map", 0},
        {"CZuOTMultiVecFunc", 54, "order-map", 1},
        {"CProjectHistory", 99, "history", 0},
        {"CPictureElement", -1, "picture", 0}, // a photograph of a measurement set-up
    };
    FrameWithProject f;
    f.frame.resize(1000, 1000);
    f.frame.show();
    CMTreeCtrlEx* tree = f.frame.TreeWindow()->GetTree(0);
    CProjectTreeModel* model = tree->Model();
    std::vector<CMElement*> chain{f.daq};
    std::vector<CMElement*> made;
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.cls);
        const CRuntimeClass* cls = CRuntimeClass::FromName(k.cls);
        ASSERT_NE(cls, nullptr);
        auto* element = dynamic_cast<CMElement*>(cls->CreateObject());
        ASSERT_NE(element, nullptr);
        element->SetName(std::string(k.cls + 1));
        element->SetType(k.type);
        chain.resize(static_cast<size_t>(k.depth) + 1);
        chain.back()->AddChild(std::unique_ptr<CMElement>(element));
        chain.push_back(element);
        made.push_back(element);
    }
    tree->expandAll();
    for (size_t i = 0; i < made.size(); ++i) {
        SCOPED_TRACE(kinds[i].cls);
        const bool hasChildren = made[i]->GetChildCount() > 0;
        EXPECT_STREQ(ElementIconName(made[i], hasChildren), kinds[i].icon) << kinds[i].type;
        const auto icon = model->data(model->IndexOf(made[i]), Qt::DecorationRole).value<QIcon>();
        EXPECT_EQ(icon.cacheKey(), AppIcon(kinds[i].icon).cacheKey());
        EXPECT_FALSE(icon.pixmap(16, 16).isNull());
    }
    // Elements of no kind of their own stay folders and sheets.
    EXPECT_STREQ(ElementIconName(f.folder, true), "folder");
    EXPECT_STREQ(ElementIconName(f.folder, false), "data");
    const CMElement* sensors = made[6];
    ASSERT_GT(sensors->GetChildCount(), 0);
    EXPECT_STREQ(ElementIconName(sensors->GetChild(0), false), "folder") << "a category of sensors";
    QCoreApplication::processEvents();
    QTemporaryDir grabs;
    const QPixmap grab = f.frame.TreeWindow()->grab();
    EXPECT_GT(grab.height(), 200);
    EXPECT_TRUE(grab.save(grabs.filePath(QStringLiteral("tree.png"))));
    if (qEnvironmentVariableIsSet("ORVEX_KEEP_GRABS"))
        grab.save(qEnvironmentVariable("ORVEX_KEEP_GRABS") + QStringLiteral("/tree.png"));
}

// A frame destroyed while it is shown: hiding the docks on the way out must not reach the frame's
// members, which are gone by then (the sanitizer build reports any such read).
TEST_F(MainFrame, DestroyedWhileShownTouchesNothingOfItsOwnOnTheWayOut)
{
    for (int i = 0; i < 3; ++i) {
        auto frame = std::make_unique<CMainFrame>();
        frame->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(frame->isVisible());
        frame.reset();
        QCoreApplication::processEvents();
    }
}
