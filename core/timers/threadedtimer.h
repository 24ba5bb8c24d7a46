#pragma once

#include "platform/threadpriority.h"

#include <cstdint>
#include <functional>
#include <memory>

class TmainThread;
class TTimerThread;

// A periodic timer paced by a worker thread of its own; every tick runs on the user-interface thread while
// the worker waits, so ticks never overlap and a slow handler delays the next one (the interval counts
// from the end of a tick). A timer ticks only while Enabled, with a non-zero Interval and a handler set.
// Create, change and destroy it on the user-interface thread; destroying it inside its own tick is allowed.
class TThreadedTimer
{
public:
    // Ticks go through mainThread, TmainThread::Default() when null; throws EOrvaneError without either.
    explicit TThreadedTimer(TmainThread* mainThread = nullptr);
    virtual ~TThreadedTimer();

    TThreadedTimer(const TThreadedTimer&) = delete;
    TThreadedTimer& operator=(const TThreadedTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Milliseconds between the end of one tick and the start of the next; 0 stops the timer.
    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t value);
    TThreadPriority ThreadPriority() const { return threadPriority_; }
    void SetThreadPriority(TThreadPriority value);

    // The tick. Read on the user-interface thread at each tick, so it may be set or cleared at any time.
    std::function<void(TThreadedTimer* sender)> OnTimer;

protected:
    // Runs on the user-interface thread at every tick; fires OnTimer.
    virtual void Timer();
    // Hands the settings to the worker. A changed interval, or becoming able to tick again, starts a fresh
    // pause; becoming unable to tick cancels the pause under way and any tick not yet delivered.
    void UpdateTimer();

private:
    friend class TTimerThread;

    bool enabled_ = true;
    std::uint32_t interval_ = 1000;
    TThreadPriority threadPriority_ = tpNormal;
    std::shared_ptr<TTimerThread> worker_; // shared with the ticks queued on the user-interface thread
};
