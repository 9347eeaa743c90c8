#include "app/ProjectHistory.h"

#include "platform/archive/Archive.h"
#include "platform/automation/Dispatch.h"

#include <algorithm>
#include <memory>

IMPLEMENT_SERIAL(CProjectHistory, CMElement, 2 | VERSIONABLE_SCHEMA)

CProjectHistory::CProjectHistory() = default;

CProjectHistory::CProjectHistory(const std::string& appName, int type, CMElement* parent)
    : CMElement(appName, parent, type)
{}

namespace {
// A remote history is another program's answer: its depth and width are bounded, so a history
// that names itself as its own child cannot run us out of stack or memory.
constexpr int kMaxRemoteDepth = 64;
constexpr int kMaxRemoteChildren = 4096;

void CopyRemote(CProjectHistory& entry, const CDispatch& remote, int depth)
{
    entry.SetType(remote.GetPropertyLong("ID"));
    entry.SetAppName(remote.GetPropertyString("AppName"));
    entry.SetAppVersion(remote.GetPropertyString("AppVersion"));
    entry.SetPathName(remote.GetPropertyString("PathName"));
    entry.SetCreationTime(AutoDateToTime(remote.GetDate("CreationDate")));
    entry.SetModifiedTime(AutoDateToTime(remote.GetDate("ModifiedDate")));
    const std::string model = remote.GetPropertyString("MOXModelName");
    if (!model.empty())
        entry.SetMOXModelName(model);
    const std::string note = remote.GetPropertyString("Note");
    if (!note.empty())
        entry.SetNote(note);
    if (depth >= kMaxRemoteDepth)
        return;
    const int count = std::min(remote.GetPropertyLong("ChildCount"), kMaxRemoteChildren);
    for (int i = 0; i < count; ++i) {
        CDispParams index(1);
        index.SetLong(0, i);
        const CDispatch child = remote.GetPropertyDispatch("Child", &index);
        if (child.IsNull())
            continue;
        auto copy = std::make_unique<CProjectHistory>(std::string(), kHistoryAppUnknown, &entry);
        CopyRemote(*copy, child, depth + 1);
        entry.AddChild(std::move(copy));
    }
}
} // namespace

CProjectHistory::CProjectHistory(const CDispatch& remote, CMElement* parent) : CMElement({}, parent, kHistoryAppUnknown)
{
    CopyRemote(*this, remote, 0);
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
    if (ar.IsStoring()) {
        m_values.Serialize(ar);
        CMElement::Serialize(ar);
        return;
    }
    const uint32_t schema = ar.GetObjectSchema();
    if (schema >= 2 && schema != 0xFFFFFFFFu) {
        m_values.DeleteAll();
        m_values.Serialize(ar);
        CMElement::Serialize(ar);
        return;
    }
    // The oldest histories: a flat list of source files. Each entry needs at least three empty
    // strings and two times, so a forged count is refused before anything is allocated.
    const int32_t count = ar.ReadSignedCount(11, "project history entries", CArchiveException::badIndex);
    ReserveChildren(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        std::string appName, version, path;
        int32_t created = 0, modified = 0;
        ar >> appName >> version >> path >> created >> modified;
        auto entry = std::make_unique<CProjectHistory>(appName, AppCodeOfName(appName));
        entry->SetAppVersion(version);
        entry->SetPathName(path);
        entry->SetCreationTime(created);
        entry->SetModifiedTime(modified);
        AddChild(std::move(entry));
    }
}
