// Splitting of large universal files and the node map with its table.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "UFTestFiles.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/win/Clipboard.h"
#include "uff/SplitUf.h"
#include "uff/UFNodeMap.h"
#include "uff/UFScanner.h"

namespace fs = std::filesystem;

namespace {

fs::path Folder(const std::string& name)
{
    auto p = fs::temp_directory_path() / ("orvex_uff_split_" + std::to_string(getpid())) / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

// Three short datasets after two lines outside any dataset.
std::string SmallFile()
{
    std::string text = "header line\nsecond\n";
    for (int d = 0; d < 3; ++d) {
        UF58Fields ds;
        ds.numbers = {1.0 * d, 2, 3, 4, 5, 6, 7, 8};
        text += Dataset58(ds);
    }
    return text;
}

} // namespace

TEST(SplitUf, SizeDecidesOn64BitSizes)
{
    EXPECT_FALSE(CSplitUf::IsLarge(1999999999));
    EXPECT_TRUE(CSplitUf::IsLarge(2000000000));
    EXPECT_TRUE(CSplitUf::IsLarge(4500000000ull));
    EXPECT_TRUE(CSplitUf::IsLarge(4294967296ull + 10)); // would be 10 bytes in 32 bits

    const fs::path dir = Folder("size");
    const std::string source = (dir / "run.unv").string();
    WriteFile(source, SmallFile());
    for (uint64_t size : {uint64_t{1999999999}, uint64_t{2000000000}, uint64_t{4500000000ull}}) {
        CSplitUf::Limits limits;
        limits.sizeOf = [size](const std::string&) { return size; };
        CSplitUf split(source, limits);
        EXPECT_EQ(split.GetParts().size(), size >= 2000000000 ? 1u : 0u) << size;
    }
}

TEST(SplitUf, PartsEndAtDatasetBoundariesAndHoldTheWholeFile)
{
    const fs::path dir = Folder("parts");
    const std::string source = (dir / "run.unv").string();
    const std::string text = SmallFile();
    WriteFile(source, text);
    CSplitUf::Limits limits;
    limits.threshold = 1;
    limits.linesPerPart = 5; // every part ends at the first boundary after 5 lines
    CRecordingFeedback progress;
    CSplitUf split(source, limits, &progress);
    // The first file holds the two loose lines and the first dataset; no empty part follows the last.
    ASSERT_EQ(split.GetParts().size(), 3u);
    EXPECT_EQ(split.GetParts()[0], (dir / "run_001.unv").string());
    EXPECT_EQ(split.GetParts()[2], (dir / "run_003.unv").string());
    EXPECT_FALSE(fs::exists(dir / "run_004.unv"));
    EXPECT_EQ(progress.begins.size(), 1u);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_DOUBLE_EQ(progress.fractions.back(), 1.0);
    std::string joined;
    for (const auto& part : split.GetParts()) {
        const std::string partText = ReadFile(part);
        EXPECT_EQ(partText.substr(partText.size() - 7), "    -1\n");
        std::vector<std::unique_ptr<CDAQPPUFIndex>> index;
        std::string error;
        EXPECT_EQ(CUFScanner::Scan(part, index, &error), 1) << error;
        EXPECT_EQ(index.size(), 1u);
        joined += partText;
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(ReadFile(source), text); // the source stays

    // A part also ends before a dataset whose header would lie beyond the byte limit.
    limits.linesPerPart = 1000000;
    limits.maxPartBytes = text.size() / 2;
    CSplitUf byBytes(source, limits);
    ASSERT_EQ(byBytes.GetParts().size(), 2u);
    for (const auto& part : byBytes.GetParts()) {
        std::vector<std::unique_ptr<CDAQPPUFIndex>> index;
        ASSERT_EQ(CUFScanner::Scan(part, index, nullptr), 1);
        for (const auto& x : index)
            EXPECT_LE(static_cast<uint64_t>(x->GetOffset()), limits.maxPartBytes);
    }
    EXPECT_EQ(ReadFile(byBytes.GetParts()[0]) + ReadFile(byBytes.GetParts()[1]), text);
}

TEST(SplitUf, PartNamesAndErrors)
{
    EXPECT_EQ(CSplitUf::PartPath("/data/run.unv", 1), "/data/run_001.unv");
    EXPECT_EQ(CSplitUf::PartPath("/data/run.unv", 2), "/data/run_002.unv");
    EXPECT_EQ(CSplitUf::PartPath("/data/run.unv", 1000), "/data/run_1000.unv");
    EXPECT_EQ(CSplitUf::PartPath("run.uff", 7), "run_007.uff");

    CRecordingFeedback feedback;
    const std::string missing = (Folder("errors") / "missing.unv").string();
    // A file that cannot be measured counts as large; the split then reports why it failed.
    EXPECT_THROW(CSplitUf split(missing, &feedback), CUFImportAbort);
    EXPECT_EQ(feedback.ReportTexts(CFeedback::ESeverity::Warning),
              std::vector<std::string>{"ERR(2): Splitting universal file.\n" + missing});
}

TEST(UFNodeMap, NewNodesTakeTheLowestFreeNumber)
{
    CUFNodeMap map;
    map.SetAt(CUFNode(1, "Roof", 0));
    map.SetAt(CUFNode(2, "Roof", 1));
    map.SetAt(CUFNode(4, "Floor", 0));
    CUFNode node("Floor", 1);
    map.AddNewNode(node);
    EXPECT_EQ(node.m_nNode, 3);
    map.AddNewNode(node);
    EXPECT_EQ(node.m_nNode, 5);

    CUFNode find("Roof", 1);
    EXPECT_EQ(map.FindNode(find), 1);
    EXPECT_EQ(find.m_nNode, 2);
    CUFNode none(9, "roof", 1); // names compare with case
    EXPECT_EQ(map.FindNode(none), 0);
    EXPECT_EQ(none.m_nNode, 0);

    std::vector<CUFNode> nodes;
    EXPECT_EQ(map.GetNodesOfSubsystem("Floor", nodes, 1), 3);
    EXPECT_EQ(nodes[1].m_nLP, 1);
    std::vector<std::string> names{"Floor"};
    map.GetSubsystemNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Floor", "Roof"}));
}

TEST(UFNodeMap, TableKeepsGapsTitleAndTheLaterLine)
{
    CUFNodeMap map;
    map.SetAt(CUFNode(11, "Roof", 0));
    map.SetAt(CUFNode(12, "Roof", 1));
    map.SetAt(CUFNode(14, "Roof", 3));
    map.SetAt(CUFNode(20, "Floor", 0));
    map.SetAt(CUFNode(21, "Floor", -1)); // no local point: no field
    EXPECT_EQ(map.WriteText(), "Roof\t11\t12\t\t14\nFloor\t20\n");

    const std::string path = (Folder("table") / CUFNodeMap::kTableFileName).string();
    map.WriteTextFile(path, "Node table");
    EXPECT_EQ(ReadFile(path).rfind("#@Node table\n# " + path + "\n#\nRoof\t11", 0), 0u);
    CUFNodeMap back;
    std::string title;
    back.ReadTextFile(path, title);
    EXPECT_EQ(title, "Node table");
    EXPECT_EQ(back.GetCount(), 4);
    CUFNode gap("Roof", 3);
    EXPECT_EQ(back.FindNode(gap), 1);
    EXPECT_EQ(gap.m_nNode, 14);

    // Without a header the first line is a row; the later of two lines naming a node wins; empty
    // lines, names alone and fields that are no node add nothing.
    WriteFile(path, "Roof\t1\t2\r\n\r\nDoor\r\nFloor\tx\t2\t\r\n");
    back.ReadTextFile(path, title);
    EXPECT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.Nodes().at(1), CUFNode(1, "Roof", 0));
    EXPECT_EQ(back.Nodes().at(2), CUFNode(2, "Floor", 1));
    EXPECT_THROW(back.ReadTextFile(path + ".missing", title), CFileException);

    ASSERT_TRUE(map.CopyToClipboard());
    CUFNodeMap pasted;
    ASSERT_TRUE(pasted.PasteFromClipboard());
    EXPECT_EQ(pasted.WriteText(), map.WriteText());
}
