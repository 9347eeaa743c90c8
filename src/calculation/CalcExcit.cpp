#include "calculation/CalcExcit.h"

#include "calculation/CalcData.h"
#include "calculation/CalcDataSet.h"
#include "experiments/ExpDataSet.h"
#include "experiments/Excitation.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"

IMPLEMENT_DYNAMIC(CCalcExcit, CMElement)

namespace {
// Per index, the mean of the values above 0; 0 where there is none.
std::vector<float> MeanOfPositive(const std::vector<std::vector<float>>& rows)
{
    size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.size());
    std::vector<float> mean(width, 0.0f);
    for (size_t i = 0; i < width; ++i) {
        double sum = 0.0;
        int count = 0;
        for (const auto& row : rows)
            if (i < row.size() && row[i] > 0.0f) {
                sum += row[i];
                ++count;
            }
        mean[i] = count > 0 ? static_cast<float>(sum / count) : 0.0f;
    }
    return mean;
}
} // namespace

CCalcExcit::CCalcExcit(CExcitation* source, CMElement* parent)
    : CMElement(source ? source->GetName() : std::string(), parent, source ? source->GetType() : -1), m_source(source)
{}

CCalcExcit::~CCalcExcit() = default;

void CCalcExcit::CreateChildren()
{
    if (!m_source)
        return;
    for (int i = 0; i < m_source->GetChildCount(); ++i)
        if (auto* set = ElementCast<CExpDataSet>(m_source->GetChild(i)))
            AddChild(std::make_unique<CCalcDataSet>(set, this))->CreateChildren();
}

CCalcDataSet* CCalcExcit::GetDataSet(int i) const
{
    return ElementCast<CCalcDataSet>(GetChild(i));
}

template <class Step>
void CCalcExcit::ForEachDataSet(Step step)
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (CCalcDataSet* set = GetDataSet(i))
            step(*set);
}

void CCalcExcit::LoadRawData()
{
    ForEachDataSet([](CCalcDataSet& s) { s.LoadRawData(); });
}
void CCalcExcit::ComputeFFT()
{
    ForEachDataSet([](CCalcDataSet& s) { s.ComputeFFT(); });
}
void CCalcExcit::Integrate()
{
    ForEachDataSet([](CCalcDataSet& s) { s.Integrate(); });
}
void CCalcExcit::ComputeBandLevels()
{
    ForEachDataSet([](CCalcDataSet& s) { s.ComputeBandLevels(); });
}
void CCalcExcit::ComputeOrderLevels()
{
    ForEachDataSet([](CCalcDataSet& s) { s.ComputeOrderLevels(); });
}

std::vector<std::string> CCalcExcit::GetChannelNames() const
{
    std::vector<std::string> names;
    const CCalcDataSet* first = GetDataSet(0);
    const CMElement* firstChannel = first ? first->GetChild(0) : nullptr;
    if (!firstChannel)
        return names;
    for (int i = 0; i < first->GetChildCount(); ++i)
        if (first->GetChild(i)->GetType() == firstChannel->GetType())
            names.push_back(first->GetChild(i)->GetName());
    return names;
}

void CCalcExcit::AverageChannelsOf(bool orders)
{
    auto& out = orders ? m_channelOrders : m_channelBands;
    out.clear();
    for (const std::string& name : GetChannelNames()) {
        std::vector<double> sum;
        std::vector<int> count;
        for (int s = 0; s < GetChildCount(); ++s) {
            const CCalcDataSet* set = GetDataSet(s);
            for (int c = 0; set && c < set->GetChildCount(); ++c) {
                const CCalcData* data = set->GetData(c);
                if (!data || data->GetName() != name || !data->CheckLocalPoint())
                    continue;
                const std::vector<float>& levels = orders ? data->GetOrderLevels() : data->GetBandLevels();
                if (levels.size() > sum.size()) {
                    sum.resize(levels.size(), 0.0);
                    count.resize(levels.size(), 0);
                }
                for (size_t i = 0; i < levels.size(); ++i)
                    if (levels[i] != CCalcData::kInvalidLevel) {
                        sum[i] += levels[i];
                        ++count[i];
                    }
            }
        }
        std::vector<float> mean(sum.size(), 0.0f);
        for (size_t i = 0; i < sum.size(); ++i)
            mean[i] = count[i] > 0 ? static_cast<float>(sum[i] / count[i]) : 0.0f;
        out.push_back(std::move(mean));
    }
}

void CCalcExcit::AverageChannels()
{
    AverageChannelsOf(false);
}
void CCalcExcit::AverageOrderChannels()
{
    AverageChannelsOf(true);
}

void CCalcExcit::AverageAll()
{
    m_bands = MeanOfPositive(m_channelBands);
}

void CCalcExcit::AverageOrderAll()
{
    m_orders = MeanOfPositive(m_channelOrders);
    m_orderFreqs.clear();
    const CCalcDataSet* set = GetDataSet(0);
    if (const CCalcData* first = set ? set->GetData(0) : nullptr; first && !first->GetOrderFreqs().empty())
        m_orderFreqs = first->GetOrderFreqs();
}

void CCalcExcit::Reset()
{
    ForEachDataSet([](CCalcDataSet& s) { s.Reset(); });
    m_channelBands.clear();
    m_bands.clear();
    m_channelOrders.clear();
    m_orders.clear();
    std::vector<float>().swap(m_orderFreqs);
}

int CCalcExcit::WriteDump(CStdioFile& file, const std::string&)
{
    const CMElement* project = GetParent();
    file.WriteString(Format("[%s]-[%s]\n", project ? project->GetName().c_str() : "", GetName().c_str()));
    for (size_t c = 0; c < m_channelBands.size(); ++c)
        for (size_t b = 0; b < m_channelBands[c].size(); ++b)
            file.WriteString(
                Format("%d\t%d\t%e\n", static_cast<int>(c), static_cast<int>(b), double(m_channelBands[c][b])));
    return 1;
}
