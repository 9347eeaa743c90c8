// Start-up without the event loop: automation starts, a project on the command line (read in a
// window already shown, with its progress), no empty project, and the automatic update check that
// does not hold up the start.
#include "app/TALVODoc.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/LastVersionRequest.h"
#include "common/ProjectLookups.h"
#include "app/ui/StartupWarmUp.h"
#include "app/ui/TALVOStartup.h"
#include "app/ui/MainFrame.h"
#include "app/ui/DockTreeWnd.h"
#include "app/ui/ProgressStatusBar.h"
#include "platform/elements/MElement.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/ZuRegOptions.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QProgressBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QThread>
#include <QWindow>

#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include <gtest/gtest.h>

// The warm-up's threads end whether the start made its application object or stopped before it,
// and the windows go on with the font database they loaded.
TEST(Startup, WarmUpEndsWithOrWithoutTheApplication)
{
    {
        CStartupWarmUp stopped;
    }
    CStartupWarmUp warmUp;
    warmUp.ApplicationMade();
    warmUp.Wait();
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
}

namespace {
// Writes a project file whose document fill makes, with no window to report to.
bool SaveProject(const std::string& file, const std::function<void(CTALVODoc&)>& fill)
{
    CRecordingMessageTarget quiet;
    CMainWindowTargetScope scope(&quiet);
    GetTALVOApp().InitLanguageAndName();
    CTALVODoc doc;
    fill(doc);
    return doc.OnSaveDocument(file);
}
} // namespace

TEST(Startup, AutomationStartShowsNoWindowAndMakesNoDocument)
{
    bool handedOver = false;
    SetAutomationStartHook([&] {
        handedOver = true;
        return true;
    });
    CTALVOStartup startup = InitTALVOApp({"/Automation"}, {}, false);
    SetAutomationStartHook({});
    EXPECT_TRUE(startup.ok);
    EXPECT_TRUE(startup.automation);
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(startup.mainFrame, nullptr);
    EXPECT_FALSE(GetTALVOApp().IsRunningObjectRegistered());
    EXPECT_EQ(GetTALVOApp().GetMainDocument(), nullptr);
    ExitTALVOApp(startup);
}

TEST(Startup, PlainStartMakesNoEmptyProjectAndTakesItsTitle)
{
    CTALVOStartup startup = InitTALVOApp({}, {}, false);
    ASSERT_TRUE(startup.ok);
    ASSERT_NE(startup.mainFrame, nullptr);
    EXPECT_EQ(startup.mainFrame->GetDocument(), nullptr);
    EXPECT_TRUE(startup.mainFrame->windowTitle().startsWith(QString::fromStdString(GetTALVOApp().GetAppName())));
    EXPECT_EQ(GetTALVOApp().GetTemplateCount(), 9);
    EXPECT_EQ(GetMainWindowTarget(), startup.mainFrame.get());
    ExitTALVOApp(startup);
    EXPECT_EQ(GetMainWindowTarget(), nullptr);
}

TEST(Startup, ProjectOnTheCommandLineIsOpened)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("cmd.orv")).toStdString();
    ASSERT_TRUE(SaveProject(file, [](CTALVODoc& doc) {
        doc.GetTALVOProject().AddDaqProject();
        doc.GetTALVOProject().SetMaxChannel(12);
    }));
    // A file this small is read before a bar could be seen: no step of it is painted.
    int progressChanges = 0;
    SetRunningObjectHook([&](CMainFrame& frame) {
        QObject::connect(frame.ProgressBar()->ProgressCtrl(), &QProgressBar::valueChanged,
                         [&progressChanges] { ++progressChanges; });
    });
    CTALVOStartup startup = InitTALVOApp({file}, {}, false);
    SetRunningObjectHook({});
    ASSERT_TRUE(startup.ok);
    ASSERT_NE(startup.mainFrame->GetDocument(), nullptr);
    EXPECT_EQ(progressChanges, 0);
    EXPECT_EQ(startup.mainFrame->GetDocument()->GetPathName(), file);
    EXPECT_EQ(startup.mainFrame->TreeWindow()->GetTreeCount(), 1);
    EXPECT_TRUE(startup.mainFrame->windowTitle().startsWith(QStringLiteral("cmd.orv - ")));
    // The opened project's elements find their container.
    CTALVOProject& container = startup.mainFrame->GetDocument()->GetTALVOProject();
    EXPECT_EQ(GetSystemChannelCount(IProjectLookups::FindOwner(container.GetDaqProject(0))), 12);
    ExitTALVOApp(startup);
}

