// The Qt core application and a private settings folder for every test of this executable, so no
// test reads or writes the user's settings.
#include "platform/win/ZuRegOptions.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {
class CoreEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "orvex_platform_win_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QCoreApplication>(argc, argv);
        m_settings = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_settings->isValid());
        CZuRegOptions::SetSettingsFolder(m_settings->path().toStdString());
    }
    void TearDown() override
    {
        m_settings.reset();
        m_app.reset();
    }

private:
    std::unique_ptr<QCoreApplication> m_app;
    std::unique_ptr<QTemporaryDir> m_settings;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new CoreEnvironment);
} // namespace
