#include "acquisition/DAQExeManager.h"

#include "acquisition/DAQ.h"
#include "acquisition/DAQExeSupport.h"
#include "acquisition/MultiQMXInterface.h"
#include "experiments/DAQConfig.h"
#include "experiments/DaqProjectAccess.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/Messages.h"
#include "spectral/RpmDetection.h"

#include <algorithm>
#include <cstring>

// ---- stream buffer ----

void CDAQExeManager::CStreamBufferManager::SetSize(int n)
{
    m_data.assign(static_cast<size_t>(std::max(0, n)), 0.0f);
    m_count = 0;
}

int CDAQExeManager::CStreamBufferManager::Append(const float* samples, int n)
{
    if (n < 0 || (n > 0 && !samples) || static_cast<int64_t>(m_count) + n > GetSize())
        return -1;
    if (n > 0)
        std::memcpy(m_data.data() + m_count, samples, static_cast<size_t>(n) * sizeof(float));
    m_count += n;
    return m_count;
}

void CDAQExeManager::CStreamBufferManager::Clear()
{
    std::fill(m_data.begin(), m_data.end(), 0.0f);
    m_count = 0;
}

// ---- the manager ----

CMultiQMXInterface* CDAQExeManager::Interface() const
{
    return m_daq ? m_daq : CDAQ::GetMultiInterface();
}

const CDAQConfig* CDAQExeManager::ProjectConfig() const
{
    if (m_project && m_project->GetDAQConfig())
        return m_project->GetDAQConfig();
    return m_config;
}

int CDAQExeManager::GetStartRpm() const
{
    return m_config ? m_config->GetRpmLow() - m_config->GetRpmMargin() : 0;
}

int CDAQExeManager::GetEndRpm() const
{
    return m_config ? m_config->GetRpmHigh() + m_config->GetRpmMargin() : 0;
}

int CDAQExeManager::Prepare()
{
    const CDAQConfig* config = ProjectConfig();
    const float fs = config ? config->GetSamplingFreq() : 0.0f;
    m_stream.SetSize(static_cast<int>(fs * kStreamSeconds));
    m_streamPosition = 0;
    m_recording = 0;
    m_recorded = 0;
    m_running = 0;
    m_stopped = 0;
    if (CMultiQMXInterface* daq = Interface()) {
        daq->SetAcqMode(1);
        daq->SetBlockSize(1);
        daq->SetSampleRate(fs);
        daq->SetDuration(m_duration);
    }
    return 1;
}

int CDAQExeManager::Start()
{
    if (m_support && m_support->CanStart() == 0)
        return 0;
    m_recording = 0;
    m_recorded = 0;
    m_running = 1;
    m_stopped = 0;
    m_streamPosition = 0;
    m_stream.Clear();
    CMultiQMXInterface* daq = Interface();
    if (!daq)
        return 0;
    daq->ResetCounters();
    m_finishing = 0;
    if (!daq->Start())
        return 0;
    Feedback().Begin(kSamplingText, daq->GetSampleCount());
    return 1;
}

void CDAQExeManager::StepProgress()
{
    CMultiQMXInterface* daq = Interface();
    if (!daq || !m_running)
        return;
    Feedback().SetPos(daq->GetLiveSampleCount());
    if (!m_finishing && Feedback().IsCancelled()) {
        m_finishing = 1;
        daq->FinishRun();
    }
}

int CDAQExeManager::OnTransferBegin()
{
    Feedback().SetText(kTransferText);
    return 0;
}

int CDAQExeManager::OnTransferDone()
{
    if (CMultiQMXInterface* daq = Interface())
        Feedback().SetPos(daq->GetFirstUnitValue());
    Feedback().SetText(kTransferDoneText);
    return 0;
}

void CDAQExeManager::ReadNewSamples(int channel)
{
    CMultiQMXInterface* daq = Interface();
    const int room = m_stream.GetSize() - m_stream.GetCount();
    if (!daq || channel < 0 || room <= 0)
        return;
    m_scratch.resize(static_cast<size_t>(room));
    const int n = daq->ReadLiveData(channel, m_scratch.data(), room, m_streamPosition);
    if (n > 0 && m_stream.Append(m_scratch.data(), n) >= 0)
        m_streamPosition += n;
}

