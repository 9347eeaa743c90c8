#pragma once
// The numbers behind table cells: what a table window charts and what a pasted text means. A cell
// of a function over subsystems shows its value in the table's units (dB or linear, as the
// function's project says); these give that number at full precision and turn a shown number back
// into the stored value.
#include <string>

class CZuTableData;
class CZuVecFunc;

class CTableNumbers
{
public:
    // True for the tables whose rows are data points over a number (a frequency, an RPM or an
    // order) with one column per subsystem: their columns chart as curves over that number.
    static bool IsChartable(const CZuTableData* table);

    // The number that cell (row, col) of a chartable table shows (row and col from 1; column 0
    // gives the row's axis value). NaN where the table shows no value; false outside the table or
    // for a table whose numbers are not known.
    static bool CellNumber(const CZuTableData* table, int row, int col, double& value);

    // The shown number of the value of subsystem k at data point i; NaN where nothing is shown.
    static double ShownValue(const CZuVecFunc& function, int i, int k);
    // The stored value of a shown number (the inverse of ShownValue).
    static double StoredValue(const CZuVecFunc& function, double shown);

    // The subsystem whose quantity the function holds (structure or cavity units); empty when the
    // function does not say.
    static std::string SubsystemLabel(const CZuTableData* table);
};
