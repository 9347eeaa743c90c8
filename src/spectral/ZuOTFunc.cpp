#include "spectral/ZuOTFunc.h"

#include <cmath>

#include "common/Quantity.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "spectral/BandSetOwner.h"
#include "spectral/ClipboardText.h"
#include "spectral/OrderBand.h"
#include "spectral/OrderMapArchive.h"
#include "spectral/SpectrumDisplayOptions.h"

IMPLEMENT_SERIAL(CZuOTFunc, CZuTableData, 2 | VERSIONABLE_SCHEMA)

namespace {
// Column header of an order: the language module's format with the order.
std::string OrderHeader(double order)
{
    std::string text = FormatString(IDS_ORDER_NAME, order);
    return text.empty() ? Format("Order %g", order) : text;
}
} // namespace

CZuOTFunc::CZuOTFunc() : CZuOTFunc(std::string(), nullptr, -1) {}

CZuOTFunc::CZuOTFunc(const std::string& name, CMElement* parent, int kind) : CZuTableData(name, parent, kind) {}

CZuOTFunc::~CZuOTFunc() = default;

std::unique_ptr<CZuOTFunc> CZuOTFunc::BuildOTFunc(const std::string& name, int kind, CMElement* parent,
                                                  const std::string& subsystem, const double* freqs, int freqCount,
                                                  const double* rpms, int rpmCount, const std::vector<double>& orders,
                                                  float factor)
{
    auto map = std::make_unique<CZuOTFunc>(name, parent, kind);
    map->SetSubsystem(subsystem);
    map->SetOrderFactor(factor);
    for (double order : orders) {
        std::unique_ptr<CZuRpmFunc> rpmMap =
            CZuRpmFunc::NewRpmFunc(name, kind, parent, subsystem, freqs, freqCount, rpms, rpmCount);
        if (!rpmMap)
            return nullptr; // a positive count without its array
        map->AddOrder(order, std::move(rpmMap));
    }
    return map;
}

bool CZuOTFunc::AddOrder(double order, CZuRpmFunc* map)
{
    return AddOrder(order, std::unique_ptr<CZuRpmFunc>(map));
}

bool CZuOTFunc::AddOrder(double order, std::unique_ptr<CZuRpmFunc> map)
{
    if (!map)
        return false;
    map->SetParent(this);
    m_orders.push_back(order);
    m_maps.push_back(std::move(map));
    return true;
}

CZuRpmFunc* CZuOTFunc::GetOrderFunc(int i) const
{
    return i >= 0 && static_cast<size_t>(i) < m_maps.size() ? m_maps[static_cast<size_t>(i)].get() : nullptr;
}

CZuRpmFunc* CZuOTFunc::GetRpmFuncByOrder(double order) const
{
    for (size_t i = 0; i < m_orders.size(); ++i)
        if (m_orders[i] == order)
            return m_maps[i].get();
    return nullptr;
}

COctaveManagerEx* CZuOTFunc::GetOctaveManager() const
{
    IBandSetOwner* owner = IBandSetOwner::FindOwner(GetParent());
    return owner ? owner->GetOctaveManager() : nullptr;
}

int CZuOTFunc::OrderBand(int i, int r, COctaveManagerEx* bands) const
{
    const CZuRpmFunc* map = GetOrderFunc(i);
    if (!bands || !map || r < 0 || r >= map->GetRpmCount())
        return -1;
    const int band = GetOrderBandIndexInt(map->GetRpm(r), m_orders[static_cast<size_t>(i)], m_factor, bands);
    return band < map->GetFreqCount() ? band : -1;
}

double CZuOTFunc::CellValue(int i, int r, COctaveManagerEx* bands) const
{
    const int band = OrderBand(i, r, bands);
    if (band < 0)
        return HUGE_VAL;
    return GetOrderFunc(i)->DataValue(r, band);
}

// ---- table ----

COLORREF CZuOTFunc::GetTableCellColor(int, int, int)
{
    return 0;
}

void CZuOTFunc::GetSelection(int, int, int, CZuSubsystemTable*) {}

void CZuOTFunc::ChangeDataValue(int, int, int, double, int) {}

int CZuOTFunc::GetTableRowCount(int)
{
    // A map without orders has only its header row.
    const CZuRpmFunc* first = GetOrderFunc(0);
    return (first ? first->GetRpmCount() : 0) + 1;
}

