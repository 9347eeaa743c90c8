#pragma once
// A measured channel as a table with a chart: one row per sample, its time in ms and its value in
// the sensor's unit. The table holds a copy of the samples taken when it was made, so the window
// over it never reads a channel that was deleted or measured again meanwhile.
#include <string>
#include <vector>

#include "platform/elements/ZuTableData.h"

class CExpData;

class CExpDataTable : public CZuTableData
{
public:
    explicit CExpDataTable(const CExpData& channel);

    // The channel the table was made from (compared, never read again).
    const CExpData* GetSource() const { return m_source; }

    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    bool GetTableCellValue(int row, int col, int index, double& value) override;
    int GetTableRowCount(int index) override;
    int GetTableColCount(int index) override;
    int GetTableFreqCount() override { return 1; }
    std::string GetFreqIndicator(int index) override;

private:
    const CExpData* m_source;
    std::vector<float> m_samples;
    double m_msPerSample = 0.0;
    std::string m_valueHeader;
};
