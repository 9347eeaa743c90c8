#pragma once
// The Planning menu of the main frame, for the frame's registry.
class CCommandRegistry;

void RegisterPlanningMenuCommands(CCommandRegistry& registry);
