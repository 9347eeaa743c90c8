#include "platform/excel/ExcelWrapper.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/excel/SheetNameSet.h"
#include "platform/excel/XlsxReader.h"
#include "platform/excel/XlsxWriter.h"

namespace {

// Formatting a range touches each of its cells; a range beyond this is refused rather than
// filling memory with empty formatted cells.
constexpr long long kMaxFormattedCells = 1000000;

bool EndsWithNoCase(const std::string& text, const char* suffix)
{
    const size_t n = std::strlen(suffix);
    if (text.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - n + i])) !=
            std::tolower(static_cast<unsigned char>(suffix[i])))
            return false;
    return true;
}

std::string LowerAscii(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Text that a spreadsheet takes as a number when it is typed in: an optional sign, digits with at
// most one decimal point, an optional exponent; no blanks.
bool ParsePlainNumber(const std::string& text, double& value)
{
    if (text.empty() || text.find_first_not_of("0123456789+-.eE") != std::string::npos)
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

// Display width of a text in character cells: wide (East Asian) characters count two.
double DisplayWidth(const std::string& text)
{
    double width = 0.0;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        unsigned cp = c;
        size_t len = 1;
        if (c >= 0xF0)
            len = 4;
        else if (c >= 0xE0)
            len = 3;
        else if (c >= 0xC0)
            len = 2;
        if (len == 3 && i + 2 < text.size())
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
        const bool halfWidthKana = cp >= 0xFF61 && cp <= 0xFF9F;
        width += (len >= 3 && cp >= 0x1100 && !halfWidthKana) || len == 4 ? 2.0 : 1.0;
        i += len;
    }
    return width;
}

XlsxBorderStyle BorderStyleOf(int lineStyle, int weight)
{
    const bool medium = weight == xlMedium || weight == xlThick;
    switch (lineStyle) {
    case xlContinuous:
        return weight == xlHairline ? XlsxBorderStyle::Hair
               : weight == xlMedium ? XlsxBorderStyle::Medium
               : weight == xlThick  ? XlsxBorderStyle::Thick
                                    : XlsxBorderStyle::Thin;
    case xlDash:
        return medium ? XlsxBorderStyle::MediumDashed : XlsxBorderStyle::Dashed;
    case xlDot:
        return weight == xlHairline ? XlsxBorderStyle::Hair : XlsxBorderStyle::Dotted;
    case xlDouble:
        return XlsxBorderStyle::Double;
    case xlDashDot:
        return medium ? XlsxBorderStyle::MediumDashDot : XlsxBorderStyle::DashDot;
    case xlDashDotDot:
        return medium ? XlsxBorderStyle::MediumDashDotDot : XlsxBorderStyle::DashDotDot;
    case xlSlantDashDot:
        return XlsxBorderStyle::SlantDashDot;
    default:
        return XlsxBorderStyle::None;
    }
}

} // namespace

CExcelWrapper::CExcelWrapper() = default;

CExcelWrapper::~CExcelWrapper() = default;

bool CExcelWrapper::Create(bool /*visible*/)
{
    m_application = true;
    return true;
}

bool CExcelWrapper::Open(const std::string& path)
{
    m_error.clear();
    if (!m_application)
        return false;
    auto book = std::make_unique<CXlsxWorkbook>();
    if (path.empty()) {
        book->InsertSheet(0, "Sheet1");
    } else {
        CXlsxReader reader;
        if (!reader.ReadFile(path, *book)) {
            m_error = reader.ErrorText();
            return false;
        }
    }
    m_workbook = std::move(book);
    m_sheet = 0;
    m_path = path;
    return true;
}

CXlsxSheet* CExcelWrapper::GetActiveSheet() const
{
    return m_workbook ? m_workbook->GetSheet(m_sheet) : nullptr;
}

