#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ModelTestSupport.h"
#include "models/EnergyRatioFunction.h"
#include "models/HSEAGeneralData.h"
#include "models/LossFactorFuncs.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/win/PromptService.h"

namespace {

// A set of one kind with two functions (kind 1: one matrix), values by position.
std::unique_ptr<CHSEAGeneralData> MakeSet(int kind, CMElement* parent)
{
    auto g = std::make_unique<CHSEAGeneralData>("Data", parent, 58, OCTAVE_BAND_THIRD, 500.0, 800.0);
    g->SetKind(kind);
    CZuSubsystemTable table(std::vector<std::string>{"A-F", "B-F", "C-"});
    g->SetSubsystemTable(&table);
    const int n = g->GetFreqCount();
    auto fill = [&](CZuVecFunc* f, double base) {
        for (int b = 0; b < n; ++b) {
            f->DataIndex(b) = g->GetFreq(b);
            for (int k = 0; k < f->GetSubsystemCount(); ++k)
                f->DataValue(b, k) = base + 0.125 * b + k;
        }
    };
    switch (kind) {
    case 1: {
        auto* m = g->AddChild(std::make_unique<CZuMatFunc>("M", g->GetSubsystemTable(), nullptr, n, g.get(), 31));
        for (int b = 0; b < n; ++b)
            m->DataIndex(b) = g->GetFreq(b);
        for (int b = 0; b < n; ++b)
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c)
                    m->DataValue(b, r, c) = r == c ? 0.5 : 0.01 * (r + 1) + b;
        break;
    }
    case 2:
        fill(g->AddChild(
                 std::make_unique<CZuClfFunc>(CHSEAGeneralData::ClfName("A-F", "C-"), "A-F", "C-", n, g.get(), 36)),
             0.001);
        fill(g->AddChild(
                 std::make_unique<CZuClfFunc>(CHSEAGeneralData::ClfName("B-F", "C-"), "B-F", "C-", n, g.get(), 36)),
             0.002);
        break;
    case 3:
    case 4:
        fill(g->AddChild(std::make_unique<CZuDlfFunc>("D1", "A-F", n, g.get(), kind == 3 ? 42 : 43)), 0.01);
        fill(g->AddChild(std::make_unique<CZuDlfFunc>("D2", "C-", n, g.get(), kind == 3 ? 42 : 43)), 0.02);
        break;
    case 5:
        g->AddPowerFunc("A-F", 0);
        fill(g->AddPowerFunc("C-", 0), 2.0);
        break;
    }
    return g;
}

std::string ExportText(CZuData& data)
{
    CStdioFile out;
    out.OpenMemory(CStdioFile::modeWrite);
    EXPECT_EQ(data.Export(out), 1);
    return out.GetMemoryText();
}

} // namespace

TEST(HSEAGeneralData, TextExportReadsBackTheSameData)
{
    CTestModelProject project;
    for (int kind = 1; kind <= 5; ++kind) {
        auto g = MakeSet(kind, &project);
        const std::string text = ExportText(*g);
        EXPECT_NE(text.find(std::string("\n") + CHSEAGeneralData::SectionName(kind) + "\n"), std::string::npos);

        CHSEAGeneralData back("Back", nullptr, 58, -1, 0.0, 0.0);
        back.SetKind(kind);
        CStdioFile in;
        in.OpenMemory(CStdioFile::modeRead, text);
        ASSERT_EQ(back.Import(in), 1) << kind << back.GetImportError();
        // Exported again, the same text: band set, table and every function came back.
        EXPECT_EQ(ExportText(back), text) << kind;
        EXPECT_EQ(back.GetChildCount(), g->GetChildCount()) << kind;
    }
}

TEST(HSEAGeneralData, ImportStopsAtTheFirstUnreadableFunction)
{
    CTestModelProject project;
    auto g = MakeSet(2, &project);
    std::string text = ExportText(*g);
    const size_t second = text.find("#ZuClfFunc", text.find("#ZuClfFunc") + 1);
    ASSERT_NE(second, std::string::npos);
    text.replace(second, 10, "#ZuXxxFunc");
    CHSEAGeneralData back("Back", nullptr, 58, -1, 0.0, 0.0);
    CStdioFile in;
    in.OpenMemory(CStdioFile::modeRead, text);
    ASSERT_EQ(back.Import(in), 1);
    EXPECT_EQ(back.GetChildCount(), 1);

    // An unknown section fails; kind 6 writes an empty section line, so its text is of no section.
    CHSEAGeneralData ratios("ER", nullptr, 108, OCTAVE_BAND_THIRD, 500.0, 800.0);
    ASSERT_NE(ratios.AddEnergyRatioFunc("A", "B"), nullptr);
    const std::string erText = ExportText(ratios);
    EXPECT_NE(erText.find("\n\n\n#ZuFunc"), std::string::npos);
    CHSEAGeneralData other("O", nullptr, 108, -1, 0.0, 0.0);
    CStdioFile in2;
    in2.OpenMemory(CStdioFile::modeRead, erText);
    EXPECT_EQ(other.Import(in2), 0);
}

