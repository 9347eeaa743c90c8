#include <gtest/gtest.h>

#include <vector>

#include "ModelTestSupport.h"
#include "models/GClfData.h"
#include "models/GClfGroup.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "models/LossFactorFuncs.h"
#include "models/UpdateLog.h"
#include "models/ZuStringList.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

namespace {

using Matrix = std::vector<double>; // every band, row and column

Matrix Snapshot(const CZuMatFunc& M)
{
    Matrix out;
    for (int b = 0; b < M.GetDataCount(); ++b)
        for (int r = 0; r < M.GetRowSubsystemCount(); ++r)
            for (int c = 0; c < M.GetColSubsystemCount(); ++c)
                out.push_back(M.DataValue(b, r, c));
    return out;
}

// (band, row, column) of the entries that differ.
std::vector<std::tuple<int, int, int>> Changed(const Matrix& before, const CZuMatFunc& M)
{
    std::vector<std::tuple<int, int, int>> out;
    size_t i = 0;
    for (int b = 0; b < M.GetDataCount(); ++b)
        for (int r = 0; r < M.GetRowSubsystemCount(); ++r)
            for (int c = 0; c < M.GetColSubsystemCount(); ++c, ++i)
                if (before[i] != M.DataValue(b, r, c))
                    out.emplace_back(b, r, c);
    return out;
}

struct HseaFixture : ::testing::Test
{
    HseaFixture()
    {
        project.types = {{"Panel-R", 1}, {"Panel-L", 1}, {"Cabin-C", 6}};
        source = std::make_unique<CSEAModelData>("SEA", &project, 5, OCTAVE_BAND_THIRD, 500.0, 800.0);
        layout = ThreeSubsystemLayout();
        FillSmallModel(*source, layout);
    }
    std::unique_ptr<CHSEAModelData> Make(int symmetric)
    {
        auto m = std::make_unique<CHSEAModelData>(source.get(), &project, 0, 0, 0, symmetric);
        m->SetModifiedFlag(0);
        return m;
    }
    CTestModelProject project;
    std::unique_ptr<CSEAModelData> source;
    SmallModelLayout layout;
};

} // namespace

TEST_F(HseaFixture, BuiltFromASourceModel)
{
    auto m = std::make_unique<CHSEAModelData>(source.get(), &project, 0, 0, 1, 1);
    EXPECT_EQ(m->GetType(), 48);
    EXPECT_EQ(m->GetName().rfind("Hybrid SEA Model #", 0), 0u);
    EXPECT_EQ(m->GetClfConstraint(), 1); // always 1 after construction
    EXPECT_EQ(m->GetDlfConstraint(), 1);
    EXPECT_EQ(m->GetReciprocity(), 1);
    EXPECT_EQ(m->GetSymmetricCopy(), 1);
    EXPECT_EQ(m->GetModifiedFlag(), 1);
    ASSERT_NE(m->GetGClfData(), nullptr); // an empty store when the source has none
    ASSERT_NE(m->GetSavedEtaMatrix(), nullptr);
    EXPECT_EQ(Snapshot(*m->GetSavedEtaMatrix()), Snapshot(*source->GetEtaMatrix(1)));
}

