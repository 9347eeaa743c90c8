// The analysis option pages and sheets: what they write back, what they refuse, and that Cancel
// and an untouched OK leave every option as it was.
#include "experiments/CalcOptions.h"
#include "models/HSEAOptions.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/ui/UiTextTranslator.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/RPMOptions.h"
#include "support/WidgetShot.h"
#include "views/ui/PPageAnaRPMSetup.h"
#include "calculation/ui/PPageBandAve.h"
#include "calculation/ui/PPageCalcOptions.h"
#include "calculation/ui/PPageLocalPoint.h"
#include "calculation/ui/PPageOctave.h"
#include "calculation/ui/PPageOrderTracking.h"
#include "calculation/ui/PSheetAnaOptions.h"
#include "views/ui/PSheetOptions.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {
// Answers the input boxes in turn with these texts.
void TypeIntoInputBoxes(CScriptedDialogs& dialogs, std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        dialogs.Then([text](CZuDialog& d) {
            static_cast<CDlgInputBox&>(d).TextEdit()->setText(QString::fromLatin1(text));
            return d.PressOK();
        });
}

std::vector<float> ListOf(const CRPMOptions& o)
{
    return *o.GetRpmList();
}

void Type(QLineEdit* edit, const QString& text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}
} // namespace

TEST(PPageBandAve, BlockLengthIsTheNearestPowerOfTwoAndATieTakesTheLarger)
{
    struct Case
    {
        double fs, lines, range;
        int block;
    };
    const Case cases[] = {
        {12800, 6400, 5000, 16384}, // trunc(16384.0) is itself a power of two
        {12800, 800, 5000, 2048},   // 2048
        {12800, 400, 5000, 1024},
        {12, 1, 1, 16}, // 12 lies halfway between 8 and 16
        {11, 1, 1, 8},
        {13, 1, 1, 16},
        {12800, 800, 0, 0}, // no range: nothing to form
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPPageBandAve::BlockLength(c.fs, c.lines, c.range), c.block)
            << c.fs << " " << c.lines << " " << c.range;

    CCalcOptions live;
    live.SetLineCount(6400.0f);
    CPPageBandAve page;
    page.SetFreqRange(5000.0f);
    page.SetAverageParam(12800.0f);
    page.SetCalcOptions(&live);
    EXPECT_EQ(page.GetBlockLength(), 16384);
    EXPECT_FLOAT_EQ(page.GetResolution(), 0.78125f);

    CZuPropertySheet sheet("Band");
    sheet.AddPage(&page);
    sheet.EnsureInitialized();
    EXPECT_EQ(page.LineCombo()->currentText(), "6400");
    EXPECT_EQ(page.ResolutionEdit()->text(), "0.78125");
    page.OnLineCountChosen("800");
    EXPECT_EQ(page.GetBlockLength(), 2048);
    EXPECT_FLOAT_EQ(page.GetResolution(), 6.25f);
    EXPECT_EQ(live.GetLineCount(), 6400.0f); // only OK writes
    EXPECT_EQ(sheet.PressOK(), IDOK);
    EXPECT_EQ(live.GetLineCount(), 800.0f);
    sheet.RemovePage(&page);
}

TEST(PPageAnaRPMSetup, ListValuesAreSortedWithDuplicatesKept)
{
    CRPMOptions live;
    live.SetMode(CRPMOptions::modeList);
    CPPageAnaRPMSetup page;
    page.SetRPMOptions(&live);
    page.SetMode(0);
    CZuPropertySheet sheet("RPM");
    sheet.AddPage(&page);
    sheet.EnsureInitialized();
    {
        CScriptedDialogs dialogs;
        TypeIntoInputBoxes(dialogs, {"3000", "1000", "2000", "1000", "0"});
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        for (int i = 0; i < 5; ++i)
            page.OnAdd();
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 6107u); // 0 is not an RPM
    }
    EXPECT_EQ(ListOf(page.GetEditedOptions()), (std::vector<float>{1000, 1000, 2000, 3000}));
    EXPECT_EQ(page.RpmList()->count(), 4);
    EXPECT_TRUE(ListOf(live).empty()); // not yet applied
    {
        CScriptedDialogs dialogs;
        dialogs.PressCancel();
        page.OnAdd(); // Cancel adds nothing
    }
    {
        CScriptedPrompts prompts;
        prompts.Answer(IDYES);
        page.RpmList()->setCurrentRow(3);
        page.OnDelete();
    }
    EXPECT_TRUE(sheet.PressApply());
    EXPECT_EQ(ListOf(live), (std::vector<float>{1000, 1000, 2000}));
    sheet.RemovePage(&page);
}