std::string CExcelWrapper::GetCellText(int row, int col) const
{
    const CXlsxSheet* sheet = GetActiveSheet();
    if (row < 1 || col < 1 || !sheet)
        return std::string();
    const XlsxCell* cell = sheet->FindCell(row, col);
    return cell ? m_workbook->CellText(*cell) : std::string();
}

std::string CExcelWrapper::GetCellText(int sheetIndex, int row, int col) const
{
    if (!m_workbook || row < 1 || col < 1)
        return std::string();
    const CXlsxSheet* sheet = m_workbook->GetSheet(sheetIndex - 1);
    if (!sheet)
        return std::string();
    const XlsxCell* cell = sheet->FindCell(row, col);
    return cell ? m_workbook->CellText(*cell) : std::string();
}

const XlsxCell* CExcelWrapper::GetCell(int row, int col) const
{
    const CXlsxSheet* sheet = GetActiveSheet();
    return sheet ? sheet->FindCell(row, col) : nullptr;
}

bool CExcelWrapper::SetCellText(int row, int col, const std::string& text)
{
    double value = 0.0;
    if (ParsePlainNumber(text, value))
        return SetCellNumber(row, col, value);
    return SetCellString(row, col, text);
}

bool CExcelWrapper::SetCellString(int row, int col, const std::string& text)
{
    CXlsxSheet* sheet = GetActiveSheet();
    XlsxCell* cell = sheet && row >= 1 && col >= 1 ? sheet->GetCell(row, col) : nullptr;
    if (!cell)
        return false;
    cell->type = text.empty() ? XlsxCellType::Empty : XlsxCellType::String;
    cell->text = text;
    cell->runs.clear();
    cell->number = 0.0;
    if (cell->type == XlsxCellType::Empty && cell->style == 0)
        sheet->EraseCell(row, col);
    return true;
}

bool CExcelWrapper::SetCellNumber(int row, int col, double value)
{
    CXlsxSheet* sheet = GetActiveSheet();
    XlsxCell* cell = sheet && row >= 1 && col >= 1 && std::isfinite(value) ? sheet->GetCell(row, col) : nullptr;
    if (!cell)
        return false;
    cell->type = XlsxCellType::Number;
    cell->number = value;
    cell->text.clear();
    cell->runs.clear();
    return true;
}

int CExcelWrapper::GetSheetCount() const
{
    return m_workbook ? m_workbook->GetSheetCount() : -1;
}

bool CExcelWrapper::SelectSheet(int index)
{
    if (!m_workbook || index < 1 || index > m_workbook->GetSheetCount())
        return false;
    m_sheet = index - 1;
    return true;
}

bool CExcelWrapper::SelectSheet(const std::string& name)
{
    const int index = FindSheet(name);
    return index > 0 && SelectSheet(index);
}

int CExcelWrapper::FindSheet(const std::string& name) const
{
    if (!m_workbook)
        return -1;
    const int index = m_workbook->FindSheet(name);
    return index < 0 ? -1 : index + 1;
}

std::string CExcelWrapper::GetSheetName() const
{
    const CXlsxSheet* sheet = GetActiveSheet();
    return sheet ? sheet->GetName() : std::string();
}

bool CExcelWrapper::AddSheet(const std::string& name, int index)
{
    if (!m_workbook)
        return false;
    std::string valid = name;
    MakeValidSheetName(valid);
    if (name.empty() || valid != name)
        return false;
    for (int i = 0; i < m_workbook->GetSheetCount(); ++i)
        if (LowerAscii(m_workbook->GetSheet(i)->GetName()) == LowerAscii(name))
            return false;
    const int position = std::clamp(index, 0, m_workbook->GetSheetCount());
    m_workbook->InsertSheet(position, name);
    m_sheet = position;
    return true;
}

bool CExcelWrapper::Close(bool save, const std::string& path)
{
    if (!m_workbook)
        return false;
    if (save && !path.empty() && !SaveAs(path))
        return false;
    m_workbook.reset();
    m_sheet = -1;
    m_path.clear();
    return true;
}

