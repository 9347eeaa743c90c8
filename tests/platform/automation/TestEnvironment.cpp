// One private session bus and the core application for every test of this executable; the English
// strings give the errors their descriptions.
#include "support/PrivateSessionBus.h"

#include "platform/win/StringTable.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {
class BusEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_bus = std::make_unique<CPrivateSessionBus>();
        QString error;
        ASSERT_TRUE(m_bus->Start(&error)) << error.toStdString();
        ASSERT_TRUE(m_bus->AddService(QStringLiteral("PLOVA.Application"), QStringLiteral(ORVEX_PLOVA_STANDIN),
                                      {QStringLiteral("--version"), QStringLiteral("2.0.0 build(0041)")}));
        static int argc = 1;
        static char name[] = "orvex_platform_automation_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QCoreApplication>(argc, argv);
        ASSERT_TRUE(LoadLanguageStrings(9));
    }
    void TearDown() override
    {
        m_app.reset();
        m_bus.reset();
    }

private:
    std::unique_ptr<CPrivateSessionBus> m_bus;
    std::unique_ptr<QCoreApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new BusEnvironment);
} // namespace
