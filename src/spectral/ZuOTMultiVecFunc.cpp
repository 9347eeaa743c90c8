#include "spectral/ZuOTMultiVecFunc.h"

#include <cmath>

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuVecFunc.h"

IMPLEMENT_SERIAL(CZuOTMultiVecFunc, CZuRpmSelFunc, 0 | VERSIONABLE_SCHEMA)

CZuOTMultiVecFunc::CZuOTMultiVecFunc() : CZuOTMultiVecFunc(std::string(), nullptr, -1) {}

CZuOTMultiVecFunc::CZuOTMultiVecFunc(const std::string& name, CMElement* parent, int kind)
    : CZuRpmSelFunc(name, parent, kind)
{}

CZuOTMultiVecFunc::~CZuOTMultiVecFunc() = default;

bool CZuOTMultiVecFunc::AddOrder(double order, CZuRpmSelFunc* entry)
{
    return AddOrder(order, std::unique_ptr<CZuRpmSelFunc>(entry));
}

bool CZuOTMultiVecFunc::AddOrder(double order, std::unique_ptr<CZuRpmSelFunc> entry)
{
    if (!entry)
        return false;
    entry->SetParent(this);
    m_orders.push_back(order);
    m_entries.push_back(std::move(entry));
    return true;
}

CZuRpmSelFunc* CZuOTMultiVecFunc::GetOrderEntry(int i) const
{
    return i >= 0 && static_cast<size_t>(i) < m_entries.size() ? m_entries[static_cast<size_t>(i)].get() : nullptr;
}

std::string CZuOTMultiVecFunc::GetTableCellData(int, int, int, int)
{
    return std::string();
}
int CZuOTMultiVecFunc::GetTableRowCount(int)
{
    return 0;
}
int CZuOTMultiVecFunc::GetTableColCount(int)
{
    return 0;
}
int CZuOTMultiVecFunc::GetTableFreqCount()
{
    return 0;
}

int CZuOTMultiVecFunc::WriteDump(CStdioFile& file, const std::string&)
{
    file.WriteString(Format("##### CZuOTMultiVecFunc #####\nSUBSYSTEM:\t%s\n\n", m_label.c_str()));
    for (size_t o = 0; o < m_entries.size(); ++o) {
        const CZuRpmSelFunc& entry = *m_entries[o];
        for (int e = 0; e < entry.GetRpmCount(); ++e) {
            const CZuVecFunc* v = dynamic_cast<const CZuVecFunc*>(entry.GetRpmData(e));
            if (!v)
                continue;
            std::string line = Format("ORDER:%g, RPM:%g", m_orders[o], entry.GetRpm(e));
            for (int k = 0; k < v->GetSubsystemCount(); ++k)
                line += Format("\t%s", v->GetSubsystem(k).c_str());
            file.WriteString(line + "\n");
            for (int i = 0; i < v->GetDataCount(); ++i) {
                line = Format("%g", v->DataIndex(i));
                for (int k = 0; k < v->GetSubsystemCount(); ++k) {
                    const double value = v->DataValue(i, k);
                    line += value == HUGE_VAL ? std::string("\t---") : Format("\t%e", value);
                }
                file.WriteString(line + "\n");
            }
        }
    }
    return 1;
}

void CZuOTMultiVecFunc::Serialize(CArchive& ar)
{
    CZuRpmSelFunc::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(m_orders.size());
        for (double order : m_orders)
            ar << order;
        ar << static_cast<int32_t>(m_entries.size());
        for (const auto& entry : m_entries)
            ar.WriteObject(entry.get());
        ar << m_factor;
        ar << m_label;
        return;
    }
    const int32_t orderCount =
        ar.ReadSignedCount(sizeof(double), "orders in an order multi-vector map", CArchiveException::badIndex);
    std::vector<double> orders(static_cast<size_t>(orderCount));
    for (double& order : orders)
        ar >> order;
    const int32_t entryCount =
        ar.ReadSignedCount(2, "entries in an order multi-vector map", CArchiveException::badIndex);
    // Orders and entries pair by position; an order without an entry is dropped with it.
    std::vector<double> keptOrders;
    std::vector<std::unique_ptr<CZuRpmSelFunc>> entries;
    for (int32_t i = 0; i < entryCount; ++i) {
        std::unique_ptr<CZuRpmSelFunc> entry = ar.ReadOwned<CZuRpmSelFunc>();
        if (!entry || i >= orderCount)
            continue;
        entry->SetParent(this);
        keptOrders.push_back(orders[static_cast<size_t>(i)]);
        entries.push_back(std::move(entry));
    }
    float factor = 0.0f;
    ar >> factor;
    std::string label;
    ar >> label;
    m_orders = std::move(keptOrders);
    m_entries = std::move(entries);
    m_factor = factor;
    m_label = std::move(label);
}
