// The main frame's commands on the selected DAQ project: which projects enable them, and each one
// opening its window from the frame over the selected project.
#include "acquisition/ui/DlgDaqDbCheck.h"
#include "acquisition/ui/DlgEngineRotationSetup.h"
#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/FrameCommands.h"
#include "app/TALVOApp.h"
#include "app/TALVODoc.h"
#include "app/CommandRegistry.h"
#include "experiments/ui/DaqProjectCommands.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/ProjectTreeModel.h"
#include "experiments/DAQConfig.h"
#include "experiments/ui/DlgExpProperty2.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "support/WidgetShot.h"
#include "uff/ExtUFDaqProject.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

namespace {
using Cmd = CDaqProjectCommands;

TEST(DaqProjectCommands, EnabledByTheKindOfTheSelectedProject)
{
    CDaqProject measured;
    CExtUFDaqProject imported;
    CAnalysisProject analysis;
    ASSERT_NE(imported.IsUFData(), 0);
    struct Case
    {
        int id;
        CBaseProject* project;
        bool enabled;
    };
    const Case cases[] = {
        {Cmd::ID_MEASURE_BY_SUBSYSTEM, &measured, true},  {Cmd::ID_MEASURE_BY_SUBSYSTEM, &imported, false},
        {Cmd::ID_MEASURE_BY_SUBSYSTEM, &analysis, false}, {Cmd::ID_MEASURE_BY_SUBSYSTEM, nullptr, false},
        {Cmd::ID_ENGINE_ROTATION, &measured, true},       {Cmd::ID_ENGINE_ROTATION, &imported, false},
        {Cmd::ID_ENGINE_ROTATION, &analysis, false},      {Cmd::ID_ENGINE_ROTATION, nullptr, false},
        {Cmd::ID_DATABASE_CHECK, &measured, true},        {Cmd::ID_DATABASE_CHECK, &imported, true},
        {Cmd::ID_DATABASE_CHECK, &analysis, false},       {Cmd::ID_DATABASE_CHECK, nullptr, false},
    };
    // The frame's entries, with a document open.
    CTALVODoc doc;
    CCommandState state;
    state.selection.doc = &doc;
    for (const Case& c : cases) {
        state.selection.project = c.project;
        EXPECT_EQ(CCommandRegistry::Frame().IsEnabled(c.id, state), c.enabled) << c.id << " " << c.project;
    }
    // A command that does not apply does nothing.
    EXPECT_FALSE(Cmd::CheckDatabase(&analysis, nullptr));
}

// A frame whose document holds one DAQ project, selected in the tree.
struct FrameWithDaqProject
{
    CMainFrame frame;
    CDaqProject* daq = nullptr;

