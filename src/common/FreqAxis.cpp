#include "common/FreqAxis.h"

#include "platform/gfx/FreqInfo.h"

#include <cstdint>

const std::vector<double>& GetFreqAxisGrid(int domainType)
{
    static const std::vector<double> kThird = {1.12, 1.4,  1.8,  2.24, 2.8,  3.55, 4.5,  5.6,   7.1,   9.0,   11.2,
                                               14.1, 17.8, 22.4, 28.2, 35.5, 44.7, 56.2, 70.8,  89.1,  112,   141,
                                               178,  224,  282,  355,  447,  562,  708,  891,   1122,  1413,  1778,
                                               2239, 2818, 3548, 4467, 5623, 7079, 8913, 11220, 14130, 17780, 22390};
    static const std::vector<double> kTwelfth = {
        90.98, 96.39, 102.1, 108.2, 114.6, 121.4, 128.7, 136.3, 144.4, 153,   162.1, 171.7, 182,   192.8, 204.2,
        216.4, 229.3, 242.9, 257.3, 272.6, 288.8, 306,   324.2, 343.5, 363.9, 385.6, 408.5, 432.8, 458.5, 485.8,
        514.7, 545.3, 577.7, 612,   648.4, 687,   727.8, 771.1, 817,   865.5, 917,   971.5, 1029,  1091,  1155,
        1224,  1297,  1374,  1456,  1542,  1634,  1731,  1834,  1943,  2059,  2181,  2311,  2448,  2594,  2748,
        2911,  3084,  3268,  3462,  3668,  3886,  4117,  4362,  4621,  4896,  5187,  5496,  5823,  6169,  6536,
        6924,  7336,  7772,  8234,  8724,  9243,  9792,  10370, 10990, 11650};
    static const std::vector<double> kNone;
    if (domainType == FREQ_AXIS_THIRD_OCTAVE_GRID)
        return kThird;
    if (domainType == FREQ_AXIS_TWELFTH_OCTAVE_GRID)
        return kTwelfth;
    return kNone;
}

int BuildFreqInfoList(CFreqInfoList& list, int domainType, double bandwidth, double p, double q,
                      const std::vector<double>& values)
{
    list.RemoveAll();
    const uint8_t type = static_cast<uint8_t>(domainType);
    const std::vector<double>& grid = GetFreqAxisGrid(domainType);
    const bool gridded = domainType == FREQ_AXIS_THIRD_OCTAVE_GRID || domainType == FREQ_AXIS_TWELFTH_OCTAVE_GRID;
    for (double v : values) {
        const double f = v * p * q * (1.0 / 60.0);
        CFreqInfo info;
        if (gridded) {
            info.SetDomainType(type);
            info.SetCenterFreq(f);
            info.SetLowerFreq(f);
            info.SetUpperFreq(f);
            for (size_t i = 0; i + 1 < grid.size(); ++i) {
                if (grid[i] <= f && f < grid[i + 1]) {
                    const double half = (grid[i + 1] - grid[i]) * 0.5;
                    info.SetLowerFreq(f - half);
                    info.SetUpperFreq(f + half);
                    break;
                }
            }
        } else {
            info = CFreqInfo(f, f - bandwidth * 0.5, f + bandwidth * 0.5, type);
        }
        list.Add(info);
    }
    return list.Settle();
}
