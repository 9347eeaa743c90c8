#pragma once
// Turns a fuzz input into a workbook package, so the targets of the workbook imports spend their
// runs on what the imports read (sheets, cells, merged ranges, notes) rather than on zip headers
// and checksums, which the workbook reader's own target covers. The input is text, line by line:
//   #sheet <name>        begins a sheet (rows before the first such line go to a sheet named
//                        by the target)
//   #merge <range>       a merged range of the current sheet, e.g. "#merge A1:B3"
//   #note <cell> <text>  the note of a cell; "\n" in the text stands for a line break
//   anything else        the next row of the current sheet, cells separated by tabs; a cell
//                        that reads whole as a number is stored as one, the rest as text
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ZipBuilder.h"

namespace fuzzworkbook {

inline std::string Escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (c >= 0x20 || c == '\t' || c == '\n')
            out += ch;
    }
    return out;
}

inline std::string ColumnName(int col)
{
    std::string name;
    for (; col > 0; col = (col - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (col - 1) % 26));
    return name;
}

inline bool IsNumber(const std::string& text)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return end && *end == '\0';
}

struct Sheet
{
    std::string name;
    std::string rows;
    std::string merges;
    std::string notes;
    int rowCount = 0;
};

inline std::string Build(std::string_view input, const std::string& firstSheet)
{
    std::vector<Sheet> sheets;
    auto current = [&]() -> Sheet& {
        if (sheets.empty())
            sheets.push_back({firstSheet, {}, {}, {}, 0});
        return sheets.back();
    };
    while (!input.empty()) {
        const size_t eol = input.find('\n');
        std::string_view line = input.substr(0, eol);
        input = eol == std::string_view::npos ? std::string_view() : input.substr(eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.substr(0, 7) == "#sheet ") {
            sheets.push_back({std::string(line.substr(7)), {}, {}, {}, 0});
        } else if (line.substr(0, 7) == "#merge ") {
            current().merges += "<mergeCell ref=\"" + Escape(line.substr(7)) + "\"/>";
        } else if (line.substr(0, 6) == "#note ") {
            const std::string_view rest = line.substr(6);
            const size_t space = rest.find(' ');
            std::string text(space == std::string_view::npos ? std::string_view() : rest.substr(space + 1));
            for (size_t at; (at = text.find("\\n")) != std::string::npos;)
                text.replace(at, 2, "\n");
            current().notes += "<comment ref=\"" + Escape(rest.substr(0, space)) + "\"><text><t>" + Escape(text) +
                               "</t></text></comment>";
        } else {
            Sheet& sheet = current();
            const std::string row = std::to_string(++sheet.rowCount);
            sheet.rows += "<row r=\"" + row + "\">";
            int col = 0;
            for (size_t start = 0; start <= line.size();) {
                const size_t tab = line.find('\t', start);
                const std::string cell(line.substr(start, tab == std::string_view::npos ? line.npos : tab - start));
                start = tab == std::string_view::npos ? line.size() + 1 : tab + 1;
                const std::string ref = ColumnName(++col) + row;
                if (cell.empty())
                    continue;
                if (IsNumber(cell))
                    sheet.rows += "<c r=\"" + ref + "\"><v>" + Escape(cell) + "</v></c>";
                else
                    sheet.rows += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + Escape(cell) + "</t></is></c>";
            }
            sheet.rows += "</row>";
        }
    }
    current();

    const std::string ns = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string pkgNs = "http://schemas.openxmlformats.org/package/2006/relationships";
    std::string list, rels;
    std::vector<std::pair<std::string, std::string>> parts = {
        {"_rels/.rels", "<Relationships xmlns=\"" + pkgNs + "\"><Relationship Id=\"rId1\" Type=\"" + ns +
                            "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"}};
    for (size_t i = 0; i < sheets.size(); ++i) {
        const Sheet& sheet = sheets[i];
        const std::string n = std::to_string(i + 1);
        list += "<sheet name=\"" + Escape(sheet.name) + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + ns + "/worksheet\" Target=\"worksheets/sheet" + n +
                ".xml\"/>";
        std::string xml = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
                          sheet.rows + "</sheetData>";
        if (!sheet.merges.empty())
            xml += "<mergeCells>" + sheet.merges + "</mergeCells>";
        parts.push_back({"xl/worksheets/sheet" + n + ".xml", xml + "</worksheet>"});
        if (!sheet.notes.empty()) {
            parts.push_back({"xl/worksheets/_rels/sheet" + n + ".xml.rels",
                             "<Relationships xmlns=\"" + pkgNs + "\"><Relationship Id=\"c\" Type=\"" + ns +
                                 "/comments\" Target=\"../comments" + n + ".xml\"/></Relationships>"});
            parts.push_back(
                {"xl/comments" + n + ".xml", "<comments><commentList>" + sheet.notes + "</commentList></comments>"});
        }
    }
    parts.push_back(
        {"xl/workbook.xml", "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
                                ns + "\"><sheets>" + list + "</sheets></workbook>"});
    parts.push_back(
        {"xl/_rels/workbook.xml.rels", "<Relationships xmlns=\"" + pkgNs + "\">" + rels + "</Relationships>"});
    return BuildStoredZip(parts);
}

} // namespace fuzzworkbook