    FrameWithDaqProject()
    {
        EXPECT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
        auto doc = std::make_unique<CTALVODoc>();
        daq = doc->GetTALVOProject().AddDaqProject();
        doc->AddProjectsToViews();
        frame.AttachDocument(std::move(doc));
        CMTreeCtrlEx* tree = frame.TreeWindow()->GetActiveTree();
        tree->setCurrentIndex(tree->Model()->IndexOf(daq));
        frame.UpdateCommandUI();
    }
};

TEST(DaqProjectCommands, EachCommandOpensItsWindowFromTheFrame)
{
    FrameWithDaqProject f;
    ASSERT_EQ(GetTALVOApp().GetProject(-1), f.daq);
    const QString shots = ShotFolder("DaqProjectCommands");
    for (int id : Cmd::kCommands) {
        ASSERT_NE(f.frame.Action(id), nullptr);
        EXPECT_TRUE(f.frame.Action(id)->isEnabled()) << id;
        EXPECT_EQ(f.frame.Action(id)->text().toStdString(), CCommandRegistry::Frame().Find(id)->text);
    }

    // The engine rotation set-up of an existing project is shown read-only: OK keeps the settings.
    CDAQConfig* config = f.daq->GetDAQConfig();
    config->SetRpmLow(1500);
    const int high = config->GetRpmHigh();
    {
        CScriptedDialogs dialogs;
        dialogs.Then([&](CZuDialog& dialog) {
            auto* setup = dynamic_cast<CDlgEngineRotationSetup*>(&dialog);
            EXPECT_NE(setup, nullptr);
            EXPECT_EQ(GrabAndCheckLayout(dialog, shots, "EngineRotationSetup").join(QLatin1Char('\n')).toStdString(),
                      "");
            // Typing into the fields changes nothing in read-only mode.
            for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
                if (edit->isEnabled() && !edit->isReadOnly())
                    ADD_FAILURE() << "writable: " << edit->objectName().toStdString();
            return dialog.PressOK();
        });
        EXPECT_TRUE(f.frame.OnCommand(Cmd::ID_ENGINE_ROTATION));
        ASSERT_EQ(dialogs.Records().size(), 1u);
        EXPECT_EQ(dialogs.Records()[0].templateId, 4034);
        EXPECT_EQ(dialogs.Unexpected(), 0u);
    }
    EXPECT_EQ(config->GetRpmLow(), 1500);
    EXPECT_EQ(config->GetRpmHigh(), high);

    // The database check over the selected project; Cancel stores nothing.
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.Then([&](CZuDialog& dialog) {
            EXPECT_NE(dynamic_cast<CDlgDaqDbCheck*>(&dialog), nullptr);
            EXPECT_EQ(GrabAndCheckLayout(dialog, shots, "DaqDbCheck").join(QLatin1Char('\n')).toStdString(), "");
            return dialog.PressCancel();
        });
        EXPECT_FALSE(f.frame.OnCommand(Cmd::ID_DATABASE_CHECK));
        ASSERT_EQ(dialogs.Records().size(), 1u);
        EXPECT_EQ(dialogs.Records()[0].templateId, CDlgDaqDbCheck::IDD);
    }

    // The measurement by subsystem: modeless, one per frame. Without units the connection is
    // offered and refused, which leaves the dialog showing with its controls disabled.
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.PressCancel().PressCancel();
        ASSERT_TRUE(f.frame.OnCommand(Cmd::ID_MEASURE_BY_SUBSYSTEM));
        CDlgExpProperty2* dialog = CDlgExpProperty2::GetInstance(&f.frame);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->Data().target->daqProject, f.daq);
        EXPECT_FALSE(f.frame.OnCommand(Cmd::ID_MEASURE_BY_SUBSYSTEM)) << "the open one is restored";
        EXPECT_EQ(CDlgExpProperty2::GetInstance(&f.frame), dialog);
        EXPECT_EQ(GrabAndCheckLayout(*dialog, shots, "ExpProperty2").join(QLatin1Char('\n')).toStdString(), "");
        delete dialog;
    }
}

// The measurement by subsystem is kept per frame, across documents: a dialog left hidden over the
// project of a closed document must not come back over that project, whose memory is gone.
TEST(DaqProjectCommands, MeasurementBySubsystemDropsTheProjectOfAClosedDocument)
{
    FrameWithDaqProject f;
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.PressCancel();
        ASSERT_TRUE(f.frame.OnCommand(Cmd::ID_MEASURE_BY_SUBSYSTEM));
        CDlgExpProperty2* first = CDlgExpProperty2::GetInstance(&f.frame);
        ASSERT_NE(first, nullptr);
        first->PressCancel();
        EXPECT_FALSE(first->isVisible());
    }

    // A second document in the same session: the old project goes with the old document.
    auto doc = std::make_unique<CTALVODoc>();
    CDaqProject* second = doc->GetTALVOProject().AddDaqProject();
    doc->AddProjectsToViews();
    f.frame.AttachDocument(std::move(doc));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CDlgExpProperty2::GetInstance(&f.frame), nullptr) << "the dialog over the closed document is gone";
    CMTreeCtrlEx* tree = f.frame.TreeWindow()->GetActiveTree();
    tree->setCurrentIndex(tree->Model()->IndexOf(second));
    f.frame.UpdateCommandUI();

    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    dialogs.PressCancel();
    ASSERT_TRUE(f.frame.OnCommand(Cmd::ID_MEASURE_BY_SUBSYSTEM));
    CDlgExpProperty2* dialog = CDlgExpProperty2::GetInstance(&f.frame);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Data().target->daqProject, second);
    // OK checks the new document's choice: it names no target subsystem to measure against, and
    // the box says so.
    prompts.Answer(IDOK);
    dialog->PressOK();
    ASSERT_FALSE(prompts.Records().empty());
    EXPECT_EQ(prompts.Last().stringId, 7185u);
    delete dialog;
}

