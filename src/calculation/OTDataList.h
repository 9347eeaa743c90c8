#pragma once
// The rows of one order's report (owned), and the text block that the reports write of them.
#include <memory>
#include <vector>

#include "calculation/OTData.h"

class CStdioFile;

class COTDataList
{
public:
    // Appends a row (owned) and returns it.
    COTData* Add(std::unique_ptr<COTData> row);
    int GetSize() const { return static_cast<int>(m_rows.size()); }
    // Row i; null outside.
    COTData* GetAt(int i) const;
    void RemoveAll() { m_rows.clear(); }

    // "TYPE:<type>, ORDER:<order index>" of the first row and the row names as a header line,
    // then per RPM row of the first row's source the RPM and every row's value ("%.2f"), then an
    // empty line. Nothing without rows.
    void WriteBlock(CStdioFile& file) const;

private:
    std::vector<std::unique_ptr<COTData>> m_rows;
};