TEST_F(HseaFixture, UpdateRecordsChangeExactlyTheirEntries)
{
    struct Case
    {
        const char* what;
        uint32_t type;
        const char* a;
        const char* b;
        int band;
        double value;
        int symmetric;
        std::vector<std::tuple<int, int, int>> changed; // (band, row, column), rows by table index
    };
    // Table: 0 Panel-R-F, 1 Panel-L-F, 2 Cabin-C-.
    const Case cases[] = {
        {"CLF", 0, "Panel-R-F", "Cabin-C-", 1, 0.009, 0, {{1, 2, 0}}},
        {"CLF, mirrored", 0, "Panel-R-F", "Cabin-C-", 1, 0.009, 1, {{1, 2, 0}, {1, 2, 1}}},
        {"CLF of type 4", 4, "Cabin-C-", "Panel-L-F", 2, 0.0007, 0, {{2, 1, 2}}},
        {"total DLF", 2, "Panel-L-F", "", 0, 0.5, 0, {{0, 1, 1}}},
        {"total DLF, mirrored", 2, "Panel-L-F", "", 0, 0.5, 1, {{0, 0, 0}, {0, 1, 1}}},
        {"matrix entry", 7, "Panel-R-F", "Panel-L-F", 2, -0.25, 0, {{2, 1, 0}}},
        {"matrix entry, mirrored", 7, "Panel-R-F", "Panel-L-F", 2, -0.25, 1, {{2, 0, 1}, {2, 1, 0}}},
    };
    for (const Case& c : cases) {
        auto m = Make(c.symmetric);
        CZuMatFunc* E = m->GetEtaMatrix(1);
        const Matrix before = Snapshot(*E);
        const double old = c.type == 2   ? m->ExtractTotalDlf(c.a, c.band)
                           : c.type == 7 ? E->DataValue(c.band, E->GetRowIndex(c.b), E->GetColIndex(c.a))
                                         : m->ExtractClf(c.a, c.b, c.band);
        CUpdateLog log;
        log.Add(c.a, c.b, c.type, c.band, c.value);
        EXPECT_EQ(m->ApplyUpdateLog(&log), 1) << c.what;
        ASSERT_EQ(log.GetCount(), 1) << c.what;
        EXPECT_EQ(log.GetAt(0)->m_oldValue, old) << c.what;
        EXPECT_EQ(Changed(before, *E), c.changed) << c.what;
        EXPECT_EQ(m->GetModifiedFlag(), 1) << c.what;
        if (c.type == 0 || c.type == 4) {
            EXPECT_NEAR(m->ExtractClf(c.a, c.b, c.band), c.value, 1e-15) << c.what;
        }
        if (c.type == 2) {
            EXPECT_NEAR(m->ExtractTotalDlf(c.a, c.band), c.value, 1e-15) << c.what;
        }
    }
}

TEST_F(HseaFixture, GlobalClfRecordsCreateTheirFunction)
{
    for (int symmetric : {0, 1}) {
        auto m = Make(symmetric);
        const Matrix before = Snapshot(*m->GetEtaMatrix(1));
        CUpdateLog log;
        log.Add("Panel-R-F", "Cabin-C-", 1, 2, 0.003);
        ASSERT_EQ(m->ApplyUpdateLog(&log), 1);
        CGClfData* g = m->GetGClfData();
        CZuClfFunc* f = g->FindGlobalClf("Cabin-C-", "Panel-R-F", "", 1);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->GetParent(), g->FindCommonGroup());
        EXPECT_EQ(f->DataValue(2, f->GetIndex("Panel-R-F")), 0.003);
        EXPECT_EQ(f->DataValue(2, f->GetIndex("Cabin-C-")), 0.0);
        EXPECT_EQ(g->FindGlobalClf("Panel-L-F", "Cabin-C-", "", 1) != nullptr, symmetric == 1);
        EXPECT_TRUE(Changed(before, *m->GetEtaMatrix(1)).empty()); // the model matrix stays
    }
}

TEST_F(HseaFixture, RecordsThatChangeNothingAreDropped)
{
    auto m = Make(0);
    const Matrix before = Snapshot(*m->GetEtaMatrix(1));
    CUpdateLog log;
    log.Add("Panel-R-F", "Cabin-C-", 0, 0, m->ExtractClf("Panel-R-F", "Cabin-C-", 0u)); // unchanged
    log.Add("Panel-R-F", "Panel-R-F", 0, 0, 0.1);                                       // same subsystem
    log.Add("Roof-F", "Cabin-C-", 0, 0, 0.1);                                           // not in the model
    log.Add("Panel-R-F", "Cabin-C-", 0, 9, 0.01);                                       // band outside
    log.Add("Panel-R-F", "Cabin-C-", 5, 0, 0.01);                                       // unknown type
    EXPECT_EQ(m->ApplyUpdateLog(&log), 0);
    EXPECT_EQ(log.GetCount(), 0);
    EXPECT_EQ(m->GetModifiedFlag(), 0);
    EXPECT_TRUE(Changed(before, *m->GetEtaMatrix(1)).empty());

    CUpdateLog empty;
    EXPECT_EQ(m->ApplyUpdateLog(&empty), 1);
    EXPECT_EQ(m->ApplyUpdateLog(nullptr), 0);
}

// A record that sets a CLF to 0 (or below) keeps the model's coupling, yet it is an update that
// was asked for: it stays in the log and the model counts as changed.
TEST_F(HseaFixture, ARecordSettingAClfToZeroIsKeptAndMarksTheModel)
{
    for (double value : {0.0, -0.01}) {
        auto m = Make(0);
        const Matrix before = Snapshot(*m->GetEtaMatrix(1));
        const double old = m->ExtractClf("Panel-R-F", "Cabin-C-", 1u);
        CUpdateLog log;
        log.Add("Panel-R-F", "Cabin-C-", 0, 1, value);
        EXPECT_EQ(m->ApplyUpdateLog(&log), 1) << value;
        ASSERT_EQ(log.GetCount(), 1) << value;
        EXPECT_EQ(log.GetAt(0)->m_oldValue, old) << value;
        EXPECT_EQ(m->GetModifiedFlag(), 1) << value;
        EXPECT_TRUE(Changed(before, *m->GetEtaMatrix(1)).empty()) << value;
    }
}

