#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "calculation/Solver.h"
#include "calculation/SolverProject.h"
#include "models/GClfData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAResultData.h"
#include "models/ModelProjectLink.h"
#include "models/SEAModelData.h"
#include "models/UnitEnergySolver.h"
#include "platform/archive/Archive.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmResultData.h"
#include "support/FakeModelLink.h"

namespace {
// The model project: two plates and a cabin.
class CFakeModelProject : public CFakeModelLink
{
public:
    CFakeModelProject() { MakePlatesAndCabin(*this); }
};

// The analysis project as the solver sees it.
class CFakeAnalysis : public CMElement, public ISolverProject, public IModelProjectHolder
{
public:
    CFakeAnalysis(CFakeModelProject* model, const COctaveManagerEx& bands)
        : CMElement("Analysis", nullptr, 0), m_model(model), m_bands(bands)
    {
        m_rpm.SetRange(1000.0f, 3000.0f, 1000.0f);
        m_map = {0, 1, 2};
    }
    CMElement* GetProjectElement() override { return this; }
    int HasOwner() const override { return 1; }
    CRPMOptions& GetRPMOptions() override { return m_rpm; }
    COctaveManagerEx* GetOctaveManager() override { return &m_bands; }
    std::vector<int32_t>& GetFreqIndexArray() override { return m_map; }
    void GetModelDataParams(int* kind, double* start, double* end) const override
    {
        *kind = OCTAVE_BAND_THIRD;
        *start = 500.0;
        *end = 800.0;
    }
    IModelProjectLink* GetModelProjectLink() const override { return m_model; }

    CFakeModelProject* m_model;
    COctaveManagerEx m_bands;
    CRPMOptions m_rpm;
    std::vector<int32_t> m_map;
};

struct SolverFixture : ::testing::Test
{
    SolverFixture()
    {
        model = AddPlatesAndCabinModel(modelProject);
        analysis = std::make_unique<CFakeAnalysis>(&modelProject, *model->GetOctaveManager());
        std::vector<double> rpms{1000, 2000, 3000}, freqs;
        for (int b = 0; b < 3; ++b)
            freqs.push_back(model->GetFreq(b));
        for (const char* name : {"PlateA", "PlateB"}) {
            auto f = CZuRpmFunc::NewRpmFunc("IP", 3, analysis.get(), name, freqs.data(), 3, rpms.data(), 3);
            for (int r = 0; r < 3; ++r)
                for (int b = 0; b < 3; ++b)
                    f->DataValue(r, b) = name[5] == 'A' ? 0.1 * (r + 1) + b : (b == 1 ? 0.0 : 0.5 * (r + 2));
            inputs.Add(analysis->AddChild(std::move(f)));
        }
    }

    std::unique_ptr<CZuData> Run(CSolver& solver, int mode = CSolver::MODE_RPM)
    {
        solver.SetProject(analysis.get());
        solver.SetModelData(model);
        solver.SetInputs(inputs);
        solver.SetMode(mode);
        solver.SetFeedback(&silent);
        if (!solver.Run())
            return nullptr;
        return solver.TakeResult();
    }

    CSilentFeedback silent;
    CFakeModelProject modelProject;
    CHSEAModelData* model = nullptr;
    std::unique_ptr<CFakeAnalysis> analysis;
    CMElementList inputs;
};
} // namespace

TEST_F(SolverFixture, EnergiesAreTheSuperposedUnitEnergiesAndMatchADirectSolve)
{
    CSolver solver;
    std::unique_ptr<CZuData> data = Run(solver);
    auto* set = DynamicDowncast<CZuRpmResultData>(data.get());
    ASSERT_TRUE(set);
    EXPECT_EQ(set->GetType(), 90);
    ASSERT_EQ(set->GetResultCount(), 3);
    EXPECT_EQ(solver.GetSolvedBandCount(), 6); // two inputs, three bands
    CZuVecFunc* unitA = model->FindVecFunc("PlateA-F");
    CZuVecFunc* unitB = model->FindVecFunc("PlateB-F");
    ASSERT_TRUE(unitA && unitB);
    auto* pA = DynamicDowncast<CZuRpmFunc>(inputs[0]);
    auto* pB = DynamicDowncast<CZuRpmFunc>(inputs[1]);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(set->GetKey(r), 1000.0 * (r + 1));
        auto* result = DynamicDowncast<CHSEAResultData>(set->GetResult(r));
        ASSERT_TRUE(result);
        EXPECT_EQ(result->GetName(), std::to_string(1000 * (r + 1)));
        CZuVecFunc* E = result->GetModalEnergyVector(0);
        for (int b = 0; b < 3; ++b)
            for (int j = 0; j < 3; ++j)
                EXPECT_NEAR(E->DataValue(b, j),
                            pA->DataValue(r, b) * unitA->DataValue(b, j) + pB->DataValue(r, b) * unitB->DataValue(b, j),
                            1e-15);
        // The same powers solved directly give the same energies.
        CHSEAResultData direct(model, std::make_unique<COctaveManagerEx>(*model->GetOctaveManager()), "d",
                               analysis.get(), nullptr);
        direct.GetInputPowerVector(0)->Assign(*result->GetInputPowerVector(0));
        ASSERT_EQ(direct.UpdateAllData(model, 0, nullptr), 1);
        for (int b = 0; b < 3; ++b)
            for (int j = 0; j < 3; ++j)
                EXPECT_NEAR(E->DataValue(b, j) / direct.GetModalEnergyVector(0)->DataValue(b, j), 1.0, 1e-9);
    }
}

