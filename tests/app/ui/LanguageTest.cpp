// Every menu of the main window in Japanese: no item, sub-menu or shortcut-bar text left English.
#include "app/TALVOApp.h"
#include "app/ui/DockShortcutWnd.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/ui/UiTextTranslator.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "support/WidgetShot.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// A text that a Japanese user would read as English: letters of a word and no Japanese at all.
// Names of things (ORVEX, HSEA, DAQ, SPL, RPM) may stay as they are.
bool LooksEnglish(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0x7F)
            return false;
    static const QRegularExpression word(QStringLiteral("[a-z]{3,}"));
    return word.match(text).hasMatch();
}

void CollectEnglish(const QList<QAction*>& actions, const QString& path, QStringList& out)
{
    for (QAction* a : actions) {
        if (a->isSeparator())
            continue;
        const QString where = path + QStringLiteral(" > ") + a->text();
        // The recent files are file names.
        if (a->menu() && a->menu()->objectName() == QStringLiteral("RecentMenu"))
            continue;
        if (LooksEnglish(a->text()))
            out << where;
        if (QMenu* menu = a->menu()) {
            // A menu filled as it opens is walked as it shows. The result sub-menus list the
            // project's results, whose names are data.
            if (!menu->objectName().startsWith(QStringLiteral("ResultPopup")))
                emit menu->aboutToShow();
            CollectEnglish(menu->actions(), where, out);
        }
    }
}

class Language : public ::testing::Test
{
protected:
    void TearDown() override { GetTALVOApp().SetLanguage(LANG_ENGLISH); }
};

} // namespace

TEST_F(Language, EveryMenuAndShortcutButtonIsJapaneseAndBackInEnglish)
{
    CMainFrame frame;
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_JAPANESE));
    ASSERT_GT(TextTranslationCount(), 0u);
    QStringList english;
    CollectEnglish(frame.menuBar()->actions(), QStringLiteral("menu"), english);
    // The tool bars: each button's text and the tip it shows.
    for (QToolBar* bar : frame.findChildren<QToolBar*>()) {
        CollectEnglish(bar->actions(), QStringLiteral("tool bar"), english);
        for (QAction* a : bar->actions())
            if (!a->isSeparator() && LooksEnglish(a->toolTip()))
                english << QStringLiteral("tool bar tip > ") + a->toolTip();
    }
    for (int item = 0; item < static_cast<int>(CDockShortcutWnd::Table().size()); ++item) {
        if (QToolButton* button = frame.ShortcutBar()->Button(item)) {
            if (LooksEnglish(button->text()))
                english << QStringLiteral("shortcut bar > ") + button->text();
            if (QMenu* menu = button->menu())
                CollectEnglish(menu->actions(), QStringLiteral("shortcut bar > ") + button->text(), english);
        }
    }
    EXPECT_TRUE(english.isEmpty()) << "Still English in Japanese (give each a line in "
                                      "resources/lang/orvex_jpn_text.txt):\n"
                                   << english.join(QLatin1Char('\n')).toStdString();
    frame.resize(1100, 700);
    const QStringList faults = GrabAndCheckLayout(frame, QStringLiteral("language"), QStringLiteral("MainFrame"));
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(UntranslatedTexts(frame).isEmpty()) << UntranslatedTexts(frame).join(QLatin1Char('\n')).toStdString();

    // Back in English, the English texts come back.
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    EXPECT_EQ(frame.menuBar()->actions()[0]->text(), QStringLiteral("&File"));
    QStringList japanese;
    for (QAction* a : frame.menuBar()->actions())
        if (!LooksEnglish(a->text()) && a->text().contains(QRegularExpression(QStringLiteral("[^\\x00-\\x7F]"))))
            japanese << a->text();
    EXPECT_TRUE(japanese.isEmpty()) << japanese.join(QLatin1Char('\n')).toStdString();
}

