#include "platform/elements/ZuStdDataList.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/SchemaGuard.h"

IMPLEMENT_SERIAL(CZuStdDataList, CObject, 1)

namespace {
constexpr uint8_t kListVersion = 1;
}

CZuStdDataList::CZuStdDataList(const CZuStdDataList& other) : CObject()
{
    *this = other;
}

CZuStdDataList& CZuStdDataList::operator=(const CZuStdDataList& other)
{
    if (this == &other)
        return *this;
    std::vector<std::unique_ptr<CZuStdData>> items;
    items.reserve(other.m_items.size());
    for (const auto& item : other.m_items)
        items.push_back(item->Clone());
    m_items = std::move(items);
    return *this;
}

CZuStdData* CZuStdDataList::GetAt(int i) const
{
    if (i < 0 || i >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(i)].get();
}

CZuStdData* CZuStdDataList::GetData(int id) const
{
    return GetAt(FindIndex(id));
}

int CZuStdDataList::FindIndex(int id, int start) const
{
    for (int i = start < 0 ? 0 : start; i < GetCount(); ++i)
        if (m_items[static_cast<size_t>(i)]->GetID() == id)
            return i;
    return -1;
}

CZuStdData* CZuStdDataList::Add(std::unique_ptr<CZuStdData> data)
{
    if (!data)
        return nullptr;
    m_items.push_back(std::move(data));
    return m_items.back().get();
}

CZuStdData* CZuStdDataList::Add(CZuStdData* data)
{
    return Add(std::unique_ptr<CZuStdData>(data));
}

int CZuStdDataList::RemoveAt(int i)
{
    if (i < 0 || i >= GetCount())
        return 0;
    m_items.erase(m_items.begin() + i);
    return 1;
}

template <class T>
T* CZuStdDataList::SetTyped(int id)
{
    int i = FindIndex(id);
    if (i >= 0) {
        if (T* typed = DynamicDowncast<T>(m_items[static_cast<size_t>(i)].get()))
            return typed;
        auto replacement = std::make_unique<T>();
        replacement->SetID(id);
        T* raw = replacement.get();
        m_items[static_cast<size_t>(i)] = std::move(replacement);
        return raw;
    }
    auto created = std::make_unique<T>();
    created->SetID(id);
    T* raw = created.get();
    m_items.push_back(std::move(created));
    return raw;
}

void CZuStdDataList::SetString(int id, const std::string& value)
{
    SetTyped<CZuStdStringData>(id)->SetValue(value);
}

void CZuStdDataList::SetInt(int id, int32_t value)
{
    SetTyped<CZuStdIntData>(id)->SetValue(value);
}

void CZuStdDataList::SetLong(int id, int64_t value)
{
    SetTyped<CZuStdLongData>(id)->SetValue(value);
}

std::string CZuStdDataList::GetString(int id, const std::string& fallback) const
{
    const auto* data = DynamicDowncast<CZuStdStringData>(GetData(id));
    return data ? data->GetValue() : fallback;
}

int32_t CZuStdDataList::GetInt(int id, int32_t fallback) const
{
    const auto* data = DynamicDowncast<CZuStdIntData>(GetData(id));
    return data ? data->GetValue() : fallback;
}

int64_t CZuStdDataList::GetLong(int id, int64_t fallback) const
{
    CZuStdData* data = GetData(id);
    if (const auto* l = DynamicDowncast<CZuStdLongData>(data))
        return l->GetValue();
    if (const auto* n = DynamicDowncast<CZuStdIntData>(data))
        return n->GetValue();
    return fallback;
}

void CZuStdDataList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kListVersion;
        ar.WriteCount(static_cast<uint32_t>(m_items.size()));
        for (const auto& item : m_items)
            ar.WriteObject(item.get());
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kListVersion)
        CArchive::ThrowBadSchema(Format("value list version %u", static_cast<unsigned>(version)));
    CSchemaGuard schema(ar);
    uint32_t count = ar.ReadCount(2);
    std::vector<std::unique_ptr<CZuStdData>> items;
    items.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        if (auto item = ar.ReadOwned<CZuStdData>())
            items.push_back(std::move(item));
    for (auto& item : items)
        m_items.push_back(std::move(item));
}
