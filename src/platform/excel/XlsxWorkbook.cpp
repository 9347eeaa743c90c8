#include "platform/excel/XlsxWorkbook.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

#include "platform/base/Format.h"

const XlsxCell* CXlsxSheet::FindCell(int row, int col) const
{
    auto it = m_cells.find({row, col});
    return it == m_cells.end() ? nullptr : &it->second;
}

XlsxCell* CXlsxSheet::GetCell(int row, int col)
{
    if (!IsValidCell(row, col))
        return nullptr;
    return &m_cells[{row, col}];
}

void CXlsxSheet::EraseCell(int row, int col)
{
    m_cells.erase({row, col});
}

int CXlsxSheet::GetMaxRow() const
{
    return m_cells.empty() ? 0 : m_cells.rbegin()->first.first;
}

int CXlsxSheet::GetMaxCol() const
{
    int col = 0;
    for (const auto& [key, cell] : m_cells)
        col = std::max(col, key.second);
    return col;
}

const XlsxRange* CXlsxSheet::FindMergedRange(int row, int col) const
{
    for (const XlsxRange& r : m_merged)
        if (r.Contains(row, col))
            return &r;
    return nullptr;
}

std::string CXlsxSheet::GetNote(int row, int col) const
{
    auto it = m_notes.find({row, col});
    return it == m_notes.end() ? std::string() : it->second;
}

CXlsxWorkbook::CXlsxWorkbook()
{
    m_styles.push_back(RecordOf(XlsxStyle()));
    IndexStyle(0);
}

CXlsxSheet* CXlsxWorkbook::GetSheet(int index) const
{
    return index >= 0 && index < GetSheetCount() ? m_sheets[static_cast<size_t>(index)].get() : nullptr;
}

int CXlsxWorkbook::FindSheet(const std::string& name) const
{
    for (int i = 0; i < GetSheetCount(); ++i)
        if (m_sheets[static_cast<size_t>(i)]->GetName() == name)
            return i;
    return -1;
}

CXlsxSheet* CXlsxWorkbook::InsertSheet(int position, const std::string& name)
{
    position = std::clamp(position, 0, GetSheetCount());
    auto it = m_sheets.insert(m_sheets.begin() + position, std::make_unique<CXlsxSheet>(name));
    return it->get();
}

void CXlsxWorkbook::RemoveSheet(int index)
{
    if (index >= 0 && index < GetSheetCount())
        m_sheets.erase(m_sheets.begin() + index);
}

namespace {
struct HashMixer
{
    size_t h = 0;
    void operator()(uint64_t v) { h ^= std::hash<uint64_t>{}(v) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); }
    void operator()(const XlsxBorder& b) { (*this)((uint64_t(b.style) << 32) | b.color); }
};

// A hash's bits mixed over the whole word (the finaliser of splitmix64): the hashes of styles that
// differ in one field differ in a few bits only, and would otherwise crowd into runs of
// neighbouring slots and share the upper half that the slots keep to tell styles apart.
uint64_t Spread(size_t hash)
{
    uint64_t z = hash;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

constexpr uint64_t kTagMask = 0xFFFFFFFF00000000ull;
} // namespace

size_t CXlsxWorkbook::BorderSetHash::operator()(const BorderSet& b) const
{
    HashMixer mix;
    mix(b.left);
    mix(b.right);
    mix(b.top);
    mix(b.bottom);
    mix(b.diagonal);
    mix((uint64_t(b.diagonalUp) << 1) | uint64_t(b.diagonalDown));
    return mix.h;
}

size_t CXlsxWorkbook::HashOf(const StyleRecord& r)
{
    HashMixer mix;
    mix((uint64_t(r.font.bold) << 34) | (uint64_t(r.font.italic) << 33) | (uint64_t(r.font.strike) << 32) |
        r.font.color);
    mix((uint64_t(r.fill) << 32) | r.borders);
    mix((uint64_t(uint32_t(r.numFmtId)) << 32) | r.numFmt);
    return mix.h;
}