TEST(PPageAnaRPMSetup, ApplyRefusesRangesThatGiveNoAxis)
{
    struct Case
    {
        const char* min;
        const char* max;
        const char* step;
        bool refused;
    };
    const Case cases[] = {
        {"1000", "6000", "0", true},
        {"1000", "6000", "-50", true},
        {"7000", "6000", "50", true},
        {"1000", "6000", "100", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.min) + ".." + c.max + " step " + c.step);
        CRPMOptions live;
        const CRPMOptions before = live;
        CPPageAnaRPMSetup page;
        page.SetRPMOptions(&live);
        page.SetMode(1);
        CZuPropertySheet sheet("RPM");
        sheet.AddPage(&page);
        sheet.EnsureInitialized();
        Type(page.MinEdit(), c.min);
        Type(page.MaxEdit(), c.max);
        Type(page.StepEdit(), c.step);
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        EXPECT_EQ(sheet.PressApply(), !c.refused);
        EXPECT_EQ(prompts.Count(), c.refused ? 1u : 0u);
        if (c.refused)
            EXPECT_TRUE(live == before);
        else
            EXPECT_EQ(live.GetRpmStep(), 100.0f);
        sheet.RemovePage(&page);
    }

    // An empty list refuses Apply with its own message.
    CRPMOptions live;
    live.SetMode(CRPMOptions::modeList);
    CPPageAnaRPMSetup page;
    page.SetRPMOptions(&live);
    CZuPropertySheet sheet("RPM");
    sheet.AddPage(&page);
    sheet.EnsureInitialized();
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    EXPECT_FALSE(sheet.PressApply());
    EXPECT_EQ(prompts.Last().stringId, 6055u);
    sheet.RemovePage(&page);
}

TEST(PPageAnaRPMSetup, ViewOnlyModeNeverWrites)
{
    CRPMOptions live;
    const CRPMOptions before = live;
    CPPageAnaRPMSetup page;
    page.SetRPMOptions(&live);
    page.SetMode(3);
    CZuPropertySheet sheet("RPM");
    sheet.AddPage(&page);
    sheet.EnsureInitialized();
    EXPECT_TRUE(page.MinEdit()->isReadOnly());
    EXPECT_FALSE(page.RangeRadio()->isEnabled());
    page.MinEdit()->setText("1500");
    emit page.MinEdit()->textEdited("1500"); // typed, as far as the page can tell
    EXPECT_EQ(sheet.PressOK(), IDOK);
    EXPECT_TRUE(live == before);
    sheet.RemovePage(&page);
}

TEST(PPageOrderTracking, OrdersWithinTheToleranceAreTheSameOrder)
{
    CCalcOptions live; // orders 1, 2, 3, 4
    const COrderList before = live.GetOrderList();
    CPPageOrderTracking page;
    page.SetCalcOptions(&live);
    CZuPropertySheet sheet("Orders");
    sheet.AddPage(&page);
    sheet.EnsureInitialized();
    {
        CScriptedDialogs dialogs;
        TypeIntoInputBoxes(dialogs, {"2", "2.00000001", "-1", "2.5"});
        CScriptedPrompts prompts;
        prompts.Answer(IDOK);
        for (int i = 0; i < 4; ++i)
            page.OnAdd();
        ASSERT_EQ(prompts.Count(), 1u); // only the negative order is a message
        EXPECT_EQ(prompts.Last().stringId, 6110u);
    }
    EXPECT_EQ(page.GetEditedOptions().GetOrderList().Values(), (std::vector<double>{1, 2, 2.5, 3, 4}));
    EXPECT_TRUE(live.GetOrderList() == before);
    page.OrderList()->setCurrentRow(0);
    page.OnDelete();
    EXPECT_EQ(sheet.PressOK(), IDOK);
    EXPECT_EQ(live.GetOrderList().Values(), (std::vector<double>{2, 2.5, 3, 4}));
    sheet.RemovePage(&page);
}

