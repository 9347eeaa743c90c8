// Input powers by inverse SEA: energies that known powers make in a small model, fed back as
// measured energies, give those powers again (by RPM, with refined analysis bands, by order), and
// the revision of powers that come out negative.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "calculation/AnalysisProjectAccess.h"
#include "platform/win/StatusBarFeedback.h"
#include "calculation/InputPowerCalculator.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/Solver.h"
#include "models/HSEAModelData.h"
#include "models/HSEARegOptions.h"
#include "models/HSEAResultData.h"
#include "models/ModelProjectLink.h"
#include "models/SEAModelData.h"
#include "models/UpdateLog.h"
#include "platform/elements/ElementTreeObserver.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmResultData.h"
#include "support/FakeModelLink.h"

namespace {
const std::vector<std::string> kInputs{"PlateA", "PlateB", "Cabin"};

// Every pair of subsystems is connected.
class CModel : public CFakeModelLink
{
public:
    CModel()
    {
        MakePlatesAndCabin(*this);
        everyPairConnected = true;
    }
};

// The analysis project as the calculator sees it.
class CProject : public CMElement,
                 public IAnalysisProjectAccess,
                 public IModelProjectHolder,
                 public IElementTreeObserver
{
public:
    CProject(CModel* model, const COctaveManagerEx& bands, std::vector<int32_t> map)
        : CMElement("AP", nullptr, 0), m_model(model), m_bands(bands), m_map(std::move(map))
    {
        m_rpm.SetRange(2000.0f, 2400.0f, 200.0f);
    }
    int GetProjectType() const override { return m_type; }
    std::string GetProjectName() const override { return GetName(); }
    COrderList& GetOrderList() override { return m_orders; }
    CRPMOptions& GetRPMOptions() override { return m_rpm; }
    COctaveManagerEx* GetOctaveManager() override { return &m_bands; }
    float GetOTSetting() const override { return 50.0f; }
    double GetDaqConfigValue() const override { return 15.0; }
    int CompleteSubsystemName(std::string& name) const override { return m_model->GetSubsystemType(name, 1); }
    bool GetSubsystemParam(const std::string&, double&, double&) const override { return false; }
    const COctaveManager* GetModelOctaveManager() const override { return m_modelBands; }
    CMElement* GetProjectElement() override { return this; }
    int HasOwner() const override { return 1; }
    std::vector<int32_t>& GetFreqIndexArray() override { return m_map; }
    void GetModelDataParams(int* kind, double* start, double* end) const override
    {
        *kind = OCTAVE_BAND_THIRD;
        *start = 500.0;
        *end = 800.0;
    }
    IModelProjectLink* GetModelProjectLink() const override { return m_model; }
    IElementTreeObserver* GetTreeObserver() const override { return const_cast<CProject*>(this); }
    void OnElementAdded(CMElement* e) override { notices.push_back("+" + e->GetName()); }
    void OnElementRemoving(CMElement* e) override { notices.push_back("-" + e->GetName()); }

    CModel* m_model;
    const COctaveManager* m_modelBands = nullptr;
    COctaveManagerEx m_bands;
    std::vector<int32_t> m_map;
    CRPMOptions m_rpm;
    COrderList m_orders;
    int m_type = 0;
    std::vector<std::string> notices;
};

// Four analysis bands inside each model band.
COctaveManagerEx RefinedBands(const COctaveManager& model, std::vector<int32_t>& map)
{
    COctaveManagerEx bands(OCTAVE_BAND_USER);
    map.clear();
    for (int m = 0; m < model.GetFreqCount(); ++m) {
        const double lo = model.GetLowerFreq(m), hi = model.GetUpperFreq(m);
        for (int k = 0; k < 4; ++k) {
            const double a = lo * std::pow(hi / lo, k / 4.0), c = lo * std::pow(hi / lo, (k + 0.5) / 4.0),
                         z = lo * std::pow(hi / lo, (k + 1) / 4.0);
            bands.AddFreqInfo(c, a, z, 3);
            map.push_back(m);
        }
    }
    return bands;
}

struct InputPowerFixture : ::testing::Test
{
    void SetUpProject(bool refined)
    {
        model = AddPlatesAndCabinModel(modelProject);
        const COctaveManager& modelBands = *model->GetOctaveManager();
        std::vector<int32_t> map{0, 1, 2};
        COctaveManagerEx bands = refined ? RefinedBands(modelBands, map) : COctaveManagerEx(modelBands);
        project = std::make_unique<CProject>(&modelProject, bands, map);
        project->m_modelBands = &modelBands;
        folder = project->AddChild(std::make_unique<CInputPowerFolder>(project.get()));
    }

