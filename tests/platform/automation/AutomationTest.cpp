// The automation layer: values and their conversions, dispatch tables, argument blocks, the
// server on a private bus driven by gdbus (an independent client) and by our dispatch helpers.
#include "support/GdbusCall.h"

#include "platform/automation/AutoObjectRegistry.h"
#include "platform/automation/AutoServer.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/DispatchException.h"
#include "platform/win/ObjectLifetime.h"
#include "platform/win/StringIds.h"

#include <QEventLoop>
#include <QTimer>
#include <QtDBus/QDBusConnection>

#include <gtest/gtest.h>

#include <memory>

namespace {
// ---- a small object model of our own: a base class with a name and a count, a derived one ----
struct Thing
{
    std::string name = "thing";
    std::vector<double> items{1.5, 2.5, 3.5};
};

class CThingBase : public CAutoObject
{
public:
    explicit CThingBase(Thing* t) : CAutoObject(t), m_thing(t) {}
    static const CDispatchTable& BaseTable()
    {
        static const CDispatchTable table(
            nullptr, {
                         {"Name",
                          DispKind::PropertyRW,
                          AutoType::String,
                          {},
                          [](CAutoObject& o, const CDispArgs&) { return CAutoValue::String(T(o).name); },
                          [](CAutoObject& o, const CDispArgs&, const CAutoValue& v) { v.ToString(T(o).name); }},
                         {"Count",
                          DispKind::Property,
                          AutoType::Long,
                          {},
                          [](CAutoObject& o, const CDispArgs&) {
                              return CAutoValue::Long(static_cast<int32_t>(T(o).items.size()));
                          },
                          {}},
                     });
        return table;
    }
    static Thing& T(CAutoObject& o) { return *static_cast<CThingBase&>(o).m_thing; }

private:
    Thing* m_thing;
};

class CThing : public CThingBase
{
public:
    explicit CThing(Thing* t) : CThingBase(t) {}
    const CDispatchTable& GetDispatchTable() const override
    {
        static const CDispatchTable table(
            &BaseTable(), {
                              {"Item",
                               DispKind::Property,
                               AutoType::Real,
                               {AutoType::Long},
                               [](CAutoObject& o, const CDispArgs& a) {
                                   const int32_t i = a.Long(0);
                                   if (i < 0 || i >= static_cast<int32_t>(T(o).items.size()))
                                       ZfxThrowOleDispatchException(kAutoErrIndexOutOfRange,
                                                                    IDS_AUTO_INDEX_OUT_OF_RANGE, 1);
                                   return CAutoValue::Real(T(o).items[static_cast<size_t>(i)]);
                               },
                               {}},
                              {"Items",
                               DispKind::Property,
                               AutoType::RealArray,
                               {},
                               [](CAutoObject& o, const CDispArgs&) { return CAutoValue::RealArray(T(o).items); },
                               {}},
                              {"Describe",
                               DispKind::Method,
                               AutoType::String,
                               {AutoType::Variant},
                               [](CAutoObject&, const CDispArgs& a) {
                                   return CAutoValue::String(a.IsMissing(0) ? "missing" : "given " + a.String(0));
                               },
                               {}},
                          });
        return table;
    }
};

class ServedThing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_server = std::make_unique<CAutoServer>(QDBusConnection::sessionBus());
        CAutoObjectRegistry::Instance().Add(kApplicationPath, std::make_unique<CThing>(&m_thing));
        ASSERT_TRUE(m_server->RegisterName("ORVEX.Test"));
        m_client = QDBusConnection::connectToBus(QString::fromUtf8(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                                 QStringLiteral("test-client"));
        ASSERT_TRUE(m_client.isConnected());
        m_app = CDispatch(m_client, "ORVEX.Test", kApplicationPath);
    }
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("test-client"));
        m_server.reset();
        CAutoObjectRegistry::Instance().Clear();
    }
    GdbusResult Call(const QString& method, const QStringList& args = {}, const QString& path = kApplicationPath)
    {
        return GdbusCall(QStringLiteral("ORVEX.Test"), path, method, args);
    }

    Thing m_thing;
    std::unique_ptr<CAutoServer> m_server;
    QDBusConnection m_client{QStringLiteral("none")};
    CDispatch m_app;
};
} // namespace

