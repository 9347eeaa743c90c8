// A helper kept off its starter's processor may run on every other processor the starter may use,
// and a starter with one processor leaves its helper as it was.
#include <gtest/gtest.h>

#include "platform/base/ThreadPlacement.h"

#include <future>
#include <thread>

#include <pthread.h>
#include <sched.h>

namespace {
cpu_set_t AffinityOf(pthread_t thread)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    EXPECT_EQ(pthread_getaffinity_np(thread, sizeof set, &set), 0);
    return set;
}
} // namespace

TEST(ThreadPlacement, HelperRunsEverywhereButTheStartersProcessorUnlessThereIsOnlyOne)
{
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    for (const bool single : {false, true}) {
        SCOPED_TRACE(single ? "one processor" : "every processor");
        // The starter runs on its own thread, so this test's thread keeps its processors.
        std::thread starter([&] {
            cpu_set_t allowed = all;
            if (single) {
                CPU_ZERO(&allowed);
                for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
                    if (CPU_ISSET(cpu, &all)) {
                        CPU_SET(cpu, &allowed);
                        break;
                    }
                ASSERT_EQ(sched_setaffinity(0, sizeof allowed, &allowed), 0);
            }
            std::promise<void> release;
            std::thread helper([done = release.get_future()]() mutable { done.wait(); });
            // Pinned while it is placed, so the processor it is kept off is known.
            const int mine = sched_getcpu();
            cpu_set_t here;
            CPU_ZERO(&here);
            CPU_SET(mine, &here);
            ASSERT_EQ(sched_setaffinity(0, sizeof here, &here), 0);
            KeepOffCallingProcessor(helper);
            const cpu_set_t placed = AffinityOf(helper.native_handle());
            release.set_value();
            helper.join();

            if (CPU_COUNT(&allowed) < 2) {
                EXPECT_TRUE(CPU_EQUAL(&placed, &allowed));
                return;
            }
            cpu_set_t expected = allowed;
            CPU_CLR(mine, &expected);
            EXPECT_TRUE(CPU_EQUAL(&placed, &expected));
        });
        starter.join();
    }
}
