#pragma once
// The holder of the program's one acquisition interface: every client asks here and gets the
// same several-systems interface, made on the first request. Clients never delete it; the program
// destroys it at exit (Destroy, which the holder's own destruction also does).
class CBaseDAQInterface;
class CFeedback;
class CMultiQMXInterface;

class CDAQ
{
public:
    // Null only when the object cannot be made (the next call tries again).
    static CBaseDAQInterface* GetInterface();
    // The same object as the several-systems interface its dialogs need.
    static CMultiQMXInterface* GetMultiInterface();
    static bool Exists();
    // Deletes the interface (its run is ended first); the next request makes a new one.
    static void Destroy();
    // Where the interface, made now or later, reports what goes wrong with the hardware (not
    // owned; it must outlive the interface). Silent until set.
    static void SetFeedback(CFeedback* feedback);

    ~CDAQ();
};
