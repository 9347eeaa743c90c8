#include <gtest/gtest.h>

#include <vector>

#include "ModelTestSupport.h"
#include "models/UpdateLog.h"
#include "platform/archive/Archive.h"

namespace {

void FillLog(CUpdateLog& log)
{
    log.m_nValue = 7;
    log.m_text = "revision";
    log.Add("Floor-F", "Cabin-", 0, 3, 0.5);
    log.Add("Dash-F", "", 2, 0, 0.01);
    log.Add("A-F", "B-F", 7, 11, -2.5);
}

void ExpectSameRecord(const tagUPDATE& a, const tagUPDATE& b)
{
    EXPECT_EQ(a.m_name1, b.m_name1);
    EXPECT_EQ(a.m_name2, b.m_name2);
    EXPECT_EQ(a.m_type, b.m_type);
    EXPECT_EQ(a.m_band, b.m_band);
    EXPECT_EQ(a.m_oldValue, b.m_oldValue);
    EXPECT_EQ(a.m_newValue, b.m_newValue);
}

} // namespace

TEST(UpdateLog, GetAtAndRemoveAtKeepOrder)
{
    CUpdateLog log;
    FillLog(log);
    ASSERT_EQ(log.GetCount(), 3);
    EXPECT_EQ(log.GetAt(3), nullptr);
    EXPECT_EQ(log.GetAt(-1), nullptr);

    log.RemoveAt(3); // beyond the end: nothing happens
    EXPECT_EQ(log.GetCount(), 3);

    log.RemoveAt(2); // last
    ASSERT_EQ(log.GetCount(), 2);
    EXPECT_EQ(log.GetAt(0)->m_name1, "Floor-F");
    EXPECT_EQ(log.GetAt(1)->m_name1, "Dash-F");

    log.RemoveAt(0); // first: the others move down
    ASSERT_EQ(log.GetCount(), 1);
    EXPECT_EQ(log.GetAt(0)->m_name1, "Dash-F");

    log.RemoveAll();
    EXPECT_EQ(log.GetCount(), 0);
}

TEST(UpdateLog, StoresAndReadsBackEqual)
{
    CUpdateLog log;
    FillLog(log);
    log.GetAt(0)->m_oldValue = 0.25;
    auto buf = Store(log);

    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CUpdateLog>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_time, log.m_time);
    EXPECT_EQ(back->m_nValue, 7);
    EXPECT_EQ(back->m_text, "revision");
    ASSERT_EQ(back->GetCount(), 3);
    for (int i = 0; i < 3; ++i)
        ExpectSameRecord(*back->GetAt(i), *log.GetAt(i));
}

TEST(UpdateLog, EmptyLogLayoutAndLoadingAppends)
{
    CUpdateLog empty;
    empty.m_time = 0x01020304;
    empty.m_nValue = 1;
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        empty.Serialize(ar);
    }
    // time (4 bytes, the class library's time), integer (4), empty text (1-byte length), count (4)
    const std::vector<uint8_t> expected = {4, 3, 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(buf, expected);

    // Loading into a log that already holds records keeps them ahead of the loaded ones.
    CUpdateLog stored;
    FillLog(stored);
    std::vector<uint8_t> buf2;
    {
        CArchive ar(&buf2, CArchive::store);
        stored.Serialize(ar);
    }
    CUpdateLog target;
    target.Add("Old-F", "", 2, 0, 1.0);
    CArchive in(buf2.data(), buf2.size());
    target.Serialize(in);
    ASSERT_EQ(target.GetCount(), 4);
    EXPECT_EQ(target.GetAt(0)->m_name1, "Old-F");
    EXPECT_EQ(target.GetAt(1)->m_name1, "Floor-F");
}

TEST(UpdateLog, ForgedCountIsRefused)
{
    CUpdateLog log;
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        log.Serialize(ar);
    }
    buf[buf.size() - 1] = 0x7F; // count 0x7F000000 with no records behind it
    CUpdateLog target;
    CArchive in(buf.data(), buf.size());
    EXPECT_THROW(target.Serialize(in), CArchiveException);
    EXPECT_EQ(target.GetCount(), 0);
}
