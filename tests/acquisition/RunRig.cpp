#include "RunRig.h"

#include "platform/qmx/QmxSimSignal.h"

#include <gtest/gtest.h>

#include <thread>

intptr_t CWaitingTarget::SendMessage(uint32_t msg, uintptr_t, intptr_t)
{
    if (onSend)
        onSend(msg);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_numbers.push_back(msg);
    }
    m_cv.notify_all();
    return 0;
}

void CWaitingTarget::PostMessage(uint32_t msg, uintptr_t, intptr_t)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_numbers.push_back(msg);
    }
    m_cv.notify_all();
}

std::vector<uint32_t> CWaitingTarget::Numbers() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_numbers;
}

int CWaitingTarget::Count(uint32_t msg) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(std::count(m_numbers.begin(), m_numbers.end(), msg));
}

bool CWaitingTarget::WaitFor(uint32_t msg, int n, std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cv.wait_for(lock, limit, [&] { return std::count(m_numbers.begin(), m_numbers.end(), msg) >= n; });
}

void CWaitingTarget::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_numbers.clear();
}

bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

CRunRig::CRunRig(int units, const std::string& layout, bool manualSamples, bool settled)
{
    for (int i = 0; i < units; ++i) {
        CQmxSimLayout l;
        EXPECT_TRUE(l.Parse(layout));
        auto sim = CQmxSimSystem::Create(l);
        if (manualSamples)
            sim->SetClock([this] { return simUs.load(); });
        else
            sim->SetClock({});
        sims.push_back(sim);
    }
    size_t next = 0;
    CQmxDriverFactoryScope factory(
        [&]() -> std::shared_ptr<IQmxSystem> { return next < sims.size() ? sims[next++] : nullptr; });
    daq = std::make_unique<CMultiQMXInterface>();
    for (int i = 0; i < units; ++i)
        EXPECT_EQ(daq->AddUnit(), 1);
    if (settled)
        ms.Advance(30000);
    daq->SetNotifyWindow(&window, WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
}

CRunRig::~CRunRig()
{
    // The interface (and its worker) goes before the clocks and the window it uses.
    daq.reset();
}

std::vector<float> CRunRig::Signal(int unit, int channel, int count, double rate) const
{
    CQmxSimSignal signal(sims[static_cast<size_t>(unit)]->Layout(), channel, rate);
    std::vector<float> out(static_cast<size_t>(count));
    // Clipped where the channel's range clips it now.
    const int code = sims[static_cast<size_t>(unit)]->RangeCode(channel);
    signal.Generate(out.data(), count, CQmxSimSystem::FullScaleOfCode(code < 0 ? 0 : code));
    return out;
}

void CRunRig::LoseSystemAt(int unit, int sample)
{
    auto& sim = sims[static_cast<size_t>(unit)];
    for (int u = 0; u < sim->Layout().UnitCount(); ++u)
        sim->LoseUnitAt(u, sample);
}
