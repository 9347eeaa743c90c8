#pragma once
// The Qt application object for every test of one executable (the settings folder is the test
// main's, tests/support/TestMain.cpp). A test folder registers it once, in a file of its own:
//
//   [[maybe_unused]] ::testing::Environment* const g_environment =
//       CQtTestEnvironment::Register<QApplication>("orvex_platform_ui_tests");
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

class CQtTestEnvironment : public ::testing::Environment
{
public:
    using AppFactory = std::unique_ptr<QCoreApplication> (*)(int& argc, char** argv);

    // offscreen: the application needs a platform plugin (a GUI application); tests run without a
    // display, also when the executable is started by hand rather than by ctest.
    CQtTestEnvironment(std::string programName, AppFactory makeApp, bool offscreen);

    // Adds the environment for application type App (QCoreApplication, QApplication, ...).
    template <class App>
    static ::testing::Environment* Register(const char* programName)
    {
        return ::testing::AddGlobalTestEnvironment(new CQtTestEnvironment(
            programName,
            [](int& argc, char** argv) -> std::unique_ptr<QCoreApplication> {
                return std::make_unique<App>(argc, argv);
            },
            !std::is_same_v<App, QCoreApplication>));
    }

    void SetUp() override;
    void TearDown() override;

private:
    // The application keeps references to argc and argv: they live as long as the environment.
    std::string m_programName;
    int m_argc = 1;
    char* m_argv[2] = {nullptr, nullptr};
    AppFactory m_makeApp;
    bool m_offscreen;
    std::unique_ptr<QCoreApplication> m_app;
};
