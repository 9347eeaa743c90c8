#include "spectral/ClipboardText.h"

#include <algorithm>
#include <cstdio>

#include "platform/archive/Archive.h"

std::vector<std::string> CClipboardText::SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        const size_t end = tab == std::string::npos ? line.size() : tab;
        fields.push_back(line.substr(start, std::min(end - start, kMaxFieldLength)));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return fields;
}

bool CClipboardText::IsHeaderLine(const std::string& line)
{
    for (const std::string& field : SplitFields(line)) {
        float f = 0.0f;
        if (std::sscanf(field.c_str(), "%f", &f) != 1)
            return true;
    }
    return false;
}

bool CClipboardText::ParseValue(const std::string& field, double& value)
{
    double v = 0.0;
    if (std::sscanf(field.c_str(), "%lf", &v) != 1)
        return false;
    value = v;
    return true;
}

bool CClipboardText::ReadFirstDataLine(CArchive& ar, std::string& line, bool& labelled)
{
    labelled = false;
    if (!ar.ReadLine(line) || line.empty())
        return false;
    if (IsHeaderLine(line)) {
        labelled = true;
        if (!ar.ReadLine(line))
            return false;
    }
    return true;
}

bool CClipboardText::SkipColumnHeaderLine(CArchive& ar, std::string& line, bool labelled,
                                          const std::string& columnHeader)
{
    if (!labelled || SplitFields(line).front() != columnHeader)
        return true;
    return ar.ReadLine(line);
}
