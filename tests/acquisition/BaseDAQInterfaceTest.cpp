// The acquisition interface's stored behaviour.
#include <gtest/gtest.h>

#include <cfloat>
#include <functional>

#include "acquisition/BaseDAQInterface.h"
#include "acquisition/NoiseGenerator.h"
#include "platform/audio/WaveOut.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFeedback.h"

TEST(BaseDAQInterface, FreshInterface)
{
    CBaseDAQInterface d;
    EXPECT_EQ(d.GetMaxChannels(), 16);
    EXPECT_EQ(d.GetEnabledChannelCount(), 0);
    EXPECT_FLOAT_EQ(d.GetSampleRate(), 16384.0f);
    EXPECT_FLOAT_EQ(d.GetDuration(), 1.0f);
    EXPECT_EQ(d.GetSampleCount(), 16384);
    EXPECT_EQ(d.GetState(), 1);
    EXPECT_EQ(d.GetStatus(), 1);
    EXPECT_EQ(d.GetInputRangeMode(), 1);
    EXPECT_EQ(d.GetInputRangeUpper(), 0.0f);
    EXPECT_EQ(d.GetInputRangeLower(), 0.0f);
    CHANNELINFO info;
    info.Channel = 3;
    ASSERT_TRUE(d.EnableChannel(3));
    ASSERT_TRUE(d.GetChannelInfo(&info));
    EXPECT_EQ(info.AttachPoint, "NONE");
    EXPECT_FLOAT_EQ(info.Scale, 10.0f);
    EXPECT_EQ(info.Coupling, 2);
    EXPECT_FALSE(d.Start());
    EXPECT_FALSE(d.ReadData(0, nullptr, 0, 0));
}

