#pragma once
// Simulated systems connected as units of a several-systems interface, a hand-driven millisecond
// timer (the systems start settled unless told otherwise), a sample clock for the systems, and a
// window that records what it hears and lets a test wait for it.
#include "acquisition/MultiQMXInterface.h"
#include "platform/base/MsClock.h"
#include "platform/qmx/QmxSimSystem.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Records sent and posted messages; a handler answers sent ones (on the sender's thread).
class CWaitingTarget : public IMessageTarget
{
public:
    intptr_t SendMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostMessage(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) override;

    std::function<void(uint32_t)> onSend;

    std::vector<uint32_t> Numbers() const;
    int Count(uint32_t msg) const;
    // Waits (bounded) until msg has arrived n times.
    bool WaitFor(uint32_t msg, int n = 1, std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<uint32_t> m_numbers;
};

// Waits (bounded) until pred holds, looking every millisecond.
bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

struct CRunRig
{
    // units systems of the given layout text, connected in order; manualSamples: the systems'
    // sample clock is simUs (else every acquisition completes at once).
    explicit CRunRig(int units, const std::string& layout = "", bool manualSamples = false, bool settled = true);
    ~CRunRig();

    // Samples of a system's channel as the simulation generates them for a run (volts).
    std::vector<float> Signal(int unit, int channel, int count, double rate = 51200.0) const;
    // Every channel of every system stops answering at that sample.
    void LoseSystemAt(int unit, int sample);

    CManualMsClock ms{1000};
    std::atomic<int64_t> simUs{0};
    CWaitingTarget window;
    std::vector<std::shared_ptr<CQmxSimSystem>> sims;
    std::unique_ptr<CMultiQMXInterface> daq;
};
