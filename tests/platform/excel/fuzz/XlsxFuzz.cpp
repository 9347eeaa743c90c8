// libFuzzer target: any bytes read as a workbook end in a workbook or a message, never a crash, a
// leak, undefined behaviour or an unbounded allocation.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ZipBuilder.h"
#include "platform/excel/XlsxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    XlsxReadLimits limits;
    limits.maxPartBytes = 1 << 20;
    limits.maxTotalBytes = 4 << 20;
    limits.maxCells = 20000;
    CXlsxReader reader(limits);
    CXlsxWorkbook book;
    const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
    const char* part = nullptr;
    switch (data[0] % 8) {
    case 1:
        part = "xl/worksheets/sheet1.xml";
        break;
    case 2:
        part = "xl/sharedStrings.xml";
        break;
    case 3:
        part = "xl/workbook.xml";
        break;
    case 4:
        part = "xl/_rels/workbook.xml.rels";
        break;
    case 5:
        part = "xl/styles.xml";
        break;
    case 6:
        part = "xl/comments1.xml";
        break;
    default:
        break;
    }
    if (!part) {
        reader.ReadMemory(body.data(), body.size(), book);
        return 0;
    }
    auto parts =
        MinimalWorkbookParts(SheetXml("<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row></sheetData>"),
                             "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                             "<si><t>x</t></si></sst>");
    const std::string ns = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    parts.push_back(
        {"xl/worksheets/_rels/sheet1.xml.rels", "<Relationships><Relationship Id=\"c\" Type=\"" + ns +
                                                    "/comments\" Target=\"../comments1.xml\"/></Relationships>"});
    parts.push_back(
        {"xl/comments1.xml",
         "<comments><commentList><comment ref=\"A1\"><text><t>n</t></text></comment></commentList></comments>"});
    // The styles part joins the workbook's relationships.
    for (auto& [name, xml] : parts)
        if (name == "xl/_rels/workbook.xml.rels")
            xml.insert(xml.rfind("</Relationships>"),
                       "<Relationship Id=\"s\" Type=\"" + ns + "/styles\" Target=\"styles.xml\"/>");
    parts.push_back({"xl/styles.xml", "<styleSheet/>"});
    for (auto& [name, xml] : parts)
        if (name == part)
            xml = body;
    const std::string zip = BuildStoredZip(parts);
    reader.ReadMemory(zip.data(), zip.size(), book);
    return 0;
}
