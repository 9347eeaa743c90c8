#include "experiments/ExpDataTable.h"

#include "common/Quantity.h"
#include "experiments/ExpData.h"
#include "experiments/SensorInfo.h"
#include "platform/base/Format.h"

CExpDataTable::CExpDataTable(const CExpData& channel)
    : CZuTableData(channel.GetName(), nullptr, -1), m_source(&channel),
      m_samples(channel.GetSamples().begin(), channel.GetSamples().end())
{
    const float fs = channel.GetSamplingFrequency();
    m_msPerSample = fs > 0.0f ? 1000.0 / fs : 0.0;
    tagSENSORINFO info;
    const std::string unit =
        channel.GetSensorInfo(info) ? GetQuantityUnitName(info.ChannelInfo.DataType, info.ChannelInfo.Unit) : "";
    m_valueHeader = unit.empty() ? channel.GetName() : Format("%s [%s]", channel.GetName().c_str(), unit.c_str());
    SetTableDataType(TABLE_WITH_GRAPH);
    SetCanChangeValues(0);
}

std::string CExpDataTable::GetTableCellData(int row, int col, int index, int)
{
    if (row < 0 || row >= GetTableRowCount(index) || col < 0 || col > 1)
        return {};
    if (row == 0)
        return col == 0 ? (m_msPerSample > 0.0 ? "Time [ms]" : "Sample") : m_valueHeader;
    const int i = row - 1;
    if (col == 0)
        return m_msPerSample > 0.0 ? Format("%.3f", i * m_msPerSample) : Format("%d", row);
    return Format("%g", static_cast<double>(m_samples[static_cast<size_t>(i)]));
}

bool CExpDataTable::GetTableCellValue(int row, int col, int index, double& value)
{
    if (col != 1 || row < 1 || row >= GetTableRowCount(index))
        return false;
    value = m_samples[static_cast<size_t>(row - 1)];
    return true;
}

int CExpDataTable::GetTableRowCount(int)
{
    return static_cast<int>(m_samples.size()) + 1;
}

int CExpDataTable::GetTableColCount(int)
{
    return 2;
}

std::string CExpDataTable::GetFreqIndicator(int)
{
    return GetName();
}
