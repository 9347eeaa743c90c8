#include "platform/ui/ZuCurveEnvelope.h"

#include <algorithm>
#include <cmath>
#include <limits>

CZuCurveEnvelope::CZuCurveEnvelope(int points, int stretches)
    : m_points(std::max(points, 0)), m_stretches(static_cast<size_t>(std::max(stretches, 1)))
{
    m_end = Begin(1);
}

CZuCurveEnvelope::CZuCurveEnvelope(int points, int stretches, int first) : CZuCurveEnvelope(points, stretches)
{
    m_next = std::clamp(first, 0, m_points);
    const int last = static_cast<int>(m_stretches.size()) - 1;
    while (m_next >= m_end && m_current < last)
        m_end = Begin(++m_current + 1);
}

void CZuCurveEnvelope::Merge(const CZuCurveEnvelope& later)
{
    const size_t n = std::min(m_stretches.size(), later.m_stretches.size());
    for (size_t b = 0; b < n; ++b) {
        Stretch& s = m_stretches[b];
        const Stretch& o = later.m_stretches[b];
        if (o.lo >= 0 && (s.lo < 0 || o.yLo < s.yLo)) {
            s.lo = o.lo;
            s.yLo = o.yLo;
        }
        if (o.hi >= 0 && (s.hi < 0 || o.yHi > s.yHi)) {
            s.hi = o.hi;
            s.yHi = o.yHi;
        }
    }
    if (later.m_next > m_next) {
        m_next = later.m_next;
        m_current = later.m_current;
        m_end = later.m_end;
    }
}

int CZuCurveEnvelope::Begin(int stretch) const
{
    return static_cast<int>(static_cast<long long>(m_points) * stretch / static_cast<long long>(m_stretches.size()));
}

void CZuCurveEnvelope::Add(const double* y, int count)
{
    const int last = static_cast<int>(m_stretches.size()) - 1;
    for (int k = 0; k < count && m_next < m_points; ++k, ++m_next) {
        while (m_next >= m_end && m_current < last)
            m_end = Begin(++m_current + 1);
        const double v = y[k];
        if (std::isnan(v))
            continue;
        Stretch& s = m_stretches[static_cast<size_t>(m_current)];
        // The first of equal extremes is the one kept.
        if (s.lo < 0 || v < s.yLo) {
            s.lo = m_next;
            s.yLo = v;
        }
        if (s.hi < 0 || v > s.yHi) {
            s.hi = m_next;
            s.yHi = v;
        }
    }
}

void CZuCurveEnvelope::GetPoints(std::vector<int>& index, std::vector<double>& y) const
{
    index.clear();
    y.clear();
    index.reserve(2 * m_stretches.size());
    y.reserve(2 * m_stretches.size());
    for (size_t b = 0; b < m_stretches.size(); ++b) {
        const int begin = Begin(static_cast<int>(b));
        if (begin >= Begin(static_cast<int>(b) + 1))
            continue; // an empty stretch (a curve shorter than the stretches)
        const Stretch& s = m_stretches[b];
        if (s.lo < 0) {
            index.push_back(begin);
            y.push_back(std::numeric_limits<double>::quiet_NaN());
            continue;
        }
        const bool lowFirst = s.lo <= s.hi;
        index.push_back(lowFirst ? s.lo : s.hi);
        y.push_back(lowFirst ? s.yLo : s.yHi);
        if (s.hi != s.lo) {
            index.push_back(lowFirst ? s.hi : s.lo);
            y.push_back(lowFirst ? s.yHi : s.yLo);
        }
    }
}
