#include "acquisition/RunWake.h"

bool CRunWake::WaitFor(std::chrono::milliseconds period, const std::function<bool()>& stopped)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cv.wait_for(lock, period, stopped);
}

void CRunWake::Notify()
{
    // Taking the lock orders the flag before any waiter's next check, so no wake is lost.
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cv.notify_all();
}
