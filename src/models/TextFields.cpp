#include "models/TextFields.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "platform/base/Format.h"
#include "platform/base/TabSplitter.h"

namespace model_text {

bool SplitFields(const std::string& line, std::vector<std::string>& fields, std::string& error)
{
    fields.clear();
    std::string_view text = line;
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    std::vector<std::string_view> views;
    CTabSplitter().Split(text, views);
    for (size_t k = 0; k < views.size(); ++k)
        if (views[k].size() > kMaxField) {
            error = Format("field %zu is longer than %zu characters", k + 1, kMaxField);
            return false;
        }
    fields.assign(views.begin(), views.end());
    return true;
}

bool ParseNumber(const std::string& field, double& value)
{
    const char* begin = field.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    // Overflow is refused, and so are "inf" and "nan", which are no decimal numbers and would
    // poison every matrix entry they reach; an underflow to a denormal or 0 is a number like any other.
    if (end == begin || (errno == ERANGE && std::isinf(v)) || !std::isfinite(v))
        return false;
    while (*end == ' ')
        ++end;
    if (*end != '\0')
        return false;
    value = v;
    return true;
}

bool ParseValues(const std::vector<std::string>& fields, size_t first, size_t count, std::vector<double>& values,
                 std::string& error)
{
    values.assign(count, 0.0);
    const size_t have = fields.size() > first ? fields.size() - first : 0;
    if (have < count) {
        error = Format("%zu values for %zu bands", have, count);
        return false;
    }
    for (size_t i = 0; i < count; ++i)
        if (!ParseNumber(fields[first + i], values[i])) {
            error = Format("value %zu (\"%s\") is not a number", i + 1, fields[first + i].c_str());
            return false;
        }
    return true;
}

} // namespace model_text
