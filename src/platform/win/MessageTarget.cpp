#include "platform/win/MessageTarget.h"

#include "platform/win/Messages.h"

#include <atomic>

namespace {
std::atomic<IMessageTarget*> g_mainWindow{nullptr};
}

IMessageTarget* GetMainWindowTarget()
{
    return g_mainWindow.load();
}

void SetMainWindowTarget(IMessageTarget* target)
{
    g_mainWindow.store(target);
}

intptr_t SendToMainWindow(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    IMessageTarget* target = g_mainWindow.load();
    return target ? target->SendMessage(msg, wParam, lParam) : 0;
}

void PostToMainWindow(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (IMessageTarget* target = g_mainWindow.load())
        target->PostMessage(msg, wParam, lParam);
}

intptr_t CRecordingMessageTarget::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    Record r{msg, wParam, lParam, false, {}};
    if (msg == WM_ZU_PROGRESS_TEXT && wParam != 0)
        r.text = reinterpret_cast<const char*>(wParam);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_records.push_back(r);
    }
    // The handler runs outside the lock: it may send further messages to this target.
    return handler ? handler(msg, wParam, lParam) : 0;
}

void CRecordingMessageTarget::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    Record r{msg, wParam, lParam, true, {}};
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.push_back(r);
    m_queue.push_back(r);
}

std::vector<CRecordingMessageTarget::Record> CRecordingMessageTarget::Records() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records;
}

std::vector<uint32_t> CRecordingMessageTarget::MessageNumbers() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<uint32_t> out;
    out.reserve(m_records.size());
    for (const Record& r : m_records)
        out.push_back(r.msg);
    return out;
}

void CRecordingMessageTarget::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.clear();
    m_queue.clear();
}

int CRecordingMessageTarget::Dispatch()
{
    int count = 0;
    for (;;) {
        Record r;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_queue.empty())
                break;
            r = m_queue.front();
            m_queue.erase(m_queue.begin());
        }
        if (handler)
            handler(r.msg, r.wParam, r.lParam);
        ++count;
    }
    return count;
}

CMainWindowTargetScope::CMainWindowTargetScope(IMessageTarget* target) : m_previous(GetMainWindowTarget())
{
    SetMainWindowTarget(target);
}

CMainWindowTargetScope::~CMainWindowTargetScope()
{
    SetMainWindowTarget(m_previous);
}
