#include "platform/excel/XlsxReader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <vector>

#include <pugixml.hpp>
#include <unistd.h>

#include "platform/base/Format.h"
#include "platform/base/MemoryBudget.h"
#include "platform/base/RegularFile.h"
#include "platform/excel/ZipLibrary.h"

namespace {

// What the parsed tree of a part takes at most per byte of the part (a node or an attribute of a
// few bytes each), and what one cell of a sheet takes with its place in the sheet's index.
constexpr uint64_t kTreeBytesPerPartByte = 20;
constexpr uint64_t kBytesPerCell = 256;

// ---- the package ----

class CPackage
{
public:
    CPackage(zip_t* zip, const XlsxReadLimits& limits, std::string name, std::string& error)
        : m_zip(zip), m_limits(limits), m_name(std::move(name)), m_error(error)
    {}
    ~CPackage() { Zip().zip_discard(m_zip); }
    CPackage(const CPackage&) = delete;
    CPackage& operator=(const CPackage&) = delete;

    bool Has(const std::string& part) const { return Locate(part) >= 0; }

    // The part's bytes, at most the part bound; false with a message otherwise.
    bool Read(const std::string& part, std::string& out)
    {
        out.clear();
        const zip_int64_t index = Locate(part);
        if (index < 0)
            return Fail(Format("the part %s is missing", part.c_str()));
        zip_stat_t st;
        Zip().zip_stat_init(&st);
        if (Zip().zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
            st.size > m_limits.maxPartBytes)
            return TooLarge(part);
        zip_file_t* file = Zip().zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
        if (!file)
            return Fail(Format("the part %s cannot be unpacked (%s)", part.c_str(), Zip().zip_strerror(m_zip)));
        // The entry's stated size is not trusted: reading stops at the bound.
        char buffer[65536];
        bool ok = true;
        for (;;) {
            const zip_int64_t n = Zip().zip_fread(file, buffer, sizeof buffer);
            if (n < 0) {
                ok = Fail(Format("the part %s is damaged (%s)", part.c_str(), Zip().zip_file_strerror(file)));
                break;
            }
            if (n == 0)
                break;
            if (out.size() + static_cast<size_t>(n) > m_limits.maxPartBytes) {
                ok = TooLarge(part);
                break;
            }
            m_total += static_cast<size_t>(n);
            if (m_total > m_limits.maxTotalBytes) {
                ok = Fail(Format("the unpacked parts exceed %zu MB", m_limits.maxTotalBytes >> 20));
                break;
            }
            out.append(buffer, static_cast<size_t>(n));
        }
        Zip().zip_fclose(file);
        if (!ok)
            out.clear();
        return ok;
    }

    bool Fail(const std::string& what)
    {
        if (m_error.empty())
            m_error = Format("The workbook %s cannot be read: %s.", m_name.c_str(), what.c_str());
        return false;
    }

private:
    zip_int64_t Locate(const std::string& part) const
    {
        zip_int64_t index = Zip().zip_name_locate(m_zip, part.c_str(), 0);
        if (index < 0)
            index = Zip().zip_name_locate(m_zip, part.c_str(), ZIP_FL_NOCASE);
        return index;
    }
    bool TooLarge(const std::string& part)
    {
        return Fail(Format("the part %s unpacks to more than %zu MB", part.c_str(), m_limits.maxPartBytes >> 20));
    }

    zip_t* m_zip;
    const XlsxReadLimits& m_limits;
    std::string m_name;
    std::string& m_error;
    size_t m_total = 0;
};

// ---- XML helpers: elements are matched by local name, whatever prefix a writer used ----

const char* LocalName(const char* name)
{
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool Is(const pugi::xml_node& node, const char* local)
{
    return node.type() == pugi::node_element && std::strcmp(LocalName(node.name()), local) == 0;
}

pugi::xml_node Child(const pugi::xml_node& node, const char* local)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (Is(c, local))
            return c;
    return {};
}

// The attribute of that local name; "id" finds "r:id".
pugi::xml_attribute Attr(const pugi::xml_node& node, const char* local)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        if (std::strcmp(LocalName(a.name()), local) == 0)
            return a;
    return {};
}

