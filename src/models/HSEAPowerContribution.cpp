#include "models/HSEAPowerContribution.h"

#include <cmath>

#include "models/ModelStrings.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

IMPLEMENT_SERIAL(CHSEAPowerContribution, CZuFuncElement, 2)

const float CHSEAPowerContribution::kPalette[16][3] = {
    {0.0f, 0.0f, 1.0f},  {0.0f, 0.26f, 1.0f}, {0.0f, 0.53f, 1.0f}, {0.0f, 0.8f, 1.0f},
    {0.0f, 1.0f, 0.94f}, {0.0f, 1.0f, 0.68f}, {0.0f, 1.0f, 0.39f}, {0.0f, 1.0f, 0.13f},
    {0.13f, 1.0f, 0.0f}, {0.39f, 1.0f, 0.0f}, {0.68f, 1.0f, 0.0f}, {0.94f, 1.0f, 0.0f},
    {1.0f, 0.8f, 0.0f},  {1.0f, 0.53f, 0.0f}, {1.0f, 0.26f, 0.0f}, {1.0f, 0.0f, 0.0f},
};

namespace {
// A band frequency as the clipboard header shows it: "%3.3f" without trailing zeros (and without
// the point when nothing follows it): 31.5, 100, 1250, 12.5.
std::string HeaderFrequency(double f)
{
    std::string text = Format("%3.3f", f);
    const size_t point = text.find('.');
    if (point != std::string::npos) {
        while (text.size() > point + 1 && text.back() == '0')
            text.pop_back();
        if (text.size() == point + 1)
            text.pop_back();
    }
    return text;
}
} // namespace

CHSEAPowerContribution::CHSEAPowerContribution() : CZuFuncElement("", 0, nullptr, ElementType::PowerContribution)
{
    SetTableDataType(TABLE_BY_INDEX);
}

CHSEAPowerContribution::CHSEAPowerContribution(const std::string& target, const CZuSubsystemTable* table, int bandCount)
    : CZuFuncElement(ModelFormat(IDS_POWER_CONTRIBUTION_NAME, "Power Contribution [%s]", target.c_str()), 0, nullptr,
                     ElementType::PowerContribution),
      m_table(table), m_n(table ? static_cast<uint32_t>(table->GetCount()) : 0)
{
    SetTableDataType(TABLE_BY_INDEX);
    SetDataCount(bandCount);
    Allocate();
}

CHSEAPowerContribution::~CHSEAPowerContribution() = default;

void CHSEAPowerContribution::Allocate()
{
    AllocateCells();
    AllocateSums();
}

void CHSEAPowerContribution::AllocateCells()
{
    const size_t bands = static_cast<size_t>(GetDataCount()), rows = static_cast<size_t>(m_n) + 1;
    for (auto& c : m_cells)
        c.assign(bands * rows, 0.0);
}

void CHSEAPowerContribution::AllocateSums()
{
    const size_t bands = static_cast<size_t>(GetDataCount()), rows = static_cast<size_t>(m_n) + 1;
    m_inTotal.assign(bands, 0.0);
    m_outTotal.assign(bands, 0.0);
    m_inList.assign(bands, std::vector<int>(rows, -1));
    m_outList.assign(bands, std::vector<int>(rows, -1));
    m_inCount.assign(bands, 0);
    m_outCount.assign(bands, 0);
}

void CHSEAPowerContribution::OnDataCountChanged(int oldCount)
{
    CZuFuncElement::OnDataCountChanged(oldCount);
    Allocate();
}

bool CHSEAPowerContribution::Inside(int band, int row, int column) const
{
    return band >= 0 && band < GetDataCount() && row >= 0 && row <= static_cast<int>(m_n) && column >= 0 && column < 3;
}

void CHSEAPowerContribution::EnsureRates() const
{
    // Only read tables wait: the object itself is never const, so the rates may be made here.
    if (m_ratesStale)
        const_cast<CHSEAPowerContribution*>(this)->RecomputeRates(-1);
}

double& CHSEAPowerContribution::CellValue(int band, int row, int column)
{
    // A cell written through this reference must land on rates that are already whole.
    EnsureRates();
    if (!Inside(band, row, column)) {
        m_scratch = 0.0;
        return m_scratch;
    }
    return m_cells[column][static_cast<size_t>(band) * (m_n + 1) + static_cast<size_t>(row)];
}

