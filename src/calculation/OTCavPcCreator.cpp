#include "calculation/OTCavPcCreator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "calculation/AnalysisProjectAccess.h"
#include "models/HSEAPowerContribution.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/base/Feedback.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuOTPcFunc.h"
#include "spectral/ZuOTResultData.h"
#include "spectral/ZuRpmResultData.h"

namespace {
constexpr double kTwoPi = 6.28318530717959;
constexpr double kRhoC2 = 1.21 * 343.0 * 343.0;
constexpr double kInvP0Squared = 2499999999.9999995;

std::string StringOr(uint32_t id, const char* fallback)
{
    std::string text;
    return LoadString(id, text) && !text.empty() ? text : std::string(fallback);
}

// Row of a subsystem in a contribution table; -1 when the table does not list it.
int RowOf(const CHSEAPowerContribution& table, const std::string& name)
{
    for (uint32_t i = 0; i < table.GetRowCountN(); ++i)
        if (table.GetRowName(static_cast<int>(i)) == name)
            return static_cast<int>(i);
    return -1;
}
} // namespace

struct COTCavPcCreator::Context
{
    int orderIndex = 0;
    double order = 0.0;
    CZuRpmPcFunc* function = nullptr;
    IAnalysisProjectAccess* project = nullptr;
    std::vector<int> bands;                      // per RPM row; -1 where the order has no band
    std::vector<CHSEAPowerContribution*> tables; // per RPM row; null where there is none
    std::vector<std::string> subsystems;         // contributing, in order of first appearance
    CFeedback* feedback = SilentFeedback();      // told when the model lacks the cavity
};

COTCavPcCreator::COTCavPcCreator(CZuOTPcFunc* source, const std::string& name) : m_name(name), m_source(source) {}

COTCavPcCreator::~COTCavPcCreator() = default;

CZuOTResultData* COTCavPcCreator::GetResultData()
{
    for (CMElement* e = m_data || !m_source ? nullptr : m_source->GetParent(); e && !m_data; e = e->GetParent())
        m_data = DynamicDowncast<CZuOTResultData>(e);
    return m_data;
}

CZuOTFunc* COTCavPcCreator::GetSplFunc()
{
    if (m_spl || m_name.empty() || !GetResultData())
        return m_spl;
    const std::string name = Format(StringOr(IDS_SPL_NAME, "SPL [%s]").c_str(), m_name.c_str());
    for (int i = 0; i < m_data->GetChildCount() && !m_spl; ++i) {
        auto* f = DynamicDowncast<CZuOTFunc>(m_data->GetChild(i));
        if (f && f->GetType() == ElementType::Spl && f->GetName() == name)
            m_spl = f;
    }
    if (!m_spl && m_splCalculation)
        m_spl = m_splCalculation(*m_data, m_name);
    return m_spl;
}

bool COTCavPcCreator::Prepare(int orderIndex, Context& ctx)
{
    if (m_name.empty() && m_source)
        m_name = m_source->GetSubsystem();
    if (m_name.empty() || !GetResultData() || !GetSplFunc())
        return false;
    ctx.orderIndex = orderIndex;
    ctx.function = m_source->GetOrderFunc(orderIndex);
    ctx.project = IAnalysisProjectAccess::FindOwner(m_source);
    if (!ctx.function || !ctx.project)
        return false;
    ctx.order = m_source->GetOrder(orderIndex);
    const double factor = ctx.project->GetDaqConfigValue();
    const COctaveManagerEx* bands = ctx.project->GetOctaveManager();
    const int rows = ctx.function->GetRpmCount();
    for (int r = 0; r < rows; ++r) {
        auto* table = dynamic_cast<CHSEAPowerContribution*>(ctx.function->GetRpmData(r));
        int band = bands ? GetOrderBandIndexInt(ctx.function->GetRpm(r), ctx.order, factor, bands) : -1;
        if (!table || band >= table->GetDataCount())
            band = -1;
        ctx.tables.push_back(table);
        ctx.bands.push_back(band);
        // Contributing subsystems: a non-zero power in any band that has contribution entries.
        for (int b = 0; table && b < table->GetDataCount(); ++b) {
            if (table->GetTableRowCount(b) <= 2)
                continue;
            for (uint32_t i = 0; i < table->GetRowCountN(); ++i) {
                const std::string name = table->GetRowName(static_cast<int>(i));
                if (table->CellValue(b, static_cast<int>(i), CHSEAPowerContribution::COL_POWER) == 0.0 || name.empty())
                    continue;
                if (std::find(ctx.subsystems.begin(), ctx.subsystems.end(), name) == ctx.subsystems.end())
                    ctx.subsystems.push_back(name);
            }
        }
    }
    return !ctx.subsystems.empty();
}

