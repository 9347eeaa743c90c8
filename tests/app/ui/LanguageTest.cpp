// Every menu of the main window in Japanese: no item, sub-menu or shortcut-bar text left English;
// and the windows a user opens on the sample project, whose texts the program writes: none left
// English but the names stored in the project.
#include "SampleProject.h"
#include "app/AnalysisProject.h"
#include "app/CalcCommands.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ModelProject.h"
#include "app/TALVODoc.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "app/TALVOApp.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/MTreeCtrlEx.h"
#include "calculation/InputPowerFolder.h"
#include "experiments/ui/SensorFrame.h"
#include "platform/elements/ElementType.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ProjectTreeModel.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "spectral/ZuRpmFunc.h"
#include "support/PromptsShown.h"
#include "support/RoadSteps.h"
#include "app/ui/DockShortcutWnd.h"
#include "app/ui/MainFrame.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/ui/UiTextTranslator.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "support/WidgetShot.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <set>

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

namespace {
namespace fs = std::filesystem;

// The texts a user reads in a window: its title, labels, buttons, group titles, the shown item of
// its drop-down lists, the column headings of its tables and lists, and its charts' titles and
// axis labels.
QStringList ShownTexts(QWidget& window)
{
    QStringList out{window.windowTitle()};
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w))
            out << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            out << button->text();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            out << combo->currentText();
        else if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model())
            for (int c = 0; c < view->model()->columnCount(); ++c)
                out << view->model()->headerData(c, Qt::Horizontal).toString();
        else if (auto* chart = qobject_cast<QCustomPlot*>(w)) {
            chart->replot(); // the labels are set in the language loaded as the chart draws
            for (QCPAxisRect* rect : chart->axisRects())
                for (QCPAxis* axis : rect->axes())
                    out << axis->label();
            for (int i = 0; i < chart->plotLayout()->elementCount(); ++i)
                if (auto* title = qobject_cast<QCPTextElement*>(chart->plotLayout()->elementAt(i)))
                    out << title->text().split(QLatin1Char('\n'));
        }
    }
    out.removeAll(QString());
    out.removeDuplicates();
    return out;
}

// A text that reads as English once the names stored in the project are taken out of it: a word
// of three letters or more. The names of units and of things stay as they are (RPM, Hz, dB, SPL), and
// so do the abbreviations engineers read as they are (SEA, CLF, DLF, ER).
bool EnglishLeft(QString text, const QStringList& storedNames)
{
    for (const QString& name : storedNames)
        text.remove(name);
    static const QRegularExpression kept(
        QStringLiteral("\\b(RPM|SPL|HSEA|SEA|CLFs?|DLFs?|ERs?|DAQ|ORVEX)\\b|\\bEXP(?=\\d)"));
    text.remove(kept);
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
    return word.match(text).hasMatch();
}

bool JapaneseIn(const QString& text)
{
    static const QRegularExpression japanese(QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]"));
    return japanese.match(text).hasMatch();
}

