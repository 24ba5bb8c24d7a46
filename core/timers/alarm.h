#pragma once

#include "platform/datetime.h"

#include <cstdint>
#include <functional>
#include <memory>

class TalarmThread;
class TmainThread;

// A daily alarm: fires OnTime once a day at the first check after its time of day, on the user-interface
// thread. A worker thread checks every CheckInterval milliseconds (10 s by default) and hands a due alarm
// over, waiting until it has run. A time of day already past when the alarm is created, set or enabled is
// due at that time tomorrow; a disabled alarm lets its moments pass without firing.
// Create, change and destroy it on the user-interface thread; destroying it inside OnTime is allowed.
class Talarm
{
public:
    // The current local date-time; called from the worker and from the user-interface thread.
    using TClock = std::function<TDateTime()>;

    static constexpr std::uint32_t kDefaultCheckInterval = 10000;

    // Alarms go through mainThread, TmainThread::Default() when null; throws EOrvaneError without either.
    // An empty clock reads the system clock.
    explicit Talarm(TmainThread* mainThread = nullptr, TClock clock = {},
                    std::uint32_t checkInterval = kDefaultCheckInterval);
    virtual ~Talarm();

    Talarm(const Talarm&) = delete;
    Talarm& operator=(const Talarm&) = delete;

    // Only the time of day counts. A new time of day makes its next moment, today or tomorrow, the due one.
    TDateTime Time() const { return time_; }
    void SetTime(TDateTime value);
    bool Enabled() const { return enabled_; }
    // Enabling a disabled alarm makes its time's next moment the due one.
    void SetEnabled(bool value);

    std::function<void(Talarm* sender)> OnTime;

protected:
    // Fires OnTime.
    virtual void DoTime();

private:
    friend class TalarmThread;

    // On the user-interface thread, when a check found the due moment passed.
    void AlarmDue();

    TDateTime time_ = 0;
    bool enabled_ = false;
    std::shared_ptr<TalarmThread> worker_; // shared with the hand-over queued on the user-interface thread
};