TEST(AutoValue, ConvertsByTheAutomationRules)
{
    struct Case
    {
        CAutoValue from;
        AutoType to;
        bool ok;
        CAutoValue expected;
    };
    const Case cases[] = {
        {CAutoValue::Real(2.5), AutoType::Long, true, CAutoValue::Long(2)}, // half to even
        {CAutoValue::Real(3.5), AutoType::Long, true, CAutoValue::Long(4)},
        {CAutoValue::String(" 42 "), AutoType::Long, true, CAutoValue::Long(42)},
        {CAutoValue::String("4x"), AutoType::Long, false, {}},
        {CAutoValue::Real(1e12), AutoType::Long, false, {}},
        {CAutoValue::Long(70000), AutoType::Short, false, {}},
        {CAutoValue::Long(7), AutoType::String, true, CAutoValue::String("7")},
        {CAutoValue::Real(0.25), AutoType::String, true, CAutoValue::String("0.25")},
        {CAutoValue::Long(5), AutoType::Bool, true, CAutoValue::Bool(true)},
        {CAutoValue::Bool(true), AutoType::Long, true, CAutoValue::Long(-1)},
        {CAutoValue::String("abc"), AutoType::Real, false, {}},
        {CAutoValue::Object("/Objects/1"), AutoType::Long, false, {}},
        {CAutoValue(), AutoType::Object, true, CAutoValue::Object({})},
    };
    for (const Case& c : cases) {
        CAutoValue out;
        EXPECT_EQ(c.from.ChangeType(c.to, out), c.ok) << static_cast<int>(c.to);
        if (c.ok) {
            EXPECT_TRUE(out == c.expected) << out.RawText() << " " << out.RawLong();
        }
    }
    EXPECT_TRUE(CAutoValue::Object({}).IsNothing());
    EXPECT_TRUE(CAutoValue::Missing().IsMissing());
}

TEST(DispatchTable, IdsArePositionsWithTheClassDepthAndNamesIgnoreCase)
{
    Thing t;
    CThing thing(&t);
    const CDispatchTable& table = thing.GetDispatchTable();
    EXPECT_EQ(table.GetIDOfName("Item"), 1);
    EXPECT_EQ(table.GetIDOfName("DESCRIBE"), 3);
    EXPECT_EQ(table.GetIDOfName("name"), (1 << 16) | 1);
    EXPECT_EQ(table.GetIDOfName("Count"), (1 << 16) | 2);
    EXPECT_EQ(table.GetIDOfName("Nope"), DISPID_UNKNOWN);
    EXPECT_EQ(table.Member((1 << 16) | 2)->name, "Count");
    EXPECT_EQ(table.Member((2 << 16) | 1), nullptr);
    EXPECT_EQ(table.Member(4), nullptr);
}

TEST(DispatchTable, InvokeChecksKindCountAndTypes)
{
    Thing t;
    CThing thing(&t);
    EXPECT_EQ(thing.Invoke(1, DISPATCH_PROPERTYGET, {CAutoValue::String("1")}).RawReal(), 2.5);
    try {
        thing.Invoke(1, DISPATCH_PROPERTYGET, {CAutoValue::String("one")});
        FAIL() << "a text that is no number must not pass";
    } catch (const CDispatchException& e) {
        EXPECT_EQ(e.GetCode(), kAutoErrTypeMismatch);
        EXPECT_EQ(e.GetArgument(), 1);
        EXPECT_EQ(e.GetDescription(), "The argument has the wrong type.");
    }
    EXPECT_THROW(thing.Invoke(1, DISPATCH_PROPERTYGET, {}), COleException);                // too few
    EXPECT_THROW(thing.Invoke((1 << 16) | 2, DISPATCH_PROPERTYPUT, {CAutoValue::Long(1)}), // read-only
                 COleException);
    EXPECT_EQ(thing.Invoke(3, DISPATCH_METHOD, {}).RawText(), "missing");
    thing.Invoke((1 << 16) | 1, DISPATCH_PROPERTYPUT, {CAutoValue::String("renamed")});
    EXPECT_EQ(t.name, "renamed");
}

