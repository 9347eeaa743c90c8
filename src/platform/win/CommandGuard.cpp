#include "platform/win/CommandGuard.h"

#include <new>

#include "platform/win/PromptService.h"

bool RunCommandGuarded(const std::function<bool()>& command)
{
    try {
        return command ? command() : false;
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kOutOfMemoryText, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
}
