#include "platform/qmx/QmxSimSystem.h"

#include "platform/base/Format.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {
constexpr int kChain0First = 128;
constexpr int kChain1First = 192;
} // namespace

std::shared_ptr<CQmxSimSystem> CQmxSimSystem::Create()
{
    std::shared_ptr<CQmxSimSystem> sim(new CQmxSimSystem());
    sim->m_fromSettings = true;
    return sim;
}

std::shared_ptr<CQmxSimSystem> CQmxSimSystem::Create(const CQmxSimLayout& layout)
{
    std::shared_ptr<CQmxSimSystem> sim(new CQmxSimSystem());
    sim->m_layout = layout;
    sim->Build();
    return sim;
}

int64_t CQmxSimSystem::RealTimeUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

double CQmxSimSystem::RateOfCode(int code)
{
    static constexpr double rates[] = {102400.0, 51200.0, 25600.0, 12800.0};
    return code >= 0 && code < 4 ? rates[code] : 0.0;
}

float CQmxSimSystem::RangeOfCode(int code)
{
    static constexpr float ranges[] = {0.1f, 1.0f, 10.0f};
    return code >= 0 && code < 3 ? ranges[code] : 0.0f;
}

float CQmxSimSystem::FullScaleOfCode(int code)
{
    // The range is the channel's gain: 0.1 passes +-10 V, 1 passes +-1 V and 10 only +-0.1 V.
    // The data check (top of range at 1000 / range millivolts) and the automatic gain choice
    // read it so.
    const float range = RangeOfCode(code);
    return range > 0.0f ? 1.0f / range : 0.0f;
}

void CQmxSimSystem::PutText(uint8_t* at, const std::string& text, size_t max)
{
    std::memset(at, 0, max);
    std::memcpy(at, text.data(), std::min(text.size(), max - 1));
}

void CQmxSimSystem::Build()
{
    m_boards.clear();
    m_channels.clear();
    m_units.clear();
    auto addBoard = [&](int32_t type, const std::string& first, const std::string& serial) {
        Board b;
        b.type = type;
        PutText(&b.page[8], first, 8);
        PutText(&b.page[16], serial, 8);
        PutText(&b.page[24], "1.00", 8);
        m_boards.push_back(b);
    };
    if (m_layout.controlBoard)
        addBoard(kQmxControlBoardType, "10EM", Format("C%05d", m_layout.firstSerial));
    int unit = 0;
    for (size_t bi = 0; bi < m_layout.boards.size(); ++bi) {
        const int board = static_cast<int>(m_boards.size());
        addBoard(kQmxAcqBoardType, "10 R", Format("R%05d", m_layout.firstSerial + static_cast<int>(bi)));
        const int perChain[2] = {m_layout.boards[bi].chain0Units, m_layout.boards[bi].chain1Units};
        for (int chain = 0; chain < 2; ++chain) {
            for (int pos = 0; pos < perChain[chain]; ++pos, ++unit) {
                m_units.push_back({Format("%05d", (m_layout.firstSerial + unit) % 100000), -1});
                for (int c = 0; c < m_layout.channelsPerUnit; ++c) {
                    Channel ch;
                    ch.board = board;
                    ch.device = (chain == 0 ? kChain0First : kChain1First) + pos * m_layout.channelsPerUnit + c;
                    ch.unit = unit;
                    ch.unitChannel = c + 1;
                    ch.global = static_cast<int>(m_channels.size());
                    m_channels.push_back(std::move(ch));
                    m_boards[static_cast<size_t>(board)].device[static_cast<size_t>(m_channels.back().device)] =
                        static_cast<int>(m_channels.size());
                }
            }
        }
    }
}

bool CQmxSimSystem::Enter(QmxCall call)
{
    const auto i = static_cast<size_t>(call);
    ++m_calls[i];
    if (m_failures[i] > 0) {
        --m_failures[i];
        m_lastError = 1;
        return false;
    }
    return true;
}

bool CQmxSimSystem::EnterConnected(QmxCall call)
{
    return Enter(call) && m_connected;
}

CQmxSimSystem::Channel* CQmxSimSystem::Find(int board, int device)
{
    if (board < 0 || board >= static_cast<int>(m_boards.size()) || device < 0 || device > 255)
        return nullptr;
    const int i = m_boards[static_cast<size_t>(board)].device[static_cast<size_t>(device)];
    return i > 0 ? &m_channels[static_cast<size_t>(i - 1)] : nullptr;
}