TEST(TextTable, MnemonicsAndEndingsAreLookedPastAndEnglishHasNoTable)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_JAPANESE));
    EXPECT_EQ(TranslateText("Cancel"), "キャンセル");
    EXPECT_EQ(TranslateText("&Cancel"), "キャンセル");
    EXPECT_EQ(TranslateText("Subsystem:"), "サブシステム:");
    EXPECT_EQ(TranslateText("Subsystem"), "サブシステム");
    EXPECT_EQ(TranslateText("Not a text of ours"), "Not a text of ours");
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    EXPECT_EQ(TextTranslationCount(), 0u);
    EXPECT_EQ(TranslateText("Cancel"), "Cancel");

    std::map<std::string, std::string> table;
    std::string error;
    EXPECT_FALSE(ParseTextTable("Cancel\tキャンセル\nCancel\t取消\n", table, &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(ParseTextTable("no tab here\n", table, &error));
    EXPECT_FALSE(ParseTextTable("Empty\t\n", table, &error));
    EXPECT_TRUE(ParseTextTable("# comment\n\nA\\tB\tエー\r\n", table, &error)) << error;
    EXPECT_EQ(table.at("A\tB"), "エー");
}

// A column sized for its English heading widens to its Japanese heading instead of cutting it;
// back in English it keeps its width.
TEST(TextTable, ColumnsWidenToTheirTranslatedHeadings)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    QTableWidget table(1, 2);
    table.setHorizontalHeaderLabels({"Serial #", "Serial No."});
    table.horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    table.resizeColumnsToContents();
    const int english = table.columnWidth(0);

    ASSERT_TRUE(LoadLanguageStrings(LANG_JAPANESE));
    CUiTextTranslator::Translate(&table);
    const QString heading = table.horizontalHeaderItem(0)->text();
    EXPECT_EQ(heading, "シリアル番号");
    EXPECT_GT(table.columnWidth(0), table.horizontalHeader()->fontMetrics().horizontalAdvance(heading));
    EXPECT_GE(table.columnWidth(0), english);
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
}

// Texts a window took from string ids or from the text table in one language follow a switch to the
// other and back, the program's menus and the open windows alike.
TEST(TextTable, TextsOfTheLanguageLeftFollowASwitch)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    const std::string english = LoadString(IDS_CALC_OPTIONS);
    ASSERT_TRUE(LoadLanguageStrings(LANG_JAPANESE));
    const std::string japanese = LoadString(IDS_CALC_OPTIONS);
    const std::string cancelMore = TranslateText("Cancel...");
    ASSERT_EQ(cancelMore, "キャンセル...");
    ASSERT_NE(english, japanese);
    EXPECT_EQ(TranslateText(english), japanese);
    EXPECT_EQ(TranslateText(japanese), japanese);
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    EXPECT_EQ(TranslateText(japanese), english);
    EXPECT_EQ(TranslateText("キャンセル"), "Cancel");
    EXPECT_EQ(TranslateText(cancelMore), "Cancel...");
    EXPECT_EQ(TranslateText(english), english);
    // Loading the same language again keeps what the windows made before it need.
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    EXPECT_EQ(TranslateText(japanese), english);
    UnloadLanguageStrings();
    EXPECT_EQ(TranslateText(japanese), japanese);
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
}

TEST_F(Language, WindowsMadeInJapaneseFollowALiveSwitchToEnglishAndBack)
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_JAPANESE));
    CMainFrame frame;
    frame.show();
    CDlgInputBox box(LoadString(IDS_RPM_ADD_PROMPT), LoadString(IDS_RPM_ADD_CAPTION), &frame);
    box.show();
    QApplication::processEvents();
    const QString japaneseTitle = box.windowTitle();
    ASSERT_EQ(japaneseTitle.toStdString(), LoadString(IDS_RPM_ADD_CAPTION));

    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    QApplication::processEvents();
    EXPECT_EQ(box.windowTitle().toStdString(), LoadString(IDS_RPM_ADD_CAPTION));
    QStringList japanese;
    for (QLabel* label : box.findChildren<QLabel*>())
        if (label->text().contains(QRegularExpression(QStringLiteral("[^\\x00-\\x7F]"))))
            japanese << label->text();
    EXPECT_TRUE(japanese.isEmpty()) << japanese.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(frame.menuBar()->actions()[0]->text(), QStringLiteral("&File"));

    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_JAPANESE));
    QApplication::processEvents();
    EXPECT_EQ(box.windowTitle(), japaneseTitle);
}

// A list of names the user gave (a subsystem called "Total") keeps them in every language: the
// program looks the chosen name up by its text.
TEST(TextTable, ListsOfNamesAreLeftAsTheyAre)
{
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
    QWidget window;
    auto* choices = new QComboBox(&window);
    auto* names = new QComboBox(&window);
    names->setProperty(CUiTextTranslator::kDataTexts, true);
    for (QComboBox* combo : {choices, names})
        combo->addItems({"Total", "Roof"});
    ASSERT_TRUE(LoadLanguageStrings(LANG_JAPANESE));
    CUiTextTranslator::Translate(&window);
    EXPECT_EQ(choices->itemText(0).toStdString(), TranslateText("Total"));
    EXPECT_NE(choices->itemText(0), QStringLiteral("Total"));
    EXPECT_EQ(names->itemText(0), QStringLiteral("Total"));
    ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
}
