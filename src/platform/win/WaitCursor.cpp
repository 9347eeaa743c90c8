#include "platform/win/WaitCursor.h"

namespace {
struct Hooks
{
    std::function<void()> begin, end, restore;
};
Hooks& TheHooks()
{
    static Hooks hooks;
    return hooks;
}
int g_depth = 0; // the cursor is a user-interface-thread affair
} // namespace

CWaitCursor::CWaitCursor()
{
    BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    EndWaitCursor();
}

void CWaitCursor::Restore()
{
    if (TheHooks().restore)
        TheHooks().restore();
}

void CWaitCursor::SetHooks(std::function<void()> begin, std::function<void()> end, std::function<void()> restore)
{
    TheHooks() = Hooks{std::move(begin), std::move(end), std::move(restore)};
}

int CWaitCursor::Depth()
{
    return g_depth;
}

void BeginWaitCursor()
{
    if (g_depth++ == 0 && TheHooks().begin)
        TheHooks().begin();
}

void EndWaitCursor()
{
    // An unbalanced end must not drive the count negative and hide a later cursor.
    if (g_depth == 0)
        return;
    if (--g_depth == 0 && TheHooks().end)
        TheHooks().end();
}
