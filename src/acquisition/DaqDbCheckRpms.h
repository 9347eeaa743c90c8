#pragma once
// The engine speeds a database check can be made at: every RPM of a run-up from its low to its
// high RPM in steps of its RPM margin, or the one constant RPM of a constant-RPM configuration.
#include <vector>

class CDAQConfig;

class CDaqDbCheckRpms
{
public:
    // Choices beyond this many are not offered (a step of 1 over a wide range stays bounded).
    static constexpr int kMaxChoices = 10000;

    // True for a run-up (RPM mode 0); the dialog offers a second value only then.
    static bool IsRunUp(const CDAQConfig& config);
    // Fills rpms (emptied first). False, with no choices, for a run-up whose margin is 0 or less:
    // such a step would never reach the high RPM.
    static bool Make(const CDAQConfig& config, std::vector<int>& rpms);
};
