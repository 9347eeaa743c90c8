// Every record that holds a date and time keeps it as the class library's time: 32-bit seconds
// since 1970, four bytes in the record, read back as written.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "experiments/ExpInfo.h"
#include "models/UpdateLog.h"
#include "platform/archive/Archive.h"
#include "uff/UF58Index.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The dataset header's creation time is read from its ID line; here it is set directly.
class CTimedUF58Index : public CUF58Index
{
public:
    void SetCreated(int32_t t) { m_tCreated = t; }
};

struct TimedRecord
{
    const char* what;
    std::function<std::unique_ptr<CObject>(int64_t)> make; // a record holding the time
    std::function<int64_t(const CObject&)> time;           // the time a record holds
    std::function<std::unique_ptr<CObject>()> empty;       // a record to read into
};

const TimedRecord kRecords[] = {
    {"experiment information",
     [](int64_t t) {
         auto info = std::make_unique<CExpInfo>();
         info->SetName(0, "Roof");
         info->SetLabel("run-up");
         info->SetTime(t);
         return std::unique_ptr<CObject>(std::move(info));
     },
     [](const CObject& o) { return dynamic_cast<const CExpInfo&>(o).GetTime(); },
     [] { return std::unique_ptr<CObject>(std::make_unique<CExpInfo>()); }},
    {"update log",
     [](int64_t t) {
         auto log = std::make_unique<CUpdateLog>();
         log->m_time = static_cast<int32_t>(t);
         log->m_text = "revision";
         log->Add("Floor-F", "Cabin-", 0, 3, 0.5);
         return std::unique_ptr<CObject>(std::move(log));
     },
     [](const CObject& o) { return int64_t(dynamic_cast<const CUpdateLog&>(o).m_time); },
     [] { return std::unique_ptr<CObject>(std::make_unique<CUpdateLog>()); }},
    {"universal-file dataset header",
     [](int64_t t) {
         auto index = std::make_unique<CTimedUF58Index>();
         index->SetCreated(static_cast<int32_t>(t));
         return std::unique_ptr<CObject>(std::move(index));
     },
     [](const CObject& o) { return int64_t(dynamic_cast<const CUF58Index&>(o).GetCreated()); },
     [] { return std::unique_ptr<CObject>(std::make_unique<CTimedUF58Index>()); }},
};

Bytes Stored(CObject& record)
{
    Bytes bytes;
    CArchive ar(&bytes, CArchive::store);
    record.Serialize(ar);
    return bytes;
}

Bytes LittleEndian32(int64_t v)
{
    const auto u = static_cast<uint32_t>(static_cast<int32_t>(v));
    return {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
}

} // namespace

TEST(DateTimeRecords, TheTimeTakesFourBytesAndReadsBackEqual)
{
    // Two times that differ in all eight bytes of a 64-bit value but only in the low four of a
    // 32-bit one: the stored records differ in exactly the four bytes of the time.
    const int64_t early = 0x01020304; // 1970-07-15
    const int64_t late = -2;          // a second before the epoch, all bits set
    const int64_t today = 1796947200; // 2026-12-11
    for (const TimedRecord& r : kRecords) {
        SCOPED_TRACE(r.what);
        const Bytes a = Stored(*r.make(early)), b = Stored(*r.make(late));
        ASSERT_EQ(a.size(), b.size());
        std::vector<size_t> differing;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                differing.push_back(i);
        ASSERT_EQ(differing.size(), 4u);
        EXPECT_EQ(differing.back() - differing.front(), 3u);
        const auto at = static_cast<std::ptrdiff_t>(differing.front());
        EXPECT_EQ(Bytes(a.begin() + at, a.begin() + at + 4), LittleEndian32(early));
        EXPECT_EQ(Bytes(b.begin() + at, b.begin() + at + 4), LittleEndian32(late));

        for (int64_t t : {early, late, today}) {
            Bytes bytes = Stored(*r.make(t));
            CArchive in(bytes.data(), bytes.size());
            std::unique_ptr<CObject> back = r.empty();
            back->Serialize(in);
            EXPECT_EQ(in.BytesRemaining(), 0u);
            EXPECT_EQ(r.time(*back), t);
        }
    }
}

TEST(DateTimeRecords, ATimeBeyondTheFormatIsHeldAtItsEnd)
{
    CExpInfo info;
    info.SetTime(int64_t(1) << 40);
    EXPECT_EQ(info.GetTime(), INT32_MAX);
    info.SetTime(-(int64_t(1) << 40));
    EXPECT_EQ(info.GetTime(), INT32_MIN);
}