// The sample project opened through File > Open by a user who chose Japanese, with the program's
// translator of window texts at work.
class JapaneseWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_JAPANESE));
        CUiTextTranslator::Install();
        if (GetTALVOApp().GetTemplateCount() == 0)
            GetTALVOApp().RegisterDocTemplates();
        root = fs::path(dir.path().toStdString());
        if (!road::CopyBuiltSample(root))
            GTEST_SKIP() << "no sample project was built";
        frame = std::make_unique<CMainFrame>();
        road::ShowFrame(*frame);
        CScriptedPrompts prompts;
        prompts.ChooseFile((root / "sample.orv").string());
        frame->UpdateCommandUI();
        ASSERT_TRUE(frame->OnCommand(ID_FILE_OPEN));
        ASSERT_NE(frame->GetDocument(), nullptr) << Shown(prompts);
        // The names stored in the project, longest first so that a name inside another goes last.
        std::function<void(const CMElement*)> collect = [&](const CMElement* e) {
            stored << QString::fromStdString(e->GetName());
            for (int i = 0; i < e->GetChildCount(); ++i)
                collect(e->GetChild(i));
        };
        for (int p = 0; p < Container().GetProjectCount(); ++p)
            collect(Container().GetProject(p));
        stored << SubsystemNames();
        stored.removeAll(QString());
        std::sort(stored.begin(), stored.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    }
    void TearDown() override
    {
        frame.reset();
        GetTALVOApp().SetLanguage(LANG_ENGLISH);
    }

    CTALVOProject& Container() { return frame->GetDocument()->GetTALVOProject(); }

    // The subsystems' names of every subsystem table in the projects: stored with the tables.
    QStringList SubsystemNames()
    {
        QStringList out;
        std::function<void(const CMElement*)> walk = [&](const CMElement* e) {
            if (auto* zu = dynamic_cast<const CZuData*>(e); zu && zu->GetSubsystemTable())
                for (const std::string& name : zu->GetSubsystemTable()->Names()) {
                    // The measurement names a subsystem by its short name, without the wave type.
                    static const QRegularExpression waveType(QStringLiteral("-[A-Z]?$"));
                    out << QString::fromStdString(name) << QString::fromStdString(name).remove(waveType);
                }
            for (int i = 0; i < e->GetChildCount(); ++i)
                walk(e->GetChild(i));
        };
        for (int p = 0; p < Container().GetProjectCount(); ++p)
            walk(Container().GetProject(p));
        out.removeDuplicates();
        return out;
    }

    // Selects the element in its project's tree.
    void Select(CMElement* element)
    {
        for (int p = 0; p < Container().GetProjectCount(); ++p) {
            frame->TreeWindow()->SetActiveIndex(p);
            CMTreeCtrlEx* tree = frame->TreeWindow()->GetActiveTree();
            const QModelIndex index = tree ? tree->Model()->IndexOf(element) : QModelIndex();
            if (index.isValid()) {
                tree->setCurrentIndex(index);
                break;
            }
        }
        frame->UpdateCommandUI();
    }

    // Opens the element from the tree as a double-click does; the windows it opened. A subsystem
    // is asked for by the experiment's map: the one offered first is taken.
    QList<QMdiSubWindow*> Open(CMElement* element)
    {
        Select(element);
        const QList<QMdiSubWindow*> before = frame->MdiArea()->subWindowList();
        CScriptedDialogs dialogs;
        dialogs.Then([](CZuDialog& d) { return d.PressOK(); });
        EXPECT_TRUE(frame->IsCommandEnabled(ID_OPEN_SELECTION)) << element->GetName();
        frame->OnCommand(ID_OPEN_SELECTION);
        QList<QMdiSubWindow*> opened;
        for (QMdiSubWindow* w : frame->MdiArea()->subWindowList())
            if (!before.contains(w))
                opened << w;
        for (QMdiSubWindow* w : opened)
            w->resize(820, 560);
        QApplication::processEvents();
        return opened;
    }

    CDAQExperiment* DataSet()
    {
        CDaqProject* daq = Container().GetDaqProject(0);
        auto* experiment = daq ? DynamicDowncast<CTALVOExp>(daq->GetChild(0)) : nullptr;
        return experiment ? DynamicDowncast<CDAQExperiment>(experiment->GetChild(0)) : nullptr;
    }
    CAnalysisProject* Results()
    {
        for (int p = 0; p < Container().GetProjectCount(); ++p)
            if (Container().GetProject(p)->GetName() == sample::kResultsProjectName)
                return DynamicDowncast<CAnalysisProject>(Container().GetProject(p));
        return nullptr;
    }
    // The first element in the projects of that stored name.
    CMElement* Named(const std::string& name)
    {
        std::function<CMElement*(CMElement*)> find = [&](CMElement* e) -> CMElement* {
            if (e->GetName() == name)
                return e;
            for (int i = 0; i < e->GetChildCount(); ++i)
                if (CMElement* found = find(e->GetChild(i)))
                    return found;
            return nullptr;
        };
        for (int p = 0; p < Container().GetProjectCount(); ++p)
            if (CMElement* found = find(Container().GetProject(p)))
                return found;
        return nullptr;
    }
    static CMElement* FirstOfType(CMElement* e, int type)
    {
        if (!e || e->GetType() == type)
            return e;
        for (int i = 0; i < e->GetChildCount(); ++i)
            if (CMElement* found = FirstOfType(e->GetChild(i), type))
                return found;
        return nullptr;
    }

    QTemporaryDir dir;
    fs::path root;
    std::unique_ptr<CMainFrame> frame;
    QStringList stored;
};
} // namespace

