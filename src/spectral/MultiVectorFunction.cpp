#include "spectral/MultiVectorFunction.h"

#include <algorithm>

#include "common/Quantity.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/gfx/GfxUtil.h"
#include "spectral/ClipboardText.h"
#include "spectral/SpectrumDisplayOptions.h"
#include "spectral/ZuRpmFunc.h"

IMPLEMENT_SERIAL(CMultiVectorFunction, CZuVecFunc, CMultiVectorFunction::kSchema | VERSIONABLE_SCHEMA)

CMultiVectorFunction::CMultiVectorFunction() : m_list(std::make_unique<CZuSubsystemTable>()) {}

CMultiVectorFunction::CMultiVectorFunction(const std::string& name, const CZuSubsystemTable* table, int dataCount,
                                           CMElement* parent, int kind)
    : CZuVecFunc(name, table, std::max(dataCount, 0), parent, kind),
      m_list(table ? std::make_unique<CZuSubsystemTable>(*table) : std::make_unique<CZuSubsystemTable>())
{}

CMultiVectorFunction::~CMultiVectorFunction() = default;

void CMultiVectorFunction::SetColumns(const CZuSubsystemTable& table)
{
    m_list = std::make_unique<CZuSubsystemTable>(table);
    SetSubsystemTable(&table);
}

std::string CMultiVectorFunction::GetTableCellData(int row, int col, int index, int numberFormat)
{
    const int rows = GetTableRowCount(index), cols = GetTableColCount(index);
    // A function without an index list shows its one table as index 0.
    const int indexCount = std::max(GetTableFreqCount(), 1);
    if (row < 0 || col < 0 || row >= rows || col >= cols)
        return std::string();
    const int structure = SpectrumIsStructure(this, m_label);
    if (row == 0 && col == 0)
        return Format("%s [%s]", GetQuantityName(this, structure).c_str(), m_label.c_str());
    if (row == 0)
        return col - 1 < m_list->GetCount() ? m_list->At(col - 1) : GetSubsystem(col - 1);
    if (col == 0)
        return CGfxUtil::GetManipulatedFrequencyString(DataIndex(row - 1));
    if (index < 0 || index >= indexCount)
        return std::string();
    std::string text;
    FormatQuantityValue(text, this, DataValue(row - 1, col - 1), numberFormat, SpectrumShowInDB(this), structure, 0.0);
    return text;
}

void CMultiVectorFunction::CopyToClipboard(CArchive& ar, int withLabels, int index, const CZuCellRect* selection)
{
    const int digits = CZuRpmFunc::kClipboardDigits;
    const CZuCellRect block = DataBlock(index, selection);
    if (withLabels) {
        const int structure = SpectrumIsStructure(this, m_label);
        ar.WriteText(Format("%s\t%s [%s]\r\n", m_label.c_str(), GetQuantityName(this, structure).c_str(),
                            GetQuantityAxisLabel(this, SpectrumShowInDB(this), structure, 0).c_str()));
    }
    WriteBlock(ar, block, withLabels, index, digits, "RPM");
}

void CMultiVectorFunction::PasteFromClipboard(CArchive& ar, int index, const CZuCellPoint* point)
{
    std::string line;
    bool labelled = false;
    if (!CClipboardText::ReadFirstDataLine(ar, line, labelled) ||
        !CClipboardText::SkipColumnHeaderLine(ar, line, labelled, "RPM"))
        return;
    const int structure = SpectrumIsStructure(this, m_label);
    const int inDb = SpectrumShowInDB(this);
    const int rows = GetTableRowCount(index), cols = GetTableColCount(index);
    int row = point ? std::max(point->y, 1) : 1;
    do {
        if (row >= rows)
            break;
        const std::vector<std::string> fields = CClipboardText::SplitFields(line);
        int col = point ? std::max(point->x, 1) : 1;
        for (size_t f = labelled ? 1 : 0; f < fields.size() && col < cols; ++f) {
            double v = 0.0;
            if (!CClipboardText::ParseValue(fields[f], v))
                continue;
            CZuVecFunc::ChangeDataValue(row - 1, col - 1, index, DecibelToQuantityValue(this, v, inDb, structure), 1);
            ++col;
        }
        ++row;
    } while (ar.ReadLine(line));
}

void CMultiVectorFunction::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CZuVecFunc::Serialize(ar);
        ar.WriteObject(m_list.get());
        ar << m_label;
        return;
    }
    // Asked first: the parts below read other objects, which resets the schema. Without a class
    // record of our own (an embedded read) the current form is meant.
    uint32_t schema = ar.GetObjectSchema();
    if (schema == 0xFFFFFFFFu)
        schema = kSchema;
    if (schema < 1 || schema > kSchema)
        CArchive::ThrowBadSchema(Format("CMultiVectorFunction schema %u", schema));
    CZuVecFunc::Serialize(ar);
    m_list.reset();
    std::unique_ptr<CZuSubsystemTable> list = ar.ReadOwned<CZuSubsystemTable>();
    m_list = list ? std::move(list) : std::make_unique<CZuSubsystemTable>(CZuVecFunc::GetSubsystemTable());
    m_label.clear();
    if (schema >= 2)
        ar >> m_label;
    // The list names the columns; values follow it so that every named column has its values.
    if (*m_list != CZuVecFunc::GetSubsystemTable())
        SetSubsystemTable(m_list.get());
}
