#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "platform/archive/Archive.h"
#include "platform/archive/Collections.h"
#include "platform/base/RecordingFeedback.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Hex(std::initializer_list<int> v)
{
    Bytes b;
    for (int x : v)
        b.push_back(static_cast<uint8_t>(x));
    return b;
}

template <class F>
Bytes Store(F&& f)
{
    Bytes out;
    CArchive ar(&out, CArchive::store);
    f(ar);
    return out;
}

// A fixed-schema class and a versionable one with owned children.
class CTestPoint : public CObject
{
    DECLARE_SERIAL(CTestPoint)
public:
    int32_t x = 0;
    double y = 0;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << x << y;
        else
            ar >> x >> y;
    }
};
IMPLEMENT_SERIAL(CTestPoint, CObject, 1)

class CTestNode : public CObject
{
    DECLARE_SERIAL(CTestNode)
public:
    static inline uint32_t lastSchema = 0;
    std::string name;
    std::vector<std::unique_ptr<CTestNode>> children;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << name;
            ar.WriteCount(static_cast<uint32_t>(children.size()));
            for (auto& c : children)
                ar.WriteObject(c.get());
        } else {
            lastSchema = ar.GetObjectSchema();
            ar >> name;
            const uint32_t n = ar.ReadCount(2);
            for (uint32_t i = 0; i < n; ++i)
                children.push_back(ar.ReadOwned<CTestNode>());
        }
    }
};
IMPLEMENT_SERIAL(CTestNode, CObject, 2 | VERSIONABLE_SCHEMA)

// Holds a child it reads with a plain ReadObject; a flag byte of 0xEE after the child fails it.
class CTestHolder : public CObject
{
    DECLARE_SERIAL(CTestHolder)
public:
    std::unique_ptr<CObject> child;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            return;
        child.reset(ar.ReadObject(nullptr));
        uint8_t flag = 0;
        ar >> flag;
        if (flag == 0xEE)
            CArchive::ThrowBadSchema("holder refused");
    }
};
IMPLEMENT_SERIAL(CTestHolder, CObject, 1)

Bytes Bytes8(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Prefix(const Bytes& b, size_t n)
{
    return Bytes(b.begin(), b.begin() + static_cast<long>(std::min(n, b.size())));
}

} // namespace