const CQmxSimSystem::Channel* CQmxSimSystem::Find(int board, int device) const
{
    return const_cast<CQmxSimSystem*>(this)->Find(board, device);
}

int CQmxSimSystem::Acquired(const Channel& ch) const
{
    if (!m_started)
        return 0;
    int n = ch.count;
    if (m_clock) {
        const int64_t end = m_running ? m_clock() : m_stopUs;
        const double elapsed = static_cast<double>(std::max<int64_t>(0, end - m_startUs));
        const double samples = elapsed * RateOfCode(ch.rateCode) / 1e6;
        if (samples < n)
            n = static_cast<int>(samples);
    }
    const int lostAt = m_units[static_cast<size_t>(ch.unit)].lostAt;
    if (lostAt >= 0)
        n = std::min(n, lostAt);
    return n;
}

bool CQmxSimSystem::Lost(const Channel& ch) const
{
    const int lostAt = m_units[static_cast<size_t>(ch.unit)].lostAt;
    return lostAt >= 0 && m_started && Acquired(ch) >= lostAt;
}

// --- controls ---------------------------------------------------------------------------------

void CQmxSimSystem::SetClock(std::function<int64_t()> nowUs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_clock = std::move(nowUs);
}

void CQmxSimSystem::SetNoAnswer(bool noAnswer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_noAnswer = noAnswer;
}

void CQmxSimSystem::FailCall(QmxCall call, int times)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failures[static_cast<size_t>(call)] = std::max(0, times);
}

int CQmxSimSystem::CallCount(QmxCall call) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls[static_cast<size_t>(call)];
}

int CQmxSimSystem::TotalCalls() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    int n = 0;
    for (int c : m_calls)
        n += c;
    return n;
}

void CQmxSimSystem::ResetCallCounts()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_calls.fill(0);
}

void CQmxSimSystem::SetGain(int channel, float gain)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (channel >= 0 && channel < static_cast<int>(m_channels.size()))
        m_channels[static_cast<size_t>(channel)].gain = gain;
}

void CQmxSimSystem::LoseUnitAt(int unit, int sample)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (unit >= 0 && unit < static_cast<int>(m_units.size()))
        m_units[static_cast<size_t>(unit)].lostAt = sample;
}

bool CQmxSimSystem::SetDeviceStatus(int board, int device, int32_t word)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Channel* ch = Find(board, device);
    if (!ch)
        return false;
    ch->status = word;
    return true;
}

bool CQmxSimSystem::ReplaceBoard(int board, const std::string& serial)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (board < 0 || board >= static_cast<int>(m_boards.size()))
        return false;
    PutText(&m_boards[static_cast<size_t>(board)].page[16], serial, 8);
    return true;
}

bool CQmxSimSystem::ReplaceUnit(int unit, const std::string& serial)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (unit < 0 || unit >= static_cast<int>(m_units.size()))
        return false;
    m_units[static_cast<size_t>(unit)].serial = serial;
    return true;
}

bool CQmxSimSystem::IsConnected() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connected;
}

int CQmxSimSystem::BoardCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_boards.size());
}

bool CQmxSimSystem::ChannelAddress(int channel, int& board, int& device) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (channel < 0 || channel >= static_cast<int>(m_channels.size()))
        return false;
    board = m_channels[static_cast<size_t>(channel)].board;
    device = m_channels[static_cast<size_t>(channel)].device;
    return true;
}

std::string CQmxSimSystem::BoardSerial(int board) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (board < 0 || board >= static_cast<int>(m_boards.size()))
        return {};
    return reinterpret_cast<const char*>(&m_boards[static_cast<size_t>(board)].page[16]);
}

std::string CQmxSimSystem::UnitSerial(int unit) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return unit >= 0 && unit < static_cast<int>(m_units.size()) ? m_units[static_cast<size_t>(unit)].serial
                                                                : std::string();
}

#define SIM_CHANNEL_FIELD(Name, field, fallback)                                                                       \
    auto CQmxSimSystem::Name(int channel) const->decltype(Channel::field)                                              \
    {                                                                                                                  \
        std::lock_guard<std::mutex> lock(m_mutex);                                                                     \
        return channel >= 0 && channel < static_cast<int>(m_channels.size())                                           \
                   ? m_channels[static_cast<size_t>(channel)].field                                                    \
                   : fallback;                                                                                         \
    }
