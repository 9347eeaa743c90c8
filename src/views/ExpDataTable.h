#pragma once
// A measured channel as a table with a chart: one row per sample, its time in ms and its value in
// the sensor's unit. The table holds a copy of the samples taken when it was made, so the window
// over it never reads a channel that was deleted or measured again meanwhile.
#include <string>
#include <vector>

#include "platform/elements/ZuVecFunc.h"

class CExpDataTable : public CZuVecFunc
{
public:
    // name: the channel's; unit: its samples' unit (empty when unknown); a sampling frequency of 0
    // numbers the samples instead of timing them.
    CExpDataTable(const std::string& name, const std::string& unit, float samplingFrequency,
                  const std::vector<float>& samples);

    const std::string& GetUnit() const { return m_unit; }
    // The row axis: "Time [ms]", or "Sample" without a sampling frequency.
    const std::string& GetAxisLabel() const { return m_axis; }

    std::string GetTableCellData(int row, int col, int index, int numberFormat) override;
    int GetTableFreqCount() override { return 1; }
    std::string GetFreqIndicator(int index) override;

private:
    std::string m_unit;
    std::string m_axis;
};
