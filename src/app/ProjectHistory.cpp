#include "app/ProjectHistory.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CProjectHistory, CMElement, 2 | VERSIONABLE_SCHEMA)

CProjectHistory::CProjectHistory() = default;

CProjectHistory::CProjectHistory(const std::string& appName, int type, CMElement* parent)
    : CMElement(appName, parent, type)
{
}

std::string CProjectHistory::GetFileName() const
{
    const std::string path = GetPathName();
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int CProjectHistory::AppCodeOfName(const std::string& appName)
{
    // Order matters: "SOLMOX" and "MOXQA" both contain "MOX".
    if (appName.find("VLK") != std::string::npos)
        return kHistoryAppVLK;
    if (appName.find("MOXQA") != std::string::npos)
        return kHistoryAppMOXQA;
    if (appName.find("SOLMOX") != std::string::npos)
        return kHistoryAppSOLMOX;
    if (appName.find("MOX") != std::string::npos)
        return kHistoryAppMOX;
    return kHistoryAppUnknown;
}

void CProjectHistory::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        m_values.Serialize(ar);
        CMElement::Serialize(ar);
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    if (schema >= 2 && schema != 0xFFFFFFFFu)
    {
        m_values.DeleteAll();
        m_values.Serialize(ar);
        CMElement::Serialize(ar);
        return;
    }
    // The oldest histories: a flat list of source files. Each entry needs at least three empty
    // strings and two times, so a forged count is refused before anything is allocated.
    const int32_t count = ar.ReadSignedCount(11, "project history entries", CArchiveException::badIndex);
    for (int32_t i = 0; i < count; ++i)
    {
        std::string appName, version, path;
        int32_t created = 0, modified = 0;
        ar >> appName >> version >> path >> created >> modified;
        auto entry = std::make_unique<CProjectHistory>(appName, AppCodeOfName(appName), this);
        entry->SetAppVersion(version);
        entry->SetPathName(path);
        entry->SetCreationTime(created);
        entry->SetModifiedTime(modified);
        AddChild(std::move(entry));
    }
}
