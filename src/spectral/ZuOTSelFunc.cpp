#include "spectral/ZuOTSelFunc.h"

#include <algorithm>

#include "common/Quantity.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuRpmSelFunc.h"
#include "spectral/OrderMapArchive.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "spectral/ZuRpmFunc.h"

IMPLEMENT_DYNAMIC(CZuOTSelFunc, CZuTableData)

CZuOTSelFunc::CZuOTSelFunc(const std::string& name, CMElement* parent, int kind) : CZuTableData(name, parent, kind) {}

CZuOTSelFunc::~CZuOTSelFunc() = default;

bool CZuOTSelFunc::AddOrderSelFunc(double order, std::unique_ptr<CZuRpmSelFunc> function)
{
    if (!function)
        return false;
    function->SetParent(this);
    m_orders.push_back(order);
    m_functions.push_back(std::move(function));
    return true;
}

CZuRpmSelFunc* CZuOTSelFunc::GetOrderSelFunc(int i) const
{
    return i >= 0 && static_cast<size_t>(i) < m_functions.size() ? m_functions[static_cast<size_t>(i)].get() : nullptr;
}

CZuTableData* CZuOTSelFunc::GetShownTable() const
{
    const CZuRpmSelFunc* first = GetOrderSelFunc(0);
    return first ? first->GetRpmData(0) : nullptr;
}

// ---- table ----

COLORREF CZuOTSelFunc::GetTableCellColor(int, int, int)
{
    return 0;
}

void CZuOTSelFunc::GetSelection(int, int, int, CZuSubsystemTable*) {}

void CZuOTSelFunc::ChangeDataValue(int, int, int, double, int) {}

void CZuOTSelFunc::PasteFromClipboard(CArchive&, int, const CZuCellPoint*) {}

std::string CZuOTSelFunc::GetTableCellData(int row, int col, int index, int numberFormat)
{
    CZuTableData* table = GetShownTable();
    if (!table || row < 0 || col < 0 || row >= table->GetTableRowCount(index) || col >= table->GetTableColCount(index))
        return std::string();
    return table->GetTableCellData(row, col, index, numberFormat);
}

std::string CZuOTSelFunc::GetShownTableCell(int row, int col, int index, int numberFormat)
{
    CZuTableData* table = GetShownTable();
    if (!table || row < 0 || col < 0 || row >= table->GetTableRowCount(index) || col >= table->GetTableColCount(index))
        return std::string();
    return table->GetShownTableCell(row, col, index, numberFormat);
}

int CZuOTSelFunc::GetTableRowCount(int index)
{
    CZuTableData* table = GetShownTable();
    return table ? table->GetTableRowCount(index) : 0;
}

int CZuOTSelFunc::GetTableColCount(int index)
{
    CZuTableData* table = GetShownTable();
    return table ? table->GetTableColCount(index) : 0;
}

int CZuOTSelFunc::GetTableFreqCount()
{
    CZuTableData* table = GetShownTable();
    return table ? table->GetTableFreqCount() : 0;
}

std::string CZuOTSelFunc::GetFreqIndicator(int)
{
    return std::string();
}

void CZuOTSelFunc::CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection)
{
    CopySelection(ar, withLabels, index, selection, CZuRpmFunc::kClipboardDigits,
                  withLabels ? SpectrumTitleLine(this, m_subsystem) : std::string());
}

int CZuOTSelFunc::WriteDump(CStdioFile& file, const std::string&)
{
    file.WriteString(Format("%s\n", m_subsystem.c_str()));
    for (size_t o = 0; o < m_functions.size(); ++o) {
        const CZuRpmSelFunc& function = *m_functions[o];
        for (int k = 0; k < function.GetRpmCount(); ++k) {
            CZuTableData* table = function.GetRpmData(k);
            for (int f = 0; table && f < table->GetTableFreqCount(); ++f) {
                const int rows = table->GetTableRowCount(f), cols = table->GetTableColCount(f);
                if (rows <= 2)
                    continue; // header and totals only: nothing was computed for this index
                for (int r = 0; r < rows; ++r) {
                    std::string line = r == 0 ? Format("O=%g,R=%g,F=%s", m_orders[o], function.GetRpm(k),
                                                       table->GetFreqIndicator(f).c_str())
                                              : table->GetTableCellData(r, 0, f, 6);
                    for (int c = 1; c < cols; ++c)
                        line += "\t" + table->GetTableCellData(r, c, f, 6);
                    file.WriteString(line + "\n");
                }
                file.WriteString("\n");
            }
        }
    }
    return 1;
}

// ---- persistence ----

void CZuOTSelFunc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        CZuTableData::Serialize(ar);
        order_map_archive::Store(ar, m_orders, m_functions, m_subsystem, m_factor);
        return;
    }
    uint8_t version = 0;
    ar >> version; // only one form has been written
    CZuTableData::Serialize(ar);
    order_map_archive::Load(
        ar, this, "functions in an order map", [this](CArchive& a) { return ReadOrderSelFunc(a); }, m_orders,
        m_functions, m_subsystem, m_factor);
}
