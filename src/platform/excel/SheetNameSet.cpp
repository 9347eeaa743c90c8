#include "platform/excel/SheetNameSet.h"

#include <algorithm>
#include <cctype>

#include "platform/excel/ExcelWrapper.h"

namespace {
std::string LowerAscii(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}
} // namespace

CSheetNameSet::CSheetNameSet(const std::vector<std::string>& taken)
{
    m_lower.reserve(taken.size());
    for (const std::string& name : taken)
        Add(name);
}

bool CSheetNameSet::Contains(const std::string& name) const
{
    return m_lower.count(LowerAscii(name)) != 0;
}

void CSheetNameSet::Add(const std::string& name)
{
    m_lower.insert(LowerAscii(name));
}

std::string CSheetNameSet::Take(const std::string& name, const std::string& mark)
{
    std::string base = name;
    CExcelWrapper::MakeValidSheetName(base);
    // Nor may a sheet name begin or end with an apostrophe.
    while (!base.empty() && base.front() == '\'')
        base.erase(0, 1);
    while (!base.empty() && base.back() == '\'')
        base.pop_back();
    if (base.empty())
        base = "Sheet";
    if (!Contains(base)) {
        Add(base);
        return base;
    }
    int& next = m_next[LowerAscii(base) + '\n' + mark];
    for (int k = std::max(next, 2);; ++k) {
        const std::string suffix = mark.empty() ? " (" + std::to_string(k) + ")" : mark + std::to_string(k);
        // The head keeps whole characters so that head and suffix stay within 31.
        std::string head;
        size_t characters = 0;
        for (size_t i = 0; i < base.size() && characters + suffix.size() < 31;) {
            const auto c = static_cast<unsigned char>(base[i]);
            const size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            head.append(base, i, len);
            ++characters;
            i += len;
        }
        if (!Contains(head + suffix)) {
            next = k + 1;
            Add(head + suffix);
            return head + suffix;
        }
    }
}
