#include "acquisition/MultiQMXInterface.h"

#include "acquisition/RunWake.h"
#include "platform/qmx/QmxDriver.h"
#include "platform/win/Messages.h"
#include "platform/win/SendWait.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <future>
#include <system_error>

namespace {
constexpr auto kDataPoll = std::chrono::milliseconds(10);
constexpr auto kWorkerPoll = std::chrono::milliseconds(100);
constexpr auto kDataBlockPeriod = std::chrono::milliseconds(100);
} // namespace

CMultiQMXInterface::CMultiQMXInterface() : m_wake(std::make_shared<CRunWake>()) {}

CMultiQMXInterface::~CMultiQMXInterface()
{
    JoinWorker();
    m_units.clear();
    m_unitWords.clear();
    m_merged.RemoveAll();
}

template <class F>
bool CMultiQMXInterface::ForAll(F f)
{
    for (auto& unit : m_units) {
        if (!f(*unit))
            return false;
    }
    return true;
}

CQMXDAQInterface* CMultiQMXInterface::GetUnit(int i) const
{
    return i >= 0 && i < GetUnitCount() ? m_units[static_cast<size_t>(i)].get() : nullptr;
}

uint32_t CMultiQMXInterface::GetUnitWord(int i) const
{
    return i >= 0 && i < GetUnitCount() ? m_unitWords[static_cast<size_t>(i)] : 0;
}

// --- units ----------------------------------------------------------------------------------------

int CMultiQMXInterface::AddUnit()
{
    JoinWorker();
    auto unit = std::make_unique<CQMXDAQInterface>();
    unit->SetFeedback(GetFeedback());
    if (!unit->Initialize())
        return 0;
    m_units.push_back(std::move(unit));
    m_unitWords.push_back(0);
    SyncUnits();
    MergeUnitInfo();
    return 1;
}

void CMultiQMXInterface::SetFeedback(CFeedback* feedback)
{
    CBaseDAQInterface::SetFeedback(feedback);
    for (auto& unit : m_units)
        unit->SetFeedback(GetFeedback());
}

int CMultiQMXInterface::RemoveUnit(int i)
{
    if (i < 0 || i >= GetUnitCount())
        return 0;
    JoinWorker();
    if (!m_units[static_cast<size_t>(i)]->Disconnect())
        return 0;
    m_units.erase(m_units.begin() + i);
    m_unitWords.erase(m_unitWords.begin() + i);
    SyncUnits();
    MergeUnitInfo();
    return 1;
}

int CMultiQMXInterface::SwapUnits(int i, int j)
{
    if (i < 0 || j < 0 || i >= GetUnitCount() || j >= GetUnitCount())
        return 0;
    JoinWorker();
    std::swap(m_units[static_cast<size_t>(i)], m_units[static_cast<size_t>(j)]);
    SyncUnits();
    MergeUnitInfo();
    return 1;
}

int CMultiQMXInterface::SyncUnits()
{
    const int n = GetUnitCount();
    if (n < 2)
        return 0;
    for (int i = 0; i < n; ++i) {
        const int role = i == 0 ? 0 : i == n - 1 ? 2 : 1;
        if (!m_units[static_cast<size_t>(i)]->SetSyncRole(role))
            return 0;
    }
    return ForAll([](CQMXDAQInterface& u) { return u.ApplySync(); }) ? 1 : 0;
}

int CMultiQMXInterface::SetChannelParam(int global, int value)
{
    int u = 0;
    int local = 0;
    if (!MapChannel(global, &u, &local))
        return 0;
    CQMXDAQInterface* unit = m_units[static_cast<size_t>(u)].get();
    return (value != 0 ? unit->EnableChannel(local) : unit->DisableChannel(local)) ? 1 : 0;
}

int CMultiQMXInterface::MapChannel(int global, int* unit, int* local)
{
    unsigned first = 0;
    for (int u = 0; u < GetUnitCount(); ++u) {
        const unsigned count = static_cast<unsigned>(std::max(m_units[static_cast<size_t>(u)]->GetMaxChannels(), 0));
        // Unsigned, so a negative channel belongs to no unit.
        if (static_cast<unsigned>(global) < first + count) {
            if (unit)
                *unit = u;
            if (local)
                *local = static_cast<int>(static_cast<unsigned>(global) - first);
            return 1;
        }
        first += count;
    }
    return 0;
}

