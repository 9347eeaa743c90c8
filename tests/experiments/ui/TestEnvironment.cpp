// The Qt application, English strings and a private settings folder for the sensor window tests.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <memory>

#include "platform/ui/ApplicationIcon.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/win/ZuRegOptions.h"

namespace {
class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "orvex_experiments_ui_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        // As the program does: no window a test opens may show the toolkit's logo.
        CApplicationIcon::Install();
        std::setlocale(LC_NUMERIC, "C");
        m_settings = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_settings->isValid());
        CZuRegOptions::SetSettingsFolder(m_settings->path().toStdString());
        ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    }
    void TearDown() override
    {
        m_settings.reset();
        m_app.reset();
    }

private:
    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<QTemporaryDir> m_settings;
};

[[maybe_unused]] ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
} // namespace
