#pragma once

#include "platform/datetime.h"

// One switch time of a clock: it fires at the first tick strictly after its time of day, once a day.
// It re-arms when the time of day falls below its time again and when the date moves on, so a switch at
// 00:00 fires every day just after midnight like any other.
class TclockSwitch
{
public:
    bool Use() const { return m_use; }
    void SetUse(bool value) { m_use = value; }
    TDateTime Time() const { return m_time; }
    // Keeps only the time of day and re-arms, so a time already past fires at the next tick.
    void SetTime(TDateTime value);
    bool Fired() const { return m_fired; }

    // One tick at the date-time `now`; true when the switch fires now.
    bool Tick(TDateTime now);

private:
    bool m_use = false;
    TDateTime m_time = 0;
    bool m_fired = false;
    bool m_hasDay = false;
    double m_day = 0;
};