    // Powers of subsystem s at RPM row r and analysis band b.
    static double Power(int s, int r, int b) { return 0.2 + 0.1 * s + 0.05 * r + 0.01 * b * (s + 1); }

    std::vector<double> Rpms() const
    {
        std::vector<double> rpms;
        project->m_rpm.MakeRpmArrayD(rpms);
        return rpms;
    }

    // Energies of the given powers (one function per input subsystem) by the energy solver.
    std::unique_ptr<CZuData> Forward(const CMElementList& powers, int mode)
    {
        CSilentFeedback silent;
        CSolver solver;
        solver.SetFeedback(&silent);
        solver.SetProject(project.get());
        solver.SetModelData(model);
        solver.SetInputs(powers);
        solver.SetMode(mode);
        if (!solver.Run())
            return nullptr;
        return solver.TakeResult();
    }

    // The known powers by RPM, and their energies as measured input energies.
    void MakeMeasuredByRpm(const std::function<double(int, int, int)>& power)
    {
        const std::vector<double> rpms = Rpms();
        COctaveManagerEx& bands = project->m_bands;
        const std::vector<double> freqs = bands.GetFreqArray();
        for (int s = 0; s < 3; ++s) {
            auto f = CZuRpmFunc::NewRpmFunc("P", 3, project.get(), kInputs[s], freqs.data(),
                                            static_cast<int>(freqs.size()), rpms.data(), static_cast<int>(rpms.size()));
            for (int r = 0; r < f->GetRpmCount(); ++r)
                for (int b = 0; b < f->GetFreqCount(); ++b)
                    f->DataValue(r, b) = power(s, r, b);
            known.Add(keep.AddChild(std::move(f)));
        }
        std::unique_ptr<CZuData> data = Forward(known, CSolver::MODE_RPM);
        auto* set = DynamicDowncast<CZuRpmResultData>(data.get());
        ASSERT_TRUE(set);
        for (int s = 0; s < 3; ++s) {
            auto e = CZuRpmFunc::NewRpmFunc("E", 5, nullptr, kInputs[s], freqs.data(), static_cast<int>(freqs.size()),
                                            rpms.data(), static_cast<int>(rpms.size()));
            for (int r = 0; r < set->GetResultCount(); ++r)
                for (int b = 0; b < e->GetFreqCount(); ++b)
                    e->DataValue(r, b) = static_cast<CHSEAResultData*>(set->GetResult(r))
                                             ->GetSubsystemValue(kInputs[s] + (s < 2 ? "-F" : "-"), b, 0);
            measured.Add(keep.AddChild(std::move(e)));
        }
    }

    int Calculate(int kind, int revise, float factor = 1.0f)
    {
        CInputPowerCalculator calc(project.get());
        calc.SetFeedback(&statusBar);
        calc.SetInputs(measured);
        calc.SetModelData(model);
        calc.SetInputKind(kind);
        calc.SetOrderFactor(factor);
        calc.SetBandSet(&project->m_bands);
        calc.SetRevise(revise);
        const int ok = calc.Calculate();
        revisions.RemoveAll();
        for (int i = 0; i < calc.GetRevisionLog().GetCount(); ++i)
            revisions.Add(std::make_unique<tagUPDATE>(*calc.GetRevisionLog().GetAt(i)));
        warnings = calc.GetWarnings();
        return ok;
    }

    CStatusBarFeedback statusBar; // no main window: only its message boxes show

    CModel modelProject;
    CHSEAModelData* model = nullptr;
    std::unique_ptr<CProject> project;
    CInputPowerFolder* folder = nullptr;
    CMElement keep{"keep", nullptr, 0};
    CMElementList known, measured;
    CUpdateLog revisions;
    std::string warnings;
    CScriptedPrompts prompts;
};
} // namespace

