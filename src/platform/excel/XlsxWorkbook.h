#pragma once
// A workbook in memory, as the .xlsx reader fills it and the writer stores it: sheets of sparse
// cells (1-based rows and columns), the cell styles the program uses (font, solid fill, borders
// with the diagonals, number format), rich-text runs, merged ranges, cell notes and column widths.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Colours are 0xRRGGBB; kXlsxNoColor means "none" (no fill, automatic font or line colour).
inline constexpr uint32_t kXlsxNoColor = 0xFFFFFFFFu;

// The largest sheet a workbook may address (rows, columns).
inline constexpr int kXlsxMaxRows = 1048576;
inline constexpr int kXlsxMaxCols = 16384;

// Line styles of cell borders, in the order of the file format's names.
enum class XlsxBorderStyle : uint8_t
{
    None = 0,
    Thin,
    Medium,
    Dashed,
    Dotted,
    Thick,
    Double,
    Hair,
    MediumDashed,
    DashDot,
    MediumDashDot,
    DashDotDot,
    MediumDashDotDot,
    SlantDashDot,
};

struct XlsxBorder
{
    XlsxBorderStyle style = XlsxBorderStyle::None;
    uint32_t color = kXlsxNoColor;
    bool operator==(const XlsxBorder&) const = default;
};

struct XlsxFont
{
    bool bold = false;
    bool italic = false;
    bool strike = false;
    uint32_t color = kXlsxNoColor;
    bool operator==(const XlsxFont&) const = default;
};

struct XlsxStyle
{
    XlsxFont font;
    uint32_t fill = kXlsxNoColor; // solid fill colour
    XlsxBorder left, right, top, bottom, diagonal;
    bool diagonalUp = false;   // the diagonal line from bottom left to top right
    bool diagonalDown = false; // from top left to bottom right
    int numFmtId = 0;          // built-in number format; 164 and above: numFmt holds the code
    std::string numFmt;
    bool operator==(const XlsxStyle&) const = default;
};

// A piece of rich text with its own font.
struct XlsxRun
{
    std::string text;
    XlsxFont font;
    bool operator==(const XlsxRun&) const = default;
};

enum class XlsxCellType : uint8_t
{
    Empty,
    String,
    Number,
    Boolean,
    Error
};

struct XlsxCell
{
    XlsxCellType type = XlsxCellType::Empty;
    std::string text;          // strings: the whole text; errors: the error text ("#DIV/0!")
    double number = 0.0;       // numbers; booleans as 0 or 1
    std::vector<XlsxRun> runs; // rich text: the runs whose texts make up text (empty for plain text)
    int style = 0;             // index into the workbook's styles; 0 is the default style
};

// A block of cells, 1-based and inclusive.
struct XlsxRange
{
    int row1 = 0, col1 = 0, row2 = 0, col2 = 0;
    bool Contains(int row, int col) const { return row >= row1 && row <= row2 && col >= col1 && col <= col2; }
    bool operator==(const XlsxRange&) const = default;
};

class CXlsxSheet
{
public:
    explicit CXlsxSheet(std::string name) : m_name(std::move(name)) {}

    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }

    // The cell, or null when it holds nothing.
    const XlsxCell* FindCell(int row, int col) const;
    // The cell, created empty when absent; null outside the sheet's range.
    XlsxCell* GetCell(int row, int col);
    void EraseCell(int row, int col);
    // Cells in row order, then column order.
    const std::map<std::pair<int, int>, XlsxCell>& Cells() const { return m_cells; }
    size_t CellCount() const { return m_cells.size(); }
    // The last row and column holding a cell (0 on an empty sheet).
    int GetMaxRow() const;
    int GetMaxCol() const;

    std::vector<XlsxRange>& MergedRanges() { return m_merged; }
    const std::vector<XlsxRange>& MergedRanges() const { return m_merged; }
    // The merged range a cell lies in, or null.
    const XlsxRange* FindMergedRange(int row, int col) const;

    // Cell notes by (row, column).
    std::map<std::pair<int, int>, std::string>& Notes() { return m_notes; }
    const std::map<std::pair<int, int>, std::string>& Notes() const { return m_notes; }
    std::string GetNote(int row, int col) const;

    // Column widths in characters of the default font; a column without one has the default width.
    std::map<int, double>& ColumnWidths() { return m_widths; }
    const std::map<int, double>& ColumnWidths() const { return m_widths; }

    static bool IsValidCell(int row, int col)
    {
        return row >= 1 && row <= kXlsxMaxRows && col >= 1 && col <= kXlsxMaxCols;
    }

