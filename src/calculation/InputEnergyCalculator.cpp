#include "calculation/InputEnergyCalculator.h"

#include <cmath>

#include "experiments/DAQConfig.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpInfo.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxCalc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "common/LevelUtil.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/RPMOptions.h"
#include "spectral/RpmManager.h"
#include "spectral/ZuRpmFunc.h"

namespace {
// A DAQ project built from universal files has this element type.
constexpr int kUniversalFileProject = 1;

// Universal-file projects are resampled to the analysis range when it is given as a range.
bool ResamplesToRange(const IDaqProjectAccess* daq, const CRPMOptions* rpm)
{
    const auto* project = dynamic_cast<const CMElement*>(daq);
    return project && project->GetType() == kUniversalFileProject && rpm && rpm->GetMode() == CRPMOptions::modeRange;
}

// The energies of the experiments' measured functions: each function (find, null when missing) is
// resampled (resample) or copied, relabelled to its own side for a symmetric subsystem, and its
// values v become v * v * factor of its subsystem (square). False, after reporting it through the
// feedback, when a function is missing, cannot be copied or its subsystem has no factor.
template <class Func, class Find, class Resample, class FactorOf, class Square>
bool MeasuredEnergies(const CMElementList& experiments, bool resample, bool symmetric, Find find, Resample resampled,
                      FactorOf factorOf, Square square, std::vector<std::unique_ptr<Func>>& energies,
                      CFeedback* feedback)
{
    for (CMElement* element : experiments) {
        auto* experiment = dynamic_cast<IDaqExperimentData*>(element);
        const CExpInfo* info = experiment ? experiment->GetExpInfo() : nullptr;
        const Func* measured = info ? find(*experiment, info->GetName(0)) : nullptr;
        if (!measured) {
            feedback->Warning(MessageTextOf(IDS_NO_RPM_FUNCTION), IDS_NO_RPM_FUNCTION);
            return false;
        }
        std::unique_ptr<Func> copy;
        if (resample) {
            copy = resampled(measured);
        } else {
            std::unique_ptr<CMElement> duplicate = measured->Duplicate();
            if (ElementCast<Func>(duplicate.get()))
                copy.reset(static_cast<Func*>(duplicate.release()));
        }
        if (!copy)
            return false;
        copy->SetType(ElementType::Energy);
        if (symmetric) {
            std::string own;
            if (CGfxUtil::GetSymmetricSubsystem(copy->GetLabel(), &own))
                copy->SetLabel(own);
        }
        const double factor = factorOf(copy->GetLabel());
        if (!(factor > 0.0))
            return false;
        square(*copy, factor);
        energies.push_back(std::move(copy));
    }
    return true;
}

// The row of an analysis RPM, matched by the exact float value (stored results were averaged that
// way); rpmKeys.size() when there is none.
size_t RowOfRpm(const std::vector<float>& rpmKeys, float rpm)
{
    size_t row = 0;
    while (row < rpmKeys.size() && rpmKeys[row] != rpm)
        ++row;
    return row;
}
} // namespace

CInputEnergyCalculator::CInputEnergyCalculator() = default;

CInputEnergyCalculator::~CInputEnergyCalculator()
{
    DeleteResults();
}

int CInputEnergyCalculator::TakeResults(CMElementList& out)
{
    const int count = m_results.GetSize();
    out.Append(m_results);
    m_results.Clear();
    return count;
}

void CInputEnergyCalculator::DeleteResults()
{
    m_results.Clear(1);
}

std::vector<double> CInputEnergyCalculator::AnalysisRpms() const
{
    std::vector<float> rpms;
    if (m_rpmOptions)
        m_rpmOptions->MakeRpmArray(rpms);
    return std::vector<double>(rpms.begin(), rpms.end());
}

std::vector<double> CInputEnergyCalculator::BandCentres() const
{
    return m_bands ? m_bands->GetFreqArray() : std::vector<double>();
}

int CInputEnergyCalculator::CollectExperiments(const std::string& subsystem, CMElementList& list, bool& symmetric) const
{
    symmetric = false;
    list.Clear();
    if (!m_daqProject)
        return 0;
    if (m_daqProject->GetUsedDAQExperimentsOf(subsystem, list) > 0 || m_useSymmetric != 1)
        return list.GetSize();
    std::string mirror;
    if (CGfxUtil::GetSymmetricSubsystem(subsystem, &mirror) && m_daqProject->GetUsedDAQExperimentsOf(mirror, list) > 0)
        symmetric = true;
    return list.GetSize();
}

bool CInputEnergyCalculator::CheckExperiments()
{
    std::string missing;
    int count = 0;
    for (int i = 0; m_subsystems && i < m_subsystems->GetCount(); ++i) {
        CMElementList list;
        bool symmetric = false;
        if (CollectExperiments((*m_subsystems)[i], list, symmetric) > 0)
            continue;
        if (m_report != 1)
            return false;
        if (++count > kMaxReported) {
            missing += "...";
            break;
        }
        missing += (*m_subsystems)[i] + "\n";
    }
    if (count == 0)
        return true;
    m_progress->Warning(FormatString(IDS_NO_EXPERIMENTS, missing.c_str()), IDS_NO_EXPERIMENTS);
    return false;
}

