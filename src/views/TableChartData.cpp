#include "views/TableChartData.h"

#include <cmath>
#include <limits>

void CTableChartData::SetLogRanges()
{
    double x0 = std::numeric_limits<double>::max(), x1 = -x0;
    double y0 = x0, y1 = -x0;
    for (const CTableChartSubset& s : subsets) {
        for (double x : s.x) {
            if (std::isfinite(x) && (!xLog || x > 0.0)) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
            }
        }
        for (double y : s.y) {
            if (std::isfinite(y) && y > 0.0) {
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    xManual = xLog && x0 < x1 && x0 > 0.0;
    if (xManual) {
        xMin = std::pow(10.0, std::floor(std::log10(x0)));
        xMax = std::pow(10.0, std::ceil(std::log10(x1)));
    }
    yManual = yLog && y0 < y1;
    if (yManual) {
        yMin = std::pow(10.0, std::floor(std::log10(y0)));
        yMax = std::pow(10.0, std::ceil(std::log10(y1)));
    }
}
