#include "platform/base/MsClock.h"

#include <chrono>
#include <mutex>

namespace {
std::mutex g_mutex;
std::function<uint32_t()> g_source;
} // namespace

uint32_t CMsClock::Now()
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (g_source)
            return g_source();
    }
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

void CMsClock::SetSource(std::function<uint32_t()> source)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_source = std::move(source);
}

CManualMsClock::CManualMsClock(uint32_t start) : m_now(start)
{
    CMsClock::SetSource([this] { return m_now.load(); });
}

CManualMsClock::~CManualMsClock()
{
    CMsClock::SetSource({});
}
