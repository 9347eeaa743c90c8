#include "uff/UFIndex.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

IMPLEMENT_DYNAMIC(CUFIndex, CObject)

std::string CUFIndex::GetFileTitle() const
{
    const size_t slash = m_strFile.find_last_of("/\\");
    return slash == std::string::npos ? m_strFile : m_strFile.substr(slash + 1);
}

void CUFIndex::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion << m_nType << m_strFile << m_nOffset;
        return;
    }
    uint8_t version = 0;
    ar >> version >> m_nType >> m_strFile >> m_nOffset;
}
