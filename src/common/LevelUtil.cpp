#include "common/LevelUtil.h"

#include "platform/gfx/GfxCalc.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
double RobustMean3(double a, double b, double c)
{
    const double d1 = std::fabs(a - b);
    const double d2 = std::fabs(b - c);
    const double oneIn99 = 0.010101010101010102;
    double corr = 0.0;
    if (d1 < d2)
        corr = (100.0 * d1 < d2) ? d1 : (d2 - d1) * oneIn99;
    else if (d2 < d1)
        corr = (100.0 * d2 < d1) ? -d2 : (d2 - d1) * oneIn99;
    return b + 0.5 * corr;
}

std::vector<double> SortedDescending(const double* x, int n)
{
    std::vector<double> copy(x, x + n);
    // NaN last: a comparison that is not a strict weak order would let the sort run off the end.
    std::sort(copy.begin(), copy.end(), [](double a, double b) {
        if (std::isnan(a))
            return false;
        return std::isnan(b) || a > b;
    });
    return copy;
}
} // namespace

double RobustMean(const double* x, int n)
{
    if (!x || n <= 0)
        return 0.0;
    if (n == 1)
        return x[0];
    if (n == 2)
        return (x[0] + x[1]) * 0.5;
    if (n == 3)
        return RobustMean3(x[0], x[1], x[2]);
    // Reduce three at a time without recursion, so that long runs cannot exhaust the stack.
    std::vector<double> y(x, x + n);
    while (y.size() > 3) {
        for (size_t i = 0; i + 2 < y.size(); ++i)
            y[i] = RobustMean3(y[i], y[i + 1], y[i + 2]);
        y.resize(y.size() - 2);
    }
    return RobustMean(y.data(), static_cast<int>(y.size()));
}

double GetAverageEx(const double* x, int n, int mode)
{
    if (mode == 0 || mode == 1)
        return CGfxCalc::GetAverage(x, n, mode);
    if (mode == 2) {
        if (!x || n <= 0)
            return 0.0;
        const std::vector<double> sorted = SortedDescending(x, n);
        return RobustMean(sorted.data(), n);
    }
    return 0.0;
}

double GetLevelAverage(double* x, int n, int mode)
{
    if (!x || n <= 0)
        return 0.0;
    if (mode == 0 || mode == 1) {
        for (int i = 0; i < n; ++i)
            x[i] = x[i] * x[i];
        return std::sqrt(CGfxCalc::GetAverage(x, n, mode));
    }
    if (mode == 2) {
        for (int i = 0; i < n; ++i)
            x[i] = CGfxCalc::GetPressureDecibel(x[i], 1.0); // 20·log10, the floor level for none
        const std::vector<double> sorted = SortedDescending(x, n);
        return std::pow(10.0, 0.05 * RobustMean(sorted.data(), n));
    }
    return 0.0;
}

bool IsMissingLevel(double level)
{
    return level == 0.0 || level == HUGE_VAL || std::isnan(level);
}

double SumLevels(const double* levels, int n)
{
    if (!levels)
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        if (!IsMissingLevel(levels[i]))
            sum += std::pow(10.0, 0.1 * levels[i]);
    return sum > 0.0 ? 10.0 * std::log10(sum) : 0.0;
}
