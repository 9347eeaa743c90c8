// The Qt application object for every test of this executable, and a session bus of its own on
// which the bus starts the SOLMOX stand-in when asked for it.
#include "platform/ui/ApplicationIcon.h"
#include "support/PrivateSessionBus.h"
#include "wiring/WindowServices.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <memory>

namespace {
class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_bus = std::make_unique<CPrivateSessionBus>();
        QString error;
        ASSERT_TRUE(m_bus->Start(&error)) << error.toStdString();
        ASSERT_TRUE(m_bus->AddService(QStringLiteral("SOLMOX.Application"), QStringLiteral(ORVEX_SOLMOX_STANDIN)));
        static int argc = 1;
        static char name[] = "orvex_app_ui_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        // As the program does: no window a road opens may show the toolkit's logo.
        CApplicationIcon::Install();
        std::setlocale(LC_NUMERIC, "C");
        // The windows wired to the core as the program wires them.
        InstallWindowServices();
    }
    void TearDown() override
    {
        m_app.reset();
        m_bus.reset();
    }

private:
    std::unique_ptr<CPrivateSessionBus> m_bus;
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
} // namespace
