#include "models/EnergyRatioFunction.h"

#include <vector>

#include "models/TextFields.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/GfxUtil.h"

IMPLEMENT_SERIAL(CEnergyRatioFunction, CZuFunc, 1 | VERSIONABLE_SCHEMA)

CEnergyRatioFunction::CEnergyRatioFunction(const std::string& name, const std::string& source,
                                           const std::string& target, int dataCount, CMElement* parent, int type)
    : CZuFunc(name, dataCount, parent, type), m_source(source), m_target(target)
{}

int CEnergyRatioFunction::Export(CStdioFile& file)
{
    try {
        if (!CZuFunc::Export(file))
            return 0;
        std::string line = m_source + "\t" + m_target;
        for (int b = 0; b < GetDataCount(); ++b)
            line += Format("\t%g", DataValue(b));
        file.WriteString(line + "\n");
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

int CEnergyRatioFunction::Import(CStdioFile& file)
{
    m_importError.clear();
    try {
        if (!CZuFunc::Import(file))
            return 0;
        std::string line;
        if (!file.ReadString(line)) {
            m_importError = "the line of source, target and values is missing";
            return 0;
        }
        std::vector<std::string> fields;
        std::vector<double> values;
        std::string error;
        if (!model_text::SplitFields(line, fields, error) || fields.size() < 2 ||
            !model_text::ParseValues(fields, 2, static_cast<size_t>(GetDataCount()), values, error)) {
            m_importError = Format("energy ratio \"%s\": %s", GetName().c_str(),
                                   error.empty() ? "source and target are missing" : error.c_str());
            return 0;
        }
        m_source = fields[0];
        m_target = fields[1];
        for (int b = 0; b < GetDataCount(); ++b)
            DataValue(b) = values[static_cast<size_t>(b)];
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

std::string CEnergyRatioFunction::GetTableCellData(int row, int col, int index, int digits)
{
    const int freqCount = GetTableFreqCount();
    // A plain function has one table; its index count may be given as 0.
    if (row < 0 || col < 0 || index < 0 || row >= GetTableRowCount(0) || col >= GetTableColCount(0) ||
        (freqCount > 0 ? index >= freqCount : index > 0))
        return {};
    if (row == 0)
        return col == 0 ? GetName() : std::string("Spectrum");
    if (col == 0)
        return CGfxUtil::GetManipulatedFrequencyString(DataIndex(row - 1));
    const double v = DataValue(row - 1);
    return v <= 0.0 ? std::string("---") : CGfxUtil::SciFormat(v, digits);
}

void CEnergyRatioFunction::Serialize(CArchive& ar)
{
    CZuFunc::Serialize(ar);
    if (ar.IsStoring())
        ar << m_source << m_target;
    else
        ar >> m_source >> m_target;
}