TEST(Startup, ASmallProjectOnTheCommandLineIsInTheWindowWhenItFirstShows)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("small.orv")).toStdString();
    ASSERT_TRUE(SaveProject(file, [](CTALVODoc& doc) { doc.GetTALVOProject().AddDaqProject(); }));
    // Read while the window was made: the first paint shows the project, not an empty window.
    struct CFirstShow : QObject
    {
        CMainFrame* frame = nullptr;
        int shows = 0, treesAtFirstShow = -1;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Show && shows++ == 0)
                treesAtFirstShow = frame->GetDocument() ? frame->TreeWindow()->GetTreeCount() : 0;
            return false;
        }
    } watch;
    SetRunningObjectHook([&watch](CMainFrame& frame) {
        watch.frame = &frame;
        frame.installEventFilter(&watch);
    });
    CTALVOStartup startup = InitTALVOApp({file});
    SetRunningObjectHook({});
    ASSERT_TRUE(startup.ok);
    startup.mainFrame->removeEventFilter(&watch);
    EXPECT_EQ(watch.treesAtFirstShow, 1);
    ASSERT_NE(startup.mainFrame->GetDocument(), nullptr);
    EXPECT_EQ(startup.mainFrame->GetDocument()->GetPathName(), file);
    ExitTALVOApp(startup);
}

TEST(Startup, ProjectOnTheCommandLineThatCannotBeReadIsToldInTheWindowsThread)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("newer.orv")).toStdString();
    ASSERT_TRUE(SaveProject(file, [](CTALVODoc& doc) { doc.GetTALVOProject().AddDaqProject(); }));
    // A newer program's file: the version byte follows the identity text.
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const size_t pid = bytes.find("PID:");
    ASSERT_NE(pid, std::string::npos);
    bytes[pid + 40] = char(255);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

    // The file is read on another thread while the window is made; what the read reports and why
    // it failed are shown afterwards, as boxes of the window's thread.
    CScriptedPrompts prompts;
    bool onWindowThread = true;
    prompts.responder = [&onWindowThread](const PromptRecord&) -> std::optional<PromptAnswer> {
        onWindowThread = onWindowThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        return std::nullopt;
    };
    CTALVOStartup startup = InitTALVOApp({file}, {}, false);
    ASSERT_TRUE(startup.ok);
    EXPECT_EQ(startup.mainFrame->GetDocument(), nullptr);
    EXPECT_EQ(GetTALVOApp().GetMainDocument(), nullptr);
    EXPECT_EQ(startup.mainFrame->TreeWindow()->GetTreeCount(), 0);
    const std::vector<PromptRecord> shown = prompts.Records();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].stringId, 6450u); // the file is too new
    EXPECT_NE(shown[1].text.find("could not be read"), std::string::npos) << shown[1].text;
    EXPECT_TRUE(onWindowThread);
    ExitTALVOApp(startup);
}

