#include "acquisition/DAQCalculator.h"

#include "acquisition/DAQDataSet.h"
#include "acquisition/DAQIO.h"
#include "calculation/CalcProjectManager.h"
#include "experiments/CalcOptions.h"
#include "experiments/DaqProjectAccess.h"
#include "experiments/ExpData.h"
#include "experiments/ExpInfo.h"
#include "experiments/ExpProject.h"
#include "experiments/Sensor.h"
#include "experiments/SensorProject.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/Format.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

// The banners by meaning; the reader's codes keep their meaning in the report.
constexpr const char* kNotFound = "\n##### FILE NOT FOUND #####\n";
constexpr const char* kOpen = "\n##### FAILED TO OPEN #####\n";
constexpr const char* kZero = "\n##### FILE LENGTH ZERO #####\n";
constexpr const char* kRead = "\n##### FAILED TO READ #####\n";
constexpr const char* kInvalid = "\n##### INVALID DAQ FILE #####\n";
constexpr const char* kCalc = "\n##### FAILED TO CALC #####\n";

// The local-point selection the data set's options hold for its subsystem i.
const CSubsystemLPInfo* Selection(IDaqExperimentData& data, int i, const std::string& name)
{
    const CSubsystemLPInfoList& list = data.GetCalcOptions()->GetSubsystemLPInfoList();
    int index = list.FindByName(name);
    if (index < 0 && i < list.GetSize())
        index = i;
    return index >= 0 ? &list[index] : nullptr;
}

// Mean of the values above 0 over the selected columns; 0 when none is.
double MeanOfSelected(const CZuVecFunc& vec, int point, const CSubsystemLPInfo* selection)
{
    double sum = 0.0;
    int n = 0;
    const int columns = vec.GetSubsystemCount();
    if (point < 0 || point >= vec.GetDataCount())
        return 0.0;
    const double* row = vec.ValueData() + static_cast<size_t>(point) * static_cast<size_t>(columns);
    for (int k = 0; k < columns; ++k) {
        if (selection && (k >= selection->GetSize() || selection->GetAt(k) == 0))
            continue;
        const double v = row[k];
        if (v > 0.0) {
            sum += v;
            ++n;
        }
    }
    return n > 0 ? sum / n : 0.0;
}

// Below this many values the means are taken on one thread.
constexpr int64_t kThreadedMeanValues = int64_t{1} << 18;

// MeanOfSelected of every point of vec into out[0 .. points). A point's sum runs over its columns in
// order as there, but eight points are summed side by side, so that each addition need not wait
// for the one before it.
void MeansOfSelected(const CZuVecFunc& vec, int points, const CSubsystemLPInfo* selection, double* out)
{
    const int columns = vec.GetSubsystemCount();
    points = std::clamp(points, 0, vec.GetDataCount());
    std::vector<size_t> picked;
    for (int k = 0; k < columns; ++k)
        if (!selection || (k < selection->GetSize() && selection->GetAt(k) != 0))
            picked.push_back(static_cast<size_t>(k));
    const double* values = vec.ValueData();
    const size_t stride = static_cast<size_t>(columns);
    constexpr int kLanes = 8;
    int point = 0;
    for (; point + kLanes <= points; point += kLanes) {
        const double* rows = values + static_cast<size_t>(point) * stride;
        double sum[kLanes] = {};
        int n[kLanes] = {};
        for (size_t k : picked)
            for (int j = 0; j < kLanes; ++j) {
                // Adding 0.0 to a sum of values above 0 leaves it as it is.
                const double v = rows[static_cast<size_t>(j) * stride + k];
                const bool above = v > 0.0;
                sum[j] += above ? v : 0.0;
                n[j] += above;
            }
        for (int j = 0; j < kLanes; ++j)
            out[point + j] = n[j] > 0 ? sum[j] / n[j] : 0.0;
    }
    for (; point < points; ++point)
        out[point] = MeanOfSelected(vec, point, selection);
}

