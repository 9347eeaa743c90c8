#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ModelTestSupport.h"
#include "models/LossFactorFuncs.h"
#include "models/SEAModelData.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuStdData.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

namespace {

struct SeaFixture : ::testing::Test
{
    SeaFixture()
    {
        project.types = {{"Panel-R", 1}, {"Panel-L", 1}, {"Cabin-C", 6}};
        model = project.AddChild(std::make_unique<CSEAModelData>("SEA", &project, 5, OCTAVE_BAND_THIRD, 500.0, 800.0));
        layout = ThreeSubsystemLayout();
        FillSmallModel(*model, layout);
    }
    CTestModelProject project;
    CSEAModelData* model = nullptr;
    SmallModelLayout layout;
};

double TotalDlf(const SmallModelLayout& s, int b, int k)
{
    double v = s.dlf[b][k];
    for (const auto& [pair, values] : s.clf)
        if (pair.first == k)
            v += values[b];
    return v;
}

} // namespace

TEST_F(SeaFixture, ExtractsTheLossFactorsItWasBuiltFrom)
{
    ASSERT_EQ(model->GetFreqCount(), 3);
    for (int b = 0; b < 3; ++b) {
        for (const auto& [pair, values] : layout.clf)
            EXPECT_NEAR(model->ExtractClf(layout.keys[pair.first], layout.keys[pair.second], b), values[b], 1e-15);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(model->ExtractIntrinsicDlf(layout.keys[k], b), layout.dlf[b][k], 1e-15);
            EXPECT_NEAR(model->ExtractTotalDlf(layout.keys[k], b), TotalDlf(layout, b, k), 1e-15);
            EXPECT_EQ(model->ExtractModalDensity(layout.keys[k], b), layout.density[b][k]);
            EXPECT_EQ(model->ExtractWaveNumber(layout.keys[k], b), 0.5 * (k + 1) * (b + 1));
        }
    }
    std::vector<double> out(3);
    ASSERT_EQ(model->ExtractTotalDlf("Cabin-C-", out.data(), 3), 1);
    EXPECT_NEAR(out[2], TotalDlf(layout, 2, 2), 1e-15);
    ASSERT_EQ(model->ExtractWaveNumber("Panel-L-F", out.data(), 3), 1);
    EXPECT_EQ(out[1], 2.0);
}

TEST_F(SeaFixture, FailuresGiveTheirValuesAndMessages)
{
    CScriptedPrompts prompts;
    std::vector<double> out(4);
    // Band limits: a single band equal to the count fails, a range of exactly the count works.
    EXPECT_EQ(model->ExtractClf("Panel-R-F", "Cabin-C-", 3u), CZuData::kNoValue);
    EXPECT_EQ(model->ExtractClf("Panel-R-F", "Cabin-C-", out.data(), 3u), 1);
    EXPECT_EQ(model->ExtractClf("Panel-R-F", "Cabin-C-", out.data(), 4u), 0);
    EXPECT_EQ(model->ExtractTotalDlf("Panel-R-F", 3u), 0.0); // total DLF out of range: 0.0
    EXPECT_EQ(prompts.Count(), 0u);

    // A name missing from the matrix: message 11611 with the name, a box on the status bar.
    CStatusBarFeedback boxes;
    EXPECT_EQ(model->ExtractClf("Roof-F", "Cabin-C-", 0u, &boxes), CZuData::kNoValue);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().stringId, 11611u);
    EXPECT_NE(prompts.Last().text.find("Roof-F"), std::string::npos);
    EXPECT_EQ(model->ExtractClf("Cabin-C-", "Roof-F", out.data(), 2u, &boxes), 0);
    EXPECT_NE(prompts.Last().text.find("Roof-F"), std::string::npos);
    EXPECT_EQ(model->ExtractTotalDlf("Roof-F", 0u, &boxes), CZuData::kNoValue);
    EXPECT_EQ(model->ExtractIntrinsicDlf("Roof-F", 0u, &boxes), CZuData::kNoValue);
    EXPECT_EQ(prompts.Count(), 4u);

    // Vectors: no message, failure value or 0.
    EXPECT_EQ(model->ExtractModalDensity("Roof-F", 0u), CZuData::kNoValue);
    EXPECT_EQ(model->ExtractWaveNumber("Roof-F", out.data(), 3u), 0);
    EXPECT_EQ(model->ExtractModalDensity("Panel-R-F", 7u), CZuData::kNoValue);
    EXPECT_EQ(prompts.Count(), 4u);

    // Same subsystem twice: no function, no child.
    const int children = model->GetChildCount();
    EXPECT_EQ(model->ExtractClf(std::string("Panel-R-F"), std::string("Panel-R-F")), nullptr);
    EXPECT_EQ(model->GetChildCount(), children);
}

