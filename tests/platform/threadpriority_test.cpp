#include "platform/threadpriority.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

int NiceOf(int threadId)
{
    errno = 0;
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(threadId));
}

} // namespace

TEST(ThreadPriority, LowersOnlyTheGivenThread)
{
    const int processNice = NiceOf(::getpid());
    if (processNice > 14)
        GTEST_SKIP() << "the process already runs at nice " << processNice;
    int workerNice = 0;
    int idleNice = 0;
    std::thread worker([&] {
        const int self = platform::CurrentThreadId();
        platform::SetThreadPriority(self, tpLower);
        workerNice = NiceOf(self);
        platform::SetThreadPriority(self, tpIdle);
        idleNice = NiceOf(self);
    });
    worker.join();
    EXPECT_EQ(workerNice, processNice + 5);
    EXPECT_EQ(idleNice, 19);
    EXPECT_EQ(NiceOf(::getpid()), processNice);
    EXPECT_NE(platform::CurrentThreadId(), 0);
}
