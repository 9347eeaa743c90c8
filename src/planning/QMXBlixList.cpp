#include "planning/QMXBlixList.h"

#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CQMXBlixList, CObject, CQMXBlixList::kSchema | VERSIONABLE_SCHEMA)

namespace {
bool InTable(int slot, int position)
{
    return slot >= 0 && slot < CQMXBlixList::kSlotCount && position >= 0 && position < CQMXBlixList::kUnitsPerSlot;
}
} // namespace

int CQMXBlixList::SetUnitName(int slot, int position, const std::string& name)
{
    if (!InTable(slot, position))
        return 0;
    m_names[slot][position] = name;
    return 1;
}

std::string CQMXBlixList::GetUnitName(int slot, int position) const
{
    return InTable(slot, position) ? m_names[slot][position] : std::string();
}

void CQMXBlixList::GetRowUnit(int row, std::string& name, int& slot, int& position, int& channel) const
{
    slot = row / 8;
    position = (row % 8) / 2;
    channel = row % 2;
    name = GetUnitName(slot, position);
}

int CQMXBlixList::GetUsedSlotCount() const
{
    int n = 0;
    for (const auto& slot : m_names)
        for (const auto& name : slot)
            if (!name.empty()) {
                ++n;
                break;
            }
    return n;
}

int CQMXBlixList::GetUnitCount() const
{
    int n = 0;
    for (const auto& slot : m_names)
        for (const auto& name : slot)
            n += name.empty() ? 0 : 1;
    return n;
}

void CQMXBlixList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(kSlotCount) << static_cast<int32_t>(kUnitsPerSlot);
        for (const auto& slot : m_names)
            for (const auto& name : slot)
                ar << name;
        ar << m_number;
        return;
    }
    const uint32_t stored = ar.GetObjectSchema();
    const uint32_t schema = stored == 0xFFFFFFFFu ? kSchema : stored;
    if (schema > kSchema)
        CArchive::ThrowBadSchema(Format("unit group of schema %u", schema));
    int32_t rows = 0, cols = 0;
    ar >> rows >> cols;
    // The table holds no more; a larger stored table would lose names.
    if (rows < 0 || rows > kSlotCount || cols < 0 || cols > kUnitsPerSlot)
        CArchive::ThrowBadSchema(Format("unit group of %d x %d units", rows, cols));
    m_names = {};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            ar >> m_names[r][c];
    if (schema >= 2)
        ar >> m_number;
}

CQMXBlixList* CQMXBlixListArray::Add(std::unique_ptr<CQMXBlixList> group)
{
    m_groups.push_back(std::move(group));
    return m_groups.back().get();
}

CQMXBlixList* CQMXBlixListArray::FindGroup(int number) const
{
    for (const auto& g : m_groups)
        if (g && g->GetNumber() == number)
            return g.get();
    return nullptr;
}

int CQMXBlixListArray::RemoveGroup(int number)
{
    for (auto it = m_groups.begin(); it != m_groups.end(); ++it)
        if (*it && (*it)->GetNumber() == number) {
            m_groups.erase(it);
            return 1;
        }
    return 0;
}

int CQMXBlixListArray::GetMaxNumber() const
{
    int best = -1;
    bool any = false;
    for (const auto& g : m_groups)
        if (g && (!any || g->GetNumber() > best)) {
            best = g->GetNumber();
            any = true;
        }
    return best;
}

std::vector<CQMXBlixList*> CQMXBlixListArray::Pointers() const
{
    std::vector<CQMXBlixList*> out;
    out.reserve(m_groups.size());
    for (const auto& g : m_groups)
        out.push_back(g.get());
    return out;
}
