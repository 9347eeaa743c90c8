#pragma once
// The one abstraction through which acquisition clients talk to measuring hardware: a channel
// table with enable flags, the sampling set-up, the trigger set-up, the input range, the window
// told when a run starts, stops and completes, and an optional noise output. This base keeps
// everything as plain stored values; the driver layer overrides most operations with calls into
// the hardware, and the several-systems layer again to spread them over the systems.
//
// Results: true for success. Float getters without a value return -FLT_MAX.
#include "acquisition/ChannelInfo.h"
#include "acquisition/DAQRunFault.h"
#include "platform/base/Feedback.h"

#include <atomic>
#include <cfloat>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class IMessageTarget;
class CNoiseGenerator;

inline constexpr float kNoFloatValue = -FLT_MAX;

class CBaseDAQInterface
{
public:
    CBaseDAQInterface();
    virtual ~CBaseDAQInterface();
    CBaseDAQInterface(const CBaseDAQInterface&) = delete;
    CBaseDAQInterface& operator=(const CBaseDAQInterface&) = delete;

    virtual bool Initialize();
    virtual bool SetBandLimit(int limit);
    virtual int GetHardwareParam();
    virtual bool SetChannelInputRange(int channel, double value);
    virtual bool SetChannelInputRanges(const CHANNELINFO* records, int count);
    virtual bool SetAllInputRanges(double value);
    virtual double GetChannelInputRange(int channel);
    virtual bool HasAutoRangeChannel();
    virtual bool SetNotifyWindow(IMessageTarget* window, uint32_t startMsg, uint32_t stopMsg, uint32_t completeMsg);
    // The window told about runs is this one.
    bool IsNotifyWindow(const IMessageTarget* window) const;
    virtual bool EnableChannel(int channel);
    virtual bool DisableChannel(int channel);
    virtual bool IsChannelEnabled(int channel);
    virtual int GetEnabledChannelCount();
    virtual int GetMaxChannels();
    virtual bool SetChannelInfo(const CHANNELINFO* info);
    virtual bool GetChannelInfo(CHANNELINFO* info);
    virtual bool SetSampleRate(float hz);
    virtual float GetSampleRate();
    virtual bool SetDuration(float seconds);
    virtual float GetDuration();
    virtual bool Start();
    virtual bool Stop();
    virtual int GetState();  // 1 idle, 0 while a run is prepared or running
    virtual int GetStatus(); // 1 the last run completed (or none ran), 0 stopped or running
    virtual int GetSampleCount();
    virtual bool ReadData(int channel, float* dest, int count, int start);
    virtual bool SetBlockSize(int size);
    virtual int GetBlockSize();
    virtual int ResetCounters();
    virtual int GetBlockCounter();
    virtual int GetDataCounter();
    virtual bool SetAcqMode(int mode);
    virtual int GetAcqMode();
    virtual bool SetTriggered();
    virtual bool SetTriggerParam(int param);
    virtual int GetTriggerParam();
    virtual bool SetTriggerLevel(float level);
    virtual float GetTriggerLevel();
    virtual bool SetReferenceChannel(int channel);
    virtual int GetReferenceChannelIndex();
    virtual bool SetInputRange(float value, int mode);
    virtual bool SetInputRangeLimit(int limit);
    virtual int GetInputRangeLimit();
    virtual float GetInputRangeUpper();
    virtual float GetInputRangeLower();
    virtual bool SetPreTrigger(int count);
    virtual int GetPreTrigger();
    virtual bool SetPostTrigger(int count);
    virtual int GetPostTrigger();
    virtual bool SetNoiseType(int type);
    virtual bool StartNoise();
    virtual bool StopNoise();

    // Where the interface reports what goes wrong (a channel not available, a unit that does not
    // match the inventory, a noise device that cannot play); not owned. Silent until set (null sets
    // it silent again). The noise generator reports there too.
    virtual void SetFeedback(CFeedback* feedback);
    CFeedback* GetFeedback() const { return m_feedback; }

    // What went wrong in the last run (a unit that stopped answering, channels that could not be
    // read); empty when the run went well. Valid once the run has ended.
    virtual CDAQRunFault GetRunFault();

    int GetInputRangeMode() const { return m_inputRangeMode; }
    int GetNoiseType() const { return m_noiseType; }
    CNoiseGenerator* GetNoiseGenerator() const { return m_noise.get(); }

    static constexpr int kDefaultChannels = 16;

protected:
    // Posts one of the registered messages (wParam this object, lParam 0) when a window is set.
    // Worker threads post too: the window and the ids are read under a lock.
    void PostToNotifyWindow(uint32_t msg);
    void PostStartMessage() { PostToNotifyWindow(m_startMsg); }
    void PostStopMessage() { PostToNotifyWindow(m_stopMsg); }
    void PostCompleteMessage() { PostToNotifyWindow(m_completeMsg); }
    // Sends msg (no parameters) to the window, when one is set, and waits for its answer. A
    // window that goes away stops the run first (or waits for it).
    void SendToNotifyWindow(uint32_t msg);
    bool HasNotifyWindow() const;
    bool IsTableChannel(int channel) const;
    static void DefaultRow(CHANNELINFO& row, int channel);

    int m_inputRangeMode = 1; // 0 one-sided, 1 symmetric
    int m_inputRangeLimit = 0;
    float m_inputRangeUpper = 0.0f;
    float m_inputRangeLower = 0.0f;
    std::atomic<uint32_t> m_startMsg{0};
    std::atomic<uint32_t> m_stopMsg{0};
    std::atomic<uint32_t> m_completeMsg{0};
    mutable std::mutex m_notifyMutex;
    IMessageTarget* m_notifyWindow = nullptr; // guarded by m_notifyMutex
    int m_acqMode = 0;
    int m_blockCounter = 0;
    int m_blockSize = 0;
    int m_counterWord = 0;
    int m_dataCounter = 0;
    int m_referenceChannel = 0;
    float m_duration = 1.0f;
    float m_sampleRate = 16384.0f;
    int m_triggerParam = 0;
    float m_triggerLevel = 0.0f;
    int m_preTrigger = 0;
    int m_postTrigger = 0;
    // Moved by acquisition workers while the user-interface thread reads them.
    std::atomic<int> m_status{1};
    std::atomic<int> m_state{1};
    std::atomic<int> m_triggered{0};
    std::vector<int> m_enabled;
    std::vector<CHANNELINFO> m_channels;
    std::unique_ptr<CNoiseGenerator> m_noise;
    int m_noiseType = 0;
    CFeedback* m_feedback = SilentFeedback();
};
