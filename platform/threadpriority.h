#pragma once

#include <cstdint>

// Scheduling priority of a worker thread, from the background-most to the most urgent.
enum TThreadPriority : std::uint8_t
{
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical,
};

namespace platform {

// The kernel's identifier of the calling thread.
int CurrentThreadId();

// Gives the thread a nice value relative to the process's own; tpNormal is the process's value.
// Raising above the process's value needs privileges; a refused change is ignored.
void SetThreadPriority(int threadId, TThreadPriority priority);

} // namespace platform
