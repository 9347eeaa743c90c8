// Start-up without the event loop: automation starts, a project on the command line, no empty
// project, and the automatic update check that does not hold up the start.
#include "app/TALVODoc.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/LastVersionRequest.h"
#include "common/ProjectLookups.h"
#include "app/ui/TALVOStartup.h"
#include "app/ui/MainFrame.h"
#include "app/ui/DockTreeWnd.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/PromptService.h"
#include "platform/win/ZuRegOptions.h"

#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

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
    {
        CRecordingMessageTarget quiet;
        CMainWindowTargetScope scope(&quiet);
        GetTALVOApp().InitLanguageAndName();
        CTALVODoc doc;
        doc.GetTALVOProject().AddDaqProject();
        doc.GetTALVOProject().SetMaxChannel(12);
        ASSERT_TRUE(doc.OnSaveDocument(file));
    }
    CTALVOStartup startup = InitTALVOApp({file}, {}, false);
    ASSERT_TRUE(startup.ok);
    ASSERT_NE(startup.mainFrame->GetDocument(), nullptr);
    EXPECT_EQ(startup.mainFrame->GetDocument()->GetPathName(), file);
    EXPECT_EQ(startup.mainFrame->TreeWindow()->GetTreeCount(), 1);
    EXPECT_TRUE(startup.mainFrame->windowTitle().startsWith(QStringLiteral("cmd.orv - ")));
    // The opened project's elements find their container.
    CTALVOProject& container = startup.mainFrame->GetDocument()->GetTALVOProject();
    EXPECT_EQ(GetSystemChannelCount(IProjectLookups::FindOwner(container.GetDaqProject(0))), 12);
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
