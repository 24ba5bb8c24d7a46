#include "core/timers/workerhandover.h"

#include "core/timers/mainthread.h"
#include "platform/scopeguard.h"

void TworkerHandover::Stop()
{
    {
        const std::lock_guard lock(mutex_);
        Detach();
        stopping_ = true;
        wake_.notify_all();
    }
    if (thread_.joinable())
        thread_.join();
}

void TworkerHandover::StartThread()
{
    thread_ = std::thread([this] {
        std::unique_lock lock(mutex_);
        Execute(lock);
    });
}

void TworkerHandover::HandOver(std::unique_lock<std::mutex>& lock, std::function<void()> step)
{
    handingOver_ = true;
    lock.unlock();
    mainThread_->Queue([self = shared_from_this(), step = std::move(step)] { self->RunStep(step); });
    lock.lock();
    wake_.wait(lock, [this] { return stopping_ || !handingOver_; });
}

void TworkerHandover::RunStep(const std::function<void()>& step)
{
    // Releases the worker also when the step throws.
    const platform::TScopeExit done([this] {
        const std::lock_guard lock(mutex_);
        handingOver_ = false;
        wake_.notify_all();
    });
    step();
}