TEST(Archive, StringLengthPrefixes)
{
    struct Case
    {
        size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, Hex({0x00})},
        {254, Hex({0xFE})},
        {255, Hex({0xFF, 0xFF, 0x00})},
        {0xFFFD, Hex({0xFF, 0xFD, 0xFF})},
        {0xFFFE, Hex({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {0xFFFF, Hex({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {70000, Hex({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const auto& c : cases) {
        const std::string s(c.length, 'a');
        const Bytes b = Store([&](CArchive& ar) { ar << s; });
        ASSERT_EQ(b.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Prefix(b, c.prefix.size()), c.prefix) << c.length;
        CArchive in(&const_cast<Bytes&>(b), CArchive::load);
        std::string back;
        in >> back;
        EXPECT_EQ(back, s);
        EXPECT_EQ(in.BytesRemaining(), 0u);
    }
}

TEST(Archive, TextEncodings)
{
    // Non-ASCII text goes out in the UTF-16 form behind the 0xFF 0xFFFE marker.
    EXPECT_EQ(Store([](CArchive& ar) { ar << std::string("\xC3\xA9"); }), Hex({0xFF, 0xFE, 0xFF, 0x01, 0xE9, 0x00}));
    EXPECT_EQ(Store([](CArchive& ar) { ar << std::string("ab"); }), Hex({0x02, 'a', 'b'}));
    // A character outside the BMP is a surrogate pair and comes back whole.
    const std::string emoji = "x\xF0\x9F\x98\x80";
    Bytes e = Store([&](CArchive& ar) { ar << emoji; });
    EXPECT_EQ(Prefix(e, 4), Hex({0xFF, 0xFE, 0xFF, 0x03}));
    {
        CArchive in(&e, CArchive::load);
        std::string back;
        in >> back;
        EXPECT_EQ(back, emoji);
    }
    // Legacy 8-bit strings are decoded by the code page.
    struct Case
    {
        LegacyCodePage cp;
        Bytes raw;
        std::string utf8;
    };
    const Case cases[] = {
        {LegacyCodePage::Windows1252, Hex({0x03, 'A', 0xE9, 0x80}), "A\xC3\xA9\xE2\x82\xAC"},
        {LegacyCodePage::Windows1252, Hex({0x01, 0x81}), "\xC2\x81"},
        {LegacyCodePage::CP932, Hex({0x04, 0x82, 0xA0, 0x93, 0xFA}), "\xE3\x81\x82\xE6\x97\xA5"},
        {LegacyCodePage::CP932, Hex({0x01, 0xB1}), "\xEF\xBD\xB1"}, // half-width katakana
        {LegacyCodePage::CP932, Hex({0x01, 0x82}), "\xEF\xBF\xBD"}, // cut-off lead byte
    };
    for (auto c : cases) {
        CArchive in(&c.raw, CArchive::load);
        in.SetCodePage(c.cp);
        std::string s;
        in >> s;
        EXPECT_EQ(s, c.utf8);
    }
}

TEST(Archive, Counts)
{
    struct Case
    {
        uint32_t count;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, Hex({0x00, 0x00})},
        {0xFFFE, Hex({0xFE, 0xFF})},
        {0xFFFF, Hex({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {0x10000, Hex({0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})},
    };
    for (auto c : cases) {
        EXPECT_EQ(Store([&](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes);
        CArchive in(&c.bytes, CArchive::load);
        EXPECT_EQ(in.ReadCount(0), c.count);
    }
    // A forged count is refused before anything is allocated.
    Bytes forged = Hex({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
    CArchive in(&forged, CArchive::load);
    try {
        in.ReadCount(8);
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST(Archive, SignedCounts)
{
    // One leading byte, so that the count's own position (byte 1) shows in the error texts.
    constexpr int32_t refused = -1;
    struct Case
    {
        const char* what;
        Bytes bytes;
        uint64_t minBytes;
        CArchiveException::Cause cause;
        int32_t expect; // refused: the cause is thrown
    };
    const Case cases[] = {
        {"count with its items", Hex({0xAA, 0x03, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5, 6}), 2, CArchiveException::none, 3},
        {"items that just fit", Hex({0xAA, 0x02, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5, 6}), 3, CArchiveException::none, 2},
        {"empty at the end", Hex({0xAA, 0x00, 0x00, 0x00, 0x00}), 8, CArchiveException::none, 0},
        {"negative", Hex({0xAA, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2}), 1, CArchiveException::badSchema, refused},
        {"most negative", Hex({0xAA, 0x00, 0x00, 0x00, 0x80}), 0, CArchiveException::badIndex, refused},
        {"one byte short", Hex({0xAA, 0x03, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5}), 2, CArchiveException::endOfFile,
         refused},
        // 2^30 items of 2^34 bytes: a product that wraps round to 0 must not pass.
        {"product wraps", Hex({0xAA, 0x00, 0x00, 0x00, 0x40, 1}), uint64_t(1) << 34, CArchiveException::endOfFile,
         refused},
        {"count cut short", Hex({0xAA, 0x01, 0x00}), 1, CArchiveException::endOfFile, refused},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        CArchive in(&c.bytes, CArchive::load);
        uint8_t lead = 0;
        in >> lead;
        // The cause for a negative count is the caller's; badSchema unless told otherwise.
        auto read = [&] {
            return c.cause == CArchiveException::badIndex
                       ? in.ReadSignedCount(c.minBytes, "test rows", CArchiveException::badIndex)
                       : in.ReadSignedCount(c.minBytes, "test rows");
        };
        if (c.expect != refused) {
            EXPECT_EQ(read(), c.expect);
            EXPECT_EQ(in.Position(), 5u);
            continue;
        }
        try {
            read();
            ADD_FAILURE() << "count was accepted";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, c.cause) << e.what();
            if (c.cause != CArchiveException::endOfFile || c.bytes.size() >= 5) {
                const std::string text = e.what();
                EXPECT_NE(text.find("test rows"), std::string::npos) << text;
                EXPECT_NE(text.find("at byte 1 "), std::string::npos) << text;
            }
        }
    }
}

TEST(Archive, ObjectRecords)
{
    CTestPoint a, b;
    a.x = 7;
    a.y = 0.5;
    b.x = -1;
    Bytes bytes = Store([&](CArchive& ar) {
        ar.WriteObject(nullptr);
        ar.WriteObject(&a);
        ar.WriteObject(&b); // second object of one class: class reference
        ar.WriteObject(&a); // back-reference
    });
    Bytes expect = Hex({0x00, 0x00,                           // null
                        0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00}); // new class, schema 1
    for (char c : std::string("CTestPoint"))
        expect.push_back(static_cast<uint8_t>(c));
    const Bytes pa = Hex({7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F});
    expect.insert(expect.end(), pa.begin(), pa.end());
    const Bytes cb = Hex({0x01, 0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0x02, 0x00});
    expect.insert(expect.end(), cb.begin(), cb.end()); // class 1, then b; then a's index 2
    EXPECT_EQ(bytes, expect);

    CArchive in(&bytes, CArchive::load);
    EXPECT_EQ(in.ReadObject(nullptr), nullptr);
    std::unique_ptr<CObject> ra(in.ReadObject(RUNTIME_CLASS(CTestPoint)));
    std::unique_ptr<CObject> rb(in.ReadObject(RUNTIME_CLASS(CTestPoint)));
    CObject* again = in.ReadObject(RUNTIME_CLASS(CTestPoint));
    EXPECT_EQ(again, ra.get());
    auto* pa2 = DynamicDowncast<CTestPoint>(ra.get());
    ASSERT_NE(pa2, nullptr);
    EXPECT_EQ(pa2->x, 7);
    EXPECT_EQ(pa2->y, 0.5);
    EXPECT_EQ(DynamicDowncast<CTestNode>(ra.get()), nullptr);
}

TEST(Archive, BigIndexTags)
{
    // Push the index counter past 0x7FFE so the class and object tags take their 4-byte forms.
    std::vector<std::unique_ptr<CTestPoint>> points(0x7FFF);
    CTestNode node;
    node.name = "n";
    Bytes bytes = Store([&](CArchive& ar) {
        for (auto& p : points) {
            p = std::make_unique<CTestPoint>();
            ar.WriteObject(p.get());
        }
        ar.WriteObject(&node);           // new class gets index 0x8001, object 0x8002
        ar.WriteObject(points[5].get()); // small back-reference
        ar.WriteObject(&node);           // big object reference
        CTestNode other;
        ar.WriteObject(&other); // big class reference
    });
    Bytes expect = Hex({0xFF, 0xFF, 0x02, 0x00, 0x09, 0x00, 'C',  'T',  'e',  's',  't',
                        'N',  'o',  'd',  'e',  0x01, 'n',  0x00, 0x00, 0x07, 0x00, // points[5] is object index 7
                        0xFF, 0x7F, 0x02, 0x80, 0x00, 0x00,                         // object 0x8002
                        0xFF, 0x7F, 0x01, 0x80, 0x00, 0x80,                         // class 0x8001
                        0x00, 0x00, 0x00});
    ASSERT_GT(bytes.size(), expect.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(expect.size()), bytes.end()), expect);

    CArchive in(&bytes, CArchive::load);
    std::vector<std::unique_ptr<CObject>> owned;
    for (size_t i = 0; i < points.size(); ++i)
        owned.emplace_back(in.ReadObject(nullptr));
    std::unique_ptr<CObject> n(in.ReadObject(RUNTIME_CLASS(CTestNode)));
    EXPECT_EQ(in.ReadObject(nullptr), owned[5].get());
    EXPECT_EQ(in.ReadObject(nullptr), n.get());
    std::unique_ptr<CTestNode> o = in.ReadOwned<CTestNode>();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(in.BytesRemaining(), 0u);
}

TEST(Archive, Schemas)
{
    // A versionable class reads any stored schema and reports it.
    Bytes v = Hex({0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00, 'C', 'T', 'e', 's', 't', 'N', 'o', 'd', 'e', 0x00, 0x00, 0x00});
    {
        CArchive in(&v, CArchive::load);
        auto n = in.ReadOwned<CTestNode>();
        EXPECT_EQ(CTestNode::lastSchema, 1u);
    }
    // A fixed schema that differs is a bad-schema error.
    Bytes f = Hex({0xFF, 0xFF, 0x05, 0x00, 0x0A, 0x00, 'C', 'T', 'e', 's', 't', 'P', 'o', 'i', 'n', 't'});
    CArchive in(&f, CArchive::load);
    try {
        in.ReadObject(nullptr);
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
    }
}

TEST(Archive, HostileRecordsFailCleanly)
{
    struct Case
    {
        const char* what;
        Bytes bytes;
        CArchiveException::Cause cause;
    };
    const Case cases[] = {
        {"unknown class", Hex({0xFF, 0xFF, 0x00, 0x00, 0x03, 0x00, 'C', 'Z', 'z'}), CArchiveException::badClass},
        {"class index never defined", Hex({0x05, 0x80}), CArchiveException::badIndex},
        {"object index never defined", Hex({0x09, 0x00}), CArchiveException::badIndex},
        {"name cut short", Hex({0xFF, 0xFF, 0x00, 0x00, 0x30, 0x00, 'C'}), CArchiveException::endOfFile},
        {"reference to a class as object",
         Hex({0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00, 'C', 'T', 'e', 's', 't', 'P', 'o', 'i',  'n',
              't',  0,    0,    0,    0,    0,    0,   0,   0,   0,   0,   0,   0,   0x01, 0x00}),
         CArchiveException::badIndex},
    };
    for (auto c : cases) {
        CArchive in(&c.bytes, CArchive::load);
        try {
            for (int i = 0; i < 3; ++i)
                delete in.ReadObject(nullptr);
            ADD_FAILURE() << c.what;
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, c.cause) << c.what << ": " << e.what();
        }
    }
    // The wrong class where one is required.
    CTestPoint p;
    Bytes b = Store([&](CArchive& ar) { ar.WriteObject(&p); });
    CArchive in(&b, CArchive::load);
    EXPECT_THROW(in.ReadOwned<CTestNode>(), CArchiveException);
}

TEST(Archive, ObjectReferencedTwiceCannotBeOwnedTwice)
{
    CTestNode root;
    auto child = std::make_unique<CTestNode>();
    root.children.push_back(std::move(child));
    Bytes b = Store([&](CArchive& ar) {
        ar.WriteObject(&root);
        ar.WriteObject(root.children[0].get());
    });
    CArchive in(&b, CArchive::load);
    auto r = in.ReadOwned<CTestNode>();
    EXPECT_THROW(in.ReadOwned<CTestNode>(), CArchiveException);
}

TEST(Archive, TreeTruncatedAtEveryByte)
{
    CTestNode root;
    root.name = "root \xC3\xA9";
    for (int i = 0; i < 3; ++i) {
        auto c = std::make_unique<CTestNode>();
        c->name = std::string(300, static_cast<char>('a' + i));
        c->children.push_back(std::make_unique<CTestNode>());
        root.children.push_back(std::move(c));
    }
    const Bytes full = Store([&](CArchive& ar) { ar.WriteObject(&root); });
    for (size_t n = 0; n < full.size(); ++n) {
        Bytes cut(full.begin(), full.begin() + static_cast<long>(n));
        CArchive in(&cut, CArchive::load);
        EXPECT_THROW(in.ReadOwned<CTestNode>(), CArchiveException) << n;
    }
    Bytes whole = full;
    CArchive in(&whole, CArchive::load);
    auto back = in.ReadOwned<CTestNode>();
    ASSERT_EQ(back->children.size(), 3u);
    EXPECT_EQ(back->name, root.name);
    EXPECT_EQ(back->children[2]->name, root.children[2]->name);
    EXPECT_EQ(CTestNode::lastSchema, 2u);
}

TEST(Archive, FileStoreReplacesOnlyOnClose)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("orvex-archive-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "a.bin").string();
    {
        CArchive ar(path, CArchive::store);
        ar << int32_t(1) << std::string("first");
        ar.Close();
    }
    {
        // A save that fails half-way (no Close) leaves the previous file.
        CArchive ar(path, CArchive::store);
        ar << int32_t(2);
    }
    {
        CArchive ar(path, CArchive::load);
        int32_t v = 0;
        std::string s;
        ar >> v >> s;
        EXPECT_EQ(v, 1);
        EXPECT_EQ(s, "first");
        EXPECT_THROW(ar >> v, CArchiveException);
    }
    // Bulk data larger than the I/O block pass through intact.
    std::vector<float> big(300000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<float>(i) * 0.25f;
    {
        CArchive ar(path, CArchive::store);
        ar << uint8_t(9);
        ar.Write(big.data(), big.size() * sizeof(float));
        ar << uint8_t(8);
        ar.Close();
    }
    {
        CArchive ar(path, CArchive::load);
        uint8_t a = 0, z = 0;
        std::vector<float> back(big.size());
        ar >> a;
        ar.Read(back.data(), back.size() * sizeof(float));
        ar >> z;
        EXPECT_EQ(a, 9);
        EXPECT_EQ(z, 8);
        EXPECT_EQ(back, big);
    }
    EXPECT_THROW(CArchive((dir / "missing").string(), CArchive::load), CFileException);
    EXPECT_THROW(CArchive((dir / "no" / "such" / "folder").string(), CArchive::store), CFileException);
    fs::remove_all(dir);
}

// Values read from a file come from blocks of the file: those that straddle a block's edge and
// those cut off by the file's end must read the same as from memory, or fail as the end of data.
TEST(Archive, FileValuesAcrossBlockEdgesAndTheEnd)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("orvex-archive-edges-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "v.bin").string();
    // 1 + 2 + 4 + 8 bytes per round: the 8-byte values fall across every alignment of a block edge.
    constexpr int kRounds = 20000;
    {
        CArchive ar(path, CArchive::store);
        for (int i = 0; i < kRounds; ++i)
            ar << uint8_t(i) << int16_t(-i) << uint32_t(i * 7u) << double(i) * 0.5;
        ar.Close();
    }
    const auto readAll = [&](const std::string& file) {
        CArchive ar(file, CArchive::load);
        for (int i = 0; i < kRounds; ++i) {
            uint8_t a = 0;
            int16_t b = 0;
            uint32_t c = 0;
            double d = 0;
            ar >> a >> b >> c >> d;
            ASSERT_TRUE(a == uint8_t(i) && b == int16_t(-i) && c == i * 7u && d == double(i) * 0.5) << i;
        }
        uint8_t extra = 0;
        EXPECT_THROW(ar >> extra, CArchiveException);
    };
    readAll(path);
    // Cut inside a value at a block edge and inside the last value.
    const auto size = fs::file_size(path);
    for (uintmax_t cut : {uintmax_t(65536 + 3), size - 5}) {
        const std::string cutPath = (dir / "cut.bin").string();
        fs::copy_file(path, cutPath, fs::copy_options::overwrite_existing);
        fs::resize_file(cutPath, cut);
        CArchive ar(cutPath, CArchive::load);
        try {
            for (;;) {
                double d = 0;
                uint8_t a = 0;
                ar >> a >> d;
            }
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << cut;
            EXPECT_LE(ar.Position(), cut);
        }
    }
    fs::remove_all(dir);
}

TEST(Archive, ReadingAFileMovesItsFeedbackToTheBytesRead)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("orvex-archive-progress-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "p.bin").string();
    // Small values across several blocks, then one bulk block read straight to its destination.
    constexpr int kValues = 50000;
    const std::vector<uint8_t> bulk(200000, 7);
    Bytes image;
    {
        CArchive ar(path, CArchive::store);
        for (int i = 0; i < kValues; ++i)
            ar << int32_t(i);
        ar.Write(bulk.data(), bulk.size());
        ar.Close();
    }
    image.resize(fs::file_size(path));
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(image.data()), std::streamsize(image.size()));

    CRecordingFeedback fromFile;
    {
        CArchive ar(path, CArchive::load);
        fromFile.Begin("Reading", static_cast<int64_t>(ar.BytesRemaining()));
        ar.SetFeedback(&fromFile);
        int32_t v = 0;
        for (int i = 0; i < kValues; ++i)
            ar >> v;
        std::vector<uint8_t> back(bulk.size());
        ar.Read(back.data(), back.size());
        EXPECT_EQ(back, bulk);
    }
    // The begin, then a move for each block that came from the file (the first four and the bulk).
    ASSERT_GE(fromFile.fractions.size(), 5u);
    EXPECT_TRUE(std::is_sorted(fromFile.fractions.begin(), fromFile.fractions.end()));
    EXPECT_DOUBLE_EQ(fromFile.fractions.back(), 1.0) << "the bulk read ends the file";

    // Memory holds all its bytes from the start: nothing to show.
    CRecordingFeedback fromMemory;
    {
        CArchive ar(image.data(), image.size());
        fromMemory.Begin("Reading", static_cast<int64_t>(ar.BytesRemaining()));
        ar.SetFeedback(&fromMemory);
        std::vector<uint8_t> all(image.size());
        ar.Read(all.data(), all.size());
    }
    EXPECT_EQ(fromMemory.fractions.size(), 1u);
    fs::remove_all(dir);
}

TEST(Archive, TextLines)
{
    Bytes b = Store([](CArchive& ar) {
        ar.WriteText("a\tb\r\n");
        ar.WriteText("c\n");
        ar.WriteText("last");
    });
    CArchive in(&b, CArchive::load);
    std::string line;
    std::vector<std::string> lines;
    while (in.ReadLine(line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a\tb", "c", "last"}));
}

TEST(Archive, DeepNestingIsRefused)
{
    // Each level is a class reference, an empty name and a count of one child.
    Bytes b = Hex({0xFF, 0xFF, 0x02, 0x00, 0x09, 0x00, 'C', 'T', 'e', 's', 't', 'N', 'o', 'd', 'e', 0x00, 0x01, 0x00});
    for (int i = 0; i < 100000; ++i) {
        const Bytes level = Hex({0x01, 0x80, 0x00, 0x01, 0x00});
        b.insert(b.end(), level.begin(), level.end());
    }
    CArchive in(&b, CArchive::load);
    EXPECT_THROW(in.ReadOwned<CTestNode>(), CArchiveException);
}

TEST(Archive, LongUnicodeStringPrefix)
{
    // 300 characters of U+00E9: the Unicode marker, then the 2-byte length form.
    std::string s;
    for (int i = 0; i < 300; ++i)
        s += "\xC3\xA9";
    Bytes b = Store([&](CArchive& ar) { ar << s; });
    ASSERT_EQ(b.size(), 6u + 600u);
    EXPECT_EQ(Prefix(b, 8), Hex({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01, 0xE9, 0x00}));
    CArchive in(&b, CArchive::load);
    std::string back;
    in >> back;
    EXPECT_EQ(back, s);
}

TEST(Archive, CollectionLayouts)
{
    std::vector<double> values{1.0, -2.5};
    std::vector<uint16_t> words{0x1234};
    std::vector<std::string> strings{"a", "", "\xC3\xA9"};
    std::vector<std::unique_ptr<CTestPoint>> points;
    points.push_back(std::make_unique<CTestPoint>());
    points.push_back(nullptr);
    points.push_back(std::make_unique<CTestPoint>());
    points[0]->x = 3;
    points[2]->x = 4;
    Bytes b = Store([&](CArchive& ar) {
        SerializeValues(ar, values);
        SerializeValues(ar, words);
        SerializeStrings(ar, strings);
        SerializeObjects(ar, points);
    });
    const Bytes expect = Cat({
        Hex({0x02, 0x00, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0, 0, 0, 0x04, 0xC0}), // count, doubles
        Hex({0x01, 0x00, 0x34, 0x12}), Hex({0x03, 0x00, 0x01, 'a', 0x00, 0xFF, 0xFE, 0xFF, 0x01, 0xE9, 0x00}),
        Hex({0x03, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00}), Bytes8("CTestPoint"),
        Hex({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Hex({0x00, 0x00}), // the null item
        Hex({0x01, 0x80, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),        // class reference, second point
    });
    EXPECT_EQ(b, expect);

    std::vector<double> v2{9};
    std::vector<uint16_t> w2;
    std::vector<std::string> s2;
    std::vector<std::unique_ptr<CTestPoint>> p2;
    CArchive in(&b, CArchive::load);
    SerializeValues(in, v2);
    SerializeValues(in, w2);
    SerializeStrings(in, s2);
    SerializeObjects(in, p2);
    EXPECT_EQ(v2, values);
    EXPECT_EQ(w2, words);
    EXPECT_EQ(s2, strings);
    ASSERT_EQ(p2.size(), 3u);
    EXPECT_EQ(p2[0]->x, 3);
    EXPECT_EQ(p2[1], nullptr);
    EXPECT_EQ(p2[2]->x, 4);

    // Forged counts are refused before allocating and leave the caller's collection as it was.
    struct Case
    {
        const char* what;
        Bytes bytes;
        int kind;
    };
    const Case forged[] = {
        {"values", Hex({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x1F, 1, 2, 3, 4, 5, 6, 7}), 0},
        {"strings", Hex({0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 0x00}), 1},
        {"objects", Hex({0x05, 0x00, 0x00, 0x00}), 2},
    };
    for (auto c : forged) {
        SCOPED_TRACE(c.what);
        CArchive f(&c.bytes, CArchive::load);
        std::vector<double> keepV{7};
        std::vector<std::string> keepS{"keep"};
        std::vector<std::unique_ptr<CTestPoint>> keepP;
        keepP.push_back(std::make_unique<CTestPoint>());
        try {
            if (c.kind == 0)
                SerializeValues(f, keepV);
            else if (c.kind == 1)
                SerializeStrings(f, keepS);
            else
                SerializeObjects(f, keepP);
            ADD_FAILURE();
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << e.what();
        }
        EXPECT_EQ(keepV, std::vector<double>{7});
        EXPECT_EQ(keepS, std::vector<std::string>{"keep"});
        EXPECT_EQ(keepP.size(), 1u);
    }
}

TEST(Archive, ObjectsOfAFailedReadCannotBeReferencedLater)
{
    // A holder (class 1, object 2) reads its point (class 3, object 4) and then fails. A caller
    // that catches the error and reads on must be refused the point, which died with its holder.
    const Bytes b = Cat({
        Hex({0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00}), Bytes8("CTestHolder"), Hex({0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00}),
        Bytes8("CTestPoint"), Hex({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Hex({0xEE}), Hex({0x04, 0x00}), // the point
        Hex({0x02, 0x00}),                                                                               // the holder
        Hex({0x03, 0x80, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), // a new point of the class read before
    });
    Bytes data = b;
    CArchive in(&data, CArchive::load);
    try {
        delete in.ReadObject(nullptr);
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
    }
    for (int i = 0; i < 2; ++i) {
        try {
            in.ReadObject(nullptr);
            ADD_FAILURE() << i;
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badIndex) << i;
        }
    }
    // Class records stay good.
    std::unique_ptr<CObject> p(in.ReadObject(RUNTIME_CLASS(CTestPoint)));
    ASSERT_NE(DynamicDowncast<CTestPoint>(p.get()), nullptr);
    EXPECT_EQ(static_cast<CTestPoint*>(p.get())->x, 2);
}

TEST(Archive, ReadClassAloneRefusesAnObjectTag)
{
    Bytes b = Store([&](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CTestPoint));
        ar.WriteObject(nullptr);
    });
    CArchive in(&b, CArchive::load);
    EXPECT_EQ(in.ReadClass(RUNTIME_CLASS(CTestPoint)), RUNTIME_CLASS(CTestPoint));
    EXPECT_EQ(in.GetObjectSchema(), 1u);
    try {
        in.ReadClass();
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
}
