#include "platform/base/LineReader.h"

bool CLineReader::Next(std::string_view& line)
{
    if (m_pos >= m_text.size())
        return false;
    const size_t end = m_text.find('\n', m_pos);
    const size_t stop = end == std::string_view::npos ? m_text.size() : end;
    line = m_text.substr(m_pos, stop - m_pos);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
    ++m_lineNumber;
    return true;
}
