// The main of every test executable: the settings live in a fresh temporary folder for the whole
// run, so no test reads or writes the user's own settings, whatever the test does with the folder
// (a test that points the settings elsewhere and back returns to this one). The program under test
// reads the folder from ORVEX_SETTINGS_DIR, and so do the programs a test starts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

int main(int argc, char** argv)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvex-test-settings-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 2;
    }
    ::setenv("ORVEX_SETTINGS_DIR", pattern.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return result;
}
