#include "acquisition/BaseDAQInterface.h"

#include "acquisition/NoiseGenerator.h"
#include "acquisition/PinkNoiseGenerator.h"
#include "acquisition/WhiteNoiseGenerator.h"
#include "platform/win/MessageTarget.h"

#include <cmath>
#include <new>

CBaseDAQInterface::CBaseDAQInterface() : m_enabled(kDefaultChannels, 0), m_channels(kDefaultChannels)
{
    for (int i = 0; i < kDefaultChannels; ++i)
        DefaultRow(m_channels[static_cast<size_t>(i)], i);
}

CBaseDAQInterface::~CBaseDAQInterface() = default;

void CBaseDAQInterface::DefaultRow(CHANNELINFO& row, int channel)
{
    row = DefaultChannelRow(channel);
}

bool CBaseDAQInterface::IsTableChannel(int channel) const
{
    return channel >= 0 && static_cast<size_t>(channel) < m_channels.size() &&
           static_cast<size_t>(channel) < m_enabled.size();
}

void CBaseDAQInterface::PostToNotifyWindow(uint32_t msg)
{
    std::lock_guard<std::mutex> lock(m_notifyMutex);
    if (m_notifyWindow)
        m_notifyWindow->PostMessage(msg, reinterpret_cast<uintptr_t>(this), 0);
}

void CBaseDAQInterface::SendToNotifyWindow(uint32_t msg)
{
    IMessageTarget* window = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_notifyMutex);
        window = m_notifyWindow;
    }
    // Not under the lock: the receiver may register or unregister while it handles the message.
    if (window)
        window->SendMessage(msg, 0, 0);
}

bool CBaseDAQInterface::IsNotifyWindow(const IMessageTarget* window) const
{
    std::lock_guard<std::mutex> lock(m_notifyMutex);
    return m_notifyWindow == window;
}

bool CBaseDAQInterface::HasNotifyWindow() const
{
    std::lock_guard<std::mutex> lock(m_notifyMutex);
    return m_notifyWindow != nullptr;
}

CDAQRunFault CBaseDAQInterface::GetRunFault()
{
    return {};
}

bool CBaseDAQInterface::Initialize()
{
    return true;
}
bool CBaseDAQInterface::SetBandLimit(int)
{
    return true;
}
int CBaseDAQInterface::GetHardwareParam()
{
    return 0;
}

bool CBaseDAQInterface::SetChannelInputRange(int channel, double value)
{
    // A channel outside the table is refused rather than written past its end.
    if (channel < 0 || channel >= GetMaxChannels() || !IsTableChannel(channel))
        return false;
    m_channels[static_cast<size_t>(channel)].Scale = static_cast<float>(value);
    return true;
}

bool CBaseDAQInterface::SetChannelInputRanges(const CHANNELINFO* records, int count)
{
    for (int i = 0; i < count; ++i) {
        if (!SetChannelInputRange(records[i].Channel, records[i].Scale))
            return false;
    }
    return true;
}

bool CBaseDAQInterface::SetAllInputRanges(double value)
{
    const int n = GetMaxChannels();
    for (int i = 0; i < n && IsTableChannel(i); ++i)
        m_channels[static_cast<size_t>(i)].Scale = static_cast<float>(value);
    return true;
}

double CBaseDAQInterface::GetChannelInputRange(int channel)
{
    if (!IsChannelEnabled(channel) || !IsTableChannel(channel))
        return kNoFloatValue;
    return m_channels[static_cast<size_t>(channel)].Scale;
}

bool CBaseDAQInterface::HasAutoRangeChannel()
{
    const int n = GetMaxChannels();
    for (int i = 0; i < n && IsTableChannel(i); ++i) {
        if (m_channels[static_cast<size_t>(i)].AutoRange == 1)
            return true;
    }
    return false;
}

bool CBaseDAQInterface::SetNotifyWindow(IMessageTarget* window, uint32_t startMsg, uint32_t stopMsg,
                                        uint32_t completeMsg)
{
    std::lock_guard<std::mutex> lock(m_notifyMutex);
    m_notifyWindow = window;
    m_startMsg = startMsg;
    m_stopMsg = stopMsg;
    m_completeMsg = completeMsg;
    return true;
}

