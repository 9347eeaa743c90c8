#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "TestTree.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuData.h"
#include "platform/elements/ZuDlfFunc.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/elements/ZuStdDataList.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"

using namespace elements_test;

namespace {
CZuSubsystemTable Table(std::initializer_list<const char*> names)
{
    CZuSubsystemTable t;
    for (const char* n : names)
        t.Add(n);
    return t;
}

std::string ExportText(CZuFuncElement& f)
{
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    EXPECT_EQ(f.Export(file), 1);
    return file.GetMemoryText();
}
} // namespace

TEST(Functions, VectorAndMatrixKeepValuesByNameWhenRebound)
{
    CZuSubsystemTable abc = Table({"A", "B", "C"});
    CZuVecFunc vec("v", &abc, 2, nullptr, 52);
    CZuMatFunc mat("m", &abc, nullptr, 2, nullptr, 2);
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 3; ++k) {
            vec.DataValue(i, k) = 10 * i + k;
            for (int c = 0; c < 3; ++c)
                mat.DataValue(i, k, c) = 100 * i + 10 * k + c;
        }
    CZuSubsystemTable cxa = Table({"C", "X", "A"});
    vec.SetSubsystemTable(&cxa);
    mat.SetSubsystemTable(&cxa);
    EXPECT_EQ(vec.GetIndex("X"), 1);
    EXPECT_EQ(vec.GetIndex("B"), -1);
    EXPECT_EQ(vec.DataValue(1, 0), 12);     // C
    EXPECT_EQ(vec.DataValue(1, 1), 0);      // X is new
    EXPECT_EQ(vec.DataValue(1, 2), 10);     // A
    EXPECT_EQ(mat.DataValue(1, 0, 2), 120); // (C, A)
    EXPECT_EQ(mat.DataValue(1, 1, 2), 0);
    EXPECT_EQ(mat.GetRowIndex("A"), 2);
    EXPECT_EQ(mat.GetColIndex("C"), 0);

    // Indices outside the data are refused, never read or written past the values.
    EXPECT_THROW(vec.DataValue(2, 0), std::out_of_range);
    EXPECT_THROW(vec.DataValue(0, 3), std::out_of_range);
    EXPECT_THROW(mat.DataValue(0, 0, -1), std::out_of_range);
    EXPECT_THROW(vec.DataIndex(5), std::out_of_range);

    // Growing the data count keeps values and adds zeros.
    vec.SetDataCount(3);
    EXPECT_EQ(vec.DataValue(1, 0), 12);
    EXPECT_EQ(vec.DataValue(2, 2), 0);
}

// A matrix whose stored sizes (2^21 points, 2^20 rows, 2^20 columns) ask for 2^61 values, whose
// byte count wraps round to 0: the reader must refuse it with an archive error before it allocates.
TEST(Functions, MatrixWithForgedHugeSizesIsRefused)
{
    CZuMatFunc empty("m", nullptr, nullptr, 0, nullptr, 2);
    std::vector<uint8_t> bytes = Store(empty);
    // The image ends with the data index count (2 bytes), the row and column tables (version byte
    // and a 2-byte count each) and the value count (8 bytes), all empty.
    ASSERT_GE(bytes.size(), 16u);
    bytes.resize(bytes.size() - 16);
    auto put = [&bytes](uint64_t v, int width) {
        for (int k = 0; k < width; ++k)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * k)));
    };
    const uint32_t points = 1u << 21, rows = 1u << 20, cols = 1u << 20;
    put(0xFFFF, 2);
    put(points, 4);
    bytes.resize(bytes.size() + size_t{8} * points, 0); // the data index: zeros
    for (uint32_t names : {rows, cols}) {
        put(1, 1);
        put(0xFFFF, 2);
        put(names, 4);
        bytes.resize(bytes.size() + names, 0); // empty names
    }
    put(uint64_t{1} << 61, 8);
    EXPECT_THROW(Load(bytes), CArchiveException);
}