TEST_F(InputPowerFixture, RoundTripByRpmGivesThePowersAndTheirEnergiesBack)
{
    for (bool refined : {false, true}) {
        SCOPED_TRACE(refined ? "four analysis bands per model band" : "model bands");
        modelProject.RemoveAll();
        keep.RemoveAll();
        known.Clear();
        measured.Clear();
        SetUpProject(refined);
        MakeMeasuredByRpm(Power);
        ASSERT_EQ(Calculate(0, 0), 1);
        CMElementList powers;
        ASSERT_EQ(folder->GetInputFunctions(powers), 3);
        for (int s = 0; s < 3; ++s) {
            auto* p = DynamicDowncast<CZuRpmFunc>(folder->FindRpmItem(kInputs[s]));
            ASSERT_TRUE(p);
            EXPECT_EQ(p->GetType(), 3);
            for (int r = 0; r < p->GetRpmCount(); ++r)
                for (int b = 0; b < p->GetFreqCount(); ++b)
                    EXPECT_NEAR(p->DataValue(r, b) / Power(s, r, b), 1.0, 1e-6) << s << " " << r << " " << b;
        }
        // Fed forward, the powers give the measured energies.
        std::unique_ptr<CZuData> data = Forward(powers, CSolver::MODE_RPM);
        auto* set = DynamicDowncast<CZuRpmResultData>(data.get());
        ASSERT_TRUE(set);
        for (int s = 0; s < 3; ++s) {
            auto* e = static_cast<CZuRpmFunc*>(measured[s]);
            for (int r = 0; r < set->GetResultCount(); ++r)
                for (int b = 0; b < e->GetFreqCount(); ++b)
                    EXPECT_NEAR(static_cast<CHSEAResultData*>(set->GetResult(r))
                                        ->GetSubsystemValue(kInputs[s] + (s < 2 ? "-F" : "-"), b, 0) /
                                    e->DataValue(r, b),
                                1.0, 1e-6);
        }
        EXPECT_TRUE(revisions.GetCount() == 0);
    }
}

TEST_F(InputPowerFixture, RoundTripByOrder)
{
    SetUpProject(false);
    project->m_type = 1;
    project->m_orders.Add(1.0);
    project->m_orders.Add(1.25);
    const float factor = 15.0f; // orders 1 and 1.25 at 2000 .. 2400 RPM lie in 500 .. 800 Hz
    const std::vector<double> rpms = Rpms();
    const std::vector<double> freqs = project->m_bands.GetFreqArray();
    const std::vector<double> orders{1.0, 1.25};
    auto power = [](int s, int o, int r) { return 0.3 + 0.2 * s + 0.1 * o + 0.02 * r; };
    for (int s = 0; s < 3; ++s) {
        auto ot =
            CZuOTFunc::BuildOTFunc("P", 3, project.get(), kInputs[s], freqs.data(), 3, rpms.data(), 3, orders, factor);
        for (int o = 0; o < 2; ++o)
            for (int r = 0; r < 3; ++r)
                ot->GetOrderFunc(o)->DataValue(r, GetOrderBandIndexInt(rpms[r], orders[o], factor, &project->m_bands)) =
                    power(s, o, r);
        known.Add(keep.AddChild(std::move(ot)));
    }
    std::unique_ptr<CZuData> data = Forward(known, CSolver::MODE_ORDER);
    auto* set = DynamicDowncast<CZuOTResultData>(data.get());
    ASSERT_TRUE(set);
    CZuSubsystemTable columns(std::vector<std::string>{"1", "1.25"});
    for (int s = 0; s < 3; ++s) {
        auto table = std::make_unique<COTMultiVecFunc>("E", &columns, 3, nullptr, 5);
        table->SetLabel(kInputs[s]);
        COrderList list;
        list.Add(1.0);
        list.Add(1.25);
        table->SetOrderList(list);
        for (int r = 0; r < 3; ++r) {
            table->DataIndex(r) = rpms[r];
            for (int o = 0; o < 2; ++o) {
                const int b = GetOrderBandIndexInt(rpms[r], orders[o], factor, &project->m_bands);
                table->DataValue(r, o) = static_cast<CHSEAResultData*>(set->GetResult(o)->GetResult(r))
                                             ->GetSubsystemValue(kInputs[s] + (s < 2 ? "-F" : "-"), b, 0);
            }
        }
        measured.Add(keep.AddChild(std::move(table)));
    }
    ASSERT_EQ(Calculate(1, 0, factor), 1);
    for (int s = 0; s < 3; ++s) {
        auto* p = DynamicDowncast<CZuOTFunc>(folder->FindRpmItem(kInputs[s]));
        ASSERT_TRUE(p);
        ASSERT_EQ(p->GetOrderCount(), 2);
        for (int o = 0; o < 2; ++o)
            for (int r = 0; r < 3; ++r) {
                const int b = GetOrderBandIndexInt(rpms[r], orders[o], factor, &project->m_bands);
                EXPECT_NEAR(p->GetOrderFunc(o)->DataValue(r, b) / power(s, o, r), 1.0, 1e-6);
            }
    }
}

