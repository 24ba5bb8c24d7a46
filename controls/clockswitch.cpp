#include "controls/clockswitch.h"

#include <cmath>

void TclockSwitch::SetTime(TDateTime value)
{
    time_ = value - std::trunc(value);
    fired_ = false;
}

bool TclockSwitch::Tick(TDateTime now)
{
    const double day = std::floor(now);
    const double t = now - day;
    if (hasDay_ && day != day_) {
        fired_ = false;
    }
    hasDay_ = true;
    day_ = day;
    bool fire = false;
    if (t > time_ && !fired_ && use_) {
        fire = true;
        fired_ = true;
    }
    if (t < time_) {
        fired_ = false;
    }
    return fire;
}
