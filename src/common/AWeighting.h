#pragma once
// The A-weighting filter of IEC 61672-1, shared by the signal processing (weighted spectra) and the
// display of levels (" (A-Weight)" columns).

// Squared A-weighting gain (a power ratio) at f Hz, 0 dB at 1 kHz; 0 for f <= 0.
double AWeightGain(double f);
// level plus the A-weighting correction at f in dB (minus infinity for f <= 0).
double AWeightingDB(double f, double level);