int COTCavPcCreator::Build(int type, int orderIndex, CFeedback* feedback)
{
    m_list.RemoveAll();
    if (type != TYPE_AREA_DB && type != TYPE_AREA_PERCENT && type != TYPE_LINE_DB)
        return 0;
    Context ctx;
    ctx.feedback = feedback;
    if (!Prepare(orderIndex, ctx))
        return 0;
    if (type == TYPE_LINE_DB)
        BuildLine(ctx);
    else
        BuildArea(type, ctx);
    return 1;
}

void COTCavPcCreator::BuildArea(int type, Context& ctx)
{
    const int rows = static_cast<int>(ctx.bands.size());
    const CZuRpmFunc* spl = m_spl->GetRpmFuncByOrder(ctx.order);
    if (!spl)
        spl = m_spl->GetOrderFunc(ctx.orderIndex);
    for (const std::string& name : ctx.subsystems) {
        auto row = std::make_unique<COTData>();
        row->SetType(static_cast<uint8_t>(type));
        row->SetOrderIndex(static_cast<uint16_t>(ctx.orderIndex));
        row->SetName(name);
        row->SetSource(ctx.function);
        row->SetSize(rows);
        for (int r = 0; r < rows; ++r) {
            const int band = ctx.bands[static_cast<size_t>(r)];
            if (band < 0)
                continue; // no band holds the order frequency at this RPM
            const CHSEAPowerContribution& table = *ctx.tables[static_cast<size_t>(r)];
            const int i = RowOf(table, name);
            const double rate = i < 0 ? 0.0 : table.CellValue(band, i, CHSEAPowerContribution::COL_RATE);
            if (!(rate > 0.0)) {
                row->SetValue(r, kNoContribution);
                continue;
            }
            if (type == TYPE_AREA_PERCENT) {
                row->SetValue(r, rate);
                continue;
            }
            // The cavity's level at this RPM; a missing level gives no share.
            if (!spl || r >= spl->GetRpmCount() || band >= spl->GetFreqCount())
                continue;
            const double total = spl->DataValue(r, band);
            if (std::isfinite(total))
                row->SetValue(r, total * rate * 0.01);
        }
        m_list.Add(std::move(row));
    }
}

CZuData* COTCavPcCreator::SolvedResult(const Context& ctx, int r) const
{
    // The order's results: the record at the order's index when it is that order, else the first
    // record of that order.
    CZuRpmResultData* byRpm = nullptr;
    if (COrderList::OrdersEqual(m_data->GetKey(ctx.orderIndex), ctx.order))
        byRpm = m_data->GetResult(ctx.orderIndex);
    for (int i = 0; !byRpm && i < m_data->GetResultCount(); ++i)
        if (COrderList::OrdersEqual(m_data->GetKey(i), ctx.order))
            byRpm = m_data->GetResult(i);
    if (!byRpm)
        return nullptr;
    const double rpm = ctx.function->GetRpm(r);
    if (r < byRpm->GetResultCount() && byRpm->GetKey(r) == rpm)
        return byRpm->GetResult(r);
    for (int i = 0; i < byRpm->GetResultCount(); ++i)
        if (byRpm->GetKey(i) == rpm)
            return byRpm->GetResult(i);
    return nullptr;
}