// A dialog asked for over another project of the same frame takes that project.
TEST(DaqProjectCommands, MeasurementBySubsystemFollowsTheSelectedProject)
{
    FrameWithDaqProject f;
    CDaqProject* other = f.frame.GetDocument()->GetTALVOProject().AddDaqProject();
    f.frame.GetDocument()->AddProjectsToViews();
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.PressCancel();
        ASSERT_TRUE(f.frame.OnCommand(Cmd::ID_MEASURE_BY_SUBSYSTEM));
        CDlgExpProperty2::GetInstance(&f.frame)->PressCancel();
    }
    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    dialogs.PressCancel();
    ASSERT_TRUE(Cmd::MeasureBySubsystem(other, &f.frame));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CDlgExpProperty2* dialog = CDlgExpProperty2::GetInstance(&f.frame);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Data().target->daqProject, other);
    delete dialog;
}
// The unit channel assignment is exported from a menu entry of its own, no keys held; the unit
// connection opens whenever a document is.
TEST(DaqProjectCommands, ChannelExportAndUnitConnectionFromTheMenus)
{
    FrameWithDaqProject f;
    QTemporaryDir dir;
    const std::string path = dir.filePath("channels.txt").toStdString();
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile(path).Answer(IDOK);
        ASSERT_NE(f.frame.Action(CFrameCommands::ID_BLIX_CHANNEL_EXPORT), nullptr);
        f.frame.UpdateCommandUI();
        ASSERT_TRUE(f.frame.Action(CFrameCommands::ID_BLIX_CHANNEL_EXPORT)->isEnabled());
        f.frame.Action(CFrameCommands::ID_BLIX_CHANNEL_EXPORT)->trigger();
        ASSERT_FALSE(prompts.Records().empty());
        EXPECT_EQ(prompts.Last().stringId, 6168u);
    }
    std::ifstream in(path);
    std::string first;
    ASSERT_TRUE(std::getline(in, first)) << "exported";
    EXPECT_EQ(first.rfind("#@", 0), 0u);

    CScriptedDialogs dialogs;
    dialogs.PressCancel();
    ASSERT_TRUE(f.frame.OnCommand(1228));
    ASSERT_EQ(dialogs.Records().size(), 1u);
    EXPECT_EQ(dialogs.Records()[0].templateId, 4098);
}

// The channel assignment's chooser opens on a filter that shows both kinds of file its reader
// takes (the sample's is text), and another for each kind alone.
TEST(DaqProjectCommands, ChannelImportChooserShowsWorkbooksAndTextFiles)
{
    FrameWithDaqProject f;
    CScriptedPrompts prompts;
    prompts.Cancel();
    f.frame.UpdateCommandUI();
    ASSERT_TRUE(f.frame.Action(CFrameCommands::ID_BLIX_CHANNEL_EXCHANGE)->isEnabled());
    f.frame.Action(CFrameCommands::ID_BLIX_CHANNEL_EXCHANGE)->trigger();
    ASSERT_EQ(prompts.Count(), 1u);
    ASSERT_EQ(prompts.Last().kind, PromptKind::OpenFile);
    const std::vector<FileFilterEntry> filters = ParseFileFilter(prompts.Last().file.filter);
    const int first = std::max(prompts.Last().file.filterIndex, 1) - 1;
    ASSERT_LT(first, static_cast<int>(filters.size()));
    auto shows = [](const FileFilterEntry& filter, const char* name) {
        for (const std::string& pattern : filter.patterns)
            if (QDir::match(QString::fromStdString(pattern), QString::fromUtf8(name)))
                return true;
        return false;
    };
    EXPECT_TRUE(shows(filters[static_cast<size_t>(first)], "sample-channels.txt"));
    EXPECT_TRUE(shows(filters[static_cast<size_t>(first)], "channels.xlsx"));
    EXPECT_FALSE(shows(filters[static_cast<size_t>(first)], "sample-sensors.dat"));
}
} // namespace