SIM_CHANNEL_FIELD(RangeCode, rangeCode, -1)
SIM_CHANNEL_FIELD(RateCode, rateCode, -1)
SIM_CHANNEL_FIELD(SampleCount, count, -1)
SIM_CHANNEL_FIELD(TriggerMode, triggerMode, -1)
SIM_CHANNEL_FIELD(TriggerLevel, triggerLevel, 0.0f)
#undef SIM_CHANNEL_FIELD

int CQmxSimSystem::SyncRole() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_syncRole;
}

// --- IQmxSystem -------------------------------------------------------------------------------

std::shared_ptr<IQmxControl> CQmxSimSystem::QueryControl()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!Enter(QmxCall::QueryControl))
        return nullptr;
    return std::shared_ptr<IQmxControl>(shared_from_this(), static_cast<IQmxControl*>(this));
}

std::shared_ptr<IQmxChannel> CQmxSimSystem::QueryChannel()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!Enter(QmxCall::QueryChannel))
        return nullptr;
    return std::shared_ptr<IQmxChannel>(shared_from_this(), static_cast<IQmxChannel*>(this));
}

std::shared_ptr<IQmxSync> CQmxSimSystem::QuerySync()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!Enter(QmxCall::QuerySync))
        return nullptr;
    return std::shared_ptr<IQmxSync>(shared_from_this(), static_cast<IQmxSync*>(this));
}

QMXRESULT CQmxSimSystem::Open(int, int)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!Enter(QmxCall::Open) || m_noAnswer)
        return QMX_E_FAIL;
    if (m_fromSettings && m_channels.empty() && m_boards.empty()) {
        CQmxSimLayout layout;
        if (!CQmxSimLayout::FromSettings(m_address.empty() ? "0.0.0.0" : m_address, layout))
            return QMX_E_FAIL;
        m_layout = layout;
        Build();
    }
    m_connected = true;
    for (Channel& ch : m_channels)
        ch.active = 0;
    // The unspecified address finds the system on the network, which then reports its own.
    m_addressInUse = m_address.empty() || m_address == "0.0.0.0" ? m_layout.address : m_address;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::StartAcquisition()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::StartAcquisition))
        return QMX_E_FAIL;
    m_running = true;
    m_started = true;
    m_startUs = m_clock ? m_clock() : 0;
    for (Channel& ch : m_channels) {
        std::vector<float>().swap(ch.data);
        ch.signal.emplace(m_layout, ch.global, RateOfCode(ch.rateCode));
    }
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::StopAcquisition()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::StopAcquisition))
        return QMX_E_FAIL;
    if (m_running) {
        m_stopUs = m_clock ? m_clock() : 0;
        m_running = false;
    }
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::ClearAcquisition()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::ClearAcquisition))
        return QMX_E_FAIL;
    m_running = false;
    m_started = false;
    for (Channel& ch : m_channels)
        std::vector<float>().swap(ch.data);
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::SoftwareTrigger()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return EnterConnected(QmxCall::SoftwareTrigger) ? QMX_S_OK : QMX_E_FAIL;
}

