#include "spectral/OTMultiVecFunc.h"

#include <vector>

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/gfx/GfxUtil.h"

IMPLEMENT_SERIAL(COTMultiVecFunc, CMultiVectorFunction, 2)

COTMultiVecFunc::COTMultiVecFunc() = default;

COTMultiVecFunc::COTMultiVecFunc(const std::string& name, const CZuSubsystemTable* table, int dataCount,
                                 CMElement* parent, int kind)
    : CMultiVectorFunction(name, table, dataCount, parent, kind)
{}

COTMultiVecFunc::COTMultiVecFunc(const CZuVecFunc* src)
    : CMultiVectorFunction(src ? src->GetName() : std::string(), src ? &src->GetSubsystemTable() : nullptr,
                           src ? src->GetDataCount() : 0, src ? src->GetParent() : nullptr, src ? src->GetType() : -1)
{
    if (!src)
        return;
    SetTableDataType(src->GetTableDataType());
    SetCanChangeValues(src->CanChangeValues());
    SetDataIndexArray(src->GetDataIndexArray());
    for (int i = 0; i < src->GetDataCount(); ++i)
        for (int k = 0; k < src->GetSubsystemCount(); ++k)
            DataValue(i, k) = src->DataValue(i, k);
    if (const auto* multi = dynamic_cast<const CMultiVectorFunction*>(src)) {
        if (multi->GetSubsystemTable())
            SetColumns(*multi->GetSubsystemTable());
        SetLabel(multi->GetLabel());
    }
}

COTMultiVecFunc::~COTMultiVecFunc() = default;

std::string COTMultiVecFunc::GetTableCellData(int row, int col, int index, int numberFormat)
{
    if (col == 0 && row > 0)
        return row - 1 < GetDataCount() ? CGfxUtil::NumberText(DataIndex(row - 1)) : std::string();
    return CMultiVectorFunction::GetTableCellData(row, col, index, numberFormat);
}

int COTMultiVecFunc::ConvertToOTMultiVecFuncs(CMElement* folder)
{
    if (!folder)
        return 0;
    // The children change as we go: work over the ones there were at the start.
    std::vector<CMElement*> children;
    for (int i = 0; i < folder->GetChildCount(); ++i)
        children.push_back(folder->GetChild(i));
    int converted = 0;
    for (CMElement* child : children) {
        auto* multi = DynamicDowncast<CMultiVectorFunction>(child);
        if (!multi || multi->IsKindOf(RUNTIME_CLASS(COTMultiVecFunc)))
            continue;
        const int type = multi->GetType();
        if (type != ElementType::Energy && type != ElementType::OrderLevels && type != ElementType::OrderFrequencies)
            continue;
        auto ot = std::make_unique<COTMultiVecFunc>(multi);
        COrderList orders;
        for (int j = 1; j <= ot->GetSubsystemCount(); ++j)
            orders.Add(static_cast<double>(j));
        ot->SetOrderList(orders);
        folder->DeleteChild(multi, 1);
        folder->AddChild(std::move(ot));
        ++converted;
    }
    return converted;
}

void COTMultiVecFunc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<uint8_t>(0);
        CMultiVectorFunction::Serialize(ar);
        m_orders.Serialize(ar);
        return;
    }
    uint8_t version = 0;
    ar >> version; // read and not tested
    CMultiVectorFunction::Serialize(ar);
    m_orders.Serialize(ar);
}
