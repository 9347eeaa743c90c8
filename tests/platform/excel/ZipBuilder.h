#pragma once
// Builds a zip package in memory with stored (uncompressed) entries, so tests and the fuzz target
// can make workbooks part by part.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

inline uint32_t ZipCrc32(const std::string& data)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline std::string BuildStoredZip(const std::vector<std::pair<std::string, std::string>>& parts)
{
    auto put16 = [](std::string& s, uint32_t v) {
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>((v >> 8) & 0xFF);
    };
    auto put32 = [&](std::string& s, uint32_t v) {
        put16(s, v & 0xFFFF);
        put16(s, v >> 16);
    };
    std::string out, central;
    for (const auto& [name, data] : parts) {
        const uint32_t offset = static_cast<uint32_t>(out.size());
        const uint32_t crc = ZipCrc32(data);
        out += "PK\x03\x04";
        put16(out, 20), put16(out, 0), put16(out, 0), put16(out, 0), put16(out, 0x21);
        put32(out, crc), put32(out, static_cast<uint32_t>(data.size())), put32(out, static_cast<uint32_t>(data.size()));
        put16(out, static_cast<uint32_t>(name.size())), put16(out, 0);
        out += name;
        out += data;
        central += "PK\x01\x02";
        put16(central, 20), put16(central, 20), put16(central, 0), put16(central, 0), put16(central, 0);
        put16(central, 0x21);
        put32(central, crc), put32(central, static_cast<uint32_t>(data.size())),
            put32(central, static_cast<uint32_t>(data.size()));
        put16(central, static_cast<uint32_t>(name.size())), put16(central, 0), put16(central, 0);
        put16(central, 0), put16(central, 0), put32(central, 0), put32(central, offset);
        central += name;
    }
    const uint32_t centralOffset = static_cast<uint32_t>(out.size());
    out += central;
    out += "PK\x05\x06";
    put16(out, 0), put16(out, 0);
    put16(out, static_cast<uint32_t>(parts.size())), put16(out, static_cast<uint32_t>(parts.size()));
    put32(out, static_cast<uint32_t>(central.size())), put32(out, centralOffset);
    put16(out, 0);
    return out;
}

// The parts of a minimal workbook with one sheet "Data"; tests replace single parts.
inline std::vector<std::pair<std::string, std::string>> MinimalWorkbookParts(const std::string& sheetXml,
                                                                             const std::string& sharedStrings = "")
{
    const std::string ns = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    std::vector<std::pair<std::string, std::string>> parts = {
        {"_rels/.rels", "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                        "<Relationship Id=\"rId1\" Type=\"" +
                            ns +
                            "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                            "</Relationships>"},
        {"xl/workbook.xml", "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
                                ns +
                                "\"><sheets><sheet name=\"Data\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" +
             ns +
             "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
             "<Relationship Id=\"rId2\" Type=\"" +
             ns +
             "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
             "</Relationships>"},
        {"xl/worksheets/sheet1.xml", sheetXml},
        {"xl/sharedStrings.xml", sharedStrings.empty()
                                     ? "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"/>"
                                     : sharedStrings},
    };
    return parts;
}

inline std::string SheetXml(const std::string& body)
{
    return "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" + body + "</worksheet>";
}
