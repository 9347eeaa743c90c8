// A private session bus, the core application, the English strings and a settings folder of its
// own for every test of this executable.
#include "support/PrivateSessionBus.h"

#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <memory>

namespace {
class AutomationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_bus = std::make_unique<CPrivateSessionBus>();
        QString error;
        ASSERT_TRUE(m_bus->Start(&error)) << error.toStdString();
        // The bus starts the PLOVA stand-in when asked for it.
        ASSERT_TRUE(m_bus->AddService(QStringLiteral("PLOVA.Application"), QStringLiteral(ORVEX_PLOVA_STANDIN)));
        ASSERT_TRUE(m_bus->AddService(QStringLiteral("SOLMOX.Application"), QStringLiteral(ORVEX_SOLMOX_STANDIN)));
        static int argc = 1;
        static char name[] = "orvex_app_automation_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QCoreApplication>(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        m_settings = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_settings->isValid());
        CZuRegOptions::SetSettingsFolder(m_settings->path().toStdString());
        ASSERT_TRUE(LoadLanguageStrings(9));
    }
    void TearDown() override
    {
        m_app.reset();
        m_settings.reset();
        m_bus.reset();
    }

private:
    std::unique_ptr<CPrivateSessionBus> m_bus;
    std::unique_ptr<QCoreApplication> m_app;
    std::unique_ptr<QTemporaryDir> m_settings;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new AutomationEnvironment);
} // namespace
