#pragma once
// The points a long curve is drawn through: the lowest and the highest of each of a fixed number
// of stretches, in their order, so that peaks and dips stay and drawing costs the same for any
// length. The values are handed over a stretch at a time, in order, so a curve of millions of
// points never has to be held whole to be drawn.
#include <vector>

class CZuCurveEnvelope
{
public:
    // A curve of points values (more than stretches), cut into stretches of nearly equal length.
    CZuCurveEnvelope(int points, int stretches);
    // The same, for the points from first on only: a curve read in pieces side by side has one
    // envelope per piece, merged in their order once read.
    CZuCurveEnvelope(int points, int stretches, int first);

    // The values of the next count points (NaN: a gap).
    void Add(const double* y, int count);
    // Whether every point was handed over.
    bool IsComplete() const { return m_next >= m_points; }
    // Takes in an envelope of the same curve and stretches whose points all come after this one's
    // (the next piece): the extremes are those of both, the first of equal ones kept.
    void Merge(const CZuCurveEnvelope& later);

    // The points to draw, once complete: the index of each in the curve and its value. A stretch of
    // nothing but gaps keeps one gap, at its first point.
    void GetPoints(std::vector<int>& index, std::vector<double>& y) const;

private:
    struct Stretch
    {
        int lo = -1, hi = -1;
        double yLo = 0.0, yHi = 0.0;
    };
    int Begin(int stretch) const;

    int m_points;
    std::vector<Stretch> m_stretches;
    int m_next = 0;    // the next point to come
    int m_current = 0; // the stretch it belongs to
    int m_end = 0;     // where that stretch ends
};
