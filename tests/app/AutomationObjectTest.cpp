// The automation object the application holds: its release withdraws the name before the object
// goes, happens once, and a new object replaces the old one only after the old one was released.
#include "app/TALVOApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {
// Writes its end into the shared log, so that the order of revoke and release shows.
struct LoggedObject
{
    std::vector<std::string>* log;
    std::string name;
    ~LoggedObject() { log->push_back(name + " released"); }
};

void Hold(std::vector<std::string>& log, const std::string& name)
{
    GetTALVOApp().HoldAutomationObject(std::make_shared<LoggedObject>(&log, name),
                                       [&log, name] { log.push_back(name + " revoked"); });
}
} // namespace

TEST(AutomationObject, ReleaseRevokesThenLetsGoOnce)
{
    std::vector<std::string> log;
    CTALVOApp& app = GetTALVOApp();
    app.ReleaseAutomationObject(); // none held: nothing happens
    EXPECT_FALSE(app.HasAutomationObject());

    Hold(log, "first");
    EXPECT_TRUE(app.HasAutomationObject());
    EXPECT_TRUE(log.empty()) << "held objects stay alive";

    Hold(log, "second");
    EXPECT_EQ(log, (std::vector<std::string>{"first revoked", "first released"}));
    EXPECT_TRUE(app.HasAutomationObject());

    app.ReleaseAutomationObject();
    app.ReleaseAutomationObject();
    EXPECT_FALSE(app.HasAutomationObject());
    EXPECT_EQ(log, (std::vector<std::string>{"first revoked", "first released", "second revoked", "second released"}));
}