// Each window a user opens from the sample's tree, in Japanese: the texts the program writes are
// Japanese (the quantity and unit of a map in its title, column heading, chart title and values
// axis; the power-contribution headings), the names stored in the project stay as stored. Switched
// to English with the windows open, they read English again.
TEST_F(JapaneseWindows, WindowsOpenedFromTheTreeWriteTheirTextsInJapanese)
{
    struct Case
    {
        const char* name;
        std::function<CMElement*()> element;
        QStringList japanese; // among the texts shown in Japanese
        QStringList english;  // among them after the switch to English
    };
    const Case cases[] = {
        {"roof-map",
         [&]() -> CMElement* { return DataSet() ? DataSet()->FindRpmFuncByName(sample::kExcited) : nullptr; },
         {QStringLiteral("速度 [dB (基準 1m/s)]"), QStringLiteral("速度 [Roof]"), QStringLiteral("周波数 [Hz]")},
         {QStringLiteral("Velocity [dB (ref=1m/s)]"), QStringLiteral("Velocity [Roof]"), QStringLiteral("Freq. [Hz]")}},
        {"cabin-map",
         [&]() -> CMElement* { return DataSet() ? DataSet()->FindRpmFuncByName(sample::kResponse) : nullptr; },
         {QStringLiteral("音圧 [Front Cabin-R]")},
         {QStringLiteral("Pressure [Front Cabin-R]")}},
        {"input-power",
         [&]() -> CMElement* {
             return Results() ? Results()->GetInputPowerFolder()->FindRpmItem(sample::kExcited) : nullptr;
         },
         {QStringLiteral("入力パワー [dB (基準 1W)]"), QStringLiteral("入力パワー [Roof]")},
         {QStringLiteral("Input Power [dB (ref=1W)]"), QStringLiteral("Input Power [Roof]")}},
        {"power-contributions",
         [&]() -> CMElement* { return FirstOfType(Results(), ElementType::PowerContribution); },
         {QStringLiteral("流入元"), QStringLiteral("流入パワー (W)"), QStringLiteral("流出先"),
          QStringLiteral("流出パワー (W)")},
         {QStringLiteral("Flow in from"), QStringLiteral("Inflow Power (W)")}},
        // A measured data set's levels per local point, over the bands at each RPM.
        {"channel-levels",
         [&]() -> CMElement* { return Named("Channel Levels [Roof]"); },
         {QStringLiteral("チャンネルレベル [Roof] - 速度 - DAQ1"), QStringLiteral("速度 [m/s]"),
          QStringLiteral("周波数 [Hz]"), QStringLiteral("チャンネルレベル [Roof], 1000 RPM")},
         {QStringLiteral("Channel Levels [Roof] - Velocity - DAQ1"), QStringLiteral("Velocity [m/s]"),
          QStringLiteral("Freq. [Hz]"), QStringLiteral("Channel Levels [Roof], 1000 RPM")}},
        {"dominant-paths",
         [&]() -> CMElement* { return FirstOfType(Results(), ElementType::DominantPath); },
         {QStringLiteral("ステップ 1")},
         {QStringLiteral("Step 1")}},
        // A window over an element the program named is titled by the names the tree shows of it
        // and of the result set it was made from, and by its project.
        {"vibration-level",
         [&]() -> CMElement* { return Named("Vibration Level [Floor]"); },
         {QStringLiteral("振動レベル [Floor] - 結果 #7 - Run-up Results")},
         {QStringLiteral("Vibration Level [Floor] - Result #7 - Run-up Results")}},
        // The experiment's map, averaged over its data sets, beside its measured data.
        {"experiment-map",
         [&]() -> CMElement* { return DataSet() ? DataSet()->GetParent() : nullptr; },
         {QStringLiteral("周波数 [Hz]")},
         {QStringLiteral("Freq. [Hz]")}},
    };
    std::vector<std::pair<const Case*, QList<QMdiSubWindow*>>> open;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMElement* element = c.element();
        ASSERT_NE(element, nullptr);
        const QList<QMdiSubWindow*> windows = Open(element);
        ASSERT_FALSE(windows.isEmpty());
        QStringList texts, english;
        for (QMdiSubWindow* w : windows) {
            texts << ShownTexts(*w->widget());
            english << UntranslatedTexts(*w->widget());
            EXPECT_TRUE(w->grab().save(
                QDir(ShotFolder(QStringLiteral("language")))
                    .filePath(
                        QStringLiteral("%1-%2-jpn.png").arg(QString::fromLatin1(c.name)).arg(windows.indexOf(w)))));
        }
        for (const QString& text : texts)
            if (EnglishLeft(text, stored))
                english << text;
        EXPECT_TRUE(english.isEmpty()) << "still English:\n" << english.join(QLatin1Char('\n')).toStdString();
        for (const QString& expected : c.japanese)
            EXPECT_TRUE(texts.contains(expected)) << expected.toStdString() << " not among\n"
                                                  << texts.join(QLatin1Char('\n')).toStdString();
        open.emplace_back(&c, windows);
    }

    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    QApplication::processEvents();
    for (const auto& [c, windows] : open) {
        SCOPED_TRACE(c->name);
        QStringList texts;
        for (QMdiSubWindow* w : windows)
            texts << ShownTexts(*w->widget());
        for (const QString& text : texts)
            EXPECT_FALSE(JapaneseIn(text)) << text.toStdString();
        for (const QString& expected : c->english)
            EXPECT_TRUE(texts.contains(expected)) << expected.toStdString() << " not among\n"
                                                  << texts.join(QLatin1Char('\n')).toStdString();
    }
}

