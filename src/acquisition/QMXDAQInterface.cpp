#include "acquisition/QMXDAQInterface.h"

#include "acquisition/QmxInventoryReader.h"
#include "acquisition/RunWake.h"
#include "platform/base/DebugLog.h"
#include "platform/base/Format.h"
#include "platform/base/MsClock.h"
#include "platform/qmx/QmxDriver.h"
#include "platform/win/SendWait.h"
#include "platform/win/ZuRegOptions.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <future>
#include <system_error>
#include <thread>

namespace {
constexpr double kEpsilon = 1.1920928955078125e-7;
constexpr int kFirstAddress = 128;
constexpr int kLastAddress = 255;
constexpr int kTransferAttempts = 10;
constexpr auto kSettlePoll = std::chrono::milliseconds(500);
constexpr auto kDataPoll = std::chrono::milliseconds(10);
constexpr auto kWorkerPoll = std::chrono::milliseconds(100);
std::atomic<int> g_stallLimitMs{5000};

bool NearlyEqual(double a, double b)
{
    return std::fabs(a - b) <= b * kEpsilon;
}

float RateOfCode(int code)
{
    static constexpr float rates[] = {102400.0f, 51200.0f, 25600.0f, 12800.0f};
    return code >= 0 && code < 4 ? rates[code] : kNoFloatValue;
}

double RangeOfCode(int code)
{
    static constexpr double ranges[] = {0.1, 1.0, 10.0};
    return code >= 0 && code < 3 ? ranges[code] : kNoFloatValue;
}
} // namespace

CQMXDAQInterface::CQMXDAQInterface()
{
    m_inputRangeUpper = 5.0f;
    m_inputRangeLower = -5.0f;
    m_status = 0;
    m_duration = 0.0f;
    m_address = kDefaultAddress;
    m_wake = std::make_shared<CRunWake>();
    CreateDriver();
}

CQMXDAQInterface::~CQMXDAQInterface()
{
    // The worker may still use the buffers and the driver: it ends first.
    WaitForWorker();
    m_prefault.Stop();
    m_buffers = CZeroedBlock();
}

void CQMXDAQInterface::CreateDriver()
{
    m_system = CQmxDriver::Create();
    if (!m_system)
        return;
    m_control = m_system->QueryControl();
    if (!m_control)
        return;
    m_channel = m_system->QueryChannel();
}

uint32_t CQMXDAQInterface::GetDriverAddress(int channel) const
{
    const auto it = m_channelMap.find(channel);
    return it == m_channelMap.end() ? 0 : it->second;
}

// --- connection -----------------------------------------------------------------------------------

int CQMXDAQInterface::IsConnected()
{
    int state = 0;
    if (!m_system || QmxFailed(m_system->GetConnectionState(&state)))
        return 0;
    return state;
}

int CQMXDAQInterface::SetEnabled(int inUse)
{
    m_inUse = inUse;
    return m_inUse;
}

bool CQMXDAQInterface::IsReady()
{
    return m_inUse && IsConnected();
}

uint32_t CQMXDAQInterface::GetSettledTime() const
{
    return CMsClock::Since(m_configuredAt);
}

bool CQMXDAQInterface::IsSettled() const
{
    return GetSettledTime() >= kSettleMs;
}

void CQMXDAQInterface::MarkConfigured()
{
    m_configuredAt = CMsClock::Now();
}

bool CQMXDAQInterface::Initialize()
{
    bool result = false;
    if (IsConnected()) {
        if (QmxSucceeded(m_system->Reinitialize())) {
            if (!SetupAfterConnect())
                CDebugLog::Writef("QMX %s: the hardware set-up after re-initialising failed", m_address.c_str());
            MarkConfigured();
            result = true;
        }
    } else {
        int state = 0;
        if (m_system && QmxSucceeded(m_system->GetConnectionState(&state)) && state != 0) {
            result = IsConnected() != 0;
        } else if (Connect()) {
            if (!SetupAfterConnect())
                CDebugLog::Writef("QMX %s: the hardware set-up after connecting failed", m_address.c_str());
            MarkConfigured();
            result = IsConnected() != 0;
        }
    }
    if (!result)
        SetEnabled(0);
    return result;
}

