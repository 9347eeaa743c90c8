#include "support/QtTestEnvironment.h"

#include "platform/ui/ApplicationIcon.h"
#include "platform/ui/ProgramStyle.h"

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
    // As the program does: every window a test makes carries the program's icon and draws in the
    // program's style.
    CApplicationIcon::Install();
    CProgramStyle::Install();
}

void CQtTestEnvironment::TearDown()
{
    m_app.reset();
}
