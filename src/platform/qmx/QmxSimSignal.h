#pragma once
// The signal of one simulated channel, generated so that generation never limits a run. Every
// sample is a function of its position alone: the engine's revolutions at a sample are a
// quadratic in the position during the RPM ramp and linear after it, each order's phase is its
// order times the revolutions, the sine is a short polynomial, and the noise is a hash of the
// position. The phases are carried from one anchor to the next (every kSpan samples, and the end
// of the ramp), so they stay small and exact enough, and the samples are the same however a run is
// read in pieces. The loops over a span have no dependency from one sample to the next, so the
// compiler vectorises them. Samples are volts, clipped at the input range.
#include <cstdint>
#include <vector>

class CQmxSimLayout;

class CQmxSimSignal
{
public:
    // Samples between two anchors of the phases.
    static constexpr int kSpan = 1024;

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
    // count samples from the current position, all between the current anchor and the next.
    template <int KIND>
    void GenerateSpan(float* out, int count, float range, float gain);
    // Moves the anchor to position next: the engine and order phases there, wrapped to [0, 1).
    void AdvanceAnchor(int64_t next);
    // The next anchor after the current one.
    int64_t NextAnchor() const;

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

    // Running state: the next sample, and the anchor the samples up to the next anchor are made
    // from (its position, revolutions per sample, engine and order phases as cycle fractions).
    int64_t m_position = 0;
    int64_t m_anchor = 0;
    double m_inc = 0.0;
    double m_engine = 0.0;
    std::vector<double> m_phases;
};
