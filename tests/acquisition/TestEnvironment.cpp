// A debug file of its own for every test of this executable (the settings folder is the test
// main's, tests/support/TestMain.cpp).
#include "platform/base/DebugLog.h"
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {
class CDebugFileEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_path = (std::filesystem::temp_directory_path() /
                  ("orvex_acquisition_tests_debug_" + std::to_string(::getpid()) + ".log"))
                     .string();
        CDebugLog::SetPath(m_path);
    }
    void TearDown() override
    {
        std::filesystem::remove(m_path);
        CDebugLog::SetPath({});
    }

private:
    std::string m_path;
};

[[maybe_unused]] ::testing::Environment* const kDebug = ::testing::AddGlobalTestEnvironment(new CDebugFileEnvironment);
} // namespace
