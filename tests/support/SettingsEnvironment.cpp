#include "support/SettingsEnvironment.h"

#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/win/ZuRegOptions.h"

namespace {
class CSettingsEnvironment : public ::testing::Environment
{
public:
    explicit CSettingsEnvironment(const char* programName)
        : m_dir(std::filesystem::temp_directory_path() /
                (std::string(programName) + "_settings_" + std::to_string(::getpid())))
    {
    }
    void SetUp() override { CZuRegOptions::SetSettingsFolder(m_dir.string()); }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

private:
    std::filesystem::path m_dir;
};
} // namespace

::testing::Environment* RegisterSettingsEnvironment(const char* programName)
{
    return ::testing::AddGlobalTestEnvironment(new CSettingsEnvironment(programName));
}
