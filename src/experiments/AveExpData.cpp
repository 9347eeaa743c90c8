#include "experiments/AveExpData.h"

#include <climits>

#include "experiments/DAQConfig.h"
#include "common/LevelUtil.h"
#include "experiments/CalcOptions.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpInfo.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/elements/MElementList.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/OrderBand.h"
#include "spectral/RPMOptions.h"
#include "spectral/RpmManager.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"

CAveExpData::CAveExpData(IDaqProjectAccess* project) : m_project(project) {}

CAveExpData::~CAveExpData() = default;

std::vector<IDaqExperimentData*> CAveExpData::CollectExperiments(const std::string& name, IDaqExperimentSource* source)
{
    CMElementList list;
    if (source)
        source->GetUsedChildren(list);
    else if (m_project)
        m_project->FindDAQExperimentsBySubsystem(name, list);
    std::vector<IDaqExperimentData*> experiments;
    for (CMElement* e : list)
        if (auto* data = dynamic_cast<IDaqExperimentData*>(e))
            experiments.push_back(data);
    return experiments;
}

bool CAveExpData::NamesSubsystem(IDaqExperimentData* experiment, const std::string& name)
{
    const CExpInfo* info = experiment ? experiment->GetExpInfo() : nullptr;
    return info && (info->GetName(0) == name || info->GetName(1) == name);
}

bool CAveExpData::RpmGridsAgree(const std::string& name, const std::vector<IDaqExperimentData*>& experiments)
{
    const CZuRpmFunc* first = nullptr;
    for (IDaqExperimentData* e : experiments) {
        const CZuRpmFunc* map = e->FindRpmFuncByName(name);
        if (!map)
            continue;
        if (!first) {
            first = map;
            continue;
        }
        if (map->GetRpmArray() != first->GetRpmArray() || map->GetFreqArray() != first->GetFreqArray())
            return false;
    }
    return true;
}

std::vector<double> CAveExpData::ResultRpms(const CRPMOptions& options)
{
    std::vector<double> rpms;
    if (options.GetMode() == CRPMOptions::modeList) {
        for (float r : *options.GetRpmList())
            rpms.push_back(r);
        return rpms;
    }
    if (options.GetMode() != CRPMOptions::modeRange || options.GetRpmMin() > options.GetRpmMax())
        return rpms;
    if (!(options.GetRpmStep() > 0.0f)) {
        rpms.push_back(options.GetRpmMin());
        return rpms;
    }
    options.MakeRpmArrayD(rpms);
    return rpms;
}

namespace {
std::vector<double> BandCentres(IDaqProjectAccess* project)
{
    COctaveManagerEx* bands = project ? project->GetOctaveManager() : nullptr;
    return bands ? bands->GetFreqArray() : std::vector<double>();
}

// A map with one all-zero row per RPM over the band centres, rows named with their RPM.
std::unique_ptr<CZuRpmFunc> CreateResultMap(const std::string& name, const std::vector<double>& freqs,
                                            const std::vector<double>& rpms)
{
    auto map = CZuRpmFunc::NewRpmFunc(name, ElementType::SpectrumMap, nullptr, name, freqs.data(),
                                      static_cast<int>(freqs.size()), rpms.data(), static_cast<int>(rpms.size()));
    if (!map)
        return nullptr;
    map->SetAxisFlag(0);
    for (int r = 0; r < map->GetRpmCount(); ++r)
        if (CZuFunc* row = map->GetRowFunc(r))
            row->SetName(Format("%.2f", map->GetRpm(r)));
    return map;
}

double Average(std::vector<double>& values, int mode)
{
    return values.empty() ? 0.0 : GetLevelAverage(values.data(), static_cast<int>(values.size()), mode);
}
} // namespace

