// The run manager: its stream buffer, the call-backs of every operation, the run-up thresholds and
// a run-up recorded from the simulated engine ramp through the data-block messages.
#include "MeasuredFixture.h"
#include "RunRig.h"

#include "acquisition/DAQExeManager.h"
#include "acquisition/DAQExeSupport.h"
#include "experiments/DAQConfig.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/RpmDetection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace {

// Records the call-backs in order; the speeds it was told and where the recording began and ended.
struct CTestClient : IDAQExeSupport
{
    int canStart = 1;
    std::vector<std::string> calls;
    std::vector<float> rpms;
    float recordStartRpm = -1.0f;
    float recordEndRpm = -1.0f;

    int CanStart() override
    {
        calls.push_back("CanStart");
        return canStart;
    }
    int OnRpm(float rpm) override
    {
        calls.push_back("OnRpm");
        rpms.push_back(rpm);
        return 1;
    }
    int OnUpdate(uintptr_t, intptr_t) override
    {
        calls.push_back("OnUpdate");
        return 1;
    }
    int OnRecordStart() override
    {
        calls.push_back("OnRecordStart");
        recordStartRpm = rpms.empty() ? -1.0f : rpms.back();
        return 1;
    }
    int OnRecordEnd() override
    {
        calls.push_back("OnRecordEnd");
        recordEndRpm = rpms.empty() ? -1.0f : rpms.back();
        return 1;
    }
    int OnStop() override
    {
        calls.push_back("OnStop");
        return 1;
    }
    int OnComplete() override
    {
        calls.push_back("OnComplete");
        return 1;
    }
    int OnDataReady() override
    {
        calls.push_back("OnDataReady");
        return 1;
    }
};

// A manager whose detection gives scripted speeds (-1.0 when the script is empty).
class CScriptedManager : public CDAQExeManager
{
public:
    mutable std::deque<double> speeds;

protected:
    double DetectRpm(const CDAQConfig&, const float*, int) const override
    {
        if (speeds.empty())
            return -1.0;
        const double rpm = speeds.front();
        speeds.pop_front();
        return rpm;
    }
};

} // namespace

TEST(DAQExeManager, StreamBufferRefusesWhatDoesNotFitAndClears)
{
    CDAQExeManager::CStreamBufferManager buffer;
    buffer.SetSize(4);
    const float a[] = {1, 2, 3};
    EXPECT_EQ(buffer.Append(a, 3), 3);
    EXPECT_EQ(buffer.Append(a, 2), -1); // 5 > 4: nothing appended
    EXPECT_EQ(buffer.GetCount(), 3);
    EXPECT_EQ(buffer.Append(a, 1), 4);
    EXPECT_FLOAT_EQ(buffer.GetData()[3], 1.0f);
    buffer.Clear();
    EXPECT_EQ(buffer.GetCount(), 0);
    EXPECT_FLOAT_EQ(buffer.GetData()[0], 0.0f);
    buffer.SetSize(2);
    EXPECT_EQ(buffer.GetSize(), 2);
    EXPECT_EQ(buffer.Append(nullptr, 0), 0);
}

TEST(DAQExeManager, RunUpThresholdsAreInclusive)
{
    CRunRig rig(1);
    CDAQConfig config; // RPM low 1000, high 6000, margin 50
    CTestClient client;
    CScriptedManager manager;
    manager.SetInterface(rig.daq.get());
    manager.SetDAQConfig(&config);
    manager.SetSupport(&client);
    EXPECT_EQ(manager.GetStartRpm(), 950);
    EXPECT_EQ(manager.GetEndRpm(), 6050);

    manager.speeds = {949.0, 950.0, 6049.0, 6050.0};
    EXPECT_EQ(manager.OnDAQData(0, 0), 1);
    EXPECT_EQ(manager.IsRecording(), 0);
    EXPECT_EQ(manager.OnDAQData(0, 0), 1);
    EXPECT_EQ(manager.IsRecording(), 1);
    EXPECT_EQ(manager.OnDAQData(0, 0), 1);
    EXPECT_EQ(manager.IsRecording(), 1);
    EXPECT_EQ(manager.OnDAQData(0, 0), 1);
    EXPECT_EQ(manager.IsRecording(), 0);
    EXPECT_FLOAT_EQ(client.recordStartRpm, 950.0f);
    EXPECT_FLOAT_EQ(client.recordEndRpm, 6050.0f);
    // No speed: nothing is called.
    client.calls.clear();
    EXPECT_EQ(manager.OnDAQData(0, 0), 0);
    EXPECT_TRUE(client.calls.empty());
}

