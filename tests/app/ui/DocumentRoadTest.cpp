// The project document's road: new, save, close, reopen; the progress it reports; the history and
// file properties stored after the container; failures that leave no half state behind.
#include "app/AnalysisProject.h"
#include "app/DaqProject.h"
#include "app/TALVODoc.h"
#include "app/ProjectHistory.h"
#include "app/TALVOApp.h"
#include "app/ui/MainFrame.h"
#include "app/ui/MainFrameAutomationHost.h"
#include "app/ui/ProgressStatusBar.h"
#include "platform/ui/ProjectTreeModel.h"
#include "app/ui/DockTreeWnd.h"
#include "platform/archive/Archive.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "TreeText.h"
#include "../NewerProjectFile.h"

#include <QProgressBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace {
// Adds a DAQ project with a few levels of children and an analysis project to a document.
void FillDocument(CTALVODoc& doc)
{
    CTALVOProject& container = doc.GetTALVOProject();
    CDaqProject* daq = container.AddDaqProject();
    ASSERT_NE(daq, nullptr);
    for (int i = 0; i < 3; ++i) {
        auto* folder = daq->AddChild(std::make_unique<CMElement>("Folder " + std::to_string(i), daq, 100 + i));
        for (int j = 0; j < 2; ++j)
            folder->AddChild(std::make_unique<CMElement>("Item " + std::to_string(j), folder, 200 + j));
    }
    CAnalysisProject* ana = container.AddAnalysisProject(nullptr, nullptr);
    ASSERT_NE(ana, nullptr);
    ana->AddChild(std::make_unique<CMElement>("Results", ana, 51));
}

class DocumentRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    }
    std::string Path(const std::string& name) const
    {
        return m_dir.filePath(QString::fromStdString(name)).toStdString();
    }

    QTemporaryDir m_dir;
};
} // namespace

TEST_F(DocumentRoad, ProgressMessagesFollowTheSaveAndLoadProtocol)
{
    CRecordingMessageTarget recorder;
    CMainWindowTargetScope scope(&recorder);
    const std::string file = Path("car/car.orv");
    CStatusBarFeedback statusBar; // what the main window gives its document
    {
        CTALVODoc doc;
        doc.SetFeedback(&statusBar);
        FillDocument(doc);
        std::string error;
        ASSERT_TRUE(doc.OnSaveDocument(file, &error)) << error;
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.GetPathName(), file);
    }
    // Storing: show, range (steps = projects plus all their elements, in the high word), a text per
    // project, a step per element stored, hide.
    std::vector<CRecordingMessageTarget::Record> records = recorder.Records();
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records.front().msg, WM_ZU_PROGRESS_SHOW);
    EXPECT_EQ(records.back().msg, WM_ZU_PROGRESS_HIDE);
    ASSERT_EQ(records[1].msg, WM_ZU_PROGRESS_RANGE);
    EXPECT_EQ(records[1].wParam, uintptr_t(2 + 9 + 1) << 16);
    EXPECT_EQ(records[1].lParam, 1);
    std::vector<std::string> texts;
    for (const auto& r : records) {
        EXPECT_NE(r.msg, 0u);
        if (r.msg == WM_ZU_PROGRESS_TEXT)
            texts.push_back(r.text);
        EXPECT_TRUE(r.msg >= WM_ZU_PROGRESS_RANGE && r.msg <= WM_ZU_PROGRESS_TEXT) << r.msg;
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Storing [DAQ0]...", "Storing [Analysis1]..."}));

    recorder.Clear();
    CTALVODoc reread;
    reread.SetFeedback(&statusBar);
    std::string error;
    ASSERT_TRUE(reread.OnOpenDocument(file, &error)) << error;
    const std::vector<uint32_t> expected = {WM_ZU_PROGRESS_SHOW, WM_ZU_PROGRESS_RANGE, WM_ZU_PROGRESS_TEXT,
                                            WM_ZU_PROGRESS_STEP, WM_ZU_PROGRESS_STEP,  WM_ZU_PROGRESS_HIDE};
    EXPECT_EQ(recorder.MessageNumbers(), expected);
    records = recorder.Records();
    EXPECT_EQ(records[1].wParam, uintptr_t(2) << 16);
    EXPECT_EQ(records[2].text, "Loading...");
    EXPECT_EQ(reread.GetTALVOProject().GetProjectCount(), 2);
    reread.OnCloseDocument();
}

