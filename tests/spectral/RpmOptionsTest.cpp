#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/archive/Archive.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"

TEST(RPMOptionsTest, DefaultsGiveThe101RpmsFrom1000To6000)
{
    CRPMOptions o;
    EXPECT_EQ(o.GetMode(), 0);
    EXPECT_FLOAT_EQ(o.GetRpmMin(), 1000.0f);
    EXPECT_FLOAT_EQ(o.GetRpmMax(), 6000.0f);
    EXPECT_FLOAT_EQ(o.GetRpmStep(), 50.0f);
    EXPECT_FLOAT_EQ(o.GetListStep(), 50.0f);

    std::vector<float> f;
    std::vector<double> d;
    ASSERT_EQ(o.MakeRpmArray(f), 101);
    ASSERT_EQ(o.MakeRpmArrayD(d), 101);
    for (int i = 0; i < 101; ++i) {
        EXPECT_FLOAT_EQ(f[i], 1000.0f + 50.0f * i);
        EXPECT_DOUBLE_EQ(d[i], 1000.0 + 50.0 * i);
    }
}

TEST(RPMOptionsTest, AxisModesAndDegenerateRanges)
{
    struct Case
    {
        int mode;
        float min, max, step;
        std::vector<float> list;
        int expected;
    };
    const Case cases[] = {
        {0, 2000.0f, 1000.0f, 50.0f, {}, 0},  // min above max
        {0, 1000.0f, 1000.0f, 50.0f, {}, 1},  // one value, both ends included
        {0, 1000.0f, 1100.0f, 0.0f, {}, 0},   // a zero step would never end
        {0, 1000.0f, 1100.0f, -10.0f, {}, 0}, // so would a negative one
        {0, 1000.0f, 1100.0f, NAN, {}, 0},
        {0, 0.0f, 1e9f, 1e-3f, {}, 0},                // absurdly long axes are refused
        {1, 0.0f, 0.0f, 0.0f, {}, 0},                 // list mode, empty list
        {1, 0.0f, 0.0f, 0.0f, {3000.0f, 1500.0f}, 2}, // list mode keeps stored order
        {2, 1000.0f, 2000.0f, 50.0f, {1.0f}, 0},      // unknown mode
    };
    for (const Case& c : cases) {
        CRPMOptions o;
        o.SetMode(c.mode);
        o.SetRpmMin(c.min);
        o.SetRpmMax(c.max);
        // The step goes in through the file form, where nothing can refuse it.
        std::vector<uint8_t> buf;
        {
            CArchive ar(&buf, CArchive::store);
            ar << int32_t(c.mode) << c.min << c.max << c.step << 50.0f;
            ar.WriteCount(static_cast<uint32_t>(c.list.size()));
            for (float v : c.list)
                ar << v;
        }
        CArchive in(&buf, CArchive::load);
        o.Serialize(in);
        std::vector<float> f;
        std::vector<double> d;
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " min " << c.min << " max " << c.max << " step "
                                        << c.step);
        EXPECT_EQ(o.MakeRpmArray(f), c.expected);
        EXPECT_EQ(o.MakeRpmArrayD(d), c.expected);
        if (c.mode == 1) {
            for (size_t i = 0; i < c.list.size(); ++i)
                EXPECT_EQ(f[i], c.list[i]);
        }
    }
}

TEST(RPMOptionsTest, AStepAFloatCannotAddStopsInsteadOfSpinning)
{
    CRPMOptions o;
    ASSERT_TRUE(o.SetRange(1.0e8f, 1.0e8f + 96.0f, 1.0f));
    std::vector<float> f;
    std::vector<double> d;
    EXPECT_EQ(o.MakeRpmArray(f), 1);   // 1e8 + 1 is 1e8 in single precision
    EXPECT_EQ(o.MakeRpmArrayD(d), 97); // the double form accumulates exactly
}

TEST(RPMOptionsTest, NonPositiveStepsAreRefusedWhereEntered)
{
    CRPMOptions o;
    EXPECT_FALSE(o.SetRpmStep(0.0f));
    EXPECT_FALSE(o.SetRpmStep(-5.0f));
    EXPECT_FALSE(o.SetListStep(0.0f));
    EXPECT_FALSE(o.SetRange(1000.0f, 2000.0f, 0.0f));
    EXPECT_FLOAT_EQ(o.GetRpmStep(), 50.0f);
    EXPECT_TRUE(o.SetRange(1000.0f, 2000.0f, 100.0f));
    std::vector<double> d;
    EXPECT_EQ(o.MakeRpmArrayD(d), 11);
}

