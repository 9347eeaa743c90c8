#include "platform/gfx/BandSetCheck.h"

#include "platform/base/Format.h"
#include "platform/gfx/FreqInfo.h"
#include "platform/gfx/OctaveManager.h"

std::string CBandSetCheck::Storable(const COctaveManager& bands)
{
    if (std::string why = COctaveManager::CheckKind(bands.GetBandType()); !why.empty())
        return why;
    if (std::string why = COctaveManager::CheckRange(bands.GetStartFreq(), bands.GetEndFreq()); !why.empty())
        return why;
    for (int i = 0; i < bands.GetFreqCount(); ++i) {
        const double centre = bands.GetFreq(i), lower = bands.GetLowerFreq(i), upper = bands.GetUpperFreq(i);
        if (std::string why = CFreqInfo::CheckEdges(centre, lower, upper); !why.empty())
            return Format("%s (band %d: %g Hz from %g to %g Hz)", why.c_str(), i + 1, centre, lower, upper);
    }
    return {};
}