TEST(Functions, PairAndSingleSubsystemFunctions)
{
    CZuClfFunc clf("clf", "Roof-F", "Cabin-", 3, nullptr, 36);
    EXPECT_EQ(clf.GetSubsystemCount(), 2);
    EXPECT_EQ(clf.GetSubsystem(0), "Roof-F");
    EXPECT_EQ(clf.GetIndex("Cabin-"), 1);
    CZuDlfFunc dlf("dlf", "Roof-F", 3, nullptr, 42);
    CZuPowerFunc power("p", "Cabin-", 3, nullptr, 3);
    EXPECT_EQ(dlf.GetSubsystem(), "Roof-F");
    EXPECT_EQ(power.GetSubsystem(), "Cabin-");
    power.DataValue(2, 0) = 1.0;
    EXPECT_EQ(power.DataValue(2, 0), 1.0);
    EXPECT_THROW(power.DataValue(2, 1), std::out_of_range);
}

TEST(Functions, TextBlocksReadBackExactly)
{
    CZuSubsystemTable table = Table({"Roof-F", "Tab\there", "Cabin-"});
    CZuFunc func("f \\ name", 3, nullptr, 54);
    func.SetUnit("dB (ref=2E-5Pa)");
    func.DataValue(0) = 1.0 / 3.0;
    func.DataValue(1) = HUGE_VAL;
    func.DataValue(2) = -1e-300;
    CZuVecFunc vec("vec", &table, 2, nullptr, 4);
    vec.DataValue(1, 1) = 0.1;
    CZuMatFunc mat("mat", &table, nullptr, 2, nullptr, 2);
    mat.DataValue(1, 2, 0) = -7.25e-5;
    CZuClfFunc clf("clf", "Roof-F", "Cabin-", 2, nullptr, 36);
    clf.DataValue(0, 1) = 0.5;
    CZuDlfFunc dlf("dlf", "Roof-F", 2, nullptr, 43);
    CZuPowerFunc power("power", "Cabin-", 2, nullptr, 3);
    power.DataValue(1, 0) = 1.0;
    CZuFuncElement* functions[] = {&func, &vec, &mat, &clf, &dlf, &power};
    for (CZuFuncElement* f : functions)
        for (int i = 0; i < f->GetDataCount(); ++i)
            f->DataIndex(i) = 100.0 * (i + 1) + 0.1;

    // All blocks in one file, read back in order into fresh objects of the same classes.
    CStdioFile out;
    out.OpenMemory(CStdioFile::modeWrite);
    for (CZuFuncElement* f : functions) {
        ASSERT_EQ(f->Export(out), 1);
        out.WriteString("\n");
    }
    CStdioFile in;
    in.OpenMemory(CStdioFile::modeRead, out.GetMemoryText());
    for (CZuFuncElement* f : functions) {
        std::unique_ptr<CObject> fresh(f->GetRuntimeClass()->CreateObject());
        auto* g = DynamicDowncast<CZuFuncElement>(fresh.get());
        ASSERT_TRUE(g);
        ASSERT_EQ(g->Import(in), 1) << f->GetName();
        EXPECT_EQ(g->GetName(), f->GetName());
        EXPECT_EQ(g->GetType(), f->GetType());
        // Equal functions store equal images (name, index, subsystems, values, unit).
        EXPECT_EQ(Store(*g), Store(*f)) << f->GetName();
    }
    CZuFunc extra;
    EXPECT_EQ(extra.Import(in), 0); // end of the text
}

TEST(Functions, BrokenTextBlocksLeaveTheFunctionUnchanged)
{
    CZuSubsystemTable table = Table({"A", "B"});
    CZuVecFunc source("source", &table, 2, nullptr, 4);
    source.DataValue(1, 1) = 2.5;
    std::string good = ExportText(source);

    auto cutAfterLines = [&](int lines) {
        size_t at = 0;
        for (int i = 0; i < lines; ++i)
            at = good.find('\n', at) + 1;
        return good.substr(0, at);
    };
    std::string replaced = good;
    replaced.replace(replaced.find("2.5"), 3, "2.x");
    std::string cases[] = {
        "",                                                               // nothing
        cutAfterLines(1),                                                 // header only
        cutAfterLines(4),                                                 // no end line
        replaced,                                                         // a value that is no number
        "#ZuFunc\tx\t1\t2\n#Index\t1\t2\n#Unit\t\n#Values\t1\t2\n#End\n", // another kind of block
        "#ZuVecFunc\tx\t4\t-2\n",                                         // negative count
    };
    for (const std::string& text : cases) {
        CZuSubsystemTable other = Table({"Z"});
        CZuVecFunc target("keep", &other, 1, nullptr, 9);
        target.DataValue(0, 0) = 42.0;
        std::vector<uint8_t> before = Store(target);
        CStdioFile in;
        in.OpenMemory(CStdioFile::modeRead, text);
        EXPECT_EQ(target.Import(in), 0) << text;
        EXPECT_EQ(Store(target), before) << text;
    }
}

