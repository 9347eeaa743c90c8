// The update check against a small HTTP server on 127.0.0.1 that the test runs itself.
#include "app/LastVersionRequest.h"
#include "app/VerRes.h"
#include "platform/win/ZuRegOptions.h"

#include "support/TinyHttpServer.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

TEST(UpdateCheck, ObjectNameAndBuildNumbers)
{
    EXPECT_EQ(BuildLastVerObjectName("software/orvex2.txt", 7, "AUTO"), "software/orvex2.txt?7&AUTO");
    struct Case
    {
        const char* running;
        const char* latest;
        int expected;
    };
    const Case cases[] = {
        {"210B12", "210B12", 0}, {"210B12", "210B13", 1}, {"210B12", "", -1},
        {"210B13", "210B12", 0}, {"210B12", "300B5", 0}, // only the build counts
        {"210B12", "15", 1},                             // no "B": the number at the start
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareBuildVersions(c.running, c.latest), c.expected) << c.running << " vs " << c.latest;
}

TEST(UpdateCheck, OnlyWebAddressesAreOpened)
{
    const struct
    {
        const char* address;
        bool web;
    } cases[] = {
        {"http://example.org/download", true},
        {"HTTPS://example.org/x?a=1", true},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"/usr/bin/xterm", false},
        {"example.org/download", false},
        {"", false},
        {"http://", false},
        {"ftp://example.org/x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsWebAddress(c.address), c.web) << c.address;
}

TEST(UpdateCheck, NewerVersionGivesOneAndThePage)
{
    CTinyHttpServer server(CTinyHttpServer::Mode::Answer,
                           CTinyHttpServer::Ok("210B13\r\nhttp://example.org/download\r\n"));
    std::string page;
    EXPECT_EQ(CompareWithLastVersion(server.Address(), kLastVerModeMenu, page, "210B12", 3000), 1);
    EXPECT_EQ(page, "http://example.org/download");
    // The request asks for the object "%s?%d&%s" with the agent of the check.
    EXPECT_TRUE(server.Request().startsWith("GET /software/orvex2.txt?")) << server.Request().toStdString();
    EXPECT_TRUE(server.Request().contains("&MENU HTTP/1.1")) << server.Request().toStdString();
    EXPECT_TRUE(server.Request().contains("User-Agent: GetZuLastVer"));
}

TEST(UpdateCheck, SameVersionGivesZero)
{
    CTinyHttpServer server(CTinyHttpServer::Mode::Answer, CTinyHttpServer::Ok("210B12\nhttp://example.org/\n"));
    std::string page;
    EXPECT_EQ(CompareWithLastVersion(server.Address(), kLastVerModeMenu, page, "210B12", 3000), 0);
}

TEST(UpdateCheck, GarbageAndFailuresGiveMinusOne)
{
    std::string page;
    {
        // Not HTTP at all.
        CTinyHttpServer server(CTinyHttpServer::Mode::Answer, "\x01\x02garbage without a status line");
        EXPECT_EQ(CompareWithLastVersion(server.Address(), kLastVerModeMenu, page, "210B12", 3000), -1);
    }
    {
        // A status other than 200.
        CTinyHttpServer server(CTinyHttpServer::Mode::Answer,
                               "HTTP/1.1 404 Not Found\r\nContent-Length: 7\r\nConnection: close\r\n\r\n210B99\n");
        EXPECT_EQ(CompareWithLastVersion(server.Address(), kLastVerModeMenu, page, "210B12", 3000), -1);
    }
    {
        // 200 with an empty first line.
        CTinyHttpServer server(CTinyHttpServer::Mode::Answer, CTinyHttpServer::Ok("\nhttp://example.org/\n"));
        EXPECT_EQ(CompareWithLastVersion(server.Address(), kLastVerModeMenu, page, "210B12", 3000), -1);
    }
    // An address that is not a web address is never asked.
    EXPECT_EQ(CompareWithLastVersion("file:///etc/hostname", kLastVerModeMenu, page, "210B12", 3000), -1);
}

TEST(UpdateCheck, NoAnswerEndsAtTheTimeout)
{
    CTinyHttpServer server(CTinyHttpServer::Mode::Silent);
    std::string page;
    EXPECT_EQ(CompareWithLastVersion(server.Address(), kLastVerModeMenu, page, "210B12", 300), -1);
}

TEST(UpdateCheck, AutomaticCheckRunsOffTheCallersPath)
{
    CTinyHttpServer server(CTinyHttpServer::Mode::Answer, CTinyHttpServer::Ok("210B13\r\nhttps://example.org/dl\r\n"));
    std::vector<std::string> offered;
    CLastVersionRequest* request = CheckLastVersionAuto(
        server.Address(), true, "210B12", [&](const std::string& p) { offered.push_back(p); }, 3000);
    ASSERT_NE(request, nullptr);
    // Nothing has happened yet: the caller went on at once.
    EXPECT_TRUE(offered.empty());
    QEventLoop loop;
    QObject::connect(request, &CLastVersionRequest::Finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    loop.exec();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], "https://example.org/dl");
    EXPECT_TRUE(server.Request().contains("&AUTO HTTP/1.1"));

    // Switched off, or without an address: no request at all.
    EXPECT_EQ(CheckLastVersionAuto(server.Address(), false, "210B12", {}, 3000), nullptr);
    EXPECT_EQ(CheckLastVersionAuto("", true, "210B12", {}, 3000), nullptr);
}

TEST(UpdateCheck, AddressesComeFromTheSettings)
{
    EXPECT_EQ(GetUpdateCheckAddress(), "");
    {
        CZuRegOptions reg(kVelmoraKeyPath);
        ASSERT_TRUE(reg.Open());
        ASSERT_TRUE(reg.SetString(kUpdateAddressValue, "http://127.0.0.1:1/software/orvex2.txt"));
        ASSERT_TRUE(reg.SetString(kProductPageValue, "http://example.org/orvex"));
    }
    EXPECT_EQ(GetUpdateCheckAddress(), "http://127.0.0.1:1/software/orvex2.txt");
    EXPECT_EQ(GetVersionHistoryAddress(GetProductPageAddress()), "http://example.org/orvex#his");
    CZuRegOptions reg(kVelmoraKeyPath);
    ASSERT_TRUE(reg.Open());
    reg.DeleteValue(kUpdateAddressValue);
    reg.DeleteValue(kProductPageValue);
}

TEST(VerRes, VersionTexts)
{
    CVerRes ver;
    EXPECT_EQ(ver.GetBuildVersionText(), "");
    EXPECT_EQ(ver.GetVersionText(), "");
    ver.Set(2, 1, 0, 12, "ORVEX", "(C)");
    EXPECT_EQ(ver.GetBuildVersionText(), "210B12");
    EXPECT_EQ(ver.GetVersionText(), "2.1.0 build(12)");
    EXPECT_EQ(ver.GetProductVersionText(), "2.1.0");
    EXPECT_TRUE(CVerRes().Read());
    EXPECT_FALSE(GetCaptionVersionText().empty());
}
