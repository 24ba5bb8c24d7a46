#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TmainThread;

// The worker half of an object whose work a thread of its own paces and the user-interface thread runs: the
// worker hands each step over and waits until it has run, so steps never overlap. Stop never waits for a
// step: the worker abandons its wait as soon as it is told to stop, so Stop returns within one wake-up even
// when called inside a step or with a step still queued. A derived worker keeps a link to its owner and
// clears it in Detach, so a step still queued when the owner goes finds no owner and does nothing; the
// block itself is shared with such a step and lives as long as it.
class TworkerHandover : public std::enable_shared_from_this<TworkerHandover>
{
public:
    explicit TworkerHandover(TmainThread* mainThread) : mainThread_(mainThread) {}
    virtual ~TworkerHandover() = default;

    TworkerHandover(const TworkerHandover&) = delete;
    TworkerHandover& operator=(const TworkerHandover&) = delete;

    void Stop();

protected:
    // Starts the thread, which runs Execute with the mutex locked.
    void StartThread();
    virtual void Execute(std::unique_lock<std::mutex>& lock) = 0;
    // Under the mutex, when told to stop: clears the link to the owner.
    virtual void Detach() = 0;

    // On the worker, with the mutex locked: queues step on the user-interface thread and waits until it has
    // run or the worker is told to stop. The step runs without the mutex; it may destroy the owner.
    void HandOver(std::unique_lock<std::mutex>& lock, std::function<void()> step);

    std::mutex mutex_; // guards this block and the derived worker's own state
    std::condition_variable wake_;
    bool stopping_ = false;

private:
    void RunStep(const std::function<void()>& step);

    TmainThread* const mainThread_;
    bool handingOver_ = false;
    std::thread thread_;
};