TEST(Functions, TableCopyPasteAndUndo)
{
    CZuSubsystemTable table = Table({"A", "B", "C"});
    CZuVecFunc vec("vec", &table, 3, nullptr, 4);
    for (int i = 0; i < 3; ++i) {
        vec.DataIndex(i) = 1000.0 * (i + 1);
        for (int k = 0; k < 3; ++k)
            vec.DataValue(i, k) = i * 10 + k;
    }
    EXPECT_EQ(vec.GetTableRowCount(0), 4);
    EXPECT_EQ(vec.GetTableColCount(0), 4);
    EXPECT_EQ(vec.GetTableCellData(0, 2, 0, 2), "B");
    EXPECT_EQ(vec.GetTableCellData(2, 3, 0, 2), "12.00");
    EXPECT_EQ(vec.GetTableCellData(5, 0, 0, 2), "");

    // Copy of a selection (columns 2..3, rows 2..3) with labels.
    std::vector<uint8_t> clip;
    {
        CArchive ar(&clip, CArchive::store);
        CZuCellRect sel{3, 3, 2, 2}; // given reversed; normalised
        vec.CopyToClipboard(ar, 1, 0, &sel);
    }
    std::string text(clip.begin(), clip.end());
    EXPECT_EQ(text, vec.GetTableCellData(0, 0, 0, 6) + "\tB\tC\r\n" + vec.GetTableCellData(2, 0, 0, 6) +
                        "\t11.000000000000000\t12.000000000000000\r\n" + vec.GetTableCellData(3, 0, 0, 6) +
                        "\t21.000000000000000\t22.000000000000000\r\n");

    // Paste with a header line and row labels at cell (column 2, row 1); a field that is no number
    // leaves its cell; the paste stops at the table's end.
    std::string paste = "Freq\tX\tY\r\n1k\t5\tword\r\n2k\t6\t7\r\n3k\t8\t9\r\n4k\t100\t100\r\n";
    CArchive in(reinterpret_cast<const uint8_t*>(paste.data()), paste.size());
    CZuCellPoint at{2, 1};
    vec.PasteFromClipboard(in, 0, &at);
    EXPECT_EQ(vec.DataValue(0, 1), 5);
    EXPECT_EQ(vec.DataValue(0, 2), 2); // "word": unchanged
    EXPECT_EQ(vec.DataValue(1, 1), 6);
    EXPECT_EQ(vec.DataValue(1, 2), 7);
    EXPECT_EQ(vec.DataValue(2, 2), 9);
    EXPECT_EQ(vec.DataValue(2, 0), 20); // column 1 untouched
    EXPECT_EQ(vec.GetUndoBufferSize(), 5);

    while (vec.UndoData() >= 0) {
    }
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(vec.DataValue(i, k), i * 10 + k);

    // A table whose values may not change takes no paste.
    vec.SetCanChangeValues(0);
    CArchive again(reinterpret_cast<const uint8_t*>(paste.data()), paste.size());
    vec.PasteFromClipboard(again, 0, &at);
    EXPECT_EQ(vec.DataValue(0, 1), 1);
}

