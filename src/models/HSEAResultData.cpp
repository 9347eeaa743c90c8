#include "models/HSEAResultData.h"

#include <cmath>

#include "common/Quantity.h"
#include "models/GClfData.h"
#include "models/GClfGroup.h"
#include "models/HSEADominantPathData.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAPowerContribution.h"
#include "models/ModelProjectLink.h"
#include "models/ModelStrings.h"
#include "models/SEAModelData.h"
#include "models/UnitEnergySolver.h"
#include "platform/archive/Archive.h"
#include "platform/base/Feedback.h"
#include "platform/base/Format.h"
#include "platform/elements/CGMSolver.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuClfFunc.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxCalc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelShell.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CHSEAResultData, CZuData, 15 | VERSIONABLE_SCHEMA)

namespace {
constexpr double kFlowThreshold = 1e-15;

std::string Plain(std::string name)
{
    CGfxUtil::RemoveWaveSign(name);
    return name;
}

// The band frequency of model band m: the one the matrix carries, else the model's band set's.
double ModelFrequency(const CSEAModelData* model, const CZuMatFunc* M, int m)
{
    if (M && m >= 0 && m < M->GetDataCount() && M->DataIndex(m) > 0.0)
        return M->DataIndex(m);
    return model ? model->GetFreq(m) : 0.0;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// The model's data a flow computation needs, looked up once for many bands and targets.

class CResultFlowContext
{
public:
    explicit CResultFlowContext(const CHSEAResultData& result) : r(result)
    {
        model = result.GetModelData(0);
        if (!model)
            return;
        M = model->GetEtaMatrix(1);
        D = model->GetModalDensity(1);
        E = result.GetModalEnergyVector(0);
        P = result.GetInputPowerVector(0);
        G = result.GetGClfData();
        if (!M || !D || !E)
            return;
        const int n = E->GetSubsystemCount();
        row.resize(static_cast<size_t>(n));
        col.resize(static_cast<size_t>(n));
        dens.resize(static_cast<size_t>(n));
        for (int j = 0; j < n; ++j) {
            const std::string name = E->GetSubsystem(j);
            row[static_cast<size_t>(j)] = M->GetRowIndex(name);
            col[static_cast<size_t>(j)] = M->GetColIndex(name);
            dens[static_cast<size_t>(j)] = D->GetIndex(name);
            if (row[static_cast<size_t>(j)] < 0 || col[static_cast<size_t>(j)] < 0 || dens[static_cast<size_t>(j)] < 0)
                return; // a subsystem the model cannot answer for
        }
        valid = true;
    }

    bool Usable(int u, int& m) const
    {
        m = r.GetModelBand(u);
        return valid && u >= 0 && u < E->GetDataCount() && m >= 0 && m < M->GetDataCount() && m < D->GetDataCount();
    }

    double Omega(int m) const { return CMatrixSolver::kTwoPi * ModelFrequency(model, M, m); }

    bool CouplingFlows(int t, int u, std::vector<double>& out) const
    {
        const int n = E->GetSubsystemCount();
        out.assign(static_cast<size_t>(n) + 1, 0.0);
        int m;
        if (!Usable(u, m) || t < 0 || t >= n)
            return false;
        const double omega = Omega(m);
        const auto T = static_cast<size_t>(t);
        for (int j = 0; j < n; ++j) {
            const auto J = static_cast<size_t>(j);
            const double mjt = M->DataValue(m, row[J], col[T]);
            const double mtj = M->DataValue(m, row[T], col[J]);
            const double a =
                std::fabs(mjt / D->DataValue(m, dens[T])) >= kFlowThreshold ? mjt * E->DataValue(u, t) : 0.0;
            const double c =
                std::fabs(mtj / D->DataValue(m, dens[J])) >= kFlowThreshold ? mtj * E->DataValue(u, j) : 0.0;
            out[J] = omega * (a - c);
            out[static_cast<size_t>(n)] += omega * c;
        }
        return true;
    }

    // Flows of the CLFs of one set that have the target on one side: v = w eta n_s e_s * scale,
    // with e_s from energy (the result's modal energies, or a unit-power solution by name).
    template <class EnergyOf>
    void SetFlows(const CMElement* set, int t, int m, double omega, bool assign, double scale, EnergyOf energyOf,
                  std::vector<double>& out) const
    {
        const int n = E->GetSubsystemCount();
        const std::string target = E->GetSubsystem(t);
        for (int c = 0; c < set->GetChildCount(); ++c) {
            auto* f = DynamicDowncast<CZuClfFunc>(set->GetChild(c));
            if (!f || f->GetSubsystemCount() < 2)
                continue;
            const int k = f->GetIndex(target);
            if (k < 0 || k > 1)
                continue;
            const std::string other = f->GetSubsystem(k ^ 1);
            const int s = E->GetIndex(other);
            const int ds = D->GetIndex(other);
            if (s < 0 || ds < 0 || m >= f->GetDataCount())
                continue;
            double e = 0.0;
            if (!energyOf(s, other, e))
                continue;
            const double v = omega * f->DataValue(m, k ^ 1) * D->DataValue(m, ds) * e * scale;
            if (assign)
                out[static_cast<size_t>(s)] = v;
            else
                out[static_cast<size_t>(s)] += v;
            out[static_cast<size_t>(n)] -= v;
        }
    }

    bool GClfFlows(int t, int u, std::vector<double>& out)
    {
        const int n = E->GetSubsystemCount();
        out.assign(static_cast<size_t>(n) + 1, 0.0);
        int m;
        if (!Usable(u, m) || t < 0 || t >= n || !G)
            return false;
        const double omega = Omega(m);
        auto resultEnergy = [&](int s, const std::string&, double& e) {
            e = E->DataValue(u, s);
            return true;
        };
        // Direct global CLFs, then the common group's, which every prepared matrix holds as well.
        SetFlows(G, t, m, omega, true, 1.0, resultEnergy, out);
        if (const CGClfGroup* common = G->FindCommonGroup())
            SetFlows(common, t, m, omega, false, 1.0, resultEnergy, out);

        // Input paths: the group of each input subsystem carries power only in proportion to that
        // input's power, through the energies its unit power gives.
        if (!P)
            return true;
        CZuSubsystemTable inputs;
        r.CollectInputSubsystems(inputs, 0);
        for (int i = 0; i < inputs.GetCount(); ++i) {
            const CGClfGroup* group = G->FindGroup(inputs[i], 1);
            const int pi = P->GetIndex(inputs[i]);
            if (!group || pi < 0)
                continue;
            CZuVecFunc* unit = UnitEnergies(inputs[i], m);
            if (!unit)
                continue;
            const double p = P->DataValue(u, pi);
            auto unitEnergy = [&](int, const std::string& name, double& e) {
                const int k = unit->GetIndex(name);
                if (k < 0 || m >= unit->GetDataCount())
                    return false;
                e = unit->DataValue(m, k);
                return true;
            };
            SetFlows(group, t, m, omega, false, p, unitEnergy, out);
        }
        return true;
    }

    CZuVecFunc* UnitEnergies(const std::string& input, int m)
    {
        if (!unitSolver)
            unitSolver = std::make_unique<CUnitEnergySolver>(model);
        return unitSolver->SolveUnitPowerEnergies(input, m, 0);
    }

    const CHSEAResultData& r;
    CSEAModelData* model = nullptr;
    CZuMatFunc* M = nullptr;
    CZuVecFunc* D = nullptr;
    CZuVecFunc* E = nullptr;
    CZuVecFunc* P = nullptr;
    CGClfData* G = nullptr;
    std::vector<int> row, col, dens;
    bool valid = false;
    std::unique_ptr<CUnitEnergySolver> unitSolver;
};

// ---------------------------------------------------------------------------------------------
// Construction and the model link

CHSEAResultData::CHSEAResultData() : CZuData()
{
    SetMergeOrder(-1);
}

CHSEAResultData::CHSEAResultData(CZuData* model, std::unique_ptr<COctaveManagerEx> bands, const std::string& name,
                                 CMElement* parent, const std::vector<int32_t>* bandMap)
    : CZuData(name, parent, ElementType::ResultSet, -1, 0.0, 0.0)
{
    SetMergeOrder(-1);
    AttachModel(model, std::move(bands));
    SetModelBandMap(bandMap);
}

CHSEAResultData::~CHSEAResultData() = default;

void CHSEAResultData::AttachModel(CZuData* model, std::unique_ptr<COctaveManagerEx> bands)
{
    if (!model || !bands)
        return;
    SetOctaveManager(std::move(bands));
    const int count = GetFreqCount();
    m_bandSelection.assign(static_cast<size_t>(count), 1);
    SetSubsystemTable(model->GetSubsystemTable());
    for (int type : {ElementType::InputPower, ElementType::ModalEnergy})
        while (CMElement* old = FindOneChild(type))
            DeleteChild(old, 1);
    auto power = std::make_unique<CZuVecFunc>("Input Power", GetSubsystemTable(), count, this, ElementType::InputPower);
    auto energy =
        std::make_unique<CZuVecFunc>("Modal Energy", GetSubsystemTable(), count, this, ElementType::ModalEnergy);
    for (int b = 0; b < count; ++b)
        power->DataIndex(b) = energy->DataIndex(b) = GetFreq(b);
    AddChild(std::move(power));
    AddChild(std::move(energy));
    m_modelSerial = model->GetSerialNumber();
}

int CHSEAResultData::SetModelBandMap(const std::vector<int32_t>* map)
{
    const int count = GetFreqCount();
    m_bandMap.clear();
    bool taken = false;
    if (map && !map->empty()) {
        // The model's band count, when the model can be reached; a map into bands it does not have
        // would read outside its matrices.
        int modelBands = -1;
        if (CSEAModelData* model = GetModelData(0))
            if (CZuMatFunc* M = model->GetEtaMatrix(0))
                modelBands = M->GetDataCount();
        bool ok = static_cast<int>(map->size()) >= count;
        for (int i = 0; ok && i < count; ++i) {
            const int m = (*map)[static_cast<size_t>(i)];
            ok = m >= 0 && (modelBands < 0 || m < modelBands);
        }
        if (ok) {
            m_bandMap.assign(map->begin(), map->end());
            taken = true;
        }
    }
    if (!taken)
        for (int i = 0; i < count; ++i)
            m_bandMap.push_back(i);
    return taken || !map || map->empty() ? 1 : 0;
}

int CHSEAResultData::GetModelBand(int i) const
{
    if (i < 0 || i >= static_cast<int>(m_bandMap.size()))
        return -1;
    const int m = m_bandMap[static_cast<size_t>(i)];
    return m >= 0 ? m : -1;
}

void CHSEAResultData::SetBandEnabled(int band, int flag)
{
    if (m_bandSelection.empty())
        m_bandSelection.assign(static_cast<size_t>(GetFreqCount()), 1);
    if (band >= 0 && band < static_cast<int>(m_bandSelection.size()))
        m_bandSelection[static_cast<size_t>(band)] = flag;
}

void CHSEAResultData::SetAllBandsEnabled(int flag)
{
    for (int b = 0; b < GetFreqCount(); ++b)
        SetBandEnabled(b, flag);
}

CSEAModelData* CHSEAResultData::GetModelData(int warn, CFeedback* feedback) const
{
    IModelProjectLink* project = IModelProjectLink::Find(this);
    CSEAModelData* model = project ? project->FindSEAModelData(static_cast<int>(m_modelSerial), 0) : nullptr;
    if (!model && warn)
        feedback->Warning(FormatString(IDS_NO_SEA_MODEL_DATA, static_cast<int>(m_modelSerial)), IDS_NO_SEA_MODEL_DATA);
    return model;
}

CGClfData* CHSEAResultData::GetGClfData() const
{
    auto* hsea = dynamic_cast<CHSEAModelData*>(GetModelData(0));
    return hsea ? hsea->GetGClfData() : nullptr;
}

CZuVecFunc* CHSEAResultData::GetInputPowerVector(int warn, CFeedback* feedback) const
{
    auto* v = DynamicDowncast<CZuVecFunc>(FindOneChild(ElementType::InputPower));
    if (!v && warn)
        feedback->Warning(MessageTextOf(IDS_NO_INPUT_POWER), IDS_NO_INPUT_POWER);
    return v;
}

CZuVecFunc* CHSEAResultData::GetModalEnergyVector(int warn, CFeedback* feedback) const
{
    auto* v = DynamicDowncast<CZuVecFunc>(FindOneChild(ElementType::ModalEnergy));
    if (!v && warn)
        feedback->Warning(MessageTextOf(IDS_NO_MODAL_ENERGY), IDS_NO_MODAL_ENERGY);
    return v;
}

// ---------------------------------------------------------------------------------------------
// Input powers

int CHSEAResultData::SetInputPowers(CHSEAGeneralData* data, int keep, CFeedback* feedback)
{
    if (!data || data->GetKind() != CHSEAGeneralData::KIND_INPUT_POWER)
        return 0;
    if (data->GetChildCount() == 0) {
        feedback->Error(FormatString(IDS_GENERAL_DATA_EMPTY, data->GetName().c_str()), IDS_GENERAL_DATA_EMPTY);
        return 0;
    }
    CZuVecFunc* P = GetInputPowerVector(0);
    if (!P)
        return 0;
    if (!keep)
        P->Empty();
    for (int c = 0; c < data->GetChildCount(); ++c) {
        auto* f = DynamicDowncast<CZuPowerFunc>(data->GetChild(c));
        if (!f || f->GetType() != ElementType::InputPower)
            continue;
        const int k = P->GetIndex(f->GetSubsystem());
        if (k < 0)
            continue;
        const int bands = std::min(P->GetDataCount(), f->GetDataCount());
        for (int b = 0; b < bands; ++b)
            P->DataValue(b, k) = f->DataValue(b, 0);
    }
    return 1;
}

int CHSEAResultData::SetUnitInputPower(const std::string& name)
{
    CZuVecFunc* P = GetInputPowerVector(0);
    if (!P)
        return 0;
    const int k = P->GetIndex(name);
    if (k < 0)
        return 0;
    P->Empty();
    for (int b = 0; b < P->GetDataCount(); ++b)
        P->DataValue(b, k) = 1.0;
    return 1;
}

// ---------------------------------------------------------------------------------------------
// The band solve

int CHSEAResultData::UpdateAllData(CZuData* source, long, CObject*)
{
    return SolveBands(source, SilentFeedback());
}

int CHSEAResultData::SolveBands(CZuData* source, CFeedback* feedback)
{
    CSEAModelData* model = dynamic_cast<CSEAModelData*>(source);
    if (!model)
        model = GetModelData(1, feedback);
    if (!model)
        return 0;
    CZuMatFunc* M0 = model->PrepareEtaMatrix("");
    CZuVecFunc* P = GetInputPowerVector(1, feedback);
    CZuVecFunc* E = GetModalEnergyVector(1, feedback);
    if (!M0 || !P || !E)
        return 0;
    if (m_bandSelection.empty())
        SetAllBandsEnabled(1);

    // Result subsystem k is row/column index[k] of the prepared matrix.
    const CZuSubsystemTable* table = GetSubsystemTable();
    const int n = table->GetCount();
    std::vector<int> index(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        index[static_cast<size_t>(k)] = M0->GetRowIndex((*table)[k]);
        if (index[static_cast<size_t>(k)] < 0 || M0->GetColIndex((*table)[k]) != index[static_cast<size_t>(k)]) {
            CSEAModelData::ReportMissingSubsystem((*table)[k], feedback);
            return 0;
        }
    }

    CZuVecFunc A("rhs", table, 1, nullptr, ElementType::InputPower);
    CZuVecFunc B("solution", table, 1, nullptr, ElementType::ModalEnergy);
    CZuMatFunc W("matrix", table, nullptr, 1, nullptr, ElementType::EtaMatrix);

    const int bands = GetFreqCount();
    int r = 1;
    // The bar runs over the bands; the text is the frequency of the band being solved.
    feedback->Begin(std::string(), bands);
    for (int i = 0; i < bands; ++i) {
        if (i >= static_cast<int>(m_bandSelection.size()) || m_bandSelection[static_cast<size_t>(i)] == 0)
            continue;
        const int m = GetModelBand(i);
        if (m < 0 || m >= M0->GetDataCount() || i >= P->GetDataCount() || i >= E->GetDataCount()) {
            r = 0; // no model band behind this band: nothing can be solved for it
            break;
        }
        const double f = ModelFrequency(model, M0, m);
        W.DataIndex(0) = A.DataIndex(0) = B.DataIndex(0) = f;
        if (feedback->IsCancelled()) {
            r = 0;
            break;
        }
        feedback->SetText(Format("%g Hz", f));
        feedback->SetPos(i);
        for (int k = 0; k < n; ++k) {
            A.DataValue(0, k) = P->DataValue(i, k);
            B.DataValue(0, k) = E->DataValue(i, k);
            for (int c = 0; c < n; ++c)
                W.DataValue(0, k, c) = M0->DataValue(m, index[static_cast<size_t>(k)], index[static_cast<size_t>(c)]);
        }
        CCGMSolver solver(&W, &A, &B);
        solver.ShowProgress(0, 1, nullptr);
        r = solver.Solve();
        if (!r)
            break; // this band keeps the energies it had
        for (int k = 0; k < n; ++k)
            E->DataValue(i, k) = B.DataValue(0, k);
    }
    if (r)
        feedback->SetPos(bands);
    SetAllBandsEnabled(1);
    return r;
}

// ---------------------------------------------------------------------------------------------
// Derived functions

double CHSEAResultData::EnergyOf(int band, const std::string& name, int* ok) const
{
    *ok = 0;
    CSEAModelData* model = Model();
    CZuVecFunc* D = model ? model->GetModalDensity(1) : nullptr;
    CZuVecFunc* E = GetModalEnergyVector(0);
    if (!D || !E)
        return 0.0;
    const int s = E->GetIndex(name), ds = D->GetIndex(name), m = GetModelBand(band);
    if (s < 0 || ds < 0 || band < 0 || band >= E->GetDataCount() || m < 0 || m >= D->GetDataCount())
        return 0.0;
    *ok = 1;
    return E->DataValue(band, s) * D->DataValue(m, ds);
}

std::unique_ptr<CZuFunc> CHSEAResultData::LevelFunc(const std::string& name, bool cavity, CFeedback* feedback) const
{
    IModelProjectLink* project = IModelProjectLink::Find(this);
    CModelSubsystem* sub = project ? project->GetSubsystem(Plain(name), 0, 0) : nullptr;
    const bool kindOk =
        sub && (cavity ? dynamic_cast<CModelCavity*>(sub) != nullptr : dynamic_cast<CModelShell*>(sub) != nullptr);
    if (GetSubsystemTable()->GetIndex(name) < 0 || !kindOk) {
        CSEAModelData::ReportMissingSubsystem(name, feedback);
        return nullptr;
    }
    const double size = cavity ? sub->GetVolume() : sub->GetMass();
    if (!(size > 0.0)) {
        const uint32_t id = cavity ? IDS_VOLUME_NOT_POSITIVE : IDS_MASS_NOT_POSITIVE;
        feedback->Warning(FormatString(id, name.c_str()), id);
        return nullptr;
    }
    CSEAModelData* model = Model();
    if (!model || !model->GetModalDensity(1) || !GetModalEnergyVector(0))
        return nullptr;
    const int bands = GetFreqCount();
    auto f =
        cavity ? std::make_unique<CZuFunc>(ModelFormat(IDS_SPL_NAME, "SPL [%s]", name.c_str()), bands, nullptr,
                                           ElementType::Spl)
               : std::make_unique<CZuFunc>(ModelFormat(IDS_VIBRATION_LEVEL_NAME, "Vibration Level [%s]", name.c_str()),
                                           bands, nullptr, ElementType::VibrationLevel);
    // The levels' reference goes with them into every table that shows them.
    f->SetUnit(GetQuantityAxisLabel(f->GetType(), 1, 0, 0));
    for (int b = 0; b < bands; ++b) {
        f->DataIndex(b) = GetFreq(b);
        int ok = 0;
        const double energy = EnergyOf(b, name, &ok);
        const double x = cavity ? energy * kRhoC2 / size * kInvP0Squared : energy / size;
        f->DataValue(b) = ok && x > 0.0 ? 10.0 * std::log10(x) : HUGE_VAL;
    }
    return f;
}

std::unique_ptr<CZuFunc> CHSEAResultData::CreateSPLFunc(const std::string& cavity, CFeedback* feedback) const
{
    return LevelFunc(cavity, true, feedback);
}

std::unique_ptr<CZuFunc> CHSEAResultData::CreateVibrationLevelFunc(const std::string& structure,
                                                                   CFeedback* feedback) const
{
    return LevelFunc(structure, false, feedback);
}

std::unique_ptr<CZuFunc> CHSEAResultData::CreateSubsystemFunc(const std::string& name, CFeedback* feedback) const
{
    CSEAModelData* model = Model();
    if (!model || !model->GetModalDensity(1) || !GetModalEnergyVector(0) || GetSubsystemTable()->GetIndex(name) < 0) {
        CSEAModelData::ReportMissingSubsystem(name, feedback);
        return nullptr;
    }
    const int bands = GetFreqCount();
    auto f = std::make_unique<CZuFunc>(ModelFormat(IDS_ENERGY_NAME, "Energy [%s]", name.c_str()), bands, nullptr,
                                       ElementType::Energy);
    // The energies are kept in joules, and every table that shows them says so.
    f->SetUnit(GetQuantityAxisLabel(f->GetType(), 0, 0, 0));
    for (int b = 0; b < bands; ++b) {
        f->DataIndex(b) = GetFreq(b);
        int ok = 0;
        f->DataValue(b) = EnergyOf(b, name, &ok);
    }
    return f;
}

CZuFunc* CHSEAResultData::FindOrAddSubsystemFunc(const std::string& name, CFeedback* feedback)
{
    const std::string title = ModelFormat(IDS_ENERGY_NAME, "Energy [%s]", name.c_str());
    std::unique_ptr<CZuFunc> fresh = CreateSubsystemFunc(name, feedback);
    if (!fresh)
        return nullptr;
    if (auto* existing = DynamicDowncast<CZuFunc>(FindOneChild(title))) {
        existing->Assign(*fresh);
        return existing;
    }
    return AddChild(std::move(fresh));
}

double CHSEAResultData::GetSubsystemValue(const std::string& name, int band, int dB) const
{
    int ok = 0;
    const double e = EnergyOf(band, name, &ok);
    if (!ok)
        return kNoValue;
    return dB ? CGfxCalc::GetEnergyDecibel(e) : e;
}

CZuFunc* CHSEAResultData::CreateEnergyRatioFunc(const std::string& a, const std::string& b, CFeedback* feedback)
{
    CSEAModelData* model = Model();
    if (!model || !model->GetModalDensity(1) || !GetModalEnergyVector(0) || GetSubsystemTable()->GetIndex(a) < 0) {
        CSEAModelData::ReportMissingSubsystem(a, feedback);
        return nullptr;
    }
    const std::string title = ModelFormat(IDS_ENERGY_RATIO_NAME, "ER(%s, %s)", a.c_str(), b.c_str());
    auto* f = DynamicDowncast<CZuFunc>(FindOneChild(title));
    const int bands = GetFreqCount();
    if (!f)
        f = AddChild(std::make_unique<CZuFunc>(title, bands, nullptr, ElementType::EnergyRatio));
    f->SetDataCount(bands);
    for (int band = 0; band < bands; ++band) {
        f->DataIndex(band) = GetFreq(band);
        int okA = 0, okB = 0;
        const double ea = EnergyOf(band, a, &okA), eb = EnergyOf(band, b, &okB);
        // A band where either energy is missing has no ratio; a zero denominator gives no value
        // rather than a division by zero.
        f->DataValue(band) = okA && okB && eb != 0.0 ? ea / eb : kNoValue;
    }
    return f;
}

int CHSEAResultData::CollectInputSubsystems(CZuSubsystemTable& table, int strip) const
{
    table.Clear();
    CZuVecFunc* P = GetInputPowerVector(0);
    if (!P)
        return 0;
    for (int k = 0; k < P->GetSubsystemCount(); ++k) {
        bool any = false;
        for (int b = 0; b < P->GetDataCount() && !any; ++b)
            any = P->DataValue(b, k) != 0.0;
        if (!any)
            continue;
        std::string name = P->GetSubsystem(k);
        if (strip)
            CGfxUtil::RemoveWaveSign(name);
        table.AddUnique(name);
    }
    return table.GetCount();
}

// ---------------------------------------------------------------------------------------------
// Flows

bool CHSEAResultData::ComputeCouplingFlows(int t, int u, std::vector<double>& out) const
{
    CResultFlowContext context(*this);
    return context.valid && context.CouplingFlows(t, u, out);
}

bool CHSEAResultData::ComputeGClfFlows(int t, int u, std::vector<double>& out) const
{
    CResultFlowContext context(*this);
    return context.valid && context.GClfFlows(t, u, out);
}

bool CHSEAResultData::ComputeFlows(int t, int u, std::vector<double>& out) const
{
    CResultFlowContext context(*this);
    if (!context.valid || !context.CouplingFlows(t, u, out))
        return false;
    std::vector<double> g;
    if (context.GClfFlows(t, u, g))
        for (size_t i = 0; i < out.size() && i < g.size(); ++i)
            out[i] += g[i];
    return true;
}

// ---------------------------------------------------------------------------------------------
// Power contributions and dominant paths

std::unique_ptr<CHSEAPowerContribution> CHSEAResultData::CreatePowerContribution(const std::string& target, int band,
                                                                                 CFeedback* feedback)
{
    const int t = GetSubsystemTable()->GetIndex(target);
    if (t < 0) {
        CSEAModelData::ReportMissingSubsystem(target, feedback);
        return nullptr;
    }
    CResultFlowContext context(*this);
    if (!context.valid || !context.P)
        return nullptr;
    const int bands = GetFreqCount();
    const int n = GetSubsystemTable()->GetCount();
    auto table = std::make_unique<CHSEAPowerContribution>(target, GetSubsystemTable(), bands);
    std::vector<double> f, g;
    for (int u = 0; u < bands; ++u) {
        table->DataIndex(u) = GetFreq(u);
        if (u < context.P->GetDataCount())
            table->CellValue(u, n, CHSEAPowerContribution::COL_POWER) = context.P->DataValue(u, t);
        if (band >= 0 && band != u)
            continue;
        if (!context.CouplingFlows(t, u, f))
            continue;
        if (!context.GClfFlows(t, u, g))
            g.assign(f.size(), 0.0);
        for (int r = 0; r < n; ++r)
            table->CellValue(u, r, CHSEAPowerContribution::COL_POWER) =
                f[static_cast<size_t>(r)] + g[static_cast<size_t>(r)];
    }
    table->RecomputeRates(band);
    return table;
}

namespace {
bool Flows(CResultFlowContext& context, int t, int u, std::vector<double>& v)
{
    if (!context.CouplingFlows(t, u, v))
        return false;
    std::vector<double> g;
    if (context.GClfFlows(t, u, g))
        for (size_t i = 0; i < v.size() && i < g.size(); ++i)
            v[i] += g[i];
    return true;
}

int Rank(CResultFlowContext& context, const CZuSubsystemTable& table, int t, int K, int u, CHSEADominantPathData& data)
{
    std::vector<double> v;
    if (!Flows(context, t, u, v))
        return 0;
    const int n = table.GetCount();
    std::vector<int> index(static_cast<size_t>(n) + 1);
    for (int j = 0; j < n; ++j)
        index[static_cast<size_t>(j)] = j;
    index[static_cast<size_t>(n)] = -1;
    int count = 0;
    for (int i = 0; i < K && i <= n; ++i) {
        int best = i;
        for (int j = i + 1; j <= n; ++j)
            if (v[static_cast<size_t>(j)] > v[static_cast<size_t>(best)])
                best = j;
        std::swap(v[static_cast<size_t>(i)], v[static_cast<size_t>(best)]);
        std::swap(index[static_cast<size_t>(i)], index[static_cast<size_t>(best)]);
        const double value = v[static_cast<size_t>(i)];
        if (value <= 0) {
            data.AddPathStep(u, i, ModelText(IDS_PATH_NO_FLOW, "(no flow)"), value);
            break;
        }
        const int k = index[static_cast<size_t>(i)];
        data.AddPathStep(u, i, k < 0 ? ModelText(IDS_BALANCE_ENTRY, "(balance)") : table[k], value);
        ++count;
    }
    return count;
}

void Extend(CResultFlowContext& context, const CZuSubsystemTable& table, int i, int u, CHSEADominantPathData& data)
{
    std::string s = data.GetPathStepName(u, i, 0);
    const int n = table.GetCount();
    std::vector<double> v;
    // Every step either ends the path or names a subsystem not on it yet, so a path has at most
    // N + 2 steps; the bound only guards against a table that changes underneath.
    for (int guard = 0; guard <= n; ++guard) {
        const int t = table.GetIndex(s);
        if (t < 0 || !Flows(context, t, u, v))
            return;
        int j = 0;
        for (int k = 1; k <= n; ++k)
            if (v[static_cast<size_t>(k)] > v[static_cast<size_t>(j)])
                j = k;
        const double value = v[static_cast<size_t>(j)];
        if (value <= 0) {
            data.AddPathStep(u, i, ModelText(IDS_PATH_NO_INFLOW, "(no further inflow)"), value);
            return;
        }
        if (j == n) {
            data.AddPathStep(u, i, ModelText(IDS_BALANCE_ENTRY, "(balance)"), value);
            return;
        }
        const std::string name = table[j];
        data.AddPathStep(u, i, name, value);
        const int count = data.GetPathStepCount(u, i);
        bool seen = name == data.GetTarget();
        for (int k = 0; k < count - 1 && !seen; ++k)
            seen = data.GetPathStepName(u, i, k) == name;
        if (seen) {
            data.AddPathStep(u, i, ModelText(IDS_PATH_LOOP, "(loop or target)"), 0.0);
            return;
        }
        s = name;
    }
}
} // namespace

int CHSEAResultData::CountDominantPaths(const std::string& target) const
{
    CZuSubsystemTable connected;
    const int c = GetModelConnections(target, connected, 0);
    if (CGfxUtil::GetWaveType(target, 1) == CGfxUtil::WAVE_ACOUSTIC)
        return c;
    IModelProjectLink* project = IModelProjectLink::Find(this);
    int k = 0;
    for (int i = 0; i < connected.GetCount(); ++i) {
        std::string plain = Plain(connected[i]);
        int type = project ? project->GetSubsystemType(plain, 0) : -1;
        if (type < 0) // not in the 3D model: its wave mark tells
            type = CGfxUtil::GetWaveType(connected[i], 1) == CGfxUtil::WAVE_FLEXURAL ? 0 : 5;
        k += type < 5 ? 3 : 1;
    }
    return k;
}

int CHSEAResultData::RankDominantPaths(int t, int K, int u, CHSEADominantPathData& data) const
{
    CResultFlowContext context(*this);
    return context.valid ? Rank(context, *GetSubsystemTable(), t, K, u, data) : 0;
}

void CHSEAResultData::ExtendDominantPath(int i, int u, CHSEADominantPathData& data) const
{
    CResultFlowContext context(*this);
    if (context.valid)
        Extend(context, *GetSubsystemTable(), i, u, data);
}

std::unique_ptr<CHSEADominantPathData> CHSEAResultData::CreateDominantPathData(const std::string& target, int band,
                                                                               CFeedback* feedback)
{
    const int t = GetSubsystemTable()->GetIndex(target);
    if (t < 0) {
        CSEAModelData::ReportMissingSubsystem(target, feedback);
        return nullptr;
    }
    CResultFlowContext context(*this);
    if (!context.valid)
        return nullptr;
    const int K = CountDominantPaths(target);
    const int bands = GetFreqCount();
    auto data = std::make_unique<CHSEADominantPathData>(target, bands, static_cast<uint32_t>(K));
    for (int u = 0; u < bands; ++u) {
        data->DataIndex(u) = GetFreq(u);
        if (band >= 0 && band != u)
            continue;
        const int c = Rank(context, *GetSubsystemTable(), t, K, u, *data);
        for (int i = 0; i < c; ++i)
            Extend(context, *GetSubsystemTable(), i, u, *data);
    }
    return data;
}

// ---------------------------------------------------------------------------------------------
// Forwarded to the model

CMElement* CHSEAResultData::ExtractClf(const std::string& a, const std::string& b, CFeedback* feedback)
{
    CSEAModelData* model = Model();
    return model ? model->ExtractClf(a, b, feedback) : nullptr;
}

CMElement* CHSEAResultData::ExtractIntrinsicDlf(const std::string& subsystem, CFeedback* feedback)
{
    CSEAModelData* model = Model();
    return model ? model->ExtractIntrinsicDlf(subsystem, feedback) : nullptr;
}

double CHSEAResultData::ExtractIntrinsicDlf(const std::string& subsystem, unsigned band, CFeedback* feedback)
{
    CSEAModelData* model = Model();
    const int m = GetModelBand(static_cast<int>(band));
    return model && m >= 0 ? model->ExtractIntrinsicDlf(subsystem, static_cast<unsigned>(m), feedback) : kNoValue;
}

CMElement* CHSEAResultData::ExtractTotalDlf(const std::string& subsystem, CFeedback* feedback)
{
    CSEAModelData* model = Model();
    return model ? model->ExtractTotalDlf(subsystem, feedback) : nullptr;
}

CZuMatFunc* CHSEAResultData::GetEtaMatrix(int warn)
{
    CSEAModelData* model = GetModelData(warn);
    return model ? model->GetEtaMatrix(warn) : nullptr;
}

CZuVecFunc* CHSEAResultData::GetModalDensity(int warn)
{
    CSEAModelData* model = GetModelData(warn);
    return model ? model->GetModalDensity(warn) : nullptr;
}

CZuVecFunc* CHSEAResultData::GetWaveNumber(int warn)
{
    CSEAModelData* model = GetModelData(warn);
    return model ? model->GetWaveNumber(warn) : nullptr;
}

int CHSEAResultData::UpdateConnectionInfo(CFeedback* feedback)
{
    CSEAModelData* model = Model();
    if (!model)
        return 0;
    if (model->GetAllSubsystems())
        return model->UpdateConnectionInfo(feedback);
    return model->CreateConnectionInfo(GetSubsystemTable());
}

int CHSEAResultData::GetModelConnections(const std::string& name, CZuSubsystemTable& table, int direction) const
{
    table.Clear();
    CSEAModelData* model = Model();
    CZuMatFunc* M = model ? model->GetEtaMatrix(0) : nullptr;
    CZuVecFunc* D = model ? model->GetModalDensity(0) : nullptr;
    if (!M || !D)
        return 0;
    const int t = M->GetRowIndex(name);
    const int bands = std::min(M->GetDataCount(), D->GetDataCount());
    if (t < 0 || M->GetColIndex(name) != t)
        return 0;
    for (int j = 0; j < M->GetRowSubsystemCount(); ++j) {
        const std::string other = M->GetRowSubsystem(j);
        const int c = M->GetColIndex(other), dj = D->GetIndex(other), dt = D->GetIndex(name);
        if (j == t || c < 0 || dj < 0 || dt < 0)
            continue;
        for (int b = 0; b < bands; ++b) {
            // Feeding the target: the entry at the target's row, the source's column.
            const double v = direction == 0 ? M->DataValue(b, t, c) / D->DataValue(b, dj)
                                            : M->DataValue(b, j, M->GetColIndex(name)) / D->DataValue(b, dt);
            if (std::fabs(v) >= kFlowThreshold) {
                table.AddUnique(other);
                break;
            }
        }
    }
    if (CGClfData* g = GetGClfData()) {
        CMElementList clfs;
        g->Find(RUNTIME_CLASS(CZuClfFunc), clfs, -1);
        for (int i = 0; i < clfs.GetSize(); ++i) {
            auto* f = DynamicDowncast<CZuClfFunc>(clfs[i]);
            const int k = f && f->GetSubsystemCount() >= 2 ? f->GetIndex(name) : -1;
            if (k < 0 || k > 1)
                continue;
            // Side (k ^ 1) is the CLF from the other subsystem into name; side k the reverse.
            const int side = direction == 0 ? (k ^ 1) : k;
            for (int b = 0; b < f->GetDataCount(); ++b)
                if (std::fabs(f->DataValue(b, side)) >= 1e-20) {
                    table.AddUnique(f->GetSubsystem(k ^ 1));
                    break;
                }
        }
    }
    return table.GetCount();
}

int CHSEAResultData::IsModelConnected(const std::string& a, const std::string& b, int band) const
{
    CSEAModelData* model = Model();
    return model ? model->IsConnected(a, b, band) : 0;
}

// ---------------------------------------------------------------------------------------------
// Storage

void CHSEAResultData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CZuData::Serialize(ar);
        ar << m_modelSerial << m_stored;
        ar << static_cast<int32_t>(m_bandMap.size());
        for (int32_t m : m_bandMap)
            ar << m;
        return;
    }
    uint32_t schema = ar.GetObjectSchema();
    if (schema == 0xFFFFFFFFu)
        schema = 15;
    if (schema < kOldestSchema)
        CArchive::ThrowBadSchema(Format("HSEA result data of schema %u", schema));
    CZuData::Serialize(ar);
    ar >> m_modelSerial >> m_stored;
    if (schema == 14) {
        auto bands = std::make_unique<COctaveManagerEx>(3);
        bands->Serialize(ar);
        SetOctaveManager(std::move(bands));
    }
    const int32_t count = ar.ReadSignedCount(sizeof(int32_t), "band map entries of an HSEA result");
    m_bandMap.assign(static_cast<size_t>(count), 0);
    for (int32_t& m : m_bandMap)
        ar >> m;
    m_bandSelection.clear();
    // Power contributions kept with the result name their rows by its table.
    for (int i = 0; i < GetChildCount(); ++i)
        if (auto* pc = DynamicDowncast<CHSEAPowerContribution>(GetChild(i)))
            pc->BindSubsystemTable(GetSubsystemTable());
}
