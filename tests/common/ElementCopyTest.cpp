#include "common/ElementCopy.h"

#include "platform/elements/MElement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {
// Points the temporary folder at a folder of this test alone, so that what is left there is ours.
class PrivateTempDir
{
public:
    PrivateTempDir()
    {
        const char* old = std::getenv("TMPDIR");
        m_old = old ? old : "";
        m_hadOld = old != nullptr;
        m_dir = std::filesystem::temp_directory_path() / ("orvex-elementcopy-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        ::setenv("TMPDIR", m_dir.c_str(), 1);
    }
    ~PrivateTempDir()
    {
        if (m_hadOld)
            ::setenv("TMPDIR", m_old.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    bool IsEmpty() const { return std::filesystem::is_empty(m_dir); }

private:
    std::filesystem::path m_dir;
    std::string m_old;
    bool m_hadOld = false;
};
} // namespace

TEST(ElementCopy, DeepCopyThroughATemporaryFileThatIsRemoved)
{
    CMElement root("Project", nullptr, 7);
    CMElement* folder = root.AddChild(std::make_unique<CMElement>("Folder", &root, 70));
    folder->AddChild(std::make_unique<CMElement>("Result", folder, 53));

    PrivateTempDir temp;
    std::unique_ptr<CMElement> copy = CopyElementViaTempFile(&root);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(temp.IsEmpty()) << "the temporary file must be removed";

    EXPECT_NE(copy.get(), &root);
    EXPECT_EQ(copy->GetName(), "Project");
    EXPECT_EQ(copy->GetType(), 7);
    ASSERT_EQ(copy->GetChildCount(), 1);
    CMElement* result = copy->FindOne(53);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetName(), "Result");
    EXPECT_NE(result, folder->GetChild(0));
    EXPECT_EQ(result->GetParent(), copy->GetChild(0));

    // The copy is independent of the original.
    copy->RemoveAll();
    EXPECT_EQ(root.GetAllChildCount(), 2);
}

TEST(ElementCopy, NullGivesNull)
{
    EXPECT_EQ(CopyElementViaTempFile(nullptr), nullptr);
}