QMXRESULT CQmxSimSystem::Reinitialize()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::Reinitialize))
        return QMX_E_FAIL;
    m_running = false;
    m_started = false;
    for (Channel& ch : m_channels)
        ch.active = 0;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::Close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!Enter(QmxCall::Close))
        return QMX_E_FAIL;
    m_connected = false;
    m_running = false;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::GetConnectionState(int* state)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!Enter(QmxCall::GetConnectionState) || !state)
        return QMX_E_FAIL;
    *state = m_connected ? 1 : 0;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::GetLastError(int* code)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!Enter(QmxCall::GetLastError) || !code)
        return QMX_E_FAIL;
    *code = m_lastError;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::ActivateChannel(int board, int channel, int on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Channel* ch = Find(board, channel);
    if (!EnterConnected(QmxCall::ActivateChannel) || !ch)
        return QMX_E_FAIL;
    ch->active = on ? 1 : 0;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::ReadSamples(int board, int channel, float* data, int count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Channel* ch = Find(board, channel);
    if (!EnterConnected(QmxCall::ReadSamples) || !ch || !data || count < 0 || !m_started || Lost(*ch))
        return QMX_E_FAIL;
    const int n = std::min(count, Acquired(*ch));
    Produce(*ch, data, n);
    std::fill(data + n, data + count, 0.0f);
    return QMX_S_OK;
}

void CQmxSimSystem::Produce(Channel& ch, float* data, int n)
{
    const auto have = static_cast<int>(ch.data.size());
    if (n <= have) {
        std::copy_n(ch.data.begin(), n, data);
        return;
    }
    const float range = FullScaleOfCode(ch.rangeCode);
    if (Acquired(ch) < ch.count) {
        // While the run goes on the samples are read again and again from the first (live
        // views): they are kept, and each read generates only what is new.
        ch.data.resize(static_cast<size_t>(n));
        ch.signal->Generate(ch.data.data() + have, n - have, range, ch.gain);
        std::copy_n(ch.data.begin(), n, data);
        return;
    }
    // The run is complete: what was not kept yet is generated straight into the caller's buffer,
    // and the unit lets go of its own copy, so that a run's samples are held once. A later read
    // generates them again from the first (the signal is the same every time).
    if (ch.signal->Position() == have) {
        std::copy_n(ch.data.begin(), have, data);
        ch.signal->Generate(data + have, n - have, range, ch.gain);
    } else {
        ch.signal->Reset();
        ch.signal->Generate(data, n, range, ch.gain);
    }
    std::vector<float>().swap(ch.data);
}

QMXRESULT CQmxSimSystem::GetProgress(int board, int channel, int* acquired, int* requested, int* extra1, int* extra2)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Channel* ch = Find(board, channel);
    if (!EnterConnected(QmxCall::GetProgress) || !ch || Lost(*ch))
        return QMX_E_FAIL;
    if (acquired)
        *acquired = Acquired(*ch);
    if (requested)
        *requested = ch->count;
    if (extra1)
        *extra1 = 0;
    if (extra2)
        *extra2 = 0;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::GetDeviceType(int board, int device, int* type)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::GetDeviceType) || !type || board < 0 || board >= static_cast<int>(m_boards.size()) ||
        device < 0 || device > 255)
        return QMX_E_FAIL;
    *type = Find(board, device) ? kQmxBlixDeviceType : 0;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::GetBoardType(int board, int* type)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::GetBoardType) || !type || board < 0 || board >= static_cast<int>(m_boards.size()))
        return QMX_E_FAIL;
    *type = m_boards[static_cast<size_t>(board)].type;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::GetBoardCount(int* count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::GetBoardCount) || !count)
        return QMX_E_FAIL;
    *count = static_cast<int>(m_boards.size());
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::GetBoardInfoPage(int board, uint8_t* page, int size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::GetBoardInfoPage) || !page || size != kQmxBoardPageSize || board < 0 ||
        board >= static_cast<int>(m_boards.size()))
        return QMX_E_FAIL;
    std::memcpy(page, m_boards[static_cast<size_t>(board)].page.data(), kQmxBoardPageSize);
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::SelectTriggerChannel(int board, int channel)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return EnterConnected(QmxCall::SelectTriggerChannel) && Find(board, channel) ? QMX_S_OK : QMX_E_FAIL;
}

QMXRESULT CQmxSimSystem::GetDeviceStatus(int board, int device, int* status)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Channel* ch = Find(board, device);
    if (!EnterConnected(QmxCall::GetDeviceStatus) || !ch || !status)
        return QMX_E_FAIL;
    *status = ch->status;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::HasChannel(int board, int channel, int* present)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::HasChannel) || !present || board < 0 || board >= static_cast<int>(m_boards.size()))
        return QMX_E_FAIL;
    *present = Find(board, channel) ? 1 : 0;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::IsChannelActive(int board, int channel, int* active)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Channel* ch = Find(board, channel);
    if (!EnterConnected(QmxCall::IsChannelActive) || !ch || !active)
        return QMX_E_FAIL;
    *active = ch->active;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::GetAddressInUse(std::string& address)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::GetAddressInUse))
        return QMX_E_FAIL;
    address = m_addressInUse;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::SetAddress(const std::string& address)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!Enter(QmxCall::SetAddress))
        return QMX_E_FAIL;
    m_address = address;
    return QMX_S_OK;
}