double CInputEnergyCalculator::EnergyFactor(const std::string& subsystem) const
{
    const double factor = m_daqProject ? m_daqProject->GetSubsystemEnergyFactor(subsystem) : 0.0;
    if (!(factor > 0.0))
        m_progress->Warning(FormatString(IDS_NO_MODEL_SUBSYSTEM, subsystem.c_str()), IDS_NO_MODEL_SUBSYSTEM);
    return factor;
}

double CInputEnergyCalculator::AverageEnergies(std::vector<double> values, int mode)
{
    if (values.empty())
        return 0.0;
    if (mode != 2)
        return GetAverageEx(values.data(), static_cast<int>(values.size()), mode);
    for (double& v : values)
        v = CGfxCalc::GetEnergyDecibel(v);
    const double level = GetAverageEx(values.data(), static_cast<int>(values.size()), mode);
    return std::pow(10.0, 0.1 * level);
}

std::unique_ptr<CMElement> CInputEnergyCalculator::EnergiesByRpm(const std::string& subsystem,
                                                                 const CMElementList& experiments, bool symmetric)
{
    (void)subsystem;
    std::vector<std::unique_ptr<CZuRpmFunc>> energies;
    const bool ok = MeasuredEnergies<CZuRpmFunc>(
        experiments, ResamplesToRange(m_daqProject, m_rpmOptions), symmetric,
        [](IDaqExperimentData& e, const std::string& name) { return e.FindRpmFuncByName(name); },
        [this](const CZuRpmFunc* measured) { return CRpmManager(m_rpmOptions).CreateRpmFunc(measured); },
        [this](const std::string& label) { return EnergyFactor(label); },
        [](CZuRpmFunc& copy, double factor) {
            for (int r = 0; r < copy.GetRpmCount(); ++r)
                for (int b = 0; b < copy.GetFreqCount(); ++b) {
                    double& x = copy.DataValue(r, b);
                    x = x * x * factor;
                }
        },
        energies, m_progress);
    if (!ok || energies.empty())
        return nullptr;

    const std::vector<double> rpms = AnalysisRpms();
    const std::vector<double> centres = BandCentres();
    std::vector<float> rpmKeys(rpms.begin(), rpms.end());
    std::vector<std::vector<double>> cells(rpms.size() * centres.size());
    for (const auto& energy : energies)
        for (int r = 0; r < energy->GetRpmCount(); ++r) {
            const size_t row = RowOfRpm(rpmKeys, static_cast<float>(energy->GetRpm(r)));
            if (row == rpmKeys.size())
                continue;
            for (int b = 0; b < energy->GetFreqCount() && static_cast<size_t>(b) < centres.size(); ++b)
                if (const double v = energy->DataValue(r, b); v > 0.0)
                    cells[row * centres.size() + static_cast<size_t>(b)].push_back(v);
        }

    const std::string label = energies.front()->GetLabel();
    auto result = CZuRpmFunc::NewRpmFunc(label, ElementType::Energy, nullptr, label, centres.data(),
                                         static_cast<int>(centres.size()), rpms.data(), static_cast<int>(rpms.size()));
    if (!result)
        return nullptr;
    result->SetAxisFlag(0);
    for (size_t r = 0; r < rpms.size(); ++r)
        for (size_t b = 0; b < centres.size(); ++b)
            result->DataValue(static_cast<int>(r), static_cast<int>(b)) =
                AverageEnergies(cells[r * centres.size() + b], m_averaging);

    // Smoothing over the RPM margin, unless the acquisition switched it off; the rows whose window
    // would leave the map are cut.
    const CDAQConfig* config = m_daqProject ? m_daqProject->GetDAQConfig() : nullptr;
    const double step = m_rpmOptions ? m_rpmOptions->GetRpmStep() : 0.0;
    if ((!config || config->GetOption60() == 0) && m_smoothingWidth > 0.0f && step > 0.0) {
        const int n = static_cast<int>(m_smoothingWidth / step);
        const int rows = result->GetRpmCount();
        if (n > 0 && 2 * n <= rows) {
            result->SetSmoothingWidth(n);
            std::vector<double> smoothed(static_cast<size_t>(rows) * centres.size());
            for (int r = 0; r < rows; ++r)
                for (size_t b = 0; b < centres.size(); ++b)
                    smoothed[static_cast<size_t>(r) * centres.size() + b] =
                        result->GetSmoothedValue(r, static_cast<int>(b));
            result->SetSmoothingWidth(0);
            for (int r = 0; r < rows; ++r)
                for (size_t b = 0; b < centres.size(); ++b)
                    result->DataValue(r, static_cast<int>(b)) = smoothed[static_cast<size_t>(r) * centres.size() + b];
            result->RemoveRows(rows - n, n);
            result->RemoveRows(0, n);
        }
    }
    return result;
}

