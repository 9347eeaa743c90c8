// The main window's analysis-project exchange commands: export of the selected analysis project to
// an ".oap" file, import of such a file as a new analysis project of the open document, and the
// errors of both shown to the user.
#include "support/PromptsShown.h"
#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOApp.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/ProjectTreeModel.h"
#include "app/ui/DockTreeWnd.h"
#include "platform/archive/Archive.h"
#include "platform/elements/MElement.h"
#include "platform/win/PromptService.h"

#include <QAction>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
class AnalysisExchangeCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
        // A DAQ project and an analysis project with a result folder, shown in the project window.
        auto doc = std::make_unique<CTALVODoc>();
        CTALVOProject& container = doc->GetTALVOProject();
        container.AddDaqProject();
        CAnalysisProject* analysis = container.AddAnalysisProject(nullptr, nullptr);
        analysis->SetOTSetting(7.5f);
        analysis->AddChild(std::make_unique<CMElement>("Results", analysis, 51));
        m_frame = std::make_unique<CMainFrame>();
        doc->AddProjectsToViews();
        m_frame->AttachDocument(std::move(doc));
        m_analysis = analysis;
    }
    std::string Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)).toStdString(); }
    CTALVOProject& Container() const { return m_frame->GetDocument()->GetTALVOProject(); }

    QTemporaryDir m_dir;
    std::unique_ptr<CMainFrame> m_frame;
    CAnalysisProject* m_analysis = nullptr;
};
} // namespace

TEST_F(AnalysisExchangeCommands, ExportedProjectComesBackAsANewAnalysisProject)
{
    CDockTreeWnd& trees = *m_frame->TreeWindow();
    ASSERT_EQ(trees.GetTreeCount(), 2);

    // Export is offered only while an analysis project is selected; import always with a document.
    trees.SetActiveIndex(0);
    m_frame->UpdateCommandUI();
    EXPECT_FALSE(m_frame->Action(ID_EXPORT_ANALYSIS_PROJECT)->isEnabled());
    EXPECT_TRUE(m_frame->Action(ID_IMPORT_ANALYSIS_PROJECT)->isEnabled());
    {
        CScriptedPrompts prompts;
        EXPECT_FALSE(m_frame->OnCommand(ID_EXPORT_ANALYSIS_PROJECT));
        EXPECT_EQ(prompts.Count(), 0u);
    }

    const std::string file = Path("moved.oap");
    trees.SetActiveIndex(1);
    m_frame->UpdateCommandUI();
    ASSERT_TRUE(m_frame->Action(ID_EXPORT_ANALYSIS_PROJECT)->isEnabled());
    {
        // Cancelled choosers write and add nothing.
        CScriptedPrompts prompts;
        prompts.Cancel().Cancel();
        EXPECT_TRUE(m_frame->OnCommand(ID_EXPORT_ANALYSIS_PROJECT));
        EXPECT_TRUE(m_frame->OnCommand(ID_IMPORT_ANALYSIS_PROJECT));
        EXPECT_EQ(prompts.Count(), 2u);
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_EQ(Container().GetProjectCount(), 2);
        EXPECT_FALSE(m_frame->GetDocument()->IsModified());
    }
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile(file);
        EXPECT_TRUE(m_frame->OnCommand(ID_EXPORT_ANALYSIS_PROJECT));
        ASSERT_EQ(prompts.Count(), 1u) << Shown(prompts);
        EXPECT_EQ(prompts.Last().kind, PromptKind::SaveFile);
        EXPECT_EQ(prompts.Last().file.initialName, "Analysis1");
        EXPECT_EQ(prompts.Last().file.title, "Export Analysis Project");
        EXPECT_EQ(prompts.Last().file.filter, "ORVEX Analysis Project (*.oap)|*.oap||");
        EXPECT_EQ(prompts.Last().file.defaultExt, "oap");
        EXPECT_TRUE(prompts.Last().file.overwritePrompt);
        EXPECT_TRUE(std::filesystem::is_regular_file(file));
        EXPECT_FALSE(m_frame->GetDocument()->IsModified());
    }
    {
        CScriptedPrompts prompts;
        prompts.ChooseFile(file);
        EXPECT_TRUE(m_frame->OnCommand(ID_IMPORT_ANALYSIS_PROJECT));
        ASSERT_EQ(prompts.Count(), 1u) << Shown(prompts);
        EXPECT_EQ(prompts.Last().kind, PromptKind::OpenFile);
        EXPECT_EQ(prompts.Last().file.title, "Import Analysis Project");
    }
    // A third project with the next free ID, its results with it, shown as a third tree.
    ASSERT_EQ(Container().GetProjectCount(), 3);
    auto* imported = DynamicDowncast<CAnalysisProject>(Container().GetProject(2));
    ASSERT_NE(imported, nullptr);
    EXPECT_NE(imported, m_analysis);
    EXPECT_EQ(imported->GetID(), 2);
    EXPECT_NE(imported->GetID(), m_analysis->GetID());
    EXPECT_EQ(imported->GetOTSetting(), 7.5f);
    ASSERT_EQ(imported->GetChildCount(), 1);
    EXPECT_EQ(imported->GetChild(0)->GetName(), "Results");
    ASSERT_EQ(trees.GetTreeCount(), 3);
    // The stored name stays; the tab tells the two projects of that name apart by the new ID.
    EXPECT_EQ(imported->GetName(), "Analysis1");
    EXPECT_EQ(trees.Tabs()->tabText(1), QStringLiteral("Analysis1"));
    EXPECT_EQ(trees.Tabs()->tabText(2), QStringLiteral("Analysis1 (ID 2)"));
    CProjectTreeModel* model = trees.GetTree(2)->Model();
    EXPECT_TRUE(model->IndexOf(imported->GetChild(0)).isValid());
    EXPECT_TRUE(m_frame->GetDocument()->IsModified());

    // The imported project is an analysis project like any other: it can be exported in turn.
    trees.SetActiveIndex(2);
    EXPECT_TRUE(m_frame->IsCommandEnabled(ID_EXPORT_ANALYSIS_PROJECT));
}

