#include "spectral/OTBandMgr.h"

#include <algorithm>
#include <cmath>

COTBandMgr::COTBandMgr() = default;

COTBandMgr::~COTBandMgr() = default;

double COTBandMgr::FindOrderLines(double order, float factor, double rpm, double bandwidth, int* first,
                                  int* count) const
{
    if (!(m_df > 0.0) || !(m_lineCount > 0.0) || !(order >= 0.0) || !(rpm > 0.0) || !(bandwidth > 0.0) || !first ||
        !count)
        return 0.0;
    const double f = GetOrderFrequency(rpm, order, factor);
    if (!std::isfinite(f))
        return 0.0;
    *first = 0;
    *count = 0;
    for (int k = 1; k < 100; ++k) {
        const double half = bandwidth * 0.5 * k;
        const double lower = f - half;
        const double upper = f + half;
        // Past the last line there is nothing to count; the clamp keeps the index an int.
        const double start = std::min(std::ceil(std::max(lower / m_df, 0.0)), m_lineCount);
        int n = 0;
        for (int j = int(start); j < m_lineCount; ++j) {
            const double fj = j * m_df;
            if (fj < lower || fj >= upper)
                break;
            ++n;
        }
        *first = int(start);
        *count = n;
        if (n > 0)
            return k;
    }
    return 100.0;
}
