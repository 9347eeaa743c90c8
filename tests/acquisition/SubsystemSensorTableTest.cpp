// The subsystem-sensor table's data: building it from sensor groups, bundle and channel choice,
// the checks of one subsystem and across subsystems, and the groups it gives back.
#include <gtest/gtest.h>

#include "acquisition/QmxBlixChMgr.h"
#include "acquisition/SubsystemSensorTable.h"
#include "experiments/Sensor.h"
#include "experiments/SensorBundle.h"
#include "experiments/SensorGroup.h"
#include "experiments/SensorProject.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"

#include <functional>

namespace {

// Sensors S1-S6 (structure) and M1 (acoustic); bundles A and C on unit 00001, B on unit 00002,
// E (empty) on unit 00002; the inventory: units 00001 and 00002 with two channels each (0-3).
class SubsystemSensorTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadLanguageStrings(LANG_ENGLISH));
        for (const char* id : {"S1", "S2", "S3", "S4", "S5", "S6"})
            AddSensor(id, 7);
        AddSensor("M1", 15);
        a = Bundle("00001-A", {"S1", "S2"});
        b = Bundle("00002-B", {"S3", "S4"});
        c = Bundle("00001-C", {"S5", "S6"});
        e = Bundle("00002-E", {});
        m = Bundle("00002-M", {"M1"});
        for (const char* serial : {"00001", "00002"}) {
            CQmxBlixInfo unit;
            unit.SetSerialNumber(serial);
            inventory.GetBlixInfoList().Add(unit);
        }
        int channel = 0;
        for (const char* serial : {"00001", "00002"})
            for (int u = 1; u <= 2; ++u) {
                CQmxBlixChInfo ch;
                ch.SetBlixSerial(serial);
                ch.SetUnitChannel(static_cast<uint8_t>(u));
                ch.SetChannelNumber(static_cast<int16_t>(channel++));
                inventory.GetBlixChInfoList().Add(ch);
            }
    }
    void AddSensor(const char* id, int type)
    {
        tagSENSORINFO info;
        info.ID = id;
        info.ChannelInfo.DataType = type;
        ASSERT_NE(sensors.AddSensor(info), nullptr);
    }
    CSensorBundle* Bundle(const char* id, std::initializer_list<const char*> ids)
    {
        CSensorBundle* bundle = sensors.AddBundle(id);
        for (const char* s : ids)
            bundle->AddSensor(s);
        return bundle;
    }
    // A table of the named subsystems (acoustic when the name starts with "Cav"), each empty.
    std::unique_ptr<CSubsystemSensorTable> Table(std::initializer_list<const char*> names, int channels = 4)
    {
        auto table = std::make_unique<CSubsystemSensorTable>(&sensors, channels);
        std::vector<CSubsystemSensorTable::CSource> sources;
        for (const char* name : names)
            sources.push_back({name, nullptr, &inventory, std::string(name).rfind("Cav", 0) != 0});
        table->Build(sources);
        return table;
    }

    CSensorProject sensors;
    CQmxBlixChMgr inventory;
    CSensorBundle* a = nullptr;
    CSensorBundle* b = nullptr;
    CSensorBundle* c = nullptr;
    CSensorBundle* e = nullptr;
    CSensorBundle* m = nullptr;
};

} // namespace

TEST_F(SubsystemSensorTableTest, BuildsFromGroupsAndGivesGroupsBack)
{
    CSensorGroup group;
    group.SetMember({"S1", a->GetNumber(), 0, 0, 0}, 16);
    group.SetMember({"S9", a->GetNumber(), 5, 1, 0}, 16); // no such sensor
    group.SetMember({"S2", a->GetNumber(), 1, 7, 0}, 16); // channel 7 is not in the inventory
    group.AddBundle(-1);
    CSubsystemSensorTable table(&sensors, 4);
    std::vector<std::string> missing;
    table.Build({{"Fr", &group, &inventory, true}}, &missing);
    EXPECT_EQ(missing, std::vector<std::string>{"S9"});
    ASSERT_EQ(table.GetCount(), 1);
    const auto& ss = table.Get(0);
    ASSERT_EQ(ss.lps.size(), 2u);
    ASSERT_TRUE(ss.lps[0].channel.has_value());
    EXPECT_EQ(ss.lps[0].channel->GetChannelNumber(), 0);
    EXPECT_FALSE(ss.lps[1].channel.has_value()) << "a channel outside the inventory stays empty";
    ASSERT_EQ(ss.bundles.size(), 1u) << "bundle numbers below 0 are skipped";
    EXPECT_EQ(ss.bundles[0].bundle, a);

    // Bundles chosen: one LP per bundle sensor on the unit channel of the same position.
    table.SetBundles(0, {b});
    auto back = table.LookupSubsystem("Fr");
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetMemberCount(), 2);
    EXPECT_EQ(back->GetMember(0).text, "S3");
    EXPECT_EQ(back->GetMember(0).channel, 2);
    EXPECT_EQ(back->GetMember(1).channel, 3);
    EXPECT_EQ(back->GetMember(1).slot, 1);
    EXPECT_EQ(back->GetMember(1).extra, 1);
    EXPECT_EQ(back->GetBundles(), std::vector<int32_t>{b->GetNumber()});
    EXPECT_EQ(table.LookupSubsystem("Rr"), nullptr);
    // Three sensors on a two-channel unit: the third LP has no channel and no member.
    b->AddSensor("S5");
    table.SetBundles(0, {b});
    EXPECT_FALSE(table.Get(0).lps[2].channel.has_value());
    EXPECT_EQ(table.LookupSubsystem("Fr")->GetMemberCount(), 2);

    const std::vector<CSensorBundle*> candidates = table.CandidateBundles(inventory);
    EXPECT_EQ(candidates, (std::vector<CSensorBundle*>{a, b, c, e, m}));
}