int CMultiQMXInterface::MergeUnitInfo()
{
    m_merged.RemoveAll();
    int boardOffset = 0;
    int channelOffset = 0;
    CQmxBoardInfoList& boards = m_merged.GetBoardInfoList();
    CQmxBlixInfoList& blixes = m_merged.GetBlixInfoList();
    CQmxBlixChInfoList& channels = m_merged.GetBlixChInfoList();
    for (const auto& unit : m_units) {
        const CQmxBlixChMgr& own = unit->GetInventory();
        // Boards are numbered on from the last slot of the unit before, channels from its last
        // channel number plus one.
        int lastSlot = -1;
        for (const CQmxBoardInfo& b : own.GetBoardInfoList().Items()) {
            CQmxBoardInfo copy(b);
            copy.SetSlot(static_cast<uint8_t>(b.GetSlot() + boardOffset));
            boards.Add(copy);
            lastSlot = copy.GetSlot();
        }
        if (lastSlot >= 0)
            boardOffset = lastSlot;
        for (const CQmxBlixInfo& x : own.GetBlixInfoList().Items())
            blixes.Add(x);
        int lastChannel = INT_MIN;
        for (const CQmxBlixChInfo& c : own.GetBlixChInfoList().Items()) {
            CQmxBlixChInfo copy(c);
            copy.SetChannelNumber(static_cast<int16_t>(c.GetChannelNumber() + channelOffset));
            channels.Add(copy);
            lastChannel = copy.GetChannelNumber();
        }
        if (lastChannel != INT_MIN)
            channelOffset = lastChannel + 1;
    }
    m_merged.Relink();
    return 1;
}

void CMultiQMXInterface::SetActive(int v)
{
    for (auto& unit : m_units)
        unit->SetEnabled(v);
}

int CMultiQMXInterface::AreAllUnitsReady()
{
    return ForAll([](CQMXDAQInterface& u) { return u.IsReady(); }) ? 1 : 0;
}

int CMultiQMXInterface::AreAllUnitsConnected()
{
    return ForAll([](CQMXDAQInterface& u) { return u.IsConnected() != 0; }) ? 1 : 0;
}

int CMultiQMXInterface::AreAllUnitsIdle()
{
    return ForAll([](CQMXDAQInterface& u) { return u.IsSettled(); }) ? 1 : 0;
}

int CMultiQMXInterface::CheckAllChannels()
{
    return ForAll([](CQMXDAQInterface& u) { return u.CheckAllChannels(); }) ? 1 : 0;
}

int CMultiQMXInterface::IsChannelAvailable(int global, bool showMessage)
{
    int u = 0;
    int local = 0;
    if (!MapChannel(global, &u, &local))
        return 0;
    return m_units[static_cast<size_t>(u)]->IsChannelAvailable(local, showMessage) ? 1 : 0;
}

int CMultiQMXInterface::SetUnitsFlag(int v)
{
    for (auto& unit : m_units)
        unit->SetHoldOff(v);
    return GetUnitCount();
}

int CMultiQMXInterface::IsAnyUnitFlagSet()
{
    for (auto& unit : m_units) {
        if (unit->GetHoldOff() != 0)
            return 1;
    }
    return 0;
}

void CMultiQMXInterface::SetPartialCount()
{
    for (auto& unit : m_units)
        unit->SetPartialCount();
}

void CMultiQMXInterface::StopAllUnits()
{
    for (auto& unit : m_units)
        unit->WaitForWorker();
}

int CMultiQMXInterface::ReadLiveData(int global, float* dest, int count, int start)
{
    int u = 0;
    int local = 0;
    if (!MapChannel(global, &u, &local))
        return 0;
    return m_units[static_cast<size_t>(u)]->ReadLiveData(local, dest, count, start);
}

int CMultiQMXInterface::GetFirstUnitValue()
{
    return m_units.empty() ? 0 : m_units.front()->GetAcquiredCount();
}

int CMultiQMXInterface::GetLiveSampleCount()
{
    return m_units.empty() ? 0 : m_units.front()->GetLiveCount();
}

void CMultiQMXInterface::FinishRun()
{
    if (!m_workerBusy)
        return;
    m_finishRequest = 1;
    m_wake->Notify();
}

// --- the run --------------------------------------------------------------------------------------

bool CMultiQMXInterface::AnyStopRequested() const
{
    for (CQMXDAQInterface* unit : m_runUnits) {
        if (unit->StopRequested())
            return true;
    }
    return false;
}

