#include "ProjectTestEnv.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/win/StatusBarFeedback.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"

namespace {
class AppTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        CZuRegOptions::SetSettingsFolder((AppTestTempDir() / "settings").string());
        LoadLanguageStrings(LANG_ENGLISH);
    }
    void TearDown() override { std::filesystem::remove_all(AppTestTempDir()); }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new AppTestEnvironment);
} // namespace

std::filesystem::path AppTestTempDir()
{
    static const std::filesystem::path dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("orvex_app_tests_" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}

CFeedback* StatusBarBoxes()
{
    static CStatusBarFeedback boxes;
    return &boxes;
}
