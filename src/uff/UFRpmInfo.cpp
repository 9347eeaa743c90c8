#include "uff/UFRpmInfo.h"

#include <algorithm>
#include <cmath>

int TAG_UFRPMINFO::FindOrInsertRpm(double rpm)
{
    for (size_t i = 0; i < rpms.size(); ++i) {
        if (rpms[i] == rpm)
            return static_cast<int>(i);
        if (rpms[i] > rpm) {
            rpms.insert(rpms.begin() + static_cast<std::ptrdiff_t>(i), rpm);
            return static_cast<int>(i);
        }
    }
    rpms.push_back(rpm);
    return static_cast<int>(rpms.size()) - 1;
}

int TAG_UFRPMINFO::FindNearestRpm(double rpm) const
{
    int best = -1;
    double bestDiff = 0.0;
    for (size_t i = 0; i < rpms.size(); ++i) {
        const double d = std::fabs(rpms[i] - rpm);
        if (best < 0 || d < bestDiff) {
            best = static_cast<int>(i);
            bestDiff = d;
        }
    }
    return best;
}

bool TAG_UFRPMINFO::BuildGrid(Grid& grid)
{
    gridIndexes.clear();
    grid = Grid();
    const size_t n = rpms.size();
    if (n < 2)
        return false;
    const double first = rpms.front();
    const double last = rpms.back();
    // n values span n - 1 intervals: dividing by n would make the grid finer than the data.
    const double step = std::floor((last - first) / static_cast<double>(n - 1) + 0.5);
    if (!(step >= 1.0) || step > 1e9)
        return false;
    grid.step = static_cast<int>(step);
    grid.start = static_cast<int>(std::floor(first + 0.5));
    const double count = std::floor((last - grid.start) / step + 0.5) + 1.0;
    grid.count = static_cast<int>(std::clamp(count, 1.0, static_cast<double>(n) * 4.0 + 1.0));
    size_t at = 0;
    for (int k = 0; k < grid.count; ++k) {
        const double target = grid.start + static_cast<double>(k) * grid.step;
        while (at + 1 < n && std::fabs(rpms[at + 1] - target) < std::fabs(rpms[at] - target))
            ++at;
        gridIndexes.push_back(static_cast<int>(at));
    }
    return true;
}

void TAG_UFRPMINFO::BuildFixedGrid()
{
    gridIndexes.assign(1, 0);
}

double TAG_UFRPMINFO::GridRpm(int k) const
{
    if (k < 0 || k >= static_cast<int>(gridIndexes.size()))
        return 0.0;
    const int i = gridIndexes[static_cast<size_t>(k)];
    return i >= 0 && i < static_cast<int>(rpms.size()) ? rpms[static_cast<size_t>(i)] : 0.0;
}
