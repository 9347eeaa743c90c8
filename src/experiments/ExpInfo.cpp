#include "experiments/ExpInfo.h"

#include "experiments/SensorGroup.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CExpInfo, CObject, 0 | VERSIONABLE_SCHEMA)

std::unique_ptr<CObject> CreateObjectByClassName(const char* name)
{
    const CRuntimeClass* cls = CRuntimeClass::FromName(name);
    return std::unique_ptr<CObject>(cls ? cls->CreateObject() : nullptr);
}

void CopyObjectContents(CObject& dst, const CObject& src)
{
    if (&dst == &src)
        return;
    std::vector<uint8_t> buffer;
    {
        CArchive out(&buffer, CArchive::store);
        const_cast<CObject&>(src).Serialize(out);
    }
    CArchive in(&buffer, CArchive::load);
    dst.Serialize(in);
}

CExpInfo::CExpInfo()
    : m_names(2), m_values(2, 0.0), m_ints(2, -1), m_inventory(CreateObjectByClassName(kInventoryClass))
{
    m_groups.push_back(std::make_unique<CSensorGroup>());
    m_groups.push_back(std::make_unique<CSensorGroup>());
}

CExpInfo::CExpInfo(const CExpInfo& other) : CExpInfo()
{
    *this = other;
}

CExpInfo& CExpInfo::operator=(const CExpInfo& other)
{
    if (&other == this)
        return *this;
    m_names = other.m_names;
    m_values = other.m_values;
    m_ints = other.m_ints;
    m_groups.clear();
    for (const auto& g : other.m_groups)
        m_groups.push_back(g ? g->Clone() : std::make_unique<CSensorGroup>());
    m_time = other.m_time;
    m_texts = other.m_texts;
    if (other.m_inventory)
        SetHardwareInventory(*other.m_inventory);
    return *this;
}

CExpInfo::~CExpInfo() = default;

std::string CExpInfo::GetName(int i) const
{
    return i >= 0 && i < GetNameCount() ? m_names[static_cast<size_t>(i)] : std::string();
}

void CExpInfo::SetName(int i, const std::string& name)
{
    if (i >= 0 && i < GetNameCount())
        m_names[static_cast<size_t>(i)] = name;
}

double CExpInfo::GetValue(int i) const
{
    return i >= 0 && i < static_cast<int>(m_values.size()) ? m_values[static_cast<size_t>(i)] : 0.0;
}

void CExpInfo::SetValue(int i, double value)
{
    if (i >= 0 && i < static_cast<int>(m_values.size()))
        m_values[static_cast<size_t>(i)] = value;
}

int CExpInfo::GetInt(int i) const
{
    return i >= 0 && i < static_cast<int>(m_ints.size()) ? m_ints[static_cast<size_t>(i)] : -1;
}

void CExpInfo::SetInt(int i, int value)
{
    if (i >= 0 && i < static_cast<int>(m_ints.size()))
        m_ints[static_cast<size_t>(i)] = value;
}

CSensorGroup* CExpInfo::GetSensorGroup(int i) const
{
    return i >= 0 && i < static_cast<int>(m_groups.size()) ? m_groups[static_cast<size_t>(i)].get() : nullptr;
}

void CExpInfo::SetSensorGroup(int i, const CSensorGroup& group)
{
    if (i >= 0 && i < static_cast<int>(m_groups.size()))
        m_groups[static_cast<size_t>(i)] = group.Clone();
}

std::string CExpInfo::GetText(int n) const
{
    return n >= 1 && n <= 8 ? m_texts[static_cast<size_t>(n - 1)] : std::string();
}

void CExpInfo::SetText(int n, const std::string& s)
{
    if (n >= 1 && n <= 8)
        m_texts[static_cast<size_t>(n - 1)] = s;
}

void CExpInfo::SetHardwareInventory(const CObject& inventory)
{
    if (!m_inventory)
        m_inventory = CreateObjectByClassName(inventory.GetRuntimeClass()->m_lpszClassName);
    if (m_inventory && m_inventory->GetRuntimeClass() == inventory.GetRuntimeClass())
        CopyObjectContents(*m_inventory, inventory);
}

