#include "app/ui/AppCommands.h"

void RegisterAppCommands(CCommandRegistry& registry)
{
    RegisterFileCommands(registry);
    RegisterProjectCommands(registry);
}
