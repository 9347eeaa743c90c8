#pragma once
// The alias commands of the shortcut bar and the project window: each stands for another command
// of the main frame (or of the active experiment window) and is enabled by that command's rule.
#include <vector>

class CAliasCommands
{
public:
    // The ids of the aliases, ascending.
    static const std::vector<int>& Commands();
    // The command an alias sends; 0 when id is no alias.
    static int Target(int id);
    // Whether the alias goes to the experiment window's tree rather than to the main frame.
    static bool GoesToExperimentWindow(int id);
};
