// The names the program gives elements, as a window shows them in each language; every other name
// as stored.
#include "platform/elements/ShownElementName.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"

#include <gtest/gtest.h>

namespace {
class ShownElementNameTest : public ::testing::Test
{
protected:
    void TearDown() override { LoadLanguageStrings(LANG_ENGLISH); }
};
} // namespace

TEST_F(ShownElementNameTest, OwnNamesAndFormatsInJapaneseOthersAsStored)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_JAPANESE));
    const std::pair<const char*, const char*> cases[] = {
        {"Parameters", "パラメーター"},
        {"DataSet12", "データセット12"},
        {"Channel Levels [Roof]", "チャンネルレベル [Roof]"},
        // The values are taken over as written, a text holding brackets or a comma included.
        {"Channel Levels [Roof [front], A]", "チャンネルレベル [Roof [front], A]"},
        {"Result #7", "結果 #7"},
        // The longer format of two that both begin alike.
        {"Global CLF(A, B) (not coupled in the model)", "グローバルCLF(A, B) (モデルでは結合なし)"},
        {"Global CLF(A, B)", "グローバルCLF(A, B)"},
        // Names of ours inside a name of ours; a name the user gave inside one stays.
        {"Analytical SEA Model #2", "解析SEAモデル #2"},
        {"Result [Input Power Data #3]", "結果 [入力パワーデータ #3]"},
        {"Result [Front Set]", "結果 [Front Set]"},
        {"Sample #1", "Sample #1"},
        // Data and near misses.
        {"Roof", "Roof"},
        {"Roof:01", "Roof:01"},
        {"DataSet", "DataSet"},
        {"DataSetA", "DataSetA"},
        {"Result #", "Result #"},
        {"Channel Levels []", "Channel Levels []"},
        {"Parameters ", "Parameters "},
        {"100%", "100%"},
        {"", ""},
    };
    for (const auto& [stored, shown] : cases) {
        SCOPED_TRACE(stored);
        EXPECT_EQ(ShownElementName(stored), shown);
        // A label left as shown means the stored name; another one is the name typed.
        EXPECT_EQ(StoredNameOfLabel(stored, shown), stored);
        EXPECT_EQ(StoredNameOfLabel(stored, "Run-up A"), "Run-up A");
    }

    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    for (const auto& [stored, shown] : cases)
        EXPECT_EQ(ShownElementName(stored), stored);
}