bool CBaseDAQInterface::EnableChannel(int channel)
{
    if (static_cast<unsigned>(channel) >= static_cast<unsigned>(GetMaxChannels()) || !IsTableChannel(channel) ||
        m_enabled[static_cast<size_t>(channel)])
        return false;
    m_enabled[static_cast<size_t>(channel)] = 1;
    return true;
}

bool CBaseDAQInterface::DisableChannel(int channel)
{
    if (static_cast<unsigned>(channel) >= static_cast<unsigned>(GetMaxChannels()) || !IsTableChannel(channel) ||
        !m_enabled[static_cast<size_t>(channel)])
        return false;
    m_enabled[static_cast<size_t>(channel)] = 0;
    return true;
}

bool CBaseDAQInterface::IsChannelEnabled(int channel)
{
    if (static_cast<unsigned>(channel) >= static_cast<unsigned>(GetMaxChannels()) || !IsTableChannel(channel))
        return false;
    return m_enabled[static_cast<size_t>(channel)] != 0;
}

int CBaseDAQInterface::GetEnabledChannelCount()
{
    int n = 0;
    const int max = GetMaxChannels();
    for (int i = 0; i < max && IsTableChannel(i); ++i)
        n += m_enabled[static_cast<size_t>(i)] ? 1 : 0;
    return n;
}

int CBaseDAQInterface::GetMaxChannels()
{
    return kDefaultChannels;
}

bool CBaseDAQInterface::SetChannelInfo(const CHANNELINFO* info)
{
    // A record numbered at the channel count has no row: refused with every other number past it.
    if (!info || info->Channel < 0 || info->Channel >= GetMaxChannels() || !IsChannelEnabled(info->Channel))
        return false;
    CHANNELINFO& row = m_channels[static_cast<size_t>(info->Channel)];
    row.Channel = info->Channel;
    row.AttachPoint = info->AttachPoint;
    row.Comment = info->Comment;
    row.DataType = info->DataType;
    row.Unit = info->Unit;
    row.AutoRange = info->AutoRange;
    row.Coupling = info->Coupling;
    if (info->Sensitivity != 0.0f)
        row.Sensitivity = info->Sensitivity;
    if (info->Range != 0.0f)
        row.Range = info->Range;
    if (info->Scale != 0.0f)
        row.Scale = info->Scale;
    if (info->Limit != 0.0f)
        row.Limit = info->Limit;
    return true;
}

bool CBaseDAQInterface::GetChannelInfo(CHANNELINFO* info)
{
    if (!info || info->Channel < 0 || info->Channel >= GetMaxChannels() || !IsChannelEnabled(info->Channel))
        return false;
    *info = m_channels[static_cast<size_t>(info->Channel)];
    return true;
}

bool CBaseDAQInterface::SetSampleRate(float hz)
{
    if (!(hz > 0.0f))
        return false;
    m_sampleRate = hz;
    return true;
}

float CBaseDAQInterface::GetSampleRate()
{
    return m_sampleRate;
}

bool CBaseDAQInterface::SetDuration(float seconds)
{
    if (!(seconds > 0.0f))
        return false;
    m_duration = seconds;
    return true;
}

float CBaseDAQInterface::GetDuration()
{
    return m_duration;
}
bool CBaseDAQInterface::Start()
{
    return false;
}
bool CBaseDAQInterface::Stop()
{
    return false;
}
int CBaseDAQInterface::GetState()
{
    return m_state;
}
int CBaseDAQInterface::GetStatus()
{
    return m_status;
}

int CBaseDAQInterface::GetSampleCount()
{
    return static_cast<int>(m_sampleRate * m_duration + 0.5f);
}

bool CBaseDAQInterface::ReadData(int, float*, int, int)
{
    return false;
}

bool CBaseDAQInterface::SetBlockSize(int size)
{
    m_blockSize = size;
    return true;
}

int CBaseDAQInterface::GetBlockSize()
{
    return m_blockSize;
}

int CBaseDAQInterface::ResetCounters()
{
    m_blockCounter = 0;
    m_dataCounter = 0;
    return 0;
}