TEST(PPageOrderTracking, ValueOutsideItsRangeKeepsThePage)
{
    CCalcOptions live;
    CPPageOrderTracking page;
    page.SetCalcOptions(&live);
    CZuPropertySheet sheet("Orders");
    sheet.AddPage(&page);
    sheet.EnsureInitialized();
    Type(page.ValueEdit(), "2000");
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    EXPECT_EQ(sheet.PressOK(), 0); // still open
    EXPECT_EQ(live.GetOrderBandWidth(), 50.0f);
    Type(page.ValueEdit(), "25");
    EXPECT_EQ(sheet.PressOK(), IDOK);
    EXPECT_EQ(live.GetOrderBandWidth(), 25.0f);
    sheet.RemovePage(&page);
}

TEST(PPageOctave, RefinementAgainstTheSheetResolution)
{
    // Kind 2 needs three lines per 50 Hz band; kind 1 three lines per quarter band.
    for (int pos = 0; pos < CPPageOctave::kRefinablePositions; ++pos) {
        EXPECT_TRUE(CPPageOctave::IsRefinable(pos, CPPageOctave::kFiftyHz, 12.5)) << pos;
        EXPECT_FALSE(CPPageOctave::IsRefinable(pos, CPPageOctave::kFiftyHz, 16.7)) << pos;
    }
    EXPECT_FALSE(CPPageOctave::IsRefinable(0, CPPageOctave::kTwelfthOctave, 2.0));
    EXPECT_TRUE(CPPageOctave::IsRefinable(10, CPPageOctave::kTwelfthOctave, 2.0));
    EXPECT_TRUE(CPPageOctave::IsRefinable(10, CPPageOctave::kTwelfthOctave, 0.0));
    // The table ends at position 20: further bands stay as they are.
    EXPECT_FALSE(CPPageOctave::IsRefinable(21, CPPageOctave::kTwelfthOctave, 0.0));
    EXPECT_TRUE(CPPageOctave::IsRefinable(21, CPPageOctave::kAsTheyAre, 0.0));
}

namespace {
struct OctaveFixture
{
    COctaveManager available{0, 100.0, 10000.0}; // third octaves 100 Hz .. 10 kHz
    COctaveManagerEx current{available};
    CCalcOptions options;
    CPPageBandAve bandAve;
    CPPageOctave page;
    CZuPropertySheet sheet{"Bands"};

    explicit OctaveFixture(float lineCount)
    {
        options.SetLineCount(lineCount);
        bandAve.SetAverageParam(12800.0f);
        bandAve.SetFreqRange(5000.0f);
        bandAve.SetCalcOptions(&options);
        page.SetOctaveManagers(&available, &current);
        page.SetReadOnly(false);
        sheet.AddPage(&page);
        sheet.AddPage(&bandAve);
        sheet.EnsureInitialized();
    }
    ~OctaveFixture()
    {
        sheet.RemovePage(&page);
        sheet.RemovePage(&bandAve);
    }
};
} // namespace

TEST(PPageOctave, TickedBandsBecomeFinerBandsOnOK)
{
    OctaveFixture f(6400.0f); // df 0.78125: everything refinable
    ASSERT_EQ(f.available.GetFreqCount(), 21);
    EXPECT_EQ(f.page.GetKind(), CPPageOctave::kAsTheyAre);
    EXPECT_FALSE(f.page.AvailableList()->isEnabled());
    f.page.OnKindChosen(CPPageOctave::kFiftyHz);
    EXPECT_TRUE(f.page.AvailableList()->isEnabled());
    f.page.SetTick(1, true); // 125 Hz: no 50 Hz band at all
    f.page.SetTick(5, true); // 315 Hz: 300 and 350
    EXPECT_EQ(f.page.CurrentList()->count(), 21 - 2 + 2);
    EXPECT_EQ(f.page.CurrentList()->item(4)->text(), "300");
    EXPECT_EQ(f.current.GetFreqCount(), 21); // only OK changes the set
    EXPECT_EQ(f.sheet.PressOK(), IDOK);
    ASSERT_EQ(f.current.GetFreqCount(), 21);
    EXPECT_EQ(f.current.GetDomainType(), 3);
    EXPECT_DOUBLE_EQ(f.current.GetFreq(1), f.available.GetFreq(2)); // the 125 Hz band is gone
    EXPECT_DOUBLE_EQ(f.current.GetFreq(4), 300.0);
    EXPECT_DOUBLE_EQ(f.current.GetLowerFreq(4), 275.0);
    EXPECT_DOUBLE_EQ(f.current.GetUpperFreq(5), 375.0);
    EXPECT_DOUBLE_EQ(f.current.GetFreq(0), f.available.GetFreq(0));
}

