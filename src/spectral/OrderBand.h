#pragma once
// Frequencies of engine orders and the bands that hold them.
class COctaveManager;

// Frequency in Hz of an order at an engine speed: rpm * order * factor / 60.
double GetOrderFrequency(double rpm, double order, double factor);

// Index of the band that holds f: 0 at or below the first centre, the last index at or above the
// last centre, otherwise the band with lower <= f < upper; -1 for an empty band definition or a f
// that falls in a gap between bands or a null band definition (the caller passes the band set of the
// project its data belong to).
int FindOctaveBandIndex(double f, const COctaveManager* bands);
// FindOctaveBandIndex of the order frequency.
int GetOrderBandIndex(double rpm, double order, double factor, const COctaveManager* bands);
// The same with the order frequency first truncated to a whole number of Hz.
int GetOrderBandIndexInt(double rpm, double order, double factor, const COctaveManager* bands);