// True for a flag element (<b/>, <b val="1"/>); <b val="0"/> is off.
bool FlagOn(const pugi::xml_node& node)
{
    if (!node)
        return false;
    const pugi::xml_attribute val = Attr(node, "val");
    if (!val)
        return true;
    const std::string v = val.value();
    return !(v == "0" || v == "false" || v == "none");
}

// Text nodes of an element, with the package's "_xHHHH_" escapes decoded.
std::string TextOf(const pugi::xml_node& node)
{
    std::string raw;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            raw += c.value();
    if (raw.find("_x") == std::string::npos)
        return raw;
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '_' && i + 6 < raw.size() && raw[i + 1] == 'x' && raw[i + 6] == '_' &&
            std::isxdigit(static_cast<unsigned char>(raw[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(raw[i + 3])) &&
            std::isxdigit(static_cast<unsigned char>(raw[i + 4])) &&
            std::isxdigit(static_cast<unsigned char>(raw[i + 5]))) {
            const unsigned cp = static_cast<unsigned>(std::strtoul(raw.substr(i + 2, 4).c_str(), nullptr, 16));
            if (cp < 0x80) {
                out += static_cast<char>(cp);
            } else if (cp < 0x800) {
                out += static_cast<char>(0xC0 | (cp >> 6));
                out += static_cast<char>(0x80 | (cp & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (cp >> 12));
                out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (cp & 0x3F));
            }
            i += 6;
        } else {
            out += raw[i];
        }
    }
    return out;
}

uint32_t ColorOf(const pugi::xml_node& node)
{
    if (!node)
        return kXlsxNoColor;
    if (const pugi::xml_attribute rgb = Attr(node, "rgb")) {
        const std::string v = rgb.value();
        if ((v.size() == 8 || v.size() == 6) &&
            std::all_of(v.begin(), v.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
            return static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 16) & 0xFFFFFFu);
        return kXlsxNoColor;
    }
    if (const pugi::xml_attribute indexed = Attr(node, "indexed")) {
        const int i = indexed.as_int(-1);
        if (i >= 0 && i <= 7)
            return CXlsxWorkbook::PaletteColor(i + 1);
        return CXlsxWorkbook::PaletteColor(i - 7);
    }
    if (const pugi::xml_attribute theme = Attr(node, "theme")) {
        // The colours of the default theme (tints are not applied).
        static const uint32_t kTheme[] = {0xFFFFFF, 0x000000, 0xE7E6E6, 0x44546A, 0x4472C4, 0xED7D31,
                                          0xA5A5A5, 0xFFC000, 0x5B9BD5, 0x70AD47, 0x0563C1, 0x954F72};
        const int t = theme.as_int(-1);
        if (t >= 0 && t < 12)
            return kTheme[t];
    }
    return kXlsxNoColor;
}

XlsxFont FontOf(const pugi::xml_node& node)
{
    XlsxFont f;
    if (!node)
        return f;
    f.bold = FlagOn(Child(node, "b"));
    f.italic = FlagOn(Child(node, "i"));
    f.strike = FlagOn(Child(node, "strike"));
    f.color = ColorOf(Child(node, "color"));
    return f;
}

XlsxBorder BorderOf(const pugi::xml_node& node)
{
    static const char* const kNames[] = {
        "none",         "thin",    "medium",        "dashed",     "dotted",           "thick",       "double", "hair",
        "mediumDashed", "dashDot", "mediumDashDot", "dashDotDot", "mediumDashDotDot", "slantDashDot"};
    XlsxBorder b;
    if (!node)
        return b;
    const std::string style = Attr(node, "style").value();
    for (size_t i = 0; i < std::size(kNames); ++i)
        if (style == kNames[i])
            b.style = static_cast<XlsxBorderStyle>(i);
    if (b.style != XlsxBorderStyle::None)
        b.color = ColorOf(Child(node, "color"));
    return b;
}

