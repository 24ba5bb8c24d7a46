#include "core/threadedtimer.h"

#include "core/mainthread.h"
#include "platform/error.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// The worker's half. The timer link is cleared when the timer goes, so a tick still queued on the
// user-interface thread finds no timer and does nothing; the block itself lives as long as such a tick.
class TTimerThread : public std::enable_shared_from_this<TTimerThread>
{
public:
    TTimerThread(TThreadedTimer* timer, TmainThread* mainThread, TThreadPriority priority)
        : timer_(timer), mainThread_(mainThread), priority_(priority)
    {}

    void Start() { thread_ = std::thread(&TTimerThread::Execute, this); }

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

    // Never waits for a tick: the worker abandons its wait for the hand-over as soon as it is told to stop,
    // so this returns within one wake-up even when called inside a tick or with a tick queued.
    void Stop()
    {
        {
            const std::lock_guard lock(mutex_);
            timer_ = nullptr;
            stopping_ = true;
            wake_.notify_all();
        }
        if (thread_.joinable())
            thread_.join();
    }

private:
    void Execute()
    {
        std::unique_lock lock(mutex_);
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
            handingOver_ = true;
            lock.unlock();
            mainThread_->Queue([self = shared_from_this(), cycle] { self->Tick(cycle); });
            lock.lock();
            wake_.wait(lock, [this] { return stopping_ || !handingOver_; });
        }
    }

    // On the user-interface thread. A tick whose cycle was cancelled while it waited in the queue is dropped.
    void Tick(std::uint64_t cycle)
    {
        std::unique_lock lock(mutex_);
        TThreadedTimer* const timer = timer_;
        if (timer != nullptr && runnable_ && cycle == cycle_) {
            lock.unlock();
            try {
                timer->Timer(); // may destroy the timer, which stops this worker
            } catch (...) {
                lock.lock();
                handingOver_ = false;
                wake_.notify_all();
                throw;
            }
            lock.lock();
        }
        handingOver_ = false;
        wake_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    TThreadedTimer* timer_; // link; cleared by Stop
    TmainThread* const mainThread_;
    TThreadPriority priority_;
    int threadId_ = 0;
    std::uint32_t interval_ = 0;
    bool runnable_ = false;
    bool stopping_ = false;
    bool handingOver_ = false;
    std::uint64_t cycle_ = 0; // bumped whenever the pause under way no longer counts
    std::thread thread_;
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
