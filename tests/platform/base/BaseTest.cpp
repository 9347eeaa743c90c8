#include "platform/base/AtomicFile.h"
#include "platform/base/Format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    struct stat st
    {};
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

// Saving has no side effects beyond the file itself: a link stays a link, a read-only file is not
// replaced, and the temporary file of a save killed part way is removed by the next save.
TEST_F(AtomicFileTest, SavesKeepLinksRespectReadOnlyFilesAndClearStaleTemporaries)
{
    const fs::path real = m_dir / "real.orv";
    const fs::path link = m_dir / "link.orv";
    ASSERT_TRUE(CAtomicFile::WriteFile(real.string(), "first"));
    fs::create_symlink("real.orv", link);
    std::string error;
    ASSERT_TRUE(CAtomicFile::WriteFile(link.string(), "second", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "second");

    ASSERT_EQ(::chmod(real.c_str(), 0444), 0);
    EXPECT_FALSE(CAtomicFile::WriteFile(link.string(), "third", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(Read(real), "second");
    ASSERT_EQ(::chmod(real.c_str(), 0644), 0);

    // What a killed save leaves: a hidden file of our naming beside the target. Another file's
    // temporary and a file that only looks alike stay.
    const fs::path stale = m_dir / ".real.orv.tmp-AbC123";
    const fs::path other = m_dir / ".other.orv.tmp-AbC123";
    const fs::path alike = m_dir / ".real.orv.tmp-kept-by-the-user";
    for (const fs::path& p : {stale, other, alike})
        std::ofstream(p) << "left";
    {
        // The next save clears it; its own temporary is never taken for a stale one.
        CAtomicFile running(real.string());
        ASSERT_TRUE(running.Open());
        EXPECT_FALSE(fs::exists(stale));
        EXPECT_EQ(CAtomicFile::RemoveStaleTemporaries(real.string()), 0);
        ASSERT_TRUE(running.Write("fourth"));
        ASSERT_TRUE(running.Commit()) << running.ErrorText();
    }
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(fs::exists(alike));
    EXPECT_EQ(Read(real), "fourth");
}

// A file long enough to be handed to the disk while it is written reads back byte for byte,
// written in pieces of any size across the stretches; a save given up half-way still leaves the
// previous file.
TEST_F(AtomicFileTest, ALongFileStreamedToTheDiskReadsBackWhole)
{
    const fs::path target = m_dir / "long.orv";
    std::string bytes(CAtomicFile::kStreamBytes * 5 / 2 + 12345, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    const size_t pieces[] = {7, (size_t(1) << 20) + 3, size_t(5) << 20, 4096};
    const auto write = [&](CAtomicFile& f, size_t upTo) {
        size_t at = 0;
        for (size_t k = 0; at < upTo; ++k) {
            const size_t n = std::min(pieces[k % 4], upTo - at);
            if (!f.Write(bytes.data() + at, n))
                return false;
            at += n;
        }
        return true;
    };
    CAtomicFile f(target.string());
    ASSERT_TRUE(f.Open());
    ASSERT_TRUE(write(f, bytes.size()));
    ASSERT_TRUE(f.Commit()) << f.ErrorText();
    EXPECT_TRUE(Read(target) == bytes);
    {
        CAtomicFile half(target.string());
        ASSERT_TRUE(half.Open());
        ASSERT_TRUE(write(half, bytes.size() / 2));
    }
    EXPECT_TRUE(Read(target) == bytes);
    EXPECT_EQ(EntryCount(), 1u);
}

// A file-size limit makes the write fail with a message instead of ending the program.
TEST_F(AtomicFileTest, AFileSizeLimitFailsTheSaveAndKeepsTheFile)
{
    const fs::path target = m_dir / "big.orv";
    ASSERT_TRUE(CAtomicFile::WriteFile(target.string(), "old"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit limit
        {
            4096, 4096
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        const bool written = CAtomicFile::WriteFile(target.string(), std::string(1 << 20, 'x'), &error);
        ::_exit(written ? 1 : error.empty() ? 2 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(EntryCount(), 1u);
}

} // namespace
