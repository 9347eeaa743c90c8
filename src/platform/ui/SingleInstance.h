#pragma once
// The one dialog (or window) of its kind per object, or in the whole program, under the same names
// for every kind: a kind derives from CSingleInstance<itself> and gets
//   GetInstance(key)     the open one of the object, null when there is none;
//   DestroyInstance(key) closes it (deleted on the next turn of the event loop; whoever asked to
//                        hear of it leaving is told), false when there was none.
// Its own openers, which take what the kind needs, are named CreateInstance (a new one, not yet
// shown, null when one is open already) and ShowInstance (the open one brought to the front, or
// a new one shown); they make it in Instances(), the kind's registry. Without a key the calls mean
// the one of the program. The dialogs close with their object (the registry hears when it goes).
#include "platform/ui/ModelessRegistry.h"

template <class TDialog>
class CSingleInstance
{
public:
    static TDialog* GetInstance(const void* key = ProgramKey()) { return Instances().Find(key); }
    static bool DestroyInstance(const void* key = ProgramKey()) { return Instances().Close(key); }

    static CModelessRegistry<TDialog>& Instances()
    {
        static CModelessRegistry<TDialog> registry;
        return registry;
    }
    // The key of the one dialog of the kind in the program.
    static const void* ProgramKey()
    {
        static const char key = 0;
        return &key;
    }
};