TEST_F(SeaFixture, ClfFunctionHoldsBothDirectionsAndIsRefreshed)
{
    auto* f = DynamicDowncast<CZuClfFunc>(model->ExtractClf(std::string("Panel-R-F"), std::string("Cabin-C-")));
    ASSERT_NE(f, nullptr);
    const int a = f->GetIndex("Panel-R-F"), c = f->GetIndex("Cabin-C-");
    for (int b = 0; b < 3; ++b) {
        EXPECT_NEAR(f->DataValue(b, a), layout.clf[std::make_pair(0, 2)][b], 1e-15);
        EXPECT_NEAR(f->DataValue(b, c), layout.clf[std::make_pair(2, 0)][b], 1e-15);
        EXPECT_EQ(f->DataIndex(b), model->GetFreq(b));
    }
    const int children = model->GetChildCount();
    // The reversed request finds the same function and writes each direction at its own index.
    model->GetEtaMatrix(1)->DataValue(1, 2, 0) *= 2.0;
    auto* again = model->ExtractClf(std::string("Cabin-C-"), std::string("Panel-R-F"));
    EXPECT_EQ(again, f);
    EXPECT_EQ(model->GetChildCount(), children);
    EXPECT_NEAR(f->DataValue(1, a), 2.0 * layout.clf[std::make_pair(0, 2)][1], 1e-15);
    EXPECT_NEAR(f->DataValue(1, c), layout.clf[std::make_pair(2, 0)][1], 1e-15);

    auto* dlf = DynamicDowncast<CZuDlfFunc>(model->ExtractTotalDlf(std::string("Panel-L-F")));
    ASSERT_NE(dlf, nullptr);
    EXPECT_EQ(dlf->GetType(), 42);
    EXPECT_NEAR(dlf->DataValue(0, 0), TotalDlf(layout, 0, 1), 1e-15);
    EXPECT_EQ(model->ExtractTotalDlf(std::string("Panel-L-F")), dlf);
    auto* intrinsic = DynamicDowncast<CZuDlfFunc>(model->ExtractIntrinsicDlf(std::string("Panel-L-F")));
    ASSERT_NE(intrinsic, nullptr);
    EXPECT_EQ(intrinsic->GetType(), 43);
    EXPECT_NEAR(intrinsic->DataValue(2, 0), layout.dlf[2][1], 1e-15);
}

TEST_F(SeaFixture, ConnectionFlagsCountACouplingOfExactlyTheThreshold)
{
    CZuSubsystemTable all(std::vector<std::string>{"Panel-R", "Panel-L", "Cabin-C"});
    ASSERT_EQ(model->CreateConnectionInfo(&all), 1);
    CZuMatFunc* E = model->GetEtaMatrix(1);
    CZuVecFunc* n = model->GetModalDensity(1);
    // Panel-L to Panel-R at band 0 exactly 1e-15 per modal density, band 1 just below it.
    n->DataValue(0, 1) = 1.0;
    E->DataValue(0, 0, 1) = -1e-15;
    n->DataValue(1, 1) = 1.0;
    E->DataValue(1, 0, 1) = -0.99e-15;
    ASSERT_EQ(model->UpdateConnectionInfo(), 1);
    EXPECT_EQ(model->GetConnection(0, 1, 0), 1);
    EXPECT_EQ(model->GetConnection(0, 1, 1), 0);
    EXPECT_EQ(model->GetConnection(0, 2, 2), 1);
    EXPECT_EQ(model->GetConnection(2, 2, 0), 1);

    // A subsystem the matrix does not know fails with message 11611.
    CScriptedPrompts prompts;
    project.types["Roof"] = 2;
    CZuSubsystemTable more(std::vector<std::string>{"Panel-R", "Roof"});
    model->CreateConnectionInfo(&more);
    CStatusBarFeedback boxes;
    EXPECT_EQ(model->UpdateConnectionInfo(&boxes), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_NE(prompts.Last().text.find("Roof-F"), std::string::npos);
}

TEST_F(SeaFixture, StoredAndReadBackEqual)
{
    model->GetZuStdDataList()->SetString(39, "title");
    CZuVecFunc* p = model->GetOrCreateVecFunc("Energy");
    ASSERT_NE(p, nullptr);
    p->DataValue(1, 2) = 4.5;
    auto buf = Store(*model);

    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CSEAModelData>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetName(), "SEA");
    EXPECT_EQ(back->GetZuStdDataList()->GetString(39), "title");
    ASSERT_NE(back->GetEtaMatrix(1), nullptr);
    for (int b = 0; b < 3; ++b)
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(back->GetEtaMatrix(1)->DataValue(b, r, c), model->GetEtaMatrix(1)->DataValue(b, r, c));
    CZuVecFunc* q = back->FindVecFunc("Energy");
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->DataValue(1, 2), 4.5);
    EXPECT_EQ(q->GetSubsystemTable(), *back->GetSubsystemTable());
}

