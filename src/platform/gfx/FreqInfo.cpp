#include "platform/gfx/FreqInfo.h"

#include "platform/archive/Archive.h"

#include <cmath>

void CFreqInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_center << m_lower << m_upper << m_domainType;
        return;
    }
    double centre = 0.0, lower = 0.0, upper = 0.0;
    uint8_t type = 0;
    ar >> centre >> lower >> upper >> type;
    if (const std::string why = CheckEdges(centre, lower, upper); !why.empty())
        CArchive::Throw(CArchiveException::genericException, why);
    m_center = centre;
    m_lower = lower;
    m_upper = upper;
    m_domainType = type;
}

std::string CFreqInfo::CheckEdges(double centre, double lower, double upper)
{
    // A band must be usable as it stands: finite edges that enclose nothing backwards.
    if (!std::isfinite(centre) || !std::isfinite(lower) || !std::isfinite(upper) || lower > upper)
        return "frequency band with invalid edges";
    return {};
}

int CFreqInfoList::Add(const CFreqInfo& info)
{
    m_items.push_back(info);
    return static_cast<int>(m_items.size()) - 1;
}

void CFreqInfoList::RemoveAll()
{
    std::vector<CFreqInfo>().swap(m_items);
}

int CFreqInfoList::Settle()
{
    m_items.shrink_to_fit();
    return static_cast<int>(m_items.size());
}

int CFreqInfoList::FindIndex(double f) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].Contains(f))
            return static_cast<int>(i);
    return -1;
}
