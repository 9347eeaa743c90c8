#pragma once
// One acquisition run of a client window. The manager sets the program's acquisition interface up
// from a DAQ project's configuration, starts and stops the run, turns the messages that reach the
// client's window into calls of the client's IDAQExeSupport, and in run-up mode watches the engine
// speed of every data block: recording starts at the first block at or above RPM low - margin and
// ends at the first block at or above RPM high + margin; a run records once.
//
// Data blocks: while a run acquires, the interface's worker posts 0x240F about every 100 ms. The
// manager then reads the pulse channel's samples acquired since the last block straight from the
// driver into its stream buffer (at most 10 s of them) and detects the speed there; the buffer is
// emptied after every detected speed.
//
// Progress: the run's feedback is begun at the start with the samples per channel the run
// acquires, moves with the samples acquired at every data block, shows the transfer (0xA304,
// 0xA305) as its text and ends with the run. A cancel asked between blocks ends the run early; what
// every unit acquired up to then is kept and the run completes with it.
//
// All handlers run on the client's user-interface thread; the manager holds no lock.
#include <cstdint>
#include <vector>

#include "platform/base/Feedback.h"

class CDAQConfig;
class CMultiQMXInterface;
class IDAQExeSupport;
class IDaqProjectAccess;
class CRpmDetection;

class CDAQExeManager
{
public:
    // The pulse channel's recent samples.
    class CStreamBufferManager
    {
    public:
        virtual ~CStreamBufferManager() = default;
        // Room for n samples, all zero; nothing held.
        void SetSize(int n);
        // Appends n samples after the held ones; -1 (nothing appended) when they do not fit, else
        // the new count.
        int Append(const float* samples, int n);
        // Zeroes the samples; nothing held.
        void Clear();
        int GetCount() const { return m_count; }
        int GetSize() const { return static_cast<int>(m_data.size()); }
        const float* GetData() const { return m_data.data(); }

    private:
        std::vector<float> m_data;
        int m_count = 0;
    };

    // Seconds of samples the stream buffer holds.
    static constexpr float kStreamSeconds = 10.0f;
    // The run's texts.
    static constexpr const char* kSamplingText = "<< Sampling ... >>";
    static constexpr const char* kTransferText = "<< Data transfer ... >>";
    static constexpr const char* kTransferDoneText = "<< Data Transfer ... done >>";

    CDAQExeManager() = default;
    virtual ~CDAQExeManager() = default;
    CDAQExeManager(const CDAQExeManager&) = delete;
    CDAQExeManager& operator=(const CDAQExeManager&) = delete;

    // ---- set-up, before Start ----
    void SetSupport(IDAQExeSupport* support) { m_support = support; }
    IDAQExeSupport* GetSupport() const { return m_support; }
    void SetDAQConfig(CDAQConfig* config) { m_config = config; }
    CDAQConfig* GetDAQConfig() const { return m_config; }
    // The project whose sampling and pulse-channel settings the run uses.
    void SetOwnerProject(IDaqProjectAccess* project) { m_project = project; }
    IDaqProjectAccess* GetOwnerProject() const { return m_project; }
    // Non-zero: no RPM-triggered recording (constant-speed measurements).
    void SetFreeRun(int freeRun) { m_freeRun = freeRun; }
    int GetFreeRun() const { return m_freeRun; }
    void SetDuration(float seconds) { m_duration = seconds; }
    float GetDuration() const { return m_duration; }
    // The interface the run drives; null (the default) means the program's one (CDAQ).
    void SetInterface(CMultiQMXInterface* daq) { m_daq = daq; }
    // Where the run's progress goes (not owned); silent until set (null sets it silent again).
    void SetFeedback(CFeedback* feedback) { m_feedback = feedback ? feedback : SilentFeedback(); }
    CFeedback& Feedback() { return *m_feedback; }

    // ---- the run ----
    int Prepare();
    int Start();
    // 0 when no speed could be detected, else 1.
    int OnDAQData(uintptr_t wParam, intptr_t lParam);
    int OnRecordStart();
    int OnRecordEnd();
    // Only while running; returns 0 in every case. A completion that reaches the manager after
    // it is reported as a stop.
    int Stop();
    // 0 after a run that ended with data, -1 after one that did not or that the user stopped.
    int OnDAQComplete();
    int OnTriggerReset();
    int OnDAQAbort();
    // The worker's transfer of the samples begins (0xA304) or is done (0xA305).
    int OnTransferBegin();
    int OnTransferDone();
    // The run ended without completing (a unit was lost, or a cancel came before any sample).
    void OnDAQStopped() { Feedback().End(); }

    // The run-up thresholds of the configuration.
    int GetStartRpm() const;
    int GetEndRpm() const;

    int IsRecording() const { return m_recording; }
    int IsRunning() const { return m_running; }
    CStreamBufferManager& GetStreamBuffer() { return m_stream; }

    // Routes a message that reached the client's window: 0x240D, 0x240E, 0x240F (skipped with -1
    // while a unit's hold-off flag is set), 0x241A, 0x241B, 0xA304 and 0xA305. False for any other
    // message.
    bool RouteMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, intptr_t* result);

protected:
    // The speed of the first pulse interval of the samples (pulse ratio and sampling frequency of
    // the configuration); -1.0 when there is none.
    virtual double DetectRpm(const CDAQConfig& config, const float* samples, int count) const;
    // The detection's four parameters: pulse ratio and sampling frequency of the configuration and
    // the owner project's band set (none without an owner project).
    void SetUpDetection(CRpmDetection& detection, const CDAQConfig& config) const;

private:
    CMultiQMXInterface* Interface() const;
    // The configuration of the owner project, else the one given with SetDAQConfig.
    const CDAQConfig* ProjectConfig() const;
    // Appends the pulse channel's samples acquired since the last block.
    void ReadNewSamples(int channel);
    // Moves the progress to the samples acquired and ends the run early when cancel was asked.
    void StepProgress();

    IDaqProjectAccess* m_project = nullptr;
    uint32_t m_reserved = 0;
    IDAQExeSupport* m_support = nullptr;
    int m_freeRun = 0;
    CDAQConfig* m_config = nullptr;
    float m_duration = 0.0f;
    int m_recording = 0;
    int m_running = 0;
    // A recording of this run has ended (speed-triggered recording is not started again).
    int m_recorded = 0;
    // The user stopped this run (Stop); cleared by the next Prepare or Start.
    int m_stopped = 0;
    CStreamBufferManager m_stream;
    CMultiQMXInterface* m_daq = nullptr;
    // Samples of the pulse channel taken into the stream so far in this run.
    int m_streamPosition = 0;
    std::vector<float> m_scratch;
    CFeedback* m_feedback = SilentFeedback();
    // This run was asked to finish early.
    int m_finishing = 0;
};
