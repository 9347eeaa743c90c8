#include "platform/elements/ZuRpmSelFunc.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/SchemaGuard.h"

IMPLEMENT_SERIAL(CZuRpmSelFunc, CZuTableData, 1)

namespace {
constexpr uint8_t kRpmSelVersion = 1;
}

CZuRpmSelFunc::CZuRpmSelFunc() = default;

CZuRpmSelFunc::CZuRpmSelFunc(const std::string& name, CMElement* parent, int type) : CZuTableData(name, parent, type) {}

CZuRpmSelFunc::~CZuRpmSelFunc() = default;

int CZuRpmSelFunc::AddRpmData(double rpm, std::unique_ptr<CZuTableData> data)
{
    if (!data)
        return -1;
    data->SetParent(this);
    m_entries.push_back({rpm, std::move(data)});
    return GetRpmCount() - 1;
}

int CZuRpmSelFunc::AddRpmData(double rpm, CZuTableData* data)
{
    return AddRpmData(rpm, std::unique_ptr<CZuTableData>(data));
}

double CZuRpmSelFunc::GetRpm(int i) const
{
    return i >= 0 && i < GetRpmCount() ? m_entries[static_cast<size_t>(i)].rpm : 0.0;
}

CZuTableData* CZuRpmSelFunc::GetRpmData(int i) const
{
    return i >= 0 && i < GetRpmCount() ? m_entries[static_cast<size_t>(i)].data.get() : nullptr;
}

int CZuRpmSelFunc::FindRpmIndex(double rpm) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].rpm == rpm)
            return static_cast<int>(i);
    return -1;
}

void CZuRpmSelFunc::RemoveAllRpmData()
{
    m_entries.clear();
}

COLORREF CZuRpmSelFunc::GetTableCellColor(int row, int col, int index)
{
    CZuTableData* t = GetRpmData(0);
    return t ? t->GetTableCellColor(row, col, index) : 0;
}

void CZuRpmSelFunc::GetSelection(int row, int col, int index, CZuSubsystemTable* table)
{
    if (CZuTableData* t = GetRpmData(0))
        t->GetSelection(row, col, index, table);
}

void CZuRpmSelFunc::ChangeDataValue(int row, int col, int index, double value, int flag)
{
    if (CZuTableData* t = GetRpmData(0))
        t->ChangeDataValue(row, col, index, value, flag);
}

void CZuRpmSelFunc::CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection)
{
    if (CZuTableData* t = GetRpmData(0))
        t->CopyToClipboard(ar, withLabels, index, selection);
}

void CZuRpmSelFunc::PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point)
{
    if (CZuTableData* t = GetRpmData(0))
        t->PasteFromClipboard(ar, index, point);
}

std::string CZuRpmSelFunc::GetTableCellData(int row, int col, int index, int numberFormat)
{
    CZuTableData* t = GetRpmData(0);
    return t ? t->GetTableCellData(row, col, index, numberFormat) : std::string();
}

std::string CZuRpmSelFunc::GetShownTableCell(int row, int col, int index, int numberFormat)
{
    CZuTableData* t = GetRpmData(0);
    return t ? t->GetShownTableCell(row, col, index, numberFormat) : std::string();
}

int CZuRpmSelFunc::GetTableRowCount(int index)
{
    CZuTableData* t = GetRpmData(0);
    return t ? t->GetTableRowCount(index) : 0;
}

int CZuRpmSelFunc::GetTableColCount(int index)
{
    CZuTableData* t = GetRpmData(0);
    return t ? t->GetTableColCount(index) : 0;
}

int CZuRpmSelFunc::GetTableFreqCount()
{
    CZuTableData* t = GetRpmData(0);
    return t ? t->GetTableFreqCount() : 0;
}

std::string CZuRpmSelFunc::GetFreqIndicator(int index)
{
    CZuTableData* t = GetRpmData(0);
    return t ? t->GetFreqIndicator(index) : std::string();
}

void CZuRpmSelFunc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kRpmSelVersion;
        CZuTableData::Serialize(ar);
        ar.WriteCount(static_cast<uint32_t>(m_entries.size()));
        // The tables per RPM are parts of the function, not nodes of the tree that a save's
        // progress counts.
        CQuietStore quiet;
        for (const Entry& e : m_entries) {
            ar << e.rpm;
            ar.WriteObject(e.data.get());
        }
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kRpmSelVersion)
        CArchive::ThrowBadSchema(Format("RPM selection version %u", static_cast<unsigned>(version)));
    CSchemaGuard schema(ar);
    CZuTableData::Serialize(ar);
    uint32_t count = ar.ReadCount(8 + 2); // an RPM and at least an object tag
    std::vector<Entry> entries;
    entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        double rpm = 0.0;
        ar >> rpm;
        std::unique_ptr<CZuTableData> data = ar.ReadOwned<CZuTableData>();
        if (!data)
            continue; // an entry without a table shows nothing
        data->SetParent(this);
        entries.push_back({rpm, std::move(data)});
    }
    m_entries = std::move(entries);
}
