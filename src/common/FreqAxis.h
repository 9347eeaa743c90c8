#pragma once
// Frequency axes of the RPM and order domains: one band per RPM or order value.
#include <vector>

class CFreqInfoList;

// Domain types of BuildFreqInfoList whose band edges come from a fixed grid.
enum : int
{
    FREQ_AXIS_THIRD_OCTAVE_GRID = 0,   // one-third-octave edges, 1.12 Hz to 22.39 kHz
    FREQ_AXIS_TWELFTH_OCTAVE_GRID = 3, // one-twelfth-octave edges, 90.98 Hz to 11.65 kHz
};

// Empties the list, then appends one entry per value v with centre f = v·p·q·(1/60) (v the RPM or
// the order, p and q the other one and the order factor) and the domain type. Types 0 and 3 take
// their edges from their grid: the first pair g[i] <= f < g[i+1] gives edges f ∓ (g[i+1]-g[i])/2,
// and a centre outside the grid keeps zero width; other types span f ∓ bandwidth/2.
// Returns the list's closing result (its entry count).
int BuildFreqInfoList(CFreqInfoList& list, int domainType, double bandwidth, double p, double q,
                      const std::vector<double>& values);

// The fixed edge grids of domain types 0 and 3 (empty for other types).
const std::vector<double>& GetFreqAxisGrid(int domainType);
