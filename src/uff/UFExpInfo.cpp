#include "uff/UFExpInfo.h"

#include <cstring>

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CUFExpInfo, CExpInfo, 1 | VERSIONABLE_SCHEMA)

CUFExpInfo::CUFExpInfo(const CUFExpInfo& other) : CExpInfo(other)
{
    CopyObjectContents(m_index, other.m_index);
}

CUFExpInfo& CUFExpInfo::operator=(const CUFExpInfo& other)
{
    if (this != &other) {
        CExpInfo::operator=(other);
        CopyObjectContents(m_index, other.m_index);
    }
    return *this;
}

CUFExpInfo::~CUFExpInfo() = default;

std::string CUFExpInfo::UFFileNameOf(const std::string& label)
{
    const size_t prefix = std::strlen(kLabelPrefix);
    if (label.compare(0, prefix, kLabelPrefix) != 0)
        return std::string();
    const size_t slash = label.find_last_of("/\\");
    return slash == std::string::npos || slash < prefix ? label.substr(prefix) : label.substr(slash + 1);
}

void CUFExpInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kVersion;
        CExpInfo::Serialize(ar);
        m_index.Serialize(ar);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version > kVersion)
        CArchive::ThrowBadSchema(Format("universal-file experiment description of version %d", version));
    CExpInfo::Serialize(ar);
    m_index.Serialize(ar);
}