std::unique_ptr<CZuRpmFunc> CAveExpData::AverageRpmFuncs(const std::string& name, IDaqExperimentSource* source,
                                                         int message, const CRPMOptions* options, CFeedback* feedback)
{
    std::vector<IDaqExperimentData*> experiments = CollectExperiments(name, source);
    if (experiments.empty()) {
        if (message)
            feedback->Information(MessageTextOf(IDS_NO_EXPERIMENTS_FOR_SUBSYSTEM), IDS_NO_EXPERIMENTS_FOR_SUBSYSTEM);
        return nullptr;
    }
    if (!NamesSubsystem(experiments.front(), name))
        return nullptr;

    if (!options) {
        CDAQConfig* config = m_project ? m_project->GetDAQConfig() : nullptr;
        const bool sweep = !config || config->GetOption60() == 0;
        if (RpmGridsAgree(name, experiments)) {
            m_options = std::make_unique<CRPMOptions>();
            m_options->SetMode(CRPMOptions::modeList);
            if (sweep) {
                for (IDaqExperimentData* e : experiments)
                    if (const CZuRpmFunc* map = e->FindRpmFuncByName(name)) {
                        for (double r : map->GetRpmArray())
                            m_options->GetRpmList()->push_back(static_cast<float>(r));
                        break;
                    }
            } else {
                m_options->GetRpmList()->push_back(static_cast<float>(config->GetRpmRef()));
            }
        } else {
            if (!message || !m_project || !config)
                return nullptr;
            auto edited = std::make_unique<CRPMOptions>();
            if (sweep) {
                edited->SetRange(static_cast<float>(config->GetRpmLow()), static_cast<float>(config->GetRpmHigh()),
                                 static_cast<float>(config->GetRpmMargin()));
            } else {
                edited->SetMode(CRPMOptions::modeList);
                edited->GetRpmList()->push_back(static_cast<float>(config->GetRpmRef()));
            }
            if (!m_project->EditRpmOptions(*edited))
                return nullptr;
            if (sweep) {
                config->SetRpmLow(static_cast<int>(edited->GetRpmMin()));
                config->SetRpmHigh(static_cast<int>(edited->GetRpmMax()));
                config->SetRpmMargin(static_cast<int>(edited->GetRpmStep()));
            } else if (!edited->GetRpmList()->empty()) {
                config->SetRpmRef(static_cast<int>(edited->GetRpmList()->front()));
            }
            m_project->SetModified();
            m_options = std::move(edited);
        }
        options = m_options.get();
    }

    // Every map is brought onto the rows of the result first, so cells of one row always mean one
    // RPM, whatever axis an experiment was measured on.
    const std::vector<double> rpms = ResultRpms(*options);
    CRPMOptions grid;
    grid.SetMode(CRPMOptions::modeList);
    for (double r : rpms)
        grid.GetRpmList()->push_back(static_cast<float>(r));
    const CRpmManager manager(&grid);
    std::vector<std::unique_ptr<CZuRpmFunc>> maps;
    for (IDaqExperimentData* e : experiments) {
        const CZuRpmFunc* map = e->FindRpmFuncByName(name);
        if (!map)
            continue;
        if (map->GetRpmArray() == rpms) {
            auto copy = map->Duplicate();
            maps.emplace_back(static_cast<CZuRpmFunc*>(copy.release()));
        } else {
            maps.push_back(manager.CreateRpmFunc(map));
        }
        if (!maps.back())
            maps.pop_back();
    }
    if (maps.empty())
        return nullptr;

    auto result = CreateResultMap(name, BandCentres(m_project), rpms);
    if (!result)
        return nullptr;
    const int rows = std::min(maps.front()->GetRpmCount(), result->GetRpmCount());
    const int freqs = std::min(maps.front()->GetFreqCount(), result->GetFreqCount());
    std::vector<std::vector<double>> values(static_cast<size_t>(rows) * static_cast<size_t>(freqs));
    for (const auto& map : maps)
        for (int r = 0; r < rows && r < map->GetRpmCount(); ++r)
            for (int k = 0; k < freqs && k < map->GetFreqCount(); ++k)
                if (const double v = map->DataValue(r, k); v != 0.0)
                    values[static_cast<size_t>(r) * freqs + k].push_back(v);
    const int mode = m_project ? m_project->GetAveragingMode() : 0;
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < freqs; ++k)
            result->DataValue(r, k) = Average(values[static_cast<size_t>(r) * freqs + k], mode);
    return result;
}