TEST_F(SolverFixture, KeptUnitEnergiesAreReusedUntilTheModelChanges)
{
    {
        CSolver first;
        ASSERT_TRUE(Run(first));
        EXPECT_EQ(first.GetSolvedBandCount(), 6);
    }
    CSolver second;
    ASSERT_TRUE(Run(second));
    EXPECT_EQ(second.GetSolvedBandCount(), 0); // nothing solved again

    // A loss-factor edit in model band 2 invalidates that band of both kept vectors only.
    model->GetEtaMatrix(0)->DataValue(2, 2, 2) *= 1.5;
    CSolver third;
    ASSERT_TRUE(Run(third));
    EXPECT_EQ(third.GetSolvedBandCount(), 2);

    // With a band index, the project band is translated to its model band before the cache is
    // asked; only that band is solved, and the other bands of a new vector stay unsolved.
    analysis->m_map = {2, 0, 1};
    model->GetEtaMatrix(0)->DataValue(0, 2, 2) *= 1.5;
    CSolver single;
    single.SetBandIndex(1); // project band 1 is model band 0
    ASSERT_TRUE(Run(single));
    EXPECT_EQ(single.GetSolvedBandCount(), 2);
    CSolver all;
    ASSERT_TRUE(Run(all));
    EXPECT_EQ(all.GetSolvedBandCount(), 0);

    // Recompute solves everything again.
    CSolver again;
    again.SetRecompute(1);
    ASSERT_TRUE(Run(again));
    EXPECT_EQ(again.GetSolvedBandCount(), 6);
}

// The inputs of one run share the model's preparation where their prepared matrices agree; an
// input that a global CLF names has a matrix of its own. Either way each gets the energies it gets
// when solved alone.
TEST_F(SolverFixture, InputsSharingAPreparationGetTheEnergiesTheyGetAlone)
{
    modelProject.inputs = {"PlateA", "PlateB"};
    CGClfData* store = model->GetGClfData();
    ASSERT_TRUE(store);
    auto* clf = store->AddChild(std::make_unique<CZuClfFunc>("CLF A C", "PlateA-F", "Cabin-", 3, store, 36));
    for (int b = 0; b < 3; ++b)
        clf->DataValue(b, 0) = clf->DataValue(b, 1) = 0.001 * (b + 1);
    EXPECT_EQ(model->EtaMatrixVariant("PlateA"), "PlateA");
    EXPECT_EQ(model->EtaMatrixVariant("PlateB"), "");
    EXPECT_EQ(model->EtaMatrixVariant("Cabin"), "");

    std::map<std::string, std::vector<double>> alone;
    for (const char* name : {"PlateA-F", "PlateB-F", "Cabin-"}) {
        CUnitEnergySolver one(model);
        CZuVecFunc* v = one.SolveUnitPowerEnergies(name, -1, 1);
        ASSERT_TRUE(v) << name;
        for (int b = 0; b < 3; ++b)
            for (int j = 0; j < 3; ++j)
                alone[name].push_back(v->DataValue(b, j));
    }
    CUnitEnergySolver batch(model);
    ASSERT_EQ(
        batch.SolveUnitEnergies(CZuSubsystemTable(std::vector<std::string>{"PlateB-F", "PlateA-F", "Cabin-"}), -1, 1),
        1);
    for (const auto& [name, values] : alone) {
        CZuVecFunc* v = model->FindVecFunc(name);
        ASSERT_TRUE(v) << name;
        for (int b = 0; b < 3; ++b)
            for (int j = 0; j < 3; ++j)
                EXPECT_EQ(v->DataValue(b, j), values[static_cast<size_t>(3 * b + j)]) << name << b << j;
    }
}