TEST_F(InputPowerFixture, InputsTheModelLacksOrWithOtherRpmsAreRejected)
{
    SetUpProject(false);
    MakeMeasuredByRpm(Power);
    CInputPowerCalculator empty(project.get());
    EXPECT_EQ(empty.Calculate(), 0);

    static_cast<CZuRpmFunc*>(measured[1])->SetLabel("Ghost");
    prompts.Answer(IDOK);
    EXPECT_EQ(Calculate(0, 0), 0);
    EXPECT_EQ(folder->GetChildCount(), 0);
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_NE(prompts.Last().text.find("Ghost"), std::string::npos);

    // Another input measured over other RPMs cannot be paired row by row.
    static_cast<CZuRpmFunc*>(measured[1])->SetLabel("PlateB");
    static_cast<CZuRpmFunc*>(measured[1])->RemoveRows(0, 1);
    prompts.Answer(IDOK);
    EXPECT_EQ(Calculate(0, 0), 0);
    EXPECT_EQ(folder->GetChildCount(), 0);
}

TEST_F(InputPowerFixture, RevisionMakesANegativePowerPositiveThroughTheModel)
{
    SetUpProject(false);
    // Plate B gets less energy than plate A alone feeds into it: its power comes out negative.
    auto power = [](int s, int r, int b) { return s == 1 ? -0.004 : 0.5 + 0.1 * r + 0.05 * b; };
    MakeMeasuredByRpm(power);
    const double clfBefore = model->ExtractClf("PlateA-F", "PlateB-F", 1u);
    ASSERT_EQ(Calculate(0, 1), 1);

    auto* pB = DynamicDowncast<CZuRpmFunc>(folder->FindRpmItem("PlateB"));
    ASSERT_TRUE(pB);
    for (int r = 0; r < pB->GetRpmCount(); ++r)
        for (int b = 0; b < pB->GetFreqCount(); ++b)
            EXPECT_GT(pB->DataValue(r, b), 0.0) << r << " " << b;
    // Each change is a type-0 record of the loss factor into plate B, lowered by the rate.
    ASSERT_GT(revisions.GetCount(), 0);
    for (int i = 0; i < revisions.GetCount(); ++i) {
        const tagUPDATE* u = revisions.GetAt(i);
        EXPECT_EQ(u->m_type, 0u);
        EXPECT_EQ(u->m_name2, "PlateB-F");
        EXPECT_NEAR(u->m_newValue, u->m_oldValue * 0.95, 1e-18);
    }
    EXPECT_LT(model->ExtractClf(revisions.GetAt(0)->m_name1, "PlateB-F", 1u), clfBefore + 1e-12);
    // The powers of the revised model give the measured energies: no ratio warnings.
    EXPECT_EQ(warnings.find("ratio"), std::string::npos) << warnings;
    CMElementList powers;
    folder->GetInputFunctions(powers);
    std::unique_ptr<CZuData> data = Forward(powers, CSolver::MODE_RPM);
    auto* set = DynamicDowncast<CZuRpmResultData>(data.get());
    ASSERT_TRUE(set);
    for (int s = 0; s < 3; ++s)
        for (int r = 0; r < set->GetResultCount(); ++r)
            for (int b = 0; b < 3; ++b)
                EXPECT_NEAR(static_cast<CHSEAResultData*>(set->GetResult(r))
                                    ->GetSubsystemValue(kInputs[s] + (s < 2 ? "-F" : "-"), b, 0) /
                                static_cast<CZuRpmFunc*>(measured[s])->DataValue(r, b),
                            1.0, 0.01);
}