// The subsystem's source function of a kind: named after the subsystem (or by the import's name
// format with it), or labelled with it.
CZuRpmMultiVecFunc* FindSource(CMElement* set, const std::string& name, int kind, uint32_t format)
{
    const std::string formatted = FormatString(format, name.c_str());
    CZuRpmMultiVecFunc* labelled = nullptr;
    for (int i = 0; i < set->GetChildCount(); ++i) {
        auto* f = DynamicDowncast<CZuRpmMultiVecFunc>(set->GetChild(i));
        if (!f || f->GetType() != kind)
            continue;
        if (f->GetName() == name || f->GetName() == formatted)
            return f;
        if (!labelled && f->GetLabel() == name)
            labelled = f;
    }
    return labelled;
}

// Replaces the child of that class and name, or adds the function.
template <class T>
void ReplaceChild(CMElement* set, std::unique_ptr<T> func)
{
    for (int i = 0; i < set->GetChildCount(); ++i) {
        CMElement* old = set->GetChild(i);
        if (DynamicDowncast<T>(old) && old->GetName() == func->GetName()) {
            set->DeleteChild(old, 1);
            break;
        }
    }
    func->SetParent(set);
    set->AddChild(std::move(func));
}
} // namespace

CDAQCalculator::CDAQCalculator(IDaqProjectAccess* project, int outsideData)
    : m_project(project), m_outsideData(outsideData)
{}

std::string CDAQCalculator::GetErrorBanner(int code)
{
    switch (code) {
    case CDAQIO::errNotFound:
        return kNotFound;
    case CDAQIO::errOpen:
    case CDAQIO::errReadOnly:
        return kOpen;
    case CDAQIO::errEmpty:
        return kZero;
    case CDAQIO::errInvalid:
        return kInvalid;
    case errCalc:
        return kCalc;
    default:
        return kRead; // a data set missing from its file, or anything else
    }
}

bool CDAQCalculator::CalculateOne(CMElement* dataSet, CFeedback& feedback)
{
    const std::string file = CDAQIO::GetDaqFileName(dataSet);
    CDAQIO io(dataSet);
    io.SetFeedback(&feedback);
    std::unique_ptr<CExpProject> project = io.MergeProjects();
    if (!project) {
        const tagERRORINFO first = io.GetFirstError();
        AddError(first.code, file, CDAQIO::FormatError(first));
        return false;
    }
    CMElementList results;
    const int built = CCalcProjectManager::BuildCalcDataList(*project, results);
    if (built == 1) {
        if (IDAQDataSet* set = AsDAQDataSet(dataSet))
            set->AddFuncs(results);
    } else {
        AddError(errCalc, file, FormatString(IDS_RECALC_NO_MAPS, file.c_str()));
    }
    results.Clear(1);
    return built == 1;
}

int CDAQCalculator::Calculate(CFeedback* feedback)
{
    m_errors.clear();
    if (m_list.IsEmpty())
        return 1;
    CFeedback& progress = *feedback;
    auto text = [](CMElement* set) {
        return Format("Calculating %s...", set->GetParent() ? set->GetParent()->GetName().c_str() : "");
    };
    progress.Begin("", m_list.GetSize());
    for (CMElement* set : m_list) {
        if (m_outsideData) {
            progress.SetText(text(set));
            CombineLocalPoints(set);
            AverageLocalPoints(set);
            progress.Step();
            continue;
        }
        const bool dataSet = AsDAQDataSet(set) != nullptr;
        if (dataSet)
            progress.SetText(text(set));
        CalculateOne(set, progress);
        if (dataSet)
            progress.Step();
    }
    progress.End();
    return m_errors.empty() ? 1 : 0;
}

std::string CDAQCalculator::DescribeErrors() const
{
    constexpr size_t kShown = 5;
    std::string text;
    size_t shown = 0;
    for (const ErrorRecord& e : m_errors) {
        if (e.reason.empty())
            continue;
        if (shown == kShown) {
            text += Format("\n(%d more)", static_cast<int>(m_errors.size() - shown));
            break;
        }
        text += (shown ? "\n" : "") + e.reason;
        ++shown;
    }
    return text;
}

bool CDAQCalculator::ReportErrors(const std::string& path) const
{
    if (path.empty())
        return false;
    std::string text;
    for (int code = 0; code <= errCalc; ++code) {
        text += GetErrorBanner(code);
        for (const ErrorRecord& e : m_errors) {
            if (e.code == code && !e.text.empty())
                text += e.text + "\n";
        }
    }
    // Codes outside 0 to 7 still reach the reader, under the banner of anything else.
    for (const ErrorRecord& e : m_errors) {
        if ((e.code < 0 || e.code > errCalc) && !e.text.empty())
            text += e.text + "\n";
    }
    return CAtomicFile::WriteFile(path, text);
}

