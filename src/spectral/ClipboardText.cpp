#include "spectral/ClipboardText.h"

#include <algorithm>
#include <cstdio>

#include "platform/archive/Archive.h"
#include "platform/base/TabSplitter.h"

std::vector<std::string> CClipboardText::SplitFields(const std::string& line)
{
    return CTabSplitter().CutFieldsAt(kMaxFieldLength).Split(line);
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