void CMultiQMXInterface::JoinWorker()
{
    if (m_workerBusy) {
        for (CQMXDAQInterface* unit : m_runUnits)
            unit->RequestStop();
        CSendWait::WaitServing([this] { return m_workerBusy == 0; }, kWorkerPoll);
    }
    if (m_thread.joinable())
        m_thread.join();
}

bool CMultiQMXInterface::Start()
{
    JoinWorker();
    for (auto& unit : m_units)
        unit->PrepareRun();
    m_runUnits.clear();
    for (auto& unit : m_units) {
        // One wake for the whole run: a stop of any unit ends every wait of the worker.
        unit->m_wake = m_wake;
        unit->m_busy = 1;
        m_runUnits.push_back(unit.get());
    }
    {
        std::lock_guard<std::mutex> lock(m_faultMutex);
        m_fault = CDAQRunFault{};
    }
    m_finishRequest = 0;
    m_triggerRequest = 0;
    m_runOnTrigger = m_startOnTrigger.exchange(0);
    m_waitingForTrigger = m_runOnTrigger.load();
    m_workerBusy = 1;
    std::promise<void> go;
    std::future<void> ready = go.get_future();
    try {
        m_thread = std::thread([this, ready = std::move(ready)]() mutable {
            ready.wait();
            RunWorker();
        });
    } catch (const std::system_error&) {
        for (CQMXDAQInterface* unit : m_runUnits)
            unit->StopDriver();
        EndRun();
        return false;
    }
    // Posted before the worker may say anything, so the window hears the start first.
    PostStartMessage();
    go.set_value();
    return true;
}

void CMultiQMXInterface::RunWorker()
{
    const auto stopped = [this] { return AnyStopRequested(); };
    bool settled = true;
    for (CQMXDAQInterface* unit : m_runUnits) {
        if (!unit->WaitSettled(*m_wake, stopped)) {
            settled = false;
            break;
        }
    }
    // An armed run samples from its trigger on: nothing of it is recorded before the user starts.
    if (settled && m_runOnTrigger) {
        const auto armedEnds = [&] { return stopped() || m_triggerRequest != 0 || m_finishRequest != 0; };
        while (!armedEnds())
            m_wake->WaitFor(kDataPoll, armedEnds);
        settled = m_triggerRequest != 0 && !stopped();
    }
    m_waitingForTrigger = 0;
    if (settled) {
        // The first unit of a chain starts last: it starts the others' clocks.
        bool started = true;
        for (auto it = m_runUnits.rbegin(); it != m_runUnits.rend(); ++it) {
            if (!(*it)->StartDriver()) {
                started = false;
                break;
            }
        }
        if (!started) {
            // The window must still hear that nothing runs.
            for (CQMXDAQInterface* unit : m_runUnits) {
                unit->StopDriver();
                unit->m_status = 0;
            }
            PostStopMessage();
            EndRun();
            return;
        }
        for (CQMXDAQInterface* unit : m_runUnits)
            unit->BeginRunClock();
        int lost = -1;
        const WaitResult result = WaitForUnits(&lost);
        const bool anyChannel = std::any_of(m_runUnits.begin(), m_runUnits.end(),
                                            [](CQMXDAQInterface* u) { return !u->m_runChannels.empty(); });
        const bool allDone =
            std::all_of(m_runUnits.begin(), m_runUnits.end(), [](CQMXDAQInterface* u) { return u->m_status != 0; });
        if (result == WaitResult::Complete && anyChannel && allDone) {
            SendToNotifyWindow(WM_ZU_DAQ_TRANSFER_BEGIN);
            TransferAll(-1, -1);
            SendToNotifyWindow(WM_ZU_DAQ_TRANSFER_DONE);
            CollectFault(-1, 0);
            // A stop requested during the transfer wins: no completion after the user's stop.
            if (AnyStopRequested()) {
                for (CQMXDAQInterface* unit : m_runUnits)
                    unit->m_status = 0;
            } else {
                PostCompleteMessage();
            }
        } else if (result == WaitResult::Lost) {
            KeepUpToFault(lost);
        } else if (result == WaitResult::Finished) {
            KeepWhatCame();
        }
    }
    for (CQMXDAQInterface* unit : m_runUnits)
        unit->StopDriver();
    Stop();
    EndRun();
}