TEST(RPMOptionsTest, StepByModeAndEquality)
{
    CRPMOptions a, b;
    EXPECT_TRUE(a == b);
    b.SetRpmStep(25.0f);
    EXPECT_TRUE(a != b);

    a.SetMode(1);
    b.SetMode(1);
    a.GetRpmList()->assign({1000.0f, 2000.0f});
    b.GetRpmList()->assign({1000.0f, 2000.0f});
    EXPECT_TRUE(a == b); // the range step does not count in list mode
    b.SetListStep(100.0f);
    EXPECT_FLOAT_EQ(b.GetRpmStep(), 100.0f);
    EXPECT_FALSE(a == b); // same list, different list steps
    a.SetListStep(100.0f);
    b.GetRpmList()->push_back(3000.0f);
    EXPECT_FALSE(a == b);

    a.SetMode(5);
    b = a;
    EXPECT_FLOAT_EQ(a.GetRpmStep(), 0.0f);
    EXPECT_FALSE(a == b); // another mode is never equal, not even to itself
}

TEST(RPMOptionsTest, StoredFormRoundTripsAndHasTheDocumentedLayout)
{
    CRPMOptions o;
    o.SetMode(1);
    o.SetRange(500.0f, 1500.0f, 25.0f);
    o.SetMode(1);
    o.SetListStep(10.0f);
    o.GetRpmList()->assign({800.0f, 900.5f});
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        o.Serialize(ar);
    }
    ASSERT_EQ(buf.size(), 4u + 4 * 4 + 2 + 2 * 4);
    int32_t mode;
    float min, max, step, listStep;
    std::memcpy(&mode, &buf[0], 4);
    std::memcpy(&min, &buf[4], 4);
    std::memcpy(&max, &buf[8], 4);
    std::memcpy(&step, &buf[12], 4);
    std::memcpy(&listStep, &buf[16], 4);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(min, 500.0f);
    EXPECT_EQ(max, 1500.0f);
    EXPECT_EQ(step, 25.0f);
    EXPECT_EQ(listStep, 10.0f);
    EXPECT_EQ(buf[20], 2);
    EXPECT_EQ(buf[21], 0);

    CRPMOptions back;
    CArchive in(&buf, CArchive::load);
    back.Serialize(in);
    EXPECT_TRUE(back == o);
    EXPECT_EQ(back.GetRpmMin(), 500.0f);
    EXPECT_EQ(back.GetRpmMax(), 1500.0f);

    // A forged list count larger than the data fails cleanly.
    buf[20] = 0xFE;
    CRPMOptions forged;
    CArchive bad(&buf, CArchive::load);
    EXPECT_THROW(forged.Serialize(bad), CArchiveException);
}

TEST(OrderListTest, FindUsesTheSinglePrecisionEpsilon)
{
    COrderList l;
    l.Add(1.0);
    l.Add(2.0);
    l.Add(4.0);
    EXPECT_EQ(l.Find(2.0000001), 1);
    EXPECT_EQ(l.Find(2.001), -1);
    EXPECT_EQ(l.Find(4.0), 2);
    EXPECT_EQ(COrderList().Find(1.0), -1);

    COrderList m = l;
    m[1] = 2.0 + 1e-7;
    EXPECT_TRUE(l == m);
    m[1] = 2.0 + 2e-7;
    EXPECT_TRUE(l != m);
    m.RemoveAt(2);
    EXPECT_FALSE(l == m);
}

TEST(OrderListTest, SortsAscending)
{
    COrderList l;
    for (double v : {4.0, 1.5, 3.0, 1.0, 2.0})
        l.Add(v);
    l.Sort();
    EXPECT_EQ(l.Values(), (std::vector<double>{1.0, 1.5, 2.0, 3.0, 4.0}));
}

TEST(OrderListTest, StoredFormKeepsValuesBitForBit)
{
    COrderList l;
    for (double v : {0.5, 1.0 / 3.0, 2.0000001, 12.75})
        l.Add(v);
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        l.Serialize(ar);
    }
    ASSERT_EQ(buf.size(), 1u + 4 + 4 * 8);
    EXPECT_EQ(buf[0], 0); // the version byte is always 0
    // A version byte other than 0 is read and ignored.
    buf[0] = 7;
    COrderList back;
    back.Add(99.0);
    CArchive in(&buf, CArchive::load);
    back.Serialize(in);
    ASSERT_EQ(back.GetSize(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::memcmp(&back[i], &l[i], sizeof(double)), 0);

    // Forged counts: negative, and longer than the data.
    for (int32_t n : {-1, 1000000}) {
        std::vector<uint8_t> forged = buf;
        std::memcpy(&forged[1], &n, 4);
        COrderList f;
        CArchive bad(&forged, CArchive::load);
        EXPECT_THROW(f.Serialize(bad), CArchiveException);
    }
}
