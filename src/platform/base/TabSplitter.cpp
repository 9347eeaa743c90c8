#include "platform/base/TabSplitter.h"

namespace {
std::string_view Trimmed(std::string_view field)
{
    constexpr std::string_view kBlanks = " \r";
    const size_t first = field.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return field.substr(0, 0);
    return field.substr(first, field.find_last_not_of(kBlanks) - first + 1);
}
} // namespace

void CTabSplitter::Split(std::string_view line, std::vector<std::string_view>& fields) const
{
    fields.clear();
    size_t from = 0;
    while (fields.size() < m_fieldCount) {
        const size_t tab = line.find('\t', from);
        std::string_view field = line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from);
        if (m_trim)
            field = Trimmed(field);
        if (field.size() > m_maxFieldLength)
            field = field.substr(0, m_maxFieldLength);
        if (!(m_skipEmpty && field.empty()))
            fields.push_back(field);
        if (tab == std::string_view::npos)
            break;
        from = tab + 1;
    }
    if (m_dropEmptyLast && fields.size() > 1 && fields.back().empty())
        fields.pop_back();
    if (m_fieldCount != npos)
        fields.resize(m_fieldCount);
}

std::vector<std::string> CTabSplitter::Split(std::string_view line) const
{
    std::vector<std::string_view> views;
    Split(line, views);
    return std::vector<std::string>(views.begin(), views.end());
}
