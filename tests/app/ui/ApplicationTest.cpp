// The application object: language tables, templates, command line, recent files, look-ups.
#include "app/TALVOApp.h"
#include "app/ZuMultiDocTemplate.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace {
// Points the string tables at a folder for the test's lifetime, then back at the built-in ones.
class TableFolderScope
{
public:
    explicit TableFolderScope(const std::string& folder) { SetStringTableFolder(folder); }
    ~TableFolderScope()
    {
        SetStringTableFolder(std::string());
        GetTALVOApp().SetLanguage(LANG_JAPANESE); // force a reload of the built-in table
        GetTALVOApp().SetLanguage(LANG_ENGLISH);
    }
};
} // namespace

TEST(Application, StoredLanguageChoosesTheTableAndNeverLeavesItEmpty)
{
    struct Case
    {
        uint32_t stored;
        uint32_t loaded;
    };
    const Case cases[] = {{9, LANG_ENGLISH},     {17, LANG_JAPANESE}, {0, LANG_ENGLISH},
                          {12345, LANG_ENGLISH}, {17, LANG_JAPANESE}, {1, LANG_ENGLISH}};
    CTALVOApp& app = GetTALVOApp();
    for (const Case& c : cases) {
        ASSERT_TRUE(SetLanguageOption(c.stored));
        ASSERT_TRUE(app.ChooseLanguage()) << c.stored;
        EXPECT_EQ(app.GetLanguage(), c.loaded) << c.stored;
        EXPECT_EQ(GetLoadedLanguage(), c.loaded) << c.stored;
        std::string title;
        EXPECT_TRUE(LoadString(IDS_APP_TITLE, title)) << c.stored;
        EXPECT_FALSE(title.empty());
        // The language that was loaded is the one kept.
        EXPECT_EQ(GetLanguageOption(), c.loaded);
    }
    ASSERT_TRUE(app.SetLanguage(LANG_ENGLISH));
}

TEST(Application, MissingTableTakesTheFailurePath)
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    QTemporaryDir empty;
    TableFolderScope scope(empty.path().toStdString());
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    CStatusBarFeedback boxes; // the main window's, as the language command passes it
    EXPECT_FALSE(GetTALVOApp().SetLanguage(LANG_JAPANESE, &boxes));
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().text, "Failed to load the resource dll.");
    // The table loaded before stays in use.
    EXPECT_EQ(GetLoadedLanguage(), LANG_ENGLISH);
}

TEST(Application, TemplatesAreFoundByDocumentTypeName)
{
    QTemporaryDir dir;
    {
        std::ofstream eng(dir.filePath(QString::fromStdString(GetStringTableFileName(LANG_ENGLISH))).toStdString());
        eng << "0xE000\tORVEX\n108\t\\nTALVO\\nProject\\nORVEX Project Files "
               "(*.orv)\\n.orv\n106\t\\nDataView\\nDataView\n"
               "10001\t\\nModelView\\nModelView\n10003\t\\nModelView2\\nModelView2\n104\t\\nDAQSystem\\nDAQSystem\n"
               "5000\tx\\nDataView\n";
    }
    TableFolderScope scope(dir.path().toStdString());
    CTALVOApp& app = GetTALVOApp();
    std::string error;
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH, &error)) << error;
    app.RegisterDocTemplates();
    ASSERT_EQ(app.GetTemplateCount(), 9);
    // The program's own documents, then the result windows in the order they were registered.
    const uint32_t order[] = {108, 10001, 10003, 113, 104, 107, 112, 114, 106};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(app.GetTemplate(i)->GetResourceId(), order[i]);
    EXPECT_EQ(app.FindTemplate("TALVO"), app.GetTemplate(0));
    EXPECT_EQ(app.FindTemplate("ModelView2"), app.GetTemplate(2));
    EXPECT_EQ(app.FindTemplate("modelview2"), nullptr); // case-sensitive
    EXPECT_EQ(app.FindTemplate("SensorView"), nullptr); // its document string is missing here
    EXPECT_EQ(app.FindTemplateByStringId(5000), app.GetTemplate(8));
    EXPECT_EQ(app.FindTemplateByStringId(5001), nullptr);
    EXPECT_EQ(app.GetTemplate(0)->GetDocString(CZuMultiDocTemplate::filterExt), ".orv");
    // Templates whose windows come later open nothing.
    EXPECT_FALSE(app.FindTemplate("DataView")->Open(nullptr));
}

TEST(Application, CommandLine)
{
    struct Case
    {
        std::vector<std::string> args;
        std::string file;
        bool embedding;
        bool automation;
    };
    const Case cases[] = {
        {{}, "", false, false},
        {{"/home/u/car/car.orv"}, "/home/u/car/car.orv", false, false},
        {{"/Embedding"}, "", true, false},
        {{"-Automation"}, "", false, true},
        {{"/AUTOMATION", "x.orv"}, "x.orv", false, true},
        {{"a.orv", "b.orv"}, "a.orv", false, false},
        {{"-unknown", "a.orv"}, "a.orv", false, false},
    };
    for (const Case& c : cases) {
        const CTALVOCommandLine cmd = CTALVOApp::ParseCommandLine(c.args);
        EXPECT_EQ(cmd.fileName, c.file);
        EXPECT_EQ(cmd.embedding, c.embedding);
        EXPECT_EQ(cmd.automation, c.automation);
        EXPECT_EQ(cmd.RunsByAutomation(), c.embedding || c.automation);
    }
}

TEST(Application, FourRecentFilesNewestFirst)
{
    CTALVOApp& app = GetTALVOApp();
    for (const char* f : {"/p/a.orv", "/p/b.orv", "/p/c.orv", "/p/d.orv", "/p/e.orv", "/p/c.orv"})
        app.AddToRecentFileList(f);
    EXPECT_EQ(app.GetRecentFiles(), (std::vector<std::string>{"/p/c.orv", "/p/e.orv", "/p/d.orv", "/p/b.orv"}));
    app.RemoveFromRecentFileList("/p/e.orv");
    EXPECT_EQ(app.GetRecentFiles(), (std::vector<std::string>{"/p/c.orv", "/p/d.orv", "/p/b.orv"}));
    for (const std::string& f : app.GetRecentFiles())
        app.RemoveFromRecentFileList(f);
    EXPECT_TRUE(app.GetRecentFiles().empty());
}

TEST(Application, LookUpsWithoutDocumentOrTree)
{
    CTALVOApp& app = GetTALVOApp();
    ASSERT_EQ(app.GetMainDocument(), nullptr);
    EXPECT_EQ(app.GetProject(-1), nullptr);
    EXPECT_EQ(app.GetProject(0), nullptr);
    EXPECT_EQ(app.GetProjectCount(), 0);
}
