#include "uff/UFRpmInfo.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/base/Format.h"

int TAG_UFRPMINFO::FindOrInsertRpm(double rpm)
{
    // A value that orders with nothing (NaN) goes to the end, where the walk of old put it.
    if (std::isnan(rpm) || rpms.empty() || rpms.back() < rpm) {
        rpms.push_back(rpm);
        return static_cast<int>(rpms.size()) - 1;
    }
    const auto at = std::lower_bound(rpms.begin(), rpms.end(), rpm);
    if (at != rpms.end() && *at == rpm)
        return static_cast<int>(at - rpms.begin());
    const auto inserted = rpms.insert(at, rpm);
    return static_cast<int>(inserted - rpms.begin());
}

int TAG_UFRPMINFO::FindNearestRpm(double rpm) const
{
    if (rpms.empty())
        return -1;
    if (std::isnan(rpm) || std::isnan(rpms.back())) {
        // Nothing to bisect on: the plain walk.
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
    // The nearest value is the first one not below rpm or the one before it; on a tie the one
    // before, as the first of equals.
    const size_t i = static_cast<size_t>(std::lower_bound(rpms.begin(), rpms.end(), rpm) - rpms.begin());
    if (i == rpms.size())
        return static_cast<int>(i) - 1;
    if (i == 0)
        return 0;
    return std::fabs(rpms[i - 1] - rpm) <= std::fabs(rpms[i] - rpm) ? static_cast<int>(i) - 1 : static_cast<int>(i);
}

std::string TAG_UFRPMINFO::CheckRpm(double rpm)
{
    if (!std::isfinite(rpm))
        return Format("RPM %g is not a number a project can hold", rpm);
    if (rpm < static_cast<double>(INT_MIN) || rpm > static_cast<double>(INT_MAX))
        return Format("RPM %.0f lies beyond the RPMs a project can hold (%d to %d)", rpm, INT_MIN, INT_MAX);
    return {};
}

bool TAG_UFRPMINFO::BuildGrid(Grid& grid, std::string* why)
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
    // The grid's ends are stored as 32-bit RPMs: worked out wide, and refused when they do not fit.
    const double start = std::floor(first + 0.5);
    const double count =
        std::clamp(std::floor((last - start) / step + 0.5) + 1.0, 1.0, static_cast<double>(n) * 4.0 + 1.0);
    const double high = start + (count - 1.0) * step;
    if (!(start >= INT_MIN && high <= INT_MAX)) {
        if (why)
            *why = Format("the RPM grid from %.0f to %.0f RPM lies beyond the RPMs a project can hold (%d to %d)",
                          start, high, INT_MIN, INT_MAX);
        return false;
    }
    grid.step = static_cast<int>(step);
    grid.start = static_cast<int>(start);
    grid.count = static_cast<int>(count);
    gridIndexes.reserve(static_cast<size_t>(grid.count));
    size_t at = 0;
    for (int k = 0; k < grid.count; ++k) {
        const double target = start + static_cast<double>(k) * step;
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
