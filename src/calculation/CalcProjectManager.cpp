#include "calculation/CalcProjectManager.h"

#include "calculation/CalcData.h"

#include <filesystem>
#include <functional>

#include "calculation/CalcExcit.h"
#include "calculation/CalcProject.h"
#include "common/ModuleInfo.h"
#include "experiments/CalcOptions.h"
#include "experiments/ExpData.h"
#include "experiments/ExpProject.h"
#include "experiments/Excitation.h"
#include "experiments/RPMSignalData.h"
#include "platform/base/Format.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/ZuRegOptions.h"
#include "spectral/OTMultiVecFunc.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"

IMPLEMENT_DYNAMIC(CCalcProjectManager, CMElement)

namespace {

// Element kinds of the measured results: band levels over RPM (velocity or pressure), levels per
// channel, order levels, order frequencies, order levels per channel.

// Value i of a gathered level array; 0 where the array is shorter (nothing was counted there).
double At(const std::vector<float>& levels, size_t i)
{
    return i < levels.size() ? levels[i] : 0.0;
}

template <class T>
const T* Row(const std::vector<T>& rows, int i)
{
    return i >= 0 && static_cast<size_t>(i) < rows.size() ? &rows[static_cast<size_t>(i)] : nullptr;
}
} // namespace

CCalcProjectManager::CCalcProjectManager(CExpProject* project)
    : CMElement("CCalcProjectManager", nullptr, -1), m_project(project)
{}

CCalcProjectManager::~CCalcProjectManager() = default;

CCalcProject* CCalcProjectManager::GetCalcProject(int i) const
{
    return ElementCast<CCalcProject>(GetChild(i));
}

int CCalcProjectManager::GetRpmLow() const
{
    return m_project ? m_project->GetRpmLow() : 0;
}
int CCalcProjectManager::GetRpmHigh() const
{
    return m_project ? m_project->GetRpmHigh() : 0;
}
int CCalcProjectManager::GetRpmStep() const
{
    return m_project ? m_project->GetRpmStep() : 0;
}

void CCalcProjectManager::ClearTables()
{
    const size_t n = m_rpms.size();
    m_bandTable.assign(n, {});
    m_channelBandTable.assign(n, {});
    m_orderTable.assign(n, {});
    m_channelOrderTable.assign(n, {});
    m_orderFreqTable.assign(n, {});
}

bool CCalcProjectManager::MakeRpmList(const CRPMOptions* options)
{
    m_rpms.clear();
    auto range = [&](double low, double high, double step) {
        // A step that is not positive would never reach the upper bound.
        if (!(step > 0.0)) {
            m_progress->Warning(MessageTextOf(IDS_RPM_STEP_NOT_POSITIVE), IDS_RPM_STEP_NOT_POSITIVE);
            return false;
        }
        for (int i = 0;; ++i) {
            const double rpm = low + i * step;
            if (rpm > high || i >= CRPMOptions::kMaxRpmCount)
                break;
            m_rpms.push_back(static_cast<int>(rpm));
        }
        return true;
    };
    if (m_project->GetMode() == 1) {
        m_rpms.push_back(m_project->GetConstantRpm());
        return true;
    }
    if (!options)
        return range(GetRpmLow(), GetRpmHigh(), GetRpmStep());
    if (options->GetMode() == CRPMOptions::modeRange)
        return range(options->GetRpmMin(), options->GetRpmMax(), options->GetRpmStep());
    if (options->GetMode() == CRPMOptions::modeList)
        for (float rpm : *options->GetRpmList())
            m_rpms.push_back(static_cast<int>(rpm));
    return true;
}

int CCalcProjectManager::CalculateAll(const std::string& excitation, const CRPMOptions* options, int release)
{
    // However the run ends, the block storage it passed from one RPM to the next is freed.
    struct SpareStorage
    {
        ~SpareStorage() { CCalcData::ReleaseSpareStorage(); }
    } spareStorage;
    m_rpms.clear();
    RemoveAll();
    ClearTables();
    m_orderFeatures = false;
    if (!m_project)
        return 0;
    if (!MakeRpmList(options)) {
        m_rpms.clear();
        return 0;
    }
    for (int rpm : m_rpms)
        AddChild(std::make_unique<CCalcProject>(rpm, this))->CreateExcitations();
    ClearTables();

    m_orderFeatures = GetRegOptionByStringId(IDS_OPT_ORDER_TRACKING) != 0 && m_project->GetMode() == 0;
    const CExcitation* filter = excitation.empty() ? nullptr : m_project->FindExcitation(excitation);
    if (CRPMSignalData* signal = m_project->GetRPMSignalData()) {
        CMElementList channels;
        signal->Find(RUNTIME_CLASS(CExpData), channels, -1);
        for (CMElement* e : channels)
            static_cast<CExpData*>(e)->DetectRpmInfo(nullptr);
    }

    CFeedback& progress = *m_progress;
    progress.Begin("", GetChildCount());
    for (int r = 0; r < GetChildCount(); ++r) {
        if (progress.IsCancelled()) {
            progress.End();
            RemoveAll();
            m_rpms.clear();
            ClearTables();
            return 0;
        }
        CCalcProject* project = GetCalcProject(r);
        progress.SetText(Format("Calculating [%s]...", project->GetName().c_str()));
        project->LoadRawData(filter);
        project->ComputeFFT(filter);
        project->Integrate(filter);
        project->ComputeBandLevels(filter);
        project->AverageChannels(filter);
        project->AverageAll(filter);
        project->CollectBandResults(filter);
        if (m_orderFeatures) {
            project->ComputeOrderLevels(filter);
            project->AverageOrderChannels(filter);
            project->AverageOrderAll(filter);
            project->CollectOrderResults(filter);
        }
        if (release == 1)
            project->Reset();
        const size_t row = static_cast<size_t>(r);
        m_bandTable[row] = project->GetSSData();
        m_channelBandTable[row] = project->GetSSLPData();
        if (m_orderFeatures) {
            m_orderTable[row] = project->GetOrderData();
            m_channelOrderTable[row] = project->GetChannelOrderData();
            m_orderFreqTable[row] = project->GetOrderFreqData();
        }
        progress.Step();
    }
    progress.End();
    return GetChildCount();
}