private:
    std::string m_name;
    std::map<std::pair<int, int>, XlsxCell> m_cells;
    std::vector<XlsxRange> m_merged;
    std::map<std::pair<int, int>, std::string> m_notes;
    std::map<int, double> m_widths;
};

class CXlsxWorkbook
{
public:
    CXlsxWorkbook();

    int GetSheetCount() const { return static_cast<int>(m_sheets.size()); }
    // 0-based; null out of range.
    CXlsxSheet* GetSheet(int index) const;
    // 0-based index of the first sheet of exactly that name; -1 when none.
    int FindSheet(const std::string& name) const;
    // Inserts a sheet at a 0-based position (clamped to the sheet count).
    CXlsxSheet* InsertSheet(int position, const std::string& name);
    void RemoveSheet(int index);

    // Styles: index 0 is the default style. AddStyle returns the index of an equal style when there
    // is one.
    int AddStyle(const XlsxStyle& style);
    // Room for count styles in all, so that adding them moves nothing (a reader knowing how many
    // formats a file declares; the caller bounds the count by what the file can hold).
    void ReserveStyles(size_t count);
    // AddStyle for count styles in turn, their indices to indices[0..count-1]; the same result,
    // faster for a long list.
    void AddStyles(const XlsxStyle* styles, size_t count, int* indices);
    // The style (the default one for an index out of range).
    XlsxStyle GetStyle(int index) const;
    int GetStyleCount() const { return static_cast<int>(m_styles.size()); }

    // Whether a style shows numbers as dates or times.
    bool IsDateStyle(int index) const;
    // Serial day numbers count from 1904 instead of 1900.
    bool Uses1904Dates() const { return m_date1904; }
    void SetUses1904Dates(bool on) { m_date1904 = on; }

    // The text of a cell as a user sees its value: strings as they are, numbers with up to 15
    // significant digits, dates as "YYYY-MM-DD" (with " hh:mm:ss" when they have a time of day),
    // booleans as "TRUE" or "FALSE".
    std::string CellText(const XlsxCell& cell) const;
    // "%.15g" of a number.
    static std::string NumberText(double value);
    // A serial day number as "YYYY-MM-DD[ hh:mm:ss]"; empty for a value outside the calendar.
    static std::string DateText(double serial, bool date1904);

    // The 56 colours of the spreadsheet palette by colour index (1 to 56); kXlsxNoColor for any
    // other index (none, automatic).
    static uint32_t PaletteColor(int colorIndex);
    // The first palette index of a colour; -1 when the palette lacks it.
    static int PaletteIndexOf(uint32_t color);

private:
    std::vector<std::unique_ptr<CXlsxSheet>> m_sheets;
    // A style as kept: font, fill and number format id as they are, the borders and the number
    // format code as indices into tables of the distinct ones. A large styles part holds many
    // formats that differ in a field or two; a quarter of the full style's size each keeps the
    // table of a million of them small.
    struct StyleRecord
    {
        XlsxFont font;
        uint32_t fill = kXlsxNoColor;
        uint32_t borders = 0; // into m_borderSets
        int numFmtId = 0;
        uint32_t numFmt = 0; // into m_numFmts; 0 is the empty code
        bool operator==(const StyleRecord&) const = default;
    };
    struct BorderSet
    {
        XlsxBorder left, right, top, bottom, diagonal;
        bool diagonalUp = false;
        bool diagonalDown = false;
        bool operator==(const BorderSet&) const = default;
    };
    struct BorderSetHash
    {
        size_t operator()(const BorderSet& b) const;
    };

    // The record of a style, its borders and code entered into their tables when new.
    StyleRecord RecordOf(const XlsxStyle& style);
    XlsxStyle StyleOf(const StyleRecord& record) const;
    static size_t HashOf(const StyleRecord& record);
    int AddRecord(const StyleRecord& record, size_t hash);
    // Enters style k into the slots; grows them to stay at most half full.
    void IndexStyle(size_t k);
    // The slot of style k: the upper half of its spread hash and its position + 1.
    uint64_t SlotOf(size_t k) const;
    // Slots for count styles, the styles there are entered again.
    void Rehash(size_t count);

    std::vector<StyleRecord> m_styles;
    // The styles by a hash of their fields, so that adding each of many styles stays cheap: one
    // flat table of slots (SlotOf; 0: free), probed in order from the hash's slot. A table of nodes
    // spent most of a large styles part's reading on cache misses.
    std::vector<uint64_t> m_styleSlots;
    std::vector<BorderSet> m_borderSets;
    std::unordered_map<BorderSet, uint32_t, BorderSetHash> m_borderSetIndex;
    std::vector<std::string> m_numFmts;
    std::unordered_map<std::string, uint32_t> m_numFmtIndex;
    bool m_date1904 = false;
};
