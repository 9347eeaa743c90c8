#pragma once
// The signal of one simulated channel, generated block after block from recurrences and a sine
// table so that generation never limits a run: the engine's revolutions per sample grow by a
// constant step during the RPM ramp, each order keeps a phase accumulator, and noise comes from a
// 32-bit xorshift generator. Samples are volts, clipped at the input range.
#include <cstdint>
#include <vector>

class CQmxSimLayout;

class CQmxSimSignal
{
public:
    // channel: the global channel number (decides pulse, counter or orders, gain, phase and noise
    // seed).
    CQmxSimSignal(const CQmxSimLayout& layout, int channel, double sampleRate);

    // Back to sample 0.
    void Reset();
    // The next count samples, each scaled by gain (an overload injects gain > 1) and clipped at
    // +-range volts.
    void Generate(float* out, int count, float range, float gain = 1.0f);
    int64_t Position() const { return m_position; }

private:
    enum
    {
        kOrders,
        kPulse,
        kCounter
    };
    // count samples, all inside the RPM ramp (ramp) or all after it.
    template <int KIND>
    void GenerateBlock(float* out, int count, float range, float gain, bool ramp);

    bool m_pulse = false;
    bool m_counter = false;
    int m_pulsesPerRev = 1;
    float m_pulseVolts = 0.0f;
    float m_noise = 0.0f;
    double m_rate = 0.0;
    double m_inc0 = 0.0;    // revolutions per sample at sample 0
    double m_incStep = 0.0; // growth of that per sample during the ramp
    int64_t m_rampSamples = 0;
    uint32_t m_seed = 1;
    struct Order
    {
        double order;
        float volts;
        double phase0;
    };
    std::vector<Order> m_orderSet;

    // Running state.
    int64_t m_position = 0;
    double m_inc = 0.0;
    double m_engine = 0.0;        // revolution fraction
    std::vector<double> m_phases; // per order, cycle fraction
    uint32_t m_state = 1;
};
