#include "planning/DAQPPExpPlanList.h"

#include <cstdlib>

#include "common/ProjectLookups.h"
#include "planning/SensorAssignment.h"
#include "platform/base/Format.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CDAQPPExpPlanList, CObject, 2 | VERSIONABLE_SCHEMA)

CDAQPPExpPlanList::CDAQPPExpPlanList()
{
    LoadColumns();
}

CDAQPPExpPlanList::~CDAQPPExpPlanList() = default;

int CDAQPPExpPlanList::IndexOf(const std::string& name) const
{
    for (size_t i = 0; i < m_plans.size(); ++i)
        if (m_plans[i]->GetName() == name)
            return static_cast<int>(i);
    return -1;
}

std::string CDAQPPExpPlanList::MakeUniqueName(const std::string& name) const
{
    return MakeUniquePlanName(name, [this](const std::string& n) { return IndexOf(n) >= 0; });
}

CDAQPPExpPlan* CDAQPPExpPlanList::AddPlan(int channelCount, const std::string& name)
{
    auto plan = std::make_unique<CDAQPPExpPlan>(channelCount);
    plan->SetName(MakeUniqueName(name));
    m_plans.push_back(std::move(plan));
    return m_plans.back().get();
}

int CDAQPPExpPlanList::RemovePlan(const std::string& name)
{
    const int i = IndexOf(name);
    if (i < 0)
        return 0;
    m_plans.erase(m_plans.begin() + i);
    return 1;
}

int CDAQPPExpPlanList::SwapPlans(int i, int j)
{
    if (!GetPlan(i) || !GetPlan(j))
        return 0;
    std::swap(m_plans[static_cast<size_t>(i)], m_plans[static_cast<size_t>(j)]);
    return 1;
}

std::vector<tagCHTABLECOL> CDAQPPExpPlanList::ParseColumns(const std::string& text)
{
    const std::string source = text.empty() ? std::string(kDefaultColumns) : text;
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = source.find(',', start);
        fields.push_back(source.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    std::vector<tagCHTABLECOL> columns;
    for (size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (fields[i].empty() || fields[i + 1].empty())
            break;
        columns.push_back({static_cast<int32_t>(std::atoi(fields[i + 1].c_str())), fields[i]});
    }
    return columns;
}

std::vector<tagCHTABLECOL> CDAQPPExpPlanList::GetStoredColumns()
{
    return ParseColumns(CHSEARegOptions::GetChannelTableColumns());
}

void CDAQPPExpPlanList::LoadColumns()
{
    m_columns = GetStoredColumns();
}

std::string CDAQPPExpPlanList::FormatColumns(const std::vector<tagCHTABLECOL>& columns)
{
    std::string text;
    for (const auto& c : columns) {
        if (!text.empty())
            text += ',';
        text += c.label + Format(",%d", c.type);
    }
    return text;
}

int CDAQPPExpPlanList::SaveColumns() const
{
    return CHSEARegOptions::SaveChannelTableColumns(FormatColumns(m_columns));
}

namespace {
// The string ids of the column types' display names, by type.
constexpr uint32_t kColumnTypeNameIds[CDAQPPExpPlanList::kColumnTypeCount] = {IDS_COLUMN_NONE,
                                                                              IDS_COLUMN_GLOBAL_NO,
                                                                              IDS_COLUMN_SENSOR,
                                                                              IDS_COLUMN_CHANNEL_GROUP,
                                                                              IDS_COLUMN_POINT,
                                                                              IDS_COLUMN_DIRECTION,
                                                                              IDS_COLUMN_INPUT_MODE,
                                                                              IDS_COLUMN_QUANTITY,
                                                                              IDS_COLUMN_ELECTRICAL_UNIT,
                                                                              IDS_COLUMN_SENSITIVITY,
                                                                              IDS_COLUMN_SENSITIVITY_UNIT,
                                                                              IDS_COLUMN_SUBSYSTEM,
                                                                              IDS_COLUMN_LOCAL_NO};
} // namespace

std::string CDAQPPExpPlanList::GetColumnTypeName(int type)
{
    if (type < 0 || type >= kColumnTypeCount)
        return std::string();
    return LoadString(kColumnTypeNameIds[type]);
}

int CDAQPPExpPlanList::FindColumnType(const std::string& text)
{
    for (int type = 0; type < kColumnTypeCount; ++type)
        if (GetColumnTypeName(type) == text)
            return type;
    return -1;
}

std::vector<std::string> CDAQPPExpPlanList::GetCellTexts(const tagDAQPP_SENSORMAP& row,
                                                         const DAQPPCellContext& context) const
{
    std::vector<std::string> cells(m_columns.size() + 1);
    cells[0] = Format("%d", row.channel + 1);
    const std::string& s = row.sensor;
    const std::string& b = row.subsystem;
    if (s.empty() || b.empty())
        return cells;
    int l = -1;
    if (context.assignment) {
        const int r = context.assignment->FindRow(b);
        l = r >= 0 ? context.assignment->FindItem(r, s) : -1;
    }
    const std::string local = l >= 0 ? Format("%02d", l + 1) : std::string();
    const int node = context.globalNode ? context.globalNode(b, l) : -1;
    const std::string global = node >= 1 ? Format("%d", node) : std::string();
    const double v = GetSensorSensitivityByID(context.project, s);
    const bool structure = context.isStructure && context.isStructure(b) != 0;
    const bool reversed = context.revSens != 0;
    for (size_t c = 0; c < m_columns.size(); ++c) {
        std::string& text = cells[c + 1];
        switch (m_columns[c].type) {
        case 1:
            text = global;
            break;
        case 2:
            text = s;
            break;
        case 3:
            text = structure ? "Vibration" : "Acoustic";
            break;
        case 4:
            text = FormatSubsystemLPName(context.project, b, l);
            break;
        case 6:
            text = row.inputMode.empty() ? "ICP" : row.inputMode;
            break;
        case 7:
            text = structure ? "Acceleration" : "Pressure";
            break;
        case 8:
            text = "mV";
            break;
        case 9:
            text = reversed && v > 0.0 ? Format("%10.2e", 1.0 / v) : Format("%g", v);
            break;
        case 10:
            text = structure ? (reversed ? "(m/s2)/mV" : "mV/(m/s2)") : (reversed ? "Pa/mV" : "mV/Pa");
            break;
        case 11:
            text = b;
            break;
        case 12:
            text = local;
            break;
        default:
            break; // 0 and 5 stay empty
        }
    }
    return cells;
}

void CDAQPPExpPlanList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        ar << static_cast<int32_t>(m_columns.size());
        for (const auto& c : m_columns)
            ar << c.type << c.label;
        ar << static_cast<int32_t>(m_plans.size());
        for (const auto& p : m_plans)
            ar.WriteObject(p.get());
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("channel plan list of version %d", version));
    int32_t count = 0;
    if (version >= 2) {
        count = ar.ReadSignedCount(5, "columns in a channel plan list");
        m_columns.assign(static_cast<size_t>(count), tagCHTABLECOL());
        for (auto& c : m_columns)
            ar >> c.type >> c.label;
    }
    m_plans.clear();
    count = ar.ReadSignedCount(2, "plans in a channel plan list");
    for (int32_t i = 0; i < count; ++i)
        if (auto plan = ar.ReadOwned<CDAQPPExpPlan>())
            m_plans.push_back(std::move(plan));
}
