#include "views/ExpDataTable.h"

#include "platform/base/Format.h"

CExpDataTable::CExpDataTable(const std::string& name, const std::string& unit, float samplingFrequency,
                             const std::vector<float>& samples)
    : CZuVecFunc(name, {unit.empty() ? name : Format("%s [%s]", name.c_str(), unit.c_str())},
                 static_cast<int>(samples.size()), nullptr, -1),
      m_unit(unit), m_axis(samplingFrequency > 0.0f ? "Time [ms]" : "Sample")
{
    const double step = samplingFrequency > 0.0f ? 1000.0 / samplingFrequency : 1.0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const int at = static_cast<int>(i);
        DataIndex(at) = samplingFrequency > 0.0f ? static_cast<double>(i) * step : static_cast<double>(i + 1);
        DataValue(at, 0) = samples[i];
    }
    SetTableDataType(TABLE_WITH_GRAPH);
    SetCanChangeValues(0);
}

std::string CExpDataTable::GetTableCellData(int row, int col, int index, int numberFormat)
{
    if (row == 0 && col == 0)
        return m_axis;
    if (row >= 1 && row <= GetDataCount() && col == 0)
        return m_axis == "Sample" ? Format("%d", row) : Format("%.3f", DataIndex(row - 1));
    if (row >= 1 && row <= GetDataCount() && col == 1)
        return Format("%g", DataValue(row - 1, 0));
    return CZuVecFunc::GetTableCellData(row, col, index, numberFormat);
}

std::string CExpDataTable::GetFreqIndicator(int)
{
    return GetName();
}
