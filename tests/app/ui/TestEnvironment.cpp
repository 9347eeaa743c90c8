// The Qt application object for every test of this executable.
#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <memory>

namespace
{
class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "orvex_app_ui_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
    }
    void TearDown() override
    {
        m_app.reset();
    }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);
} // namespace