std::unique_ptr<CZuOTFunc> CAveExpData::AverageRpmVecFuncs(const std::string& name, IDaqExperimentSource* source,
                                                           int /*flag*/)
{
    std::vector<IDaqExperimentData*> experiments = CollectExperiments(name, source);
    if (experiments.empty() || !NamesSubsystem(experiments.front(), name) || !RpmGridsAgree(name, experiments))
        return nullptr;
    std::vector<const CMultiVectorFunction*> funcs;
    for (IDaqExperimentData* e : experiments)
        if (const CMultiVectorFunction* f = e->FindMultiVecFuncByName(name))
            funcs.push_back(f);
    if (funcs.empty())
        return nullptr;

    const CMultiVectorFunction* first = funcs.front();
    const int dataCount = first->GetDataCount();
    std::vector<double> orders;
    if (const auto* ot = dynamic_cast<const COTMultiVecFunc*>(first)) {
        for (int j = 0; j < ot->GetOrderList().GetSize(); ++j)
            orders.push_back(ot->GetOrderList()[j]);
    } else if (CCalcOptions* calc = m_project ? m_project->GetCalcOptions() : nullptr) {
        for (int j = 0; j < calc->GetOrderList().GetSize(); ++j)
            orders.push_back(calc->GetOrderList()[j]);
    }
    const int orderCount = static_cast<int>(orders.size());
    std::vector<std::vector<double>> values(static_cast<size_t>(orderCount) * static_cast<size_t>(dataCount));
    for (const CMultiVectorFunction* f : funcs)
        for (int j = 0; j < orderCount && j < f->GetSubsystemCount(); ++j)
            for (int i = 0; i < dataCount && i < f->GetDataCount(); ++i)
                if (const double v = f->DataValue(i, j); v != 0.0)
                    values[static_cast<size_t>(j) * dataCount + i].push_back(v);

    std::vector<double> rpms;
    if (dataCount > 0) {
        const double lo = first->DataIndex(0);
        const double hi = first->DataIndex(dataCount - 1);
        // Truncated to whole RPM; a stored difference outside the int range is no step at all.
        const double gap = dataCount >= 2 ? first->DataIndex(1) - first->DataIndex(0) : 0.0;
        const int step = gap >= 1.0 && gap < double(INT_MAX) ? static_cast<int>(gap) : 0;
        if (step <= 0)
            rpms.push_back(lo);
        else
            // The axis comes from a stored function: a forged last index must not make it endless.
            for (double r = lo; r <= hi && static_cast<int>(rpms.size()) < CRPMOptions::kMaxRpmCount; r += step)
                rpms.push_back(r);
    }
    CDAQConfig* config = m_project ? m_project->GetDAQConfig() : nullptr;
    const float gear = config ? config->GetFactor3() : 1.0f;
    const std::vector<double> freqs = BandCentres(m_project);
    auto result = CZuOTFunc::BuildOTFunc(name, ElementType::SpectrumMap, nullptr, name, freqs.data(),
                                         static_cast<int>(freqs.size()), rpms.data(), static_cast<int>(rpms.size()),
                                         orders, gear);
    if (!result)
        return nullptr;
    const COctaveManagerEx* bands = m_project ? m_project->GetOctaveManager() : nullptr;
    const int mode = m_project ? m_project->GetAveragingMode() : 0;
    for (int j = 0; j < result->GetOrderCount() && j < orderCount; ++j) {
        CZuRpmFunc* map = result->GetOrderFunc(j);
        if (!map)
            continue;
        for (int i = 0; i < map->GetRpmCount(); ++i) {
            const int band = GetOrderBandIndex(map->GetRpm(i), orders[static_cast<size_t>(j)], gear, bands);
            if (band < 0 || band >= map->GetFreqCount())
                continue;
            map->DataValue(i, band) =
                i < dataCount ? Average(values[static_cast<size_t>(j) * dataCount + i], mode) : 0.0;
        }
    }
    return result;
}

int CAveExpData::AverageSubsystemData(const std::string& name, double rpm, std::vector<double>& out)
{
    if (!m_project)
        return 0;
    std::vector<IDaqExperimentData*> experiments = CollectExperiments(name, nullptr);
    if (experiments.empty())
        return 0;
    std::vector<std::vector<double>> arrays;
    for (IDaqExperimentData* e : experiments) {
        const CZuRpmFunc* map = e->FindRpmFuncByName(name);
        if (!map)
            continue;
        std::vector<double> energies(static_cast<size_t>(map->GetFreqCount()), 0.0);
        const int row = map->FindRpmIndex(rpm);
        if (row >= 0) {
            const double factor = m_project->GetSubsystemEnergyFactor(map->GetName());
            for (int k = 0; k < map->GetFreqCount(); ++k) {
                const double v = map->DataValue(row, k);
                energies[static_cast<size_t>(k)] = v * v * factor;
            }
        }
        arrays.push_back(std::move(energies));
    }
    if (arrays.empty())
        return 0;
    const int mode = m_project->GetAveragingMode();
    out.assign(arrays.front().size(), 0.0);
    std::vector<double> column;
    for (size_t k = 0; k < out.size(); ++k) {
        // Experiments without the row take part with their zeros; but a band that no experiment
        // measured has no energy: in decibels its zeros would stand for the floor level and come
        // back as a tiny energy.
        column.clear();
        bool measured = false;
        for (const auto& a : arrays)
            if (k < a.size()) {
                column.push_back(a[k]);
                measured = measured || a[k] != 0.0;
            }
        out[k] = measured ? Average(column, mode) : 0.0;
    }
    return 1;
}
