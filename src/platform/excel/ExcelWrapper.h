#pragma once
// Workbook access with the program's 1-based row/column interface: one current workbook, its
// current sheet, cells read and written as text, sheets by index and name, and the cell formats
// the program uses (fill colour by palette index, bold, borders, column widths). Workbooks are
// .xlsx files; binary .xls workbooks are refused with a message (ErrorText) that asks for .xlsx.
//
// Operations that lack what they need (no workbook, an index below 1, no current sheet) return
// false, -1 or empty text and change nothing. There is no spreadsheet program behind it, so the
// window and process look-ups have nothing to report.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/excel/XlsxWorkbook.h"

// Line styles, weights, border indexes and special colour indexes of the range formats, by the
// numbers the program's callers use.
inline constexpr int xlContinuous = 1;
inline constexpr int xlDash = -4115;
inline constexpr int xlDot = -4118;
inline constexpr int xlDouble = -4119;
inline constexpr int xlDashDot = 4;
inline constexpr int xlDashDotDot = 5;
inline constexpr int xlSlantDashDot = 13;
inline constexpr int xlLineStyleNone = -4142;
inline constexpr int xlHairline = 1;
inline constexpr int xlThin = 2;
inline constexpr int xlMedium = -4138;
inline constexpr int xlThick = 4;
inline constexpr int xlDiagonalDown = 5;
inline constexpr int xlDiagonalUp = 6;
inline constexpr int xlEdgeLeft = 7;
inline constexpr int xlEdgeTop = 8;
inline constexpr int xlEdgeBottom = 9;
inline constexpr int xlEdgeRight = 10;
inline constexpr int xlInsideVertical = 11;
inline constexpr int xlInsideHorizontal = 12;
inline constexpr int xlColorIndexNone = -4142;
inline constexpr int xlColorIndexAutomatic = -4105;
// File formats of SaveAs.
inline constexpr int xlExcel8 = 56;            // binary: refused
inline constexpr int xlWorkbookNormal = -4143; // binary: refused
inline constexpr int xlExcel9795 = 43;         // binary: refused unless the path names an .xlsx file
inline constexpr int xlOpenXMLWorkbook = 51;

class CExcelWrapper
{
public:
    CExcelWrapper();
    virtual ~CExcelWrapper();
    CExcelWrapper(const CExcelWrapper&) = delete;
    CExcelWrapper& operator=(const CExcelWrapper&) = delete;

    // Starts the workbook service (always possible); visibility has no meaning without a window.
    bool Create(bool visible);
    // Opens an .xlsx file, or with an empty path adds a new workbook with one sheet "Sheet1"; the
    // workbook's first sheet becomes current. False without Create, or when the file cannot be read
    // (ErrorText says why).
    bool Open(const std::string& path = std::string());

    // The text of a cell of the current sheet; empty for an index below 1 or without a sheet.
    std::string GetCellText(int row, int col) const;
    // The same from the sheet at a 1-based index; empty when there is no such sheet.
    std::string GetCellText(int sheet, int row, int col) const;
    // Writes text as a cell's value. Text that is a plain decimal number is stored as a number, as
    // a spreadsheet stores typed-in values; SetCellString keeps it as text.
    bool SetCellText(int row, int col, const std::string& text);
    bool SetCellString(int row, int col, const std::string& text);
    bool SetCellNumber(int row, int col, double value);
    // The cell itself (type, runs, style), null when it holds nothing.
    const XlsxCell* GetCell(int row, int col) const;

    int GetSheetCount() const; // -1 without workbook
    bool SelectSheet(int index);
    bool SelectSheet(const std::string& name);    // exact, case-sensitive
    int FindSheet(const std::string& name) const; // 1-based; -1 when none
    // The current sheet's name; empty without one.
    std::string GetSheetName() const;
    // Adds a sheet after the sheet at a 1-based index (0: first), names it and makes it current.
    // False without workbook or when the name is not a valid, unused sheet name.
    bool AddSheet(const std::string& name, int index);

    // Closes the workbook; with save and a path, saves it there first (false when that fails, the
    // workbook then stays open).
    bool Close(bool save, const std::string& path = std::string());
    // Saves the workbook: without a path to the file it was opened from or last saved to. A path
    // ending in ".xlsx" (any case) is written as .xlsx; a path ending in ".xls", or a binary file
    // format for any other name, is refused with a message naming .xlsx.
    bool SaveAs(const std::string& path, int fileFormat = xlOpenXMLWorkbook);
    bool Quit();
    bool ForceQuit();
    // No window and no process stand behind the workbooks.
    uintptr_t GetExcelWindow() const { return 0; }
    int64_t GetExcelProcessID() const { return 0; }

    // The range between two cells (row2 or col2 of 0 or less: the one cell row1, col1); an empty
    // range (all zero) for an index below 1 or without a sheet.
    XlsxRange GetRange(int row1, int col1, int row2, int col2) const;
    // Interior colour by palette index (1..56; xlColorIndexNone clears it).
    bool SetRangeColor(int row1, int col1, int row2, int col2, int colorIndex);
    bool SetRangeBold(int row1, int col1, int row2, int col2, bool bold);
    // One border of the range by border index (xlEdgeLeft ... xlInsideHorizontal, the diagonals);
    // the colour is set only for an index of 0 or more.
    bool SetRangeBorders(int row1, int col1, int row2, int col2, int borderIndex, int lineStyle, int weight,
                         int colorIndex);
    // Fits the widths of columns col1 to col2 to their texts.
    bool AutoFitColumns(int col1, int col2);
    bool SetColumnWidth(int col, double width);

    // Removes : / \ ? * [ ] and keeps the first 31 characters.
    static void MakeValidSheetName(std::string& name);
    // The valid form of a name that no sheet of taken has (compared without regard to ASCII
    // case): also without apostrophes at its ends, "Sheet" when nothing is left, and " (2)",
    // " (3)" ... after a shortened head when the form is taken. With a mark the numbers follow it
    // instead ("~2", "~3" ... for the mark "~").
    static std::string MakeUniqueSheetName(const std::string& name, const std::vector<std::string>& taken,
                                           const std::string& mark = std::string());
    // "A1" names: columns 1 to 702 give A to ZZ, and further columns three letters.
    static std::string CellName(int row, int col);
    // Whether the path ends in ".xlsx" or ".xls", in any case.
    static bool IsExcelFile(const std::string& path);

    // Why the last Open or SaveAs failed.
    const std::string& ErrorText() const { return m_error; }
    // The workbook and sheet behind the wrapper, for callers that need more than text (merged
    // ranges, notes, styles); null when there is none.
    CXlsxWorkbook* GetWorkbook() const { return m_workbook.get(); }
    CXlsxSheet* GetActiveSheet() const;

private:
    // Applies change to the style of every cell of a range (cells are created as needed).
    template <class F>
    bool ChangeRangeStyle(int row1, int col1, int row2, int col2, F change);

    bool m_application = false;
    std::unique_ptr<CXlsxWorkbook> m_workbook;
    int m_sheet = -1; // 0-based current sheet
    std::string m_path;
    std::string m_error;
};
