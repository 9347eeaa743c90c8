#pragma once
// Writes a CXlsxWorkbook as an .xlsx file. The package is made in a temporary file beside the
// target, which replaces the target only when it is complete: a failed write leaves the previous
// file as it was.
#include <string>

class CXlsxWorkbook;

class CXlsxWriter
{
public:
    // False with ErrorText when the file cannot be written; a workbook without sheets gets one empty
    // sheet, as a workbook must have one.
    bool Write(const CXlsxWorkbook& workbook, const std::string& path);
    const std::string& ErrorText() const { return m_error; }

private:
    std::string m_error;
};
