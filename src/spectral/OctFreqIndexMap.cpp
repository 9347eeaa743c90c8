#include "spectral/OctFreqIndexMap.h"

#include "platform/archive/Archive.h"
#include "platform/gfx/OctaveManager.h"

#include <cstdint>

IMPLEMENT_SERIAL(COctFreqIndexMap, CObject, 1)

COctFreqIndexMap::COctFreqIndexMap() = default;

COctFreqIndexMap::COctFreqIndexMap(const COctaveManager* source, const COctaveManager* target)
    : m_source(source), m_target(target)
{}

COctFreqIndexMap::~COctFreqIndexMap() = default;

int COctFreqIndexMap::Build()
{
    if (!m_source || !m_target)
        return 0;
    const int count = m_source->GetFreqCount();
    const int targets = m_target->GetFreqCount();
    m_map.assign(size_t(count > 0 ? count : 0), -1);
    int firstMapped = -1;
    for (int i = 0; i < count; ++i) {
        const double c = m_source->GetFreq(i);
        for (int j = 0; j < targets; ++j) {
            if (m_target->GetLowerFreq(j) < c && c < m_target->GetUpperFreq(j)) {
                m_map[size_t(i)] = j;
                break;
            }
        }
        if (firstMapped < 0 && m_map[size_t(i)] >= 0)
            firstMapped = i;
    }
    if (firstMapped < 0)
        return 1;
    // Source bands below the target range use the lowest band that maps; a gap further up keeps
    // the band of the source band before it.
    for (int i = 0; i < firstMapped; ++i)
        m_map[size_t(i)] = m_map[size_t(firstMapped)];
    for (int i = firstMapped + 1; i < count; ++i) {
        if (m_map[size_t(i)] < 0)
            m_map[size_t(i)] = m_map[size_t(i - 1)];
    }
    return 1;
}

void COctFreqIndexMap::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << int32_t(m_map.size());
        for (int v : m_map)
            ar << int32_t(v);
        return;
    }
    const int32_t count =
        ar.ReadSignedCount(4, "bands in an octave frequency index map", CArchiveException::genericException);
    std::vector<int> map(size_t(count), -1);
    for (auto& v : map) {
        int32_t index = 0;
        ar >> index;
        v = index;
    }
    m_map.swap(map);
}
