#pragma once
// The spectral lines that belong to an engine order at a given speed.
#include "spectral/OrderBand.h"

class COTBandMgr
{
public:
    COTBandMgr();
    virtual ~COTBandMgr();

    void SetDf(double df) { m_df = df; }
    void SetLineCount(int count) { m_lineCount = count; }
    double GetDf() const { return m_df; }
    double GetLineCount() const { return m_lineCount; }

    // Lines of the band of width bandwidth around the order frequency, widened by whole multiples
    // of the width until it holds a line. Returns the multiple used (1 .. 99), 100.0 with count 0
    // when even that finds no line, and 0.0, leaving first and count untouched, for invalid input
    // (df, line count, rpm or bandwidth not positive, a negative order, a missing output).
    double FindOrderLines(double order, float factor, double rpm, double bandwidth, int* first, int* count) const;

private:
    double m_df = 0.0;
    double m_lineCount = 0.0;
};