// Each case acts on a fresh interface with channel 2 enabled and checks one result and what stays.
TEST(BaseDAQInterface, EdgeCases)
{
    struct Case
    {
        const char* name;
        std::function<bool(CBaseDAQInterface&)> act;
        bool result;
        std::function<bool(CBaseDAQInterface&)> check;
    };
    const Case cases[] = {
        {"enable twice", [](auto& d) { return d.EnableChannel(2); }, false,
         [](auto& d) { return d.GetEnabledChannelCount() == 1; }},
        {"disable a disabled channel", [](auto& d) { return d.DisableChannel(5); }, false,
         [](auto& d) { return d.GetEnabledChannelCount() == 1; }},
        {"enable past the table", [](auto& d) { return d.EnableChannel(16); }, false,
         [](auto& d) { return d.GetEnabledChannelCount() == 1; }},
        {"enable a negative channel", [](auto& d) { return d.EnableChannel(-1); }, false, nullptr},
        {"range of a disabled channel", [](auto& d) { return d.GetChannelInputRange(4) == -FLT_MAX; }, true, nullptr},
        {"range out of the table", [](auto& d) { return d.SetChannelInputRange(16, 1.0); }, false, nullptr},
        {"range of a channel", [](auto& d) { return d.SetChannelInputRange(2, 1.0); }, true,
         [](auto& d) { return d.GetChannelInputRange(2) == 1.0; }},
        {"ranges stop at the first failure",
         [](auto& d) {
             CHANNELINFO r[3];
             r[0].Channel = 2;
             r[0].Scale = 0.1f;
             r[1].Channel = 99;
             r[2].Channel = 3;
             r[2].Scale = 0.1f;
             return d.SetChannelInputRanges(r, 3);
         },
         false,
         [](auto& d) {
             return d.GetChannelInputRange(2) == 0.1f && (d.EnableChannel(3), d.GetChannelInputRange(3) == 10.0);
         }},
        {"sensitivity 0.0 keeps the stored one",
         [](auto& d) {
             CHANNELINFO i;
             i.Channel = 2;
             i.Sensitivity = 0.0f;
             i.Comment = "x";
             return d.SetChannelInfo(&i);
         },
         true,
         [](auto& d) {
             CHANNELINFO i;
             i.Channel = 2;
             return d.GetChannelInfo(&i) && i.Sensitivity == 1.0f && i.Comment == "x";
         }},
        {"info of a disabled channel",
         [](auto& d) {
             CHANNELINFO i;
             i.Channel = 5;
             return d.SetChannelInfo(&i);
         },
         false, nullptr},
        {"info at the channel count",
         [](auto& d) {
             CHANNELINFO i;
             i.Channel = 16;
             return d.SetChannelInfo(&i);
         },
         false, nullptr},
        {"one-sided negative range", [](auto& d) { return d.SetInputRange(-2.5f, 0); }, true,
         [](auto& d) { return d.GetInputRangeUpper() == 0.0f && d.GetInputRangeLower() == -2.5f; }},
        {"symmetric range", [](auto& d) { return d.SetInputRange(2.5f, 1); }, true,
         [](auto& d) { return d.GetInputRangeUpper() == 2.5f && d.GetInputRangeLower() == -2.5f; }},
        {"zero range", [](auto& d) { return d.SetInputRange(0.0f, 1); }, false,
         [](auto& d) { return d.GetInputRangeMode() == 1; }},
        {"acquisition mode 2", [](auto& d) { return d.SetAcqMode(2); }, false,
         [](auto& d) { return d.GetAcqMode() == 0; }},
        {"range limit -1", [](auto& d) { return d.SetInputRangeLimit(-1); }, false,
         [](auto& d) { return d.GetInputRangeLimit() == 0; }},
        {"rate 0", [](auto& d) { return d.SetSampleRate(0.0f); }, false,
         [](auto& d) { return d.GetSampleRate() == 16384.0f; }},
        {"negative duration", [](auto& d) { return d.SetDuration(-1.0f); }, false,
         [](auto& d) { return d.GetDuration() == 1.0f; }},
        {"reference on an enabled channel", [](auto& d) { return d.SetReferenceChannel(2); }, true,
         [](auto& d) {
             CHANNELINFO i;
             i.Channel = 2;
             return d.GetReferenceChannelIndex() == 2 && d.GetChannelInfo(&i) && i.DataType == 8;
         }},
        {"reference on a disabled channel", [](auto& d) { return d.SetReferenceChannel(5); }, false,
         [](auto& d) { return d.GetReferenceChannelIndex() == 0; }},
        {"auto range found",
         [](auto& d) {
             CHANNELINFO i;
             i.Channel = 2;
             i.AutoRange = 1;
             d.SetChannelInfo(&i);
             return d.HasAutoRangeChannel();
         },
         true, nullptr},
        {"noise off without a generator", [](auto& d) { return d.StopNoise() || d.StartNoise(); }, false, nullptr},
        {"noise type 0 again", [](auto& d) { return d.SetNoiseType(0); }, true,
         [](auto& d) { return d.GetNoiseGenerator() == nullptr; }},
    };
    for (const Case& c : cases) {
        CBaseDAQInterface d;
        ASSERT_TRUE(d.EnableChannel(2));
        EXPECT_EQ(c.act(d), c.result) << c.name;
        if (c.check) {
            EXPECT_TRUE(c.check(d)) << c.name;
        }
    }
}

TEST(BaseDAQInterface, NoiseTypes)
{
    CWaveOut::SetMode(WaveOutMode::Null);
    CBaseDAQInterface d;
    ASSERT_TRUE(d.SetNoiseType(1));
    CNoiseGenerator* white = d.GetNoiseGenerator();
    ASSERT_NE(white, nullptr);
    EXPECT_TRUE(white->IsOpen());
    EXPECT_TRUE(d.SetNoiseType(1));
    EXPECT_EQ(d.GetNoiseGenerator(), white) << "the same type keeps its generator";

    // An unknown type is refused and the generator in use stays.
    EXPECT_FALSE(d.SetNoiseType(3));
    EXPECT_EQ(d.GetNoiseGenerator(), white);
    EXPECT_EQ(d.GetNoiseType(), 1);

    EXPECT_TRUE(d.SetNoiseType(2));
    EXPECT_EQ(d.GetNoiseType(), 2);
    EXPECT_TRUE(d.SetNoiseType(0));
    EXPECT_EQ(d.GetNoiseGenerator(), nullptr);

    // No device: the message on the interface's feedback (the windows give the status bar), and
    // nothing plays.
    CWaveOut::SetMode(WaveOutMode::None);
    CScriptedPrompts prompts;
    CStatusBarFeedback boxes;
    d.SetFeedback(&boxes);
    EXPECT_FALSE(d.SetNoiseType(1));
    ASSERT_EQ(prompts.Count(), 1u);
    EXPECT_EQ(prompts.Last().text, "No Sound Output Device");
    EXPECT_FALSE(d.StartNoise());
    CWaveOut::SetMode(WaveOutMode::Auto);
}