TEST_F(DocumentRoad, SaveCloseReopenShowsTheSameTrees)
{
    CMainFrame frame;
    auto doc = std::make_unique<CTALVODoc>();
    FillDocument(*doc);
    doc->AddProjectsToViews();
    frame.AttachDocument(std::move(doc));
    const std::string before = DescribeTrees(*frame.TreeWindow(), true);
    EXPECT_EQ(before.substr(0, 14), "<DAQ0>DAQ0(-1)"); // a project is the root row of its own tab
    EXPECT_NE(before.find("Folder 2("), std::string::npos);

    CScriptedPrompts prompts;
    prompts.ChooseFile(Path("road/road.orv"));
    ASSERT_TRUE(frame.SaveDocument()); // never saved: asks for the file
    EXPECT_EQ(frame.windowTitle().toStdString().substr(0, 11), "road.orv - ");
    ASSERT_TRUE(frame.CloseMainDocument());
    EXPECT_EQ(frame.GetDocument(), nullptr);
    EXPECT_EQ(frame.TreeWindow()->GetTreeCount(), 0);
    EXPECT_EQ(GetTALVOApp().GetMainDocument(), nullptr);

    ASSERT_TRUE(frame.OpenDocumentFile(Path("road/road.orv")));
    EXPECT_EQ(DescribeTrees(*frame.TreeWindow(), true), before);
    EXPECT_EQ(GetTALVOApp().GetMainDocument(), frame.GetDocument());
    EXPECT_FALSE(frame.ProgressBar()->IsProgressVisible());
    // The work folder beside the file exists once the file was opened or saved.
    EXPECT_FALSE(CTALVODoc::GetWorkFolderOf(Path("road/road.orv")).empty());
    EXPECT_TRUE(std::filesystem::is_directory(CTALVODoc::GetWorkFolderOf(Path("road/road.orv"))));
    EXPECT_EQ(GetTALVOApp().GetRecentFiles().front(), Path("road/road.orv"));
    EXPECT_EQ(prompts.Unexpected(), 0u);
}

TEST_F(DocumentRoad, FailedOpenHidesProgressShowsTheErrorAndLeavesNoDocument)
{
    // A file that ends in the middle of the container (a save that was cut short elsewhere).
    const std::string good = Path("good.orv");
    {
        CRecordingMessageTarget quiet;
        CMainWindowTargetScope scope(&quiet);
        CTALVODoc doc;
        FillDocument(doc);
        ASSERT_TRUE(doc.OnSaveDocument(good));
    }
    std::ifstream in(good, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 200u);

    const struct
    {
        const char* name;
        std::string content;
    } cases[] = {
        {"truncated.orv", bytes.substr(0, bytes.size() * 2 / 3)},
        {"garbage.orv", std::string("\xFF\xFF\x7F\x00not a project at all", 24)},
        {"empty.orv", std::string()},
    };
    CMainFrame frame;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(Path(c.name), std::ios::binary) << c.content;
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        EXPECT_FALSE(frame.OpenDocumentFile(Path(c.name)));
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().style & MB_ICONMASK, MB_ICONSTOP);
        EXPECT_NE(prompts.Last().text.find(c.name), std::string::npos) << prompts.Last().text;
        // Another kind of file is called what it is, not a project of a newer version.
        if (c.content.size() < 100) {
            EXPECT_NE(prompts.Last().text.find("not a project file"), std::string::npos) << prompts.Last().text;
        }
        EXPECT_EQ(prompts.Last().text.find("newer version"), std::string::npos) << prompts.Last().text;
        EXPECT_FALSE(frame.ProgressBar()->IsProgressVisible());
        EXPECT_EQ(frame.GetDocument(), nullptr);
        EXPECT_EQ(frame.TreeWindow()->GetTreeCount(), 0);
        EXPECT_EQ(GetTALVOApp().GetMainDocument(), nullptr);
    }
    // A missing file fails the same way.
    CScriptedPrompts prompts;
    EXPECT_FALSE(frame.OpenDocumentFile(Path("missing.orv")));
    EXPECT_EQ(prompts.Count(), 1u);
}

