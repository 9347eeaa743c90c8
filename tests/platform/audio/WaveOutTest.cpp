// Wave output on the null device: buffers come back in order, at the real rate, and reset returns
// what is queued.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/audio/WaveOut.h"

TEST(WaveOut, NullDeviceTakesBuffersAtTheirRate)
{
    CWaveOut::SetMode(WaveOutMode::None);
    EXPECT_EQ(CWaveOut::GetDeviceCount(), 0);
    CWaveOut closed;
    WaveFormat format; // 16-bit mono at 44100 Hz
    EXPECT_FALSE(closed.Open(0, format, {}));

    CWaveOut::SetMode(WaveOutMode::Null);
    CWaveOut::ClearNullPlayed();
    ASSERT_EQ(CWaveOut::GetDeviceCount(), 1);
    std::mutex m;
    std::condition_variable cv;
    int signals = 0;
    CWaveOut out;
    ASSERT_TRUE(out.Open(0, format, [&] {
        std::lock_guard<std::mutex> lock(m);
        ++signals;
        cv.notify_all();
    }));
    EXPECT_EQ(signals, 1) << "one signal for the opened device";

    std::vector<uint8_t> a(4410 * 2, 1), b(4410 * 2, 2), c(4410 * 2, 3); // 100 ms each
    WaveHeader ha{a.data(), uint32_t(a.size())}, hb{b.data(), uint32_t(b.size())}, hc{c.data(), uint32_t(c.size())};
    EXPECT_FALSE(out.Write(ha)) << "not prepared";
    for (WaveHeader* h : {&ha, &hb, &hc})
        ASSERT_TRUE(out.PrepareHeader(*h));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(out.Write(ha));
    ASSERT_TRUE(out.Write(hb));
    EXPECT_FALSE(out.UnprepareHeader(ha)) << "queued";
    {
        std::unique_lock<std::mutex> lock(m);
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(5), [&] { return signals >= 3; }));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(190));
    EXPECT_TRUE(ha.flags & WHDR_DONE);
    EXPECT_TRUE(out.UnprepareHeader(ha));
    const auto played = CWaveOut::NullPlayed();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].source, a.data());
    EXPECT_EQ(played[1].bytes, b);
    uint64_t position = 0;
    ASSERT_TRUE(out.GetPosition(position));
    EXPECT_EQ(position, 8820u);

    // Paused, a queued buffer stays queued; reset hands it back unplayed.
    ASSERT_TRUE(out.Pause());
    ASSERT_TRUE(out.Write(hc));
    ASSERT_TRUE(out.Reset());
    EXPECT_TRUE(hc.flags & WHDR_DONE);
    EXPECT_FALSE(hc.flags & WHDR_INQUEUE);
    EXPECT_EQ(CWaveOut::NullPlayed().size(), 2u);
    ASSERT_TRUE(out.GetPosition(position));
    EXPECT_EQ(position, 0u);
    EXPECT_TRUE(out.Close());
    EXPECT_FALSE(out.GetPosition(position));
    CWaveOut::SetMode(WaveOutMode::Auto);
}