bool CQMXDAQInterface::Connect()
{
    if (!m_system)
        return false;
    const std::string address = GetProfileString("QMX", "IP", kDefaultAddress);
    m_system->SetAddress(address);
    if (QmxFailed(m_system->Open(1, 1)))
        return false;
    std::string inUse;
    if (QmxSucceeded(m_system->GetAddressInUse(inUse))) {
        m_address = inUse;
        WriteProfileString("QMX", "IP", inUse);
    } else {
        m_address = address;
    }
    return true;
}

bool CQMXDAQInterface::Disconnect()
{
    int state = 0;
    if (m_system && QmxSucceeded(m_system->GetConnectionState(&state)) && state != 1)
        return true;
    WaitForWorker();
    return m_system && QmxSucceeded(m_system->Close());
}

bool CQMXDAQInterface::SetupAfterConnect()
{
    m_controlBoard = FindBoard(kQmxControlBoardType);
    const bool mapped = BuildChannelMap();
    const int n = GetMaxChannels();
    m_enabled.assign(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i)
        EnableChannel(i);
    ResetChannelTable();
    const bool inventory = BuildInventory();
    if (!mapped)
        CDebugLog::Writef("QMX %s: a channel presence query failed", m_address.c_str());
    return inventory;
}

bool CQMXDAQInterface::BuildInventory()
{
    CQmxInventoryReader reader(this);
    reader.AddTarget(&m_inventory);
    const bool read = reader.ReadAll();
    const bool verified = reader.VerifyAll();
    if (!read)
        CDebugLog::Writef("QMX %s: the hardware inventory could not be read completely", m_address.c_str());
    return read && verified;
}

int CQMXDAQInterface::FindBoard(int32_t type)
{
    int count = 0;
    if (!m_system || QmxFailed(m_system->GetBoardCount(&count)))
        return -1;
    for (int b = 0; b < count; ++b) {
        int t = 0;
        if (QmxFailed(m_system->GetBoardType(b, &t)))
            return -1;
        if (t == type)
            return b;
    }
    return -1;
}

bool CQMXDAQInterface::BuildChannelMap()
{
    m_channelMap.clear();
    int count = 0;
    if (!m_system || QmxFailed(m_system->GetBoardCount(&count)))
        return false;
    bool ok = true;
    int next = 0;
    for (int b = 0; b < count; ++b) {
        int type = 0;
        if (QmxFailed(m_system->GetBoardType(b, &type)) || type != kQmxAcqBoardType)
            continue;
        for (int a = kFirstAddress; a <= kLastAddress; ++a) {
            int present = 0;
            if (QmxFailed(m_system->HasChannel(b, a, &present))) {
                ok = false;
                continue;
            }
            if (present)
                m_channelMap[next++] = MakeAddress(b, a);
        }
    }
    return ok;
}

void CQMXDAQInterface::ResetChannelTable()
{
    const int n = GetMaxChannels();
    m_channels.resize(static_cast<size_t>(n));
    if (m_enabled.size() != m_channels.size())
        m_enabled.resize(m_channels.size(), 0);
    for (int i = 0; i < n; ++i) {
        CHANNELINFO& row = m_channels[static_cast<size_t>(i)];
        const float limit = row.Limit;
        row = DefaultChannelRow(i);
        row.Range = 2.5f;
        row.Scale = static_cast<float>(GetChannelInputRange(i));
        row.Limit = limit;
    }
}

bool CQMXDAQInterface::CheckAllChannels()
{
    if (!IsConnected()) {
        SetEnabled(0);
        return false;
    }
    const int n = GetMaxChannels();
    for (int i = 0; i < n; ++i) {
        if (GetDriverAddress(i) == 0) {
            GetFeedback()->Warning(Format("Channel [%d] is not available.", i + 1));
            SetEnabled(0);
            return false;
        }
    }
    return true;
}