CMultiQMXInterface::WaitResult CMultiQMXInterface::WaitForUnits(int* lostUnit)
{
    const auto stopped = [this] { return AnyStopRequested(); };
    std::vector<char> complete(m_runUnits.size(), 0);
    auto lastBlock = std::chrono::steady_clock::now();
    for (;;) {
        if (stopped()) {
            for (CQMXDAQInterface* unit : m_runUnits)
                unit->m_status = 0;
            return WaitResult::Stopped;
        }
        if (m_finishRequest)
            return WaitResult::Finished;
        const bool peersDone = std::any_of(complete.begin(), complete.end(), [](char c) { return c != 0; });
        bool all = true;
        for (size_t i = 0; i < m_runUnits.size(); ++i) {
            if (complete[i])
                continue;
            CQMXDAQInterface* unit = m_runUnits[i];
            switch (unit->PollRun(peersDone)) {
            case CQMXDAQInterface::RunPoll::Complete:
                complete[i] = 1;
                unit->m_status = 1;
                break;
            case CQMXDAQInterface::RunPoll::Lost:
                *lostUnit = static_cast<int>(i);
                for (CQMXDAQInterface* u : m_runUnits)
                    u->m_status = 0;
                return WaitResult::Lost;
            case CQMXDAQInterface::RunPoll::Pending:
                all = false;
                break;
            }
        }
        if (all)
            return WaitResult::Complete;
        // The window reads what has come so far (the pulse channel of a run-up) block by block.
        const auto now = std::chrono::steady_clock::now();
        if (now - lastBlock >= kDataBlockPeriod) {
            lastBlock = now;
            PostToNotifyWindow(WM_ZU_DAQ_DATA);
        }
        m_wake->WaitFor(kDataPoll, [&] { return stopped() || m_finishRequest != 0; });
    }
}

int CMultiQMXInterface::CommonCount(int skipUnit)
{
    for (CQMXDAQInterface* unit : m_runUnits)
        unit->StopDriver();
    int kept = INT_MAX;
    for (size_t i = 0; i < m_runUnits.size(); ++i) {
        CQMXDAQInterface* unit = m_runUnits[i];
        if (static_cast<int>(i) == skipUnit || unit->m_runChannels.empty())
            continue;
        bool failed = false;
        unit->IsDataComplete(unit->m_runChannels.front(), &failed);
        kept = std::min(kept, failed ? 0 : std::clamp(unit->m_progressValue, 0, unit->m_bufferLength));
    }
    return kept == INT_MAX ? 0 : kept;
}

void CMultiQMXInterface::KeepUpToFault(int lostUnit)
{
    // Everything stops at the fault; the answering units keep the samples they all have.
    const int kept = CommonCount(lostUnit);
    SendToNotifyWindow(WM_ZU_DAQ_TRANSFER_BEGIN);
    m_runUnits[static_cast<size_t>(lostUnit)]->MarkRunChannelsMissing();
    TransferAll(kept, lostUnit);
    SendToNotifyWindow(WM_ZU_DAQ_TRANSFER_DONE);
    CollectFault(lostUnit, kept);
}

void CMultiQMXInterface::KeepWhatCame()
{
    // The units stop together and keep the samples they all have, so the channels stay aligned.
    const int kept = CommonCount(-1);
    if (kept == 0) {
        for (CQMXDAQInterface* unit : m_runUnits)
            unit->m_status = 0;
        return;
    }
    SendToNotifyWindow(WM_ZU_DAQ_TRANSFER_BEGIN);
    TransferAll(kept, -1);
    SendToNotifyWindow(WM_ZU_DAQ_TRANSFER_DONE);
    CollectFault(-1, 0);
    const bool stopped = AnyStopRequested();
    for (CQMXDAQInterface* unit : m_runUnits)
        unit->m_status = stopped ? 0 : 1;
    if (!stopped)
        PostCompleteMessage();
}

void CMultiQMXInterface::TransferAll(int limit, int skipUnit)
{
    // Each unit reads its own system with its own buffers, so the units transfer side by side;
    // the worker transfers the first itself and waits for the others.
    std::vector<std::thread> helpers;
    for (size_t i = 1; i < m_runUnits.size(); ++i) {
        if (static_cast<int>(i) == skipUnit)
            continue;
        CQMXDAQInterface* unit = m_runUnits[i];
        try {
            helpers.emplace_back([unit, limit] { unit->TransferData(limit); });
        } catch (const std::system_error&) {
            unit->TransferData(limit);
        }
    }
    if (!m_runUnits.empty() && skipUnit != 0)
        m_runUnits.front()->TransferData(limit);
    for (std::thread& t : helpers)
        t.join();
}

