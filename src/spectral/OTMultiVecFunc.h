#pragma once
// A result over engine speed with one column per engine order: an RPM-indexed multi-vector
// function (index values are RPMs) with the order list that names its columns (column j holds
// order j of the list).
#include <memory>
#include <string>

#include "spectral/MultiVectorFunction.h"
#include "spectral/OrderList.h"

class COTMultiVecFunc : public CMultiVectorFunction
{
    DECLARE_SERIAL(COTMultiVecFunc)
public:
    COTMultiVecFunc(); // the class factory
    COTMultiVecFunc(const std::string& name, const CZuSubsystemTable* table, int dataCount, CMElement* parent,
                    int kind);
    // A copy of a vector function: name, kind, table data type, change flag, index values, columns,
    // values and (of a multi-vector function) its label; no orders yet.
    explicit COTMultiVecFunc(const CZuVecFunc* src);
    ~COTMultiVecFunc() override;

    void SetOrderList(const COrderList& orders) { m_orders = orders; }
    const COrderList& GetOrderList() const { return m_orders; }

    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;

    // Turns every direct child of folder that is a plain multi-vector function of quantity type 5,
    // 93 or 94 into an order multi-vector function with the orders 1, 2, ..., m (m its columns); the
    // new one is appended at the end of the children. The owning project is told of each removal
    // (before the old element goes) and addition. Returns the number converted.
    static int ConvertToOTMultiVecFuncs(CMElement* folder);

    // A version byte (0), the multi-vector function, the order list.
    void Serialize(CArchive& ar) override;

private:
    COrderList m_orders;
};