bool CQMXDAQInterface::IsChannelAvailable(int channel, bool showMessage)
{
    if (!IsConnected())
        return false;
    if (GetDriverAddress(channel) != 0)
        return true;
    if (showMessage)
        GetFeedback()->Warning(Format("Channel [%d] is not available.", channel + 1));
    return false;
}

// --- channels -------------------------------------------------------------------------------------

int CQMXDAQInterface::GetMaxChannels()
{
    return static_cast<int>(m_channelMap.size());
}

bool CQMXDAQInterface::EnableChannel(int channel)
{
    if (static_cast<unsigned>(channel) >= static_cast<unsigned>(GetMaxChannels()) || !IsTableChannel(channel) ||
        !m_system)
        return false;
    const uint32_t a = GetDriverAddress(channel);
    int active = 0;
    if (QmxFailed(m_system->IsChannelActive(BoardOf(a), ChannelOf(a), &active))) {
        int error = 0;
        m_system->GetLastError(&error);
        return false;
    }
    if (active)
        return false;
    if (QmxFailed(m_system->ActivateChannel(BoardOf(a), ChannelOf(a), 1)))
        return false;
    m_enabled[static_cast<size_t>(channel)] = 1;
    return true;
}

bool CQMXDAQInterface::DisableChannel(int channel)
{
    if (static_cast<unsigned>(channel) >= static_cast<unsigned>(GetMaxChannels()) || !IsTableChannel(channel) ||
        !m_system)
        return false;
    const uint32_t a = GetDriverAddress(channel);
    if (QmxFailed(m_system->ActivateChannel(BoardOf(a), ChannelOf(a), 0)))
        return false;
    m_enabled[static_cast<size_t>(channel)] = 0;
    return true;
}

bool CQMXDAQInterface::IsChannelEnabled(int channel)
{
    return IsTableChannel(channel) && m_enabled[static_cast<size_t>(channel)] != 0;
}

int CQMXDAQInterface::GetEnabledChannelCount()
{
    int n = 0;
    const int max = GetMaxChannels();
    for (int i = 0; i < max; ++i)
        n += IsChannelEnabled(i) ? 1 : 0;
    return n;
}

double CQMXDAQInterface::GetChannelInputRange(int channel)
{
    int code = -1;
    const uint32_t a = GetDriverAddress(channel);
    if (!m_channel || QmxFailed(m_channel->GetRangeCode(BoardOf(a), ChannelOf(a), &code)))
        return kNoFloatValue;
    return RangeOfCode(code);
}

bool CQMXDAQInterface::SetChannelInputRange(int channel, double value)
{
    if (!IsReady() && GetState() == 0)
        return false;
    if (channel < 0 || channel >= GetMaxChannels() || !m_channel)
        return false;
    const double current = GetChannelInputRange(channel);
    if (NearlyEqual(current, value))
        return true;
    int code = 2;
    if (NearlyEqual(value, 0.1))
        code = 0;
    else if (NearlyEqual(value, 1.0))
        code = 1;
    const uint32_t a = GetDriverAddress(channel);
    if (QmxFailed(m_channel->SetRangeCode(BoardOf(a), ChannelOf(a), code)))
        return false;
    MarkConfigured();
    if (IsTableChannel(channel))
        m_channels[static_cast<size_t>(channel)].Scale = static_cast<float>(RangeOfCode(code));
    return true;
}

bool CQMXDAQInterface::SetAllInputRanges(double value)
{
    bool ok = true;
    const int n = GetMaxChannels();
    for (int i = 0; i < n; ++i) {
        if (!SetChannelInputRange(i, value))
            ok = false;
    }
    return ok;
}

bool CQMXDAQInterface::SetChannelInfo(const CHANNELINFO* info)
{
    if (!info || !IsChannelEnabled(info->Channel))
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
    if (info->Scale != 0.0f && !SetChannelInputRange(info->Channel, info->Scale))
        return false;
    return true;
}

bool CQMXDAQInterface::GetChannelInfo(CHANNELINFO* info)
{
    if (!info || !IsChannelEnabled(info->Channel))
        return false;
    const float limit = info->Limit;
    *info = m_channels[static_cast<size_t>(info->Channel)];
    info->Limit = limit;
    return true;
}

