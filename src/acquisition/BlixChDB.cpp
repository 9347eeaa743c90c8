#include "acquisition/BlixChDB.h"

#include <algorithm>

#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CBlixChDB, CObject, 0)

void CBlixChDB::CItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_subsystem << m_blixSN << m_blixCh << m_sensor;
    } else {
        ar >> m_subsystem >> m_blixSN >> m_blixCh >> m_sensor;
    }
}

bool CBlixChDB::CItem::OrdersBefore(const CItem& o) const
{
    if (int c = m_subsystem.compare(o.m_subsystem); c != 0)
        return c < 0;
    if (int c = m_blixSN.compare(o.m_blixSN); c != 0)
        return c < 0;
    if (m_blixCh != o.m_blixCh)
        return m_blixCh < o.m_blixCh;
    return m_sensor.compare(o.m_sensor) < 0;
}

CBlixChDB::CItem* CBlixChDB::CItemList::Add(std::unique_ptr<CItem> item)
{
    m_items.push_back(std::move(item));
    return m_items.back().get();
}

int CBlixChDB::CItemList::FindBySubsystem(const std::string& subsystem, std::vector<CItem*>& result) const
{
    for (const auto& item : m_items)
        if (item->GetSubsystem() == subsystem)
            result.push_back(item.get());
    return static_cast<int>(result.size());
}

int CBlixChDB::CItemList::FindByBlixSN(const std::string& sn, std::vector<CItem*>& result) const
{
    for (const auto& item : m_items)
        if (item->GetBlixSN() == sn)
            result.push_back(item.get());
    return static_cast<int>(result.size());
}

int CBlixChDB::CItemList::FindByBlixCh(uint8_t ch, std::vector<CItem*>& result) const
{
    for (const auto& item : m_items)
        if (item->GetBlixCh() == ch)
            result.push_back(item.get());
    return static_cast<int>(result.size());
}

void CBlixChDB::CItemList::Sort()
{
    std::stable_sort(
        m_items.begin(), m_items.end(),
        [](const std::unique_ptr<CItem>& a, const std::unique_ptr<CItem>& b) { return a->OrdersBefore(*b); });
}

CBlixChDB::CBlixChDB() : m_list(std::make_unique<CItemList>()) {}
CBlixChDB::~CBlixChDB() = default;

void CBlixChDB::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(m_list->GetSize());
        for (int i = 0; i < m_list->GetSize(); ++i)
            m_list->GetAt(i)->Serialize(ar);
        return;
    }
    m_list = std::make_unique<CItemList>();
    // An entry takes at least four bytes (three empty strings and the channel).
    const int32_t count = ar.ReadSignedCount(4, "entries in the Blix channel database", CArchiveException::badIndex);
    for (int32_t i = 0; i < count; ++i) {
        auto item = std::make_unique<CItem>();
        item->Serialize(ar);
        m_list->Add(std::move(item));
    }
}
