#include "planning/DAQPPExpPlanList.h"

#include <cstdlib>

#include "platform/base/Format.h"

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

CDAQPPExpPlan* CDAQPPExpPlanList::AddPlan(int channelCount, const std::string& name)
{
    auto plan = std::make_unique<CDAQPPExpPlan>(channelCount);
    plan->SetName(MakeUniquePlanName(name, [this](const std::string& n) { return IndexOf(n) >= 0; }));
    m_plans.push_back(std::move(plan));
    return m_plans.back().get();
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

void CDAQPPExpPlanList::LoadColumns() { m_columns = ParseColumns(CHSEARegOptions::GetChannelTableColumns()); }

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