TEST(DAQExeManager, FreeRunReportsSpeedsAndRecordsOnlyOnTheMessage)
{
    CRunRig rig(1);
    CDAQConfig config;
    CTestClient client;
    CScriptedManager manager;
    manager.SetInterface(rig.daq.get());
    manager.SetDAQConfig(&config);
    manager.SetSupport(&client);
    manager.SetFreeRun(1);
    manager.speeds = {3000.0, 7000.0};
    EXPECT_EQ(manager.OnDAQData(0, 0), 1);
    EXPECT_EQ(manager.OnDAQData(0, 0), 1);
    EXPECT_EQ(client.calls, (std::vector<std::string>{"OnRpm", "OnUpdate", "OnRpm", "OnUpdate"}));
    intptr_t result = 0;
    EXPECT_TRUE(manager.RouteMessage(WM_ZU_DAQ_RECORD_START, 0, 0, &result));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(client.calls.back(), "OnRecordStart");
    EXPECT_TRUE(manager.RouteMessage(WM_ZU_DAQ_RECORD_END, 0, 0, &result));
    EXPECT_EQ(client.calls.back(), "OnRecordEnd");
    // Blocks are skipped while a unit holds off.
    rig.daq->SetUnitsFlag(1);
    manager.speeds = {3000.0};
    EXPECT_TRUE(manager.RouteMessage(WM_ZU_DAQ_DATA, 0, 0, &result));
    EXPECT_EQ(result, -1);
    EXPECT_EQ(manager.speeds.size(), 1u);
    EXPECT_FALSE(manager.RouteMessage(WM_ZU_DAQ_STARTED, 0, 0, &result));
}

TEST(DAQExeManager, NullCallBackStillMovesTheFlags)
{
    CRunRig rig(1);
    CDAQConfig config;
    CScriptedManager manager;
    manager.SetInterface(rig.daq.get());
    manager.SetDAQConfig(&config);
    EXPECT_EQ(manager.Prepare(), 1);
    EXPECT_EQ(manager.Start(), 1);
    EXPECT_EQ(manager.IsRunning(), 1);
    manager.speeds = {1000.0};
    EXPECT_EQ(manager.OnDAQData(0, 0), 1);
    EXPECT_EQ(manager.IsRecording(), 1);
    EXPECT_EQ(manager.OnTriggerReset(), 1);
    EXPECT_EQ(manager.IsRecording(), 0);
    EXPECT_EQ(manager.OnDAQAbort(), 1);
    EXPECT_EQ(manager.IsRunning(), 0);
    EXPECT_EQ(manager.Stop(), 0); // not running: nothing happens
}

TEST(DAQExeManager, VetoStopAndCompletionCallTheClientInOrder)
{
    // The systems' sample clock stands still until the test moves it, so a run acquires only
    // when the test says so and a stop always comes before the data.
    CRunRig rig(1, "", true);
    const auto starts = [&] { return rig.sims[0]->CallCount(QmxCall::StartAcquisition); };
    CDAQConfig config;
    CTestClient client;
    CDAQExeManager manager;
    manager.SetInterface(rig.daq.get());
    manager.SetDAQConfig(&config);
    manager.SetSupport(&client);
    manager.SetDuration(0.05f);
    EXPECT_EQ(manager.Prepare(), 1);
    EXPECT_GE(rig.daq->GetSampleRate(), 16000.0f); // the hardware's next rate
    EXPECT_EQ(manager.GetStreamBuffer().GetSize(), 160000);

    client.canStart = 0;
    EXPECT_EQ(manager.Start(), 0);
    EXPECT_EQ(manager.IsRunning(), 0);
    EXPECT_EQ(rig.window.Count(WM_ZU_DAQ_STARTED), 0); // the interface was not touched

    // A run stopped before its data: OnDAQComplete tells the client it stopped.
    client.canStart = 1;
    client.calls.clear();
    EXPECT_EQ(manager.Start(), 1);
    ASSERT_TRUE(WaitUntil([&] { return starts() == 1; }));
    EXPECT_EQ(manager.Stop(), 0);
    EXPECT_EQ(manager.IsRunning(), 0);
    EXPECT_TRUE(rig.window.WaitFor(WM_ZU_DAQ_STOPPED));
    rig.daq->StopAllUnits();
    EXPECT_EQ(rig.daq->GetStatus(), 0);
    EXPECT_EQ(rig.window.Count(WM_ZU_DAQ_COMPLETE), 0);
    EXPECT_EQ(manager.OnDAQComplete(), -1);
    EXPECT_EQ(client.calls, (std::vector<std::string>{"CanStart", "OnStop", "OnStop"}));

    // A run with data: OnDataReady, then OnComplete.
    client.calls.clear();
    rig.window.Clear();
    EXPECT_EQ(manager.Start(), 1);
    ASSERT_TRUE(WaitUntil([&] { return starts() == 2; }));
    rig.simUs += 1000000; // 1 s of samples: more than the run's 0.05 s
    ASSERT_TRUE(rig.window.WaitFor(WM_ZU_DAQ_COMPLETE));
    rig.daq->StopAllUnits();
    intptr_t result = 1;
    EXPECT_TRUE(manager.RouteMessage(WM_ZU_DAQ_COMPLETE, 0, 0, &result));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(client.calls, (std::vector<std::string>{"CanStart", "OnDataReady", "OnComplete"}));
}

