#pragma once
// Reads an .xlsx workbook (a zip package of XML parts) into a CXlsxWorkbook. Every file is
// untrusted: each part is read with a size bound whatever its zip entry claims (zip bombs), the
// number of cells and sheets is bounded, cell addresses outside the sheet range and references to
// missing strings or styles are refused, and XML that does not parse is refused. Each refusal is a
// false result with a message naming the file and the part; nothing is kept of a refused workbook.
// Binary .xls workbooks are refused with a message that asks for .xlsx.
#include <cstddef>
#include <string>

#include "platform/excel/XlsxWorkbook.h"

struct XlsxReadLimits
{
    size_t maxPartBytes = size_t(32) << 20;   // one XML part, uncompressed
    size_t maxTotalBytes = size_t(192) << 20; // all parts together, uncompressed
    size_t maxCells = 2000000;                // in the whole workbook
    int maxSheets = 1024;
};

class CXlsxReader
{
public:
    explicit CXlsxReader(XlsxReadLimits limits = {}) : m_limits(limits) {}

    // Reads the file into workbook (replacing what it held). False with ErrorText on any refusal;
    // workbook is then left empty.
    bool ReadFile(const std::string& path, CXlsxWorkbook& workbook);
    // The same from bytes in memory; name stands for the file in messages.
    bool ReadMemory(const void* data, size_t size, CXlsxWorkbook& workbook, const std::string& name = "workbook");

    const std::string& ErrorText() const { return m_error; }

    // Whether bytes begin like a binary (compound document) workbook.
    static bool LooksLikeBinaryWorkbook(const void* data, size_t size);
    // The message for a binary .xls workbook.
    static std::string BinaryWorkbookMessage(const std::string& path);

private:
    XlsxReadLimits m_limits;
    std::string m_error;
};