TEST(Functions, MatrixTableIsOnePerBand)
{
    CZuSubsystemTable table = Table({"A", "B"});
    CZuMatFunc mat("m", &table, nullptr, 2, nullptr, 2);
    mat.DataIndex(0) = 1000.0;
    mat.DataIndex(1) = 1250.0;
    mat.DataValue(1, 0, 1) = 0.25;
    EXPECT_EQ(mat.GetTableFreqCount(), 2);
    EXPECT_EQ(mat.GetFreqIndicator(1), "1250");
    EXPECT_EQ(mat.GetTableCellData(0, 0, 1, 2), "1250");
    EXPECT_EQ(mat.GetTableCellData(1, 2, 1, 2), "0.25");
    EXPECT_EQ(mat.GetTableCellData(1, 2, 2, 2), ""); // no band 2
    mat.ChangeDataValue(0, 1, 0, 3.0, 1);
    EXPECT_EQ(mat.DataValue(0, 0, 1), 3.0);
    EXPECT_EQ(mat.UndoData(), 0);
    EXPECT_EQ(mat.DataValue(0, 0, 1), 0.0);
    EXPECT_EQ(mat.UndoData(), -1);
    CZuSubsystemTable picked;
    mat.GetSelection(1, 2, 0, &picked);
    EXPECT_EQ(picked.Names(), (std::vector<std::string>{"A", "B"}));
}

TEST(StdData, TypedValuesUpdateInPlaceAndRoundTrip)
{
    CZuStdDataList list;
    list.SetString(40, "orvex");
    list.SetLong(42, int64_t(1) << 40);
    list.SetInt(356, 1);
    list.Add(std::make_unique<CZuStdStringData>(39, "first"));
    list.Add(std::make_unique<CZuStdStringData>(39, "second"));
    list.SetString(40, "renamed");
    list.SetString(356, "now text"); // another kind replaces the entry in place
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.GetString(40), "renamed");
    EXPECT_EQ(list.GetLong(42), int64_t(1) << 40);
    EXPECT_EQ(list.GetInt(356, -1), -1);
    EXPECT_EQ(list.GetString(356), "now text");
    EXPECT_EQ(list.GetString(39), "first");
    EXPECT_EQ(list.FindIndex(39, list.FindIndex(39) + 1), 4);
    EXPECT_EQ(list.GetData(7), nullptr);

    std::vector<uint8_t> bytes;
    {
        CArchive ar(&bytes, CArchive::store);
        list.Serialize(ar);
    }
    CZuStdDataList back;
    {
        CArchive ar(bytes.data(), bytes.size());
        back.Serialize(ar);
    }
    ASSERT_EQ(back.GetCount(), list.GetCount());
    for (int i = 0; i < list.GetCount(); ++i) {
        EXPECT_EQ(back.GetAt(i)->GetRuntimeClass(), list.GetAt(i)->GetRuntimeClass());
        EXPECT_EQ(back.GetAt(i)->GetID(), list.GetAt(i)->GetID());
        EXPECT_EQ(back.GetAt(i)->GetText(), list.GetAt(i)->GetText());
    }
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        CZuStdDataList partial;
        CArchive ar(bytes.data(), cut);
        EXPECT_THROW(partial.Serialize(ar), CArchiveException) << cut;
    }
    CZuStdDataList copy = list;
    list.DeleteAll();
    EXPECT_EQ(copy.GetString(40), "renamed");
}

TEST(StdioFile, WritesAtomicallyAndReadsBothLineEnds)
{
    TempDir dir;
    std::string path = dir.File("out.txt");
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(path, CStdioFile::modeWrite));
        f.WriteString("old\n");
        f.Close();
    }
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(path, CStdioFile::modeWrite));
        f.WriteString("half-written");
        // destroyed without Close: the previous file stays
    }
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(path, CStdioFile::modeRead));
        std::string line;
        ASSERT_TRUE(f.ReadString(line));
        EXPECT_EQ(line, "old");
        EXPECT_FALSE(f.ReadString(line));
    }
    CStdioFile m;
    m.OpenMemory(CStdioFile::modeRead, "a\r\nb\n\nc");
    std::vector<std::string> lines;
    std::string line;
    while (m.ReadString(line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "c"}));
    CStdioFile missing;
    std::string error;
    EXPECT_FALSE(missing.Open(dir.File("none.txt"), CStdioFile::modeRead, &error));
    EXPECT_FALSE(error.empty());
}
