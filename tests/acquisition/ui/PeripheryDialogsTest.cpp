// The acquisition's smaller windows: the data-view RPM setting, the DAQ option pages, the
// measurement pictures and the subsystem-sensor table with its bundle choice.
#include <gtest/gtest.h>

#include "../MeasuredFixture.h"
#include "acquisition/DAQ.h"
#include "acquisition/MultiQMXInterface.h"
#include "acquisition/ui/DlgCheckExpPics.h"
#include "acquisition/ui/DlgDaqDbCheck.h"
#include "acquisition/ui/DlgDaqPicture.h"
#include "acquisition/ui/DlgDataViewRpmSetting.h"
#include "acquisition/ui/DlgSelectBundle.h"
#include "acquisition/ui/DlgSubsystemSensorTable.h"
#include "acquisition/ui/PSheetDAQOptions.h"
#include "app/TALVOApp.h"
#include "experiments/DAQConfig.h"
#include "experiments/ExpOptions.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "models/HSEARegOptions.h"
#include "platform/automation/PLOVAWrapper.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/qmx/QmxSimLayout.h"
#include "platform/ui/FlexGridEx.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/RPMOptions.h"
#include "support/PrivateSessionBus.h"
#include "support/WidgetShot.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtDBus/QDBusConnection>
#include <QTableWidget>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class PeripheryDialogs : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(LoadLanguageStrings(9)); }
    static void ExpectShot(QWidget& w, const char* name)
    {
        const QStringList faults = GrabAndCheckLayout(w, ShotFolder("AcquisitionPeriphery"), QString::fromLatin1(name));
        EXPECT_TRUE(faults.isEmpty()) << name << ": " << faults.join("; ").toStdString();
    }
};

