#pragma once

#include "core/timers/mainthread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

// A user-interface thread of the test's own: calls queued by workers run on whichever thread calls Run*,
// one at a time. Run* may be called again from inside a call, as a handler that lets messages run would.
class TtestMainThread : public TmainThread
{
public:
    void Queue(std::function<void()> call) override;

    // Runs queued calls until done() holds or timeout passes; true when done() held.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Runs queued calls for the given time.
    void RunFor(std::chrono::milliseconds duration);
    // Waits, running nothing, until a call is queued; true when one is.
    bool WaitForQueued(std::chrono::milliseconds timeout);

    std::size_t QueuedCount() const;
    // Calls run so far.
    std::size_t RunCount() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::function<void()>> calls_;
    std::size_t runCount_ = 0;
};
