#pragma once
// Static numeric helpers: averages, energy and pressure decibels, complex square root.
#include <complex>

class CGfxCalc
{
public:
    CGfxCalc() = delete;

    enum : int
    {
        AVERAGE_ARITHMETIC = 0, // sum / n
        AVERAGE_GEOMETRIC = 1,  // exp(mean of ln x) over the values above 0 (the mean of their levels)
    };

    // Average of count values by kind; 0.0 for no values, a null array or another kind.
    static double GetAverage(const double* values, int count, int kind);

    // 10·log10(value) (reference 1 J or 1 W). Not defined for value <= 0: gives kNoLevel.
    static double GetEnergyDecibel(double value);
    // 20·log10(value / reference). value <= 0 or reference <= 0 gives kNoLevel.
    static double GetPressureDecibel(double value, double reference);
    // Inverses: 10^(0.1·level) and reference·10^(0.05·level).
    static double EnergyFromDecibel(double level);
    static double PressureFromDecibel(double level, double reference);

    // The level given for a value that has none (no power, no pressure): far below any real level.
    static constexpr double kNoLevel = -307.0;

    // Principal square root (non-negative real part).
    static std::complex<double> ComplexSqrt(const std::complex<double>& z);
};
