#include "calculation/InputPowerCalculator.h"

#include <cmath>

#include "calculation/AnalysisProjectAccess.h"
#include "calculation/InputPowerFolder.h"
#include "calculation/Solver.h"
#include "models/HSEAModelData.h"
#include "models/HSEAPowerContribution.h"
#include "models/HSEARegOptions.h"
#include "models/HSEAResultData.h"
#include "models/UnitEnergySolver.h"
#include "models/UpdateLog.h"
#include "platform/base/Format.h"
#include "platform/elements/CGMSolver.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OTConv.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmResultData.h"

namespace {
constexpr double kTwoPi = 6.28318530717959;

std::string InputLabel(const CMElement* e)
{
    if (const auto* rpm = DynamicDowncast<CZuRpmFunc>(e))
        return rpm->GetLabel();
    if (const auto* multi = DynamicDowncast<CMultiVectorFunction>(e))
        return multi->GetLabel();
    return std::string();
}

// The feedback of a solve that is one step of this calculation: its progress shows nothing, and
// what it reports goes on to the calculation's feedback.
class CStepFeedback : public CSilentFeedback
{
public:
    explicit CStepFeedback(CFeedback& calculation) : m_calculation(calculation) {}

protected:
    void OnReport(const SReport& report) override
    {
        m_calculation.Report(report.severity, report.text, report.stringId);
    }

private:
    CFeedback& m_calculation;
};
} // namespace

CInputPowerCalculator::CInputPowerCalculator(IAnalysisProjectAccess* project)
    : m_project(project), m_revisionLog(std::make_unique<CUpdateLog>())
{}

CInputPowerCalculator::~CInputPowerCalculator()
{
    m_orderFunctions.Clear(1);
}

void CInputPowerCalculator::SetInputs(const CMElementList& inputs)
{
    m_inputs.Clear();
    for (CMElement* e : inputs)
        m_inputs.Add(e);
}

CFeedback& CInputPowerCalculator::Progress() const
{
    return *m_progress;
}

CInputPowerFolder* CInputPowerCalculator::Folder() const
{
    CMElement* element = m_project ? m_project->GetProjectElement() : nullptr;
    return element ? DynamicDowncast<CInputPowerFolder>(element->FindOneChild(RUNTIME_CLASS(CInputPowerFolder)))
                   : nullptr;
}

int CInputPowerCalculator::ModelBandOf(int b) const
{
    if (!m_model || !m_bands || b < 0 || b >= m_bands->GetFreqCount())
        return -1;
    const std::vector<int32_t>& map = m_project->GetFreqIndexArray();
    int m = -1;
    if (b < static_cast<int>(map.size()))
        m = map[static_cast<size_t>(b)];
    else
        m = FindOctaveBandIndex(m_bands->GetFreq(b), m_model->GetOctaveManager());
    return m >= 0 && m < m_model->GetFreqCount() ? m : -1;
}

std::string CInputPowerCalculator::AnalysisBandText(int b) const
{
    return m_bands && b >= 0 && b < m_bands->GetFreqCount() ? m_bands->GetFreqAsString(b) + "Hz" : std::string();
}

int CInputPowerCalculator::PrepareTable()
{
    m_table.Clear();
    const CZuSubsystemTable* model = m_model ? m_model->GetSubsystemTable() : nullptr;
    for (CMElement* input : m_inputs) {
        std::string name = InputLabel(input);
        m_project->CompleteSubsystemName(name);
        // A subsystem the model does not have has no row in the response matrix: the powers
        // of the others would be solved without it and come out wrong.
        if (!model || model->GetIndex(name) < 0) {
            Progress().Warning(FormatString(IDS_SUBSYSTEM_NOT_IN_MATRIX, name.c_str()), IDS_SUBSYSTEM_NOT_IN_MATRIX);
            return 0;
        }
        m_table.Add(name);
    }
    return 1;
}

int CInputPowerCalculator::MatchRows()
{
    m_rows.clear();
    auto* first = DynamicDowncast<CZuRpmFunc>(m_inputs.GetSize() > 0 ? m_inputs[0] : nullptr);
    if (!first)
        return 0;
    for (CMElement* input : m_inputs) {
        auto* f = DynamicDowncast<CZuRpmFunc>(input);
        std::vector<int> rows(static_cast<size_t>(first->GetRpmCount()), -1);
        for (int r = 0; f && r < first->GetRpmCount(); ++r)
            rows[static_cast<size_t>(r)] = f == first ? r : CSolver::FindRpmRow(*f, first->GetRpm(r));
        for (int row : rows)
            if (row < 0) {
                // Energies of another RPM axis cannot be paired with the first input's rows.
                Progress().Warning(FormatString(IDS_INPUT_POWER_NOT_CALCULATED, InputLabel(input).c_str()),
                                   IDS_INPUT_POWER_NOT_CALCULATED);
                return 0;
            }
        m_rows.push_back(std::move(rows));
    }
    return 1;
}