std::unique_ptr<CMElement> CInputEnergyCalculator::EnergiesByOrder(const std::string& subsystem,
                                                                   const CMElementList& experiments, bool symmetric)
{
    (void)subsystem;
    std::vector<std::unique_ptr<CMultiVectorFunction>> energies;
    const bool ok = MeasuredEnergies<CMultiVectorFunction>(
        experiments, ResamplesToRange(m_daqProject, m_rpmOptions), symmetric,
        [](IDaqExperimentData& e, const std::string& name) { return e.FindMultiVecFuncByName(name); },
        [this](const CMultiVectorFunction* measured) {
            return CRpmManager(m_rpmOptions).CreateSubsystemTable(measured);
        },
        [this](const std::string& label) { return EnergyFactor(label); },
        [](CMultiVectorFunction& copy, double factor) {
            for (int i = 0; i < copy.GetDataCount(); ++i)
                for (int k = 0; k < copy.GetSubsystemCount(); ++k) {
                    double& x = copy.DataValue(i, k);
                    x = x * x * factor;
                }
        },
        energies, m_progress);
    if (!ok || energies.empty())
        return nullptr;

    const std::vector<double> rpms = AnalysisRpms();
    std::vector<float> rpmKeys(rpms.begin(), rpms.end());
    const size_t orderCount = static_cast<size_t>(m_orders.GetSize());
    std::vector<std::vector<double>> cells(rpms.size() * orderCount);
    for (const auto& energy : energies)
        for (int i = 0; i < energy->GetDataCount(); ++i) {
            const size_t row = RowOfRpm(rpmKeys, static_cast<float>(energy->DataIndex(i)));
            if (row == rpmKeys.size())
                continue;
            for (int k = 0; k < energy->GetSubsystemCount() && static_cast<size_t>(k) < orderCount; ++k)
                if (const double v = energy->DataValue(i, k); v > 0.0)
                    cells[row * orderCount + static_cast<size_t>(k)].push_back(v);
        }

    CZuSubsystemTable columns;
    for (size_t o = 0; o < orderCount; ++o)
        columns.Add(FormatString(IDS_ORDER_NAME, m_orders[static_cast<int>(o)]));
    const std::string label = energies.front()->GetLabel();
    auto result =
        std::make_unique<COTMultiVecFunc>(label, &columns, static_cast<int>(rpms.size()), nullptr, ElementType::Energy);
    result->SetLabel(label);
    result->SetOrderList(m_orders);
    result->SetDataIndexArray(rpms);
    for (size_t r = 0; r < rpms.size(); ++r)
        for (size_t o = 0; o < orderCount; ++o)
            result->DataValue(static_cast<int>(r), static_cast<int>(o)) =
                AverageEnergies(cells[r * orderCount + o], m_averaging);
    return result;
}

int CInputEnergyCalculator::Calculate()
{
    if (!m_subsystems || !CheckExperiments())
        return 0;
    CFeedback& progress = *m_progress;
    progress.Begin("", m_subsystems->GetCount());
    DeleteResults();
    for (int i = 0; i < m_subsystems->GetCount(); ++i) {
        const std::string subsystem = (*m_subsystems)[i];
        if (progress.IsCancelled()) {
            DeleteResults();
            progress.End();
            return 0;
        }
        progress.SetText(Format("Calculating Energy for [%s]...", subsystem.c_str()));
        CMElementList experiments;
        bool symmetric = false;
        CollectExperiments(subsystem, experiments, symmetric);
        std::unique_ptr<CMElement> result = m_inputKind == 0 ? EnergiesByRpm(subsystem, experiments, symmetric)
                                                             : EnergiesByOrder(subsystem, experiments, symmetric);
        if (!result) {
            DeleteResults();
            progress.End();
            return 0;
        }
        m_results.Add(result.release());
        progress.Step();
    }
    progress.End();
    return m_results.IsEmpty() ? 0 : 1;
}

int CInputEnergyCalculator::AddData()
{
    DeleteResults();
    const std::vector<double> rpms = AnalysisRpms();
    const std::vector<double> centres = BandCentres();
    for (int i = 0; m_subsystems && i < m_subsystems->GetCount(); ++i) {
        const std::string name = (*m_subsystems)[i];
        if (m_inputKind == 0) {
            auto result =
                CZuRpmFunc::NewRpmFunc(name, ElementType::Energy, nullptr, name, centres.data(),
                                       static_cast<int>(centres.size()), rpms.data(), static_cast<int>(rpms.size()));
            if (result) {
                result->SetAxisFlag(0);
                m_results.Add(result.release());
            }
        } else {
            CZuSubsystemTable columns;
            for (int o = 0; o < m_orders.GetSize(); ++o)
                columns.Add(FormatString(IDS_ORDER_NAME, m_orders[o]));
            auto result = std::make_unique<COTMultiVecFunc>(name, &columns, static_cast<int>(rpms.size()), nullptr,
                                                            ElementType::Energy);
            result->SetLabel(name);
            result->SetOrderList(m_orders);
            result->SetDataIndexArray(rpms);
            m_results.Add(result.release());
        }
    }
    return m_results.GetSize();
}
