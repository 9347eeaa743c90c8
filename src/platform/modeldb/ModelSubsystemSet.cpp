#include "platform/modeldb/ModelSubsystemSet.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/ModelShell.h"

namespace {
bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}
} // namespace

CModelSubsystemSet::CModelSubsystemSet(int number, const std::string& name) : m_number(number), m_name(name) {}

CModelSubsystemSet::CModelSubsystemSet(const CModelSubsystemSet& other) : m_number(other.m_number), m_name(other.m_name)
{
    for (const auto& s : other.m_subsystems)
        m_subsystems.push_back(s->Clone());
}

CModelSubsystemSet& CModelSubsystemSet::operator=(const CModelSubsystemSet& other)
{
    if (this != &other) {
        CModelSubsystemSet copy(other);
        m_number = copy.m_number;
        m_name = std::move(copy.m_name);
        m_subsystems = std::move(copy.m_subsystems);
    }
    return *this;
}

CModelSubsystem* CModelSubsystemSet::GetAt(int i) const
{
    return (i >= 0 && i < GetCount()) ? m_subsystems[static_cast<size_t>(i)].get() : nullptr;
}

CModelSubsystem* CModelSubsystemSet::Add(std::unique_ptr<CModelSubsystem> subsystem)
{
    if (!subsystem)
        return nullptr;
    m_subsystems.push_back(std::move(subsystem));
    return m_subsystems.back().get();
}

CModelSubsystem* CModelSubsystemSet::Find(const std::string& name, int exact) const
{
    if (exact) {
        for (const auto& s : m_subsystems)
            if (s->GetName() == name)
                return s.get();
        return nullptr;
    }
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    for (const std::string* wanted : {&name, static_cast<const std::string*>(&plain)})
        for (const auto& s : m_subsystems)
            if (EqualNoCase(s->GetName(), *wanted))
                return s.get();
    return nullptr;
}

int CModelSubsystemSet::GetAllSubsystemsList(CZuSubsystemTable& table) const
{
    table.Clear();
    for (const auto& s : m_subsystems)
        table.Add(s->GetName());
    return table.GetCount();
}

int CModelSubsystemSet::GetShellsList(CZuSubsystemTable& table) const
{
    int n = 0;
    for (const auto& s : m_subsystems) {
        if (dynamic_cast<const CModelShell*>(s.get())) {
            table.Add(s->GetName());
            ++n;
        }
    }
    return n;
}

int CModelSubsystemSet::GetSubsystemsList(CZuSubsystemTable& table, int type, int clear) const
{
    if (clear)
        table.Clear();
    int n = 0;
    for (const auto& s : m_subsystems) {
        if (s->GetType() == type) {
            table.Add(s->GetName());
            ++n;
        }
    }
    return n;
}

void CModelSubsystemSet::ResetDisplay()
{
    for (const auto& s : m_subsystems) {
        s->SetDefaultColor();
        s->SetMark(false);
    }
}

void CModelSubsystemSet::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(m_number) << m_name;
        ar.WriteCount(static_cast<uint32_t>(m_subsystems.size()));
        for (const auto& s : m_subsystems) {
            ar << s->GetKindTag();
            s->Serialize(ar);
        }
        return;
    }
    int32_t number = 0;
    std::string name;
    ar >> number >> name;
    // Each subsystem takes at least its tag, an empty name, its type and two values.
    const uint32_t count = ar.ReadCount(1 + 1 + 4 + 16);
    std::vector<std::unique_ptr<CModelSubsystem>> subsystems;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t tag = 0;
        ar >> tag;
        std::unique_ptr<CModelSubsystem> s = CModelSubsystem::Create(tag);
        if (!s)
            CArchive::Throw(CArchiveException::genericException, Format("model subsystem of unknown kind %u", tag));
        s->Serialize(ar);
        subsystems.push_back(std::move(s));
    }
    m_number = number;
    m_name = std::move(name);
    m_subsystems = std::move(subsystems);
}
