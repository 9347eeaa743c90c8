#pragma once
// The exposed objects of the process, by object path. Each live program object is exposed at most
// once ("/Objects/<n>"), so every client that reaches it sees the same path; fixed objects (the
// application object) are added under paths of their own. When a program object is destroyed the
// objects that depend on it are marked gone (their paths keep answering, with an error) and a new
// object at the same address gets a new path.
#include "platform/automation/AutoObject.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CAutoObjectRegistry
{
public:
    static CAutoObjectRegistry& Instance();
    ~CAutoObjectRegistry();

    // The path of the object exposing key; made with make on first use. Null key: "/" (nothing).
    std::string Expose(const void* key, const std::function<std::unique_ptr<CAutoObject>()>& make);
    // Adds an object under a fixed path (replacing what was there).
    void Add(const std::string& path, std::unique_ptr<CAutoObject> object);
    void Remove(const std::string& path);
    CAutoObject* Find(const std::string& path) const;
    // The names of the nodes directly below path, each once, in order ("/" has "Application" and,
    // once objects were handed out, "Objects").
    std::vector<std::string> ChildNodes(const std::string& path) const;
    // Objects currently exposed (gone ones included).
    int Count() const { return static_cast<int>(m_objects.size()); }
    // Drops every object made by Expose whose program object is gone.
    void PruneGone();
    // Drops everything (end of the server).
    void Clear();

    // A program object is being destroyed.
    void ObjectGoing(const void* object);

private:
    CAutoObjectRegistry();
    void Unindex(CAutoObject* object);

    std::map<std::string, std::unique_ptr<CAutoObject>> m_objects;
    std::map<const void*, std::string> m_byKey;        // live keys
    std::multimap<const void*, std::string> m_byGuard; // guard -> paths
    long long m_next = 1;
    int m_listener = 0;
};