// "AB12" -> row 12, column 28. False for anything else or outside the sheet range.
bool ParseCellRef(const char* text, int& row, int& col)
{
    const char* p = text;
    if (*p == '$')
        ++p;
    long c = 0;
    int letters = 0;
    while (std::isalpha(static_cast<unsigned char>(*p))) {
        if (++letters > 3)
            return false;
        c = c * 26 + (std::toupper(static_cast<unsigned char>(*p)) - 'A' + 1);
        ++p;
    }
    if (*p == '$')
        ++p;
    long r = 0;
    int digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        if (++digits > 7)
            return false;
        r = r * 10 + (*p - '0');
        ++p;
    }
    if (*p != '\0' || letters == 0 || digits == 0 || !CXlsxSheet::IsValidCell(static_cast<int>(r), static_cast<int>(c)))
        return false;
    row = static_cast<int>(r);
    col = static_cast<int>(c);
    return true;
}

bool ParseRangeRef(const std::string& text, XlsxRange& range)
{
    const size_t colon = text.find(':');
    const std::string a = text.substr(0, colon);
    const std::string b = colon == std::string::npos ? a : text.substr(colon + 1);
    if (!ParseCellRef(a.c_str(), range.row1, range.col1) || !ParseCellRef(b.c_str(), range.row2, range.col2))
        return false;
    if (range.row1 > range.row2)
        std::swap(range.row1, range.row2);
    if (range.col1 > range.col2)
        std::swap(range.col1, range.col2);
    return true;
}

std::string DirOf(const std::string& part)
{
    const size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash);
}

// A relationship target relative to the folder of its source part, as a package path.
std::string ResolveTarget(const std::string& baseDir, const std::string& target)
{
    std::string joined = !target.empty() && target[0] == '/' ? target.substr(1)
                         : baseDir.empty()                   ? target
                                                             : baseDir + "/" + target;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos)
            end = joined.size();
        const std::string piece = joined.substr(start, end - start);
        if (piece == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!piece.empty() && piece != ".") {
            parts.push_back(piece);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : "/") + p;
    return out;
}

struct Relationship
{
    std::string type; // the last piece of the type URI ("worksheet", "sharedStrings", ...)
    std::string target;
};

// ---- the reading of one workbook ----

class CWorkbookReader
{
public:
    CWorkbookReader(CPackage& package, const XlsxReadLimits& limits, CXlsxWorkbook& workbook)
        : m_pkg(package), m_limits(limits), m_book(workbook)
    {}

