// The Qt application (offscreen), a private settings folder and the English strings for every
// test of this executable.
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "support/QtTestEnvironment.h"

#include <QApplication>

namespace {
class StringsEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH)); }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    CQtTestEnvironment::Register<QApplication>("orvex_uff_ui_tests");
[[maybe_unused]] ::testing::Environment* const g_strings = ::testing::AddGlobalTestEnvironment(new StringsEnvironment);
} // namespace
