#include "platform/base/AtomicFile.h"
#include "platform/base/Format.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(Format, PrintfTextsByteForByte)
{
    EXPECT_EQ(Format("DAQ%d", 3), "DAQ3");
    EXPECT_EQ(Format("%g [RPM]", 1500.0), "1500 [RPM]");
    EXPECT_EQ(Format("%s~%1d", "Name", 12), "Name~12");
    EXPECT_EQ(Format("%s:%02d", "Panel", 7), "Panel:07");
    EXPECT_EQ(Format("%s", ""), "");
    // Longer than the first buffer: the whole text, nothing cut.
    const std::string longText(1000, 'x');
    EXPECT_EQ(Format("[%s]", longText.c_str()), "[" + longText + "]");
    EXPECT_EQ(Format("%s%s", std::string(255, 'a').c_str(), "b"), std::string(255, 'a') + "b");
}

class AtomicFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("orvex-atomic-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static std::string Read(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    size_t EntryCount() const { return size_t(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator())); }

    fs::path m_dir;
};

TEST_F(AtomicFileTest, ReplacesOnlyOnCommitAndLeavesNoTemporaryFile)
{
    const fs::path target = m_dir / "project.orv";
    ASSERT_TRUE(CAtomicFile::WriteFile(target.string(), "first"));
    EXPECT_EQ(Read(target), "first");
    {
        // A save that stops half-way leaves the previous file as it was.
        CAtomicFile f(target.string());
        ASSERT_TRUE(f.Open());
        ASSERT_TRUE(f.Write("half of the second"));
        EXPECT_EQ(EntryCount(), 2u); // the target and the temporary file beside it
    }
    EXPECT_EQ(Read(target), "first");
    EXPECT_EQ(EntryCount(), 1u);
    {
        CAtomicFile f(target.string());
        ASSERT_TRUE(f.Open());
        ASSERT_TRUE(f.Write("second"));
        f.Discard();
        EXPECT_FALSE(f.Commit());
    }
    EXPECT_EQ(Read(target), "first");
    CAtomicFile f(target.string());
    ASSERT_TRUE(f.Open());
    ASSERT_TRUE(f.Write("second"));
    ASSERT_TRUE(f.Commit()) << f.ErrorText();
    EXPECT_EQ(Read(target), "second");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, KeepsThePermissionsOfTheFileItReplaces)
{
    const fs::path target = m_dir / "shared.txt";
    ASSERT_TRUE(CAtomicFile::WriteFile(target.string(), "a"));
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(CAtomicFile::WriteFile(target.string(), "b"));
    struct stat st{};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Read(target), "b");
}

TEST_F(AtomicFileTest, FailuresAreReportedNotHidden)
{
    std::string error;
    EXPECT_FALSE(CAtomicFile::WriteFile((m_dir / "no" / "such" / "folder.txt").string(), "x", &error));
    EXPECT_FALSE(error.empty());
    // A target that is a folder cannot be replaced: the commit fails, the folder stays.
    fs::create_directories(m_dir / "taken");
    error.clear();
    EXPECT_FALSE(CAtomicFile::WriteFile((m_dir / "taken").string(), "x", &error));
    EXPECT_NE(error.find("Cannot replace"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(m_dir / "taken"));
    EXPECT_EQ(EntryCount(), 1u);
    CAtomicFile never((m_dir / "never.txt").string());
    EXPECT_FALSE(never.Write("x"));
    EXPECT_FALSE(never.Commit());
}

} // namespace
