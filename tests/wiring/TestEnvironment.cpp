// The Qt application (offscreen) for every test of this executable.
#include "support/QtTestEnvironment.h"

#include <QApplication>

namespace {
[[maybe_unused]] ::testing::Environment* const g_environment =
    CQtTestEnvironment::Register<QApplication>("orvex_wiring_tests");
} // namespace
