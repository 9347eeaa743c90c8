// The HTTP client against a small server on 127.0.0.1 that the test runs itself.
#include "platform/net/HttpGet.h"
#include "support/QtTestEnvironment.h"
#include "support/TinyHttpServer.h"

#include <gtest/gtest.h>

namespace {
[[maybe_unused]] ::testing::Environment* const g_environment =
    CQtTestEnvironment::Register<QCoreApplication>("orvex_platform_net_tests");
} // namespace

TEST(HttpGet, AnswerStatusAndBodyCap)
{
    CTinyHttpServer server(CTinyHttpServer::Mode::Answer, CTinyHttpServer::Ok("0123456789"));
    const HttpGetResult got = CHttpGet::Fetch(server.Address("/v.txt?3&AUTO"), "OrvexTest", 5000, 4);
    EXPECT_TRUE(got.ok);
    EXPECT_EQ(got.status, 200);
    EXPECT_EQ(got.body, "0123"); // no more than asked for is kept
    EXPECT_TRUE(server.Request().startsWith("GET /v.txt?3&AUTO HTTP/1.1\r\n")) << server.Request().toStdString();
    EXPECT_TRUE(server.Request().contains("User-Agent: OrvexTest\r\n"));
}

TEST(HttpGet, FailuresFinishOnceWithoutABody)
{
    CTinyHttpServer missing(CTinyHttpServer::Mode::Answer,
                            "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\nConnection: close\r\n\r\ngone");
    const HttpGetResult notFound = CHttpGet::Fetch(missing.Address(), "OrvexTest", 5000);
    EXPECT_FALSE(notFound.ok);
    EXPECT_EQ(notFound.status, 404);
    EXPECT_EQ(notFound.body, "");

    // A redirect is not followed.
    CTinyHttpServer moved(CTinyHttpServer::Mode::Answer,
                          "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:1/\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(CHttpGet::Fetch(moved.Address(), "OrvexTest", 5000).status, 302);

    for (const char* address : {"", "file:///etc/passwd", "ftp://127.0.0.1/x", "not an address"}) {
        CHttpGet get;
        int finished = 0;
        QObject::connect(&get, &CHttpGet::Finished, [&finished] { ++finished; });
        get.Start(address, "OrvexTest", 5000);
        EXPECT_FALSE(get.IsFinished()) << "finishes on the event loop, after the caller connected";
        QCoreApplication::processEvents();
        EXPECT_EQ(finished, 1) << address;
        EXPECT_FALSE(get.Result().ok) << address;
    }
}

TEST(HttpGet, ASilentServerEndsAtTheTimeout)
{
    CTinyHttpServer silent(CTinyHttpServer::Mode::Silent);
    const HttpGetResult got = CHttpGet::Fetch(silent.Address(), "OrvexTest", 300);
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.status, 0);
}
