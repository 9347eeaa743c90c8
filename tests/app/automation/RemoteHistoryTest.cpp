// The copy of another application's project history, read by member name over the bus.
#include "app/ProjectHistory.h"
#include "platform/automation/AutoObjectRegistry.h"
#include "platform/automation/AutoServer.h"
#include "platform/automation/Dispatch.h"

#include <QtDBus/QDBusConnection>

#include <gtest/gtest.h>

namespace {
// A remote history entry whose only child is itself: a copy must still end.
class CSelfNamingHistory : public CAutoObject
{
public:
    CSelfNamingHistory() : CAutoObject(this) {}
    const CDispatchTable& GetDispatchTable() const override
    {
        auto text = [](const char* value) {
            return [value](CAutoObject&, const CDispArgs&) { return CAutoValue::String(value); };
        };
        static const CDispatchTable table(
            nullptr, {
                         {"ID",
                          DispKind::Property,
                          AutoType::Long,
                          {},
                          [](CAutoObject&, const CDispArgs&) { return CAutoValue::Long(3); }},
                         {"AppName", DispKind::Property, AutoType::String, {}, text("SOLMOX")},
                         {"AppVersion", DispKind::Property, AutoType::String, {}, text("4.2")},
                         {"PathName", DispKind::Property, AutoType::String, {}, text("/data/car.smx")},
                         {"CreationDate",
                          DispKind::Property,
                          AutoType::Date,
                          {},
                          [](CAutoObject&, const CDispArgs&) { return CAutoValue::Date(TimeToAutoDate(1700000000)); }},
                         {"ModifiedDate",
                          DispKind::Property,
                          AutoType::Date,
                          {},
                          [](CAutoObject&, const CDispArgs&) { return CAutoValue::Date(TimeToAutoDate(1700003600)); }},
                         {"MOXModelName", DispKind::Property, AutoType::String, {}, text("Body")},
                         {"Note", DispKind::Property, AutoType::String, {}, text("")},
                         {"ChildCount",
                          DispKind::Property,
                          AutoType::Long,
                          {},
                          [](CAutoObject&, const CDispArgs&) { return CAutoValue::Long(1); }},
                         {"Child",
                          DispKind::Property,
                          AutoType::Object,
                          {AutoType::Long},
                          [](CAutoObject& o, const CDispArgs&) { return CAutoValue::Object(o.GetPath()); }},
                     });
        return table;
    }
};
} // namespace

TEST(RemoteHistory, CopiesValuesAndChildrenAndStopsAtADepthBound)
{
    CAutoServer server(QDBusConnection::sessionBus());
    CAutoObjectRegistry::Instance().Add("/History", std::make_unique<CSelfNamingHistory>());
    ASSERT_TRUE(server.RegisterName("ORVEX.HistoryTest"));
    QDBusConnection client = QDBusConnection::connectToBus(QString::fromUtf8(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                                           QStringLiteral("history-client"));
    {
        CProjectHistory copy(CDispatch(client, "ORVEX.HistoryTest", "/History"));
        EXPECT_EQ(copy.GetType(), 3);
        EXPECT_EQ(copy.GetAppName(), "SOLMOX");
        EXPECT_EQ(copy.GetAppVersion(), "4.2");
        EXPECT_EQ(copy.GetFileName(), "car.smx");
        EXPECT_EQ(copy.GetCreationTime(), 1700000000);
        EXPECT_EQ(copy.GetModifiedTime(), 1700003600);
        EXPECT_EQ(copy.GetMOXModelName(), "Body");
        EXPECT_FALSE(copy.Values().GetData(CProjectHistory::kNote)) << "an empty note leaves no value";
        int depth = 0;
        for (const CMElement* e = &copy; e->GetChildCount() > 0; e = e->GetChild(0))
            ++depth;
        EXPECT_EQ(depth, 64);
    }
    client = QDBusConnection(QStringLiteral("none"));
    QDBusConnection::disconnectFromBus(QStringLiteral("history-client"));
    CAutoObjectRegistry::Instance().Remove("/History");
}