TEST_F(HseaFixture, EntryEditsAndTheirConstraints)
{
    auto m = Make(0);
    CZuMatFunc* E = m->GetEtaMatrix(1);
    CZuVecFunc* D = m->GetModalDensity(1);

    // Constraint flags 1: one entry each.
    Matrix before = Snapshot(*E);
    EXPECT_EQ(m->SetClfEntry(E, 0, 2, 0, -0.5), 1);
    EXPECT_EQ(Changed(before, *E), (std::vector<std::tuple<int, int, int>>{{0, 2, 0}}));
    before = Snapshot(*E);
    EXPECT_EQ(m->SetDlfEntry(E, D, 0, 1, 0.2), 1);
    EXPECT_EQ(Changed(before, *E), (std::vector<std::tuple<int, int, int>>{{0, 1, 1}}));
    EXPECT_NEAR(E->DataValue(0, 1, 1), 0.2 * D->DataValue(0, 1), 1e-15);

    // A value that is not a coupling leaves the matrix as it is and is accepted.
    before = Snapshot(*E);
    for (double value : {0.5, 0.0, -0.0})
        EXPECT_EQ(m->SetClfEntry(E, 0, 2, 0, value), 1) << value;
    EXPECT_TRUE(Changed(before, *E).empty());
    // A zero entry: message 7084.
    E->DataValue(1, 0, 1) = 0.0;
    before = Snapshot(*E);
    {
        CScriptedPrompts prompts;
        CStatusBarFeedback boxes; // the model window's
        EXPECT_EQ(m->SetClfEntry(E, 1, 0, 1, -0.5, &boxes), 0);
        ASSERT_EQ(prompts.Count(), 1u);
        EXPECT_EQ(prompts.Last().stringId, 7084u);
    }
    EXPECT_TRUE(Changed(before, *E).empty());

    // Constraint flags 0: the three-wave block needs two waves before the subsystem; at index 0
    // and 1 the edit is refused instead of reaching outside the matrix.
    m->SetClfConstraint(0);
    m->SetDlfConstraint(0);
    EXPECT_EQ(m->SetDlfEntry(E, D, 0, 0, 0.2), 0);
    EXPECT_EQ(m->SetDlfEntry(E, D, 0, 1, 0.2), 0);
    EXPECT_EQ(m->SetClfEntry(E, 2, 1, 0, -0.5), 0);
    EXPECT_TRUE(Changed(before, *E).empty());
}

