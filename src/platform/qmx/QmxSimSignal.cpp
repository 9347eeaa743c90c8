#include "platform/qmx/QmxSimSignal.h"

#include "platform/qmx/QmxSimLayout.h"

#include <algorithm>
#include <cmath>

// The generator's loops are compiled for the baseline and for AVX2/FMA machines, and the loader
// picks the one the processor runs; the helpers they call are always inlined, so each build
// vectorises them with its own instructions.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ORVEX_SIM_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define ORVEX_SIM_CLONES
#endif
#define ORVEX_SIM_INLINE inline __attribute__((always_inline))

namespace {
// sin(2 pi x) for x in cycles, within about 0.001 of the full amplitude (a corrected parabola over
// the nearest half cycle): plain arithmetic, so a loop over samples vectorises. The phase is taken
// to the nearest whole cycle by adding and taking away 1.5 * 2^23, exact for |x| < 2^22.
ORVEX_SIM_INLINE float SineOfCycles(float x)
{
    constexpr float kRound = 12582912.0f;
    const float t = x - ((x + kRound) - kRound); // -0.5 .. 0.5
    const float y = 8.0f * t - 16.0f * t * std::fabs(t);
    return 0.225f * (y * std::fabs(y) - y) + y;
}

inline double Wrap(double x)
{
    return x - std::floor(x);
}

// A uniform 32-bit number for each sample position and seed (an integer hash of good
// avalanche): the same sample always gets the same noise, however the run is read.
ORVEX_SIM_INLINE uint32_t NoiseBits(uint32_t seed, int64_t position)
{
    uint32_t x = seed + static_cast<uint32_t>(position) * 0x9E3779B9u;
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

// Revolutions from the anchor to each sample of a span, in double and in single precision.
ORVEX_SIM_CLONES void SpanRevolutions(double* revs, float* cycles, int count, double first, double inc, double halfStep)
{
    for (int j = 0; j < count; ++j) {
        const double s = first + j;
        revs[j] = s * (inc + halfStep * (s - 1.0));
        cycles[j] = static_cast<float>(revs[j]);
    }
}

ORVEX_SIM_CLONES void AddOrder(float* sum, const float* cycles, int count, float phase, float order, float volts)
{
    for (int j = 0; j < count; ++j)
        sum[j] += volts * SineOfCycles(phase + order * cycles[j]);
}

// Noise uniform over the 32-bit integers taken as signed, added to the orders' sum.
ORVEX_SIM_CLONES void AddNoise(float* out, const float* sum, int count, float gain, float noiseScale, uint32_t seed,
                               int64_t position, float lo, float hi)
{
    for (int j = 0; j < count; ++j) {
        const auto bits = static_cast<int32_t>(NoiseBits(seed, position + j));
        out[j] = std::clamp(sum[j] * gain + noiseScale * static_cast<float>(bits), lo, hi);
    }
}
} // namespace

CQmxSimSignal::CQmxSimSignal(const CQmxSimLayout& layout, int channel, double sampleRate)
    : m_rate(sampleRate > 0.0 ? sampleRate : 1.0)
{
    m_pulse = channel == layout.pulseChannel;
    m_counter = !m_pulse && channel == layout.counterChannel;
    m_pulsesPerRev = std::max(1, layout.pulsesPerRev);
    m_pulseVolts = static_cast<float>(layout.pulseVolts);
    m_noise = m_pulse ? 0.0f : static_cast<float>(layout.noiseVolts);
    m_inc0 = layout.rpmStart / 60.0 / m_rate;
    m_rampSamples = static_cast<int64_t>(std::max(0.0, layout.rampSeconds) * m_rate);
    if (m_rampSamples > 0)
        m_incStep = (layout.rpmEnd - layout.rpmStart) / 60.0 / m_rate / static_cast<double>(m_rampSamples);
    m_seed = 0x9E3779B9u ^ (static_cast<uint32_t>(channel) * 0x85EBCA6Bu);
    // Each channel sees the engine through a path of its own: less of it the further down the
    // board, and later.
    const double gain = 1.0 / (1.0 + 0.15 * (channel % 8));
    for (const auto& [order, volts] : layout.orders)
        m_orderSet.push_back({order, static_cast<float>(volts * gain), Wrap(0.07 * channel * order)});
    Reset();
}

void CQmxSimSignal::Reset()
{
    m_position = 0;
    m_anchor = 0;
    m_inc = m_inc0;
    m_engine = 0.0;
    m_phases.clear();
    for (const Order& o : m_orderSet)
        m_phases.push_back(o.phase0);
}

int64_t CQmxSimSignal::NextAnchor() const
{
    const int64_t next = (m_anchor / kSpan + 1) * kSpan;
    return m_anchor < m_rampSamples && m_rampSamples < next ? m_rampSamples : next;
}

void CQmxSimSignal::AdvanceAnchor(int64_t next)
{
    // Revolutions from the anchor to next: the sum of the revolutions per sample, which grow by a
    // constant step during the ramp (anchors never lie on both sides of its end).
    const double step = m_anchor < m_rampSamples ? m_incStep : 0.0;
    const auto len = static_cast<double>(next - m_anchor);
    const double revs = len * (m_inc + 0.5 * step * (len - 1.0));
    m_engine = Wrap(m_engine + revs);
    for (size_t k = 0; k < m_orderSet.size(); ++k)
        m_phases[k] = Wrap(m_phases[k] + m_orderSet[k].order * revs);
    m_anchor = next;
    m_inc = m_inc0 + m_incStep * static_cast<double>(std::min(next, m_rampSamples));
}

void CQmxSimSignal::Generate(float* out, int count, float range, float gain)
{
    // The kind of channel is decided once per span.
    int i = 0;
    while (i < count) {
        const int64_t next = NextAnchor();
        const int n = static_cast<int>(std::min<int64_t>(count - i, next - m_position));
        if (m_counter)
            GenerateSpan<kCounter>(out + i, n, range, gain);
        else if (m_pulse)
            GenerateSpan<kPulse>(out + i, n, range, gain);
        else
            GenerateSpan<kOrders>(out + i, n, range, gain);
        i += n;
        m_position += n;
        if (m_position == next)
            AdvanceAnchor(next);
    }
}

template <int KIND>
void CQmxSimSignal::GenerateSpan(float* out, int count, float range, float gain)
{
    const float lo = -range, hi = range;
    const int64_t position = m_position;
    if constexpr (KIND == kCounter) {
        for (int j = 0; j < count; ++j)
            out[j] = std::clamp(static_cast<float>((position + j) & 8191) * (1.0f / 1024.0f), lo, hi);
        return;
    }
    // Revolutions from the anchor to each sample of the span.
    const double step = m_anchor < m_rampSamples ? m_incStep : 0.0;
    const double inc = m_inc;
    const double halfStep = 0.5 * step;
    const auto first = static_cast<double>(m_position - m_anchor);
    double revs[kSpan];
    // The orders' phases are small within a span, so single precision holds them well enough,
    // and several samples go through each instruction.
    float cycles[kSpan];
    SpanRevolutions(revs, cycles, count, first, inc, halfStep);
    if constexpr (KIND == kPulse) {
        const double engine = m_engine;
        const double teethPerRev = m_pulsesPerRev;
        const float high = m_pulseVolts * gain;
        for (int j = 0; j < count; ++j) {
            const double teeth = (engine + revs[j]) * teethPerRev;
            const double fraction = teeth - static_cast<double>(static_cast<int64_t>(teeth));
            out[j] = std::clamp(fraction < 0.25 ? high : 0.0f, lo, hi);
        }
    } else {
        float sum[kSpan];
        std::fill_n(sum, count, 0.0f);
        for (size_t k = 0; k < m_orderSet.size(); ++k)
            AddOrder(sum, cycles, count, static_cast<float>(m_phases[k]), static_cast<float>(m_orderSet[k].order),
                     m_orderSet[k].volts);
        AddNoise(out, sum, count, gain, m_noise * gain / 2147483648.0f, m_seed, position, lo, hi);
    }
}
