// The Qt core application and a private settings folder for every test of this executable, so no
// test reads or writes the user's settings.
#include "support/QtTestEnvironment.h"

namespace {
[[maybe_unused]] ::testing::Environment* const g_environment =
    CQtTestEnvironment::Register<QCoreApplication>("orvex_platform_win_tests");
} // namespace
