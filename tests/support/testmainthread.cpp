#include "support/testmainthread.h"

void TtestMainThread::Queue(std::function<void()> call)
{
    const std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
    queued_.notify_all();
}

bool TtestMainThread::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        std::unique_lock lock(mutex_);
        if (!queued_.wait_until(lock, deadline, [this] { return !calls_.empty(); }))
            return done();
        auto call = std::move(calls_.front());
        calls_.pop_front();
        ++runCount_;
        lock.unlock();
        call();
    }
    return true;
}

void TtestMainThread::RunFor(std::chrono::milliseconds duration)
{
    RunUntil([] { return false; }, duration);
}

bool TtestMainThread::WaitForQueued(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return queued_.wait_for(lock, timeout, [this] { return !calls_.empty(); });
}

std::size_t TtestMainThread::QueuedCount() const
{
    const std::lock_guard lock(mutex_);
    return calls_.size();
}

std::size_t TtestMainThread::RunCount() const
{
    const std::lock_guard lock(mutex_);
    return runCount_;
}
