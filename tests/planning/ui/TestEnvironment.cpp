// The Qt application object and a private settings folder for every test of this executable.
#include "support/QtTestEnvironment.h"

#include <QApplication>

namespace {
[[maybe_unused]] ::testing::Environment* const g_environment =
    CQtTestEnvironment::Register<QApplication>("orvex_planning_ui_tests");
} // namespace
