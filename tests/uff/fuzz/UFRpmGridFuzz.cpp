// libFuzzer target: the RPM grid of a run over any RPM values (the input's bytes as doubles, up to
// a few thousand): the values stay ascending and unique, the nearest one is found as a walk over
// all finds it, and a grid that is built fits 32-bit RPMs and points only at values the run has.
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "uff/UFRpmInfo.h"

namespace {
int NearestByWalk(const TAG_UFRPMINFO& run, double rpm)
{
    int best = -1;
    double bestDiff = 0.0;
    for (size_t i = 0; i < run.rpms.size(); ++i) {
        const double d = std::fabs(run.rpms[i] - rpm);
        if (best < 0 || d < bestDiff) {
            best = static_cast<int>(i);
            bestDiff = d;
        }
    }
    return best;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TAG_UFRPMINFO run;
    const size_t count = std::min<size_t>(size / sizeof(double), 4096);
    for (size_t i = 0; i < count; ++i) {
        double rpm;
        std::memcpy(&rpm, data + i * sizeof(double), sizeof rpm);
        if (!std::isfinite(rpm))
            continue; // the import refuses these before they reach a run
        const int at = run.FindOrInsertRpm(rpm);
        if (at < 0 || at >= static_cast<int>(run.rpms.size()) || run.rpms[static_cast<size_t>(at)] != rpm)
            __builtin_trap();
        const int nearest = run.FindNearestRpm(rpm * 0.999 + 1.0);
        const int walked = NearestByWalk(run, rpm * 0.999 + 1.0);
        if (nearest < 0 || std::fabs(run.rpms[static_cast<size_t>(nearest)] - (rpm * 0.999 + 1.0)) !=
                               std::fabs(run.rpms[static_cast<size_t>(walked)] - (rpm * 0.999 + 1.0)))
            __builtin_trap();
    }
    for (size_t i = 1; i < run.rpms.size(); ++i)
        if (!(run.rpms[i - 1] < run.rpms[i]))
            __builtin_trap();
    TAG_UFRPMINFO::Grid grid;
    if (run.BuildGrid(grid)) {
        const long long high = static_cast<long long>(grid.start) + static_cast<long long>(grid.count - 1) * grid.step;
        if (grid.step < 1 || grid.count < 1 || high > INT_MAX ||
            run.gridIndexes.size() != static_cast<size_t>(grid.count))
            __builtin_trap();
        for (int k : run.gridIndexes)
            if (k < 0 || k >= static_cast<int>(run.rpms.size()))
                __builtin_trap();
    }
    return 0;
}