bool CExcelWrapper::SaveAs(const std::string& path, int fileFormat)
{
    m_error.clear();
    if (!m_workbook)
        return false;
    const std::string target = path.empty() ? m_path : path;
    if (target.empty()) {
        m_error = "The workbook has no file name yet.";
        return false;
    }
    const bool binaryFormat = fileFormat == xlExcel8 || fileFormat == xlWorkbookNormal || fileFormat == xlExcel9795;
    if (!EndsWithNoCase(target, ".xlsx") && (EndsWithNoCase(target, ".xls") || binaryFormat)) {
        m_error = "Workbooks are saved as .xlsx only; binary .xls workbooks cannot be written. "
                  "Choose a file name ending in .xlsx.";
        return false;
    }
    CXlsxWriter writer;
    if (!writer.Write(*m_workbook, target)) {
        m_error = writer.ErrorText();
        return false;
    }
    m_path = target;
    return true;
}

bool CExcelWrapper::Quit()
{
    if (!m_application)
        return false;
    m_workbook.reset();
    m_sheet = -1;
    m_path.clear();
    m_application = false;
    return true;
}

bool CExcelWrapper::ForceQuit()
{
    return Quit();
}

XlsxRange CExcelWrapper::GetRange(int row1, int col1, int row2, int col2) const
{
    if (!GetActiveSheet() || row1 < 1 || col1 < 1 || !CXlsxSheet::IsValidCell(row1, col1))
        return XlsxRange();
    if (row2 <= 0 || col2 <= 0)
        return {row1, col1, row1, col1};
    if (!CXlsxSheet::IsValidCell(row2, col2))
        return XlsxRange();
    return {std::min(row1, row2), std::min(col1, col2), std::max(row1, row2), std::max(col1, col2)};
}

template <class F>
bool CExcelWrapper::ChangeRangeStyle(int row1, int col1, int row2, int col2, F change)
{
    if (row1 < 1 || col1 < 1 || row2 < 1 || col2 < 1)
        return false;
    const XlsxRange r = GetRange(row1, col1, row2, col2);
    CXlsxSheet* sheet = GetActiveSheet();
    if (r.row1 == 0 || !sheet)
        return false;
    if (static_cast<long long>(r.row2 - r.row1 + 1) * (r.col2 - r.col1 + 1) > kMaxFormattedCells)
        return false;
    for (int row = r.row1; row <= r.row2; ++row)
        for (int col = r.col1; col <= r.col2; ++col) {
            XlsxCell* cell = sheet->GetCell(row, col);
            XlsxStyle style = m_workbook->GetStyle(cell->style);
            change(style, r, row, col);
            cell->style = m_workbook->AddStyle(style);
            if (cell->style == 0 && cell->type == XlsxCellType::Empty)
                sheet->EraseCell(row, col);
        }
    return true;
}

bool CExcelWrapper::SetRangeColor(int row1, int col1, int row2, int col2, int colorIndex)
{
    const uint32_t color = CXlsxWorkbook::PaletteColor(colorIndex);
    if (color == kXlsxNoColor && colorIndex != xlColorIndexNone)
        return false;
    return ChangeRangeStyle(row1, col1, row2, col2,
                            [color](XlsxStyle& s, const XlsxRange&, int, int) { s.fill = color; });
}

bool CExcelWrapper::SetRangeBold(int row1, int col1, int row2, int col2, bool bold)
{
    return ChangeRangeStyle(row1, col1, row2, col2,
                            [bold](XlsxStyle& s, const XlsxRange&, int, int) { s.font.bold = bold; });
}

