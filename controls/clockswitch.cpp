#include "controls/clockswitch.h"

#include <cmath>

void TclockSwitch::SetTime(TDateTime value)
{
    m_time = value - std::trunc(value);
    m_fired = false;
}

bool TclockSwitch::Tick(TDateTime now)
{
    const double day = std::floor(now);
    const double t = now - day;
    if (m_hasDay && day != m_day) {
        m_fired = false;
    }
    m_hasDay = true;
    m_day = day;
    bool fire = false;
    if (t > m_time && !m_fired && m_use) {
        fire = true;
        m_fired = true;
    }
    if (t < m_time) {
        m_fired = false;
    }
    return fire;
}
