#include "platform/gfx/GfxCalc.h"

#include <cmath>

double CGfxCalc::GetAverage(const double* values, int count, int kind)
{
    if (!values || count <= 0)
        return 0.0;
    if (kind == AVERAGE_ARITHMETIC) {
        double sum = 0.0;
        for (int i = 0; i < count; ++i)
            sum += values[i];
        return sum / count;
    }
    if (kind == AVERAGE_GEOMETRIC) {
        // A value of 0 or less has no level; it is left out rather than pulling the mean to 0.
        double sumLog = 0.0;
        int taken = 0;
        for (int i = 0; i < count; ++i) {
            if (values[i] > 0.0) {
                sumLog += std::log(values[i]);
                ++taken;
            }
        }
        return taken > 0 ? std::exp(sumLog / taken) : 0.0;
    }
    return 0.0;
}

double CGfxCalc::GetEnergyDecibel(double value)
{
    if (!(value > 0.0))
        return kNoLevel;
    return 10.0 * std::log10(value);
}

double CGfxCalc::GetPressureDecibel(double value, double reference)
{
    if (!(value > 0.0) || !(reference > 0.0))
        return kNoLevel;
    return 20.0 * std::log10(value / reference);
}

double CGfxCalc::EnergyFromDecibel(double level)
{
    return std::pow(10.0, 0.1 * level);
}

double CGfxCalc::PressureFromDecibel(double level, double reference)
{
    return reference * std::pow(10.0, 0.05 * level);
}

std::complex<double> CGfxCalc::ComplexSqrt(const std::complex<double>& z)
{
    return std::sqrt(z);
}