void CInputPowerCalculator::SolveUnitEnergiesOfInputs()
{
    // The solve is one step of this calculation: its own passes show nothing.
    CStepFeedback step(Progress());
    CSolver solver;
    solver.SetFeedback(&step);
    solver.SetProject(m_project);
    solver.SetModelData(m_model);
    solver.SetMode(m_inputKind == 1 ? CSolver::MODE_ORDER : CSolver::MODE_RPM);
    solver.SolveUnitEnergies(m_table);
}

int CInputPowerCalculator::BuildResponseMatrix(int modelBand)
{
    const int n = m_table.GetCount();
    const int bands = m_model->GetFreqCount();
    CZuVecFunc* D = m_model->GetModalDensity(1);
    if (!D)
        return 0;
    if (!m_unitSolver)
        m_unitSolver = std::make_unique<CUnitEnergySolver>(m_model);
    Progress().Begin("", n);
    int ok = 1;
    for (int c = 0; c < n && ok; ++c) {
        std::string display = m_table[c];
        CGfxUtil::RemoveWaveSign(display);
        Progress().SetText(Format("Calculating Input Energy [%s]...", display.c_str()));
        Progress().Step();
        // The model's energies per watt into c, solved with its matrix prepared for c (kept by
        // the model and shared with the energy solver while the matrix stays the same).
        CZuVecFunc* unit = m_unitSolver->SolveUnitPowerEnergies(m_table[c], modelBand, modelBand >= 0 ? 1 : 0);
        if (!unit) {
            ok = 0;
            break;
        }
        for (int r = 0; r < n; ++r) {
            const int u = unit->GetIndex(m_table[r]), d = D->GetIndex(m_table[r]);
            for (int i = 0; i < bands; ++i) {
                if (modelBand >= 0 && i != modelBand)
                    continue;
                const bool have = u >= 0 && d >= 0 && i < unit->GetDataCount() && i < D->GetDataCount();
                m_M->DataValue(i, r, c) = have ? unit->DataValue(i, u) * D->DataValue(i, d) : 0.0;
            }
        }
    }
    Progress().End();
    return ok;
}

void CInputPowerCalculator::LoadEnergies(int r, int b, int m)
{
    for (int s = 0; s < m_inputs.GetSize(); ++s) {
        auto* f = DynamicDowncast<CZuRpmFunc>(m_inputs[s]);
        const int k = m_E->GetIndex(m_table[s]);
        const int row =
            s < static_cast<int>(m_rows.size()) && r < static_cast<int>(m_rows[static_cast<size_t>(s)].size())
                ? m_rows[static_cast<size_t>(s)][static_cast<size_t>(r)]
                : -1;
        if (!f || k < 0 || row < 0 || b >= f->GetFreqCount())
            continue;
        m_E->DataValue(m, k) = f->DataValue(row, b);
    }
}

int CInputPowerCalculator::SolveBand(int m)
{
    std::vector<int> flags(static_cast<size_t>(m_M->GetDataCount()), 0);
    if (m < 0 || m >= static_cast<int>(flags.size()))
        return 0;
    flags[static_cast<size_t>(m)] = 1;
    CCGMSolver solver(m_M.get(), m_E.get(), m_P.get());
    solver.SetCalcFreq(flags.data(), static_cast<int>(flags.size()));
    solver.ShowProgress(0, 1, nullptr);
    if (solver.Solve())
        return 1;
    Fail(Format("The response matrix of the hybrid SEA model at %g Hz is singular: a subsystem there has "
                "no modal density, damping or coupling to the others.",
                m_M->DataIndex(m)));
    return 0;
}

int CInputPowerCalculator::Fail(const std::string& why)
{
    m_failure = why;
    return 0;
}

double CInputPowerCalculator::PowerOf(int m, int s) const
{
    const int k = m_P->GetIndex(m_table[s]);
    return k < 0 ? 0.0 : kTwoPi * m_P->DataIndex(m) * m_P->DataValue(m, k);
}