int CZuOTFunc::GetTableColCount(int)
{
    return GetOrderCount() + 1;
}

int CZuOTFunc::GetTableFreqCount()
{
    return 0;
}

std::string CZuOTFunc::GetFreqIndicator(int)
{
    return std::string();
}

std::string CZuOTFunc::GetTableCellData(int row, int col, int index, int numberFormat)
{
    const int structure = SpectrumIsStructure(this, m_subsystem);
    if (row < 0 || col < 0 || row >= GetTableRowCount(index) || col >= GetTableColCount(index))
        return std::string();
    if (row == 0 && col == 0)
        return Format("%s [%s]", GetQuantityName(this, structure).c_str(), m_subsystem.c_str());
    if (row == 0)
        return OrderHeader(GetOrder(col - 1));
    const int r = row - 1;
    if (col == 0)
        return CGfxUtil::GetManipulatedFrequencyString(GetOrderFunc(0)->GetRpm(r));
    const double value = CellValue(col - 1, r, GetOctaveManager());
    std::string text;
    FormatQuantityValue(text, this, value, numberFormat, SpectrumShowInDB(this), structure, 0.0);
    return text;
}

void CZuOTFunc::CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection)
{
    CopySelection(ar, withLabels, index, selection, CZuRpmFunc::kClipboardDigits,
                  withLabels ? SpectrumTitleLine(this, m_subsystem) : std::string());
}

void CZuOTFunc::PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point)
{
    if (!point)
        return;
    std::string line;
    bool labelled = false;
    if (!CClipboardText::ReadFirstDataLine(ar, line, labelled) ||
        !CClipboardText::SkipColumnHeaderLine(ar, line, labelled, GetTableCellData(0, 0, index, 0)))
        return;
    COctaveManagerEx* bands = GetOctaveManager();
    const int structure = SpectrumIsStructure(this, m_subsystem);
    const int inDb = SpectrumShowInDB(this);
    const int lastRow = GetTableRowCount(-1) - 1; // data rows 0 .. lastRow - 1
    int r = std::max(point->y - 1, 0);
    do {
        if (r >= lastRow)
            break;
        const std::vector<std::string> fields = CClipboardText::SplitFields(line);
        int c = std::max(point->x - 1, 0);
        for (size_t f = labelled ? 1 : 0; f < fields.size() && c < GetOrderCount(); ++f) {
            double v = 0.0;
            if (!CClipboardText::ParseValue(fields[f], v))
                continue; // a word does not take a column
            const int band = OrderBand(c, r, bands);
            if (band >= 0)
                GetOrderFunc(c)->DataValue(r, band) = DecibelToQuantityValue(this, v, inDb, structure);
            ++c;
        }
        ++r;
    } while (ar.ReadLine(line));
}

int CZuOTFunc::WriteDump(CStdioFile& file, const std::string&)
{
    file.WriteString(Format("%s\n", m_subsystem.c_str()));
    for (size_t i = 0; i < m_maps.size(); ++i) {
        const CZuRpmFunc& map = *m_maps[i];
        std::string line = Format("%d", static_cast<int>(i + 1));
        for (int k = 0; k < map.GetFreqCount(); ++k)
            line += Format("\t%g", map.GetFreq(k));
        file.WriteString(line + "\n");
        for (int r = 0; r < map.GetRpmCount(); ++r) {
            line = Format("%g", map.GetRpm(r));
            const CZuFunc* row = map.GetRowFunc(r);
            for (int k = 0; k < row->GetDataCount(); ++k)
                line += Format("\t%e", static_cast<const CZuFunc*>(row)->DataValue(k));
            file.WriteString(line + "\n");
        }
        file.WriteString("\n");
    }
    return 1;
}

// ---- persistence ----

void CZuOTFunc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CZuTableData::Serialize(ar);
        order_map_archive::Store(ar, m_orders, m_maps, m_subsystem, m_factor);
        return;
    }
    // Asked first: reading the parts below reads other objects, which resets the schema.
    const uint32_t schema = ar.GetObjectSchema();
    if (schema != 0xFFFFFFFFu && schema < kOldestSchema)
        CArchive::ThrowBadSchema(Format("CZuOTFunc schema %u", schema));
    CZuTableData::Serialize(ar);
    order_map_archive::Load(
        ar, this, "maps in an order map", [](CArchive& a) { return a.ReadOwned<CZuRpmFunc>(); }, m_orders, m_maps,
        m_subsystem, m_factor);
}