// --- sampling -------------------------------------------------------------------------------------

bool CQMXDAQInterface::SetSampleRate(float hz)
{
    if (!(hz > 0.0f) || !m_channel)
        return false;
    const int code = hz <= 12800.0f ? 3 : hz <= 25600.0f ? 2 : hz <= 51200.0f ? 1 : 0;
    bool ok = true;
    const int n = GetMaxChannels();
    for (int i = 0; i < n; ++i) {
        const uint32_t a = GetDriverAddress(i);
        if (QmxFailed(m_channel->SetRateCode(BoardOf(a), ChannelOf(a), code)))
            ok = false;
    }
    return ok;
}

float CQMXDAQInterface::GetSampleRate()
{
    int code = -1;
    const uint32_t a = GetDriverAddress(0);
    if (!m_channel || QmxFailed(m_channel->GetRateCode(BoardOf(a), ChannelOf(a), &code)))
        return kNoFloatValue;
    return RateOfCode(code);
}

int CQMXDAQInterface::GetHardwareParam()
{
    const float rate = GetSampleRate();
    // A system that cannot tell its rate has no usable bandwidth.
    return rate > 0.0f ? static_cast<int>(rate * 0.4f) : 0;
}

bool CQMXDAQInterface::SetDuration(float seconds)
{
    if (!(seconds > 0.0f))
        return false;
    const double rate = GetSampleRate();
    // Without a rate there is no count to program, and never a negative one.
    if (!(rate > 0.0))
        return false;
    const double count = std::ceil(rate * static_cast<double>(seconds));
    if (count > INT_MAX)
        return false;
    return SetSampleCount(static_cast<int>(count));
}

bool CQMXDAQInterface::SetSampleCount(int count)
{
    if (count < 0 || !m_channel)
        return false;
    bool ok = true;
    const int n = GetMaxChannels();
    for (int i = 0; i < n; ++i) {
        const uint32_t a = GetDriverAddress(i);
        if (QmxFailed(m_channel->SetSampleCount(BoardOf(a), ChannelOf(a), count)))
            ok = false;
    }
    m_sampleCount = count;
    const float rate = GetSampleRate();
    m_duration = rate > 0.0f ? static_cast<float>(count) / rate : 0.0f;
    return ok;
}

float CQMXDAQInterface::GetDuration()
{
    if (m_duration > 0.0f)
        return m_duration;
    const float rate = GetSampleRate();
    if (rate > 0.0f) {
        const float d = static_cast<float>(GetSampleCount()) / rate;
        if (d > 0.0f) {
            m_duration = d;
            return d;
        }
    }
    return kNoFloatValue;
}

int CQMXDAQInterface::GetSampleCount()
{
    return m_sampleCount;
}

// --- trigger and synchronisation ------------------------------------------------------------------

bool CQMXDAQInterface::SetReferenceChannel(int channel)
{
    if (!IsChannelEnabled(channel) || !m_channel || !m_system)
        return false;
    bool ok = true;
    const int n = GetMaxChannels();
    for (int i = 0; i < n; ++i) {
        const uint32_t a = GetDriverAddress(i);
        if (QmxFailed(m_channel->SetTriggerMode(BoardOf(a), ChannelOf(a), 0)))
            ok = false;
    }
    const uint32_t a = GetDriverAddress(channel);
    if (QmxFailed(m_channel->SetTriggerMode(BoardOf(a), ChannelOf(a), 1)))
        return false;
    // The reference is only what the hardware triggers on: any refused call leaves it unchanged.
    if (QmxFailed(m_system->SelectTriggerChannel(BoardOf(a), ChannelOf(a))) || !ok)
        return false;
    m_referenceChannel = channel;
    m_channels[static_cast<size_t>(channel)].DataType = CHANNELINFO::kDataTypeReference;
    return true;
}

