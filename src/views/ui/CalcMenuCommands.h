#pragma once
// The calculation and result commands of the main frame, for the frame's registry.
class CCommandRegistry;

void RegisterCalcMenuCommands(CCommandRegistry& registry);