    bool Run()
    {
        std::string workbookPart = "xl/workbook.xml";
        if (m_pkg.Has("_rels/.rels")) {
            std::map<std::string, Relationship> rels;
            if (!ReadRelationships("_rels/.rels", "", rels))
                return false;
            for (const auto& [id, rel] : rels)
                if (rel.type == "officeDocument")
                    workbookPart = rel.target;
        }
        if (!m_pkg.Has(workbookPart))
            return m_pkg.Fail("it is not a spreadsheet package (no workbook part); only .xlsx workbooks can be read");

        std::map<std::string, Relationship> rels;
        const std::string relsPart =
            DirOf(workbookPart) + "/_rels/" + workbookPart.substr(workbookPart.rfind('/') + 1) + ".rels";
        if (m_pkg.Has(relsPart) && !ReadRelationships(relsPart, DirOf(workbookPart), rels))
            return false;

        pugi::xml_document doc;
        std::string buffer;
        if (!Load(workbookPart, buffer, doc))
            return false;
        const pugi::xml_node root = doc.document_element();
        if (!Is(root, "workbook"))
            return m_pkg.Fail(Format("the part %s is not a workbook", workbookPart.c_str()));
        if (const pugi::xml_attribute d1904 = Attr(Child(root, "workbookPr"), "date1904")) {
            const std::string v = d1904.value();
            m_book.SetUses1904Dates(v == "1" || v == "true");
        }

        for (const auto& [id, rel] : rels) {
            if (rel.type == "sharedStrings" && !ReadSharedStrings(rel.target))
                return false;
            if (rel.type == "styles" && !ReadStyles(rel.target))
                return false;
        }

        struct SheetEntry
        {
            std::string name;
            std::string part;
        };
        std::vector<SheetEntry> sheets;
        for (pugi::xml_node s = Child(Child(root, "sheets"), "sheet"); s; s = s.next_sibling()) {
            if (!Is(s, "sheet"))
                continue;
            auto rel = rels.find(Attr(s, "id").value());
            // Chart sheets and dialog sheets are not worksheets.
            if (rel == rels.end() || rel->second.type != "worksheet")
                continue;
            if (static_cast<int>(sheets.size()) >= m_limits.maxSheets)
                return m_pkg.Fail(Format("it has more than %d sheets", m_limits.maxSheets));
            sheets.push_back({Attr(s, "name").value(), rel->second.target});
        }
        if (sheets.empty())
            return m_pkg.Fail("it has no worksheet");
        for (const SheetEntry& e : sheets) {
            CXlsxSheet* sheet = m_book.InsertSheet(m_book.GetSheetCount(), e.name);
            if (!ReadSheet(e.part, *sheet))
                return false;
        }
        return true;
    }

private:
    bool Load(const std::string& part, std::string& buffer, pugi::xml_document& doc)
    {
        if (!m_pkg.Read(part, buffer))
            return false;
        // The parsed tree takes up to a node per few bytes of the part, and every cell read takes
        // more again: a part that this computer could not hold so is refused before it is parsed.
        if (!CMemoryBudget::Fits(CMemoryBudget::Product(buffer.size(), kTreeBytesPerPartByte)))
            return m_pkg.Fail(Format("the part %s is too large for the memory of this computer", part.c_str()));
        const pugi::xml_parse_result result = doc.load_buffer_inplace(
            buffer.data(), buffer.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
        if (!result)
            return m_pkg.Fail(Format("the part %s is not well-formed XML (%s at byte %lld)", part.c_str(),
                                     result.description(), static_cast<long long>(result.offset)));
        return true;
    }

    bool ReadRelationships(const std::string& part, const std::string& baseDir,
                           std::map<std::string, Relationship>& rels)
    {
        pugi::xml_document doc;
        std::string buffer;
        if (!Load(part, buffer, doc))
            return false;
        for (pugi::xml_node r = doc.document_element().first_child(); r; r = r.next_sibling()) {
            if (!Is(r, "Relationship") || std::string(Attr(r, "TargetMode").value()) == "External")
                continue;
            std::string type = Attr(r, "Type").value();
            type = type.substr(type.rfind('/') + 1);
            rels[Attr(r, "Id").value()] = {type, ResolveTarget(baseDir, Attr(r, "Target").value())};
        }
        return true;
    }

    // The text and the runs of a string item (<si>, <is>, a note's <text>); phonetic runs are not
    // part of the text.
    void ReadStringItem(const pugi::xml_node& item, std::string& text, std::vector<XlsxRun>& runs)
    {
        text.clear();
        runs.clear();
        for (pugi::xml_node c = item.first_child(); c; c = c.next_sibling()) {
            if (Is(c, "t")) {
                text += TextOf(c);
            } else if (Is(c, "r")) {
                XlsxRun run;
                run.text = TextOf(Child(c, "t"));
                run.font = FontOf(Child(c, "rPr"));
                text += run.text;
                runs.push_back(std::move(run));
            }
        }
    }

    bool ReadSharedStrings(const std::string& part)
    {
        pugi::xml_document doc;
        std::string buffer;
        if (!Load(part, buffer, doc))
            return false;
        for (pugi::xml_node si = doc.document_element().first_child(); si; si = si.next_sibling()) {
            if (!Is(si, "si"))
                continue;
            SharedString s;
            ReadStringItem(si, s.text, s.runs);
            m_strings.push_back(std::move(s));
        }
        return true;
    }

    bool ReadStyles(const std::string& part)
    {
        pugi::xml_document doc;
        std::string buffer;
        if (!Load(part, buffer, doc))
            return false;
        const pugi::xml_node root = doc.document_element();
        std::map<int, std::string> numFmts;
        for (pugi::xml_node n = Child(Child(root, "numFmts"), "numFmt"); n; n = n.next_sibling())
            if (Is(n, "numFmt"))
                numFmts[Attr(n, "numFmtId").as_int()] = Attr(n, "formatCode").value();
        std::vector<XlsxFont> fonts;
        for (pugi::xml_node n = Child(root, "fonts").first_child(); n; n = n.next_sibling())
            if (Is(n, "font"))
                fonts.push_back(FontOf(n));
        std::vector<uint32_t> fills;
        for (pugi::xml_node n = Child(root, "fills").first_child(); n; n = n.next_sibling()) {
            if (!Is(n, "fill"))
                continue;
            const pugi::xml_node pattern = Child(n, "patternFill");
            const std::string type = Attr(pattern, "patternType").value();
            uint32_t color = kXlsxNoColor;
            if (pattern && !type.empty() && type != "none") {
                color = ColorOf(Child(pattern, "fgColor"));
                if (color == kXlsxNoColor)
                    color = ColorOf(Child(pattern, "bgColor"));
            }
            fills.push_back(color);
        }
        struct Borders
        {
            XlsxBorder left, right, top, bottom, diagonal;
            bool up = false, down = false;
        };
        std::vector<Borders> borders;
        for (pugi::xml_node n = Child(root, "borders").first_child(); n; n = n.next_sibling()) {
            if (!Is(n, "border"))
                continue;
            Borders b;
            b.left = BorderOf(Child(n, "left"));
            if (b.left.style == XlsxBorderStyle::None)
                b.left = BorderOf(Child(n, "start"));
            b.right = BorderOf(Child(n, "right"));
            if (b.right.style == XlsxBorderStyle::None)
                b.right = BorderOf(Child(n, "end"));
            b.top = BorderOf(Child(n, "top"));
            b.bottom = BorderOf(Child(n, "bottom"));
            b.diagonal = BorderOf(Child(n, "diagonal"));
            b.up = Attr(n, "diagonalUp").as_bool();
            b.down = Attr(n, "diagonalDown").as_bool();
            borders.push_back(b);
        }
        const pugi::xml_node cellXfs = Child(root, "cellXfs");
        // The declared count is taken only as far as the part can hold formats: each is an element
        // of at least five bytes ("<xf/>"), so a forged count reserves no more than the bytes allow.
        const unsigned declared = Attr(cellXfs, "count").as_uint(0);
        const size_t reserve = std::min<size_t>(declared, buffer.size() / 5);
        m_xfStyles.reserve(reserve);
        m_book.ReserveStyles(static_cast<size_t>(m_book.GetStyleCount()) + reserve);
        // The formats go to the workbook in batches, which it looks up together.
        constexpr size_t kBatch = 256;
        std::vector<XlsxStyle> pending;
        pending.reserve(kBatch);
        auto flush = [&] {
            const size_t at = m_xfStyles.size();
            m_xfStyles.resize(at + pending.size());
            m_book.AddStyles(pending.data(), pending.size(), m_xfStyles.data() + at);
            pending.clear();
        };
        for (pugi::xml_node xf = cellXfs.first_child(); xf; xf = xf.next_sibling()) {
            if (!Is(xf, "xf"))
                continue;
            XlsxStyle style;
            const int fontId = Attr(xf, "fontId").as_int(-1);
            if (fontId >= 0 && fontId < static_cast<int>(fonts.size()))
                style.font = fonts[static_cast<size_t>(fontId)];
            // The first font is the workbook's default; only what differs from it is kept.
            if (!fonts.empty())
                style.font.color = style.font.color == fonts.front().color ? kXlsxNoColor : style.font.color;
            const int fillId = Attr(xf, "fillId").as_int(-1);
            if (fillId >= 0 && fillId < static_cast<int>(fills.size()))
                style.fill = fills[static_cast<size_t>(fillId)];
            const int borderId = Attr(xf, "borderId").as_int(-1);
            if (borderId >= 0 && borderId < static_cast<int>(borders.size())) {
                const Borders& b = borders[static_cast<size_t>(borderId)];
                style.left = b.left;
                style.right = b.right;
                style.top = b.top;
                style.bottom = b.bottom;
                if (b.diagonal.style != XlsxBorderStyle::None && (b.up || b.down)) {
                    style.diagonal = b.diagonal;
                    style.diagonalUp = b.up;
                    style.diagonalDown = b.down;
                }
            }
            style.numFmtId = std::max(0, Attr(xf, "numFmtId").as_int(0));
            if (auto it = numFmts.find(style.numFmtId); it != numFmts.end())
                style.numFmt = it->second;
            pending.push_back(std::move(style));
            if (pending.size() == kBatch)
                flush();
        }
        flush();
        return true;
    }

    bool ReadSheet(const std::string& part, CXlsxSheet& sheet)
    {
        pugi::xml_document doc;
        std::string buffer;
        if (!Load(part, buffer, doc))
            return false;
        const pugi::xml_node root = doc.document_element();
        if (!Is(root, "worksheet"))
            return m_pkg.Fail(Format("the part %s is not a worksheet", part.c_str()));

        for (pugi::xml_node col = Child(Child(root, "cols"), "col"); col; col = col.next_sibling()) {
            if (!Is(col, "col") || !Attr(col, "width"))
                continue;
            const int first = std::max(1, Attr(col, "min").as_int(0));
            const int last = std::min(kXlsxMaxCols, Attr(col, "max").as_int(0));
            const double stored = Attr(col, "width").as_double();
            if (!std::isfinite(stored) || stored < 0.0 || stored > 256.0)
                continue;
            // The file keeps the width with the cell padding; the sheet keeps characters, as they
            // are set and shown.
            const double pixels = std::trunc(stored * 7.0 + 0.5);
            const double width = pixels < 12.0 ? std::trunc(stored * 12.0 + 0.5) / 12.0 : (pixels - 5.0) / 7.0;
            // A run over the whole sheet is the default width of every column, not worth a record each.
            if (first <= last && last - first < 1024)
                for (int c = first; c <= last; ++c)
                    sheet.ColumnWidths()[c] = width;
        }

        int row = 0;
        for (pugi::xml_node r = Child(Child(root, "sheetData"), "row"); r; r = r.next_sibling()) {
            if (!Is(r, "row"))
                continue;
            if (pugi::xml_attribute ra = Attr(r, "r")) {
                const long long value = ra.as_llong(0);
                if (value < 1 || value > kXlsxMaxRows || value <= row)
                    return m_pkg.Fail(Format("the part %s has a bad row number \"%s\"", part.c_str(), ra.value()));
                row = static_cast<int>(value);
            } else {
                if (++row > kXlsxMaxRows)
                    return m_pkg.Fail(Format("the part %s has more rows than a sheet can hold", part.c_str()));
            }
            int col = 0;
            for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
                if (!Is(c, "c"))
                    continue;
                int cellRow = row;
                if (pugi::xml_attribute ref = Attr(c, "r")) {
                    if (!ParseCellRef(ref.value(), cellRow, col) || cellRow != row)
                        return m_pkg.Fail(
                            Format("the part %s has a bad cell reference \"%s\"", part.c_str(), ref.value()));
                } else if (++col > kXlsxMaxCols) {
                    return m_pkg.Fail(Format("the part %s has more columns than a sheet can hold", part.c_str()));
                }
                if (!ReadCell(c, part, sheet, row, col))
                    return false;
            }
        }

        for (pugi::xml_node m = Child(Child(root, "mergeCells"), "mergeCell"); m; m = m.next_sibling()) {
            if (!Is(m, "mergeCell"))
                continue;
            XlsxRange range;
            if (!ParseRangeRef(Attr(m, "ref").value(), range))
                return m_pkg.Fail(
                    Format("the part %s has a bad merged range \"%s\"", part.c_str(), Attr(m, "ref").value()));
            if (!Count())
                return false;
            sheet.MergedRanges().push_back(range);
        }

        // Notes come through the sheet's relationships.
        const std::string relsPart = DirOf(part) + "/_rels/" + part.substr(part.rfind('/') + 1) + ".rels";
        if (m_pkg.Has(relsPart)) {
            std::map<std::string, Relationship> rels;
            if (!ReadRelationships(relsPart, DirOf(part), rels))
                return false;
            for (const auto& [id, rel] : rels)
                if (rel.type == "comments" && !ReadNotes(rel.target, sheet))
                    return false;
        }
        return true;
    }