bool CExcelWrapper::SetRangeBorders(int row1, int col1, int row2, int col2, int borderIndex, int lineStyle, int weight,
                                    int colorIndex)
{
    if (borderIndex < xlDiagonalDown || borderIndex > xlInsideHorizontal)
        return false;
    const XlsxBorderStyle style = BorderStyleOf(lineStyle, weight);
    const bool setColor = colorIndex >= 0;
    const uint32_t color = CXlsxWorkbook::PaletteColor(colorIndex);
    return ChangeRangeStyle(row1, col1, row2, col2, [&](XlsxStyle& s, const XlsxRange& r, int row, int col) {
        auto apply = [&](XlsxBorder& b) {
            b.style = style;
            if (style == XlsxBorderStyle::None)
                b.color = kXlsxNoColor;
            else if (setColor)
                b.color = color;
        };
        switch (borderIndex) {
        case xlEdgeLeft:
            if (col == r.col1)
                apply(s.left);
            break;
        case xlEdgeRight:
            if (col == r.col2)
                apply(s.right);
            break;
        case xlEdgeTop:
            if (row == r.row1)
                apply(s.top);
            break;
        case xlEdgeBottom:
            if (row == r.row2)
                apply(s.bottom);
            break;
        case xlInsideVertical:
            if (col < r.col2)
                apply(s.right);
            if (col > r.col1)
                apply(s.left);
            break;
        case xlInsideHorizontal:
            if (row < r.row2)
                apply(s.bottom);
            if (row > r.row1)
                apply(s.top);
            break;
        case xlDiagonalDown:
        case xlDiagonalUp: {
            bool& flag = borderIndex == xlDiagonalUp ? s.diagonalUp : s.diagonalDown;
            flag = style != XlsxBorderStyle::None;
            if (s.diagonalUp || s.diagonalDown)
                apply(s.diagonal);
            else
                s.diagonal = XlsxBorder();
            break;
        }
        default:
            break;
        }
    });
}

bool CExcelWrapper::AutoFitColumns(int col1, int col2)
{
    CXlsxSheet* sheet = GetActiveSheet();
    if (!sheet || col1 < 1 || col2 < 1 || col1 > kXlsxMaxCols || col2 > kXlsxMaxCols)
        return false;
    if (col1 > col2)
        std::swap(col1, col2);
    std::map<int, double> widest;
    for (const auto& [key, cell] : sheet->Cells()) {
        if (key.second < col1 || key.second > col2 || sheet->FindMergedRange(key.first, key.second))
            continue;
        double w = DisplayWidth(m_workbook->CellText(cell));
        if (m_workbook->GetStyle(cell.style).font.bold)
            w *= 1.1;
        widest[key.second] = std::max(widest[key.second], w);
    }
    for (int col = col1; col <= col2; ++col) {
        auto it = widest.find(col);
        if (it == widest.end() || it->second <= 0.0)
            sheet->ColumnWidths().erase(col);
        else
            sheet->ColumnWidths()[col] = std::min(255.0, std::ceil(it->second + 1.0));
    }
    return true;
}

bool CExcelWrapper::SetColumnWidth(int col, double width)
{
    CXlsxSheet* sheet = GetActiveSheet();
    if (!sheet || col < 1 || col > kXlsxMaxCols || !std::isfinite(width) || width < 0.0 || width > 255.0)
        return false;
    sheet->ColumnWidths()[col] = width;
    return true;
}

void CExcelWrapper::MakeValidSheetName(std::string& name)
{
    std::string out;
    size_t characters = 0;
    for (size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        const size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (c != 0 && std::strchr(":/\\?*[]", static_cast<char>(c)) == nullptr) {
            if (characters == 31)
                break;
            out.append(name, i, len);
            ++characters;
        }
        i += len;
    }
    name = out;
}

std::string CExcelWrapper::MakeUniqueSheetName(const std::string& name, const std::vector<std::string>& taken,
                                               const std::string& mark)
{
    return CSheetNameSet(taken).Take(name, mark);
}

std::string CExcelWrapper::CellName(int row, int col)
{
    if (row < 1 || col < 1)
        return std::string();
    std::string letters;
    for (int c = col; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row);
}

bool CExcelWrapper::IsExcelFile(const std::string& path)
{
    return EndsWithNoCase(path, ".xlsx") || EndsWithNoCase(path, ".xls");
}
