#pragma once
// The universal file of the universal-file benchmarks: 1,000 complex spectra of 4,096 values in
// E13.5 fields (about 110 MB), one run-up of 40 points of "Roof" (response nodes 1 to 40) at 25
// RPMs from 1000 in steps of 100 (the RPM in the Z-axis value), all made at one time; and a file of
// time histories of about the same size.
#include <cstdio>
#include <string>

namespace ufbench {

constexpr int kDatasets = 1000;
constexpr int kValues = 4096;
constexpr int kPoints = 40;
constexpr double kDf = 2.5;

inline double RpmOf(int d)
{
    return 1000.0 + 100.0 * (d / kPoints);
}

// Writes the file; false when it cannot be written.
inline bool WriteSpectraFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    char line[128];
    for (int d = 0; d < kDatasets; ++d) {
        std::fprintf(f, "    -1\n    58\nname dir Roof_%d\n[UID=S%04d]\n15-Jan-24 10:30:00\nNONE\nNONE\n",
                     d % kPoints + 1, d);
        std::fprintf(f, "%5d%10d%5d%10d %-10s%10d%4d %-10s%10d%4d\n", 12, 1, 0, 0, "Roof", d % kPoints + 1, 3, "Floor",
                     1, 3);
        std::fprintf(f, "%10d%10d%10d%13.5E%13.5E%13.5E\n", 5, kValues, 1, 0.0, kDf, RpmOf(d));
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 18, 0, 0, 0, "Frequency", "Hz");
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 12, 0, 0, 0, "Response", "m/s2");
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 0, 0, 0, 0, "NONE", "NONE");
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 0, 0, 0, 0, "NONE", "NONE");
        int n = 0;
        for (int i = 0; i < 2 * kValues; ++i) {
            const double v = (i % 2 ? -1.0 : 1.0) * (1.0 + (i * 7919 + d * 104729) % 100000) * 1e-4;
            n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n), "%13.5E", v);
            if (n >= 6 * 13 || i + 1 == 2 * kValues) {
                std::fprintf(f, "%s\n", line);
                n = 0;
            }
        }
        std::fputs("    -1\n", f);
    }
    return std::fclose(f) == 0;
}

// The time-history file of the dataset-58 reading benchmark: 250 responses of 32,768 real values
// sampled at 51.2 kHz, in E13.5 fields (about 110 MB).
constexpr int kTimeDatasets = 250;
constexpr int kTimeValues = 32768;

inline bool WriteTimeHistoryFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    char line[128];
    for (int d = 0; d < kTimeDatasets; ++d) {
        std::fprintf(f, "    -1\n    58\nname dir Roof_%d\n[UID=T%04d]\n15-Jan-24 10:30:00\nNONE\nNONE\n",
                     d % kPoints + 1, d);
        std::fprintf(f, "%5d%10d%5d%10d %-10s%10d%4d %-10s%10d%4d\n", 1, 1, 0, 0, "Roof", d % kPoints + 1, 3, "NONE", 0,
                     0);
        std::fprintf(f, "%10d%10d%10d%13.5E%13.5E%13.5E\n", 2, kTimeValues, 1, 0.0, 1.0 / 51200.0, RpmOf(d));
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 17, 0, 0, 0, "Time", "s");
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 12, 0, 0, 0, "Response", "m/s2");
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 0, 0, 0, 0, "NONE", "NONE");
        std::fprintf(f, "%10d%5d%5d%5d %-20s %-20s\n", 0, 0, 0, 0, "NONE", "NONE");
        int n = 0;
        for (int i = 0; i < kTimeValues; ++i) {
            const double v = (i % 3 ? -1.0 : 1.0) * (1.0 + (i * 7919 + d * 104729) % 100000) * 1e-3;
            n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n), "%13.5E", v);
            if (n >= 6 * 13 || i + 1 == kTimeValues) {
                std::fprintf(f, "%s\n", line);
                n = 0;
            }
        }
        std::fputs("    -1\n", f);
    }
    return std::fclose(f) == 0;
}

} // namespace ufbench
