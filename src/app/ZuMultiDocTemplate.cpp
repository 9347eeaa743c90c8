#include "app/ZuMultiDocTemplate.h"

#include "platform/win/StringTable.h"

CZuMultiDocTemplate::CZuMultiDocTemplate(uint32_t resourceId, std::string documentClass)
    : m_resourceId(resourceId), m_documentClass(std::move(documentClass))
{}

std::string CZuMultiDocTemplate::GetDocString(int index) const
{
    std::string text;
    if (!LoadString(m_resourceId, text))
        return std::string();
    return ExtractField(text, index);
}

std::string CZuMultiDocTemplate::ExtractField(const std::string& docString, int index)
{
    if (index < 0)
        return std::string();
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const size_t nl = docString.find('\n', start);
        if (nl == std::string::npos)
            return std::string();
        start = nl + 1;
    }
    const size_t end = docString.find('\n', start);
    return docString.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
