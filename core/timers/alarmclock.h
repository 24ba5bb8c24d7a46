#pragma once

#include "core/timers/alarm.h"

#include <cstdint>
#include <string>
#include <string_view>

class TIniFile;
class TmainThread;

// The jukebox's alarm clock: the daily alarm that starts playback, the one that stops it, and whether
// their on/off states are kept from one run to the next. Both alarms start at noon, disabled.
class TalarmClock
{
public:
    static constexpr TDateTime kDefaultTime = 0.5;

    // The arguments go to both alarms (see Talarm).
    explicit TalarmClock(TmainThread* mainThread = nullptr, Talarm::TClock clock = {},
                         std::uint32_t checkInterval = Talarm::kDefaultCheckInterval);

    Talarm& AlarmOn() { return alarmOn_; }
    const Talarm& AlarmOn() const { return alarmOn_; }
    Talarm& AlarmOff() { return alarmOff_; }
    const Talarm& AlarmOff() const { return alarmOff_; }

    // Keep the alarms' on/off states across runs ("Keep settings on Application Exit").
    bool Maintain() const { return maintain_; }
    void SetMaintain(bool value) { maintain_ = value; }

    // Keys "Maintain", "TimeOn", "TimeOff", then "TimeOnEnabled" and "TimeOffEnabled" only when Maintain
    // is set; each value is applied as it is read.
    void LoadSettings(const TIniFile& ini, std::string_view section);
    // The same keys, the enabled states always written.
    void SaveSettings(TIniFile& ini, std::string_view section) const;

    // At close: neither alarm fires any more.
    void Stop();

    // Alarm times are stored as fractions of a day with a "." whatever the user's locale; a "," (a file
    // written by a program that followed the locale) is read as well. A value that is not a number gives
    // the default.
    static TDateTime ReadTime(const TIniFile& ini, std::string_view section, std::string_view ident,
                              TDateTime defaultValue);
    static void WriteTime(TIniFile& ini, std::string_view section, std::string_view ident, TDateTime value);
    static TDateTime ParseTime(std::string_view text, TDateTime defaultValue);
    static std::string FormatTime(TDateTime value);

private:
    Talarm alarmOn_;
    Talarm alarmOff_;
    bool maintain_ = false;
};
