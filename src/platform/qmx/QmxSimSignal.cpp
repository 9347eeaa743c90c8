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

inline double Wrap(double x)
{
    return x >= 1.0 ? x - std::floor(x) : x;
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
    const auto& table = SineTable();
    const float lo = -range, hi = range;
    const float noiseScale = m_noise * gain / 2147483648.0f;
    const size_t orders = m_orderSet.size();
    for (int i = 0; i < count; ++i) {
        float v = 0.0f;
        if (m_counter) {
            v = static_cast<float>(m_position & 8191) * (1.0f / 1024.0f);
        } else if (m_pulse) {
            const double teeth = m_engine * m_pulsesPerRev;
            v = (teeth - std::floor(teeth)) < 0.25 ? m_pulseVolts * gain : 0.0f;
        } else {
            for (size_t k = 0; k < orders; ++k) {
                const auto idx = static_cast<size_t>(m_phases[k] * kTableSize) & (kTableSize - 1);
                v += m_orderSet[k].volts * table[idx];
                m_phases[k] = Wrap(m_phases[k] + m_orderSet[k].order * m_inc);
            }
            v *= gain;
            // xorshift32: uniform over the 32-bit integers, taken as signed.
            m_state ^= m_state << 13;
            m_state ^= m_state >> 17;
            m_state ^= m_state << 5;
            v += noiseScale * static_cast<float>(static_cast<int32_t>(m_state));
        }
        out[i] = std::clamp(v, lo, hi);
        m_engine = Wrap(m_engine + m_inc);
        if (m_position < m_rampSamples)
            m_inc += m_incStep;
        ++m_position;
    }
}
