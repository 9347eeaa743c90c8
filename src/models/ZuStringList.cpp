#include "models/ZuStringList.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CZuStringList, CObject, 1)

void CZuStringList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<uint32_t>(m_items.size()));
        for (const auto& s : m_items)
            ar << s;
        return;
    }
    const uint32_t count = ar.ReadCount(1); // each string takes at least its length byte
    std::vector<std::string> items(count);
    for (auto& s : items)
        ar >> s;
    m_items = std::move(items);
}