// The result sub-menus, the energy ones among them, and the context menu of a result set name
// their commands in Japanese and list the stored result names or say in Japanese that there is
// none; the project window shows the names stored in the project, which stay as stored.
TEST_F(JapaneseWindows, ResultSubMenusAndTreeShowNoEnglishOfTheirOwn)
{
    QStringList english;
    for (int id : {int(CCalcCommands::ID_CALC_SUBSYSTEM_ENERGY), int(CCalcCommands::ID_CALC_ENERGY_RATIO),
                   int(CCalcCommands::ID_CALC_VIBRATION_LEVEL), int(CCalcCommands::ID_CALC_SPL),
                   int(CCalcCommands::ID_SEARCH_DOMINANT_PATH), int(CCalcCommands::ID_CALC_POWER_CONTRIBUTION)}) {
        for (int p = 0; p < Container().GetProjectCount(); ++p) {
            frame->TreeWindow()->SetActiveIndex(p);
            QMenu* popup = frame->ResultPopup(id);
            ASSERT_NE(popup, nullptr) << id;
            if (EnglishLeft(popup->title(), stored))
                english << popup->title();
            emit popup->aboutToShow();
            ASSERT_FALSE(popup->actions().isEmpty()) << id;
            for (QAction* a : popup->actions())
                if (EnglishLeft(a->text(), stored))
                    english << popup->title() + QStringLiteral(" > ") + a->text();
        }
    }
    Select(FirstOfType(Results(), ElementType::RpmResultSet));
    if (std::unique_ptr<QMenu> menu{frame->CreateResultContextMenu(frame.get())})
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && EnglishLeft(a->text(), stored))
                english << QStringLiteral("context menu > ") + a->text();
    for (int p = 0; p < Container().GetProjectCount(); ++p) {
        frame->TreeWindow()->SetActiveIndex(p);
        CMTreeCtrlEx* tree = frame->TreeWindow()->GetActiveTree();
        ASSERT_NE(tree, nullptr);
        std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
            for (int r = 0; r < tree->model()->rowCount(parent); ++r) {
                const QModelIndex index = tree->model()->index(r, 0, parent);
                const auto* element =
                    static_cast<const CMElement*>(index.data(CProjectTreeModel::ElementRole).value<void*>());
                const QString label = index.data().toString();
                if (!element || (label != QString::fromStdString(element->GetName()) && EnglishLeft(label, stored)))
                    english << QStringLiteral("tree > ") + label;
                walk(index);
            }
        };
        walk(QModelIndex());
    }
    EXPECT_TRUE(english.isEmpty()) << english.join(QLatin1Char('\n')).toStdString();
    frame->TreeWindow()->SetActiveIndex(0);
    frame->show();
    QApplication::processEvents();
    EXPECT_TRUE(frame->grab().save(QDir(ShotFolder(QStringLiteral("language"))).filePath("sample-tree-jpn.png")));
}