TEST(PPageOctave, UntouchedOKKeepsARefinedSet)
{
    COctaveManager available(0, 100.0, 10000.0);
    COctaveManagerEx refined(3);
    refined.AddFreqInfo(93.64, 90.98, 96.39, 3);
    refined.AddFreqInfo(99.21, 96.39, 102.1, 3);
    const COctaveManagerEx before(refined);
    CPPageOctave page;
    page.SetOctaveManagers(&available, &refined);
    page.SetReadOnly(false);
    CZuPropertySheet sheet("Bands");
    sheet.AddPage(&page);
    sheet.EnsureInitialized();
    EXPECT_EQ(page.GetKind(), CPPageOctave::kNone);
    EXPECT_EQ(sheet.PressOK(), IDOK);
    EXPECT_TRUE(refined == before);
    sheet.RemovePage(&page);
}

TEST(PPageOctave, BandsThatCannotBeRefinedLoseTheirTickWithOneMessage)
{
    OctaveFixture f(800.0f); // df 6.25: kind 1 refuses the low bands
    f.page.OnKindChosen(CPPageOctave::kTwelfthOctave);
    CScriptedPrompts prompts;
    prompts.Answer(IDOK);
    f.page.OnTickAll(true);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6081u);
    EXPECT_FALSE(f.page.IsTicked(0));
    EXPECT_TRUE(f.page.IsTicked(20));
    EXPECT_EQ(f.sheet.PressOK(), IDOK);
    // The last band keeps only the quarter bands up to its upper edge.
    EXPECT_LE(f.current.GetFreq(f.current.GetFreqCount() - 1), f.available.GetUpperFreq(20));
}

TEST(PPageLocalPoint, ATargetTickReachesEveryDataSetAndUnchangedSetsStayUntouched)
{
    auto makeOptions = [](const char* own, int ownCount) {
        CCalcOptions o;
        CSubsystemLPInfo mine(ownCount);
        mine.SetName(own);
        CSubsystemLPInfo target(3);
        target.SetName("Front Cabin-R");
        o.GetSubsystemLPInfoList().Add(mine);
        o.GetSubsystemLPInfoList().Add(target);
        return o;
    };
    CCalcOptions a = makeOptions("Roof", 2), b = makeOptions("Floor", 4), c = makeOptions("Dash-C", 1);
    const CCalcOptions bBefore = b;
    std::vector<CCalcOptions*> live{&a, &b, &c};
    CPPageLocalPoint page;
    page.SetLocalPointOptions(&live);
    CPSheetAnaOptions sheet(6012);
    sheet.AddPage(&page);
    sheet.EnsureInitialized();
    EXPECT_FALSE(sheet.HasApplyButton());
    QTreeWidget* tree = page.Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 4); // the shared target, then one root per data set
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Front Cabin-R");
    EXPECT_EQ(tree->topLevelItem(0)->child(1)->text(0), "LP #2");
    tree->topLevelItem(0)->child(1)->setCheckState(0, Qt::Unchecked);
    tree->topLevelItem(1)->child(0)->setCheckState(0, Qt::Unchecked); // Roof LP #1
    EXPECT_EQ(sheet.PressOK(), IDOK);
    for (CCalcOptions* o : live)
        EXPECT_EQ(o->GetSubsystemLPInfoList()[1].GetAt(1), 0);
    EXPECT_EQ(a.GetSubsystemLPInfoList()[0].GetAt(0), 0);
    EXPECT_EQ(b.GetSubsystemLPInfoList()[0], bBefore.GetSubsystemLPInfoList()[0]);
    EXPECT_TRUE(page.IsChanged());
    sheet.RemovePage(&page);

    // Nothing changed: nothing written, no change reported.
    CCalcOptions d = makeOptions("Roof", 2);
    std::vector<CCalcOptions*> one{&d};
    CPPageLocalPoint quiet;
    quiet.SetLocalPointOptions(&one);
    CPSheetAnaOptions sheet2(6012);
    sheet2.AddPage(&quiet);
    sheet2.EnsureInitialized();
    EXPECT_EQ(sheet2.PressOK(), IDOK);
    EXPECT_FALSE(quiet.IsChanged());
    sheet2.RemovePage(&quiet);
}

