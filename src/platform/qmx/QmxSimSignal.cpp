#include "platform/qmx/QmxSimSignal.h"

#include "platform/qmx/QmxSimLayout.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr int kTableBits = 12;
constexpr int kTableSize = 1 << kTableBits;

const std::array<float, kTableSize>& SineTable()
{
    static const std::array<float, kTableSize> table = [] {
        std::array<float, kTableSize> t{};
        for (int i = 0; i < kTableSize; ++i)
            t[static_cast<size_t>(i)] = static_cast<float>(std::sin(2.0 * M_PI * i / kTableSize));
        return t;
    }();
    return table;
}

// The fraction of x >= 0. Below 2, x - 1 is exact and the same as x - floor(x); the increments per
// sample are far below 1, so the library's floor is almost never called.
inline double Wrap(double x)
{
    if (x < 1.0)
        return x;
    return x < 2.0 ? x - 1.0 : x - std::floor(x);
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
    if (m_seed == 0)
        m_seed = 1;
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
    m_inc = m_inc0;
    m_engine = 0.0;
    m_phases.clear();
    for (const Order& o : m_orderSet)
        m_phases.push_back(o.phase0);
    m_state = m_seed;
}

void CQmxSimSignal::Generate(float* out, int count, float range, float gain)
{
    // The state lives in locals while the block is made (the compiler keeps them in registers),
    // the kind of channel is decided once, and the ramp's part of the block apart from the rest.
    int i = 0;
    while (i < count) {
        const bool ramp = m_position < m_rampSamples;
        const int64_t left = ramp ? m_rampSamples - m_position : int64_t(count - i);
        const int n = static_cast<int>(std::min<int64_t>(count - i, left));
        if (m_counter)
            GenerateBlock<kCounter>(out + i, n, range, gain, ramp);
        else if (m_pulse)
            GenerateBlock<kPulse>(out + i, n, range, gain, ramp);
        else
            GenerateBlock<kOrders>(out + i, n, range, gain, ramp);
        i += n;
    }
}

template <int KIND>
void CQmxSimSignal::GenerateBlock(float* out, int count, float range, float gain, bool ramp)
{
    const auto& table = SineTable();
    const float lo = -range, hi = range;
    const float noiseScale = m_noise * gain / 2147483648.0f;
    const size_t orders = m_orderSet.size();
    constexpr size_t kLocalOrders = 8;
    double phases[kLocalOrders];
    double steps[kLocalOrders];
    float volts[kLocalOrders];
    const bool local = orders <= kLocalOrders;
    if (local)
        for (size_t k = 0; k < orders; ++k) {
            phases[k] = m_phases[k];
            steps[k] = m_orderSet[k].order;
            volts[k] = m_orderSet[k].volts;
        }
    int64_t position = m_position;
    double inc = m_inc;
    double engine = m_engine;
    uint32_t state = m_state;
    const double incStep = ramp ? m_incStep : 0.0;
    for (int i = 0; i < count; ++i) {
        float v = 0.0f;
        if constexpr (KIND == kCounter) {
            v = static_cast<float>(position & 8191) * (1.0f / 1024.0f);
        } else if constexpr (KIND == kPulse) {
            const double teeth = engine * m_pulsesPerRev;
            v = (teeth - std::floor(teeth)) < 0.25 ? m_pulseVolts * gain : 0.0f;
        } else {
            if (local) {
                for (size_t k = 0; k < orders; ++k) {
                    const auto idx = static_cast<size_t>(phases[k] * kTableSize) & (kTableSize - 1);
                    v += volts[k] * table[idx];
                    phases[k] = Wrap(phases[k] + steps[k] * inc);
                }
            } else {
                for (size_t k = 0; k < orders; ++k) {
                    const auto idx = static_cast<size_t>(m_phases[k] * kTableSize) & (kTableSize - 1);
                    v += m_orderSet[k].volts * table[idx];
                    m_phases[k] = Wrap(m_phases[k] + m_orderSet[k].order * inc);
                }
            }
            v *= gain;
            // xorshift32: uniform over the 32-bit integers, taken as signed.
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            v += noiseScale * static_cast<float>(static_cast<int32_t>(state));
        }
        out[i] = std::clamp(v, lo, hi);
        engine = Wrap(engine + inc);
        if (ramp)
            inc += incStep;
        ++position;
    }
    if (local)
        for (size_t k = 0; k < orders; ++k)
            m_phases[k] = phases[k];
    m_position = position;
    m_inc = inc;
    m_engine = engine;
    m_state = state;
}
