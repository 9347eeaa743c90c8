#include <gtest/gtest.h>

#include <vector>

#include "ModelTestSupport.h"
#include "models/EnergyRatioFunction.h"
#include "models/GClfData.h"
#include "models/GClfGroup.h"
#include "models/LossFactorFuncs.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuData.h"

namespace {

CZuClfFunc* AddClf(CMElement* owner, const std::string& a, const std::string& b, double ab, double ba)
{
    auto* f = owner->AddChild(std::make_unique<CZuClfFunc>("CLF " + a + " " + b, a, b, 3, owner, 36));
    for (int i = 0; i < 3; ++i) {
        f->DataValue(i, 0) = ab * (i + 1);
        f->DataValue(i, 1) = ba * (i + 1);
    }
    return f;
}

} // namespace

TEST(GClfGroup, StoresItsChildrenOnce)
{
    CGClfGroup group("Door-R", nullptr);
    AddClf(&group, "Door-R-F", "Cabin-", 0.1, 0.2);
    AddClf(&group, "Door-R-F", "Sill-R-F", 0.3, 0.4);
    const auto first = Store(group);

    // Save, load, save again: the same bytes, the same two children.
    CArchive in(first.data(), first.size());
    auto back = in.ReadOwned<CGClfGroup>();
    ASSERT_TRUE(back);
    ASSERT_EQ(back->GetChildCount(), 2);
    EXPECT_NE(back->GetChild(0), back->GetChild(1));
    EXPECT_EQ(back->GetChild(0)->GetParent(), back.get());
    EXPECT_EQ(Store(*back), first);
}

TEST(GClfGroup, OldGroupsWithRepeatedChildrenLoadOnce)
{
    CGClfGroup group("Door-R", nullptr);
    AddClf(&group, "Door-R-F", "Cabin-", 0.1, 0.2);
    // Schema 1: the element part, then the child once more (a reference to object 4: the group's
    // class is 1, the group 2, the function's class 3, the function 4).
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        const std::string name = "CGClfGroup";
        ar << uint16_t(0xFFFF) << uint16_t(1) << uint16_t(name.size());
        ar.Write(name.data(), name.size());
        group.CMElement::Serialize(ar);
        ar << uint16_t(4);
    }
    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CGClfGroup>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetChildCount(), 1);
    EXPECT_EQ(in.BytesRemaining(), 0u);
}

TEST(GClfData, LooksUpPairsGroupsAndMirrors)
{
    CGClfData g(nullptr, OCTAVE_BAND_THIRD, 500.0, 800.0);
    CZuClfFunc* own = AddClf(&g, "Roof-F", "Cabin-", 0.1, 0.2);
    CGClfGroup* right = g.CreateGroup("Door-R");
    CZuClfFunc* door = AddClf(right, "Door-R-F", "Cabin-", 0.3, 0.4);
    CZuClfFunc* common = g.AddGlobalClf("Sill-F", "Cabin-", 0, nullptr);
    ASSERT_NE(common, nullptr);
    EXPECT_EQ(common->GetType(), ElementType::UncoupledClf);
    EXPECT_EQ(common->GetDataCount(), 3);
    EXPECT_EQ(g.AddGlobalClf("Sill-F", "Sill-F", 0, nullptr), nullptr);
    EXPECT_EQ(g.AddGlobalClf("Cabin-", "Sill-F", 0, nullptr), common); // found, not made twice

    EXPECT_EQ(g.FindGroup("Door-R-F", 0), right);
    EXPECT_EQ(g.FindGroup("Door-L-F", 0), nullptr);
    EXPECT_EQ(g.FindGroup("Door-L-F", 1), right);
    EXPECT_EQ(g.FindGlobalClf("Cabin-", "Door-R-F", "Door-R", 0), door);
    EXPECT_EQ(g.FindGlobalClf("Cabin-", "Roof-F", "Door-R", 0), nullptr);
    EXPECT_EQ(g.FindGlobalClf("Cabin-", "Roof-F", "Door-R", 1), own);
    EXPECT_EQ(g.FindGlobalClf("Cabin-", "Sill-F", "", 0), common);

    // Stored as (Roof, Cabin): the value read is the one at the index of the first name asked.
    std::vector<double> out(3);
    ASSERT_EQ(g.ExtractGlobalClf("Cabin-", "Roof-F", out.data(), 3, ""), 1);
    EXPECT_EQ(out, (std::vector<double>{0.2, 0.4, 0.6000000000000001}));
    EXPECT_EQ(g.ExtractGlobalClf("Cabin-", "Boot-F", out.data(), 3, ""), 0);
    EXPECT_EQ(out[1], CZuData::kNoValue);
}