TEST(Startup, LargeProjectShowsTheWindowFirstAndItsProgressWhileItIsRead)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("large.orv")).toStdString();
    ASSERT_TRUE(SaveProject(file, [](CTALVODoc& doc) {
        // Several blocks of the file's reading: 10,000 elements.
        for (int p = 0; p < 4; ++p) {
            CDaqProject* daq = doc.GetTALVOProject().AddDaqProject();
            for (int f = 0; f < 50; ++f) {
                CMElement* folder = daq->AddChild(std::make_unique<CMElement>("Folder " + std::to_string(f), daq, 100));
                for (int r = 0; r < 49; ++r)
                    folder->AddChild(std::make_unique<CMElement>("Result " + std::to_string(r), folder, 51));
            }
        }
    }));
    struct Seen
    {
        int value, maximum;
        bool exposed, hasDocument;
    };
    std::vector<Seen> seen;
    CMainFrame* shown = nullptr;
    SetRunningObjectHook([&](CMainFrame& frame) {
        shown = &frame;
        QProgressBar* bar = frame.ProgressBar()->ProgressCtrl();
        QObject::connect(bar, &QProgressBar::valueChanged, [&seen, &frame, bar](int value) {
            const QWindow* window = frame.windowHandle();
            seen.push_back({value, bar->maximum(), window && window->isExposed(), frame.GetDocument() != nullptr});
        });
    });
    // This file is far below the size that shows its reading; the bar is asked for here.
    const uint64_t from = CMainFrame::LoadProgressFromBytes();
    CMainFrame::SetLoadProgressFromBytes(0);
    CTALVOStartup startup = InitTALVOApp({file});
    CMainFrame::SetLoadProgressFromBytes(from);
    SetRunningObjectHook({});
    ASSERT_TRUE(startup.ok);
    ASSERT_EQ(shown, startup.mainFrame.get());
    ASSERT_NE(startup.mainFrame->GetDocument(), nullptr);
    EXPECT_EQ(startup.mainFrame->TreeWindow()->GetTreeCount(), 4);

    // While the file was read the window was on the screen, the document not yet in it (so no
    // command reached a half-read project), and the bar rose step by step to its end.
    ASSERT_FALSE(seen.empty());
    int rises = 0;
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(seen[i].exposed) << i;
        EXPECT_FALSE(seen[i].hasDocument) << i;
        if (i > 0 && seen[i].value > seen[i - 1].value)
            ++rises;
        if (i > 0 && seen[i].value != 0) { // a new range starts at 0
            EXPECT_GE(seen[i].value, seen[i - 1].value) << i;
        }
    }
    EXPECT_GT(rises, 3);
    EXPECT_GT(seen.back().maximum, 0);
    EXPECT_EQ(seen.back().value, seen.back().maximum);
    // Once read, the bar is gone.
    EXPECT_FALSE(startup.mainFrame->ProgressBar()->IsProgressVisible());
    ExitTALVOApp(startup);
}

TEST(Startup, AutomaticUpdateCheckAsksOnlyAfterTheStart)
{
    // A server that answers with a newer build.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        QTcpSocket* s = server.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, [s] {
            s->readAll();
            const QByteArray body = "999B99999\r\nhttp://127.0.0.1/\r\n";
            s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                     "\r\nConnection: close\r\n\r\n" + body);
            s->disconnectFromHost();
        });
    });
    {
        CZuRegOptions reg(kVelmoraKeyPath);
        ASSERT_TRUE(reg.Open());
        reg.SetString(kUpdateAddressValue,
                      "http://127.0.0.1:" + std::to_string(server.serverPort()) + "/software/orvex2.txt");
    }
    CScriptedPrompts prompts;
    prompts.Answer(IDNO);
    bool asked = false;
    CTALVOStartup startup = InitTALVOApp({}, {}, false);
    ASSERT_TRUE(startup.ok);
    EXPECT_EQ(prompts.Count(), 0u); // the start went on without waiting for the answer
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (prompts.Count() > 0) {
            asked = true;
            loop.quit();
        }
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit); // bound
    poll.start(10);
    loop.exec();
    EXPECT_TRUE(asked);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 6320u);
    ExitTALVOApp(startup);
    CZuRegOptions reg(kVelmoraKeyPath);
    ASSERT_TRUE(reg.Open());
    reg.DeleteValue(kUpdateAddressValue);
}
