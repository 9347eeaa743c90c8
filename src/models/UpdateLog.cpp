#include "models/UpdateLog.h"

#include <ctime>

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CUpdateLog, CObject, 0 | VERSIONABLE_SCHEMA)

CUpdateLog::CUpdateLog() : m_time(ArchiveTime(static_cast<int64_t>(std::time(nullptr)))) {}

CUpdateLog::~CUpdateLog() = default;

tagUPDATE* CUpdateLog::GetAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_records[static_cast<size_t>(index)].get();
}

tagUPDATE* CUpdateLog::Add(std::unique_ptr<tagUPDATE> record)
{
    if (!record)
        return nullptr;
    m_records.push_back(std::move(record));
    return m_records.back().get();
}

tagUPDATE* CUpdateLog::Add(const std::string& name1, const std::string& name2, uint32_t type, int32_t band,
                           double newValue)
{
    auto rec = std::make_unique<tagUPDATE>();
    rec->m_name1 = name1;
    rec->m_name2 = name2;
    rec->m_type = type;
    rec->m_band = band;
    rec->m_newValue = newValue;
    return Add(std::move(rec));
}

void CUpdateLog::RemoveAt(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    m_records.erase(m_records.begin() + index);
}

void CUpdateLog::RemoveAll()
{
    m_records.clear();
}

void CUpdateLog::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_time << m_nValue << m_text;
        ar << static_cast<uint32_t>(m_records.size());
        for (const auto& r : m_records)
            ar << r->m_name1 << r->m_name2 << r->m_type << r->m_band << r->m_oldValue << r->m_newValue;
    } else {
        ar.GetObjectSchema();
        ar >> m_time >> m_nValue >> m_text;
        uint32_t count = 0;
        ar >> count;
        // Two empty strings, two ints and two doubles: at least 26 bytes per record, so a forged
        // count is refused before anything is allocated.
        ar.EnsureAvailable(static_cast<uint64_t>(count) * 26u);
        m_records.reserve(m_records.size() + count);
        for (uint32_t i = 0; i < count; ++i) {
            auto r = std::make_unique<tagUPDATE>();
            ar >> r->m_name1 >> r->m_name2 >> r->m_type >> r->m_band >> r->m_oldValue >> r->m_newValue;
            m_records.push_back(std::move(r));
        }
    }
}