TEST_F(SeaFixture, SchemaBefore20HasNoPropertyList)
{
    // An old file is today's without the property list at the end, under schema 19.
    std::vector<uint8_t> buf = Store(*model);
    std::vector<uint8_t> tail;
    {
        CZuStdDataList empty;
        CArchive ar(&tail, CArchive::store);
        empty.Serialize(ar);
    }
    buf.resize(buf.size() - tail.size());
    const std::string name = "CSEAModelData";
    auto it = std::search(buf.begin(), buf.end(), name.begin(), name.end());
    ASSERT_NE(it, buf.end());
    const size_t schemaAt = static_cast<size_t>(it - buf.begin()) - 4;
    ASSERT_EQ(buf[schemaAt], 30);
    buf[schemaAt] = 19;

    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CSEAModelData>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetZuStdDataList()->GetCount(), 0);
    EXPECT_NE(back->GetEtaMatrix(1), nullptr);
}

TEST_F(SeaFixture, TextExportReadsBackKeepingMainWavesOnly)
{
    model->GetSubsystemTable()->Add("Beam"); // no wave mark: not part of an imported model
    CStdioFile out;
    out.OpenMemory(CStdioFile::modeWrite);
    ASSERT_EQ(model->Export(out), 1);
    const std::string text = out.GetMemoryText();

    CSEAModelData fresh("Fresh", &project, 5, -1, 0.0, 0.0);
    CStdioFile in;
    in.OpenMemory(CStdioFile::modeRead, text);
    ASSERT_EQ(fresh.Import(in), 1);
    ASSERT_EQ(fresh.GetSubsystemTable()->GetCount(), 3);
    EXPECT_EQ(fresh.GetSubsystemTable()->GetIndex("Beam"), -1);
    for (int b = 0; b < 3; ++b) {
        EXPECT_EQ(fresh.GetFreq(b), model->GetFreq(b));
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(fresh.ExtractTotalDlf(layout.keys[k], b), model->ExtractTotalDlf(layout.keys[k], b));
            EXPECT_EQ(fresh.ExtractWaveNumber(layout.keys[k], b), model->ExtractWaveNumber(layout.keys[k], b));
        }
    }

    // A matrix block that cannot be read leaves the model without new functions.
    std::string broken = text;
    const size_t at = broken.find("#ZuMatFunc");
    ASSERT_NE(at, std::string::npos);
    broken.replace(at, 10, "#ZuBadFunc");
    CSEAModelData other("Other", &project, 5, -1, 0.0, 0.0);
    CStdioFile bad;
    bad.OpenMemory(CStdioFile::modeRead, broken);
    EXPECT_EQ(other.Import(bad), 0);
    EXPECT_EQ(other.GetEtaMatrix(0), nullptr);
    EXPECT_EQ(other.GetModalDensity(0), nullptr);
    EXPECT_EQ(other.GetWaveNumber(0), nullptr);
}

TEST_F(SeaFixture, ParameterVectorsAndCopy)
{
    CZuVecFunc source("src", model->GetSubsystemTable(), 3, nullptr, 52);
    source.DataValue(0, 0) = 1.0;
    source.DataValue(2, 2) = 3.0;
    EXPECT_EQ(model->SetVecFuncValues("", &source, -1), 0);
    EXPECT_EQ(model->SetVecFuncValues("E", nullptr, -1), 0);
    ASSERT_EQ(model->SetVecFuncValues("E", &source, 2), 1); // one band only
    EXPECT_EQ(model->FindVecFunc("E")->DataValue(0, 0), 0.0);
    EXPECT_EQ(model->FindVecFunc("E")->DataValue(2, 2), 3.0);
    ASSERT_EQ(model->SetVecFuncValues("E", &source, -1), 1); // the whole function
    EXPECT_EQ(model->FindVecFunc("E")->DataValue(0, 0), 1.0);
    CZuVecFunc wrong("w", nullptr, 3, nullptr, 52);
    EXPECT_EQ(model->SetVecFuncValues("E", &wrong, -1), 0);

    CSEAModelData copy("Copy", &project, 5, -1, 0.0, 0.0);
    EXPECT_EQ(copy.CopyModelData(nullptr), 0);
    ASSERT_EQ(copy.CopyModelData(model), 1);
    EXPECT_EQ(copy.GetFreqCount(), 3);
    EXPECT_EQ(*copy.GetSubsystemTable(), *model->GetSubsystemTable());
    EXPECT_NEAR(copy.ExtractClf("Cabin-C-", "Panel-L-F", 1u), layout.clf[std::make_pair(2, 1)][1], 1e-15);
    EXPECT_EQ(copy.GetEtaMatrix(1)->GetParent(), &copy);
}