// A folder of the test's own, removed afterwards.
struct CTempFolder
{
    CTempFolder()
    {
        path = fs::temp_directory_path() / ("orvex_periphery_" + std::to_string(getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~CTempFolder() { fs::remove_all(path); }
    fs::path path;
};

} // namespace

TEST_F(PeripheryDialogs, RpmSettingWritesOnlyAnOrderedRangeWithAPositiveStep)
{
    CRPMOptions options;
    options.SetMode(1);
    options.SetListStep(25.0f);
    {
        CDlgDataViewRpmSetting dialog(&options);
        dialog.EnsureInitialized();
        EXPECT_EQ(dialog.Edit(CDlgDataViewRpmSetting::IDC_STEP)->text(), "25") << "the list step is shown";
        EXPECT_EQ(dialog.Edit(CDlgDataViewRpmSetting::IDC_MIN)->text(), "1000");
        EXPECT_EQ(dialog.Edit(CDlgDataViewRpmSetting::IDC_MAX)->text(), "6000");
        ExpectShot(dialog, "DlgDataViewRpmSetting");

        struct Case
        {
            const char* min;
            const char* max;
            const char* step;
            uint32_t message;
        };
        const Case refused[] = {
            {"1000", "6000", "0", 7190}, {"1000", "6000", "-50", 7190}, {"3000", "2000", "50", 7195}};
        for (const Case& k : refused) {
            CScriptedPrompts prompts;
            prompts.Answer(IDOK);
            dialog.Edit(CDlgDataViewRpmSetting::IDC_MIN)->setText(k.min);
            dialog.Edit(CDlgDataViewRpmSetting::IDC_MAX)->setText(k.max);
            dialog.Edit(CDlgDataViewRpmSetting::IDC_STEP)->setText(k.step);
            EXPECT_EQ(dialog.PressOK(), 0) << k.min << " " << k.max << " " << k.step;
            EXPECT_EQ(prompts.Last().stringId, k.message);
        }
        EXPECT_EQ(options.GetRpmMin(), 1000.0f) << "nothing written while refused";
        dialog.Edit(CDlgDataViewRpmSetting::IDC_MIN)->setText("2000");
        dialog.Edit(CDlgDataViewRpmSetting::IDC_MAX)->setText("2000");
        dialog.Edit(CDlgDataViewRpmSetting::IDC_STEP)->setText("100");
        EXPECT_EQ(dialog.PressOK(), IDOK);
    }
    EXPECT_EQ(options.GetRpmMin(), 2000.0f);
    EXPECT_EQ(options.GetRpmMax(), 2000.0f);
    EXPECT_EQ(options.GetListStep(), 25.0f) << "the range step is written, in list mode too";
    options.SetMode(0);
    EXPECT_EQ(options.GetRpmStep(), 100.0f);

    CDlgDataViewRpmSetting cancelled(&options);
    cancelled.EnsureInitialized();
    cancelled.Edit(CDlgDataViewRpmSetting::IDC_MIN)->setText("10");
    EXPECT_EQ(cancelled.PressCancel(), IDCANCEL);
    EXPECT_EQ(options.GetRpmMin(), 2000.0f);
}

TEST_F(PeripheryDialogs, DaqOptionPagesOrderTheAxesAndKeepTheGraphDefaults)
{
    EXPECT_EQ(CPSheetDAQOptions::BandAveMask(0, 0), 0x110);
    EXPECT_EQ(CPSheetDAQOptions::BandAveMask(1, 0), 0x120);
    EXPECT_EQ(CPSheetDAQOptions::BandAveMask(0, 1), 0x210);
    EXPECT_EQ(CPSheetDAQOptions::BandAveMask(2, 3), 0x220);

    CMeasuredFixture f;
    auto exp = f.MakeMeasurement(f.AddDataSet("Run 1", 2), 2, 64);
    CExpOptions options;
    options.SetAxisMode(2, 1);
    options.SetAxisRange(2, 1.0, 2.0);
    options.SetAxisMode(3, 1);
    CPSheetDAQOptions sheet("DAQ Options", exp.get(), &options, 2);
    ASSERT_EQ(sheet.GetPageCount(), 4);
    EXPECT_EQ(sheet.GetPage(0)->TemplateId(), CPPageCalcOptions::kTemplateId);
    EXPECT_EQ(sheet.GetPage(1)->TemplateId(), CPPageBandAve::kTemplateId);
    EXPECT_EQ(sheet.GetPage(2)->TemplateId(), 4045);
    EXPECT_EQ(sheet.GetPage(3)->TemplateId(), 4046);

    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog&) {
        CPPageDaqGraph1& g1 = sheet.m_page1;
        EXPECT_FALSE(g1.UpperEdit(0)->isEnabled()) << "axis 1 is automatic";
        EXPECT_TRUE(g1.LowerEdit(1)->isEnabled());
        g1.ModeRadio(0, 1)->click();
        EXPECT_TRUE(g1.UpperEdit(0)->isEnabled());
        g1.ModeRadio(0, 0)->click();
        EXPECT_FALSE(g1.LowerEdit(0)->isEnabled());
        g1.UpperEdit(1)->setText("10");
        g1.LowerEdit(1)->setText("20");
        g1.UpperEdit(2)->setText("5");
        g1.LowerEdit(2)->setText("5");
        ExpectShot(sheet, "PSheetDAQOptions_Graph1");
        EXPECT_TRUE(sheet.SetActivePage(3));
        EXPECT_EQ(g1.UpperEdit(1)->text(), "20") << "leaving the page puts upper above lower";
        EXPECT_EQ(g1.LowerEdit(1)->text(), "10");
        EXPECT_EQ(g1.UpperEdit(2)->text(), "5");
        sheet.m_page2.ColorRadio(1)->click();
        sheet.m_page2.BandRadio(1)->click();
        ExpectShot(sheet, "PSheetDAQOptions_Graph2");
        return sheet.PressOK();
    });
    ASSERT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(sheet.m_page1.SaveToExpOptions(), &options);
    EXPECT_EQ(sheet.m_page2.SaveToExpOptions(), &options);
    EXPECT_EQ(options.GetAxisMode(1), 0);
    EXPECT_EQ(options.GetAxisMode(2), 1);
    EXPECT_EQ(options.GetAxisUpper(2), 20.0);
    EXPECT_EQ(options.GetAxisLower(2), 10.0);
    EXPECT_EQ(options.GetAxisLower(3), 5.0);
    EXPECT_EQ(options.GetGraphColor(), 1);
    EXPECT_EQ(options.GetGraphBandType(), 1);