bool CQMXDAQInterface::SetTriggerLevel(float level)
{
    if (level == 0.0f || !m_channel)
        return false;
    const int ref = m_referenceChannel;
    const float sensitivity = IsTableChannel(ref) ? m_channels[static_cast<size_t>(ref)].Sensitivity : 1.0f;
    const uint32_t a = GetDriverAddress(ref);
    if (QmxFailed(m_channel->SetTriggerMode(BoardOf(a), ChannelOf(a), 2)) ||
        QmxFailed(m_channel->SetTriggerLevel(BoardOf(a), ChannelOf(a), level * sensitivity * 0.001f)))
        return false;
    m_triggerLevel = level;
    return true;
}

bool CQMXDAQInterface::SetInputRange(float, int mode)
{
    m_inputRangeMode = mode;
    return true;
}

bool CQMXDAQInterface::SetSyncRole(int role)
{
    if (!m_sync && m_system)
        m_sync = m_system->QuerySync();
    if (!m_sync)
        return false;
    if (QmxFailed(m_sync->SetRole(static_cast<uint8_t>(m_controlBoard), 0, role)))
        return false;
    m_syncRole = role;
    return true;
}

bool CQMXDAQInterface::ApplySync()
{
    return m_sync && QmxSucceeded(m_sync->Apply());
}

// --- the run --------------------------------------------------------------------------------------

void CQMXDAQInterface::SetStallLimit(std::chrono::milliseconds limit)
{
    g_stallLimitMs = static_cast<int>(limit.count());
}

void CQMXDAQInterface::RequestStop()
{
    m_stopRequest = 1;
    m_wake->Notify();
}

