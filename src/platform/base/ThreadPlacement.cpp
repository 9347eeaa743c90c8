#include "platform/base/ThreadPlacement.h"

#include <pthread.h>
#include <sched.h>

void KeepOffCallingProcessor(std::thread& thread)
{
    if (!thread.joinable())
        return;
    // The thread was made with its maker's processors; the maker's present one is taken away.
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int current = sched_getcpu();
    if (current < 0 || current >= CPU_SETSIZE ||
        pthread_getaffinity_np(thread.native_handle(), sizeof allowed, &allowed) != 0 ||
        !CPU_ISSET(current, &allowed) || CPU_COUNT(&allowed) < 2)
        return;
    CPU_CLR(current, &allowed);
    pthread_setaffinity_np(thread.native_handle(), sizeof allowed, &allowed);
}
