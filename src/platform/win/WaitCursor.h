#pragma once
// The wait cursor over long operations. Nested cursors count; the first begins and the last ends
// the display. The display itself is a hook: nothing in the core, the Qt override cursor once the
// program installs its hooks.
#include <functional>

class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the cursor again after something (a message box) may have removed it.
    void Restore();

    // begin is called when the first cursor appears, end when the last goes; restore on Restore.
    static void SetHooks(std::function<void()> begin, std::function<void()> end, std::function<void()> restore = {});
    static int Depth(); // cursors alive now (user-interface thread only)
};

// The class library's free forms.
void BeginWaitCursor();
void EndWaitCursor();
