#pragma once
// Averages and sums of levels. Levels are summed in linear power (10^(L/10)) and converted back
// with 10·log10; a level of 0 or HUGE_VAL is missing and takes no part.

// The outlier-robust mean: of three values (in the given order) the middle one moved towards the
// nearer neighbour; longer runs are reduced three at a time until three or fewer remain.
// 0 for no values.
double RobustMean(const double* x, int n);

// Modes 0 and 1: the averages of the graphics library; mode 2: the robust mean of the values
// sorted largest first; other modes 0.0.
double GetAverageEx(const double* x, int n, int mode);

// Average of amplitudes. Modes 0 and 1 square every value in place and return the root of their
// average; mode 2 replaces every value in place by its level 20·log10(value) (a value of 0 or less
// has no level and becomes the floor level) and returns the amplitude of the robust mean of the
// levels; other modes 0.0.
double GetLevelAverage(double* x, int n, int mode);

// True for the values that stand for a missing level: 0, HUGE_VAL (and NaN).
bool IsMissingLevel(double level);

// Sum of levels in linear power; missing levels are skipped. 0.0 (missing) when nothing is summed.
double SumLevels(const double* levels, int n);