    // Keep as default: both values are written and read back by the next window's options.
    CHSEARegOptions::SaveDaqGraphBandType(0);
    CHSEARegOptions::SaveDaqGraphColor(0);
    CPPageDaqGraph2& g2 = sheet.m_page2;
    g2.OnKeepDefault();
    EXPECT_FALSE(g2.KeepDefaultButton()->isEnabled());
    EXPECT_EQ(CHSEARegOptions::GetDaqGraphBandType(), 1u);
    EXPECT_EQ(CHSEARegOptions::GetDaqGraphColor(), 1u);
    EXPECT_EQ(CExpOptions().GetGraphColor(), 1);

    // A settings store that cannot be written: message 6074 and the button stays for another try.
    const std::string folder = CZuRegOptions::GetSettingsFolder();
    CZuRegOptions::SetSettingsFolder("/dev/null/orvex");
    g2.KeepDefaultButton()->setEnabled(true);
    CScriptedPrompts prompts;
    prompts.responder = [](const PromptRecord&) { return std::optional<PromptAnswer>(PromptAnswer{IDOK, {}, 0}); };
    g2.OnKeepDefault();
    CZuRegOptions::SetSettingsFolder(folder);
    ASSERT_GE(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6074u);
    EXPECT_TRUE(g2.KeepDefaultButton()->isEnabled());
}

TEST_F(PeripheryDialogs, PictureDialogListsAddsDeletesAndSurvivesBadFiles)
{
    EXPECT_EQ(CDlgDaqPicture::FitToArea(800, 600, 400, 300), QSize(400, 300));
    EXPECT_EQ(CDlgDaqPicture::FitToArea(1000, 100, 400, 300), QSize(400, 40));
    EXPECT_EQ(CDlgDaqPicture::FitToArea(100, 1000, 400, 300), QSize(30, 300));
    EXPECT_TRUE(CDlgDaqPicture::FitToArea(0, 10, 400, 300).isEmpty());

    CTempFolder work;
    const fs::path pictures = work.path / "Pictures";
    fs::create_directories(pictures);
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(QString::fromStdString((pictures / "Fr~1.bmp").string())));
    std::ofstream(pictures / "Fr~3.jpg") << "not a picture";
    std::ofstream(pictures / "FrL~2.jpg") << "another item";
    const fs::path source = work.path / "new.bmp";
    ASSERT_TRUE(image.save(QString::fromStdString(source.string())));

    std::vector<std::string> opened;
    CDlgDaqPicture::SetOpener([&](const std::string& path) {
        opened.push_back(path);
        return true;
    });
    CDlgDaqPicture dialog("Fr", work.path.string());
    dialog.EnsureInitialized();
    EXPECT_EQ(dialog.windowTitle(), "Pictures - [Fr]");
    ASSERT_EQ(dialog.List()->count(), 2);
    const int good = dialog.Names()[0] == "Fr~1.bmp" ? 0 : 1;
    dialog.List()->setCurrentRow(good);
    ASSERT_FALSE(dialog.Preview()->pixmap().isNull());
    EXPECT_EQ(dialog.Preview()->pixmap().size(), QSize(400, 200));
    dialog.List()->setCurrentRow(1 - good);
    EXPECT_TRUE(dialog.Preview()->pixmap().isNull()) << "a broken file shows no picture";
    ExpectShot(dialog, "DlgDaqPicture");

    CScriptedPrompts prompts;
    prompts.ChooseFiles({source.string(), (work.path / "missing.bmp").string()});
    dialog.OnAdd();
    EXPECT_EQ(prompts.Last().file.filter, CDlgDaqPicture::kFilter);
    EXPECT_EQ(dialog.List()->count(), 3);
    EXPECT_TRUE(fs::exists(pictures / "Fr~2.bmp"));

    dialog.List()->setCurrentRow(good);
    dialog.OnOpen();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(fs::path(opened[0]).filename(), dialog.Names()[static_cast<size_t>(good)]);

    prompts.Answer(IDNO);
    dialog.OnDelete();
    EXPECT_EQ(prompts.Last().stringId, 6048u);
    EXPECT_EQ(dialog.List()->count(), 3);
    prompts.Answer(IDYES);
    dialog.OnDelete();
    EXPECT_EQ(dialog.List()->count(), 2);
    EXPECT_FALSE(fs::exists(pictures / "Fr~1.bmp"));
    dialog.List()->setCurrentRow(-1);
    const size_t shown = prompts.Count();
    dialog.OnDelete();
    dialog.OnOpen();
    EXPECT_EQ(prompts.Count(), shown) << "nothing selected: nothing asked";
    EXPECT_TRUE(fs::exists(pictures / "FrL~2.jpg"));

    // A name that would leave the picture folder: said so, nothing listed or added.
    CDlgDaqPicture bad("../Fr", work.path.string());
    prompts.Answer(IDOK);
    bad.EnsureInitialized();
    EXPECT_EQ(prompts.Last().stringId, 7196u);
    EXPECT_EQ(bad.List()->count(), 0);
    EXPECT_FALSE(bad.Button(CDlgDaqPicture::IDC_ADD)->isEnabled());
    CDlgDaqPicture::SetOpener({});
}