CXlsxWorkbook::StyleRecord CXlsxWorkbook::RecordOf(const XlsxStyle& style)
{
    StyleRecord r;
    r.font = style.font;
    r.fill = style.fill;
    r.numFmtId = style.numFmtId;
    const BorderSet borders{style.left,     style.right,      style.top,         style.bottom,
                            style.diagonal, style.diagonalUp, style.diagonalDown};
    auto [b, newBorders] = m_borderSetIndex.try_emplace(borders, static_cast<uint32_t>(m_borderSets.size()));
    if (newBorders)
        m_borderSets.push_back(borders);
    r.borders = b->second;
    if (m_numFmts.empty())
        m_numFmts.emplace_back();
    if (!style.numFmt.empty()) {
        auto [f, newCode] = m_numFmtIndex.try_emplace(style.numFmt, static_cast<uint32_t>(m_numFmts.size()));
        if (newCode)
            m_numFmts.push_back(style.numFmt);
        r.numFmt = f->second;
    }
    return r;
}

XlsxStyle CXlsxWorkbook::StyleOf(const StyleRecord& r) const
{
    XlsxStyle style;
    style.font = r.font;
    style.fill = r.fill;
    const BorderSet& b = m_borderSets[r.borders];
    style.left = b.left;
    style.right = b.right;
    style.top = b.top;
    style.bottom = b.bottom;
    style.diagonal = b.diagonal;
    style.diagonalUp = b.diagonalUp;
    style.diagonalDown = b.diagonalDown;
    style.numFmtId = r.numFmtId;
    style.numFmt = m_numFmts[r.numFmt];
    return style;
}

uint64_t CXlsxWorkbook::SlotOf(size_t k) const
{
    return (Spread(HashOf(m_styles[k])) & kTagMask) | (k + 1);
}

void CXlsxWorkbook::IndexStyle(size_t k)
{
    if ((k + 1) * 2 > m_styleSlots.size())
        Rehash(k + 1);
    const size_t mask = m_styleSlots.size() - 1;
    const uint64_t slot = SlotOf(k);
    size_t i = static_cast<size_t>(Spread(HashOf(m_styles[k]))) & mask;
    while (m_styleSlots[i] != 0)
        i = (i + 1) & mask;
    m_styleSlots[i] = slot;
}

void CXlsxWorkbook::Rehash(size_t count)
{
    size_t slots = 16;
    while (slots < count * 2)
        slots *= 2;
    if (slots <= m_styleSlots.size())
        return;
    // Every style goes in again.
    m_styleSlots.assign(slots, 0);
    const size_t mask = slots - 1;
    for (size_t k = 0; k < m_styles.size(); ++k) {
        size_t i = static_cast<size_t>(Spread(HashOf(m_styles[k]))) & mask;
        while (m_styleSlots[i] != 0)
            i = (i + 1) & mask;
        m_styleSlots[i] = SlotOf(k);
    }
}

void CXlsxWorkbook::ReserveStyles(size_t count)
{
    m_styles.reserve(count);
    Rehash(count);
}

int CXlsxWorkbook::AddStyle(const XlsxStyle& style)
{
    const StyleRecord record = RecordOf(style);
    return AddRecord(record, HashOf(record));
}

void CXlsxWorkbook::AddStyles(const XlsxStyle* styles, size_t count, int* indices)
{
    // The slots of a large table lie far apart in memory: each style's first slot is asked for
    // ahead of its turn, so that the waits for them overlap instead of following one another.
    constexpr size_t kAhead = 64;
    StyleRecord records[kAhead];
    size_t hashes[kAhead];
    for (size_t first = 0; first < count; first += kAhead) {
        const size_t n = std::min(kAhead, count - first);
        if ((m_styles.size() + n) * 2 > m_styleSlots.size())
            Rehash(m_styles.size() + n);
        const size_t mask = m_styleSlots.size() - 1;
        for (size_t i = 0; i < n; ++i) {
            records[i] = RecordOf(styles[first + i]);
            hashes[i] = HashOf(records[i]);
            __builtin_prefetch(&m_styleSlots[static_cast<size_t>(Spread(hashes[i])) & mask]);
        }
        for (size_t i = 0; i < n; ++i)
            indices[first + i] = AddRecord(records[i], hashes[i]);
    }
}

