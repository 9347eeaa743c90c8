// The Qt core application for every test of this executable.
#include "support/QtTestEnvironment.h"

namespace {
[[maybe_unused]] ::testing::Environment* const g_environment =
    CQtTestEnvironment::Register<QCoreApplication>("orvex_platform_win_tests");
} // namespace