TEST_F(PeripheryDialogs, PictureCheckListsSubsystemsWithoutPicturesAndClosesWhenAllHaveOne)
{
    CTempFolder work;
    fs::create_directories(work.path / "Pictures");
    std::ofstream(work.path / "Pictures" / "Fr~1.jpg") << "x";
    const fs::path source = work.path / "rear.jpg";
    std::ofstream(source) << "y";
    CZuSubsystemTable table;
    table.Add("Fr");
    table.Add("Rr");

    CScriptedPrompts prompts;
    CScriptedDialogs dialogs;
    dialogs.Then([&](CZuDialog& d) {
        auto& check = static_cast<CDlgCheckExpPics&>(d);
        EXPECT_EQ(check.List()->count(), 1);
        EXPECT_EQ(check.List()->item(0)->text(), "Rr");
        ExpectShot(check, "DlgCheckExpPics");
        check.List()->setCurrentRow(0);
        prompts.ChooseFiles({source.string()});
        check.OnPicture();
        return check.EndResult();
    });
    dialogs.Then([](CZuDialog& d) {
        static_cast<CDlgDaqPicture&>(d).OnAdd();
        return IDCANCEL;
    });
    CDlgCheckExpPics check(&table, work.path.string());
    EXPECT_EQ(check.DoModal(), IDOK) << "closes itself once every subsystem has a picture";
    EXPECT_TRUE(fs::exists(work.path / "Pictures" / "Rr~1.jpg"));
    EXPECT_EQ(dialogs.Records().size(), 2u);

    CDlgCheckExpPics again(&table, work.path.string());
    EXPECT_EQ(again.DoModal(), IDOK);
    EXPECT_EQ(dialogs.Records().size(), 2u) << "nothing to show";
}

