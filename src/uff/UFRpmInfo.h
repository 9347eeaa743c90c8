#pragma once
// One measurement run of a universal-file import: the time key of its first dataset, the RPM values
// its datasets were measured at (ascending) and, for each point of the project's RPM grid, the
// index of the nearest of those values.
#include <string>
#include <vector>

struct TAG_UFRPMINFO
{
    int timeKey = 0;
    std::vector<double> rpms;     // ascending
    std::vector<int> gridIndexes; // per grid point: index into rpms

    // The index of an equal RPM; otherwise rpm is inserted before the first larger value (appended
    // when there is none) and that index is returned. Found by bisection: a run of many RPMs that
    // arrive in order costs no more per value than a short one.
    int FindOrInsertRpm(double rpm);
    // The index of the nearest RPM (smallest absolute difference, the first of equals); -1 when
    // there is none.
    int FindNearestRpm(double rpm) const;

    // Why an RPM cannot enter a project (the project keeps its RPM grid in 32-bit integers): empty
    // when it can.
    static std::string CheckRpm(double rpm);

    // Result of building the grid.
    struct Grid
    {
        int start = 0;
        int step = 0;
        int count = 0;
    };
    // The grid over the detected values (run-up data): step = (last - first) / (n - 1) rounded,
    // start = first rounded, count up to the last value; each grid RPM is mapped to the nearest
    // detected value by walking up while the next one is strictly closer. False (grid indexes
    // empty) for fewer than two values or a step that rounds to 0, and for a grid whose first or
    // last RPM lies beyond the 32-bit range (why, when given, says so).
    bool BuildGrid(Grid& grid, std::string* why = nullptr);
    // One fixed RPM: the single grid index 0 with step 0.
    void BuildFixedGrid();

    // The detected RPM at grid point k; 0.0 outside.
    double GridRpm(int k) const;
};