namespace {
// The label and tip of every row of every project tree of the frame, with the row's element.
struct TreeRow
{
    const CMElement* element;
    QString label;
    QString tip;
};
std::vector<TreeRow> TreeRows(CMainFrame& frame, int projects)
{
    std::vector<TreeRow> rows;
    for (int p = 0; p < projects; ++p) {
        frame.TreeWindow()->SetActiveIndex(p);
        CMTreeCtrlEx* tree = frame.TreeWindow()->GetActiveTree();
        if (!tree)
            continue;
        std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
            for (int r = 0; r < tree->model()->rowCount(parent); ++r) {
                const QModelIndex index = tree->model()->index(r, 0, parent);
                rows.push_back(
                    {static_cast<const CMElement*>(index.data(CProjectTreeModel::ElementRole).value<void*>()),
                     index.data().toString(), index.data(Qt::ToolTipRole).toString()});
                walk(index);
            }
        };
        walk(QModelIndex());
    }
    return rows;
}
} // namespace

// The names the program gave the sample's elements show in Japanese in the project window and in
// the result sub-menus; the names that are data (subsystems, projects, the vehicle model, channel
// records) show as stored, and no element's stored name changes. Back in English every row shows
// its stored name, and in Japanese again the Japanese one.
TEST_F(JapaneseWindows, TreeLabelsOfTheProgramAreJapaneseAndStoredNamesStay)
{
    CMElement* resultSet = FirstOfType(Results(), ElementType::RpmResultSet);
    CMElement* hybrid = FirstOfType(Container().GetModelProject(), ElementType::HseaModel);
    ASSERT_NE(resultSet, nullptr);
    ASSERT_NE(hybrid, nullptr);
    const auto numberOf = [](const CMElement* e) {
        return QString::fromStdString(e->GetName().substr(e->GetName().rfind('#') + 1));
    };
    const std::pair<std::string, QString> cases[] = {
        {"Channel Levels [Roof]", QStringLiteral("チャンネルレベル [Roof]")},
        {"DataSet1", QStringLiteral("データセット1")},
        {"RPM Signal Data", QStringLiteral("RPM信号データ")},
        {sample::kMeasurementName, QStringLiteral("測定")},
        {"Parameters", QStringLiteral("パラメーター")},
        {"Input Power", QStringLiteral("入力パワー")},
        {"Input Power(Roof-F)", QStringLiteral("入力パワー(Roof-F)")},
        {"Order Levels [Front Cabin-R]", QStringLiteral("次数レベル [Front Cabin-R]")},
        {"Power Contribution [Front Cabin-R]", QStringLiteral("パワー寄与 [Front Cabin-R]")},
        {"Modal Density", QStringLiteral("モード密度")},
        {"Exp. Target ERs", QStringLiteral("実験ターゲットER")},
        // A name inside a name of ours is shown as the tree shows it.
        {"Result [Input Power Data]", QStringLiteral("結果 [入力パワーデータ]")},
        {resultSet->GetName(), QStringLiteral("結果 #") + numberOf(resultSet)},
        {hybrid->GetName(), QStringLiteral("ハイブリッドSEAモデル #") + numberOf(hybrid)},
        // Data: as stored.
        {sample::kExcited, QString::fromLatin1(sample::kExcited)},
        {"Roof:01", QStringLiteral("Roof:01")},
        {"Sample Hatchback", QStringLiteral("Sample Hatchback")},
        {sample::kResultsProjectName, QString::fromLatin1(sample::kResultsProjectName)},
    };
    std::map<const CMElement*, std::string> before;
    const int projects = Container().GetProjectCount();
    for (const TreeRow& row : TreeRows(*frame, projects))
        before[row.element] = row.element->GetName();

    const auto check = [&](bool japanese) -> std::vector<TreeRow> {
        const std::vector<TreeRow> rows = TreeRows(*frame, projects);
        for (const auto& [stored, shown] : cases) {
            SCOPED_TRACE(stored);
            auto row = std::find_if(rows.begin(), rows.end(),
                                    [&](const TreeRow& r) { return r.element->GetName() == stored; });
            EXPECT_NE(row, rows.end());
            if (row == rows.end())
                continue;
            const QString expected = japanese ? shown : QString::fromStdString(stored);
            EXPECT_EQ(row->label, expected);
            EXPECT_EQ(row->tip, expected);
        }
        for (const TreeRow& row : rows)
            EXPECT_EQ(row.element->GetName(), before.at(row.element)) << "a stored name changed";
        return rows;
    };
    const std::vector<TreeRow> rows = check(true);

    // No word of ours left English: what is left once the data's names are taken out. The names of
    // the data are the projects', the model's subsystems' and the vehicle model's.
    QStringList data = SubsystemNames();
    for (int p = 0; p < projects; ++p) {
        data << QString::fromStdString(Container().GetProject(p)->GetName());
        if (CMElement* vehicle = FirstOfType(Container().GetProject(p), ElementType::ModelData))
            data << QString::fromStdString(vehicle->GetName());
    }
    std::sort(data.begin(), data.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    QStringList english;
    for (const TreeRow& row : rows) {
        if (EnglishLeft(row.label, data))
            english << row.label;
    }
    EXPECT_TRUE(english.isEmpty()) << "still English in the tree:\n" << english.join(QLatin1Char('\n')).toStdString();

    // The result sub-menus list the result sets by the names the tree shows.
    frame->TreeWindow()->SetActiveIndex(projects - 1);
    for (int p = 0; p < projects; ++p)
        if (Container().GetProject(p) == Results())
            frame->TreeWindow()->SetActiveIndex(p);
    QMenu* popup = frame->ResultPopup(CCalcCommands::ID_CALC_VIBRATION_LEVEL);
    ASSERT_NE(popup, nullptr);
    emit popup->aboutToShow();
    QStringList listed;
    for (QAction* a : popup->actions())
        listed << a->text();
    EXPECT_TRUE(listed.contains(QStringLiteral("結果 #") + numberOf(resultSet))) << listed.join(',').toStdString();

    // The tree of the DAQ project opened whole, as a user reads it.
    for (int p = 0; p < projects; ++p)
        if (Container().GetProject(p) == Container().GetDaqProject(0)) {
            frame->TreeWindow()->SetActiveIndex(p);
            frame->TreeWindow()->GetActiveTree()->expandAll();
        }
    QApplication::processEvents();
    EXPECT_TRUE(frame->grab().save(QDir(ShotFolder(QStringLiteral("language"))).filePath("daq-tree-jpn.png")));

    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    QApplication::processEvents();
    for (const TreeRow& row : check(false))
        EXPECT_EQ(row.label.toStdString(), row.element->GetName());
    // The menus were made anew in English.
    popup = frame->ResultPopup(CCalcCommands::ID_CALC_VIBRATION_LEVEL);
    ASSERT_NE(popup, nullptr);
    emit popup->aboutToShow();
    listed.clear();
    for (QAction* a : popup->actions())
        listed << a->text();
    EXPECT_TRUE(listed.contains(QString::fromStdString(resultSet->GetName()))) << listed.join(',').toStdString();
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_JAPANESE));
    QApplication::processEvents();
    check(true);
}

