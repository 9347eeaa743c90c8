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