int CDAQCalculator::SaveDaqFiles(CFeedback* progress)
{
    m_errors.clear();
    if (m_outsideData)
        return 1;
    progress->Begin("", m_list.GetSize());
    CSensorProject* sensors = m_project ? m_project->GetSensorProject() : nullptr;
    for (CMElement* set : m_list) {
        CMElement* parent = set->GetParent();
        progress->SetText(Format("%s-%s", parent ? parent->GetName().c_str() : "", set->GetName().c_str()));
        progress->Step();
        if (progress->IsCancelled())
            return 0;
        CDAQIO io(set);
        io.SetFeedback(progress);
        std::unique_ptr<CExpProject> project = io.MergeProjects();
        if (!project) {
            tagERRORINFO first = io.GetFirstError();
            AddError(first.code,
                     CDAQIO::FormatError(first.element ? first : tagERRORINFO{first.code, set, first.reason}));
            continue;
        }
        bool changed = false;
        CMElementList channels;
        project->Find(RUNTIME_CLASS(CExpData), channels);
        for (CMElement* element : channels) {
            auto* channel = DynamicDowncast<CExpData>(element);
            if (!channel || channel->GetType() == ElementType::RpmSignal || !sensors)
                continue;
            // The channel's own sensor record names the sensor of the catalogue.
            tagSENSORINFO current;
            if (!channel->GetSensorInfo(current))
                continue;
            CSensor* sensor = sensors->FindSensor(current.ID);
            if (!sensor)
                continue;
            const tagSENSORINFO stored = sensor->GetSensorInfo();
            if (stored.ChannelInfo.Sensitivity == current.ChannelInfo.Sensitivity)
                continue;
            tagSENSORINFO updated = current;
            updated.ID = stored.ID;
            updated.Manufacturer = stored.Manufacturer;
            updated.Model = stored.Model;
            updated.SerialNumber = stored.SerialNumber;
            updated.ChannelInfo.Sensitivity = stored.ChannelInfo.Sensitivity;
            changed = channel->ReplaceSensorInfo(updated) != 0 || changed;
        }
        if (changed) {
            CDAQIO writer(set);
            writer.SetFeedback(progress);
            if (!writer.SaveAll(project.get())) {
                const tagERRORINFO first = writer.GetFirstError();
                AddError(first.code, CDAQIO::FormatError(tagERRORINFO{first.code, set, first.reason}));
            }
        }
    }
    if (m_errors.empty())
        return 1;
    std::string message = "#### FAILED TO SAVE DAQ FILE ###\n";
    for (const ErrorRecord& e : m_errors)
        message += Format("[%d]%s\n", e.code, e.text.c_str());
    progress->Warning(message);
    return 0;
}

