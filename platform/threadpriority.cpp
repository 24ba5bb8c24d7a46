#include "platform/threadpriority.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

int NiceOffset(TThreadPriority priority)
{
    switch (priority) {
    case tpIdle:
        return 19;
    case tpLowest:
        return 10;
    case tpLower:
        return 5;
    case tpNormal:
        return 0;
    case tpHigher:
        return -5;
    case tpHighest:
        return -10;
    case tpTimeCritical:
        return -20;
    }
    return 0;
}

// The process's nice value, taken from the main thread the first time it is needed.
int ProcessNice()
{
    static const int value = [] {
        errno = 0;
        const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
        return errno == 0 ? nice : 0;
    }();
    return value;
}

} // namespace

int CurrentThreadId()
{
    return static_cast<int>(::syscall(SYS_gettid));
}

void SetThreadPriority(int threadId, TThreadPriority priority)
{
    const int nice = std::clamp(ProcessNice() + NiceOffset(priority), -20, 19);
    // On Linux a thread's nice value is its own; PRIO_PROCESS with a thread id addresses that thread.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(threadId), nice);
}

} // namespace platform
