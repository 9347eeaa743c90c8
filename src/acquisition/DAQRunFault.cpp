#include "acquisition/DAQRunFault.h"

#include "platform/base/Format.h"

std::string CDAQRunFault::Text() const
{
    std::string text;
    if (Unit >= 0)
        text = Format("Acquisition unit %d stopped answering during the measurement; %d samples per channel "
                      "were kept.",
                      Unit + 1, SamplesKept);
    if (!MissingChannels.empty()) {
        std::string list;
        for (size_t i = 0; i < MissingChannels.size(); ++i) {
            if (i == 8) {
                list += Format(" and %d more", static_cast<int>(MissingChannels.size() - i));
                break;
            }
            list += Format(i == 0 ? "%d" : ", %d", MissingChannels[i] + 1);
        }
        if (!text.empty())
            text += "\n";
        text += Format("No data could be read from channel %s.", list.c_str());
    }
    return text;
}