TEST(DispParams, KeepsPositionsReversedAndMarksPropertyPuts)
{
    CDispParams p(3);
    p.SetString(0, "a");
    p.SetLong(1, 1);
    p.SetDouble(2, 2.0);
    EXPECT_EQ(p.ArrayEntry(0).RawReal(), 2.0);
    EXPECT_EQ(p.ArrayEntry(1).RawLong(), 1);
    EXPECT_EQ(p.ArrayEntry(2).RawText(), "a");
    EXPECT_EQ(p.CallOrder().front().RawText(), "a");

    CDispParams b(1);
    b.SetBool(0, 5);
    EXPECT_EQ(b.Arg(0).RawLong(), -1);
    const int16_t s = 7;
    b.SetArg(0, 2, &s);
    EXPECT_EQ(b.Arg(0).GetType(), AutoType::Short);

    p.PrepareNamedArgs(DISPATCH_PROPERTYPUT);
    EXPECT_EQ(p.NamedArgs(), std::vector<int32_t>{DISPID_PROPERTYPUT});
    p.PrepareNamedArgs(DISPATCH_METHOD);
    EXPECT_TRUE(p.NamedArgs().empty());

    // Growing keeps the array's entries at its beginning; positions count from its end.
    p.SetSize(4);
    EXPECT_EQ(p.ArrayEntry(0).RawReal(), 2.0);
    EXPECT_TRUE(p.Arg(0).IsEmpty());
    p.SetSize(0);
    EXPECT_EQ(p.GetCount(), 0);
}