int CDAQCalculator::CombineLocalPoints(CMElement* dataSet)
{
    IDaqExperimentData* data = AsDaqExperimentData(dataSet);
    if (!data || !data->GetExpInfo() || !data->GetCalcOptions())
        return 0;
    int built = 0;
    for (int i = 0; i < 2; ++i) {
        const std::string name = data->GetExpInfo()->GetName(i);
        CZuRpmMultiVecFunc* source =
            name.empty() ? nullptr : FindSource(dataSet, name, ElementType::ChannelLevels, IDS_CHANNEL_LEVELS);
        if (!source || source->GetRpmCount() == 0)
            continue;
        const CSubsystemLPInfo* selection = Selection(*data, i, name);
        const auto* first = DynamicDowncast<CZuVecFunc>(source->GetRpmData(0));
        if (!first)
            continue;
        const std::vector<double>& freqs = first->GetDataIndexArray();
        std::vector<double> rpms;
        for (int r = 0; r < source->GetRpmCount(); ++r)
            rpms.push_back(source->GetRpm(r));
        // The spectrum the import made for the subsystem keeps its kind; a missing one is made.
        int kind = ElementType::SpectrumMap;
        for (int c = 0; c < dataSet->GetChildCount(); ++c)
            if (auto* old = DynamicDowncast<CZuRpmFunc>(dataSet->GetChild(c)); old && old->GetName() == name) {
                kind = old->GetType();
                break;
            }
        auto func = CZuRpmFunc::NewRpmFunc(name, kind, nullptr, name, freqs.data(), static_cast<int>(freqs.size()),
                                           rpms.data(), static_cast<int>(rpms.size()));
        if (!func)
            continue;
        // The RPMs are shared out over the cores: the means of a large map are bound by how fast
        // the values come from memory.
        const int rpmCount = source->GetRpmCount();
        std::atomic<int> next{0};
        auto work = [&] {
            std::vector<double> means;
            for (int r = next++; r < rpmCount; r = next++) {
                const auto* vec = DynamicDowncast<CZuVecFunc>(source->GetRpmData(r));
                if (!vec)
                    continue;
                const int bands = std::min(static_cast<int>(freqs.size()), vec->GetDataCount());
                means.resize(static_cast<size_t>(std::max(bands, 0)));
                MeansOfSelected(*vec, bands, selection, means.data());
                for (int b = 0; b < bands; ++b)
                    func->DataValue(r, b) = means[static_cast<size_t>(b)];
            }
        };
        int64_t values = 0;
        for (int r = 0; r < rpmCount; ++r)
            if (const auto* vec = DynamicDowncast<CZuVecFunc>(source->GetRpmData(r)))
                values += static_cast<int64_t>(vec->GetDataCount()) * vec->GetSubsystemCount();
        const int threads =
            values < kThreadedMeanValues
                ? 1
                : std::min(rpmCount, static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t)
            pool.emplace_back(work);
        work();
        for (std::thread& t : pool)
            t.join();
        ReplaceChild(dataSet, std::move(func));
        ++built;
    }
    return built;
}

int CDAQCalculator::AverageLocalPoints(CMElement* dataSet)
{
    IDaqExperimentData* data = AsDaqExperimentData(dataSet);
    if (!data || !data->GetExpInfo() || !data->GetCalcOptions())
        return 0;
    int built = 0;
    for (int i = 0; i < 2; ++i) {
        const std::string name = data->GetExpInfo()->GetName(i);
        CZuRpmMultiVecFunc* source =
            name.empty() ? nullptr : FindSource(dataSet, name, ElementType::OrderData, IDS_ORDER_DATA);
        if (!source || source->GetRpmCount() == 0)
            continue;
        const CSubsystemLPInfo* selection = Selection(*data, i, name);
        const auto* first = DynamicDowncast<CZuVecFunc>(source->GetRpmData(0));
        if (!first)
            continue;
        // Rows: the RPMs of the order data; columns: its orders.
        CZuSubsystemTable columns;
        for (int o = 0; o < source->GetRpmCount(); ++o)
            columns.Add(Format("Order#%g", source->GetRpm(o)));
        auto func = std::make_unique<CMultiVectorFunction>(name, &columns, first->GetDataCount(), nullptr,
                                                           ElementType::OrderData);
        func->SetLabel(name);
        func->SetDataIndexArray(first->GetDataIndexArray());
        for (int o = 0; o < source->GetRpmCount(); ++o) {
            const auto* vec = DynamicDowncast<CZuVecFunc>(source->GetRpmData(o));
            for (int r = 0; vec && r < first->GetDataCount() && r < vec->GetDataCount(); ++r)
                func->DataValue(r, o) = MeanOfSelected(*vec, r, selection);
        }
        // The order levels the import made for the subsystem (RPM rows by its orders) take the
        // same means, column by column of the orders they list.
        const std::string levelsName = FormatString(IDS_ORDER_LEVELS, name.c_str());
        for (int c = 0; c < dataSet->GetChildCount(); ++c) {
            auto* levels = DynamicDowncast<COTMultiVecFunc>(dataSet->GetChild(c));
            if (!levels || levels->GetType() != ElementType::OrderLevels || levels->GetName() != levelsName)
                continue;
            const COrderList& orders = levels->GetOrderList();
            for (int k = 0; k < orders.GetSize() && k < levels->GetSubsystemCount(); ++k) {
                const int o = source->FindRpmIndex(orders[k]);
                for (int r = 0; r < levels->GetDataCount(); ++r)
                    levels->DataValue(r, k) = o >= 0 && r < first->GetDataCount() ? func->DataValue(r, o) : 0.0;
            }
        }
        ReplaceChild(dataSet, std::move(func));
        ++built;
    }
    return built;
}
