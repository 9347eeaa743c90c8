#include "calculation/Solver.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

#include "calculation/SolverProject.h"
#include "models/HSEAModelData.h"
#include "models/HSEAResultData.h"
#include "models/ModelProjectLink.h"
#include "models/UnitEnergySolver.h"
#include "platform/base/Feedback.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmResultData.h"

int CSolver::FindRpmRow(const CZuRpmFunc& f, double rpm)
{
    // The axes are made from float options, in float steps or double steps: the same analysis RPM
    // may differ in its last bits.
    for (int i = 0; i < f.GetRpmCount(); ++i)
        if (std::fabs(f.GetRpm(i) - rpm) <= 1e-6 * std::max(1.0, std::fabs(rpm)))
            return i;
    return -1;
}

CSolver::CSolver() = default;
CSolver::~CSolver() = default;

void CSolver::SetModelData(CHSEAModelData* model)
{
    if (model != m_model)
        m_unitSolver.reset();
    m_model = model;
}

void CSolver::SetInputs(const CMElementList& inputs)
{
    m_inputs = CMElementList();
    for (int i = 0; i < inputs.GetSize(); ++i)
        m_inputs.Add(inputs[i]);
}

int CSolver::GetSolvedBandCount() const
{
    return m_unitSolver ? m_unitSolver->GetSolvedBandCount() : 0;
}

CFeedback& CSolver::Progress()
{
    return *m_progress;
}

int CSolver::ModelBandOfBandIndex() const
{
    if (m_bandIndex < 0)
        return -1;
    const std::vector<int32_t>& map = m_project->GetFreqIndexArray();
    if (m_bandIndex >= static_cast<int>(map.size()))
        return -2; // no model band: nothing can be solved for it
    return map[static_cast<size_t>(m_bandIndex)];
}

int CSolver::CollectInputSubsystems()
{
    m_inputSubsystems.Clear();
    IModelProjectLink* link = IModelProjectLink::Find(m_model);
    if (!m_project || !m_project->HasOwner() || !link)
        return 0;
    for (int i = 0; i < m_inputs.GetSize(); ++i) {
        std::string label;
        if (auto* rpm = DynamicDowncast<CZuRpmFunc>(m_inputs[i]))
            label = rpm->GetLabel();
        else if (auto* ot = DynamicDowncast<CZuOTFunc>(m_inputs[i])) {
            if (ot->GetOrderCount() < 1 || !ot->GetOrderFunc(0))
                return 0;
            label = ot->GetOrderFunc(0)->GetLabel();
        } else
            return 0;
        if (link->GetSubsystemType(label, 1) < 0)
            return 0;
        m_inputSubsystems.Add(label);
    }
    return 1;
}

int CSolver::SolveUnitEnergies(const CZuSubsystemTable& names)
{
    if (!m_model || !m_project)
        return 0;
    const int modelBand = ModelBandOfBandIndex();
    if (modelBand == -2)
        return 0;
    if (!m_unitSolver)
        m_unitSolver = std::make_unique<CUnitEnergySolver>(m_model);
    CFeedback& progress = Progress();
    progress.Begin(std::string(), names.GetCount());
    int ok = 1;
    // The model stays as it is while the inputs are solved: they share its preparation.
    m_unitSolver->BeginBatch();
    for (int i = 0; i < names.GetCount() && ok; ++i) {
        progress.SetText(Format("Calculating 1W Energy [%s]...", names[i].c_str()));
        progress.Step();
        ok = m_unitSolver->SolveUnitPowerEnergies(names[i], modelBand, m_recompute) != nullptr;
    }
    m_unitSolver->EndBatch();
    return ok;
}

std::unique_ptr<CZuRpmResultData> CSolver::NewRpmResultSet() const
{
    int kind = 0;
    double start = 0.0, end = 0.0;
    m_project->GetModelDataParams(&kind, &start, &end);
    auto set = std::make_unique<CZuRpmResultData>("", m_project->GetProjectElement(), ElementType::RpmResultSet, kind,
                                                  start, end, m_model->GetSubsystemTable());
    set->SetOctaveManager(m_project->GetOctaveManager());
    return set;
}

