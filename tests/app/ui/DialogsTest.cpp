// Project dialogs, progress dialog, project history, about box and the tree model.
#include "app/ProjectHistory.h"
#include "app/TALVOApp.h"
#include "app/ui/AboutDlg.h"
#include "acquisition/ui/DlgCalender.h"
#include "app/ui/DlgNewProject.h"
#include "platform/ui/DlgProgress.h"
#include "app/ui/DlgProjectHistory.h"
#include "app/ui/SplashWnd.h"
#include "platform/archive/Archive.h"
#include "platform/ui/ZuDialog.h"
#include "platform/win/PromptService.h"

#include <QCalendarWidget>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(DlgNewProject, ProjectFilePath)
{
    EXPECT_EQ(CDlgNewProject::MakeProjectFilePath("/work/", "Car1"), "/work/Car1/Car1.orv");
    EXPECT_EQ(CDlgNewProject::MakeProjectFilePath("/work///", "Car 1"), "/work/Car 1/Car 1.orv");
    EXPECT_EQ(CDlgNewProject::MakeProjectFilePath("/work", "Car1"), "/work/Car1/Car1.orv");
}

TEST(DlgNewProject, ChecksInOrderAndStaysOpenOnAFault)
{
    ASSERT_TRUE(GetTALVOApp().SetLanguage(LANG_ENGLISH));
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    std::filesystem::create_directories(folder + "/Taken");
    std::ofstream(folder + "/Taken/Taken.orv") << "x";

    struct Case
    {
        std::string folder, name;
        uint32_t message;
    };
    const Case cases[] = {
        {folder, "", 6275},    {"", "Car", 6276},       {"", "", 6275},
        {folder, "A:B", 6042}, {folder, "a/b", 6042},   {folder, "..", 6042},
        {folder, "x?", 6042},  {folder, "Taken", 7096}, {folder, "Car 1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " in " + c.folder);
        CScriptedPrompts prompts;
        prompts.responder = [](const PromptRecord&) { return PromptAnswer{}; };
        CDlgNewProject dlg;
        dlg.EnsureInitialized();
        dlg.FolderEdit()->setText(QString::fromStdString(c.folder));
        dlg.NameEdit()->setText(QString::fromStdString(c.name));
        const int result = dlg.PressOK();
        if (c.message == 0) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(prompts.Count(), 0u);
            EXPECT_EQ(dlg.GetProjectFilePath(), folder + "/Car 1/Car 1.orv");
        } else {
            EXPECT_EQ(result, 0); // still open
            ASSERT_EQ(prompts.Count(), 1u);
            EXPECT_EQ(prompts.Last().stringId, c.message);
        }
    }
}

TEST(DlgNewProject, BrowseAndCancel)
{
    CDlgNewProject dlg;
    dlg.EnsureInitialized();
    {
        CScriptedPrompts prompts;
        prompts.ChooseFolder("/data/projects");
        dlg.OnBrowse();
        EXPECT_EQ(dlg.FolderEdit()->text().toStdString(), "/data/projects");
        EXPECT_EQ(prompts.Last().kind, PromptKind::Folder);
    }
    {
        // A cancelled chooser keeps the folder that was there.
        CScriptedPrompts prompts;
        prompts.Cancel();
        dlg.OnBrowse();
        EXPECT_EQ(dlg.FolderEdit()->text().toStdString(), "/data/projects");
    }
    dlg.NameEdit()->setText("Car");
    EXPECT_EQ(dlg.PressCancel(), IDCANCEL);
    EXPECT_TRUE(dlg.m_folder.empty());
    EXPECT_TRUE(dlg.m_name.empty());
}

