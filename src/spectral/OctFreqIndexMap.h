#pragma once
// For each band of a source band definition, the band of a target definition that holds its
// centre.
#include "platform/archive/Object.h"

#include <vector>

class COctaveManager;

class COctFreqIndexMap : public CObject
{
    DECLARE_SERIAL(COctFreqIndexMap)
public:
    COctFreqIndexMap();
    // Neither band definition is owned.
    COctFreqIndexMap(const COctaveManager* source, const COctaveManager* target);
    ~COctFreqIndexMap() override;

    // One entry per source band: the first target band whose edges enclose the source centre
    // (both strictly). A source band that no target band holds takes the entry of the band before
    // it; leading such bands take the first band that maps. With no band mapping at all every
    // entry stays -1, so callers must accept -1. Returns 0 without both definitions, else 1.
    int Build();

    const std::vector<int>& GetMap() const { return m_map; }
    int GetSize() const { return int(m_map.size()); }
    // Entry i; -1 for an index outside the map.
    int GetAt(int i) const { return (i >= 0 && i < GetSize()) ? m_map[size_t(i)] : -1; }

    // 32-bit count, then that many 32-bit band indices.
    void Serialize(CArchive& ar) override;

private:
    const COctaveManager* m_source = nullptr;
    const COctaveManager* m_target = nullptr;
    std::vector<int> m_map;
};
