#pragma once
// Tells whoever shows an object that the object is going. Data objects (elements, results)
// call NotifyObjectGoing from their destructor; the modeless-dialog registries of the user
// interface listen and close the dialogs that show the object, so no dialog outlives its data.
#include <functional>

using ObjectGoingListener = std::function<void(const void* object)>;

// Returns a handle for RemoveObjectGoingListener.
int AddObjectGoingListener(ObjectGoingListener listener);
void RemoveObjectGoingListener(int handle);

// Calls every listener with the object (user-interface thread).
void NotifyObjectGoing(const void* object);

// While one lives on a thread, objects going on that thread are told to no listener: the thread
// makes objects no window has seen (a project read before its window is shown), and the
// listeners belong to the window's thread.
class CUnseenObjectsScope
{
public:
    CUnseenObjectsScope();
    ~CUnseenObjectsScope();
    CUnseenObjectsScope(const CUnseenObjectsScope&) = delete;
    CUnseenObjectsScope& operator=(const CUnseenObjectsScope&) = delete;
};