void CQMXDAQInterface::WaitForWorker()
{
    if (m_busy) {
        RequestStop();
        // Serves the worker's sends to this thread meanwhile, so the worker can always finish.
        CSendWait::WaitServing([this] { return m_busy == 0; }, kWorkerPoll);
    }
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

bool CQMXDAQInterface::StartDriver()
{
    return m_system && QmxSucceeded(m_system->StartAcquisition());
}

bool CQMXDAQInterface::StopDriver()
{
    return m_system && QmxSucceeded(m_system->StopAcquisition());
}

void CQMXDAQInterface::ClearChannelTriggers()
{
    if (!m_channel)
        return;
    // A triggered run keeps the trigger of its reference channel (on the first system of a chain).
    const bool keepReference = m_acqMode == 0 && (m_syncRole == -1 || m_syncRole == 0);
    const int n = GetMaxChannels();
    for (int i = 0; i < n; ++i) {
        if (keepReference && i == m_referenceChannel)
            continue;
        const uint32_t a = GetDriverAddress(i);
        if (QmxSucceeded(m_channel->SetTriggerMode(BoardOf(a), ChannelOf(a), 0)))
            m_channel->SetTriggerLevel(BoardOf(a), ChannelOf(a), 0.0f);
    }
}

void CQMXDAQInterface::ConfigureRun()
{
    if (!m_control || !m_channel)
        return;
    const auto board = static_cast<uint8_t>(m_controlBoard);
    if (QmxFailed(m_control->SetTriggerSource(board, 0, 1)))
        return;
    if (QmxFailed(m_control->SetLevel(board, 0, m_acqMode == 0 ? 10.0f : 0.0f)))
        return;
    const int n = GetMaxChannels();
    for (int i = 0; i < n; ++i) {
        const uint32_t a = GetDriverAddress(i);
        m_channel->SetChannelMode(BoardOf(a), ChannelOf(a), 2);
    }
}

void CQMXDAQInterface::PrepareRun()
{
    WaitForWorker();
    ClearChannelTriggers();
    ConfigureRun();
    if (m_system)
        m_system->ClearAcquisition();

    // Buffers of the same size are kept (the transfer zeroes what it does not fill); others are
    // taken zeroed, in one block: a long run's samples lie in 2 MB pages, and a first run does
    // not pay a page fault per 4 KB for storing them. While the run acquires, helpers fault a
    // fresh block in, so the transfer at its end finds the pages ready.
    const int channels = GetMaxChannels();
    const int length = GetSampleCount();
    m_prefault.Stop();
    bool fresh = false;
    if (channels <= 0 || length <= 0) {
        m_buffers = CZeroedBlock();
    } else if (channels != m_bufferChannels || length != m_bufferLength || !m_buffers.data()) {
        m_buffers = CZeroedBlock();
        m_buffers = CZeroedBlock(static_cast<size_t>(channels) * static_cast<size_t>(length) * sizeof(float));
        fresh = m_buffers.IsMapped();
    }
    m_bufferChannels = channels;
    m_bufferLength = length;
    m_missing.assign(static_cast<size_t>(std::max(m_bufferChannels, 0)), 0);
    // The worker works on the channels enabled now, never on the flags the user interface moves.
    m_runChannels.clear();
    for (int i = 0; i < m_bufferChannels; ++i) {
        if (IsChannelEnabled(i))
            m_runChannels.push_back(i);
    }
    if (fresh)
        StartPrefault();
    const float duration = GetDuration();
    m_expectedMs = duration > 0.0f ? static_cast<int>(std::min(duration * 1000.0f, 1e9f)) : 0;
    {
        std::lock_guard<std::mutex> lock(m_faultMutex);
        m_fault = CDAQRunFault{};
    }
    m_acquired = 0;
    m_stopRequest = 0;
    m_status = 0;
    m_state = 0;
    m_triggered = 0;
    m_partialCount = 0;
}

bool CQMXDAQInterface::Start()
{
    PrepareRun();
    m_busy = 1;
    // The worker waits for the start message to be posted, so the window always hears the start
    // before anything the worker says.
    std::promise<void> go;
    std::future<void> ready = go.get_future();
    try {
        m_thread = std::thread([this, ready = std::move(ready)]() mutable {
            ready.wait();
            AcquisitionWorker();
        });
    } catch (const std::system_error&) {
        m_prefault.Stop();
        m_busy = 0;
        StopDriver();
        m_state = 1;
        return false;
    }
    PostStartMessage();
    go.set_value();
    return true;
}

bool CQMXDAQInterface::WaitSettled(CRunWake& wake, const std::function<bool()>& stopped)
{
    while (!IsSettled()) {
        if (stopped())
            return false;
        wake.WaitFor(kSettlePoll, stopped);
    }
    return !stopped();
}

void CQMXDAQInterface::AcquisitionWorker()
{
    const auto stopped = [this] { return StopRequested(); };
    if (WaitSettled(*m_wake, stopped)) {
        if (!StartDriver()) {
            // The window must still hear that nothing runs.
            m_status = 0;
            PostStopMessage();
            EndRun();
            return;
        }
        BeginRunClock();
        if (WaitForData()) {
            TransferData();
            // A stop requested while the samples were copied wins: the window must not hear a
            // completion after the user stopped the run.
            if (StopRequested())
                m_status = 0;
            else
                PostCompleteMessage();
        }
    }
    // A stop the driver refuses still ends the run for the window.
    if (!Stop())
        PostStopMessage();
    EndRun();
}

void CQMXDAQInterface::StartPrefault()
{
    // Only the channels the run fills: a disabled channel's pages stay untaken.
    std::vector<CBlockPrefault::Range> ranges;
    const size_t bytes = static_cast<size_t>(m_bufferLength) * sizeof(float);
    for (int channel : m_runChannels) {
        float* buffer = ChannelBuffer(channel);
        if (!buffer)
            continue;
        char* start = reinterpret_cast<char*>(buffer);
        if (!ranges.empty() && static_cast<char*>(ranges.back().data) + ranges.back().bytes == start)
            ranges.back().bytes += bytes; // the next channel: one range
        else
            ranges.push_back({start, bytes});
    }
    m_prefault.Start(ranges, CBlockPrefault::HelpersPerBlock());
}

void CQMXDAQInterface::EndRun()
{
    m_prefault.Stop();
    m_state = 1;
    m_busy = 0;
    CSendWait::Wake();
}

void CQMXDAQInterface::BeginRunClock()
{
    m_runStartAt = std::chrono::steady_clock::now();
    m_progressAt = m_runStartAt;
    m_progressValue = -1;
}

bool CQMXDAQInterface::IsDataComplete(int channel, bool* failed)
{
    if (failed)
        *failed = false;
    int acquired = 0;
    int requested = 0;
    int extra1 = 0;
    int extra2 = 0;
    const uint32_t a = GetDriverAddress(channel);
    if (!m_system ||
        QmxFailed(m_system->GetProgress(BoardOf(a), ChannelOf(a), &acquired, &requested, &extra1, &extra2))) {
        if (failed)
            *failed = true;
        return false;
    }
    if (m_partialCount && m_acquired == 0)
        m_acquired = std::clamp(acquired, 0, m_bufferLength);
    if (acquired != m_progressValue) {
        m_progressValue = acquired;
        m_progressAt = std::chrono::steady_clock::now();
    }
    return acquired >= requested;
}

CQMXDAQInterface::RunPoll CQMXDAQInterface::PollRun(bool peersDone)
{
    if (m_runChannels.empty())
        return RunPoll::Complete;
    bool failed = false;
    if (IsDataComplete(m_runChannels.front(), &failed))
        return RunPoll::Complete;
    if (failed)
        return RunPoll::Lost;
    // A system that waits for its trigger makes no progress as long as it likes; one that has
    // begun, or whose peers are done, must move on within the run's time and the stall limit.
    const auto now = std::chrono::steady_clock::now();
    const auto still = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_progressAt).count();
    const auto running = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_runStartAt).count();
    if ((m_progressValue > 0 || peersDone) && still > g_stallLimitMs && running > m_expectedMs)
        return RunPoll::Lost;
    return RunPoll::Pending;
}

