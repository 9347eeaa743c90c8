#pragma once
// What the acquisition benchmarks share: 8 simulated systems x 16 channels at 51200 Hz as one
// interface, each acquisition complete as soon as it starts, channel 14 of every system counting
// its samples, the run's end told to a window, and the units' profile kept in a folder of the
// bench's own.
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <unistd.h>

#include "acquisition/MultiQMXInterface.h"
#include "platform/base/MsClock.h"
#include "platform/qmx/QmxSimSystem.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/ZuRegOptions.h"

namespace simrig {

constexpr int kSystems = 8;
constexpr int kChannels = 16;
constexpr float kRate = 51200.0f;
constexpr int kCounterChannel = 14;

// Tells the bench when a run has ended.
class CStopTarget : public IMessageTarget
{
public:
    intptr_t SendMessage(uint32_t, uintptr_t, intptr_t) override { return 0; }
    void PostMessage(uint32_t msg, uintptr_t, intptr_t) override
    {
        if (msg != WM_ZU_DAQ_STOPPED)
            return;
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_stops;
        m_cv.notify_all();
    }
    void WaitStops(int n)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [&] { return m_stops >= n; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_stops = 0;
};

// The units write the address they connect to into the profile: a folder of the bench's own.
struct SettingsFolder
{
    explicit SettingsFolder(const std::string& prefix)
    {
        path = std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        CZuRegOptions::SetSettingsFolder(path.string());
    }
    ~SettingsFolder()
    {
        CZuRegOptions::SetSettingsFolder({});
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

// The systems connected, settled and set for a run of the given length; a buffer for one
// channel's samples.
struct Rig
{
    Rig(const std::string& settingsPrefix, float seconds, int samples) : settings(settingsPrefix)
    {
        CQmxSimLayout layout;
        layout.counterChannel = kCounterChannel;
        for (int s = 0; s < kSystems; ++s) {
            layout.firstSerial = 1 + s * 100;
            auto sim = CQmxSimSystem::Create(layout);
            sim->SetClock({}); // every started acquisition is complete at once
            sims.push_back(sim);
        }
        {
            size_t next = 0;
            CQmxDriverFactoryScope factory([&] { return sims[next++]; });
            for (int s = 0; s < kSystems; ++s)
                daq.AddUnit();
        }
        clock.Advance(CQMXDAQInterface::kSettleMs);
        daq.SetSampleRate(kRate);
        daq.SetDuration(seconds);
        daq.SetNotifyWindow(&window, WM_ZU_DAQ_STARTED, WM_ZU_DAQ_STOPPED, WM_ZU_DAQ_COMPLETE);
        data.resize(static_cast<size_t>(samples));
    }

    // The systems are what the bench expects: every channel, the samples of the run.
    bool IsAsExpected(int samples)
    {
        return daq.GetMaxChannels() == kSystems * kChannels && daq.GetSampleCount() == samples;
    }

    // The counter's samples in the buffer that are not where the count puts them.
    int64_t LostCounts(int samples) const
    {
        int64_t lost = 0;
        for (int i = 0; i < samples; ++i)
            lost += data[static_cast<size_t>(i)] != static_cast<float>(i % 8192) * (1000.0f / 1024.0f);
        return lost;
    }

    SettingsFolder settings;
    CManualMsClock clock{1};
    std::vector<std::shared_ptr<CQmxSimSystem>> sims;
    CStopTarget window;
    CMultiQMXInterface daq;
    std::vector<float> data;
};

} // namespace simrig
