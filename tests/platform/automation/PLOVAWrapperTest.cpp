// The wrapper of the sibling application PLOVA against our stand-in, which the test bus starts on
// request (its service file names the stand-in).
#include "support/PrivateSessionBus.h"

#include "platform/automation/DispatchException.h"
#include "platform/automation/PLOVAWrapper.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
void ExpectZuComError(const std::function<void()>& call, int code, const char* text)
{
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const CDispatchException& e) {
        EXPECT_EQ(e.GetCode(), code);
        EXPECT_EQ(e.GetDescription(), text);
    }
}
} // namespace

TEST(PLOVAWrapper, WithoutItsObjectsRaisesTheWrapperErrorsAndQuitDoesNothing)
{
    CPLOVAWrapper plova;
    ExpectZuComError([&] { plova.Version(); }, kZuComNoApplication, "ZU_COM:Application not available");
    ExpectZuComError([&] { plova.CommonName(0); }, kZuComNoProject, "ZU_COM:Project not available");
    EXPECT_NO_THROW(plova.Quit());
    EXPECT_FALSE(plova.HasApplication());
}

TEST(PLOVAWrapper, StartsTheSiblingReadsItsDatabaseAndQuitsIt)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("limits.db"));
    QFile file(db);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Roof\t10\t20\t0.5\nFront Cabin-R\t30\t40\n");
    file.close();

    CPLOVAWrapper plova;
    ASSERT_TRUE(plova.Create()) << "the bus starts the stand-in";
    EXPECT_TRUE(plova.Create()) << "a second Create keeps the application";
    EXPECT_EQ(plova.Version(), "2.0.0 build(0041)");
    EXPECT_GT(plova.GetProcessID(), 0);
    EXPECT_FALSE(plova.IsVisible());
    plova.SetVisible(true);
    EXPECT_TRUE(plova.IsVisible()) << "read through the member PLOVA spells IsVisisble";

    ExpectZuComError([&] { plova.CommonNameCount(); }, kZuComNoProject, "ZU_COM:Project not available");
    EXPECT_FALSE(plova.OpenDatabaseFile(dir.filePath(QStringLiteral("missing.db")).toStdString()));
    ASSERT_TRUE(plova.OpenDatabaseFile(db.toStdString()));
    EXPECT_EQ(plova.CommonNameCount(), 2);
    EXPECT_EQ(plova.CommonName(1), "Front Cabin-R");
    EXPECT_EQ(plova.SearchCommonNameIndex("Roof"), 0);
    EXPECT_EQ(plova.SearchCommonNameIndex("Floor"), -1);
    EXPECT_DOUBLE_EQ(plova.GetMinPvValue(0, 100.0, true), 60.0);
    EXPECT_DOUBLE_EQ(plova.GetMaxPvValue(0, 100.0, true), 70.0);
    try {
        plova.CommonName(5);
        FAIL() << "the stand-in has two names";
    } catch (const CDispatchException& e) {
        EXPECT_EQ(e.GetCode(), kAutoErrIndexOutOfRange);
    }

    plova.Quit();
    EXPECT_FALSE(plova.HasApplication());
    EXPECT_FALSE(plova.HasProject());
    EXPECT_TRUE(WaitForBusName(QStringLiteral("PLOVA.Application"), false)) << "the sibling has gone";
}
