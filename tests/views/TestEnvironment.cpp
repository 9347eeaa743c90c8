// The Qt core application for every test of this executable (the table cores read the display
// options from the settings folder of the test main).
#include "support/QtTestEnvironment.h"

namespace {
[[maybe_unused]] ::testing::Environment* const g_environment =
    CQtTestEnvironment::Register<QCoreApplication>("orvex_views_tests");
} // namespace
