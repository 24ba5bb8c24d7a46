#pragma once

#include "platform/datetime.h"

// One switch time of a clock: it fires at the first tick strictly after its time of day, once a day.
// It re-arms when the time of day falls below its time again and when the date moves on, so a switch at
// 00:00 fires every day just after midnight like any other.
class TclockSwitch
{
public:
    bool Use() const { return use_; }
    void SetUse(bool value) { use_ = value; }
    TDateTime Time() const { return time_; }
    // Keeps only the time of day and re-arms, so a time already past fires at the next tick.
    void SetTime(TDateTime value);
    bool Fired() const { return fired_; }

    // One tick at the date-time `now`; true when the switch fires now.
    bool Tick(TDateTime now);

private:
    bool use_ = false;
    TDateTime time_ = 0;
    bool fired_ = false;
    bool hasDay_ = false;
    double day_ = 0;
};
