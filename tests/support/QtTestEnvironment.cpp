#include "support/QtTestEnvironment.h"

#include "platform/win/ZuRegOptions.h"

CQtTestEnvironment::CQtTestEnvironment(std::string programName, AppFactory makeApp, bool offscreen)
    : m_programName(std::move(programName)), m_makeApp(makeApp), m_offscreen(offscreen)
{
    m_argv[0] = m_programName.data();
}

void CQtTestEnvironment::SetUp()
{
    if (m_offscreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    m_app = m_makeApp(m_argc, m_argv);
    m_settings = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_settings->isValid());
    CZuRegOptions::SetSettingsFolder(m_settings->path().toStdString());
}

void CQtTestEnvironment::TearDown()
{
    m_settings.reset();
    m_app.reset();
}