// A result set's label is edited from the name the tree shows; left as it was, the stored name stays
// (it is not renamed to its Japanese text); a new name typed is stored as typed.
TEST_F(JapaneseWindows, ALabelLeftAsShownKeepsItsStoredName)
{
    CMElement* resultSet = FirstOfType(Results(), ElementType::RpmResultSet);
    ASSERT_NE(resultSet, nullptr);
    const std::string stored = resultSet->GetName();
    Select(resultSet);
    CMTreeCtrlEx* tree = frame->TreeWindow()->GetActiveTree();
    ASSERT_NE(tree, nullptr);
    const QModelIndex index = tree->Model()->IndexOf(resultSet);
    ASSERT_TRUE(index.flags() & Qt::ItemIsEditable);
    const QString shown = index.data().toString();
    ASSERT_NE(shown.toStdString(), stored);
    frame->GetDocument()->SetModifiedFlag(0);

    const auto editTo = [&](const QString* text) {
        tree->edit(index);
        QApplication::processEvents();
        auto* editor = tree->findChild<QLineEdit*>();
        EXPECT_NE(editor, nullptr);
        if (!editor)
            return QString();
        const QString started = editor->text();
        if (text)
            editor->setText(*text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        return started;
    };
    EXPECT_EQ(editTo(nullptr), shown);
    EXPECT_EQ(resultSet->GetName(), stored);
    EXPECT_FALSE(frame->GetDocument()->IsModified());
    EXPECT_EQ(index.data().toString(), shown);

    const QString typed = QStringLiteral("Run-up A");
    EXPECT_EQ(editTo(&typed), shown);
    EXPECT_EQ(resultSet->GetName(), "Run-up A");
    EXPECT_EQ(index.data().toString(), typed);
    EXPECT_TRUE(frame->GetDocument()->IsModified());
}

// The project saved in a Japanese session holds the names an English session writes: its elements
// are written the same, byte for byte.
TEST_F(JapaneseWindows, SavingInJapaneseWritesTheStoredNames)
{
    const auto saveAs = [&](const fs::path& path) {
        CScriptedPrompts prompts;
        prompts.ChooseFile(path.string());
        EXPECT_TRUE(frame->OnCommand(ID_SAVE_PROJECT_AS));
        EXPECT_TRUE(fs::exists(path)) << Shown(prompts);
    };
    const auto bytes = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    saveAs(root / "japanese.orv");
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    saveAs(root / "english.orv");
    // The history of saves at the end names the two files; all before it is the same.
    const auto elements = [&](const fs::path& path) {
        const std::string all = bytes(path);
        return all.substr(0, all.find("CProjectHistory"));
    };
    const std::string japanese = elements(root / "japanese.orv");
    ASSERT_GT(japanese.size(), 1000u);
    EXPECT_TRUE(japanese == elements(root / "english.orv"));
    for (const char* name : {"Channel Levels [Roof]", "DataSet1", "RPM Signal Data", "Input Power"})
        EXPECT_NE(japanese.find(name), std::string::npos) << name;
}

// View > Sensors... in Japanese: the tool bar's tips and texts, the tabs and the title are
// Japanese, and English again after a switch.
TEST_F(JapaneseWindows, SensorsWindowWritesItsTextsInJapanese)
{
    ASSERT_TRUE(frame->IsCommandEnabled(ID_SENSOR_VIEW));
    ASSERT_TRUE(frame->OnCommand(ID_SENSOR_VIEW));
    CSensorFrame* sensors = CSensorFrame::GetInstance();
    ASSERT_NE(sensors, nullptr);
    auto* sub = qobject_cast<QMdiSubWindow*>(sensors->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->resize(900, 520);
    QApplication::processEvents();
    const auto texts = [&] {
        QStringList out = ShownTexts(*sensors);
        out << sub->windowTitle();
        for (QAction* a : sensors->ToolBar()->actions())
            if (!a->isSeparator())
                out << a->text() << a->toolTip();
        for (QTabWidget* tabs : sensors->findChildren<QTabWidget*>())
            for (int i = 0; i < tabs->count(); ++i)
                out << tabs->tabText(i);
        out.removeAll(QString());
        return out;
    };
    QStringList english;
    const QStringList japanese = texts();
    for (const QString& text : japanese)
        if (EnglishLeft(text, {}))
            english << text;
    EXPECT_TRUE(english.isEmpty()) << "still English:\n" << english.join(QLatin1Char('\n')).toStdString();
    for (const QString& expected :
         {QStringLiteral("センサーリストのインポート..."), QStringLiteral("センサーリスト"), QStringLiteral("バンドル"),
          QStringLiteral("グループ"), QStringLiteral("加速度計"), QStringLiteral("センサー")})
        EXPECT_TRUE(japanese.contains(expected)) << expected.toStdString() << " not among\n"
                                                 << japanese.join(QLatin1Char('\n')).toStdString();
    const QStringList faults = GrabAndCheckLayout(*sub, QStringLiteral("language"), QStringLiteral("SensorsJpn"));
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();

    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    QApplication::processEvents();
    const QStringList back = texts();
    for (const QString& text : back)
        EXPECT_FALSE(JapaneseIn(text)) << text.toStdString();
    for (const QString& expected :
         {QStringLiteral("Import Sensor List..."), QStringLiteral("Sensor List"), QStringLiteral("Bundles"),
          QStringLiteral("Groups"), QStringLiteral("Accelerometers"), QStringLiteral("Sensors")})
        EXPECT_TRUE(back.contains(expected)) << expected.toStdString() << " not among\n"
                                             << back.join(QLatin1Char('\n')).toStdString();
}
