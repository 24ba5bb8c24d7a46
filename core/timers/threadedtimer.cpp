#include "core/timers/threadedtimer.h"

#include "core/timers/mainthread.h"
#include "core/timers/workerhandover.h"
#include "platform/error.h"

#include <chrono>
#include <mutex>

// The worker's half; a tick still queued when the timer goes finds no timer and does nothing.
class TTimerThread : public TworkerHandover
{
public:
    TTimerThread(TThreadedTimer* timer, TmainThread* mainThread, TThreadPriority priority)
        : TworkerHandover(mainThread), timer_(timer), priority_(priority)
    {}

    void Start() { StartThread(); }

    void Update(std::uint32_t interval, bool runnable)
    {
        const std::lock_guard lock(mutex_);
        if (interval != interval_ || runnable != runnable_)
            ++cycle_;
        interval_ = interval;
        runnable_ = runnable;
        wake_.notify_all();
    }

    void SetPriority(TThreadPriority priority)
    {
        const std::lock_guard lock(mutex_);
        priority_ = priority;
        if (threadId_ != 0)
            platform::SetThreadPriority(threadId_, priority);
    }

private:
    void Execute(std::unique_lock<std::mutex>& lock) override
    {
        threadId_ = platform::CurrentThreadId();
        if (priority_ != tpNormal)
            platform::SetThreadPriority(threadId_, priority_);
        while (!stopping_) {
            if (!runnable_) {
                wake_.wait(lock, [this] { return stopping_ || runnable_; });
                continue;
            }
            const std::uint64_t cycle = cycle_;
            const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(interval_);
            if (wake_.wait_until(lock, due, [&] { return stopping_ || cycle_ != cycle; }))
                continue;
            HandOver(lock, [this, cycle] { Tick(cycle); });
        }
    }

    void Detach() override { timer_ = nullptr; }

    // On the user-interface thread. A tick whose cycle was cancelled while it waited in the queue is dropped.
    void Tick(std::uint64_t cycle)
    {
        TThreadedTimer* timer = nullptr;
        {
            const std::lock_guard lock(mutex_);
            if (runnable_ && cycle == cycle_)
                timer = timer_;
        }
        if (timer != nullptr)
            timer->Timer(); // may destroy the timer, which stops this worker
    }

    TThreadedTimer* timer_; // link; cleared by Stop
    TThreadPriority priority_;
    int threadId_ = 0;
    std::uint32_t interval_ = 0;
    bool runnable_ = false;
    std::uint64_t cycle_ = 0; // bumped whenever the pause under way no longer counts
};

TThreadedTimer::TThreadedTimer(TmainThread* mainThread)
{
    if (mainThread == nullptr)
        mainThread = TmainThread::Default();
    if (mainThread == nullptr)
        throw EOrvaneError("A timer needs a running application to deliver its ticks.");
    worker_ = std::make_shared<TTimerThread>(this, mainThread, threadPriority_);
    worker_->Start();
    UpdateTimer();
}

TThreadedTimer::~TThreadedTimer()
{
    worker_->Stop();
}

void TThreadedTimer::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateTimer();
}

void TThreadedTimer::SetInterval(std::uint32_t value)
{
    if (value == interval_)
        return;
    interval_ = value;
    UpdateTimer();
}

void TThreadedTimer::SetThreadPriority(TThreadPriority value)
{
    if (value == threadPriority_)
        return;
    threadPriority_ = value;
    worker_->SetPriority(value);
}

void TThreadedTimer::Timer()
{
    if (!OnTimer)
        return;
    // A copy, because the handler may free the timer and with it OnTimer.
    const auto handler = OnTimer;
    handler(this);
}

void TThreadedTimer::UpdateTimer()
{
    worker_->Update(interval_, enabled_ && interval_ != 0);
}