int CCalcProjectManager::ExcitationIndex(const std::string& name) const
{
    const CCalcProject* first = GetCalcProject(0);
    for (int i = 0; first && i < first->GetChildCount(); ++i)
        if (const CCalcExcit* excit = first->GetExcit(i);
            excit && excit->GetSource() && excit->GetSource()->GetName() == name)
            return i;
    return -1;
}

int CCalcProjectManager::GetResultElements(CMElementList& list)
{
    if (!m_project || m_rpms.empty())
        return 1;
    const COctaveManager* bands = m_project->GetOctaveManager();
    const std::vector<double> freqs = bands ? bands->GetFreqArray() : std::vector<double>();
    const std::vector<double> rpms(m_rpms.begin(), m_rpms.end());
    const CCalcOptions* options = m_project->GetCalcOptionsData();
    const COrderList orders = options ? options->GetOrderList() : COrderList();

    struct Excitation
    {
        std::string name;
        int index;
    };
    std::vector<Excitation> excitations;
    for (int i = 0; i < m_project->GetExcitationNameCount(); ++i) {
        const std::string name = m_project->GetExcitationName(i);
        if (const int index = ExcitationIndex(name); index >= 0)
            excitations.push_back({name, index});
    }

    // The channels of an excitation: the widest channel row over the RPMs.
    auto channelCount = [](const std::vector<std::vector<std::vector<Levels>>>& table, int e) {
        size_t n = 0;
        for (const auto& row : table)
            if (const auto* channels = Row(row, e))
                n = std::max(n, channels->size());
        return static_cast<int>(n);
    };
    // One vector function per RPM with an "LP#%d" column per channel.
    auto channelFunc = [&](const std::string& name, int kind, const std::string& label,
                           const std::vector<std::vector<std::vector<Levels>>>& table, int e,
                           const std::vector<double>& index) {
        auto func = std::make_unique<CZuRpmMultiVecFunc>(name, nullptr, kind);
        func->SetLabel(label);
        CZuSubsystemTable columns;
        const int n = channelCount(table, e);
        for (int c = 0; c < n; ++c)
            columns.Add(Format("LP#%d", c + 1));
        for (size_t r = 0; r < m_rpms.size(); ++r) {
            auto vec = std::make_unique<CZuVecFunc>(Format("%d", m_rpms[r]), &columns, static_cast<int>(index.size()),
                                                    nullptr, kind);
            vec->SetDataIndexArray(index);
            const auto* channels = Row(table[r], e);
            for (int c = 0; channels && c < static_cast<int>(channels->size()); ++c)
                for (size_t i = 0; i < index.size(); ++i)
                    vec->DataValue(static_cast<int>(i), c) = At((*channels)[static_cast<size_t>(c)], i);
            func->AddRpmData(rpms[r], std::move(vec));
        }
        list.Add(func.release());
    };
    // RPM rows by order columns ("Order#%g").
    auto orderFunc = [&](const std::string& name, int kind, const std::string& label,
                         const std::function<double(size_t, size_t)>& value) {
        CZuSubsystemTable columns;
        for (int o = 0; o < orders.GetSize(); ++o)
            columns.Add(Format("Order#%g", orders[o]));
        auto func = std::make_unique<COTMultiVecFunc>(name, &columns, static_cast<int>(rpms.size()), nullptr, kind);
        func->SetLabel(label);
        func->SetOrderList(orders);
        func->SetDataIndexArray(rpms);
        for (size_t r = 0; r < rpms.size(); ++r)
            for (int o = 0; o < orders.GetSize(); ++o)
                func->DataValue(static_cast<int>(r), o) = value(r, static_cast<size_t>(o));
        return func;
    };

    for (const Excitation& e : excitations) {
        // Filed into the data sets by the subsystem's name, and labelled with it: the energy
        // calculations take mass or volume by the label.
        auto func = CZuRpmFunc::NewRpmFunc(e.name, ElementType::MeasuredSpectrumMap, nullptr, e.name, freqs.data(),
                                           static_cast<int>(freqs.size()), rpms.data(), static_cast<int>(rpms.size()));
        if (!func)
            continue;
        for (size_t r = 0; r < m_rpms.size(); ++r)
            if (const Levels* levels = Row(m_bandTable[r], e.index))
                for (size_t b = 0; b < freqs.size(); ++b)
                    func->DataValue(static_cast<int>(r), static_cast<int>(b)) = At(*levels, b);
        list.Add(func.release());
    }
    const int groups = GetRegOptionByStringId(IDS_OPT_EXP_COMMANDS) != 0 ? 2 : 1;
    for (int g = 0; g < groups; ++g)
        for (const Excitation& e : excitations)
            channelFunc(FormatString(IDS_CHANNEL_LEVELS, e.name.c_str()), ElementType::MeasuredChannelLevels, e.name,
                        m_channelBandTable, e.index, freqs);
    if (!m_orderFeatures)
        return 1;

    std::vector<double> orderIndex;
    for (int o = 0; o < orders.GetSize(); ++o)
        orderIndex.push_back(orders[o]);
    for (const Excitation& e : excitations) {
        list.Add(orderFunc(FormatString(IDS_ORDER_LEVELS, e.name.c_str()), ElementType::OrderLevels, e.name,
                           [&](size_t r, size_t o) {
                               const Levels* levels = Row(m_orderTable[r], e.index);
                               return levels ? At(*levels, o) : 0.0;
                           })
                     .release());
        channelFunc(FormatString(IDS_ORDER_DATA, e.name.c_str()), ElementType::MeasuredOrderData, e.name,
                    m_channelOrderTable, e.index, orderIndex);
    }
    // The order frequencies: the first excitation that has them for an RPM.
    bool any = false;
    auto frequencies =
        orderFunc(FormatString(IDS_ORDER_FREQUENCIES, excitations.empty() ? "" : excitations.front().name.c_str()),
                  ElementType::OrderFrequencies, excitations.empty() ? std::string() : excitations.front().name,
                  [&](size_t r, size_t o) {
                      for (const Levels& f : m_orderFreqTable[r])
                          if (o < f.size() && f[o] != 0.0f) {
                              any = true;
                              return double(f[o]);
                          }
                      return 0.0;
                  });
    if (any)
        list.Add(frequencies.release());
    return 1;
}

