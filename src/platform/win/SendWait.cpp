#include "platform/win/SendWait.h"

#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

class CSendWait::CPending
{
public:
    const void* receiver = nullptr;
    const void* owner = nullptr;
    std::function<void()> call;
    bool claimed = false;
    bool done = false;
};

namespace {
std::mutex g_mutex;
std::condition_variable g_changed;
std::deque<std::shared_ptr<CSendWait::CPending>> g_queue;
uint64_t g_wakes = 0;

// Takes an unclaimed send out of the queue; false when someone else has it already.
bool Claim(const std::shared_ptr<CSendWait::CPending>& p)
{
    if (p->claimed)
        return false;
    p->claimed = true;
    g_queue.erase(std::remove(g_queue.begin(), g_queue.end(), p), g_queue.end());
    return true;
}

void RunClaimed(const std::shared_ptr<CSendWait::CPending>& p)
{
    if (p->call)
        p->call();
    std::lock_guard<std::mutex> lock(g_mutex);
    p->done = true;
    ++g_wakes;
    g_changed.notify_all();
}
} // namespace

const void* CSendWait::CurrentThreadKey()
{
    return QThread::currentThread();
}

void CSendWait::SendAndWait(const void* receiverKey, const void* owner, std::function<void()> call,
                            const std::function<void(std::function<void()> runner)>& post)
{
    auto p = std::make_shared<CPending>();
    p->receiver = receiverKey;
    p->owner = owner;
    p->call = std::move(call);
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_queue.push_back(p);
        ++g_wakes;
        g_changed.notify_all();
    }
    post([p] {
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            if (!Claim(p))
                return;
        }
        RunClaimed(p);
    });
    std::unique_lock<std::mutex> lock(g_mutex);
    g_changed.wait(lock, [&] { return p->done; });
}

int CSendWait::ServePending()
{
    const void* self = CurrentThreadKey();
    int count = 0;
    for (;;) {
        std::shared_ptr<CPending> next;
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            for (const auto& p : g_queue) {
                if (p->receiver == self) {
                    next = p;
                    break;
                }
            }
            if (!next || !Claim(next))
                break;
        }
        RunClaimed(next);
        ++count;
    }
    return count;
}

void CSendWait::CancelOwner(const void* owner)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    for (auto it = g_queue.begin(); it != g_queue.end();) {
        if ((*it)->owner == owner && !(*it)->claimed) {
            (*it)->claimed = true;
            (*it)->done = true;
            it = g_queue.erase(it);
        } else {
            ++it;
        }
    }
    ++g_wakes;
    g_changed.notify_all();
}

bool CSendWait::WaitServing(const std::function<bool()>& done, std::chrono::milliseconds period,
                            std::chrono::milliseconds limit)
{
    const auto start = std::chrono::steady_clock::now();
    const void* self = CurrentThreadKey();
    for (;;) {
        uint64_t seen = 0;
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            seen = g_wakes;
        }
        ServePending();
        if (done())
            return true;
        const auto now = std::chrono::steady_clock::now();
        auto wait = period;
        if (limit.count() >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(start + limit - now);
            if (left.count() <= 0)
                return false;
            wait = std::min(wait, left);
        }
        std::unique_lock<std::mutex> lock(g_mutex);
        g_changed.wait_for(lock, wait, [&] {
            if (g_wakes != seen)
                return true;
            return std::any_of(g_queue.begin(), g_queue.end(), [self](const auto& p) { return p->receiver == self; });
        });
    }
}

void CSendWait::Wake()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    ++g_wakes;
    g_changed.notify_all();
}
