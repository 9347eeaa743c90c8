#pragma once
// The millisecond timer that settling times and sampling clocks are measured with: a monotonic
// 32-bit count of milliseconds that wraps after about 49.7 days, so every difference of two
// readings is taken modulo 2^32. Tests replace the source to drive time by hand.
#include <atomic>
#include <cstdint>
#include <functional>

class CMsClock
{
public:
    // The current reading: the installed source, else the steady clock.
    static uint32_t Now();
    // Milliseconds from 'since' to now, modulo 2^32 (a wrap in between is handled).
    static uint32_t Since(uint32_t since) { return Now() - since; }

    // Installs a source; an empty function restores the steady clock.
    static void SetSource(std::function<uint32_t()> source);
};

// A hand-driven timer installed for the lifetime of a scope (tests). A worker thread may read it
// while the test moves it.
class CManualMsClock
{
public:
    explicit CManualMsClock(uint32_t start = 0);
    ~CManualMsClock();
    CManualMsClock(const CManualMsClock&) = delete;
    CManualMsClock& operator=(const CManualMsClock&) = delete;

    void Set(uint32_t now) { m_now = now; }
    void Advance(uint32_t ms) { m_now += ms; }
    uint32_t Get() const { return m_now.load(); }

private:
    std::atomic<uint32_t> m_now;
};