int CCalcProjectManager::WriteDump(CStdioFile& file, const std::string&)
{
    file.WriteString("##### [rpm][ss][freq] #####\n");
    file.WriteString("[rpm]\t[ss]\t[freq]\t[value]\n");
    for (size_t r = 0; r < m_bandTable.size(); ++r)
        for (size_t e = 0; e < m_bandTable[r].size(); ++e)
            for (size_t b = 0; b < m_bandTable[r][e].size(); ++b)
                file.WriteString(Format("%d\t%d\t%d\t%e\n", static_cast<int>(r), static_cast<int>(e),
                                        static_cast<int>(b), double(m_bandTable[r][e][b])));
    file.WriteString("\n##### [rpm][ss][lp][freq] #####\n");
    file.WriteString("[rpm]\t[ss]\t[freq]\t[lp]\t[value]\n");
    for (size_t r = 0; r < m_channelBandTable.size(); ++r)
        for (size_t e = 0; e < m_channelBandTable[r].size(); ++e)
            for (size_t c = 0; c < m_channelBandTable[r][e].size(); ++c)
                for (size_t b = 0; b < m_channelBandTable[r][e][c].size(); ++b)
                    file.WriteString(Format("%d\t%d\t%d\t%d\t%e\n", static_cast<int>(r), static_cast<int>(e),
                                            static_cast<int>(c), static_cast<int>(b),
                                            double(m_channelBandTable[r][e][c][b])));
    return 1;
}

int CCalcProjectManager::BuildCalcDataList(CExpProject& project, CMElementList& list, CFeedback* feedback)
{
    list.Clear();
    std::error_code error;
    const bool keep = std::filesystem::exists(std::filesystem::path(GetModuleDirectory()) / kTreeItemMarker, error);
    auto owned = std::make_unique<CCalcProjectManager>(&project);
    CCalcProjectManager* manager = owned.get();
    manager->SetFeedback(feedback);
    if (keep) {
        owned->SetParent(&project);
        project.AddChild(std::move(owned));
    }
    const int count = manager->CalculateAll(std::string(), nullptr, keep ? 0 : 1);
    if (count > 0)
        manager->GetResultElements(list);
    return count > 0 && !list.IsEmpty() ? 1 : 0;
}
