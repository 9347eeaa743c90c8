#include "MeasuredDataTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"

namespace {
class MeasuredDataEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        CZuRegOptions::SetSettingsFolder((ExperimentsTestTempDir() / "settings").string());
        SetStringTableFolder(std::string(ORVEX_SOURCE_DIR) + "/resources/lang");
        LoadLanguageStrings(LANG_ENGLISH);
    }
    void TearDown() override { std::filesystem::remove_all(ExperimentsTestTempDir()); }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new MeasuredDataEnvironment);
} // namespace

std::filesystem::path ExperimentsTestTempDir()
{
    static const std::filesystem::path dir = [] {
        auto p = std::filesystem::temp_directory_path() / ("orvex_experiments_tests_" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return dir;
}