TEST_F(PeripheryDialogs, SubsystemSensorTableChecksBundlesAndChannelsBeforeItCloses)
{
    // Without units the table opens read-only.
    int key = 0;
    {
        CScriptedPrompts prompts;
        CScriptedDialogs dialogs;
        dialogs.PressCancel(); // the connection dialog
        CDlgSubsystemSensorTable* table = CDlgSubsystemSensorTable::CreateInstance(&key, nullptr);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(CDlgSubsystemSensorTable::CreateInstance(&key, nullptr), nullptr) << "one table per key";
        EXPECT_EQ(CDlgSubsystemSensorTable::GetInstance(&key), table);
        table->EnsureInitialized();
        EXPECT_TRUE(table->IsReadOnly());
        EXPECT_FALSE(table->SubsystemList()->isEnabled());
        EXPECT_TRUE(CDlgSubsystemSensorTable::DestroyInstance(&key));
        EXPECT_EQ(CDlgSubsystemSensorTable::GetInstance(&key), nullptr);
        EXPECT_FALSE(CDlgSubsystemSensorTable::DestroyInstance(&key));
    }

    // Units 00001-00008 with two channels each on the program's interface.
    WriteProfileString(CQmxSimLayout::kSettingsSection, "10.0.0.1", "boards=4+4; serial=1; address=10.0.0.1");
    WriteProfileString("QMX", "IP", "10.0.0.1");
    CMultiQMXInterface* units = CDAQ::GetMultiInterface();
    ASSERT_TRUE(units && units->AddUnit() == 1 && units->MergeUnitInfo());
    struct Disconnect
    {
        ~Disconnect() { CDAQ::Destroy(); }
    } disconnect;
    const CQmxBlixChMgr& inventory = units->GetChannelManager();

    CSensorProject sensors;
    for (const char* id : {"S1", "S2", "S3", "S4"}) {
        tagSENSORINFO info;
        info.ID = id;
        info.ChannelInfo.DataType = 7;
        ASSERT_NE(sensors.AddSensor(info), nullptr);
    }
    std::vector<CSensorBundle*> bundles;
    for (const char* id : {"00001-A", "00002-B", "00003-C", "00004-D", "00005-E"})
        bundles.push_back(sensors.AddBundle(id));
    for (const char* s : {"S1", "S2"})
        bundles[0]->AddSensor(s);
    for (const char* s : {"S3", "S4"})
        bundles[1]->AddSensor(s);
    CSensorGroup group;
    group.SetMember({"S1", bundles[0]->GetNumber(), 0, 0, 0}, 16);
    group.SetMember({"S2", bundles[0]->GetNumber(), 1, 1, 0}, 16);
    group.SetMember({"S7", bundles[0]->GetNumber(), 2, 2, 0}, 16); // not in the catalogue
    for (CSensorBundle* b : bundles)
        group.AddBundle(b->GetNumber());

    CScriptedPrompts prompts;
    CDlgSubsystemSensorTable* table = CDlgSubsystemSensorTable::CreateInstance(&key, nullptr);
    ASSERT_NE(table, nullptr);
    table->SetData({nullptr, &sensors, 16, {{"Fr", &group, &inventory, true}}});
    std::vector<int> closed;
    table->onClosed = [&](int code) { closed.push_back(code); };
    prompts.Answer(IDOK);
    table->Create();
    EXPECT_EQ(prompts.Last().text, "Sensor not found.\n\nSensor ID: S7");
    QTableWidget* list = table->SubsystemList();
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 1)->text(), "A");
    ASSERT_EQ(list->columnCount(), 6);
    EXPECT_EQ(list->horizontalHeaderItem(5)->text(), "BLIX 5") << "a fifth bundle gets a column of its own";
    CFlexGridEx* grid = table->Grid();
    EXPECT_EQ(grid->GetRows(), 4);
    EXPECT_EQ(grid->GetCols(), 3);
    EXPECT_EQ(grid->GetTextMatrix(0, 2), "LP#2");
    EXPECT_EQ(grid->GetTextMatrix(1, 0), "Fr");
    EXPECT_EQ(grid->GetTextMatrix(2, 1), "S1");
    EXPECT_FALSE(grid->GetTextMatrix(1, 1).empty());
    ExpectShot(*table, "DlgSubsystemSensorTable");

    // The channel of LP 1 moved onto the channel of LP 2: the same sensor twice.
    table->OnGridCell(1, 1);
    ASSERT_EQ(table->ChannelCombo()->count(), 10) << "two channels of each bundle's unit";
    EXPECT_EQ(table->ChannelCombo()->currentIndex(), 0);
    EXPECT_EQ(table->ChannelCombo()->itemText(1), "1-2");
    table->OnChannelChosen(1);
    EXPECT_EQ(grid->GetTextMatrix(2, 1), "S2");
    table->OnGridCell(2, 1);
    EXPECT_EQ(table->ChannelCombo()->count(), 0) << "only the channel row offers channels";
    prompts.Answer(IDOK);
    table->PressOK();
    EXPECT_EQ(prompts.Last().stringId, 7104u);
    EXPECT_TRUE(closed.empty());

    // Every bundle unticked: no bundle, refused.
    CScriptedDialogs dialogs;
    dialogs.Then([](CZuDialog& d) {
        auto& select = static_cast<CDlgSelectBundle&>(d);
        EXPECT_GE(select.List()->rowCount(), 5);
        for (int r = 0; r < select.List()->rowCount(); ++r)
            select.List()->item(r, 0)->setCheckState(Qt::Unchecked);
        return select.PressOK();
    });
    table->OnSelectBundle();
    EXPECT_EQ(list->item(0, 1)->text(), "");
    prompts.Answer(IDOK);
    table->PressOK();
    EXPECT_EQ(prompts.Last().stringId, 7007u);

    // Bundle B ticked: its sensors on unit 2's channels, accepted.
    dialogs.Then([&](CZuDialog& d) {
        auto& select = static_cast<CDlgSelectBundle&>(d);
        ExpectShot(select, "DlgSelectBundle");
        select.List()->item(1, 0)->setCheckState(Qt::Checked);
        return select.PressOK();
    });
    table->OnSelectBundle();
    EXPECT_EQ(list->item(0, 1)->text(), "B");
    EXPECT_EQ(grid->GetTextMatrix(2, 2), "S4");
    std::unique_ptr<CSensorGroup> chosen;
    table->onClosed = [&](int code) {
        closed.push_back(code);
        chosen = CDlgSubsystemSensorTable::GetInstance(&key)->LookupSubsystem("Fr");
    };
    table->PressOK();
    EXPECT_EQ(closed, std::vector<int>{1});
    ASSERT_NE(chosen, nullptr);
    ASSERT_EQ(chosen->GetMemberCount(), 2);
    EXPECT_EQ(chosen->GetMember(0).text, "S3");
    EXPECT_EQ(chosen->GetMember(0).channel, 2);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CDlgSubsystemSensorTable::GetInstance(&key), nullptr) << "a modeless table goes when it closes";
    EXPECT_EQ(dialogs.Unexpected(), 0u);
}

