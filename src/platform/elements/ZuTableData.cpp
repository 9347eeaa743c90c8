#include "platform/elements/ZuTableData.h"

#include <limits>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/base/TabSplitter.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CZuTableData, CMElement, 1)

namespace {
constexpr uint8_t kTableDataVersion = 1;
constexpr size_t kMaxFieldLength = 255;
} // namespace

void CZuCellRect::Normalize()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

CZuTableData::CZuTableData() = default;

CZuTableData::CZuTableData(const std::string& name, CMElement* parent, int type) : CMElement(name, parent, type) {}

CZuTableData::~CZuTableData() = default;

COLORREF CZuTableData::GetTableCellColor(int, int, int)
{
    return 0;
}

void CZuTableData::GetSelection(int, int, int, CZuSubsystemTable*) {}

void CZuTableData::ChangeDataValue(int, int, int, double, int) {}

void CZuTableData::CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection)
{
    // Copied values keep every decimal the cells can show, so that a paste gives the same numbers
    // back (loss factors of 1e-3 keep their mantissa).
    constexpr int kCopyDecimals = 15;
    const CZuCellRect block = DataBlock(index, selection);
    WriteBlock(ar, block, withLabels, index, kCopyDecimals,
               withLabels ? GetTableCellData(0, 0, index, kCopyDecimals) : std::string());
}

CZuCellRect CZuTableData::DataBlock(int index, const CZuCellRect* selection)
{
    int rows = GetTableRowCount(index);
    int cols = GetTableColCount(index);
    CZuCellRect block{1, 1, cols - 1, rows - 1};
    if (selection) {
        CZuCellRect r = *selection;
        r.Normalize();
        block.top = std::max(block.top, r.top);
        block.left = std::max(block.left, r.left);
        block.bottom = std::min(block.bottom, r.bottom);
        block.right = std::min(block.right, r.right);
    }
    return block;
}

void CZuTableData::CopySelection(CArchive& ar, int withLabels, int index, const CZuCellRect* selection,
                                 int numberFormat, const std::string& titleLine)
{
    const int rows = GetTableRowCount(index), cols = GetTableColCount(index);
    CZuCellRect block{1, 1, cols - 1, rows - 1};
    if (selection) {
        block = *selection;
        block.Normalize();
        // Only cells of the table are copied.
        block.left = std::max(block.left, 0);
        block.top = std::max(block.top, 0);
        block.right = std::min(block.right, cols - 1);
        block.bottom = std::min(block.bottom, rows - 1);
    }
    std::string headerFirst;
    if (withLabels) {
        ar.WriteText(titleLine);
        headerFirst = GetTableCellData(0, 0, index, numberFormat);
    }
    WriteBlock(ar, block, withLabels, index, numberFormat, headerFirst);
}

void CZuTableData::WriteBlock(CArchive& ar, const CZuCellRect& block, int withLabels, int index, int numberFormat,
                              const std::string& headerFirst)
{
    if (withLabels) {
        std::string line = headerFirst;
        for (int c = block.left; c <= block.right; ++c)
            line.append("\t").append(GetTableCellData(0, c, index, numberFormat));
        ar.WriteText(line + "\r\n");
    }
    for (int r = block.top; r <= block.bottom; ++r) {
        std::string line;
        if (withLabels)
            line = GetTableCellData(r, 0, index, numberFormat) + "\t";
        for (int c = block.left; c <= block.right; ++c) {
            if (c > block.left)
                line += "\t";
            line += GetTableCellData(r, c, index, numberFormat);
        }
        ar.WriteText(line + "\r\n");
    }
}

std::vector<std::string> CZuTableData::SplitFields(const std::string& line)
{
    return CTabSplitter().CutFieldsAt(kMaxFieldLength).Split(line);
}

bool CZuTableData::ParseNumber(const std::string& field, double& value)
{
    // As "%lf" reads: leading blanks skipped, a number prefix is enough.
    return std::sscanf(field.c_str(), "%lf", &value) == 1;
}

void CZuTableData::PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point)
{
    if (!CanChangeValues())
        return;
    std::string line;
    if (!ar.ReadLine(line) || line.empty())
        return;
    bool labelled = false;
    for (const std::string& field : SplitFields(line)) {
        double v;
        if (!ParseNumber(field, v)) {
            labelled = true;
            break;
        }
    }
    if (labelled && !ar.ReadLine(line))
        return;
    int rows = GetTableRowCount(index);
    int cols = GetTableColCount(index);
    int row = point ? std::max(point->y, 1) : 1;
    int firstCol = point ? std::max(point->x, 1) : 1;
    for (;;) {
        if (row >= rows)
            break;
        std::vector<std::string> fields = SplitFields(line);
        int col = firstCol;
        for (size_t f = labelled ? 1 : 0; f < fields.size() && col < cols; ++f, ++col) {
            double v;
            if (ParseNumber(fields[f], v))
                ChangeDataValue(row - 1, col - 1, index, v, 1);
        }
        ++row;
        if (!ar.ReadLine(line))
            break;
    }
}

std::string CZuTableData::GetTableCellData(int, int, int, int)
{
    return {};
}

std::string CZuTableData::GetShownTableCell(int row, int col, int index, int numberFormat)
{
    std::string text = GetTableCellData(row, col, index, numberFormat);
    return row == 0 || col == 0 ? TranslateText(text) : text;
}

int CZuTableData::GetTableRowCount(int)
{
    return 0;
}

int CZuTableData::GetTableColCount(int)
{
    return 0;
}

int CZuTableData::GetTableFreqCount()
{
    return 0;
}

std::string CZuTableData::GetFreqIndicator(int)
{
    return {};
}

int CZuTableData::GetTableIndexCount()
{
    return 0;
}

std::string CZuTableData::GetTableIndexText(int)
{
    return {};
}

int CZuTableData::UndoData()
{
    if (m_undo.empty())
        return -1;
    UndoRecord record = m_undo.back();
    m_undo.pop_back();
    if (record.restore)
        record.restore();
    else
        ChangeDataValue(record.row, record.col, record.index, record.value, 0);
    return record.index;
}

void CZuTableData::PushUndo(int row, int col, int index, double oldValue)
{
    if (m_undo.size() >= kMaxUndo)
        m_undo.erase(m_undo.begin());
    m_undo.push_back({row, col, index, oldValue, {}});
}

void CZuTableData::PushUndo(int index, std::function<void()> restore)
{
    if (m_undo.size() >= kMaxUndo)
        m_undo.erase(m_undo.begin());
    m_undo.push_back({-1, -1, index, 0.0, std::move(restore)});
}

void CZuTableData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kTableDataVersion;
        CMElement::Serialize(ar);
        ar << m_canChangeValues << m_tableDataType;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kTableDataVersion)
        CArchive::ThrowBadSchema(Format("table data version %u", static_cast<unsigned>(version)));
    CMElement::Serialize(ar);
    ar >> m_canChangeValues >> m_tableDataType;
    m_undo.clear();
}

bool CZuTableData::GetTableCellValue(int, int, int, double& value)
{
    value = 0.0;
    return false;
}

void CZuTableData::GetTableColumnValues(int col, int index, std::vector<double>& values)
{
    const int rows = GetTableRowCount(index);
    values.assign(static_cast<size_t>(std::max(0, rows - 1)), std::numeric_limits<double>::quiet_NaN());
    for (int r = 1; r < rows; ++r) {
        double v = 0.0;
        if (GetTableCellValue(r, col, index, v))
            values[static_cast<size_t>(r - 1)] = v;
    }
}
