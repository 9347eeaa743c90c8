#include "calculation/OTInPcCreator.h"

#include <cmath>
#include <vector>

#include "calculation/AnalysisProjectAccess.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuVecFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/base/Feedback.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderList.h"
#include "spectral/ZuOTMultiVecFunc.h"

namespace {

std::string TotalName()
{
    std::string text;
    return LoadString(IDS_TOTAL, text) && !text.empty() ? text : std::string("Total");
}

// A level that stands for a value: 0 dB and HUGE_VAL (and anything not finite) mean none.
bool HasLevel(double level)
{
    return level != 0.0 && std::isfinite(level);
}

std::unique_ptr<COTData> Row(int type, int orderIndex, const std::string& name, CZuRpmSelFunc* source, int size)
{
    auto row = std::make_unique<COTData>();
    row->SetType(static_cast<uint8_t>(type));
    row->SetOrderIndex(static_cast<uint16_t>(orderIndex));
    row->SetName(name);
    row->SetSource(source);
    row->SetSize(size);
    return row;
}
} // namespace

COTInPcCreator::COTInPcCreator(CZuOTMultiVecFunc* source, const std::string& name) : m_name(name), m_source(source) {}

COTInPcCreator::~COTInPcCreator() = default;

int COTInPcCreator::Build(int type, int orderIndex)
{
    m_list.RemoveAll();
    if (m_name.empty() && m_source)
        m_name = m_source->GetLabel();
    if (!m_source || m_name.empty() || (type != TYPE_SUBSYSTEMS && type != TYPE_STRUCTURE_ACOUSTIC))
        return 0;
    CZuRpmSelFunc* function = m_source->GetOrderEntry(orderIndex);
    IAnalysisProjectAccess* project = IAnalysisProjectAccess::FindOwner(m_source);
    const CZuRpmSelFunc* first = m_source->GetOrderEntry(0);
    const auto* names = first ? dynamic_cast<const CZuVecFunc*>(first->GetRpmData(0)) : nullptr;
    if (!function || !project || !names || names->GetSubsystemCount() == 0)
        return 0;
    std::vector<std::string> subsystems;
    for (int k = 0; k < names->GetSubsystemCount(); ++k)
        subsystems.push_back(names->GetSubsystem(k));

    const double order = m_source->GetOrder(orderIndex);
    const double factor = project->GetDaqConfigValue();
    const COctaveManagerEx* bands = project->GetOctaveManager();
    const int rows = function->GetRpmCount();
    // The level of subsystem k at RPM row r; false where there is none.
    auto level = [&](int r, const std::string& name, double& L) {
        const auto* v = dynamic_cast<const CZuVecFunc*>(function->GetRpmData(r));
        const int band = bands ? GetOrderBandIndexInt(function->GetRpm(r), order, factor, bands) : -1;
        const int k = v ? v->GetIndex(name) : -1;
        if (band < 0 || k < 0 || band >= v->GetDataCount())
            return false;
        L = v->DataValue(band, k);
        return HasLevel(L);
    };

    if (type == TYPE_SUBSYSTEMS) {
        auto sum = Row(TYPE_SUBSYSTEMS, orderIndex, TotalName(), function, rows);
        std::vector<double> power(static_cast<size_t>(rows), 0.0);
        for (const std::string& name : subsystems) {
            COTData* row = m_list.Add(Row(TYPE_SUBSYSTEMS, orderIndex, name, function, rows));
            for (int r = 0; r < rows; ++r) {
                double L = 0.0;
                if (!level(r, name, L))
                    continue; // no value: the row keeps 0, the sum is unchanged
                row->SetValue(r, L);
                power[static_cast<size_t>(r)] += std::pow(10.0, 0.1 * L);
            }
        }
        for (int r = 0; r < rows; ++r)
            if (power[static_cast<size_t>(r)] != 0.0)
                sum->SetValue(r, 10.0 * std::log10(power[static_cast<size_t>(r)]));
        m_list.Add(std::move(sum));
        return 1;
    }

    COTData* structures = m_list.Add(Row(TYPE_STRUCTURE_ACOUSTIC, orderIndex, "ST", function, rows));
    COTData* cavities = m_list.Add(Row(TYPE_STRUCTURE_ACOUSTIC, orderIndex, "AC", function, rows));
    COTData* sum = m_list.Add(Row(TYPE_SUBSYSTEMS, orderIndex, TotalName(), function, rows));
    for (const std::string& name : subsystems) {
        std::string plain = name;
        CGfxUtil::RemoveWaveSign(plain);
        const int kind = project->CompleteSubsystemName(plain);
        // A subsystem the model does not know is placed by its wave mark.
        const bool structure = kind >= 0 ? kind < 5 : CGfxUtil::GetWaveType(name, 1) != CGfxUtil::WAVE_ACOUSTIC;
        COTData* target = structure ? structures : cavities;
        for (int r = 0; r < rows; ++r) {
            double L = 0.0;
            if (!level(r, name, L))
                continue;
            const double p = std::pow(10.0, 0.1 * L);
            target->SetValue(r, target->GetValue(r) + p);
            sum->SetValue(r, sum->GetValue(r) + p);
        }
    }
    for (COTData* row : {structures, cavities, sum})
        for (int r = 0; r < rows; ++r)
            if (row->GetValue(r) != 0.0)
                row->SetValue(r, 10.0 * std::log10(row->GetValue(r)));
    return 1;
}

int COTInPcCreator::WriteReport(int type, const char* path, CFeedback* progress)
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
        file.WriteString("##### LINE [dB] #####\n");
        // Every order of the analysis project; the map holds them at the same positions.
        IAnalysisProjectAccess* project = m_source ? IAnalysisProjectAccess::FindOwner(m_source) : nullptr;
        const int orders = project ? project->GetOrderList().GetCount() : 0;
        if (progress)
            progress->Begin(m_name.empty() && m_source ? m_source->GetLabel() : m_name, orders);
        for (int o = 0; o < orders; ++o) {
            if (progress)
                progress->SetPos(o);
            if (Build(type, o))
                m_list.WriteBlock(file);
        }
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        progress->Error("Faile to open file.");
        return 0;
    }
    return 1;
}