double CHSEAPowerContribution::CellValue(int band, int row, int column) const
{
    if (column == COL_RATE)
        EnsureRates();
    if (!Inside(band, row, column))
        return 0.0;
    return m_cells[column][static_cast<size_t>(band) * (m_n + 1) + static_cast<size_t>(row)];
}

std::string CHSEAPowerContribution::GetRowName(int row) const
{
    if (row == static_cast<int>(m_n))
        return ModelText(IDS_BALANCE_ENTRY, "(balance)");
    if (row < 0 || row > static_cast<int>(m_n) || !m_table || row >= m_table->GetCount())
        return {};
    return (*m_table)[row];
}

int CHSEAPowerContribution::GetIndexAt(int band, int entry) const
{
    EnsureRates();
    if (band < 0 || band >= GetDataCount() || entry < 0 || entry > static_cast<int>(m_n))
        return -1;
    return m_inList[static_cast<size_t>(band)][static_cast<size_t>(entry)];
}

int CHSEAPowerContribution::GetOutflowIndexAt(int band, int entry) const
{
    EnsureRates();
    if (band < 0 || band >= GetDataCount() || entry < 0 || entry > static_cast<int>(m_n))
        return -1;
    return m_outList[static_cast<size_t>(band)][static_cast<size_t>(entry)];
}

double CHSEAPowerContribution::GetInflowTotal(int band) const
{
    EnsureRates();
    return band >= 0 && band < GetDataCount() ? m_inTotal[static_cast<size_t>(band)] : 0.0;
}

double CHSEAPowerContribution::GetOutflowTotal(int band) const
{
    EnsureRates();
    return band >= 0 && band < GetDataCount() ? m_outTotal[static_cast<size_t>(band)] : 0.0;
}

int CHSEAPowerContribution::GetInflowCount(int band) const
{
    EnsureRates();
    return band >= 0 && band < GetDataCount() ? m_inCount[static_cast<size_t>(band)] : 0;
}

int CHSEAPowerContribution::GetOutflowCount(int band) const
{
    EnsureRates();
    return band >= 0 && band < GetDataCount() ? m_outCount[static_cast<size_t>(band)] : 0;
}

void CHSEAPowerContribution::RecomputeRates(int band)
{
    // One band's rates on a table just read stand on every band's rates made first, as they were
    // when the read made them.
    const bool stale = m_ratesStale;
    m_ratesStale = false;
    if (stale && band >= 0)
        RecomputeRates(-1);
    const int bands = GetDataCount();
    // A table read from a file has its cells only.
    if (m_inTotal.size() != static_cast<size_t>(bands))
        AllocateSums();
    const int rows = static_cast<int>(m_n) + 1;
    for (int b = 0; b < bands; ++b) {
        const auto B = static_cast<size_t>(b);
        m_inTotal[B] = m_outTotal[B] = 0.0;
        m_inCount[B] = m_outCount[B] = 0;
        if (band >= 0 && b != band)
            continue;
        for (int r = 0; r < rows; ++r) {
            const double v = CellValue(b, r, COL_POWER);
            if (v > 0) {
                m_inTotal[B] += v;
                ++m_inCount[B];
            } else if (v < 0) {
                m_outTotal[B] += -v;
                ++m_outCount[B];
            }
        }
        const double d = m_inTotal[B] > m_outTotal[B] ? m_inTotal[B] : m_outTotal[B];
        if (d != 0.0)
            for (int r = 0; r < rows; ++r)
                CellValue(b, r, COL_RATE) = CellValue(b, r, COL_POWER) * 100.0 / d;
    }
    // Lists of every band, from the powers as they are: ranked by a selection sort that keeps the
    // first of equal values first.
    for (int b = 0; b < bands; ++b) {
        auto& in = m_inList[static_cast<size_t>(b)];
        auto& out = m_outList[static_cast<size_t>(b)];
        in.assign(static_cast<size_t>(rows), -1);
        out.assign(static_cast<size_t>(rows), -1);
        size_t ni = 0, no = 0;
        for (int r = 0; r < rows; ++r) {
            const double v = CellValue(b, r, COL_POWER);
            if (v > 0)
                in[ni++] = r;
            else if (v < 0)
                out[no++] = r;
        }
        auto rank = [&](std::vector<int>& list, size_t count, bool descending) {
            for (size_t i = 0; i < count; ++i) {
                size_t best = i;
                for (size_t j = i + 1; j < count; ++j) {
                    const double vj = CellValue(b, list[j], COL_POWER), vb = CellValue(b, list[best], COL_POWER);
                    if (descending ? vj > vb : vj < vb)
                        best = j;
                }
                std::swap(list[i], list[best]);
            }
        };
        rank(in, ni, true);
        rank(out, no, false);
    }
}