bool CQMXDAQInterface::WaitForData()
{
    if (m_runChannels.empty()) {
        m_status = 1;
        return false;
    }
    const auto stopped = [this] { return StopRequested(); };
    for (;;) {
        if (stopped()) {
            m_status = 0;
            return false;
        }
        const RunPoll poll = PollRun(false);
        if (poll == RunPoll::Complete)
            break;
        if (poll == RunPoll::Lost) {
            // Nothing of a system that stopped answering can be read any more.
            MarkRunChannelsMissing();
            SetLostFault(0, 0);
            m_status = 0;
            return false;
        }
        m_wake->WaitFor(kDataPoll, stopped);
    }
    // A stop that came with the last poll still counts: no completion is reported without the
    // transfer that goes with it.
    if (stopped()) {
        m_status = 0;
        return false;
    }
    m_status = 1;
    return true;
}

float* CQMXDAQInterface::ChannelBuffer(int channel) const
{
    if (!m_buffers.data() || channel < 0 || channel >= m_bufferChannels)
        return nullptr;
    return static_cast<float*>(m_buffers.data()) + static_cast<size_t>(channel) * static_cast<size_t>(m_bufferLength);
}

bool CQMXDAQInterface::TransferData(int limit)
{
    // The writer begins: what the helpers have not faulted in yet it faults itself (it need not
    // wait for them; the run's end joins them).
    m_prefault.RequestStop();
    if (!m_system)
        return true;
    for (int channel : m_runChannels) {
        if (channel >= m_bufferChannels)
            continue;
        const uint32_t a = GetDriverAddress(channel);
        int n = 0;
        int requested = 0;
        int extra1 = 0;
        int extra2 = 0;
        bool ok = false;
        float* buffer = ChannelBuffer(channel);
        if (QmxSucceeded(m_system->GetProgress(BoardOf(a), ChannelOf(a), &n, &requested, &extra1, &extra2))) {
            n = std::clamp(n, 0, m_bufferLength);
            if (limit >= 0)
                n = std::min(n, limit);
            if (m_acquired == 0 || (limit >= 0 && m_acquired > limit))
                m_acquired = n;
            for (int attempt = 0; attempt < kTransferAttempts && !ok; ++attempt)
                ok = n == 0 || (buffer && QmxSucceeded(m_system->ReadSamples(BoardOf(a), ChannelOf(a), buffer, n)));
        }
        // What this run did not fill holds no samples of an earlier run.
        if (buffer)
            std::fill(buffer + (ok ? n : 0), buffer + m_bufferLength, 0.0f);
        if (!ok) {
            m_missing[static_cast<size_t>(channel)] = 1;
            std::lock_guard<std::mutex> lock(m_faultMutex);
            m_fault.MissingChannels.push_back(channel);
        }
    }
    return true;
}

