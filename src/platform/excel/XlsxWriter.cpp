#include "platform/excel/XlsxWriter.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

#include <fcntl.h>
#include <pugixml.hpp>
#include <unistd.h>

#include "platform/base/Format.h"
#include "platform/excel/XlsxWorkbook.h"
#include "platform/excel/XlsxWriterLibrary.h"
#include "platform/excel/ZipLibrary.h"

namespace {

std::atomic<unsigned> g_tempCounter{0};

void ApplyFont(lxw_format* format, const XlsxFont& font)
{
    if (font.bold)
        Lxw().format_set_bold(format);
    if (font.italic)
        Lxw().format_set_italic(format);
    if (font.strike)
        Lxw().format_set_font_strikeout(format);
    if (font.color != kXlsxNoColor)
        Lxw().format_set_font_color(format, font.color);
}

lxw_format* MakeFormat(lxw_workbook* book, const XlsxStyle& s)
{
    lxw_format* f = Lxw().workbook_add_format(book);
    ApplyFont(f, s.font);
    if (s.fill != kXlsxNoColor) {
        Lxw().format_set_pattern(f, LXW_PATTERN_SOLID);
        Lxw().format_set_bg_color(f, s.fill);
    }
    struct Side
    {
        const XlsxBorder& border;
        void (*style)(lxw_format*, uint8_t);
        void (*color)(lxw_format*, lxw_color_t);
    };
    const Side sides[] = {{s.left, Lxw().format_set_left, Lxw().format_set_left_color},
                          {s.right, Lxw().format_set_right, Lxw().format_set_right_color},
                          {s.top, Lxw().format_set_top, Lxw().format_set_top_color},
                          {s.bottom, Lxw().format_set_bottom, Lxw().format_set_bottom_color}};
    for (const Side& side : sides) {
        if (side.border.style == XlsxBorderStyle::None)
            continue;
        side.style(f, static_cast<uint8_t>(side.border.style));
        if (side.border.color != kXlsxNoColor)
            side.color(f, side.border.color);
    }
    if (s.diagonal.style != XlsxBorderStyle::None && (s.diagonalUp || s.diagonalDown)) {
        Lxw().format_set_diag_type(f, s.diagonalUp && s.diagonalDown ? LXW_DIAGONAL_BORDER_UP_DOWN
                                      : s.diagonalUp                 ? LXW_DIAGONAL_BORDER_UP
                                                                     : LXW_DIAGONAL_BORDER_DOWN);
        Lxw().format_set_diag_border(f, static_cast<uint8_t>(s.diagonal.style));
        if (s.diagonal.color != kXlsxNoColor)
            Lxw().format_set_diag_color(f, s.diagonal.color);
    }
    if (!s.numFmt.empty())
        Lxw().format_set_num_format(f, s.numFmt.c_str());
    else if (s.numFmtId > 0 && s.numFmtId < 164)
        Lxw().format_set_num_format_index(f, static_cast<uint8_t>(s.numFmtId));
    return f;
}

size_t RunCount(const XlsxCell& cell)
{
    size_t n = 0;
    for (const XlsxRun& r : cell.runs)
        n += r.text.empty() ? 0 : 1;
    return n;
}

// The library writes a number with 16 significant digits ("%.16G"), which many doubles need 17 for
// (0.1 + 0.2 would read back as 0.3). Such numbers are written again after the library is done:
// each cell gets the shortest text that reads back as the same double, in any reader.
std::string ShortestNumberText(double value)
{
    // "-0" is read as the integer 0 by some readers; "-0.0" keeps the sign everywhere.
    if (value == 0.0)
        return std::signbit(value) ? "-0.0" : "0";
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, end) : std::string();
}

bool LibraryTextRoundTrips(double value)
{
    if (value == 0.0)
        return !std::signbit(value);
    char text[32];
    std::snprintf(text, sizeof text, "%.16G", value);
    const double back = std::strtod(text, nullptr);
    return std::memcmp(&back, &value, sizeof value) == 0;
}

bool SheetNeedsNumbersRewritten(const CXlsxSheet& sheet)
{
    for (const auto& [key, cell] : sheet.Cells())
        if (cell.type == XlsxCellType::Number && std::isfinite(cell.number) && !LibraryTextRoundTrips(cell.number))
            return true;
    return false;
}

// "B12" -> row 12, column 2 (1-based); false for anything else.
bool ParseCellReference(const char* ref, int& row, int& col)
{
    row = col = 0;
    const char* p = ref;
    for (; *p >= 'A' && *p <= 'Z'; ++p)
        if ((col = col * 26 + (*p - 'A' + 1)) > 16384)
            return false;
    if (p == ref || *p < '1' || *p > '9')
        return false;
    for (; *p >= '0' && *p <= '9'; ++p)
        if ((row = row * 10 + (*p - '0')) > 1048576)
            return false;
    return *p == '\0';
}