std::vector<double> CSolver::PassRpms() const
{
    if (m_useRpmValue)
        return {m_rpmValue};
    std::vector<double> rpms;
    m_project->GetRPMOptions().MakeRpmArrayD(rpms);
    if (m_rpmIndex < 0)
        return rpms;
    if (m_rpmIndex >= static_cast<int>(rpms.size()))
        return {};
    return {rpms[static_cast<size_t>(m_rpmIndex)]};
}

const std::vector<int>& CSolver::UnitEntries(int s, const CZuVecFunc& unit, const CZuVecFunc& energies)
{
    if (m_unitEntries.size() <= static_cast<size_t>(s))
        m_unitEntries.resize(static_cast<size_t>(s) + 1);
    std::vector<int>& entries = m_unitEntries[static_cast<size_t>(s)];
    const int n = energies.GetSubsystemCount();
    if (static_cast<int>(entries.size()) == n)
        return entries;
    // One hash look-up per subsystem: a search of the 1 W vector's names for each would make the
    // result of a large model grow with the square of its subsystems.
    std::unordered_map<std::string, int> byName;
    byName.reserve(static_cast<size_t>(unit.GetSubsystemCount()));
    for (int i = unit.GetSubsystemCount(); i-- > 0;)
        byName[unit.GetSubsystem(i)] = i; // the first of equal names wins, as a search finds it
    entries.resize(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j) {
        auto it = byName.find(energies.GetSubsystem(j));
        entries[static_cast<size_t>(j)] = it == byName.end() ? -1 : it->second;
    }
    return entries;
}

std::unique_ptr<CHSEAResultData> CSolver::KeyEnergies(double key, const std::vector<CZuRpmFunc*>& functions,
                                                      CZuData* parent)
{
    COctaveManagerEx* bands = m_project->GetOctaveManager();
    if (!bands)
        return nullptr;
    std::vector<int32_t>& map = m_project->GetFreqIndexArray();
    auto result = std::make_unique<CHSEAResultData>(m_model, std::make_unique<COctaveManagerEx>(*bands),
                                                    Format("%g", key), parent, nullptr);
    // A band map that does not fit the project's bands or the model would read outside them.
    if (!result->SetModelBandMap(&map))
        return nullptr;
    CZuVecFunc* P = result->GetInputPowerVector(1, m_progress);
    CZuVecFunc* E = result->GetModalEnergyVector(1, m_progress);
    if (!P || !E)
        return nullptr;
    const int bandCount = E->GetDataCount();
    const int n = E->GetSubsystemCount();
    for (int s = 0; s < m_inputSubsystems.GetCount(); ++s) {
        const std::string& name = m_inputSubsystems[s];
        CZuVecFunc* unit = m_model->FindVecFunc(name);
        CZuRpmFunc* f = functions[static_cast<size_t>(s)];
        const int ps = P->GetIndex(name);
        const int row = f ? FindRpmRow(*f, key) : -1;
        if (!unit || ps < 0 || row < 0)
            return nullptr;
        // Energy-vector subsystem j is entry index[j] of the 1 W vector.
        const std::vector<int>& index = UnitEntries(s, *unit, *E);
        for (int b = 0; b < bandCount; ++b) {
            if (m_bandIndex >= 0 && b != m_bandIndex)
                continue;
            if (b >= f->GetFreqCount())
                continue;
            const double power = f->DataValue(row, b);
            P->DataValue(b, ps) = power;
            const int k = result->GetModelBand(b);
            if (power == 0.0 || k < 0 || k >= unit->GetDataCount())
                continue;
            for (int j = 0; j < n; ++j)
                if (index[static_cast<size_t>(j)] >= 0)
                    E->DataValue(b, j) += power * unit->DataValue(k, index[static_cast<size_t>(j)]);
        }
    }
    return result;
}