TEST(GClfData, TextReadsBackAndABadBlockEndsOnlyItsSection)
{
    CGClfData g(nullptr, OCTAVE_BAND_THIRD, 500.0, 800.0);
    AddClf(&g, "Roof-F", "Cabin-", 0.1, 0.2);
    AddClf(g.CreateGroup("Door-R"), "Door-R-F", "Cabin-", 0.3, 0.4);
    CGClfGroup* second = g.CreateGroup("Door-L");
    AddClf(second, "Door-L-F", "Cabin-", 0.5, 0.6);
    AddClf(second, "Door-L-F", "Sill-L-F", 0.7, 0.8);
    CStdioFile out;
    out.OpenMemory(CStdioFile::modeWrite);
    ASSERT_EQ(g.Export(out), 1);
    const std::string text = out.GetMemoryText();
    EXPECT_EQ(text.rfind("[Global CLFs]\n#ZuClfFunc", 0), 0u);

    CGClfData back(nullptr, OCTAVE_BAND_THIRD, 500.0, 800.0);
    CStdioFile in;
    in.OpenMemory(CStdioFile::modeRead, text);
    ASSERT_EQ(back.Import(in), 1);
    EXPECT_EQ(back.GetName(), "Global CLFs");
    ASSERT_NE(back.FindClf("Roof-F", "Cabin-"), nullptr);
    ASSERT_NE(back.FindGroup("Door-L", 0), nullptr);
    EXPECT_EQ(back.FindGroup("Door-L", 0)->GetChildCount(), 2);
    EXPECT_NEAR(back.FindGlobalClf("Cabin-", "Door-L-F", "Door-L", 0)->DataValue(2, 1), 1.8, 1e-15);
    EXPECT_EQ(back.FindClf("Roof-F", "Cabin-")->DataIndex(1), 630.95734448019323);

    // The Door-R group's block spoiled: that group ends empty, Door-L is still read.
    std::string broken = text;
    const size_t group = broken.find("[Door-R]");
    const size_t values = broken.find("#Subsystems", group);
    ASSERT_NE(values, std::string::npos);
    broken.replace(values, 11, "#Subsystemz");
    CGClfData partial(nullptr, OCTAVE_BAND_THIRD, 500.0, 800.0);
    CStdioFile bad;
    bad.OpenMemory(CStdioFile::modeRead, broken);
    ASSERT_EQ(partial.Import(bad), 1);
    EXPECT_EQ(partial.FindGroup("Door-R", 0)->GetChildCount(), 0);
    EXPECT_EQ(partial.FindGroup("Door-L", 0)->GetChildCount(), 2);

    // Only a heading and an empty line: no functions, no groups. No heading: refused.
    CGClfData bare(nullptr, OCTAVE_BAND_THIRD, 500.0, 800.0);
    CStdioFile headOnly;
    headOnly.OpenMemory(CStdioFile::modeRead, "[Store]\n\n");
    ASSERT_EQ(bare.Import(headOnly), 1);
    EXPECT_EQ(bare.GetName(), "Store");
    EXPECT_EQ(bare.GetChildCount(), 0);
    CStdioFile nothing;
    nothing.OpenMemory(CStdioFile::modeRead, "");
    EXPECT_EQ(bare.Import(nothing), 0);
}

TEST(GClfData, StoredAndReadBackEqual)
{
    CGClfData g(nullptr, OCTAVE_BAND_FULL, 63.0, 8000.0);
    AddClf(g.GetOrCreateCommonGroup(), "A-F", "B-F", 0.1, 0.2);
    const auto buf = Store(g);
    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CGClfData>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetBandType(), OCTAVE_BAND_FULL);
    EXPECT_EQ(back->GetStartFreq(), 63.0);
    EXPECT_EQ(back->GetEndFreq(), 8000.0);
    ASSERT_NE(back->FindCommonGroup(), nullptr);
    EXPECT_EQ(back->FindCommonGroup()->GetChildCount(), 1);
    EXPECT_EQ(Store(*back), buf);
}

TEST(EnergyRatioFunction, TableTextAndStorage)
{
    CEnergyRatioFunction f("ER(A, B)", "A", "B", 3, nullptr, 57);
    const double freqs[] = {500.0, 630.95734448019323, 800.0};
    const double values[] = {0.0, 0.25, -1.0};
    for (int i = 0; i < 3; ++i) {
        f.DataIndex(i) = freqs[i];
        f.DataValue(i) = values[i];
    }
    EXPECT_EQ(f.GetTableCellData(0, 0, 0, 3), "ER(A, B)");
    EXPECT_EQ(f.GetTableCellData(0, 1, 0, 3), "Spectrum");
    EXPECT_EQ(f.GetTableCellData(2, 0, 0, 3), "630");
    EXPECT_EQ(f.GetTableCellData(1, 1, 0, 3), "---");
    EXPECT_EQ(f.GetTableCellData(2, 1, 0, 3), "2.500e-01");
    EXPECT_EQ(f.GetTableCellData(3, 1, 0, 3), "---");
    EXPECT_EQ(f.GetTableCellData(4, 1, 0, 3), "");
    EXPECT_EQ(f.GetTableCellData(1, 2, 0, 3), "");

    const auto buf = Store(f);
    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CEnergyRatioFunction>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetSourceName(), "A");
    EXPECT_EQ(back->GetTargetName(), "B");
    EXPECT_EQ(back->DataValue(1), 0.25);

    CStdioFile out;
    out.OpenMemory(CStdioFile::modeWrite);
    ASSERT_EQ(f.Export(out), 1);
    EXPECT_NE(out.GetMemoryText().find("A\tB\t0\t0.25\t-1\n"), std::string::npos);
    CEnergyRatioFunction read;
    CStdioFile in2;
    in2.OpenMemory(CStdioFile::modeRead, out.GetMemoryText());
    ASSERT_EQ(read.Import(in2), 1);
    EXPECT_EQ(read.GetTargetName(), "B");
    EXPECT_EQ(read.DataValue(2), -1.0);

    // A value line shorter than the bands fails with a message instead of reading past it.
    const std::string full = out.GetMemoryText();
    const size_t cutAt = full.rfind("\t-1\n");
    ASSERT_NE(cutAt, std::string::npos);
    const std::string shortText = full.substr(0, cutAt) + "\n" + full.substr(cutAt + 4);
    CEnergyRatioFunction cut;
    CStdioFile in3;
    in3.OpenMemory(CStdioFile::modeRead, shortText);
    EXPECT_EQ(cut.Import(in3), 0);
    EXPECT_NE(cut.GetImportError().find("2 values for 3 bands"), std::string::npos) << cut.GetImportError();
}