TEST(HSEAGeneralData, FunctionsOfTheSet)
{
    CTestModelProject project;
    CHSEAGeneralData g("Powers", &project, 60, OCTAVE_BAND_THIRD, 500.0, 800.0);
    EXPECT_EQ(g.GetName(), "Powers #" + std::to_string(g.GetSerialNumber()));
    EXPECT_EQ(g.AddPowerFunc("A-F", 4), nullptr);
    CZuPowerFunc* p = g.AddPowerFunc("A-F", 2);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetType(), 64);
    EXPECT_EQ(g.GetKind(), 5);
    EXPECT_EQ(g.GetSubsystemTable()->GetIndex("A-F"), 0);
    for (int b = 0; b < 3; ++b)
        EXPECT_EQ(p->DataValue(b, 0), 1.0);
    EXPECT_EQ(g.FindFuncByKind("A-F", 2), p);
    EXPECT_EQ(g.FindFuncByKind("A-F", 1), nullptr);

    // An existing function starts again at 1.0, without a question.
    p->DataValue(1, 0) = 7.0;
    {
        CScriptedPrompts prompts;
        EXPECT_EQ(g.AddPowerFunc("A-F", 2), p);
        EXPECT_EQ(p->DataValue(1, 0), 1.0);
        EXPECT_EQ(prompts.Count(), 0u);
    }
    EXPECT_EQ(g.GetChildCount(), 1);

    EXPECT_EQ(g.AddEnergyRatioFunc("A-F", "A-F"), nullptr);
    CEnergyRatioFunction* er = g.AddEnergyRatioFunc("A-F", "C-");
    ASSERT_NE(er, nullptr);
    EXPECT_EQ(er->GetType(), 57);
    EXPECT_EQ(g.GetKind(), 6);
    EXPECT_EQ(g.FindEnergyRatioFunc("A-F", "C-"), er);
    EXPECT_EQ(g.FindEnergyRatioFunc("C-", "A-F"), nullptr);
    EXPECT_EQ(g.AddEnergyRatioFunc("A-F", "C-"), er);
    EXPECT_EQ(g.GetSubsystemTable()->GetIndex("C-"), 1);
}

TEST(HSEAGeneralData, ClfLookUpExchangesTheNamesOfAReversedPair)
{
    CTestModelProject project;
    auto g = MakeSet(2, &project);
    std::string a = "C-", b = "A-F";
    auto* f = g->GetClf(a, b, 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(a, "A-F");
    EXPECT_EQ(b, "C-");
    // The value of the side named first by the caller.
    EXPECT_EQ(g->ExtractClf("C-", "A-F", 1u), 0.001 + 0.125 + 1);
    EXPECT_EQ(g->ExtractClf("A-F", "C-", 1u), 0.001 + 0.125);
    std::vector<double> out(3);
    EXPECT_EQ(g->ExtractClf("A-F", "B-F", out.data(), 3u), 0);
    EXPECT_EQ(g->ExtractClf("A-F", "B-F", 0u), CZuData::kNoValue);
}

TEST(HSEAGeneralData, ConnectionInformationOfTheFunctions)
{
    CTestModelProject project;
    project.connected = {{"A", "C"}};
    auto g = MakeSet(2, &project);
    CHSEAGeneralData* set = project.AddChild(std::move(g));
    ASSERT_EQ(set->UpdateConnectionInfo(), 1);
    EXPECT_EQ(set->GetConnection(0, 2, 0), 1); // A-C coupled in the model
    EXPECT_EQ(set->GetConnection(2, 0, 1), 1);
    EXPECT_EQ(set->GetConnection(1, 2, 0), 16); // B-C only in this set
    EXPECT_EQ(set->GetConnection(0, 1, 0), 0);
    set->SetKind(5);
    EXPECT_EQ(set->UpdateConnectionInfo(), 0);
}

TEST(HSEAGeneralData, StoredAndOlderSchemasRead)
{
    CTestModelProject project;
    auto g = MakeSet(3, &project);
    g->GetZuStdDataList()->SetString(1, "note");
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        ar.WriteObject(g.get());
    }
    {
        CArchive in(buf.data(), buf.size());
        auto back = in.ReadOwned<CHSEAGeneralData>();
        ASSERT_TRUE(back);
        EXPECT_EQ(back->GetKind(), 3);
        EXPECT_EQ(back->GetZuStdDataList()->GetString(1), "note");
        EXPECT_EQ(back->GetChildCount(), 2);
    }

    // Older files: schema 14 has a legacy band set after the kind, 13 no property list either,
    // and anything before 13 is refused.
    std::vector<uint8_t> props;
    {
        CArchive ar(&props, CArchive::store);
        g->GetZuStdDataList()->Serialize(ar);
    }
    std::vector<uint8_t> legacyBands;
    {
        COctaveManagerEx bands(OCTAVE_BAND_FULL, 125.0, 1000.0);
        CArchive ar(&legacyBands, CArchive::store);
        bands.Serialize(ar);
    }
    const std::string name = "CHSEAGeneralData";
    const size_t schemaAt =
        static_cast<size_t>(std::search(buf.begin(), buf.end(), name.begin(), name.end()) - buf.begin()) - 4;
    ASSERT_EQ(buf[schemaAt], 15);
    std::vector<uint8_t> base(buf.begin(), buf.end() - static_cast<long>(props.size()));
    for (uint8_t schema : {14, 13, 12}) {
        std::vector<uint8_t> old = base;
        old[schemaAt] = schema;
        old.insert(old.end(), legacyBands.begin(), legacyBands.end());
        if (schema == 14)
            old.insert(old.end(), props.begin(), props.end());
        CArchive in(old.data(), old.size());
        if (schema == 12) {
            EXPECT_THROW(in.ReadOwned<CHSEAGeneralData>(), CArchiveException);
            continue;
        }
        auto back = in.ReadOwned<CHSEAGeneralData>();
        ASSERT_TRUE(back);
        EXPECT_EQ(back->GetFreqCount(), 4) << int(schema); // the legacy band set replaced the stored one
        EXPECT_EQ(back->GetZuStdDataList()->GetCount(), schema == 14 ? 1 : 0);
    }
}