void CMultiQMXInterface::CollectFault(int lostUnit, int kept)
{
    CDAQRunFault fault;
    fault.Unit = lostUnit;
    fault.SamplesKept = lostUnit >= 0 ? kept : 0;
    int first = 0;
    for (CQMXDAQInterface* unit : m_runUnits) {
        for (int local : unit->GetRunFault().MissingChannels)
            fault.MissingChannels.push_back(first + local);
        first += unit->GetMaxChannels();
    }
    std::lock_guard<std::mutex> lock(m_faultMutex);
    m_fault = fault;
}

void CMultiQMXInterface::EndRun()
{
    for (CQMXDAQInterface* unit : m_runUnits) {
        unit->m_prefault.Stop();
        unit->m_state = 1;
        unit->m_busy = 0;
    }
    m_workerBusy = 0;
    CSendWait::Wake();
}

CDAQRunFault CMultiQMXInterface::GetRunFault()
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    return m_fault;
}

bool CMultiQMXInterface::Stop()
{
    // Only a request: the worker ends each unit's run and clears its busy flag itself.
    for (auto& unit : m_units)
        unit->RequestStop();
    PostStopMessage();
    return true;
}

// --- forwarded operations -------------------------------------------------------------------------

bool CMultiQMXInterface::Initialize()
{
    if (!ForAll([](CQMXDAQInterface& u) { return u.Initialize(); }))
        return false;
    return MergeUnitInfo() != 0;
}

bool CMultiQMXInterface::SetBandLimit(int limit)
{
    return ForAll([limit](CQMXDAQInterface& u) { return u.SetBandLimit(limit); });
}

int CMultiQMXInterface::GetHardwareParam()
{
    return First() ? First()->GetHardwareParam() : 0;
}

bool CMultiQMXInterface::SetChannelInputRange(int channel, double value)
{
    int u = 0;
    int local = 0;
    return MapChannel(channel, &u, &local) && m_units[static_cast<size_t>(u)]->SetChannelInputRange(local, value);
}

bool CMultiQMXInterface::SetAllInputRanges(double value)
{
    return ForAll([value](CQMXDAQInterface& u) { return u.SetAllInputRanges(value); });
}

double CMultiQMXInterface::GetChannelInputRange(int channel)
{
    int u = 0;
    int local = 0;
    return MapChannel(channel, &u, &local) ? m_units[static_cast<size_t>(u)]->GetChannelInputRange(local) : 0.0;
}

bool CMultiQMXInterface::HasAutoRangeChannel()
{
    return ForAll([](CQMXDAQInterface& u) { return u.HasAutoRangeChannel(); });
}

bool CMultiQMXInterface::SetNotifyWindow(IMessageTarget* window, uint32_t startMsg, uint32_t stopMsg,
                                         uint32_t completeMsg)
{
    if (!ForAll([&](CQMXDAQInterface& u) { return u.SetNotifyWindow(window, startMsg, stopMsg, completeMsg); }))
        return false;
    return CBaseDAQInterface::SetNotifyWindow(window, startMsg, stopMsg, completeMsg);
}

bool CMultiQMXInterface::EnableChannel(int channel)
{
    int u = 0;
    int local = 0;
    return MapChannel(channel, &u, &local) && m_units[static_cast<size_t>(u)]->EnableChannel(local);
}

bool CMultiQMXInterface::DisableChannel(int channel)
{
    int u = 0;
    int local = 0;
    return MapChannel(channel, &u, &local) && m_units[static_cast<size_t>(u)]->DisableChannel(local);
}

bool CMultiQMXInterface::IsChannelEnabled(int channel)
{
    int u = 0;
    int local = 0;
    return MapChannel(channel, &u, &local) && m_units[static_cast<size_t>(u)]->IsChannelEnabled(local);
}

int CMultiQMXInterface::GetEnabledChannelCount()
{
    int n = 0;
    for (auto& unit : m_units)
        n += unit->GetEnabledChannelCount();
    return n;
}

int CMultiQMXInterface::GetMaxChannels()
{
    int n = 0;
    for (auto& unit : m_units)
        n += unit->GetMaxChannels();
    return n;
}

bool CMultiQMXInterface::SetChannelInfo(const CHANNELINFO* info)
{
    int u = 0;
    int local = 0;
    if (!info || !MapChannel(info->Channel, &u, &local))
        return false;
    CHANNELINFO copy = *info;
    copy.Channel = local;
    return m_units[static_cast<size_t>(u)]->SetChannelInfo(&copy);
}