int CXlsxWorkbook::AddRecord(const StyleRecord& record, size_t hash)
{
    const uint64_t spread = Spread(hash);
    const uint64_t tag = spread & kTagMask;
    const size_t mask = m_styleSlots.size() - 1;
    for (size_t i = static_cast<size_t>(spread) & mask; m_styleSlots[i] != 0; i = (i + 1) & mask) {
        // The slot's part of the hash spares a look at the style itself for nearly every other style.
        if ((m_styleSlots[i] & kTagMask) != tag)
            continue;
        const size_t k = (m_styleSlots[i] & 0xFFFFFFFFull) - 1;
        if (m_styles[k] == record)
            return static_cast<int>(k);
    }
    m_styles.push_back(record);
    IndexStyle(m_styles.size() - 1);
    return static_cast<int>(m_styles.size() - 1);
}

XlsxStyle CXlsxWorkbook::GetStyle(int index) const
{
    if (index < 0 || index >= GetStyleCount())
        return StyleOf(m_styles.front());
    return StyleOf(m_styles[static_cast<size_t>(index)]);
}

bool CXlsxWorkbook::IsDateStyle(int index) const
{
    const StyleRecord& s =
        index >= 0 && index < GetStyleCount() ? m_styles[static_cast<size_t>(index)] : m_styles.front();
    if ((s.numFmtId >= 14 && s.numFmtId <= 22) || (s.numFmtId >= 45 && s.numFmtId <= 47))
        return true;
    const std::string& code = m_numFmts[s.numFmt];
    if (s.numFmtId < 164 || code.empty())
        return false;
    // A custom code is a date when it has a date or time letter outside quotes, brackets (colours,
    // conditions) and escapes.
    bool quoted = false;
    int bracket = 0;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '\\' || c == '_' || c == '*')
            ++i;
        else if (c == '[')
            ++bracket;
        else if (c == ']')
            bracket = std::max(0, bracket - 1);
        else if (bracket == 0 && std::strchr("dDmMyYhHsS", c) != nullptr)
            return true;
    }
    return false;
}

std::string CXlsxWorkbook::NumberText(double value)
{
    if (value == 0.0)
        return "0"; // no "-0"
    return Format("%.15g", value);
}

std::string CXlsxWorkbook::DateText(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0.0 || serial > 2958465.999999)
        return std::string();
    double days = std::floor(serial);
    long seconds = std::lround((serial - days) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += 1.0;
    }
    long d = static_cast<long>(days);
    int year, month, day;
    if (!date1904 && d == 60) {
        // The 1900 calendar counts a 29 February 1900 that never was.
        year = 1900, month = 2, day = 29;
    } else {
        if (!date1904 && d < 60)
            d += 1; // days before the false leap day count from 31 December 1899
        // Days since 1899-12-30 (1900 system) or 1904-01-01 to a civil date.
        long z = d + (date1904 ? 1462 : 0) - 25569 + 719468; // days since 0000-03-01 of the Unix day
        const long era = (z >= 0 ? z : z - 146096) / 146097;
        const long doe = z - era * 146097;
        const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const long mp = (5 * doy + 2) / 153;
        day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
        month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
        year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    }
    std::string text = Format("%04d-%02d-%02d", year, month, day);
    if (seconds != 0)
        text += Format(" %02ld:%02ld:%02ld", seconds / 3600, (seconds / 60) % 60, seconds % 60);
    return text;
}

std::string CXlsxWorkbook::CellText(const XlsxCell& cell) const
{
    switch (cell.type) {
    case XlsxCellType::String:
    case XlsxCellType::Error:
        return cell.text;
    case XlsxCellType::Boolean:
        return cell.number != 0.0 ? "TRUE" : "FALSE";
    case XlsxCellType::Number:
        if (IsDateStyle(cell.style)) {
            std::string date = DateText(cell.number, m_date1904);
            if (!date.empty())
                return date;
        }
        return NumberText(cell.number);
    case XlsxCellType::Empty:
        break;
    }
    return std::string();
}

namespace {
constexpr uint32_t kPalette[56] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
    0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF,
    0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
    0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966,
    0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};
} // namespace

uint32_t CXlsxWorkbook::PaletteColor(int colorIndex)
{
    return colorIndex >= 1 && colorIndex <= 56 ? kPalette[colorIndex - 1] : kXlsxNoColor;
}

int CXlsxWorkbook::PaletteIndexOf(uint32_t color)
{
    for (int i = 0; i < 56; ++i)
        if (kPalette[i] == color)
            return i + 1;
    return -1;
}