// A file of a newer program: the window says why in the boxes it always showed (the version's
// error, then the failed open), while the automation caller gets both texts in its error and no box.
TEST_F(DocumentRoad, ANewerProgramsFileIsRefusedInBoxesOrInTheAutomationError)
{
    const std::string newer = Path("newer.orv");
    {
        const std::vector<uint8_t> bytes = NewerProjectFile();
        std::ofstream(newer, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    CMainFrame frame;
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDOK).Answer(IDOK);
        EXPECT_FALSE(frame.OpenDocumentFile(newer));
        const std::vector<PromptRecord> shown = prompts.Records();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[0].stringId, 6450u);
        EXPECT_EQ(shown[0].text, kNewerProjectFileText);
        EXPECT_EQ(shown[0].style & MB_ICONMASK, MB_ICONSTOP);
        EXPECT_NE(shown[1].text.find("newer.orv"), std::string::npos) << shown[1].text;
    }
    {
        CScriptedPrompts prompts;
        CMainFrameAutomationHost host(frame);
        std::string error;
        EXPECT_FALSE(host.OpenDocument(newer, &error));
        EXPECT_EQ(prompts.Count(), 0u);
        EXPECT_EQ(error.rfind(std::string(kNewerProjectFileText) + "\n\n", 0), 0u) << error;
        EXPECT_NE(error.find("newer.orv"), std::string::npos) << error;
    }
    EXPECT_EQ(frame.GetDocument(), nullptr);
}

TEST_F(DocumentRoad, FailedSaveKeepsThePreviousFileAndShowsTheError)
{
    CMainFrame frame;
    auto doc = std::make_unique<CTALVODoc>();
    FillDocument(*doc);
    doc->AddProjectsToViews();
    frame.AttachDocument(std::move(doc));
    // A folder that cannot exist: its parent is a file.
    std::ofstream(Path("blocker")) << "x";
    const std::string impossible = Path("blocker/sub/p.orv");
    CScriptedPrompts prompts;
    prompts.ChooseFile(impossible);
    prompts.Answer(IDOK);
    EXPECT_FALSE(frame.SaveDocumentAs());
    ASSERT_EQ(prompts.Count(), 2u);
    EXPECT_EQ(prompts.Last().style & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_FALSE(frame.ProgressBar()->IsProgressVisible());
    EXPECT_TRUE(frame.GetDocument()->GetPathName().empty());
    EXPECT_FALSE(std::filesystem::exists(impossible));
}

TEST_F(DocumentRoad, HistoryAndFilePropertiesFollowTheSaves)
{
    CRecordingMessageTarget quiet;
    CMainWindowTargetScope scope(&quiet);
    CTALVODoc doc;
    FillDocument(doc);
    // Another file property read from a file must survive the refresh of 40 to 44.
    doc.GetFileProperties().SetString(77, "kept");
    ASSERT_TRUE(doc.OnSaveDocument(Path("a.orv")));
    ASSERT_TRUE(doc.OnSaveDocument(Path("a.orv")));
    // Saving a never-saved document and saving again under the same name keep one record.
    EXPECT_EQ(doc.GetProjectHistory()->GetChildCount(), 0);
    EXPECT_EQ(doc.GetProjectHistory()->GetPathName(), Path("a.orv"));
    ASSERT_TRUE(doc.OnSaveDocument(Path("b.orv")));
    // A new name: a new record with the old one as its child.
    CProjectHistory* history = doc.GetProjectHistory();
    EXPECT_EQ(history->GetPathName(), Path("b.orv"));
    EXPECT_EQ(history->GetType(), kHistoryAppORVEX);
    ASSERT_EQ(history->GetChildCount(), 1);
    auto* old = ElementCast<CProjectHistory>(history->GetChild(0));
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->GetFileName(), "a.orv");

    CTALVODoc reread;
    ASSERT_TRUE(reread.OnOpenDocument(Path("b.orv")));
    EXPECT_EQ(reread.GetProjectHistory()->GetChildCount(), 1);
    EXPECT_EQ(reread.GetProjectHistory()->GetPathName(), Path("b.orv"));
    const CZuStdDataList& props = reread.GetFileProperties();
    EXPECT_EQ(props.GetString(77), "kept");
    EXPECT_EQ(props.GetString(kFilePropAppName), GetTALVOApp().GetAppName());
    EXPECT_FALSE(props.GetString(kFilePropModuleName).empty());
    EXPECT_NE(props.GetData(kFilePropModuleTime), nullptr);
    EXPECT_NE(props.GetString(kFilePropFileVersion).find(" build("), std::string::npos);
    EXPECT_NE(props.GetString(kFilePropProductVersion).find(" build("), std::string::npos);
    reread.OnCloseDocument();
}

