#include "experiments/SubsystemLPInfo.h"

IMPLEMENT_SERIAL(CSubsystemLPInfo, CObject, 0 | VERSIONABLE_SCHEMA)

CSubsystemLPInfo::CSubsystemLPInfo(int count)
{
    if (count > 0)
        m_flags.assign(static_cast<size_t>(count), 1);
}

void CSubsystemLPInfo::SetSizeAndSelectAll(int count)
{
    m_flags.resize(static_cast<size_t>(count < 0 ? 0 : count));
    SelectAll();
}

void CSubsystemLPInfo::SelectAll()
{
    for (auto& f : m_flags)
        f = 1;
}

void CSubsystemLPInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_name;
        ar.WriteCount(static_cast<uint32_t>(m_flags.size()));
        for (int32_t f : m_flags)
            ar << f;
        return;
    }
    ar >> m_name;
    const uint32_t n = ar.ReadCount(4);
    m_flags.assign(n, 0);
    for (auto& f : m_flags)
        ar >> f;
}

int CSubsystemLPInfoList::Add(const CSubsystemLPInfo& info)
{
    m_items.push_back(info);
    return GetSize() - 1;
}

int CSubsystemLPInfoList::FindByName(const char* name) const
{
    if (!name)
        return -1;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].GetName() == name)
            return static_cast<int>(i);
    return -1;
}

void CSubsystemLPInfoList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<uint32_t>(m_items.size()));
        for (auto& item : m_items)
            item.Serialize(ar);
        return;
    }
    // An entry takes at least its empty name and its empty count.
    const uint32_t n = ar.ReadCount(3);
    m_items.assign(n, CSubsystemLPInfo());
    for (auto& item : m_items)
        item.Serialize(ar);
}