TEST_F(PeripheryDialogs, DatabaseCheckStoresTheChoiceAndChecksAgainstPlova)
{
    CPrivateSessionBus bus;
    QString error;
    ASSERT_TRUE(bus.Start(&error)) << error.toStdString();
    ASSERT_TRUE(bus.AddService(QStringLiteral("PLOVA.Application"), QStringLiteral(ORVEX_PLOVA_STANDIN)));

    CMeasuredFixture f;
    CDAQConfig* config = f.daq->GetDAQConfig();
    config->SetOption60(0);
    config->SetRpmLow(1000);
    config->SetRpmHigh(2000);
    config->SetRpmMargin(300);
    const fs::path database = f.dir / "limits.txt";
    std::ofstream(database) << f.structure << "\t1\t2\n";

    CScriptedPrompts prompts;
    {
        CDlgDaqDbCheck dialog(f.daq);
        dialog.EnsureInitialized();
        QComboBox* rpm = dialog.RpmCombo();
        ASSERT_EQ(rpm->count(), 4);
        EXPECT_EQ(rpm->itemText(3), "1900");
        EXPECT_TRUE(dialog.SecondEdit()->isEnabled());
        EXPECT_FALSE(dialog.MappingButton()->isEnabled()) << "no mapping editor in this program part";

        prompts.ChooseFile(database.string());
        dialog.OnBrowse();
        EXPECT_EQ(prompts.Last().file.title, CDlgDaqDbCheck::kBrowseTitle);
        EXPECT_EQ(dialog.PathEdit()->text().toStdString(), database.string());
        const CZuSubsystemTable* model = f.container.GetModelSubsystemTable();
        ASSERT_NE(model, nullptr);
        ASSERT_EQ(static_cast<int>(dialog.m_mapping.size()), model->GetCount());
        for (int i = 0; i < model->GetCount(); ++i)
            EXPECT_EQ(dialog.m_mapping[static_cast<size_t>(i)], (*model)[i] == f.structure ? 0 : -1) << (*model)[i];
        ExpectShot(dialog, "DlgDaqDbCheck");

        rpm->setCurrentIndex(2);
        dialog.SecondCheck()->setChecked(true);
        dialog.SecondEdit()->setText("1900");
        dialog.PathEdit()->setText(QString::fromStdString((f.dir / "missing.txt").string()));
        prompts.Answer(IDOK);
        EXPECT_EQ(dialog.PressOK(), 0);
        EXPECT_EQ(prompts.Last().stringId, 7065u);
        EXPECT_TRUE(f.daq->GetExtraText().empty()) << "nothing stored";

        dialog.PathEdit()->setText(QString::fromStdString(database.string()));
        prompts.Answer(IDOK);
        EXPECT_EQ(dialog.PressOK(), IDOK);
        EXPECT_EQ(prompts.Last().stringId, 6168u);
        EXPECT_EQ(f.daq->GetExtraText(), database.string());
        EXPECT_EQ(f.daq->GetExtraValue(0), 1600.0);
        EXPECT_EQ(f.daq->GetExtraValue(1), 1900.0);
        EXPECT_EQ(f.daq->GetExtraList(), dialog.m_mapping);
    }

    // Constant RPM: the one RPM offered, the second value always stored as 0.
    config->SetOption60(1);
    config->SetRpmRef(3000);
    {
        CDlgDaqDbCheck dialog(f.daq);
        dialog.EnsureInitialized();
        ASSERT_EQ(dialog.RpmCombo()->count(), 1);
        EXPECT_EQ(dialog.RpmCombo()->currentText(), "3000");
        EXPECT_FALSE(dialog.SecondEdit()->isEnabled());
        dialog.SecondCheck()->setChecked(true);
        dialog.SecondEdit()->setText("500");
        prompts.Answer(IDOK);
        EXPECT_EQ(dialog.PressOK(), IDOK);
        EXPECT_EQ(f.daq->GetExtraValue(0), 3000.0);
        EXPECT_EQ(f.daq->GetExtraValue(1), 0.0);
    }

    // PLOVA stalls on its searches: the database is not taken, the user is told, and the dialog
    // is back within the call's time-out.
    {
        CDispatch plova;
        ASSERT_TRUE(plova.CreateDispatch(kPlovaProgId, QDBusConnection::sessionBus()));
        CDispParams on(1);
        on.SetBool(0, true);
        plova.Call("AnswerNoSearches", &on);
        CPLOVAWrapper* checker = GetTALVOApp().GetPlovaDataChecker();
        ASSERT_NE(checker, nullptr);
        checker->SetCallTimeout(300);
        CDlgDaqDbCheck dialog(f.daq);
        dialog.EnsureInitialized();
        const QString before = dialog.PathEdit()->text();
        const fs::path other = f.dir / "other-limits.txt";
        std::ofstream(other) << f.structure << "\t1\t2\n";
        const size_t shown = prompts.Count();
        prompts.ChooseFile(other.string());
        prompts.Answer(IDOK);
        QElapsedTimer clock;
        clock.start();
        dialog.OnBrowse();
        EXPECT_LT(clock.elapsed(), 10000);
        ASSERT_EQ(prompts.Count(), shown + 2) << "the file chooser, then the failure";
        EXPECT_NE(prompts.Last().text.find("Failed to run PLOVA."), std::string::npos) << prompts.Last().text;
        EXPECT_EQ(dialog.PathEdit()->text(), before);
        EXPECT_TRUE(dialog.m_mapping.empty());
        CDispParams off(1);
        off.SetBool(0, false);
        plova.Call("AnswerNoSearches", &off);
        checker->SetCallTimeout(10000);
    }

    // A run-up whose step is 0 offers nothing and says why.
    config->SetOption60(0);
    config->SetRpmMargin(0);
    prompts.Answer(IDOK);
    CDlgDaqDbCheck stepless(f.daq);
    stepless.EnsureInitialized();
    EXPECT_EQ(prompts.Last().stringId, 7190u);
    EXPECT_EQ(stepless.RpmCombo()->count(), 0);
}