void CQMXDAQInterface::MarkRunChannelsMissing()
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    for (int channel : m_runChannels) {
        if (channel < m_bufferChannels && !m_missing[static_cast<size_t>(channel)]) {
            m_missing[static_cast<size_t>(channel)] = 1;
            m_fault.MissingChannels.push_back(channel);
        }
    }
}

void CQMXDAQInterface::SetLostFault(int unit, int kept)
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    m_fault.Unit = unit;
    m_fault.SamplesKept = kept;
}

CDAQRunFault CQMXDAQInterface::GetRunFault()
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    return m_fault;
}

bool CQMXDAQInterface::Stop()
{
    if (!StopDriver())
        return false;
    RequestStop();
    PostStopMessage();
    return true;
}

bool CQMXDAQInterface::SetTriggered()
{
    if (!m_system || QmxFailed(m_system->SoftwareTrigger()))
        return false;
    m_triggered = 1;
    return true;
}

int CQMXDAQInterface::ReadLiveData(int channel, float* dest, int count, int start)
{
    if (!dest || count <= 0 || start < 0 || !m_system || !IsChannelEnabled(channel) || channel < 0 ||
        channel >= static_cast<int>(m_channels.size()))
        return 0;
    const uint32_t a = GetDriverAddress(channel);
    int acquired = 0;
    int requested = 0;
    int extra1 = 0;
    int extra2 = 0;
    if (a == 0 || QmxFailed(m_system->GetProgress(BoardOf(a), ChannelOf(a), &acquired, &requested, &extra1, &extra2)))
        return 0;
    const float sensitivity = m_channels[static_cast<size_t>(channel)].Sensitivity;
    if (acquired <= start || sensitivity == 0.0f)
        return 0;
    // The driver hands a channel's samples out from the first on.
    const int n = std::min(count, acquired - start);
    m_liveBuffer.resize(static_cast<size_t>(start) + static_cast<size_t>(n));
    if (QmxFailed(m_system->ReadSamples(BoardOf(a), ChannelOf(a), m_liveBuffer.data(), start + n)))
        return 0;
    for (int i = 0; i < n; ++i)
        dest[i] = m_liveBuffer[static_cast<size_t>(start + i)] * 1000.0f / sensitivity;
    return n;
}

int CQMXDAQInterface::GetLiveCount()
{
    if (!m_system || m_runChannels.empty())
        return 0;
    int acquired = 0;
    int requested = 0;
    int extra1 = 0;
    int extra2 = 0;
    const uint32_t a = GetDriverAddress(m_runChannels.front());
    if (a == 0 || QmxFailed(m_system->GetProgress(BoardOf(a), ChannelOf(a), &acquired, &requested, &extra1, &extra2)))
        return 0;
    return std::clamp(acquired, 0, m_bufferLength);
}

bool CQMXDAQInterface::ReadData(int channel, float* dest, int count, int start)
{
    if (!dest || count < 0 || start < 0 || !IsChannelEnabled(channel) || channel >= m_bufferChannels ||
        !m_buffers.data() || m_missing[static_cast<size_t>(channel)])
        return false;
    // Only samples the run acquired, and never beyond the buffer.
    const int available = std::min<int>(m_acquired, m_bufferLength);
    if (start >= available || static_cast<int64_t>(start) + count > available)
        return false;
    const float sensitivity = m_channels[static_cast<size_t>(channel)].Sensitivity;
    if (sensitivity == 0.0f)
        return false;
    const float* buffer = ChannelBuffer(channel) + start;
    for (int i = 0; i < count; ++i)
        dest[i] = buffer[i] * 1000.0f / sensitivity;
    return true;
}