int CHSEAPowerContribution::ColorIndex(int band, int entry, bool inflow) const
{
    const int k = inflow ? GetIndexAt(band, entry) : GetOutflowIndexAt(band, entry);
    const int k0 = inflow ? GetIndexAt(band, 0) : GetOutflowIndexAt(band, 0);
    if (k < 0 || k0 < 0)
        return 0;
    const double first = std::fabs(CellValue(band, k0, COL_RATE));
    if (first == 0.0)
        return 0;
    const int index = static_cast<int>(std::fabs(CellValue(band, k, COL_RATE)) * 15.0 / first);
    return index < 0 ? 0 : (index > 15 ? 15 : index);
}

COLORREF CHSEAPowerContribution::GetTableCellColor(int row, int col, int index)
{
    if (row < 1 || (col != 3 && col != 6) || index < 0 || index >= GetDataCount())
        return 0;
    const bool inflow = col == 3;
    if ((inflow ? GetIndexAt(index, row - 1) : GetOutflowIndexAt(index, row - 1)) < 0)
        return 0;
    const float* c = kPalette[ColorIndex(index, row - 1, inflow)];
    return RGB(static_cast<uint8_t>(c[0] * 255), static_cast<uint8_t>(c[1] * 255), static_cast<uint8_t>(c[2] * 255));
}

void CHSEAPowerContribution::GetSelection(int row, int col, int index, CZuSubsystemTable* table)
{
    if (!table)
        return;
    const std::string name = GetTableCellData(row, col, index, 2);
    if (!name.empty())
        table->AddUnique(name);
}

void CHSEAPowerContribution::ColorModelSubsystems(int row, int col, int band, C3DModelDoc* model) const
{
    if (!model || band < 0 || band >= GetDataCount())
        return;
    auto plain = [](std::string name) {
        CGfxUtil::RemoveWaveSign(name);
        return name;
    };
    if (col == 1 || col == 4) {
        const int k = col == 1 ? GetIndexAt(band, row - 1) : GetOutflowIndexAt(band, row - 1);
        const std::string name = k >= 0 ? GetRowName(k) : std::string();
        if (!name.empty()) {
            const float* c = kPalette[15];
            model->ColorSubsystem(plain(name), c[0], c[1], c[2]);
        }
        return;
    }
    if (col < 2 || col > 6)
        return;
    const bool inflow = col == 2 || col == 3;
    const int count = inflow ? GetInflowCount(band) : GetOutflowCount(band);
    for (int e = 0; e < count; ++e) {
        const int k = inflow ? GetIndexAt(band, e) : GetOutflowIndexAt(band, e);
        const std::string name = GetRowName(k);
        const int wave = CGfxUtil::GetWaveType(name, 1);
        if (name.empty() || (wave != CGfxUtil::WAVE_FLEXURAL && wave != CGfxUtil::WAVE_ACOUSTIC))
            continue;
        const float* c = kPalette[ColorIndex(band, e, inflow)];
        model->ColorSubsystem(plain(name), c[0], c[1], c[2]);
    }
}

int CHSEAPowerContribution::GetTableRowCount(int index)
{
    const int in = GetInflowCount(index), out = GetOutflowCount(index);
    return (in > out ? in : out) + 2;
}

std::string CHSEAPowerContribution::GetFreqIndicator(int index)
{
    return index >= 0 && index < GetDataCount() ? CGfxUtil::GetManipulatedFrequencyString(DataIndex(index))
                                                : std::string();
}

std::string CHSEAPowerContribution::GetShownTableCell(int row, int col, int index, int numberFormat)
{
    std::string text = CZuTableData::GetShownTableCell(row, col, index, numberFormat);
    const bool totals = row > 0 && row == GetTableRowCount(index) - 1 && (col == 1 || col == 4);
    return totals ? TranslateText(text) : text;
}