TEST(HSEAModelData, ThreeWaveBlocksMoveTogether)
{
    CTestModelProject project;
    CSEAModelData source("SEA", &project, 5, OCTAVE_BAND_THIRD, 500.0, 500.0);
    SmallModelLayout layout;
    layout.keys = {"Door-B", "Door-S", "Door-F", "Sill-B", "Sill-S", "Sill-F"};
    layout.density = {{1, 1, 2, 1, 1, 3}};
    layout.dlf = {{0.1, 0.1, 0.1, 0.2, 0.2, 0.2}};
    for (int s = 0; s < 3; ++s)
        for (int t = 3; t < 6; ++t)
            layout.clf[{s, t}] = {0.01 * (s + 1)};
    FillSmallModel(source, layout);
    CHSEAModelData m(&source, &project, 0, 0, 0, 0);
    m.SetClfConstraint(0);
    m.SetDlfConstraint(0);
    CZuMatFunc* E = m.GetEtaMatrix(1);
    CZuVecFunc* D = m.GetModalDensity(1);

    // CLF edit between two main waves: the whole 3 x 3 block scales.
    const double factor = -0.2 / E->DataValue(0, 5, 2);
    Matrix before = Snapshot(*E);
    ASSERT_EQ(m.SetClfEntry(E, 0, 5, 2, -0.2), 1);
    for (int r = 3; r < 6; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(E->DataValue(0, r, c), before[static_cast<size_t>(r * 6 + c)] * factor, 1e-15);
    EXPECT_EQ(Changed(before, *E).size(), 9u);

    // DLF edit: the two waves before end with the same column sum per modal density.
    ASSERT_EQ(m.SetDlfEntry(E, D, 0, 2, 0.3), 1);
    auto columnSum = [&](int c) {
        double s = 0;
        for (int r = 0; r < 6; ++r)
            s += E->DataValue(0, r, c);
        return s / D->DataValue(0, c);
    };
    EXPECT_NEAR(columnSum(0), columnSum(2), 1e-12);
    EXPECT_NEAR(columnSum(1), columnSum(2), 1e-12);
}

TEST_F(HseaFixture, PreparedMatrixTakesTheGlobalCouplings)
{
    auto m = Make(0);
    CGClfData* g = m->GetGClfData();
    ASSERT_NE(g, nullptr);
    // Panel-R to Cabin given one way only; Panel-L to Cabin in the common group.
    auto* f = g->AddChild(std::make_unique<CZuClfFunc>("g1", "Panel-R-F", "Cabin-C-", 3, g, 36));
    f->DataValue(0, 0) = 0.01;
    CZuClfFunc* common = g->AddGlobalClf("Panel-L-F", "Cabin-C-", 0, nullptr);
    common->DataValue(1, common->GetIndex("Panel-L-F")) = 0.02;
    common->DataValue(1, common->GetIndex("Cabin-C-")) = 0.03;

    CZuMatFunc* E = m->GetEtaMatrix(1);
    CZuVecFunc* D = m->GetModalDensity(1);
    const Matrix eta = Snapshot(*E);
    CZuMatFunc* P = m->PrepareEtaMatrix("Cabin-C");
    ASSERT_EQ(P, m->GetSavedEtaMatrix());
    EXPECT_EQ(Snapshot(*E), eta); // the model's own matrix stays
    EXPECT_NEAR(P->DataValue(0, 2, 0), E->DataValue(0, 2, 0) - 0.01 * D->DataValue(0, 0), 1e-18);
    // The zero direction contributes 1e-20, never an exact zero.
    EXPECT_EQ(P->DataValue(0, 0, 2), E->DataValue(0, 0, 2) - 1e-20 * D->DataValue(0, 2));
    EXPECT_NEAR(P->DataValue(1, 2, 1), E->DataValue(1, 2, 1) - 0.02 * D->DataValue(1, 1), 1e-18);
    EXPECT_NEAR(P->DataValue(1, 1, 2), E->DataValue(1, 1, 2) - 0.03 * D->DataValue(1, 2), 1e-18);
    EXPECT_EQ(P->DataValue(2, 2, 0), E->DataValue(2, 2, 0)); // no coupling at that band

    // With filtering, the store's own CLFs of an input subsystem other than the target are left out.
    project.inputs = {"Panel-R"};
    P = m->PrepareEtaMatrix("Cabin-C");
    EXPECT_EQ(P->DataValue(0, 2, 0), E->DataValue(0, 2, 0) - 1e-20 * D->DataValue(0, 0));
    P = m->PrepareEtaMatrix("Panel-R");
    EXPECT_NEAR(P->DataValue(0, 2, 0), E->DataValue(0, 2, 0) - 0.01 * D->DataValue(0, 0), 1e-18);
}

TEST_F(HseaFixture, StoredExportedAndReadBackEqual)
{
    auto m = Make(1);
    m->SetDlfConstraint(0);
    m->GetStringList()->AddTail("kept");
    CGClfData* g = m->GetGClfData();
    CZuClfFunc* f = g->AddGlobalClf("Panel-R-F", "Cabin-C-", 1, source.get());
    ASSERT_NE(f, nullptr);
    CGClfGroup* group = g->CreateGroup("Panel-L");
    auto* h = group->AddChild(std::make_unique<CZuClfFunc>("h", "Panel-L-F", "Cabin-C-", 3, group, 36));
    h->DataValue(2, 1) = 0.125;

    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        ar.WriteObject(m.get());
    }
    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CHSEAModelData>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetDlfConstraint(), 0);
    EXPECT_EQ(back->GetSymmetricCopy(), 1);
    EXPECT_EQ(back->GetStringList()->GetCount(), 1);
    EXPECT_EQ(Snapshot(*back->GetEtaMatrix(1)), Snapshot(*m->GetEtaMatrix(1)));
    ASSERT_NE(back->GetGClfData()->FindGroup("Panel-L-F", 0), nullptr);
    EXPECT_EQ(back->GetGClfData()->FindGroup("Panel-L-F", 0)->GetChildCount(), 1);

    CStdioFile out;
    out.OpenMemory(CStdioFile::modeWrite);
    ASSERT_EQ(m->Export(out), 1);
    CHSEAModelData fresh(nullptr, &project, 0, 0, 0, 0);
    CStdioFile text;
    text.OpenMemory(CStdioFile::modeRead, out.GetMemoryText());
    ASSERT_EQ(fresh.Import(text), 1);
    EXPECT_EQ(Snapshot(*fresh.GetEtaMatrix(1)), Snapshot(*m->GetEtaMatrix(1)));
    CGClfData* read = fresh.GetGClfData();
    ASSERT_NE(read, nullptr);
    CZuClfFunc* rf = read->FindGlobalClf("Cabin-C-", "Panel-R-F", "", 1);
    ASSERT_NE(rf, nullptr);
    EXPECT_NEAR(rf->DataValue(1, rf->GetIndex("Panel-R-F")), layout.clf[std::make_pair(0, 2)][1], 1e-15);
    CZuClfFunc* rh = read->FindGlobalClf("Panel-L-F", "Cabin-C-", "Panel-L", 0);
    ASSERT_NE(rh, nullptr);
    EXPECT_EQ(rh->DataValue(2, 1), 0.125);
}