    bool ReadCell(const pugi::xml_node& c, const std::string& part, CXlsxSheet& sheet, int row, int col)
    {
        const std::string type = Attr(c, "t").value();
        const int xf = Attr(c, "s").as_int(0);
        // A style the workbook lacks shows as the default style rather than refusing the data.
        const int style = xf >= 0 && xf < static_cast<int>(m_xfStyles.size()) ? m_xfStyles[static_cast<size_t>(xf)] : 0;
        XlsxCell cell;
        cell.style = style;
        const pugi::xml_node v = Child(c, "v");
        if (type == "inlineStr") {
            ReadStringItem(Child(c, "is"), cell.text, cell.runs);
            cell.type = XlsxCellType::String;
        } else if (!v) {
            cell.type = XlsxCellType::Empty;
        } else if (type == "s") {
            const std::string index = TextOf(v);
            char* end = nullptr;
            errno = 0;
            const unsigned long long i = std::strtoull(index.c_str(), &end, 10);
            if (index.empty() || *end != '\0' || errno != 0 || i >= m_strings.size())
                return m_pkg.Fail(Format("the part %s refers to a missing shared string \"%s\"", part.c_str(),
                                         index.substr(0, 20).c_str()));
            cell.type = XlsxCellType::String;
            cell.text = m_strings[i].text;
            cell.runs = m_strings[i].runs;
        } else if (type == "str" || type == "d") {
            cell.type = XlsxCellType::String;
            cell.text = TextOf(v);
        } else if (type == "e") {
            cell.type = XlsxCellType::Error;
            cell.text = TextOf(v);
        } else if (type == "b") {
            cell.type = XlsxCellType::Boolean;
            cell.number = TextOf(v) == "1" || TextOf(v) == "true" ? 1.0 : 0.0;
        } else {
            const std::string text = TextOf(v);
            char* end = nullptr;
            const double value = std::strtod(text.c_str(), &end);
            if (text.empty() || *end != '\0' || !std::isfinite(value))
                return m_pkg.Fail(
                    Format("the part %s has a bad number \"%s\"", part.c_str(), text.substr(0, 40).c_str()));
            cell.type = XlsxCellType::Number;
            cell.number = value;
        }
        if (cell.type == XlsxCellType::Empty && cell.style == 0)
            return true;
        if (!Count())
            return false;
        XlsxCell* target = sheet.GetCell(row, col);
        if (target)
            *target = std::move(cell);
        return true;
    }