TEST_F(SolverFixture, RunsRestrictedToOneRpmAndOneBand)
{
    CSolver solver;
    solver.SetRpmIndex(1);
    solver.SetBandIndex(2);
    std::unique_ptr<CZuData> data = Run(solver);
    auto* set = DynamicDowncast<CZuRpmResultData>(data.get());
    ASSERT_TRUE(set);
    ASSERT_EQ(set->GetResultCount(), 1);
    EXPECT_EQ(set->GetKey(0), 2000.0);
    CZuVecFunc* E = DynamicDowncast<CHSEAResultData>(set->GetResult(0))->GetModalEnergyVector(0);
    EXPECT_EQ(E->DataValue(0, 2), 0.0);
    EXPECT_GT(E->DataValue(2, 2), 0.0);
}

TEST_F(SolverFixture, ByOrderOnlyTheChosenOrderIsComputed)
{
    // The same inputs as order maps of two orders.
    CMElementList orderInputs;
    for (int i = 0; i < 2; ++i) {
        auto* rpm = DynamicDowncast<CZuRpmFunc>(inputs[i]);
        auto ot = std::make_unique<CZuOTFunc>("IP", analysis.get(), 3);
        for (double order : {2.0, 4.0}) {
            auto copy = std::unique_ptr<CZuRpmFunc>(static_cast<CZuRpmFunc*>(rpm->Duplicate().release()));
            ot->AddOrder(order, std::move(copy));
        }
        orderInputs.Add(analysis->AddChild(std::move(ot)));
    }
    inputs = orderInputs;
    CSolver solver;
    solver.SetOrderIndex(1);
    std::unique_ptr<CZuData> data = Run(solver, CSolver::MODE_ORDER);
    auto* set = DynamicDowncast<CZuOTResultData>(data.get());
    ASSERT_TRUE(set);
    EXPECT_EQ(set->GetType(), 95);
    ASSERT_EQ(set->GetResultCount(), 2);
    EXPECT_EQ(set->GetKey(1), 4.0);
    EXPECT_EQ(set->GetResult(0)->GetResultCount(), 0);
    EXPECT_EQ(set->GetResult(1)->GetResultCount(), 3);
}

TEST_F(SolverFixture, AnUnknownInputFailsBeforeAnySolveAndProgressIsReported)
{
    DynamicDowncast<CZuRpmFunc>(inputs[1])->SetLabel("Nowhere");
    CSolver failing;
    EXPECT_FALSE(Run(failing));
    EXPECT_EQ(failing.GetSolvedBandCount(), 0);
    EXPECT_EQ(model->FindVecFunc("PlateA-F"), nullptr);

    DynamicDowncast<CZuRpmFunc>(inputs[1])->SetLabel("PlateB");
    CRecordingFeedback progress;
    CSolver solver;
    solver.SetProject(analysis.get());
    solver.SetModelData(model);
    solver.SetInputs(inputs);
    solver.SetFeedback(&progress);
    ASSERT_TRUE(solver.Run());
    EXPECT_DOUBLE_EQ(progress.fractions.back(), 1.0);
    EXPECT_EQ(progress.texts,
              (std::vector<std::string>{"Calculating 1W Energy [PlateA-F]...", "Calculating 1W Energy [PlateB-F]...",
                                        "Calculating Energy..."}));
}

TEST_F(SolverFixture, ResultSetStoredAndReadBackWithItsInputs)
{
    CSolver solver;
    std::unique_ptr<CZuData> data = Run(solver);
    auto* set = DynamicDowncast<CZuRpmResultData>(data.get());
    ASSERT_TRUE(set);
    CZuSubsystemTable inputsFound;
    EXPECT_EQ(set->CollectInputPowerSubsystems(inputsFound, 1), 2);
    EXPECT_EQ(inputsFound[0], "PlateA");
    std::vector<uint8_t> buf;
    {
        CArchive ar(&buf, CArchive::store);
        ar.WriteObject(set);
    }
    CArchive in(buf.data(), buf.size());
    auto back = in.ReadOwned<CZuRpmResultData>();
    ASSERT_TRUE(back);
    ASSERT_EQ(back->GetResultCount(), 3);
    EXPECT_EQ(back->GetKey(2), 3000.0);
    EXPECT_EQ(back->GetResult(2)->GetParent(), back.get());
    auto* r = DynamicDowncast<CHSEAResultData>(back->GetResult(2));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->GetModalEnergyVector(0)->DataValue(1, 2),
              DynamicDowncast<CHSEAResultData>(set->GetResult(2))->GetModalEnergyVector(0)->DataValue(1, 2));
}