bool ReadPart(zip_t* zip, zip_uint64_t index, std::string& out)
{
    zip_file_t* file = Zip().zip_fopen_index(zip, index, 0);
    if (!file)
        return false;
    char buffer[65536];
    zip_int64_t n = 0;
    while ((n = Zip().zip_fread(file, buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<size_t>(n));
    Zip().zip_fclose(file);
    return n == 0;
}

// Writes the number cells of the sheets that need it again, in the package the library wrote.
// The sheet parts keep everything else as the library wrote it.
bool RewriteNumbers(const CXlsxWorkbook& workbook, const std::string& package, std::string& failure)
{
    std::vector<int> sheets;
    for (int i = 0; i < workbook.GetSheetCount(); ++i)
        if (const CXlsxSheet* sheet = workbook.GetSheet(i); sheet && SheetNeedsNumbersRewritten(*sheet))
            sheets.push_back(i);
    if (sheets.empty())
        return true;
    int code = 0;
    zip_t* zip = Zip().zip_open(package.c_str(), 0, &code);
    if (!zip) {
        failure = "the package cannot be opened again to write its numbers";
        return false;
    }
    std::vector<std::string> parts; // alive until the package is closed
    parts.reserve(sheets.size());
    for (int i : sheets) {
        const CXlsxSheet& sheet = *workbook.GetSheet(i);
        const std::string name = Format("xl/worksheets/sheet%d.xml", i + 1);
        const zip_int64_t index = Zip().zip_name_locate(zip, name.c_str(), 0);
        std::string xml;
        pugi::xml_document doc;
        if (index < 0 || !ReadPart(zip, static_cast<zip_uint64_t>(index), xml) ||
            !doc.load_buffer(xml.data(), xml.size(),
                             pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata)) {
            failure = Format("the part %s cannot be read again", name.c_str());
            Zip().zip_discard(zip);
            return false;
        }
        for (pugi::xml_node row : doc.child("worksheet").child("sheetData").children("row"))
            for (pugi::xml_node c : row.children("c")) {
                const char* type = c.attribute("t").value();
                int r = 0, k = 0;
                if ((*type && std::strcmp(type, "n") != 0) || !ParseCellReference(c.attribute("r").value(), r, k))
                    continue;
                const XlsxCell* cell = sheet.FindCell(r, k);
                pugi::xml_node v = c.child("v");
                if (!cell || cell->type != XlsxCellType::Number || !std::isfinite(cell->number) || !v)
                    continue;
                const std::string text = ShortestNumberText(cell->number);
                if (!text.empty())
                    v.text().set(text.c_str());
            }
        std::ostringstream out;
        doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
        parts.push_back(out.str());
        zip_source_t* source = Zip().zip_source_buffer(zip, parts.back().data(), parts.back().size(), 0);
        if (!source || Zip().zip_file_replace(zip, static_cast<zip_uint64_t>(index), source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source)
                Zip().zip_source_free(source);
            failure = Format("the part %s cannot be written again (%s)", name.c_str(), Zip().zip_strerror(zip));
            Zip().zip_discard(zip);
            return false;
        }
        Zip().zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0);
    }
    if (Zip().zip_close(zip) < 0) {
        failure = Format("the package cannot be written again (%s)", Zip().zip_strerror(zip));
        Zip().zip_discard(zip);
        return false;
    }
    return true;
}

bool SyncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

bool CXlsxWriter::Write(const CXlsxWorkbook& workbook, const std::string& path)
{
    m_error.clear();
    if (std::string missing; !CXlsxWriterLibrary::Get(&missing) || !CZipLibrary::Get(&missing)) {
        m_error = Format("The workbook %s cannot be written: %s.", path.c_str(), missing.c_str());
        return false;
    }
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    const fs::path temp = folder / Format(".%s.%d.%u.tmp", target.filename().c_str(), static_cast<int>(::getpid()),
                                          g_tempCounter.fetch_add(1));

    lxw_workbook_options options = {};
    options.constant_memory = LXW_FALSE;
    options.tmpdir = nullptr;
    options.use_zip64 = LXW_FALSE;
    lxw_workbook* book = Lxw().workbook_new_opt(temp.c_str(), &options);
    if (!book) {
        m_error = Format("The workbook %s cannot be written.", path.c_str());
        return false;
    }

    std::vector<lxw_format*> formats(static_cast<size_t>(workbook.GetStyleCount()), nullptr);
    auto formatOf = [&](int style) -> lxw_format* {
        if (style <= 0 || style >= workbook.GetStyleCount())
            return nullptr;
        lxw_format*& f = formats[static_cast<size_t>(style)];
        if (!f)
            f = MakeFormat(book, workbook.GetStyle(style));
        return f;
    };

    std::string failure;
    auto check = [&](lxw_error err, const char* what) {
        if (err != LXW_NO_ERROR && failure.empty())
            failure = Format("%s: %s", what, Lxw().lxw_strerror(err));
    };

    const int sheetCount = workbook.GetSheetCount();
    for (int i = 0; i < std::max(1, sheetCount); ++i) {
        const CXlsxSheet* sheet = workbook.GetSheet(i);
        lxw_worksheet* ws = Lxw().workbook_add_worksheet(book, sheet ? sheet->GetName().c_str() : nullptr);
        if (!ws) {
            failure = Format("the sheet name \"%s\" is not allowed", sheet ? sheet->GetName().c_str() : "");
            break;
        }
        if (!sheet)
            continue;
        for (const auto& [col, width] : sheet->ColumnWidths())
            check(Lxw().worksheet_set_column(ws, static_cast<lxw_col_t>(col - 1), static_cast<lxw_col_t>(col - 1),
                                             width, nullptr),
                  "column width");
        // Merged ranges first: merging writes the range's cells, the cells' own values follow.
        for (const XlsxRange& r : sheet->MergedRanges()) {
            if (r.row1 == r.row2 && r.col1 == r.col2)
                continue;
            const XlsxCell* first = sheet->FindCell(r.row1, r.col1);
            check(Lxw().worksheet_merge_range(ws, static_cast<lxw_row_t>(r.row1 - 1),
                                              static_cast<lxw_col_t>(r.col1 - 1), static_cast<lxw_row_t>(r.row2 - 1),
                                              static_cast<lxw_col_t>(r.col2 - 1), "",
                                              formatOf(first ? first->style : 0)),
                  "merged range");
        }
        for (const auto& [key, cell] : sheet->Cells()) {
            const auto row = static_cast<lxw_row_t>(key.first - 1);
            const auto col = static_cast<lxw_col_t>(key.second - 1);
            lxw_format* format = formatOf(cell.style);
            switch (cell.type) {
            case XlsxCellType::String:
            case XlsxCellType::Error:
                if (RunCount(cell) >= 2) {
                    std::vector<lxw_rich_string_tuple> tuples(cell.runs.size());
                    std::vector<lxw_rich_string_tuple*> pointers;
                    for (size_t k = 0; k < cell.runs.size(); ++k) {
                        if (cell.runs[k].text.empty())
                            continue; // the library refuses empty pieces
                        lxw_format* rf = nullptr;
                        if (!(cell.runs[k].font == XlsxFont())) {
                            rf = Lxw().workbook_add_format(book);
                            ApplyFont(rf, cell.runs[k].font);
                        }
                        tuples[k].format = rf;
                        tuples[k].string = const_cast<char*>(cell.runs[k].text.c_str());
                        pointers.push_back(&tuples[k]);
                    }
                    pointers.push_back(nullptr);
                    check(Lxw().worksheet_write_rich_string(ws, row, col, pointers.data(), format), "rich text");
                } else if (cell.text.empty()) {
                    check(Lxw().worksheet_write_blank(ws, row, col, format), "cell");
                } else {
                    check(Lxw().worksheet_write_string(ws, row, col, cell.text.c_str(), format), "cell");
                }
                break;
            case XlsxCellType::Number:
                check(Lxw().worksheet_write_number(ws, row, col, cell.number, format), "cell");
                break;
            case XlsxCellType::Boolean:
                check(Lxw().worksheet_write_boolean(ws, row, col, cell.number != 0.0 ? 1 : 0, format), "cell");
                break;
            case XlsxCellType::Empty:
                check(Lxw().worksheet_write_blank(ws, row, col, format), "cell");
                break;
            }
        }
        for (const auto& [key, text] : sheet->Notes())
            check(Lxw().worksheet_write_comment(ws, static_cast<lxw_row_t>(key.first - 1),
                                                static_cast<lxw_col_t>(key.second - 1), text.c_str()),
                  "note");
    }

    const lxw_error closed = Lxw().workbook_close(book);
    if (failure.empty() && closed == LXW_NO_ERROR)
        RewriteNumbers(workbook, temp.string(), failure);
    std::error_code ec;
    if (!failure.empty() || closed != LXW_NO_ERROR || !SyncFile(temp.string())) {
        fs::remove(temp, ec);
        m_error = Format("The workbook %s cannot be written: %s.", path.c_str(),
                         !failure.empty()         ? failure.c_str()
                         : closed != LXW_NO_ERROR ? Lxw().lxw_strerror(closed)
                                                  : "the file cannot be saved");
        return false;
    }
    fs::rename(temp, target, ec);
    if (ec) {
        m_error = Format("The workbook %s cannot be written: %s.", path.c_str(), ec.message().c_str());
        fs::remove(temp, ec);
        return false;
    }
    return true;
}