TEST_F(ServedThing, GdbusCallsMembersByNameInAnyCaseWithTheirTypes)
{
    GdbusResult r = Call(QStringLiteral("ORVEX.Automation.count"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("(3,)"));
    r = Call(QStringLiteral("ORVEX.Automation.Item"), {QStringLiteral("1")});
    EXPECT_EQ(r.out, QStringLiteral("(2.5,)")) << r.err.toStdString();
    r = Call(QStringLiteral("ORVEX.Automation.Items"));
    EXPECT_EQ(r.out, QStringLiteral("([1.5, 2.5, 3.5],)")) << r.err.toStdString();
    r = Call(QStringLiteral("ORVEX.AutomationPut.Name"), {QStringLiteral("gdbus")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(m_thing.name, "gdbus");
    r = Call(QStringLiteral("ORVEX.Automation.Describe"));
    EXPECT_EQ(r.out, QStringLiteral("('missing',)")) << r.err.toStdString();
    r = Call(QStringLiteral("ORVEX.Automation.Describe"), {QStringLiteral("<5>")});
    EXPECT_EQ(r.out, QStringLiteral("('given 5',)")) << r.err.toStdString();

    r = Call(QStringLiteral("ORVEX.Automation.Item"), {QStringLiteral("3")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ORVEX.Automation.Error.IndexOutOfRange"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Error 3 (argument 1): The index is out of range.")))
        << r.err.toStdString();
    r = Call(QStringLiteral("ORVEX.Automation.Nothing"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("UnknownMethod"))) << r.err.toStdString();
}

TEST_F(ServedThing, DispatchHelpersCallByNameConvertResultsAndCarryErrors)
{
    EXPECT_EQ(m_app.GetIDOfName("ITEM"), 1);
    EXPECT_EQ(m_app.GetPropertyLong("count"), 3);
    EXPECT_EQ(m_app.GetPropertyString("Count"), "3");    // a number read as text gives its text
    EXPECT_EQ(m_app.GetPropertyLong("NoSuchMember"), 0); // unknown names do nothing
    EXPECT_NO_THROW(m_app.Call("NoSuchMember"));

    CDispParams index(1);
    index.SetLong(0, 2);
    EXPECT_EQ(m_app.GetProperty(m_app.GetIDOfName("Item"), AutoType::Real, &index).RawReal(), 3.5);
    m_app.PutProperty("name", CAutoValue::String("by dispatch"));
    EXPECT_EQ(m_thing.name, "by dispatch");
    EXPECT_EQ(m_app.InvokeVariant("Describe").RawText(), "missing");

    index.SetLong(0, 9);
    try {
        m_app.GetProperty(1, AutoType::Real, &index);
        FAIL() << "index 9 is out of range";
    } catch (const CDispatchException& e) {
        EXPECT_EQ(e.GetCode(), kAutoErrIndexOutOfRange);
        EXPECT_EQ(e.GetArgument(), 1);
        EXPECT_EQ(e.GetDescription(), "The index is out of range.");
    }
    EXPECT_THROW(m_app.PutProperty("Count", CAutoValue::Long(1)), COleException);
    // A result that does not convert to the type asked for.
    EXPECT_THROW(m_app.GetProperty(m_app.GetIDOfName("Name"), AutoType::Long), COleException);
}

TEST_F(ServedThing, AnObjectWhoseProgramObjectWentAnswersWithAnError)
{
    auto other = std::make_unique<Thing>();
    const std::string path =
        CAutoObjectRegistry::Instance().Expose(other.get(), [&] { return std::make_unique<CThing>(other.get()); });
    EXPECT_EQ(CAutoObjectRegistry::Instance().Expose(other.get(), [] { return nullptr; }), path)
        << "one path per object";
    ASSERT_EQ(Call(QStringLiteral("ORVEX.Automation.Count"), {}, QString::fromStdString(path)).out,
              QStringLiteral("(3,)"));

    NotifyObjectGoing(other.get());
    other.reset();
    const GdbusResult r = Call(QStringLiteral("ORVEX.Automation.Count"), {}, QString::fromStdString(path));
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Error 424"))) << r.err.toStdString();
    CDispatch gone(m_client, "ORVEX.Test", path);
    EXPECT_THROW(gone.GetPropertyLong("Count"), CDispatchException);
}

TEST_F(ServedThing, TheLastClientLeavingIsReportedAndASecondServerCannotTakeTheName)
{
    bool gone = false;
    QEventLoop loop;
    m_server->SetClientsGoneHandler([&] {
        gone = true;
        loop.quit();
    });
    ASSERT_EQ(m_app.GetPropertyLong("Count"), 3);
    EXPECT_EQ(m_server->GetClientCount(), 1);
    // A one-shot client comes and goes; the first one still holds on.
    ASSERT_EQ(Call(QStringLiteral("ORVEX.Automation.Count")).exitCode, 0);
    EXPECT_FALSE(gone);

    // The connection closes when its last reference goes.
    m_app = CDispatch();
    m_client = QDBusConnection(QStringLiteral("none"));
    QDBusConnection::disconnectFromBus(QStringLiteral("test-client"));
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!gone)
        loop.exec();
    EXPECT_TRUE(gone);
    EXPECT_EQ(m_server->GetClientCount(), 0);

    QDBusConnection second = QDBusConnection::connectToBus(QString::fromUtf8(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                                           QStringLiteral("second-server"));
    CAutoServer other(second);
    EXPECT_FALSE(other.RegisterName("ORVEX.Test"));
    EXPECT_EQ(Call(QStringLiteral("ORVEX.Automation.Count")).out, QStringLiteral("(3,)"));
    QDBusConnection::disconnectFromBus(QStringLiteral("second-server"));
}

// Introspection shows the whole chain of tables (a parameter without a name by its position), the
// members without arguments as properties, and the nodes below a path; looking makes no client.
TEST_F(ServedThing, IntrospectionListsTheTablesAndMakesNoClient)
{
    const QString method = QStringLiteral("org.freedesktop.DBus.Introspectable.Introspect");
    const GdbusResult r = Call(method);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const char* xml : {R"(<method name="Item">\n      <arg name="arg1" type="i" direction="in"/>)",
                            R"(<method name="Describe">)", R"(<property name="Items" type="ad" access="read"/>)",
                            R"(<property name="Name" type="s" access="readwrite"/>)",
                            R"(<property name="Count" type="i" access="read"/>)"})
        EXPECT_TRUE(r.out.contains(QString::fromLatin1(xml))) << xml << "\n" << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("<property name=\"Item\"")));
    EXPECT_EQ(m_server->GetClientCount(), 0);

    const GdbusResult root = Call(method, {}, QStringLiteral("/"));
    EXPECT_TRUE(root.out.contains(QStringLiteral("<node name=\"Application\"/>"))) << root.out.toStdString();
    const GdbusResult none = Call(method, {}, QStringLiteral("/Nowhere"));
    EXPECT_NE(none.exitCode, 0);
    EXPECT_TRUE(none.err.contains(QStringLiteral("UnknownObject"))) << none.err.toStdString();

    // Properties: the array property as it is, the read/write one set through the interface.
    EXPECT_EQ(Call(QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                   {QStringLiteral("ORVEX.Automation"), QStringLiteral("Items")})
                  .out,
              QStringLiteral("(<[1.5, 2.5, 3.5]>,)"));
    EXPECT_EQ(Call(QStringLiteral("org.freedesktop.DBus.Properties.Set"),
                   {QStringLiteral(""), QStringLiteral("name"), QStringLiteral("<'set'>")})
                  .exitCode,
              0);
    EXPECT_EQ(m_thing.name, "set");
}
