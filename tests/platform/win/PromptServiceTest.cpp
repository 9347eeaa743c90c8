#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"

#include <gtest/gtest.h>

namespace {

class PromptServiceTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH)); }
};

TEST_F(PromptServiceTest, DefaultButtonOfEveryStyle)
{
    struct Case
    {
        unsigned style;
        int result;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OK | MB_DEFBUTTON2, IDOK}, // no second button: the first
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_RETRYCANCEL | MB_DEFBUTTON3, IDRETRY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        EXPECT_EQ(DefaultButtonOf(c.style), c.result);
    }
}

TEST_F(PromptServiceTest, ScriptedAnswersInOrderAndRecordsWhatWasShown)
{
    CScriptedPrompts prompts;
    prompts.Answer(IDNO).Answer(IDCANCEL);
    EXPECT_EQ(AfxMessageBox(6008u, MB_OKCANCEL | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxFormatMessageBox(7015, MB_YESNO | MB_ICONQUESTION, "Analysis 1"), IDCANCEL);
    EXPECT_EQ(ZuMessageBox("plain", "My Caption", MB_YESNO | MB_DEFBUTTON2), IDNO); // unscripted: default
    EXPECT_EQ(AfxMessageBox("literal"), IDOK);

    auto r = prompts.Records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].stringId, 6008u);
    EXPECT_EQ(r[0].text, "Remove the selected project?");
    EXPECT_EQ(r[0].caption, "ORVEX");
    EXPECT_EQ(r[0].style, MB_OKCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(r[0].result, IDNO);
    EXPECT_EQ(r[1].stringId, 7015u);
    EXPECT_EQ(r[1].text, "Remove the project Analysis 1?");
    EXPECT_EQ(r[2].stringId, 0u);
    EXPECT_EQ(r[2].caption, "My Caption");
    EXPECT_EQ(r[3].text, "literal");
    EXPECT_EQ(prompts.Unexpected(), 2u);
    EXPECT_EQ(prompts.Pending(), 0u);
}

TEST_F(PromptServiceTest, MissingStringStillSaysWhichMessage)
{
    CScriptedPrompts prompts;
    AfxMessageBox(4u);
    AfxFormatMessageBox(5, MB_OK, 1, 2);
    EXPECT_EQ(prompts.Records()[0].text, "(4)");
    EXPECT_EQ(prompts.Records()[1].text, "(5)");
}

TEST_F(PromptServiceTest, ScopesNestAndRestore)
{
    CScriptedPrompts outer;
    {
        CScriptedPrompts inner;
        inner.Answer(IDYES);
        EXPECT_EQ(AfxMessageBox("a", MB_YESNO | MB_DEFBUTTON2), IDYES);
        EXPECT_EQ(inner.Count(), 1u);
    }
    outer.Answer(IDNO);
    EXPECT_EQ(AfxMessageBox("b", MB_YESNO), IDNO);
    EXPECT_EQ(outer.Count(), 1u);
}

TEST_F(PromptServiceTest, NonInteractiveServiceAnswersDefaultsAndCancelsChoosers)
{
    ASSERT_EQ(&GetPromptService(), &GetPromptService());
    auto* service = dynamic_cast<CDefaultPromptService*>(&GetPromptService());
    ASSERT_NE(service, nullptr); // no scripted service is installed here
    service->Clear();
    EXPECT_EQ(AfxMessageBox("question", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    std::string path = "unchanged";
    EXPECT_FALSE(PromptOpenFile(FileChooserOptions{}, path));
    EXPECT_FALSE(PromptFolder("Folder", "/tmp", path));
    EXPECT_EQ(path, "unchanged");
    auto records = service->Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].result, IDCANCEL);
    EXPECT_EQ(records[1].kind, PromptKind::OpenFile);
    EXPECT_EQ(records[2].kind, PromptKind::Folder);
}

TEST_F(PromptServiceTest, FileChoosers)
{
    CScriptedPrompts prompts;
    prompts.ChooseFile("/tmp/a/model")
        .ChooseFile("/tmp/a/model.dmd")
        .ChooseFile("/tmp/a.b/noext", 2)
        .Cancel()
        .ChooseFiles({"/x/1.uff", "/x/2.uff"})
        .ChooseFolder("/data/projects")
        .ChooseFile("/tmp/open.txt");

    FileChooserOptions save;
    save.title = "Save";
    save.filter = "Model Data (*.dmd)|*.dmd|All Files (*.*)|*.*||";
    save.defaultExt = "dmd";
    std::string path;
    int filter = 0;
    ASSERT_TRUE(PromptSaveFile(save, path, &filter));
    EXPECT_EQ(path, "/tmp/a/model.dmd"); // the default extension is added
    EXPECT_EQ(filter, 1);
    ASSERT_TRUE(PromptSaveFile(save, path));
    EXPECT_EQ(path, "/tmp/a/model.dmd"); // not twice
    ASSERT_TRUE(PromptSaveFile(save, path, &filter));
    EXPECT_EQ(path, "/tmp/a.b/noext.dmd"); // a dot in the folder is no extension
    EXPECT_EQ(filter, 2);
    path = "kept";
    EXPECT_FALSE(PromptSaveFile(save, path));
    EXPECT_EQ(path, "kept");

    std::vector<std::string> files;
    ASSERT_TRUE(PromptOpenFiles(FileChooserOptions{}, files));
    EXPECT_EQ(files, (std::vector<std::string>{"/x/1.uff", "/x/2.uff"}));
    std::string folder;
    ASSERT_TRUE(PromptFolder("Choose the project folder", "/data", folder));
    EXPECT_EQ(folder, "/data/projects");
    ASSERT_TRUE(PromptOpenFile(FileChooserOptions{}, path));
    EXPECT_EQ(path, "/tmp/open.txt");

    auto r = prompts.Records();
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0].kind, PromptKind::SaveFile);
    EXPECT_EQ(r[0].file.filter, save.filter);
    EXPECT_EQ(r[0].text, "Save");
    EXPECT_EQ(r[3].result, IDCANCEL);
    EXPECT_TRUE(r[4].file.allowMultiple);
    EXPECT_EQ(r[5].kind, PromptKind::Folder);
    EXPECT_EQ(r[5].file.initialFolder, "/data");
    EXPECT_FALSE(r[6].file.allowMultiple);
}

TEST_F(PromptServiceTest, ResponderAnswersWhatIsNotQueued)
{
    CScriptedPrompts prompts;
    prompts.responder = [](const PromptRecord& r) -> std::optional<PromptAnswer> {
        if (r.stringId == 6192)
            return PromptAnswer{IDYES, {}, 0};
        return std::nullopt;
    };
    EXPECT_EQ(AfxMessageBox(6192u, MB_YESNO | MB_DEFBUTTON2), IDYES);
    EXPECT_EQ(AfxMessageBox(6041u, MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(prompts.Unexpected(), 1u);
}

TEST_F(PromptServiceTest, FileFilterParsing)
{
    auto entries = ParseFileFilter("Text Files (*.txt)|*.txt|Excel (*.xlsx;*.txt)|*.xlsx; *.txt||ignored|*.x");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description, "Text Files (*.txt)");
    EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.txt"}));
    EXPECT_EQ(entries[1].patterns, (std::vector<std::string>{"*.xlsx", "*.txt"}));
    EXPECT_TRUE(ParseFileFilter("").empty());
    EXPECT_TRUE(ParseFileFilter("only a description").empty());
    EXPECT_EQ(ParseFileFilter("All|*.*").size(), 1u); // without the closing bars
}

} // namespace