TEST(DAQExeManager, StopWhileTheCompletionWaitsInTheQueueReportsAStop)
{
    // Every acquisition completes at once: the completion is posted before the user's stop is
    // handled, as on a busy machine.
    CRunRig rig(1);
    CDAQConfig config;
    CTestClient client;
    CDAQExeManager manager;
    manager.SetInterface(rig.daq.get());
    manager.SetDAQConfig(&config);
    manager.SetSupport(&client);
    manager.SetDuration(0.05f);
    ASSERT_EQ(manager.Prepare(), 1);

    EXPECT_EQ(manager.Start(), 1);
    ASSERT_TRUE(rig.window.WaitFor(WM_ZU_DAQ_COMPLETE));
    rig.daq->StopAllUnits();
    EXPECT_EQ(manager.Stop(), 0);
    intptr_t result = 1;
    EXPECT_TRUE(manager.RouteMessage(WM_ZU_DAQ_COMPLETE, 0, 0, &result));
    EXPECT_EQ(result, -1);
    EXPECT_EQ(client.calls, (std::vector<std::string>{"CanStart", "OnStop", "OnStop"}));

    // The stop belongs to that run only: the next run completes with its data.
    client.calls.clear();
    rig.window.Clear();
    EXPECT_EQ(manager.Start(), 1);
    ASSERT_TRUE(rig.window.WaitFor(WM_ZU_DAQ_COMPLETE));
    rig.daq->StopAllUnits();
    EXPECT_TRUE(manager.RouteMessage(WM_ZU_DAQ_COMPLETE, 0, 0, &result));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(client.calls, (std::vector<std::string>{"CanStart", "OnDataReady", "OnComplete"}));
}

TEST(DAQExeManager, SimulatedRunUpRecordsBetweenTheThresholdsThroughDataBlocks)
{
    // The engine ramps from 800 to 6300 RPM in 10 s; two pulses per revolution on channel 15.
    CRunRig rig(1, "rpm=800-6300;ramp=10;pulse=15;pulses=2", true);
    CDAQConfig config;
    config.SetSamplingFreq(12800.0f);
    config.SetPulsesPerRev(2.0f);
    config.SetRpmChannel(15);
    CTestClient client;
    CDAQExeManager manager;
    manager.SetInterface(rig.daq.get());
    manager.SetDAQConfig(&config);
    manager.SetSupport(&client);
    manager.SetDuration(10.0f);
    ASSERT_EQ(manager.Prepare(), 1);
    ASSERT_EQ(manager.Start(), 1);
    // The worker tells the window of data blocks while the systems acquire.
    ASSERT_TRUE(rig.window.WaitFor(WM_ZU_DAQ_DATA));

    // Sample time moves on 100 ms per block; each block reaches the manager as the window's 0x240F.
    for (int block = 1; block < 99; ++block) {
        rig.simUs = block * 100000;
        intptr_t result = 0;
        ASSERT_TRUE(manager.RouteMessage(WM_ZU_DAQ_DATA, 0, 0, &result));
    }
    ASSERT_GT(client.rpms.size(), 90u);
    EXPECT_NEAR(client.rpms.front(), 800.0f + 550.0f * 0.0f, 60.0f);
    EXPECT_GE(client.recordStartRpm, 950.0f);
    EXPECT_LT(client.recordStartRpm, 950.0f + 80.0f);
    EXPECT_GE(client.recordEndRpm, 6050.0f);
    EXPECT_LT(client.recordEndRpm, 6050.0f + 80.0f);
    EXPECT_EQ(manager.IsRecording(), 0);
    // One recording per run: the blocks above the end threshold do not start another.
    EXPECT_EQ(std::count(client.calls.begin(), client.calls.end(), "OnRecordStart"), 1);
    EXPECT_EQ(std::count(client.calls.begin(), client.calls.end(), "OnRecordEnd"), 1);
    // The speeds rise block by block (pulse intervals are whole samples, so neighbours may repeat).
    for (size_t i = 1; i < client.rpms.size(); ++i)
        EXPECT_GE(client.rpms[i], client.rpms[i - 1] * 0.98f);
    manager.OnDAQAbort();
}

TEST(DAQExeManager, SpeedDetectionWorksOnTheProjectsBandSet)
{
    struct CProbe : CDAQExeManager
    {
        using CDAQExeManager::SetUpDetection;
    };
    CMeasuredFixture f;
    f.daq->GetDAQConfig()->SetPulsesPerRev(2.0f);
    CProbe manager;
    CRpmDetection detection;
    manager.SetUpDetection(detection, *f.daq->GetDAQConfig());
    EXPECT_EQ(detection.GetOctaveManager(), nullptr);

    manager.SetOwnerProject(f.daq);
    manager.SetUpDetection(detection, *f.daq->GetDAQConfig());
    ASSERT_NE(f.daq->GetOctaveManager(), nullptr);
    EXPECT_EQ(detection.GetOctaveManager(), f.daq->GetOctaveManager());
    EXPECT_EQ(detection.GetPulseCount(), 2);
    EXPECT_FLOAT_EQ(detection.GetSamplingFreq(), CMeasuredFixture::kFs);
    // The band set gives the detection its block length.
    EXPECT_GT(detection.GetBlockSize(), 0);
}
