#include "acquisition/DaqDbCheckRpms.h"

#include "experiments/DAQConfig.h"

bool CDaqDbCheckRpms::IsRunUp(const CDAQConfig& config)
{
    return config.GetOption60() == 0;
}

bool CDaqDbCheckRpms::Make(const CDAQConfig& config, std::vector<int>& rpms)
{
    rpms.clear();
    if (!IsRunUp(config)) {
        rpms.push_back(config.GetRpmRef());
        return true;
    }
    const int step = config.GetRpmMargin();
    if (step <= 0)
        return false;
    // Widened so that the last step cannot overflow near the top of the int range.
    for (long long rpm = config.GetRpmLow(); rpm <= config.GetRpmHigh() && static_cast<int>(rpms.size()) < kMaxChoices;
         rpm += step)
        rpms.push_back(static_cast<int>(rpm));
    return true;
}
