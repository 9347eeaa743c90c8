#include "platform/elements/ZuSubsystemTable.h"

#include <algorithm>
#include <stdexcept>

#include "platform/archive/Archive.h"
#include "platform/archive/Collections.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CZuSubsystemTable, CObject, 1)

namespace {
constexpr uint8_t kTableVersion = 1;
}

CZuSubsystemTable::CZuSubsystemTable(const CZuSubsystemTable& other) : CObject(), m_names(other.m_names) {}

CZuSubsystemTable& CZuSubsystemTable::operator=(const CZuSubsystemTable& other)
{
    if (this != &other)
        m_names = other.m_names;
    return *this;
}

CZuSubsystemTable::CZuSubsystemTable(std::vector<std::string> names) : m_names(std::move(names)) {}

int CZuSubsystemTable::Add(const std::string& name)
{
    m_names.push_back(name);
    return GetCount() - 1;
}

int CZuSubsystemTable::AddUnique(const std::string& name)
{
    int i = GetIndex(name);
    return i >= 0 ? i : Add(name);
}

int CZuSubsystemTable::GetIndex(const std::string& name) const
{
    auto it = std::find(m_names.begin(), m_names.end(), name);
    return it == m_names.end() ? -1 : static_cast<int>(it - m_names.begin());
}

const std::string& CZuSubsystemTable::At(int i) const
{
    if (i < 0 || i >= GetCount())
        throw std::out_of_range(Format("subsystem index %d outside the table of %d", i, GetCount()));
    return m_names[static_cast<size_t>(i)];
}

void CZuSubsystemTable::SetAt(int i, const std::string& name)
{
    if (i < 0 || i >= GetCount())
        throw std::out_of_range(Format("subsystem index %d outside the table of %d", i, GetCount()));
    m_names[static_cast<size_t>(i)] = name;
}

int CZuSubsystemTable::RemoveAt(int i)
{
    if (i < 0 || i >= GetCount())
        return 0;
    m_names.erase(m_names.begin() + i);
    return 1;
}

void CZuSubsystemTable::Sort()
{
    std::sort(m_names.begin(), m_names.end());
}

void CZuSubsystemTable::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kTableVersion;
        SerializeStrings(ar, m_names);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kTableVersion)
        CArchive::ThrowBadSchema(Format("subsystem table version %u", static_cast<unsigned>(version)));
    SerializeStrings(ar, m_names);
}