int CBaseDAQInterface::GetBlockCounter()
{
    return m_blockCounter;
}
int CBaseDAQInterface::GetDataCounter()
{
    return m_dataCounter;
}

bool CBaseDAQInterface::SetAcqMode(int mode)
{
    if (mode != 0 && mode != 1)
        return false;
    m_acqMode = mode;
    return true;
}

int CBaseDAQInterface::GetAcqMode()
{
    return m_acqMode;
}

bool CBaseDAQInterface::SetTriggered()
{
    m_triggered = 1;
    return true;
}

bool CBaseDAQInterface::SetTriggerParam(int param)
{
    m_triggerParam = param;
    return true;
}

int CBaseDAQInterface::GetTriggerParam()
{
    return m_triggerParam;
}

bool CBaseDAQInterface::SetTriggerLevel(float level)
{
    m_triggerLevel = level;
    return true;
}

float CBaseDAQInterface::GetTriggerLevel()
{
    return m_triggerLevel;
}

bool CBaseDAQInterface::SetReferenceChannel(int channel)
{
    if (channel < 0 || channel >= GetMaxChannels() || !IsChannelEnabled(channel))
        return false;
    m_referenceChannel = channel;
    m_channels[static_cast<size_t>(channel)].DataType = CHANNELINFO::kDataTypeReference;
    return true;
}

int CBaseDAQInterface::GetReferenceChannelIndex()
{
    return m_referenceChannel;
}

bool CBaseDAQInterface::SetInputRange(float value, int mode)
{
    if (value == 0.0f)
        return false;
    if (mode == 0) {
        if (value < 0.0f) {
            m_inputRangeLower = value;
            m_inputRangeUpper = 0.0f;
        } else {
            m_inputRangeUpper = value;
            m_inputRangeLower = 0.0f;
        }
    } else if (mode == 1) {
        m_inputRangeUpper = std::fabs(value);
        m_inputRangeLower = -std::fabs(value);
    }
    m_inputRangeMode = mode;
    return true;
}

bool CBaseDAQInterface::SetInputRangeLimit(int limit)
{
    if (limit < 0)
        return false;
    m_inputRangeLimit = limit;
    return true;
}

int CBaseDAQInterface::GetInputRangeLimit()
{
    return m_inputRangeLimit;
}
float CBaseDAQInterface::GetInputRangeUpper()
{
    return m_inputRangeUpper;
}
float CBaseDAQInterface::GetInputRangeLower()
{
    return m_inputRangeLower;
}

bool CBaseDAQInterface::SetPreTrigger(int count)
{
    m_preTrigger = count;
    return true;
}

int CBaseDAQInterface::GetPreTrigger()
{
    return m_preTrigger;
}

bool CBaseDAQInterface::SetPostTrigger(int count)
{
    m_postTrigger = count;
    return true;
}

int CBaseDAQInterface::GetPostTrigger()
{
    return m_postTrigger;
}

bool CBaseDAQInterface::SetNoiseType(int type)
{
    if (type == m_noiseType)
        return true;
    // An unknown type is refused before anything changes: the generator in use keeps playing.
    if (type != 0 && type != 1 && type != 2)
        return false;
    m_noise.reset();
    if (type == 0) {
        m_noiseType = 0;
        return true;
    }
    if (type == 1)
        m_noise.reset(new (std::nothrow) CWhiteNoiseGenerator(1, 16, 44100));
    else
        m_noise.reset(new (std::nothrow) CPinkNoiseGenerator(1, 16, 44100));
    if (!m_noise) {
        m_noiseType = 0;
        return false;
    }
    m_noiseType = type;
    m_noise->SetFeedback(m_feedback);
    return m_noise->Open();
}

void CBaseDAQInterface::SetFeedback(CFeedback* feedback)
{
    m_feedback = feedback ? feedback : SilentFeedback();
    if (m_noise)
        m_noise->SetFeedback(m_feedback);
}

bool CBaseDAQInterface::StartNoise()
{
    return m_noise ? m_noise->Start() : false;
}

bool CBaseDAQInterface::StopNoise()
{
    return m_noise ? m_noise->Pause() : false;
}