TEST_F(AnalysisExchangeCommands, FileErrorsAreShownAndChangeNothing)
{
    CDockTreeWnd& trees = *m_frame->TreeWindow();
    trees.SetActiveIndex(1);
    const std::string blocker = Path("plain.txt");
    std::ofstream(blocker) << "a file, not a folder\n";
    const std::string junk = Path("junk.oap");
    std::ofstream(junk, std::ios::binary) << "no archive at all";
    const std::string empty = Path("empty.oap");
    std::ofstream(empty, std::ios::binary).flush();

    struct Case
    {
        const char* what;
        int command;
        std::string path;
    };
    const Case cases[] = {
        {"export below a plain file", ID_EXPORT_ANALYSIS_PROJECT, blocker + "/moved.oap"},
        {"import of a missing file", ID_IMPORT_ANALYSIS_PROJECT, Path("missing.oap")},
        {"import of a file that is no archive", ID_IMPORT_ANALYSIS_PROJECT, junk},
        {"import of an empty file", ID_IMPORT_ANALYSIS_PROJECT, empty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CScriptedPrompts prompts;
        prompts.ChooseFile(c.path).Answer(IDOK);
        EXPECT_TRUE(m_frame->OnCommand(c.command));
        // The chooser, then the error in a message box.
        ASSERT_EQ(prompts.Count(), 2u) << Shown(prompts);
        EXPECT_EQ(prompts.Last().kind, PromptKind::MessageBox);
        EXPECT_FALSE(prompts.Last().text.empty());
        EXPECT_EQ(prompts.Pending(), 0u);
        EXPECT_EQ(Container().GetProjectCount(), 2);
        EXPECT_EQ(trees.GetTreeCount(), 2);
        EXPECT_FALSE(m_frame->GetDocument()->IsModified());
    }
    EXPECT_FALSE(std::filesystem::exists(blocker + "/moved.oap"));

    // A file holding a project of another kind is refused the same way.
    const std::string daqFile = Path("daq.oap");
    {
        CArchive ar(daqFile, CArchive::store);
        ar.WriteObject(Container().GetProject(0));
        ar.Close();
    }
    CScriptedPrompts prompts;
    prompts.ChooseFile(daqFile).Answer(IDOK);
    EXPECT_TRUE(m_frame->OnCommand(ID_IMPORT_ANALYSIS_PROJECT));
    EXPECT_EQ(prompts.Last().kind, PromptKind::MessageBox) << Shown(prompts);
    EXPECT_EQ(Container().GetProjectCount(), 2);
    EXPECT_EQ(trees.GetTreeCount(), 2);
}

TEST(AnalysisExchangeWithoutDocument, BothCommandsAreOff)
{
    CMainFrame frame;
    CScriptedPrompts prompts;
    for (int id : {ID_EXPORT_ANALYSIS_PROJECT, ID_IMPORT_ANALYSIS_PROJECT}) {
        EXPECT_FALSE(frame.IsCommandEnabled(id)) << id;
        EXPECT_FALSE(frame.OnCommand(id)) << id;
    }
    EXPECT_EQ(prompts.Count(), 0u);
}