void CInputPowerCalculator::StoreOutputs(int r, int b, int m)
{
    for (int s = 0; s < m_outputs.GetSize(); ++s) {
        auto* out = DynamicDowncast<CZuRpmFunc>(m_outputs[s]);
        if (out && r < out->GetRpmCount() && b < out->GetFreqCount())
            out->DataValue(r, b) = PowerOf(m, s);
    }
}

int CInputPowerCalculator::CreateOutputs()
{
    m_outputs.Clear();
    for (CMElement* input : m_inputs) {
        auto* f = DynamicDowncast<CZuRpmFunc>(input);
        if (!f)
            return 0;
        auto out = std::make_unique<CZuRpmFunc>(f->GetLabel(), f->GetFreqCount(), nullptr, ElementType::InputPower);
        out->SetLabel(f->GetLabel());
        f->SetAxisFlag(0);
        out->SetAxisFlag(0);
        for (int i = 0; i < f->GetFreqCount(); ++i)
            out->SetFreq(i, f->GetFreq(i));
        for (int r = 0; r < f->GetRpmCount(); ++r) {
            CZuFunc* source = f->GetRowFunc(r);
            auto row = std::make_unique<CZuFunc>(source ? source->GetName() : Format("%g", f->GetRpm(r)),
                                                 f->GetFreqCount(), nullptr, ElementType::InputPower);
            for (int i = 0; i < f->GetFreqCount(); ++i) {
                row->DataIndex(i) = source && i < source->GetDataCount() ? source->DataIndex(i) : f->GetFreq(i);
                row->DataValue(i) = 0.0;
            }
            out->AddRow(f->GetRpm(r), std::move(row));
        }
        m_outputs.Add(out.release());
    }
    return 1;
}

int CInputPowerCalculator::CalculateByRpm()
{
    if (!MatchRows())
        return 0;
    auto* first = DynamicDowncast<CZuRpmFunc>(m_inputs[0]);
    const int rows = first->GetRpmCount();
    const int nB = m_bands->GetFreqCount();
    if (!CreateOutputs())
        return 0;
    Progress().Begin("Calculating Input Powers...", rows);
    int ok = 1;
    for (int r = 0; r < rows && ok; ++r) {
        Progress().Step();
        for (int b = 0; b < nB && ok; ++b) {
            const int m = ModelBandOf(b);
            if (m < 0)
                continue;
            LoadEnergies(r, b, m);
            ok = SolveBand(m);
            if (ok)
                StoreOutputs(r, b, m);
        }
    }
    Progress().End();
    return ok;
}

int CInputPowerCalculator::CalculateByOrder()
{
    m_orderFunctions.Clear(1);
    COTConv conv;
    conv.SetOctaveManager(m_bands);
    conv.SetOrderFactor(m_orderFactor);
    for (CMElement* input : m_inputs)
        if (std::unique_ptr<CZuOTFunc> ot = conv.Convert(input))
            m_orderFunctions.Add(ot.release());
    if (m_orderFunctions.GetSize() != m_inputs.GetSize())
        return 0; // an input that is no order table has no order map to solve
    const COrderList& orders = m_project->GetOrderList();
    const int count = orders.GetSize();
    m_perOrderOutputs.assign(static_cast<size_t>(count), CMElementList());
    int ok = 1;
    for (int o = 0; o < count && ok; ++o) {
        const double w = orders.GetAt(o);
        m_inputs.Clear();
        for (CMElement* e : m_orderFunctions) {
            auto* ot = static_cast<CZuOTFunc*>(e);
            CZuRpmFunc* map = o < ot->GetOrderCount() ? ot->GetOrderFunc(o) : nullptr;
            if (!map) {
                ok = 0;
                break;
            }
            m_inputs.Add(map);
        }
        if (!ok || !MatchRows() || !CreateOutputs()) {
            ok = 0;
            break;
        }
        auto* first = static_cast<CZuRpmFunc*>(m_inputs[0]);
        Progress().Begin(Format("Calculating Input Powers (Order# %g)...", w), first->GetRpmCount());
        for (int r = 0; r < first->GetRpmCount() && ok; ++r) {
            Progress().Step();
            const int b = GetOrderBandIndexInt(first->GetRpm(r), w, m_orderFactor, m_bands);
            const int m = ModelBandOf(b);
            if (b < 0 || m < 0)
                continue;
            m_P->Empty();
            LoadEnergies(r, b, m);
            ok = SolveBand(m);
            if (ok)
                StoreOutputs(r, b, m);
        }
        Progress().End();
        for (CMElement* out : m_outputs)
            m_perOrderOutputs[static_cast<size_t>(o)].Add(out);
        if (!ok)
            break;
    }
    if (!ok)
        for (CMElementList& list : m_perOrderOutputs)
            list.Clear(1);
    m_outputs.Clear();
    return ok;
}

