// The measurement pictures of an item: which files are its own, the number a new picture gets,
// and names that would reach outside the picture folder.
#include <gtest/gtest.h>

#include "acquisition/DaqPictureFolder.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class DaqPictureFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
        work = fs::temp_directory_path() / ("orvex_pictures_" + std::to_string(getpid()));
        fs::remove_all(work);
        fs::create_directories(work / "work");
        source = work / "photo.jpg";
        Write(source, "JPEG");
    }
    void TearDown() override { fs::remove_all(work); }
    static void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::vector<std::string> Sorted(std::vector<std::string> v)
    {
        std::sort(v.begin(), v.end());
        return v;
    }

    fs::path work;
    fs::path source;
};

} // namespace

TEST_F(DaqPictureFolderTest, ListsOnlyTheItemsOwnFilesAndFillsTheFirstFreeNumber)
{
    CDaqPictureFolder fr((work / "work").string(), "Fr");
    ASSERT_TRUE(fr.IsValid());
    std::vector<std::string> names;
    EXPECT_EQ(fr.List(names), 0);
    EXPECT_TRUE(fs::is_directory(fr.GetFolder())) << "the folder is made when missing";
    EXPECT_EQ(fs::path(fr.GetFolder()).filename(), "Pictures");
    for (const char* name : {"Fr~1.jpg", "Fr~3.bmp", "FrL~1.jpg", "Fr~x.jpg", "Fr~.jpg", "Fr~2a.jpg", "Fr1.jpg"})
        Write(fs::path(fr.GetFolder()) / name, name);
    fs::create_directories(fs::path(fr.GetFolder()) / "Fr~4.jpg"); // a folder, not a picture
    EXPECT_EQ(fr.List(names), 2);
    EXPECT_EQ(Sorted(names), (std::vector<std::string>{"Fr~1.jpg", "Fr~3.bmp"}));

    EXPECT_EQ(fr.AddCopy(source.string()), "Fr~2.jpg");
    EXPECT_EQ(Read(fs::path(fr.GetFolder()) / "Fr~2.jpg"), "JPEG");
    EXPECT_EQ(fr.AddCopy(source.string()), "Fr~3.jpg") << "the name with its extension is what must be free";
    EXPECT_EQ(fr.AddCopy(source.string()), "Fr~5.jpg") << "4 is a folder";
    EXPECT_EQ(Read(fs::path(fr.GetFolder()) / "Fr~3.bmp"), "Fr~3.bmp") << "never overwritten";
    EXPECT_EQ(fr.AddCopy((work / "missing.jpg").string()), "");
    names.clear();
    EXPECT_EQ(fr.List(names), 5);
    for (const auto& entry : fs::directory_iterator(fr.GetFolder()))
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos) << "no temporary file left";

    EXPECT_TRUE(fr.Remove("Fr~1.jpg"));
    EXPECT_FALSE(fs::exists(fs::path(fr.GetFolder()) / "Fr~1.jpg"));
    EXPECT_FALSE(fr.Remove("FrL~1.jpg")) << "another item's picture";
    EXPECT_TRUE(fs::exists(fs::path(fr.GetFolder()) / "FrL~1.jpg"));
}

TEST_F(DaqPictureFolderTest, NamesReachingOutsideThePictureFolderAreRefused)
{
    for (const char* bad : {"", ".", "..", "../Fr", "a/b", "a\\b", "F*", "F?", "a\nb", "x..y"}) {
        SCOPED_TRACE(bad);
        CDaqPictureFolder folder((work / "work").string(), bad);
        EXPECT_FALSE(folder.IsValid());
        std::vector<std::string> names;
        EXPECT_EQ(folder.List(names), 0);
        EXPECT_EQ(folder.AddCopy(source.string()), "");
    }
    EXPECT_TRUE(CDaqPictureFolder::IsValidItemName("Front door (L)"));
    // A file beside the work folder keeps its content: nothing reaches it through the item name
    // or through a file name handed to Remove.
    Write(work / "Fr~1.jpg", "outside");
    CDaqPictureFolder fr((work / "work").string(), "Fr");
    EXPECT_FALSE(fr.Remove("../../Fr~1.jpg"));
    EXPECT_FALSE(fr.Remove("../Fr~1.jpg"));
    EXPECT_EQ(fr.PathOf("Fr~1.jpg/../../x"), "");
    EXPECT_EQ(Read(work / "Fr~1.jpg"), "outside");
}