TEST(PPageLocalPoint, ReadOnlyPageUndoesAClickOnceItIsProcessed)
{
    CCalcOptions o;
    CSubsystemLPInfo mine(2);
    mine.SetName("Roof");
    o.GetSubsystemLPInfoList().Add(mine);
    std::vector<CCalcOptions*> live{&o};
    CPPageLocalPoint page;
    page.SetLocalPointOptions(&live);
    page.SetReadOnly(true);
    CPSheetAnaOptions sheet(6012);
    sheet.AddPage(&page);
    sheet.EnsureInitialized();
    QTreeWidgetItem* lp = page.Tree()->topLevelItem(0)->child(0);
    lp->setCheckState(0, Qt::Unchecked); // what the click did
    EXPECT_EQ(lp->checkState(0), Qt::Unchecked);
    QApplication::processEvents();
    EXPECT_EQ(lp->checkState(0), Qt::Checked);
    sheet.RemovePage(&page);
}

TEST(PSheetOptions, SaveButtonStoresAtOnceAndCancelKeepsIt)
{
    CHSEAOptions options;
    options.HSS_DecimalPlaces = 2;
    options.HSS_TableCellWidth = 10;
    CPSheetOptions sheet("Options", &options);
    EXPECT_EQ(sheet.GetPageCount(), 2); // the DAQ environment page is not shown
    sheet.EnsureInitialized();
    CPPageDataView& page = sheet.m_pageDataView;
    page.DecimalsCombo()->setCurrentIndex(4);
    page.CellWidthEdit()->setValue(20);
    page.OnSaveDefault();
    EXPECT_FALSE(page.SaveDefaultButton()->isEnabled());
    EXPECT_EQ(options.HSS_DecimalPlaces, 4);
    EXPECT_EQ(CHSEAOptions().HSS_DecimalPlaces, 4); // written to the settings
    // The plot-all radio does not re-arm the button; the number format does.
    page.PlotAllGroup()->button(1)->click();
    EXPECT_FALSE(page.SaveDefaultButton()->isEnabled());
    emit page.DecimalsCombo()->activated(3);
    EXPECT_TRUE(page.SaveDefaultButton()->isEnabled());
    EXPECT_EQ(sheet.PressCancel(), IDCANCEL);
    EXPECT_EQ(options.HSS_DecimalPlaces, 4);
    EXPECT_EQ(options.HSS_TableCellWidth, 20);
}

TEST(PSheetOptions, CancelAnywhereLeavesEveryOptionAsItWas)
{
    CHSEAOptions options;
    const CHSEAOptions before(options);
    {
        CPSheetOptions sheet("Options", &options);
        sheet.EnsureInitialized();
        sheet.m_pageDataView.DecimalsCombo()->setCurrentIndex(7);
        sheet.m_pageDataView.ShowInDbCheck()->setChecked(!before.HSS_ShowDataInDB);
        ASSERT_TRUE(sheet.SetActivePage(1));
        sheet.m_pageMeanMethod.MethodGroup()->button(0)->click();
        EXPECT_EQ(sheet.PressCancel(), IDCANCEL);
    }
    EXPECT_EQ(options.HSS_DecimalPlaces, before.HSS_DecimalPlaces);
    EXPECT_EQ(options.HSS_ShowDataInDB, before.HSS_ShowDataInDB);
    EXPECT_EQ(options.m_nMeanMethod, before.m_nMeanMethod);

    CCalcOptions calc;
    const CCalcOptions calcBefore = calc;
    CRPMOptions rpm;
    const CRPMOptions rpmBefore = rpm;
    {
        CPSheetAnaOptions sheet(6012);
        CPPageCalcOptions fft;
        fft.SetCalcOptions(&calc);
        CPPageOrderTracking orders;
        orders.SetCalcOptions(&calc);
        CPPageAnaRPMSetup rpmPage;
        rpmPage.SetRPMOptions(&rpm);
        sheet.AddPage(&fft);
        sheet.AddPage(&orders);
        sheet.AddPage(&rpmPage);
        sheet.EnsureInitialized();
        Type(fft.CornerEdit(), "5");
        fft.OnWindowChosen(4);
        sheet.SetActivePage(1);
        Type(orders.ValueEdit(), "12");
        sheet.SetActivePage(2);
        Type(rpmPage.MaxEdit(), "9000");
        EXPECT_EQ(sheet.PressCancel(), IDCANCEL);
        sheet.RemovePage(&fft);
        sheet.RemovePage(&orders);
        sheet.RemovePage(&rpmPage);
    }
    EXPECT_TRUE(calc == calcBefore);
    EXPECT_TRUE(rpm == rpmBefore);
}