CExpInfo* CExpInfo::Copy(const CExpInfo& other)
{
    if (&other == this)
        return this;
    for (int i = 0; i < GetNameCount(); ++i) {
        SetName(i, other.GetName(i));
        SetValue(i, other.GetValue(i));
        SetInt(i, other.GetInt(i));
        if (i < static_cast<int>(m_groups.size())) {
            const CSensorGroup* g = other.GetSensorGroup(i);
            m_groups[static_cast<size_t>(i)] = g ? g->Clone() : std::make_unique<CSensorGroup>();
        }
    }
    m_time = other.m_time;
    m_texts = other.m_texts;
    if (other.m_inventory)
        SetHardwareInventory(*other.m_inventory);
    return this;
}

namespace {
int32_t ReadEntryCount(CArchive& ar, uint64_t minBytes, const char* what)
{
    int32_t n = 0;
    ar >> n;
    if (n < 0 || n > CExpInfo::kMaxEntries)
        CArchive::ThrowBadSchema(Format("experiment information with %d %s", n, what));
    ar.EnsureAvailable(static_cast<uint64_t>(n) * minBytes);
    return n;
}
} // namespace

void CExpInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        ar << static_cast<int32_t>(m_names.size());
        for (const auto& s : m_names)
            ar << s;
        ar << static_cast<int32_t>(m_values.size());
        for (double v : m_values)
            ar << v;
        ar << static_cast<int32_t>(m_ints.size());
        for (int32_t v : m_ints)
            ar << v;
        ar << static_cast<int32_t>(m_groups.size());
        for (const auto& g : m_groups)
            ar.WriteObject(g.get());
        ar << m_time;
        for (const auto& t : m_texts)
            ar << t;
        ar.WriteObject(m_inventory.get());
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < kOldestVersion || version > kVersion)
        CArchive::ThrowBadSchema(Format("experiment information of version %d", version));
    // Everything is read into locals first: a broken record leaves this one as it was.
    std::vector<std::string> names(static_cast<size_t>(ReadEntryCount(ar, 1, "names")));
    for (auto& s : names)
        ar >> s;
    std::vector<double> values(static_cast<size_t>(ReadEntryCount(ar, 8, "values")));
    for (auto& v : values)
        ar >> v;
    std::vector<int32_t> ints(static_cast<size_t>(ReadEntryCount(ar, 4, "integers")));
    for (auto& v : ints)
        ar >> v;
    std::vector<std::unique_ptr<CSensorGroup>> groups(static_cast<size_t>(ReadEntryCount(ar, 2, "sensor groups")));
    for (auto& g : groups) {
        g = ar.ReadOwned<CSensorGroup>();
        if (!g)
            g = std::make_unique<CSensorGroup>();
    }
    int32_t time = 0;
    ar >> time;
    std::array<std::string, 8> texts;
    for (auto& t : texts)
        ar >> t;
    std::unique_ptr<CObject> inventory;
    if (version >= 3) {
        inventory = ar.ReadOwned<CObject>();
        const CRuntimeClass* cls = CRuntimeClass::FromName(kInventoryClass);
        if (inventory && (!cls || !inventory->IsKindOf(cls)))
            CArchive::Throw(CArchiveException::badClass, "experiment information without a hardware inventory");
    }
    // Every side that is asked for has an entry, however few the record held.
    if (names.size() < 2)
        names.resize(2);
    if (values.size() < 2)
        values.resize(2, 0.0);
    if (ints.size() < 2)
        ints.resize(2, -1);
    while (groups.size() < 2)
        groups.push_back(std::make_unique<CSensorGroup>());
    m_names = std::move(names);
    m_values = std::move(values);
    m_ints = std::move(ints);
    m_groups = std::move(groups);
    m_time = time;
    m_texts = texts;
    if (version >= 3)
        m_inventory = inventory ? std::move(inventory) : CreateObjectByClassName(kInventoryClass);
}
