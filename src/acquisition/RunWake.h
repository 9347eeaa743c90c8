#pragma once
// Wakes the waits of an acquisition worker: the worker sleeps through its settling and polling
// periods on it, and whoever sets a stop request notifies it, so a stop ends a wait at once
// instead of at the end of its period. The units of a several-units run share one.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

class CRunWake
{
public:
    // Waits for at most period, or until woken with stopped() true. Returns stopped().
    bool WaitFor(std::chrono::milliseconds period, const std::function<bool()>& stopped);
    // Call after setting the flag that stopped() reads.
    void Notify();

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
};