std::string CHSEAPowerContribution::GetTableCellData(int row, int col, int index, int numberFormat)
{
    if (index < 0 || index >= GetDataCount() || col < 0 || col > 6)
        return {};
    const int rows = GetTableRowCount(index);
    if (row == 0) {
        static const char* const headers[7] = {nullptr,       "Flow in from",      "Inflow Power (W)", "Rate (%)",
                                               "Flow out to", "Outflow Power (W)", "Rate (%)"};
        return col == 0 ? CGfxUtil::GetManipulatedFrequencyString(DataIndex(index)) : headers[col];
    }
    if (row == rows - 1) {
        switch (col) {
        case 1:
            return "<<Inflow>>";
        case 2:
            return CGfxUtil::SciFormat(GetInflowTotal(index), numberFormat);
        case 4:
            return "<<Outflow>>";
        case 5:
            return CGfxUtil::SciFormat(GetOutflowTotal(index), numberFormat);
        default:
            return {};
        }
    }
    if (row < 0 || row >= rows)
        return {};
    if (col == 0)
        return Format("%d", row);
    const bool inflow = col <= 3;
    const int k = inflow ? GetIndexAt(index, row - 1) : GetOutflowIndexAt(index, row - 1);
    if (k < 0)
        return {};
    const double power = CellValue(index, k, COL_POWER), leak = CellValue(index, k, COL_LEAK);
    const double rate = CellValue(index, k, COL_RATE);
    switch (col) {
    case 1:
    case 4:
        return GetRowName(k);
    case 2: {
        std::string text = CGfxUtil::SciFormat(power - leak, numberFormat);
        if (leak > 0)
            text += " + " + CGfxUtil::SciFormat(leak, numberFormat);
        return text;
    }
    case 5: {
        std::string text = CGfxUtil::SciFormat(std::fabs(power) - std::fabs(leak), numberFormat);
        if (std::fabs(leak) > 0)
            text += " + " + CGfxUtil::SciFormat(std::fabs(leak), numberFormat);
        return text;
    }
    case 3:
        return CGfxUtil::GenFormat(rate, numberFormat);
    case 6:
        return CGfxUtil::GenFormat(std::fabs(rate), numberFormat);
    default:
        return {};
    }
}

std::string CHSEAPowerContribution::ClipboardText() const
{
    std::string text;
    for (int b = 0; b < GetDataCount(); ++b) {
        if (b > 0)
            text += "\n\n";
        text += Format("%s\tPower(W)\tLeak(W)\tRate(%%)", HeaderFrequency(DataIndex(b)).c_str());
        for (int r = 0; r < static_cast<int>(m_n); ++r) {
            const double power = CellValue(b, r, COL_POWER), leak = CellValue(b, r, COL_LEAK);
            const double d = power - leak;
            if (!(std::fabs(d) > 0))
                continue;
            text += "\n" + GetRowName(r);
            if (leak == 0)
                text += Format("\t%e\t\t%e", d, CellValue(b, r, COL_RATE));
            else
                text += Format("\t%e\t%e\t%e", d, leak, CellValue(b, r, COL_RATE));
        }
    }
    return text + "\n";
}

void CHSEAPowerContribution::CopyToClipboard(CArchive& ar, int, int, const CZuCellRect*)
{
    ar.WriteText(ClipboardText());
}

void CHSEAPowerContribution::Serialize(CArchive& ar)
{
    CZuFuncElement::Serialize(ar);
    const size_t bands = static_cast<size_t>(GetDataCount());
    if (ar.IsStoring()) {
        ar << m_n;
        for (int c = COL_POWER; c <= COL_LEAK; ++c)
            for (double v : m_cells[c])
                ar << v;
        return;
    }
    // Two columns of (N + 1) doubles per band follow.
    const uint64_t perRow = 2 * sizeof(double) * (bands > 0 ? bands : 1);
    uint32_t n = 0;
    ar >> n;
    if (n >= ar.BytesRemaining() / perRow)
        CArchive::Throw(CArchiveException::endOfFile,
                        Format("power contribution of %u rows needs more than the bytes left", n));
    m_n = n;
    m_table = nullptr;
    AllocateCells();
    for (int c = COL_POWER; c <= COL_LEAK; ++c)
        for (double& v : m_cells[c])
            ar >> v;
    // Rates, totals and lists are made when first asked for: a project holds many of these tables
    // and its read should not rank every band of every one of them.
    m_ratesStale = true;
}