TEST(PSheetOptions, UntouchedOKWritesTheSameValues)
{
    CHSEAOptions options;
    options.WeightingFilter = 0;
    const CHSEAOptions before(options);
    CCalcOptions calc;
    const CCalcOptions calcBefore = calc;
    {
        // Start on the mean-method page: the data-view page is never shown, and must not write
        // values it never read.
        CPSheetOptions sheet("Options", &options, nullptr, 1);
        EXPECT_EQ(sheet.PressOK(), IDOK);
        sheet.SaveOptions();
    }
    EXPECT_EQ(options.WeightingFilter, 0);
    EXPECT_EQ(options.HSS_DecimalPlaces, before.HSS_DecimalPlaces);
    EXPECT_EQ(options.m_nMeanMethod, before.m_nMeanMethod);
    CPSheetAnaOptions sheet(6012);
    CPPageCalcOptions fft;
    fft.SetCalcOptions(&calc);
    sheet.AddPage(&fft);
    EXPECT_EQ(sheet.PressOK(), IDOK);
    EXPECT_TRUE(calc == calcBefore);
    sheet.RemovePage(&fft);
}

TEST(OptionSheets, ScreenshotsHaveEveryControlInside)
{
    CHSEAOptions options;
    CPSheetOptions sheet("Options", &options);
    QStringList faults = GrabAndCheckLayout(sheet, "orvex_views_ui", "PSheetOptions");
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();

    CCalcOptions calc;
    CRPMOptions rpm;
    COctaveManager available(0, 100.0, 10000.0);
    COctaveManagerEx current(available);
    CPSheetAnaOptions ana(6012);
    CPPageCalcOptions fft;
    fft.SetCalcOptions(&calc);
    CPPageBandAve band;
    band.SetCalcOptions(&calc);
    band.SetEnableMask(0x10);
    CPPageOrderTracking orders;
    orders.SetCalcOptions(&calc);
    CPPageAnaRPMSetup rpmPage;
    rpmPage.SetRPMOptions(&rpm);
    CPPageOctave octave;
    octave.SetOctaveManagers(&available, &current);
    octave.SetReadOnly(false);
    for (CZuPropertyPage* p : std::initializer_list<CZuPropertyPage*>{&rpmPage, &fft, &band, &orders, &octave})
        ana.AddPage(p);
    for (int i = 0; i < ana.GetPageCount(); ++i) {
        ASSERT_TRUE(ana.SetActivePage(i) || !ana.IsInitialized());
        faults = GrabAndCheckLayout(ana, "orvex_views_ui", QStringLiteral("PSheetAnaOptions-%1").arg(i));
        EXPECT_TRUE(faults.isEmpty()) << i << ": " << faults.join("; ").toStdString();
    }
    for (CZuPropertyPage* p : std::initializer_list<CZuPropertyPage*>{&rpmPage, &fft, &band, &orders, &octave})
        ana.RemovePage(p);
}

// The options sheet is sized for its English texts; shown in Japanese, whose radio texts are
// longer, it grows so that none of them is cut short.
TEST(OptionSheets, JapaneseTextsAreNotCutShort)
{
    CHSEAOptions options;
    CPSheetOptions sheet("Options", &options);
    sheet.adjustSize();
    sheet.show();
    QApplication::processEvents();
    const uint32_t before = GetLoadedLanguage();
    ASSERT_TRUE(LoadLanguageStrings(LANG_JAPANESE));
    CUiTextTranslator::Translate(&sheet);
    QApplication::processEvents();
    int radios = 0;
    for (QRadioButton* radio : sheet.findChildren<QRadioButton*>()) {
        if (!radio->isVisibleTo(&sheet))
            continue;
        ++radios;
        EXPECT_GE(radio->width(), radio->sizeHint().width()) << radio->text().toStdString();
    }
    EXPECT_GT(radios, 0);
    if (before == 0)
        UnloadLanguageStrings();
    else
        LoadLanguageStrings(before);
}
