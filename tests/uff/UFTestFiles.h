#pragma once
// Universal files made by the tests: dataset 58 text in the columns the format fixes.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/Format.h"

struct UF58Fields
{
    std::string id1 = "name dir Roof_4/Floor_7";
    std::string id2 = "[UID=ABC123]";
    std::string id3 = "15-Jan-24 10:30:00";
    int funcType = 3;
    std::string respEntity = "Floor";
    int respNode = 7;
    int respDir = 3;
    std::string refEntity = "Roof";
    int refNode = 4;
    int refDir = -3;
    int ordType = 5; // 2 real, 5 complex
    int spacing = 1;
    double absMin = 0.0;
    double absInc = 2.5;
    std::string ordLabel = "Response";
    std::string ordUnits = "m/s2";
    double zValue = 0.0;  // record 7: the RPM of a spectrum
    int abscType = 18;    // record 8: 18 frequency, 19 RPM
    int ordAxisType = 12; // record 9: 12 acceleration
    // Numbers of the data lines in file order (pairs for complex, triples for uneven complex).
    std::vector<double> numbers;
    int declared = -1; // values declared in record 7; -1: as many as the numbers hold
    int perLine = 6;
    bool wordRecords = false; // records 6 and 8-11 as blank-separated words instead of columns
};

inline int ValuesOf(const UF58Fields& s)
{
    const size_t per = s.ordType == 2 ? 1 : (s.spacing ? 2 : 3);
    return s.declared >= 0 ? s.declared : static_cast<int>(s.numbers.size() / per);
}

inline std::string Dataset58(const UF58Fields& s, const char* eol = "\n")
{
    std::string t;
    auto line = [&](const std::string& l) { t += l + eol; };
    line("    -1");
    line("    58");
    line(s.id1);
    line(s.id2);
    line(s.id3);
    line("NONE");
    line("NONE");
    if (s.wordRecords)
        line(Format("%d 1 0 0 %s %d %d %s %d %d", s.funcType, s.respEntity.c_str(), s.respNode, s.respDir,
                    s.refEntity.c_str(), s.refNode, s.refDir));
    else
        line(Format("%5d%10d%5d%10d %-10s%10d%4d %-10s%10d%4d", s.funcType, 1, 0, 0, s.respEntity.c_str(), s.respNode,
                    s.respDir, s.refEntity.c_str(), s.refNode, s.refDir));
    line(Format("%10d%10d%10d%13.5E%13.5E%13.5E", s.ordType, ValuesOf(s), s.spacing, s.absMin, s.absInc, s.zValue));
    const char* labels[4][2] = {
        {"Frequency", "Hz"}, {s.ordLabel.c_str(), s.ordUnits.c_str()}, {"NONE", "NONE"}, {"NONE", "NONE"}};
    const int types[4] = {s.abscType, s.ordAxisType, 0, 0};
    for (int i = 0; i < 4; ++i) {
        if (s.wordRecords)
            line(Format("%d 0 0 0 %s %s", types[i], labels[i][0], labels[i][1]));
        else
            line(Format("%10d%5d%5d%5d %-20s %-20s", types[i], 0, 0, 0, labels[i][0], labels[i][1]));
    }
    std::string data;
    for (size_t i = 0; i < s.numbers.size(); ++i) {
        data += Format("%13.5E", s.numbers[i]);
        if ((i + 1) % static_cast<size_t>(s.perLine) == 0 || i + 1 == s.numbers.size()) {
            line(data);
            data.clear();
        }
    }
    line("    -1");
    return t;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::string text;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return text;
    char buf[65536];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    std::fclose(f);
    return text;
}