// --- IQmxChannel ------------------------------------------------------------------------------

#define SIM_CHANNEL_CALL(call)                                                                                         \
    std::lock_guard<std::mutex> lock(m_mutex);                                                                         \
    Channel* ch = Find(board, channel);                                                                                \
    if (!EnterConnected(call) || !ch)                                                                                  \
        return QMX_E_FAIL;

QMXRESULT CQmxSimSystem::SetTriggerMode(int board, int channel, int mode)
{
    SIM_CHANNEL_CALL(QmxCall::SetTriggerMode)
    if (mode < 0 || mode > 2)
        return QMX_E_FAIL;
    ch->triggerMode = mode;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::SetSampleCount(int board, int channel, int count)
{
    SIM_CHANNEL_CALL(QmxCall::SetSampleCount)
    if (count < 0)
        return QMX_E_FAIL;
    ch->count = count;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::SetChannelMode(int board, int channel, int mode)
{
    SIM_CHANNEL_CALL(QmxCall::SetChannelMode)
    ch->mode = mode;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::SetRateCode(int board, int channel, int code)
{
    SIM_CHANNEL_CALL(QmxCall::SetRateCode)
    if (RateOfCode(code) <= 0.0)
        return QMX_E_FAIL;
    ch->rateCode = code;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::GetRateCode(int board, int channel, int* code)
{
    SIM_CHANNEL_CALL(QmxCall::GetRateCode)
    if (!code)
        return QMX_E_FAIL;
    *code = ch->rateCode;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::SetTriggerLevel(int board, int channel, float volts)
{
    SIM_CHANNEL_CALL(QmxCall::SetChannelTriggerLevel)
    ch->triggerLevel = volts;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::SetRangeCode(int board, int channel, int code)
{
    SIM_CHANNEL_CALL(QmxCall::SetRangeCode)
    if (RangeOfCode(code) <= 0.0f)
        return QMX_E_FAIL;
    ch->rangeCode = code;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::GetRangeCode(int board, int channel, int* code)
{
    SIM_CHANNEL_CALL(QmxCall::GetRangeCode)
    if (!code)
        return QMX_E_FAIL;
    *code = ch->rangeCode;
    return QMX_S_OK;
}
#undef SIM_CHANNEL_CALL

QMXRESULT CQmxSimSystem::GetDeviceInfoBlock(int board, int device, uint8_t* block, int size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Channel* ch = Find(board, device);
    if (!EnterConnected(QmxCall::GetDeviceInfoBlock) || !ch || !block || size != kQmxDeviceBlockSize)
        return QMX_E_FAIL;
    std::memset(block, 0, kQmxDeviceBlockSize);
    block[3] = static_cast<uint8_t>(m_layout.channelsPerUnit);
    const std::string& serial = m_units[static_cast<size_t>(ch->unit)].serial;
    for (size_t i = 0; i < 5; ++i)
        block[4 + i] = i < serial.size() ? static_cast<uint8_t>(serial[i]) : 0;
    block[9] = static_cast<uint8_t>(ch->unitChannel);
    std::memcpy(&block[10], "BX02", 4);
    return QMX_S_OK;
}

// --- IQmxControl / IQmxSync -------------------------------------------------------------------

QMXRESULT CQmxSimSystem::SetTriggerSource(uint8_t board, int, int)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return EnterConnected(QmxCall::SetTriggerSource) && board < m_boards.size() &&
                   m_boards[board].type == kQmxControlBoardType
               ? QMX_S_OK
               : QMX_E_FAIL;
}

QMXRESULT CQmxSimSystem::SetLevel(uint8_t board, int, float)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return EnterConnected(QmxCall::SetControlLevel) && board < m_boards.size() &&
                   m_boards[board].type == kQmxControlBoardType
               ? QMX_S_OK
               : QMX_E_FAIL;
}

QMXRESULT CQmxSimSystem::SetRole(uint8_t board, int, int role)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!EnterConnected(QmxCall::SetSyncRole) || board >= m_boards.size() ||
        m_boards[board].type != kQmxControlBoardType || role < 0 || role > 2)
        return QMX_E_FAIL;
    m_syncRole = role;
    return QMX_S_OK;
}

QMXRESULT CQmxSimSystem::Apply()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return EnterConnected(QmxCall::ApplySync) ? QMX_S_OK : QMX_E_FAIL;
}
