#pragma once
// The textbook in-place radix-2 transform with its trigonometric recurrence, written out plainly:
// the reference the fast transform must agree with, and the baseline it is timed against.
// data is 1-based: data[1..2*nn] holds nn complex values (re, im); isign is +1 or -1.
#include <cmath>
#include <utility>

inline void RecurrenceFFT(float* data, unsigned nn, int isign)
{
    const unsigned n = nn << 1;
    unsigned j = 1;
    for (unsigned i = 1; i < n; i += 2) {
        if (j > i) {
            std::swap(data[j], data[i]);
            std::swap(data[j + 1], data[i + 1]);
        }
        unsigned m = n >> 1;
        while (m >= 2 && j > m) {
            j -= m;
            m >>= 1;
        }
        j += m;
    }
    for (unsigned mmax = 2; n > mmax; mmax <<= 1) {
        const unsigned istep = mmax << 1;
        const double theta = isign * (6.28318530717959 / mmax);
        double wtemp = std::sin(0.5 * theta);
        const double wpr = -2.0 * wtemp * wtemp;
        const double wpi = std::sin(theta);
        double wr = 1.0, wi = 0.0;
        for (unsigned m = 1; m < mmax; m += 2) {
            for (unsigned i = m; i <= n; i += istep) {
                const unsigned jj = i + mmax;
                const float tempr = float(wr * data[jj] - wi * data[jj + 1]);
                const float tempi = float(wr * data[jj + 1] + wi * data[jj]);
                data[jj] = data[i] - tempr;
                data[jj + 1] = data[i + 1] - tempi;
                data[i] += tempr;
                data[i + 1] += tempi;
            }
            wtemp = wr;
            wr = wr * wpr - wi * wpi + wr;
            wi = wi * wpr + wtemp * wpi + wi;
        }
    }
}
