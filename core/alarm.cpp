#include "core/alarm.h"

#include "core/mainthread.h"
#include "platform/error.h"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

double TimeOfDay(TDateTime value)
{
    return std::fabs(value - std::trunc(value));
}

// Milliseconds of the day, so that the same time read back from a picker or a settings file compares equal.
long long TimeOfDayMs(TDateTime value)
{
    return std::llround(TimeOfDay(value) * platform::kSecondsPerDay * 1000.0);
}

} // namespace

// The worker's half. The alarm link is cleared when the alarm goes, so a hand-over still queued on the
// user-interface thread finds no alarm and does nothing; the block itself lives as long as such a call.
class TalarmThread : public std::enable_shared_from_this<TalarmThread>
{
public:
    TalarmThread(Talarm* alarm, TmainThread* mainThread, Talarm::TClock clock, std::uint32_t checkInterval)
        : alarm_(alarm), mainThread_(mainThread), clock_(std::move(clock)), checkInterval_(checkInterval)
    {}

    void Start(TDateTime time)
    {
        Reschedule(time);
        thread_ = std::thread(&TalarmThread::Execute, this);
    }

    void Reschedule(TDateTime time)
    {
        const TDateTime now = clock_();
        const std::lock_guard lock(mutex_);
        due_ = std::floor(now) + TimeOfDay(time);
    }

    // True when the due moment has passed; it then moves to the first later day on which it lies ahead,
    // so that days missed while the machine slept give one alarm, not one per day.
    bool Advance()
    {
        const TDateTime now = clock_();
        const std::lock_guard lock(mutex_);
        if (!(now > due_))
            return false;
        due_ += std::floor(now - due_) + 1.0;
        return true;
    }

    // Never waits for the alarm's hand-over, so this returns promptly even inside OnTime.
    void Stop()
    {
        {
            const std::lock_guard lock(mutex_);
            alarm_ = nullptr;
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
        while (!stopping_) {
            if (wake_.wait_for(lock, std::chrono::milliseconds(checkInterval_), [this] { return stopping_; }))
                break;
            lock.unlock();
            const TDateTime now = clock_();
            lock.lock();
            if (stopping_ || !(now > due_))
                continue;
            handingOver_ = true;
            lock.unlock();
            mainThread_->Queue([self = shared_from_this()] { self->RunDue(); });
            lock.lock();
            wake_.wait(lock, [this] { return stopping_ || !handingOver_; });
        }
    }

    // On the user-interface thread.
    void RunDue()
    {
        std::unique_lock lock(mutex_);
        Talarm* const alarm = alarm_;
        if (alarm != nullptr) {
            lock.unlock();
            try {
                alarm->AlarmDue(); // may destroy the alarm, which stops this worker
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
    Talarm* alarm_; // link; cleared by Stop
    TmainThread* const mainThread_;
    const Talarm::TClock clock_;
    const std::uint32_t checkInterval_;
    TDateTime due_ = 0;
    bool stopping_ = false;
    bool handingOver_ = false;
    std::thread thread_;
};

Talarm::Talarm(TmainThread* mainThread, TClock clock, std::uint32_t checkInterval)
{
    if (mainThread == nullptr)
        mainThread = TmainThread::Default();
    if (mainThread == nullptr)
        throw EOrvaneError("An alarm needs a running application to deliver its alarms.");
    if (!clock)
        clock = &platform::Now;
    worker_ = std::make_shared<TalarmThread>(this, mainThread, std::move(clock), checkInterval);
    worker_->Start(time_);
}

Talarm::~Talarm()
{
    worker_->Stop();
}

void Talarm::SetTime(TDateTime value)
{
    // Storing the same time of day again (an unchanged settings dialog) must not bring back today's alarm.
    const bool changed = TimeOfDayMs(value) != TimeOfDayMs(time_);
    time_ = value;
    if (changed)
        worker_->Reschedule(value);
}

void Talarm::DoTime()
{
    if (!OnTime)
        return;
    // A copy, because the handler may free the alarm and with it OnTime.
    const auto handler = OnTime;
    handler(this);
}

void Talarm::AlarmDue()
{
    // Checked again here: the time may have been moved while the hand-over waited in the queue.
    if (!enabled_ || !worker_->Advance())
        return;
    DoTime();
}
