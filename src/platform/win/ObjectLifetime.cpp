#include "platform/win/ObjectLifetime.h"

#include <map>
#include <vector>

namespace {
struct Listeners
{
    std::map<int, ObjectGoingListener> map;
    int next = 1;
};
Listeners& All()
{
    static Listeners listeners;
    return listeners;
}
thread_local int t_unseen = 0;
} // namespace

CUnseenObjectsScope::CUnseenObjectsScope()
{
    ++t_unseen;
}
CUnseenObjectsScope::~CUnseenObjectsScope()
{
    --t_unseen;
}

int AddObjectGoingListener(ObjectGoingListener listener)
{
    Listeners& l = All();
    int handle = l.next++;
    l.map.emplace(handle, std::move(listener));
    return handle;
}

void RemoveObjectGoingListener(int handle)
{
    All().map.erase(handle);
}

void NotifyObjectGoing(const void* object)
{
    if (t_unseen > 0)
        return;
    Listeners& l = All();
    if (l.map.empty())
        return;
    // A listener may remove listeners while we call them: walk a copy of the handles.
    std::vector<int> handles;
    handles.reserve(l.map.size());
    for (const auto& [h, fn] : l.map)
        handles.push_back(h);
    for (int h : handles) {
        auto it = l.map.find(h);
        if (it != l.map.end()) {
            ObjectGoingListener fn = it->second;
            fn(object);
        }
    }
}
