#include "core/timers/alarm.h"

#include "core/timers/mainthread.h"
#include "core/timers/workerhandover.h"
#include "platform/error.h"

#include <chrono>
#include <cmath>
#include <mutex>

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

// The worker's half; a hand-over still queued when the alarm goes finds no alarm and does nothing.
class TalarmThread : public TworkerHandover
{
public:
    TalarmThread(Talarm* alarm, TmainThread* mainThread, Talarm::TClock clock, std::uint32_t checkInterval)
        : TworkerHandover(mainThread), alarm_(alarm), clock_(std::move(clock)), checkInterval_(checkInterval)
    {}

    void Start(TDateTime time)
    {
        Reschedule(time);
        StartThread();
    }

    void Reschedule(TDateTime time)
    {
        const TDateTime now = clock_();
        const std::lock_guard lock(mutex_);
        // A time of day already past today is due tomorrow: an alarm set in the evening for the morning
        // waits for the morning.
        due_ = std::floor(now) + TimeOfDay(time);
        if (!(now < due_))
            due_ += 1.0;
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

private:
    void Execute(std::unique_lock<std::mutex>& lock) override
    {
        while (!stopping_) {
            if (wake_.wait_for(lock, std::chrono::milliseconds(checkInterval_), [this] { return stopping_; }))
                break;
            lock.unlock();
            const TDateTime now = clock_();
            lock.lock();
            if (stopping_ || !(now > due_))
                continue;
            HandOver(lock, [this] { RunDue(); });
        }
    }

    void Detach() override { alarm_ = nullptr; }

    // On the user-interface thread.
    void RunDue()
    {
        Talarm* alarm = nullptr;
        {
            const std::lock_guard lock(mutex_);
            alarm = alarm_;
        }
        if (alarm != nullptr)
            alarm->AlarmDue(); // may destroy the alarm, which stops this worker
    }

    Talarm* alarm_; // link; cleared by Stop
    const Talarm::TClock clock_;
    const std::uint32_t checkInterval_;
    TDateTime due_ = 0;
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

void Talarm::SetEnabled(bool value)
{
    if (value && !enabled_)
        worker_->Reschedule(time_);
    enabled_ = value;
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
    // Checked again here: the time may have been moved while the hand-over waited in the queue. A disabled
    // alarm lets its moment pass too, so that enabling it later waits for the next one.
    if (!worker_->Advance() || !enabled_)
        return;
    DoTime();
}