TEST_F(InputPowerFixture, EnergyCheckOfARevisionSeesEveryInputOfTheRevisedModel)
{
    // Both plates come out negative; plate B converges while plate A still steps. Plate B's check
    // takes plate A's power of the same step, not the one from before its last loss-factor change.
    ASSERT_EQ(CHSEARegOptions::WriteString(kRegIPReviseRate, "0.5"), 1);
    SetUpProject(false);
    auto power = [](int s, int r, int b) { return s == 2 ? 0.5 + 0.1 * r + 0.05 * b : (s == 0 ? -0.05 : -0.002); };
    MakeMeasuredByRpm(power);
    const int ok = Calculate(0, 1);
    ASSERT_EQ(CHSEARegOptions::WriteString(kRegIPReviseRate, ""), 1);
    ASSERT_EQ(ok, 1);
    ASSERT_GT(revisions.GetCount(), 1);
    EXPECT_EQ(warnings.find("ratio"), std::string::npos) << warnings;
    // The powers kept for the revised key give its measured energies.
    CMElementList powers;
    folder->GetInputFunctions(powers);
    std::unique_ptr<CZuData> data = Forward(powers, CSolver::MODE_RPM);
    auto* set = DynamicDowncast<CZuRpmResultData>(data.get());
    ASSERT_TRUE(set);
    const int r = (set->GetResultCount() - 1) / 2;
    for (int s = 0; s < 2; ++s)
        EXPECT_NEAR(static_cast<CHSEAResultData*>(set->GetResult(r))->GetSubsystemValue(kInputs[s] + "-F", 0, 0) /
                        static_cast<CZuRpmFunc*>(measured[s])->DataValue(r, 0),
                    1.0, 0.01)
            << kInputs[s];
}

TEST_F(InputPowerFixture, WithoutRevisionNothingChangesAndNothingIsShown)
{
    SetUpProject(false);
    auto power = [](int s, int r, int b) { return s == 1 ? -0.004 : 0.5 + 0.1 * r + 0.05 * b; };
    MakeMeasuredByRpm(power);
    const double clfBefore = model->ExtractClf("PlateA-F", "PlateB-F", 1u);
    ASSERT_EQ(Calculate(0, 0), 1);
    EXPECT_LT(static_cast<CZuRpmFunc*>(folder->FindRpmItem("PlateB"))->DataValue(0, 0), 0.0);
    EXPECT_EQ(model->ExtractClf("PlateA-F", "PlateB-F", 1u), clfBefore);
    EXPECT_EQ(prompts.Count(), 0u);
}

TEST_F(InputPowerFixture, WithoutAFolderOrModelNothingIsCalculatedAndTheReasonIsKept)
{
    SetUpProject(false);
    MakeMeasuredByRpm(Power);
    // Powers calculated with nowhere to keep them would be lost behind a success.
    project->DeleteChild(folder, 1);
    folder = nullptr;
    CInputPowerCalculator calc(project.get());
    calc.SetFeedback(&statusBar);
    calc.SetInputs(measured);
    calc.SetModelData(model);
    calc.SetInputKind(0);
    calc.SetBandSet(&project->m_bands);
    EXPECT_EQ(calc.Calculate(), 0);
    EXPECT_NE(calc.GetFailureReason().find("input-power folder"), std::string::npos) << calc.GetFailureReason();
    EXPECT_EQ(project->GetChildCount(), 0);

    calc.SetModelData(nullptr);
    EXPECT_EQ(calc.Calculate(), 0);
    EXPECT_NE(calc.GetFailureReason().find("no hybrid SEA model"), std::string::npos) << calc.GetFailureReason();
    EXPECT_EQ(prompts.Count(), 0u);
}