    bool ReadNotes(const std::string& part, CXlsxSheet& sheet)
    {
        pugi::xml_document doc;
        std::string buffer;
        if (!Load(part, buffer, doc))
            return false;
        for (pugi::xml_node n = Child(Child(doc.document_element(), "commentList"), "comment"); n;
             n = n.next_sibling()) {
            if (!Is(n, "comment"))
                continue;
            int row = 0, col = 0;
            if (!ParseCellRef(Attr(n, "ref").value(), row, col))
                return m_pkg.Fail(
                    Format("the part %s has a bad note reference \"%s\"", part.c_str(), Attr(n, "ref").value()));
            if (!Count())
                return false;
            std::string text;
            std::vector<XlsxRun> runs;
            ReadStringItem(Child(n, "text"), text, runs);
            sheet.Notes()[{row, col}] = text;
        }
        return true;
    }

    // Counts one more stored item against the cell bound, and now and then the memory the items
    // take against what this computer can hold.
    bool Count()
    {
        if (++m_cells > m_limits.maxCells)
            return m_pkg.Fail(Format("it has more than %zu cells", m_limits.maxCells));
        if (m_cells % 65536 == 0 && !CMemoryBudget::Fits(CMemoryBudget::Product(m_cells, kBytesPerCell)))
            return m_pkg.Fail(Format("its %zu cells are more than the memory of this computer holds", m_cells));
        return true;
    }

