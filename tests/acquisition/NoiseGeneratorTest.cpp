// White and pink noise played on the null device.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "acquisition/PinkNoiseGenerator.h"
#include "acquisition/WhiteNoiseGenerator.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

namespace {
class NoiseGenerator : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CWaveOut::SetMode(WaveOutMode::Null);
        CWaveOut::ClearNullPlayed();
    }
    void TearDown() override { CWaveOut::SetMode(WaveOutMode::Auto); }

    // The buffers the null device has taken once it has taken n (bounded: a buffer lasts 93 ms).
    static std::vector<CWaveOut::PlayedBuffer> WaitForBuffers(size_t n)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (CWaveOut::NullPlayed().size() < n && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return CWaveOut::NullPlayed();
    }

    static std::vector<int16_t> SamplesOf(const CWaveOut::PlayedBuffer& b)
    {
        std::vector<int16_t> s(b.bytes.size() / 2);
        std::memcpy(s.data(), b.bytes.data(), s.size() * 2);
        return s;
    }
};
} // namespace

TEST_F(NoiseGenerator, BuffersAlternateAndAreRefilled)
{
    CWhiteNoiseGenerator white(1, 16, 44100);
    ASSERT_TRUE(white.Open());
    ASSERT_TRUE(white.Start());
    const auto played = WaitForBuffers(4);
    ASSERT_GE(played.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(played[i].source, white.GetBuffer(static_cast<int>(i % 2))) << i;
        EXPECT_EQ(played[i].bytes.size(), 8192u);
    }
    EXPECT_NE(played[0].bytes, played[2].bytes) << "buffer 0 was filled again before its second turn";
    for (const auto& b : played) {
        for (int16_t s : SamplesOf(b))
            ASSERT_TRUE(s >= 0 && s <= 10000 && (s & ~10000) == 0) << s;
    }
    EXPECT_GT(white.GetPlayedMs(), 0);

    // Start again resumes a paused device; playing goes on with the same worker.
    ASSERT_TRUE(white.Pause());
    ASSERT_TRUE(white.Start());
    EXPECT_TRUE(white.IsRunning());
    const size_t before = CWaveOut::NullPlayed().size();
    const auto more = WaitForBuffers(before + 2);
    ASSERT_GE(more.size(), before + 2);
    for (size_t i = 1; i < more.size(); ++i)
        EXPECT_NE(more[i].source, more[i - 1].source) << i;
}

TEST_F(NoiseGenerator, PinkSamplesAndKey)
{
    CPinkNoiseGenerator pink(1, 16, 44100);
    ASSERT_TRUE(pink.Open());
    ASSERT_TRUE(pink.Start());
    const auto played = WaitForBuffers(2);
    ASSERT_GE(played.size(), 2u);
    for (const auto& b : played) {
        const auto s = SamplesOf(b);
        EXPECT_GE(*std::min_element(s.begin(), s.end()), 0);
        EXPECT_LE(*std::max_element(s.begin(), s.end()), 9995);
    }

    CPinkNoiseGenerator key(1, 16, 44100);
    while (key.GetKey() != 31)
        key.NextSample();
    key.NextSample();
    EXPECT_EQ(key.GetKey(), 0);
    EXPECT_EQ(key.GetLastChanged(), 31) << "every row renewed at the wrap";
    key.NextSample();
    EXPECT_EQ(key.GetLastChanged(), 1) << "only row 0 from 0 to 1";
}

TEST_F(NoiseGenerator, ClosingWhilePlayingAndWithoutDevice)
{
    // Destroyed while the device is playing: the worker is joined before the buffers go.
    for (int i = 0; i < 3; ++i) {
        auto white = std::make_unique<CWhiteNoiseGenerator>(1, 16, 44100);
        ASSERT_TRUE(white->Open());
        ASSERT_TRUE(white->Start());
        if (i == 2)
            WaitForBuffers(1);
        white.reset();
    }
    CPinkNoiseGenerator closed(1, 16, 44100);
    EXPECT_FALSE(closed.Start()) << "not open";
    EXPECT_EQ(closed.GetPlayedMs(), -1);
    ASSERT_TRUE(closed.Open());
    closed.Close();
    EXPECT_FALSE(closed.IsOpen());

    CWaveOut::SetMode(WaveOutMode::None);
    CScriptedPrompts prompts;
    CStatusBarFeedback boxes;
    CWhiteNoiseGenerator none(1, 16, 44100);
    none.SetFeedback(&boxes);
    EXPECT_FALSE(none.Open());
    EXPECT_EQ(prompts.Last().text, "No Sound Output Device");
}
