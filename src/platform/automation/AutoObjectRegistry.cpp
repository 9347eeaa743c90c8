#include "platform/automation/AutoObjectRegistry.h"

#include <algorithm>

#include "platform/base/Format.h"
#include "platform/win/ObjectLifetime.h"

CAutoObjectRegistry& CAutoObjectRegistry::Instance()
{
    static CAutoObjectRegistry registry;
    return registry;
}

CAutoObjectRegistry::CAutoObjectRegistry()
{
    m_listener = AddObjectGoingListener([this](const void* object) { ObjectGoing(object); });
}

CAutoObjectRegistry::~CAutoObjectRegistry()
{
    RemoveObjectGoingListener(m_listener);
}

std::string CAutoObjectRegistry::Expose(const void* key, const std::function<std::unique_ptr<CAutoObject>()>& make)
{
    if (!key)
        return kNoObjectPath;
    auto found = m_byKey.find(key);
    if (found != m_byKey.end())
        return found->second;
    std::unique_ptr<CAutoObject> object = make();
    if (!object)
        return kNoObjectPath;
    const std::string path = Format("/Objects/%lld", m_next++);
    Add(path, std::move(object));
    return path;
}

void CAutoObjectRegistry::Add(const std::string& path, std::unique_ptr<CAutoObject> object)
{
    Remove(path);
    if (!object)
        return;
    object->SetPath(path);
    if (object->GetKey())
        m_byKey[object->GetKey()] = path;
    for (const void* guard : object->GetGuards())
        m_byGuard.emplace(guard, path);
    m_objects[path] = std::move(object);
}

void CAutoObjectRegistry::Unindex(CAutoObject* object)
{
    auto key = m_byKey.find(object->GetKey());
    if (key != m_byKey.end() && key->second == object->GetPath())
        m_byKey.erase(key);
    for (const void* guard : object->GetGuards()) {
        auto [first, last] = m_byGuard.equal_range(guard);
        for (auto it = first; it != last;)
            it = it->second == object->GetPath() ? m_byGuard.erase(it) : std::next(it);
    }
}

void CAutoObjectRegistry::Remove(const std::string& path)
{
    auto it = m_objects.find(path);
    if (it == m_objects.end())
        return;
    Unindex(it->second.get());
    m_objects.erase(it);
}

CAutoObject* CAutoObjectRegistry::Find(const std::string& path) const
{
    auto it = m_objects.find(path);
    return it == m_objects.end() ? nullptr : it->second.get();
}

std::vector<std::string> CAutoObjectRegistry::ChildNodes(const std::string& path) const
{
    const std::string prefix = path == "/" ? path : path + "/";
    std::vector<std::string> names;
    // The map is ordered, so the paths below the prefix lie together.
    for (auto it = m_objects.lower_bound(prefix); it != m_objects.end(); ++it) {
        const std::string& p = it->first;
        if (p.compare(0, prefix.size(), prefix) != 0)
            break;
        if (p.size() == prefix.size())
            continue;
        const size_t slash = p.find('/', prefix.size());
        std::string name =
            p.substr(prefix.size(), slash == std::string::npos ? std::string::npos : slash - prefix.size());
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    }
    return names;
}

void CAutoObjectRegistry::ObjectGoing(const void* object)
{
    auto [first, last] = m_byGuard.equal_range(object);
    if (first == last)
        return;
    std::vector<std::string> paths;
    for (auto it = first; it != last; ++it)
        paths.push_back(it->second);
    for (const std::string& path : paths) {
        CAutoObject* gone = Find(path);
        if (!gone)
            continue;
        gone->Kill();
        Unindex(gone);
    }
}

void CAutoObjectRegistry::PruneGone()
{
    for (auto it = m_objects.begin(); it != m_objects.end();) {
        if (!it->second->IsAlive() && it->first.rfind("/Objects/", 0) == 0)
            it = m_objects.erase(it); // already unindexed when it died
        else
            ++it;
    }
}

void CAutoObjectRegistry::Clear()
{
    m_objects.clear();
    m_byKey.clear();
    m_byGuard.clear();
}
