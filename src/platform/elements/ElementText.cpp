#include "platform/elements/ElementText.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/base/Format.h"
#include "platform/base/TabSplitter.h"
#include "platform/elements/StdioFile.h"

namespace zu_text {
std::string Escape(const std::string& field)
{
    std::string out;
    out.reserve(field.size());
    for (char c : field) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

std::string Unescape(const std::string& field)
{
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == '\\' && i + 1 < field.size()) {
            char n = field[++i];
            switch (n) {
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                out += n;
                break;
            }
        } else {
            out += c;
        }
    }
    return out;
}

std::string Number(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    return Format("%.17g", value);
}

bool ParseDouble(const std::string& field, double& value)
{
    if (field.empty())
        return false;
    const char* begin = field.c_str();
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(begin, &end);
    if (end == begin || *end != '\0')
        return false;
    // Overflow to infinity is a number too large to keep; underflow to 0 is fine.
    if (errno == ERANGE && std::isinf(v) && field.find("inf") == std::string::npos)
        return false;
    value = v;
    return true;
}

bool ParseInt(const std::string& field, int& value)
{
    if (field.empty())
        return false;
    const char* begin = field.c_str();
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(begin, &end, 10);
    if (end == begin || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

std::vector<std::string> Split(const std::string& line)
{
    return CTabSplitter().Split(line);
}

std::string JoinNumbers(const std::vector<double>& values, size_t first, size_t count)
{
    std::string line;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            line += '\t';
        line += Number(values[first + i]);
    }
    return line;
}

bool ParseNumbers(const std::string& line, size_t count, std::vector<double>& out)
{
    if (count == 0)
        return line.empty();
    std::vector<std::string> fields = Split(line);
    if (fields.size() != count)
        return false;
    for (const std::string& f : fields) {
        double v;
        if (!ParseDouble(f, v))
            return false;
        out.push_back(v);
    }
    return true;
}
bool ReadHeadFields(CStdioFile& file, std::vector<std::string>& fields)
{
    std::string line;
    do {
        if (!file.ReadString(line))
            return false;
    } while (line.empty());
    fields = Split(line);
    return true;
}

} // namespace zu_text