void CDAQExeManager::SetUpDetection(CRpmDetection& detection, const CDAQConfig& config) const
{
    detection.SetEngineCount(static_cast<int>(config.GetRpmRatio()));
    detection.SetPulseCount(static_cast<int>(config.GetPulsesPerRev()));
    detection.SetSamplingFreq(config.GetSamplingFreq());
    detection.SetOctaveManager(m_project ? m_project->GetOctaveManager() : nullptr);
}

double CDAQExeManager::DetectRpm(const CDAQConfig& config, const float* samples, int count) const
{
    CRpmDetection detection;
    SetUpDetection(detection, config);
    return detection.DetectFirstRpm(samples, count);
}

int CDAQExeManager::OnDAQData(uintptr_t, intptr_t)
{
    StepProgress();
    const CDAQConfig* config = ProjectConfig();
    if (!config)
        return 0;
    ReadNewSamples(config->GetRpmChannel());

    const double rpm = DetectRpm(*config, m_stream.GetData(), m_stream.GetCount());
    if (rpm == -1.0)
        return 0;

    m_stream.Clear();
    if (m_support) {
        m_support->OnRpm(static_cast<float>(rpm));
        m_support->OnUpdate(0, 0);
    }
    if (m_freeRun)
        return 1;
    if (!m_recording) {
        // A run-up is recorded once: the blocks after its end do not start another recording.
        if (!m_recorded && static_cast<float>(GetStartRpm()) <= rpm)
            OnRecordStart();
    } else if (static_cast<float>(GetEndRpm()) <= rpm) {
        OnRecordEnd();
    }
    return 1;
}

int CDAQExeManager::OnRecordStart()
{
    if (CMultiQMXInterface* daq = Interface())
        daq->SetTriggered();
    m_recording = 1;
    if (m_support)
        m_support->OnRecordStart();
    return 1;
}

int CDAQExeManager::OnRecordEnd()
{
    if (m_recording)
        m_recorded = 1;
    m_recording = 0;
    if (m_support)
        m_support->OnRecordEnd();
    return 1;
}

int CDAQExeManager::Stop()
{
    if (!m_running)
        return 0;
    if (CMultiQMXInterface* daq = Interface())
        daq->Stop();
    if (m_support)
        m_support->OnStop();
    m_recording = 0;
    m_running = 0;
    m_stopped = 1;
    Feedback().End();
    return 0;
}

int CDAQExeManager::OnDAQComplete()
{
    CMultiQMXInterface* daq = Interface();
    // The run may have completed just before the user stopped it, its completion still waiting
    // in the window's queue: once the user has stopped the run it stays stopped.
    const bool withData = !m_stopped && daq && daq->GetStatus() != 0;
    if (withData) {
        if (m_support) {
            m_support->OnDataReady();
            m_support->OnComplete();
        }
    } else if (m_support) {
        m_support->OnStop();
    }
    m_recording = 0;
    m_running = 0;
    Feedback().End();
    return withData ? 0 : -1;
}

int CDAQExeManager::OnTriggerReset()
{
    if (CMultiQMXInterface* daq = Interface())
        daq->SetPartialCount();
    m_recording = 0;
    if (m_support)
        m_support->OnRecordEnd();
    return 1;
}

int CDAQExeManager::OnDAQAbort()
{
    if (CMultiQMXInterface* daq = Interface()) {
        daq->Stop();
        daq->StopAllUnits();
    }
    if (m_support)
        m_support->OnStop();
    m_recording = 0;
    m_running = 0;
    Feedback().End();
    return 1;
}

bool CDAQExeManager::RouteMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, intptr_t* result)
{
    intptr_t r = 0;
    switch (msg) {
    case WM_ZU_DAQ_STOP:
        r = Stop();
        break;
    case WM_ZU_DAQ_COMPLETE:
        r = OnDAQComplete();
        break;
    case WM_ZU_DAQ_DATA: {
        CMultiQMXInterface* daq = Interface();
        r = daq && daq->IsAnyUnitFlagSet() ? -1 : OnDAQData(wParam, lParam);
        break;
    }
    case WM_ZU_DAQ_RECORD_START:
        r = OnRecordStart();
        break;
    case WM_ZU_DAQ_RECORD_END:
        r = OnRecordEnd();
        break;
    case WM_ZU_DAQ_TRANSFER_BEGIN:
        r = OnTransferBegin();
        break;
    case WM_ZU_DAQ_TRANSFER_DONE:
        r = OnTransferDone();
        break;
    default:
        return false;
    }
    if (result)
        *result = r;
    return true;
}