TEST_F(DocumentRoad, AFailedSaveUnderAnotherNameLeavesTheHistoryAsItWas)
{
    CRecordingMessageTarget quiet;
    CMainWindowTargetScope scope(&quiet);
    CTALVODoc doc;
    FillDocument(doc);
    ASSERT_TRUE(doc.OnSaveDocument(Path("a.orv")));
    CProjectHistory* before = doc.GetProjectHistory();
    const int64_t modified = before->GetModifiedTime();
    // Files that cannot be written: a folder whose parent is a file (refused before anything is
    // stored), and a folder in the file's place (refused only when the written file replaces it).
    std::ofstream(Path("blocker")) << "x";
    std::filesystem::create_directories(Path("taken.orv"));
    for (const std::string& target : {Path("blocker/sub/b.orv"), Path("taken.orv")}) {
        SCOPED_TRACE(target);
        std::string error;
        EXPECT_FALSE(doc.OnSaveDocument(target, &error));
        EXPECT_FALSE(error.empty());
        ASSERT_EQ(doc.GetProjectHistory(), before);
        EXPECT_EQ(before->GetChildCount(), 0);
        EXPECT_EQ(before->GetParent(), nullptr);
        EXPECT_EQ(before->GetPathName(), Path("a.orv"));
        EXPECT_EQ(before->GetModifiedTime(), modified);
        EXPECT_EQ(doc.GetPathName(), Path("a.orv"));
    }
    ASSERT_TRUE(doc.OnSaveDocument(Path("a.orv")));
    EXPECT_EQ(doc.GetProjectHistory()->GetChildCount(), 0);
}

TEST_F(DocumentRoad, FileWithoutVersionPropertyStartsAFreshHistory)
{
    CRecordingMessageTarget quiet;
    CMainWindowTargetScope scope(&quiet);
    const std::string file = Path("old.orv");
    {
        // An older writer: container and file properties without entry 43, no history.
        CTALVODoc doc;
        FillDocument(doc);
        CArchive ar(file, CArchive::store);
        doc.GetTALVOProject().Serialize(ar);
        CZuStdDataList props;
        props.SetString(kFilePropAppName, "ORVEX");
        props.Serialize(ar);
        ar.Close();
    }
    CTALVODoc doc;
    std::string error;
    ASSERT_TRUE(doc.OnOpenDocument(file, &error)) << error;
    CProjectHistory* history = doc.GetProjectHistory();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->GetType(), kHistoryAppUnknown);
    EXPECT_EQ(history->GetPathName(), file);
    EXPECT_GT(history->GetModifiedTime(), 0);
    doc.OnCloseDocument();
}

TEST_F(DocumentRoad, ProjectsAddedAfterAttachingGetTheirOwnTree)
{
    CMainFrame frame;
    auto owned = std::make_unique<CTALVODoc>();
    CTALVODoc* doc = owned.get();
    const auto model = std::filesystem::path(ORVEX_SOURCE_DIR) / "samples" / "sample-model.dmd";
    ASSERT_NE(doc->GetTALVOProject().CreateModelProjectFromFile(0, model.string()), nullptr);
    CDaqProject* daq = doc->GetTALVOProject().AddDaqProject();
    ASSERT_NE(daq, nullptr);
    frame.AttachDocument(std::move(owned));
    CDockTreeWnd& trees = *frame.TreeWindow();
    ASSERT_EQ(trees.GetTreeCount(), doc->GetTALVOProject().GetProjectCount());

    CRPMOptions rpm;
    rpm.SetRange(1000.0f, 2000.0f, 500.0f);
    COrderList orders;
    orders.Add(2.0);
    CAnalysisProject* byOrder = doc->AddOrderAnalysisProject(daq, &rpm, &orders, 50.0f);
    ASSERT_NE(byOrder, nullptr);
    CAnalysisProject* byRpm = doc->AddRpmAnalysisProject(&rpm, daq, nullptr);
    ASSERT_NE(byRpm, nullptr);
    CDaqProject* second = doc->NewDaqProject();
    ASSERT_NE(second, nullptr);

    // One tree per project, in the document's order: the tree at a project's index shows it.
    ASSERT_EQ(trees.GetTreeCount(), doc->GetTALVOProject().GetProjectCount());
    for (CBaseProject* project :
         {static_cast<CBaseProject*>(byOrder), static_cast<CBaseProject*>(byRpm), static_cast<CBaseProject*>(second)}) {
        const int index = doc->GetProjectIndex(project);
        CMTreeCtrlEx* tree = trees.GetTree(index);
        ASSERT_NE(tree, nullptr) << project->GetName();
        EXPECT_TRUE(tree->Model()->IndexOf(project).isValid()) << project->GetName();
        EXPECT_EQ(tree->Model()->RootAt(0), project);
    }
    // The first trees still show the projects they were made for.
    EXPECT_EQ(trees.GetTree(0)->Model()->RootAt(0), doc->GetTALVOProject().GetProject(0));
    EXPECT_EQ(trees.GetTree(1)->Model()->RootAt(0), daq);
}