int CSolver::RpmPass(CZuRpmResultData& set)
{
    const std::vector<double> rpms = PassRpms();
    const int n = static_cast<int>(rpms.size());
    std::vector<CZuRpmFunc*> functions;
    for (int i = 0; i < m_inputs.GetSize(); ++i)
        functions.push_back(DynamicDowncast<CZuRpmFunc>(m_inputs[i]));
    CFeedback& progress = Progress();
    progress.Begin("Calculating Energy...", n);
    int ok = 1;
    for (int i = 0; i < n && ok; ++i) {
        progress.Step();
        std::unique_ptr<CHSEAResultData> r = KeyEnergies(rpms[static_cast<size_t>(i)], functions, &set);
        ok = r != nullptr && set.AddResult(rpms[static_cast<size_t>(i)], std::move(r)) >= 0;
    }
    return ok;
}

int CSolver::OrderPass(CZuData& setData)
{
    auto& set = static_cast<CZuOTResultData&>(setData);
    const std::vector<double> rpms = PassRpms();
    const int n = static_cast<int>(rpms.size());
    auto* first = DynamicDowncast<CZuOTFunc>(m_inputs[0]);
    const int m = first->GetOrderCount();
    CFeedback& progress = Progress();
    std::vector<std::vector<std::unique_ptr<CHSEAResultData>>> perOrder(static_cast<size_t>(m));
    std::vector<std::unique_ptr<CZuRpmResultData>> sets;
    int ok = 1;
    for (int o = 0; o < m && ok; ++o) {
        auto orderSet = NewRpmResultSet();
        if (m_orderIndex < 0 || o == m_orderIndex) {
            progress.Begin(Format("Calculating Energy (Order# %g)...", first->GetOrder(o)), n);
            std::vector<CZuRpmFunc*> functions;
            for (int i = 0; i < m_inputs.GetSize() && ok; ++i) {
                auto* ot = DynamicDowncast<CZuOTFunc>(m_inputs[i]);
                CZuRpmFunc* f = ot && o < ot->GetOrderCount() ? ot->GetOrderFunc(o) : nullptr;
                ok = f != nullptr;
                functions.push_back(f);
            }
            for (int i = 0; i < n && ok; ++i) {
                progress.Step();
                auto r = KeyEnergies(rpms[static_cast<size_t>(i)], functions, orderSet.get());
                ok = r != nullptr && orderSet->AddResult(rpms[static_cast<size_t>(i)], std::move(r)) >= 0;
            }
        }
        sets.push_back(std::move(orderSet));
    }
    if (ok)
        for (int o = 0; o < m; ++o)
            set.AddResult(first->GetOrder(o), std::move(sets[static_cast<size_t>(o)]));
    return ok;
}

int CSolver::Run()
{
    m_result.reset();
    if (!m_project || !m_model || m_inputs.GetSize() == 0)
        return 0;
    m_unitEntries.clear();
    if (!CollectInputSubsystems())
        return 0;
    if (!SolveUnitEnergies(m_inputSubsystems))
        return 0;
    if (m_mode == MODE_RPM) {
        std::unique_ptr<CZuRpmResultData> set = NewRpmResultSet();
        if (!RpmPass(*set))
            return 0;
        m_result = std::move(set);
        return 1;
    }
    if (m_mode == MODE_ORDER) {
        int kind = 0;
        double start = 0.0, end = 0.0;
        m_project->GetModelDataParams(&kind, &start, &end);
        auto set = std::make_unique<CZuOTResultData>("", m_project->GetProjectElement(), ElementType::OTResultSet, kind,
                                                     start, end, m_model->GetSubsystemTable());
        set->SetOctaveManager(m_project->GetOctaveManager());
        if (!OrderPass(*set))
            return 0;
        m_result = std::move(set);
        return 1;
    }
    return 0;
}
