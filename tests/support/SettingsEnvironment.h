#pragma once
// A private settings folder for every test of one executable, for tests that need no Qt
// application object: no test reads or writes the user's settings. A test folder registers it once:
//
//   [[maybe_unused]] ::testing::Environment* const g_settings = RegisterSettingsEnvironment("orvex_uff_tests");
#include <gtest/gtest.h>

::testing::Environment* RegisterSettingsEnvironment(const char* programName);