TEST(DlgProgress, SingleInstanceRangesAndLatchedCancel)
{
    CDlgProgress* dlg = CDlgProgress::ShowInstance();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(CDlgProgress::ShowInstance(), dlg);
    EXPECT_EQ(dlg->OuterBar()->minimum(), 0);
    EXPECT_EQ(dlg->OuterBar()->maximum(), 100);
    dlg->SetOuterRange(10, 2);
    EXPECT_EQ(dlg->OuterBar()->minimum(), 2);
    EXPECT_EQ(dlg->OuterBar()->maximum(), 10);
    EXPECT_EQ(dlg->OuterBar()->value(), 2);
    dlg->StepTotal();
    EXPECT_EQ(dlg->OuterBar()->value(), 3);
    dlg->SetSubRange(5, 0);
    dlg->SetSubPos(4);
    dlg->StepSub();
    dlg->StepSub(); // never beyond the end
    EXPECT_EQ(dlg->SubBar()->value(), 5);
    dlg->SetMessage("Reading");
    EXPECT_EQ(dlg->MessageLabel()->text(), QStringLiteral("Reading"));

    // Cancel twice before a pump is one cancel; the dialog stays.
    dlg->OnCancel();
    dlg->OnCancel();
    EXPECT_TRUE(dlg->PumpMessages());
    EXPECT_FALSE(dlg->PumpMessages());
    EXPECT_EQ(CDlgProgress::GetInstance(), dlg);
    CDlgProgress::DestroyInstance();
    EXPECT_EQ(CDlgProgress::GetInstance(), nullptr);
    CDlgProgress::DestroyInstance(); // nothing when there is none
}

TEST(ProjectHistory, OldFormatEntriesAndTheirApplicationCodes)
{
    // Schema 1: a count and per entry name, version, path and two times.
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteClass(RUNTIME_CLASS(CProjectHistory));
    }
    // Replace the schema word of the class record (after 0xFFFF) by 1.
    ASSERT_GE(bytes.size(), 4u);
    bytes[2] = 1;
    bytes[3] = 0;
    {
        CArchive ar(&bytes, CArchive::store);
        const char* names[] = {"SOLMOX 2", "MOXQA", "MOX", "VLK Pro", "Other"};
        ar << int32_t(5);
        for (const char* n : names)
            ar << std::string(n) << std::string("1.0") << std::string("C:\\a\\b\\car.orv") << int32_t(100)
               << int32_t(200);
    }
    CArchive in(bytes.data(), bytes.size());
    std::unique_ptr<CProjectHistory> history = in.ReadOwned<CProjectHistory>();
    ASSERT_NE(history, nullptr);
    ASSERT_EQ(history->GetChildCount(), 5);
    const int codes[] = {3, 1, 2, 0, -1};
    for (int i = 0; i < 5; ++i) {
        auto* e = ElementCast<CProjectHistory>(history->GetChild(i));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetType(), codes[i]) << e->GetAppName();
        EXPECT_EQ(e->GetFileName(), "car.orv");
        EXPECT_EQ(e->GetModifiedTime(), 200);
    }
}

TEST(ProjectHistory, ForgedCountIsRefused)
{
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteClass(RUNTIME_CLASS(CProjectHistory));
    }
    bytes[2] = 1;
    bytes[3] = 0;
    {
        CArchive ar(&bytes, CArchive::store);
        ar << int32_t(0x7FFFFFFF);
    }
    CArchive in(bytes.data(), bytes.size());
    EXPECT_THROW(in.ReadOwned<CProjectHistory>(), CArchiveException);
}

