#pragma once
// The acquisition and measured-data commands of the main frame, for the frame's registry.
class CCommandRegistry;

void RegisterDaqMenuCommands(CCommandRegistry& registry);
