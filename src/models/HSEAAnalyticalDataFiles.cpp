#include "models/HSEAAnalyticalDataFiles.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CHSEAAnalyticalDataFiles, CObject, 2 | VERSIONABLE_SCHEMA)

const char* const CHSEAAnalyticalDataFiles::TypeAbbreviations[TypeCount] = {"BE", "FP", "SC", "DC",
                                                                            "CY", "DU", "CA", "SF"};

CHSEAAnalyticalDataFiles::CHSEAAnalyticalDataFiles(const CHSEAAnalyticalDataFiles& other)
    : CObject(other), m_etaMatrixFile(other.m_etaMatrixFile), m_pathList(other.m_pathList),
      m_modalDensityFiles(other.m_modalDensityFiles), m_waveNumberFiles(other.m_waveNumberFiles),
      m_propertyFiles(other.m_propertyFiles), m_useFlags(other.m_useFlags)
{
    m_options[3] = other.m_options[3];
}

void CHSEAAnalyticalDataFiles::SetTypedPath(std::array<std::string, TypeCount>& list, int k, const std::string& path)
{
    if (!ValidType(k))
        return;
    list[static_cast<size_t>(k)] = m_useFlags[static_cast<size_t>(k)] == 1 ? path : std::string();
}

std::string CHSEAAnalyticalDataFiles::GetModalDensityFile(int k) const
{
    return ValidType(k) ? m_modalDensityFiles[static_cast<size_t>(k)] : std::string();
}
void CHSEAAnalyticalDataFiles::SetModalDensityFile(int k, const std::string& path)
{
    SetTypedPath(m_modalDensityFiles, k, path);
}
std::string CHSEAAnalyticalDataFiles::GetWaveNumberFile(int k) const
{
    return ValidType(k) ? m_waveNumberFiles[static_cast<size_t>(k)] : std::string();
}
void CHSEAAnalyticalDataFiles::SetWaveNumberFile(int k, const std::string& path)
{
    SetTypedPath(m_waveNumberFiles, k, path);
}
std::string CHSEAAnalyticalDataFiles::GetPathListEntry(int k) const
{
    return ValidType(k) ? m_pathList[static_cast<size_t>(k)] : std::string();
}
void CHSEAAnalyticalDataFiles::SetPathListEntry(int k, const std::string& path)
{
    SetTypedPath(m_pathList, k, path);
}
std::string CHSEAAnalyticalDataFiles::GetPropertyFile(int k) const
{
    return ValidType(k) ? m_propertyFiles[static_cast<size_t>(k)] : std::string();
}
void CHSEAAnalyticalDataFiles::SetPropertyFile(int k, const std::string& path)
{
    SetTypedPath(m_propertyFiles, k, path);
}
int CHSEAAnalyticalDataFiles::GetUseFlag(int k) const
{
    return ValidType(k) ? m_useFlags[static_cast<size_t>(k)] : 0;
}
void CHSEAAnalyticalDataFiles::SetUseFlag(int k, int used)
{
    if (ValidType(k))
        m_useFlags[static_cast<size_t>(k)] = static_cast<uint8_t>(used);
}

void CHSEAAnalyticalDataFiles::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(m_options[3]) << static_cast<int32_t>(m_options[0])
           << static_cast<int32_t>(m_options[1]) << static_cast<int32_t>(m_options[2]);
        ar << m_etaMatrixFile;
        for (int k = 0; k < TypeCount; ++k) {
            const auto i = static_cast<size_t>(k);
            ar << m_waveNumberFiles[i] << m_pathList[i] << m_modalDensityFiles[i]
               << static_cast<int32_t>(m_useFlags[i]);
        }
        return;
    }

    const uint32_t schema = ar.GetObjectSchema();
    auto readFlag = [&ar]() -> uint8_t {
        int32_t v = 0;
        ar >> v;
        return v != 0 ? 1 : 0;
    };
    // Older sets stored fewer options; the missing ones come in switched on.
    m_options = {1, 1, 1, 1};
    if (schema > 2 && schema != 0xFFFFFFFFu)
        CArchive::ThrowBadSchema("CHSEAAnalyticalDataFiles");
    if (schema == 2 || schema == 0xFFFFFFFFu) {
        m_options[3] = readFlag();
        m_options[0] = readFlag();
        m_options[1] = readFlag();
        m_options[2] = readFlag();
    } else if (schema == 1) {
        m_options[3] = readFlag();
        m_options[0] = readFlag();
        m_options[1] = readFlag();
    }
    ar >> m_etaMatrixFile;
    for (int k = 0; k < TypeCount; ++k) {
        const auto i = static_cast<size_t>(k);
        int32_t used = 0;
        ar >> m_waveNumberFiles[i] >> m_pathList[i] >> m_modalDensityFiles[i] >> used;
        m_useFlags[i] = static_cast<uint8_t>(used);
        m_propertyFiles[i].clear();
    }
}
