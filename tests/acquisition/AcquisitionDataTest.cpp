// The acquisition configuration and the Blix channel database: stored forms and rules.
#include <gtest/gtest.h>

#include <limits>

#include "acquisition/BlixChDB.h"
#include "experiments/DAQConfig.h"
#include "platform/archive/Archive.h"

TEST(DAQConfig, MeasurementTimeIsWholeBlocks)
{
    CDAQConfig config;
    EXPECT_FLOAT_EQ(config.GetMeasureTime(), 10.24f);
    config.SetMeasureTime(10.24f);
    EXPECT_FLOAT_EQ(config.GetMeasureTime(), 10.24f);
    config.SetMeasureTime(10.25f);
    EXPECT_FLOAT_EQ(config.GetMeasureTime(), 11.264f);
    // An absurd sampling rate still ends in a (positive) time rather than a hang.
    for (float rate : {1e30f, std::numeric_limits<float>::infinity()}) {
        config.SetSamplingFreq(rate);
        config.SetMeasureTime(10.0f);
        EXPECT_GT(config.GetMeasureTime(), 0.0f) << rate;
    }
}

TEST(DAQConfig, VersionsFourAndFiveReadOthersRefused)
{
    CDAQConfig config;
    config.SetRpmLow(800);
    config.SetVersion5Field(2);
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        config.Serialize(ar);
    }
    ASSERT_EQ(bytes.size(), 1u + 15 * 4 + 4);
    CDAQConfig read;
    {
        CArchive in(bytes.data(), bytes.size());
        read.Serialize(in);
    }
    EXPECT_TRUE(read == config);

    auto v4 = bytes;
    v4[0] = 4;
    v4.resize(1u + 15 * 4); // without the version-5 field
    CDAQConfig old;
    old.SetVersion5Field(7);
    {
        CArchive in(v4.data(), v4.size());
        old.Serialize(in);
    }
    EXPECT_EQ(old.GetRpmLow(), 800);
    EXPECT_EQ(old.GetVersion5Field(), 7);

    for (uint8_t version : {uint8_t(3), uint8_t(6)}) {
        auto bad = bytes;
        bad[0] = version;
        CDAQConfig c;
        CArchive in(bad.data(), bad.size());
        EXPECT_THROW(c.Serialize(in), CArchiveException) << int(version);
    }
}

TEST(BlixChDB, SortsByItsKeysAndRoundTrips)
{
    CBlixChDB db;
    auto add = [&](const char* ss, const char* sn, uint8_t ch, const char* sensor) {
        auto item = std::make_unique<CBlixChDB::CItem>();
        item->SetSubsystem(ss);
        item->SetBlixSN(sn);
        item->SetBlixCh(ch);
        item->SetSensor(sensor);
        db.GetItemList()->Add(std::move(item));
    };
    add("B", "2", 0, "S");
    add("A", "9", 1, "T");
    add("A", "9", 0, "U");
    add("A", "10", 0, "V");
    db.Sort();
    std::vector<std::string> order;
    for (int i = 0; i < db.GetItemList()->GetSize(); ++i)
        order.push_back(db.GetItemList()->GetAt(i)->GetSensor());
    EXPECT_EQ(order, (std::vector<std::string>{"V", "U", "T", "S"}));

    db.GetItemList()->Add(std::make_unique<CBlixChDB::CItem>());
    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        ar.WriteObject(&db);
    }
    CArchive in(bytes.data(), bytes.size());
    auto read = in.ReadOwned<CBlixChDB>();
    ASSERT_EQ(read->GetItemList()->GetSize(), 5);
    EXPECT_EQ(read->GetItemList()->GetAt(4)->GetBlixCh(), 255);
    std::vector<CBlixChDB::CItem*> found;
    EXPECT_EQ(read->GetItemList()->FindBySubsystem("A", found), 3);
}
