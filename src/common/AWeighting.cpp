#include "common/AWeighting.h"

#include <cmath>

double AWeightGain(double f)
{
    if (!(f > 0.0))
        return 0.0;
    constexpr double f1Sq = 424.31867740600904;
    constexpr double f2Sq = 11589.0930520225;
    constexpr double f3Sq = 544440.6704605728;
    constexpr double f4Sq = 148699001.40839997;
    constexpr double k1 = 2.242881e16;
    constexpr double k3 = 1.562339;
    const double ff = f * f;
    const double ff2 = ff * ff;
    const double lowHigh = k1 * ff2 / ((ff + f1Sq) * (ff + f1Sq) * (ff + f4Sq) * (ff + f4Sq));
    const double mid = k3 * ff2 / ((ff + f2Sq) * (ff + f3Sq));
    return lowHigh * mid;
}

double AWeightingDB(double f, double level)
{
    return level + 10.0 * std::log10(AWeightGain(f));
}