void COTCavPcCreator::BuildLine(Context& ctx)
{
    const int rows = static_cast<int>(ctx.bands.size());
    auto sum = std::make_unique<COTData>();
    sum->SetType(TYPE_LINE_DB);
    sum->SetOrderIndex(static_cast<uint16_t>(ctx.orderIndex));
    sum->SetName(StringOr(IDS_TOTAL, "Total"));
    sum->SetSource(ctx.function);
    sum->Fill(0.0, rows);
    std::vector<COTData*> subsystemRows;
    for (const std::string& name : ctx.subsystems) {
        auto row = std::make_unique<COTData>();
        row->SetType(TYPE_LINE_DB);
        row->SetOrderIndex(static_cast<uint16_t>(ctx.orderIndex));
        row->SetName(name);
        row->SetSource(ctx.function);
        row->SetSize(rows);
        subsystemRows.push_back(m_list.Add(std::move(row)));
    }
    double mass = 0.0, volume = 0.0;
    if (!ctx.project->GetSubsystemParam(m_name, mass, volume) || !(volume > 0.0) || !std::isfinite(volume))
        volume = 0.0; // no level without the cavity's volume: the rows stay 0
    for (int r = 0; r < rows && volume > 0.0; ++r) {
        const int band = ctx.bands[static_cast<size_t>(r)];
        if (band < 0)
            continue;
        const CHSEAPowerContribution& table = *ctx.tables[static_cast<size_t>(r)];
        CZuData* solved = SolvedResult(ctx, r);
        const double eta =
            solved ? solved->ExtractIntrinsicDlf(m_name, static_cast<unsigned>(band), ctx.feedback) : 0.0;
        const double f = table.DataIndex(band);
        // A loss factor or band frequency that is not positive has no level (it would divide by 0).
        if (!(eta > 0.0) || !std::isfinite(eta) || !(f > 0.0))
            continue;
        double p2Sum = 0.0;
        for (size_t k = 0; k < subsystemRows.size(); ++k) {
            const int i = RowOf(table, ctx.subsystems[k]);
            const double P = i < 0 ? 0.0 : table.CellValue(band, i, CHSEAPowerContribution::COL_POWER);
            if (!(P > 0.0))
                continue;
            const double E = P / (f * kTwoPi * eta);
            const double p2 = kRhoC2 * E / volume;
            subsystemRows[k]->SetValue(r, 10.0 * std::log10(p2 * kInvP0Squared));
            p2Sum += p2;
        }
        if (p2Sum != 0.0)
            sum->SetValue(r, 10.0 * std::log10(p2Sum * kInvP0Squared));
    }
    m_list.Add(std::move(sum));
}

int COTCavPcCreator::WriteReport(const char* path, CFeedback* progress)
{
    CStdioFile file;
    struct ProgressScope
    {
        CFeedback* p;
        ~ProgressScope()
        {
            if (p)
                p->End();
        }
    } scope{progress};
    try {
        if (!path || !file.Open(path, CStdioFile::modeWrite)) {
            progress->Error("Faile to open file.");
            return 0;
        }
        // Every order of the analysis project; the map holds them at the same positions.
        IAnalysisProjectAccess* project = m_source ? IAnalysisProjectAccess::FindOwner(m_source) : nullptr;
        const int orders = project ? project->GetOrderList().GetCount() : 0;
        const struct
        {
            int type;
            const char* title;
        } sections[] = {{TYPE_AREA_DB, "##### AREA [dB] #####\n"},
                        {TYPE_AREA_PERCENT, "##### AREA [%] #####\n"},
                        {TYPE_LINE_DB, "##### LINE [dB] #####\n"}};
        if (progress)
            progress->Begin(m_name.empty() && m_source ? m_source->GetSubsystem() : m_name, 3 * orders);
        int step = 0;
        for (const auto& section : sections) {
            file.WriteString(section.title);
            for (int o = 0; o < orders; ++o) {
                if (progress)
                    progress->SetPos(step++);
                if (Build(section.type, o, progress))
                    m_list.WriteBlock(file);
            }
        }
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        progress->Error("Faile to open file.");
        return 0;
    }
    return 1;
}