bool CMultiQMXInterface::GetChannelInfo(CHANNELINFO* info)
{
    int u = 0;
    int local = 0;
    if (!info || !MapChannel(info->Channel, &u, &local))
        return false;
    CHANNELINFO copy = *info;
    copy.Channel = local;
    if (!m_units[static_cast<size_t>(u)]->GetChannelInfo(&copy))
        return false;
    const int global = info->Channel;
    *info = copy;
    info->Channel = global;
    return true;
}

bool CMultiQMXInterface::SetSampleRate(float hz)
{
    return ForAll([hz](CQMXDAQInterface& u) { return u.SetSampleRate(hz); });
}

float CMultiQMXInterface::GetSampleRate()
{
    return First() ? First()->GetSampleRate() : 0.0f;
}

bool CMultiQMXInterface::SetDuration(float seconds)
{
    return ForAll([seconds](CQMXDAQInterface& u) { return u.SetDuration(seconds); });
}

float CMultiQMXInterface::GetDuration()
{
    return First() ? First()->GetDuration() : 0.0f;
}

int CMultiQMXInterface::GetState()
{
    return ForAll([](CQMXDAQInterface& u) { return u.GetState() != 0; }) ? 1 : 0;
}

int CMultiQMXInterface::GetStatus()
{
    return ForAll([](CQMXDAQInterface& u) { return u.GetStatus() != 0; }) ? 1 : 0;
}

int CMultiQMXInterface::GetSampleCount()
{
    return First() ? First()->GetSampleCount() : 0;
}

bool CMultiQMXInterface::ReadData(int channel, float* dest, int count, int start)
{
    int u = 0;
    int local = 0;
    return MapChannel(channel, &u, &local) && m_units[static_cast<size_t>(u)]->ReadData(local, dest, count, start);
}

bool CMultiQMXInterface::SetAcqMode(int mode)
{
    return ForAll([mode](CQMXDAQInterface& u) { return u.SetAcqMode(mode); });
}

int CMultiQMXInterface::GetAcqMode()
{
    return First() ? First()->GetAcqMode() : -1;
}

bool CMultiQMXInterface::SetTriggered()
{
    m_triggerRequest = 1;
    m_wake->Notify();
    return First() && First()->SetTriggered();
}

bool CMultiQMXInterface::SetTriggerParam(int param)
{
    return First() && First()->SetTriggerParam(param);
}

int CMultiQMXInterface::GetTriggerParam()
{
    return First() ? First()->GetTriggerParam() : 0;
}

bool CMultiQMXInterface::SetTriggerLevel(float level)
{
    return First() && First()->SetTriggerLevel(level);
}

float CMultiQMXInterface::GetTriggerLevel()
{
    return First() ? First()->GetTriggerLevel() : 0.0f;
}

bool CMultiQMXInterface::SetReferenceChannel(int channel)
{
    int u = 0;
    int local = 0;
    if (!MapChannel(channel, &u, &local))
        return false;
    // A triggered run takes its trigger from the first unit of the chain.
    if (GetAcqMode() == 0 && u != 0)
        return false;
    return First()->SetReferenceChannel(local);
}

int CMultiQMXInterface::GetReferenceChannelIndex()
{
    return First() ? First()->GetReferenceChannelIndex() : 0;
}

bool CMultiQMXInterface::SetInputRange(float value, int mode)
{
    return ForAll([value, mode](CQMXDAQInterface& u) { return u.SetInputRange(value, mode); });
}

bool CMultiQMXInterface::SetInputRangeLimit(int limit)
{
    const auto value = static_cast<float>(limit);
    return ForAll([value](CQMXDAQInterface& u) { return u.SetInputRange(value, 1); });
}

int CMultiQMXInterface::GetInputRangeLimit()
{
    return First() ? First()->GetInputRangeLimit() : 0;
}

float CMultiQMXInterface::GetInputRangeUpper()
{
    return First() ? First()->GetInputRangeUpper() : 0.0f;
}

float CMultiQMXInterface::GetInputRangeLower()
{
    return First() ? First()->GetInputRangeLower() : 0.0f;
}

bool CMultiQMXInterface::SetPreTrigger(int count)
{
    return ForAll([count](CQMXDAQInterface& u) { return u.SetPreTrigger(count); });
}

int CMultiQMXInterface::GetPreTrigger()
{
    return First() ? First()->GetPreTrigger() : 0;
}

bool CMultiQMXInterface::SetPostTrigger(int count)
{
    return First() && First()->SetPostTrigger(count);
}

int CMultiQMXInterface::GetPostTrigger()
{
    return First() ? First()->GetPostTrigger() : 0;
}