TEST_F(SubsystemSensorTableTest, ChannelChoiceOffersTheUnitsOfTheSubsystemsBundles)
{
    auto table = Table({"Fr"});
    table->SetBundles(0, {a, b});
    int current = -2;
    const auto choices = table->ChannelChoices(0, 2, &current);
    ASSERT_EQ(choices.size(), 4u);
    EXPECT_EQ(choices[0].label, "1-1");
    EXPECT_EQ(choices[3].label, "2-2");
    EXPECT_EQ(choices[3].data, (1 << 16) | 1);
    EXPECT_EQ(current, 2) << "LP 3 sits on unit 2's first channel";
    // Entry (1, 0): unit 1's second channel and bundle A's second sensor.
    ASSERT_TRUE(table->ChooseChannel(0, 2, (1 << 16) | 0));
    EXPECT_EQ(table->Get(0).lps[2].channel->GetChannelNumber(), 1);
    EXPECT_EQ(table->Get(0).lps[2].sensor->GetID(), "S2");
    EXPECT_FALSE(table->ChooseChannel(0, 2, (5 << 16) | 0)) << "no such channel";
    EXPECT_FALSE(table->ChooseChannel(0, 9, 0)) << "no such LP";
}

TEST_F(SubsystemSensorTableTest, ChecksGiveTheFirstFailingRule)
{
    using Edit = std::function<void(CSubsystemSensorTable&)>;
    struct Case
    {
        const char* what;
        std::initializer_list<const char*> names;
        int channels;
        Edit edit;
        uint32_t expected; // 0: accepted
        const char* text;
    };
    const Case cases[] = {
        {"valid", {"Fr", "Rr"}, 4, [&](auto& t) { t.SetBundles(0, {a}), t.SetBundles(1, {b}); }, 0, ""},
        {"no bundle", {"Fr"}, 4, [&](auto& t) { t.SetBundles(0, {}); }, 7007, "Fr has no bundle."},
        {"no LP", {"Fr"}, 4, [&](auto& t) { t.SetBundles(0, {e}); }, 7106, "Fr has no local point."},
        {"structure sensor on a cavity",
         {"Cav"},
         4,
         [&](auto& t) { t.SetBundles(0, {a}); },
         7074,
         "Cav: sensor S1 does not fit the subsystem."},
        {"acoustic sensor on a cavity", {"Cav"}, 4, [&](auto& t) { t.SetBundles(0, {m}); }, 0, ""},
        {"bundle twice",
         {"Fr"},
         4,
         [&](auto& t) {
             t.SetBundles(0, {a, a});
         },
         7004,
         "Fr: the bundle 00001-A is used twice."},
        {"bundle ID twice",
         {"Fr"},
         4,
         [&](auto& t) {
             t.SetBundles(0, {a, c});
         },
         7021,
         "Fr: the bundle ID 00001 is used twice."},
        {"sensor twice",
         {"Fr"},
         4,
         [&](auto& t) {
             t.SetBundles(0, {a});
             t.Get(0).lps[1].sensor = t.Get(0).lps[0].sensor;
         },
         7104,
         "Fr: the sensor S1 is used twice."},
        {"channel twice",
         {"Fr"},
         4,
         [&](auto& t) {
             t.SetBundles(0, {a});
             t.Get(0).lps[1].channel = t.Get(0).lps[0].channel;
         },
         7012,
         "Fr: channel 1 is used twice."},
        {"channel beyond the system",
         {"Fr"},
         1,
         [&](auto& t) { t.SetBundles(0, {a}); },
         7012,
         "Fr: channel 2 is used twice."},
        {"a bundle in two subsystems",
         {"Fr", "Rr"},
         4,
         [&](auto& t) { t.SetBundles(0, {a}), t.SetBundles(1, {a}); },
         7003,
         "Fr and Rr use the same bundle 00001-A."},
        {"a bundle ID in two subsystems",
         {"Fr", "Rr"},
         4,
         [&](auto& t) { t.SetBundles(0, {a}), t.SetBundles(1, {c}); },
         7020,
         "Fr and Rr use the same bundle ID 00001."},
        {"a channel in two subsystems",
         {"Fr", "Rr"},
         4,
         [&](auto& t) {
             t.SetBundles(0, {a});
             t.SetBundles(1, {b});
             t.Get(1).lps[1].channel = t.Get(0).lps[1].channel;
         },
         7011,
         "Rr: channel 2 is already used."},
        {"a sensor in two subsystems",
         {"Fr", "Rr"},
         4,
         [&](auto& t) {
             t.SetBundles(0, {a});
             t.SetBundles(1, {b});
             t.Get(1).lps[0].sensor = t.Get(0).lps[0].sensor;
         },
         7103,
         "Fr and Rr use the same sensor S1."},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto table = Table(k.names, k.channels);
        k.edit(*table);
        CSubsystemSensorTable::CFinding finding;
        EXPECT_EQ(table->Validate(finding), k.expected == 0);
        EXPECT_EQ(finding.messageId, k.expected);
        EXPECT_EQ(finding.text, k.text);
    }
}