    struct SharedString
    {
        std::string text;
        std::vector<XlsxRun> runs;
    };

    CPackage& m_pkg;
    const XlsxReadLimits& m_limits;
    CXlsxWorkbook& m_book;
    std::vector<SharedString> m_strings;
    std::vector<int> m_xfStyles;
    size_t m_cells = 0;
};

// Reads the package into workbook; on any refusal, and when memory runs out on the way, the
// workbook is left empty and error says why.
bool RunReader(CPackage& package, const XlsxReadLimits& limits, CXlsxWorkbook& workbook, std::string& error,
               const std::string& name)
{
    try {
        CWorkbookReader reader(package, limits, workbook);
        if (reader.Run())
            return true;
    } catch (const std::bad_alloc&) {
        error =
            Format("The workbook %s cannot be read: it is too large for the memory of this computer.", name.c_str());
    }
    workbook = CXlsxWorkbook();
    return false;
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool HasXlsExtension(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".xls";
}

} // namespace

bool CXlsxReader::LooksLikeBinaryWorkbook(const void* data, size_t size)
{
    static const unsigned char kCompound[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    return size >= 8 && std::memcmp(data, kCompound, 8) == 0;
}

std::string CXlsxReader::BinaryWorkbookMessage(const std::string& path)
{
    return Format("%s is a binary .xls workbook, which cannot be read or written. "
                  "Save it as an .xlsx workbook and open that.",
                  BaseName(path).c_str());
}

bool CXlsxReader::ReadFile(const std::string& path, CXlsxWorkbook& workbook)
{
    m_error.clear();
    workbook = CXlsxWorkbook();
    std::string why;
    const int fd = OpenRegularFileDescriptor(path, &why);
    if (fd < 0) {
        m_error = Format("The workbook %s cannot be opened: %s.", path.c_str(), why.c_str());
        return false;
    }
    char head[8] = {};
    const ssize_t got = ::pread(fd, head, sizeof head, 0);
    const size_t size = got > 0 ? static_cast<size_t>(got) : 0;
    const bool zipped = size >= 4 && head[0] == 'P' && head[1] == 'K';
    if (LooksLikeBinaryWorkbook(head, size) || (!zipped && HasXlsExtension(path))) {
        ::close(fd);
        m_error = BinaryWorkbookMessage(path);
        return false;
    }
    if (!zipped) {
        ::close(fd);
        m_error = Format("The workbook %s cannot be read: it is not an .xlsx workbook.", BaseName(path).c_str());
        return false;
    }
    std::string missing;
    if (!CZipLibrary::Get(&missing)) {
        ::close(fd);
        m_error = Format("The workbook %s cannot be read: %s.", BaseName(path).c_str(), missing.c_str());
        return false;
    }
    // The package is read through the descriptor that was checked, never by opening the path again.
    int code = 0;
    zip_t* zip = Zip().zip_fdopen(fd, ZIP_RDONLY, &code);
    if (!zip) {
        ::close(fd);
        m_error = Format("The workbook %s cannot be read: it is not an .xlsx workbook (damaged package).",
                         BaseName(path).c_str());
        return false;
    }
    CPackage package(zip, m_limits, BaseName(path), m_error);
    return RunReader(package, m_limits, workbook, m_error, BaseName(path));
}

bool CXlsxReader::ReadMemory(const void* data, size_t size, CXlsxWorkbook& workbook, const std::string& name)
{
    m_error.clear();
    workbook = CXlsxWorkbook();
    if (LooksLikeBinaryWorkbook(data, size)) {
        m_error = BinaryWorkbookMessage(name);
        return false;
    }
    std::string missing;
    if (!CZipLibrary::Get(&missing)) {
        m_error = Format("The workbook %s cannot be read: %s.", name.c_str(), missing.c_str());
        return false;
    }
    zip_error_t zerr;
    Zip().zip_error_init(&zerr);
    zip_source_t* source = Zip().zip_source_buffer_create(data, size, 0, &zerr);
    zip_t* zip = source ? Zip().zip_open_from_source(source, ZIP_RDONLY, &zerr) : nullptr;
    Zip().zip_error_fini(&zerr);
    if (!zip) {
        if (source)
            Zip().zip_source_free(source);
        m_error = Format("The workbook %s cannot be read: it is not an .xlsx workbook.", name.c_str());
        return false;
    }
    CPackage package(zip, m_limits, name, m_error);
    return RunReader(package, m_limits, workbook, m_error, name);
}