TEST_F(HseaFixture, ModelUpdateCutsCouplingsToTheTarget)
{
    auto m = Make(0);
    CGClfData* g = m->GetGClfData();
    CZuClfFunc* f = g->AddGlobalClf("Panel-R-F", "Panel-L-F", 0, nullptr);
    f->DataValue(0, 0) = 0.5;
    ASSERT_EQ(m->ApplyModelUpdate("Cabin-C"), 1);
    // Every positive CLF of the model and of the store is now 1e-20.
    for (int b = 0; b < 3; ++b)
        EXPECT_NEAR(m->ExtractClf("Panel-R-F", "Cabin-C-", b), 1e-20, 1e-30);
    EXPECT_EQ(f->DataValue(0, 0), 1e-20);

    CHSEAModelData empty;
    while (CMElement* old = empty.FindOneChild(ElementType::GClfData))
        empty.DeleteChild(old, 1);
    EXPECT_EQ(empty.ApplyModelUpdate("Cabin-C"), 0);
}

TEST_F(HseaFixture, ClfDataOfTheSourceBecomeTheGlobalStore)
{
    auto* clfs =
        source->AddChild(std::make_unique<CHSEAGeneralData>("CLFs", nullptr, 58, OCTAVE_BAND_THIRD, 500.0, 800.0));
    auto* f = clfs->AddChild(std::make_unique<CZuClfFunc>("c", "Panel-R-F", "Panel-L-F", 3, clfs, 36));
    f->DataValue(1, 0) = 0.25;
    auto m = Make(0);
    CGClfData* g = m->GetGClfData();
    ASSERT_NE(g, nullptr);
    CZuClfFunc* found = g->FindGlobalClf("Panel-L-F", "Panel-R-F", "", 1);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->DataValue(1, 0), 0.25);
}

TEST_F(HseaFixture, GlobalCouplingsMarkTheConnections)
{
    auto m = std::make_unique<CHSEAModelData>(source.get(), &project, 0, 0, 0, 0);
    CHSEAModelData* model = project.AddChild(std::move(m));
    CZuSubsystemTable all(std::vector<std::string>{"Panel-R", "Panel-L", "Cabin-C"});
    model->CreateConnectionInfo(&all);
    CGClfData* g = model->GetGClfData();
    // Panel-R and Panel-L are coupled in the model; the coupling of Cabin to Panel-R is cut in the
    // model and given globally at band 2 only.
    for (int b = 0; b < 3; ++b)
        model->GetEtaMatrix(1)->DataValue(b, 0, 2) = 0.0;
    CZuClfFunc* both = g->AddGlobalClf("Panel-R-F", "Panel-L-F", 0, nullptr);
    both->DataValue(0, 0) = 0.1;
    CZuClfFunc* only = g->AddGlobalClf("Panel-R-F", "Cabin-C-", 0, nullptr);
    only->DataValue(2, 0) = 0.1;
    ASSERT_EQ(model->UpdateConnectionInfo(), 1);
    EXPECT_EQ(model->GetConnection(0, 1, 0), 17);
    EXPECT_EQ(model->GetConnection(1, 0, 0), 1);
    EXPECT_EQ(model->GetConnection(0, 2, 2), 16);
    EXPECT_EQ(both->GetType(), ElementType::CoupledClf);
    EXPECT_EQ(both->GetName(), "Global CLF(Panel-R-F, Panel-L-F)");
    EXPECT_EQ(only->GetType(), ElementType::UncoupledClf);
}