TEST(ProjectHistory, CurrentFormatRoundTripAndDialogRows)
{
    CProjectHistory history("ORVEX", kHistoryAppORVEX);
    history.SetPathName("/p/new.orv");
    history.SetAppVersion("1.0.0 build(0)");
    auto* mox = history.AddChild(std::make_unique<CProjectHistory>("MOX", kHistoryAppMOX, &history));
    mox->SetPathName("C:\\a\\b\\car.orv");
    mox->SetMOXModelName("Body");
    mox->SetNote("");
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteObject(&history);
    }
    CArchive in(bytes.data(), bytes.size());
    std::unique_ptr<CProjectHistory> back = in.ReadOwned<CProjectHistory>();
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetChildCount(), 1);
    auto* child = ElementCast<CProjectHistory>(back->GetChild(0));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(CDlgProjectHistory::RowLabel(*child), "car.orv [Body]");
    EXPECT_EQ(CDlgProjectHistory::RowLabel(*back), "new.orv");

    CDlgProjectHistory dlg(back.get());
    dlg.EnsureInitialized();
    ASSERT_EQ(dlg.Tree()->topLevelItemCount(), 1);
    QTreeWidgetItem* top = dlg.Tree()->topLevelItem(0);
    EXPECT_EQ(top->text(0), QStringLiteral("new.orv"));
    EXPECT_EQ(top->text(1), QStringLiteral("1.0.0 build(0)"));
    ASSERT_EQ(top->childCount(), 1);
    EXPECT_EQ(top->child(0)->text(0), QStringLiteral("car.orv [Body]"));
    EXPECT_EQ(CDlgProjectHistory::FormatTime(0).size(), std::string("1970/01/01 [00:00:00]").size());
}

TEST(AboutDlg, ShowsTheVersionInformation)
{
    CAboutDlg dlg;
    dlg.EnsureInitialized();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About ORVEX"));
    EXPECT_TRUE(dlg.VersionLabel()->text().startsWith(QStringLiteral("ORVEX\nVersion. ")));
    EXPECT_TRUE(dlg.VersionLabel()->text().contains(QStringLiteral(" build(")));
    EXPECT_FALSE(dlg.CopyrightLabel()->text().isEmpty());
}

TEST(SplashWnd, NotShownAtStartAndKeysPassWithoutIt)
{
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen(nullptr);
    EXPECT_EQ(CSplashWnd::GetInstance(), nullptr);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&key));
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(nullptr);
    ASSERT_NE(CSplashWnd::GetInstance(), nullptr);
    EXPECT_TRUE(CSplashWnd::PreTranslateAppMessage(&key));
    EXPECT_EQ(CSplashWnd::GetInstance(), nullptr);
    CSplashWnd::EnableSplashScreen(false);
}

TEST(DlgCalender, TheLastSelectedDayComesBack)
{
    const QDate preset(2024, 3, 31); // a day on which daylight saving starts in many places
    const QDate picked(2025, 1, 15);
    struct Case
    {
        std::time_t start;
        std::vector<QDate> clicks;
        bool ok;
        std::time_t expected;
    };
    const Case cases[] = {
        {0, {picked}, true, CDlgCalender::DayStart(picked)},
        {CDlgCalender::DayStart(preset), {preset.addDays(1), picked}, true, CDlgCalender::DayStart(picked)},
        // OK without a click keeps what was set; the calendar showed it.
        {CDlgCalender::DayStart(preset), {}, true, CDlgCalender::DayStart(preset)},
        // Cancel: the caller does not use the member, the result says so.
        {0, {picked}, false, CDlgCalender::DayStart(picked)},
    };
    for (const Case& c : cases) {
        CDlgCalender dlg;
        dlg.m_date = c.start;
        CScriptedDialogs dialogs;
        QDate shown;
        dialogs.Then([&](CZuDialog& dialog) {
            auto& calendar = dynamic_cast<CDlgCalender&>(dialog);
            shown = calendar.Calendar()->selectedDate();
            for (const QDate& day : c.clicks)
                calendar.SelectDay(day);
            return c.ok ? calendar.PressOK() : calendar.PressCancel();
        });
        EXPECT_EQ(dlg.DoModal(), c.ok ? IDOK : IDCANCEL);
        EXPECT_EQ(dialogs.Records().at(0).templateId, CDlgCalender::IDD);
        EXPECT_EQ(shown, c.start ? preset : QDate::currentDate());
        EXPECT_EQ(dlg.m_date, c.expected);
        EXPECT_EQ(QDateTime::fromSecsSinceEpoch(dlg.m_date).time(), QTime(0, 0));
    }
}