void CInputPowerCalculator::AssembleOrderResults()
{
    const COrderList& orders = m_project->GetOrderList();
    m_outputs.Clear();
    if (m_perOrderOutputs.empty())
        return;
    for (int j = 0; j < m_perOrderOutputs[0].GetSize(); ++j) {
        auto* first = static_cast<CZuRpmFunc*>(m_perOrderOutputs[0][j]);
        auto ot = std::make_unique<CZuOTFunc>(first->GetName(), nullptr, first->GetType());
        ot->SetLabel(first->GetLabel());
        ot->SetOrderFactor(m_orderFactor);
        for (int o = 0; o < static_cast<int>(m_perOrderOutputs.size()); ++o)
            ot->AddOrder(orders.GetAt(o), static_cast<CZuRpmFunc*>(m_perOrderOutputs[static_cast<size_t>(o)][j]));
        m_outputs.Add(ot.release());
    }
}

int CInputPowerCalculator::Calculate()
{
    m_reviseRate = CHSEARegOptions::GetIPReviseRate();
    m_failure.clear();
    if (!m_model)
        return Fail(kNoModelReason);
    if (!m_project || !m_bands)
        return Fail("The analysis project has no band set.");
    if (m_inputs.GetSize() == 0)
        return Fail("There are no input energies to calculate input powers from.");
    CInputPowerFolder* folder = Folder();
    if (!folder)
        return Fail("The analysis project has no input-power folder to keep the input powers in.");
    if (!PrepareTable())
        return 0;
    const int bands = m_model->GetFreqCount();
    m_E = std::make_unique<CZuVecFunc>(" ", &m_table, bands, nullptr, ElementType::InputPower);
    m_P = std::make_unique<CZuVecFunc>(" ", &m_table, bands, nullptr, ElementType::InputPower);
    m_M = std::make_unique<CZuMatFunc>(" ", &m_table, &m_table, bands, nullptr, ElementType::EtaMatrix);
    for (int i = 0; i < bands; ++i)
        m_E->DataIndex(i) = m_P->DataIndex(i) = m_M->DataIndex(i) = m_model->GetFreq(i);
    if (!BuildResponseMatrix(-1))
        return Fail("The response matrix of the hybrid SEA model could not be built: check that every "
                    "subsystem of the model has its modal density, damping and coupling loss factors.");

    if (m_inputKind == 0) {
        if (!CalculateByRpm()) {
            m_outputs.Clear(1);
            return 0;
        }
        folder->AddItems(m_outputs);
        if (m_revise)
            ReviseByRpm();
        return 1;
    }
    if (m_inputKind == 1) {
        const CMElementList energies = m_inputs;
        if (!CalculateByOrder()) {
            m_inputs = energies;
            return 0;
        }
        AssembleOrderResults();
        folder->AddItems(m_outputs);
        if (m_revise)
            ReviseByOrder();
        return 1;
    }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// The revision

bool CInputPowerCalculator::KeyEnergy(int r, int b, std::unique_ptr<CZuData>& holder, CHSEAResultData*& result)
{
    result = nullptr;
    CInputPowerFolder* folder = Folder();
    auto* first = DynamicDowncast<CZuRpmFunc>(m_inputs.GetSize() > 0 ? m_inputs[0] : nullptr);
    if (!folder || !first || r < 0 || r >= first->GetRpmCount())
        return false;
    CMElementList inputs;
    for (int s = 0; s < m_table.GetCount(); ++s) {
        std::string plain = m_table[s];
        CGfxUtil::RemoveWaveSign(plain);
        if (CMElement* f = folder->FindRpmItem(plain))
            inputs.Add(f);
    }
    // The solve is one step of this calculation: its own passes show nothing.
    CStepFeedback step(Progress());
    CSolver solver;
    solver.SetFeedback(&step);
    solver.SetProject(m_project);
    solver.SetModelData(m_model);
    solver.SetInputs(inputs);
    solver.SetMode(m_inputKind == 1 ? CSolver::MODE_ORDER : CSolver::MODE_RPM);
    solver.SetRpmValue(first->GetRpm(r));
    solver.SetBandIndex(b);
    solver.SetOrderIndex(0);
    solver.SetRecompute(1);
    if (!solver.Run())
        return false;
    holder = solver.TakeResult();
    CZuRpmResultData* set = DynamicDowncast<CZuRpmResultData>(holder.get());
    if (auto* ot = DynamicDowncast<CZuOTResultData>(holder.get()))
        set = ot->GetResult(0);
    result = set ? DynamicDowncast<CHSEAResultData>(set->GetResult(0)) : nullptr;
    return result != nullptr;
}

void CInputPowerCalculator::CheckEnergy(int r, int b, int s)
{
    std::unique_ptr<CZuData> holder;
    CHSEAResultData* result = nullptr;
    auto* input = DynamicDowncast<CZuRpmFunc>(m_inputs[s]);
    const int row = m_rows[static_cast<size_t>(s)][static_cast<size_t>(r)];
    if (!input || !KeyEnergy(r, b, holder, result))
        return;
    const double calculated = result->GetSubsystemValue(m_table[s], b, 0);
    input->SetAxisFlag(1);
    const double measured = input->DataValue(row, b);
    const double ratio = std::fabs(calculated / measured);
    if (!(ratio >= 0.99 && ratio <= 1.01))
        m_warnings +=
            FormatString(IDS_REVISE_RATIO, 1.0, m_table[s].c_str(), input->GetFreqIndicator(b).c_str(), ratio);
}

int CInputPowerCalculator::ReviseBand(int r, int b, int m, std::vector<int> candidates)
{
    int step = 0;
    std::vector<int> converged;
    while (!candidates.empty()) {
        if (++step > kMaxReviseSteps) {
            for (int s : candidates)
                m_warnings += FormatString(IDS_REVISE_NOT_CONVERGED, kMaxReviseSteps, m_table[s].c_str(),
                                           AnalysisBandText(b).c_str());
            break;
        }
        // Lower the coupling through which most power reaches each candidate.
        {
            std::unique_ptr<CZuData> holder;
            CHSEAResultData* result = nullptr;
            if (KeyEnergy(r, b, holder, result)) {
                CUpdateLog log;
                for (int s : candidates) {
                    std::unique_ptr<CHSEAPowerContribution> pc =
                        result->CreatePowerContribution(m_table[s], b, &Progress());
                    if (!pc)
                        continue;
                    const int index = pc->GetIndexAt(b, 0);
                    if (index < 0 || index >= static_cast<int>(pc->GetRowCountN()))
                        continue;
                    const std::string contributor = pc->GetRowName(index);
                    const double clf =
                        m_model->ExtractClf(contributor, m_table[s], static_cast<unsigned>(m), &Progress());
                    if (clf == CZuData::kNoValue)
                        continue;
                    log.Add(contributor, m_table[s], CHSEAModelData::UPDATE_CLF, m, clf * m_reviseRate);
                }
                m_model->ApplyUpdateLog(&log, &Progress());
                for (int i = 0; i < log.GetCount(); ++i)
                    m_revisionLog->Add(std::make_unique<tagUPDATE>(*log.GetAt(i)));
            }
        }
        // Solve again with the matrix rebuilt at this band.
        if (!BuildResponseMatrix(m) || (LoadEnergies(r, b, m), !SolveBand(m))) {
            m_warnings += FormatString(IDS_REVISE_SOLVE_FAILED, AnalysisBandText(b).c_str());
            return 0;
        }
        for (int i = static_cast<int>(candidates.size()) - 1; i >= 0; --i) {
            const int s = candidates[static_cast<size_t>(i)];
            auto* out = static_cast<CZuRpmFunc*>(m_outputs[s]);
            const double p = PowerOf(m, s);
            const double q = out->DataValue(r, b);
            out->DataValue(r, b) = p;
            if (q > 0.0 && p > 0.0 && std::fabs(10.0 * std::log10(p / q)) < 1.0) {
                candidates.erase(candidates.begin() + i);
                converged.push_back(s);
            }
        }
    }
    // The energies of this key come from every input's power under the revised model: checked
    // while the other inputs still held the powers of the model before the change, a candidate
    // would be reported as missing its measured energy although the revised powers give it.
    StoreOutputs(r, b, m);
    for (int s : converged)
        CheckEnergy(r, b, s);
    return 1;
}

void CInputPowerCalculator::ShowWarnings()
{
    if (!m_warnings.empty())
        Progress().Warning(m_warnings);
}

void CInputPowerCalculator::StepRevision(int m)
{
    Progress().SetText(
        Format("Revising Input Power [%sHz]...", m_model->GetOctaveManager()->GetFreqAsString(m).c_str()));
    Progress().Step();
}

std::vector<int> CInputPowerCalculator::RevisionCandidates(int r, int b) const
{
    std::vector<int> candidates;
    for (int s = 0; s < m_outputs.GetSize(); ++s)
        if (!(static_cast<CZuRpmFunc*>(m_outputs[s])->DataValue(r, b) > 0.0))
            candidates.push_back(s);
    return candidates;
}

int CInputPowerCalculator::ReviseByRpm()
{
    auto* first = DynamicDowncast<CZuRpmFunc>(m_inputs.GetSize() > 0 ? m_inputs[0] : nullptr);
    if (!first || first->GetRpmCount() == 0 || !m_M || m_outputs.GetSize() != m_inputs.GetSize())
        return 0;
    const int rows = first->GetRpmCount();
    const int r = (rows - 1) / 2;
    SolveUnitEnergiesOfInputs();
    const int nB = m_bands->GetFreqCount();
    Progress().Begin("", nB);
    m_warnings.clear();
    int last = -1;
    int ok = 1;
    for (int b = 0; b < nB && ok; ++b) {
        const int m = ModelBandOf(b);
        if (m < 0)
            continue;
        StepRevision(m);
        if (m == last)
            continue;
        std::vector<int> candidates = RevisionCandidates(r, b);
        if (candidates.empty())
            continue;
        if (!ReviseBand(r, b, m, candidates)) {
            ok = 0;
            break;
        }
        // Every RPM and every analysis band of this model band gets the revised model's powers.
        for (int r2 = 0; r2 < rows; ++r2)
            for (int b2 = 0; b2 < nB; ++b2)
                if (ModelBandOf(b2) == m) {
                    LoadEnergies(r2, b2, m);
                    if (SolveBand(m))
                        StoreOutputs(r2, b2, m);
                }
        last = m;
    }
    ShowWarnings();
    Progress().End();
    return ok;
}

int CInputPowerCalculator::ReviseByOrder()
{
    if (m_orderFunctions.GetSize() == 0 || m_perOrderOutputs.empty() || !m_M)
        return 0;
    auto* firstOrder = static_cast<CZuOTFunc*>(m_orderFunctions[0]);
    if (firstOrder->GetOrderCount() < 1)
        return 0;
    const double w0 = firstOrder->GetOrder(0);
    // The first order's energies and powers.
    m_inputs.Clear();
    for (CMElement* e : m_orderFunctions)
        m_inputs.Add(static_cast<CZuOTFunc*>(e)->GetOrderFunc(0));
    m_outputs.Clear();
    for (CMElement* e : m_perOrderOutputs[0])
        m_outputs.Add(e);
    if (!MatchRows())
        return 0;
    SolveUnitEnergiesOfInputs();
    auto* first = static_cast<CZuRpmFunc*>(m_inputs[0]);
    const int rows = first->GetRpmCount();
    Progress().Begin("", rows);
    m_warnings.clear();
    int last = -1;
    int ok = 1;
    auto bandOfRow = [&](int row) { return GetOrderBandIndexInt(first->GetRpm(row), w0, m_orderFactor, m_bands); };
    for (int r = 0; r < rows && ok; ++r) {
        const int b = bandOfRow(r);
        const int m = ModelBandOf(b);
        if (b < 0 || m < 0)
            continue;
        StepRevision(m);
        if (m == last)
            continue;
        std::vector<int> candidates = RevisionCandidates(r, b);
        if (candidates.empty())
            continue;
        if (!ReviseBand(r, b, m, candidates)) {
            ok = 0;
            break;
        }
        for (int r2 = 0; r2 < rows; ++r2) {
            const int b2 = bandOfRow(r2);
            if (b2 >= 0 && ModelBandOf(b2) == m) {
                LoadEnergies(r2, b2, m);
                if (SolveBand(m))
                    StoreOutputs(r2, b2, m);
            }
        }
        last = m;
    }
    ShowWarnings();
    Progress().End();
    return ok;
}
